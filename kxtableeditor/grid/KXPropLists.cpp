#include "grid/KXPropLists.h"

#include "grid/KXGridWnd.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/TclArgs.h"

std::vector<CString> KXPropItemsOfLines(const CString& text) {
    std::vector<CString> items;
    int start = 0;
    while (start <= text.GetLength()) {
        int end = text.Find('\n', start);
        if (end < 0) end = text.GetLength();
        if (end > start) items.push_back(text.Mid(start, end - start));
        start = end + 1;
    }
    return items;
}

KXPropListMap KXPropListsOf(const CMapStringToString* lists) {
    KXPropListMap out;
    for (POSITION pos = lists ? lists->GetStartPosition() : nullptr; pos;) {
        CString name, text;
        lists->GetNextAssoc(pos, name, text);
        out[name] = KXPropItemsOfLines(text);
    }
    return out;
}

bool KXReadPropertyList(const CTclArgs& arg, std::vector<CString>& items) {
    return arg.GetListValues(items);
}

void KXAddPropertyList(CTclArgsList& words, const std::vector<CString>& items) {
    words.StartArgument();
    // One value is read as a list: a lone item goes in quoted as that list's one element.
    if (items.size() == 1)
        words.AddToArgument(CTclArgsList::QuoteTclWord(items.front().GetString()).GetString());
    else
        for (const CString& item : items) words.AddToArgument(item.GetString());
    words.EndArgument();
}

KXTerminationEditArgs KXTerminationEditArgsOf(const CStringArray* designators,
                                              const CMapStringToString* oldToNew,
                                              const CMapStringToString* keyProps,
                                              const CMapStringToString* instProps,
                                              const CMapStringToString* partLooks) {
    KXTerminationEditArgs args;
    for (INT_PTR i = 0; designators && i < designators->GetSize(); ++i)
        args.designators.insert(designators->GetAt(i));
    for (POSITION pos = oldToNew ? oldToNew->GetStartPosition() : nullptr; pos;) {
        CString from, to;
        oldToNew->GetNextAssoc(pos, from, to);
        args.renames[from] = to;
    }
    args.keyProps = KXPropListsOf(keyProps);
    args.instProps = KXPropListsOf(instProps);
    for (POSITION pos = partLooks ? partLooks->GetStartPosition() : nullptr; pos;) {
        CString key, look;
        partLooks->GetNextAssoc(pos, key, look);
        args.partLooks[key] = look;
    }
    return args;
}

CString KXPartText(const CStringArray* list, INT_PTR part) {
    return list && part >= 0 && part < list->GetSize() ? list->GetAt(part) : CString();
}

bool KXPartGiven(const CStringArray* libs, const CStringArray* cells, const CStringArray* views,
                 const CStringArray* physNames, const CStringArray* values, INT_PTR part) {
    for (const CStringArray* list : {libs, cells, views, physNames, values})
        if (!KXPartText(list, part).IsEmpty()) return true;
    return false;
}

CStringArray* KXPartList(const CObArray* lists, INT_PTR part) {
    if (!lists || part < 0 || part >= lists->GetSize()) return nullptr;
    return dynamic_cast<CStringArray*>(lists->GetAt(part));
}

KXScriptedAssocScope::KXScriptedAssocScope() : m_saved(CKXShareGlobalData::m_bReplay) {
    CKXShareGlobalData::m_bReplay = TRUE;
}

KXScriptedAssocScope::~KXScriptedAssocScope() {
    CKXShareGlobalData::m_bReplay = m_saved;
}

bool KXTerminationDialogEditOf(const CKXAssocCompAPI& api, KXTerminationDialogEdit& edit) {
    std::map<CString, CString> looks;
    CString shown;
    if (!api.DialogEdit(shown, looks, edit.delay, edit.high, edit.low)) return false;
    edit.names.assign(1, shown);
    edit.partLooks.RemoveAll();
    for (const auto& [key, look] : looks) edit.partLooks.SetAt(key, look);
    return true;
}

BOOL KXMakeTerminationDialogEdit(CKXGridWnd& grid, const KXTerminationDialogEdit& edit) {
    CStringArray names;
    for (const CString& name : edit.names) names.Add(name);
    return grid.EditTermination(&names, nullptr, nullptr, nullptr, edit.delay, edit.high, edit.low, 0, 0,
                                &edit.partLooks);
}
