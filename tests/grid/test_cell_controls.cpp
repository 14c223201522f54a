#include "GridTestSupport.h"

#include "grid/KXEditControls.h"
#include "grid/KXPlusMinusEditButton.h"
#include "grid/KXSpinControl.h"
#include "grid/gxdroplist.h"
#include "rmx/schemautil.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/DesignBuilder.h"
#include "rmx/server.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr UINT kMinus = 9030;
constexpr UINT kPlus = 9031;
constexpr UINT kBit = 9032;

// A grid that records the registered messages it receives.
class ToggleGrid : public CRecordingGrid {
public:
    std::vector<std::pair<WPARAM, LPARAM>> toggles;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == RegisterWindowMessage("MSG_TOGGLE_PINNAME")) toggles.emplace_back(wParam, lParam);
        return CRecordingGrid::WindowProc(message, wParam, lParam);
    }
};

class MainWindow {
public:
    MainWindow() {
        wnd.m_textParams[MSG_HOST_SCRIPT_TEXT] = 'w';
        wnd.CreateEx(0, "MAIN", "main", 0, CRect(0, 0, 100, 100), nullptr, 0);
        AfxSetMainWnd(&wnd);
    }
    ~MainWindow() {
        AfxSetMainWnd(nullptr);
        wnd.DestroyWindow();
    }
    CMessageRecorderWnd wnd;
};

// Pin-name cells in column 1:
//   6  group A (level 0)        7  inner group (level 1)
//   8  inner bit (level 2)      9  inner bit (level 2)
//  10  bit (level 1)           11  next pin (level 0)
class ExpandCollapse : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpGrid(grid, 6, 2);
        CKXPlusMinusEditButton::RegisterControls(&grid, kMinus, kPlus, 0);
        grid.RegisterControl(static_cast<WORD>(kBit), new CKXPaddedEditControl(&grid, kBit, 18));
        Group(6, 0, "1");
        Group(7, 1, "1");
        Bit(8, 2);
        Bit(9, 2);
        Bit(10, 1);
        grid.SetStyleRange(CGXRange(11, 1), CGXStyle().SetControl(static_cast<WORD>(kBit)));
    }
    void Group(ROWCOL row, int level, const char* state) {
        CGXStyle s;
        s.SetControl(static_cast<WORD>(std::string(state) == "1" ? kMinus : kPlus));
        s.SetUserAttribute(IDS_UA_VECTOR_GROUP, 1);
        s.SetUserAttribute(IDS_UA_EXPAND_STATE, state);
        if (level > 0) s.SetUserAttribute(IDS_UA_PLUSMINUS_BIT, std::to_string(level).c_str());
        grid.SetStyleRange(CGXRange(row, 1), s);
    }
    void Bit(ROWCOL row, int level) {
        CGXStyle s;
        s.SetControl(static_cast<WORD>(kBit));
        s.SetUserAttribute(IDS_UA_PLUSMINUS_BIT, std::to_string(level).c_str());
        grid.SetStyleRange(CGXRange(row, 1), s);
    }
    CKXPlusMinusEditButton* Control(UINT id) {
        return dynamic_cast<CKXPlusMinusEditButton*>(grid.GetRegisteredControl(static_cast<WORD>(id)));
    }
    CString State(ROWCOL row) {
        CGXStyle s;
        grid.ComposeStyleRowCol(row, 1, &s);
        return s.GetUserAttributeText(IDS_UA_EXPAND_STATE);
    }
    WORD ControlId(ROWCOL row) {
        CGXStyle s;
        grid.ComposeStyleRowCol(row, 1, &s);
        return s.GetControl();
    }
    ToggleGrid grid;
};

} // namespace

TEST_F(ExpandCollapse, RegistersPlusAndMinusControls) {
    CKXPlusMinusEditButton* plus = Control(kPlus);
    CKXPlusMinusEditButton* minus = Control(kMinus);
    ASSERT_NE(plus, nullptr);
    ASSERT_NE(minus, nullptr);
    EXPECT_EQ(plus->GetButton()->GetBitmapId(), IDB_PLUS);
    EXPECT_EQ(minus->GetButton()->GetBitmapId(), IDB_MINUS);
    EXPECT_EQ(plus->GetMinusId(), kMinus);
    EXPECT_EQ(minus->GetPlusId(), kPlus);
    EXPECT_TRUE(plus->IsKindOf(RUNTIME_CLASS(CKXPlusMinusEditButton)));
    EXPECT_FALSE(plus->IsActive());
}

TEST_F(ExpandCollapse, CollapseHidesEveryRowOfTheGroupOnly) {
    const BOOL lock = grid.GetParam()->IsLockReadOnly();
    const BOOL undo = grid.GetParam()->IsEnableUndo();
    Control(kMinus)->SetExpandState(6, 1, FALSE);
    for (ROWCOL r = 7; r <= 10; ++r)
        EXPECT_TRUE(grid.IsRowHidden(r)) << r;
    EXPECT_FALSE(grid.IsRowHidden(11));
    EXPECT_EQ(State(6), "0");
    EXPECT_EQ(ControlId(6), kPlus);
    EXPECT_EQ(grid.GetParam()->IsLockReadOnly(), lock);
    EXPECT_EQ(grid.GetParam()->IsEnableUndo(), undo);
    ASSERT_EQ(grid.toggles.size(), 1u);
    EXPECT_EQ(grid.toggles[0].first, 0u);
    EXPECT_EQ(grid.toggles[0].second, 6);
}

TEST_F(ExpandCollapse, ExpandKeepsACollapsedInnerGroupCollapsed) {
    Control(kMinus)->SetExpandState(7, 1, FALSE); // inner collapsed
    EXPECT_TRUE(grid.IsRowHidden(8));
    Control(kMinus)->SetExpandState(6, 1, FALSE); // outer collapsed
    Control(kPlus)->SetExpandState(6, 1, TRUE);   // outer expanded again
    EXPECT_FALSE(grid.IsRowHidden(7));
    EXPECT_TRUE(grid.IsRowHidden(8));
    EXPECT_TRUE(grid.IsRowHidden(9));
    EXPECT_FALSE(grid.IsRowHidden(10));
    EXPECT_EQ(State(6), "1");
    EXPECT_EQ(State(7), "0");
}

// Controls of a grid that shows what it stores read the rows in place; where a row leaves its level
// to the styles behind its cell, the toggle still finds it there.
TEST_F(ExpandCollapse, StoredCellsHideAndShowTheSameRows) {
    CKXPlusMinusEditButton::RegisterControls(&grid, kMinus, kPlus, 0, true);
    CGXStyle level;
    level.SetUserAttribute(IDS_UA_PLUSMINUS_BIT, "1");
    grid.SetStyleRange(CGXRange(10, 1), level, gxExclude);
    grid.SetStyleRange(CGXRange().SetRows(10), level);
    Control(kMinus)->SetExpandState(7, 1, FALSE);
    Control(kMinus)->SetExpandState(6, 1, FALSE);
    for (ROWCOL r = 7; r <= 10; ++r)
        EXPECT_TRUE(grid.IsRowHidden(r)) << r;
    EXPECT_FALSE(grid.IsRowHidden(11));
    Control(kPlus)->ToggleExpand(6, 1);
    EXPECT_FALSE(grid.IsRowHidden(7));
    EXPECT_TRUE(grid.IsRowHidden(8));
    EXPECT_TRUE(grid.IsRowHidden(9));
    EXPECT_FALSE(grid.IsRowHidden(10));
    EXPECT_EQ(ControlId(6), kMinus);
}

// A group whose first rows the caller has just written collapses as a walk of all its rows does: the
// rows after the written ones are still walked, and the walk ends at the group's end.
TEST_F(ExpandCollapse, AWrittenGroupCollapsesAndExpandsLikeAToggle) {
    Control(kMinus)->ToggleWrittenGroup(7, 1, 2);
    EXPECT_FALSE(grid.IsRowHidden(7));
    EXPECT_TRUE(grid.IsRowHidden(8));
    EXPECT_TRUE(grid.IsRowHidden(9));
    EXPECT_FALSE(grid.IsRowHidden(10));
    EXPECT_EQ(State(7), "0");
    Control(kMinus)->ToggleWrittenGroup(6, 1, 1);
    for (ROWCOL r = 7; r <= 10; ++r)
        EXPECT_TRUE(grid.IsRowHidden(r)) << r;
    EXPECT_FALSE(grid.IsRowHidden(11));
    EXPECT_EQ(State(6), "0");
    EXPECT_EQ(ControlId(6), kPlus);
    // A collapsed group expands, its collapsed inner group staying so.
    Control(kPlus)->ToggleWrittenGroup(6, 1, 4);
    EXPECT_FALSE(grid.IsRowHidden(7));
    EXPECT_TRUE(grid.IsRowHidden(8));
    EXPECT_TRUE(grid.IsRowHidden(9));
    EXPECT_FALSE(grid.IsRowHidden(10));
    EXPECT_EQ(State(6), "1");
}

TEST_F(ExpandCollapse, SetExpandStateOnlyActsWhenNeeded) {
    Control(kMinus)->SetExpandState(6, 1, TRUE); // already expanded
    EXPECT_TRUE(grid.toggles.empty());
    Control(kMinus)->SetExpandState(8, 1, FALSE); // a bit row: no group
    EXPECT_TRUE(grid.toggles.empty());
    EXPECT_FALSE(grid.IsRowHidden(9));
}

TEST_F(ExpandCollapse, ARowWithoutStateTakesTheWantedState) {
    CGXStyle s;
    s.SetIncludeUserAttribute(IDS_UA_EXPAND_STATE, FALSE);
    grid.SetStyleRange(CGXRange(6, 1), s, gxExclude);
    grid.SetStyleRange(CGXRange(6, 1), s, gxCopy);
    CGXStyle g;
    g.SetControl(static_cast<WORD>(kPlus)).SetUserAttribute(IDS_UA_VECTOR_GROUP, 1);
    grid.SetStyleRange(CGXRange(6, 1), g, gxCopy);
    Control(kPlus)->SetExpandState(6, 1, FALSE);
    EXPECT_EQ(State(6), "0");
    EXPECT_TRUE(grid.IsRowHidden(7));
}

TEST_F(ExpandCollapse, AUsersClickGoesToTheHostOnly) {
    MainWindow main;
    Control(kMinus)->SetExpandState(6, 1, FALSE);
    grid.toggles.clear();
    CKXPlusMinusEditButton* plus = Control(kPlus);
    plus->Init(6, 1);
    plus->OnClickedButton(plus->GetButton());
    const auto texts = main.wnd.TextsOf(MSG_HOST_SCRIPT_TEXT);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "expandPins pin -selection on");
    EXPECT_TRUE(grid.IsRowHidden(7)); // the grid itself is unchanged
    EXPECT_EQ(State(6), "0");
    EXPECT_TRUE(grid.toggles.empty());

    // The space bar does the same; the command the host sends back toggles.
    EXPECT_TRUE(plus->KeyPressed(WM_KEYDOWN, VK_SPACE));
    EXPECT_EQ(main.wnd.TextsOf(MSG_HOST_SCRIPT_TEXT).size(), 2u);
    plus->WindowProc(WM_KEYUP, VK_SPACE, 1); // released in the edit window
    EXPECT_EQ(main.wnd.TextsOf(MSG_HOST_SCRIPT_TEXT).size(), 3u);
    plus->ToggleExpand(6, 1);
    EXPECT_FALSE(grid.IsRowHidden(7));
    EXPECT_EQ(ControlId(6), kMinus);
}

TEST_F(ExpandCollapse, ButtonSitsAtTheOffsetAndTextRightOfIt) {
    CKXPlusMinusEditButton control(&grid, IDB_PLUS, kMinus, kPlus, 18);
    const CRect cell(100, 40, 300, 59);
    control.OnInitChildren(6, 1, cell);
    EXPECT_EQ(control.GetButton()->GetRect(), CRect(118, 40, 134, 59));
    CRect item = cell;
    EXPECT_EQ(control.GetCellRect(6, 1, &item).left, 100 + 18 + 16 + 2);
}

TEST(EditControls, BitmapButtonIsRightAlignedAndClipped) {
    CRecordingGrid grid;
    SetUpGrid(grid);
    CKXBitmapEditButton control(&grid, 9014, 9011);
    control.OnInitChildren(6, 1, CRect(0, 0, 100, 25));
    EXPECT_EQ(control.GetButton()->GetRect(), CRect(85, 5, 100, 20));
    control.OnInitChildren(6, 1, CRect(0, 0, 100, 10)); // lower than the button
    EXPECT_EQ(control.GetButton()->GetRect(), CRect(85, 0, 100, 10));
    CRect item(0, 0, 100, 25);
    EXPECT_EQ(control.GetCellRect(6, 1, &item).right, 100 - 18);
}

TEST(EditControls, PaddedEditIndentsByLevel) {
    CRecordingGrid grid;
    SetUpGrid(grid);
    grid.RegisterControl(9032, new CKXPaddedEditControl(&grid, 9032, 18));
    auto* padded = dynamic_cast<CKXPaddedEditControl*>(grid.GetRegisteredControl(9032));
    ASSERT_NE(padded, nullptr);
    grid.SetStyleRange(CGXRange(6, 1), CGXStyle().SetControl(9032));
    CRect item(10, 0, 200, 20);
    EXPECT_EQ(padded->GetCellRect(6, 1, &item).left, 10 + 18);
    grid.SetStyleRange(CGXRange(7, 1),
                       CGXStyle().SetControl(9032).SetUserAttribute(IDS_UA_PLUSMINUS_BIT, "2"));
    EXPECT_EQ(padded->GetCellRect(7, 1, &item).left, 10 + 18 + 36);
    EXPECT_FALSE(padded->IsActive());
}

// ---------------------------------------------------------------------------
// Spin control as a user drives it.

namespace {

class SpinControl : public ::testing::Test {
protected:
    void SetUp() override {
        AfxResetKeyState();
        SetUpGrid(grid, 2, 2);
        list = std::make_unique<CKXListComboBox>(&grid);
        for (const char* s : {"ADDR<7..0>", "CLK", "DATA<15..0>", "RESET"})
            list->AddString(s);
        spin = new CKXSpinControl(&grid, 2001, 9041, 0, list.get(), FALSE);
        grid.RegisterControl(59418, spin);
        grid.SetStyleRange(CGXRange(6, 1), CGXStyle().SetControl(59418).SetValue("A<7..0>"));
        grid.SetCurrentCell(6, 1);
        spin->Init(6, 1);
    }
    void Type(const char* text, int caret) {
        spin->SetWindowText(text);
        spin->SetSel(caret, caret);
    }
    CString Text() {
        CString s;
        spin->GetWindowText(s);
        return s;
    }
    std::pair<int, int> Sel() {
        int a = 0;
        int b = 0;
        spin->GetSel(a, b);
        return {a, b};
    }
    CRecordingGrid grid;
    std::unique_ptr<CKXListComboBox> list;
    CKXSpinControl* spin = nullptr;
};

} // namespace

TEST_F(SpinControl, UpStepsTheNumberUnderTheCaretWithoutADesign) {
    Type("A<7..0>", 2);
    spin->OnEditKeyDown(VK_UP, 1, 0);
    EXPECT_EQ(Text(), "A<8..0>");
    EXPECT_EQ(Sel(), std::make_pair(2, 3));
    Type("A<0>", 2);
    spin->OnEditKeyDown(VK_DOWN, 1, 0);
    EXPECT_EQ(Text(), "A<25000>");
}

TEST_F(SpinControl, UpAndDownCycleTheListOnPlainNames) {
    Type("CLK", 1);
    spin->OnEditKeyDown(VK_DOWN, 1, 0);
    EXPECT_EQ(Text(), "DATA<15..0>");
    Type("ADDR<7..0>", 0); // caret before the bracket: no number to step
    spin->OnEditKeyDown(VK_UP, 1, 0);
    EXPECT_EQ(Text(), "RESET");
    list->ResetContent();
    Type("CLK", 1);
    spin->OnEditKeyDown(VK_DOWN, 1, 0);
    EXPECT_EQ(Text(), "CLK");
}

TEST_F(SpinControl, ArrowsFollowThePartThatIsSelected) {
    Type("A<7..0>", 0);
    spin->OnEditKeyDown(VK_RIGHT, 1, 0);
    EXPECT_EQ(Sel(), std::make_pair(2, 3));
    EXPECT_TRUE(spin->GetShowArrows());
    spin->OnEditKeyDown(VK_LEFT, 1, 0);
    EXPECT_EQ(Sel(), std::make_pair(0, 1));
    EXPECT_FALSE(spin->GetShowArrows());
    // Shift+Right is the edit window's own selection extension.
    AfxSetKeyState(VK_SHIFT, TRUE);
    spin->OnEditKeyDown(VK_RIGHT, 1, 0);
    EXPECT_NE(Sel(), std::make_pair(2, 3));
}

TEST_F(SpinControl, AClickSelectsTheNamePartUnderTheCaretButADragDoesNot) {
    Type("A<7..0>", 4); // after the ".."
    spin->WindowProc(WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Sel(), std::make_pair(5, 6));
    EXPECT_TRUE(spin->GetShowArrows());
    Type("A<7..0>", 1);
    spin->WindowProc(WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Sel(), std::make_pair(0, 1));
    EXPECT_FALSE(spin->GetShowArrows());
    // A drag with the button down keeps the selection the user made; so does Shift.
    spin->SetWindowText("A<7..0>");
    spin->SetSel(2, 6);
    spin->WindowProc(WM_MOUSEMOVE, MK_LBUTTON, 0);
    spin->WindowProc(WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Sel(), std::make_pair(2, 6));
    spin->SetSel(3, 3);
    spin->WindowProc(WM_LBUTTONUP, MK_SHIFT, 0);
    EXPECT_EQ(Sel(), std::make_pair(3, 3));
    // The drag ended with the release: the next click selects again.
    Type("A<7..0>", 2);
    spin->WindowProc(WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Sel(), std::make_pair(2, 3));
}

TEST_F(SpinControl, SquareBracketsAreTheVectorFormWhenTheHostShowsThem) {
    struct Restore {
        ~Restore() { CSchemaUtilities::setVectorDisplayFormat(0); }
    } restore;
    CSchemaUtilities::setVectorDisplayFormat(1);
    Type("A[7..0]", 2);
    spin->OnEditKeyDown(VK_UP, 1, 0);
    EXPECT_EQ(Text(), "A[8..0]");
    EXPECT_EQ(Sel(), std::make_pair(2, 3));
    // A name the design wrote in angle brackets is a vector all the same: Up steps it, never cycles
    // the list (whose entries hold the naming rules).
    Type("ADDR<7..0>", 6);
    spin->OnEditKeyDown(VK_UP, 1, 0);
    EXPECT_EQ(Text(), "ADDR<8..0>");
    CSchemaUtilities::setVectorDisplayFormat(0);
    Type("A<7..0>", 2);
    spin->OnEditKeyDown(VK_UP, 1, 0);
    EXPECT_EQ(Text(), "A<8..0>");
}

TEST_F(SpinControl, AnArrowButtonWithTheFocusTakesTheKeyFirst) {
    spin->SetShowArrows(TRUE);
    Type("A<3>", 2);
    spin->GetUpArrow()->SetFocus(TRUE);
    EXPECT_TRUE(spin->KeyPressed(WM_KEYDOWN, VK_SPACE));
    EXPECT_EQ(Text(), "A<4>");
    // Without a focused child, Space is no click.
    spin->GetUpArrow()->SetFocus(FALSE);
    Type("A<3>", 2);
    spin->KeyPressed(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(Text(), "A<3>");
}

TEST_F(SpinControl, ArrowButtonsStepLikeTheKeys) {
    spin->SetShowArrows(TRUE);
    Type("A<3>", 2);
    spin->m_bSuppressStep = TRUE; // a click clears it before stepping
    spin->OnClickedButton(spin->GetUpArrow());
    EXPECT_EQ(Text(), "A<4>");
    spin->OnClickedButton(spin->GetDownArrow());
    EXPECT_EQ(Text(), "A<3>");
}

TEST_F(SpinControl, TypingCompletesFromTheList) {
    spin->SetWindowText("");
    spin->SetSel(0, 0);
    spin->OnEditChar('d', 1, 0);
    spin->OnEditChar('a', 1, 0);
    EXPECT_EQ(Text(), "daTA<15..0>");
    EXPECT_EQ(Sel(), std::make_pair(2, 11));
    spin->SetAutoComplete(FALSE);
    spin->SetWindowText("");
    spin->SetSel(0, 0);
    spin->OnEditChar('c', 1, 0);
    EXPECT_EQ(Text(), "c");
}

TEST_F(SpinControl, ArrowsNarrowTheCellAndHideOutsideIt) {
    CRect item(0, 0, 200, 20);
    const int full = spin->GetCellRect(6, 1, &item).right;
    spin->SetShowArrows(TRUE);
    EXPECT_EQ(spin->GetCellRect(6, 1, &item).right, full - 17);
    spin->OnInitChildren(6, 1, CRect(0, 0, 200, 20));
    EXPECT_EQ(spin->GetUpArrow()->GetRect(), CRect(185, 0, 200, 7));
    EXPECT_EQ(spin->GetDownArrow()->GetRect(), CRect(185, 7, 200, 19));
    spin->SetShowArrows(FALSE);
    spin->OnInitChildren(6, 1, CRect(0, 0, 200, 20));
    EXPECT_FALSE(CRect(0, 0, 200, 20).PtInRect(spin->GetUpArrow()->GetRect().TopLeft()));
}

TEST_F(SpinControl, DroppedListSelectsAndStoresTheCellText) {
    Type("CLK", 0);
    spin->SetActive(TRUE);
    spin->CreateListBox();
    EXPECT_EQ(list->GetSpinControl(), spin);
    spin->OnFillDroppedList();
    CString sel;
    list->GetText(list->GetCurSel(), sel);
    EXPECT_EQ(sel, "CLK");
    list->SetCurSel(3);
    spin->OnListEnded();
    EXPECT_EQ(Text(), "RESET");
    EXPECT_EQ(Sel(), std::make_pair(0, 5));
}

TEST_F(SpinControl, BoundsComeFromTheVectorInTheDesign) {
    IServer server;
    rmx::DesignBuilder builder(&server);
    builder.schematic("board", "sch").net("DATA", 7, 0).net("CLK");
    ASSERT_TRUE(builder.ok()) << builder.error();
    spin->SetDesignContext(builder.context());
    Type("DATA<3..0>", 6);
    spin->OnEditKeyDown(VK_UP, 1, 0);
    EXPECT_EQ(Text(), "DATA<4..0>");
    Type("DATA<7..0>", 6);
    spin->OnEditKeyDown(VK_UP, 1, 0); // at the maximum: wraps to the minimum
    EXPECT_EQ(Text(), "DATA<0..0>");
    EXPECT_EQ(Sel(), std::make_pair(5, 6));
    Type("DATA<7..0>", 9);              // the second number
    spin->OnEditKeyDown(VK_DOWN, 1, 0); // at the minimum: wraps to the maximum
    EXPECT_EQ(Text(), "DATA<7..7>");
    Type("NOPE<3>", 5);
    spin->OnEditKeyDown(VK_UP, 1, 0);
    EXPECT_EQ(Text(), "NOPE<4>");
    EXPECT_EQ(spin->m_nMaximum, 25000);
}

TEST_F(SpinControl, ListNotificationsReachTheEditWindow) {
    Type("CLK", 0);
    list->SetCurSel(2);
    spin->WindowProc(GX_LIST_SELCHANGE, 0, 0);
    EXPECT_EQ(Text(), "DATA<15..0>");
    list->SetCurSel(3);
    spin->ShowDropDown(TRUE);
    spin->WindowProc(GX_LIST_CANCELLED, 0, 0); // closes without storing
    EXPECT_FALSE(spin->IsDroppedDown());
    EXPECT_EQ(Text(), "DATA<15..0>");
    Type("A<1>", 2);
    spin->WindowProc(WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(Text(), "A<2>");
}
