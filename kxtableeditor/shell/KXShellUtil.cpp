#include "shell/KXShellUtil.h"
#include "kxcommon/TclArgs.h"

bool KXIsHelpArg(const CString& value) {
    // Only an option word asks for help: a comment, a file or a block name that
    // merely contains "-h" ("re-home", "my-hdl") is the user's text.
    return value.CompareNoCase("-help") == 0 || value.Left(2) == "-h";
}

bool KXIsHelpWord(const CString& value) {
    return value.CompareNoCase("-help") == 0 || value.CompareNoCase("-h") == 0;
}

bool KXAsksForHelp(const CTclArgsList* args) {
    if (!args) return false;
    for (auto it = args->beginArgs(); it != args->endArgs(); ++it)
        if (const CTclArgs* arg = *it)
            for (int i = 0; i < arg->GetArgCount(); ++i)
                if (arg->GetValue(i).CompareNoCase("-help") == 0) return true;
    return false;
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
