// The steps of the pin grid's pull-up/pull-down edits: the open pins connected before a pull-up goes on
// their nets, the delete of named pull-ups on a net bit, the library's edit dialog on one net bit, the
// automation's refusal, and the journal that replays an add.
#pragma once

#include "afx/afxstr.h"
#include "grid/gxtypes.h"
#include "rmx/schema.h"

#include <map>
#include <set>
#include <vector>

class CKXAssocCompAPI;
class CKXInstanceDetailsGridWnd;
class KXJournalLines;

class KXPinGridPupds {
public:
    explicit KXPinGridPupds(CKXInstanceDetailsGridWnd& grid) : m_grid(grid) {}

    // Each open pin gets a new signal (one common signal when asked), in the open edit.
    BOOL ConnectOpenPins(const std::vector<ROWCOL>& open, bool common);
    bool DeletePupdOnNet(const CNetBit& bit, const std::set<CString>& names);
    const char* AutomationPupdRefusal();
    CString AddPupdJournal(const std::vector<CNetBit>& bits, const std::multimap<CNetBit, ROWCOL>& rowsOf,
                           const CString& prepared);
    // The library's edit dialog on the one net bit of a row that carries pull-ups/pull-downs; true
    // when it changed them (journalled as the words that make the same changes).
    bool EditPupdInDialog(CKXAssocCompAPI& api, const CNetBit& bit, ROWCOL row, KXJournalLines& journal);
    // The pane method that selects a row's pull-up cell in a replay.
    const char* PupdSelectMethod();

    int m_bShortBeforePupd = 0;       // the open pins were joined to one common signal
    CString m_strPupdConnTransaction; // the text of the committed open-pin connections

private:
    CKXInstanceDetailsGridWnd& m_grid;
};
