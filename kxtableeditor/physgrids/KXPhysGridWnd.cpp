// The cell behaviour both physical grids share, and their signal-model cell.
#include "physgrids/KXPhysGridWnd.h"

#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXShellUtil.h"
#include "shell/KXTableChildFrm.h"

#include "afx/afxwin.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/transaction.h"

#include <memory>

using namespace kxphys;

namespace {

constexpr UINT kNoUpdate = 2;

WORD Id(UINT id) {
    return static_cast<WORD>(id);
}

} // namespace

CString kxphys::Escaped(const CString& text) {
    CString t = text;
    CKXGenUtils::EscapeSquareBrackets(t);
    return t;
}

CString kxphys::Vbs(const CString& text) {
    return KXVbsQuote(text);
}

void kxphys::Journal(const CString& lines) {
    KXJournalWrite(CKXShareGlobalData::m_bAutomation, CString(), lines);
}

CString kxphys::PinTypeText(int code) {
    switch (code) {
    case 0: return "Unspec";
    case 1: return "Input";
    case 2: return "Output";
    default: return "Inout";
    }
}

CKXPhysGridWnd::CKXPhysGridWnd(KXGridKind kind) : CKXGridWnd(kind) {
    m_nUndoStepMode = 2;
}

CKXPhysGridWnd::~CKXPhysGridWnd() = default;

// ---------------------------------------------------------------------------
// Signal-model cell

CString kxphys::AssignedModel(const CInstTermBitContext& bit) {
    std::unique_ptr<CPQPropertyData> own(bit.findProperty("PIN_SIGNAL_MODEL", false));
    if (own && *own->value()) return own->value();
    return CKXGenUtils::GetPinSignalModel(bit);
}

void CKXPhysGridWnd::StyleModelCell(ROWCOL row, const CInstTermBitContext& bit) {
    if (!bit) return;
    // A cell written from the design is no undo step: recording is off while it is written.
    CGXGridParam* param = GetParam();
    const BOOL lock = param ? param->IsLockReadOnly() : FALSE;
    const BOOL undo = param ? param->IsEnableUndo() : FALSE;
    if (param) {
        param->SetLockReadOnly(FALSE);
        param->EnableUndo(FALSE);
    }
    CString model = AssignedModel(bit);
    CStringList defaults(10);
    const BOOL valid = CKXGenUtils::GetDefaultPinSignalModel(defaults, bit);
    const ROWCOL col = ModelColumn();
    CGXStyle style;
    style.SetWrapText(FALSE)
        .SetUserAttribute(Id(kEllipsisAttribute), CGXEllipseUserAttribute(gxDotEllipse))
        .SetUserAttribute(Id(IDS_UA_NET_CELL), "1");
    if (valid && defaults.GetCount() > 1) {
        if (model.IsEmpty()) model = defaults.GetHead();
        CString choices = model + "\n";
        for (POSITION pos = defaults.GetHeadPosition(); pos;) {
            const CString& d = defaults.GetNext(pos);
            if (d.CompareNoCase(model) != 0) choices += d + "\n";
        }
        CGXStyle control;
        control.SetControl(Id(IDS_CTRL_PROGRAMMABLE_PIN)).SetChoiceList(choices);
        SetStyleRange(CGXRange(row, col), control, gxOverride, 0, kNoUpdate);
        style.SetValue(model).SetReadOnly(FALSE).SetUserAttribute(Id(IDS_UA_PROGRAMMABLE_PIN), 1);
    } else {
        if (valid && defaults.GetCount() == 1 && model.IsEmpty()) model = defaults.GetHead();
        style.SetControl(Id(kStaticControl))
            .SetValue(model)
            .SetReadOnly(TRUE)
            .SetUserAttribute(Id(IDS_UA_PROGRAMMABLE_PIN), 0);
    }
    SetStyleRange(CGXRange(row, col), style, gxOverride, 0, kNoUpdate);
    if (param) {
        param->SetLockReadOnly(lock);
        param->EnableUndo(undo);
    }
}

// ---------------------------------------------------------------------------
// Cell behaviour

BOOL CKXPhysGridWnd::OnEndEditing(ROWCOL nRow, ROWCOL nCol) {
    const BOOL result = CGXGridCore::OnEndEditing(nRow, nCol);
    if (m_bEditTransOpen) {
        m_bEditTransOpen = 0;
        m_nUndoStepMode = 0;
        CommitOwn(TRUE, TRUE);
    }
    return result;
}

BOOL CKXPhysGridWnd::ProcessKeys(CWnd* pSender, UINT nMessage, UINT nChar, UINT nRepCnt, UINT flags) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    ROWCOL row = 0, col = 0;
    const BOOL current = GetCurrentCell(row, col);
    const KXPhysLayout layout = Layout();
    if (nMessage == WM_KEYDOWN && nChar == VK_RETURN && !ctrl && !shift && current && row == layout.filterRow) {
        CGXGridParam* param = GetParam();
        const BOOL undo = param ? param->IsEnableUndo() : FALSE;
        if (param) param->EnableUndo(FALSE);
        TransferCurrentCell(TRUE, 2, TRUE);
        if (param) param->EnableUndo(undo);
        return TRUE;
    }
    if (nMessage == WM_KEYUP && nChar == VK_DELETE && current && col == ModelColumn() &&
        row >= layout.firstPinRow) {
        DeleteSelection();
        return TRUE;
    }
    return CKXGridWnd::ProcessKeys(pSender, nMessage, nChar, nRepCnt, flags);
}

void CKXPhysGridWnd::AddCommand(CGXCommand* pCmd, GXCmdType ctType) {
    if (!m_pPane) {
        CKXGridWnd::AddCommand(pCmd, ctType);
        return;
    }
    m_pPane->AddUndoCommand(this, pCmd, ctType, m_nUndoStepMode);
    m_nUndoStepMode = 2;
}

BOOL CKXPhysGridWnd::OnDeleteCell(ROWCOL nRow, ROWCOL nCol) {
    if (nRow == Layout().filterRow) return CGXGridCore::OnDeleteCell(nRow, nCol);
    CGXControl* control = GetControl(nRow, nCol);
    if (!control || !control->IsActive()) DeleteSelection();
    return FALSE;
}

BOOL CKXPhysGridWnd::OnLButtonDblClkRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) {
    m_bTrackingCol = false;
    m_nTrackedCol = 0;
    if (nCol == ModelColumn() && nRow >= Layout().firstPinRow && CanAssignModel()) {
        AssignModel(0, "");
        CKXGridWnd::SetSelection(nullptr, 0, 0, 0, 0);
        return TRUE;
    }
    return CGXGridCore::OnLButtonDblClkRowCol(nRow, nCol, nFlags, pt);
}

BOOL CKXPhysGridWnd::OnTrackColWidth(ROWCOL nCol) {
    if (nCol == 0) return FALSE; // the row-header column keeps its width
    return CKXGridWnd::OnTrackColWidth(nCol);
}

BOOL CKXPhysGridWnd::OnStartTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode) {
    m_bTrackingCol = nTrackingMode == GX_TRACKWIDTH;
    m_nTrackedCol = m_bTrackingCol ? nCol : 0;
    return CGXGridCore::OnStartTracking(nRow, nCol, nTrackingMode);
}

BOOL CKXPhysGridWnd::OnTrackColWidthMove(ROWCOL nCol, int nWidth) {
    m_bTrackingCol = false;
    m_nTrackedCol = 0;
    return CGXGridCore::OnTrackColWidthMove(nCol, nWidth);
}

void CKXPhysGridWnd::OnEndTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode, CSize& size) {
    CGXGridCore::OnEndTracking(nRow, nCol, nTrackingMode, size);
    if (nTrackingMode != GX_TRACKWIDTH) return;
    std::vector<CKXColumnInfoClass*>& columns = Columns();
    if (nCol >= columns.size()) AfxThrowInvalidArgException();
    CKXColumnInfoClass* info = columns[nCol];
    if (info->m_nWidthType == CKXColumnInfoClass::WidthInChars) info->m_nWidth = CGXGridCore::GetColWidth(nCol);
    BroadcastLayout();
}

void CKXPhysGridWnd::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (m_bTrackingCol && m_nTrackedCol > 0 && m_nTrackedCol <= GetColCount()) {
        const ROWCOL last = GetRowCount();
        if (last >= Layout().firstPinRow)
            ResizeColWidthsToFit(CGXRange(Layout().firstPinRow, m_nTrackedCol, last, m_nTrackedCol), TRUE,
                                 kNoUpdate);
        std::vector<CKXColumnInfoClass*>& columns = Columns();
        if (m_nTrackedCol < columns.size() &&
            columns[m_nTrackedCol]->m_nWidthType == CKXColumnInfoClass::WidthInChars)
            columns[m_nTrackedCol]->m_nWidth = CGXGridCore::GetColWidth(m_nTrackedCol);
        m_bTrackingCol = false;
        m_nTrackedCol = 0;
    }
    CGXGridWnd::OnLButtonDblClk(nFlags, point);
}

int CKXPhysGridWnd::CharWidth() const {
    const int w = Width_LPtoDP(1000);
    return w > 0 ? w : 1;
}

int CKXPhysGridWnd::GetColWidth(ROWCOL nCol) {
    return DescriptorWidth(nCol, CGXGridCore::GetColWidth(nCol), m_bObjectLoaded != 0 || m_bMultipleNets != 0,
                           1);
}

int CKXPhysGridWnd::DescriptorWidth(ROWCOL nCol, int width, bool multiple, int objectCol) {
    // The "Physical Part" / "Phys Net Name" column shows only while several objects are shown; the
    // shared descriptor is not changed by a query.
    if (static_cast<int>(nCol) == objectCol && !multiple) return 0;
    std::vector<CKXColumnInfoClass*>& columns = Columns();
    if (nCol >= columns.size() || !columns[nCol]) return 0;
    const CKXColumnInfoClass* info = columns[nCol];
    if (!info->m_bVisible && !(static_cast<int>(nCol) == objectCol && multiple)) return 0;
    if (width == 0) return 0;
    if (info->m_nWidthType == CKXColumnInfoClass::WidthFixed) return info->m_nWidth;
    int fixed = 0;
    ROWCOL stretch = 0;
    for (ROWCOL c = std::min<ROWCOL>(static_cast<ROWCOL>(columns.size()), GetColCount() + 1); c-- > 1;) {
        const CKXColumnInfoClass* ci = columns[c];
        if (!ci || IsColHidden(c) || !ci->m_bVisible) continue;
        if (ci->m_nWidthType == CKXColumnInfoClass::WidthFixed) {
            fixed += ci->m_nWidth;
            continue;
        }
        if (ci->m_nWidthType == CKXColumnInfoClass::WidthInChars) {
            stretch = c;
            break;
        }
    }
    if (nCol != stretch || stretch == 0) return width;
    CRect rect = GetGridRect();
    int left = 0;
    for (ROWCOL c = 0; c < nCol; ++c)
        left += IsColHidden(c) ? 0 : CGXGridCore::GetColWidth(c);
    if (left == 0) return width;
    const int available = rect.Width() - fixed - left - 1;
    return std::max(available, width - fixed);
}

// ---------------------------------------------------------------------------
// Small services

BOOL CKXPhysGridWnd::SendHostText(const CString& text) {
    CWnd* main = AfxGetMainWnd();
    if (!main) return FALSE;
    return main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0) != 0;
}

CKXTableChildFrm* CKXPhysGridWnd::TableFrame() const {
    if (auto* frame = dynamic_cast<CKXTableChildFrm*>(m_pFrame)) return frame;
    return m_pPane ? m_pPane->GetChildFrame() : nullptr;
}

void CKXPhysGridWnd::MarkDocumentModified() {
    if (CKXTableChildFrm* frame = TableFrame()) frame->SetDocumentModified(TRUE);
}

CString CKXPhysGridWnd::JournalHandle() const {
    CString handle;
    if (IDesign* design = m_designContext.design()) handle.Format("%s_phys", design->cellName());
    return handle;
}

void CKXPhysGridWnd::BroadcastLayout() {
    IKXMessageServer* server = GetKXMsgSrvr();
    if (!server) return;
    std::vector<CKXColumnInfoClass*> copy = Columns();
    server->Broadcast(MSG_COLUMN_LAYOUT_CHANGED, reinterpret_cast<WPARAM>(&copy), Layout().layoutKind, 0);
}

int CKXPhysGridWnd::FindColumnByCaption(const CString& caption) {
    const ROWCOL captionRow = Layout().captionRow;
    for (ROWCOL c = 1; c <= GetColCount(); ++c)
        if (GetValueRowCol(captionRow, c).CompareNoCase(caption) == 0) return static_cast<int>(c);
    return -1;
}

void CKXPhysGridWnd::SelectVisiblePinRows() {
    const ROWCOL last = GetRowCount();
    for (ROWCOL r = Layout().firstPinRow; r <= last; ++r)
        if (!IsRowHidden(r)) SelectRange(CGXRange().SetRows(r), TRUE, FALSE);
}

bool CKXPhysGridWnd::IsShownPinRow(ROWCOL row) {
    return row >= Layout().firstPinRow && row <= GetRowCount() && !IsRowHidden(row);
}

std::vector<ROWCOL> CKXPhysGridWnd::SelectedRows() {
    CRowColArray rows;
    GetSelectedRows(rows, FALSE, TRUE);
    std::vector<ROWCOL> out;
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        out.push_back(rows[i]);
    return out;
}

BOOL CKXPhysGridWnd::CommitOwn(BOOL bCommit, BOOL bEnd) {
    const BOOL was = m_bCommitting;
    m_bCommitting = TRUE;
    const BOOL ok = CKXTransaction::CommitTrans(this, bCommit, bEnd);
    m_bCommitting = was;
    return ok;
}

long CKXPhysGridWnd::CellAttribute(ROWCOL row, ROWCOL col, UINT id) {
    CGXStyle style;
    ComposeStyleRowCol(row, col, &style);
    return style.GetUserAttribute(Id(id)).GetLongValue();
}

void CKXPhysGridWnd::DeselectAllRows() {
    if (GetRowCount() > 0) SelectRange(CGXRange().SetRows(0, GetRowCount()), FALSE, TRUE);
}
