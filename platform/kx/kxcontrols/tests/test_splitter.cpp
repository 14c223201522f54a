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
    EXPECT_EQ(which, -1);
    EXPECT_FALSE(splitter.CollapsePane(0)); // not created: no panes
    EXPECT_FALSE(splitter.ExpandPane());
    EXPECT_FALSE(splitter.CollapsePane(2));
    splitter.SetVertResizeButton(TRUE, 0, TRUE);
    EXPECT_TRUE(splitter.CreateResizeButton());
    int row = 0, col = 0;
    splitter.SetHighlight();
    EXPECT_FALSE(splitter.GetHighlightedPane(row, col));
}
