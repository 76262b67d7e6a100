# Front door. `make demo` and `make test` do all set-up on a fresh Debian 12.
JOBS ?= $(shell nproc)
NATIVE := build/native
WINDOWS := build/windows
export WINEDEBUG ?= -all
export WINEPREFIX ?= $(CURDIR)/build/wineprefix

PREFIX ?= /usr/local

# CMake arguments that add a packager's flags to a build's own; the flags the
# modules need are set on their targets and stay.
# $(call added_flags,CPPFLAGS,CFLAGS,CXXFLAGS,LDFLAGS)
added_flags = -DCMAKE_C_FLAGS="$(strip $(1) $(2))" -DCMAKE_CXX_FLAGS="$(strip $(1) $(3))" \
  -DCMAKE_EXE_LINKER_FLAGS="$(4)" -DCMAKE_MODULE_LINKER_FLAGS="$(4)" -DCMAKE_SHARED_LINKER_FLAGS="$(4)"
NATIVE_CONFIGURE = cmake --preset native -G "Unix Makefiles" \
  $(call added_flags,$(CPPFLAGS),$(CFLAGS),$(CXXFLAGS),$(LDFLAGS)) >/dev/null
DEB_BUILD_MAINT_OPTIONS ?= hardening=+bindnow
dpkg_flag = $(shell DEB_BUILD_MAINT_OPTIONS='$(DEB_BUILD_MAINT_OPTIONS)' dpkg-buildflags --get $(1))

.PHONY: all setup native windows demo test test-native test-windows test-package asan tsan bench fuzz screenshots format-check clean
.PHONY: forms install install-user uninstall uninstall-user dist deb

all: native

setup:
	@scripts/setup.sh

native: setup
	$(NATIVE_CONFIGURE)
	cmake --build $(NATIVE) -j$(JOBS)

windows: setup
	cmake --preset windows -G "Unix Makefiles" >/dev/null
	cmake --build $(WINDOWS) -j$(JOBS)

# Only the module and the renderer that plays the demo through it; no tests.
demo: setup
	$(NATIVE_CONFIGURE)
	cmake --build $(NATIVE) -j$(JOBS) --target TallowReed tallow-render
	@mkdir -p out
	$(NATIVE)/tools/render_tool/tallow-render --module $(NATIVE)/module/TallowReed.so --program 0 --output out/demo.wav

test: test-native test-windows test-package

test-native: native
	scripts/with-display.sh ctest --test-dir $(NATIVE) --output-on-failure -j$(JOBS)

test-windows: windows
	scripts/with-display.sh ctest --test-dir $(WINDOWS) --output-on-failure -j$(JOBS)

# The Debian package as make deb builds it and lintian judges it.
test-package: deb
	tests/packaging/deb_test.sh $(CURDIR) build/package out build/package/lintian.txt

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

# Only the shipped Linux forms: what the install targets put in place.
forms: setup
	$(NATIVE_CONFIGURE)
	cmake --build $(NATIVE) -j$(JOBS) --target forms

# $(DESTDIR)$(PREFIX)/lib/{vst,clap,lv2} and share/doc/tallow-reed; uninstall takes exactly those files away.
install: forms
	PREFIX='$(PREFIX)' DESTDIR='$(DESTDIR)' scripts/install-forms.sh install $(NATIVE)

uninstall:
	PREFIX='$(PREFIX)' DESTDIR='$(DESTDIR)' scripts/install-forms.sh uninstall $(NATIVE)

# ~/.vst, ~/.clap and ~/.lv2.
install-user: forms
	scripts/install-forms.sh install-user $(NATIVE)

uninstall-user:
	scripts/install-forms.sh uninstall-user $(NATIVE)

# out/tallow-reed-VERSION-linux-x86_64.tar.gz and out/tallow-reed-VERSION-windows-x64.zip, the same
# bytes from the same commit. Every artefact takes its VERSION from the CMake project.
dist: forms
	cmake --preset windows -G "Unix Makefiles" >/dev/null
	cmake --build $(WINDOWS) -j$(JOBS) --target forms
	scripts/dist.sh $(NATIVE) $(WINDOWS) out

# out/tallow-reed_VERSION_ARCH.deb from a build of its own with Debian's
# build flags and Debian's shared FreeType, checked by lintian.
deb: setup
	cmake --preset package -G "Unix Makefiles" $(call added_flags,$(call dpkg_flag,CPPFLAGS),$(call \
	  dpkg_flag,CFLAGS),$(call dpkg_flag,CXXFLAGS),$(call dpkg_flag,LDFLAGS)) >/dev/null
	cmake --build build/package -j$(JOBS) --target forms
	deb=$$(scripts/deb.sh build/package out) && echo "$$deb" && \
	  { lintian --fail-on error --tag-display-limit 0 "$$deb" >build/package/lintian.txt 2>&1; \
	    status=$$?; cat build/package/lintian.txt; exit $$status; }

# Lists the source files whose layout differs from .clang-format; changes nothing.
format-check:
	@scripts/format-check.sh

clean:
	rm -rf build out
