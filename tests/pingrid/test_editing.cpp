// Keys, in-cell edits, the current cell and the paste judges of the pin grid.
#include "PinGridTestSupport.h"

#include "kxclipboard/CKXImpClipBoard.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

ROWCOL C(int col) {
    return static_cast<ROWCOL>(col);
}

class Editing : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        builder.symbol("PART").port("A").port("B").bus("D", 3, 0);
        builder.schematic("top")
            .instance("U1", "PART", "U7")
            .connect("U1", "A", "N1")
            .connect("U1", "B", "NC")
            .connect("U1", "D<3..0>", "DATA<3..0>");
        Init();
        ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    }
    void TearDown() override {
        if (CKXTransaction::IsTransactionStarted()) CKXTransaction::DiscardTrans(grid.get());
        AfxSetKeyState(VK_SHIFT, FALSE);
        AfxSetKeyState(VK_CONTROL, FALSE);
        G::m_pPasteTarget = nullptr;
    }
    BOOL Key(UINT key) { return grid->ProcessKeys(grid.get(), WM_KEYDOWN, key); }
    bool HasCurrentCell() {
        ROWCOL r = 0, c = 0;
        return grid->GetCurrentCell(r, c) != FALSE;
    }
};

TEST_F(Editing, EndOfAnEditCommitsTheTransactionItsValidationOpened) {
    const ROWCOL a = Row("A");
    ASSERT_NE(a, 0u);
    grid->OnStartEditing(a, C(G::m_nColSignal));
    EXPECT_TRUE(grid->m_bEditing);
    ASSERT_TRUE(CKXTransaction::BeginTrans(grid.get(), design, "Connect"));
    IInstTerm* pin = Instance("U1").instance()->findInstTerm("A");
    const unsigned whole = static_cast<unsigned>(-1);
    ASSERT_TRUE(CKXTransaction::GetCurrentTransactionObj()->removeConn(design.design()->findNet("N1"), whole,
                                                                       whole, pin, whole, whole));
    grid->m_nTransState = 1;
    grid->OnEndEditing(a, C(G::m_nColSignal));
    EXPECT_FALSE(grid->m_bEditing);
    EXPECT_NE(grid->m_nTransState, 1);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_FALSE(grid->m_bCommitting);
    // The committed change reached the row.
    EXPECT_EQ(Cell(a, G::m_nColSignal), "");

    // A deferred commit is the caller's: the transaction stays open.
    grid->OnStartEditing(a, C(G::m_nColSignal));
    ASSERT_TRUE(CKXTransaction::BeginTrans(grid.get(), design, "Connect"));
    grid->m_bDeferCommit = TRUE;
    grid->OnEndEditing(a, C(G::m_nColSignal));
    EXPECT_TRUE(CKXTransaction::IsTransactionStarted());
    grid->m_bDeferCommit = FALSE;
}

TEST_F(Editing, DeleteClearsOnlyTheFilterRow) {
    const ROWCOL a = Row("A");
    grid->SetCurrentCell(a, C(G::m_nColSignal));
    EXPECT_FALSE(grid->OnDeleteCell(a, C(G::m_nColSignal)));
    EXPECT_EQ(Cell(a, G::m_nColSignal), "N1");

    grid->SetValueRange(CGXRange(4, C(G::m_nColPinName)), "A*");
    grid->SetCurrentCell(4, C(G::m_nColPinName));
    grid->OnDeleteCell(4, C(G::m_nColPinName));
    EXPECT_EQ(Cell(4, G::m_nColPinName), "");
}

TEST_F(Editing, TabPastTheLastVisibleColumnLeavesTheGrid) {
    grid->m_bPaneNavigation = TRUE;
    const ROWCOL a = Row("A");
    const ROWCOL last = grid->GetColCount();
    grid->HideCols(last, last);
    EXPECT_EQ(grid->GetLastVisibleColumn(), last - 1);

    // Not yet the last visible column: the common handling moves on.
    grid->SetCurrentCell(a, last - 2);
    Key(VK_TAB);
    EXPECT_TRUE(HasCurrentCell());

    grid->SetCurrentCell(a, last - 1);
    EXPECT_TRUE(Key(VK_TAB));
    EXPECT_FALSE(HasCurrentCell());
    CRowColArray rows;
    EXPECT_EQ(grid->GetSelectedRows(rows, FALSE, FALSE), 0u);

    // Shift+Tab in the first visible column leaves backwards but keeps the cell (Shift is down).
    const ROWCOL first = grid->GetFirstVisibleColumn();
    EXPECT_GT(first, 0u); // never the row header
    EXPECT_GT(grid->GetColWidth(first), 0);
    grid->SetCurrentCell(a, first);
    AfxSetKeyState(VK_SHIFT, TRUE);
    EXPECT_TRUE(Key(VK_TAB));
    EXPECT_TRUE(HasCurrentCell());
}

TEST_F(Editing, EnterOnTheFilterRowAppliesWithoutAnUndoStep) {
    grid->SetCurrentCell(4, C(G::m_nColPinName));
    const BOOL undo = grid->GetParam()->IsEnableUndo();
    EXPECT_TRUE(Key(VK_RETURN));
    EXPECT_EQ(grid->GetParam()->IsEnableUndo(), undo);
    EXPECT_FALSE(grid->CanUndo());
}

TEST_F(Editing, SignalCellStepping) {
    grid->SelectFirstSignalCell();
    ROWCOL r = 0, c = 0;
    ASSERT_TRUE(grid->GetCurrentCell(r, c));
    EXPECT_EQ(r, PIN_FIRST_ROW);
    EXPECT_EQ(c, C(G::m_nColSignal));
    EXPECT_TRUE(grid->SelectNextSignalCell());
    ASSERT_TRUE(grid->GetCurrentCell(r, c));
    EXPECT_EQ(r, PIN_FIRST_ROW + 1);

    grid->HideRows(grid->GetRowCount(), grid->GetRowCount(), FALSE);
    grid->SetCurrentCell(grid->GetRowCount(), C(G::m_nColPinName));
    ASSERT_TRUE(HasCurrentCell());
    EXPECT_FALSE(grid->SelectNextSignalCell());
    EXPECT_FALSE(HasCurrentCell());
    CRowColArray rows;
    EXPECT_EQ(grid->GetSelectedRows(rows, FALSE, FALSE), 0u);
}

TEST_F(Editing, SelectColumnByNameAndExpandPin) {
    const ROWCOL b = Row("B");
    EXPECT_TRUE(grid->SelectColumnByName("B", "termination"));
    ROWCOL r = 0, c = 0;
    ASSERT_TRUE(grid->GetCurrentCell(r, c));
    EXPECT_EQ(r, b);
    EXPECT_EQ(c, C(G::m_nColTermination));
    EXPECT_TRUE(grid->IsCellSelected(b, 1));
    // Pin names compare with case; no match answers FALSE and moves nothing.
    EXPECT_FALSE(grid->SelectColumnByName("b", "Signal"));
    ASSERT_TRUE(grid->GetCurrentCell(r, c));
    EXPECT_EQ(c, C(G::m_nColTermination));

    // A bit of a collapsed vector: its parent opens and the bit's row goes to the top.
    const ROWCOL d = Row("D<3..0>");
    const ROWCOL bit = Row("D<1>");
    ASSERT_TRUE(grid->IsRowHidden(bit));
    grid->ExpandPin("D<1>");
    EXPECT_FALSE(grid->IsRowHidden(bit));
    EXPECT_FALSE(grid->IsRowHidden(d + 1));
    EXPECT_EQ(grid->GetTopRow(), bit);
    ASSERT_TRUE(grid->GetCurrentCell(r, c));
    EXPECT_EQ(r, bit);
    EXPECT_EQ(c, C(G::m_nColPinName));
}

TEST_F(Editing, ConnectableCells) {
    grid->SetCurrentCell(Row("A"), C(G::m_nColSignal));
    EXPECT_TRUE(grid->IsCurrentCellConnectable());
    EXPECT_TRUE(grid->IsCurrentSignalCellFilled());
    grid->SetValueRange(CGXRange(Row("B"), C(G::m_nColSignal)), "nc");
    grid->SetCurrentCell(Row("B"), C(G::m_nColSignal));
    EXPECT_FALSE(grid->IsCurrentCellConnectable());
    grid->SetCurrentCell(Row("B"), C(G::m_nColPinName));
    EXPECT_TRUE(grid->IsCurrentCellConnectable());
    grid->SetCurrentCell(Row("B"), C(G::m_nColPinType));
    EXPECT_FALSE(grid->IsCurrentCellConnectable());
    // The signal cell of the row decides, whatever the column.
    EXPECT_TRUE(grid->IsCurrentSignalCellFilled());
    grid->SetValueRange(CGXRange(Row("B"), C(G::m_nColSignal)), "");
    EXPECT_FALSE(grid->IsCurrentSignalCellFilled());
}

TEST_F(Editing, PasteJudgesFollowTheCurrentColumn) {
    G::m_pPasteTarget = grid.get();
    const ROWCOL a = Row("A");
    auto at = [&](int col) { grid->SetCurrentCell(a, C(col)); };
    at(G::m_nColTermination);
    EXPECT_EQ(G::CanPasteObjectHere(KX_CLIP_TERMINATIONS), grid->CanAddTermination());
    EXPECT_FALSE(G::CanPasteObjectHere(KX_CLIP_PUPD_GROUPS));
    EXPECT_FALSE(G::CanPasteTextHere(KX_CLIP_PLAIN_TEXT));
    at(G::m_nColSignal);
    EXPECT_FALSE(G::CanPasteObjectHere(KX_CLIP_TERMINATIONS));
    EXPECT_TRUE(G::CanPasteObjectHere(KX_CLIP_PLAIN_TEXT));
    EXPECT_TRUE(G::CanPasteTextHere(KX_CLIP_TEXT_OBJECTS));
    at(G::m_nColPinName);
    EXPECT_FALSE(G::CanPasteObjectHere(KX_CLIP_TEXT_OBJECTS));
    EXPECT_FALSE(G::CanPasteTextHere(KX_CLIP_TEXT_OBJECTS));
    at(G::m_nColRefDes);
    EXPECT_TRUE(G::CanPasteObjectHere(KX_CLIP_TEXT_OBJECTS));
    EXPECT_FALSE(G::CanPasteObjectHere(KX_CLIP_PLAIN_TEXT));
    EXPECT_TRUE(G::CanPasteTextHere(KX_CLIP_PUPD_GROUPS));
    grid->SetCurrentCell(4, C(G::m_nColPinName));
    EXPECT_TRUE(G::CanPasteObjectHere(KX_CLIP_PLAIN_TEXT));
    EXPECT_FALSE(G::CanPasteObjectHere(KX_CLIP_TERMINATIONS));
    // Without a target grid nothing can be pasted.
    G::m_pPasteTarget = nullptr;
    EXPECT_FALSE(G::CanPasteTextHere(KX_CLIP_PLAIN_TEXT));
}

TEST_F(Editing, HeaderRowsHitAsCellsAndAutoFitStoresTheWidth) {
    ROWCOL r = GX_INVALID, c = GX_INVALID;
    const CRect rect = grid->CalcRectFromRowCol(0, 1);
    if (!rect.IsRectEmpty()) {
        EXPECT_EQ(grid->HitTest(rect.CenterPoint(), &r, &c), GX_CELLHIT);
        EXPECT_EQ(r, 0u);
    }
    const ROWCOL col = C(G::m_nColSignal);
    grid->SetValueRange(CGXRange(Row("A"), col), "A_VERY_LONG_SIGNAL_NAME_THAT_NEEDS_ROOM_IN_THE_CELL");
    grid->m_bAutoFitPending = TRUE;
    grid->m_nAutoFitColumn = col;
    grid->OnLButtonDblClk(0, CPoint(1, 1));
    EXPECT_FALSE(grid->m_bAutoFitPending);
    EXPECT_EQ(grid->m_nAutoFitColumn, 0u);
    EXPECT_EQ(G::m_arrColumnInfo[col]->m_nWidth, grid->CKXGridWnd::GetColWidth(col));
    EXPECT_GT(G::m_arrColumnInfo[col]->m_nWidth, grid->GetTextWidth("A_VERY_LONG_SIGNAL_NAME"));
}

} // namespace
