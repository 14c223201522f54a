// The pin grid inside a design window: set up on the connectivity pane, fed by
// the message server when a transaction is committed.
#include "KXShellFixture.h"

#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableChildFrm.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxnotes/CComments.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <memory>

namespace {

using G = CKXInstanceDetailsGridWnd;

class PinGridInWindow : public KXShellFixture {
protected:
    void Show(int mode) {
        ASSERT_TRUE(Open("work.board:sch", mode));
        design = CDesignContext(CKXShareGlobalData::m_pServer, "work.board:sch");
        ASSERT_TRUE(design);
        grid = std::make_unique<G>();
        grid->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 400), Ccp(), 9100);
        grid->InitializeGrid(Ccp(), design, design, 0);
        ASSERT_TRUE(grid->LoadComponentPins(design, design.instance("U1"), FALSE));
    }
    void TearDown() override {
        grid.reset();
        KXShellFixture::TearDown();
    }
    ROWCOL Row(const char* pin) {
        for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r)
            if (grid->GetValueRowCol(r, static_cast<ROWCOL>(G::m_nColPinName)) == pin) return r;
        return 0;
    }
    CDesignContext design;
    std::unique_ptr<G> grid;
};

TEST_F(PinGridInWindow, ACommittedTransactionReachesTheGrid) {
    Show(1);
    EXPECT_EQ(grid->GetOwnerPane(), Ccp());
    const ROWCOL out = Row("OUT");
    ASSERT_NE(out, 0u);
    EXPECT_EQ(grid->GetValueRowCol(out, static_cast<ROWCOL>(G::m_nColSignal)), "N1");
    // An edit made elsewhere, committed through the grid transaction of another grid.
    CKXGridWnd other;
    other.Create(WS_CHILD, CRect(0, 0, 10, 10), Ccp(), 9101);
    ASSERT_TRUE(CKXTransaction::BeginTrans(&other, design, "Delete Connections"));
    IInstTerm* pin = design.instance("U1").instance()->findInstTerm("OUT");
    const unsigned whole = static_cast<unsigned>(-1);
    ASSERT_TRUE(CKXTransaction::GetCurrentTransactionObj()->removeConn(design.design()->findNet("N1"), whole,
                                                                       whole, pin, whole, whole));
    ASSERT_TRUE(CKXTransaction::CommitTrans(&other, 1, 1));
    EXPECT_EQ(grid->GetValueRowCol(out, static_cast<ROWCOL>(G::m_nColSignal)), "");
    // The refresh leaves no undo step of its own in the grid.
    EXPECT_FALSE(grid->CanUndo());
}

TEST_F(PinGridInWindow, ReadOnlyDesignHasReadOnlyPinRows) {
    Show(2);
    const ROWCOL in = Row("IN");
    ASSERT_NE(in, 0u);
    EXPECT_TRUE(grid->IsCellReadOnly(in, static_cast<ROWCOL>(G::m_nColSignal)));
}

TEST_F(PinGridInWindow, CommentsAreInsertedModifiedDeletedAndUndone) {
    Show(1);
    CComments* store = Ccp()->GetCommentStore();
    ASSERT_NE(store, nullptr);
    const ROWCOL in = Row("IN");
    ASSERT_NE(in, 0u);
    const ROWCOL comments = static_cast<ROWCOL>(G::m_nColComments);
    grid->SetCurrentCell(in, static_cast<ROWCOL>(G::m_nColPinName));
    EXPECT_TRUE(grid->CanInsertComment());
    EXPECT_FALSE(grid->CanDeleteComment());
    EXPECT_FALSE(grid->CanEditComment());
    const int steps = Ccp()->GetUndoStepCount();

    grid->InsertComment("  check the level  ", 0);
    CString text, date, time, user;
    ASSERT_TRUE(store->getPinComments("U1", "IN", text, date, time, user));
    EXPECT_EQ(text, "check the level");
    CGXStyle cell;
    grid->GetStyleRowCol(in, comments, cell);
    EXPECT_EQ(cell.GetControl(), static_cast<WORD>(IDS_CTRL_COMMENTS_ICON));
    EXPECT_EQ(cell.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)), "check the level");
    EXPECT_EQ(cell.GetUserAttributeText(static_cast<WORD>(IDS_UA_CELLTIP_TITLE)),
              user + "," + date + "  " + time);
    EXPECT_FALSE(grid->CanInsertComment());
    EXPECT_TRUE(grid->CanEditComment());
    EXPECT_TRUE(grid->CanDeleteComment());
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());

    // Undo takes the comment away again.
    ASSERT_TRUE(Ccp()->PerformUndo());
    EXPECT_FALSE(store->getPinComments("U1", "IN", text, date, time, user));

    // A blank modification removes a comment; a delete of a pin without one is harmless.
    grid->InsertComment("x", 0);
    grid->EditComment("   ", 0);
    EXPECT_FALSE(store->getPinComments("U1", "IN", text, date, time, user));
    grid->GetStyleRowCol(in, comments, cell);
    EXPECT_EQ(cell.GetControl(), static_cast<WORD>(IDS_CTRL_STATIC_TEXT));
    grid->InsertComment("y", 0);
    grid->DeleteComment();
    EXPECT_FALSE(store->getPinComments("U1", "IN", text, date, time, user));
    // Undoing the delete brings the text back.
    ASSERT_TRUE(Ccp()->PerformUndo());
    ASSERT_TRUE(store->getPinComments("U1", "IN", text, date, time, user));
    EXPECT_EQ(text, "y");

    // A stored comment is shown again when the grid loads the instance afresh; a pin without one
    // shows an empty, read-only cell.
    ASSERT_TRUE(grid->LoadComponentPins(design, design.instance("U1"), FALSE));
    grid->GetStyleRowCol(Row("IN"), comments, cell);
    EXPECT_EQ(cell.GetControl(), static_cast<WORD>(IDS_CTRL_COMMENTS_ICON));
    EXPECT_EQ(cell.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)), "y");
    grid->GetStyleRowCol(Row("OUT"), comments, cell);
    EXPECT_EQ(cell.GetControl(), static_cast<WORD>(IDS_CTRL_STATIC_TEXT));
    EXPECT_TRUE(grid->IsCellReadOnly(Row("OUT"), comments));
}

// A blank edit over several pins takes away the comments some have and gives the others none (not an
// empty one, which would count as a comment); an insert over a comment is undone to that comment.
TEST_F(PinGridInWindow, ABlankEditOverSeveralPinsLeavesNoEmptyComment) {
    Show(1);
    CComments* store = Ccp()->GetCommentStore();
    ASSERT_NE(store, nullptr);
    const ROWCOL in = Row("IN"), out = Row("OUT");
    ASSERT_NE(in, 0u);
    ASSERT_NE(out, 0u);
    grid->SetCurrentCell(in, static_cast<ROWCOL>(G::m_nColPinName));
    grid->InsertComment("level", 0);
    CString text, date, time, user;
    grid->InsertComment("edge", 0);
    ASSERT_TRUE(Ccp()->PerformUndo());
    ASSERT_TRUE(store->getPinComments("U1", "IN", text, date, time, user));
    EXPECT_EQ(text, "level");

    grid->SelectRange(CGXRange().SetRows(std::min(in, out), std::max(in, out)), TRUE);
    grid->EditComment("  ", 0);
    EXPECT_FALSE(store->getPinComments("U1", "IN", text, date, time, user));
    EXPECT_FALSE(store->getPinComments("U1", "OUT", text, date, time, user));
    ASSERT_TRUE(Ccp()->PerformUndo());
    ASSERT_TRUE(store->getPinComments("U1", "IN", text, date, time, user));
    EXPECT_EQ(text, "level");
    EXPECT_FALSE(store->getPinComments("U1", "OUT", text, date, time, user));
}

TEST_F(PinGridInWindow, TheSameCommentAgainIsNoStepOfItsOwn) {
    Show(1);
    CComments* store = Ccp()->GetCommentStore();
    ASSERT_NE(store, nullptr);
    const ROWCOL in = Row("IN");
    ASSERT_NE(in, 0u);
    grid->SetCurrentCell(in, static_cast<ROWCOL>(G::m_nColPinName));
    grid->InsertComment("level", 0);
    grid->EditComment("level", 0);
    // One undo takes back the insert: the unchanged text left nothing to undo.
    ASSERT_TRUE(Ccp()->PerformUndo());
    CString text, date, time, user;
    EXPECT_FALSE(store->getPinComments("U1", "IN", text, date, time, user));
}

TEST_F(PinGridInWindow, CommentKeysOfPairAndImplicitRows) {
    Show(1);
    const ROWCOL in = Row("IN");
    EXPECT_EQ(grid->GetCommentPinKey(in), "IN");
    grid->GetParam()->SetLockReadOnly(FALSE);
    const ROWCOL pn = static_cast<ROWCOL>(G::m_nColPinName);
    grid->SetStyleRange(CGXRange(in, pn),
                        CGXStyle()
                            .SetUserAttribute(static_cast<WORD>(IDS_UA_DIFFPAIR_ROW), 1)
                            .SetUserAttribute(static_cast<WORD>(IDS_UA_DIFFPAIR_CONN_ID), 42));
    EXPECT_EQ(grid->GetCommentPinKey(in), "42");
    grid->SetStyleRange(CGXRange(in, pn),
                        CGXStyle().SetUserAttribute(static_cast<WORD>(IDS_UA_IMPLICIT_POWER_PIN), "1"));
    grid->SetValueRange(CGXRange(in, static_cast<ROWCOL>(G::m_nColPinNumber)), "A7");
    EXPECT_EQ(grid->GetCommentPinKey(in), "IN_A7");
    // Moving a comment to new keys, as the host's rename asks, keeps its stamp; without its undo flag
    // the move is no step.
    CComments* store = Ccp()->GetCommentStore();
    ASSERT_TRUE(store->addPinComments("U1", "OLD", "t", "d", "h", "u"));
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,OLD:U2,NEW 0"), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    CString text, date, time, user;
    ASSERT_TRUE(store->getPinComments("U2", "NEW", text, date, time, user));
    EXPECT_EQ(date, "d");
    EXPECT_FALSE(store->getPinComments("U1", "OLD", text, date, time, user));
    EXPECT_EQ(Run("kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,OLD:U2,NEW 0"), "0");
}

// A move with undo is one entry of one step: its undo gives back both keys as they were, stamps
// included, the comment the target had too.
TEST_F(PinGridInWindow, AnUndoableCommentMoveIsOneStepThatGivesBothKeysBack) {
    Show(1);
    CComments* store = Ccp()->GetCommentStore();
    ASSERT_TRUE(store->addPinComments("U1", "OLD", "t", "d", "h", "u"));
    ASSERT_TRUE(store->addPinComments("U2", "NEW", "mine", "d2", "h2", "u2"));
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Run("kx::notify INT_MSG_PRESERVE_PIN_COMMENT U1,OLD:U2,NEW 1"), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    CString text, date, time, user;
    ASSERT_TRUE(store->getPinComments("U2", "NEW", text, date, time, user));
    EXPECT_EQ(text + date, "td");
    ASSERT_TRUE(Ccp()->PerformUndo());
    ASSERT_TRUE(store->getPinComments("U1", "OLD", text, date, time, user));
    EXPECT_EQ(text + date + time + user, "tdhu");
    ASSERT_TRUE(store->getPinComments("U2", "NEW", text, date, time, user));
    EXPECT_EQ(text + date, "mined2");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

} // namespace

namespace {

// A comment edit needs its own step: while another edit's transaction is open it changes nothing.
TEST_F(PinGridInWindow, CommentEditRefusedWhileAnotherTransactionIsOpen) {
    Show(1);
    CComments* store = Ccp()->GetCommentStore();
    ASSERT_NE(store, nullptr);
    const ROWCOL in = Row("IN");
    ASSERT_NE(in, 0u);
    grid->SetCurrentCell(in, static_cast<ROWCOL>(G::m_nColPinName));
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_TRUE(CKXTransaction::BeginTrans(Ccp()->PaneGrid(), design, "Other"));
    grid->InsertComment("held back", 0);
    CString text, date, time, user;
    EXPECT_FALSE(store->getPinComments("U1", "IN", text, date, time, user));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(CKXTransaction::GetTransactionName(), "Other"); // the other edit's transaction is untouched
    CKXTransaction::DiscardTrans(Ccp()->PaneGrid());
    grid->InsertComment("now", 0);
    EXPECT_TRUE(store->getPinComments("U1", "IN", text, date, time, user));
}

} // namespace

namespace {

std::string Bars(CWnd& w) {
    return std::string(w.IsScrollBarShown(SB_VERT) ? "1" : "0") + (w.IsScrollBarShown(SB_HORZ) ? "1" : "0");
}

} // namespace

// Painting takes away the scroll bars the pin grid does not use: the horizontal one always, the
// vertical one while the grid scrolls together with the pane's other grids.
TEST_F(PinGridInWindow, PaintingHidesTheScrollBarsTheGridDoesNotUse) {
    Show(1);
    grid->ShowScrollBar(SB_BOTH, TRUE);
    grid->SendMessage(WM_PAINT, 0, 0);
    EXPECT_EQ(Bars(*grid), "10");
    grid->m_bSyncWithPane = TRUE;
    grid->ShowScrollBar(SB_BOTH, TRUE);
    grid->SendMessage(WM_PAINT, 0, 0);
    EXPECT_EQ(Bars(*grid), "00");
    // Back on its own, the grid keeps the vertical bar the pane gives it again.
    grid->m_bSyncWithPane = FALSE;
    grid->ShowScrollBar(SB_VERT, TRUE);
    grid->SendMessage(WM_PAINT, 0, 0);
    EXPECT_EQ(Bars(*grid), "10");
}

// Outside a pane nothing scrolls the grid along with others: it keeps its vertical bar.
TEST_F(PinGridInWindow, AGridOutsideAPaneKeepsItsVerticalScrollBar) {
    Show(1);
    G alone;
    alone.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 9102);
    alone.InitializeGrid(nullptr, design, design, 0);
    ASSERT_EQ(alone.GetOwnerPane(), nullptr);
    alone.m_bSyncWithPane = TRUE;
    alone.SendMessage(WM_PAINT, 0, 0);
    EXPECT_EQ(Bars(alone), "10");
}
