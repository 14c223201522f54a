// The pin grid's paste of copied associated components: terminations onto the selected pins (one
// entry onto every row, several one to a row) and pull-up/pull-down groups onto the net bits of the
// rows, each as one journalled edit, or inside the caller's transaction.
#pragma once

#include "afx/afxstr.h"
#include "grid/gxtypes.h"
#include "rmx/schema.h"

#include <deque>
#include <utility>
#include <vector>

class CKXGridEdit;
class CKXInstanceDetailsGridWnd;
class CTransaction;
class IDTInstance;
struct KXAssocClipEntry;
namespace kxpingrid {
class ProgressScope;
}

class KXPinGridAssocPaste {
public:
    explicit KXPinGridAssocPaste(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // Pasting terminations: the clipboard's termination entries onto the selected pins, in the
    // caller's transaction (TRUE when one went on; KXTABLE-118 once for the pins left out), and the
    // same as one journalled edit of its own.
    bool PasteTerminations(CTransaction* t);
    BOOL PasteTerminationsInEdit();
    // The rows a termination paste serves, one entry onto the pin bits (a pair row: the pair's pins) of
    // a row, and the termination now on a row's pin or pair.
    std::deque<ROWCOL> TerminationPasteRows();
    bool PasteTerminationOnRow(CTransaction* t, ROWCOL row, const CString& type, const CString& name,
                               const CString& data, bool& pasted);
    IDTInstance* RowTermination(ROWCOL row);
    // Copied pull-up/pull-down groups onto the net bits of the rows, inside the transaction; true when
    // an entry was pasted.
    bool PastePupds(CTransaction* transaction, const std::vector<ROWCOL>& rows);
    // The Pull Up/Down column's paste: the selected rows, one "Paste PUPD" edit, journalled.
    BOOL PastePupdsInEdit();
    BOOL CommitPastedPupds(CKXGridEdit& edit);
    bool PastePupdGroupOnRow(CTransaction* transaction, ROWCOL row, const CString& group,
                             kxpingrid::ProgressScope& progress);
    bool PastePupdGroupOnBit(CTransaction* transaction, ROWCOL row, const CNetBit& bit, CString group);
    bool PastePupdEntryOnBit(CTransaction* transaction, ROWCOL row, const CNetBit& bit,
                             const KXAssocClipEntry& entry);
    CNetBit RowPupdBit(ROWCOL row);
    // The rows a pull-up paste goes to: the selected pins' rows, a bus row's bit rows in its place.
    std::vector<ROWCOL> PupdPasteRows();
    // Whether the selection takes copied pull-up groups: where a pull-up can be added, and on a bus row
    // whose bits are on a net.
    BOOL CanPastePupds();

    std::vector<ROWCOL> m_pastedTerminationRows; // the rows the last paste put a termination on
    std::vector<std::pair<ROWCOL, IDTInstance*>> m_pastedPupds; // the components a pull-up paste made, by row

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
