# `make run` and `make test` for those who have make: the same as ./run.sh and ./test.sh, which
# install the missing Debian packages of tools/debian-packages, then build into build/.

.PHONY: run test build

run:
	./run.sh

test:
	./test.sh

build:
	tools/prepare.sh
