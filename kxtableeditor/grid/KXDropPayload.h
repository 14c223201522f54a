// Decoding of the texts that objects dragged from the host's browsers carry.
#pragma once

#include "afx/afxstr.h"

#include <vector>

// "lib.cell:view": split at the first '.' and the first ':' after it. False
// (outputs untouched) when either is missing.
bool KXSplitDesignName(const CString& text, CString& lib, CString& cell, CString& view);

// The lines of an instance list: up to each "\n" (a "\r" before it is no part of the line) or the
// end; empty lines count, a final line break ends the last line.
std::vector<CString> KXDropLines(const CString& text);

// The names a drop carries as a message quotes them: its lines that are not empty, joined by ", ",
// without their line ends.
CString KXDroppedNames(const CString& text);

// The part description of the physical-part filter:
//   (("lib.cell:view" "second") ("NAME" "value" x "1") ("NAME" "value" x "0") ...)
// Items that are not quoted strings count as empty texts.
struct SKXPartPayload {
    CString design;                 // the design name (first item of the first element)
    CString second;                 // its second item ("" when missing)
    std::vector<CString> flagged;   // "name=value" of the properties whose flag begins with "1"
    std::vector<CString> unflagged; // "name=value" of the others
    CString badProperty;            // the first property left out: its name or value cannot be carried
};
// Reads what it can; `error` gets the reader's syntax error text (the parsed part is kept).
void KXDecodePartPayload(const char* text, SKXPartPayload& out, CString& error);
