// The one grid transaction of the process: the bracket around a connectivity-server transaction that every
// edit of a grid, the connectivity pane or a script runs in.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

class CGXGridCore;
class CDesignContext;
class CTransaction;

// Life of a grid transaction:
//   BeginTrans(grid, design, name)   opens it (refused while one is open: there is one at a time)
//   ... changes on GetCurrentTransactionObj() ...
//   CommitTrans(grid, 1, 1)          commits and ends it; or
//   CommitTrans(grid, 1, 0)          commits what is there so far and keeps it open, then later
//   CommitTrans(grid, 0, 1)          commits whatever is still pending and ends it; or
//   DiscardTrans(grid)               throws away every change not yet committed and ends it.
// Every commit that carries changes reaches the server and then the message server broadcasts
// MSG_TRANSACTION_COMMITTED (lParam: the committed CTransaction*) to every registered window, while
// CommitTrans is still running. Ending a grid transaction that committed changes records one undo step with
// the undo sink (the list-pane interface of the grid's owning pane, found by walking up from the grid's
// window, or the one set with SetUndoSink): undoing it reverses in the design exactly what the transaction
// committed; redoing it does it again.
class CKXTransaction {
public:
    static BOOL IsTransactionStarted();
    // Nonzero when begun. Refused (0) while a grid transaction is open, or when the design has no server design.
    static BOOL BeginTrans(CGXGridCore* grid, const CDesignContext& design, CString name);
    // The check every grid transaction passes before it begins: FALSE refuses it (the guard says why, e.g.
    // that the grid's window may not edit). None set admits every grid.
    using BeginGuard = BOOL (*)(CGXGridCore* grid);
    static void SetBeginGuard(BeginGuard guard);
    // The server transaction that changes are made on; NULL when no grid transaction is open.
    static CTransaction* GetCurrentTransactionObj();
    // The server transaction to use next: the one just begun while it holds no commit yet; after an
    // intermediate commit, a fresh transaction of the same grid transaction (which becomes current).
    // NULL when no grid transaction is open.
    static CTransaction* GetNewTransactionObj();
    // Adopts a server transaction made elsewhere as the current one (the caller keeps ownership of it).
    static void SetTransactionObj(CTransaction* transaction);
    // bCommit: commit the pending changes now (and broadcast); bEnd: end the grid transaction (committing
    // what is still pending). Returns FALSE when no grid transaction is open or the server refused the commit
    // (the grid transaction is then discarded, nothing of the refused changes stays).
    static BOOL CommitTrans(CGXGridCore* grid, BOOL bCommit, BOOL bEnd);
    static BOOL DiscardTrans(CGXGridCore* grid);
    // Nonzero once the open grid transaction has committed changes (after a (1, 0) commit).
    static BOOL IsConnTransactionCommitted();
    // The grid that began the open (or the last) grid transaction.
    static CGXGridCore* GetGrid();
    static CString GetTransactionName();

    // The sink that receives the undo steps when the grid has no owning pane to give one (edits made without a
    // grid: list panes, scripts). A grid inside a pane always records with its own pane.
    static void SetUndoSink(class CCommonInterface* sink);
    static CCommonInterface* GetUndoSink();
};
