// Typing into a pin row's SIGNAL cell, as a user does at the host (kx::edit): each
// kind of text connects, disconnects or is refused as one edit, undone and redone
// as one step, echoed, journalled, and replayed by the journal to the same design.
#include "ConnEditFixture.h"
#include "KXGridCellProcs.h"

#include "shell/KXTableDoc.h"

namespace {

class CellTyping : public ConnEditFixture {
protected:
    // "ROW COL" of the active grid's cell in the first data row showing the text and the column of
    // the caption, as kx::window names them (the host's kxcell); "" when there is none.
    std::string SignalGridCell(const std::string& text, const std::string& caption) {
        Run(kCellProc);
        const std::string cell = Run("kxcell {" + text + "} {" + caption + "}");
        std::istringstream in(cell);
        std::string row, col;
        return in >> row >> col && row != "0" && col != "0" ? cell : std::string();
    }
    bool Echoed(const std::string& start) {
        for (const std::string& e : Echoes())
            if (e.rfind(start, 0) == 0) return true;
        return false;
    }
};

TEST_F(CellTyping, ANewNameConnectsThePinAsOneUndoableStep) {
    OpenBoard();
    const std::string before = Saved();
    const int steps = Steps();
    EXPECT_EQ(TypeSignal("PGOOD", "NEWSIG"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "NEWSIG");
    EXPECT_EQ(SignalCell("PGOOD"), "NEWSIG");
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_TRUE(Echoed("addConnection pin NEWSIG"));
    EXPECT_NE(JournalText().find("SelectSignalCol(\"PGOOD\",\"C10\")\n\n ' --- Add Connection ---\n"
                                 "call board.ConnectivityPane().AddConnection(\"NEWSIG\")"),
              std::string::npos)
        << JournalText();
    const std::string edited = Saved();
    Run("undo");
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(SignalCell("PGOOD"), "PG");
    Run("redo");
    EXPECT_EQ(Saved(), edited);
    EXPECT_EQ(SignalCell("PGOOD"), "NEWSIG");
}

TEST_F(CellTyping, TheSameSignalInOtherCaseChangesNothing) {
    OpenBoard();
    const std::string before = Saved();
    const std::string journal = JournalText();
    const int steps = Steps();
    EXPECT_EQ(TypeSignal("PGOOD", "pg"), "0"); // no edit, and the typing says so
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(SignalCell("PGOOD"), "PG");
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(CellTyping, ClearingTheCellDisconnectsThePin) {
    OpenBoard();
    const std::string before = Saved();
    const int steps = Steps();
    EXPECT_EQ(TypeSignal("PGOOD", ""), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "");
    EXPECT_EQ(SignalCell("PGOOD"), "");
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_TRUE(Echoed("deleteConnection"));
    EXPECT_NE(JournalText().find("' --- Delete ---\ncall board.ConnectivityPane().Delete()"), std::string::npos);
    Run("undo");
    EXPECT_EQ(Saved(), before);
    Run("redo");
    EXPECT_EQ(Conn("U1 PGOOD"), "");
    // An open pin's empty cell cleared again: nothing to do, no step, and the edit says so.
    const int after = Steps();
    EXPECT_EQ(TypeSignal("PGOOD", ""), "0");
    EXPECT_EQ(Steps(), after);
}

TEST_F(CellTyping, BracketsOfATypedBusNameFollowTheDesignsStyle) {
    EXPECT_EQ(CKXInstanceDetailsGridWnd::NormaliseBusBrackets("DQ[3]"), "DQ<3>");
    EXPECT_EQ(CKXInstanceDetailsGridWnd::NormaliseBusBrackets("DQ(7..4)"), "DQ<7..4>");
    EXPECT_EQ(CKXInstanceDetailsGridWnd::NormaliseBusBrackets("DQ<3>"), "DQ<3>");
    EXPECT_EQ(CKXInstanceDetailsGridWnd::NormaliseBusBrackets("PLAIN"), "PLAIN");
    // A naming rule's parentheses hold its argument: they stay.
    EXPECT_EQ(CKXInstanceDetailsGridWnd::NormaliseBusBrackets("=PREFIXPINNAME(q_)"), "=PREFIXPINNAME(q_)");

    OpenBoard();
    const std::string before = Saved();
    EXPECT_EQ(TypeSignal("MCLK", "DQ[3]"), "1");
    EXPECT_EQ(Conn("U1 MCLK"), "DQ<3>");
    EXPECT_EQ(TypeSignal("PGOOD", "=PREFIXPINNAME(q_)"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "q_PGOOD");
    Run("undo");
    Run("undo");
    EXPECT_EQ(Saved(), before);
}

TEST_F(CellTyping, APairNameTypedIntoAPairRowKeepsItsMarkerAndConnectsThePair) {
    // Only the name takes the design's brackets; the marker's parentheses stay.
    EXPECT_EQ(CKXInstanceDetailsGridWnd::NormaliseBusBrackets("FCLK (Differential Pair)"), "FCLK (Differential Pair)");
    EXPECT_EQ(CKXInstanceDetailsGridWnd::NormaliseBusBrackets("LVDS[2] (Differential Pair)"),
              "LVDS<2> (Differential Pair)");
    EXPECT_EQ(CKXInstanceDetailsGridWnd::NormaliseBusBrackets("LVDS<2> (Differential Pair)"),
              "LVDS<2> (Differential Pair)");

    OpenBoard();
    const std::string before = Saved();
    const int steps = Steps();
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    Messages();
    EXPECT_EQ(TypeSignal("CLK", "FCLK (Differential Pair)"), "1") << ::testing::PrintToString(Messages());
    const std::string typed = Saved();
    EXPECT_NE(typed.find("dpconn FCLK -1 -1 U1 CLK"), std::string::npos) << typed;
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_NE(JournalText().find("AddConnection(\"FCLK (Differential Pair)\")"), std::string::npos) << JournalText();
    EXPECT_TRUE(Replayed(before) == typed) << JournalText();
    Run("undo");
    EXPECT_TRUE(Saved() == before);
    // A bit of a vector pair net, typed in the other bracket style.
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    EXPECT_EQ(TypeSignal("CLK", "LVDS[2] (Differential Pair)"), "1") << ::testing::PrintToString(Messages());
    EXPECT_NE(Saved().find("dpconn LVDS 2 2 U1 CLK -1 -1"), std::string::npos) << Saved();
}

TEST_F(CellTyping, ARefusedTextKeepsTheCellAndChangesNothing) {
    OpenBoard();
    const std::string before = Saved();
    const std::string journal = JournalText();
    const int steps = Steps();
    Messages();
    EXPECT_EQ(TypeSignal("PGOOD", "bad name!"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-112"});
    EXPECT_EQ(SignalCell("PGOOD"), "PG");
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_FALSE(Doc()->IsModified());
    // The refused edit left nothing open: the next typing goes through.
    EXPECT_EQ(TypeSignal("PGOOD", "GOOD2"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "GOOD2");
}

TEST_F(CellTyping, TypedEditsReplayFromTheJournalInAFreshWindow) {
    OpenBoard();
    const std::string original = Saved();
    ASSERT_EQ(TypeSignal("PGOOD", "NEWSIG"), "1");
    ASSERT_EQ(TypeSignal("MCLK", "DQ[3]"), "1");
    ASSERT_EQ(TypeSignal("RST_N", ""), "1");
    ASSERT_EQ(TypeSignal("PGOOD", "pg"), "1"); // a new change again: PG from NEWSIG
    const std::string edited = Saved();
    ASSERT_NE(edited, original);
    EXPECT_EQ(Replayed(original), edited);
}

// A pin typed into the Pin Name cell of a signal grid's row that shows another pin takes that row:
// the row's pin leaves the signal, the typed one (a block's pin, which has no number) comes onto it
// from its own signal, in one step; the journal takes the row's pin off first and names the block's
// pin by its name, so the replay gives the same design.
TEST_F(CellTyping, APinTypedOverAnotherInTheSignalGridReplays) {
    OpenBoard();
    const std::string original = Saved();
    ASSERT_EQ(Conn("PWR1 EN"), "EN");
    ASSERT_EQ(Run("kx::show slp EN"), "1");
    const std::string cell = SignalGridCell("PWR1", "Pin Name");
    ASSERT_NE(cell, "") << Run("kx::window ccp");
    const int steps = Steps();
    Run("kx::answer question KXTABLE-140 yes");
    ASSERT_EQ(Run("kx::edit ccp " + cell + " PGOOD"), "1");
    EXPECT_EQ(Conn("PWR1 PGOOD"), "EN");
    EXPECT_EQ(Conn("PWR1 EN"), "");
    EXPECT_EQ(Steps(), steps + 1);
    const std::string edited = Saved();
    Run("undo");
    EXPECT_EQ(Saved(), original);
    Run("redo");
    EXPECT_EQ(Saved(), edited);
    EXPECT_EQ(Replayed(original), edited);
}

} // namespace

namespace {

using Drops = ConnEditFixture;

// A signal dragged from the signal list onto a pin row connects that pin.
TEST_F(Drops, ASignalDroppedOnAPinRowConnectsIt) {
    OpenBoard();
    const std::string before = Saved();
    const int row = PinRow("PGOOD");
    ASSERT_GT(row, 0);
    const std::string at = std::to_string(row) + " " + std::to_string(CKXInstanceDetailsGridWnd::m_nColSignal);
    EXPECT_EQ(Run("kx::drop ccp " + at + " signal MCLK"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "MCLK");
    EXPECT_NE(JournalText().find("SelectSignalCol(\"PGOOD\",\"C10\")\n\n ' --- Add Connection ---\n"
                                 "call board.ConnectivityPane().AddConnection(\"MCLK\")"),
              std::string::npos);
    Run("undo");
    EXPECT_EQ(Saved(), before);
    // A pair signal is refused on a row that is no pair row.
    EXPECT_EQ(Run("kx::drop ccp " + at + " signal {SYSCLK (Differential Pair)}"), "0");
    EXPECT_EQ(Saved(), before);
}

} // namespace
