// Clipboard text as the grids paste it: lines (a carriage return before a line
// feed dropped, no empty last line), the tab-separated fields of one line, and
// the entries of a copied termination or pull-up buffer.
#pragma once

#include "afx/afxstr.h"

class CGXGridCore;

#include <vector>

std::vector<CString> KXSplitClipboardLines(const CString& text);
// Whether the text (its last line break taken off) is one line, as a filter cell takes it; a text of
// several lines or fields (cells copied as a table) shows KXTABLE-331 and answers false.
bool KXIsOneLine(const CString& text);
// Into the grid's cell being edited the clipboard's text goes as typed there, at the caret over the
// selected text: its first line, without the line end (an edit box holds one line). False, and nothing
// pasted, when no cell of the grid is being edited.
bool KXPasteIntoActiveEditor(CGXGridCore& grid, const CString& text);
// Ctrl+C in the grid's cell being edited is the edit's, as in an edit box: the text selected there goes
// on the clipboard. False when no cell of the grid is being edited or no text is selected in it: the
// copy is then the selected rows' (the current cell's when none is selected).
bool KXCopyActiveEditorSelection(CGXGridCore& grid);
// Every field is kept, an empty one too: "a\t\tb" gives three.
std::vector<CString> KXSplitClipboardFields(const CString& line);

// One entry of the clipboard's termination and pull-up buffer, in the order the clipboard library
// parses it: its kind (the association library's TERMINATION or PUPD), type, name and data.
struct KXAssocClipEntry {
    int kind = 0;
    CString type, name, data;
};
// Takes the entry at the front of the buffer off it (with the line breaks after it); false, and the
// buffer as it was, when none can be read there.
bool KXTakeAssocClipEntry(CString& buffer, KXAssocClipEntry& entry);
// Whether the buffer holds a component of the kind at all: the copy of cells without one (empty
// Termination cells) holds entries without a type, which a paste cannot make anything of.
bool KXCopiedAssocOfKind(CString buffer, int kind);
