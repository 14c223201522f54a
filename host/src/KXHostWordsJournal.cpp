#include "KXHostWordsJournal.h"

#include "KXJournalLine.h"

#include "afx/afxdisp.h"
#include "kxcommon/KXShareGlobalData.h"

#include <tcl.h>

void KXJournalHostWords(const char* what, const char* method, const std::vector<std::string>& words) {
    if (!CKXShareGlobalData::IsJournalling()) return;
    std::vector<const char*> items;
    items.reserve(words.size());
    for (const std::string& word : words)
        items.push_back(word.c_str());
    char* list = Tcl_Merge(static_cast<int>(items.size()), items.data());
    const std::string literal = CKXShareGlobalData::JournalString(CString(list)).str();
    Tcl_Free(list);
    CKXShareGlobalData::AppendToJournal(
        CString("\n\n ' --- " + std::string(what) + " ---\n\ncall RMX." + method + "(" + literal + ")"));
}

bool KXHostLineWords(const SKXJournalLine& line, std::vector<std::string>& words, std::string& why) {
    words.clear();
    const std::string text = AfxVariantToString(&line.calls.at(0).args.at(0)).str();
    int count = 0;
    const char** items = nullptr;
    if (Tcl_SplitList(nullptr, text.c_str(), &count, &items) != TCL_OK) {
        why = "not a list of words";
        return false;
    }
    words.assign(items, items + count);
    Tcl_Free(reinterpret_cast<char*>(items));
    return true;
}
