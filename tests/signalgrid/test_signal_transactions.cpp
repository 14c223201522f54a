// The signal grid's edits and the transaction they run in: an edit runs in a
// transaction of its own (open while it runs, closed after), joins one
// that is open already (nothing of it stays when that one is thrown away), and
// an edit whose commit the design database refuses leaves design, rows, undo
// history and journal as they were, and the next edit a step of its own.
#include "KXDesignSnapshot.h"
#include "SignalGridTestSupport.h"

#include "grid/KXGridEdit.h"

#include "kxinstsigpane/KXTransaction.h"
#include "rmx/DesignBuilder.h"

#include <fstream>

namespace {

class SignalTransactions : public SignalGridTest {
protected:
    void SetUp() override {
        SignalGridTest::SetUp();
        ASSERT_TRUE(Open());
        ASSERT_NE(Show("FREE"), nullptr);
        Messages();
    }
    void TearDown() override {
        // A test that replayed in a host of its own has stopped the fixture's.
        if (IServer* server = CKXShareGlobalData::m_pServer) server->setCommitFault(nullptr);
        SignalGridTest::TearDown();
    }
    std::string Snapshot() { return KXDesignSnapshot(*CKXShareGlobalData::m_pServer, Design().design(), "s"); }
    bool NetlistHas(const char* line) { return Netlist().find(line) != std::string::npos; }
    // Connects J1's pin to FREE in a blank row, as typed.
    BOOL Connect(const char* pin) {
        const ROWCOL row = Grid()->FindFirstEmptyRow();
        return Type(row, G::m_nColInstance, "J1") && Type(row, G::m_nColPinName, pin);
    }
};

TEST_F(SignalTransactions, AnEditLeftWithoutACommitLeavesNoTransactionOpen) {
    {
        CKXGridEdit edit(*Grid(), "Probe");
        ASSERT_TRUE(edit);
    }
    // Left without a commit: thrown away.
    ASSERT_TRUE(Connect("P<3>"));
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

TEST_F(SignalTransactions, AnEditInsideAnOpenOneIsPartOfItAndGoesWhenThatOneIsThrownAway) {
    const std::string before = Snapshot();
    const int steps = Ccp()->GetUndoStepCount();
    {
        CKXGridEdit outer(*Grid(), "Outer");
        ASSERT_TRUE(outer);
        ASSERT_TRUE(Connect("P<3>"));
        // The typed connection did not end the outer edit: it is still open, and the design has it.
        EXPECT_TRUE(CKXTransaction::IsTransactionStarted());
        EXPECT_TRUE(NetlistHas("J1 P<3> FREE"));
    } // thrown away
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_FALSE(NetlistHas("J1 P<3> FREE"));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

TEST_F(SignalTransactions, TwoEditsInsideAnOpenOneAreOneUndoStep) {
    const std::string before = Snapshot();
    const int steps = Ccp()->GetUndoStepCount();
    {
        CKXGridEdit outer(*Grid(), "Outer");
        ASSERT_TRUE(outer);
        ASSERT_TRUE(Connect("P<3>"));
        ASSERT_TRUE(Connect("P<4>"));
        ASSERT_TRUE(outer.Commit());
    }
    EXPECT_TRUE(NetlistHas("J1 P<3> FREE"));
    EXPECT_TRUE(NetlistHas("J1 P<4> FREE"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(SignalTransactions, AConnectionWhoseCommitIsRefusedLeavesEverythingAsItWas) {
    const std::string before = Snapshot();
    const std::string journal = JournalText();
    const int steps = Ccp()->GetUndoStepCount();
    const int rows = FilledRows();
    CKXShareGlobalData::m_pServer->setCommitFault([] { return true; });
    EXPECT_FALSE(Connect("P<3>"));
    CKXShareGlobalData::m_pServer->setCommitFault(nullptr);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(NetlistHas("J1 P<3> FREE"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(JournalText(), journal);
    // The row shows no pin: only the instance typed into it.
    EXPECT_EQ(Row("J1", "P<3>"), 0u);
    EXPECT_EQ(FilledRows(), rows + 1);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    // The next edit is a step of its own, which undo takes back alone.
    ASSERT_TRUE(Connect("P<4>"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(SignalTransactions, AScriptedConnectionWhoseCommitIsRefusedAnswersZero) {
    const std::string before = Snapshot();
    const int steps = Ccp()->GetUndoStepCount();
    CKXShareGlobalData::m_pServer->setCommitFault([] { return true; });
    EXPECT_EQ(Run("addConnection pin [list J1 13 -1 -1 FREE]"), "0");
    CKXShareGlobalData::m_pServer->setCommitFault(nullptr);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

} // namespace

// ------------------------------------------------------------------ the termination dialog's edit

namespace {

class SignalTerminationEdit : public SignalTransactions {
protected:
    int Terminations() { return Count(Snapshot(), " 1 Series @J1."); }
    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }
    std::string ReplayedSnapshot() { return KXShellFixture::ReplayedSnapshot("replayed"); }
    std::string DoubleClickTermination(ROWCOL row) {
        return Run("kx::click ccp " + std::to_string(row) + " " + std::to_string(G::m_nColTermination) + " double");
    }
};

TEST_F(SignalTerminationEdit, TheDialogsAddIsOneStepAndTheGridKnowsItAdded) {
    ASSERT_TRUE(Connect("P<3>"));
    const ROWCOL row = Row("J1", "P<3>");
    ASSERT_NE(row, 0u);
    const std::string before = Snapshot();
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::answer dialog CKXTerminationDlg ok type Series");
    ASSERT_EQ(DoubleClickTermination(row), "1");
    EXPECT_EQ(Grid()->m_bTerminationAdded, 1);
    EXPECT_EQ(Terminations(), 1);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    // The terminated pin's row is handed to the system-object server in an edit's transaction.
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(row) + " " + std::to_string(G::m_nColTermination)), "1");
    {
        CKXGridEdit probe(*Grid(), "Probe");
        ASSERT_TRUE(probe);
        EXPECT_TRUE(Grid()->SelectionHasAssociatedInstance(probe.Transaction()));
        EXPECT_FALSE(Grid()->SelectionHasAssociatedInstance(nullptr));
    }
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), before);
}

// The callback the grid gives the library for an add reaches the grid only while that add runs: a
// later step of the pane's library object (another grid's edit, say) is not led into this grid's edit.
TEST_F(SignalTerminationEdit, AfterTheAddTheLibrarysCallbackReachesNoGrid) {
    ASSERT_TRUE(Connect("P<3>"));
    Run("kx::answer dialog CKXTerminationDlg ok type Series");
    ASSERT_EQ(DoubleClickTermination(Row("J1", "P<3>")), "1");
    ASSERT_EQ(Terminations(), 1);
    EXPECT_EQ(G::m_pTerminatingGrid, nullptr);
    {
        CKXGridEdit open(*Grid(), "Probe");
        ASSERT_TRUE(open);
        EXPECT_EQ(G::OnTerminationAdded("Add Termination"), nullptr);
    }
    // A cancelled dialog leaves nothing set either.
    ASSERT_TRUE(Connect("P<4>"));
    Run("kx::answer dialog CKXTerminationDlg cancel");
    DoubleClickTermination(Row("J1", "P<4>"));
    EXPECT_EQ(G::m_pTerminatingGrid, nullptr);
}

// The dialog on a terminated pin puts its choice in place of the termination: the journal deletes the
// old one before the add, so that a replay (whose add refuses a terminated pin) gives the same design.
TEST_F(SignalTerminationEdit, ADialogThatReplacesATerminationReplaysToTheSameDesign) {
    ASSERT_TRUE(Connect("P<3>"));
    const ROWCOL row = Row("J1", "P<3>");
    Run("kx::answer dialog CKXTerminationDlg ok type Series");
    ASSERT_EQ(DoubleClickTermination(row), "1");
    ASSERT_EQ(Terminations(), 1);
    const std::string terminated = Snapshot();
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::answer dialog CKXTerminationDlg ok type Shunt value0 47");
    ASSERT_EQ(DoubleClickTermination(Row("J1", "P<3>")), "1");
    EXPECT_EQ(Terminations(), 0);
    EXPECT_EQ(Count(Snapshot(), " 1 Shunt @J1."), 1);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    const std::string replaced = Snapshot();
    // One undo gives the old termination back, one redo the new one.
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), terminated);
    ASSERT_EQ(Run("redo"), "1");
    EXPECT_EQ(Snapshot(), replaced);
    EXPECT_EQ(ReplayedSnapshot(), replaced);
}

// The dialog on a terminated pin answered with its own type and one value changed changes that
// termination in place: its name and its part (without designator) stay, in one step that replays.
TEST_F(SignalTerminationEdit, ADialogThatChangesAValueKeepsTheTermination) {
    ASSERT_TRUE(Connect("P<3>"));
    Run("kx::answer dialog CKXTerminationDlg ok type Series");
    ASSERT_EQ(DoubleClickTermination(Row("J1", "P<3>")), "1");
    const std::string terminated = Snapshot();
    const auto at = terminated.find(" 1 Series @J1.");
    ASSERT_NE(at, std::string::npos);
    const auto from = terminated.rfind("dt ", at) + 3;
    const std::string name = terminated.substr(from, at - from);
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::answer dialog CKXTerminationDlg ok value0 47");
    ASSERT_EQ(DoubleClickTermination(Row("J1", "P<3>")), "1");
    const std::string edited = Snapshot();
    EXPECT_NE(edited.find("dt " + name + " 1 Series @J1."), std::string::npos) << edited;
    EXPECT_NE(edited.find("prop @$" + name + " SLOT0.VALUE \"47\""), std::string::npos) << edited;
    EXPECT_EQ(Count(edited, "REFDES"), Count(terminated, "REFDES"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(JournalText().find(".Delete()"), std::string::npos) << JournalText();
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), terminated);
    ASSERT_EQ(Run("redo"), "1");
    EXPECT_EQ(Snapshot(), edited);
    EXPECT_EQ(ReplayedSnapshot(), edited);
}

TEST_F(SignalTerminationEdit, ACancelledDialogAddsNothingAndTheGridKnowsIt) {
    ASSERT_TRUE(Connect("P<3>"));
    const ROWCOL row = Row("J1", "P<3>");
    Run("kx::answer dialog CKXTerminationDlg ok type Series");
    ASSERT_EQ(DoubleClickTermination(row), "1");
    ASSERT_EQ(Grid()->m_bTerminationAdded, 1);
    ASSERT_TRUE(Connect("P<4>"));
    const std::string before = Snapshot();
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::answer dialog CKXTerminationDlg cancel");
    DoubleClickTermination(Row("J1", "P<4>"));
    EXPECT_EQ(Grid()->m_bTerminationAdded, 0);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    // A row without a terminated pin hands nothing over.
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(Row("J1", "P<4>")) + " " + std::to_string(G::m_nColTermination)),
              "1");
    CKXGridEdit probe(*Grid(), "Probe");
    ASSERT_TRUE(probe);
    EXPECT_FALSE(Grid()->SelectionHasAssociatedInstance(probe.Transaction()));
}

} // namespace
