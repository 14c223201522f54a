#include "gridtest.h"

namespace {
// A command that puts a value back, as a grid kind's own command would; it reports through a counter.
struct ValueCmd : CGXCommand {
    ROWCOL row, col;
    CString value;
    BOOL result;
    static int executed;
    ValueCmd(ROWCOL r, ROWCOL c, const char* v, BOOL res = TRUE) : row(r), col(c), value(v), result(res) { SetName("value"); }
    BOOL Execute(CGXGridCore* pGrid, GXCmdType type) override
    {
        ++executed;
        CString now = pGrid->GetValueRowCol(row, col);
        pGrid->GetParam()->EnableUndo(FALSE);
        pGrid->SetValueRange(CGXRange(row, col), value);
        pGrid->GetParam()->EnableUndo(TRUE);
        pGrid->AddCommand(new ValueCmd(row, col, now, result), type);
        return result;
    }
};
int ValueCmd::executed = 0;

TestGrid* UndoGrid()
{
    auto* g = new TestGrid(10, 4);
    g->GetParam()->EnableUndo(TRUE);
    return g;
}
} // namespace

TEST(GridUndo, StyleChangesUndoAndRedo)
{
    std::unique_ptr<TestGrid> g(UndoGrid());
    g->Put(1, 1, "a");
    g->Put(1, 1, "b");
    EXPECT_EQ(g->GetParam()->GetUndoList()->GetCount(), 2);
    ASSERT_TRUE(g->Undo());
    EXPECT_EQ(g->Value(1, 1), "a");
    ASSERT_TRUE(g->Undo());
    EXPECT_EQ(g->Value(1, 1), "");
    EXPECT_EQ(g->GetData()->GetStoredCellCount(), 0u);
    EXPECT_FALSE(g->CanUndo());
    EXPECT_FALSE(g->Undo());
    ASSERT_TRUE(g->Redo());
    ASSERT_TRUE(g->Redo());
    EXPECT_EQ(g->Value(1, 1), "b");
    EXPECT_FALSE(g->CanRedo());
    // A new change after an undo empties the redo list.
    g->Undo();
    EXPECT_TRUE(g->CanRedo());
    g->Put(2, 2, "c");
    EXPECT_FALSE(g->CanRedo());
}

TEST(GridUndo, UndoRestoresReadOnlyCellsAndNothingIsRecordedWhenOff)
{
    std::unique_ptr<TestGrid> g(UndoGrid());
    g->SetStyleRange(CGXRange(3, 3), CGXStyle().SetValue("ro").SetReadOnly(TRUE));
    g->Undo();
    EXPECT_EQ(g->Value(3, 3), "");
    g->Redo();
    EXPECT_EQ(g->Value(3, 3), "ro");
    EXPECT_TRUE(g->IsCellReadOnly(3, 3));

    g->GetParam()->GetUndoList()->RemoveAll();
    g->GetParam()->EnableUndo(FALSE);
    g->Put(1, 1, "x");
    g->HideRows(2, 2);
    g->InsertRows(1, 1);
    EXPECT_FALSE(g->CanUndo());
}

TEST(GridUndo, TransactionsGroupAndRollBack)
{
    std::unique_ptr<TestGrid> g(UndoGrid());
    g->BeginTrans("Edit two");
    g->Put(1, 1, "one");
    g->BeginTrans("inner");
    g->Put(1, 2, "two");
    g->CommitTrans();
    EXPECT_FALSE(g->CanUndo()); // nothing is undoable while a transaction is open
    g->CommitTrans();
    ASSERT_EQ(g->GetParam()->GetUndoList()->GetCount(), 1);
    EXPECT_STREQ(g->GetParam()->GetUndoList()->GetTail()->GetName(), "Edit two");
    g->Undo();
    EXPECT_EQ(g->Value(1, 1), "");
    EXPECT_EQ(g->Value(1, 2), "");
    g->Redo();
    EXPECT_EQ(g->Value(1, 1), "one");
    EXPECT_EQ(g->Value(1, 2), "two");

    g->BeginTrans("discard");
    g->Put(1, 1, "changed");
    g->HideRows(4, 5);
    g->Rollback();
    EXPECT_EQ(g->Value(1, 1), "one");
    EXPECT_FALSE(g->IsRowHidden(4));
    EXPECT_EQ(g->GetParam()->GetUndoList()->GetCount(), 1); // the rolled back work left nothing behind
    EXPECT_EQ(g->GetParam()->GetRedoList()->GetCount(), 0);

    g->BeginTrans("empty");
    g->CommitTrans();
    EXPECT_EQ(g->GetParam()->GetUndoList()->GetCount(), 1);
}

TEST(GridUndo, RowsHidingSizesCoveringAndMoving)
{
    std::unique_ptr<TestGrid> g(UndoGrid());
    for (ROWCOL r = 1; r <= 10; ++r) {
        CString v;
        v.Format("r%u", r);
        g->SetValueRange(CGXRange(r, 1), v);
    }
    g->GetParam()->GetUndoList()->RemoveAll();

    g->RemoveRows(3, 4);
    EXPECT_EQ(g->Value(3, 1), "r5");
    g->Undo();
    EXPECT_EQ(g->Value(3, 1), "r3");
    EXPECT_EQ(g->Value(4, 1), "r4");
    EXPECT_EQ(g->GetRowCount(), 10u);
    g->Redo();
    EXPECT_EQ(g->GetRowCount(), 8u);
    g->Undo();

    g->InsertRows(2, 3);
    g->Undo();
    EXPECT_EQ(g->GetRowCount(), 10u);
    EXPECT_EQ(g->Value(2, 1), "r2");

    g->HideRows(2, 4, TRUE);
    g->HideRows(3, 3, FALSE);
    g->Undo();
    EXPECT_TRUE(g->IsRowHidden(3));
    g->Undo();
    EXPECT_FALSE(g->IsRowHidden(2));
    EXPECT_FALSE(g->IsRowHidden(4));

    g->SetColWidth(1, 1, 123);
    g->Undo();
    EXPECT_EQ(g->GetColWidth(1), GX_DEFAULT_COL_WIDTH);

    g->SetCoveredCellsRowCol(1, 1, 2, 2);
    g->Undo();
    CGXRange r;
    EXPECT_EQ(g->GetCoveredCellsRowCol(1, 1, r), nullptr);

    g->MoveRows(1, 2, 5);
    EXPECT_EQ(g->Value(5, 1), "r1");
    g->Undo();
    EXPECT_EQ(g->Value(1, 1), "r1");
    EXPECT_EQ(g->Value(5, 1), "r5");
    g->ExpectConsistent();
}

// A command whose Execute returns FALSE leaves its list and is deleted; what it recorded stays, so
// it can still be redone. Undo reports the FALSE.
TEST(GridUndo, CommandReturningFalse)
{
    std::unique_ptr<TestGrid> g(UndoGrid());
    ValueCmd::executed = 0;
    g->Put(1, 1, "new");
    g->GetParam()->GetUndoList()->RemoveAll();
    g->AddCommand(new ValueCmd(1, 1, "old", FALSE), gxDo);
    EXPECT_FALSE(g->Undo());
    EXPECT_EQ(g->Value(1, 1), "old");
    EXPECT_FALSE(g->CanUndo());
    ASSERT_TRUE(g->CanRedo());
    EXPECT_FALSE(g->Redo());
    EXPECT_EQ(g->Value(1, 1), "new");
    EXPECT_EQ(ValueCmd::executed, 2);
    // Commands added for the opposite direction go to the matching list.
    g->AddCommand(new ValueCmd(1, 1, "x"), gxUndo);
    EXPECT_TRUE(g->CanRedo());
    g->AddCommand(new ValueCmd(1, 1, "x"), gxRollback); // dropped
    g->AddCommand(nullptr, gxDo);                          // ignored
}

TEST(GridUndo, ShrinkingTheRowCountCanBeUndone)
{
    std::unique_ptr<TestGrid> g(UndoGrid());
    g->Put(9, 1, "last");
    g->HideRows(8, 8);
    g->SetRowCount(5);
    EXPECT_EQ(g->GetRowCount(), 5u);
    g->Undo();
    EXPECT_EQ(g->GetRowCount(), 10u);
    EXPECT_EQ(g->Value(9, 1), "last");
    EXPECT_TRUE(g->IsRowHidden(8));
    g->SetRowCount(12);
    g->Undo();
    EXPECT_EQ(g->GetRowCount(), 10u);
    g->ExpectConsistent();
}

TEST(GridUndo, RemovedColumnsComeBackWithTheirCells)
{
    std::unique_ptr<TestGrid> g(UndoGrid());
    g->Put(2, 2, "b");
    g->Put(3, 3, "c");
    g->Put(3, 4, "d");
    g->SetStyleRange(CGXRange().SetCols(3), CGXStyle().SetTextColor(RGB(5, 5, 5)));
    g->SetColWidth(3, 3, 99);
    g->HideCols(2, 2);
    g->RemoveCols(2, 3);
    EXPECT_EQ(g->GetColCount(), 2u);
    EXPECT_EQ(g->Value(3, 2), "d");
    g->Undo();
    EXPECT_EQ(g->GetColCount(), 4u);
    EXPECT_EQ(g->Value(2, 2), "b");
    EXPECT_EQ(g->Value(3, 3), "c");
    EXPECT_EQ(g->Value(3, 4), "d");
    EXPECT_TRUE(g->IsColHidden(2));
    EXPECT_EQ(g->GetColWidth(3), 99);
    EXPECT_EQ(g->LookupStyleRowCol(5, 3).GetTextColor(), RGB(5, 5, 5));
    g->Redo();
    EXPECT_EQ(g->GetColCount(), 2u);
    g->Undo();
    g->SetColCount(1);
    g->Undo();
    EXPECT_EQ(g->Value(3, 4), "d");
    g->ExpectConsistent();
}

TEST(GridUndo, UndoLimitDropsTheOldest)
{
    std::unique_ptr<TestGrid> g(UndoGrid());
    g->GetParam()->SetUndoLimit(3);
    for (int i = 0; i < 5; ++i)
        g->Put(1, 1, i % 2 ? "a" : "b");
    EXPECT_EQ(g->GetParam()->GetUndoList()->GetCount(), 3);
}
