// The points the host's hands press, move and release: a mouse message carries a point in 16 bits a
// side, so a point beyond that range would arrive wrapped, as a point at the other end.
#pragma once

#include "afx/afxcoll.h"
#include "afx/afxtypes.h"

#include <climits>
#include <string>

namespace kxhost {

inline bool FitsMouseMessage(CPoint p) {
    return p.x >= SHRT_MIN && p.x <= SHRT_MAX && p.y >= SHRT_MIN && p.y <= SHRT_MAX;
}

inline LPARAM PointParam(CPoint p) {
    return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

// The coordinates a mouse message carries, as a refusal names them.
inline std::string MouseRangeText() {
    return std::to_string(SHRT_MIN) + " to " + std::to_string(SHRT_MAX);
}

} // namespace kxhost
