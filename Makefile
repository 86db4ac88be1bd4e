# The workbench's commands. `make test` and `make run` install what is missing.
BUILD      ?= build
BUILD_REL  ?= build-release
GENERATOR  := -G Ninja
CMAKE_ARGS ?=

.PHONY: all deps configure build test run bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure

run: build
	@if [ -x $(BUILD)/qrx-workbench ]; then \
	  $(BUILD)/qrx-workbench $(BUILD)/qasm/hello.qasm; \
	else \
	  echo "The workbench is not built yet; try: $(BUILD)/qrx --help"; \
	fi

bench: deps
	cmake -S . -B $(BUILD_REL) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DQRX_WITH_BENCH=ON -DQRX_WITH_TESTS=OFF $(CMAKE_ARGS)
	cmake --build $(BUILD_REL) --target qrx_bench
	$(BUILD_REL)/qrx_bench

clean:
	rm -rf $(BUILD) $(BUILD_REL)
