// Physical grid costs at FPGA scale: opening a part of 1,000 or 10,000 package pins, swapping two
// of its pins (the edit, its commit and the refresh of the rows it touched), and one model edit in
// the physical net grid of one of its nets. Under callgrind (`bench/count.py`) only the measured
// part of an iteration is instrumented.
#include "physgrids/KXPhysNetDetailsGridWnd.h"
#include "physgrids/KXPhysPartDetailsGridWnd.h"

#include "afx/afxreg.h"
#include "kxcommon/KXShareGlobalData.h"
#include "rmx/DesignBuilder.h"
#include "rmx/packaging.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include "BenchMeasure.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

using G = CKXPhysPartDetailsGridWnd;
using N = CKXPhysNetDetailsGridWnd;

using kxbench::Measured;
using kxbench::Untimed;

// A board with one packaged FPGA U1: a bus D of `pins` bits, each bit on its own package pin (eight
// banks, all pins in one swap group) and on its own net.
struct Board {
    IServer server;
    CDesignContext design;
    explicit Board(int pins) {
        AfxSetRegistryDirectory("");
        CKXShareGlobalData::m_pServer = &server;
        rmx::DesignBuilder b(&server, "work");
        b.symbol("fpga").bus("D", pins - 1, 0);
        for (int i = 0; i < pins; ++i)
            b.packagePin(std::to_string(i + 1), "D<" + std::to_string(i) + ">", "BANK" + std::to_string(i % 8),
                         ITerm::eTermInout, 1);
        b.schematic("board").instance("U1", "fpga", "U1").connect("U1", "D<" + std::to_string(pins - 1) + "..0>",
                                                                  "DATA<" + std::to_string(pins - 1) + "..0>");
        design = b.context();
        CTransaction t(design, "pin numbers");
        const CInstTermContext bus = design.instance("U1").instTerm("D");
        for (int i = 0; i < pins; ++i)
            t.addProperty(bus.bitContext(i), "PN", std::to_string(i + 1).c_str(), 0, false);
        t.commit();
    }
};

std::unique_ptr<G> OpenPart(Board& board) {
    auto grid = std::make_unique<G>();
    grid->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 1200, 800), nullptr, 100);
    grid->InitializeGrid(nullptr, board.design);
    std::unique_ptr<IPhysPartInst> part(getPhysPartInst(&board.design, "U1"));
    grid->PopulatePhysPart(board.design, part.get(), "", TRUE);
    return grid;
}

void BM_OpenPhysicalPart(benchmark::State& state) {
    Board board(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Untimed untimed(state);
        std::unique_ptr<G> grid;
        {
            Measured measured(state);
            grid = OpenPart(board);
        }
        benchmark::DoNotOptimize(grid->GetRowCount());
    }
    state.counters["pins"] = static_cast<double>(state.range(0));
}

// Pins 1 and 2 exchange their numbers; the next iteration exchanges them back.
void BM_SwapTwoPins(benchmark::State& state) {
    setenv("KX_ALLOW_SWAP_PINS", "1", 1);
    Board board(static_cast<int>(state.range(0)));
    auto grid = OpenPart(board);
    // The commit notification reaches the grid as the message server would deliver it.
    G* shown = grid.get();
    board.server.addCommitListener(
        [shown](CTransaction* t) { shown->OnTransactionCommitted(0, reinterpret_cast<LPARAM>(t)); });
    auto swap = [&] {
        const ROWCOL row = grid->FindPinRow("U1", "1");
        grid->SetCurrentCell(row, static_cast<ROWCOL>(G::s_nPNCol));
        return grid->SwapPins(TRUE, "2");
    };
    for (auto _ : state) {
        Untimed untimed(state);
        Measured measured(state);
        if (!swap()) state.SkipWithError("swap refused");
    }
    // After an odd number of swaps pin 1 carries D<1>: the rows followed every commit.
    const CString shownOnPin1 = grid->GetValueRowCol(grid->FindPinRow("U1", "1"), static_cast<ROWCOL>(G::s_nPinNameCol));
    if (shownOnPin1 != (state.iterations() % 2 ? "D<1>" : "D<0>")) state.SkipWithError("rows not refreshed");
    CKXShareGlobalData::m_pServer = nullptr;
    state.counters["pins"] = static_cast<double>(state.range(0));
}

// The physical net of D<0> shown in a net grid; its pin's model set to one of two models in turn.
void BM_PhysNetModelEdit(benchmark::State& state) {
    Board board(static_cast<int>(state.range(0)));
    auto part = OpenPart(board); // a part grid stays open beside it, as in the pane
    auto grid = std::make_unique<N>();
    grid->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 1200, 800), nullptr, 101);
    grid->InitializeGrid(nullptr, board.design);
    std::unique_ptr<IPhysNet> net(getPhysNet(&board.design, "DATA<0>"));
    if (!net) {
        state.SkipWithError("no physical net DATA<0>");
        return;
    }
    grid->PopulatePhysNet(board.design, net.get(), "");
    G* shownPart = part.get();
    board.server.addCommitListener(
        [shownPart](CTransaction* t) { shownPart->OnTransactionCommitted(0, reinterpret_cast<LPARAM>(t)); });
    CStringArray keys;
    keys.Add("D<0>:1");
    grid->SelectRowsByKey(&keys, "");
    int edits = 0;
    auto edit = [&] { grid->AssignModel(1, ++edits % 2 ? "MODEL_A" : "MODEL_B"); };
    for (auto _ : state) {
        Untimed untimed(state);
        Measured measured(state);
        edit();
    }
    CKXShareGlobalData::m_pServer = nullptr;
    state.counters["pins"] = static_cast<double>(state.range(0));
}

} // namespace

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
    kxbench::FixedIterations(b);
}

BENCHMARK(BM_OpenPhysicalPart)->Apply(Sizes);
BENCHMARK(BM_SwapTwoPins)->Apply(Sizes);
BENCHMARK(BM_PhysNetModelEdit)->Apply(Sizes);
