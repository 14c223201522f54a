// Swaps and pin numbers of the pin grid: the checks of a swap of two rows' signals or pin numbers and its
// journal, the candidates of the current pin's pin-number menu, and the exchange of two pin numbers
// within a part.
#pragma once

#include "afx/afxstr.h"
#include "grid/gxtypes.h"
#include "rmx/context.h"
#include "rmx/hmtpi.h"

#include <map>
#include <vector>

class CKXInstanceDetailsGridWnd;

class KXPinGridPinNumbers {
public:
    explicit KXPinGridPinNumbers(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}
    ~KXPinGridPinNumbers();
    KXPinGridPinNumbers(const KXPinGridPinNumbers&) = delete;
    KXPinGridPinNumbers& operator=(const KXPinGridPinNumbers&) = delete;

    // Clears the way for a swap's own edit; false (KXTABLE-620 said) when another edit is open.
    bool BeginSwapEdit();
    // Both rows show one pin bit on one net bit (or none), and the part lets the two swap.
    bool CanSwapConnections(ROWCOL rowA, ROWCOL rowB);
    // Journal lines that give the row's pin the signal the other row shows (a delete when none).
    CString SwappedConnectionJournal(ROWCOL row, ROWCOL from);
    BOOL CanSwapPinRows(ROWCOL rowA, ROWCOL rowB);
    // The selected rows take one pin number together (a swap, the pin-number menu).
    bool RowsTakeOnePinNumber(const std::vector<ROWCOL>& rows, bool withCase);
    CString RowPhysPartName(ROWCOL row);
    void RefreshPinNumberCells();
    bool SelectionHasPinNumber(const CString& number);
    BOOL ExchangePinNumbers(CInstanceContext* instance, const char* numberA, const char* numberB);
    // The candidates of the current pin (kept for the menu the user opened), and its row.
    HMTGEN CurrentPinCandidates();
    ROWCOL PinNumberRow();
    void KeepPinGenerator(HMTGEN gen);

    HMTGEN m_hPinGenerator = nullptr;               // candidates of the current pin, from the last fill
    std::map<UINT, const char*> m_mapPinNumberMenu; // menu id -> interned pin number

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
