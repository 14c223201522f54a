// The connectivity pane as an automation object: the methods a journal replays.
// Most act on the active grid after checking its class, or hand a script line to
// the host so that the pane's own script command runs (and is logged there).
#include "pane/KXBottomPaneContainerView.h"

#include "physgrids/KXPhysPartDetailsGridWnd.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "shell/KXShellUtil.h"

#include <cstdlib>

BEGIN_DISPATCH_MAP(CKXBottomPaneContainerView, CView)
DISP_FUNCTION(CKXBottomPaneContainerView, "Dump", AutoDump, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "ExpandAllPins", AutoExpandAllPins, VT_EMPTY, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "Delete", AutoDelete, VT_EMPTY, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "Copy", AutoCopy, VT_EMPTY, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "CtrSelectTerminationCol", AutoCtrSelectTerminationCol, VT_EMPTY,
              VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "SwapPins", AutoSwapPins, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "AssignPinNumber", AutoAssignPinNumber, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "SelectPinNameCol", AutoSelectPinNameCol, VT_BOOL, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "CtrSelectPinNameCol", AutoCtrSelectPinNameCol, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "AssignModel", AutoAssignModel, VT_EMPTY, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "RemoveModel", AutoRemoveModel, VT_EMPTY, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "SelectFirstSignalCol", AutoSelectFirstSignalCol, VT_EMPTY,
              VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "SelectNextSignalCol", AutoSelectNextSignalCol, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "InsertComment", AutoInsertComment, VT_EMPTY, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "EditComment", AutoEditComment, VT_EMPTY, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "DeleteComment", AutoDeleteComment, VT_EMPTY, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "FilterRows", AutoFilterRows, VT_EMPTY, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "Sort", AutoSort, VT_EMPTY, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "SetViewOptions", AutoSetViewOptions, VT_EMPTY, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "RemoveDiffPairPin", AutoRemoveDiffPairPin, VT_EMPTY, VTS_NONE)
END_DISPATCH_MAP()

namespace {

// Every text that goes into a script line is quoted for Tcl, so quotes, brackets and dollars
// in it stay text.
CString Quoted(LPCTSTR text) {
    return KXTclQuote(text ? text : "");
}

} // namespace

CKXInstanceDetailsGridWnd* CKXBottomPaneContainerView::ActivePinGrid() const {
    return dynamic_cast<CKXInstanceDetailsGridWnd*>(GetActiveGrid());
}

BOOL CKXBottomPaneContainerView::AutoDump(LPCTSTR file) {
    CString path = file ? file : "";
    path.Replace("\\", "/");
    return SendHostText("dumpGrid pin " + Quoted(path));
}

void CKXBottomPaneContainerView::AutoExpandAllPins() {
    SendHostText("expandPins on ");
}

void CKXBottomPaneContainerView::AutoDelete() {
    if (ActivePinGrid()) DeleteInShownGrids();
}

void CKXBottomPaneContainerView::AutoCopy() {
    if (CKXInstanceDetailsGridWnd* pin = ActivePinGrid()) pin->OnEditCopy();
}

void CKXBottomPaneContainerView::AutoCtrSelectTerminationCol(LPCTSTR pin) {
    if (CKXInstanceDetailsGridWnd* grid = ActivePinGrid())
        grid->SelectColumnByName(pin ? pin : "", "Termination");
}

BOOL CKXBottomPaneContainerView::AutoSwapPins(LPCTSTR pinNumber) {
    if (CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid()) return part->SwapPins(1, pinNumber ? pinNumber : "");
    CKXInstanceDetailsGridWnd* grid = ActivePinGrid();
    return grid ? grid->SwapPins(1, pinNumber ? pinNumber : "") : FALSE;
}

BOOL CKXBottomPaneContainerView::AutoCtrSelectPinNameCol(LPCTSTR pin) {
    CKXInstanceDetailsGridWnd* grid = ActivePinGrid();
    if (!grid) return FALSE;
    grid->SelectColumnByName(pin ? pin : "", "PinName");
    return TRUE;
}

void CKXBottomPaneContainerView::AutoAssignModel(LPCTSTR model) {
    // A journal replays the committing half: the selection lines before it chose the pins.
    if (CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid()) {
        part->CommitAssignModel(model ? model : "");
        return;
    }
    if (CKXGridWnd* grid = GetActiveGrid()) grid->AssignModel(1, model ? model : "");
}

void CKXBottomPaneContainerView::AutoRemoveModel() {
    if (CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid()) {
        part->CommitRemoveModel();
        return;
    }
    if (CKXGridWnd* grid = GetActiveGrid()) grid->RemoveModel();
}

void CKXBottomPaneContainerView::AutoSelectFirstSignalCol() {
    if (CKXInstanceDetailsGridWnd* grid = ActivePinGrid()) grid->SelectFirstSignalCell();
}

BOOL CKXBottomPaneContainerView::AutoSelectNextSignalCol() {
    CKXInstanceDetailsGridWnd* grid = ActivePinGrid();
    return grid ? grid->SelectNextSignalCell() : FALSE;
}

void CKXBottomPaneContainerView::AutoInsertComment(LPCTSTR text) {
    SendHostText("addComment pin " + Quoted(text));
}

void CKXBottomPaneContainerView::AutoEditComment(LPCTSTR text) {
    SendHostText("modifyComment pin " + Quoted(text));
}

void CKXBottomPaneContainerView::AutoDeleteComment() {
    SendHostText("deleteComment pin");
}

void CKXBottomPaneContainerView::AutoFilterRows(LPCTSTR column, LPCTSTR filter) {
    const CString col = column ? column : "";
    if (col.IsEmpty())
        SendHostText("filterRows pin -filter " + Quoted(filter));
    else
        SendHostText("filterRows pin -col " + Quoted(col) + " -filter " + Quoted(filter));
}

void CKXBottomPaneContainerView::AutoSort(LPCTSTR column) {
    SendHostText("sort pin " + Quoted(column));
}

void CKXBottomPaneContainerView::AutoSetViewOptions(LPCTSTR bus, LPCTSTR diffPair) {
    const int b = bus ? std::atoi(bus) : 0;
    const int d = diffPair ? std::atoi(diffPair) : 0;
    CString text;
    text.Format("setViewOption pin %s %s", b ? "bus_on" : "bus_off", d ? "dp_on" : "dp_off");
    SendHostText(text);
}

void CKXBottomPaneContainerView::AutoRemoveDiffPairPin() {
    OnRemoveDiffPairPin();
}
