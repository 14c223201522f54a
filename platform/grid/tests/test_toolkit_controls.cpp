// The toolkit's shortcut bar and bitmap button, and the drop-down state that tells a grid's holder
// to keep its activation.
#include "gridtest.h"

#include "grid/secctrl.h"

#include <memory>

namespace {

class ToolkitControls : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_parent.Create(nullptr, "parent", WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 1)); }
    void TearDown() override { m_parent.DestroyWindow(); }
    CWnd m_parent;
};

TEST_F(ToolkitControls, ShortcutBarKeepsAlignmentAndOptionsOutOfTheWindowStyle) {
    SECShortcutBar bar;
    ASSERT_TRUE(bar.Create(&m_parent, WS_CHILD | WS_VISIBLE | 0x25, 9042));
    EXPECT_EQ(bar.GetAlignStyle(), 0x01u);
    EXPECT_EQ(bar.GetBarOptions(), 0x24u);
    EXPECT_EQ(bar.GetStyle() & SEC_OBS_STYLE_BITS, 0u);
    EXPECT_TRUE(bar.GetStyle() & WS_CHILD);
    EXPECT_EQ(bar.GetDlgCtrlID(), 9042);
    EXPECT_TRUE(bar.HasGDIObjects());
    EXPECT_TRUE(GetClassInfoA(nullptr, "secshortcutbar", nullptr));
    // A second creation keeps the window it has.
    const HWND first = bar.GetSafeHwnd();
    EXPECT_TRUE(bar.Create(&m_parent, WS_CHILD, 9042));
    EXPECT_EQ(bar.GetSafeHwnd(), first);
    EXPECT_EQ(m_parent.GetChildren().size(), 1u);
}

TEST_F(ToolkitControls, BarsAreRenamedAndActivatedByIndexOnly) {
    SECShortcutBar bar;
    ASSERT_TRUE(bar.Create(&m_parent, WS_CHILD, 9042));
    EXPECT_EQ(bar.GetActiveIndex(), -1);
    EXPECT_FALSE(bar.RenameBar(0, "nothing there"));
    EXPECT_EQ(bar.AddBar("One"), 0);
    EXPECT_EQ(bar.AddBar(&m_parent, "Two"), 1);
    EXPECT_EQ(bar.GetActiveIndex(), 0); // the first bar added is the active one
    EXPECT_TRUE(bar.RenameBar(1, "Second"));
    EXPECT_EQ(bar.GetBarLabel(1), "Second");
    EXPECT_EQ(bar.GetBarClient(1), &m_parent);
    EXPECT_FALSE(bar.RenameBar(2, "x"));
    EXPECT_FALSE(bar.RenameBar(-1, "x"));
    EXPECT_FALSE(bar.ActivateBar(5));
    EXPECT_EQ(bar.GetBarLabel(0), "One");
    EXPECT_EQ(bar.GetBarLabel(7), "");
}

TEST_F(ToolkitControls, RemovingABarKeepsTheActiveBarOrFallsBackToThePreviousOne) {
    SECShortcutBar bar;
    ASSERT_TRUE(bar.Create(&m_parent, WS_CHILD, 9042));
    for (const char* label : {"A", "B", "C", "D"})
        bar.AddBar(label);
    ASSERT_TRUE(bar.ActivateBar(2));
    ASSERT_TRUE(bar.RemoveBar(0)); // before the active one: the same bar stays active
    EXPECT_EQ(bar.GetBarLabel(bar.GetActiveIndex()), "C");
    ASSERT_TRUE(bar.RemoveBar(bar.GetActiveIndex())); // the active one: the one before takes over
    EXPECT_EQ(bar.GetBarLabel(bar.GetActiveIndex()), "B");
    ASSERT_TRUE(bar.RemoveBar(0));
    EXPECT_EQ(bar.GetBarLabel(bar.GetActiveIndex()), "D");
    ASSERT_TRUE(bar.RemoveBar(0));
    EXPECT_EQ(bar.GetActiveIndex(), -1);
    EXPECT_FALSE(bar.RemoveBar(0));
}

TEST_F(ToolkitControls, BitmapButtonShowsAResourceAndClicksLikeAButton) {
    SECBitmapButton button;
    ASSERT_TRUE(button.Create("Fx", WS_CHILD | WS_VISIBLE, CRect(75, 28, 90, 50), &m_parent, 35279));
    EXPECT_FALSE(button.AttachBitmap(0));
    EXPECT_EQ(button.GetBitmapId(), 0u);
    EXPECT_TRUE(button.AttachBitmap(8882, SEC_BMPBTN_CENTER));
    EXPECT_EQ(button.GetBitmapId(), 8882u);
    EXPECT_EQ(button.GetBitmapAlign(), static_cast<UINT>(SEC_BMPBTN_CENTER));
    CString caption;
    button.GetWindowText(caption);
    EXPECT_EQ(caption, "Fx");
}

TEST(GridDropDown, ActivationIsDiscardedExactlyWhileAListIsDown) {
    TestGrid grid;
    ASSERT_FALSE(GXDiscardNcActivate());
    auto first = std::make_unique<CGXComboBox>(&grid, 100, 101);
    CGXComboBox second(&grid, 102, 103);
    first->ShowDropDown(TRUE);
    second.ShowDropDown(TRUE);
    EXPECT_TRUE(GXDiscardNcActivate());
    second.ShowDropDown(FALSE);
    EXPECT_TRUE(GXDiscardNcActivate()); // the other list is still down
    // A control that goes while its list is down leaves no stale state behind.
    first.reset();
    EXPECT_FALSE(GXDiscardNcActivate());
    second.ShowDropDown(TRUE);
    second.Deinit(); // its cell went away
    EXPECT_FALSE(second.IsDroppedDown());
    EXPECT_FALSE(GXDiscardNcActivate());
}

TEST(GridDropDown, TheListGoesUpWhenTheControlMovesToAnotherCell) {
    TestGrid grid;
    CGXComboBox combo(&grid, 100, 101);
    combo.Init(1, 1);
    combo.ShowDropDown(TRUE);
    combo.Init(1, 1); // bound again to the same cell: the list stays down
    EXPECT_TRUE(combo.IsDroppedDown());
    combo.Init(2, 1);
    EXPECT_FALSE(combo.IsDroppedDown());
    EXPECT_FALSE(GXDiscardNcActivate());
}

} // namespace
