# Front door. `make demo` and `make test` do all set-up on a fresh Debian 12.
JOBS ?= $(shell nproc)
NATIVE := build/native
WINDOWS := build/windows
export WINEDEBUG ?= -all
export WINEPREFIX ?= $(CURDIR)/build/wineprefix

.PHONY: all setup native windows demo test test-native test-windows asan tsan bench fuzz screenshots format-check clean

all: native

setup:
	@scripts/setup.sh

native: setup
	cmake --preset native -G "Unix Makefiles" >/dev/null
	cmake --build $(NATIVE) -j$(JOBS)

windows: setup
	cmake --preset windows -G "Unix Makefiles" >/dev/null
	cmake --build $(WINDOWS) -j$(JOBS)

# Only the module and the renderer that plays the demo through it; no tests.
demo: setup
	cmake --preset native -G "Unix Makefiles" >/dev/null
	cmake --build $(NATIVE) -j$(JOBS) --target TallowReed tallow-render
	@mkdir -p out
	$(NATIVE)/tools/render_tool/tallow-render --module $(NATIVE)/module/TallowReed.so --program 0 --output out/demo.wav

test: test-native test-windows

test-native: native
	scripts/with-display.sh ctest --test-dir $(NATIVE) --output-on-failure -j$(JOBS)

test-windows: windows
	scripts/with-display.sh ctest --test-dir $(WINDOWS) --output-on-failure -j$(JOBS)

asan: setup
	cmake --preset asan -G "Unix Makefiles" >/dev/null
	cmake --build build/asan -j$(JOBS)
	scripts/with-display.sh ctest --test-dir build/asan --output-on-failure -j$(JOBS)

tsan: setup
	cmake --preset tsan -G "Unix Makefiles" >/dev/null
	cmake --build build/tsan -j$(JOBS)
	ctest --test-dir build/tsan --output-on-failure -L tsan

bench: setup
	cmake --preset bench -G "Unix Makefiles" >/dev/null
	cmake --build build/bench -j$(JOBS)
	scripts/run-benchmarks.sh build/bench

FUZZ_SECONDS ?= 60
fuzz: setup
	cmake --preset fuzz -G "Unix Makefiles" >/dev/null
	cmake --build build/fuzz -j$(JOBS)
	scripts/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

# The renderer's test card and the editor in three states (idle, dragging
# "depth", learning "rate") from both modules' builds, side by side in out/,
# and a pixel comparison of each pair.
screenshots: native windows
	@mkdir -p out
	scripts/with-display.sh $(NATIVE)/tests/paintwell_card out/card-linux.png
	scripts/with-display.sh wine $(WINDOWS)/tests/paintwell_card.exe out/card-windows.png --compare-with out/card-linux.png
	XDG_CONFIG_HOME=$(CURDIR)/$(NATIVE)/tests/screenshot_config \
	  scripts/with-display.sh $(NATIVE)/tests/editor_screenshots out linux
	scripts/with-display.sh wine $(WINDOWS)/tests/editor_screenshots.exe out windows --compare-with out linux

# Lists the source files whose layout differs from .clang-format; changes nothing.
format-check:
	@scripts/format-check.sh

clean:
	rm -rf build out
