# Entry points for people: `make run` and `make test`. Everything else is for developers.
BUILD   ?= build
JOBS    ?= 2
WERROR  ?= OFF
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test bench asan fuzz screenshots package clean

all: build

deps:
	@./scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVR_WERROR=$(WERROR) $(CMAKE_FLAGS)

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVR_WERROR=$(WERROR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/src/app/kvr610 --demo

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) --timeout 300

bench: build
	./$(BUILD)/bench/core_bench
	@if [ -x ./$(BUILD)/bench/io_bench ]; then ./$(BUILD)/bench/io_bench; fi

asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKVR_ASAN=ON -DKVR_BUILD_BENCH=OFF
	cmake --build build-asan -j$(JOBS)
	cd build-asan && ctest --output-on-failure -j$(JOBS) --timeout 600

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVR_BUILD_FUZZ=ON \
	    -DKVR_BUILD_GUI=OFF -DKVR_BUILD_BENCH=OFF
	cmake --build build-fuzz -j$(JOBS)
	./tests/fuzz/run-all build-fuzz/tests/fuzz $${FUZZ_SECONDS:-60}

# A Debian package of the three programs in $(BUILD)/ (dpkg -I describes it).
package: build
	cd $(BUILD) && cpack -G DEB

screenshots: build
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/src/app/kvr610 --screenshots $(BUILD)/screenshots

clean:
	rm -rf $(BUILD) build-asan build-fuzz
