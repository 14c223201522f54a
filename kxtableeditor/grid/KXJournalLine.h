// KXJournalLines: the one builder of automation-journal lines. A grid states the
// calls; the builder writes the design handle, quotes every argument as a
// VBScript string and appends the block to the journal being recorded.
//
//   KXJournalLines lines(KXJournalHandle(Site(), m_designContext));
//   lines.Clp("Select", {instanceName})
//        .Comment("Insert Comment")
//        .Pane("InsertComment", {text})
//        .End();
//   lines.Write();   // nothing happens unless a journal is being recorded
//
// gives
//   \ncall <handle>.Clp().Select("U1")\n\n ' --- Insert Comment ---
//   \ncall <handle>.ConnectivityPane().InsertComment("text")\n
//
// The handle is the document's journal handle when the grid sits in a design
// window, else the name of the grid's design (KXJournalHandle decides, once).
#pragma once

#include "afx/afxstr.h"

#include <initializer_list>
#include <vector>

class IKXGridSite;
class CDesignContext;

// The handle journal lines call the design by: the site's document handle, else the design's name.
CString KXJournalHandle(IKXGridSite* site, const CDesignContext& design);
// Appends the lines of one edit to the journal being recorded, as the one step the edit is
// (KXJournalOfOneStep: `calls` calls, or one per title line when -1); during the edit's transaction they
// join the lines the other grids of the edit write, all written as its one step when it commits
// (KXJournalWriteStep). False, with nothing written and no replay steps noted, when no journal is being
// recorded.
bool KXWriteJournalOfOneStep(const CString& lines, int calls = -1);

class KXJournalLines {
public:
    explicit KXJournalLines(CString handle) : m_handle(std::move(handle)) {}

    // "\ncall <handle>.<object>.<method>(<args>)", each argument a quoted VBScript string.
    KXJournalLines& Call(const char* object, const char* method, std::initializer_list<CString> args = {});
    // A call on the connectivity pane ("ConnectivityPane()") / the component list pane ("Clp()").
    KXJournalLines& Pane(const char* method, std::initializer_list<CString> args = {}) {
        return Call("ConnectivityPane()", method, args);
    }
    // A call on the connectivity pane whose first argument is an array of texts ("Array(...)").
    KXJournalLines& PaneWithList(const char* method, const std::vector<CString>& list,
                                 std::initializer_list<CString> args = {});
    KXJournalLines& Clp(const char* method, std::initializer_list<CString> args = {}) {
        return Call("Clp()", method, args);
    }
    // "\n\n ' --- <title> ---": the comment line above a user action.
    KXJournalLines& Comment(const char* title);
    // A line break closing the block.
    KXJournalLines& End();
    // The call just written is an edit of its own when the journal is replayed: Write() puts the calls of
    // an edit that writes several between RMX.BeginStep() and RMX.EndStep(), so that the replay keeps
    // them as the one undo step the edit is (KXReplaySteps.h).
    KXJournalLines& OwnStep() {
        ++m_steps;
        return *this;
    }

    const CString& Text() const { return m_text; }
    bool IsEmpty() const { return m_text.IsEmpty(); }
    // Appends the block to the journal being recorded; false when none is (or the write failed).
    bool Write() const;
    // True while an automation journal is being recorded.
    static bool IsRecording();

private:
    CString m_handle;
    CString m_text;
    int m_steps = 0; // calls marked OwnStep()
};
