// What the design window and its document ask of the connectivity pane: its view, its
// list-pane interface (details view, undo sink, comment store, automation), the wiring to
// the frame and the list panes, the window's undo history, the user options and the few
// operations the frame's messages forward. The shell reaches the pane through this
// interface only; the pane's class header stays inside pane/.
#pragma once

#include "afx/afx.h"
#include "afx/afxstr.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

class CCommonInterface;
class CInstTermBitContext;
class CKXBottomPaneContainerView;
class CKXTableChildFrm;
class CView;
class CWnd;
struct CRuntimeClass;

class IKXConnectivityPane {
public:
    // The pane as the frame's view, and as the list panes' details view and undo sink.
    virtual CView* PaneView() = 0;
    virtual CCommonInterface* PaneInterface() = 0;
    // The pane's own class, for callers that include its header (tests, benchmarks).
    virtual CKXBottomPaneContainerView* PaneClass() = 0;

    // Wiring (the frame's activation, frame first).
    virtual void SetChildFrame(CKXTableChildFrm* frame) = 0;
    virtual void SetInstancePaneInterface(CCommonInterface* pane) = 0;
    virtual void SetSignalPaneInterface(CCommonInterface* pane) = 0;

    // The window's undo history: TRUE when a step was undone or redone.
    virtual BOOL PerformUndo() = 0;
    virtual BOOL PerformRedo() = 0;
    virtual int GetUndoStepCount() const = 0;
    // Each undo step, oldest first: when it was last made or redone (one order over every window of the
    // process) and the objects its committed transactions touched (CKXDesignChangeLog::TouchedBy).
    struct StepFootprint {
        std::uint64_t order = 0;
        std::set<std::string> touched;
        bool saved = false; // the step was done when the design was last saved
    };
    virtual std::vector<StepFootprint> UndoStepFootprints() const = 0;
    // The design was saved: the steps done now are in its file, those undone are not.
    virtual void MarkStepsSaved() = 0;
    // The newest undo steps made since the design was last saved (those a close without saving takes back).
    virtual int UnsavedUndoStepCount() const = 0;

    // User options, applied to the pane's grids of the matching kinds.
    virtual void ApplyAutoCompleteSetting(int value, BOOL apply) = 0;
    virtual void ApplyShowSignalComboSetting(int value, BOOL apply) = 0;
    virtual void ApplyShowRowNumbersSetting(int value, BOOL apply) = 0;
    virtual void ApplyMoveDirectionSetting(CString direction, BOOL apply) = 0;
    virtual void ApplyShowDiffPairPinsSetting(BOOL show) = 0;

    // Operations the frame's messages forward.
    virtual BOOL HighlightPin(const CInstTermBitContext& pin) = 0; // FALSE when no list or grid shows the pin
    virtual BOOL PasteFromClipboardViewer(WPARAM wParam, LPARAM lParam) = 0; // TRUE when it pasted
    virtual BOOL PreservePinComment(const CString& oldInst, const CString& oldPin, const CString& newInst,
                                    const CString& newPin, LPARAM flag) = 0;
    virtual BOOL SelectFindAllResult(CWnd* grid, int row, int col) = 0; // TRUE when the cell became current

protected:
    ~IKXConnectivityPane() = default;
};

// The run-time class the frame creates the pane from.
CRuntimeClass* KXConnectivityPaneClass();
// The pane when the view is one, else NULL.
IKXConnectivityPane* KXConnectivityPaneOf(CWnd* view);
// The usage message of a word of the connectivity pane (one that names the grid word `pin`); null for
// a word the pane does not take.
const char* KXConnectivityPaneWordUsage(const char* word);
// Whether a word of the connectivity pane changes the design or its pin comments (a window that may not
// edit refuses it before it looks at anything, the view included).
bool KXConnectivityPaneEditingWord(const char* word);
// The refusal of such a word by a window that may not edit: its message shown, the number the word answers.
LRESULT KXConnectivityPaneReadOnlyRefusal(const char* word);
// The answer of such a word given without its grid word: its usage shown, as a refusal (the number the word
// answers) or, for a help request, as the help.
LRESULT KXConnectivityPaneUsageAnswer(const char* word, bool help);
