#!/usr/bin/env python3
"""Instruction counts of the pin-grid benchmarks, from callgrind.

Runs each benchmark of bench_pingrid once per size under callgrind with instrumentation off
at the start: the benchmark turns it on around the measured part of an iteration only, so the
instructions of a run divided by its iterations are the cost of one operation. Wall times on
a shared machine swing; these counts do not, so size ratios are taken from them.

usage: count.py BENCH_BINARY [FILTER_REGEX]
"""
import json
import os
import re
import subprocess
import sys
import tempfile

BENCHMARKS = ["BM_OpenDesignWindow", "BM_LoadComponentPins", "BM_ConnectionEdit", "BM_NetRename",
              "BM_DisconnectAll", "BM_CreateNetsTransaction"]
# The benchmarks of the other binaries, by the binary's name.
BENCHMARKS_OF = {"bench_phys_grid": ["BM_OpenPhysicalPart", "BM_SwapTwoPins", "BM_PhysNetModelEdit"]}
SIZES = [1000, 10000]


def count(binary, name, size, folder):
    out = os.path.join(folder, f"{name}.{size}.callgrind")
    cmd = ["valgrind", "--tool=callgrind", "--instr-atstart=no", f"--callgrind-out-file={out}", binary,
           f"--benchmark_filter=^{name}/{size}$", "--benchmark_min_time=0.000001", "--benchmark_format=json"]
    run = subprocess.run(cmd, capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit(f"{name}/{size} failed:\n{run.stderr[-2000:]}")
    result = json.loads(run.stdout)["benchmarks"][0]
    instructions = 0
    with open(out) as f:
        for line in f:
            m = re.match(r"(?:summary|totals):\s+(\d+)", line)
            if m:
                instructions = int(m.group(1))
    counters = {k: v for k, v in result.items() if k in ("rows", "connections", "nets", "pins")}
    return instructions / result["iterations"], counters


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    binary = sys.argv[1]
    wanted = re.compile(sys.argv[2]) if len(sys.argv) > 2 else None
    print(f"{'benchmark':28} {'instr/op 1k':>14} {'instr/op 10k':>14} {'10k/1k':>7}  per item at 10k")
    with tempfile.TemporaryDirectory() as folder:
        for name in BENCHMARKS_OF.get(os.path.basename(binary), BENCHMARKS):
            if wanted and not wanted.search(name):
                continue
            counts = {size: count(binary, name, size, folder) for size in SIZES}
            small, large = counts[SIZES[0]][0], counts[SIZES[-1]][0]
            items = counts[SIZES[-1]][1]
            per = ", ".join(f"{large / v:,.0f} per {k[:-1] if k.endswith('s') else k}" for k, v in items.items() if v)
            print(f"{name:28} {small:14,.0f} {large:14,.0f} {large / small:7.2f}  {per}", flush=True)


if __name__ == "__main__":
    main()
