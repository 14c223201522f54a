// The automation roads that span two calls, InitPUPD or InitTermination and then the add the
// automation object sends: the set-up holds its edit open, and the add completes it, so that the
// open pins the set-up connected and the pull-up are one undo step. Another edit, an undo or a redo
// in between discards the held edit first: the design is as it was before the set-up, and the edit in
// between is a step of its own.
#include "../connedit/ConnEditFixture.h"

#include "grid/KXGridEdit.h"
#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxinstsigpane/KXTransaction.h"

#include <fstream>
#include <sstream>

namespace {

class HeldEdit : public ConnEditFixture {
protected:
    // U1's RST_N without its signal, its PUPD cell current.
    void OpenRstN() {
        OpenBoard();
        m_original = Saved();
        ASSERT_EQ(TypeSignal("RST_N", ""), "1");
        ASSERT_EQ(Conn("U1 RST_N"), "");
        m_opened = Saved();
        Run("selectObject pin RST_N");
        Run("kx::pane SelectPUPDCol RST_N C9");
        Messages();
    }
    std::string m_original, m_opened;
};

TEST_F(HeldEdit, AnOpenPinsPullUpByAutomationIsOneUndoStep) {
    OpenRstN();
    const int steps = Steps();
    Run("kx::pane InitPUPD {pullup VCC3V3}");
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(CKXGridEdit::IsHeld(*Grid()));
    const std::string net = Conn("U1 RST_N");
    ASSERT_FALSE(net.empty()); // connected in the held edit, and shown
    EXPECT_EQ(SignalCell("RST_N"), net);
    EXPECT_EQ(Run("kx::pane AddPUPD"), "1") << ::testing::PrintToString(Messages());
    EXPECT_FALSE(CKXGridEdit::IsHeld(*Grid()));
    const std::string edited = Saved();
    EXPECT_NE(edited.find(" @:" + net + "\n"), std::string::npos) << edited; // the pull-up on the new net
    EXPECT_EQ(Steps(), steps + 1);
    Run("undo");
    EXPECT_TRUE(Saved() == m_opened) << Saved();
    Run("redo");
    EXPECT_TRUE(Saved() == edited);
    EXPECT_TRUE(Replayed(m_original) == edited) << JournalText();
}

// The add that completes a set-up joined the edit the set-up holds: the library's commit on apply ends
// it, through the grid's bracket, so that the set-up and the add are one step that undo takes back and
// the journal replays. The delete word's grid work joins the edit the pane opens for it the same way.
TEST_F(HeldEdit, TheAddThatCompletesASetUpEndsThroughTheLibrarysCommitOnApply) {
    OpenBoard();
    const std::string original = Saved();
    // Asked of the grid shown at the time (a command may show the component in a new grid).
    auto calls = [this](const char* hand) { return Grid()->GetAssocCompAPI()->GetHandCalls(hand); };
    const int commits = calls("commit Add Termination");
    Run("selectObject pin PGOOD");
    Run("kx::pane SelectTerminationCol PGOOD C10");
    const int steps = Steps();
    Run("kx::pane InitTermination Shunt");
    EXPECT_EQ(Run("kx::pane AddTermination"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(calls("commit Add Termination"), commits + 1);
    EXPECT_FALSE(CKXGridEdit::IsHeld(*Grid()));
    EXPECT_EQ(Steps(), steps + 1);
    const std::string added = Saved();
    EXPECT_NE(added.find("1 Shunt @U1.PGOOD"), std::string::npos) << added;
    EXPECT_TRUE(Replayed(original) == added) << JournalText();
    const int deletes = calls("commit Delete Termination");
    Run("selectObject pin PGOOD");
    EXPECT_EQ(Run("deleteTermination pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(calls("commit Delete Termination"), deletes + 1);
    EXPECT_EQ(Steps(), steps + 2);
    Run("undo");
    EXPECT_TRUE(Saved() == added);
    Run("undo");
    EXPECT_TRUE(Saved() == original);
}

TEST_F(HeldEdit, ThePullUpThatCompletesASetUpEndsThroughTheLibrarysCommitOnApply) {
    OpenRstN();
    // Asked of the grid shown at the time (a command may show the component in a new grid).
    auto calls = [this](const char* hand) { return Grid()->GetAssocCompAPI()->GetHandCalls(hand); };
    const int commits = calls("commit Add Pupd");
    const int steps = Steps();
    Run("kx::pane InitPUPD {pullup VCC3V3}");
    EXPECT_EQ(Run("kx::pane AddPUPD"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(calls("commit Add Pupd"), commits + 1);
    EXPECT_EQ(Steps(), steps + 1);
    Run("undo");
    EXPECT_TRUE(Saved() == m_opened) << Saved();
}

TEST_F(HeldEdit, AnEditBetweenTheSetUpAndTheAddDiscardsTheHeldEdit) {
    OpenRstN();
    const int steps = Steps();
    Run("kx::pane InitPUPD {pullup VCC3V3}");
    const std::string heldNet = Conn("U1 RST_N");
    ASSERT_FALSE(heldNet.empty());
    // Another edit comes first: the held one goes, and this one is a step of its own.
    ASSERT_EQ(Run("addConnection pin NEWSIG PGOOD"), "2");
    EXPECT_FALSE(CKXGridEdit::IsHeld(*Grid()));
    EXPECT_EQ(Conn("U1 RST_N"), "");
    EXPECT_EQ(SignalCell("RST_N"), ""); // the grid shows the design again
    EXPECT_EQ(Conn("U1 PGOOD"), "NEWSIG");
    EXPECT_EQ(Steps(), steps + 1);
    const std::string edited = Saved();
    EXPECT_EQ(edited.find("net " + heldNet + " "), std::string::npos) << edited;
    // Nothing of the discarded edit is journalled.
    EXPECT_EQ(JournalText().find("AddConnection(\"" + heldNet + "\")"), std::string::npos) << JournalText();
    Run("undo");
    EXPECT_TRUE(Saved() == m_opened) << Saved();
    Run("redo");
    EXPECT_TRUE(Saved() == edited);
    EXPECT_TRUE(Replayed(m_original) == edited) << JournalText();
}

TEST_F(HeldEdit, AnUndoBetweenTheSetUpAndTheAddDiscardsTheHeldEditFirst) {
    OpenRstN();
    Run("kx::pane InitPUPD {pullup VCC3V3}");
    ASSERT_FALSE(Conn("U1 RST_N").empty());
    // The undo takes back the step before the set-up, not a part of the held edit.
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_FALSE(CKXGridEdit::IsHeld(*Grid()));
    EXPECT_TRUE(Saved() == m_original) << Saved();
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_TRUE(Saved() == m_opened) << Saved();
}

TEST_F(HeldEdit, ASaveBetweenTheSetUpAndTheAddWritesTheDesignWithoutTheHeldEdit) {
    OpenBoard("U1", 3);
    ASSERT_EQ(TypeSignal("RST_N", ""), "1");
    Run("selectObject pin RST_N");
    Run("kx::pane SelectPUPDCol RST_N C9");
    Run("kx::pane InitPUPD {pullup VCC3V3}");
    const std::string heldNet = Conn("U1 RST_N");
    ASSERT_FALSE(heldNet.empty());
    Run("saveDesign");
    EXPECT_FALSE(CKXGridEdit::IsHeld(*Grid()));
    std::ifstream in(m_demo / "board.sch.design", std::ios::binary);
    std::ostringstream written;
    written << in.rdbuf();
    EXPECT_NE(written.str().find("dt RP1 2 PullUp @:RESET_N"), std::string::npos) << written.str();
    EXPECT_EQ(written.str().find("conn U1 RST_N "), std::string::npos) << written.str();
    EXPECT_EQ(written.str().find(heldNet), std::string::npos) << written.str();
}

TEST_F(HeldEdit, AConnectBetweenInitTerminationAndAddTerminationIsAStepOfItsOwn) {
    OpenBoard();
    const std::string original = Saved();
    Run("selectObject pin PGOOD");
    Run("kx::pane SelectTerminationCol PGOOD C10");
    const int steps = Steps();
    Run("kx::pane InitTermination Shunt");
    EXPECT_TRUE(CKXGridEdit::IsHeld(*Grid()));
    ASSERT_EQ(Run("addConnection pin NEWRST RST_N"), "2");
    EXPECT_EQ(Steps(), steps + 1); // committed now, not left in the termination's transaction
    const std::string connected = Saved();
    // The add that follows is an edit of its own.
    Run("kx::pane SelectTerminationCol PGOOD C10");
    EXPECT_EQ(Run("kx::pane AddTermination"), "1") << ::testing::PrintToString(Messages());
    EXPECT_NE(Saved().find("1 Shunt @U1.PGOOD"), std::string::npos);
    EXPECT_EQ(Steps(), steps + 2);
    Run("undo");
    EXPECT_TRUE(Saved() == connected);
    Run("undo");
    EXPECT_TRUE(Saved() == original);
}

TEST_F(HeldEdit, InitTerminationThenAddTerminationIsOneStepAndASecondSetUpReplacesTheFirst) {
    OpenBoard();
    const std::string original = Saved();
    Run("selectObject pin PGOOD");
    Run("kx::pane SelectTerminationCol PGOOD C10");
    const int steps = Steps();
    Run("kx::pane InitTermination Shunt");
    Run("kx::pane InitTermination Series");
    EXPECT_EQ(Run("kx::pane AddTermination"), "1") << ::testing::PrintToString(Messages());
    EXPECT_NE(Saved().find("1 Series @U1.PGOOD"), std::string::npos);
    EXPECT_EQ(Steps(), steps + 1);
    Run("undo");
    EXPECT_TRUE(Saved() == original);
}

} // namespace

namespace {

TEST_F(HeldEdit, AnAddRefusedBeforeItReachesTheGridLeavesNoSetUpBehind) {
    OpenRstN();
    const int steps = Steps();
    // A set-up without a DC net prepares nothing to add, so the add is refused before the grid sees it.
    Run("kx::pane InitPUPD pullup");
    EXPECT_NE(Run("kx::pane AddPUPD"), "1");
    EXPECT_FALSE(CKXGridEdit::IsHeld(*Grid()));
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_TRUE(Saved() == m_opened) << Saved();
    EXPECT_EQ(Steps(), steps);
    // The next edit is a step of its own, as though no set-up had come.
    ASSERT_EQ(Run("addConnection pin NEWSIG PGOOD"), "2");
    EXPECT_EQ(Steps(), steps + 1);
}

} // namespace

namespace {

// Whether the automation set-up began the edit it holds for the add command: set by the set-up,
// ended by the add, by the edit that comes in between, or by the set-up's own refusal, which then
// throws that edit away; a transaction a caller held before the set-up stays the caller's.
using HeldEditOwner = HeldEdit;

TEST_F(HeldEditOwner, TheSetUpOwnsTheEditItBeganUntilTheAddEndsIt) {
    OpenRstN();
    EXPECT_FALSE(CKXGridEdit::IsHeld(*Grid()));
    Run("kx::pane InitPUPD {pullup VCC3V3}");
    EXPECT_TRUE(CKXGridEdit::IsHeld(*Grid()));
    EXPECT_EQ(Run("kx::pane AddPUPD"), "1") << ::testing::PrintToString(Messages());
    EXPECT_FALSE(CKXGridEdit::IsHeld(*Grid()));
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

TEST_F(HeldEditOwner, AnEditInBetweenEndsWhatTheSetUpOwned) {
    OpenRstN();
    Run("kx::pane InitPUPD {pullup VCC3V3}");
    ASSERT_TRUE(CKXGridEdit::IsHeld(*Grid()));
    ASSERT_EQ(Run("addConnection pin NEWSIG PGOOD"), "2");
    EXPECT_FALSE(CKXGridEdit::IsHeld(*Grid()));
    EXPECT_EQ(Conn("U1 RST_N"), "");
}

TEST_F(HeldEditOwner, ATransactionTheCallerHoldsStaysTheCallers) {
    OpenRstN();
    {
        CKXGridEdit caller(*Grid(), "Caller");
        ASSERT_TRUE(caller);
        Run("kx::pane InitPUPD {pullup VCC3V3}");
        EXPECT_FALSE(CKXGridEdit::IsHeld(*Grid()));
        EXPECT_TRUE(CKXTransaction::IsTransactionStarted()); // nothing of the set-up ended it
    }
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_TRUE(Saved() == m_opened) << Saved(); // the caller threw it away, with what was done in it
}

// The open pins' connections and the pull-up of the automation road replay as the one undo step they
// were: the journal groups the set-up's connect with the add.
TEST_F(HeldEdit, AnOpenPinsPullUpByAutomationReplaysAsOneStep) {
    OpenRstN();
    Run("kx::pane InitPUPD {pullup VCC3V3}");
    ASSERT_EQ(Run("kx::pane AddPUPD"), "1") << ::testing::PrintToString(Messages());
    const std::string history = Run("kx::history");
    EXPECT_EQ(history.find("replays as"), std::string::npos) << history;
    const std::string edited = Saved();
    EXPECT_TRUE(Replayed(m_original) == edited) << JournalText();
    EXPECT_EQ(Run("kx::history"), history) << JournalText();
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Saved() == m_opened) << Saved();
}

// A swap of signals or pins is an edit of its own: a set-up's held edit (InitTermination, InitPUPD) is
// discarded first, as any other edit discards it, and the swap is done, by the word and the menu alike.
TEST_F(HeldEdit, ASwapBetweenTheSetUpAndTheAddDiscardsTheHeldEdit) {
    OpenRstN();
    const std::string dq3 = Conn("U1 DQ<3>"), dq4 = Conn("U1 DQ<4>");
    ASSERT_NE(dq3, dq4);
    const int steps = Steps();
    Run("kx::pane InitPUPD {pullup VCC3V3}");
    ASSERT_TRUE(CKXGridEdit::IsHeld(*Grid()));
    Run("expandPins pin on");
    Run("selectObject pin DQ<3> DQ<4>");
    EXPECT_EQ(Run("swapSignal pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_FALSE(CKXGridEdit::IsHeld(*Grid()));
    EXPECT_EQ(Conn("U1 RST_N"), ""); // the held connect went
    EXPECT_EQ(Conn("U1 DQ<3>"), dq4);
    EXPECT_EQ(Conn("U1 DQ<4>"), dq3);
    EXPECT_EQ(Steps(), steps + 1);
    Run("kx::pane SelectTerminationCol PGOOD C10");
    Run("kx::pane InitTermination Series");
    ASSERT_TRUE(CKXGridEdit::IsHeld(*Grid()));
    Run("selectObject pin DQ<3> DQ<4>");
    Messages();
    EXPECT_EQ(Run("kx::menu 35747"), "1");
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(CKXGridEdit::IsHeld(*Grid()));
    EXPECT_EQ(Conn("U1 DQ<3>"), dq3);
    EXPECT_EQ(Steps(), steps + 2);
    const std::string swapped = Saved();
    EXPECT_TRUE(Replayed(m_original) == swapped) << JournalText();
}

} // namespace
