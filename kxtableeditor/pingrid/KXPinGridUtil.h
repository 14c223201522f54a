// Small helpers shared by the pin grid's sources: id, column and number conversions,
// the no-drawing update flag, and the common grid's write scopes.
// Internal to the pin grid; not part of its interface.
#pragma once

#include "grid/KXGridScopes.h"
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

// The write and lock-update scopes are the common grid's.
using kxgrid::GridWriteScope;
using kxgrid::LockUpdateScope;

} // namespace kxpingrid
