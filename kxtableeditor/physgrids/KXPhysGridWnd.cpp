// The cell behaviour both physical grids share, and their signal-model cell.
#include "physgrids/KXPhysGridWnd.h"
#include "grid/KXScriptWords.h"

#include "grid/KXEditResult.h"
#include "grid/KXFindAnswer.h"
#include "grid/KXGridScopes.h"
#include "grid/KXGridSite.h"
#include "grid/KXRowFilter.h"
#include "grid/KXJournalLine.h"
#include "kxinstsigpane/CommonInterface.h"
#include "grid/KXScriptText.h"

#include "afx/afxwin.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcontrols/KXFilterData.h"
#include "kxcontrols/KXProgressBar.h"
#include "kxcontrols/KXFindReplace.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_map>

using namespace kxphys;

namespace {

constexpr UINT kNoUpdate = 2;
constexpr UINT kPaneDeleteCommand = 35264; // the pane's Delete
constexpr int kProgressBarSize = 50;

WORD Id(UINT id) {
    return static_cast<WORD>(id);
}

} // namespace

CString kxphys::Vbs(const CString& text) {
    return KXVbsQuote(text);
}

void kxphys::Journal(const CString& lines) {
    // An edit of several rows journals a call per row: its replay keeps them as the one step it is.
    KXWriteJournalOfOneStep(lines);
}

KXPhysProgress::KXPhysProgress(const char* caption, int total) : m_total(total) {
    delete CKXProgressBar::m_pProgressBar;
    CKXProgressBar::m_pProgressBar = new CKXProgressBar(caption, total, kProgressBarSize, FALSE, 0);
}

KXPhysProgress::~KXPhysProgress() {
    delete CKXProgressBar::m_pProgressBar;
    CKXProgressBar::m_pProgressBar = nullptr;
}

void KXPhysProgress::Step(const CString& text) {
    CKXProgressBar* bar = CKXProgressBar::m_pProgressBar;
    if (!bar) return;
    bar->SetText(text);
    bar->StepIt();
    bar->PeekAndPump();
}

CString kxphys::PinTypeText(int code) {
    switch (code) {
    case 0:
        return "Unspec";
    case 1:
        return "Input";
    case 2:
        return "Output";
    default:
        return "Inout";
    }
}

CKXPhysGridWnd::CKXPhysGridWnd(KXGridKind kind) : CKXGridWnd(kind) {
    m_nTransState = 2;
}

CKXPhysGridWnd::~CKXPhysGridWnd() {
    // The find/replace dialog keeps the address of this grid: it goes with the grid.
    KXRemoveFindReplace(this);
}

CKXFindReplaceDlg* CKXPhysGridWnd::SetupFindReplace(const CString& caption, CPoint captionCell, CPoint startCell) {
    m_pFindGrid = this;
    m_arrFindCaptions.RemoveAll();
    m_arrFindHeaderCells.RemoveAll();
    m_arrFindStartCells.RemoveAll();
    m_arrFindCaptions.Add(caption);
    m_arrFindHeaderCells.Add(captionCell);
    m_arrFindStartCells.Add(startCell);
    CGXGridParam* param = GetParam();
    return KXImplementFindReplace(&m_pFindGrid, &m_arrFindCaptions, 1, &m_arrFindHeaderCells,
                                  &m_arrFindStartCells, param ? &param->GetFindReplaceInfo() : nullptr, this, 1);
}

void CKXPhysGridWnd::RunFindReplace(CKXFindReplaceDlg* dialog, BOOL bFind) {
    ROWCOL row = 0, col = 0;
    if (!dialog || !KXRunFindReplace(*dialog, bFind) || !GetCurrentCell(row, col)) return;
    SelectKeyRows({row}, col);
}

// ---------------------------------------------------------------------------
// Signal-model cell

CString kxphys::AssignedModel(const CInstTermBitContext& bit) {
    std::unique_ptr<CPQPropertyData> own(bit.findProperty("PIN_SIGNAL_MODEL", false));
    if (own && *own->value()) return own->value();
    return CKXGenUtils::GetPinSignalModel(bit);
}

void CKXPhysGridWnd::RefreshModelCellsOfPin(const CString& path) {
    if (path.IsEmpty()) return;
    IServer* server = CKXShareGlobalData::m_pServer;
    std::unique_ptr<CContext> object(server ? server->getContext(path.GetString()) : nullptr);
    const auto* bit = dynamic_cast<const CInstTermBitContext*>(object.get());
    const auto* pin = dynamic_cast<const CInstTermContext*>(object.get());
    const CInstanceContext inst = bit ? bit->instance() : pin ? pin->instance() : CInstanceContext();
    const char* package = inst ? inst.physicalPackageName() : nullptr;
    if (!package) return;
    // The pin numbers of the changed bits name their rows.
    std::set<CString> seen;
    auto restyle = [&](const CInstTermBitContext& b) {
        const CString number = CKXGenUtils::GetPinNumber(b);
        if (number.IsEmpty() || !seen.insert(number).second) return;
        if (const ROWCOL row = PinRowOf(package, number)) SetSignalModelCellStyle(row);
    };
    kxgrid::GridWriteScope write(*this);
    if (bit)
        restyle(*bit);
    else if (IInstTerm* term = pin->instTerm())
        for (int b : term->bits())
            restyle(pin->bitContext(b));
}

BOOL CKXPhysGridWnd::ValidateModelCell(ROWCOL row, ROWCOL col) {
    CString text;
    if (CGXControl* control = GetCurrentCellControl(); control && control->IsActive())
        control->GetCurrentText(text);
    else
        text = GetValueRowCol(row, col);
    const auto showStored = [&] {
        if (CGXControl* control = GetCurrentCellControl(); control && control->IsActive()) {
            control->SetCurrentText(GetValueRowCol(row, col));
            control->SetModify(FALSE);
        }
    };
    if (text.CompareNoCase(GetValueRowCol(row, col)) == 0) {
        // The same model again, in any letter case, is no edit: the cell keeps what the design holds.
        showStored();
        RecordUnchangedCellEdit();
        m_bStoringModelEdit = true;
        return TRUE;
    }
    // A typed model is held to the models the part offers for the pin, as the model dialog is, and
    // takes the offered spelling.
    if (const KXEditResult refused = text.IsEmpty() ? KXEditResult::Done() : TakeModelText(row, col, text);
        refused.IsRefusal()) {
        RecordCellEdit(refused);
        showStored();
        return FALSE;
    }
    if (!CommitModelOnRows({row}, text)) {
        // A refused text gives the cell back what the design holds.
        showStored();
        return FALSE;
    }
    // The cell keeps what the restyle wrote from the design: an emptied cell shows the model the part
    // stands in with, as every other pin without a model of its own does.
    if (CGXControl* control = GetCurrentCellControl(); control && control->IsActive())
        control->SetCurrentText(GetValueRowCol(row, col));
    m_bStoringModelEdit = true;
    return TRUE;
}

// The models a model cell offers are its choice list (the part's models for the pin): the one of
// them a text names in any letter case, empty when none.
CString CKXPhysGridWnd::OfferedModel(ROWCOL row, ROWCOL col, const CString& model) {
    CGXStyle style;
    GetStyleRowCol(row, col, style);
    const CString choices = style.GetChoiceList();
    for (int start = 0; start < choices.GetLength();) {
        int end = choices.Find('\n', start);
        if (end < 0) end = choices.GetLength();
        const CString choice = choices.Mid(start, end - start);
        if (choice.CompareNoCase(model) == 0) return choice;
        start = end + 1;
    }
    return CString();
}

CString CKXPhysGridWnd::JournalRowSelection(ROWCOL row, const char* select) {
    return JournalObjectSelection(row) + "\ncall " + JournalHandle() + ".ConnectivityPane()." +
           (select ? select : JournalPinSelect()) + "(" + Vbs(GetValueRowCol(row, JournalPinKeyColumn())) + "," +
           Vbs(GetValueRowCol(row, PinNumberColumn())) + ")";
}

CString CKXPhysGridWnd::JournalRowEdit(ROWCOL row, const CString& comment, const CString& call, const char* select) {
    return JournalRowSelection(row, select) + "\n\n ' --- " + comment + " ---\n\ncall " + JournalHandle() +
           ".ConnectivityPane()." + call;
}

void CKXPhysGridWnd::StyleModelCell(ROWCOL row, const CInstTermBitContext& bit) {
    if (!bit) return;
    // A cell written from the design is no undo step: recording is off while it is written.
    kxgrid::GridWriteScope write(*this);
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
        style.SetValue(model).SetReadOnly(FALSE).SetUserAttribute(Id(IDS_UA_PROGRAMMABLE_PIN), kModelChosen);
    } else {
        if (valid && defaults.GetCount() == 1 && model.IsEmpty()) model = defaults.GetHead();
        style.SetControl(Id(kStaticControl))
            .SetValue(model)
            .SetReadOnly(TRUE)
            .SetUserAttribute(Id(IDS_UA_PROGRAMMABLE_PIN), kModelFixed);
    }
    SetStyleRange(CGXRange(row, col), style, gxOverride, 0, kNoUpdate);
}

void CKXPhysGridWnd::StyleModelCellWithoutPin(ROWCOL row) {
    kxgrid::GridWriteScope write(*this);
    CGXStyle style;
    style.SetControl(Id(kStaticControl))
        .SetValue("")
        .SetReadOnly(TRUE)
        .SetUserAttribute(Id(IDS_UA_PROGRAMMABLE_PIN), kModelWithoutPin);
    SetStyleRange(CGXRange(row, ModelColumn()), style, gxOverride, 0, kNoUpdate);
}

KXEditResult CKXPhysGridWnd::WhyCurrentCellTakesNoTyping() {
    ROWCOL row = 0, col = 0;
    if (!GetCurrentCell(row, col) || col != ModelColumn() || row < Layout().firstPinRow) return KXEditResult::Done();
    return WhyModelCellTakesNoText(row, col);
}

KXEditResult CKXPhysGridWnd::TakeModelText(ROWCOL row, ROWCOL col, CString& model) {
    if (const KXEditResult fixed = WhyModelCellTakesNoText(row, col); fixed.IsRefusal()) return fixed;
    const CString offered = OfferedModel(row, col, model);
    if (offered.IsEmpty())
        return KXEditResult::Refused("KXTABLE-381", "model \"" + model + "\" is not among the models offered");
    model = offered;
    return KXEditResult::Done();
}

KXEditResult CKXPhysGridWnd::WhyModelCellTakesNoText(ROWCOL row, ROWCOL col) {
    CGXStyle style;
    GetStyleRowCol(row, col, style);
    const WORD attribute = Id(IDS_UA_PROGRAMMABLE_PIN);
    if (!style.GetIncludeUserAttribute(attribute)) return KXEditResult::Done();
    const int kind = std::atoi(style.GetUserAttributeText(attribute).GetString());
    const int pinCol = FindColumnByCaption("Pin Name");
    const CString pin = pinCol > 0 ? StoredText(row, static_cast<ROWCOL>(pinCol)) : CString();
    if (kind == kModelWithoutPin) return KXEditResult::Refused("KXTABLE-426", pin);
    if (kind == kModelFixed) return KXEditResult::Refused("KXTABLE-425", pin);
    return KXEditResult::Done();
}

// ---------------------------------------------------------------------------
// Cell behaviour

BOOL CKXPhysGridWnd::OnEndEditing(ROWCOL nRow, ROWCOL nCol) {
    m_bStoringModelEdit = false;
    const BOOL result = CGXGridCore::OnEndEditing(nRow, nCol);
    if (m_bEditTransOpen) {
        m_bEditTransOpen = 0;
        m_nTransState = 0;
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
    if (nMessage == WM_KEYDOWN && nChar == VK_RETURN && !ctrl && !shift && current &&
        row == layout.filterRow) {
        CGXGridParam* param = GetParam();
        const BOOL undo = param ? param->IsEnableUndo() : FALSE;
        if (param) param->EnableUndo(FALSE);
        TransferCurrentCell(TRUE, 2, TRUE);
        if (param) param->EnableUndo(undo);
        return TRUE;
    }
    // Delete outside a filter cell that filters and a cell being edited is the pane's Delete (the
    // models of the selected pins), answered as its menu command is.
    const bool filtering = current && row == layout.filterRow && !KXRowFilter::IsMatchAll(FilterPattern(col));
    if (nChar == VK_DELETE && !filtering) {
        CGXControl* control = current ? GetControl(row, col) : nullptr;
        if (!(control && control->IsActive())) {
            if (nMessage == WM_KEYDOWN && Site()) Site()->RunPaneCommand(kPaneDeleteCommand);
            return TRUE;
        }
    }
    return CKXGridWnd::ProcessKeys(pSender, nMessage, nChar, nRepCnt, flags);
}

void CKXPhysGridWnd::AddCommand(CGXCommand* pCmd, GXCmdType ctType) {
    // A typed model changed the design in an edit of its own; the store of the cell's text is no step.
    if (m_bStoringModelEdit) {
        m_bStoringModelEdit = false;
        delete pCmd;
        return;
    }
    AddCommandToSiteUndo(pCmd, ctType);
}

BOOL CKXPhysGridWnd::OnDeleteCell(ROWCOL nRow, ROWCOL nCol) {
    if (nRow == Layout().filterRow) return CGXGridCore::OnDeleteCell(nRow, nCol);
    CGXControl* control = GetControl(nRow, nCol);
    if (!control || !control->IsActive()) DeleteSelection();
    return FALSE;
}

BOOL CKXPhysGridWnd::OnLButtonDblClkRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) {
    EndWidthDrag();
    if (nCol == ModelColumn() && nRow >= Layout().firstPinRow && CanAssignModel()) {
        AssignModel(0, "");
        CKXGridWnd::SetSelection(nullptr, 0, 0, 0, 0);
        return TRUE;
    }
    return CGXGridCore::OnLButtonDblClkRowCol(nRow, nCol, nFlags, pt);
}

BOOL CKXPhysGridWnd::OnTrackColWidth(ROWCOL nCol) {
    if (nCol <= m_nFirstHeaderCol) return FALSE; // the row-header column keeps its width
    return CKXGridWnd::OnTrackColWidth(nCol);
}

BOOL CKXPhysGridWnd::OnStartTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode) {
    WidthDragUnmoved() = nTrackingMode == GX_TRACKWIDTH;
    m_nTrackedCol = WidthDragUnmoved() ? nCol : 0;
    return CGXGridCore::OnStartTracking(nRow, nCol, nTrackingMode);
}

BOOL CKXPhysGridWnd::OnTrackColWidthMove(ROWCOL nCol, int nWidth) {
    EndWidthDrag();
    return CGXGridCore::OnTrackColWidthMove(nCol, nWidth);
}

void CKXPhysGridWnd::OnEndTracking(ROWCOL nRow, ROWCOL nCol, int nTrackingMode, CSize& size) {
    CKXGridWnd::OnEndTracking(nRow, nCol, nTrackingMode, size);
    if (nTrackingMode != GX_TRACKWIDTH) return;
    ColumnModel().At(static_cast<int>(nCol)); // a column outside the model is an invalid argument
    ColumnModel().TrackWidth(*this, static_cast<int>(nCol));
    BroadcastLayout();
}

void CKXPhysGridWnd::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (WidthDragUnmoved() && m_nTrackedCol > 0 && m_nTrackedCol <= GetColCount()) {
        const ROWCOL last = GetRowCount();
        if (last >= Layout().firstPinRow)
            FitColumnsToCells(CGXRange(Layout().firstPinRow, m_nTrackedCol, last, m_nTrackedCol), kNoUpdate);
        ColumnModel().TrackWidth(*this, static_cast<int>(m_nTrackedCol));
    }
    EndWidthDrag();
    CGXGridWnd::OnLButtonDblClk(nFlags, point);
}

int CKXPhysGridWnd::CharWidth() const {
    return CKXColumnModel::kCharWidth;
}

void CKXPhysGridWnd::ShowRowNumbers(BOOL bShow) {
    m_bShowRowNumbers = bShow ? TRUE : FALSE;
    ColumnModel().ShowRowNumbers(m_bShowRowNumbers != FALSE);
    CKXGridWnd::ShowRowNumbers(m_bShowRowNumbers);
    if (m_bShowRowNumbers) FitRowHeaderColumn();
    Redraw();
}

int CKXPhysGridWnd::GetColWidth(ROWCOL nCol) {
    return DescriptorWidth(nCol, CGXGridCore::GetColWidth(nCol), m_bObjectLoaded != 0 || m_bMultipleNets != 0,
                           1);
}

int CKXPhysGridWnd::DescriptorWidth(ROWCOL nCol, int width, bool multiple, int objectCol) {
    // The "Physical Part" / "Phys Net Name" column shows only while several objects are shown; the
    // shared descriptor is not changed by a query.
    if (static_cast<int>(nCol) == objectCol && !multiple) return 0;
    const CKXColumnModel& columns = ColumnModel();
    const CKXColumnInfoClass* info = columns.Find(static_cast<int>(nCol));
    if (!info) return 0;
    if (!info->m_bShown && !(static_cast<int>(nCol) == objectCol && multiple)) return 0;
    if (width == 0) return 0;
    if (info->m_nWidthType == CKXColumnInfoClass::WidthFixed) return info->m_nWidth;
    int fixed = 0;
    ROWCOL stretch = 0;
    for (ROWCOL c = std::min<ROWCOL>(static_cast<ROWCOL>(columns.Size()), GetColCount() + 1); c-- > 1;) {
        const CKXColumnInfoClass* ci = columns.Find(static_cast<int>(c));
        if (!ci || IsColHidden(c) || !ci->m_bShown) continue;
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
    // The window's handle names the window its lines replay on; a grid of no window, its design.
    if (IKXGridSite* site = Site()) {
        const CString handle = site->DocumentJournalHandle();
        if (!handle.IsEmpty()) return handle;
    }
    CString handle;
    if (IDesign* design = m_designContext.design()) handle.Format("%s_phys", design->cellName());
    return handle;
}

int CKXPhysGridWnd::FindColumnByCaption(const CString& caption) {
    const ROWCOL captionRow = Layout().captionRow;
    for (ROWCOL c = 1; c <= GetColCount(); ++c)
        if (GetValueRowCol(captionRow, c).CompareNoCase(caption) == 0) return static_cast<int>(c);
    // A column is named by its key too, as in the pin grid.
    for (ROWCOL c = 1; c <= GetColCount(); ++c)
        if (const CKXColumnInfoClass* info = GetColumnInfo(static_cast<int>(c));
            info && !info->m_strPropertyName.IsEmpty() && info->m_strPropertyName.CompareNoCase(caption) == 0)
            return static_cast<int>(c);
    return -1;
}

void CKXPhysGridWnd::SelectVisibleDataRows() {
    // Every shown pin row, and nothing else: the first is the current cell, as after a click.
    std::vector<ROWCOL> rows;
    const ROWCOL last = GetRowCount(), number = PinNumberColumn();
    for (ROWCOL r = Layout().firstPinRow; r <= last; ++r)
        if (!IsRowHidden(r) && !GetValueRowCol(r, number).IsEmpty()) rows.push_back(r);
    SelectKeyRows(rows, PinNumberColumn());
}

bool CKXPhysGridWnd::IsShownPinRow(ROWCOL row) {
    return row >= Layout().firstPinRow && row <= GetRowCount() && !IsRowHidden(row);
}

std::vector<ROWCOL> CKXPhysGridWnd::SelectedRows() {
    return SelectedRowNumbers();
}

BOOL CKXPhysGridWnd::CommitOwn(BOOL bCommit, BOOL bEnd) {
    const BOOL was = m_bCommitting;
    m_bCommitting = TRUE;
    const BOOL ok = CKXTransaction::CommitTrans(this, bCommit, bEnd);
    m_bCommitting = was;
    return ok;
}

void CKXPhysGridWnd::DeselectAllRows() {
    if (GetRowCount() > 0) SelectRange(CGXRange().SetRows(0, GetRowCount()), FALSE, TRUE);
}

// ---------------------------------------------------------------------------
// The kind's columns

namespace {

// The width of the column of the object's name before the customised columns.
constexpr int kObjectColumnWidth = 50;

} // namespace

void CKXPhysGridWnd::SetupColumns() {
    ColumnModel().SelectOrigin();
    if (ColumnModel().Empty()) InitColumnInfo();
    ColumnModel().ShowRowNumbers(m_bShowRowNumbers != FALSE);
    TakeColumnNumbers();
}

void CKXPhysGridWnd::InitColumnInfo() {
    ColumnModel().Setup({{ObjectCaption(), kObjectColumnWidth, false}}, CharWidth(),
                        m_bShowRowNumbers != FALSE);
    TakeColumnNumbers();
}

void CKXPhysGridWnd::TakeColumnNumbers() {
    for (const auto& [key, column] : KeyColumnNumbers())
        if (const int col = ColumnModel().ColumnOfKey(key); col >= 0) *column = col;
    OnColumnsTaken();
}

std::vector<CString> CKXPhysGridWnd::ColumnCaptions() const {
    std::vector<CString> captions;
    for (const CKXColumnInfoClass* info : ColumnModel().Columns())
        captions.push_back(info->m_strCaption);
    return captions;
}

void CKXPhysGridWnd::SaveColumnCustomization(BOOL bReparse) {
    ColumnModel().Save(CharWidth(), bReparse != FALSE);
}

void CKXPhysGridWnd::CustomizeColumns() {
    const int dialogKind = static_cast<int>(KXGridKindNumber(Kind()));
    if (!ColumnModel().Customize({{ObjectCaption(), kObjectColumnWidth, false}}, CharWidth(),
                                 m_bShowRowNumbers != FALSE, dialogKind))
        return;
    TakeColumnNumbers();
    Redraw(2, 1);
}

void CKXPhysGridWnd::StyleNewFilterCells() {
    const ROWCOL filterRow = Layout().filterRow;
    const CGXStyle filter = FilterCellStyle();
    for (ROWCOL c = 1; c <= GetColCount(); ++c)
        if (GetValueRowCol(filterRow, c).IsEmpty())
            SetStyleRange(CGXRange(filterRow, c), filter, gxOverride, 0, kNoUpdate);
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

void CKXPhysGridWnd::FormatColumnCaptions() {
    for (int c = 1; c < ColumnModel().Size(); ++c)
        StyleCaptionCell(static_cast<ROWCOL>(c), ColumnModel().At(c)->m_strCaption);
    ApplyColumnWidths();
}

void CKXPhysGridWnd::ApplyColumnWidths() {
    // The row-number column follows the row numbers, not its descriptor's width.
    for (int c = 1; c < ColumnModel().Size(); ++c)
        SetColWidth(static_cast<ROWCOL>(c), static_cast<ROWCOL>(c), ColumnModel().At(c)->m_nWidth, nullptr,
                    kNoUpdate);
    FitRowHeaderColumn();
}

LRESULT CKXPhysGridWnd::ApplyColumnLayout(WPARAM wParam, LPARAM lParam) {
    if (!ColumnModel().IsLayoutOfKind(lParam)) return 0;
    CKXColumnModel::LayoutHooks hooks;
    hooks.styleCaption = [this](int col, const CString& caption) {
        StyleCaptionCell(static_cast<ROWCOL>(col), caption);
        CoverHeaderRows();
    };
    hooks.fillColumn = [this](int col, const CKXColumnInfoClass& info) {
        FillPropertyColumnOfLayout(static_cast<ROWCOL>(col), info);
    };
    hooks.finish = [this] {
        StyleNewFilterCells();
        FitRowHeaderColumn();
    };
    ColumnModel().ApplyLayout(*this, Layout().captionRow, CKXColumnModel::OldLayout(wParam), hooks);
    TakeColumnNumbers();
    return 1;
}

void CKXPhysGridWnd::ShowColumnChooser(CPoint pt, const std::function<bool(int)>& enabled) {
    CPoint screen = pt;
    ClientToScreen(&screen);
    switch (ColumnModel().ShowChooser(*this, screen, ID_COLUMN_CHOOSER_FIRST, enabled)) {
    case CKXColumnModel::MenuChoice::Customize:
        CustomizeColumns();
        break;
    case CKXColumnModel::MenuChoice::Toggled:
        BroadcastLayout();
        break;
    case CKXColumnModel::MenuChoice::Dismissed:
        break;
    }
}

// ---------------------------------------------------------------------------
// Filter, sort and keys

int CKXPhysGridWnd::ColumnOfCaption(const CString& caption) {
    if (!caption.IsEmpty()) return FindColumnByCaption(caption);
    ROWCOL row = 0, col = 0;
    return GetCurrentCell(row, col) ? static_cast<int>(col) : -1;
}

CString CKXPhysGridWnd::FilterPattern(ROWCOL col) {
    const ROWCOL filterRow = Layout().filterRow;
    ROWCOL r = 0, c = 0;
    if (GetCurrentCell(r, c) && r == filterRow && c == col)
        if (CGXControl* control = GetCurrentCellControl(); control && control->IsActive()) {
            CString text;
            control->GetCurrentText(text);
            return text;
        }
    return GetValueRowCol(filterRow, col);
}

void CKXPhysGridWnd::HideFilteredRows(ROWCOL lastRow) {
    kxgrid::GridWriteScope write(*this, kxgrid::GridWriteScope::kUndo);
    const ROWCOL first = Layout().firstPinRow;
    for (ROWCOL r = first; r <= lastRow; ++r)
        if (IsRowHidden(r) && !KXRowAttrs(*this, r).Get(PinNumberColumn(), kBlockFiltered))
            HideRows(r, r, FALSE, nullptr, kNoUpdate, gxDo);
    for (ROWCOL c = 1; c <= GetColCount(); ++c) {
        const CString pattern = FilterPattern(c);
        if (pattern.IsEmpty() || pattern == "*") continue;
        CKXFilterData filter;
        filter.SetPattern(pattern);
        for (ROWCOL r = first; r <= lastRow; ++r)
            if (!IsRowHidden(r) && !filter.SearchText(GetValueRowCol(r, c)))
                HideRows(r, r, TRUE, nullptr, kNoUpdate, gxDo);
        filter.FreePattern();
    }
}

void CKXPhysGridWnd::JournalFilter(ROWCOL col) {
    if (col == 0) return;
    const CString caption = GetValueRowCol(Layout().captionRow, col);
    Journal(JournalObjectSelection(0) + "\ncall " + JournalHandle() + ".ConnectivityPane().FilterRows(" +
            Vbs(caption) + "," + Vbs(FilterPattern(col)) + ")");
}

void CKXPhysGridWnd::EchoFilterEdit(ROWCOL col) {
    BOOL& echoing = FilterEchoFlag();
    if (echoing) return;
    const CString pattern = FilterPattern(col);
    const CString caption = GetValueRowCol(Layout().captionRow, col);
    echoing = TRUE;
    SendHostText(CString(KXScriptWord::filterRows) + " pin -col " + KXTclQuote(caption) + " -filter " + KXTclQuote(pattern));
    echoing = FALSE;
}

namespace {
// The text-key type of a pin row's key in the row index.
constexpr char kPinRowKey = 'K';
} // namespace

ROWCOL CKXPhysGridWnd::FindKeyedRow(const CString& key) {
    const ROWCOL first = Layout().firstPinRow;
    if (key.IsEmpty() || GetRowCount() < first) return 0;
    if (!m_bKeyedRowsIndexed) IndexKeyedRows();
    for (ROWCOL r : m_keyedRows.TextRows(kPinRowKey, key))
        if (r >= first && r <= GetRowCount() && RowKey(r) == key) return r;
    return 0;
}

void CKXPhysGridWnd::IndexKeyedRows() {
    m_keyedRows.Clear();
    for (ROWCOL r = Layout().firstPinRow; r <= GetRowCount(); ++r)
        m_keyedRows.AddText(kPinRowKey, RowKey(r), r);
    m_keyedRows.NumberRows();
    m_bKeyedRowsIndexed = true;
}

void CKXPhysGridWnd::ForgetKeyedRows() {
    m_keyedRows.Clear();
    m_bKeyedRowsIndexed = false;
}

BOOL CKXPhysGridWnd::StoreStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, GXModifyType mt,
                                      int nType) {
    const BOOL stored = CKXGridWnd::StoreStyleRowCol(nRow, nCol, pStyle, mt, nType);
    if (stored && m_bKeyedRowsIndexed && pStyle && nType == 0 && pStyle->GetIncludeValue() &&
        nRow >= Layout().firstPinRow && IsRowKeyColumn(nCol))
        m_keyedRows.AddText(kPinRowKey, RowKey(nRow), nRow);
    return stored;
}

std::vector<CString> CKXPhysGridWnd::KeyFields(const CString& key) {
    std::vector<CString> fields;
    int start = 0;
    for (;;) {
        const int colon = key.Find(':', start);
        fields.push_back(key.Mid(start, colon < 0 ? key.GetLength() - start : colon - start));
        if (colon < 0) return fields;
        start = colon + 1;
    }
}

std::vector<ROWCOL> CKXPhysGridWnd::FindRowsOnce(const std::vector<KXPhysRowQuery>& queries, ROWCOL lastRow) {
    constexpr char kSeparator = '\x1f';
    std::vector<ROWCOL> found(queries.size(), 0);
    // Queries grouped by the columns they read, then by the texts they want.
    std::map<std::vector<ROWCOL>, std::unordered_map<std::string, std::vector<std::size_t>>> wanted;
    for (std::size_t i = 0; i < queries.size(); ++i) {
        std::vector<ROWCOL> cols;
        std::string texts;
        for (const auto& [col, text] : queries[i]) {
            cols.push_back(col);
            texts += text.str() + kSeparator;
        }
        wanted[cols][texts].push_back(i);
    }
    std::size_t left = queries.size();
    for (ROWCOL r = Layout().firstPinRow; r <= lastRow && left > 0; ++r)
        for (auto& [cols, byTexts] : wanted) {
            std::string texts;
            for (ROWCOL c : cols)
                texts += GetValueRowCol(r, c).str() + kSeparator;
            const auto it = byTexts.find(texts);
            if (it == byTexts.end()) continue;
            for (std::size_t i : it->second)
                found[i] = r;
            left -= it->second.size();
            byTexts.erase(it);
        }
    return found;
}

void CKXPhysGridWnd::SelectRowsByKey(CStringArray* keys, CString column) {
    if (!keys || keys->GetSize() == 0) {
        SelectVisibleDataRows();
        return;
    }
    ROWCOL keyCol = 0;
    const std::vector<ROWCOL> rows = RowsOfKeys(*keys, column, keyCol);
    SelectKeyRows(rows, keyCol);
}

ROWCOL CKXPhysGridWnd::KeyColumn(const CString& caption, int fallback) {
    const int col = caption.IsEmpty() ? fallback : FindColumnByCaption(caption);
    return static_cast<ROWCOL>(col > 0 ? col : fallback);
}

void CKXPhysGridWnd::SelectRowsNamedByKeys(CStringArray* keys, const CString& keyColumn,
                                           std::vector<bool>& named) {
    if (!keys || keys->GetSize() == 0) {
        CKXGridWnd::SelectRowsNamedByKeys(keys, keyColumn, named);
        return;
    }
    ROWCOL keyCol = 0;
    const std::vector<ROWCOL> rows = RowsOfKeys(*keys, keyColumn, keyCol);
    SelectKeyRows(rows, keyCol);
    for (std::size_t i = 0; i < rows.size() && i < named.size(); ++i)
        if (rows[i]) named[i] = true;
}

void CKXPhysGridWnd::SelectKeyRows(const std::vector<ROWCOL>& rows, ROWCOL keyCol) {
    // A selection made for a script command is no undo step of its own.
    kxgrid::GridWriteScope write(*this, kxgrid::GridWriteScope::kUndo);
    // Keys of no row leave nothing selected and no current cell for the next command to act on.
    ClearSelection();
    bool first = true;
    for (ROWCOL row : rows) {
        if (!row) continue;
        if (first) SetCurrentCell(row, keyCol);
        first = false;
        SelectRange(CGXRange(row, keyCol), TRUE, TRUE);
    }
}

void CKXPhysGridWnd::DumpShownCells(std::FILE* file) {
    for (ROWCOL r = 1; r <= GetRowCount(); ++r) {
        if (IsRowHidden(r)) continue;
        for (ROWCOL c = 1; c <= GetColCount(); ++c) {
            if (IsColHidden(c) || GetColWidth(c) == 0) continue;
            std::fprintf(file, "%-31s   ", GetValueRowCol(r, c).GetString());
        }
        std::fprintf(file, "\n");
    }
}

// ---------------------------------------------------------------------------
// Refresh after a commit

int CKXPhysGridWnd::OwnerKindOf(const CContext* object) {
    if (dynamic_cast<const CInstanceContext*>(object)) return 1;
    if (dynamic_cast<const CInstTermBitContext*>(object) || dynamic_cast<const CInstTermContext*>(object))
        return 2;
    if (dynamic_cast<const CNetContext*>(object) || dynamic_cast<const CNetBitContext*>(object)) return 3;
    return 0;
}

namespace {

// The reference designator of the instance behind a changed object; empty for other objects.
CString PackageOf(const CContext* object) {
    const char* name = nullptr;
    if (auto* bit = dynamic_cast<const CInstTermBitContext*>(object))
        name = bit->instance().physicalPackageName();
    else if (auto* pin = dynamic_cast<const CInstTermContext*>(object))
        name = pin->instance().physicalPackageName();
    else if (auto* inst = dynamic_cast<const CInstanceContext*>(object))
        name = inst->physicalPackageName();
    return name ? CString(name) : CString();
}

} // namespace

LRESULT CKXPhysGridWnd::OnTransactionCommitted(WPARAM, LPARAM lParam) {
    auto* transaction = reinterpret_cast<CTransaction*>(lParam);
    if (!transaction || !CKXShareGlobalData::m_pServer) return 0;
    const bool connections = transaction->modifiesObjectType(rmx::ObjType::Conn) ||
                             transaction->modifiesObjectType(rmx::ObjType::Instance);
    // A net renamed or aliased changes the physical net names of the pins on it.
    const bool netNames = transaction->modifiesObjectType(rmx::ObjType::Net) ||
                          transaction->modifiesObjectType(rmx::ObjType::Alias);
    if (!connections && !netNames && !transaction->modifiesObjectType(rmx::ObjType::Property)) return 0;
    const KXChangeDigest digest(*transaction);
    kxgrid::GridWriteScope write(*this);
    kxgrid::LockUpdateScope lock(*this);
    digest.Dispatch(*this);
    if (connections) OnConnectionsChanged();
    return 0;
}

void CKXPhysGridWnd::OnDigestBegin(const KXChangeDigest& digest) {
    m_committedChanges.clear();
    m_pDigestServer = digest.Server() ? digest.Server() : CKXShareGlobalData::m_pServer;
}

void CKXPhysGridWnd::OnPropertyChange(const IChange& change, CPropertyChange&) {
    const char *path = nullptr, *name = nullptr, *oldValue = nullptr, *newValue = nullptr;
    const CContext* owner =
        m_pDigestServer ? m_pDigestServer->decodePropertyChange(&change, &path, &name, &oldValue, &newValue)
                        : nullptr;
    if (!owner) return;
    KXPhysPropertyChange c;
    c.path = path ? path : "";
    c.name = name ? name : "";
    c.oldValue = oldValue ? oldValue : "";
    c.newValue = newValue ? newValue : "";
    c.package = PackageOf(owner);
    c.changeKind = change.changeKind();
    c.ownerKind = OwnerKindOf(owner);
    m_committedChanges.push_back(std::move(c));
}

void CKXPhysGridWnd::OnDigestEnd(const KXChangeDigest&) {
    std::vector<KXPhysPropertyChange> changes;
    changes.swap(m_committedChanges);
    if (!changes.empty()) OnPropertyChanges(changes);
}

void CKXPhysGridWnd::RefillPropertyColumns(const std::set<CString>& properties) {
    if (properties.empty()) return;
    const std::map<CString, int> columns = ColumnModel().PropertyColumns();
    for (const CString& property : properties)
        for (const auto& [name, col] : columns)
            if (name.CompareNoCase(property) == 0) {
                FillPropertyColumnOfLayout(static_cast<ROWCOL>(col), *ColumnModel().At(col));
                break;
            }
}

CString CKXPhysGridWnd::StoredText(ROWCOL row, ROWCOL col) {
    const CGXData* data = GetData();
    const CGXStyle* cell = data ? data->LookupCell(row, col) : nullptr;
    if (cell && cell->GetIncludeValue()) return cell->GetValue();
    return GetValueRowCol(row, col);
}

void CKXPhysGridWnd::EchoCopy(const char* window, ROWCOL pinCol, ROWCOL numberCol, CString caption, ROWCOL partCol) {
    CString list;
    for (ROWCOL r : SelectedRows()) {
        if (!IsShownPinRow(r)) continue;
        list += "[list ";
        if (partCol) list += KXTclListElement(GetValueRowCol(r, partCol)) + " ";
        list += KXTclListElement(GetValueRowCol(r, pinCol)) + " " +
                KXTclListElement(GetValueRowCol(r, numberCol)) + "] ";
    }
    SendHostText(CString(KXScriptWord::selectWindow) + " " + window + "; " + KXScriptWord::copy + " pin " + list +
                 KXTclQuote(caption));
}

void CKXPhysGridWnd::CopySelection() {
    CGXRangeList ranges;
    CopyRangeList(ranges, TRUE);
    CKXImpClipBoard::StartCopying();
    CString text;
    int copied = 0;
    for (POSITION pos = ranges.GetHeadPosition(); pos;) {
        const CGXRange* range = ranges.GetNext(pos);
        const ROWCOL bottom = std::min(range->bottom, GetRowCount());
        int shown = 0;
        for (ROWCOL r = range->top; r <= bottom; ++r)
            if (!IsRowHidden(r)) ++shown;
        KXPhysProgress progress("Copying Data", shown);
        for (ROWCOL r = range->top; r <= bottom; ++r) {
            if (IsRowHidden(r)) continue;
            const CString value = GetValueRowCol(r, range->left);
            CKXImpClipBoard::CopyTextAsObject(value);
            text += value + "\r\n";
            ++copied;
            progress.Step(CString());
        }
    }
    // Rows the filter hides give nothing: the clipboard keeps what it held.
    if (copied == 0) {
        CKXImpClipBoard::EndCopying();
        return;
    }
    CKXImpClipBoard::CopyCFText(text);
    CKXImpClipBoard::EndCopying();
    CKXImpClipBoard::PutTextOnClipBoard(0, 1);
}
