#include "shell/KXShellUtil.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/TclArgs.h"

#include <cstdio>
#include <cstring>

bool KXIsHelpArg(const CString& value) {
    // Only an option word asks for help: a comment, a file or a block name that
    // merely contains "-h" ("re-home", "my-hdl") is the user's text.
    return value.CompareNoCase("-help") == 0 || value.Left(2) == "-h";
}

CString KXTclQuote(const CString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.GetLength()) + 2);
    out += '"';
    for (char ch : text.str()) {
        switch (ch) {
        case '"':
        case '\\':
        case '[':
        case ']':
        case '$':
            out += '\\';
            out += ch;
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += ch;
        }
    }
    out += '"';
    return CString(std::move(out));
}

CString KXTclListElement(const CString& text) { return CTclArgsList::QuoteTclWord(text); }

CString KXVbsQuote(const CString& text) { return CKXShareGlobalData::JournalString(text); }

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

bool KXJournalWrite(const char* journalPath, const CString& comment, const CString& line) {
    if (!journalPath || !std::strstr(journalPath, ".vbs")) return false;
    FILE* f = std::fopen(journalPath, "ab");
    if (!f) return false;
    std::fwrite(comment.GetString(), 1, static_cast<size_t>(comment.GetLength()), f);
    std::fwrite(line.GetString(), 1, static_cast<size_t>(line.GetLength()), f);
    bool ok = std::ferror(f) == 0;
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}
