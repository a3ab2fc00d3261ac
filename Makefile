# The two commands of the README:
#   make run   installs what is missing, builds and starts the demo
#   make test  installs what is missing, builds and runs every test
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
JOBS ?= $(shell nproc)

.PHONY: deps configure build test run fuzz bench clean

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The fuzz run goes first so that CTest's summary is the last thing printed.
test: build
	@scripts/run-fuzz.sh $(FUZZ_BUILD)
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) --timeout 300

run: build
	@scripts/demo.sh $(BUILD)

bench: build
	@scripts/run-bench.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
