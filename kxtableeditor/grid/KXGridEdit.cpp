#include "grid/KXGridEdit.h"

#include "grid/KXGridSite.h"
#include "grid/KXGridWnd.h"

#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

CKXGridEdit::CKXGridEdit(CKXGridWnd& grid, const char* name, Mode mode) : m_grid(grid) {
    Begin(grid.m_designContext, name, mode);
}

CKXGridEdit::CKXGridEdit(CKXGridWnd& grid, const CDesignContext& design, const char* name, Mode mode)
    : m_grid(grid) {
    Begin(design, name, mode);
}

namespace {

struct HeldEdit {
    std::unique_ptr<CKXGridEdit> edit;
    CKXGridWnd* grid = nullptr;
    bool inUse = false; // a call works in it now: the brackets it begins join it
    std::function<void()> onDiscard;
};

HeldEdit& Held() {
    static HeldEdit held;
    return held;
}

} // namespace

void CKXGridEdit::Begin(const CDesignContext& design, const char* name, Mode mode) {
    // A window that may not edit makes no edit, neither its own nor one joined to another.
    if (!m_grid.MayEdit()) return;
    // Another edit comes before the held one was completed: one edit is one transaction.
    DiscardWaiting();
    if (mode != kOwn && CKXTransaction::IsTransactionStarted()) {
        m_active = true;
        if (mode == kNested) m_pJoined = CKXTransaction::GetCurrentTransactionObj();
        if (m_pJoined) m_joinedAt = m_pJoined->mark();
        return;
    }
    m_grid.m_nTransState = kUndoStepOpen;
    if (!CKXTransaction::BeginTrans(&m_grid, design, name ? name : "")) {
        m_grid.m_nTransState = kUndoStepClose;
        return;
    }
    m_active = true;
    m_owned = true;
    if (IKXGridSite* site = m_grid.Site()) m_wasModified = site->IsDocumentModified();
}

void CKXGridEdit::RestoreModifiedMark() const {
    if (IKXGridSite* site = m_grid.Site()) site->RestoreDocumentModified(m_wasModified);
}

CKXGridEdit::~CKXGridEdit() {
    Discard();
}

CTransaction* CKXGridEdit::Transaction() const {
    return m_active ? CKXTransaction::GetCurrentTransactionObj() : nullptr;
}

bool CKXGridEdit::ChangedAnything() const {
    if (CKXTransaction::IsConnTransactionCommitted()) return true;
    const CTransaction* transaction = CKXTransaction::GetCurrentTransactionObj();
    // A command the grid recorded in the edit's step (a comment, an order) is a change of its own.
    return (transaction && transaction->hasPendingChanges()) || m_grid.m_nTransState == kUndoStepJoin;
}

bool CKXGridEdit::ChangedSoFar() const {
    if (!m_active) return false;
    if (m_owned) return ChangedAnything();
    if (!m_pJoined || m_pJoined != CKXTransaction::GetCurrentTransactionObj()) return true;
    const std::optional<std::vector<IChange*>> since = m_pJoined->changesSince(m_joinedAt);
    return !since || !since->empty();
}

BOOL CKXGridEdit::Commit() {
    if (!m_active) return FALSE;
    if (m_owned && !ChangedAnything()) {
        // An edit of nothing is no edit: no undo step, no journal line, and the caller learns it.
        Discard();
        return FALSE;
    }
    m_active = false;
    m_pJoined = nullptr; // what it did is the outer edit's now
    if (!m_owned) return TRUE;
    m_owned = false;
    const bool ownCommands = m_grid.m_nTransState == kUndoStepJoin;
    m_grid.m_nTransState = kUndoStepClose;
    const int wasCommitting = m_grid.m_bCommitting;
    m_grid.m_bCommitting = TRUE;
    const BOOL committed = CKXTransaction::CommitTrans(&m_grid, 1, 1);
    m_grid.m_bCommitting = wasCommitting;
    if (!committed) {
        // Nothing of a refused edit stays: what the grid's own commands changed (a comment, an order) is
        // taken back with the step they opened.
        if (ownCommands) m_grid.RollBackUndoStep();
        RestoreModifiedMark();
        m_grid.ShowDesignAfterRefusal();
    } else if (ownCommands) {
        // The step the grid's own commands opened (a comment, an order) ends with the edit, also when
        // the design did not change: the next edit is a step of its own.
        m_grid.AddCommand(nullptr, gxDo);
    }
    m_grid.m_nTransState = kUndoStepClose;
    return committed;
}

bool CKXGridEdit::Discard() {
    if (!m_active) return true;
    m_active = false;
    if (!m_owned) {
        CTransaction* joined = std::exchange(m_pJoined, nullptr);
        if (!joined) return true;
        // The outer edit may have gone on to another transaction object (an intermediate commit).
        return joined == CKXTransaction::GetCurrentTransactionObj() && joined->discardTo(m_joinedAt);
    }
    m_owned = false;
    CKXTransaction::DiscardTrans(&m_grid);
    RestoreModifiedMark();
    // Commands the edit recorded in its step are taken back and go with it.
    if (m_grid.m_nTransState == kUndoStepJoin) m_grid.RollBackUndoStep();
    m_grid.m_nTransState = kUndoStepClose;
    return true;
}

// ---------------------------------------------------------------------------
// The edit held open across calls

bool CKXGridEdit::Hold(CKXGridWnd& grid, const CDesignContext& design, const char* name,
                       std::function<void()> onDiscard) {
    DiscardHeld();
    auto edit = std::make_unique<CKXGridEdit>(grid, design, name, kJoinOpen);
    if (!*edit || !edit->Owns()) return false;
    HeldEdit& held = Held();
    held.edit = std::move(edit);
    held.grid = &grid;
    held.inUse = true;
    held.onDiscard = std::move(onDiscard);
    return true;
}

void CKXGridEdit::Release() {
    Held().inUse = false;
}

bool CKXGridEdit::Resume(CKXGridWnd& grid) {
    HeldEdit& held = Held();
    if (!held.edit || held.grid != &grid) return false;
    held.inUse = true;
    return true;
}

BOOL CKXGridEdit::CommitHeld() {
    HeldEdit& held = Held();
    if (!held.edit) return FALSE;
    std::unique_ptr<CKXGridEdit> edit = std::move(held.edit);
    held = HeldEdit{};
    return edit->Commit();
}

void CKXGridEdit::DiscardHeld() {
    HeldEdit& held = Held();
    std::unique_ptr<CKXGridEdit> edit = std::move(held.edit);
    std::function<void()> onDiscard = std::move(held.onDiscard);
    held = HeldEdit{};
    if (!edit) return;
    edit->Discard();
    if (onDiscard) onDiscard();
}

void CKXGridEdit::DiscardWaiting() {
    if (Held().edit && !Held().inUse) DiscardHeld();
}

void CKXGridEdit::ForgetGrid(const CKXGridWnd& grid) {
    if (Held().grid != &grid) return;
    Held().onDiscard = nullptr; // the grid is going: nothing of it is shown again
    DiscardHeld();
}

bool CKXGridEdit::IsHeld(const CKXGridWnd& grid) {
    return Held().edit && Held().grid == &grid;
}

bool CKXGridEdit::IsWaiting(const CKXGridWnd& grid) {
    return IsHeld(grid) && !Held().inUse;
}
