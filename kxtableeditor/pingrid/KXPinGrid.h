// IKXPinGrid: what the connectivity pane asks only of a pin grid, beyond the
// common grid interface of CKXGridWnd. The pane holds every grid as a
// CKXGridWnd and reaches this interface through its factory
// (CKXBottomPaneContainerView::PinGridOf), after a Kind() check; it never sees
// the pin grid's class. An operation every grid kind offers belongs in
// CKXGridWnd's slots instead.
#pragma once

#include "afx/afxcoll.h"
#include "afx/afxstr.h"
#include "rmx/context.h"

#include <vector>

class CKXGridWnd;
class CTclArgsList;
class CKXHiliteObject;

class IKXPinGrid {
public:
    virtual ~IKXPinGrid() = default;

    // The key column of the pin keys of the selection words ("pin", "pin:number", ...).
    static constexpr const char* kPinNameKeyColumn = "Pinname";

    // The grid window itself.
    virtual CKXGridWnd& Grid() = 0;

    // ---- loading and refreshing
    virtual BOOL LoadComponentPins(CDesignContext design, CInstanceContext instance, BOOL bKeepOrder) = 0;
    virtual BOOL ReloadInstanceRows(CDesignContext design, const std::vector<UINT>& instances, BOOL bNoSort) = 0;
    virtual BOOL RefreshInstances(const std::vector<IInstance*>* pInstances) = 0;
    // The first shown instance; NULL when none.
    virtual IInstance* GetInstance() = 0;
    virtual void UpdateHeaderCaption() = 0;
    virtual void RefreshInstanceCells(int instanceIndex) = 0;
    virtual void RefreshCellControls(int row, BOOL bExpand) = 0;
    // Writes the column customisation of the pin grids (with bParse also as the current one).
    virtual void LoadCustomPropertyColumns(BOOL bParse) = 0;

    // ---- view options
    virtual void RecordViewOptionsScript(int busOption, int dpOption) = 0;
    virtual int GetBusOption() const = 0;
    virtual int GetDiffPairOption() const = 0;
    virtual void ExpandAllPins(CString onOff, CString scope) = 0;

    // ---- script words and automation
    virtual int DumpGrid(const char* path) = 0;
    virtual BOOL OnFilterCellChanged(CString columnName, CString pattern) = 0;
    virtual int SortByColumnName(CString name) = 0;
    virtual int SelectRowsByKeyCount(CStringArray* pKeys, const CString& keyColumn) = 0;
    virtual BOOL SelectColumnByName(const CString& pinName, const CString& columnName) = 0;
    virtual BOOL SelectPinCell(const CString& columnKey, const CString& pinName, const CString& pinNumber) = 0;
    virtual void SelectFirstSignalCell() = 0;
    virtual BOOL SelectNextSignalCell() = 0;
    virtual BOOL IsCurrentSignalCellFilled() = 0;
    virtual void HiliteSelection() = 0;
    virtual void CopySelection() = 0;
    // Colours the rows of the object the host highlights; renames the comments of a renamed pin.
    virtual void HighlightObject(CKXHiliteObject* hilite) = 0;
    virtual BOOL EditPinComment(CString oldInstance, CString oldPin, CString newInstance, CString newPin,
                                BOOL bUndo) = 0;

    // ---- connection editing (the pane's transaction around it)
    virtual int ConnectSelectedPins(CString text, int bEchoToHost) = 0;
    virtual void AddSelectedPinsToArgs(CTclArgsList* args) = 0;
    virtual BOOL IsDiffPairRowSelected() = 0;
    virtual BOOL CanRemoveDiffPair() = 0;
    virtual BOOL RemoveDiffPair() = 0;
    virtual BOOL SwapSelectedSignals() = 0;
    // Pin numbers: the host command "assignPinNumber" (from the menu id's number, or the text), and its
    // committing end.
    virtual BOOL AssignPinNumberInHost(UINT id, BOOL bUseText, CString text) = 0;
    virtual BOOL CommitAssignPinNumber(CString number) = 0;
};
