// The pin grid's transaction state, read by its undo history with every command the grid records:
// a committed edit closes its step, so the next edit is a step of its own, and a refused edit leaves
// no step behind.
#include "ConnEditFixture.h"

#include "grid/KXGridEdit.h" // the step modes
#include "grid/KXGridUndo.h"
#include "kxnotes/CComments.h"

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

// Each delete word, and each automation Delete a journal replays, is a step of its own: an undo takes
// back the last one alone, so a journal's Undo() calls take back what the user's undos took back.
TEST_F(TransState, EachDeleteIsAStepOfItsOwn) {
    OpenBoard();
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Run("deleteConnection pin PGOOD"), "1");
    ASSERT_EQ(Run("deleteConnection pin RST_N"), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 2);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "");
    EXPECT_EQ(Conn("U1 RST_N"), "RESET_N");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "PG");
    Run("kx::pane SelectSignalCol PGOOD C10; kx::pane Delete");
    Run("kx::pane SelectSignalCol RST_N C9; kx::pane Delete");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 2);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "");
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

// An edit of the design in which the pin grid also changed a pin comment of its own (recorded in the
// edit's step, as the grid records it): when the edit does not go through, the comment is as before.
class CommentInAFailedEdit : public ConnEditFixture {
protected:
    void SetUp() override {
        ConnEditFixture::SetUp();
        OpenBoard();
        ASSERT_EQ(Run("addComment pin {as before} PGOOD"), "1");
        m_steps = Steps();
        m_saved = Saved();
    }
    // Begins the edit on the grid: a new net, and the comment changed as the grid changes it.
    void EditDesignAndComment(CKXGridEdit& edit, const char* old = "as before") {
        ASSERT_TRUE(edit);
        ASSERT_NE(edit.Transaction()->createNet("NOTED", static_cast<unsigned>(-1), static_cast<unsigned>(-1)),
                  nullptr);
        CKXInstanceDetailsGridWnd* grid = Grid();
        const CString key = grid->GetCommentPinKey(static_cast<ROWCOL>(PinRow("PGOOD")));
        grid->SetPinComment("U1", key, old, "during the edit");
        grid->AddCommand(new CKXCommentUndoCmd(grid, "U1", key, old, "during the edit", kKXEditCommentStep), gxDo);
        ASSERT_EQ(Comment(), "during the edit");
    }
    std::string Comment() {
        CString text, date, time, user;
        CComments* store = Ccp()->GetCommentStore();
        if (!store || !store->getPinComments("U1", "PGOOD", text, date, time, user)) return "<none>";
        return text.GetString();
    }
    void ExpectAsBefore() {
        EXPECT_EQ(Comment(), "as before");
        EXPECT_EQ(Saved(), m_saved);
        EXPECT_EQ(Steps(), m_steps);
        EXPECT_EQ(Grid()->m_nTransState, kUndoStepClose);
        EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
        // The step before, the comment's own, is still whole: undoing it takes the comment away.
        EXPECT_EQ(Run("undo"), "1");
        EXPECT_EQ(Comment(), "<none>");
    }
    int m_steps = 0;
    std::string m_saved;
};

TEST_F(CommentInAFailedEdit, ARefusedCommitTakesTheCommentBack) {
    {
        CKXGridEdit edit(*Grid(), "Add Net");
        EditDesignAndComment(edit);
        m_app->Server()->setCommitFault([] { return true; });
        EXPECT_FALSE(edit.Commit());
        m_app->Server()->setCommitFault(nullptr);
    }
    ExpectAsBefore();
}

TEST_F(CommentInAFailedEdit, AnEditLeftWithoutCommitTakesTheCommentBack) {
    {
        CKXGridEdit edit(*Grid(), "Add Net");
        EditDesignAndComment(edit);
    }
    ExpectAsBefore();
}

// The refused edit's step took the place of what could be redone; with the step gone, that is
// redone as before.
TEST_F(CommentInAFailedEdit, ARefusedCommitKeepsWhatCouldBeRedone) {
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_EQ(Comment(), "<none>");
    const int redo = Ccp()->GetRedoStepCount();
    ASSERT_GT(redo, 0);
    {
        CKXGridEdit edit(*Grid(), "Add Net");
        EditDesignAndComment(edit, "");
        m_app->Server()->setCommitFault([] { return true; });
        EXPECT_FALSE(edit.Commit());
        m_app->Server()->setCommitFault(nullptr);
    }
    EXPECT_EQ(Comment(), "<none>");
    EXPECT_EQ(Saved(), m_saved);
    EXPECT_EQ(Ccp()->GetRedoStepCount(), redo);
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Comment(), "as before");
}

// A delete whose commit the design database refuses: the word answers 0, and the design, the undo
// history, the journal and the pin's row are as they were.
class RefusedDelete : public ConnEditFixture {
protected:
    void SetUp() override {
        ConnEditFixture::SetUp();
        OpenBoard();
        Run("selectObject pin PGOOD");
        ASSERT_EQ(Run("addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym "
                      "-physname R0402 -value 22"),
                  "1");
    }
    // Runs the delete with every commit refused: nothing of it stays.
    void ExpectNothingChangedBy(const std::string& line) {
        const std::string before = Saved();
        const int steps = Ccp()->GetUndoStepCount();
        const std::string journal = JournalText();
        m_app->Server()->setCommitFault([] { return true; });
        Run(line);
        m_app->Server()->setCommitFault(nullptr);
        EXPECT_EQ(Saved(), before);
        const std::string window = Run("kx::window ccp");
        EXPECT_NE(window.find("| PGOOD | C10 | Input | PG | Series"), std::string::npos) << window;
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
        EXPECT_EQ(JournalText(), journal);
        EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    }
};

TEST_F(RefusedDelete, TheDeleteWordAnswersZeroAndChangesNothing) {
    m_app->Server()->setCommitFault([] { return true; });
    EXPECT_EQ(Run("deleteConnection pin PGOOD:C10"), "0");
    m_app->Server()->setCommitFault(nullptr);
    ExpectNothingChangedBy("deleteConnection pin PGOOD:C10");
}

TEST_F(RefusedDelete, TheDeleteKeyOnTheSignalCellChangesNothing) {
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(PinRow("PGOOD")) + " " +
                  std::to_string(CKXInstanceDetailsGridWnd::m_nColSignal)),
              "1");
    ExpectNothingChangedBy("kx::key ccp Delete");
}

TEST_F(RefusedDelete, AnEmptyTextTypedIntoTheSignalCellChangesNothing) {
    ExpectNothingChangedBy("kx::edit ccp " + std::to_string(PinRow("PGOOD")) + " " +
                           std::to_string(CKXInstanceDetailsGridWnd::m_nColSignal) + " {}");
}

// An undone edit stays redoable through a refused delete: the refusal takes back what the grids
// recorded for it and leaves the redo history as it found it.
TEST_F(RefusedDelete, AnUndoneEditIsStillRedoneAfterTheRefusal) {
    const std::string terminated = Saved();
    ASSERT_EQ(Run("undo"), "1");
    const int redo = Ccp()->GetRedoStepCount();
    ASSERT_GT(redo, 0);
    const std::string undone = Saved();
    m_app->Server()->setCommitFault([] { return true; });
    EXPECT_EQ(Run("deleteConnection pin PGOOD:C10"), "0");
    m_app->Server()->setCommitFault(nullptr);
    EXPECT_EQ(Saved(), undone);
    EXPECT_EQ(Ccp()->GetRedoStepCount(), redo);
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Saved(), terminated);
}

} // namespace
