// What the pin grid tells the rest of the host about the pin or instance the
// user looks at: the property editor, the design's selection, the pin editor.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "grid/KXScriptWords.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXGridSite.h"
#include "kxinstsigpane/CommonInterface.h"

#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXHiliteObject.h"
#include "kxcommon/TclArgs.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxpropertyeditor/KXPropertyEditor.h"

#include <algorithm>
#include <cstdlib>

using kxpingrid::Col;

namespace {

int BitNumber(const CString& text) {
    return text.IsEmpty() ? 0 : std::atoi(text.GetString());
}

} // namespace

void CKXInstanceDetailsGridWnd::ShowPropertyEditor() {
    ShowPropEditor(3);
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (GetCurrentCell(row, col)) ShowPropertiesOfCell(row, col);
}

void CKXInstanceDetailsGridWnd::ShowPropertiesOfCell(ROWCOL row, ROWCOL col) {
    if (row < PIN_FIRST_ROW || row > GetRowCount() || col != Col(m_nColPinName)) return;
    if (IsDiffPairRow(row) || m_bColumnMode) return;
    // An editable pin-name cell is being typed in, not looked at.
    if (!IsCellReadOnly(row, col)) return;
    IKXMessageServer* server = GetKXMsgSrvr();
    CString base, firstText, secondText;
    GetCellVectorInfo(row, base, firstText, secondText);
    const int first = BitNumber(firstText), second = BitNumber(secondText);
    const CInstanceContext instance = GetRowInstance(row);
    if (!instance) return;
    const CInstTermContext pin = instance.instTerm(static_cast<unsigned>(GetRowInstTermId(row)));
    if (!pin) return;
    const CMsgSelectObj select(pin.cpath().GetString(), MSCreateSlice(first, second), 0, 2);
    if (!server) return;
    const bool oneBit = !pin.instTerm()->isScalar() && first == second;
    const CString spath = oneBit ? pin.bitContext(first).spath() : pin.spath();
    const CString topName = TopDesignName();
    server->Send(MSG_SELECT_IN_DESIGN, reinterpret_cast<WPARAM>(spath.GetString()),
                 reinterpret_cast<LPARAM>(topName.GetString()), 0);
}

void CKXInstanceDetailsGridWnd::BuildConnObjInfoList() {
    CKXConnObjInfoList list;
    for (UINT id : m_arrInstanceIds) {
        const CInstanceContext instance = m_designContext.instance(id);
        if (!instance) continue;
        list.Add(new CKXConnObjInfo(instance.name(), CKXConnObjInfo::INSTANCE, -1, -1, nullptr));
    }
    // The editor takes the records over; only the list is ours.
    if (IKXMessageServer* server = GetKXMsgSrvr())
        server->Send(MSG_CONN_OBJECT_INFO, reinterpret_cast<WPARAM>(&list),
                     reinterpret_cast<LPARAM>(&m_designContext), 0);
    else
        KXPropEditorTakeRecords(&list);
}

void CKXInstanceDetailsGridWnd::GetSelectedObjects() {
    BuildConnObjInfoList();
    IInstance* instance = GetInstance();
    if (!instance || !Site()) return;
    CCommonInterface* instancePane = Site()->InstanceListPane();
    if (!instancePane) return;
    CKXInstanceContextArray instances;
    instances.Add(m_designContext.instance(instance->id()));
    const CDesignContext design = m_designContext;
    instancePane->ShowInstanceConnectivity(design, &instances, FALSE);
}

void CKXInstanceDetailsGridWnd::GetShownObjectNames(CString& names) {
    names.Empty();
    for (UINT id : m_arrInstanceIds)
        if (const CInstanceContext instance = m_designContext.instance(id))
            names += instance.name() + CString(" ");
    names.TrimRight();
}

BOOL CKXInstanceDetailsGridWnd::EditPin(BOOL bSave) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col)) return FALSE;
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetRowInstTerm(row, msb, lsb);
    if (!pin) return FALSE;
    const CInstTermContext context = GetRowInstance(row).instTerm(pin);
    IKXMessageServer* server = GetKXMsgSrvr();
    if (!context || !server) return FALSE;
    const CInstTermBitContext bit =
        !pin->isScalar() && msb == lsb ? context.bitContext(msb) : context.bitContext(-1);
    const LPARAM flags = static_cast<LPARAM>((static_cast<unsigned>(bSave & 0xFFFF) << 16) | 1u);
    server->Send(MSG_EDIT_PIN, reinterpret_cast<WPARAM>(&bit), flags, 0);
    return TRUE;
}

BOOL CKXInstanceDetailsGridWnd::CanEditPin() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col) || row < PIN_FIRST_ROW || row > GetRowCount()) return FALSE;
    if (IsDiffPairRow(row) || IsPowerPinRow(row) || IsImplicitPowerPinRow(row, nullptr)) return FALSE;
    const CInstanceContext instance = GetRowInstance(row);
    if (!instance || instance.containedDesign()) return FALSE;
    const char* package = instance.physicalPackageName();
    if (!package || !*package) return FALSE;
    if (GetValueRowCol(row, Col(m_nColPinNumber)).IsEmpty()) return FALSE;
    CString base, msb, lsb;
    if (GetCellVectorInfo(row, base, msb, lsb) && msb != lsb) return FALSE;
    return TRUE;
}

BOOL CKXInstanceDetailsGridWnd::CanAssignModel() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col) || row < PIN_FIRST_ROW || row > GetRowCount()) return FALSE;
    if (IsImplicitPowerPinRow(row, nullptr)) return FALSE;
    if (IsDiffPairRow(row)) return TRUE;
    int msb = -1, lsb = -1;
    if (!GetRowInstTerm(row, msb, lsb)) return FALSE;
    return msb == lsb ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------
// Cross-selection and highlighting

// Tells the host which pins are selected here, so that its own views select them too; nothing is
// sent without a selected pin.
void CKXInstanceDetailsGridWnd::CrossSelectInHost() {
    CTclArgsList list;
    list.Add(KXScriptWord::selectObject);
    list.Add("pin");
    AddSelectedPinsToArgs(&list);
    if (list.GetTotalArgCount() > 2) SendEcho(list);
}

void CKXInstanceDetailsGridWnd::HighlightObject(CKXHiliteObject* hilite) {
    if (m_bUndoDisabled || !hilite || hilite->GetObjectPath().IsEmpty()) return;
    const CString& path = hilite->GetObjectPath();
    CGXGridParam* param = GetParam();
    const BOOL bLock = param ? param->IsLockReadOnly() : FALSE;
    auto paint = [&](ROWCOL row, COLORREF color) {
        if (param) param->SetLockReadOnly(FALSE);
        // The row, and every cell of it, so that cells with an interior of their own show the paint too.
        const CGXStyle paint = CGXStyle().SetInterior(color);
        SetStyleRange(CGXRange().SetRows(row), paint, gxOverride, 0, GX_SMART);
        SetStyleRange(CGXRange(row, 1, row, GetColCount()), paint, gxOverride, 0, GX_SMART);
        if (param) param->SetLockReadOnly(bLock);
    };
    const ROWCOL last = GetRowCount();
    if (hilite->GetMode() == 3 && m_nLastHighlightRow >= PIN_FIRST_ROW && m_nLastHighlightRow <= last)
        paint(m_nLastHighlightRow, hilite->GetColor(0));
    const COLORREF color = hilite->GetColor(hilite->IsHilite());
    // The request names its object by canonical path: a pin, one bit of a pin, or a pair pin.
    for (ROWCOL row = PIN_FIRST_ROW; row <= last; ++row) {
        int msb = -1, lsb = -1;
        IInstTerm* pin = GetRowInstTerm(row, msb, lsb);
        if (!pin) {
            IDPInstTerm* pair = IsDiffPairRow(row) ? GetRowDPInstTerm(row) : nullptr;
            if (!pair || GetRowInstance(row).container(pair).cpath() != path) continue;
            SetCurrentCell(row, Col(m_nColPinName), GX_SMART | GX_SCROLLINVIEW);
            paint(row, color);
            if (hilite->GetMode() == 3) m_nLastHighlightRow = row;
            return;
        }
        const CInstTermContext context = GetRowInstance(row).instTerm(pin);
        if (!context) continue;
        bool match = false;
        if (msb == -1 && lsb == -1) {
            match = context.cpath() == path;
        } else {
            int lo = msb, hi = lsb;
            CKXGenUtils::AdjustLsbMsb(lo, hi);
            if (lo > hi) std::swap(lo, hi);
            for (int bit = std::max(lo, 0); bit <= hi && !match; ++bit)
                match = context.bitContext(bit).cpath() == path;
        }
        if (!match) continue;
        for (ROWCOL parent = GetRowParentOffset(row); parent != GX_INVALID;
             parent = GetRowParentOffset(parent))
            RefreshCellControls(static_cast<int>(parent), TRUE);
        SetCurrentCell(row, Col(m_nColPinName), GX_SMART | GX_SCROLLINVIEW);
        paint(row, color);
        if (hilite->GetMode() == 3) m_nLastHighlightRow = row;
        return;
    }
}

BOOL CKXInstanceDetailsGridWnd::HiliteSelection() {
    // One selected row leads to one signal of the list; several rows lead to none.
    CRowColArray rows;
    if (GetSelectedRows(rows, FALSE, TRUE) != 1) return FALSE;
    const ROWCOL row = rows[0];
    if (row < PIN_FIRST_ROW || row > GetRowCount()) return FALSE;
    CCommonInterface* signalPane = Site() ? Site()->SignalListPane() : nullptr;
    if (!signalPane) return FALSE;
    auto highlight = [&](INet* net, int msb, int lsb) {
        CKXHiliteObject hilite(true);
        hilite.SetMode(2);
        hilite.SetType(KX_HILITE_TYPE_SIGNAL);
        hilite.SetObject(m_designContext.net(net).bitContext(msb), msb, lsb);
        signalPane->HighlightObject(&hilite);
    };
    int msb = -1, lsb = -1;
    if (INet* net = GetRowNet(row, msb, lsb)) {
        highlight(net, msb, lsb);
        return TRUE;
    }
    // A pair row: the signals of both legs of the pair it is connected to.
    IDPInstTerm* pair = IsDiffPairRow(row) ? GetRowDPInstTerm(row) : nullptr;
    const IDPNet* dpNet = pair && pair->dpConn() ? pair->dpConn()->dpNet() : nullptr;
    if (!dpNet || (!dpNet->positive() && !dpNet->negative())) return FALSE;
    if (dpNet->positive()) highlight(dpNet->positive(), dpNet->positiveBit(), dpNet->positiveBit());
    if (dpNet->negative()) highlight(dpNet->negative(), dpNet->negativeBit(), dpNet->negativeBit());
    return TRUE;
}
