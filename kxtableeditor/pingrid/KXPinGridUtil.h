// Small helpers shared by the pin grid's sources: id, column and number conversions,
// the no-drawing update flag, and a scope that switches grid undo off and/or
// lifts the read-only lock while rows are written by the program.
// Internal to the pin grid; not part of its interface.
#pragma once

#include "grid/gxall.h"

namespace kxpingrid {

// Update flag of the grid calls made while filling or styling rows: no drawing.
inline constexpr UINT kNoUpdate = 2;

inline WORD Id(UINT id) {
    return static_cast<WORD>(id);
}
inline ROWCOL Col(int col) {
    return static_cast<ROWCOL>(col);
}

// A number as the decimal text the row attributes hold.
inline CString Decimal(long long n) {
    CString s;
    s.Format("%lld", n);
    return s;
}

// Switches grid undo off and/or lifts the read-only lock for its lifetime;
// the former states come back when it ends.
class GridWriteScope {
public:
    enum What { kUndo = 1, kLock = 2, kUndoAndLock = kUndo | kLock };

    explicit GridWriteScope(CGXGridCore& grid, What what = kUndoAndLock)
        : m_param(grid.GetParam()), m_what(what) {
        if (!m_param) return;
        if (m_what & kUndo) m_undo = m_param->IsEnableUndo();
        if (m_what & kLock) m_lock = m_param->IsLockReadOnly();
        if (m_what & kUndo) m_param->EnableUndo(FALSE);
        if (m_what & kLock) m_param->SetLockReadOnly(FALSE);
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

} // namespace kxpingrid
