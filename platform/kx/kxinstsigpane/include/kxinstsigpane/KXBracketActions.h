// Work that belongs to the open grid transaction (CKXTransaction): it runs when the transaction ends
// committed, and is dropped when the transaction is discarded or the server refuses it, so that what
// an edit reports (its journal lines) is there only when the edit is. Without an open grid
// transaction the work runs at once.
#pragma once

#include <functional>

void KXRunWhenCommitted(std::function<void()> work);
