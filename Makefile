# Everything a fresh Debian machine needs to build and test Quillex.
#
#   make deps   install the build and test packages (quiet when all are there)
#   make build  configure and build in build/
#   make test   deps, build, and every test, also under AddressSanitizer and
#               UndefinedBehaviorSanitizer (build-asan/)
#   make demo   build, then a synthetic well, a curve job and a zone report
#               run headless in a fresh home under build/ (demo/run_demo.sh)
#   make bench  the benchmarks, each against a peer in the same run
#   make screenshots  pictures of the desktop program's windows, drawn under
#               a virtual X server, as PNG files in $(BUILD_DIR)/screenshots
#   make fuzz   the INI engine's and the LAS reader's fuzzers, 20 seconds each
#               (installs clang first)

BUILD_DIR ?= build
ASAN_DIR ?= build-asan
JOBS ?= $(shell nproc)

# Qt for the desktop program (its tests run on the offscreen platform);
# fonts-dejavu-core so that windows are drawn with the same fonts everywhere;
# xvfb and xauth for `make screenshots`.
PACKAGES := cmake ninja-build g++ libgtest-dev libsqlite3-dev qt6-base-dev \
  fonts-dejavu-core xvfb xauth
# Only for `make bench`: the numpy peer of the engine and LAS benchmarks.
BENCH_PACKAGES := python3-numpy
# Only for `make fuzz`: clang, and the runtimes of libFuzzer and the sanitizers.
FUZZ_PACKAGES := clang libclang-rt-14-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build build-asan test test-fast demo bench screenshots fuzz clean

all: build

deps:
	@missing=""; \
	for package in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' $$package 2>/dev/null | grep -q '^install ok installed$$' \
	    || missing="$$missing $$package"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD_DIR) -j $(JOBS)

build-asan: deps
	@cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLEX_SANITIZE=ON >/dev/null
	cmake --build $(ASAN_DIR) -j $(JOBS)

# The plain build's tests, without the sanitizer build: quick while working.
test-fast: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

test: build build-asan
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)

# A synthetic well, a job of six curves and a zone report, in $(BUILD_DIR)/demo-home.
demo: build
	BUILD_DIR=$(BUILD_DIR) bash demo/run_demo.sh

# Speed against peers measured in the same run (not part of the tests).
bench: build
	@$(MAKE) --no-print-directory deps PACKAGES="$(BENCH_PACKAGES)"
	@# Every benchmark runs; the target fails afterwards if any missed its mark.
	@failed=0; \
	for bench in dorvex_bench engine_bench las_bench window_bench; do \
	  $(BUILD_DIR)/bench/$$bench || failed=1; \
	done; \
	exit $$failed

# The windows drawn by the real X platform on a virtual screen.
screenshots: build
	@mkdir -p $(BUILD_DIR)/screenshots
	xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD_DIR)/tests/app/app_screenshots $(BUILD_DIR)/screenshots

fuzz:
	@$(MAKE) --no-print-directory deps PACKAGES="$(FUZZ_PACKAGES)"
	$(MAKE) -C fuzz
	$(MAKE) -C fuzz las

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR)
