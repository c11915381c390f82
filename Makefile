# The two commands of the README: `make run` and `make test`. Both install
# what a fresh Debian 12 machine lacks (the Japanese font included, so the
# texts show), then configure and build. `make run FILE=path` opens a file.

PACKAGES := cmake g++ make clang-format libicu-dev libgtest-dev libbenchmark-dev clang-14 libclang-rt-14-dev \
            desktop-file-utils libxml2-utils shared-mime-info man-db qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic poppler-utils
JOBS     := $(shell nproc)
SUDO     := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
CMAKE_FLAGS ?=

FUZZ_SECONDS ?= 600
SANITIZE_FLAGS := -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
    -DTABULON_SANITIZE=ON -DTABULON_FUZZ=ON -DTABULON_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug

.PHONY: deps build run test test-plain test-sanitize format-check bench fuzz package package-test format clean

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

# Without FILE, the sample table, so that there is something to look at
# (`make run FILE=` starts with the empty table).
FILE ?= samples/住所録.tbn
run: build
	./build/ui/tabulon $(if $(FILE),"$(FILE)")

test-plain: build
	ctest --test-dir build --output-on-failure -j $(JOBS)

# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer, built
# with clang so that the fuzz targets come along and run briefly from their seeds.
test-sanitize: deps
	cmake -S . -B build-sanitize $(SANITIZE_FLAGS)
	cmake --build build-sanitize -j $(JOBS)
	ctest --test-dir build-sanitize --output-on-failure -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS, keeping what it finds in build-sanitize.
fuzz: deps
	cmake -S . -B build-sanitize $(SANITIZE_FLAGS)
	cmake --build build-sanitize -j $(JOBS)
	for t in $$(ls fuzz/corpus); do \
	  build-sanitize/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=4096 \
	    -print_final_stats=1 build-sanitize/fuzz/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

# Fails in seconds, before any build, on a file clang-format would change.
format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

test: format-check
	$(MAKE) test-plain
	$(MAKE) test-sanitize

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release
	cmake --build build-bench -j $(JOBS)
	bench/run.sh build-bench

# A .deb of the programs and their desktop files, in build/.
package: build
	cd build && cpack

# Installs that .deb on this machine and starts it under Xvfb.
package-test: package
	packaging/test-deb.sh build

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-sanitize build-bench
