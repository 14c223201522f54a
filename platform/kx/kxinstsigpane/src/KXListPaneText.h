// What the list panes' files share: names of nets, paths that cover others, joined name lists, the
// list grids' ids and the block packaging option keywords.
#pragma once

#include <cctype>

#include "afx/afxwin.h"
#include "rmx/context.h"

namespace kxlistpane {

inline CString NetName(const CNetContext& net) { return net.net() ? CString(net.net()->name()) : CString(); }

inline constexpr UINT kInstanceListId = 9201, kPhysPartListId = 9202, kSignalListId = 9203, kPhysNetListId = 9204;

// A hierarchical path names the object itself, or a part of it (a bit, a pin) when the next character
// continues the path.
inline bool PathCovers(const CString& objectPath, const CString& path) {
    if (objectPath.IsEmpty() || path.GetLength() < objectPath.GetLength()) return false;
    if (path.Left(objectPath.GetLength()) != objectPath) return false;
    if (path.GetLength() == objectPath.GetLength()) return true;
    char next = path[objectPath.GetLength()];
    return !std::isalnum(static_cast<unsigned char>(next)) && next != '_';
}

inline CString Join(const CStringArray& names) {
    CString s;
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        if (i) s += ", ";
        s += names[i];
    }
    return s;
}

inline const char* BlockOptionKeyword(int kind) {
    switch (kind) {
    case 0: return "SUFFIX";
    case 1: return "PREFIX";
    case 2: return "RANGE";
    case 3: return "OPTIMIZED";
    default: return nullptr;
    }
}

}  // namespace kxlistpane
