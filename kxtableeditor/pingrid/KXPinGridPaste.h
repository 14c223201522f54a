// The pin grid's paste of signal names: the clipboard's text into the filter row or the cell being
// edited, else its lines into the current column of the target rows, each row as if its line were
// typed, in one edit (or inside the edit the instance connectivity dialog holds, which a refused
// paste gives back what it took).
#pragma once

#include "afx/afxstr.h"
#include "grid/gxtypes.h"

#include <utility>
#include <vector>

class CKXGridEdit;
class CKXInstanceDetailsGridWnd;

class KXPinGridPaste {
public:
    explicit KXPinGridPaste(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // The lines of text into the target rows of the current column; the number of rows that took
    // their line (0 when none did, the user declined to overwrite, or a row refused its line).
    int PasteSignalNames(CString strText, BOOL bPasteSpecial);
    BOOL PasteIntoCurrentCell(ROWCOL row, ROWCOL col, BOOL bPasteSpecial);
    BOOL PasteInHostEdit(const CString& text, BOOL bPasteSpecial);
    // A refused paste inside the host's edit: its nested bracket takes back what the paste did. False when
    // it could not (the paste then stays, as the message shown says).
    bool TakeBackPaste(CKXGridEdit& edit, const std::vector<CString>& newNets, BOOL wasModified,
                       bool rowsChanged);
    bool IsPasteCellReadOnly(ROWCOL row, ROWCOL col);
    std::vector<std::pair<ROWCOL, CString>> PasteTargets(const std::vector<CString>& lines);
    bool ConfirmPasteOverwrite(const std::vector<std::pair<ROWCOL, CString>>& targets, ROWCOL col,
                               BOOL bPasteSpecial);
    // While set, the rows that took a line of the running paste, with it.
    std::vector<std::pair<ROWCOL, CString>>* m_pPastedRows = nullptr;

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
