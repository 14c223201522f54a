#include "KXUndoSink.h"

#include "kxinstsigpane/CommonInterface.h"
#include "kxinstsigpane/KXEditSink.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxinstsigpane/KXUndoCmd.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "KXGridAccess.h"

namespace {
CCommonInterface* g_explicitSink = nullptr;
}

void CKXTransaction::SetUndoSink(CCommonInterface* sink) { g_explicitSink = sink; }
CCommonInterface* CKXTransaction::GetUndoSink() { return g_explicitSink; }

void KXAnnounceCommit(CTransaction* transaction) {
    if (IKXMessageServer* server = GetKXMsgSrvr())
        server->Broadcast(MSG_TRANSACTION_COMMITTED, 0, reinterpret_cast<LPARAM>(transaction));
}

CCommonInterface* KXFindUndoSink(CGXGridCore* grid) {
    // The grid's own pane first: with several designs open, each keeps its own history.
    if (CCommonInterface* pane = KXFindPaneInterfaceOfGrid(grid)) return pane;
    return g_explicitSink;
}

void KXRecordUndoEntry(CGXGridCore* grid, std::unique_ptr<CKXUndoCmd> entry) {
    if (CCommonInterface* sink = KXFindUndoSink(grid)) {
        // The sink takes ownership; state 0 adds the step and closes the group the grid's commands opened.
        sink->AddUndoCommand(grid, entry.release(), gxDo, 0);
        return;
    }
    KXAddCommandToGrid(grid, std::move(entry), gxDo);
}

void KXRecordOpposite(CGXGridCore* grid, std::unique_ptr<CKXUndoCmd> entry, int ctType) {
    if (CCommonInterface* sink = KXFindUndoSink(grid)) {
        sink->AddUndoCommand(grid, entry.release(), static_cast<GXCmdType>(ctType), 2);
        return;
    }
    KXAddCommandToGrid(grid, std::move(entry), static_cast<GXCmdType>(ctType));
}

CCommonInterface* KXSinkOfRunningEdit() {
    return CKXTransaction::IsTransactionStarted() ? KXFindUndoSink(CKXTransaction::GetGrid())
                                                  : g_explicitSink;
}
