#include "shell/KXShellUtil.h"

bool KXIsHelpArg(const CString& value) {
    // Only an option word asks for help: a comment, a file or a block name that
    // merely contains "-h" ("re-home", "my-hdl") is the user's text.
    return value.CompareNoCase("-help") == 0 || value.Left(2) == "-h";
}

CString KXTitleSuffix(const CString& title) {
    CString t = title;
    int colon = t.Find(':');
    if (colon < 0) return CString();
    t.TrimRight();
    int first = colon + 2;
    int end = t.GetLength() - 1; // the last character is not taken
    if (first >= end) return CString();
    CString suffix = t.Mid(first, end - first);
    int bracket = suffix.Find(']');
    if (bracket >= 0) suffix = suffix.Left(bracket);
    return suffix;
}
