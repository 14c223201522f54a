# Thin wrapper over CMake. `make demo` and `make test` are the two commands a fresh machine needs.
JOBS ?= $(shell nproc)
BUILD ?= build/release
ASAN_BUILD ?= build/asan
BENCH_BUILD ?= build/bench

.PHONY: all demo test bench bench-count clean

all:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

demo: all
	@if [ -x $(BUILD)/bin/kxhost ]; then \
	  $(BUILD)/bin/kxhost --lib examples/designs examples/demo.tcl; \
	else \
	  echo "kxhost is not built yet; the build produced:"; ls $(BUILD)/lib $(BUILD)/bin 2>/dev/null; \
	fi

test:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKX_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

bench:
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKX_BUILD_TESTS=OFF -DKX_BUILD_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bin/bench_*; do [ -x "$$b" ] && "$$b"; done; true

# Instruction counts of the pin-grid benchmarks under callgrind: the stable figures for size ratios.
bench-count:
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKX_BUILD_TESTS=OFF -DKX_BUILD_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target bench_pingrid
	python3 bench/count.py $(BENCH_BUILD)/bin/bench_pingrid $(FILTER)

clean:
	rm -rf build
