// The pin grid's transaction state, read by its undo history with every command the grid records:
// a committed edit closes its step, so the next edit is a step of its own, and a refused edit leaves
// no step behind.
#include "ConnEditFixture.h"

#include "grid/KXGridEdit.h" // the step modes

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

} // namespace
