# Two commands: `make play` and `make test`. Both install what is missing,
# configure and build; play then makes the data and starts the game in run/.
BUILD := build
RUN   := run

.PHONY: play test setup build data

play:
	@if [ -z "$$DISPLAY" ]; then echo "driftwing: no display (DISPLAY is not set), so the game cannot open its window."; exit 1; fi
	@$(MAKE) --no-print-directory data
	@cd $(RUN) && exec ../$(BUILD)/driftwing

test: build
	@cd $(BUILD) && ctest --output-on-failure -j2

setup:
	@sh tools/setup.sh

build: setup
	@cmake -S . -B $(BUILD) >/dev/null
	@cmake --build $(BUILD) -j2

data: build
	@$(BUILD)/tools/assetgen/assetgen $(RUN)
