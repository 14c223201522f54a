// Signal grid costs at FPGA scale: opening a net with 1,000 and 10,000 pins, one connect typed
// into the grid with the refresh it brings to a second signal grid showing the same net, the same
// connect pasted, and the Delete of one row. Under callgrind (`make bench-count`) only the measured part is instrumented.
#include "signalgrid/KXSignalDetailsGridWnd.h"

#include "afx/afxole.h"
#include "afx/afxreg.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/DesignBuilder.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include "BenchMeasure.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using G = CKXSignalDetailsGridWnd;

// A board whose net BIG joins one pin of each of `pins` connectors; connector SPARE stays free.
struct Board {
    IServer server;
    CDesignContext design;
    explicit Board(int pins) {
        AfxSetRegistryDirectory("");
        rmx::DesignBuilder b(&server, "work");
        b.symbol("hdr").port("A").port("B");
        b.schematic("board").net("BIG").instance("SPARE", "hdr", "SPARE").pinNumber("SPARE", "A", "1");
        design = b.context();
        CTransaction t(design, "pins");
        INet* big = design.design()->findNet("BIG");
        for (int i = 0; i < pins; ++i) {
            IInstance* inst = t.createInstance(("J" + std::to_string(i)).c_str(), "work", "hdr", "sym");
            t.addConn(big, -1, -1, inst->findInstTerm("A"), -1, -1);
        }
        t.commit();
    }
};

std::unique_ptr<G> OpenGrid(Board& board) {
    auto grid = std::make_unique<G>();
    grid->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 1200, 800), nullptr, 100);
    grid->InitializeGrid(nullptr, board.design, board.design);
    grid->AddNetRows(board.design, board.design.net("BIG"));
    return grid;
}

void BM_OpenNet(benchmark::State& state) {
    Board board(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto grid = OpenGrid(board);
        benchmark::DoNotOptimize(grid->GetRowCount());
        state.PauseTiming();
        grid.reset();
        state.ResumeTiming();
    }
    state.counters["pins"] = static_cast<double>(state.range(0));
}

// One pin number typed into a blank row connects SPARE.A; the second grid on the net takes the
// new row from the commit notification. The disconnect that resets the state is not timed.
void BM_ConnectAndRefresh(benchmark::State& state) {
    Board board(static_cast<int>(state.range(0)));
    auto editor = OpenGrid(board);
    auto viewer = OpenGrid(board);
    for (auto _ : state) {
        kxbench::Untimed untimed(state);
        const ROWCOL row = editor->FindFirstEmptyRow();
        {
            kxbench::Measured measured(state);
            editor->CommitCellEdit(row, static_cast<ROWCOL>(G::m_nColInstance), "SPARE", FALSE);
            editor->SetValueRange(CGXRange(row, static_cast<ROWCOL>(G::m_nColInstance)), "SPARE");
            if (!editor->CommitCellEdit(row, static_cast<ROWCOL>(G::m_nColPinNumber), "1", FALSE))
                state.SkipWithError("connect refused");
        }
        if (!editor->DisconnectRow(row, "A", FALSE)) state.SkipWithError("disconnect refused");
        editor->RestyleRow(row);
    }
    state.counters["pins"] = static_cast<double>(state.range(0));
}

// The same connect pasted (Ctrl+V of the pin number "1" onto the blank row's Pin Number cell): the paste
// keeps the rows it changes, to give them back when its commit is refused.
void BM_PasteConnect(benchmark::State& state) {
    Board board(static_cast<int>(state.range(0)));
    auto editor = OpenGrid(board);
    auto viewer = OpenGrid(board);
    const ROWCOL instanceCol = static_cast<ROWCOL>(G::m_nColInstance);
    const ROWCOL pinCol = static_cast<ROWCOL>(G::m_nColPinNumber);
    for (auto _ : state) {
        kxbench::Untimed untimed(state);
        const ROWCOL row = editor->FindFirstEmptyRow();
        editor->CommitCellEdit(row, instanceCol, "SPARE", FALSE);
        editor->SetValueRange(CGXRange(row, instanceCol), "SPARE");
        editor->SetCurrentCell(row, pinCol);
        AfxSetClipboardText("1");
        CString text;
        {
            kxbench::Measured measured(state);
            if (!editor->Paste(text, FALSE)) state.SkipWithError("paste refused");
        }
        if (!editor->DisconnectRow(row, "A", FALSE)) state.SkipWithError("disconnect refused");
        editor->RestyleRow(row);
    }
    state.counters["pins"] = static_cast<double>(state.range(0));
}

// Delete pressed in the Instance cell of the first pin row: its pin leaves the net and a blank row takes its place; the
// second grid on the net drops the row from the commit notification. The pin joins the net again,
// committed by another window, between iterations.
void BM_DeleteRow(benchmark::State& state) {
    Board board(static_cast<int>(state.range(0)));
    auto editor = OpenGrid(board);
    auto viewer = OpenGrid(board);
    CKXGridWnd other; // the window that reconnects
    other.Create(WS_CHILD, CRect(0, 0, 10, 10), nullptr, 101);
    INet* big = board.design.design()->findNet("BIG");
    const ROWCOL row = kxsignal::kFirstDataRow;
    const ROWCOL instanceCol = static_cast<ROWCOL>(G::m_nColInstance);
    for (auto _ : state) {
        kxbench::Untimed untimed(state);
        const CString instance = editor->GetValueRowCol(row, static_cast<ROWCOL>(G::m_nColInstance));
        IInstance* inst = board.design.design()->findInstance(instance.GetString());
        if (!inst) state.SkipWithError("the first row shows no instance");
        editor->SetCurrentCell(row, instanceCol);
        {
            kxbench::Measured measured(state);
            editor->DeleteSelection();
        }
        if (!inst || inst->findInstTerm("A")->isConnected()) state.SkipWithError("the pin was not disconnected");
        CKXTransaction::BeginTrans(&other, board.design, "reconnect");
        CKXTransaction::GetCurrentTransactionObj()->addConn(big, -1, -1, inst->findInstTerm("A"), -1, -1);
        CKXTransaction::CommitTrans(&other, 1, 1);
    }
    state.counters["pins"] = static_cast<double>(state.range(0));
}

// A session of typed connects on one signal grid: state.range(1) connects (each disconnected again) made
// before, then each iteration makes kSessionBatch more, so that the first iteration's count of a long
// session against a fresh one's is the cost of a connect late in a session against an early one.
constexpr int kSessionBatch = 100;

void BM_ConnectSession(benchmark::State& state) {
    Board board(static_cast<int>(state.range(0)));
    auto editor = OpenGrid(board);
    auto viewer = OpenGrid(board);
    auto connectAndUndo = [&](benchmark::State* measured) {
        const ROWCOL row = editor->FindFirstEmptyRow();
        {
            std::unique_ptr<kxbench::Measured> m;
            if (measured) m = std::make_unique<kxbench::Measured>(*measured);
            editor->CommitCellEdit(row, static_cast<ROWCOL>(G::m_nColInstance), "SPARE", FALSE);
            editor->SetValueRange(CGXRange(row, static_cast<ROWCOL>(G::m_nColInstance)), "SPARE");
            if (!editor->CommitCellEdit(row, static_cast<ROWCOL>(G::m_nColPinNumber), "1", FALSE))
                state.SkipWithError("connect refused");
        }
        if (!editor->DisconnectRow(row, "A", FALSE)) state.SkipWithError("disconnect refused");
        editor->RestyleRow(row);
    };
    for (int64_t i = 0; i < state.range(1); ++i) connectAndUndo(nullptr);
    for (auto _ : state) {
        kxbench::Untimed untimed(state);
        for (int i = 0; i < kSessionBatch; ++i) connectAndUndo(&state);
    }
    state.counters["pins"] = static_cast<double>(state.range(0));
}

// SPARE.A connected by typing, then Delete pressed in the Instance cell of its new row; a second grid
// shows the net. Only the Delete is measured.
void BM_ConnectThenDelete(benchmark::State& state) {
    Board board(static_cast<int>(state.range(0)));
    auto editor = OpenGrid(board);
    auto viewer = OpenGrid(board);
    const ROWCOL instanceCol = static_cast<ROWCOL>(G::m_nColInstance);
    IInstTerm* spare = board.design.design()->findInstance("SPARE")->findInstTerm("A");
    for (auto _ : state) {
        kxbench::Untimed untimed(state);
        const ROWCOL row = editor->FindFirstEmptyRow();
        editor->CommitCellEdit(row, instanceCol, "SPARE", FALSE);
        editor->SetValueRange(CGXRange(row, instanceCol), "SPARE");
        if (!editor->CommitCellEdit(row, static_cast<ROWCOL>(G::m_nColPinNumber), "1", FALSE))
            state.SkipWithError("connect refused");
        editor->SetCurrentCell(row, instanceCol);
        {
            kxbench::Measured measured(state);
            editor->DeleteSelection();
        }
        if (spare->isConnected()) state.SkipWithError("the pin was not disconnected");
    }
    state.counters["pins"] = static_cast<double>(state.range(0));
}

} // namespace

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
    kxbench::FixedIterations(b);
}

BENCHMARK(BM_OpenNet)->Apply(Sizes);
BENCHMARK(BM_ConnectAndRefresh)->Apply(Sizes);
BENCHMARK(BM_DeleteRow)->Apply(Sizes);
BENCHMARK(BM_PasteConnect)->Apply(Sizes);
BENCHMARK(BM_ConnectThenDelete)->Apply(Sizes);
BENCHMARK(BM_ConnectSession)->Args({1000, 0})->Args({1000, 900})->Unit(benchmark::kMillisecond)->Apply(
    [](benchmark::internal::Benchmark* b) { kxbench::FixedIterations(b); });
