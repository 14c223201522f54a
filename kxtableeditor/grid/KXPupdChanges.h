// What the library's edit dialog of the pull-ups/pull-downs on a net bit changed, and the journal
// lines that make the same changes through the pane's words: a grid takes the looks before and after
// the dialog and journals the difference.
#pragma once

#include "afx/afxstr.h"
#include "grid/KXAssocCompSteps.h"

#include <functional>
#include <map>

class CKXAssocCompAPI;
class CDesignContext;
class CNetBit;
class IDTInstance;
class KXJournalLines;

// What the edit dialog can change of a pull-up/pull-down: its designators and its DC net.
struct KXPupdLook {
    CString name; // the component's own, which the words find it by
    CString designators;
    CString dcNet;
    bool operator==(const KXPupdLook& other) const = default;
};

// The looks of the pull-ups/pull-downs on a net bit (the library is pointed at the bit), in the order
// they were made.
using KXPupdLooksMap = std::map<IDTInstance*, KXPupdLook, KXMadeFirst>;
KXPupdLooksMap KXPupdLooks(CKXAssocCompAPI& api, const CDesignContext& design,
                                               const CNetBit& bit);

// For each pull-up/pull-down the dialog changed: selectRow() journals its row's selection, then the
// pane's method `deleteMethod` deletes it, or EditPUPD changes it the same way. Each is a step of its
// own on replay.
void KXJournalPupdChanges(KXJournalLines& journal, const KXPupdLooksMap& before, const KXPupdLooksMap& after, const char* deleteMethod,
                          const std::function<void()>& selectRow);
