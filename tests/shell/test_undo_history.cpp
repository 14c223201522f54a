#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableChildFrm.h"

#include "grid/gxcommand.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// Records each execution as "<name><u|r>".
class CProbeCommand : public CGXCommand {
public:
    CProbeCommand(std::vector<std::string>& log, const char* name) : m_log(log) { SetName(name); }
    BOOL Execute(CGXGridCore*, GXCmdType type) override {
        m_log.push_back(m_sName.str() + (type == gxUndo ? "u" : "r"));
        return TRUE;
    }

private:
    std::vector<std::string>& m_log;
};
} // namespace

using UndoHistoryTest = KXShellFixture;

TEST_F(UndoHistoryTest, StepsJoinUndoInReverseAndRedoInOrder) {
    ASSERT_TRUE(Open());
    std::vector<std::string> log;
    CKXBottomPaneContainerView* pane = Ccp();
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "a"), gxDo, 1);
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "b"), gxDo, 2);
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "c"), gxDo, 1);
    EXPECT_EQ(pane->GetUndoStepCount(), 2);
    EXPECT_EQ(pane->GetUndoDescription(), CString("c"));
    EXPECT_TRUE(pane->PerformUndo());
    EXPECT_TRUE(pane->PerformUndo());
    EXPECT_EQ(log, (std::vector<std::string>{"cu", "bu", "au"}));
    EXPECT_FALSE(pane->PerformUndo()); // nothing left
    EXPECT_TRUE(pane->PerformRedo());
    EXPECT_EQ(log.back(), "br");
    EXPECT_EQ(log[log.size() - 2], "ar");
    // A new command forgets what could be redone.
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "d"), gxDo, 1);
    EXPECT_EQ(pane->GetRedoStepCount(), 0);
}

TEST_F(UndoHistoryTest, ARolledBackStepLeavesNoTrace) {
    ASSERT_TRUE(Open());
    std::vector<std::string> log;
    CKXBottomPaneContainerView* pane = Ccp();
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "a"), gxDo, 0);
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "b"), gxDo, 1);
    pane->AddUndoCommand(nullptr, nullptr, gxDo, -1);
    // What the rolled-back step's command did is taken back at once, and the step is gone.
    EXPECT_EQ(log, (std::vector<std::string>{"bu"}));
    EXPECT_EQ(pane->GetUndoStepCount(), 1);
    EXPECT_EQ(pane->GetRedoStepCount(), 0);
    EXPECT_TRUE(pane->PerformUndo());
    EXPECT_EQ(log, (std::vector<std::string>{"bu", "au"}));
}

// A pane edit whose commit the design refuses, after a command of it joined the step that was open
// before it: that command is taken back and leaves the step, and the step is as it was.
TEST_F(UndoHistoryTest, ARefusedPaneEditTakesBackTheCommandItJoinedToTheStepBefore) {
    ASSERT_TRUE(Open());
    std::vector<std::string> log;
    CKXBottomPaneContainerView* pane = Ccp();
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "a"), gxDo, 1); // its step stays open
    const int steps = pane->GetUndoStepCount();
    ASSERT_TRUE(pane->BeginPaneTransaction("Add Net"));
    CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
    ASSERT_NE(t, nullptr);
    ASSERT_NE(t->createNet("JOINED", static_cast<unsigned>(-1), static_cast<unsigned>(-1)), nullptr);
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "b"), gxDo, 2); // joins a's step
    m_app->Server()->setCommitFault([] { return true; });
    EXPECT_FALSE(pane->EndPaneTransaction(TRUE));
    m_app->Server()->setCommitFault(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"bu"}));
    EXPECT_EQ(pane->GetUndoStepCount(), steps);
    EXPECT_TRUE(pane->PerformUndo());
    EXPECT_EQ(log, (std::vector<std::string>{"bu", "au"}));
}

TEST_F(UndoHistoryTest, AClosingEntryJoinsTheOpenStep) {
    ASSERT_TRUE(Open());
    std::vector<std::string> log;
    CKXBottomPaneContainerView* pane = Ccp();
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "cell"), gxDo, 1);
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "design"), gxDo, 0);
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "next"), gxDo, 0);
    EXPECT_EQ(pane->GetUndoStepCount(), 2);
    EXPECT_TRUE(pane->PerformUndo());
    EXPECT_TRUE(pane->PerformUndo());
    EXPECT_EQ(log, (std::vector<std::string>{"nextu", "designu", "cellu"}));
}
