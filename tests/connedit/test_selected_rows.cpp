// What the pane's commands do with pin rows chosen by their keys or added to the selection: Delete on
// rows selected without a current cell, side by side too; a model on a vector row among others; each is
// one undo step whose journal replays.
#include "ConnEditFixture.h"

#include "shell/KXTableDoc.h"

namespace {

using SelectedRows = ConnEditFixture;
using G = CKXInstanceDetailsGridWnd;

TEST_F(SelectedRows, DeleteOnRowsSelectedByKeyDisconnectsThemInEveryShownGrid) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    const std::string original = Saved();
    Run("kx::show clp R1 R2");
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u);
    Run("selectWindow ccp");
    EXPECT_EQ(Run("kx::word selectObject pin B:2"), "1");
    const int steps = Steps();
    EXPECT_EQ(Run("kx::menu 35264"), "1");
    EXPECT_EQ(Conn("R1 B"), "");
    EXPECT_EQ(Conn("R2 B"), "");
    EXPECT_EQ(Conn("R1 A"), "VCC3V3"); // the rows not selected keep theirs
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    const std::string deleted = Saved();
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Conn("R1 B"), "EN");
    EXPECT_EQ(Conn("R2 B"), "PG");
    ASSERT_EQ(Run("redo"), "1");
    EXPECT_EQ(Replayed(original), deleted);
}

constexpr const char* kAddressRow = "[list U1 A<12..0> B1,B2,B3,B4,B5,B6,B7,B8,B9,B10,B11,B12,B13]";

// A vector row takes no part in the check that the pins share a direction, and its model goes on its
// whole pin, not on each bit.
TEST_F(SelectedRows, AModelOnAVectorRowGoesOnItsWholePin) {
    OpenBoard();
    const std::string original = Saved();
    EXPECT_EQ(Run(std::string("assignModel pin M1 [list U1 PGOOD C10] ") + kAddressRow), "1");
    EXPECT_EQ(Messages(), std::vector<std::string>{});
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.A PIN_SIGNAL_MODEL"), "M1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.PGOOD PIN_SIGNAL_MODEL"), "M1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.A<3> PIN_SIGNAL_MODEL").rfind("error:", 0), 0u);
    const std::string assigned = Saved();
    // Scalar pins of different directions are still refused.
    EXPECT_EQ(Run("assignModel pin M2 [list U1 MCLK B14] [list U1 PGOOD C10]"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-127"});
    EXPECT_TRUE(Saved() == assigned);
    EXPECT_TRUE(Replayed(original) == assigned);
}

// The pull-up menu edits (or views) a pull-up only for one selected row, and sees one its net bit has
// through an alias; Add Termination is offered on connected pins only.
TEST_F(SelectedRows, ThePullupMenuEditsTheOneSelectedRowsPullupAndTerminationsNeedAConnection) {
    OpenBoard("RN1A");
    Run("kx::select ccp 6 4"); // A: a pull-up only through its alias
    EXPECT_EQ(Run("kx::menustate 35509"), "enabled \"Edit Pullup/Pulldown...\"");
    Run("kx::show clp U1");
    const std::string rst = std::to_string(PinRow("RST_N")), pgood = std::to_string(PinRow("PGOOD"));
    Run("kx::select ccp " + rst + " 4");
    EXPECT_EQ(Run("kx::menustate 35509"), "enabled \"Edit Pullup/Pulldown...\"");
    Run("kx::select ccp " + pgood + " 4 " + rst + " 4");
    EXPECT_EQ(Run("kx::menustate 35509"), "enabled \"Add Pullup/Pulldown...\"");
    EXPECT_EQ(Run("kx::menustate 35522"), "enabled \"Add Termination\"");
    ASSERT_EQ(TypeSignal("PGOOD", ""), "1");
    Run("kx::select ccp " + pgood + " 4");
    EXPECT_EQ(Run("kx::menustate 35522"), "disabled \"Add Termination\"");
}

TEST_F(SelectedRows, ViewPullupNeedsOneSelectedRow) {
    OpenBoard("U1", 2);
    const std::string rst = std::to_string(PinRow("RST_N")), pgood = std::to_string(PinRow("PGOOD"));
    Run("kx::select ccp " + rst + " 4");
    EXPECT_EQ(Run("kx::menustate 35509"), "enabled \"View Pullup/Pulldown...\"");
    Run("kx::select ccp " + pgood + " 4 " + rst + " 4");
    EXPECT_EQ(Run("kx::menustate 35509"), "disabled \"View Pullup/Pulldown...\"");
}

// The automation pull-up over several pins says why it refuses pins of both directions and a pin
// that is terminated already; nothing changes.
TEST_F(SelectedRows, TheAutomationPullupSaysWhyItRefusesSeveralPins) {
    OpenBoard();
    const std::string mclk = std::to_string(PinRow("MCLK")), pgood = std::to_string(PinRow("PGOOD"));
    const std::string rst = std::to_string(PinRow("RST_N")), pupd = std::to_string(G::m_nColPupd);
    const std::string original = Saved();
    Run("kx::select ccp " + mclk + " " + pupd + " " + pgood + " " + pupd); // Output and Input
    Messages();
    Run("kx::pane InitPUPD pullup");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-103"});
    EXPECT_TRUE(Saved() == original);
    Run("selectObject pin PGOOD");
    ASSERT_EQ(Run(kSeries22), "1");
    const std::string terminated = Saved();
    Run("kx::select ccp " + pgood + " " + pupd + " " + rst + " " + pupd); // both Input, PGOOD terminated
    Messages();
    Run("kx::pane InitPUPD pullup");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-114"});
    EXPECT_TRUE(Saved() == terminated);
}

} // namespace
