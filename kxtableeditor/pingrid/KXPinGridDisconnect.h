// Taking connections off the pin grid's rows: a pin row's connections (with the terminations of the
// parted bits, unless the user keeps them), a pair row's pair connection or its legs', the bit rows of a
// disconnected group row given their signals again, and the journal of a row's Delete.
#pragma once

#include "afx/afxstr.h"
#include "grid/gxtypes.h"
#include "rmx/context.h"

#include <list>
#include <vector>

class CKXInstanceDetailsGridWnd;
class CTransaction;

class KXPinGridDisconnect {
public:
    explicit KXPinGridDisconnect(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // Removes the connections of one pin row in the open transaction (and the terminations on
    // the parted bits); 1 when something was removed.
    int DisconnectPinRow(ROWCOL* pRow, int* pRemovedRows, BOOL bReapplySelection);
    void RestyleDisconnectedRow(ROWCOL* pRow, int* pRemovedRows, bool reapplyGroup, bool termsDeleted);
    // Parts one pair row from its pair net, or, without a pair connection, each bit's pair
    // connection or its legs' connections; the terminations go unless the user keeps them.
    // TRUE when something was parted.
    BOOL RemoveDPConnection(ROWCOL row);
    // True for a pair leg's row not itself selected whose pair row is.
    bool IsLegOfSelectedPair(ROWCOL row, const std::vector<ROWCOL>& selected);
    bool RemoveLegConnections(CTransaction* transaction, const IDPInstTerm* pair, bool deleteTerms);
    // After a group's parent row was disconnected: its unselected bit rows take again the signals
    // they show; a parent that only stood for the group (group value "2") is removed. TRUE.
    BOOL ApplySignalNamesToSelection(ROWCOL* pRow, int* pRemovedRows);
    // The terminations on the pin bits msb..lsb / on one pin bit, deleted in the transaction (true
    // when one was there).
    void DeleteTerminationsOnPinBits(CTransaction* transaction, IInstTerm* pin, int msb, int lsb);
    bool DeleteTerminationOnBit(CTransaction* transaction, const CInstTermBit& bit);
    // The terminations on every pin bit of the list (a pair row's leg bits), in list order; true
    // when one was deleted.
    bool DeleteTerminationsOnBits(CTransaction* transaction, const std::list<CInstTermBitContext>& bits);
    // A row's Delete, after the answer that keeps its terminations when the delete kept them.
    CString JournalDeleteRowsText(const std::vector<ROWCOL>& rows, bool keepsTerminations);
    CString JournalDeleteRowText(ROWCOL row, bool keepsTerminations);

    bool m_bDeleteKeepsTerminations = false; // the running delete was told to keep them

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
