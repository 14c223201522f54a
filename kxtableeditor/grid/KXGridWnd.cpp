#include "grid/KXGridWnd.h"

#include "grid/KXEditControls.h"
#include "grid/KXEditResult.h"
#include "grid/KXGridEdit.h"
#include "grid/KXGridKeys.h"
#include "grid/KXGridScopes.h"
#include "grid/KXGridSite.h"
#include "grid/KXGridUndo.h"

#include "afx/afxmenu.h"

#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxcontrols/KXSortGrid.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/CommonInterface.h"
#include "kxinstsigpane/KXTransaction.h"

#include "kxcontrols/KXCellControls.h"
#include "kxcontrols/KXStylesMap.h"

#include <algorithm>
#include <map>
#include <new>
#include <unordered_map>

namespace {

using kxgrid::CtrlDown;
using kxgrid::ShiftDown;
using kxgrid::kSmart;

constexpr UINT kNoScroll = GX_SMART | GX_SCROLLINVIEW; // 10: smart update, keep in view

} // namespace

// The grid's own styles map: the controls library's map under this grid's run-time class.
class CKXGridStylesMap : public CKXStylesMap {
public:
    CKXGridStylesMap() = default;
};

IMPLEMENT_DYNCREATE(CKXGridWnd, CGXGridWnd)

CKXGridWnd::CKXGridWnd() : CKXGridWnd(KXGridKind::None) {}

namespace {

// Every transaction begun for a grid of a window that may not edit is refused, whoever begins it.
BOOL MayGridEdit(CGXGridCore* core) {
    const CKXGridWnd* grid = dynamic_cast<const CKXGridWnd*>(core);
    return !grid || grid->MayEdit() ? TRUE : FALSE;
}

} // namespace

CKXGridWnd::CKXGridWnd(KXGridKind kind) : m_kind(kind) {
    static const bool guarded = (CKXTransaction::SetBeginGuard(&MayGridEdit), true);
    (void)guarded;
    m_pStylesMap = new (std::nothrow) CKXGridStylesMap;
    CKXRegistrySettings::OpenRegistryKey();
    int show = m_bShowRowNumbers;
    if (CKXRegistrySettings::GetFromRegistry("show_row_numbers", show)) m_bShowRowNumbers = show;
}

bool CKXGridWnd::IsReadOnlyWindow() const {
    return Site() && Site()->OpenMode() == eOpenModeContext;
}

bool CKXGridWnd::MayEdit() const {
    if (!IsReadOnlyWindow()) return true;
    KXRefuseReadOnlyWindow();
    return false;
}

CKXGridWnd::~CKXGridWnd() {
    CKXGridEdit::ForgetGrid(*this); // an edit it held open goes with it
    // The parameter object only borrows the map; it must not see it after it is gone.
    if (CGXGridParam* pParam = GetParam()) {
        if (pParam->GetStylesMap() == static_cast<CGXStylesMap*>(m_pStylesMap))
            pParam->SetStylesMap(nullptr, FALSE);
    }
    delete m_pStylesMap;
    m_pStylesMap = nullptr;
    m_scrollTip.DestroyWindow();
    m_excludedCommands.clear();
}

bool CKXGridWnd::IsDataRow(ROWCOL row) const {
    return row != GX_INVALID && row >= DataRowStart();
}

ROWCOL CKXGridWnd::DataRowStart() const {
    // A grid set up without header rows has its data from row 1 on.
    return (m_nFirstDataRow == GX_INVALID || m_nFirstDataRow == 0) ? 1 : m_nFirstDataRow;
}

// ---------------------------------------------------------------------------
// Neutral defaults of the grid interface: a grid that does not do the work refuses it.

BOOL CKXGridWnd::CanRemoveModel() {
    return FALSE;
}
BOOL CKXGridWnd::CanEditPin() {
    return FALSE;
}
BOOL CKXGridWnd::CanAssignModel() {
    return FALSE;
}
BOOL CKXGridWnd::CanAddPupd() {
    return FALSE;
}
BOOL CKXGridWnd::CanAddTermination() {
    return FALSE;
}
BOOL CKXGridWnd::CanPasteSpecial() {
    return FALSE;
}
BOOL CKXGridWnd::CanDelete() {
    return FALSE;
}
BOOL CKXGridWnd::IsCurrentCellConnectable() {
    return FALSE;
}
BOOL CKXGridWnd::HasPupd() {
    return FALSE;
}
BOOL CKXGridWnd::HasTermination() {
    return FALSE;
}
BOOL CKXGridWnd::CanInsertComment() {
    return FALSE;
}
BOOL CKXGridWnd::CanEditComment() {
    return FALSE;
}
BOOL CKXGridWnd::CanDeleteComment() {
    return FALSE;
}
BOOL CKXGridWnd::CanRenameConnections() {
    return FALSE;
}
BOOL CKXGridWnd::IsUndoDisabled() {
    return m_bUndoDisabled;
}
BOOL CKXGridWnd::Paste(CString&, BOOL) {
    return FALSE;
}
BOOL CKXGridWnd::PasteFromClipboardViewer(int, int) {
    return FALSE;
}
void CKXGridWnd::EnableKeySelectionSync(BOOL bEnable) {
    m_bKeySelectionSync = bEnable;
}
void CKXGridWnd::EnableCellControlClick(BOOL bEnable) {
    m_bCellControlClick = bEnable;
}
void CKXGridWnd::OnCellControlClick(CPoint, BOOL*) {}
void CKXGridWnd::EditComment(const char*, int) {}
void CKXGridWnd::InsertComment(const char*, int) {}
void CKXGridWnd::RequestDeleteComment() {}
void CKXGridWnd::DeleteComment() {}
BOOL CKXGridWnd::ChangeCustomColumnValue(CMapStringToString&) {
    return FALSE;
}
// Sorts this grid itself (OnSortColumn is the user's request, which a grid kind may hand to the host).
void CKXGridWnd::SortColumn(int col) {
    CKXGridWnd::OnSortColumn(col);
}
void CKXGridWnd::NotifySelectionChanged() {}
void CKXGridWnd::ShowPropertyEditor() {}
void CKXGridWnd::UpdatePaneTitle() {}
void CKXGridWnd::ReservedHook() {}
void CKXGridWnd::OnEditCopy() {}
BOOL CKXGridWnd::DeleteSelection() {
    return FALSE;
}
void CKXGridWnd::OnKeyF4() {}
void CKXGridWnd::ActivateGridView() {}
void CKXGridWnd::RemoveListPaneSelection() {}
void CKXGridWnd::AddPupd() {}
BOOL CKXGridWnd::AddConnectionsForPupd(BOOL, BOOL) {
    return FALSE;
}
BOOL CKXGridWnd::AddPupdOnOpenPins(BOOL bScript, BOOL bShort, const std::function<BOOL()>& add) {
    return AddConnectionsForPupd(bScript, bShort) && add();
}
void CKXGridWnd::ShowFindReplace(BOOL) {}
void CKXGridWnd::OnAddTermination() {}
void CKXGridWnd::GetSelectedObjects() {}
void CKXGridWnd::GetColumnMenuText(int, CString&, BOOL&) {}
void CKXGridWnd::SetColumnMode(BOOL, BOOL, BOOL, int) {}
BOOL CKXGridWnd::AssignModel(int, LPCTSTR) {
    return FALSE;
}
void CKXGridWnd::RefreshRowsByName(CString) {}
BOOL CKXGridWnd::RemoveModel() {
    return FALSE;
}
BOOL CKXGridWnd::EditPin(BOOL) {
    return FALSE;
}
void CKXGridWnd::SetPinComment(CString instanceKey, CString pinKey, CString, CString comment) {
    KXWritePinComment(Site(), instanceKey, pinKey, comment);
}
int CKXGridWnd::GetSortColumn() {
    return m_nSortCol;
}
void CKXGridWnd::SetSortColumn(int col) {
    m_nSortCol = col;
}
BOOL CKXGridWnd::IsSortAscending() {
    return m_bSortAscending;
}
BOOL CKXGridWnd::CanSwapPins() {
    return FALSE;
}
BOOL CKXGridWnd::SwapPins(int, CString) {
    return FALSE;
}
BOOL CKXGridWnd::CanSwapSignals() {
    return FALSE;
}
BOOL CKXGridWnd::SwapSignals(int, CString) {
    return FALSE;
}
void CKXGridWnd::RenameConnections() {}
void CKXGridWnd::SetAutoComplete(BOOL) {}
void CKXGridWnd::ShowSignalCombo(BOOL) {}
void CKXGridWnd::CustomizeColumns() {}
void CKXGridWnd::SelectRowsByKey(CStringArray*, CString) {}
void CKXGridWnd::SelectRowsNamedByKeys(CStringArray* pKeys, const CString& keyColumn,
                                       std::vector<bool>& named) {
    SelectRowsByKey(pKeys, keyColumn);
    if (HasSelectedDataRow()) std::fill(named.begin(), named.end(), true);
}
BOOL CKXGridWnd::DeleteConnections() {
    return FALSE;
}
BOOL CKXGridWnd::AddTerminationInstance(CString, CStringArray*, CStringArray*, CStringArray*, CStringArray*,
                                        CStringArray*, CObArray*, CObArray*, CString, CString, CString, int) {
    return FALSE;
}
BOOL CKXGridWnd::EditTermination(CStringArray*, CMapStringToString*, CMapStringToString*, CMapStringToString*,
                                 CString, CString, CString, int, int, const CMapStringToString*) {
    return FALSE;
}
BOOL CKXGridWnd::DeleteTerminations() {
    return FALSE;
}
BOOL CKXGridWnd::DeletePupds(CStringArray*, CMapStringToString*) {
    return FALSE;
}
BOOL CKXGridWnd::AddPupdInstance(CString, CString, CString, CString, CString, CString, CString, CStringList*,
                                 CStringList*, BOOL) {
    return FALSE;
}
BOOL CKXGridWnd::EditPupd(CString, CString, CString, CString, CStringList*, CStringList*, BOOL) {
    return FALSE;
}
void CKXGridWnd::GetShownObjectNames(CString&) {}
void CKXGridWnd::GetSelectionAsList(CString&) {}
void CKXGridWnd::GetDeleteScriptCommand(CString&) {}
void CKXGridWnd::CrossSelectInHost() {}
BOOL CKXGridWnd::AreColumnsKnown(CStringArray*) {
    return FALSE;
}
CKXColumnInfoClass* CKXGridWnd::GetColumnInfo(int) {
    return nullptr;
}

// ---------------------------------------------------------------------------
// Set-up and the controls every grid shares.

void CKXGridWnd::InitializeGrid(ROWCOL firstDataRow, ROWCOL firstDataCol, ROWCOL headerRow,
                                CCommonInterface* pUndoHost) {
    m_nFirstDataRow = m_nSavedRow = firstDataRow;
    m_nFirstDataCol = m_nSavedCol = firstDataCol;
    m_nHeaderRow = headerRow;
    m_pUndoHost = pUndoHost;

    if (!GetParam()) SetParam(new CGXGridParam, TRUE);
    CGXGridParam* pParam = GetParam();
    pParam->EnableUndo(FALSE);
    if (m_pStylesMap) pParam->SetStylesMap(m_pStylesMap, FALSE);
    if (pParam->GetStylesMap()) pParam->GetStylesMap()->CreateStandardStyles();

    EnableGridToolTips(FALSE);
    CreateToolTip();
    EnableCellTips(RUNTIME_CLASS(CKXCellTipWndFactory), 0, 0, 500);
    EnableIntelliMouse();
    CGXGridWnd::Initialize();

    if (m_nFirstDataRow != GX_INVALID && m_nFirstDataRow > 0) SetRowCount(m_nFirstDataRow - 1, kSmart);

    if (CGXStylesMap* pMap = GetStylesMap()) {
        CGXStyle tip;
        tip.SetWrapText(TRUE).SetAutoSize(TRUE);
        pMap->AddUserAttribute(static_cast<WORD>(IDS_UA_TOOLTIPTEXT), tip);
    }

    SetScrollBarMode(3, 12, TRUE);
    SetAccelArrowKey(TRUE);
    SetMergeCellsMode(2, TRUE);

    pParam->EnableSelection(0xF8);
    pParam->EnableMoveCols(TRUE);
    pParam->SetSortColsOnDblClk(FALSE);
    pParam->SetActivateCellFlags(8);
    pParam->SetHideCurrentCell(0);
    pParam->SetExcelLikeSelectionFrame(TRUE);
    pParam->SetSyncCurrentCell(TRUE);
    pParam->GetProperties()->SetMarkColHeader(FALSE);
    pParam->GetProperties()->SetColor(4, GetSysColor(COLOR_WINDOW) | 0xF9000000u);
    pParam->SetNewGridLineMode(TRUE);
    pParam->SetGridLineStyle(PS_DOT);
    pParam->GetProperties()->SetMarkRowHeader(FALSE);
    pParam->EnableTrackRowHeight(0);
    pParam->SetNumberedRowHeaders(TRUE);

    CString direction;
    CKXRegistrySettings::OpenRegistryKey();
    CKXRegistrySettings::GetFromRegistry("move_direction", direction);
    SetMoveDirection(direction);

    CGXStyle rowHeader;
    rowHeader.SetBorders(gxBorderAll, CGXPen().SetStyle(PS_NULL));
    ChangeRowHeaderStyle(rowHeader, gxOverride, kSmart, gxDo);

    SetAccelScrollbars(TRUE);
    SetFocusOnKillFocus(0);
    pParam->EnableUndo(TRUE);
}

void CKXGridWnd::CreateToolTip() {
    InitCommonControls();
    if (!GetToolTipProxy()) SetToolTipProxy(new CKXGridToolTip(this, this));
    EnableGridToolTips(TRUE);
}

void CKXGridWnd::RegisterHeaderControl(ULONG arg) {
    auto* pHeader = new CKXListHeader(this, arg);
    m_pListHeader = pHeader;
    RegisterControl(static_cast<WORD>(IDS_CTRL_LIST_HEADER), pHeader, FALSE, TRUE);
}

void CKXGridWnd::RegisterBitmapEditControl() {
    RegisterControl(static_cast<WORD>(IDS_CTRL_TERMINATION_BUTTON),
                    new CKXBitmapEditButton(this, IDS_CTRL_TERMINATION_BUTTON, IDB_TERMINATION_BUTTON), FALSE,
                    TRUE);
}

void CKXGridWnd::RegisterPupdControl() {
    struct PupdKind {
        UINT id;
        BOOL puLocal, pdLocal, puAlias, pdAlias;
    };
    static constexpr PupdKind kinds[] = {
        {IDS_CTRL_PUPD_LOCAL_PULLUP, 1, 0, 0, 0},
        {IDS_CTRL_PUPD_LOCAL_PULLDOWN, 0, 1, 0, 0},
        {IDS_CTRL_PUPD_ALIAS_PULLUP, 0, 0, 1, 0},
        {IDS_CTRL_PUPD_ALIAS_PULLDOWN, 0, 0, 0, 1},
        {IDS_CTRL_PUPD_LOCAL_BOTH, 1, 1, 0, 0},
        {IDS_CTRL_PUPD_ALIAS_BOTH, 0, 0, 1, 1},
        {IDS_CTRL_PUPD_LOCAL_PULLUP_ALIAS_PULLDOWN, 1, 0, 0, 1},
        {IDS_CTRL_PUPD_LOCAL_PULLDOWN_ALIAS_PULLUP, 0, 1, 1, 0},
    };
    auto* pNone = new CKXPupdCtrl(this);
    pNone->EnablePuPdCtrl(FALSE);
    RegisterControl(static_cast<WORD>(IDS_CTRL_PUPD_NONE), pNone, FALSE, TRUE);
    for (const PupdKind& k : kinds) {
        auto* pCtrl = new CKXPupdCtrl(this);
        pCtrl->EnablePuPdCtrl(TRUE);
        pCtrl->SetPuPdValue(k.puLocal, k.pdLocal, k.puAlias, k.pdAlias);
        RegisterControl(static_cast<WORD>(k.id), pCtrl, FALSE, TRUE);
    }
}

void CKXGridWnd::RegisterBitmapButtonControl() {
    RegisterControl(static_cast<WORD>(IDS_CTRL_COMMENTS_ICON), new CGXBitmapButton(this, IDB_COMMENTS_ICON),
                    FALSE, TRUE);
}

void CKXGridWnd::RegisterDynComboControl(DynComboFill fill, CDWordArray& lookColumns) {
    auto* pCombo =
        new CKXDynCombo(this, IDC_GRID_COMBO_EDIT, IDC_GRID_COMBO_LIST, 0, m_nFirstDataRow, 1, fill);
    pCombo->SetLookAttribute(lookColumns, IDS_UA_TOOLTIPTEXT);
    RegisterControl(static_cast<WORD>(IDS_CTRL_FILTER_COMBO), pCombo, FALSE, TRUE);
}

// ---------------------------------------------------------------------------
// Undo hook.

void CKXGridWnd::AddCommand(CGXCommand* pCmd, GXCmdType ctType) {
    if (m_pUndoHost)
        m_pUndoHost->AddUndoCommand(this, pCmd, ctType, m_nTransState);
    else
        CGXGridWnd::AddCommand(pCmd, ctType);
    m_nTransState = 2;
}

void CKXGridWnd::AddCommandToSiteUndo(CGXCommand* pCmd, GXCmdType ctType) {
    CCommonInterface* sink = Site() ? Site()->UndoSink() : nullptr;
    if (!sink) {
        CKXGridWnd::AddCommand(pCmd, ctType);
        return;
    }
    sink->AddUndoCommand(this, pCmd, ctType, m_nTransState);
    m_nTransState = kUndoStepJoin;
}

std::vector<ROWCOL> CKXGridWnd::SelectedRowNumbers() {
    CRowColArray rows;
    GetSelectedRows(rows, FALSE, TRUE);
    std::vector<ROWCOL> out;
    out.reserve(static_cast<std::size_t>(rows.GetSize()));
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        out.push_back(rows[i]);
    return out;
}

CString CKXGridWnd::TopDesignName() const {
    CDesignContext top = m_designContext;
    while (const CInstanceContext parent = top.parent()) {
        const CDesignContext up = parent.design();
        if (!up) break;
        top = up;
    }
    return top ? CString(top.name()) : CString();
}

CKXAssocCompAPI* CKXGridWnd::GetBottomPaneView() const {
    return m_pOwnerPane ? m_pOwnerPane->AssocCompApi() : nullptr;
}

void CKXGridWnd::RollBackUndoStep() {
    m_nTransState = kUndoStepRollBack;
    AddCommand(nullptr, gxDo);
    m_nTransState = kUndoStepClose;
}

void CKXGridWnd::AddUndoCommand(CGXCommand* pCmd, GXCmdType ctType) {
    CGXGridWnd::AddCommand(pCmd, ctType);
}

// ---------------------------------------------------------------------------
// Row numbers and the row-number column.

BOOL CKXGridWnd::GetStyleRowCol(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, GXModifyType mt, int nType) {
    BOOL bFound = CGXGridWnd::GetStyleRowCol(nRow, nCol, style, mt, nType);
    if (nCol == 0 && nType == 0 && nRow != 0) {
        if (m_nFirstDataRow != GX_INVALID && nRow >= m_nFirstDataRow)
            style.SetValue(static_cast<long>(nRow - m_nFirstDataRow + 1));
        else
            style.SetValue("");
        bFound = TRUE;
    }
    return bFound;
}

void CKXGridWnd::ShowRowNumbers(BOOL bShow) {
    // A view setting: the column is hidden or sized outside the undo history.
    kxgrid::GridWriteScope noUndo(*this, kxgrid::GridWriteScope::kUndo);
    if (CKXColumnInfoClass* pInfo = GetColumnInfo(0)) pInfo->m_bShown = bShow ? 1 : 0;
    HideCols(0, 0, bShow ? FALSE : TRUE, nullptr, kSmart, gxDo);
    if (bShow) GetColumnWidthTip();
}

void CKXGridWnd::GetColumnWidthTip() {
    ResizeRowHeaderColumn();
}

void CKXGridWnd::ResizeRowHeaderColumn() {
    kxgrid::GridWriteScope noUndo(*this, kxgrid::GridWriteScope::kUndo);
    if (GetColumnInfo(0)) SetColWidth(0, 0, RowHeaderWidth(), nullptr, kSmart, gxDo);
}

void CKXGridWnd::FitRowHeaderColumn() {
    kxgrid::GridWriteScope noUndo(*this, kxgrid::GridWriteScope::kUndo);
    if (IsRowHeaderShown()) SetColWidth(0, 0, RowHeaderWidth(), nullptr, kSmart, gxDo);
}

void CKXGridWnd::OnEndTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode, CSize& size) {
    kxgrid::GridWriteScope noUndo(*this, kxgrid::GridWriteScope::kUndo);
    CGXGridWnd::OnEndTracking(nRow, nCol, nTrackingMode, size);
}

void CKXGridWnd::FitColumnsToCells(const CGXRange& range, UINT flags) {
    kxgrid::GridWriteScope noUndo(*this, kxgrid::GridWriteScope::kUndo);
    ResizeColWidthsToFit(range, TRUE, flags);
}

int CKXGridWnd::RowHeaderWidth() {
    constexpr int kUnitsPerDigit = 1000; // logical units of one character
    constexpr int kMinWidth = 20;
    constexpr int kMargin = 3;
    const ROWCOL rowCount = GetRowCount();
    const ROWCOL first = DataRowStart();
    const long largest = rowCount + 1 >= first ? static_cast<long>(rowCount + 1 - first) : 0;
    CString text;
    text.Format("%ld", largest);
    return std::max(Width_LPtoDP(text.GetLength() * kUnitsPerDigit), kMinWidth) + kMargin;
}

bool CKXGridWnd::IsRowHeaderShown() {
    if (IsColHidden(0)) return false;
    const CKXColumnInfoClass* info = GetColumnInfo(0);
    return info ? info->m_bShown != 0 : m_bShowRowNumbers != FALSE;
}

void CKXGridWnd::ScrollToFirstRow() {
    SetTopRow(DataRowStart(), kSmart, TRUE);
}

// ---------------------------------------------------------------------------
// Saving and restoring the current cell across activation.

void CKXGridWnd::GetSelectedObjectNames() {
    if (m_bNoCellToRestore) return;
    ROWCOL row = m_nSavedRow;
    ROWCOL col = m_nSavedCol;
    // No cell of the user's to come back to: the grid's first cell is current, a place of its own. A
    // cell activation placed stays placed however often the grid is activated again.
    bool placed = (row == m_nFirstDataRow && col == m_nFirstDataCol) || (m_bPlacedCell && IsCurrentCell(row, col));
    if (row == GX_INVALID || row > GetRowCount() || IsRowHidden(row)) {
        row = m_nFirstDataRow;
        placed = true;
    }
    if (col == GX_INVALID || !IsColumnShown(col)) placed = true;
    col = ShownColumnFor(col);
    if (col == 0) return;
    if (SetCurrentCell(row, col, kNoScroll)) m_bPlacedCell = placed;
}

bool CKXGridWnd::IsCellOfTheUser() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    return GetCurrentCell(row, col) && !m_bPlacedCell;
}

void CKXGridWnd::InitCanPasteCallback() {
    // Another grid or view becomes the active one (a click there): a list still down from the current
    // cell loses the focus first and goes up storing nothing.
    CancelDroppedList();
    // The cell is put aside for the paste check only: activation gives it back.
    // A grid without a current cell keeps what activation would give it: a removed cell stays removed.
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (GetCurrentCell(row, col)) {
        SetCurrentCell(GX_INVALID, GX_INVALID, kNoScroll);
        m_nSavedRow = row;
        m_nSavedCol = col;
        m_bNoCellToRestore = false;
    }
    CKXImpClipBoard::InitCanPasteCallBack(nullptr, nullptr);
}

int CKXGridWnd::s_nScriptedActivation = 0;

void CKXGridWnd::OnActivateGrid(BOOL bActivate) {
    if (!bActivate) {
        GetCurrentCell(m_nSavedRow, m_nSavedCol);
        CGXGridWnd::OnActivateGrid(bActivate);
        return;
    }
    // The cell the user made current while the grid stayed active is the one it comes back to: an
    // automation call or a menu acts on the newest selection, never on a cell kept from before it.
    ROWCOL curRow = GX_INVALID, curCol = GX_INVALID;
    if (IsActiveGrid() && GetCurrentCell(curRow, curCol)) {
        m_nSavedRow = curRow;
        m_nSavedCol = curCol;
    }
    CPoint pt;
    // A click activates the grid on the cell under the pointer; a script's call keeps its cell.
    if (!s_nScriptedActivation && GetCursorPos(&pt)) {
        ScreenToClient(&pt);
        ROWCOL row = GX_INVALID;
        ROWCOL col = GX_INVALID;
        if (HitTest(pt, &row, &col) != GX_NOHIT && IsDataRow(row) && col != GX_INVALID &&
            col >= m_nFirstDataCol && row <= GetRowCount() && col <= GetColCount()) {
            m_nSavedRow = row;
            m_nSavedCol = col;
            m_bNoCellToRestore = false;
        }
    }
    if (IKXGridSite* site = Site()) site->GridTookFocus(this);
    UpdatePaneTitle();
    GetSelectedObjectNames();
    if (m_bKeySelectionSync) NotifySelectionChanged();
    // The host hears of the user's selection; the cell activation placed in a grid the user has not
    // been in selects no pin anybody chose.
    if (HasSelectionOfTheUser()) CrossSelectInHost();
    CGXGridWnd::OnActivateGrid(bActivate);
}

// ---------------------------------------------------------------------------
// Selection rules.

void CKXGridWnd::DeselectAllRows() {
    SelectRange(CGXRange().SetRows(0, GetRowCount()), FALSE, TRUE);
    SetCurrentCell(GX_INVALID, GX_INVALID, kNoScroll);
}

bool CKXGridWnd::IsColumnShown(ROWCOL col) {
    return col > 0 && col <= GetColCount() && !IsColHidden(col) && GetColWidth(col) > 0;
}

ROWCOL CKXGridWnd::GetFirstVisibleColumn() {
    const ROWCOL count = GetColCount();
    for (ROWCOL col = 1; col <= count; ++col)
        if (IsColumnShown(col)) return col;
    return 0;
}

ROWCOL CKXGridWnd::GetLastVisibleColumn() {
    for (ROWCOL col = GetColCount(); col > 0; --col)
        if (IsColumnShown(col)) return col;
    return 0;
}

ROWCOL CKXGridWnd::ShownColumnFor(ROWCOL col) {
    if (col != GX_INVALID && IsColumnShown(col)) return col;
    const ROWCOL count = GetColCount();
    for (ROWCOL c = std::max<ROWCOL>(m_nFirstDataCol, 1); c <= count; ++c)
        if (IsColumnShown(c)) return c;
    return GetFirstVisibleColumn();
}

void CKXGridWnd::PlaceCurrentCellInSelection(ROWCOL row, ROWCOL col) {
    CGXGridParam* param = GetParam();
    if (!param) return;
    const CGXRangeList selected = *param->GetRangeList();
    ROWCOL first = GX_INVALID;
    bool rowSelected = false;
    for (POSITION pos = selected.GetHeadPosition(); pos;) {
        const CGXRange* range = selected.GetNext(pos);
        first = std::min(first, range->top);
        if (row != GX_INVALID && row >= range->top && row <= range->bottom) rowSelected = true;
    }
    col = ShownColumnFor(col);
    if (first == GX_INVALID || col == 0) return;
    SetCurrentCell(rowSelected ? row : first, col, GX_SMART);
    for (POSITION pos = selected.GetHeadPosition(); pos;)
        SelectRange(*selected.GetNext(pos), TRUE, TRUE);
}

void CKXGridWnd::SetSelection(POSITION pos, ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight) {
    if (!pos) {
        // A click that went into a cell control keeps the selection.
        if (m_bCellControlClick && m_bKeepSelection) return;
        CGXGridWnd::SetSelection(pos, nTop, nLeft, nBottom, nRight);
        return;
    }
    const bool removes = nTop == 0 && nLeft == 0 && nBottom == 0 && nRight == 0;
    if (!removes) {
        nTop = std::max(nTop, DataRowStart());
        nBottom = std::max(nBottom, DataRowStart());
    }
    CGXGridWnd::SetSelection(pos, nTop, nLeft, nBottom, nRight);
}

BOOL CKXGridWnd::CanChangeSelection(CGXRange* pRange, BOOL bIsDragging, BOOL bKey) {
    if (pRange) {
        // A selection never spans columns.
        if (pRange->left != pRange->right) return FALSE;
        pRange->top = std::max(pRange->top, DataRowStart());
        pRange->bottom = std::max(pRange->bottom, DataRowStart());
    }
    if (CtrlDown() && !ShiftDown()) {
        ROWCOL curRow = GX_INVALID;
        ROWCOL curCol = GX_INVALID;
        GetCurrentCell(curRow, curCol);
        const CGXRangeList* pList = GetParam() ? GetParam()->GetRangeList() : nullptr;
        bool sameColumn = true;
        if (pList) {
            POSITION pos = pList->GetHeadPosition();
            while (pos) {
                const CGXRange* r = pList->GetNext(pos);
                if (r && (r->left != curCol || r->right != curCol)) {
                    sameColumn = false;
                    break;
                }
            }
        }
        if (!sameColumn) {
            CGXGridWnd::SetSelection(nullptr);
            return FALSE;
        }
    }
    return CGXGridWnd::CanChangeSelection(pRange, bIsDragging, bKey);
}

void CKXGridWnd::OnChangedSelection(const CGXRange* pRange, BOOL bIsDragging, BOOL bKey) {
    if (pRange && pRange->left != pRange->right) CGXGridWnd::SetSelection(nullptr);
    CGXGridWnd::OnChangedSelection(pRange, bIsDragging, bKey);
}

BOOL CKXGridWnd::OnStartSelection(ROWCOL nRow, ROWCOL nCol, UINT flags, CPoint point) {
    if (!IsDataRow(nRow)) return FALSE;
    return CGXGridWnd::OnStartSelection(nRow, nCol, flags, point);
}

namespace {
// A Ctrl+click on a data cell toggles it in the stored selection: a cell selected by an earlier
// range goes out; any other cell becomes the newest range by itself (replacing the newest range
// when that alone held it).
void StoreSelectRange(CGXRangeList& list, ROWCOL nRow, ROWCOL nCol, ROWCOL rowCount, ROWCOL colCount) {
    POSITION tail = list.GetTailPosition();
    const bool inOlder = list.IsCellInList(nRow, nCol, tail) != FALSE;
    const CGXRange* pTail = tail ? list.GetAt(tail) : nullptr;
    const bool inTail = pTail && pTail->IsCellInRange(nRow, nCol);
    if (inOlder) {
        list.Subtract(CGXRange(nRow, nCol), rowCount, colCount);
        return;
    }
    if (inTail) list.RemoveAt(tail);
    list.AddTail(CGXRange(nRow, nCol));
}
} // namespace

BOOL CKXGridWnd::OnLButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) {
    CGXGridParam* pParam = GetParam();
    if (pParam && CtrlDown() && IsDataRow(nRow)) {
        const CGXRangeList oldList(*pParam->GetRangeList());
        StoreSelectRange(*pParam->GetRangeList(), nRow, nCol, GetRowCount(), GetColCount());
        UpdateSelectRange(CGXRange(nRow, nCol), &oldList);
    }
    return CGXGridWnd::OnLButtonClickedRowCol(nRow, nCol, nFlags, pt);
}

void CKXGridWnd::OnMovedCurrentCell(ROWCOL nRow, ROWCOL nCol) {
    const bool dragging = m_bMouseDown != FALSE;
    if (!dragging && !ShiftDown() && !CtrlDown() && !(m_bCellControlClick && m_bKeepSelection))
        CGXGridWnd::SetSelection(nullptr);
    CGXGridWnd::OnMovedCurrentCell(nRow, nCol);
}

BOOL CKXGridWnd::SetCurrentCell(ROWCOL nRow, ROWCOL nCol, UINT flags) {
    // A kept click ends with the next move of the current cell; making the
    // clicked cell current again is no move.
    if (m_bCellControlClick && !IsCurrentCell(nRow, nCol)) m_bKeepSelection = FALSE;
    const BOOL done = CGXGridWnd::SetCurrentCell(nRow, nCol, flags);
    if (!done) return done;
    m_bPlacedCell = false;
    // A removed current cell stays removed across activation: the cell kept for it goes too.
    m_bNoCellToRestore = nRow == GX_INVALID || nCol == GX_INVALID;
    if (m_bNoCellToRestore) m_nSavedRow = m_nSavedCol = GX_INVALID;
    // A cell a call makes current while the grid is inactive (a host's selection, a journal's
    // select) is the newest one: activation comes back to it and keeps the selection made with it.
    else if (!IsActiveGrid()) GetCurrentCell(m_nSavedRow, m_nSavedCol);
    return done;
}

bool CKXGridWnd::HasSelectedDataRow() {
    for (ROWCOL row : SelectedRowNumbers())
        if (IsDataRow(row)) return true;
    return false;
}

bool CKXGridWnd::HasSelectionOfTheUser() {
    CRowColArray ranged;
    GetSelectedRows(ranged, FALSE, FALSE);
    for (INT_PTR i = 0; i < ranged.GetSize(); ++i)
        if (IsDataRow(ranged[i])) return true;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    return IsCellOfTheUser() && GetCurrentCell(row, col) && IsDataRow(row);
}

std::vector<ROWCOL> CKXGridWnd::RowsToSwap() {
    if (HasSelectionOfTheUser()) return SelectedRowNumbers();
    CKXErrorHandler::MessageBoxOk("KXTABLE-488");
    return {};
}

void CKXGridWnd::SelectAllRows() {
    ClearSelection();
}

void CKXGridWnd::ClearSelection() {
    DeselectAllRows();
}

// ---------------------------------------------------------------------------
// Columns.

BOOL CKXGridWnd::OnTrackColWidth(ROWCOL nCol) {
    if (nCol == 0 || IsColHidden(nCol)) return FALSE;
    if (const CKXColumnInfoClass* pInfo = GetColumnInfo(static_cast<int>(nCol)))
        if (pInfo->m_nWidthType == CKXColumnInfoClass::WidthFixed) return FALSE;
    return CGXGridWnd::OnTrackColWidth(nCol);
}

BOOL CKXGridWnd::OnHitHiddenCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) {
    (void)nRow;
    (void)nFlags;
    (void)pt;
    return IsColHidden(nCol);
}

void CKXGridWnd::HideUnhideColumns(int col) {
    if (col < 0 || static_cast<ROWCOL>(col) > GetColCount()) return;
    const ROWCOL c = static_cast<ROWCOL>(col);
    const BOOL bWasLocked = LockUpdate(TRUE);
    BeginTrans("Hide or Unhide Cols");
    HideCols(c, c, IsColHidden(c) ? FALSE : TRUE);
    CommitTrans();
    LockUpdate(bWasLocked);
    Redraw();
}

std::vector<kxmenu::ColumnEntry> CKXGridWnd::ColumnMenuEntries() {
    std::vector<kxmenu::ColumnEntry> entries;
    const ROWCOL colCount = GetColCount();
    for (ROWCOL col = 1; col <= colCount && col != GX_INVALID; ++col) {
        kxmenu::ColumnEntry entry;
        GetColumnMenuText(static_cast<int>(col), entry.text, entry.enabled);
        entry.shown = IsColHidden(col) ? FALSE : TRUE;
        entries.push_back(entry);
    }
    return entries;
}

namespace {

void AppendItems(CMenu* pMenu, const std::vector<kxmenu::Item>& items) {
    for (const kxmenu::Item& item : items) {
        if (item.separator) {
            pMenu->AppendMenu(MF_SEPARATOR);
            continue;
        }
        UINT flags = MF_STRING;
        if (item.checked) flags |= MF_CHECKED;
        if (item.grayed) flags |= MF_GRAYED;
        pMenu->AppendMenu(flags, item.id, item.text);
    }
}

} // namespace

void CKXGridWnd::AppendColumnVisibilityMenu(CMenu* pMenu) {
    if (!pMenu) return;
    const std::vector<kxmenu::ColumnEntry> entries = ColumnMenuEntries();
    // Items of an earlier call go first, also those of columns beyond the ninth,
    // so that a menu filled twice holds every column once.
    const UINT last = std::max<UINT>(ID_COLUMN_LAST, ID_COLUMN_BASE + static_cast<UINT>(entries.size()));
    for (UINT id = ID_COLUMN_FIRST; id <= last; ++id)
        pMenu->RemoveMenu(id, MF_BYCOMMAND);
    AppendItems(pMenu, kxmenu::ColumnVisibilityItems(entries));
}

void CKXGridWnd::AppendSortMenu(CMenu* pMenu) {
    if (!pMenu) return;
    for (UINT id = ID_SORT_FIRST; id <= ID_SORT_LAST; ++id)
        pMenu->RemoveMenu(id, MF_BYCOMMAND);
    AppendItems(pMenu, kxmenu::SortMenuItems(ColumnMenuEntries()));
}

void CKXGridWnd::ShowContextMenu(CWnd* pWnd, CPoint point, UINT menuId, UINT flags) {
    (void)pWnd;
    (void)flags;
    CPoint screen = point;
    ClientToScreen(&screen);
    ROWCOL row = GX_INVALID;
    ROWCOL col = GX_INVALID;
    HitTest(point, &row, &col);
    if (row == GX_INVALID || row == m_nHeaderRow || !IsDataRow(row)) return;
    CMenu menu;
    if (!menu.LoadMenu(LOWORD(menuId))) return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (!pPopup) return;
    for (UINT id : m_excludedCommands)
        pPopup->RemoveMenu(id, MF_BYCOMMAND);
    pPopup->TrackPopupMenu(TPM_RIGHTBUTTON, screen.x, screen.y, AfxGetMainWnd());
    menu.DestroyMenu();
}

// ---------------------------------------------------------------------------
// Sort.

void CKXGridWnd::OnSortColumn(int col) {
    // An unsorted grid has no column to sort by.
    if (col < 0) return;
    CWaitCursor wait;
    if (col == m_nSortCol)
        m_bSortAscending = m_bSortAscending ? FALSE : TRUE;
    else
        m_bSortAscending = TRUE;
    m_nSortCol = col;
    // The row moves of a sort are no undo steps of their own; the sort is
    // undone by its sort command. Recording comes back afterwards so that later
    // commands (and the next sort's command) are kept.
    CGXGridParam* pParam = GetParam();
    const BOOL bUndo = pParam ? pParam->IsEnableUndo() : FALSE;
    if (pParam) pParam->EnableUndo(FALSE);
    SortRows(col, m_bSortAscending);
    if (pParam) pParam->EnableUndo(bUndo);
    if (m_pListHeader) m_pListHeader->ResetArrow(m_nHeaderRow, static_cast<ROWCOL>(col));
}

void CKXGridWnd::SortRows(int col, BOOL bAscending) {
    if (col < 0) return;
    CKXSortGrid sorter(this, DataRowStart(), TRUE, CCommonInterface::nSortType == 0 ? TRUE : FALSE, FALSE);
    sorter.SortRows(static_cast<ROWCOL>(col), bAscending, 1);
}

std::vector<CString> CKXGridWnd::DataRowTexts() {
    std::vector<CString> texts;
    const ROWCOL rows = GetRowCount(), cols = GetColCount();
    for (ROWCOL r = DataRowStart(); r <= rows; ++r) {
        CString line;
        for (ROWCOL c = 1; c <= cols; ++c)
            line += (c > 1 ? "\t" : "") + CString(GetValueRowCol(r, c));
        texts.push_back(line);
    }
    return texts;
}

void CKXGridWnd::RestoreUnsortedOrder(const std::vector<CString>& order) {
    const ROWCOL first = DataRowStart(), last = GetRowCount();
    if (order.empty() || last <= first) return;
    // Rows of equal texts take their places in turn, in the order they stand now.
    std::map<CString, std::vector<std::size_t>> places;
    for (std::size_t i = order.size(); i-- > 0;)
        places[order[i]].push_back(i);
    const std::vector<CString> now = DataRowTexts();
    std::unordered_map<ROWCOL, std::pair<std::size_t, ROWCOL>> rank; // (place, row) of a row
    std::size_t place = 0;
    for (ROWCOL r = first; r <= last; ++r) {
        auto it = places.find(now[r - first]);
        if (it != places.end() && !it->second.empty()) {
            place = it->second.back();
            it->second.pop_back();
        }
        rank[r] = {place, r}; // a row unknown before goes with the one above it
    }
    auto less = [&rank](ROWCOL a, ROWCOL b) { return rank[a] < rank[b]; };
    kxgrid::GridWriteScope write(*this);
    CGXGridCore::SortRows(first, last, less, kSmart);
}

// ---------------------------------------------------------------------------
// Other handlers.

UINT CKXGridWnd::OnGetDlgCode() {
    return DLGC_WANTALLKEYS;
}

void CKXGridWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    CGXGridWnd::OnHScroll(nSBCode, nPos, pScrollBar);
    Invalidate(TRUE);
}

void CKXGridWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    CGXGridWnd::OnVScroll(nSBCode, nPos, pScrollBar);
}

void CKXGridWnd::OnKillFocus(CWnd* pNewWnd) {
    SetFocusOnKillFocus(1);
    CGXGridWnd::OnKillFocus(pNewWnd);
}

BOOL CKXGridWnd::CanCopy() {
    // The base copies nothing (OnEditCopy): only a grid that copies offers Copy.
    return FALSE;
}
BOOL CKXGridWnd::CanCut() {
    return TRUE;
}
BOOL CKXGridWnd::CanPaste() {
    return TRUE;
}

bool CKXGridWnd::TypeIntoCell(ROWCOL row, ROWCOL col, const CString& text) {
    if (!SetCurrentCell(row, col, GX_SMART | GX_SCROLLINVIEW)) return false;
    CGXControl* control = GetCurrentCellControl();
    if (!control) return false;
    control->SetActive(TRUE);
    control->SetCurrentText(text);
    control->SetModify(TRUE);
    TransferCurrentCell(TRUE);
    if (!control->IsActive()) return true;
    control->SetActive(FALSE);
    control->Reset();
    return false;
}
