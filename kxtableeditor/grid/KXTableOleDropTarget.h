// The drop target that the list grids and the detail grids register on their
// windows: components and part descriptions dropped on the component list
// become instances, instances dropped on the signal grid or the matrix join
// them, and a signal dropped on the pin grid is attached to its selected pins.
#pragma once

#include "afx/afxole.h"
#include "rmx/context.h"

class CInstanceContext;

// What a detail grid offers to drops; the detail grids implement the parts
// that concern them (the defaults refuse or do nothing).
class IKXTableDropSite {
public:
    virtual ~IKXTableDropSite() = default;
    // Pin grid: 1 when the dragged signal may be dropped at the point.
    virtual BOOL CanDropSignal(CPoint point, const CString& signal) {
        (void)point, (void)signal;
        return FALSE;
    }
    // Signal grid: TRUE when an instance may be dropped at the point.
    virtual BOOL CanDropAt(int x, int y) {
        (void)x, (void)y;
        return FALSE;
    }
    // Signal grid: puts the instance into the block of the shown net.
    virtual void AddInstanceRow(CInstanceContext instance, BOOL& added) {
        (void)instance;
        added = FALSE;
    }
    // Matrix grid: TRUE when the dropped instance or signal was added.
    virtual BOOL DropInstance(const CString& instance) {
        (void)instance;
        return FALSE;
    }
    virtual BOOL DropSignal(const CString& signal) {
        (void)signal;
        return FALSE;
    }
    // Pin and signal grids: tell the host what is selected.
    virtual void CrossSelectInHost() {}
};

class CKXTableOleDropTarget : public COleDropTarget {
    DECLARE_DYNAMIC(CKXTableOleDropTarget)
public:
    // Stores the design and registers the window; the result of the registration.
    BOOL RegisterTarget(CWnd* pWnd, const CDesignContext& design);

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;

    const CDesignContext& GetDesignContext() const { return m_designContext; }

private:
    CDesignContext m_designContext;
};

// Whether the object's class is, or derives from, the class of that name.
BOOL KXIsKindOfName(const CObject* object, const char* className);
