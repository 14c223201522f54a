// The SIGNAL cell of a differential pair's row on the example board: the pair net's name while both
// legs are on it, else what the legs are on; kept so through the user's edits, their undo and redo,
// changes made outside, and a fresh load of the same design.
#include "PinGridBoardFixture.h"

#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/transaction.h"
#include "pingrid/KXPinGridSignalCells.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class PairSignals : public PinGridBoard {
protected:
    void OpenExpanded() {
        OpenBoard();
        ASSERT_EQ(Run("expandPins pin on"), "1");
    }
    std::string Signal(const std::string& pin) { return CellText(PinRow(pin), G::m_nColSignal); }
    std::string Type(const std::string& pin, const std::string& text) {
        return Run("kx::edit ccp " + std::to_string(PinRow(pin)) + " " + std::to_string(G::m_nColSignal) + " {" +
                   text + "}");
    }
    CDesignContext Board() { return CDesignContext(m_app->Server(), "demo.board:sch"); }
    template <class F> void CommitElsewhere(F fill) {
        CTransaction t(Board(), "elsewhere");
        fill(t);
        ASSERT_TRUE(t.commit()) << t.lastError().GetString();
        GetKXMsgSrvr()->Broadcast(MSG_TRANSACTION_COMMITTED, 0, reinterpret_cast<LPARAM>(&t));
    }
    // What a grid loaded now shows for the pin: the refreshed rows must agree with it.
    std::string SignalAfterReload(const std::string& pin) {
        CKXInstanceDetailsGridWnd* grid = Grid();
        if (!grid) return "no grid";
        grid->ReloadInstanceRows(grid->m_designContext, std::vector<UINT>(grid->m_arrInstanceIds), TRUE);
        Run("expandPins pin on");
        return Signal(pin);
    }
};

TEST_F(PairSignals, ALegLeavingThePairNetShowsInThePairRowUntilUndone) {
    OpenExpanded();
    ASSERT_EQ(Signal("CLK"), "SYSCLK");
    ASSERT_EQ(Type("CLK_P", ""), "1");
    EXPECT_EQ(Signal("CLK"), ",SYSCLK_N");
    ASSERT_EQ(Type("CLK_P", "MCLK"), "1");
    EXPECT_EQ(Signal("CLK"), "MCLK,SYSCLK_N");
    // The cell keeps the pair row's look: control and level.
    const ROWCOL clk = PinRow("CLK");
    CGXStyle style;
    Grid()->GetStyleRowCol(clk, static_cast<ROWCOL>(G::m_nColSignal), style);
    EXPECT_EQ(style.GetControl(), IDS_CTRL_DIFFPAIR_SIGNAL);
    EXPECT_EQ(style.GetUserAttributeText(static_cast<WORD>(IDS_UA_CHILD_LEVEL)), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Signal("CLK"), ",SYSCLK_N");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Signal("CLK"), "SYSCLK");
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Signal("CLK"), ",SYSCLK_N");
    EXPECT_EQ(SignalAfterReload("CLK"), ",SYSCLK_N");
    // Both legs open: nothing, not a lone comma.
    ASSERT_EQ(Type("CLK_N", ""), "1");
    EXPECT_EQ(Signal("CLK"), "");
}

// A leg moved to the other leg's net is on a net of the pair, but not on the pair: the row shows it.
TEST_F(PairSignals, LegsOnOneNetAreNoPair) {
    OpenExpanded();
    ASSERT_EQ(Type("CLK_P", "SYSCLK_N"), "1");
    EXPECT_EQ(Signal("CLK"), "SYSCLK_N,SYSCLK_N");
    EXPECT_EQ(SignalAfterReload("CLK"), "SYSCLK_N,SYSCLK_N");
}

// A pair connection taken away leaves the legs on their nets: refreshed and reloaded rows agree.
TEST_F(PairSignals, APairWithoutItsConnectionShowsItsLegs) {
    OpenExpanded();
    ASSERT_EQ(Type("CLK", ""), "1");
    EXPECT_EQ(Signal("CLK"), "SYSCLK_P,SYSCLK_N");
    EXPECT_EQ(SignalAfterReload("CLK"), "SYSCLK_P,SYSCLK_N");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Signal("CLK"), "SYSCLK");
}

// The question before a new pair takes the place of the pin's pair net, answered No with "don't ask
// again" ticked, typed into the cell: that connect stops (2, as a cancelled dialog), and the next one of any
// road goes on unasked.
TEST_F(PairSignals, NoWithDontAskAgainTickedStopsThisConnectAndAsksNoMore) {
    OpenExpanded();
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg cancel dontAskAgain 1");
    EXPECT_EQ(Type("CLK", "NEWP (Differential Pair)"), "2");
    EXPECT_EQ(Signal("CLK"), "SYSCLK");
    EXPECT_NE(Run("addConnection pin {NEWP (Differential Pair)} CLK"), "0");
    EXPECT_EQ(Signal("CLK"), "NEWP");
    int asked = 0;
    for (const std::string& line : AnswerLog()) asked += line.find("CKXDontAskAgainYesNoDlg") != std::string::npos;
    EXPECT_EQ(asked, 1);
}

// The host highlights a leg of a folded vector pair's lane: the pair and the lane open, and the leg's
// row is the current row.
TEST_F(PairSignals, AHighlightedLegOfAFoldedLaneIsTheCurrentRowShown) {
    OpenBoard("R1");
    EXPECT_EQ(Run("kx::highlight demo.board:sch@U1.TX_P<2>"), "1");
    CKXInstanceDetailsGridWnd* grid = Grid();
    ASSERT_TRUE(grid);
    ROWCOL row = 0, col = 0;
    ASSERT_TRUE(grid->GetCurrentCell(row, col)) << Run("kx::window ccp");
    EXPECT_EQ(CellText(static_cast<int>(row), G::m_nColPinName), "TX_P<2>");
    EXPECT_FALSE(grid->IsRowHidden(row));
    EXPECT_NE(Run("kx::window ccp").find("| TX_P<2> | C3 |"), std::string::npos);
}

// The lanes of a vector pair show their own terminations after a paste onto the pair, a delete on one
// lane and its undo, as a fresh load shows them: the legs below a lane leave the lane's cell alone.
TEST_F(PairSignals, EachLaneShowsItsTerminationAfterAPasteADeleteAndAnUndo) {
    OpenExpanded();
    auto cell = [this](const std::string& pin) {
        return std::to_string(PinRow(pin)) + " " + std::to_string(G::m_nColTermination);
    };
    auto term = [this](const std::string& pin) { return CellText(PinRow(pin), G::m_nColTermination); };
    ASSERT_EQ(Run("kx::select ccp " + cell("CLK") + "; kx::key ccp Ctrl+C"), "1");
    ASSERT_EQ(Run("kx::select ccp " + cell("TX<3..0>") + "; kx::key ccp Ctrl+V"), "1");
    for (const char* lane : {"TX<3..0>", "TX<3>", "TX<2>", "TX<1>", "TX<0>"})
        EXPECT_EQ(term(lane), "Shunt") << lane;
    ASSERT_EQ(Run("kx::select ccp " + cell("TX<2>") + "; kx::key ccp Delete"), "1");
    EXPECT_EQ(term("TX<2>"), "");
    EXPECT_EQ(term("TX<3..0>"), "");
    for (const char* lane : {"TX<3>", "TX<1>", "TX<0>"})
        EXPECT_EQ(term(lane), "Shunt") << lane;
    ASSERT_EQ(Run("undo"), "1");
    for (const char* lane : {"TX<3..0>", "TX<3>", "TX<2>", "TX<1>", "TX<0>"})
        EXPECT_EQ(term(lane), "Shunt") << lane;
    EXPECT_EQ(term("TX_P<2>"), "");
}

// Each lane of the vector pair shows its bit of the pair net; a lane whose legs left it shows them,
// and so does the vector pair's row, lane after lane.
TEST_F(PairSignals, TheLanesOfAVectorPair) {
    OpenExpanded();
    EXPECT_EQ(Signal("TX<3..0>"), "LVDS<3..0>");
    EXPECT_EQ(Signal("TX<3>"), "LVDS<3>");
    EXPECT_EQ(Signal("TX<0>"), "LVDS<0>");
    // The pair pins come from the part library: the vector pair says so as its bits do.
    EXPECT_EQ(CellText(PinRow("TX<3..0>"), G::m_nColDiffPair), "Library defined");
    EXPECT_EQ(CellText(PinRow("TX<3>"), G::m_nColDiffPair), "Library defined");
    // On the pair net, but on another lane's bit.
    ASSERT_EQ(Type("TX_P<3>", "LVDS_P<2>"), "1");
    EXPECT_EQ(Signal("TX<3>"), "LVDS_P<2>,LVDS_N<3>");
    EXPECT_EQ(Signal("TX<2>"), "LVDS<2>");
    EXPECT_EQ(Signal("TX<3..0>"),
              "LVDS_P<2>,LVDS_N<3>,LVDS_P<2>,LVDS_N<2>,LVDS_P<1>,LVDS_N<1>,LVDS_P<0>,LVDS_N<0>");
    EXPECT_EQ(SignalAfterReload("TX<3>"), "LVDS_P<2>,LVDS_N<3>");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Signal("TX<3>"), "LVDS<3>");
    EXPECT_EQ(Signal("TX<3..0>"), "LVDS<3..0>");
    // With the bits of vectors shown as rows of their own, each lane is a pair row of its own.
    ASSERT_EQ(Run("setViewOption pin bus_off"), "1");
    EXPECT_EQ(Signal("TX<1>"), "LVDS<1>");
}

// A vector pair on some lanes of a wider pair net shows those lanes, not the whole pair net: in the
// grid that made the connection, over a pin that showed nothing before, and in a grid loaded afresh.
TEST_F(PairSignals, AVectorPairOnSomeLanesOfAWiderPairShowsThoseLanes) {
    OpenExpanded();
    // TX on nothing at all: the pair connection and then the legs taken off.
    ASSERT_EQ(Type("TX<3..0>", ""), "1");
    ASSERT_EQ(Run("deleteConnection pin TX"), "1");
    ASSERT_EQ(Signal("TX<3..0>"), "");
    ASSERT_EQ(Signal("TX_P<3>"), "");
    // The legs are widened to 7..0 for it.
    EXPECT_EQ(Run("addConnection pin {LVDS<7..4> (Differential Pair)} TX"), "2");
    EXPECT_EQ(Signal("TX_P<3>"), "LVDS_P<7>");
    EXPECT_EQ(Signal("TX_N<0>"), "LVDS_N<4>");
    EXPECT_EQ(Signal("TX<3>"), "LVDS<7>");
    EXPECT_EQ(Signal("TX<3..0>"), "LVDS<7..4>");
    EXPECT_EQ(SignalAfterReload("TX<3..0>"), "LVDS<7..4>");
    // Within the pair net's bits.
    EXPECT_EQ(Run("addConnection pin {LVDS<5..2> (Differential Pair)} TX"), "2");
    EXPECT_EQ(Signal("TX<3>"), "LVDS<5>");
    EXPECT_EQ(Signal("TX<0>"), "LVDS<2>");
    EXPECT_EQ(Signal("TX<3..0>"), "LVDS<5..2>");
    EXPECT_EQ(SignalAfterReload("TX<3..0>"), "LVDS<5..2>");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Signal("TX<3..0>"), "LVDS<7..4>");
    EXPECT_EQ(Signal("TX<0>"), "LVDS<4>");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Signal("TX<3..0>"), "");
    EXPECT_EQ(Signal("TX_P<3>"), "");
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Signal("TX_P<3>"), "LVDS_P<7>");
    EXPECT_EQ(Signal("TX<3..0>"), "LVDS<7..4>");
    // Another window, its grid made now, shows the same.
    OpenExpanded();
    EXPECT_EQ(Signal("TX<3..0>"), "LVDS<7..4>");
    EXPECT_EQ(Signal("TX_P<0>"), "LVDS_P<4>");
}

// A pair net renamed elsewhere: its pair's row and every lane's row take the new name; a leg's net
// renamed while the row shows its legs: the row shows the new name.
TEST_F(PairSignals, RenamesMadeElsewhere) {
    OpenExpanded();
    CommitElsewhere([&](CTransaction& t) {
        ASSERT_TRUE(t.renameDPNet(Board().design()->findDPNet("LVDS"), "TXD"));
        ASSERT_TRUE(t.renameDPNet(Board().design()->findDPNet("SYSCLK"), "REFCLK"));
    });
    EXPECT_EQ(Signal("CLK"), "REFCLK");
    EXPECT_EQ(Signal("TX<3..0>"), "TXD<3..0>");
    EXPECT_EQ(Signal("TX<2>"), "TXD<2>");
    ASSERT_EQ(Type("CLK_P", "MCLK"), "1");
    ASSERT_EQ(Signal("CLK"), "MCLK,SYSCLK_N");
    CommitElsewhere([&](CTransaction& t) { ASSERT_TRUE(t.renameNet(Board().design()->findNet("MCLK"), "MEMCLK")); });
    EXPECT_EQ(Signal("CLK_P"), "MEMCLK");
    EXPECT_EQ(Signal("CLK"), "MEMCLK,SYSCLK_N");
}

// While the user types the pair's name in other letter case into the pair row's cell, a refresh of
// the row keeps the typed text; any other typed text gives way to the name.
TEST_F(PairSignals, TheTypedLetterCaseOfThePairNameStays) {
    OpenExpanded();
    G* grid = Grid();
    const ROWCOL clk = PinRow("CLK");
    grid->SetCurrentCell(clk, static_cast<ROWCOL>(G::m_nColSignal));
    CGXControl* control = grid->GetCurrentCellControl();
    ASSERT_TRUE(control && control->OnStartEditing());
    control->SetCurrentText("SysClk");
    grid->SignalCells().FillDiffPairSignalCells(clk, 1);
    EXPECT_EQ(Signal("CLK"), "SysClk");
    control->SetCurrentText("OTHER");
    grid->SignalCells().FillDiffPairSignalCells(clk, 1);
    EXPECT_EQ(Signal("CLK"), "SYSCLK");
    Run("kx::key ccp Escape");
    // A pair row's cell never stands for one net, whatever it shows.
    ASSERT_EQ(Type("CLK_N", ""), "1");
    ASSERT_EQ(Signal("CLK"), "SYSCLK_P,");
    int msb = 0, lsb = 0;
    EXPECT_EQ(grid->GetRowNet(clk, msb, lsb), nullptr);
}

} // namespace

namespace {

// Two leg nets of two bits, EW_P<1..0> and EW_N<1..0>, without a pair net over them yet: a pair made
// over them for the four lanes of TX widens them, and only an edit that is kept does. A question or a
// bit dialog the user cancels leaves the legs and their nets as they were.
class PairLegWidths : public PinGridBoard {
protected:
    void EditDemo() override {
        ReplaceLine("board.sch.design", "net EN -1 -1 0 unknown",
                    "net EN -1 -1 0 unknown\nnet EW_N 1 0 0 unknown\nnet EW_P 1 0 0 unknown");
    }
    std::string Legs() {
        IDesign* board = m_app->Server()->findDesign("demo.board:sch");
        std::string text;
        for (const char* name : {"EW_P", "EW_N"}) {
            INet* net = board ? board->findNet(name) : nullptr;
            text += net ? std::string(name) + " " + std::to_string(net->msb()) + ".." + std::to_string(net->lsb()) + " "
                        : std::string(name) + " none ";
        }
        return text + (board && board->findDPNet("EW") ? "pair" : "no pair");
    }
    std::string Connect(const char* text) {
        return Run(std::string("addConnection pin {") + text + "} {TX<3..0>}");
    }
};

TEST_F(PairLegWidths, ACancelledConnectLeavesTheLegNetsAsTheyWere) {
    OpenBoard();
    const std::string before = Legs();
    ASSERT_EQ(before, "EW_P 1..0 EW_N 1..0 no pair");
    const int steps = Ccp()->GetUndoStepCount();
    // The question whether TX leaves its pair net LVDS, cancelled: the connect stopped at it.
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg cancel");
    EXPECT_EQ(Connect("EW<3..0> (Differential Pair)"), "2");
    EXPECT_EQ(Legs(), before);
    // The bit dialog of a pair name without bits, cancelled.
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    Run("kx::answer dialog CKXGetVectorBits cancel");
    EXPECT_EQ(Connect("EW (Differential Pair)"), "2");
    EXPECT_EQ(Legs(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    // Kept, the legs are widened for the lanes (the question answered, the work done: 1); undo takes the widening
    // back with the connect.
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    EXPECT_EQ(Connect("EW<3..0> (Differential Pair)"), "1");
    EXPECT_EQ(Legs(), "EW_P 3..0 EW_N 3..0 pair");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Legs(), before);
}

} // namespace
