// Splits a text by a simple pattern of "%s" fields and literal separators ("%s:%s"), with a length limit
// per field, like a bounded scanf that never overruns.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <vector>

class CParseString {
public:
    // Fields are matched left to right: each "%s" takes the text up to the next literal of the pattern
    // (the last one takes the rest); literals must match exactly. "%%" is a literal percent sign.
    // Returns the number of fields filled; fields longer than maxFieldLength are refused (the result then
    // counts the fields before it). parts receives the fields.
    static int Parse(const CString& text, const char* pattern, std::vector<CString>& parts,
                     int maxFieldLength = 64);
    // Two-field form.
    static int Parse(const CString& text, const char* pattern, CString& first, CString& second,
                     int maxFieldLength = 64);
};
