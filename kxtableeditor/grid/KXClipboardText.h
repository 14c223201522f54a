// Clipboard text as the grids paste it: lines (a carriage return before a line
// feed dropped, no empty last line) and the tab-separated fields of one line.
#pragma once

#include "afx/afxstr.h"

#include <vector>

std::vector<CString> KXSplitClipboardLines(const CString& text);
// Every field is kept, an empty one too: "a\t\tb" gives three.
std::vector<CString> KXSplitClipboardFields(const CString& line);
