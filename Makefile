# Two commands: `make play` and `make test`. Both install what is missing and
# build; play then makes the data and starts the game in run/.
# SDL=2 builds on SDL 2 instead of SDL 1.2, in build directories of its own.
SDL ?= 1.2
ifeq ($(SDL),2)
SUFFIX := -sdl2
else ifeq ($(SDL),1.2)
SUFFIX :=
else
$(error SDL must be 1.2 or 2)
endif
BUILD := build$(SUFFIX)
RUN   := run
# Installing and packaging use one Release build of their own.
RELEASE := build-release$(SUFFIX)
PREFIX  ?= /usr/local
SANITIZE_BUILD := build-sanitize$(SUFFIX)
TSAN_BUILD := build-tsan$(SUFFIX)
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS ?= 60

# The sanitizers' settings for every test program and game run under them.
SANITIZE_ENV := ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The SDL 1.2 API over SDL 2, which newer distributions ship in place of the
# classic library; Debian 12 installs it beside the classic one, in a folder
# of its own that goes first on the library path. Expanded when used, after
# setup has installed it.
COMPAT_SDL_DIR = /usr/lib/$(shell dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)/sdl12-compat

# The package test checks the Release build's .deb, which neither the
# sanitizers nor the compatibility library touch. The Wayland test puts the
# SDL 1.2 build on that library by itself, and under the sanitizers it would
# run on another display server the game code e2e_window runs under X, one
# more long test among those that take the display one at a time. The
# suites run for those leave both to make test.
NOT_AGAIN := -E '^(package_deb|e2e_wayland)$$'

# Keep the nested builds quiet about changing directories.
MAKEFLAGS += --no-print-directory

.PHONY: play test test-compat test-sanitize test-tsan fuzz demos hud-shots bench bench-compare setup configure install uninstall deb release \
	web serve-web test-web

# Refuses early only where the game would refuse on every library: no
# SDL_VIDEODRIVER, DISPLAY or WAYLAND_DISPLAY at all. A Wayland session
# without X is the game's own to judge (the SDL 2 build plays there).
play:
	@if [ -z "$$SDL_VIDEODRIVER$$DISPLAY$$WAYLAND_DISPLAY" ]; then echo "driftwing: no graphical display: DISPLAY is not set"; exit 1; fi
	@$(MAKE) --no-print-directory configure
	@cmake --build $(BUILD) -j2 --target driftwing assetgen
	@$(BUILD)/tools/assetgen/assetgen $(RUN)
	@cd $(RUN) && exec ../$(BUILD)/driftwing

# The size of the tests beside the code first: ctest's summary stays last.
test: configure
	@cmake --build $(BUILD) -j2
	@sh tools/testcount.sh
	@cd $(BUILD) && ctest --output-on-failure -j2

# The whole suite again, every test program, game and installed game started
# on the SDL 2 based library. DRIFTWING_SDL_LIBRARY makes the unit tests and
# the end-to-end scripts check that each really has that library mapped.
test-compat: configure
	@cmake --build $(BUILD) -j2
	@LD_LIBRARY_PATH=$(COMPAT_SDL_DIR) ldd $(BUILD)/driftwing | grep -q '$(COMPAT_SDL_DIR)/libSDL-1.2' \
		|| { echo "test-compat: the game does not load $(COMPAT_SDL_DIR)/libSDL-1.2.so.0"; exit 1; }
	@cd $(BUILD) && LD_LIBRARY_PATH=$(COMPAT_SDL_DIR)$${LD_LIBRARY_PATH:+:$$LD_LIBRARY_PATH} \
		DRIFTWING_SDL_LIBRARY=$(COMPAT_SDL_DIR)/libSDL-1.2.so ctest --output-on-failure -j2 $(NOT_AGAIN)

# Rewrites the golden demos of tests/demos and their expected values from
# their scripts: after a deliberate change to the rules or the drawing.
demos: configure
	@cmake --build $(BUILD) -j2 --target demogen assetgen
	@$(BUILD)/tools/assetgen/assetgen $(BUILD)/demo-data
	@$(BUILD)/tools/demogen/demogen $(BUILD)/demo-data tests/demos

# Draws the HUD in the states where it is crowded and writes docs/hud's
# after-*.png from it: each state's top line over its bottom line, doubled,
# and the whole first frame.
HUD_SHOTS := $(BUILD)/hud-shots
hud-shots: configure
	@cmake --build $(BUILD) -j2 --target hudshots assetgen
	@$(BUILD)/tools/assetgen/assetgen $(BUILD)/demo-data
	@rm -rf $(HUD_SHOTS) && mkdir -p $(HUD_SHOTS)
	@SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy $(BUILD)/tools/hudshots/hudshots $(BUILD)/demo-data $(HUD_SHOTS)
	@for f in $(HUD_SHOTS)/*.bmp; do n=$$(basename "$$f" .bmp); \
		convert "$$f" \( -clone 0 -crop 640x60+0+0 +repage \) \( -size 640x4 xc:'#606060' \) \
			\( -clone 0 -crop 640x20+0+460 +repage \) -delete 0 -append \
			-filter point -resize 200% "docs/hud/after-$$n.png" || exit 1; done
	@convert $(HUD_SHOTS)/start.bmp docs/hud/after-start-frame.png
	@echo "docs/hud: after-*.png written"

# Benchmarks in a Release build of their own: frame and update costs, then
# the golden demos timed against the plain-SDL reference, with peak memory.
bench: setup
	@cmake -S . -B build-bench$(SUFFIX) -DCMAKE_BUILD_TYPE=Release -DDRIFTWING_BENCH=ON -DBUILD_TESTING=OFF -DDRIFTWING_SDL=$(SDL) >/dev/null
	@cmake --build build-bench$(SUFFIX) -j2
	@build-bench$(SUFFIX)/bench/bench_render
	@build-bench$(SUFFIX)/bench/bench_update
	@build-bench$(SUFFIX)/bench/bench_present
	@bench/timedemo.sh build-bench$(SUFFIX)

# Both builds measured in one run (the README's table of the two builds).
bench-compare: setup
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DDRIFTWING_BENCH=ON -DBUILD_TESTING=OFF -DDRIFTWING_SDL=1.2 >/dev/null
	@cmake -S . -B build-bench-sdl2 -DCMAKE_BUILD_TYPE=Release -DDRIFTWING_BENCH=ON -DBUILD_TESTING=OFF -DDRIFTWING_SDL=2 >/dev/null
	@cmake --build build-bench -j2 --target driftwing driftwing_drawlog drawref assetgen democut
	@cmake --build build-bench-sdl2 -j2 --target driftwing driftwing_drawlog drawref assetgen democut
	@bench/compare.sh build-bench build-bench-sdl2

# The whole suite again with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: setup
	@cmake -S . -B $(SANITIZE_BUILD) -DDRIFTWING_SANITIZE=ON -DDRIFTWING_SDL=$(SDL) >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j2
	@cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) ctest --output-on-failure -j2 $(NOT_AGAIN)

# ThreadSanitizer over the tests that start the quit-signal thread: the real
# game started and stopped, and a game stuck while its main loop runs on. A
# report ends the process with status 66, which fails the test. The test that
# times the exit is left out: the sanitizer slows the game past its bounds.
test-tsan: setup
	@cmake -S . -B $(TSAN_BUILD) -DDRIFTWING_TSAN=ON -DDRIFTWING_SDL=$(SDL) >/dev/null
	@cmake --build $(TSAN_BUILD) -j2 --target driftwing assetgen test_startstop
	@cd $(TSAN_BUILD) && TSAN_OPTIONS=halt_on_error=1:exitcode=66 ctest --output-on-failure -j2 -R '^StartStop\.' -E 'ExitWaits'

# Every fuzz target for FUZZ_SECONDS seconds each (clang, libFuzzer).
fuzz: setup
	@cmake -S . -B $(FUZZ_BUILD) -DDRIFTWING_FUZZ=ON -DBUILD_TESTING=OFF \
		-DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build $(FUZZ_BUILD) -j2 --target fuzzers
	@fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

setup:
	@sh tools/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -DDRIFTWING_SDL=$(SDL) >/dev/null

# Hardened as Debian builds its packages (dpkg-buildflags).
release: setup
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DDRIFTWING_SDL=$(SDL) \
		-DDRIFTWING_PACKAGE=ON >/dev/null
	@cmake --build $(RELEASE) -j2 --target driftwing installdata

# make install PREFIX=/some/where: the game in PREFIX/games (linked from bin), its data in
# PREFIX/share/games/driftwing, menu entry, icons, metadata and manual page.
# DESTDIR=/stage puts the same tree under /stage/PREFIX, for packagers.
install: release
	@cmake --install $(RELEASE) --prefix "$(PREFIX)" --strip

# make uninstall PREFIX=/some/where (and the DESTDIR of the install, if any).
uninstall:
	@sh dist/uninstall.sh "$(PREFIX)"

# make deb: the package of the SDL 2 build, the one to ship, unless SDL= is
# given: driftwing_1.0_<arch>.deb, or driftwing-sdl1.2_1.0_<arch>.deb for
# SDL=1.2, in the current folder.
ifeq ($(origin SDL),file)
deb:
	@$(MAKE) deb SDL=2
else
DEB_FILE := driftwing$(if $(SUFFIX),,-sdl1.2)_1.0_*.deb
deb: release
	@cd $(RELEASE) && (cpack >cpack.log 2>&1 || { cat cpack.log; exit 1; })
	@cp $(RELEASE)/package/$(DEB_FILE) .
	@ls $(DEB_FILE)
endif

# The game in a web page, in build-web/site (see the README's section). The
# wasm libraries are built once into build-web/deps, which later runs reuse.
web: setup
	@sh tools/web/setup-web.sh
	@sh tools/web/build-libs.sh
	@sh tools/web/build-site.sh

# Serves the page on 127.0.0.1 (WEB_PORT, 8080 by default) for a player.
WEB_PORT ?= 8080
serve-web: web
	@node tools/web/serve.js build-web/site $(WEB_PORT)

# The page in headless Chromium, driven over the DevTools protocol.
test-web: web
	@node tests/web/webtest.js build-web/site
