// The list panes' bracket around a design change: the open grid transaction, or one of its own.
#pragma once

#include "kxinstsigpane/KXListPaneGuard.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"

template <class F>
BOOL CKXListPaneView::ChangeDesign(const char* name, F&& change) {
    const CDesignContext* design = GetPaneDesignContext();
    if (!design || !design->design() || !KXListChangeAllowed(*this)) return FALSE;
    if (CKXTransaction::IsTransactionStarted()) {
        // Inside a transaction of the caller: change, and leave committing to the caller.
        CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
        return t && change(*t) ? TRUE : FALSE;
    }
    CDesignContext copy = *design;
    if (!CKXTransaction::BeginTrans(nullptr, copy, name)) return FALSE;
    CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
    if (!t || !change(*t)) {
        CKXTransaction::DiscardTrans(nullptr);
        return FALSE;
    }
    BOOL ok = CKXTransaction::CommitTrans(nullptr, 1, 1);
    // A subscribed pane has followed the commit already; one that is not refills.
    if (!m_hRegistered) FillData();
    return ok;
}

