# `make run` builds and opens the viewer, `make test` builds and runs every test,
# `make package` builds the Debian package, `make windows` the Windows program and its
# packages, `make web` the static web page, `make release` every file a user downloads, in dist/.
.PHONY: run test package windows web release
run:
	scripts/run.sh
test:
	scripts/test.sh
package:
	scripts/package.sh
windows:
	scripts/windows.sh
web:
	scripts/web.sh
release:
	scripts/release.sh
