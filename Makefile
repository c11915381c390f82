# The two commands of the README: `make run` and `make test`. Both install
# what a fresh Debian 12 machine lacks (the Japanese font included, so the
# texts show), then configure and build. `make run FILE=path` opens a file.

PACKAGES := cmake g++ make libicu-dev libgtest-dev libbenchmark-dev \
            qt6-base-dev fonts-ipafont-gothic
JOBS     := $(shell nproc)
SUDO     := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
CMAKE_FLAGS ?=

.PHONY: deps build run test test-plain test-sanitize bench format clean

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update && $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B build $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

FILE ?=
run: build
	./build/ui/tabulon $(if $(FILE),"$(FILE)")

test-plain: build
	ctest --test-dir build --output-on-failure -j $(JOBS)

# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B build-sanitize -DTABULON_SANITIZE=ON -DTABULON_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
	cmake --build build-sanitize -j $(JOBS)
	ctest --test-dir build-sanitize --output-on-failure -j $(JOBS)

test: test-plain test-sanitize

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release
	cmake --build build-bench -j $(JOBS)
	bench/run.sh build-bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-sanitize build-bench
