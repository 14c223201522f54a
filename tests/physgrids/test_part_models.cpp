// Signal models in the physical part grid: the echo half, the committing half through
// the pane's words, journal lines, undo and refusals.
#include "PhysGridTestSupport.h"

#include "grid/KXGridEdit.h"

namespace {

TEST_F(PhysGridTest, AssigningAModelEchoesThenCommitsThroughTheHost) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    const std::string before = Saved();
    Select(g, {Row(g, "U1", "1"), Row(g, "U1", "2")});
    Echoes();
    g->AssignModel(1, "M1");
    EXPECT_EQ(Echoes().front(), "selectWindow ccp; assignModel pin M1  [list U1 D<0> 1] [list U1 D<1> 2]");
    EXPECT_EQ(Prop("work.board:sch@U1.D<0>", "PIN_SIGNAL_MODEL"), "M1");
    EXPECT_EQ(Prop("work.board:sch@U1.D<1>", "PIN_SIGNAL_MODEL"), "M1");
    EXPECT_EQ(Prop("work.board:sch@U1.D<2>", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(RowText(g, "U1", "1"), "1|D<0>|Inout|DATA<0>|M1");
    EXPECT_TRUE(Doc()->IsModified());
    const std::string journal = JournalText();
    EXPECT_NE(journal.find("call board_phys.ConnectivityPane().SelectSignalCol(\"D<1>\",\"2\")"
                           "\n\n ' --- Assign Model ---\n\ncall board_phys.ConnectivityPane().AssignModel(\"M1\")"),
              std::string::npos);
    ASSERT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(RowText(g, "U1", "1"), "1|D<0>|Inout|DATA<0>|");
}

TEST_F(PhysGridTest, PinsOfDifferentDirectionsTakeNoModel) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    Select(g, {Row(g, "U1", "5"), Row(g, "U1", "6")});
    Echoes();
    Messages();
    g->AssignModel(1, "M1");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-127"}));
    EXPECT_TRUE(Echoes().empty());
    EXPECT_FALSE(g->CommitAssignModel("M1"));
    EXPECT_EQ(Prop("work.board:sch@U1.CLK", "PIN_SIGNAL_MODEL"), "");
    // An empty model is refused by both halves.
    Select(g, {Row(g, "U1", "5")});
    g->AssignModel(1, "");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-127", "KXTABLE-186"}));
    EXPECT_FALSE(g->CommitAssignModel(""));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
}

// The Assign Model command over pins of two directions refuses before any dialog: it answers 0.
TEST_F(PhysGridTest, TheAssignModelCommandOverTwoDirectionsAnswersZero) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(Run("kx::grid ccp 1"), "1");
    Select(g, {Row(g, "U1", "5"), Row(g, "U1", "6")});
    Messages();
    Run("kx::answer dialog CKXDlgModelAssign ok model M1");
    EXPECT_EQ(Run("kx::menu 35543"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-127"}));
    EXPECT_EQ(Prop("work.board:sch@U1.CLK", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
}

// Refusals reached from the host say why: an empty model by automation or by the word, and a swap
// with a package pin that carries no logical pin.
TEST_F(PhysGridTest, RefusalsFromTheHostShowTheirMessage) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(Run("kx::word selectObject pin U1:D<0>:1"), "1");
    Messages();
    Run("kx::pane ccp AssignModel {}");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-186"}));
    EXPECT_EQ(Word("assignModel pin {} [list U1 D<0> 1]"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-186"}));
    setenv("KX_ALLOW_SWAP_PINS", "1", 1);
    EXPECT_EQ(Run("kx::pane ccp SwapPins 7"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-107"}));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(PhysGridTest, RemovingModelsCommitsOnlyWhatWasThere) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(Word("assignModel pin M2 [list U1 D<0> 1]"), 1);
    EXPECT_EQ(Prop("work.board:sch@U1.D<0>", "PIN_SIGNAL_MODEL"), "M2");
    const std::string withModel = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    // Rows without a model: nothing to remove, no transaction, not reported as done.
    EXPECT_EQ(Word("removeModel pin [list U1 D<1> 2]"), 0);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    Select(g, {Row(g, "U1", "1"), Row(g, "U1", "2")});
    Echoes();
    g->DeleteSelection();
    EXPECT_EQ(Echoes().front(), "selectWindow ccp; removeModel pin  [list U1 D<0> 1] [list U1 D<1> 2]");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Prop("work.board:sch@U1.D<0>", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(RowText(g, "U1", "1"), "1|D<0>|Inout|DATA<0>|");
    EXPECT_NE(JournalText().find("' --- Remove Model ---\n\ncall board_phys.ConnectivityPane().RemoveModel()"),
              std::string::npos);
    ASSERT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(Saved(), withModel);
}

TEST_F(PhysGridTest, AModelFromAnotherWindowIsShown) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    CKXGridWnd other;
    other.Create(WS_CHILD, CRect(0, 0, 10, 10), Ccp(), 9199);
    ASSERT_TRUE(CKXTransaction::BeginTrans(&other, Design(), "Assign Model"));
    ASSERT_TRUE(CKXTransaction::GetCurrentTransactionObj()->addProperty(
        Design().instance("U1").instTerm("OUT").bitContext(-1), "PIN_SIGNAL_MODEL", "OUTM", 2, false));
    ASSERT_TRUE(CKXTransaction::CommitTrans(&other, 1, 1));
    EXPECT_EQ(RowText(g, "U1", "6"), "6|OUT|Output|N1|OUTM");
}

// A model the server refuses to commit answers 0: the pin keeps the model it had and no undo step
// is left behind.
TEST_F(PhysGridTest, AModelWhoseCommitIsRefusedLeavesThePinAsItWas) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(Word("assignModel pin M2 [list U1 D<0> 1]"), 1);
    const int steps = Ccp()->GetUndoStepCount();
    CKXShareGlobalData::m_pServer->setCommitFault([] { return true; });
    EXPECT_EQ(Word("assignModel pin M3 [list U1 D<0> 1]"), 0);
    CKXShareGlobalData::m_pServer->setCommitFault(nullptr);
    EXPECT_EQ(Prop("work.board:sch@U1.D<0>", "PIN_SIGNAL_MODEL"), "M2");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

} // namespace
