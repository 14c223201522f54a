// The edit bracket of the pin grid's connection edits: the grid framework's
// bracket, joining a transaction the caller holds (the pane's "Add
// Connections", a script command, the instance-connectivity dialog) as a nested
// edit (a connect refused there takes back what it did, the nets it made too), and
// keeping the pane's map of the nets made in the transaction for as long as the
// transaction it began lives. Internal to the pin grid.
//
//   CKXPinConnEdit edit(*this, m_designContext2, "Add Conn");
//   if (!edit) return 0;                  // no transaction: nothing changed
//   ... changes on edit.Transaction() ...
//   return edit.Commit();                 // a joined transaction is left to its owner
#pragma once

#include "pingrid/KXPinGridRetain.h"

#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "grid/KXGridEdit.h"

class CKXPinConnEdit : public CKXGridEdit {
public:
    CKXPinConnEdit(CKXInstanceDetailsGridWnd& grid, const CDesignContext& design, const char* name)
        : CKXGridEdit(grid, design, name, kNested), m_pin(grid) {
        if (Owns()) grid.ClearTransactionNetMap();
    }
    ~CKXPinConnEdit() { Discard(); }
    CKXPinConnEdit(const CKXPinConnEdit&) = delete;
    CKXPinConnEdit& operator=(const CKXPinConnEdit&) = delete;

    BOOL Commit() {
        const bool owned = Owns();
        const BOOL committed = CKXGridEdit::Commit();
        if (owned) m_pin.ClearTransactionNetMap();
        return committed;
    }
    void Discard() {
        const bool owned = Owns();
        CKXGridEdit::Discard();
        if (owned) m_pin.ClearTransactionNetMap();
    }

private:
    CKXInstanceDetailsGridWnd& m_pin;
};

// The retain question of one connect run, asked once when the run begins and put away when it
// ends. A run nested in another (the pair rows of a typed connect) reads the question already put.
class CKXRetainScope {
public:
    // targets: the run's rows as the question would collect them, when the run has them already.
    CKXRetainScope(CKXInstanceDetailsGridWnd& grid, const CString& signal,
                   const std::vector<ROWCOL>* targets = nullptr)
        : m_grid(grid), m_owner(!grid.Retain().m_pRetainQuestion) {
        if (m_owner) grid.Retain().AskRetainQuestion(signal, targets);
    }
    ~CKXRetainScope() {
        if (m_owner) m_grid.Retain().EndRetainQuestion();
    }
    CKXRetainScope(const CKXRetainScope&) = delete;
    CKXRetainScope& operator=(const CKXRetainScope&) = delete;

private:
    CKXInstanceDetailsGridWnd& m_grid;
    const bool m_owner;
};

