// Scopes a grid uses while the program (not the user) writes cells.
//
//   {
//       kxgrid::LockUpdateScope lock(*this);      // no drawing; one redraw at the end
//       kxgrid::GridWriteScope write(*this);      // grid undo off, read-only lock lifted
//       SetStyleRange(...);                       // program writes
//   }                                             // states restored, grid redrawn
//
// Both restore exactly the state they found, so they nest and may be used
// while another scope (or an outer caller) already changed the state.
#pragma once

#include "grid/gxall.h"

namespace kxgrid {

// Switches grid undo off and/or lifts the read-only lock for its lifetime;
// the former states come back when it ends.
class GridWriteScope {
public:
    enum What { kUndo = 1, kLock = 2, kUndoAndLock = kUndo | kLock };

    explicit GridWriteScope(CGXGridCore& grid, What what = kUndoAndLock)
        : m_param(grid.GetParam()), m_what(what) {
        if (!m_param) return;
        if (m_what & kUndo) {
            m_undo = m_param->IsEnableUndo();
            m_param->EnableUndo(FALSE);
        }
        if (m_what & kLock) {
            m_lock = m_param->IsLockReadOnly();
            m_param->SetLockReadOnly(FALSE);
        }
    }
    ~GridWriteScope() {
        if (!m_param) return;
        if (m_what & kUndo) m_param->EnableUndo(m_undo);
        if (m_what & kLock) m_param->SetLockReadOnly(m_lock);
    }
    GridWriteScope(const GridWriteScope&) = delete;
    GridWriteScope& operator=(const GridWriteScope&) = delete;

private:
    CGXGridParam* m_param;
    What m_what;
    BOOL m_undo = FALSE;
    BOOL m_lock = FALSE;
};

// Locks drawing for its lifetime. When the grid was not locked before, the
// lock is released at the end and (unless kNoRedraw) the grid is redrawn once.
class LockUpdateScope {
public:
    enum Redraw { kRedraw, kNoRedraw };

    explicit LockUpdateScope(CGXGridCore& grid, Redraw redraw = kRedraw)
        : m_grid(grid), m_redraw(redraw), m_wasLocked(grid.LockUpdate(TRUE)) {}
    ~LockUpdateScope() {
        if (m_wasLocked) return;
        m_grid.LockUpdate(FALSE);
        if (m_redraw == kRedraw) m_grid.Redraw(GX_INVALIDATE, TRUE);
    }
    LockUpdateScope(const LockUpdateScope&) = delete;
    LockUpdateScope& operator=(const LockUpdateScope&) = delete;

    // The grid was already locked when the scope began (an outer scope redraws).
    bool WasLocked() const { return m_wasLocked != FALSE; }

private:
    CGXGridCore& m_grid;
    Redraw m_redraw;
    BOOL m_wasLocked;
};

} // namespace kxgrid
