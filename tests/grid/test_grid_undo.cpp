#include "GridTestSupport.h"

#include "grid/KXGridUndo.h"

#include <gtest/gtest.h>

namespace {

// Data rows 6..8 with column 1 "B, C, A" and column 2 "2, 1, 3"; the header
// rows are the grid's header area so that a click on row 2 is a header click.
class GridSort : public ::testing::Test {
protected:
    void SetUp() override {
        AfxResetKeyState();
        SetUpGrid(grid, 3, 2);
        grid.SetFrozenRows(5, 5);
        const char* col1[] = {"B", "C", "A"};
        const char* col2[] = {"2", "1", "3"};
        for (ROWCOL i = 0; i < 3; ++i) {
            grid.SetValueRange(CGXRange(6 + i, 1), col1[i]);
            grid.SetValueRange(CGXRange(6 + i, 2), col2[i]);
        }
        grid.GetParam()->GetUndoList()->RemoveAll();
    }

    CString Column(ROWCOL col) {
        CString s;
        for (ROWCOL r = 6; r <= 8; ++r)
            s += grid.GetValueRowCol(r, col);
        return s;
    }

    void ClickHeader(ROWCOL col) {
        const CRect rect = grid.CalcRectFromRowCol(2, col);
        const CPoint pt(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2);
        grid.OnLButtonDown(0, pt);
        grid.OnLButtonUp(0, pt);
    }

    CRecordingGrid grid;
};

} // namespace

TEST_F(GridSort, HeaderClickSortsAscendingThenDescending) {
    ClickHeader(1);
    EXPECT_EQ(Column(1), "ABC");
    EXPECT_EQ(grid.GetSortColumn(), 1);
    EXPECT_TRUE(grid.IsSortAscending());
    ClickHeader(1);
    EXPECT_EQ(Column(1), "CBA");
    EXPECT_FALSE(grid.IsSortAscending());
}

TEST_F(GridSort, ReleaseWithoutPressInTheGridDoesNotSort) {
    const CRect rect = grid.CalcRectFromRowCol(2, 1);
    grid.OnLButtonUp(0, CPoint(rect.left + 2, rect.top + 2));
    EXPECT_EQ(Column(1), "BCA");
    EXPECT_TRUE(grid.sortedColumns.empty());
}

TEST_F(GridSort, UndoReturnsToThePreviousColumnAndOrder) {
    ClickHeader(1); // A ascending
    ClickHeader(2); // B ascending
    EXPECT_EQ(Column(2), "123");
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(grid.GetSortColumn(), 1);
    EXPECT_TRUE(grid.IsSortAscending());
    EXPECT_EQ(Column(1), "ABC");

    ClickHeader(1); // descending
    ClickHeader(2);
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(grid.GetSortColumn(), 1);
    EXPECT_FALSE(grid.IsSortAscending());
    EXPECT_EQ(Column(1), "CBA");
}

TEST_F(GridSort, UndoOfAFlipFlipsBack) {
    ClickHeader(1);
    ClickHeader(1);
    ASSERT_TRUE(grid.Undo());
    EXPECT_TRUE(grid.IsSortAscending());
    EXPECT_EQ(Column(1), "ABC");
}

TEST_F(GridSort, RedoRestoresTheUndoneSort) {
    ClickHeader(1);
    ClickHeader(2);
    ASSERT_TRUE(grid.Undo());
    ASSERT_TRUE(grid.CanRedo());
    ASSERT_TRUE(grid.Redo());
    EXPECT_EQ(grid.GetSortColumn(), 2);
    EXPECT_TRUE(grid.IsSortAscending());
    EXPECT_EQ(Column(2), "123");
    // And undo again after the redo.
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(grid.GetSortColumn(), 1);
    EXPECT_EQ(Column(1), "ABC");
}

TEST_F(GridSort, UndoOfTheFirstSortLeavesTheGridUnsorted) {
    ClickHeader(2);
    grid.sortedColumns.clear();
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(grid.GetSortColumn(), -1);
    EXPECT_TRUE(grid.sortedColumns.empty()); // never sorted by "column -1"
    ASSERT_TRUE(grid.Redo());
    EXPECT_EQ(grid.GetSortColumn(), 2);
    EXPECT_EQ(Column(2), "123");
}

TEST_F(GridSort, SortKeepsUndoRecordingForLaterCommands) {
    ClickHeader(1);
    EXPECT_TRUE(grid.GetParam()->IsEnableUndo());
    ClickHeader(2);
    EXPECT_EQ(grid.GetParam()->GetUndoList()->GetCount(), 2);
}

TEST(GridUndoCommands, CommentCommandPutsTheOldTextBackAndRecordsTheOpposite) {
    CRecordingGrid grid;
    SetUpGrid(grid);
    grid.GetParam()->GetUndoList()->RemoveAll();
    // An inserted comment: the old text was empty.
    grid.AddCommand(new CKXCommentUndoCmd(&grid, "U1", "A<3>", "", "check level", kKXInsertCommentStep), gxDo);
    ASSERT_TRUE(grid.Undo());
    ASSERT_EQ(grid.comments.size(), 1u);
    EXPECT_EQ(grid.comments[0][0], "U1");
    EXPECT_EQ(grid.comments[0][1], "A<3>");
    EXPECT_EQ(grid.comments[0][2], "check level"); // the text the change produced
    EXPECT_EQ(grid.comments[0][3], "");            // goes back to empty
    ASSERT_TRUE(grid.CanRedo());
    grid.Redo();
    ASSERT_EQ(grid.comments.size(), 2u);
    EXPECT_EQ(grid.comments[1][2], "");
    EXPECT_EQ(grid.comments[1][3], "check level"); // inserted again
    EXPECT_TRUE(grid.CanUndo());
}

TEST(GridUndoCommands, CommandsWithoutAGridDoNothing) {
    CKXCommentUndoCmd comment(nullptr, "U1", "A", "x", "y", kKXEditCommentStep);
    EXPECT_FALSE(comment.Execute(nullptr, gxUndo));
    CKXSortUndoCmd sort(nullptr, 1, TRUE);
    EXPECT_FALSE(sort.Execute(nullptr, gxUndo));
    // Run without a grid to record into, the opposite command is dropped, not leaked.
    CRecordingGrid grid;
    SetUpGrid(grid);
    CKXCommentUndoCmd direct(&grid, "U1", "A", "old", "new", kKXEditCommentStep);
    direct.Execute(nullptr, gxUndo);
    EXPECT_EQ(grid.comments.size(), 1u);
    EXPECT_EQ(comment.GetName(), "Edit Comment"); // a comment step is named by the edit that made it
    EXPECT_EQ(sort.GetName(), "Sort"); // a sort step says what it is
    EXPECT_TRUE(sort.IsKindOf(RUNTIME_CLASS(CKXSortUndoCmd)));
    EXPECT_FALSE(sort.IsKindOf(RUNTIME_CLASS(CKXCommentUndoCmd)));
}

// What a comment or matrix view step names is its keys' own: keys holding quotes or spaces never make
// the name of other keys, or of another kind of entry.
TEST(GridUndoCommands, TouchedNamesOfDifferentKeysDiffer) {
    EXPECT_NE(KXPinCommentObject("U1\" \"A", "B"), KXPinCommentObject("U1", "A\" \"B"));
    EXPECT_NE(KXPinCommentObject("U1", "A"), KXPinCommentObject("U1 A", ""));
    EXPECT_NE(KXMatrixViewObject("v\""), KXMatrixViewObject("v\\"));
    EXPECT_NE(KXMatrixViewObject("x"), KXPinCommentObject("x", ""));
    EXPECT_EQ(KXPinCommentObject("U1", "A"), KXPinCommentObject("U1", "A"));
}
