// Physical part grid costs at FPGA scale: opening a part of 2,000 package pins, and swapping two
// of its pins (the edit, its commit and the refresh of the rows it touched).
#include "physgrids/KXPhysPartDetailsGridWnd.h"

#include "afx/afxreg.h"
#include "kxcommon/KXShareGlobalData.h"
#include "rmx/DesignBuilder.h"
#include "rmx/packaging.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

using G = CKXPhysPartDetailsGridWnd;

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
        auto grid = OpenPart(board);
        benchmark::DoNotOptimize(grid->GetRowCount());
        state.PauseTiming();
        grid.reset();
        state.ResumeTiming();
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
    for (auto _ : state) {
        const ROWCOL row = grid->FindPinRow("U1", "1");
        grid->SetCurrentCell(row, static_cast<ROWCOL>(G::s_nPNCol));
        if (!grid->SwapPins(TRUE, "2")) state.SkipWithError("swap refused");
    }
    // After an odd number of swaps pin 1 carries D<1>: the rows followed every commit.
    const CString shownOnPin1 = grid->GetValueRowCol(grid->FindPinRow("U1", "1"), static_cast<ROWCOL>(G::s_nPinNameCol));
    if (shownOnPin1 != (state.iterations() % 2 ? "D<1>" : "D<0>")) state.SkipWithError("rows not refreshed");
    CKXShareGlobalData::m_pServer = nullptr;
    state.counters["pins"] = static_cast<double>(state.range(0));
}

} // namespace

BENCHMARK(BM_OpenPhysicalPart)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwapTwoPins)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);
