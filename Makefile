# Thin wrapper over CMake. `make demo` and `make test` are the two commands a fresh machine needs.
JOBS ?= $(shell nproc)
BUILD ?= build/release
DEMO_BUILD ?= build/demo
ASAN_BUILD ?= build/asan
BENCH_BUILD ?= build/bench
FUZZ_BUILD ?= build/fuzz
FUZZ_SECONDS ?= 60
FUZZ_CHECK_SECONDS ?= 3
# CI (CI=true) turns every warning into an error, in the gcc build and in the clang fuzz build alike.
WERROR = -DKX_WERROR=$(if $(filter true 1,$(CI)),ON,OFF)

.PHONY: all demo test bench bench-count clean fuzz fuzz-build fuzz-check

all:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# The host and the libraries it loads, no test; the demo runs on a copy of the example library in the build folder,
# so the checkout stays as it was.
demo:
	cmake -S . -B $(DEMO_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKX_BUILD_TESTS=OFF
	cmake --build $(DEMO_BUILD) -j $(JOBS) --target kxhost
	rm -rf $(DEMO_BUILD)/designs $(DEMO_BUILD)/registry
	cp -r examples/designs $(DEMO_BUILD)/designs
	KX_REGISTRY_DIR=$(abspath $(DEMO_BUILD))/registry KX_DEMO_LIBRARY=$(DEMO_BUILD)/designs \
	  $(DEMO_BUILD)/bin/kxhost --lib $(DEMO_BUILD)/designs examples/demo.tcl
	@echo "make demo: passed (examples/demo.tcl ran to its end on $(DEMO_BUILD)/designs)"

# CI (CI=true) builds with -Werror. Each test binary runs under CTest (a case a process), then whole, in one
# process, from a folder outside the tree, as a developer runs it by hand: once in order and once with its cases
# shuffled (each binary prints its seed; `--gtest_shuffle --gtest_random_seed=N` repeats a failed order).
test:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKX_SANITIZE=ON -DKX_BUILD_BENCH=ON $(WERROR)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)
	tests/run-whole.sh $(ASAN_BUILD) $(JOBS)
	tests/run-whole.sh --shuffle $(ASAN_BUILD) $(JOBS)
	$(MAKE) fuzz-check
	@echo "make test: passed (every test under CTest, each binary whole in order and shuffled, the fuzz check)"

# The fuzz targets (clang, libFuzzer with ASan and UBSan); only the libraries they read with are built.
fuzz-build:
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKX_BUILD_FUZZ=ON -DKX_BUILD_TESTS=OFF \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ $(WERROR)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target kx_fuzz

# Every target over its corpus (seeds and the inputs that once broke it) and a few seconds more.
fuzz-check: fuzz-build
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_CHECK_SECONDS)

# Every target for FUZZ_SECONDS.
fuzz: fuzz-build
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench:
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKX_BUILD_TESTS=OFF -DKX_BUILD_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bin/bench_*; do [ -x "$$b" ] && "$$b"; done; true

# Instruction counts of the editor's benchmarks under callgrind (the stable figures for size ratios),
# with median times; FILTER=REGEX picks benchmarks by name.
COUNTED = bench_pingrid bench_signal_grid bench_matrix bench_phys_grid
bench-count:
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKX_BUILD_TESTS=OFF -DKX_BUILD_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target $(COUNTED)
	python3 bench/count.py $(addprefix $(BENCH_BUILD)/bin/,$(COUNTED)) --filter "$(FILTER)"

clean:
	rm -rf build
