// Matrix view costs at board scale: a stored view of 1,000 (and 3,000) signals by 20 components
// opened, one pin name typed into a cell (with the refresh it brings to a second matrix grid on the
// view), and the refresh after a connection committed elsewhere. Under callgrind (`make
// bench-count`) only the measured part of the typed cell is instrumented.
#include "matrix/KXMatrixGridWnd.h"

#include "afx/afxreg.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxnotes/CComments.h"
#include "rmx/DesignBuilder.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include "BenchMeasure.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using G = CKXMatrixGridWnd;

constexpr int kSignals = 1000;
constexpr int kComponents = 20;
constexpr const char* kView = "bench";

// Signal S<i> joins a bit of component U<i mod 20> and a bit of the next component; every
// component keeps a free pin SPARE. The stored view shows every component and every signal.
struct Board {
    IServer server;
    CDesignContext design;
    CComments comments{"kxtable", "board", 1};
    explicit Board(int signals = kSignals) {
        const int kSignals = signals;
        const int kBitsPerComponent = 2 * kSignals / kComponents; // every signal meets two components
        AfxSetRegistryDirectory("");
        rmx::DesignBuilder b(&server, "work");
        b.symbol("chip").bus("D", kBitsPerComponent - 1, 0).port("SPARE");
        b.schematic("board");
        for (int k = 0; k < kComponents; ++k) b.instance("U" + std::to_string(k), "chip");
        for (int i = 0; i < kSignals; ++i) {
            const std::string net = "S" + std::to_string(i);
            b.connect("U" + std::to_string(i % kComponents), "D<" + std::to_string(i / kComponents) + ">", net);
            b.connect("U" + std::to_string((i + 1) % kComponents),
                      "D<" + std::to_string(kSignals / kComponents + i / kComponents) + ">", net);
        }
        design = b.context();
        CMatrixViewData* views = comments.GetMatrixViewData();
        views->CreateView(kView);
        for (int k = 0; k < kComponents; ++k) views->AddInstanceToMatrixView(kView, ("@U" + std::to_string(k)).c_str());
        for (int i = 0; i < kSignals; ++i) views->AddSignalToMatrixView(kView, (":S" + std::to_string(i)).insert(0, "@").c_str());
    }
};

std::unique_ptr<G> OpenMatrix(Board& board) {
    auto grid = std::make_unique<G>();
    grid->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 1200, 800), nullptr, 100);
    grid->SetupGrid(nullptr, board.design, board.design, 0);
    grid->m_pMatrixViewData = board.comments.GetMatrixViewData();
    grid->LoadMatrixView(kView);
    return grid;
}

// The first row of a signal.
ROWCOL RowOf(G& grid, const char* signal) {
    for (ROWCOL r = kxmatrix::kFirstDataRow; r <= grid.GetRowCount(); ++r)
        if (grid.GetValueRowCol(r, static_cast<ROWCOL>(G::Layout().m_nNameCol)) == signal) return r;
    return 0;
}

void BM_OpenMatrixView(benchmark::State& state) {
    Board board;
    for (auto _ : state) {
        auto grid = OpenMatrix(board);
        benchmark::DoNotOptimize(grid->GetRowCount());
        state.PauseTiming();
        grid.reset();
        state.ResumeTiming();
    }
    state.counters["signals"] = kSignals;
    state.counters["components"] = kComponents;
}

// SPARE of U5 typed into U5's cell on the last signal's row (U5 does not meet it): one grid
// transaction; the second grid on the view shows it from the commit. The disconnect that resets
// the state is not timed.
void BM_ConnectOneCellAndRefresh(benchmark::State& state) {
    const int signals = static_cast<int>(state.range(0));
    Board board(signals);
    auto editor = OpenMatrix(board);
    auto viewer = OpenMatrix(board);
    const ROWCOL row = RowOf(*editor, ("S" + std::to_string(signals - 1)).c_str());
    const ROWCOL col = static_cast<ROWCOL>(G::ColumnOf(5, G::Layout().m_nPinNameOffset));
    for (auto _ : state) {
        kxbench::Untimed untimed(state);
        {
            kxbench::Measured measured(state);
            if (!editor->CommitPendingConnections(row, col, "SPARE")) state.SkipWithError("connect refused");
        }
        if (viewer->GetValueRowCol(row, col) != "SPARE") state.SkipWithError("the second grid was not refreshed");
        if (!editor->CommitPendingConnections(row, col, "")) state.SkipWithError("disconnect refused");
    }
    state.counters["signals"] = signals;
}

// A connection committed by another party: the open matrix grid finds and writes its cells.
void BM_RefreshAfterCommitElsewhere(benchmark::State& state) {
    Board board;
    auto grid = OpenMatrix(board);
    CKXGridWnd other; // the window that commits
    other.Create(WS_CHILD, CRect(0, 0, 10, 10), nullptr, 101);
    const std::string signal = "S" + std::to_string(kSignals / 2);
    INet* net = board.design.design()->findNet(signal.c_str());
    IInstTerm* spare = board.design.design()->findInstance("U7")->findInstTerm("SPARE");
    const ROWCOL row = RowOf(*grid, signal.c_str());
    const ROWCOL col = static_cast<ROWCOL>(G::ColumnOf(7, G::Layout().m_nPinNameOffset));
    const unsigned none = static_cast<unsigned>(-1);
    auto commit = [&](bool connect) {
        CKXTransaction::BeginTrans(&other, board.design, "elsewhere");
        CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
        connect ? t->addConn(net, none, none, spare, none, none) : t->removeConn(net, none, none, spare, none, none);
        CKXTransaction::CommitTrans(&other, 1, 1);
    };
    for (auto _ : state) {
        commit(true);
        state.PauseTiming();
        if (grid->GetValueRowCol(row, col) != "SPARE") state.SkipWithError("the cell was not refreshed");
        commit(false);
        state.ResumeTiming();
    }
    state.counters["signals"] = kSignals;
}

} // namespace

BENCHMARK(BM_OpenMatrixView)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ConnectOneCellAndRefresh)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond)->Apply([](auto* b) { kxbench::FixedIterations(b, 10); });
BENCHMARK(BM_RefreshAfterCommitElsewhere)->Unit(benchmark::kMillisecond)->Iterations(10);
