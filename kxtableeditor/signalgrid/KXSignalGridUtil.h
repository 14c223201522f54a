// Small helpers internal to the signal grid's sources.
#pragma once

#include "grid/gxall.h"

#include <cstdlib>

namespace kxsignal {

// Update flag of the grid calls made while rows are written: no drawing.
inline constexpr UINT kNoUpdate = 2;

inline WORD Id(UINT id) {
    return static_cast<WORD>(id);
}

inline ROWCOL Col(int col) {
    return col < 0 ? GX_INVALID : static_cast<ROWCOL>(col);
}

inline CString Decimal(long long n) {
    CString s;
    s.Format("%lld", n);
    return s;
}

// An id as the number the row attributes hold (an id of 2^31 or more stays unsigned).
inline double IdNumber(unsigned id) {
    return static_cast<double>(id);
}

// A whole decimal number (blanks around allowed); false for any other text.
inline bool ParseInt(const CString& text, int& value) {
    CString t = text;
    t.Trim();
    if (t.IsEmpty()) return false;
    char* end = nullptr;
    const long v = std::strtol(t.GetString(), &end, 10);
    if (!end || *end != '\0' || v < -2147483647L - 1 || v > 2147483647L) return false;
    value = static_cast<int>(v);
    return true;
}

inline bool ParseNumber(const CString& text, double& value) {
    CString t = text;
    t.Trim();
    if (t.IsEmpty()) return false;
    char* end = nullptr;
    const double v = std::strtod(t.GetString(), &end);
    if (!end || *end != '\0') return false;
    value = v;
    return true;
}

// Switches grid undo off and/or lifts the read-only lock for its lifetime.
class GridWriteScope {
public:
    enum What { kUndo = 1, kLock = 2, kUndoAndLock = kUndo | kLock };

    explicit GridWriteScope(CGXGridCore& grid, What what = kUndoAndLock) : m_param(grid.GetParam()), m_what(what) {
        if (!m_param) return;
        m_undo = m_param->IsEnableUndo();
        m_lock = m_param->IsLockReadOnly();
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

// Locks updates unless they already are; unlocks and redraws once at the end when it locked.
class UpdateLockScope {
public:
    explicit UpdateLockScope(CGXGridCore& grid) : m_grid(grid), m_wasLocked(grid.LockUpdate(TRUE)) {}
    ~UpdateLockScope() {
        if (m_wasLocked) return;
        m_grid.LockUpdate(FALSE);
        m_grid.Redraw(kNoUpdate, TRUE);
    }
    UpdateLockScope(const UpdateLockScope&) = delete;
    UpdateLockScope& operator=(const UpdateLockScope&) = delete;

private:
    CGXGridCore& m_grid;
    BOOL m_wasLocked;
};

} // namespace kxsignal
