# Two entry points: `make run` builds and opens the viewer, `make test` builds and runs every test.
.PHONY: run test
run:
	scripts/run.sh
test:
	scripts/test.sh
