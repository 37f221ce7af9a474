# Two commands: `make play` and `make test`. Both install what is missing and
# build; play then makes the data and starts the game in run/.
BUILD := build
RUN   := run
SANITIZE_BUILD := build-sanitize
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS ?= 60

# The sanitizers' settings for every test program and game run under them.
SANITIZE_ENV := ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Keep the nested builds quiet about changing directories.
MAKEFLAGS += --no-print-directory

.PHONY: play test test-sanitize fuzz setup configure

play:
	@if [ -z "$$DISPLAY" ]; then echo "driftwing: no display (DISPLAY is not set), so the game cannot open its window."; exit 1; fi
	@$(MAKE) --no-print-directory configure
	@cmake --build $(BUILD) -j2 --target driftwing assetgen
	@$(BUILD)/tools/assetgen/assetgen $(RUN)
	@cd $(RUN) && exec ../$(BUILD)/driftwing

test: configure
	@cmake --build $(BUILD) -j2
	@cd $(BUILD) && ctest --output-on-failure -j2

# The whole suite again with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: setup
	@cmake -S . -B $(SANITIZE_BUILD) -DDRIFTWING_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j2
	@cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) ctest --output-on-failure -j2

# Every fuzz target for FUZZ_SECONDS seconds each (clang, libFuzzer).
fuzz: setup
	@cmake -S . -B $(FUZZ_BUILD) -DDRIFTWING_FUZZ=ON -DBUILD_TESTING=OFF \
		-DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build $(FUZZ_BUILD) -j2 --target fuzzers
	@fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

setup:
	@sh tools/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) >/dev/null
