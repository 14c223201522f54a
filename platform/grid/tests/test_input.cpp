#include "gridtest.h"

TEST(GridInput, HitTestGeometry)
{
    TestGrid g(50, 5);
    g.SetGridRect(CRect(0, 0, 400, 300));
    g.SetColWidth(0, 0, 30);
    ROWCOL r = 0, c = 0;
    // Row 0 is 19 high and column 0 is 30 wide: (35, 25) is in row 1, column 1.
    EXPECT_EQ(g.HitTest(CPoint(35, 25), &r, &c), GX_CELLHIT);
    EXPECT_EQ(r, 1u);
    EXPECT_EQ(c, 1u);
    EXPECT_EQ(g.HitTest(CPoint(10, 25), &r, &c), GX_HEADERHIT);
    EXPECT_EQ(c, 0u);
    EXPECT_EQ(g.HitTest(CPoint(60, 5), &r, &c), GX_HEADERHIT);
    EXPECT_EQ(r, 0u);
    // The right edge of column 1 lies at x = 30 + 64 = 94.
    EXPECT_EQ(g.HitTest(CPoint(95, 5), &r, &c), GX_VERTLINE);
    EXPECT_EQ(c, 1u);
    EXPECT_EQ(g.HitTest(CPoint(500, 5), &r, &c), GX_NOHIT);
    EXPECT_EQ(g.HitTest(CPoint(399, 25), &r, &c), GX_NOHIT); // right of the last column
    // A hidden column: its edge coincides with its neighbour's and is reported as its own.
    g.HideCols(2, 2);
    EXPECT_EQ(g.HitTest(CPoint(94, 5), &r, &c), GX_VERTLINE);
    EXPECT_EQ(c, 2u);
    EXPECT_EQ(g.HitTest(CPoint(100, 25), &r, &c), GX_CELLHIT);
    EXPECT_EQ(c, 3u);
    // Scrolling moves the cells under the point.
    g.SetTopRow(10);
    EXPECT_EQ(g.HitTest(CPoint(35, 25), &r, &c), GX_CELLHIT);
    EXPECT_EQ(r, 10u);
    EXPECT_TRUE(g.CalcRectFromRowCol(5, 1).IsRectEmpty()); // scrolled out of view
    // A covered range answers with its first cell.
    g.SetCoveredCellsRowCol(10, 3, 11, 4);
    CRect rc = g.CalcRectFromRowColEx(11, 4);
    EXPECT_EQ(rc.Width(), 2 * GX_DEFAULT_COL_WIDTH);
    EXPECT_EQ(rc.Height(), 2 * GX_DEFAULT_ROW_HEIGHT);
    EXPECT_EQ(g.HitTest(CPoint(rc.right - 2, rc.bottom - 2), &r, &c), GX_CELLHIT);
    EXPECT_EQ(r, 10u);
    EXPECT_EQ(c, 3u);
}

TEST(GridInput, ClickMovesTheCurrentCellAndReportsTheClick)
{
    TestGrid g(20, 4);
    g.SelectRange(CGXRange(5, 1, 6, 2));
    CPoint pt = g.CellPoint(3, 2);
    g.DoLButtonDown(0, pt);
    g.DoLButtonUp(0, pt);
    ROWCOL r, c;
    ASSERT_TRUE(g.GetCurrentCell(r, c));
    EXPECT_EQ(r, 3u);
    EXPECT_EQ(c, 2u);
    EXPECT_TRUE(g.Logged("click 3,2"));
    EXPECT_TRUE(g.GetParam()->GetRangeList()->IsEmpty()); // a plain click selects nothing
    // Press and release in different cells is no click.
    g.log.clear();
    g.DoLButtonDown(0, g.CellPoint(4, 1));
    g.DoLButtonUp(0, g.CellPoint(7, 1));
    EXPECT_FALSE(g.Logged("click 4,1"));
    // Right clicks.
    g.DoRButtonDown(0, g.CellPoint(8, 3));
    g.DoRButtonUp(0, g.CellPoint(8, 3));
    EXPECT_TRUE(g.Logged("rclick 8,3"));
}

TEST(GridInput, CtrlClickAddsRangesAndDragSelects)
{
    KeyStateReset reset;
    TestGrid g(20, 4);
    g.DoLButtonDown(0, g.CellPoint(2, 1));
    g.DoMouseMove(MK_LBUTTON, g.CellPoint(4, 1));
    g.DoLButtonUp(0, g.CellPoint(4, 1));
    ASSERT_EQ(g.GetParam()->GetRangeList()->GetCount(), 1);
    EXPECT_EQ(*g.GetParam()->GetRangeList()->GetHead(), CGXRange(2, 1, 4, 1));

    g.DoLButtonDown(MK_CONTROL, g.CellPoint(8, 1));
    g.DoLButtonUp(MK_CONTROL, g.CellPoint(8, 1));
    EXPECT_EQ(g.GetParam()->GetRangeList()->GetCount(), 2);
    EXPECT_EQ(*g.GetParam()->GetRangeList()->GetTail(), CGXRange(8, 1));

    // Shift+click extends from the anchor.
    g.DoLButtonDown(MK_SHIFT, g.CellPoint(10, 2));
    g.DoLButtonUp(MK_SHIFT, g.CellPoint(10, 2));
    EXPECT_TRUE(g.IsCellSelected(9, 2));

    // A refused change leaves the selection as it was.
    g.allowSelectionChange = FALSE;
    g.DoLButtonDown(0, g.CellPoint(12, 1));
    g.DoMouseMove(MK_LBUTTON, g.CellPoint(14, 3));
    EXPECT_TRUE(g.GetParam()->GetRangeList()->IsEmpty());
    g.ExpectConsistent();
}

TEST(GridInput, HeaderClicksSelectWholeRowsAndColumns)
{
    TestGrid g(10, 4);
    g.DoLButtonDown(0, g.CellPoint(0, 3));
    g.DoLButtonUp(0, g.CellPoint(0, 3));
    ASSERT_EQ(g.GetParam()->GetRangeList()->GetCount(), 1);
    EXPECT_TRUE(g.GetParam()->GetRangeList()->GetHead()->IsCols());
    EXPECT_TRUE(g.Logged("click 0,3"));
    g.DoLButtonDown(0, g.CellPoint(6, 0));
    CRowColArray rows;
    g.GetSelectedRows(rows, TRUE, FALSE);
    EXPECT_EQ(rows.vec(), std::vector<ROWCOL>{6});
}

TEST(GridInput, DraggingAColumnEdgeResizesIt)
{
    TestGrid g(10, 4);
    g.SetColWidth(0, 0, 30);
    const int edge = 30 + GX_DEFAULT_COL_WIDTH; // right edge of column 1
    g.DoLButtonDown(0, CPoint(edge, 5));
    EXPECT_TRUE(g.IsTracking());
    g.DoMouseMove(MK_LBUTTON, CPoint(edge + 36, 5));
    g.DoLButtonUp(0, CPoint(edge + 36, 5));
    EXPECT_FALSE(g.IsTracking());
    EXPECT_EQ(g.GetColWidth(1), GX_DEFAULT_COL_WIDTH + 36);
    EXPECT_TRUE(g.Logged("endtrack 1=100 width 100"));

    // A grid that refuses tracking of a column.
    struct NoTrack : TestGrid {
        BOOL OnTrackColWidth(ROWCOL c) override { return c != 2; }
    } n;
    n.SetColWidth(0, 0, 30);
    const int edge2 = 30 + 2 * GX_DEFAULT_COL_WIDTH;
    n.DoLButtonDown(0, CPoint(edge2, 5));
    EXPECT_FALSE(n.IsTracking());
    n.DoMouseMove(MK_LBUTTON, CPoint(edge2 + 20, 5));
    n.DoLButtonUp(0, CPoint(edge2 + 20, 5));
    EXPECT_EQ(n.GetColWidth(2), GX_DEFAULT_COL_WIDTH);
}

TEST(GridInput, DoubleClickStartsEditing)
{
    TestGrid g(10, 4);
    g.SetCurrentCell(2, 2);
    g.DoLButtonDblClk(0, g.CellPoint(2, 2));
    EXPECT_TRUE(g.GetCurrentCellControl()->IsActive());
    EXPECT_TRUE(g.Logged("start 2,2"));
}

TEST(GridInput, TabAndArrowKeys)
{
    KeyStateReset reset;
    TestGrid g(10, 3);
    g.SetCurrentCell(1, 3);
    g.ProcessKeys(nullptr, WM_KEYDOWN, VK_TAB, 1, 0); // last column: stays
    ROWCOL r, c;
    g.GetCurrentCell(r, c);
    EXPECT_EQ(c, 3u);
    AfxSetKeyState(VK_SHIFT, TRUE);
    g.ProcessKeys(nullptr, WM_KEYDOWN, VK_TAB, 1, 0);
    AfxSetKeyState(VK_SHIFT, FALSE);
    g.GetCurrentCell(r, c);
    EXPECT_EQ(c, 2u);
    AfxSetKeyState(VK_CONTROL, TRUE);
    g.ProcessKeys(nullptr, WM_KEYDOWN, VK_END, 1, 0);
    AfxSetKeyState(VK_CONTROL, FALSE);
    g.GetCurrentCell(r, c);
    EXPECT_EQ(r, 10u);
    EXPECT_EQ(c, 3u);
    g.ProcessKeys(nullptr, WM_KEYDOWN, VK_HOME, 1, 0);
    g.GetCurrentCell(r, c);
    EXPECT_EQ(c, 1u);
}

TEST(GridInput, WindowMessagesReachTheGrid)
{
    CGXGridWnd w;
    ASSERT_TRUE(w.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 100) ||
                w.Create(WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 100));
    w.Initialize();
    w.SetRowCount(30);
    w.SetColCount(4);
    CRect rc = w.GetGridRect();
    EXPECT_EQ(rc.Width(), 300);
    CPoint pt = w.CalcRectFromRowCol(2, 2).CenterPoint();
    w.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(pt.x, pt.y));
    w.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    ROWCOL r, c;
    ASSERT_TRUE(w.GetCurrentCell(r, c));
    EXPECT_EQ(r, 2u);
    EXPECT_EQ(c, 2u);
    w.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
    w.GetCurrentCell(r, c);
    EXPECT_EQ(r, 3u);
    w.SendMessage(WM_CHAR, 'q', 1);
    w.SendMessage(WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_STREQ(w.GetValueRowCol(3, 2), "q");
    EXPECT_EQ(w.SendMessage(WM_GETDLGCODE) & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
    w.SendMessage(WM_VSCROLL, 1); // one line down
    EXPECT_EQ(w.GetTopRow(), 2u);
    EXPECT_TRUE(w.CanCopy());
    CString why;
    EXPECT_TRUE(w.CheckConsistency(why)) << why.GetString();
}

TEST(GridInput, SelectionStoresPassThroughSetSelection)
{
    struct Clamp : TestGrid {
        void SetSelection(POSITION pos, ROWCOL t, ROWCOL l, ROWCOL b, ROWCOL r) override
        {
            if (pos && t < 3)
                t = 3;
            CGXGridCore::SetSelection(pos, t, l, b, r);
        }
    } g;
    g.DoLButtonDown(0, g.CellPoint(1, 1));
    g.DoMouseMove(MK_LBUTTON, g.CellPoint(5, 1));
    g.DoMouseMove(MK_LBUTTON, g.CellPoint(6, 1)); // the growing range is found again after the clamp
    g.DoLButtonUp(0, g.CellPoint(6, 1));
    ASSERT_EQ(g.GetParam()->GetRangeList()->GetCount(), 1);
    EXPECT_EQ(*g.GetParam()->GetRangeList()->GetHead(), CGXRange(3, 1, 6, 1));
}

TEST(GridInput, RecordInfoIsToldAboutCurrentCellChanges)
{
    struct Info : CGXAbstractRecordInfoWndInterface {
        int* calls;
        explicit Info(int* c) : calls(c) {}
        void UpdateRecordInfo(CGXGridCore*) override { ++*calls; }
    };
    int calls = 0;
    GXSetRecordInfoWndInterface(new Info(&calls));
    {
        TestGrid g(5, 2);
        g.SetCurrentCell(1, 1);
        g.SetCurrentCell(2, 1);
        g.SetCurrentCell(2, 1); // no change, no call
    }
    EXPECT_EQ(calls, 2);
    GXSetRecordInfoWndInterface(nullptr);
    EXPECT_EQ(GXGetRecordInfoWndInterface(), nullptr);

    CWnd parent;
    ASSERT_TRUE(parent.Create(nullptr, "frame", 0, CRect(0, 0, 200, 100), nullptr, 1));
    CGXRecordInfoWnd w;
    ASSERT_TRUE(w.CreateCommon(&parent, WS_CHILD, 2));
    ASSERT_NE(w.GetBeam(), nullptr);
    EXPECT_EQ(w.GetBeam()->GetRecordInfoWnd(), &w);
    EXPECT_EQ(w.GetBeam()->ButtonFromPoint(CPoint(20, 3)), 1);
    ASSERT_TRUE(w.CreateCommon(&parent, WS_CHILD, 2)); // a second call keeps the parts
    GXAddAutoDeleteWnd(&w);
    EXPECT_TRUE(GXIsAutoDeleteWnd(&w));
    EXPECT_TRUE(GXRemoveAutoDeleteWnd(&w));
    EXPECT_FALSE(GXRemoveAutoDeleteWnd(&w));
}

TEST(GridInput, DraggingAHiddenColumnOpenShowsIt)
{
    TestGrid g(10, 4);
    g.SetColWidth(0, 0, 30);
    g.HideCols(2, 2);
    const int edge = 30 + GX_DEFAULT_COL_WIDTH; // column 1 ends here, hidden column 2 too
    ROWCOL r, c;
    ASSERT_EQ(g.HitTest(CPoint(edge, 5), &r, &c), GX_VERTLINE);
    EXPECT_EQ(c, 2u);
    g.DoLButtonDown(0, CPoint(edge, 5));
    g.DoMouseMove(MK_LBUTTON, CPoint(edge + 40, 5));
    g.DoLButtonUp(0, CPoint(edge + 40, 5));
    EXPECT_FALSE(g.IsColHidden(2));
    EXPECT_EQ(g.GetColWidth(2), 40);
    EXPECT_EQ(g.GetColWidth(1), GX_DEFAULT_COL_WIDTH);
    // A press on an edge without a move changes nothing.
    g.DoLButtonDown(0, CPoint(edge, 5));
    g.DoLButtonUp(0, CPoint(edge, 5));
    EXPECT_EQ(g.GetColWidth(1), GX_DEFAULT_COL_WIDTH);
}
