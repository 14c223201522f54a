// Small text helpers shared by the shell: help detection, quoting for script
// commands and journal lines, and the journal writer.
#pragma once

#include "afx/afxstr.h"

// A script-command value asks for help when it equals "-help" in any letter
// case or is an option word beginning with "-h".
bool KXIsHelpArg(const CString& value);

// One Tcl word that reads back as exactly `text`: wrapped in double quotes with
// every character that Tcl substitutes inside quotes escaped by a backslash.
CString KXTclQuote(const CString& text);

// One element of a Tcl list: the text itself when it holds nothing Tcl reads
// specially, else its quoted form.
CString KXTclListElement(const CString& text);

// A VBScript string literal for `text`: double quotes doubled; a line break
// becomes a concatenation with vbCr / vbLf so that the literal stays on one line.
CString KXVbsQuote(const CString& text);

// The revision part of a window title such as "cell: [rev]": the text from two
// characters after the first ':' up to, not including, the last character of the
// right-trimmed title, cut at the first ']'. Empty when there is no ':' or nothing
// lies in that span.
CString KXTitleSuffix(const CString& title);

// Appends one journal block (a comment line and a call line, written as they
// stand) to `journalPath` when it names a file whose name contains ".vbs".
// Returns true when the block was written.
bool KXJournalWrite(const char* journalPath, const CString& comment, const CString& line);
