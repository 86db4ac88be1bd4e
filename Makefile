# The workbench's commands. Every target that builds installs what is missing
# first (scripts/install-deps, idempotent).
BUILD       ?= build
BUILD_ASAN  ?= build-asan
BUILD_REL   ?= build-release
BUILD_FUZZ  ?= build-fuzz
BUILD_COV   ?= build-coverage
BUILD_PKG   ?= build-package
PREFIX      ?= /usr/local
GENERATOR   := -G Ninja
CMAKE_ARGS  ?=
FUZZ_SECONDS ?= 60
FUZZ_FOCUSED := fuzz_literals fuzz_line fuzz_macros fuzz_sources fuzz_state_file fuzz_machine
FUZZ_TARGETS := $(FUZZ_FOCUSED) fuzz_assembler fuzz_state_session fuzz_machine_session
HOURS ?= 1
MONKEY_SECONDS ?= 300
MONKEY_SEED ?=

.PHONY: all deps configure build test test-main test-asan asan-build monkey check run bench fuzz fuzz-build fuzz-ci fuzz-campaign coverage format \
  release install package package-test clean

all: build

deps:
	@scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD)

# Every test: the whole build (core, tool and windows), then the core and
# the workbench again under AddressSanitizer and UndefinedBehaviorSanitizer
# (with a one-minute monkey test of the workbench), then the house checks,
# then a short fuzzing run of every fuzz target.
test: test-main test-asan check fuzz-ci

test-main: build
	ctest --test-dir $(BUILD) -j2 --output-on-failure

# The sanitizer build: the core's tests, the workbench and its monkey (the
# windows' own Qt Test executables run in the main build).
asan-build: deps
	cmake -S . -B $(BUILD_ASAN) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DQRX_SANITIZE=ON \
	  -DQRX_WITH_GUI_TESTS=OFF $(CMAKE_ARGS)
	cmake --build $(BUILD_ASAN)

test-asan: asan-build
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir $(BUILD_ASAN) -j2 --output-on-failure

# The monkey test for longer: MONKEY_SECONDS of seeded random input
# (MONKEY_SEED, random when empty) to the sanitizer build's workbench.
monkey: asan-build
	scripts/run-monkey $(BUILD_ASAN)/qrx_monkey $(MONKEY_SECONDS) $(MONKEY_SEED)

check: build
	scripts/check-format
	scripts/check-layers
	scripts/check-core-purity $(BUILD)
	scripts/check-desktop-files $(BUILD)

run: build
	@if [ -x $(BUILD)/qrx-workbench ]; then \
	  $(BUILD)/qrx-workbench $(BUILD)/qasm/hello.qasm; \
	else \
	  echo "The workbench is not built; try: $(BUILD)/qrx --help"; \
	fi

bench: deps
	cmake -S . -B $(BUILD_REL) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DQRX_WITH_BENCH=ON -DQRX_WITH_TESTS=OFF $(CMAKE_ARGS)
	cmake --build $(BUILD_REL) --target qrx_bench qrx_gui_bench
	$(BUILD_REL)/qrx_bench
	QT_QPA_PLATFORM=offscreen $(BUILD_REL)/qrx_gui_bench

# libFuzzer targets (clang), each run for FUZZ_SECONDS on a scratch copy of
# its seed corpus; fails when a target finds anything.
fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQRX_FUZZ=ON -DQRX_WITH_GUI=OFF -DQRX_WITH_TESTS=OFF $(CMAKE_ARGS)
	cmake --build $(BUILD_FUZZ) --target $(FUZZ_TARGETS)

fuzz: fuzz-build
	scripts/run-fuzz $(BUILD_FUZZ) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# In make test: the focused targets, a few seconds each.
fuzz-ci:
	$(MAKE) fuzz FUZZ_SECONDS=10 FUZZ_TARGETS="$(FUZZ_FOCUSED)"

# A long campaign over every target on a corpus kept outside the repository
# (FUZZ_CORPUS_DIR, default ~/.cache/qrx-fuzz); HOURS in total.
fuzz-campaign: fuzz-build
	scripts/fuzz-campaign $(BUILD_FUZZ) $(HOURS) $(FUZZ_TARGETS)

# Line coverage of the core by its tests (GUI off); fails below 90% in any
# core folder.
coverage: deps
	cmake -S . -B $(BUILD_COV) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DQRX_WITH_GUI=OFF \
	  -DQRX_COVERAGE=ON $(CMAKE_ARGS)
	cmake --build $(BUILD_COV)
	find $(BUILD_COV) -name '*.gcda' -delete
	ctest --test-dir $(BUILD_COV) --output-on-failure
	scripts/coverage-report $(BUILD_COV)

# The Release build that is installed and packaged (no tests).
release: deps
	cmake -S . -B $(BUILD_PKG) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DQRX_WITH_TESTS=OFF $(CMAKE_ARGS)
	cmake --build $(BUILD_PKG)

# Installs the programs, samples, help page and desktop files under PREFIX
# (/usr/local by default; DESTDIR stages them elsewhere).
install: release
	cmake --install $(BUILD_PKG) --prefix $(PREFIX) --strip

# The Debian package, $(BUILD_PKG)/qrx_<version>_<arch>.deb, and its check:
# unpacked into a scratch root, qrx and the workbench run from there.
package: release
	cd $(BUILD_PKG) && cpack
	@ls $(BUILD_PKG)/qrx_*.deb

package-test: package
	scripts/check-package $$(ls -t $(BUILD_PKG)/qrx_*.deb | head -1)

format: deps
	git ls-files -co --exclude-standard 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
	  'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' | xargs -r clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_REL) $(BUILD_FUZZ) $(BUILD_COV) $(BUILD_PKG)
