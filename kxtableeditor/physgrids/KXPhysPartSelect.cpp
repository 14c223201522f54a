// Clipboard, menus and what the physical part grid tells the rest of the host
// about the selected pins: cross-selection, the pin editor, the list panes, the
// pane's title and active grid.
#include "physgrids/KXPhysPartDetailsGridWnd.h"
#include "grid/KXScriptWords.h"

#include "grid/KXGridSite.h"
#include "kxinstsigpane/CommonInterface.h"
#include "grid/KXScriptText.h"

#include "afx/afxmenu.h"
#include "afx/afxwin.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXGenUtils.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/server.h"
#include "kxcommon/KXHiliteObject.h"
#include "kxcommon/TclArgs.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxpropertyeditor/KXPropertyEditor.h"
#include "rmx/packaging.h"

#include <memory>

using namespace kxphys;

namespace {

constexpr UINT kNoUpdate = 2;
constexpr int kObjectTypeModel = 4;

ROWCOL C(int col) {
    return static_cast<ROWCOL>(col);
}

} // namespace

// ---------------------------------------------------------------------------
// Clipboard

void CKXPhysPartDetailsGridWnd::OnEditCopy() {
    ROWCOL row = 0, col = 0;
    if (!GetCurrentCell(row, col) || row < kPartFirstRow) return;
    EchoCopy("ccp", C(s_nPinNameCol), C(s_nPNCol), GetValueRowCol(kPartCaptionRow, col),
             m_bObjectLoaded ? C(s_nPhysPartCol) : 0);
}

BOOL CKXPhysPartDetailsGridWnd::PasteFromClipboardViewer(int, int) {
    // The grid takes no pasted text: nothing is changed and nothing is reported as done.
    return PasteClipboardText();
}

BOOL CKXPhysPartDetailsGridWnd::CanPasteNever(int) {
    return FALSE;
}

BOOL CKXPhysPartDetailsGridWnd::CanPasteHere(int type) {
    CKXPhysPartDetailsGridWnd* grid = s_pActiveGrid;
    if (!grid) return FALSE;
    ROWCOL row = 0, col = 0;
    grid->GetCurrentCell(row, col);
    const int c = static_cast<int>(col);
    if (c == s_nPinNameCol || c == s_nPNCol || c == s_nPinTypeCol || c == s_nSignalCol) return FALSE;
    if (c == s_nSignalModelCol) return type == kObjectTypeModel;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Menus

BOOL CKXPhysPartDetailsGridWnd::OnRButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt) {
    if (nRow == kPartFilterRow) return CGXGridCore::OnRButtonClickedRowCol(nRow, nCol, nFlags, pt);
    if (nRow == kPartCaptionRow) {
        // The column of the object's name is offered only while several objects are shown.
        ShowColumnChooser(pt, [this](int col) { return m_bObjectLoaded || col != s_nPhysPartCol; });
        return TRUE;
    }
    if (nRow >= kPartFirstRow) {
        ShowContextMenu(this, pt, IDR_PHYSPART_MENU, kPartPaneKind);
        return TRUE;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Activation and the pane

BOOL CKXPhysPartDetailsGridWnd::SetCurrentCell(ROWCOL nRow, ROWCOL nCol, UINT flags) {
    const BOOL result = CKXGridWnd::SetCurrentCell(nRow, nCol, flags);
    if (result) {
        if (IKXGridSite* site = Site()) site->EnableAttachSignalControls(FALSE);
        s_pActiveGrid = this;
        CKXImpClipBoard::InitCanPasteCallBack(&CanPasteNever, &CanPasteHere);
    }
    return result;
}

void CKXPhysPartDetailsGridWnd::ActivateGridView() {
    s_pActiveGrid = this;
    CKXImpClipBoard::InitCanPasteCallBack(&CanPasteNever, &CanPasteHere);
    ActivateInPane();
}

void CKXPhysPartDetailsGridWnd::UpdatePaneTitle() {
    if (IKXGridSite* site = Site()) site->SetPaneTitle(kPartPaneKind);
}

void CKXPhysPartDetailsGridWnd::GetSelectedObjects() {
    std::unique_ptr<IPhysPartInst> part(GetPhysPartInst());
    CCommonInterface* clp = ListPane();
    if (!part || !clp) return;
    // The component list of the physical view names the part's logical instances.
    CStringList names(10);
    for (const CInstanceContext& inst : part->logicalInstances())
        names.AddTail(inst.name());
    if (names.IsEmpty()) names.AddTail(part->name());
    clp->ShowComponentsByName(m_designContext, &names, FALSE);
}

void CKXPhysPartDetailsGridWnd::GetShownObjectNames(CString& names) {
    names = m_strRefDes;
    if (!m_bObjectLoaded) return;
    names.Empty();
    for (const CString& part : m_mapShownParts)
        names += (names.IsEmpty() ? "" : " ") + part;
}

void CKXPhysPartDetailsGridWnd::GetSelectedObjectNames() {
    GetSelectedObjects();
    CKXGridWnd::GetSelectedObjectNames();
}

void CKXPhysPartDetailsGridWnd::RemoveListPaneSelection() {
    if (IKXGridSite* site = Site())
        if (CCommonInterface* slp = site->SignalListPane()) slp->RemoveSelection();
}

void CKXPhysPartDetailsGridWnd::CrossSelectInHost() {
    CTclArgsList list;
    list.add(KXScriptWord::selectObject);
    list.add("pin");
    for (ROWCOL r : SelectedRows()) {
        if (!IsShownPinRow(r)) continue;
        list.StartArgument();
        list.AddToArgument(GetValueRowCol(r, C(s_nPinNameCol)));
        list.AddToArgument(GetValueRowCol(r, C(s_nPNCol)));
        list.EndArgument();
    }
    if (list.GetTotalArgCount() > 2)
        if (CWnd* main = AfxGetMainWnd())
            main->SendMessage(MSG_HOST_SCRIPT_ARGS, reinterpret_cast<WPARAM>(&list), 0);
}

BOOL CKXPhysPartDetailsGridWnd::EditPin(BOOL bMode) {
    ROWCOL row = 0, col = 0;
    if (!GetCurrentCell(row, col)) return FALSE;
    const std::vector<CInstTermBitContext>* bits = GetRowPins(row);
    IKXMessageServer* server = GetKXMsgSrvr();
    // A package pin without logical pins has nothing to edit.
    if (!bits || bits->empty() || !server) return FALSE;
    CInstTermBitContext bit = bits->front();
    const LPARAM flags = static_cast<LPARAM>(static_cast<unsigned>(bMode & 0xFFFF) << 16);
    server->Send(MSG_EDIT_PIN, reinterpret_cast<WPARAM>(&bit), flags, 0);
    return TRUE;
}

BOOL CKXPhysPartDetailsGridWnd::CanEditPin() {
    ROWCOL row = 0, col = 0;
    if (!GetCurrentCell(row, col) || row < kPartFirstRow) return FALSE;
    return GetRowPins(row) ? TRUE : FALSE;
}

void CKXPhysPartDetailsGridWnd::NotifySelectionChanged() {
    IKXMessageServer* server = GetKXMsgSrvr();
    if (!server) return;
    ROWCOL row = 0, col = 0;
    GetCurrentCell(row, col);
    const std::vector<ROWCOL> rows = SelectedRows();
    if (IsDockShown("PROPERTYEDITOR")) {
        CKXConnObjInfoList list;
        for (ROWCOL r : rows) {
            if (r < kPartFirstRow) continue;
            const CString signal = GetValueRowCol(r, C(s_nSignalCol));
            if (col == C(s_nSignalCol) && !signal.IsEmpty()) {
                list.Add(new CKXConnObjInfo(signal, CKXConnObjInfo::NET, -1, -1, nullptr));
                continue;
            }
            if (const std::vector<CInstTermBitContext>* bits = GetRowPins(r))
                for (const CInstTermBitContext& bit : *bits)
                    list.Add(new CKXConnObjInfo(CKXGenUtils::GetPinLogicalName(bit), CKXConnObjInfo::PIN, -1,
                                                -1, new CInstanceContext(bit.instance())));
        }
        // The editor takes the records over; the list is ours.
        server->Send(MSG_PROPERTY_EDITOR_SELECTION, reinterpret_cast<WPARAM>(&list),
                     reinterpret_cast<LPARAM>(&m_designContext), 0);
    }
    if (!IsDockShown("ASSOCCOMPVIEWER")) return;
    CKXAssocCompArray records;
    for (ROWCOL r : rows)
        if (const std::vector<CInstTermBitContext>* bits = r >= kPartFirstRow ? GetRowPins(r) : nullptr)
            for (const CInstTermBitContext& bit : *bits)
                records.push_back(std::make_unique<CKXAssocCompStruct>(
                    CKXAssocCompStruct::PIN, 1, std::make_unique<CInstTermBitContext>(bit)));
    PublishToAssocViewer(records);
}

void CKXPhysPartDetailsGridWnd::ShowPropertyEditor() {
    ShowPropEditor(3);
    ROWCOL row = 0, col = 0;
    if (GetCurrentCell(row, col)) SendSelectionMessage(row, col);
    NotifySelectionChanged();
}

void CKXPhysPartDetailsGridWnd::SendSelectionMessage(ROWCOL row, ROWCOL col) {
    if (row < kPartFirstRow || row > GetRowCount() || col != C(s_nPinNameCol)) return;
    CInstTermBitContext bit;
    if (!IsCellReadOnly(row, col) || !GetInstTermOfRow(row, &bit)) return;
    int first = -1, second = -1;
    CString base;
    GetRowLogicalPin(base, row, &first, &second);
    const CInstTermContext pin = bit.instTermContext();
    BroadcastSelectObject(CMsgSelectObj(pin.cpath().GetString(), MSCreateSlice(first, second), 2, 2));
}

CCommonInterface* CKXPhysPartDetailsGridWnd::ListPane() const {
    return Site() ? Site()->InstanceListPane() : nullptr;
}

// ---------------------------------------------------------------------------
// Highlighting and selection by the host

BOOL CKXPhysPartDetailsGridWnd::IsCurrentPinConnected() {
    ROWCOL row = 0, col = 0;
    if (!GetCurrentCell(row, col) || row < kPartFirstRow || row > GetRowCount()) return FALSE;
    return GetValueRowCol(row, C(s_nSignalCol)).IsEmpty() ? FALSE : TRUE;
}

BOOL CKXPhysPartDetailsGridWnd::HiliteCurrentNet() {
    if (!IsCurrentPinConnected()) return FALSE;
    ROWCOL row = 0, col = 0;
    GetCurrentCell(row, col);
    std::unique_ptr<IPhysNet> net(
        getPhysNet(&m_designContext, GetValueRowCol(row, C(s_nSignalCol)).GetString()));
    CCommonInterface* slp = Site() ? Site()->SignalListPane() : nullptr;
    if (!net || !slp) return FALSE;
    const CNetBitContext bit = net->netBitContext();
    CKXHiliteObject hilite(true);
    hilite.SetMode(2);
    hilite.SetType(4);
    hilite.SetObject(bit, bit.bit(), bit.bit());
    slp->HighlightObject(&hilite);
    return TRUE;
}

void CKXPhysPartDetailsGridWnd::SelectPinRow(CString pinNumber) {
    for (ROWCOL r = kPartFirstRow; r <= GetRowCount(); ++r)
        if (GetValueRowCol(r, C(s_nPNCol)) == pinNumber) {
            SetCurrentCell(r, C(s_nPNCol));
            NotifySelectionChanged();
            return;
        }
}

void CKXPhysPartDetailsGridWnd::ApplyHilite(CKXHiliteObject* hilite) {
    if (!hilite || CKXTransaction::IsTransactionStarted()) return;
    if (hilite->GetObjectPath().IsEmpty() || !m_designContext.server()) return;
    std::unique_ptr<CContext> object(
        m_designContext.server()->getContext(hilite->GetObjectPath().GetString()));
    CInstTermBitContext bit;
    if (auto* b = dynamic_cast<CInstTermBitContext*>(object.get()))
        bit = *b;
    else if (auto* p = dynamic_cast<CInstTermContext*>(object.get()))
        bit = p->bitContext(-1);
    if (!bit) return;
    const CString number = CKXGenUtils::GetPinNumber(bit);
    if (number.IsEmpty()) return;
    const bool restore = hilite->GetMode() == 3;
    const BOOL undo = GetParam() ? GetParam()->IsEnableUndo() : FALSE;
    if (GetParam()) GetParam()->EnableUndo(FALSE);
    if (restore && m_nLastHiliteRow >= kPartFirstRow && m_nLastHiliteRow <= GetRowCount())
        SetStyleRange(CGXRange().SetRows(m_nLastHiliteRow), CGXStyle().SetInterior(hilite->GetColor(0)),
                      gxOverride, 0, kNoUpdate);
    for (ROWCOL r = kPartFirstRow; r <= GetRowCount(); ++r)
        if (GetValueRowCol(r, C(s_nPNCol)).CompareNoCase(number) == 0) {
            SetCurrentCell(r, C(s_nPinNameCol));
            SetStyleRange(CGXRange().SetRows(r), CGXStyle().SetInterior(hilite->GetColor(hilite->IsHilite())),
                          gxOverride, 0, kNoUpdate);
            if (restore) m_nLastHiliteRow = r;
            break;
        }
    if (GetParam()) GetParam()->EnableUndo(undo);
}

BOOL CKXPhysPartDetailsGridWnd::SelectPinCell(CString pinName, CString colKey, CString pinNumber) {
    int col = 0;
    if (colKey == "m_nSIModelCol")
        col = s_nSignalModelCol;
    else if (colKey == "Signal")
        col = s_nSignalCol;
    else if (colKey.CompareNoCase("pinname") == 0)
        col = s_nPinNameCol;
    else if (colKey.CompareNoCase("pinnumber") == 0)
        col = s_nPNCol;
    // The pin alone is selected, so that what follows (a model, a pin number, a swap) acts on it.
    const bool byNumber = pinNumber != "-1" && !pinNumber.IsEmpty();
    ROWCOL row = 0;
    for (ROWCOL r = kPartFirstRow; r <= GetRowCount() && !row; ++r)
        if (GetValueRowCol(r, C(s_nPinNameCol)) == pinName &&
            (!byNumber || GetValueRowCol(r, C(s_nPNCol)) == pinNumber))
            row = r;
    DeselectAllRows();
    if (!row) return FALSE;
    SetCurrentCell(row, C(col));
    SelectRange(CGXRange(row, C(col)), TRUE, TRUE);
    return TRUE;
}
