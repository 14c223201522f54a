// The matrix grid's spine: construction, set-up after the window exists, the
// signal-side header, keys, the extra row of a signal, undo hand-over to the
// pane and the small helpers the other sources share.
#include "matrix/KXMatrixGridWnd.h"

#include "grid/KXGridEdit.h"
#include "grid/KXGridScopes.h"
#include "grid/KXGridSite.h"
#include "grid/KXJournalLine.h"
#include "kxinstsigpane/CommonInterface.h"

#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXCellControls.h"
#include "kxcontrols/KXDialogs.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxnotes/CComments.h"

IMPLEMENT_DYNCREATE(CKXMatrixGridWnd, CKXGridWnd)

BEGIN_MESSAGE_MAP(CKXMatrixGridWnd, CKXGridWnd)
ON_MESSAGE(MSG_TRANSACTION_COMMITTED, &CKXMatrixGridWnd::OnTransactionCommitted)
ON_MESSAGE(MSG_COLUMN_LAYOUT_CHANGED, &CKXMatrixGridWnd::OnColumnLayoutChanged)
END_MESSAGE_MAP()

using namespace kxmatrix;
using kxgrid::GridWriteScope;
using kxgrid::LockUpdateScope;

CKXMatrixGridWnd* CKXMatrixGridWnd::m_pCurrentMatrixGrid = nullptr;
int CKXMatrixGridWnd::s_nSetUpGrids = 0;

namespace {

constexpr UINT kNoUpdate = 0;
constexpr DWORD kSelectionFlags = 123; // rows, columns, multiple ranges, shift and key extension, cells

WORD Id(UINT id) {
    return static_cast<WORD>(id);
}

} // namespace

CKXMatrixGridWnd::CKXMatrixGridWnd() : CKXGridWnd(KXGridKind::Matrix) {
    m_nTransState = 2;
}

CKXMatrixGridWnd::~CKXMatrixGridWnd() {
    // The class-wide pointer never outlives the grid it names.
    if (m_pCurrentMatrixGrid == this) m_pCurrentMatrixGrid = nullptr;
    // The last matrix grid to go keeps the layout for the next one (a column hidden from the
    // column menu is not saved until then).
    if (m_bSetUp && --s_nSetUpGrids == 0) SaveCustomization(TRUE);
    if (IKXMessageServer* server = GetKXMsgSrvr())
        if (HWND hwnd = GetSafeHwnd()) server->UnregisterWindow(hwnd);
}

void CKXMatrixGridWnd::SetupGrid(IKXGridSite* site, CDesignContext design, CDesignContext secondDesign,
                                 int externalTransaction) {
    m_designContext = design;
    m_designContext2 = secondDesign;
    SetSite(site);
    CComments* store = site ? site->CommentStore() : nullptr;
    m_pMatrixViewData = store ? store->GetMatrixViewData() : nullptr;
    CKXGridWnd::InitializeGrid(kFirstDataRow, 1, kCaptionRow, nullptr);
    GetParam()->EnableSelection(static_cast<WORD>(kSelectionFlags));
    m_dropTarget.RegisterTarget(this, design);
    Columns().SelectOrigin();
    // The layout is shared while matrix grids are open; the first grid opened after the last one
    // closed reads it again from the customisation, which the closing pane saved (or which
    // changed since), so nothing of a closed design window's layout outlives it unsaved.
    if (!m_bSetUp) {
        if (s_nSetUpGrids == 0 || Layout().m_arrInstanceColumns.empty()) SetupColumns();
        m_bSetUp = true;
        ++s_nSetUpGrids;
    }
    m_bExternalTransaction = externalTransaction;

    m_pPinListBox = std::make_unique<CKXGridACListBox>(this);
    m_pPinListBox->Create(WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_SORT, CRect(-1, -1, -1, -1), this,
                          IDS_CTRL_INSTANCE_LISTBOX, 0);
    auto* pinCombo =
        new CKXGridACCombo(this, IDS_STRING_AC_COMBO, IDS_STRING_AC_COMBO, 1, m_pPinListBox.get(), 0, 0, 0, 0);
    pinCombo->m_bAutoComplete = m_bAutoComplete;
    RegisterControl(Id(IDS_CTRL_PIN_COMBO), pinCombo, FALSE, TRUE);
    RegisterControl(Id(IDS_CTRL_PUPD_HEADER), new CGXBitmapButton(this, IDB_PUPD_HEADER), FALSE, TRUE);
    RegisterControl(Id(IDS_CTRL_COMMENTS_HEADER), new CGXBitmapButton(this, IDB_COMMENTS_HEADER), FALSE, TRUE);
    CDWordArray look;
    look.Add(static_cast<DWORD>(Layout().m_nPupdCol));
    RegisterDynComboControl(&CKXMatrixGridWnd::GetColumnProfileSection, look);
    RegisterHeaderControl(static_cast<ULONG>(Layout().m_nNameCol));
    RegisterPupdControl();
    EnableCellControlClick(TRUE);
    SetMergeCellsMode(1, FALSE);
    SetupSignalHeader();
    SetupFrozenHeader();
    if (IKXMessageServer* server = GetKXMsgSrvr())
        if (HWND hwnd = GetSafeHwnd())
            for (UINT msg : {MSG_TRANSACTION_COMMITTED, MSG_COLUMN_LAYOUT_CHANGED, MSG_IMPORT_CSV})
                server->RegisterWindow(msg, hwnd);
    GetParam()->EnableUndo(TRUE);
    m_pCurrentMatrixGrid = this;
}

void CKXMatrixGridWnd::SetAutoComplete(BOOL bOn) {
    m_bAutoComplete = bOn;
    if (auto* combo = dynamic_cast<CKXGridACCombo*>(GetCurrentCellControl())) combo->m_bAutoComplete = bOn;
}

// ------------------------------------------------------------------ header

void CKXMatrixGridWnd::SetupSignalHeader() {
    LockUpdateScope lock(*this);
    GridWriteScope write(*this);
    const KXMatrixLayout& layout = Layout();
    const ROWCOL lastSignalCol = static_cast<ROWCOL>(layout.m_nFirstInstanceCol - 1);
    m_rowIndex.Clear();
    SetRowCount(kHeaderRows, kNoUpdate);
    SetColCount(lastSignalCol, kNoUpdate);
    for (ROWCOL c = 0; c <= lastSignalCol && c < layout.m_arrSignalColumns.size(); ++c) {
        const CKXColumnInfoClass& info = *layout.m_arrSignalColumns[c];
        CGXStyle title;
        title.SetControl(Id(IDS_CTRL_HEADER)).SetValue("Signals").SetEnabled(TRUE).SetReadOnly(TRUE);
        title.SetHorizontalAlignment(DT_LEFT).SetFont(CGXFont().SetBold(FALSE)).SetMergeCell(3);
        title.SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), info.m_strCaption);
        SetStyleRange(CGXRange(kTitleRow, c), title, gxOverride, 0, kNoUpdate, gxDo);
        CGXStyle caption = title;
        if (static_cast<int>(c) == layout.m_nPupdCol)
            caption.SetValue(kPupdCaptionBitmap).SetControl(Id(IDS_CTRL_PUPD_HEADER));
        else
            SetCaption(caption, info, info.m_strCaption);
        SetStyleRange(CGXRange(kCaptionRow, c), caption, gxOverride, 0, kNoUpdate, gxDo);
        SetColWidth(c, c, c == 0 ? 0 : info.m_nWidth, nullptr, kNoUpdate, gxDo);
    }
    CGXStyle filter;
    filter.SetValue("*").SetControl(Id(IDS_CTRL_FILTER_COMBO)).SetVerticalAlignment(DT_VCENTER);
    SetStyleRange(CGXRange().SetRows(kFilterRow), filter, gxOverride, 0, kNoUpdate, gxDo);
    if (lastSignalCol >= 1) SetCoveredCellsRowCol(kTitleRow, 1, kTitleRow, lastSignalCol, kNoUpdate);
}

void CKXMatrixGridWnd::SetCaption(CGXStyle& cell, const CKXColumnInfoClass& info, const CString& caption) {
    // A comments column shows its header button; every other caption is text in a list header.
    if (info.m_strPropertyName == COMMENTS)
        cell.SetValue(kCommentsCaptionBitmap).SetControl(Id(IDS_CTRL_COMMENTS_HEADER));
    else
        cell.SetValue(caption).SetControl(Id(IDS_CTRL_LIST_TYPE_HEADER));
}

// ------------------------------------------------------------------ keys and editing hooks

BOOL CKXMatrixGridWnd::ProcessKeys(CWnd* pSender, UINT nMessage, UINT nChar, UINT nRepCnt, UINT flags) {
    if (nMessage != WM_KEYDOWN) return CKXGridWnd::ProcessKeys(pSender, nMessage, nChar, nRepCnt, flags);
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0, alt = GetKeyState(VK_MENU) < 0;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    const bool current = GetCurrentCell(row, col) != FALSE;
    if (nChar == VK_RETURN && !ctrl && !shift && current && row == kFilterRow) {
        GridWriteScope undoOff(*this, GridWriteScope::kUndo);
        TransferCurrentCell(TRUE, GX_UPDATENOW, TRUE);
        return TRUE;
    }
    if (nChar == VK_INSERT && current && row >= kFirstDataRow) {
        int offset = -1, group = -1;
        if (DecodeInstanceColumn(static_cast<int>(col), offset, group)) {
            // A read-only window adds no row for a pin it could not take, not even to the display.
            if (!MayEdit()) return TRUE;
            if (InsertExtraSignalRow(row)) {
                // The new row follows the signal's last row: the cell below the current one is a cell of the signal.
                SetCurrentCell(row + 1, col);
                return TRUE;
            }
        }
    }
    if (nChar == VK_DELETE && !shift && !alt) {
        // The pane's Delete, with or without a current cell: it says why when nothing is selected.
        CGXControl* control = current ? GetControl(row, col) : nullptr;
        if (!(control && control->IsActive()) && Site()) {
            Site()->RunPaneCommand(kDeleteCommand);
            return TRUE;
        }
    }
    return CKXGridWnd::ProcessKeys(pSender, nMessage, nChar, nRepCnt, flags);
}

BOOL CKXMatrixGridWnd::InsertExtraSignalRow(ROWCOL row) {
    if (IsReadOnlyWindow()) return FALSE;
    int bit = -1;
    INet* net = row >= kFirstDataRow && row <= GetRowCount() ? GetCellNetBit(row, bit) : nullptr;
    if (!net) return FALSE;
    const std::vector<ROWCOL> rows = SignalRows(net->id(), bit);
    if (rows.empty()) return FALSE;
    GridWriteScope write(*this);
    InsertSignalRow(rows.back() + 1, net, bit);
    return TRUE;
}

void CKXMatrixGridWnd::AddCommand(CGXCommand* pCmd, GXCmdType ctType) {
    // The cells follow the design: undo and redo of an edit rewrite them through the commit
    // notification, so the storing of an edited cell is no undo step of its own.
    if (m_bStoringEdit) {
        delete pCmd;
        return;
    }
    AddCommandToSiteUndo(pCmd, ctType);
}

BOOL CKXMatrixGridWnd::OnStartEditing(ROWCOL nRow, ROWCOL nCol) {
    if (!CGXGridCore::OnStartEditing(nRow, nCol)) return FALSE;
    m_bEditing = 1;
    return TRUE;
}

// Escape drops the edit: nothing after it runs inside one.
void CKXMatrixGridWnd::OnCanceledEditing(ROWCOL nRow, ROWCOL nCol) {
    m_bEditing = 0;
    m_bStoringEdit = FALSE;
    CGXGridCore::OnCanceledEditing(nRow, nCol);
}

BOOL CKXMatrixGridWnd::OnEndEditing(ROWCOL nRow, ROWCOL nCol) {
    const BOOL result = CGXGridCore::OnEndEditing(nRow, nCol);
    m_bEditing = 0;
    m_bStoringEdit = FALSE;
    return result;
}

// ------------------------------------------------------------------ helpers

void CKXMatrixGridWnd::WriteCell(ROWCOL row, int col, const CGXStyle& style) {
    if (col < 0 || static_cast<ROWCOL>(col) > GetColCount() || row > GetRowCount()) return;
    SetStyleRange(CGXRange(row, static_cast<ROWCOL>(col)), style, gxOverride, 0, kNoUpdate, gxDo);
}

CInstanceContext CKXMatrixGridWnd::GroupInstance(int group) const {
    if (group < 0 || group >= GroupCount() || !m_designContext) return CInstanceContext();
    return m_designContext.instance(m_arrInstanceIds[static_cast<std::size_t>(group)]);
}

void CKXMatrixGridWnd::MarkModified() {
    if (IKXGridSite* site = Site()) site->MarkModified();
}

CString CKXMatrixGridWnd::JournalHandle() {
    return KXJournalHandle(Site(), m_designContext);
}

CKXAssocCompAPI* CKXMatrixGridWnd::GetAssocCompApi() {
    if (!m_pAssocCompApi) m_pAssocCompApi = std::make_unique<CKXAssocCompAPI>();
    m_pAssocCompApi->setServer(CKXShareGlobalData::m_pServer ? CKXShareGlobalData::m_pServer
                                                             : m_designContext.server());
    m_pAssocCompApi->setDesignContext(m_designContext2 ? m_designContext2 : m_designContext);
    return m_pAssocCompApi.get();
}

std::vector<ROWCOL> CKXMatrixGridWnd::SelectedDataRows() {
    CRowColArray rows;
    GetSelectedRows(rows, FALSE, TRUE);
    std::vector<ROWCOL> result;
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        if (rows[i] >= kFirstDataRow && rows[i] <= GetRowCount() && !IsRowHidden(rows[i])) result.push_back(rows[i]);
    return result;
}
