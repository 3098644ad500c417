# The two commands a new user types: `make run` and `make test`.
# Both install the Debian packages the program needs (when missing), then build into build/.

PACKAGES := cmake make g++ qt6-base-dev qt6-translations-l10n libgtest-dev libbenchmark-dev \
            fonts-liberation fonts-dejavu-core
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test packages build

run: build
	./build/src/app/narzedzia

test: build
	ctest --preset default

build: packages
	cmake --preset default
	cmake --build --preset default

packages:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi
