#include "gridtest.h"
#include <climits>

namespace {
std::vector<ROWCOL> Rows(TestGrid& g, BOOL rangeRowsOnly, BOOL useCurrent)
{
    CRowColArray a;
    g.GetSelectedRows(a, rangeRowsOnly, useCurrent);
    return a.vec();
}
} // namespace

TEST(GridSelect, RowColArrayRefusesRemovalsPastTheEnd)
{
    CRowColArray a;
    a.Add(1);
    a.Add(2);
    EXPECT_THROW(a.RemoveAt(1, 2), CInvalidArgException);
    EXPECT_THROW(a.RemoveAt(1, INT_MAX), CInvalidArgException);
    EXPECT_EQ(a.GetSize(), 2);
}

TEST(GridSelect, SelectedRowsWithAndWithoutTheCurrentCell)
{
    TestGrid g(20, 4);
    EXPECT_TRUE(Rows(g, FALSE, TRUE).empty()); // nothing selected, no current cell
    g.SetCurrentCell(7, 2);
    EXPECT_EQ(Rows(g, FALSE, TRUE), std::vector<ROWCOL>{7});
    EXPECT_TRUE(Rows(g, FALSE, FALSE).empty());

    g.SelectRange(CGXRange(3, 1, 4, 2));
    g.SelectRange(CGXRange().SetRows(9, 10));
    g.SelectRange(CGXRange(4, 3)); // overlaps row 4: listed once
    EXPECT_EQ(Rows(g, FALSE, TRUE), (std::vector<ROWCOL>{3, 4, 9, 10})); // the current cell no longer counts
    EXPECT_EQ(Rows(g, TRUE, FALSE), (std::vector<ROWCOL>{9, 10}));

    CRowColArray starts, ends;
    ASSERT_TRUE(g.GetSelectedRows(starts, ends, FALSE, TRUE));
    EXPECT_EQ(starts.vec(), (std::vector<ROWCOL>{3, 9}));
    EXPECT_EQ(ends.vec(), (std::vector<ROWCOL>{4, 10}));

    CRowColArray cols;
    g.GetSelectedCols(cols, FALSE, FALSE);
    EXPECT_EQ(cols.vec(), (std::vector<ROWCOL>{1, 2, 3}));
    g.ExpectConsistent();
}

TEST(GridSelect, DeselectingSplitsRanges)
{
    TestGrid g(10, 5);
    g.SelectRange(CGXRange(2, 1, 6, 5));
    g.SelectRange(CGXRange(4, 3), FALSE);
    EXPECT_FALSE(g.IsCellSelected(4, 3));
    for (ROWCOL r = 2; r <= 6; ++r)
        for (ROWCOL c = 1; c <= 5; ++c)
            if (r != 4 || c != 3) {
                EXPECT_TRUE(g.IsCellSelected(r, c)) << r << "," << c;
            }
    // Deselecting all rows leaves nothing.
    g.SelectRange(CGXRange().SetRows(0, g.GetRowCount()), FALSE, TRUE);
    EXPECT_TRUE(g.GetParam()->GetRangeList()->IsEmpty());
    g.ExpectConsistent();
}

TEST(GridSelect, CopyRangeListAndSetSelection)
{
    TestGrid g(10, 5);
    CGXRangeList list;
    EXPECT_FALSE(g.CopyRangeList(list, TRUE));
    g.SetCurrentCell(3, 3);
    ASSERT_TRUE(g.CopyRangeList(list, TRUE));
    EXPECT_EQ(*list.GetHead(), CGXRange(3, 3));
    EXPECT_FALSE(g.CopyRangeList(list, FALSE));

    g.SelectRange(CGXRange(1, 1, 2, 2));
    g.SelectRange(CGXRange(5, 1, 5, 1));
    POSITION pos = g.GetParam()->GetRangeList()->GetHeadPosition();
    g.SetSelection(pos, 1, 1, 1, 1); // shrink the first range
    EXPECT_FALSE(g.IsCellSelected(2, 2));
    g.SetSelection(g.GetParam()->GetRangeList()->GetTailPosition(), 0, 0, 0, 0); // remove the last
    EXPECT_EQ(g.GetParam()->GetRangeList()->GetCount(), 1);
    g.SetSelection(nullptr);
    EXPECT_TRUE(g.GetParam()->GetRangeList()->IsEmpty());
}

TEST(GridSelect, RangeListPositionsSurviveRemovalOfOthers)
{
    CGXRangeList l;
    POSITION a = l.AddTail(CGXRange(1, 1));
    POSITION b = l.AddTail(CGXRange(2, 2));
    POSITION c = l.AddTail(CGXRange(3, 3));
    POSITION pos = a;
    l.GetNext(pos); // pos -> b
    l.RemoveAt(a);
    EXPECT_EQ(pos, b);
    EXPECT_EQ(*l.GetAt(b), CGXRange(2, 2));
    l.RemoveAt(c);
    EXPECT_EQ(l.GetCount(), 1);
    EXPECT_EQ(l.FindRange(2, 2), b);
    CGXRangeList copy(l);
    l.DeleteAll();
    EXPECT_EQ(copy.GetCount(), 1);
}

TEST(GridSelect, SelectionFollowsRowInsertAndRemove)
{
    TestGrid g(20, 3);
    g.SelectRange(CGXRange(5, 1, 8, 3));
    g.InsertRows(2, 3);
    EXPECT_TRUE(g.IsCellSelected(8, 1));
    EXPECT_FALSE(g.IsCellSelected(7, 1));
    g.RemoveRows(9, 10); // removes two selected rows from the middle
    std::vector<ROWCOL> rows;
    CRowColArray a;
    g.GetSelectedRows(a, FALSE, FALSE);
    EXPECT_EQ(a.vec(), (std::vector<ROWCOL>{8, 9}));
    g.RemoveRows(8, 9);
    EXPECT_TRUE(g.GetParam()->GetRangeList()->IsEmpty());
    g.ExpectConsistent();
}

TEST(GridSelect, CurrentCellRules)
{
    TestGrid g(10, 5);
    EXPECT_FALSE(g.SetCurrentCell(11, 1));
    g.HideRows(4, 4);
    EXPECT_FALSE(g.SetCurrentCell(4, 1));
    ASSERT_TRUE(g.SetCurrentCell(3, 1));
    ASSERT_TRUE(g.MoveCurrentCell(GX_DOWN)); // skips the hidden row
    ROWCOL r, c;
    g.GetCurrentCell(r, c);
    EXPECT_EQ(r, 5u);
    ASSERT_TRUE(g.MoveCurrentCell(GX_BOTTOMRIGHT));
    g.GetCurrentCell(r, c);
    EXPECT_EQ(r, 10u);
    EXPECT_EQ(c, 5u);
    EXPECT_FALSE(g.MoveCurrentCell(GX_DOWN)); // nowhere to go
    ASSERT_TRUE(g.MoveCurrentCell(GX_TOPLEFT));
    g.GetCurrentCell(r, c);
    EXPECT_EQ(r, 1u);
    EXPECT_EQ(c, 1u);
    EXPECT_FALSE(g.MoveCurrentCell(GX_UP)); // the header row is not a place for the current cell
    ASSERT_TRUE(g.SetCurrentCell(GX_INVALID, GX_INVALID, GX_SMART | GX_SCROLLINVIEW));
    EXPECT_FALSE(g.IsCurrentCell());
    // Removing the current cell's row removes the current cell.
    g.SetCurrentCell(6, 2);
    g.RemoveRows(6, 6);
    EXPECT_FALSE(g.IsCurrentCell());
    g.ExpectConsistent();
}

TEST(GridSelect, ShiftArrowsExtendFromTheAnchor)
{
    KeyStateReset reset;
    TestGrid g(10, 5);
    g.SetCurrentCell(2, 2);
    AfxSetKeyState(VK_SHIFT, TRUE);
    g.ProcessKeys(nullptr, WM_KEYDOWN, VK_DOWN, 1, 0);
    g.ProcessKeys(nullptr, WM_KEYDOWN, VK_RIGHT, 1, 0);
    AfxSetKeyState(VK_SHIFT, FALSE);
    ASSERT_EQ(g.GetParam()->GetRangeList()->GetCount(), 1);
    EXPECT_EQ(*g.GetParam()->GetRangeList()->GetHead(), CGXRange(2, 2, 3, 3));
    g.ExpectConsistent();
}

TEST(GridSelect, ScrollingKeepsTheCurrentCellInView)
{
    TestGrid g(200, 3);
    g.SetGridRect(CRect(0, 0, 300, 10 * GX_DEFAULT_ROW_HEIGHT)); // header + 9 rows
    g.SetCurrentCell(1, 1);
    for (int i = 0; i < 20; ++i)
        g.MoveCurrentCell(GX_DOWN);
    ROWCOL r, c;
    g.GetCurrentCell(r, c);
    EXPECT_EQ(r, 21u);
    EXPECT_LE(g.GetTopRow(), 21u);
    EXPECT_GE(g.GetLastVisibleRow(), 21u);
    g.MoveCurrentCell(GX_TOP);
    EXPECT_EQ(g.GetTopRow(), 1u);
}

TEST(GridSelect, AJumpScrollsOnce)
{
    TestGrid g(5000, 3);
    g.SetGridRect(CRect(0, 0, 300, 11 * GX_DEFAULT_ROW_HEIGHT)); // header + 10 rows
    g.SetCurrentCell(1, 1);
    g.log.clear();
    ASSERT_TRUE(g.SetCurrentCell(4000, 1));
    int changes = 0;
    for (const auto& l : g.log)
        changes += l.rfind("top ", 0) == 0;
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(g.GetTopRow(), 3991u); // row 4000 is the last fully shown row
    EXPECT_FALSE(g.CalcRectFromRowCol(4000, 1).IsRectEmpty());
}
