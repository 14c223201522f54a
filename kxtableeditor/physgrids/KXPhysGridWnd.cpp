// The cell behaviour both physical grids share, and their signal-model cell.
#include "physgrids/KXPhysGridWnd.h"

#include "grid/KXGridSite.h"
#include "kxinstsigpane/CommonInterface.h"
#include "grid/KXScriptText.h"

#include "afx/afxwin.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcontrols/KXFindReplace.h"
#include "kxcommon/KXCustomizeAPI.h"
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

CKXPhysGridWnd::~CKXPhysGridWnd() {
    // The find/replace dialog keeps the address of this grid: it goes with the grid.
    if (m_hFindReplace) KXRemoveFindReplace(this);
}

void CKXPhysGridWnd::SetupFindReplace(const CString& caption, CPoint captionCell, CPoint startCell) {
    m_pFindGrid = this;
    m_arrFindCaptions.RemoveAll();
    m_arrFindHeaderCells.RemoveAll();
    m_arrFindStartCells.RemoveAll();
    m_arrFindCaptions.Add(caption);
    m_arrFindHeaderCells.Add(captionCell);
    m_arrFindStartCells.Add(startCell);
    CGXGridParam* param = GetParam();
    m_hFindReplace = KXImplementFindReplace(&m_pFindGrid, &m_arrFindCaptions, 1, &m_arrFindHeaderCells,
                                            &m_arrFindStartCells, param ? &param->GetFindReplaceInfo() : nullptr,
                                            this, 1);
}

void CKXPhysGridWnd::ShowFindReplace(BOOL bFind) {
    if (m_hFindReplace) m_hFindReplace->ShowFindReplaceDialog(bFind);
}

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
    CCommonInterface* sink = Site() ? Site()->UndoSink() : nullptr;
    if (!sink) {
        CKXGridWnd::AddCommand(pCmd, ctType);
        return;
    }
    sink->AddUndoCommand(this, pCmd, ctType, m_nUndoStepMode);
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

void CKXPhysGridWnd::MarkDocumentModified() {
    if (IKXGridSite* site = Site()) site->MarkModified();
}

void CKXPhysGridWnd::ActivateInPane() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (GetCurrentCell(row, col) && row != GX_INVALID && row <= GetRowCount()) {
        m_nSavedRow = row;
        m_nSavedCol = col;
    }
    if (m_pFrame && Site()) Site()->ActivateSiteView();
    CKXGridWnd::OnActivateGrid(TRUE);
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

// ---------------------------------------------------------------------------
// The kind's columns

namespace {

// Descriptors dropped from a kind's list may still be named by a layout broadcast: they live as long
// as the process.
CKXColumnInfoClass* KeptColumn(int column, const CString& caption, int width, int widthType, int shown) {
    static auto* store = new std::vector<std::unique_ptr<CKXColumnInfoClass>>();
    auto info = std::make_unique<CKXColumnInfoClass>();
    info->m_nColumn = column;
    info->m_strCaption = caption;
    info->m_nWidth = width;
    info->m_nWidthType = widthType;
    info->m_bVisible = shown;
    store->push_back(std::move(info));
    return store->back().get();
}

} // namespace

void CKXPhysGridWnd::BuildColumns(std::vector<CKXColumnInfoClass*>& columns, std::vector<CString>& captions,
                                  const char* objectCaption, const KeyColumns& keys, int charWidth,
                                  bool showRowNumbers, int& count) {
    std::vector<CString> entries;
    const CStringArray& defaults = CKXCustomizeAPI::getDefaultEntriesArray();
    const CStringArray& users = CKXCustomizeAPI::getUserEntriesArray();
    for (INT_PTR i = 0; i < defaults.GetSize(); ++i)
        entries.push_back(defaults[i]);
    for (INT_PTR i = 0; i < users.GetSize(); ++i)
        entries.push_back(users[i]);
    columns.clear();
    captions.clear();
    columns.push_back(KeptColumn(0, "", 20, CKXColumnInfoClass::WidthInChars, showRowNumbers ? 1 : 0));
    captions.push_back("");
    columns.push_back(KeptColumn(1, objectCaption, 50, CKXColumnInfoClass::WidthNone, 0));
    captions.push_back(objectCaption);
    int n = 2;
    for (const CString& entry : entries) {
        CString key, caption;
        int width = 0, widthType = 0, origin = 0, display = 0;
        if (!CKXCustomizeAPI::parseAttributeValues(entry, key, width, widthType, origin, caption, display)) continue;
        const bool fixed = widthType == KX_WIDTH_FIXED;
        CKXColumnInfoClass* info =
            KeptColumn(n, caption, fixed ? width : width * charWidth,
                       fixed ? CKXColumnInfoClass::WidthFixed : CKXColumnInfoClass::WidthInChars, display == 1 ? 1 : 0);
        info->m_nPropertyType = origin;
        info->m_strPropertyName = key;
        for (const auto& [name, column] : keys)
            if (key == name) *column = n;
        columns.push_back(info);
        captions.push_back(caption);
        ++n;
    }
    count = n;
}

void CKXPhysGridWnd::SaveColumns(const std::vector<CKXColumnInfoClass*>& columns, const char* origin, int charWidth,
                                 bool parse) {
    if (!CKXCustomizeAPI::IsInitialized()) return;
    CKXCustomizeAPI::setCustomizationOrigin(origin);
    CStringArray entries;
    for (std::size_t c = 2; c < columns.size(); ++c) {
        const CKXColumnInfoClass* info = columns[c];
        const bool fixed = info->m_nWidthType == CKXColumnInfoClass::WidthFixed;
        // A fixed column keeps its own width (not a constant one).
        entries.Add(CKXCustomizeAPI::formatEntry(info->m_strPropertyName, info->m_strCaption,
                                                 fixed ? info->m_nWidth : info->m_nWidth / charWidth,
                                                 fixed ? KX_WIDTH_FIXED : KX_WIDTH_CHARS, info->m_nPropertyType,
                                                 info->m_bVisible == 1));
    }
    CKXCustomizeAPI::saveDefaultCustomization(entries);
    if (parse) CKXCustomizeAPI::parseFile(entries, true);
}

int CKXPhysGridWnd::SettingsKey(const std::vector<CKXColumnInfoClass*>& columns, const char* prefix, int col,
                                CString& key) {
    key.Empty();
    if (col == -1) return 0;
    if (col < 0 || static_cast<std::size_t>(col) >= columns.size()) AfxThrowInvalidArgException();
    key.Format("%s\\%s", prefix, columns[static_cast<std::size_t>(col)]->m_strPropertyName.GetString());
    return 1;
}

void CKXPhysGridWnd::StyleCaptionCell(ROWCOL col, const CString& caption) {
    CGXStyle style;
    style.SetControl(Id(IDS_CTRL_LIST_HEADER))
        .SetValue(caption)
        .SetEnabled(TRUE)
        .SetReadOnly(TRUE)
        .SetMergeCell(1)
        .SetHorizontalAlignment(DT_LEFT)
        .SetVerticalAlignment(DT_BOTTOM)
        .SetFont(CGXFont().SetBold(FALSE))
        .SetBorders(gxBorderAll, CGXPen().SetStyle(PS_NULL))
        .SetUserAttribute(Id(IDS_UA_TOOLTIPTEXT), caption);
    SetStyleRange(CGXRange(Layout().captionRow, col), style, gxOverride, 0, kNoUpdate);
}

void CKXPhysGridWnd::ApplyColumnLayout(WPARAM wParam, const std::function<void()>& cover,
                                       const std::function<void(ROWCOL, const CKXColumnInfoClass&)>& fill) {
    const BOOL locked = LockUpdate(TRUE);
    CGXGridParam* param = GetParam();
    const BOOL undo = param ? param->IsEnableUndo() : FALSE;
    if (param) param->EnableUndo(FALSE);
    const ROWCOL captionRow = Layout().captionRow;
    std::vector<CKXColumnInfoClass*>& columns = Columns();
    for (std::size_t i = 1; i < columns.size(); ++i) {
        const CKXColumnInfoClass* info = columns[i];
        if (!info->m_bVisible && i != 1) continue;
        ROWCOL found = 0;
        for (ROWCOL c = 1; c <= GetColCount() && !found; ++c)
            if (CellTip(captionRow, c) == info->m_strCaption) found = c;
        const ROWCOL target = static_cast<ROWCOL>(i);
        if (found) {
            if (found != target) MoveCols(found, found, target, kNoUpdate);
            HideCols(target, target, FALSE);
        } else {
            InsertCols(target, 1, kNoUpdate);
            StyleCaptionCell(target, info->m_strCaption);
            cover();
            if (info->m_nPropertyType != CKXColumnInfoClass::Default) fill(target, *info);
        }
    }
    if (const auto* before = reinterpret_cast<const std::vector<CKXColumnInfoClass*>*>(wParam))
        for (std::size_t j = 1; j < before->size(); ++j) {
            const CString caption = (*before)[j]->m_strCaption;
            bool shown = false;
            for (std::size_t i = 1; i < columns.size(); ++i)
                if (columns[i]->m_bVisible && columns[i]->m_strCaption == caption) shown = true;
            if (shown) continue;
            for (ROWCOL c = 1; c <= GetColCount(); ++c)
                if (GetValueRowCol(captionRow, c) == caption) {
                    HideCols(c, c, TRUE);
                    break;
                }
        }
    for (ROWCOL c = 1; c < columns.size() && c <= GetColCount(); ++c)
        SetColWidth(c, c, columns[c]->m_nWidth, nullptr, kNoUpdate);
    if (param) param->EnableUndo(undo);
    LockUpdate(locked);
    Redraw(2, 1);
}

CString CKXPhysGridWnd::CellTip(ROWCOL row, ROWCOL col) {
    CGXStyle style;
    ComposeStyleRowCol(row, col, &style);
    return style.GetUserAttribute(Id(IDS_UA_TOOLTIPTEXT)).GetValue();
}

void CKXPhysGridWnd::EchoCopy(const char* window, ROWCOL pinCol, ROWCOL numberCol, CString caption) {
    CString list;
    for (ROWCOL r : SelectedRows()) {
        if (!IsShownPinRow(r)) continue;
        list += "[list " + KXTclListElement(GetValueRowCol(r, pinCol)) + " " +
                KXTclListElement(GetValueRowCol(r, numberCol)) + "] ";
    }
    SendHostText(CString("selectWindow ") + window + "; copy pin " + list + KXTclQuote(caption));
}

void CKXPhysGridWnd::CopySelection() {
    CGXRangeList ranges;
    CopyRangeList(ranges, TRUE);
    CKXImpClipBoard::StartCopying();
    CString text;
    for (POSITION pos = ranges.GetHeadPosition(); pos;) {
        const CGXRange* range = ranges.GetNext(pos);
        for (ROWCOL r = range->top; r <= range->bottom && r <= GetRowCount(); ++r) {
            if (IsRowHidden(r)) continue;
            const CString value = GetValueRowCol(r, range->left);
            CKXImpClipBoard::CopyTextAsObject(value);
            text += value + "\r\n";
        }
    }
    CKXImpClipBoard::CopyCFText(text);
    CKXImpClipBoard::EndCopying();
    CKXImpClipBoard::PutTextOnClipBoard(0, 1);
}
