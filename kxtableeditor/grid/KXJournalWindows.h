// Which design window each handle of the journal names when the journal is replayed.
//
// A handle ("board", "PWR_phys") is bound by "set H = RMX.GetActiveTab()" to the window active then, and
// every window of one design in one view has the same handle. A window that journals a line while its
// handle is bound to another window (one of the same design opened and closed since, or none) would have
// the replay act on that window: the journal selects the writing window's tab and binds its handle
// before the line, then selects the window that was active again, so that the replay goes on where the
// session did.
#pragma once

#include "afx/afxstr.h"

// A design window as the journal knows it.
class IKXJournalWindow {
public:
    // Journals the selection of the window's tab and the binding of its handle (KXJournalTabSelected).
    virtual void JournalSelection() const = 0;

protected:
    ~IKXJournalWindow() = default;
};

// The window gave out `handle` for the lines it is about to journal.
void KXJournalHandleGiven(const IKXJournalWindow* window, const CString& handle);
// The journal selected the window's tab and bound `handle` to it.
void KXJournalTabSelected(const IKXJournalWindow* window, const CString& handle);
// The window is gone: no handle is bound to it and no tab selection returns to it.
void KXJournalWindowGone(const IKXJournalWindow* window);

// Lives while one block of journal lines is written: when the block calls a handle that another window
// than the one that gave it out is bound to, that window's tab is selected before the block and the
// window selected before is selected again after it.
class KXJournalLinesOfWindow {
public:
    explicit KXJournalLinesOfWindow(const CString& lines);
    ~KXJournalLinesOfWindow();
    KXJournalLinesOfWindow(const KXJournalLinesOfWindow&) = delete;
    KXJournalLinesOfWindow& operator=(const KXJournalLinesOfWindow&) = delete;

private:
    const IKXJournalWindow* m_back = nullptr; // selected again when the block is written
};
