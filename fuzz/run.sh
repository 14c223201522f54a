#!/usr/bin/env bash
# run.sh BUILD_DIR SECONDS [TARGET...]: runs each fuzz target over its corpus (fuzz/corpus/<name>,
# which holds the seeds and every input that once broke it), then fuzzes it for SECONDS more.
# New inputs go to a scratch folder, not into the tree. Prints the executions of each target and
# fails when any target finds a crash or a broken property (the input is kept in FUZZ_ARTIFACTS).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?build folder}
seconds=${2:?seconds}
shift 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for d in "$here"/corpus/*/; do targets+=("fuzz_$(basename "$d")"); done
fi
artifacts=${FUZZ_ARTIFACTS:-$build/fuzz-artifacts}
mkdir -p "$artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=0
for t in "${targets[@]}"; do
  bin="$build/bin/$t"
  corpus="$here/corpus/${t#fuzz_}"
  if [ ! -x "$bin" ]; then echo "$t: not built" >&2; failed=1; continue; fi
  mkdir -p "$scratch/$t"
  log="$scratch/$t.log"
  "$bin" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$artifacts/$t-" "$scratch/$t" "$corpus" >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $rc -ne 0 ]; then
    echo "$t: FAILED after ${runs:-?} executions (inputs kept in $artifacts)"
    grep -E "ERROR|property broken|SUMMARY|runtime error" "$log" | head -5
    failed=1
  else
    echo "$t: ${runs:-?} executions, no failure"
  fi
done
exit $failed
