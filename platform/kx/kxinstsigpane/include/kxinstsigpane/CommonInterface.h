// The list-pane interface: the operations through which the component list pane, the signal list pane and the
// connectivity pane call each other. Every pane implements the operations it answers; the others keep the
// implementations here, which do nothing (and answer 0, FALSE or an empty text).
#pragma once

#include <vector>

#include "afx/afxcoll.h"
#include "afx/afxstr.h"
#include "afx/afxtypes.h"
#include "grid/gxtypes.h"

class CGXGridCore;
class CGXGridWnd;
class CGXCommand;
class CCmdUI;
class CMenu;
class CObject;
class CDesignContext;
class CInstanceContext;
class CNetContext;
class CNetBitContext;
class INet;
class IInstance;
class IDPNet;
class CComments;
class CKXHiliteObject;
class IKXChildFrameBase;

using CKXInstanceContextArray = CArray<CInstanceContext, CInstanceContext>;
using CKXNetContextArray = CArray<CNetContext, CNetContext>;
using CKXNetBitContextArray = CArray<CNetBitContext, CNetBitContext>;

class CCommonInterface {
public:
    CCommonInterface() = default;
    virtual ~CCommonInterface();
    CCommonInterface(const CCommonInterface&) = delete;
    CCommonInterface& operator=(const CCommonInterface&) = delete;

    // Clears the selection of the list.
    virtual void RemoveSelection() {}
    // Show requests: the connectivity of instances, of components by name, of net bits, of nets, of nets by
    // name. A zero force flag lets the receiver decide whether the request fits what it shows.
    virtual void ShowInstanceConnectivity(const CDesignContext& design, CKXInstanceContextArray* instances,
                                          BOOL bForce);
    virtual void ShowComponentsByName(const CDesignContext& design, CStringList* names, BOOL bForce);
    virtual void ShowNetBitConnectivity(const CDesignContext& design, CKXNetBitContextArray* netBits, BOOL bForce);
    virtual void ShowNetConnectivity(const CDesignContext& design, CKXNetContextArray* nets, BOOL bForce);
    virtual void ShowNetsByName(CStringList* names, BOOL bForce);
    // Cross-highlight: the list tracks (selects and scrolls to) the object.
    virtual void HighlightObject(CKXHiliteObject* object);
    // Undo bookkeeping of the connectivity pane: type 0 = a new command, otherwise re-recorded by undo/redo;
    // state -1 roll back the open group, 1 begin a group, 0 add and close the group, other values add only.
    virtual void AddUndoCommand(CGXGridCore* grid, CGXCommand* command, GXCmdType type, int state);
    // A change that makes no undo step (comments moved without one): the steps that could be redone were
    // made on what it changed, and go, as any new step makes them go.
    virtual void ForgetRedoSteps() {}
    virtual void RequestUndo() {}
    virtual void RequestRedo() {}
    virtual BOOL CanUndoPaneGrid(CCmdUI* pCmdUI);
    virtual BOOL CanRedoPaneGrid(CCmdUI* pCmdUI);
    virtual void SetChildFramePtr(IKXChildFrameBase* frame) { m_pChildFrame = frame; }
    virtual void NotifyFrameActivated(BOOL) {}
    virtual CString GetPaneText() { return CString(); }
    // The undo history: a line per step, "undo NAME" oldest first, then "redo NAME" next redo first; a step
    // whose journal replays as another number of steps than one says how many: "undo NAME (replays as N)".
    virtual CString GetUndoHistoryText() { return CString(); }
    // Activates the pane's grids; nonzero when there is an active grid.
    virtual BOOL ActivateGrids() { return FALSE; }
    // Gives the focus to the pane's active object (the list, or the object-info window of the connectivity pane).
    virtual void FocusActiveGrid() {}

    // The detail grids the connectivity pane shows side by side, in their order (index from 0), and the one its
    // commands go to. The lists show none.
    virtual int GetShownGridCount() { return 0; }
    virtual CGXGridWnd* GetShownGridWnd(int index) {
        (void)index;
        return nullptr;
    }
    virtual int GetActiveGridIndex() { return -1; }
    // Makes the shown grid the one the pane's commands go to; FALSE for no such grid.
    virtual BOOL SetActiveGridIndex(int index) {
        (void)index;
        return FALSE;
    }
    // What a shown grid is ("component", "group component", ...) and the objects it shows; FALSE for no such grid.
    virtual BOOL GetShownGridInfo(int index, CString& kind, CString& title) {
        (void)index, (void)kind, (void)title;
        return FALSE;
    }

    // Object registry of the connectivity pane.
    virtual void AddNet(INet*) {}
    // Many nets at once (a list pane's fill): a view that keeps sorted lists merges them once.
    virtual void AddNets(const std::vector<INet*>& nets) {
        for (INet* net : nets) AddNet(net);
    }
    virtual void AddNetName(CString) {}
    virtual void AddComponentById(IInstance*) {}
    virtual void AddComponent(IInstance*, CString) {}
    virtual void RenameComponent(IInstance*, CString) {}
    virtual void RenameNet(INet*, CString) {}
    // Stores the design's comment store (not owned) and returns it.
    virtual CComments* SetCommentStore(CComments* store) { return m_pComments = store; }
    void SetCommentsStore(CComments* store) { SetCommentStore(store); }
    virtual void RemoveComponent(CString) {}
    virtual void RemoveNet(CString) {}
    virtual void AddOrUpdateComponent(IInstance*, CString) {}
    virtual void SetExcludedSpathLists(CString, CString) {}
    virtual void SetPartGridsExcludedSpathList(CString, CString) {}
    virtual void StoreExcludedSpathList(CString) {}

    // Matrix views.
    virtual void CreateMatrixView() {}
    virtual void EditMatrixView() {}
    virtual void OpenMatrixView(int) {}
    virtual void OpenMatrixView(CString) {}
    virtual void SaveAsMatrixView() {}
    virtual void RemoveMatrixViewWindow(CString) {}
    virtual void RemoveMatrixView(CString) {}
    virtual BOOL IsInMatrixEditMode() { return FALSE; }
    virtual void FillMatrixViewMenu(CMenu*) {}
    // The number of matrix views the design stores.
    virtual int GetMatrixViewCount() { return 0; }
    // Nonzero while the objects of the last show request are shown together (several of them).
    virtual int GetGroupFlag() { return m_bGroupFlag; }
    virtual void ShowMatrixView(const CDesignContext&, CString) {}

    virtual void RefreshInstancesInAllGrids(CDWordArray*) {}
    // Pin comments changed in the store (a component's comments moved with its name): the grids that
    // show pins show them again.
    virtual void PinCommentsChanged() {}
    virtual void ResetSignalLists() {}
    virtual void AddDiffPairEntry(IDPNet*) {}
    virtual void SetPinGridsFlag(int) {}
    virtual BOOL IsShowingComponents() { return FALSE; }
    virtual void SetUndoMode(BOOL bUndo) { m_bUndoMode = bUndo; }
    virtual BOOL GetUndoMode() { return m_bUndoMode; }

    // Drops the object that a rolled-back undo group left pending.
    void DeletePendingObject();

    // Sort kind of every grid's column sort: 0 alphabetic, 1 alphanumeric.
    static int nSortType;

    BOOL m_bGroupFlag = FALSE;
    BOOL m_bMatrixFlag = FALSE;
    CObject* m_pPendingObject = nullptr; // owned
    IKXChildFrameBase* m_pChildFrame = nullptr;
    CComments* m_pComments = nullptr;

protected:
    BOOL m_bUndoMode = FALSE;
};
