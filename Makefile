# The two everyday commands: `make run` and `make test`.
BUILD   ?= build
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run package clean sanitize-build test-sanitize fuzz monkey soak

all: build

deps:
	@bash scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@bash scripts/run-viewer $(BUILD)

# The Debian package orvane_VERSION_ARCH.deb, in $(BUILD).
package: build
	cd $(BUILD) && cpack

clean:
	rm -rf $(BUILD)

# The same programs and tests built with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in a directory of their own, with the fuzz
# targets; scripts/with-sanitizers sets how the sanitizers report.
SANITIZE_BUILD ?= build-sanitize
FUZZ_SECONDS   ?= 20
MONKEY_SECONDS ?= 60
MONKEY_SEED    ?= 1

$(SANITIZE_BUILD)/CMakeCache.txt: | deps
	CC=clang CXX=clang++ cmake -S . -B $(SANITIZE_BUILD) -DORVANE_SANITIZE=ON -DORVANE_BENCH=OFF $(CMAKE_FLAGS)

sanitize-build: deps $(SANITIZE_BUILD)/CMakeCache.txt
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)

test-sanitize: sanitize-build
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen $(CURDIR)/scripts/with-sanitizers ctest --output-on-failure -j $(JOBS)

fuzz: sanitize-build
	bash fuzz/run $(FUZZ_SECONDS) $(SANITIZE_BUILD)

monkey: sanitize-build
	bash scripts/monkey $(SANITIZE_BUILD) $(MONKEY_SECONDS) $(MONKEY_SEED)

# Memory growth is judged in the normal build, crashes and reports in both.
SOAK_SECONDS ?= 600

soak: build sanitize-build
	bash scripts/soak $(BUILD) $(SOAK_SECONDS)
	bash scripts/soak $(SANITIZE_BUILD) $(SOAK_SECONDS)
