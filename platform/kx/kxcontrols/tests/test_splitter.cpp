#include <gtest/gtest.h>

#include "kxcontrols/KXSplitterWnd.h"

TEST(SplitterWnd, StoredSizesAlwaysGiveAProportion) {
    CKXSplitterWnd splitter;
    int a = 0, b = 0;
    splitter.GetPaneSize(a, b);
    EXPECT_GT(a + b, 0);
    EXPECT_TRUE(splitter.SetPaneSize(300, 100));
    splitter.GetPaneSize(a, b);
    EXPECT_EQ(a, 300);
    EXPECT_EQ(b, 100);
    EXPECT_FALSE(splitter.SetPaneSize(0, 0)); // no proportion: refused, the old pair stays
    EXPECT_FALSE(splitter.SetPaneSize(-5, -7));
    splitter.GetPaneSize(a, b);
    EXPECT_EQ(a + b, 400);
    EXPECT_TRUE(splitter.SetPaneSize(-5, 20));
    splitter.GetPaneSize(a, b);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 20);
}

TEST(SplitterWnd, CollapseNeedsTwoPanesAndReportsWhichOne) {
    CKXSplitterWnd splitter;
    int which = 5;
    EXPECT_FALSE(splitter.GetSplitterStatus(which));
    EXPECT_EQ(which, 0);
    EXPECT_EQ(splitter.GetCollapsedPane(), -1);
    EXPECT_FALSE(splitter.CollapsePane(0)); // not created: no panes
    EXPECT_FALSE(splitter.ExpandPane());
    EXPECT_FALSE(splitter.CollapsePane(2));
    splitter.SetVertResizeButton(TRUE, 0, TRUE);
    EXPECT_TRUE(splitter.CreateResizeButton());
    int row = 0, col = 0;
    splitter.SetHighlight();
    EXPECT_FALSE(splitter.GetHighlightedPane(row, col));
}

TEST(SplitterWnd, CollapsedPaneIsReportedAsTheFrameReadsIt) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, "STATIC", "frame", 0, CRect(0, 0, 400, 300), nullptr, 0));
    CKXSplitterWnd splitter;
    ASSERT_TRUE(splitter.CreateStatic(&parent, 2, 1));
    splitter.SetPaneSize(200, 100);
    int which = -1;
    ASSERT_TRUE(splitter.CollapsePane(0));
    EXPECT_TRUE(splitter.GetSplitterStatus(which));
    EXPECT_NE(which, 0); // the upper pane
    EXPECT_FALSE(splitter.CollapsePane(0));
    ASSERT_TRUE(splitter.ExpandPane());
    EXPECT_FALSE(splitter.GetSplitterStatus(which));
    int cur = 0, min = 0;
    splitter.GetRowInfo(0, cur, min);
    ASSERT_TRUE(splitter.CollapsePane(1));
    EXPECT_TRUE(splitter.GetSplitterStatus(which));
    EXPECT_EQ(which, 0); // the lower pane
    splitter.ExpandPane();
    splitter.DestroyWindow();
    parent.DestroyWindow();
}
