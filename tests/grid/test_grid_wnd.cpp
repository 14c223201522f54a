#include "GridTestSupport.h"

#include "grid/KXEditControls.h"
#include "grid/KXGridUndo.h"
#include "afx/afxreg.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxcontrols/KXStylesMap.h"
#include "kxinstsigpane/CommonInterface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

// The grids read and write user options: keep them in memory, never in the
// user's own settings.
class InMemoryRegistry : public ::testing::Environment {
public:
    void SetUp() override { AfxSetRegistryDirectory(""); }
};
::testing::Environment* const g_registry = ::testing::AddGlobalTestEnvironment(new InMemoryRegistry);

class GridWnd : public ::testing::Test {
protected:
    void SetUp() override { AfxResetKeyState(); }
    void TearDown() override { AfxResetKeyState(); }
    CRecordingGrid grid;
};

CString Value(CKXGridWnd& g, ROWCOL row, ROWCOL col) {
    CGXStyle style;
    g.ComposeStyleRowCol(row, col, &style);
    return style.GetValue();
}

std::ptrdiff_t VirtualSlot(const void* memberPointer) {
    // A pointer to a virtual member holds 1 + its byte offset in the table.
    std::ptrdiff_t raw = 0;
    std::memcpy(&raw, memberPointer, sizeof raw);
    return (raw - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

template <class F> std::ptrdiff_t Slot(F f) {
    static_assert(sizeof(F) == 2 * sizeof(void*));
    return VirtualSlot(&f);
}

} // namespace

TEST_F(GridWnd, ConstructionState) {
    EXPECT_EQ(grid.m_nTransState, 0);
    EXPECT_TRUE(grid.m_bSortAscending);
    EXPECT_EQ(grid.m_nSortCol, -1);
    EXPECT_EQ(grid.m_nFirstDataRow, GX_INVALID);
    EXPECT_EQ(grid.m_nHeaderRow, GX_INVALID);
    EXPECT_EQ(grid.m_nSavedRow, GX_INVALID);
    EXPECT_FALSE(grid.m_bUndoDisabled);
    EXPECT_FALSE(grid.m_bCellControlClick);
    EXPECT_FALSE(grid.m_bKeySelectionSync);
    EXPECT_EQ(grid.m_pListHeader, nullptr);
    EXPECT_EQ(grid.m_pUndoHost, nullptr);
    EXPECT_TRUE(grid.m_excludedCommands.empty());
    EXPECT_EQ(grid.m_bMultipleObjects, 0);

    // Created by its run-time class, as the pane creates grids.
    std::unique_ptr<CObject> created(RUNTIME_CLASS(CKXGridWnd)->CreateObject());
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(created->IsKindOf(RUNTIME_CLASS(CKXGridWnd)));
    EXPECT_TRUE(created->IsKindOf(RUNTIME_CLASS(CGXGridWnd)));
    EXPECT_STREQ(created->GetRuntimeClass()->m_lpszClassName, "CKXGridWnd");
}

TEST_F(GridWnd, InitialisationKeepsOnlyHeaderRowsAndSetsParameters) {
    grid.Create(WS_CHILD, CRect(0, 0, 640, 480), nullptr, 100);
    grid.InitializeGrid(6, 2, 2, nullptr);
    EXPECT_EQ(grid.GetRowCount(), 5u);
    EXPECT_EQ(grid.m_nFirstDataRow, 6u);
    EXPECT_EQ(grid.m_nSavedRow, 6u);
    EXPECT_EQ(grid.m_nFirstDataCol, 2u);
    EXPECT_EQ(grid.m_nSavedCol, 2u);
    EXPECT_EQ(grid.m_nHeaderRow, 2u);
    CGXGridParam* p = grid.GetParam();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->IsEnableUndo());
    EXPECT_EQ(p->GetSelectionFlags(), 0xF8);
    EXPECT_TRUE(p->IsEnableMoveCols());
    EXPECT_FALSE(p->IsSortColsOnDblClk());
    EXPECT_TRUE(p->IsNumberedRowHeaders());
    EXPECT_EQ(p->GetGridLineStyle(), static_cast<UINT>(PS_DOT));
    EXPECT_EQ(p->GetEnterKeyAction(), GX_DOWN); // no registry value: down
    ASSERT_NE(grid.GetStylesMap(), nullptr);
    EXPECT_TRUE(grid.GetStylesMap()->IsUserAttribute(IDS_UA_TOOLTIPTEXT));
    // The grid's own styles map, with the base styles of the property states.
    ASSERT_NE(grid.m_pStylesMap, nullptr);
    EXPECT_EQ(grid.GetStylesMap(), static_cast<CGXStylesMap*>(grid.m_pStylesMap));
    for (int i = 0; i < 8; ++i)
        EXPECT_NE(grid.m_pStylesMap->GetPropStyleId(i), 0) << i;
}

TEST_F(GridWnd, MoveDirectionComesFromTheRegistry) {
    ASSERT_TRUE(CKXRegistrySettings::OpenRegistryKey());
    CKXRegistrySettings::SetToRegistry("move_direction", "right");
    CRecordingGrid g;
    SetUpGrid(g);
    EXPECT_EQ(g.GetParam()->GetEnterKeyAction(), GX_RIGHT);
    CKXRegistrySettings::OpenRegistryKey();
    CKXRegistrySettings::DeleteFromRegistry("move_direction");
}

TEST_F(GridWnd, RowNumbersCountFromTheFirstDataRow) {
    SetUpGrid(grid, 3);
    EXPECT_EQ(Value(grid, 6, 0), "1");
    EXPECT_EQ(Value(grid, 8, 0), "3");
    EXPECT_EQ(Value(grid, 3, 0), "");
    EXPECT_EQ(Value(grid, 5, 0), "");
}

TEST_F(GridWnd, RowNumberColumnIsFittedToTheLargestNumber) {
    grid.withRowNumberInfo = true;
    SetUpGrid(grid, 999);
    grid.GetColumnWidthTip();
    EXPECT_EQ(grid.GetColWidth(0), std::max(grid.Width_LPtoDP(3000), 20) + 3);

    CRecordingGrid few;
    few.withRowNumberInfo = true;
    SetUpGrid(few, 2);
    few.GetColumnWidthTip();
    EXPECT_GE(few.GetColWidth(0), 23);

    // Without a descriptor for column 0 nothing is fitted.
    CRecordingGrid none;
    SetUpGrid(none, 999);
    const int before = none.GetColWidth(0);
    none.GetColumnWidthTip();
    EXPECT_EQ(none.GetColWidth(0), before);
}

TEST_F(GridWnd, ShowRowNumbersHidesColumnZeroAndRecordsIt) {
    grid.withRowNumberInfo = true;
    SetUpGrid(grid);
    grid.ShowRowNumbers(FALSE);
    EXPECT_TRUE(grid.IsColHidden(0));
    EXPECT_EQ(grid.rowNumberInfo.m_bShown, 0);
    grid.ShowRowNumbers(TRUE);
    EXPECT_FALSE(grid.IsColHidden(0));
    EXPECT_EQ(grid.rowNumberInfo.m_bShown, 1);
}

TEST_F(GridWnd, MoveDirectionWordsWithoutCase) {
    SetUpGrid(grid);
    CGXGridParam* p = grid.GetParam();
    grid.SetMoveDirection("up");
    EXPECT_EQ(p->GetEnterKeyAction(), GX_UP);
    grid.SetMoveDirection("Left");
    EXPECT_EQ(p->GetEnterKeyAction(), GX_LEFT);
    grid.SetMoveDirection("RIGHT");
    EXPECT_EQ(p->GetEnterKeyAction(), GX_RIGHT);
    grid.SetMoveDirection("sideways");
    EXPECT_EQ(p->GetEnterKeyAction(), GX_RIGHT); // unchanged
    grid.SetMoveDirection("");
    EXPECT_EQ(p->GetEnterKeyAction(), GX_DOWN);
    grid.SetMoveDirection("left");
    grid.SetMoveDirection("dOwN");
    EXPECT_EQ(p->GetEnterKeyAction(), GX_DOWN);
}

// A grid that does not do a piece of work refuses it: the base never answers TRUE for nothing.
TEST_F(GridWnd, InterfaceDefaultsThePaneRelyOn) {
    CKXGridWnd& g = grid;
    EXPECT_FALSE(g.CanRemoveModel());
    EXPECT_FALSE(g.CanEditPin());
    EXPECT_FALSE(g.CanAssignModel());
    EXPECT_FALSE(g.CanAddPupd());
    EXPECT_FALSE(g.CanAddTermination());
    EXPECT_FALSE(g.CanPasteSpecial());
    EXPECT_FALSE(g.CanDelete());
    EXPECT_FALSE(g.IsCurrentCellConnectable());
    EXPECT_FALSE(g.HasPupd());
    EXPECT_FALSE(g.HasTermination());
    EXPECT_FALSE(g.CanInsertComment());
    EXPECT_FALSE(g.CanEditComment());
    EXPECT_FALSE(g.CanDeleteComment());
    EXPECT_FALSE(g.CanRenameConnections());
    EXPECT_FALSE(g.IsUndoDisabled());
    g.m_bUndoDisabled = TRUE;
    EXPECT_TRUE(g.IsUndoDisabled());
    CString text = "x";
    EXPECT_FALSE(g.Paste(text, FALSE));
    EXPECT_FALSE(g.PasteFromClipboardViewer(0, 0));
    CMapStringToString values;
    EXPECT_FALSE(g.ChangeCustomColumnValue(values));
    EXPECT_FALSE(g.DeleteSelection());
    EXPECT_FALSE(g.AddConnectionsForPupd(FALSE, FALSE));
    EXPECT_FALSE(g.CanSwapPins());
    EXPECT_FALSE(g.SwapPins(0, ""));
    EXPECT_FALSE(g.CanSwapSignals());
    EXPECT_FALSE(g.SwapSignals(0, ""));
    EXPECT_FALSE(g.DeleteConnections());
    EXPECT_FALSE(g.AddTerminationInstance("", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                          "", "", "", 0));
    EXPECT_FALSE(g.EditTermination(nullptr, nullptr, nullptr, nullptr, "", "", "", 0, 0));
    EXPECT_FALSE(g.DeleteTerminations());
    EXPECT_FALSE(g.DeletePupds(nullptr, nullptr));
    EXPECT_FALSE(g.AddPupdInstance("", "", "", "", "", "", "", nullptr, nullptr, FALSE));
    EXPECT_FALSE(g.EditPupd("", "", "", "", nullptr, nullptr, FALSE));
    EXPECT_FALSE(g.AreColumnsKnown(nullptr));
    CKXGridWnd plain;
    EXPECT_EQ(plain.GetColumnInfo(0), nullptr);
    EXPECT_FALSE(plain.CanCopy()); // its OnEditCopy copies nothing
    EXPECT_EQ(g.GetSortColumn(), -1);
    g.SetSortColumn(3);
    EXPECT_EQ(g.GetSortColumn(), 3);
    EXPECT_TRUE(g.IsSortAscending());
    CString out = "kept";
    g.GetDeleteScriptCommand(out);
    g.GetSelectionAsList(out);
    g.GetShownObjectNames(out);
    EXPECT_EQ(out, "kept");
}

TEST_F(GridWnd, InterfaceSlotsKeepTheirOrder) {
    using G = CKXGridWnd;
    const std::ptrdiff_t slots[] = {
        Slot(&G::CanRemoveModel),
        Slot(&G::CanEditPin),
        Slot(&G::CanAssignModel),
        Slot(&G::CanAddPupd),
        Slot(&G::CanAddTermination),
        Slot(&G::CanPasteSpecial),
        Slot(&G::CanDelete),
        Slot(&G::IsCurrentCellConnectable),
        Slot(&G::HasPupd),
        Slot(&G::HasTermination),
        Slot(&G::CanInsertComment),
        Slot(&G::CanEditComment),
        Slot(&G::CanDeleteComment),
        Slot(&G::CanRenameConnections),
        Slot(&G::IsUndoDisabled),
        Slot(&G::Paste),
        Slot(&G::PasteFromClipboardViewer),
        Slot(&G::InitializeGrid),
        Slot(&G::CreateToolTip),
        Slot(&G::RegisterHeaderControl),
        Slot(&G::RegisterBitmapEditControl),
        Slot(&G::RegisterPupdControl),
        Slot(&G::RegisterBitmapButtonControl),
        Slot(&G::RegisterDynComboControl),
        Slot(&G::EnableKeySelectionSync),
        Slot(&G::EnableCellControlClick),
        Slot(&G::OnCellControlClick),
        Slot(&G::EditComment),
        Slot(&G::InsertComment),
        Slot(&G::RequestDeleteComment),
        Slot(&G::DeleteComment),
        Slot(&G::ChangeCustomColumnValue),
        Slot(&G::SortColumn),
        Slot(&G::OnSortColumn),
        Slot(&G::SortRows),
        Slot(&G::NotifySelectionChanged),
        Slot(&G::ShowPropertyEditor),
        Slot(&G::GetSelectedObjectNames),
        Slot(&G::InitCanPasteCallback),
        Slot(&G::UpdatePaneTitle),
        Slot(&G::ReservedHook),
        Slot(&G::OnEditCopy),
        Slot(&G::DeleteSelection),
        Slot(&G::OnKeyF4),
        Slot(&G::ActivateGridView),
        Slot(&G::RemoveListPaneSelection),
        Slot(&G::AddPupd),
        Slot(&G::AddConnectionsForPupd),
        Slot(&G::ShowFindReplace),
        Slot(&G::OnAddTermination),
        Slot(&G::AppendColumnVisibilityMenu),
        Slot(&G::AppendSortMenu),
        Slot(&G::HideUnhideColumns),
        Slot(&G::GetSelectedObjects),
        Slot(&G::MoveToNextCell),
        Slot(&G::SelectAllRows),
        Slot(&G::ShowContextMenu),
        Slot(&G::GetColumnMenuText),
        Slot(&G::SetColumnMode),
        Slot(&G::AssignModel),
        Slot(&G::RefreshRowsByName),
        Slot(&G::RemoveModel),
        Slot(&G::EditPin),
        Slot(&G::SetPinComment),
        Slot(&G::GetSortColumn),
        Slot(&G::SetSortColumn),
        Slot(&G::IsSortAscending),
        Slot(&G::CanSwapPins),
        Slot(&G::SwapPins),
        Slot(&G::CanSwapSignals),
        Slot(&G::SwapSignals),
        Slot(&G::RenameConnections),
        Slot(&G::SetAutoComplete),
        Slot(&G::ShowSignalCombo),
        Slot(&G::ShowRowNumbers),
        Slot(&G::SetMoveDirection),
        Slot(&G::CustomizeColumns),
        Slot(&G::ScrollToFirstRow),
        Slot(&G::SelectRowsByKey),
        Slot(&G::DeleteConnections),
        Slot(&G::AddTerminationInstance),
        Slot(&G::EditTermination),
        Slot(&G::DeleteTerminations),
        Slot(&G::DeletePupds),
        Slot(&G::AddPupdInstance),
        Slot(&G::EditPupd),
        Slot(&G::GetShownObjectNames),
        Slot(&G::GetSelectionAsList),
        Slot(&G::GetDeleteScriptCommand),
        Slot(&G::CrossSelectInHost),
        Slot(&G::AreColumnsKnown),
        Slot(&G::GetColumnInfo),
        Slot(&G::GetColumnWidthTip),
    };
    static_assert(std::size(slots) == 93);
    for (size_t i = 1; i < std::size(slots); ++i)
        EXPECT_EQ(slots[i], slots[0] + static_cast<std::ptrdiff_t>(i)) << "operation " << 83 + i;
}

TEST_F(GridWnd, RegistersTheSharedControlsUnderTheirIds) {
    SetUpGrid(grid);
    grid.RegisterBitmapEditControl();
    grid.RegisterBitmapButtonControl();
    auto* pEdit = dynamic_cast<CKXBitmapEditButton*>(grid.GetRegisteredControl(IDS_CTRL_TERMINATION_BUTTON));
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(pEdit->GetID(), IDS_CTRL_TERMINATION_BUTTON);
    EXPECT_EQ(pEdit->GetButton()->GetBitmapId(), IDB_TERMINATION_BUTTON);
    auto* pIcon =
        dynamic_cast<CGXBitmapButton*>(grid.GetRegisteredControl(static_cast<WORD>(IDS_CTRL_COMMENTS_ICON)));
    ASSERT_NE(pIcon, nullptr);
    EXPECT_EQ(pIcon->GetBitmapId(), IDB_COMMENTS_ICON);
}

TEST_F(GridWnd, ActivationRestoresTheSavedCellOrFallsBack) {
    SetUpGrid(grid, 4);
    grid.SetCurrentCell(8, 3);
    grid.InitCanPasteCallback();
    EXPECT_EQ(grid.m_nSavedRow, 8u);
    EXPECT_EQ(grid.m_nSavedCol, 3u);
    EXPECT_FALSE(grid.IsCurrentCell());
    grid.GetSelectedObjectNames();
    EXPECT_TRUE(grid.IsCurrentCell(8, 3));

    // The saved row is now hidden and the saved column beyond the grid.
    grid.HideRows(8, 8);
    grid.m_nSavedCol = 9;
    grid.GetSelectedObjectNames();
    EXPECT_TRUE(grid.IsCurrentCell(6, 1));
}

TEST_F(GridWnd, SelectionNeverSpansColumnsNorHeaderRows) {
    SetUpGrid(grid, 4);
    CGXRange across(6, 1, 7, 2);
    EXPECT_FALSE(grid.CanChangeSelection(&across, TRUE, FALSE));
    CGXRange intoHeader(2, 1, 7, 1);
    grid.CanChangeSelection(&intoHeader, TRUE, FALSE);
    EXPECT_EQ(intoHeader.top, 6u);
    EXPECT_FALSE(grid.OnStartSelection(3, 1, 0, CPoint()));
    EXPECT_TRUE(grid.OnStartSelection(6, 1, 0, CPoint()));
}

TEST_F(GridWnd, CtrlClickTogglesCellsOfOneColumn) {
    SetUpGrid(grid, 4);
    grid.SetCurrentCell(6, 2);
    grid.SelectRange(CGXRange(6, 2), TRUE);
    AfxSetKeyState(VK_CONTROL, TRUE);
    grid.OnLButtonClickedRowCol(8, 2, MK_CONTROL, CPoint());
    EXPECT_TRUE(grid.IsCellSelected(8, 2));
    EXPECT_TRUE(grid.IsCellSelected(6, 2));
    grid.OnLButtonClickedRowCol(6, 2, MK_CONTROL, CPoint());
    EXPECT_FALSE(grid.IsCellSelected(6, 2));
    EXPECT_TRUE(grid.IsCellSelected(8, 2));

    // A Ctrl selection change while ranges lie outside the current cell's
    // column clears the whole selection.
    grid.SelectRange(CGXRange(7, 3), TRUE);
    CGXRange next(9, 2);
    EXPECT_FALSE(grid.CanChangeSelection(&next, FALSE, FALSE));
    EXPECT_EQ(grid.GetParam()->GetRangeList()->GetCount(), 0);
}

TEST_F(GridWnd, SelectAllRowsTakesSelectionAndCurrentCellAway) {
    SetUpGrid(grid, 4);
    grid.SetCurrentCell(7, 1);
    grid.SelectRange(CGXRange(6, 1, 8, 1), TRUE);
    grid.SelectAllRows();
    EXPECT_FALSE(grid.IsCellSelected(7, 1));
    EXPECT_FALSE(grid.IsCurrentCell());
}

// Tab is the grid's walk through its cells (the key, not only the step it runs).
TEST_F(GridWnd, TabWrapsAroundTheGrid) {
    SetUpGrid(grid, 3, 4);
    auto tab = [this] { grid.ProcessKeys(&grid, WM_KEYDOWN, VK_TAB, 1, 0); };
    grid.SetCurrentCell(6, 2);
    tab();
    EXPECT_TRUE(grid.IsCurrentCell(6, 3));
    grid.SetCurrentCell(6, 4);
    tab();
    EXPECT_TRUE(grid.IsCurrentCell(7, 1));
    grid.SetCurrentCell(8, 4);
    tab();
    EXPECT_TRUE(grid.IsCurrentCell(6, 1));

    AfxSetKeyState(VK_SHIFT, TRUE);
    grid.SetCurrentCell(6, 1);
    tab();
    EXPECT_TRUE(grid.IsCurrentCell(8, 4));
    tab();
    EXPECT_TRUE(grid.IsCurrentCell(8, 3));
    // Shift belongs to the key: Shift+Tab selects nothing on its way.
    EXPECT_FALSE(grid.IsCellSelected(8, 4));
    grid.SetCurrentCell(7, 1);
    tab();
    EXPECT_TRUE(grid.IsCurrentCell(6, 4));
    AfxSetKeyState(VK_SHIFT, FALSE);
}

// Hidden rows and columns are stepped over: the walk goes through the cells the user sees.
TEST_F(GridWnd, TabStepsOverHiddenRowsAndColumns) {
    SetUpGrid(grid, 4, 4);
    grid.HideCols(4, 4, TRUE);
    grid.HideRows(7, 7, TRUE);
    grid.SetCurrentCell(6, 3);
    grid.ProcessKeys(&grid, WM_KEYDOWN, VK_TAB, 1, 0);
    EXPECT_TRUE(grid.IsCurrentCell(8, 1));
    grid.HideRows(9, 9, TRUE);
    grid.SetCurrentCell(8, 3);
    grid.ProcessKeys(&grid, WM_KEYDOWN, VK_TAB, 1, 0);
    EXPECT_TRUE(grid.IsCurrentCell(6, 1));
}

TEST_F(GridWnd, TabSkipsADisabledCellToTheNextRow) {
    SetUpGrid(grid, 3, 4);
    grid.SetStyleRange(CGXRange(6, 3), CGXStyle().SetEnabled(FALSE));
    grid.SetCurrentCell(6, 2);
    grid.ProcessKeys(&grid, WM_KEYDOWN, VK_TAB, 1, 0);
    EXPECT_TRUE(grid.IsCurrentCell(7, 1));
}

TEST_F(GridWnd, HomeEndAndPageUpStayOnDataRows) {
    SetUpGrid(grid, 5, 4);
    grid.SetCurrentCell(8, 2);
    grid.OnGridKeyDown(VK_END, 1, 0);
    EXPECT_TRUE(grid.IsCurrentCell(8, 4));
    grid.OnGridKeyDown(VK_HOME, 1, 0);
    EXPECT_TRUE(grid.IsCurrentCell(8, 1));
    AfxSetKeyState(VK_CONTROL, TRUE);
    grid.OnGridKeyDown(VK_END, 1, 0);
    EXPECT_TRUE(grid.IsCurrentCell(10, 4));
    grid.OnGridKeyDown(VK_HOME, 1, 0);
    ROWCOL row = 0;
    ROWCOL col = 0;
    ASSERT_TRUE(grid.GetCurrentCell(row, col));
    EXPECT_GE(row, 6u);
    EXPECT_EQ(col, 1u);
    AfxResetKeyState();
    grid.SetCurrentCell(10, 2);
    grid.OnGridKeyDown(VK_PRIOR, 1, 0);
    ASSERT_TRUE(grid.GetCurrentCell(row, col));
    EXPECT_GE(row, 6u);
}

TEST_F(GridWnd, HomeAndEndInACellBeingEditedMoveOnlyTheCaret) {
    SetUpGrid(grid, 3, 4);
    grid.SetStyleRange(CGXRange(7, 2), CGXStyle().SetValue("OLD"));
    grid.SetCurrentCell(7, 2);
    grid.ProcessKeys(&grid, WM_KEYDOWN, VK_F2);
    grid.ProcessKeys(&grid, WM_CHAR, 'Z');
    CGXControl* control = grid.GetCurrentCellControl();
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(control->IsActive());
    for (const UINT key : {VK_HOME, VK_HOME, VK_END, VK_END}) {
        EXPECT_TRUE(grid.ProcessKeys(&grid, WM_KEYDOWN, key)) << key;
        EXPECT_TRUE(grid.IsCurrentCell(7, 2)) << key;
        EXPECT_TRUE(control->IsActive()) << key;
        EXPECT_EQ(Value(grid, 7, 2), "OLD") << key; // nothing committed
    }
    // The caret went home before End: a character typed now lands at the end of the text.
    CString text;
    control->GetCurrentText(text);
    grid.ProcessKeys(&grid, WM_CHAR, '9');
    CString typed;
    control->GetCurrentText(typed);
    EXPECT_EQ(typed, text + "9");
    // Without an edit the keys still move the current cell.
    grid.ProcessKeys(&grid, WM_KEYDOWN, VK_ESCAPE);
    grid.ProcessKeys(&grid, WM_KEYUP, VK_ESCAPE);
    ASSERT_FALSE(control->IsActive());
    grid.ProcessKeys(&grid, WM_KEYDOWN, VK_END);
    EXPECT_TRUE(grid.IsCurrentCell(7, 4));
}

TEST_F(GridWnd, KeySelectionSyncReportsOncePerKey) {
    SetUpGrid(grid, 4);
    grid.SetCurrentCell(6, 1);
    grid.OnKeyDown(VK_DOWN, 1, 0);
    grid.OnKeyUp(VK_DOWN, 1, 0);
    EXPECT_EQ(grid.crossSelects, 0); // sync off

    grid.EnableKeySelectionSync(TRUE);
    grid.OnKeyDown(VK_DOWN, 1, 0);
    EXPECT_TRUE(grid.m_bKeyDown);
    grid.OnKeyUp(VK_DOWN, 1, 0);
    EXPECT_EQ(grid.crossSelects, 1);
    EXPECT_EQ(grid.selectionNotes, 1);
    EXPECT_FALSE(grid.m_bKeyDown);
    EXPECT_FALSE(grid.m_bKeySelectionChanged);

    grid.OnKeyUp(VK_F4, 1, 0);
    EXPECT_EQ(grid.f4Presses, 1);
    EXPECT_EQ(grid.crossSelects, 1);
}

TEST_F(GridWnd, ProcessKeysHandlesTabEscapeAndFind) {
    SetUpGrid(grid, 4);
    grid.SetCurrentCell(6, 1);
    EXPECT_TRUE(grid.ProcessKeys(&grid, WM_KEYDOWN, VK_TAB));
    EXPECT_TRUE(grid.ProcessKeys(&grid, WM_KEYUP, VK_ESCAPE));
    AfxSetKeyState(VK_CONTROL, TRUE);
    // Ctrl+F opens the dialog once, on the press: the release takes the key and opens nothing more.
    EXPECT_TRUE(grid.ProcessKeys(&grid, WM_KEYDOWN, 'F'));
    EXPECT_TRUE(grid.ProcessKeys(&grid, WM_KEYUP, 'F'));
    EXPECT_TRUE(grid.ProcessKeys(&grid, WM_KEYDOWN, 'H'));
    EXPECT_EQ(grid.finds, 1);
    EXPECT_EQ(grid.replaces, 1);
    EXPECT_EQ(grid.OnGetDlgCode(), static_cast<UINT>(DLGC_WANTALLKEYS));
}

TEST_F(GridWnd, ColumnTrackingRefusedForRowNumbersHiddenAndFixedColumns) {
    SetUpGrid(grid, 2, 4);
    EXPECT_FALSE(grid.OnTrackColWidth(0));
    grid.fixedInfo.m_nWidthType = CKXColumnInfoClass::WidthFixed;
    EXPECT_FALSE(grid.OnTrackColWidth(3));
    grid.HideCols(2, 2);
    EXPECT_FALSE(grid.OnTrackColWidth(2));
    EXPECT_TRUE(grid.OnHitHiddenCol(1, 2, 0, CPoint()));
    EXPECT_FALSE(grid.OnHitHiddenCol(1, 1, 0, CPoint()));
}

TEST_F(GridWnd, HideUnhideColumnsIsOneUndoStep) {
    SetUpGrid(grid, 2, 4);
    grid.HideUnhideColumns(2);
    EXPECT_TRUE(grid.IsColHidden(2));
    grid.HideUnhideColumns(2);
    EXPECT_FALSE(grid.IsColHidden(2));
    grid.Undo();
    EXPECT_TRUE(grid.IsColHidden(2));
    grid.HideUnhideColumns(99); // no such column: nothing
}

TEST_F(GridWnd, UndoStepModeIsHandedToTheHostThenJoins) {
    struct Host : CCommonInterface {
        std::vector<int> modes;
        void AddUndoCommand(CGXGridCore*, CGXCommand* cmd, GXCmdType, int mode) override {
            modes.push_back(mode);
            delete cmd;
        }
    } host;
    grid.Create(WS_CHILD, CRect(0, 0, 640, 480), nullptr, 100);
    grid.InitializeGrid(6, 1, 2, &host);
    grid.m_nTransState = 1;
    grid.AddCommand(new CKXSortUndoCmd(&grid, -1, TRUE), gxDo);
    grid.AddCommand(new CKXSortUndoCmd(&grid, -1, TRUE), gxDo);
    ASSERT_EQ(host.modes.size(), 2u);
    EXPECT_EQ(host.modes[0], 1);
    EXPECT_EQ(host.modes[1], 2);
    EXPECT_EQ(grid.m_nTransState, 2);
    EXPECT_FALSE(grid.CanUndo());
    // The pane's own recording bypasses the host.
    grid.AddUndoCommand(new CKXSortUndoCmd(&grid, -1, TRUE), gxDo);
    EXPECT_TRUE(grid.CanUndo());
}

// ---------------------------------------------------------------------------
// Controls of the controls library and the grid menus.

#include "afx/afxanswer.h"
#include "afx/afxmenu.h"
#include "afx/afxres.h"
#include "kxcontrols/KXCellControls.h"

TEST_F(GridWnd, PullUpControlsCarryTheirStates) {
    SetUpGrid(grid);
    grid.RegisterPupdControl();
    struct Expect {
        UINT id;
        BOOL enabled, puL, pdL, puA, pdA;
    };
    const Expect expected[] = {
        {9018, FALSE, 0, 0, 0, 0}, {9021, TRUE, 1, 0, 0, 0}, {9023, TRUE, 0, 1, 0, 0},
        {9048, TRUE, 0, 0, 1, 0},  {9049, TRUE, 0, 0, 0, 1}, {9025, TRUE, 1, 1, 0, 0},
        {9047, TRUE, 0, 0, 1, 1},  {9027, TRUE, 1, 0, 0, 1}, {9029, TRUE, 0, 1, 1, 0},
    };
    for (const Expect& e : expected) {
        auto* pCtrl = dynamic_cast<CKXPupdCtrl*>(grid.GetRegisteredControl(static_cast<WORD>(e.id)));
        ASSERT_NE(pCtrl, nullptr) << e.id;
        EXPECT_EQ(pCtrl->IsPuPdCtrlEnabled() != FALSE, e.enabled != FALSE) << e.id;
        if (!e.enabled) continue;
        EXPECT_EQ(pCtrl->HasLocalPullUp() != FALSE, e.puL != FALSE) << e.id;
        EXPECT_EQ(pCtrl->HasLocalPullDown() != FALSE, e.pdL != FALSE) << e.id;
        EXPECT_EQ(pCtrl->HasAliasPullUp() != FALSE, e.puA != FALSE) << e.id;
        EXPECT_EQ(pCtrl->HasAliasPullDown() != FALSE, e.pdA != FALSE) << e.id;
    }
}

TEST_F(GridWnd, HeaderAndFilterControls) {
    SetUpGrid(grid);
    grid.RegisterHeaderControl(2);
    ASSERT_NE(grid.m_pListHeader, nullptr);
    EXPECT_EQ(grid.GetRegisteredControl(static_cast<WORD>(IDS_CTRL_LIST_HEADER)),
              static_cast<CGXControl*>(grid.m_pListHeader));
    CDWordArray look;
    look.Add(3);
    grid.RegisterDynComboControl(
        [](int, CString& key) {
            key = "CCP\\filter";
            return 1;
        },
        look);
    auto* pCombo =
        dynamic_cast<CKXDynCombo*>(grid.GetRegisteredControl(static_cast<WORD>(IDS_CTRL_FILTER_COMBO)));
    ASSERT_NE(pCombo, nullptr);
    EXPECT_TRUE(pCombo->IsLookColumn(3));
    EXPECT_FALSE(pCombo->IsLookColumn(2));
    grid.CreateToolTip();
    EXPECT_NE(dynamic_cast<CKXGridToolTip*>(grid.GetToolTipProxy()), nullptr);
    EXPECT_TRUE(grid.IsGridToolTipsEnabled());
}

TEST_F(GridWnd, ColumnAndSortSubmenus) {
    struct Named : CRecordingGrid {
        void GetColumnMenuText(int col, CString& text, BOOL& enabled) override {
            text.Format("C%d", col);
            enabled = col != 2;
        }
    } g;
    SetUpGrid(g, 2, 11);
    g.HideCols(3, 3);
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    g.AppendColumnVisibilityMenu(&menu);
    g.AppendColumnVisibilityMenu(&menu); // filled twice: each column once
    EXPECT_EQ(menu.GetMenuItemCount(), 11);
    EXPECT_EQ(menu.GetMenuState(ID_COLUMN_BASE + 1, MF_BYCOMMAND) & MF_CHECKED,
              static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(menu.GetMenuState(ID_COLUMN_BASE + 3, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_NE(menu.GetMenuState(ID_COLUMN_BASE + 2, MF_BYCOMMAND) & MF_GRAYED, 0u);

    CMenu sort;
    ASSERT_TRUE(sort.CreatePopupMenu());
    g.AppendSortMenu(&sort);
    EXPECT_EQ(sort.GetMenuItemCount(), 9 + 3);
    CString text;
    sort.GetMenuString(ID_SORT_LAST, text, MF_BYCOMMAND);
    EXPECT_EQ(text, "C9");
}

TEST_F(GridWnd, ContextMenuOnDataRowsWithoutExcludedCommands) {
    CMessageRecorderWnd main;
    main.CreateEx(0, "MAIN", "main", 0, CRect(0, 0, 10, 10), nullptr, 0);
    AfxSetMainWnd(&main);
    AfxAddMenuResource(
        nullptr, 402,
        {{0, MF_POPUP, 0, "Grid"}, {1, MF_STRING, 35264, "Delete"}, {1, MF_STRING, 35555, "Comment"}});
    SetUpGrid(grid, 3);
    grid.SetFrozenRows(5, 5);
    CAfxAnswerQueue::Get().Reset();

    const CRect header = grid.CalcRectFromRowCol(2, 1);
    CAfxAnswerQueue::Get().PushMenu(35264);
    grid.ShowContextMenu(&grid, CPoint(header.left + 2, header.top + 2), 402, 0);
    EXPECT_EQ(CAfxAnswerQueue::Get().GetPendingCount(), 1); // no menu on the header row

    const CRect data = grid.CalcRectFromRowCol(7, 1);
    grid.m_excludedCommands.insert(35555);
    grid.ShowContextMenu(&grid, CPoint(data.left + 2, data.top + 2), 402, 0);
    EXPECT_EQ(CAfxAnswerQueue::Get().GetPendingCount(), 0);
    bool deleted = false;
    for (const auto& r : main.m_received)
        deleted = deleted || (r.message == WM_COMMAND && LOWORD(r.wParam) == 35264);
    EXPECT_TRUE(deleted);

    CAfxAnswerQueue::Get().PushMenu(35555); // excluded: not offered
    grid.ShowContextMenu(&grid, CPoint(data.left + 2, data.top + 2), 402, 0);
    bool commented = false;
    for (const auto& r : main.m_received)
        commented = commented || (r.message == WM_COMMAND && LOWORD(r.wParam) == 35555);
    EXPECT_FALSE(commented);

    grid.ShowContextMenu(&grid, CPoint(data.left + 2, data.top + 2), 999, 0); // no such menu: nothing
    CAfxAnswerQueue::Get().Reset();
    AfxRemoveModuleResources(nullptr);
    AfxSetMainWnd(nullptr);
    main.DestroyWindow();
}

TEST_F(GridWnd, EnterMovesInTheChosenDirection) {
    SetUpGrid(grid, 4, 4);
    grid.SetCurrentCell(7, 2);
    grid.ProcessKeys(&grid, WM_KEYDOWN, VK_RETURN);
    EXPECT_TRUE(grid.IsCurrentCell(8, 2));
    grid.SetMoveDirection("RIGHT");
    grid.ProcessKeys(&grid, WM_KEYDOWN, VK_RETURN);
    EXPECT_TRUE(grid.IsCurrentCell(8, 3));
}

TEST_F(GridWnd, AClickIntoACellControlKeepsTheSelection) {
    struct ControlGrid : CRecordingGrid {
        int clicks = 0;
        void OnCellControlClick(CPoint, BOOL* pKeep) override {
            ++clicks;
            *pKeep = TRUE;
        }
    } g;
    SetUpGrid(g, 4, 2);
    g.SetCurrentCell(7, 1);
    g.SelectRange(CGXRange(6, 1, 8, 1), TRUE);
    const CRect cell = g.CalcRectFromRowCol(7, 1);
    const CPoint pt(cell.left + 2, cell.top + 2);
    g.OnLButtonDown(0, pt);
    EXPECT_EQ(g.clicks, 0); // not enabled
    g.OnLButtonUp(0, pt);

    g.SelectRange(CGXRange(6, 1, 8, 1), TRUE);
    g.EnableCellControlClick(TRUE);
    g.OnLButtonDown(0, pt);
    EXPECT_EQ(g.clicks, 1);
    EXPECT_TRUE(g.m_bKeepSelection);
    g.SetSelection(nullptr); // ignored while the click is kept
    EXPECT_TRUE(g.IsCellSelected(8, 1));
    g.OnLButtonUp(0, pt);
    EXPECT_FALSE(g.m_bMouseDown);
    g.SetCurrentCell(9, 1); // the next move ends it
    EXPECT_FALSE(g.m_bKeepSelection);
}

// A call that activates the grid again while it is active (every automation call does) keeps the cell
// the user moved to, not the one kept from the grid's last activation.
TEST_F(GridWnd, ActivationOfAnActiveGridKeepsItsNewestCell) {
    SetUpGrid(grid, 4, 3);
    SetCursorPos(-100, -100);
    grid.SetCurrentCell(6, 1);
    grid.OnActivateGrid(TRUE);
    grid.SetCurrentCell(8, 2);
    grid.SelectRange(CGXRange(8, 2), TRUE);
    grid.OnActivateGrid(TRUE);
    EXPECT_TRUE(grid.IsCurrentCell(8, 2));
    EXPECT_TRUE(grid.IsCellSelected(8, 2));
}

// A call that selects while the grid is inactive (a host's selectObject, a journal's select) makes the
// newest cell: the activation every automation call makes comes back to it, the selection kept, and
// not to the cell the grid was left on.
TEST_F(GridWnd, ActivationKeepsTheCellACallMadeCurrentWhileInactive) {
    SetUpGrid(grid, 5, 3);
    SetCursorPos(-100, -100);
    grid.SetCurrentCell(6, 1);
    grid.OnActivateGrid(FALSE);
    grid.SetCurrentCell(9, 2);
    grid.SelectRange(CGXRange(8, 2), TRUE);
    grid.SelectRange(CGXRange(9, 2), TRUE);
    grid.OnActivateGrid(TRUE);
    EXPECT_TRUE(grid.IsCurrentCell(9, 2));
    EXPECT_TRUE(grid.IsCellSelected(8, 2));
    EXPECT_TRUE(grid.IsCellSelected(9, 2));
    EXPECT_FALSE(grid.IsCellSelected(6, 1));
    // Put aside by the pane and activated again: still that cell.
    grid.OnActivateGrid(FALSE);
    grid.InitCanPasteCallback();
    grid.OnActivateGrid(TRUE);
    EXPECT_TRUE(grid.IsCurrentCell(9, 2));
}

TEST_F(GridWnd, ActivationReportsAndRestoresTheCell) {
    SetUpGrid(grid, 4, 3);
    SetCursorPos(-100, -100); // the mouse is elsewhere
    grid.SetCurrentCell(8, 2);
    grid.OnActivateGrid(FALSE);
    EXPECT_EQ(grid.m_nSavedRow, 8u);
    grid.InitCanPasteCallback(); // the pane put the cell aside
    grid.OnActivateGrid(TRUE);
    EXPECT_TRUE(grid.IsCurrentCell(8, 2));
    EXPECT_EQ(grid.paneTitles, 1);
    EXPECT_EQ(grid.crossSelects, 1);
    EXPECT_EQ(grid.selectionNotes, 0); // key-selection sync is off
    grid.EnableKeySelectionSync(TRUE);
    grid.OnActivateGrid(TRUE);
    EXPECT_EQ(grid.selectionNotes, 1);
}

TEST_F(GridWnd, APlainGridWithoutHeaderRows) {
    // The pane's own hidden grid is set up without header rows.
    grid.Create(WS_CHILD, CRect(0, 0, 640, 480), nullptr, 8950);
    grid.InitializeGrid(GX_INVALID, GX_INVALID, GX_INVALID, nullptr);
    grid.SetColCount(2);
    grid.SetRowCount(3);
    EXPECT_EQ(Value(grid, 1, 0), "");
    CGXRange r(1, 1, 2, 1);
    EXPECT_TRUE(grid.CanChangeSelection(&r, FALSE, FALSE));
    EXPECT_EQ(r.top, 1u);
    grid.ScrollToFirstRow();
    grid.SelectAllRows();
    grid.GetSelectedObjectNames(); // nothing saved: no crash, no cell
}

TEST_F(GridWnd, ADragStaysInItsColumnAndOnDataRows)
{
    SetUpGrid(grid, 4, 3);
    grid.SetFrozenRows(5, 5);
    auto centre = [this](ROWCOL r, ROWCOL c) {
        const CRect rect = grid.CalcRectFromRowCol(r, c);
        return CPoint(rect.left + 3, rect.top + 3);
    };
    grid.OnLButtonDown(0, centre(7, 2));
    grid.OnMouseMove(MK_LBUTTON, centre(9, 2));
    EXPECT_TRUE(grid.IsCellSelected(8, 2));
    EXPECT_TRUE(grid.IsCellSelected(9, 2));
    grid.OnMouseMove(MK_LBUTTON, centre(9, 3));  // into a second column: refused
    EXPECT_FALSE(grid.IsCellSelected(9, 3));
    EXPECT_TRUE(grid.IsCellSelected(9, 2));
    grid.OnLButtonUp(MK_LBUTTON, centre(9, 3));
    // A release on a data cell cross-selects and notifies the viewers once.
    EXPECT_EQ(grid.crossSelects, 1);
    EXPECT_EQ(grid.selectionNotes, 1);
}

namespace {
// A site that records the sorts it hands on and, as a pane of several grids does, sorts the other
// grids, whose sorts come back to the hand-over.
class CSortingSite : public CFakeGridSite {
public:
    std::vector<std::pair<int, BOOL>> handed;
    std::vector<CKXGridWnd*> others;
    void SortColumnsInOtherGrids(CGXGridCore*, int col, BOOL ascending) override {
        handed.emplace_back(col, ascending);
        for (CKXGridWnd* g : others)
            g->SortColumnsWithUndo(col);
    }
};
} // namespace

TEST_F(GridWnd, ASortIsHandedToTheSitesOtherGridsOnce) {
    SetUpGrid(grid);
    CRecordingGrid other;
    SetUpGrid(other);
    CSortingSite site;
    site.others = {&other, &grid};
    grid.SetSite(&site);
    other.SetSite(&site);
    grid.m_bSortAscending = FALSE;
    grid.SortColumnsWithUndo(2);
    // The grids the site sorted hand nothing on: one hand-over, in this grid's direction.
    ASSERT_EQ(site.handed.size(), 1u);
    EXPECT_EQ(site.handed[0], std::make_pair(2, FALSE));
    EXPECT_FALSE(CKXGridWnd::s_bSortingColumns) << "the guard is down once the hand-over returned";
    // The next sort is handed on again.
    other.SortColumnsWithUndo(3);
    ASSERT_EQ(site.handed.size(), 2u);
    EXPECT_EQ(site.handed[1].first, 3);
}
