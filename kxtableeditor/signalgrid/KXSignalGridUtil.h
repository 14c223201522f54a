// Small helpers internal to the signal grid's sources.
#pragma once

#include "grid/KXGridScopes.h"
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

// The framework's write and drawing scopes under the names the signal grid's sources use.
using GridWriteScope = kxgrid::GridWriteScope;
using UpdateLockScope = kxgrid::LockUpdateScope;

} // namespace kxsignal
