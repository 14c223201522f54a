// Grid storage and composition costs: a 10,000 x 20 grid written one cell at a time through
// SetStyleRange and read back through ComposeStyleRowCol. Counters report nanoseconds per cell.
#include "grid/gxall.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {
constexpr ROWCOL kRows = 10000;
constexpr ROWCOL kCols = 20;

struct BenchGrid : CGXGridCore {
    BenchGrid()
    {
        Initialize();
        GetParam()->EnableUndo(FALSE);
        SetRowCount(kRows);
        SetColCount(kCols);
    }
};

// A cell as the detail grids write it: value, control, read-only, font, alignment and two attributes.
CGXStyle CellStyle(ROWCOL r, ROWCOL c)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "R%uC%u", r, c);
    CGXStyle s;
    s.SetValue(buf)
        .SetControl(GX_IDS_CTRL_STATIC)
        .SetReadOnly(TRUE)
        .SetWrapText(FALSE)
        .SetHorizontalAlignment(DT_LEFT)
        .SetUserAttribute(12501, "1")
        .SetUserAttribute(59401, static_cast<double>(r));
    return s;
}

void Fill(BenchGrid& g)
{
    g.GetParam()->SetLockReadOnly(FALSE);
    for (ROWCOL r = 1; r <= kRows; ++r)
        for (ROWCOL c = 1; c <= kCols; ++c)
            g.SetStyleRange(CGXRange(r, c), CellStyle(r, c), gxOverride, 0, GX_SMART);
    g.GetParam()->SetLockReadOnly(TRUE);
}

void SetCellsPerCell(benchmark::State& state, bool undo)
{
    const double cells = static_cast<double>(kRows) * kCols;
    for (auto _ : state) {
        state.PauseTiming();
        auto g = std::make_unique<BenchGrid>();
        g->GetParam()->EnableUndo(undo);
        // Styles are built outside the timed part: only the grid's work is measured.
        std::vector<CGXStyle> styles;
        styles.reserve(kCols);
        for (ROWCOL c = 1; c <= kCols; ++c)
            styles.push_back(CellStyle(1, c));
        g->GetParam()->SetLockReadOnly(FALSE);
        state.ResumeTiming();
        for (ROWCOL r = 1; r <= kRows; ++r)
            for (ROWCOL c = 1; c <= kCols; ++c)
                g->SetStyleRange(CGXRange(r, c), styles[c - 1], gxOverride, 0, GX_SMART);
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
    state.counters["ns_per_SetStyleRange"] = benchmark::Counter(
        cells * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Rows filled as a detail grid fills them: each row inserted, then its cells written from a few
// templates that carry the column's attributes, each cell with a value and an attribute of its own.
void BM_FillRowsFromTemplates(benchmark::State& state)
{
    std::vector<CGXStyle> templates(kCols);
    for (ROWCOL c = 0; c < kCols; ++c)
        templates[c]
            .SetControl(GX_IDS_CTRL_STATIC)
            .SetReadOnly(TRUE)
            .SetUserAttribute(12501, "1")
            .SetUserAttribute(12502, static_cast<double>(c))
            .SetUserAttribute(12503, "");
    for (auto _ : state) {
        state.PauseTiming();
        auto g = std::make_unique<BenchGrid>();
        g->SetRowCount(0);
        g->GetParam()->SetLockReadOnly(FALSE);
        state.ResumeTiming();
        char buf[32];
        for (ROWCOL r = 1; r <= kRows; ++r) {
            g->InsertRows(r, 1, GX_SMART);
            for (ROWCOL c = 1; c <= kCols; ++c) {
                CGXStyle cell = templates[c - 1];
                std::snprintf(buf, sizeof buf, "R%uC%u", r, c);
                cell.SetValue(buf).SetUserAttribute(59401, static_cast<double>(r % 64));
                g->SetStyleRange(CGXRange(r, c), cell, gxOverride, 0, GX_SMART);
            }
        }
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
    state.counters["ns_per_cell"] =
        benchmark::Counter(static_cast<double>(kRows) * kCols * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_SetStyleRange(benchmark::State& state) { SetCellsPerCell(state, false); }
void BM_SetStyleRangeWithUndo(benchmark::State& state) { SetCellsPerCell(state, true); }

void BM_ComposeStyleRowCol(benchmark::State& state)
{
    BenchGrid g;
    g.GetParam()->EnableUndo(FALSE);
    Fill(g);
    CGXStyle s;
    size_t sink = 0;
    for (auto _ : state) {
        for (ROWCOL r = 1; r <= kRows; ++r)
            for (ROWCOL c = 1; c <= kCols; ++c) {
                g.ComposeStyleRowCol(r, c, &s);
                sink += static_cast<size_t>(s.GetValue().GetLength());
            }
    }
    benchmark::DoNotOptimize(sink);
    state.counters["ns_per_ComposeStyleRowCol"] = benchmark::Counter(
        static_cast<double>(kRows) * kCols * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_GetValueRowCol(benchmark::State& state)
{
    BenchGrid g;
    g.GetParam()->EnableUndo(FALSE);
    Fill(g);
    size_t sink = 0;
    for (auto _ : state)
        for (ROWCOL r = 1; r <= kRows; ++r)
            for (ROWCOL c = 1; c <= kCols; ++c)
                sink += static_cast<size_t>(g.GetValueRowCol(r, c).GetLength());
    benchmark::DoNotOptimize(sink);
    state.counters["ns_per_GetValueRowCol"] = benchmark::Counter(
        static_cast<double>(kRows) * kCols * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// One-row structural changes in the middle of the filled grid.
void BM_InsertRemoveOneRow(benchmark::State& state)
{
    BenchGrid g;
    g.GetParam()->EnableUndo(FALSE);
    Fill(g);
    for (auto _ : state) {
        g.InsertRows(kRows / 2, 1);
        g.RemoveRows(kRows / 2, kRows / 2);
    }
}

void BM_HideShowOneRow(benchmark::State& state)
{
    BenchGrid g;
    g.GetParam()->EnableUndo(FALSE);
    Fill(g);
    for (auto _ : state) {
        g.HideRows(kRows / 2, kRows / 2, TRUE);
        g.HideRows(kRows / 2, kRows / 2, FALSE);
    }
}
} // namespace

BENCHMARK(BM_SetStyleRange)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SetStyleRangeWithUndo)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FillRowsFromTemplates)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ComposeStyleRowCol)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetValueRowCol)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertRemoveOneRow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HideShowOneRow)->Unit(benchmark::kMicrosecond);
