// The edit bracket every grid edit runs in: one design transaction, one undo
// step, committed as a whole or not at all.
//
//   BOOL CKXMyGrid::InsertThing(...) {
//       CKXGridEdit edit(*this, "Insert Thing");
//       if (!edit) return FALSE;                 // no transaction: nothing is changed
//       CTransaction* t = edit.Transaction();
//       if (!t->addProperty(...)) return FALSE;  // leaving discards every change so far
//       ...
//       return edit.Commit();                    // FALSE when the server refused it
//   }
//
// The bracket begins the grid transaction (CKXTransaction) on the grid's design
// (or the one given), opens a new undo step (the grid's undo-step mode), and
// raises the grid's committing flag while it commits so that the grid's own
// commit hook can tell its edit from a change made elsewhere. When it ends
// without Commit() it discards the transaction and rolls back the undo step the
// edit had opened with the pane, so a failed edit leaves design, undo history
// and grid as they were.
//
// With kJoinOpen a bracket inside an edit that is already running (a helper
// called from another edit) takes part in the open transaction: Commit() and
// the destructor then leave it to the outer bracket.
#pragma once

#include "afx/afxstr.h"
#include "rmx/context.h"

class CKXGridWnd;
class CTransaction;

// Modes of the undo step the next recorded command goes to (CKXGridWnd::m_nUndoStepMode).
enum KXUndoStepMode : int {
    kUndoStepRollBack = -1, // drop the step that is open (and the command given with it)
    kUndoStepClose = 0,     // join the open step (or make one) and close it
    kUndoStepOpen = 1,      // open a new step
    kUndoStepJoin = 2,      // join the step that is open
};

class CKXGridEdit {
public:
    enum Mode {
        kOwn,      // the bracket must begin its own transaction; refused while another is open
        kJoinOpen, // an open transaction is joined; otherwise the bracket begins one
    };

    CKXGridEdit(CKXGridWnd& grid, const char* name, Mode mode = kOwn);
    CKXGridEdit(CKXGridWnd& grid, const CDesignContext& design, const char* name, Mode mode = kOwn);
    ~CKXGridEdit();
    CKXGridEdit(const CKXGridEdit&) = delete;
    CKXGridEdit& operator=(const CKXGridEdit&) = delete;

    // True when the edit may go on: a transaction is open for it.
    explicit operator bool() const { return m_active; }
    // True when this bracket began the transaction (false when it joined one).
    bool Owns() const { return m_owned; }
    // The server transaction to make the changes on; NULL when the bracket is not active.
    CTransaction* Transaction() const;
    // Commits and ends the transaction as one undo step. FALSE when the bracket is not active, the
    // edit changed nothing (it is then discarded: no undo step) or the server refused the commit
    // (nothing of the edit then stays). A joined transaction is left to its owner: TRUE.
    BOOL Commit();
    // Throws away every change of the edit now (the destructor does it otherwise).
    void Discard();

private:
    void Begin(const CDesignContext& design, const char* name, Mode mode);
    // Whether the edit holds a change: of the design, or a command of the grid in its undo step.
    bool ChangedAnything() const;

    CKXGridWnd& m_grid;
    bool m_active = false;
    bool m_owned = false;
};
