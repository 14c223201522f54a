#!/usr/bin/env bash
# Runs every test binary of a build once in one process, from a folder outside the source tree and without the
# variables CTest sets: a binary must find its data and keep its cases apart by itself. With --shuffle the cases run
# in a random order (the seed is printed with a failure).
# usage: tests/run-whole.sh [--shuffle] BUILD_DIR [JOBS]
set -uo pipefail
order=()
if [ "${1:-}" = "--shuffle" ]; then
    order=(--gtest_shuffle)
    shift
fi
build=$(cd "${1:?usage: run-whole.sh [--shuffle] BUILD_DIR [JOBS]}" && pwd)
jobs=${2:-$(nproc)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run_one() {
    local bin=$1 work=$2 name seed=$((RANDOM % 100000 + 1))
    shift 2
    name=$(basename "$bin")
    mkdir -p "$work/$name/registry"
    if (cd "$work/$name" && env -u KX_TEST_SOURCE_DIR KX_REGISTRY_DIR="$work/$name/registry" \
            "$bin" "$@" --gtest_random_seed=$seed --gtest_brief=1 >"$work/$name.log" 2>&1); then
        echo "passed: $name${*:+ (seed $seed)}"
    else
        echo "FAILED: $name (whole ${*:+$* }with --gtest_random_seed=$seed)"
        tail -n 40 "$work/$name.log"
        return 1
    fi
}
export -f run_one

ls "$build"/bin/*_tests | xargs -P "$jobs" -I{} bash -c 'run_one "$@"' _ {} "$work" "${order[@]}"
