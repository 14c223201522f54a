// The measured part of a benchmark iteration. Under callgrind (bench/count.py) instrumentation is
// off at the start and on only inside Measured, so a run's instruction count divided by its
// iterations is the cost of one operation.
#pragma once

#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstdlib>

namespace kxbench {

// An iteration's body is untimed (setup and restoring the design) but for its measured part.
class Untimed {
public:
    explicit Untimed(benchmark::State& state) : m_state(state) { m_state.PauseTiming(); }
    ~Untimed() { m_state.ResumeTiming(); }
    Untimed(const Untimed&) = delete;
    Untimed& operator=(const Untimed&) = delete;

private:
    benchmark::State& m_state;
};

// Timed, and instrumented when running under callgrind.
class Measured {
public:
    explicit Measured(benchmark::State& state) : m_state(state) {
        m_state.ResumeTiming();
        CALLGRIND_START_INSTRUMENTATION;
    }
    ~Measured() {
        CALLGRIND_STOP_INSTRUMENTATION;
        m_state.PauseTiming();
    }
    Measured(const Measured&) = delete;
    Measured& operator=(const Measured&) = delete;

private:
    benchmark::State& m_state;
};

// KX_BENCH_ITERATIONS fixes the iteration count (bench/count.py takes the first operation and the
// steady ones apart that way); otherwise `fallback` when given, else the library chooses.
inline void FixedIterations(benchmark::internal::Benchmark* b, int fallback = 0) {
    if (const char* n = std::getenv("KX_BENCH_ITERATIONS"); n && std::atoi(n) > 0) b->Iterations(std::atoi(n));
    else if (fallback > 0) b->Iterations(fallback);
}

} // namespace kxbench
