// What every grid kind needs to publish its selection to the host's docked windows: whether a
// docked window is shown, and the hand-over of records to the associated-component viewer.
#include "grid/KXGridWnd.h"

#include "afx/afxwin.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"

namespace {

// Asks the host's main window whether a docked window is shown (1).
UINT DockStatusMessage() {
    static const UINT message = RegisterWindowMessageA("MSG_GETDOCKWND_STATUS");
    return message;
}

} // namespace

bool CKXGridWnd::IsDockShown(const char* which) {
    CWnd* main = AfxGetMainWnd();
    return main && main->SendMessage(DockStatusMessage(), reinterpret_cast<WPARAM>(which), 0) == 1;
}

void CKXGridWnd::PublishToAssocViewer(CKXAssocCompArray& records) {
    IKXMessageServer* server = GetKXMsgSrvr();
    if (records.empty() || !server) return;
    // Delivered synchronously: the records are freed when the receivers have read them.
    server->Broadcast(MSG_ASSOC_COMP_VIEWER_SELECTION, reinterpret_cast<WPARAM>(&m_designContext),
                      reinterpret_cast<LPARAM>(&records), 0);
}
