// IKXGridSite: what a grid needs of the window that holds it (the connectivity
// pane) and of the design window's document, without knowing either class. The
// pane implements it; a grid finds it with CKXGridWnd::Site() (set by the pane
// when it creates the grid, or found on the owner window in InitializeGrid). A
// grid outside a pane (a dialog, a test) has no site: every caller checks for
// NULL and then does without (no comments, no journal handle but the design's
// name, undo recorded on the grid itself).
//
//   if (IKXGridSite* site = Site()) {
//       site->MarkModified();
//       if (CComments* store = site->CommentStore()) ...;
//   }
//
// Grid folders include this header, never a shell/ or pane/ header.
#pragma once

#include "afx/afxcoll.h"
#include "afx/afxstr.h"
#include "afx/afxtypes.h"
#include "grid/gxtypes.h"
#include "kxcommon/KXDocument.h"

#include <vector>

class CComments;
class CImplicitPin;
class CCommonInterface;
class CGXGridCore;
class INet;
class CKXListComboBox;
class CKXGridWnd;
class CKXAssocCompAPI;

class IKXGridSite {
public:
    virtual ~IKXGridSite() = default;

    // ---- the document
    // The design's comment store; NULL when the document keeps none (physical view, no document).
    virtual CComments* CommentStore() = 0;
    // Marks the design window's document modified (every edit does, also edits outside the design).
    virtual void MarkModified() = 0;
    // Whether the document is marked modified, and putting the mark back as it was (an edit that
    // failed after it marked the document); a site without a document says no and keeps nothing.
    virtual BOOL IsDocumentModified() const { return FALSE; }
    virtual void RestoreDocumentModified(BOOL bModified) { (void)bModified; }
    // The handle journal lines call the document by; empty when there is no document.
    virtual CString DocumentJournalHandle() = 0;
    // The document's open mode; eOpenModeNoSwitch when there is no document.
    virtual EOpenMode OpenMode() const = 0;

    // ---- the pane
    // The undo history edits are recorded in (the pane's): commands with the grid's undo-step mode.
    virtual CCommonInterface* UndoSink() = 0;
    // TRUE while the pane commits a transaction of its own or runs an undo or redo step: grids
    // then leave the Attach Signal controls and selections alone.
    virtual BOOL IsSiteBusy() const = 0;
    // The site commits an edit of its own (the grids' refresh then treats it as theirs).
    virtual BOOL IsSiteCommitting() const { return FALSE; }
    // The component and signal list panes of the design window (NULL before the frame is wired).
    virtual CCommonInterface* InstanceListPane() = 0;
    virtual CCommonInterface* SignalListPane() = 0;
    // Grids side by side: Tab past the last column moves to the next grid of the same kind.
    virtual void ActivateAdjacentGrid(CGXGridCore* grid, BOOL bForward) = 0;
    // Position of the grid among the shown grids of its kind; -1 when not one of them.
    virtual int GridIndexOf(CGXGridCore* grid) const = 0;
    virtual void ClearOtherGridSelections(int gridIndex) = 0;
    // Keeps the grids shown side by side on the same top row / the same hidden rows.
    virtual void SyncTopRow(CGXGridCore* grid, ROWCOL top) = 0;
    virtual void HideRowsInAllGrids(ROWCOL from, ROWCOL to, BOOL hide, CByteArray* oldStates, UINT flags,
                                    GXCmdType ct) = 0;
    virtual void RefreshCellControlsInOtherGrids(CGXGridCore* grid, int first, int second) = 0;
    // The other grids shown side by side sort the column in the same direction.
    virtual void SortColumnsInOtherGrids(CGXGridCore* grid, int col, BOOL ascending) {
        (void)grid, (void)col, (void)ascending;
    }
    // The grids the site shows, in display order (none outside a pane).
    virtual std::vector<CKXGridWnd*> SiteGrids() const { return {}; }
    // The pin rows the user chose over the site's pin grids (a drop on several attaches to all of them).
    virtual int CountSelectedObjects() const { return 0; }
    // The one associated-components object of the pane, which all its grids drive (a grid sets the
    // context it needs before each call: nothing one grid leaves in it is another grid's); NULL outside
    // a pane.
    virtual CKXAssocCompAPI* AssocCompApi() { return nullptr; }
    // The Attach Signal bar: enabled while a signal cell of a grid is current.
    virtual void EnableAttachSignalControls(BOOL enable) = 0;
    // The drop lists the signal cells of the grids show (owned by the pane).
    virtual CKXListComboBox* SignalDropList() const = 0;
    virtual CKXListComboBox* DiffPairDropList() const = 0;
    // User options the pane applies to every grid of the matching kinds.
    virtual void ApplyAutoCompleteSetting(int value, BOOL apply) = 0;
    virtual void ApplyShowSignalComboSetting(int value, BOOL apply) = 0;
    // What the pane shows (its title kind: components 8951, signals 9006).
    virtual void SetPaneTitle(UINT kind) = 0;
    // Runs a pane command (a menu command id) as if chosen by the user.
    virtual void RunPaneCommand(UINT commandId) = 0;
    // Hands implicit power pins (with the instance names) to the component list pane's power
    // assignment; FALSE when the design window has no component list pane, kPowerTieRefused when the
    // design refused a pin (nothing of the instance's ties stays).
    virtual BOOL AssignPowerInListPane(const std::vector<CImplicitPin*>& pins, CStringArray* names) = 0;

    // ---- what the pane shows, and more of the document (the defaults do nothing and refuse)
    // The title kinds of SetPaneTitle.
    enum { kShowsComponents = 8951, kShowsSignals = 9006 };
    // The pane's view mode: the document's open mode; a pane without a document is read-only
    // (eOpenModeContext).
    virtual EOpenMode ViewMode() const { return eOpenModeContext; }
    // Sets the document's own modified flag, without the design's modified mark (an edit the
    // design's top block must save).
    virtual void FlagDocumentModified() {}
    // Makes the pane the active view of its design window.
    virtual void ActivateSiteView() {}
    // The grid took the keyboard focus (a click, a key, the pane's own hand-over): the grid the
    // site's commands go to follows it.
    virtual void GridTookFocus(CKXGridWnd* grid) { (void)grid; }
    // The name of a component the pane lists by its id; empty when it lists none of that id.
    virtual CString GetComponentName(int id) const {
        (void)id;
        return CString();
    }
    // Pin comments changed in the store outside a grid's own edit: the grids show them again.
    virtual void PinCommentsChanged() {}
    // The next free automatic signal name of the signal list pane; empty without one.
    virtual CString NewSignalAutoName() { return CString(); }
    // Attaches the named signal to the selected pins of the pane's pin grids; FALSE when it did not.
    virtual BOOL AttachSignalByName(const CString& signal) {
        (void)signal;
        return FALSE;
    }
    // Remembers the argument of a prefix/suffix connect rule (KXConnectRuleText) for the pane's
    // Attach Signal bar.
    virtual void SetConnectRuleText(int which, const CString& text) { (void)which, (void)text; }
    // The nets made inside the open grid transaction, by name, so that one edit makes each net once.
    virtual void EmptyTransactionNetMap() {}
    virtual INet* FindTransactionNet(const CString& name) const {
        (void)name;
        return nullptr;
    }
    virtual void RecordTransactionNet(const CString& name, INet* net) { (void)name, (void)net; }
    // Forgets a net the open transaction no longer holds (a refused connect took it out again).
    virtual void ForgetTransactionNet(const CString& name) { (void)name; }
};

// Which argument SetConnectRuleText remembers.
enum KXConnectRuleText { kRulePrefixPinName, kRuleSuffixPinName, kRulePrefixPinNumber, kRuleSuffixPinNumber };
