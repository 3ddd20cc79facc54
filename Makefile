# Entry points for people and CI. Every target installs missing Debian packages first.
PRESET ?= debug
BUILD_DIR := build/$(PRESET)

.PHONY: deps configure build suite test format check-format

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

# The main job: run the hardware acceptance suite against this build's runners.
suite: build
	$(BUILD_DIR)/bin/hardware_e2e

# Every test of the project.
test: build
	ctest --preset $(PRESET)

format:
	@git ls-files '*.cpp' '*.hpp' | xargs clang-format -i

check-format:
	@git ls-files '*.cpp' '*.hpp' | xargs clang-format --dry-run --Werror
