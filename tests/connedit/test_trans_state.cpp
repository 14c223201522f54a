// The pin grid's transaction state, read by its undo history with every command the grid records:
// a committed edit closes its step, so the next edit is a step of its own, and a refused edit leaves
// no step behind.
#include "ConnEditFixture.h"

#include "grid/KXGridEdit.h" // the step modes

#include "kxinstsigpane/KXTransaction.h"

namespace {

using TransState = ConnEditFixture;

TEST_F(TransState, ACommittedConnectIsOneStepAndTheNextEditOpensItsOwn) {
    OpenBoard();
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(TypeSignal("PGOOD", "NEWPG"), "1");
    EXPECT_EQ(Grid()->m_nTransState, kUndoStepClose); // the edit committed: its step is closed
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    ASSERT_EQ(TypeSignal("RST_N", "NEWRST"), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 2); // not joined to the step before
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "NEWPG");
    EXPECT_EQ(Conn("U1 RST_N"), "RESET_N");
}

TEST_F(TransState, ARefusedEditLeavesNoStepAndTheStateClosed) {
    OpenBoard();
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_NE(TypeSignal("PGOOD", "BAD NAME!"), "1");
    EXPECT_EQ(Grid()->m_nTransState, kUndoStepClose);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    // The next edit is a step of its own, whole.
    ASSERT_EQ(TypeSignal("PGOOD", "NEWPG"), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "PG");
}

// A delete whose commit the design database refuses: the word answers 0, and the design, the undo
// history and the journal are as they were.
TEST_F(TransState, ADeleteTheDatabaseRefusesChangesNothing) {
    OpenBoard();
    Run("selectObject pin PGOOD");
    ASSERT_EQ(Run("addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 "
                  "-value 22"),
              "1");
    const std::string before = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    const std::string journal = JournalText();
    m_app->Server()->setCommitFault([] { return true; });
    EXPECT_EQ(Run("deleteConnection pin PGOOD:C10"), "0");
    m_app->Server()->setCommitFault(nullptr);
    EXPECT_EQ(Saved(), before);
    // The row shows the pin as connected still, with its termination.
    const std::string window = Run("kx::window ccp");
    EXPECT_NE(window.find("| PGOOD | C10 | Input | PG | Series"), std::string::npos) << window;
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps) << Ccp()->GetUndoDescription().GetString();
    EXPECT_EQ(JournalText(), journal);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

} // namespace
