// Work that belongs to the open grid transaction (CKXTransaction): it runs when the transaction ends
// committed, and is dropped when the transaction is discarded or the server refuses it, so that what
// an edit reports (its journal lines) is there only when the edit is. Without an open grid
// transaction the work runs at once.
#pragma once

#include <functional>

void KXRunWhenCommitted(std::function<void()> work);

// Ends the undo step of what the open grid transaction committed so far (the caller commits its pending
// changes first, with CommitTrans(grid, 1, 0)): what the transaction commits from now on is a step of its
// own, recorded after this one when the transaction ends committed, while a discard still takes back both.
// The work waiting for the commit so far (journal lines) runs between the two steps. `name` names the
// first step. False without an open grid transaction or with changes still pending.
bool KXSplitUndoStep(const char* name);
