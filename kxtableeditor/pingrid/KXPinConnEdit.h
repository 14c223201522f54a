// The transaction bracket of the pin grid's connection edits: one design
// transaction, committed as a whole or not at all.
//
//   CKXPinConnEdit edit(*this, m_designContext2, "Add Conn");
//   if (!edit) return 0;                  // no transaction: nothing changed
//   ... changes on edit.Transaction() ...
//   return edit.Commit();                 // a joined transaction is left to its owner
//
// An edit called while another grid transaction is open (the pane's "Add
// Connections", a script command's bracket, the instance-connectivity dialog)
// joins it: Commit() and Discard() then leave it to its owner, so a refused
// edit never throws away what the caller did before it. An own transaction that
// is left without Commit() is discarded. Internal to the pin grid.
#pragma once

#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "kxinstsigpane/KXTransaction.h"

class CKXPinConnEdit {
public:
    CKXPinConnEdit(CKXInstanceDetailsGridWnd& grid, const CDesignContext& design, const char* name)
        : m_grid(grid) {
        if (CKXTransaction::IsTransactionStarted()) {
            m_active = true;
            return;
        }
        grid.m_nUndoStepMode = 1;
        if (!CKXTransaction::BeginTrans(&grid, design, name)) {
            grid.m_nUndoStepMode = 0;
            return;
        }
        m_active = m_owned = true;
        grid.ClearTransactionNetMap();
    }
    ~CKXPinConnEdit() { Discard(); }
    CKXPinConnEdit(const CKXPinConnEdit&) = delete;
    CKXPinConnEdit& operator=(const CKXPinConnEdit&) = delete;

    explicit operator bool() const { return m_active; }
    bool Owns() const { return m_owned; }
    CTransaction* Transaction() const { return m_active ? CKXTransaction::GetCurrentTransactionObj() : nullptr; }

    // Commits and ends an own transaction as one undo step; FALSE when the server refused it
    // (nothing of the edit then stays). A joined transaction is left to its owner: TRUE.
    BOOL Commit() {
        if (!m_active) return FALSE;
        m_active = false;
        if (!m_owned) return TRUE;
        m_owned = false;
        m_grid.m_nUndoStepMode = 0;
        const int was = m_grid.m_bCommitting;
        m_grid.m_bCommitting = TRUE;
        const BOOL committed = CKXTransaction::CommitTrans(&m_grid, 1, 1);
        m_grid.m_bCommitting = was;
        m_grid.ClearTransactionNetMap();
        return committed;
    }
    // Throws away an own transaction now; a joined one is left to its owner.
    void Discard() {
        if (!m_active) return;
        m_active = false;
        if (!m_owned) return;
        m_owned = false;
        m_grid.m_nUndoStepMode = 0;
        CKXTransaction::DiscardTrans(&m_grid);
        m_grid.ClearTransactionNetMap();
    }

private:
    CKXInstanceDetailsGridWnd& m_grid;
    bool m_active = false;
    bool m_owned = false;
};
