// What the physical grids tell the rest of the host about their selection: the
// docked property editor and associated-component viewer, the host's design
// views (select object) and the list panes; for the net grid, the shown net.
#include "physgrids/KXPhysNetDetailsGridWnd.h"
#include "physgrids/KXPhysPartDetailsGridWnd.h"

#include "grid/KXGridSite.h"

#include "afx/afxwin.h"
#include "kxinstsigpane/CommonInterface.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxpropertyeditor/KXPropertyEditor.h"
#include "rmx/packaging.h"

#include <memory>

using namespace kxphys;

namespace {

// The kind of record the property editor takes for a physical net.
constexpr int kPhysNetRecord = 7;

} // namespace

// ---------------------------------------------------------------------------
// Both grids

void CKXPhysGridWnd::BroadcastSelectObject(const CMsgSelectObj& select) {
    IKXMessageServer* server = GetKXMsgSrvr();
    if (!server) return;
    const CString topName = TopDesignName();
    server->Broadcast(MSG_SELECT_OBJECT, reinterpret_cast<WPARAM>(&select),
                      reinterpret_cast<LPARAM>(topName.GetString()), 0);
}

void CKXPhysGridWnd::OnKeyF4() {
    if (CCommonInterface* list = ListPane()) list->FocusActiveGrid();
}

// ---------------------------------------------------------------------------
// The net grid publishes the net it shows

void CKXPhysNetDetailsGridWnd::NotifySelectionChanged() {
    IKXMessageServer* server = GetKXMsgSrvr();
    if (!server || m_strNetName.IsEmpty()) return;
    if (IsDockShown("PROPERTYEDITOR")) {
        CKXConnObjInfoList list;
        list.Add(new CKXConnObjInfo(m_strNetName, kPhysNetRecord, -1, -1, nullptr));
        // The editor takes the records over; the list is ours.
        server->Send(MSG_PROPERTY_EDITOR_SELECTION, reinterpret_cast<WPARAM>(&list),
                     reinterpret_cast<LPARAM>(&m_designContext), 0);
    }
    if (!IsDockShown("ASSOCCOMPVIEWER")) return;
    std::unique_ptr<IPhysNet> net(getPhysNet(&m_designContext, m_strNetName.GetString()));
    const CNetBitContext bit = net ? net->netBitContext() : CNetBitContext();
    if (!bit) return;
    CKXAssocCompArray records;
    records.push_back(std::make_unique<CKXAssocCompStruct>(CKXAssocCompStruct::NET, 1,
                                                           std::make_unique<CNetBitContext>(bit)));
    PublishToAssocViewer(records);
}

void CKXPhysNetDetailsGridWnd::ShowPropertyEditor() {
    ShowPropEditor(2);
    ROWCOL row = 0, col = 0;
    if (GetCurrentCell(row, col)) SendSelectionMessage(row, col);
    NotifySelectionChanged();
}

void CKXPhysNetDetailsGridWnd::SendSelectionMessage(ROWCOL row, ROWCOL) {
    if (row < kNetFirstRow || m_strNetName.IsEmpty()) return;
    std::unique_ptr<IPhysNet> net(getPhysNet(&m_designContext, m_strNetName.GetString()));
    if (!net) return;
    BroadcastSelectObject(CMsgSelectObj(net->name(), nullptr, 0, 1));
}

void CKXPhysNetDetailsGridWnd::RemoveListPaneSelection() {
    if (IKXGridSite* site = Site())
        if (CCommonInterface* clp = site->InstanceListPane()) clp->RemoveSelection();
}

void CKXPhysNetDetailsGridWnd::GetSelectedObjects() {
    CCommonInterface* slp = ListPane();
    std::unique_ptr<IPhysNet> net(
        m_strNetName.IsEmpty() ? nullptr : getPhysNet(&m_designContext, m_strNetName.GetString()));
    if (!net || !slp) return;
    // The signal list of the physical view names the logical net behind the physical one.
    const CNetBitContext bit = net->netBitContext();
    CStringList names(10);
    names.AddTail(bit && bit.net() ? CString(bit.net()->name()) : CString(net->name()));
    slp->ShowNetsByName(&names, FALSE);
}

void CKXPhysNetDetailsGridWnd::GetSelectedObjectNames() {
    GetSelectedObjects();
    CKXGridWnd::GetSelectedObjectNames();
}

CCommonInterface* CKXPhysNetDetailsGridWnd::ListPane() const {
    return Site() ? Site()->SignalListPane() : nullptr;
}
