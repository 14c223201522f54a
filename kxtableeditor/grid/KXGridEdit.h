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
// the destructor then leave it to the outer bracket. With kNested it takes part
// the same way, but it is all or nothing on its own: ending without Commit()
// takes back the changes made since it joined, and those made before it stay
// for the outer edit to keep or throw away.
//
// An edit that spans two calls from outside (an automation set-up, then the
// command that completes it) is held open between them (Hold). It stays one
// edit: the completing call takes it up again (Resume) and commits or discards
// it; any other edit begun meanwhile, an undo or a redo, or the end of its grid
// discards it first, so the design is as it was before the set-up.
#pragma once

#include "afx/afxstr.h"
#include "rmx/context.h"
#include "rmx/transaction.h"

#include <functional>
#include <memory>

class CKXGridWnd;
class CTransaction;

// Modes of the undo step the next recorded command goes to (CKXGridWnd::m_nTransState).
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
        kNested,   // as kJoinOpen; joined, it takes back what it did when it ends without Commit()
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
    // Whether the edit changed anything so far: in its own transaction, or, joined, since it joined (a
    // bracket that joined without a mark of its own cannot tell: true).
    bool ChangedSoFar() const;
    // Throws away every change of the edit now (the destructor does it otherwise). A nested bracket
    // that joined takes back its own changes; false when it could not (a commit came in between).
    bool Discard();

    // ---- the edit held open across calls (at most one)
    // Begins the edit for the grid and holds it, in use by the caller until Release(); an edit held
    // before is discarded. FALSE when no transaction could be begun, or when one of another edit is
    // open (that edit then owns what is done).
    // onDiscard runs when the held edit is discarded while its grid lives (the grid shows the design again).
    static bool Hold(CKXGridWnd& grid, const CDesignContext& design, const char* name,
                     std::function<void()> onDiscard = {});
    // The caller is done for now: the held edit waits for its completing call.
    static void Release();
    // The completing call takes the grid's held edit up again; false when none waits for it (none was
    // held, or another edit discarded it meanwhile).
    static bool Resume(CKXGridWnd& grid);
    // Ends the held edit (as Commit() and Discard() do); CommitHeld is FALSE when nothing was held.
    static BOOL CommitHeld();
    static void DiscardHeld();
    // Discards a held edit that waits (another edit, an undo or a redo comes first), or the one of a
    // grid that goes away.
    static void DiscardWaiting();
    static void ForgetGrid(const CKXGridWnd& grid);
    static bool IsHeld(const CKXGridWnd& grid);
    // Held for the grid and waiting for its completing call.
    static bool IsWaiting(const CKXGridWnd& grid);

private:
    void Begin(const CDesignContext& design, const char* name, Mode mode);
    // Whether the edit holds a change: of the design, or a command of the grid in its undo step.
    bool ChangedAnything() const;
    // An edit that did not take leaves the document's modified mark as it was when the edit began
    // (the grid marks it while it works, before the design takes or refuses the change).
    void RestoreModifiedMark() const;

    CKXGridWnd& m_grid;
    bool m_active = false;
    bool m_owned = false;
    BOOL m_wasModified = FALSE; // the document's modified mark when the owned edit began
    // A nested bracket that joined: the open transaction and where its own changes begin.
    CTransaction* m_pJoined = nullptr;
    CTransaction::Mark m_joinedAt;
};

// The call that completes an edit held open across automation calls (CKXGridEdit::Hold: the set-up
// InitTermination or InitPUPD, then the add command the automation object sends): it takes the
// grid's waiting edit up, if one waits, so that its brackets join it, and ends it: Commit() commits
// it, leaving without commits discards it.
class CKXResumedEdit {
public:
    explicit CKXResumedEdit(CKXGridWnd& grid) : m_resumed(CKXGridEdit::Resume(grid)) {}
    ~CKXResumedEdit() {
        if (m_resumed) CKXGridEdit::DiscardHeld();
    }
    CKXResumedEdit(const CKXResumedEdit&) = delete;
    CKXResumedEdit& operator=(const CKXResumedEdit&) = delete;

    bool Resumed() const { return m_resumed; }
    // TRUE when nothing was resumed (the caller's own bracket committed the edit).
    BOOL Commit() {
        if (!m_resumed) return TRUE;
        m_resumed = false;
        return CKXGridEdit::CommitHeld();
    }

private:
    bool m_resumed;
};
