// The steps of the pin grid's copy: the in-cell editor's selected text, the clipboard objects of the
// termination and pull-up/pull-down cells, and which rows a copy of a column takes.
#pragma once

#include "afx/afxstr.h"
#include "grid/gxtypes.h"

class CKXAssocCompAPI;
class CKXInstanceDetailsGridWnd;
class IDTInstance;

class KXPinGridCopy {
public:
    explicit KXPinGridCopy(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // The in-cell editor's selected text (false when no editor holds a selection), and the clipboard
    // object of one termination or pull-up/pull-down cell (false for a row without a net).
    bool CopyEditorSelection(const char* journal, const CString& handle, const CString& shownLine);
    CString CopyTerminationCell(ROWCOL row, CKXAssocCompAPI*& api, CString& rowText);
    bool CopyPupdCell(ROWCOL row, CKXAssocCompAPI*& api, CString& rowText, CString& cellText);
    // The termination records its parts (a design written without them has none to copy).
    static bool RecordsParts(CKXAssocCompAPI& api, IDTInstance* termination);
    // Whether a copy of column col takes the row (and steps its progress for it).
    bool CopiesRow(ROWCOL row, int col);
    CString m_copiedWithoutParts; // names of the terminations a copy left out, for one message

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
