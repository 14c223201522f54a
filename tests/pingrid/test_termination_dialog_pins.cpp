// The termination dialog opened over several pin bits or pair pins at once (a bus row, a vector pair's
// lanes, several pair rows) on the example board: an answer that keeps the type of the termination it
// shows changes every pin's termination in place (names, designators and what the user left alone stay)
// in one step that undo takes back and the journal replays; an answer that changes nothing, or a
// selection whose pins cannot all take the change in place, is refused and leaves the design as it was.
#include "../connedit/ConnEditFixture.h"


namespace {

using G = CKXInstanceDetailsGridWnd;

class TerminationDialogPins : public ConnEditFixture {
protected:
    std::string Cell(const std::string& pin) {
        return std::to_string(PinRow(pin)) + " " + std::to_string(G::m_nColTermination);
    }
    // The four lanes of U1's vector pair TX terminated by the word: TERM1..TERM4, parts R3..R6.
    void TerminateTxLanes() {
        ASSERT_EQ(Run("selectObject pin TX"), "1");
        ASSERT_EQ(Run("addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname "
                      "R0603 -value 33"),
                  "1");
        Messages();
    }
    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }
    // Runs a road that must refuse with the message and checks that nothing changed.
    void ExpectRefused(const std::string& road, const std::string& answer, const std::string& message) {
        const std::string before = Saved();
        const int steps = Ccp()->GetUndoStepCount();
        const std::string journal = JournalText();
        EXPECT_EQ(Run(road), answer) << road;
        EXPECT_EQ(Messages(), std::vector<std::string>{message}) << road;
        EXPECT_EQ(Saved(), before) << road;
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps) << road;
        EXPECT_EQ(JournalText(), journal) << road;
    }
};

// TX<3..0>'s four lanes, each its own Series termination with its own part designator, answered with a
// new value alone: the four change in place, keeping names, designators and physical names.
TEST_F(TerminationDialogPins, APairRowsLanesChangeInPlaceEach) {
    OpenBoard();
    TerminateTxLanes();
    const std::string original = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Run("kx::select ccp " + Cell("TX<3..0>")), "1");
    Run("kx::answer dialog CKXTerminationDlg ok value0 47");
    ASSERT_EQ(Run("kx::menu 35522"), "1") << ::testing::PrintToString(Messages());
    const std::string edited = Saved();
    for (int lane = 0; lane < 4; ++lane) {
        const std::string name = "TERM" + std::to_string(lane + 1);
        EXPECT_NE(edited.find("dt " + name + " 1 Series @U1%TX<" + std::to_string(3 - lane) + ">"), std::string::npos)
            << edited;
        EXPECT_NE(edited.find("prop @$" + name + " SLOT0.VALUE \"47\""), std::string::npos) << name;
        EXPECT_NE(edited.find("prop @$" + name + " SLOT0.REFDES \"R" + std::to_string(lane + 3) + "\""),
                  std::string::npos)
            << name;
        EXPECT_NE(edited.find("prop @$" + name + " SLOT0.PHYSNAME \"R0603\""), std::string::npos) << name;
    }
    EXPECT_EQ(Count(edited, "\ndt "), Count(original, "\ndt "));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    const std::string journal = JournalText();
    EXPECT_NE(journal.find("EditTermination(\"-id TERM1 -id TERM2 -id TERM3 -id TERM4 -part1 -value 47\")"),
              std::string::npos)
        << journal;
    EXPECT_EQ(journal.find(".Delete()"), std::string::npos) << journal;
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Saved(), original);
    ASSERT_EQ(Run("redo"), "1");
    EXPECT_EQ(Saved(), edited);
    EXPECT_EQ(Replayed(original), edited);
}

// A double-click on the Termination cell and the editTermination word without operands (the dialog: 2)
// do the same; a further answer with the values the lanes have changes nothing: 0, KXTABLE-267, no step.
TEST_F(TerminationDialogPins, TheClickAndTheWordChangeEveryLaneAndASameAnswerNone) {
    OpenBoard();
    TerminateTxLanes();
    Run("kx::answer dialog CKXTerminationDlg ok value0 47");
    ASSERT_EQ(Run("kx::click ccp " + Cell("TX<3..0>") + " double"), "1");
    EXPECT_EQ(Count(Saved(), " SLOT0.VALUE \"47\""), 4);
    Run("kx::answer dialog CKXTerminationDlg ok value0 56 physname0 R0805");
    EXPECT_EQ(Run("editTermination pin"), "2");
    const std::string edited = Saved();
    EXPECT_EQ(Count(edited, " SLOT0.VALUE \"56\""), 4);
    EXPECT_EQ(Count(edited, " SLOT0.PHYSNAME \"R0805\""), 4);
    Run("kx::answer dialog CKXTerminationDlg ok type Series value0 56");
    ExpectRefused("kx::menu 35522", "0", "KXTABLE-267");
}

// Every bit of the bus DQ<15..0> terminated (DQ<1..0> on the board, the others by a paste of DQ<0>'s):
// the dialog on the bus row changes the sixteen in place, the board's RT3 and RT4 among them.
TEST_F(TerminationDialogPins, ABusRowOfTerminatedBitsChangesEachBit) {
    OpenBoard();
    ASSERT_EQ(Run("expandPins pin on"), "1");
    ASSERT_EQ(Run("kx::select ccp " + Cell("DQ<0>")), "1");
    ASSERT_EQ(Run("kx::key ccp C ctrl"), "1");
    ASSERT_EQ(Run("kx::select ccp " + Cell("DQ<15..0>")), "1");
    Run("paste pin");
    Run("expandPins pin off");
    Messages();
    const std::string original = Saved();
    ASSERT_EQ(Count(original, "1 Series @U1.DQ<"), 16);
    ASSERT_EQ(Run("kx::select ccp " + Cell("DQ<15..0>")), "1");
    Run("kx::answer dialog CKXTerminationDlg ok value0 47");
    ASSERT_EQ(Run("kx::menu 35522"), "1") << ::testing::PrintToString(Messages());
    const std::string edited = Saved();
    EXPECT_EQ(Count(edited, "1 Series @U1.DQ<"), 16);
    EXPECT_NE(edited.find("dt RT3 1 Series @U1.DQ<0>"), std::string::npos);
    EXPECT_NE(edited.find("dt RT4 1 Series @U1.DQ<1>"), std::string::npos);
    EXPECT_NE(edited.find("prop @$RT4 SLOT0.VALUE \"47\""), std::string::npos);
    EXPECT_EQ(Count(edited, " SLOT0.VALUE \"47\""), 16);
    EXPECT_EQ(Count(edited, "SLOT0.REFDES"), Count(original, "SLOT0.REFDES"));
    EXPECT_EQ(Replayed(original), edited);
}

// Pins that cannot all take the answer in place: the bus DQ<15..0> with fourteen open bits, and the
// pair rows TX (Series) and CLK (RT1, a Shunt). The answer keeping the type shown is refused whole
// (KXTABLE-600 names the cause), where the dialog before replaced RT1 or changed RT3 alone.
TEST_F(TerminationDialogPins, PinsOfMixedStateAreRefusedWhole) {
    OpenBoard();
    ASSERT_EQ(Run("kx::select ccp " + Cell("DQ<15..0>")), "1");
    Run("kx::answer dialog CKXTerminationDlg ok value0 47");
    ExpectRefused("kx::menu 35522", "0", "KXTABLE-600");
    TerminateTxLanes();
    ASSERT_EQ(Run("selectObject pin TX CLK"), "1");
    Run("kx::answer dialog CKXTerminationDlg ok value0 56");
    ExpectRefused("kx::menu 35522", "0", "KXTABLE-600");
    EXPECT_NE(Saved().find("dt RT1 1 Shunt @U1%CLK"), std::string::npos);
    // The dialog showed RT1, CLK's Shunt: another type chosen for them all takes the place of every
    // termination, as for one pin.
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::answer dialog CKXTerminationDlg ok type Series value0 50");
    ASSERT_EQ(Run("kx::menu 35522"), "1") << ::testing::PrintToString(Messages());
    const std::string replaced = Saved();
    EXPECT_EQ(Count(replaced, "1 Series @U1%"), 5) << replaced;
    EXPECT_EQ(Count(replaced, "1 Shunt @U1%"), 0);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
}

} // namespace
