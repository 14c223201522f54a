#include "gridtest.h"

#include <functional>
#include <utility>
#include <vector>

namespace {
void Type(TestGrid& g, const char* text)
{
    for (const char* p = text; *p; ++p)
        g.ProcessKeys(nullptr, WM_CHAR, static_cast<UINT>(*p), 1, 0);
}

// Counts its instances so that tests see when the grid deletes a control.
struct CountedControl : CGXEditControl {
    static int alive;
    explicit CountedControl(CGXGridCore* g, UINT id) : CGXEditControl(g, id) { ++alive; }
    ~CountedControl() override { --alive; }
};
int CountedControl::alive = 0;
} // namespace

TEST(GridEdit, TypingThenEnterValidatesAndStores)
{
    TestGrid g(10, 3);
    g.Put(2, 2, "old");
    g.GetParam()->SetEnterKeyAction(GX_DOWN);
    ASSERT_TRUE(g.SetCurrentCell(2, 2));
    Type(g, "new");
    CGXControl* ctrl = g.GetCurrentCellControl();
    ASSERT_NE(ctrl, nullptr);
    EXPECT_TRUE(ctrl->IsActive());
    CString text;
    ctrl->GetCurrentText(text);
    EXPECT_STREQ(text, "new"); // typing replaced the old text
    EXPECT_EQ(g.Value(2, 2), "old"); // not stored yet
    g.ProcessKeys(nullptr, WM_KEYDOWN, VK_RETURN, 1, 0);
    EXPECT_EQ(g.Value(2, 2), "new");
    EXPECT_TRUE(g.Logged("start 2,2"));
    EXPECT_TRUE(g.Logged("validate 2,2"));
    EXPECT_TRUE(g.Logged("end 2,2"));
    ROWCOL r, c;
    g.GetCurrentCell(r, c);
    EXPECT_EQ(r, 3u); // the Enter-key action moved down
    g.ExpectConsistent();
}

TEST(GridEdit, RefusedValidationKeepsTheEditAndTheCell)
{
    TestGrid g(10, 3);
    g.Put(2, 2, "old");
    g.SetCurrentCell(2, 2);
    Type(g, "bad");
    g.validateResult = FALSE;
    EXPECT_FALSE(g.SetCurrentCell(5, 1));
    ROWCOL r, c;
    g.GetCurrentCell(r, c);
    EXPECT_EQ(r, 2u);
    EXPECT_TRUE(g.GetCurrentCellControl()->IsActive());
    EXPECT_EQ(g.Value(2, 2), "old");
    EXPECT_FALSE(g.TransferCurrentCell(TRUE));
    // Escape drops the edit and reloads the cell.
    g.ProcessKeys(nullptr, WM_KEYDOWN, VK_ESCAPE, 1, 0);
    EXPECT_FALSE(g.GetCurrentCellControl()->IsActive());
    CString text;
    g.GetCurrentCellControl()->GetCurrentText(text);
    EXPECT_STREQ(text, "old");
    EXPECT_TRUE(g.Logged("cancel 2,2"));
    EXPECT_TRUE(g.SetCurrentCell(5, 1));
    EXPECT_EQ(g.Value(2, 2), "old");
    g.ExpectConsistent();
}

// An edit in progress whose cell goes away (its row removed, the rows cut back, the cell covered) is
// over: the grid hears of it as cancelled, so that nothing later is taken for the end of that edit.
TEST(GridEdit, AnEditWhoseCellGoesAwayIsCancelled)
{
    const std::vector<std::pair<const char*, std::function<void(TestGrid&)>>> drops = {
        {"row removed", [](TestGrid& g) { g.RemoveRows(2, 3); }},
        {"rows cut back", [](TestGrid& g) { g.SetRowCount(1); }},
        {"cell covered", [](TestGrid& g) { g.SetCoveredCellsRowCol(1, 1, 3, 3); }},
    };
    for (const auto& [what, drop] : drops) {
        SCOPED_TRACE(what);
        TestGrid g(10, 3);
        g.SetCurrentCell(2, 2);
        Type(g, "typed");
        g.validateResult = FALSE; // the edit stays in its cell
        EXPECT_FALSE(g.TransferCurrentCell(TRUE));
        ASSERT_TRUE(g.GetCurrentCellControl()->IsActive());
        drop(g);
        EXPECT_TRUE(g.Logged("cancel 2,2"));
        EXPECT_FALSE(g.Logged("end 2,2"));
    }
    // A cell not in edit goes without a word.
    TestGrid g(10, 3);
    g.SetCurrentCell(2, 2);
    g.RemoveRows(2, 3);
    EXPECT_FALSE(g.Logged("cancel 2,2"));
}

TEST(GridEdit, ReadOnlyAndRefusedCellsCannotBeEdited)
{
    TestGrid g(10, 3);
    g.SetStyleRange(CGXRange(1, 1), CGXStyle().SetValue("fixed").SetReadOnly(TRUE));
    g.SetCurrentCell(1, 1);
    Type(g, "x");
    EXPECT_FALSE(g.GetCurrentCellControl()->IsActive());
    EXPECT_TRUE(g.GetCurrentCellControl()->IsReadOnly());
    g.SetStyleRange(CGXRange(1, 2), CGXStyle().SetEnabled(FALSE));
    g.SetCurrentCell(1, 2);
    EXPECT_TRUE(g.GetCurrentCellControl()->IsReadOnly());
    g.SetCurrentCell(1, 3);
    g.startEditResult = FALSE;
    Type(g, "x");
    EXPECT_FALSE(g.GetCurrentCellControl()->IsActive());
    EXPECT_EQ(g.Value(1, 3), "");
}

TEST(GridEdit, ControlTextInterface)
{
    TestGrid g(10, 3);
    g.Put(4, 1, "hello");
    g.SetCurrentCell(4, 1);
    auto* edit = dynamic_cast<CGXEditControl*>(g.GetCurrentCellControl());
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(edit->OnStartEditing());
    edit->SetSel(1, 3);
    CString sel;
    edit->GetSelectedText(sel);
    EXPECT_STREQ(sel, "el");
    edit->ReplaceSel("EL");
    CString all;
    edit->GetWindowText(all);
    EXPECT_STREQ(all, "hELlo");
    EXPECT_TRUE(edit->GetModify());
    // Left/Right move the caret inside the text before they move the current cell.
    g.ProcessKeys(nullptr, WM_KEYDOWN, VK_RIGHT, 1, 0);
    ROWCOL r, c;
    g.GetCurrentCell(r, c);
    EXPECT_EQ(c, 1u);
    g.ProcessKeys(nullptr, WM_CHAR, 8, 1, 0); // backspace
    edit->GetWindowText(all);
    EXPECT_STREQ(all, "hELo");
    ASSERT_TRUE(g.TransferCurrentCell(TRUE));
    EXPECT_EQ(g.Value(4, 1), "hELo");
    // SetCurrentText is an edit like a typed one.
    edit->SetCurrentText("set");
    EXPECT_TRUE(edit->IsActive());
    g.TransferCurrentCell(FALSE, GX_SMART, TRUE);
    EXPECT_EQ(g.Value(4, 1), "hELo");
}

namespace {
// A key pressed on the grid with Shift held down or not.
void Press(TestGrid& g, UINT key, bool shift = false)
{
    AfxSetKeyState(VK_SHIFT, shift);
    g.ProcessKeys(nullptr, WM_KEYDOWN, key, 1, 0);
    AfxSetKeyState(VK_SHIFT, FALSE);
}

CString Selected(TestGrid& g)
{
    CString text;
    g.GetCurrentCellControl()->GetSelectedText(text);
    return text;
}
} // namespace

// In a cell being edited Shift with the caret keys selects text, as an edit box does: the caret moves,
// the other end of the selection stays. What is typed then replaces the selection.
TEST(GridEdit, ShiftWithTheCaretKeysSelectsTheEditedText)
{
    TestGrid g(10, 3);
    g.Put(4, 2, "PGOOD");
    g.SetCurrentCell(4, 2);
    ASSERT_TRUE(g.ProcessKeys(nullptr, WM_KEYDOWN, VK_F2, 1, 0));
    Press(g, VK_HOME);
    Press(g, VK_END, true);
    EXPECT_STREQ(Selected(g), "PGOOD");
    Press(g, VK_LEFT, true);
    Press(g, VK_LEFT, true);
    EXPECT_STREQ(Selected(g), "PGO");
    Press(g, VK_HOME, true); // the anchor stays at the start
    EXPECT_STREQ(Selected(g), "");
    Press(g, VK_RIGHT, true);
    Press(g, VK_RIGHT, true);
    EXPECT_STREQ(Selected(g), "PG");
    Type(g, "x");
    CString text;
    g.GetCurrentCellControl()->GetCurrentText(text);
    EXPECT_STREQ(text, "xOOD");
    g.ExpectConsistent();
}

// Shift with a caret key never leaves the edit, even at the edge of the text; without Shift a selection
// collapses to the side the key points to, and only then does the key at the edge move the cell.
TEST(GridEdit, SelectionKeysStayInTheEditAndCollapseWithoutShift)
{
    TestGrid g(10, 3);
    g.Put(4, 2, "abc");
    g.SetCurrentCell(4, 2);
    ASSERT_TRUE(g.ProcessKeys(nullptr, WM_KEYDOWN, VK_F2, 1, 0));
    Press(g, VK_RIGHT, true); // caret at the end already
    ROWCOL r = 0, c = 0;
    g.GetCurrentCell(r, c);
    EXPECT_EQ(c, 2u);
    Press(g, VK_HOME, true);
    EXPECT_STREQ(Selected(g), "abc");
    Press(g, VK_RIGHT); // collapses to the selection's right end
    EXPECT_STREQ(Selected(g), "");
    g.GetCurrentCell(r, c);
    EXPECT_EQ(c, 2u);
    Press(g, VK_RIGHT); // at the end with nothing selected: the cell moves
    g.GetCurrentCell(r, c);
    EXPECT_EQ(c, 3u);
}

TEST(GridEdit, DeleteKeyClearsTheSelectionButNotReadOnlyCells)
{
    TestGrid g(10, 3);
    for (ROWCOL r = 1; r <= 3; ++r)
        for (ROWCOL c = 1; c <= 3; ++c)
            g.Put(r, c, "v");
    g.SetStyleRange(CGXRange(2, 2), CGXStyle().SetReadOnly(TRUE));
    g.SetCurrentCell(1, 1);
    g.SelectRange(CGXRange(1, 1, 3, 3));
    g.ProcessKeys(nullptr, WM_KEYDOWN, VK_DELETE, 1, 0);
    EXPECT_EQ(g.Value(1, 1), "");
    EXPECT_EQ(g.Value(3, 3), "");
    EXPECT_EQ(g.Value(2, 2), "v");
}

TEST(GridEdit, ControlRegistrationAndOwnership)
{
    CountedControl::alive = 0;
    {
        TestGrid g(10, 3);
        auto* a = new CountedControl(&g, 9001);
        g.RegisterControl(9001, a, FALSE, TRUE);
        g.RegisterControl(9002, a); // the same object under a second id: owned once
        EXPECT_EQ(g.GetRegisteredControl(9002), a);
        g.SetStyleRange(CGXRange(3, 1), CGXStyle().SetControl(9001));
        EXPECT_EQ(g.GetControl(3, 1), a);
        EXPECT_EQ(g.GetControl(3, 2), g.GetRegisteredControl(GX_IDS_CTRL_EDIT));
        g.SetStyleRange(CGXRange(3, 3), CGXStyle().SetControl(4711)); // unknown id: the edit control
        EXPECT_EQ(g.GetControl(3, 3), g.GetRegisteredControl(GX_IDS_CTRL_EDIT));
        EXPECT_EQ(g.GetControl(0, 1), g.GetRegisteredControl(GX_IDS_CTRL_HEADER));

        g.SetCurrentCell(3, 1);
        EXPECT_EQ(g.GetCurrentCellControl(), a);
        EXPECT_TRUE(a->IsInit(3, 1));
        // Replacing the id keeps the object while another id still names it.
        g.RegisterControl(9001, new CountedControl(&g, 9001));
        EXPECT_EQ(CountedControl::alive, 2);
        g.RegisterControl(9002, new CountedControl(&g, 9002));
        EXPECT_EQ(CountedControl::alive, 2);
        EXPECT_NE(g.GetCurrentCellControl(), nullptr);
        g.ExpectConsistent();
    }
    EXPECT_EQ(CountedControl::alive, 0); // the grid deleted its controls
}

TEST(GridEdit, ComboChoiceAndButtons)
{
    TestGrid g(10, 3);
    g.SetStyleRange(CGXRange(2, 1), CGXStyle().SetControl(GX_IDS_CTRL_COMBOBOX).SetChoiceList("one\ntwo\nthree"));
    g.SetCurrentCell(2, 1);
    auto* combo = dynamic_cast<CGXComboBox*>(g.GetCurrentCellControl());
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->IsKindOf(RUNTIME_CLASS(CGXEditControl)));
    EXPECT_FALSE(combo->IsKindOf(RUNTIME_CLASS(CGXBitmapButton)));
    std::vector<CString> items;
    combo->GetChoiceList(items);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_FALSE(combo->SelectItem(3));
    ASSERT_TRUE(combo->SelectItem(1));
    g.TransferCurrentCell();
    EXPECT_EQ(g.Value(2, 1), "two");

    // A bitmap-button cell reports a click on its button.
    g.RegisterControl(59448, new CGXBitmapButton(&g, 8885));
    g.SetStyleRange(CGXRange(5, 2), CGXStyle().SetControl(59448));
    CPoint pt = g.CellPoint(5, 2);
    g.DoLButtonDown(0, pt);
    g.DoLButtonUp(0, pt);
    EXPECT_TRUE(g.Logged("button 5,2"));
    EXPECT_EQ(static_cast<CGXBitmapButton*>(g.GetRegisteredControl(59448))->GetBitmapId(), 8885u);
}

// A combo cell's list: Alt+Down drops it whether or not the cell is being edited (the current cell stays),
// a click beside it takes it up with the edit going on, and the focus leaving the grid takes it up storing
// nothing, the edit ended.
TEST(GridEdit, ComboListKeysClicksAndFocus)
{
    KeyStateReset reset;
    TestGrid g(10, 3);
    g.SetStyleRange(CGXRange(2, 1, 3, 1), CGXStyle().SetControl(GX_IDS_CTRL_COMBOBOX).SetChoiceList("one\ntwo"));
    g.SetValueRange(CGXRange(2, 1), "one");
    g.OnActivateGrid(TRUE);
    g.SetCurrentCell(2, 1);
    auto* combo = dynamic_cast<CGXComboBox*>(g.GetCurrentCellControl());
    ASSERT_NE(combo, nullptr);
    AfxSetKeyState(VK_MENU, TRUE);
    g.ProcessKeys(nullptr, WM_KEYDOWN, VK_DOWN, 1, 0);
    AfxSetKeyState(VK_MENU, FALSE);
    EXPECT_TRUE(combo->IsDroppedDown());
    EXPECT_TRUE(g.IsCurrentCell(2, 1));

    // A click in the cell beside the list: up, the edit goes on.
    combo->SetCurrentText("two");
    g.DoLButtonDown(0, g.CellPoint(2, 2));
    EXPECT_FALSE(combo->IsDroppedDown());
    g.SetCurrentCell(2, 1);
    EXPECT_EQ(g.Value(2, 1), "two"); // the move stored the edit

    // The focus goes elsewhere while the list is down: nothing is stored and the edit ends.
    combo->SetCurrentText("one");
    combo->OnClickedButton(combo->GetChild(0));
    ASSERT_TRUE(combo->IsDroppedDown());
    g.OnActivateGrid(FALSE);
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_FALSE(combo->IsActive());
    EXPECT_EQ(g.Value(2, 1), "two");
}

TEST(GridEdit, WrappedWindowIsOwnedWhenAsked)
{
    TestGrid g(5, 3);
    int before = AfxGetWindowCount();
    CWnd* w = new CWnd;
    ASSERT_TRUE(w->Create(nullptr, "wrapped", 0, CRect(0, 0, 10, 10), nullptr, 1));
    g.RegisterControl(59424, new CGXWndWrapper(&g, w, TRUE, TRUE, FALSE));
    g.SetStyleRange(CGXRange(1, 1), CGXStyle().SetControl(59424));
    g.SetCurrentCell(1, 1);
    auto* wrap = dynamic_cast<CGXWndWrapper*>(g.GetCurrentCellControl());
    ASSERT_NE(wrap, nullptr);
    EXPECT_EQ(wrap->GetWnd(), w);
    g.RegisterControl(59424, new CGXStatic(&g)); // deletes the wrapper and its window
    EXPECT_EQ(AfxGetWindowCount(), before);
}

TEST(GridEdit, ToolTipTextComesFromTheAttribute)
{
    TestGrid g(5, 3);
    g.SetToolTipProxy(new CGXNoToolTipCtrlProxy(&g, nullptr));
    g.SetStyleRange(CGXRange(2, 2), CGXStyle().SetUserAttribute(GX_IDS_UA_TOOLTIPTEXT, "tip"));
    CString t;
    EXPECT_TRUE(g.GetToolTipProxy()->GetToolTipText(2, 2, t));
    EXPECT_STREQ(t, "tip");
    EXPECT_FALSE(g.GetToolTipProxy()->GetToolTipText(2, 3, t));
    EXPECT_FALSE(g.GetToolTipProxy()->GetToolTipText(99, 3, t));
}

TEST(GridEdit, GridWindowWithAWrappedChildWindowGoesCleanly)
{
    const int before = AfxGetWindowCount();
    {
        CGXGridWnd grid;
        ASSERT_TRUE(grid.Create(WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 7));
        grid.Initialize();
        grid.SetRowCount(5);
        grid.SetColCount(3);
        CWnd* child = new CWnd;
        ASSERT_TRUE(child->Create(nullptr, "header", WS_CHILD, CRect(0, 0, 50, 20), &grid, 8));
        grid.RegisterControl(59424, new CGXWndWrapper(&grid, child, TRUE, TRUE, FALSE));
        grid.SetCoveredCellsRowCol(1, 1, 2, 3);
        grid.SetStyleRange(CGXRange(1, 1), CGXStyle().SetControl(59424));
        ASSERT_TRUE(grid.SetCurrentCell(1, 1));
        // The wrapped window sits over the covered cell.
        CRect cell = grid.CalcRectFromRowColEx(1, 1);
        CRect rc;
        child->GetWindowRect(&rc);
        grid.ScreenToClient(&rc);
        EXPECT_EQ(rc, cell);
    }
    EXPECT_EQ(AfxGetWindowCount(), before);
}
