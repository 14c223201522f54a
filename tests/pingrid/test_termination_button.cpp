// The button of the pin grid's Termination cell on the example board: a click on it opens the
// termination dialog for its row, as a double-click does; the chosen termination is one undo step
// with a journal that replays; a cancelled dialog, an open pin or a block's pin changes nothing.
#include "../connedit/ConnEditFixture.h"

#include "grid/KXGridIds.h"
#include "kxinstsigpane/KXTransaction.h"
#include "shell/KXTableDoc.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class TerminationButton : public ConnEditFixture {
protected:
    std::string Cell(const std::string& pin) { return std::to_string(PinRow(pin)) + " " + std::to_string(G::m_nColTermination); }
    std::string ClickButton(const std::string& pin) { return Run("kx::click ccp " + Cell(pin) + " button"); }
    std::string Term(const std::string& pin) {
        return Grid()->GetValueRowCol(static_cast<ROWCOL>(PinRow(pin)), static_cast<ROWCOL>(G::m_nColTermination))
            .GetString();
    }
    UINT Control(const std::string& pin) {
        CGXStyle style;
        Grid()->GetStyleRowCol(static_cast<ROWCOL>(PinRow(pin)), static_cast<ROWCOL>(G::m_nColTermination), style);
        return style.GetControl();
    }
    static constexpr const char* kSeries = "kx::answer dialog CKXTerminationDlg ok type Series";

    // With the dialog answered, the road (the button of MCLK's Termination cell or menu 35522 on MCLK)
    // changes RT2 in place: name, VALUE and the part's designator (none) kept, one step, undo, replay.
    void ExpectChangedInPlace(const std::string& road) {
        const std::string original = Saved();
        ASSERT_NE(original.find("prop @$RT2 VALUE \"22\" 0"), std::string::npos);
        const int steps = Ccp()->GetUndoStepCount();
        ASSERT_EQ(road == "button" ? ClickButton("MCLK") : Run("kx::menu 35522"), "1")
            << ::testing::PrintToString(Messages());
        const std::string edited = Saved();
        EXPECT_NE(edited.find("dt RT2 1 Series @U1.MCLK"), std::string::npos) << edited;
        EXPECT_NE(edited.find("prop @$RT2 VALUE \"22\" 0"), std::string::npos);
        EXPECT_NE(edited.find("prop @$RT2 SLOT0.VALUE \"47\" 0"), std::string::npos);
        EXPECT_EQ(edited.find("REFDES"), std::string::npos);
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
        const std::string journal = JournalText();
        EXPECT_EQ(journal.find(".Delete()"), std::string::npos) << journal;
        EXPECT_NE(journal.find("EditTermination(\"-id RT2 -part1 -value 47\")"), std::string::npos) << journal;
        ASSERT_EQ(Run("undo"), "1");
        EXPECT_EQ(Saved(), original);
        ASSERT_EQ(Run("redo"), "1");
        EXPECT_EQ(Saved(), edited);
        EXPECT_EQ(Replayed(original), edited);
    }
};

TEST_F(TerminationButton, AConnectedPinsCellCarriesTheButton) {
    OpenBoard();
    ASSERT_GT(PinRow("PGOOD"), 0);
    EXPECT_EQ(Control("PGOOD"), IDS_CTRL_TERMINATION_BUTTON);
    EXPECT_EQ(Control("MCLK"), IDS_CTRL_TERMINATION_BUTTON); // a terminated pin edits its termination there
}

TEST_F(TerminationButton, AClickOnTheButtonAddsTheChosenTerminationInOneStep) {
    OpenBoard();
    const std::string before = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Term("PGOOD"), "");
    Run(kSeries);
    ASSERT_EQ(ClickButton("PGOOD"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Term("PGOOD"), "Series");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_TRUE(Doc()->IsModified());
    const std::string journal = JournalText();
    EXPECT_NE(journal.find("SelectTerminationCol(\"PGOOD\""), std::string::npos) << journal;
    EXPECT_NE(journal.find(".ConnectivityPane().AddTermination()"), std::string::npos) << journal;
    EXPECT_NE(Saved(), before);
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Term("PGOOD"), "");
}

TEST_F(TerminationButton, TheButtonsJournalReplaysToTheSameDesign) {
    OpenBoard();
    const std::string original = Saved();
    Run(kSeries);
    ASSERT_EQ(ClickButton("PGOOD"), "1");
    const std::string added = Saved();
    ASSERT_NE(added, original);
    EXPECT_EQ(Replayed(original), added);
}

// MCLK is terminated on the example board: the dialog's choice takes the place of its termination, in
// one step, and the journal deletes the old one before the add, so that the replay gives the same design.
TEST_F(TerminationButton, TheButtonOnATerminatedPinReplacesItsTerminationAndReplays) {
    OpenBoard();
    const std::string original = Saved();
    ASSERT_EQ(Term("MCLK"), "Series");
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::answer dialog CKXTerminationDlg ok type Shunt value0 47");
    ASSERT_EQ(ClickButton("MCLK"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Term("MCLK"), "Shunt");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    const std::string replaced = Saved();
    // One undo gives the Series termination back, one redo the Shunt.
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Term("MCLK"), "Series");
    EXPECT_EQ(Saved(), original);
    ASSERT_EQ(Run("redo"), "1");
    EXPECT_EQ(Term("MCLK"), "Shunt");
    EXPECT_EQ(Saved(), replaced);
    EXPECT_EQ(Replayed(original), replaced);
}

// RT2 (Series on MCLK, its own VALUE "22", a part without designator) answered with its own type and
// one part's value changed: that termination changes in place, keeping its name, its other properties
// and its part's designator (none), in one step that undo takes back and the journal replays.
TEST_F(TerminationButton, TheButtonChangesATerminationInPlace) {
    OpenBoard();
    Run("kx::answer dialog CKXTerminationDlg ok value0 47");
    ExpectChangedInPlace("button");
}

TEST_F(TerminationButton, TheMenuChangesATerminationInPlace) {
    OpenBoard();
    Run("selectObject pin MCLK");
    Run("kx::answer dialog CKXTerminationDlg ok value0 47");
    ExpectChangedInPlace("menu");
}

// The word the dialog's change is journalled as: a part's look changes that part alone; a part the
// termination lacks is refused with nothing changed.
TEST_F(TerminationButton, EditTerminationChangesTheNamedPartOnly) {
    OpenBoard();
    Run("selectObject pin MCLK");
    const std::string before = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("editTermination pin -id RT2 -part2 -value 1"), "0");
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    ASSERT_EQ(Run("editTermination pin -id RT2 -part1 -physname R0603"), "1") << ::testing::PrintToString(Messages());
    const std::string after = Saved();
    EXPECT_NE(after.find("prop @$RT2 SLOT0.PHYSNAME \"R0603\" 0"), std::string::npos) << after;
    EXPECT_NE(after.find("prop @$RT2 SLOT0.VALUE \"22\" 0"), std::string::npos);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Replayed(before), after);
}

TEST_F(TerminationButton, ACancelledDialogChangesNothing) {
    OpenBoard();
    const std::string before = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::answer dialog CKXTerminationDlg cancel");
    EXPECT_EQ(ClickButton("PGOOD"), "1");
    EXPECT_EQ(Term("PGOOD"), "");
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

TEST_F(TerminationButton, AReadOnlyWindowOpensNoDialog) {
    OpenBoard("U1", 2);
    const std::string before = Saved();
    Run(kSeries);
    EXPECT_EQ(ClickButton("PGOOD"), "1");
    EXPECT_EQ(Term("PGOOD"), "");
    EXPECT_EQ(Saved(), before);
    for (const std::string& line : AnswerLog()) EXPECT_EQ(line.find("CKXTerminationDlg"), std::string::npos) << line;
}

} // namespace

