#!/usr/bin/env python3
"""Instruction counts of the benchmarks, from callgrind.

Runs each benchmark of a benchmark binary per size under callgrind with instrumentation off at the
start: the benchmark turns it on around the measured part of an iteration only. Each runs once
with one iteration (the first operation, which may build what later ones reuse) and once with
STEADY_RUNS iterations; the difference divided by STEADY_RUNS - 1 is the steady cost of one
operation. Wall times on a shared machine swing; these counts do not, so size ratios are taken
from them.

With several binaries, each one's benchmarks in turn. Beside the counts, the median wall time of one
steady operation of each benchmark and size (plain runs, outside callgrind).

usage: count.py BENCH_BINARY [BENCH_BINARY ...] [--filter FILTER_REGEX]
"""
import json
import os
import re
import subprocess
import sys
import tempfile

BENCHMARKS = ["BM_OpenDesignWindow", "BM_LoadComponentPins", "BM_ConnectionEdit", "BM_NetRename",
              "BM_DisconnectAll", "BM_CreateNetsTransaction", "BM_AutoNameAttach", "BM_AddSignal",
              "BM_AddConnectionByKey", "BM_CloseObjectWindows", "BM_TieAllPowerPins", "BM_ShowAfterEdit",
              "BM_FirstTypedEditAfterShow", "BM_FirstKeyedEditAfterShow", "BM_TypedSessionPinGrid",
              "BM_HostOpenGenerated", "BM_HostShowGenerated", "BM_ShowWidePins"]
# The benchmarks of the other binaries, by the binary's name.
BENCHMARKS_OF = {"bench_phys_grid": ["BM_OpenPhysicalPart", "BM_SwapTwoPins", "BM_PhysNetModelEdit"],
                 "bench_signal_grid": ["BM_ConnectAndRefresh", "BM_DeleteRow", "BM_PasteConnect",
                                       "BM_ConnectThenDelete", "BM_ConnectSession"],
                 "bench_matrix": ["BM_ConnectOneCellAndRefresh"]}
SIZES = [1000, 10000]
# Benchmarks measured at other sizes; ratios are of the last size to the first.
# A session benchmark's size is "PINS/EDITS BEFORE"; one of its operations is a batch of 100 edits, so its
# ratio is the mean of the session's last hundred edits to the first hundred's.
THREE_SIZES = [1000, 10000, 40000]
SESSION = ["1000/0", "1000/900"]
SIZES_OF = {"BM_ShowAfterEdit": THREE_SIZES, "BM_FirstTypedEditAfterShow": THREE_SIZES,
            "BM_FirstKeyedEditAfterShow": THREE_SIZES, "BM_HostOpenGenerated": THREE_SIZES,
            "BM_HostShowGenerated": THREE_SIZES, "BM_OpenDesignWindow": THREE_SIZES,
            "BM_ConnectOneCellAndRefresh": [1000, 3000], "BM_TypedSessionPinGrid": SESSION,
            "BM_ConnectSession": SESSION, "BM_ShowWidePins": [3, 30]}
TIMED_RUNS = 5
TIMED_ITERATIONS = 6


STEADY_RUNS = 3


def run_once(binary, name, size, folder, iterations):
    out = os.path.join(folder, f"{name}.{str(size).replace('/', '_')}.{iterations}.callgrind")
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


def median_per_iteration(binary, name, size, iterations):
    """The median over TIMED_RUNS runs of the wall time (ms) per iteration of a run of `iterations`."""
    cmd = [binary, f"--benchmark_filter=^{name}/{size}/iterations:{iterations}$", "--benchmark_format=json",
           f"--benchmark_repetitions={TIMED_RUNS}", "--benchmark_report_aggregates_only=true"]
    env = dict(os.environ, KX_BENCH_ITERATIONS=str(iterations))
    run = subprocess.run(cmd, capture_output=True, text=True, env=env)
    if run.returncode != 0:
        return float("nan")
    for result in json.loads(run.stdout)["benchmarks"]:
        if result.get("aggregate_name") == "median":
            scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[result.get("time_unit", "ns")]
            return result["real_time"] * scale
    return float("nan")


def median_time(binary, name, size):
    """The median wall time (ms) of one steady operation: runs of one iteration (the first operation)
    and of TIMED_ITERATIONS, the first taken out of the second."""
    first = median_per_iteration(binary, name, size, 1)
    many = median_per_iteration(binary, name, size, TIMED_ITERATIONS)
    return max(0.0, (many * TIMED_ITERATIONS - first) / (TIMED_ITERATIONS - 1))


def count(binary, name, size, folder):
    """(first operation, steady operation, counters)"""
    first, counters = run_once(binary, name, size, folder, 1)
    total, _ = run_once(binary, name, size, folder, STEADY_RUNS)
    return first, (total - first) / (STEADY_RUNS - 1), counters


def report(binary, name, folder):
    sizes = SIZES_OF.get(name, SIZES)
    counts = {size: count(binary, name, size, folder) for size in sizes}
    times = {size: median_time(binary, name, size) for size in sizes}
    (f1, s1, _), (f2, s2, items) = counts[sizes[0]], counts[sizes[-1]]
    notes = []
    for k, v in items.items():
        if k == "heap":
            notes.append(f"heap {v:,.0f} bytes per row")
        elif v:
            notes.append(f"{f2 / v:,.0f} first per {k[:-1] if k.endswith('s') else k}")
    for size in sizes:
        first, steady, _ = counts[size]
        print(f"{name:28} {size:>6} {first:15,.0f} {steady:15,.0f} {times[size]:10.2f}", flush=True)
    print(f"{name:28} {'ratio':>6} {f2 / f1:15.2f} {(s2 / s1 if s1 else 0):15.2f}  "
          f"{sizes[-1]} vs {sizes[0]}; {', '.join(notes)}", flush=True)


def main():
    args = sys.argv[1:]
    wanted = None
    if "--filter" in args:
        at = args.index("--filter")
        wanted = re.compile(args[at + 1]) if at + 1 < len(args) and args[at + 1] else None
        del args[at:at + 2]
    if not args:
        sys.exit(__doc__)
    print(f"{'benchmark':28} {'size':>6} {'first (instr)':>15} {'steady (instr)':>15} {'median ms':>10}")
    with tempfile.TemporaryDirectory() as folder:
        for binary in args:
            for name in BENCHMARKS_OF.get(os.path.basename(binary), BENCHMARKS):
                if wanted and not wanted.search(name):
                    continue
                report(binary, name, folder)


if __name__ == "__main__":
    main()
