#!/usr/bin/env python3
"""Instruction counts of the pin-grid benchmarks, from callgrind.

Runs each benchmark of bench_pingrid per size under callgrind with instrumentation off at the
start: the benchmark turns it on around the measured part of an iteration only. Each runs once
with one iteration (the first operation, which may build what later ones reuse) and once with
STEADY_RUNS iterations; the difference divided by STEADY_RUNS - 1 is the steady cost of one
operation. Wall times on a shared machine swing; these counts do not, so size ratios are taken
from them.

usage: count.py BENCH_BINARY [FILTER_REGEX]
"""
import json
import os
import re
import subprocess
import sys
import tempfile

BENCHMARKS = ["BM_OpenDesignWindow", "BM_LoadComponentPins", "BM_ConnectionEdit", "BM_NetRename",
              "BM_DisconnectAll", "BM_CreateNetsTransaction", "BM_AutoNameAttach", "BM_AddSignal",
              "BM_AddConnectionByKey", "BM_CloseObjectWindows", "BM_TieAllPowerPins"]
# The benchmarks of the other binaries, by the binary's name.
BENCHMARKS_OF = {"bench_phys_grid": ["BM_OpenPhysicalPart", "BM_SwapTwoPins", "BM_PhysNetModelEdit"]}
SIZES = [1000, 10000]


STEADY_RUNS = 3


def run_once(binary, name, size, folder, iterations):
    out = os.path.join(folder, f"{name}.{size}.{iterations}.callgrind")
    cmd = ["valgrind", "--tool=callgrind", "--instr-atstart=no", f"--callgrind-out-file={out}", binary,
           f"--benchmark_filter=^{name}/{size}/iterations:{iterations}$", "--benchmark_format=json"]
    env = dict(os.environ, KX_BENCH_ITERATIONS=str(iterations))
    run = subprocess.run(cmd, capture_output=True, text=True, env=env)
    if run.returncode != 0:
        sys.exit(f"{name}/{size} failed:\n{run.stderr[-2000:]}")
    result = json.loads(run.stdout)["benchmarks"][0]
    if result.get("error_occurred"):
        sys.exit(f"{name}/{size}: {result.get('error_message')}")
    instructions = 0
    with open(out) as f:
        for line in f:
            m = re.match(r"(?:summary|totals):\s+(\d+)", line)
            if m:
                instructions = int(m.group(1))
    counters = {k: v for k, v in result.items() if k in ("rows", "connections", "nets", "pins")}
    if "heap_bytes_per_row" in result:
        counters["heap"] = result["heap_bytes_per_row"]
    return instructions, counters


def count(binary, name, size, folder):
    """(first operation, steady operation, counters)"""
    first, counters = run_once(binary, name, size, folder, 1)
    total, _ = run_once(binary, name, size, folder, STEADY_RUNS)
    return first, (total - first) / (STEADY_RUNS - 1), counters


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    binary = sys.argv[1]
    wanted = re.compile(sys.argv[2]) if len(sys.argv) > 2 else None
    print(f"{'benchmark':26} {'first 1k':>13} {'first 10k':>14} {'ratio':>6} {'steady 1k':>13} "
          f"{'steady 10k':>14} {'ratio':>6}  at 10k")
    with tempfile.TemporaryDirectory() as folder:
        for name in BENCHMARKS_OF.get(os.path.basename(binary), BENCHMARKS):
            if wanted and not wanted.search(name):
                continue
            counts = {size: count(binary, name, size, folder) for size in SIZES}
            (f1, s1, _), (f2, s2, items) = counts[SIZES[0]], counts[SIZES[-1]]
            notes = []
            for k, v in items.items():
                if k == "heap":
                    notes.append(f"heap {v:,.0f} bytes per row")
                elif v:
                    notes.append(f"{f2 / v:,.0f} first per {k[:-1] if k.endswith('s') else k}")
            print(f"{name:26} {f1:13,.0f} {f2:14,.0f} {f2 / f1:6.2f} {s1:13,.0f} {s2:14,.0f} "
                  f"{(s2 / s1 if s1 else 0):6.2f}  {', '.join(notes)}", flush=True)


if __name__ == "__main__":
    main()
