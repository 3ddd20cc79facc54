# Entry points for people and CI. Every target installs missing Debian packages first.
PRESET ?= debug
BUILD_DIR := build/$(PRESET)
FUZZ_SECONDS ?= 60

.PHONY: deps configure build suite test fuzz bench format check-format

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

# The main job: run the hardware acceptance suite against this build's runners.
suite: build
	$(BUILD_DIR)/bin/hardware_e2e

# Every test of the project: unit tests, the runners end to end, the suite's own
# tests against a fake runner, and the suite's twenty cases on the simulated device.
test: build
	ctest --preset $(PRESET)

# Fuzzes the profile reader for FUZZ_SECONDS (its own clang build in build/fuzz).
fuzz: deps
	ipu-package/fuzz/run.sh $(FUZZ_SECONDS)

# Benchmarks, built with optimisation.
bench:
	@$(MAKE) --no-print-directory build PRESET=release
	@for b in build/release/bin/*_bench; do echo "== $$b"; $$b; done

format:
	@git ls-files '*.cpp' '*.hpp' | xargs clang-format -i

check-format:
	@git ls-files '*.cpp' '*.hpp' | xargs clang-format --dry-run --Werror
