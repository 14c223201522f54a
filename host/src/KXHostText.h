// Small text helpers the host's command files share.
#pragma once

#include <tcl.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace kxhost {
// A command's refusal: the error is its result text, and it answers false.
inline bool Fail(std::string& result, const std::string& error) {
    result = error;
    return false;
}
} // namespace kxhost

inline std::string KXHostLower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

inline std::string KXHostJoin(const std::vector<std::string>& v, const char* sep) {
    std::string s;
    for (const auto& x : v) {
        if (!s.empty()) s += sep;
        s += x;
    }
    return s;
}

// The Tcl list of the texts (each quoted as Tcl needs).
inline std::string KXHostTclList(const std::vector<std::string>& v) {
    Tcl_Obj* list = Tcl_NewListObj(0, nullptr);
    Tcl_IncrRefCount(list);
    for (const auto& x : v)
        Tcl_ListObjAppendElement(nullptr, list, Tcl_NewStringObj(x.c_str(), -1));
    std::string s = Tcl_GetString(list);
    Tcl_DecrRefCount(list);
    return s;
}
