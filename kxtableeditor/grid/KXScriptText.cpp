#include "grid/KXScriptText.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/TclArgs.h"
#include "kxinstsigpane/KXBracketActions.h"
#include "kxinstsigpane/KXTransaction.h"

#include <cstdio>
#include <cstring>
#include <string>

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

namespace {

bool AppendToJournal(const std::string& path, const CString& comment, const CString& line) {
    FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) return false;
    std::fwrite(comment.GetString(), 1, static_cast<size_t>(comment.GetLength()), f);
    std::fwrite(line.GetString(), 1, static_cast<size_t>(line.GetLength()), f);
    bool ok = std::ferror(f) == 0;
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}

} // namespace

bool KXJournalWrite(const char* journalPath, const CString& comment, const CString& line) {
    if (!journalPath || !std::strstr(journalPath, ".vbs")) return false;
    if (!CKXTransaction::IsTransactionStarted()) return AppendToJournal(journalPath, comment, line);
    // Written during an edit: the lines wait for its commit, and a refused or discarded edit leaves none.
    KXRunWhenCommitted([path = std::string(journalPath), comment, line] { AppendToJournal(path, comment, line); });
    return true;
}
