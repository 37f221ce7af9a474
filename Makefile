# Two commands: `make play` and `make test`. Both install what is missing and
# build; play then makes the data and starts the game in run/.
BUILD := build
RUN   := run
# Installing and packaging use one Release build of their own.
RELEASE := build-release
PREFIX  ?= /usr/local

# Keep the nested builds quiet about changing directories.
MAKEFLAGS += --no-print-directory

.PHONY: play test demos bench setup configure install deb release

play:
	@if [ -z "$$DISPLAY" ]; then echo "driftwing: no display (DISPLAY is not set), so the game cannot open its window."; exit 1; fi
	@$(MAKE) --no-print-directory configure
	@cmake --build $(BUILD) -j2 --target driftwing assetgen
	@$(BUILD)/tools/assetgen/assetgen $(RUN)
	@cd $(RUN) && exec ../$(BUILD)/driftwing

test: configure
	@cmake --build $(BUILD) -j2
	@cd $(BUILD) && ctest --output-on-failure -j2

# Rewrites the golden demos of tests/demos and their expected values from
# their scripts: after a deliberate change to the rules or the drawing.
demos: configure
	@cmake --build $(BUILD) -j2 --target demogen assetgen
	@$(BUILD)/tools/assetgen/assetgen $(BUILD)/demo-data
	@$(BUILD)/tools/demogen/demogen $(BUILD)/demo-data tests/demos

# Benchmarks in a Release build of their own: frame and update costs, then
# the golden demos timed against the plain-SDL reference, with peak memory.
bench: setup
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DDRIFTWING_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build build-bench -j2
	@build-bench/bench/bench_render
	@build-bench/bench/bench_update
	@build-bench/bench/bench_present
	@bench/timedemo.sh build-bench

setup:
	@sh tools/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) >/dev/null

release: setup
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(RELEASE) -j2 --target driftwing installdata

# make install PREFIX=/some/where: the game in PREFIX/games (linked from bin), its data in
# PREFIX/share/games/driftwing, menu entry, icons, metadata and manual page.
install: release
	@cmake --install $(RELEASE) --prefix "$(PREFIX)" --strip

# make deb: driftwing_1.0_<arch>.deb in the current folder.
deb: release
	@cd $(RELEASE) && (cpack >cpack.log 2>&1 || { cat cpack.log; exit 1; })
	@cp $(RELEASE)/package/driftwing_1.0_*.deb .
	@ls driftwing_1.0_*.deb
