#include "grid/KXDropPayload.h"

#include "grid/KXListExpr.h"

bool KXSplitDesignName(const CString& text, CString& lib, CString& cell, CString& view) {
    int dot = text.Find('.');
    if (dot < 0) return false;
    int colon = text.Find(':', dot + 1);
    if (colon < 0) return false;
    lib = text.Left(dot);
    cell = text.Mid(dot + 1, colon - dot - 1);
    view = text.Mid(colon + 1);
    return true;
}

std::vector<CString> KXDropLines(const CString& text) {
    std::vector<CString> lines;
    int start = 0;
    while (start < text.GetLength()) {
        int nl = text.Find('\n', start);
        if (nl < 0) {
            lines.push_back(text.Mid(start));
            break;
        }
        const int end = nl > start && text[nl - 1] == '\r' ? nl - 1 : nl;
        lines.push_back(text.Mid(start, end - start));
        start = nl + 1;
    }
    return lines;
}

CString KXDroppedNames(const CString& text) {
    CString names;
    for (const CString& line : KXDropLines(text)) {
        if (line.IsEmpty()) continue;
        if (!names.IsEmpty()) names += ", ";
        names += line;
    }
    return names;
}

void KXDecodePartPayload(const char* text, SKXPartPayload& out, CString& error) {
    out = SKXPartPayload();
    CKXListExpr expr;
    SKXListNode* root = expr.Parse(text, error);
    SKXListNode* head = ListNodeGetItems(root);
    out.design = ListNodeGetText(ListNodeGetItems(head));
    out.second = ListNodeGetText(ListNodeGetItems(ListNodeGetRest(head)));
    for (SKXListNode* cell = ListNodeGetRest(root); cell; cell = ListNodeGetRest(cell)) {
        SKXListNode* item = ListNodeGetItems(cell);
        SKXListNode* nameCell = item;
        SKXListNode* valueCell = ListNodeGetRest(nameCell);
        SKXListNode* unusedCell = ListNodeGetRest(valueCell);
        SKXListNode* flagCell = ListNodeGetRest(unusedCell);
        const CString name = ListNodeGetText(ListNodeGetItems(nameCell));
        const CString value = ListNodeGetText(ListNodeGetItems(valueCell));
        // The properties travel on as "NAME=VALUE" texts joined by ";": a name or value that would read as
        // another property there is refused rather than split.
        if (name.FindOneOf("=;") >= 0 || value.Find(';') >= 0) {
            if (out.badProperty.IsEmpty()) out.badProperty = name;
            continue;
        }
        CString pair = name + "=" + value;
        CString flag = ListNodeGetText(ListNodeGetItems(flagCell));
        if (flag.Left(1) == "1")
            out.flagged.push_back(pair);
        else
            out.unflagged.push_back(pair);
    }
}
