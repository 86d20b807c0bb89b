# Everything a fresh Debian machine needs to build and test Quillex.
#
#   make deps   install the build and test packages (quiet when all are there)
#   make build  configure and build in build/
#   make test   deps, build, and every test, also under AddressSanitizer and
#               UndefinedBehaviorSanitizer (build-asan/)
#   make demo   build, then a synthetic well, a curve job and a zone report
#               run headless in a fresh home under build/ (demo/run_demo.sh)
#   make bench  the benchmarks, each against a peer in the same run
#   make screenshots  pictures of the windows (the desktop program's, and
#               the plotting program's over the demo well with a page of its
#               PDF export), drawn under a virtual X server, as PNG files in
#               $(BUILD_DIR)/screenshots
#   make fuzz   the INI engine's and the LAS reader's fuzzers, 20 seconds each
#               (installs clang first)
#   make install  build, then put the programs in $(PREFIX)/bin (default
#               /usr/local; PREFIX=$$HOME/.local needs no root)

BUILD_DIR ?= build
PREFIX ?= /usr/local
ASAN_DIR ?= build-asan
JOBS ?= $(shell nproc)

# Qt for the windows (the desktop program's tests run on the offscreen
# platform), SVG for the plotting program's export, and one font family so
# that windows and plots are drawn alike on every machine.
PACKAGES := cmake ninja-build g++ libgtest-dev libsqlite3-dev qt6-base-dev qt6-svg-dev \
  fonts-dejavu-core
# Only for `make bench`: the numpy peer of the engine and LAS benchmarks, and
# the matplotlib peer of the plot benchmark.
BENCH_PACKAGES := python3-numpy python3-matplotlib
# Only for `make screenshots`: a display server without a screen, and a PDF
# page turned into a picture.
SCREENSHOT_PACKAGES := xvfb xauth poppler-utils
# Only for `make fuzz`: clang, and the runtimes of libFuzzer and the sanitizers.
FUZZ_PACKAGES := clang libclang-rt-14-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build build-asan test test-fast demo bench screenshots fuzz install clean

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
	for bench in dorvex_bench engine_bench las_bench plot_bench window_bench; do \
	  $(BUILD_DIR)/bench/$$bench || failed=1; \
	done; \
	exit $$failed

# The windows drawn by the real X platform on a virtual screen, and the
# plotting program's window over the demo well's run with a page of its PDF.
screenshots: demo
	@$(MAKE) --no-print-directory deps PACKAGES="$(SCREENSHOT_PACKAGES)"
	@mkdir -p $(BUILD_DIR)/screenshots
	xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD_DIR)/tests/app/app_screenshots $(BUILD_DIR)/screenshots
	BUILD_DIR=$(BUILD_DIR) bash demo/tavlo_screenshots.sh

fuzz:
	@$(MAKE) --no-print-directory deps PACKAGES="$(FUZZ_PACKAGES)"
	$(MAKE) -C fuzz
	$(MAKE) -C fuzz las

install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR)
