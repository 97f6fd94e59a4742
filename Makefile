# `make run` builds and opens the viewer, `make test` builds and runs every test,
# `make package` builds the Debian package.
.PHONY: run test package
run:
	scripts/run.sh
test:
	scripts/test.sh
package:
	scripts/package.sh
