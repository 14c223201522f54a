// Internal helpers shared by the transaction bracket and the undo entries.
#pragma once

#include <memory>

class CGXGridCore;
class CTransaction;
class CKXUndoCmd;
class CCommonInterface;

// Broadcasts MSG_TRANSACTION_COMMITTED for a committed server transaction (when the message server is on).
void KXAnnounceCommit(CTransaction* transaction);
// The list-pane interface that keeps the undo history for the grid: the first window above the grid's window
// that implements the interface, otherwise the sink set with CKXTransaction::SetUndoSink; NULL when none.
CCommonInterface* KXFindUndoSink(CGXGridCore* grid);
// Hands a new undo step to the sink (as a new command that closes the open group), or, without a sink, to
// the grid's own undo list; without either it is dropped.
void KXRecordUndoEntry(CGXGridCore* grid, std::unique_ptr<CKXUndoCmd> entry);
// Records the entry that reverses a just executed one, with the grid whose undo list ran it (its AddCommand
// files it under the other list).
void KXRecordOpposite(CGXGridCore* grid, std::unique_ptr<CKXUndoCmd> entry, int ctType);
