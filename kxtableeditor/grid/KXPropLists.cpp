#include "grid/KXPropLists.h"

KXPropListMap KXPropListsOf(const CMapStringToString* lists) {
    KXPropListMap out;
    for (POSITION pos = lists ? lists->GetStartPosition() : nullptr; pos;) {
        CString name, text;
        lists->GetNextAssoc(pos, name, text);
        std::vector<CString>& items = out[name];
        int start = 0;
        while (start <= text.GetLength()) {
            int end = text.Find('\n', start);
            if (end < 0) end = text.GetLength();
            if (end > start) items.push_back(text.Mid(start, end - start));
            start = end + 1;
        }
    }
    return out;
}
