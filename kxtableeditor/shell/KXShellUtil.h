// Small text helpers shared by the shell: help detection and window titles; the
// quoting for script commands and journal lines is the grids' (KXScriptText.h).
#pragma once

#include "afx/afxstr.h"
#include "grid/KXScriptText.h"

// A script-command value asks for help when it equals "-help" in any letter
// case or is an option word beginning with "-h".
bool KXIsHelpArg(const CString& value);
// The request of a word whose options may begin with "-h" ("-high"): "-help" or "-h" as a whole
// word, in any letter case.
bool KXIsHelpWord(const CString& value);

class CTclArgsList;
// A word's arguments hold "-help" itself (any letter case, anywhere, the object word "pin" or not): the
// request every word answers with its usage before it looks at anything else.
bool KXAsksForHelp(const CTclArgsList* args);

// The revision part of a window title such as "cell: [rev]": the text from two
// characters after the first ':' up to, not including, the last character of the
// right-trimmed title, cut at the first ']'. Empty when there is no ':' or nothing
// lies in that span.
CString KXTitleSuffix(const CString& title);

