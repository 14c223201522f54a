// The connectivity pane as an automation object: the methods a journal replays.
// Most act on the active grid after checking its class, or hand a script line to
// the host so that the pane's own script command runs (and is logged there).
#include "pane/KXBottomPaneContainerView.h"
#include "grid/KXRefusalCauses.h"
#include "grid/KXClipboardText.h"
#include "grid/KXGridUndo.h"
#include "grid/KXScriptWords.h"

#include "physgrids/KXPhysNetDetailsGridWnd.h"
#include "physgrids/KXPhysPartDetailsGridWnd.h"
#include "matrix/KXMatrixGridWnd.h"
#include "pingrid/KXPinGrid.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "shell/KXShellUtil.h"

#include "kxcommon/TclArgs.h"
#include "kxcommon/KXGenUtils.h"
#include "kxerrorhandler/KXErrorHandler.h"

#include <algorithm>
#include <cstdlib>

// The methods in their dispatch-id order (the first has id 1).
BEGIN_DISPATCH_MAP(CKXBottomPaneContainerView, CView)
DISP_FUNCTION(CKXBottomPaneContainerView, "Dump", Dump, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "ExpandAllPins", AutoExpandAllPins, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "Delete", AutoDelete, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "Copy", AutoCopy, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "Paste", AutoPaste, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "AddTermination", AutoAddTermination, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "InitTermination", AutoInitTermination, VT_DISPATCH, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "CtrSelectTerminationCol", CtrSelectTerminationCol, VT_BOOL,
              VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "SwapPins", AutoSwapPins, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "AssignPinNumber", AssignPinNumber, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "SelectInstanceCol", SelectInstanceCol, VT_BOOL, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "SelectPinNameCol", SelectPinNameCol, VT_BOOL,
              VTS_BSTR VTS_VARIANT)
DISP_FUNCTION(CKXBottomPaneContainerView, "CtrSelectPinNameCol", CtrSelectPinNameCol, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "AddConnection", AutoAddConnection, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "InitPUPD", AutoInitPUPD, VT_DISPATCH, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "AddPUPD", AddPUPD, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "AssignConnectivity", AutoAssignConnectivity, VT_BOOL,
              VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "AttachSignal", AutoAttachSignal, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "AssignModel", AutoAssignModel, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "RemoveModel", AutoRemoveModel, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "SelectTerminationCol", SelectTerminationCol, VT_BOOL,
              VTS_BSTR VTS_VARIANT)
DISP_FUNCTION(CKXBottomPaneContainerView, "SelectSignalCol", SelectSignalCol, VT_BOOL, VTS_BSTR VTS_VARIANT)
DISP_FUNCTION(CKXBottomPaneContainerView, "SelectPinNumberCol", SelectPinNumberCol, VT_BOOL,
              VTS_BSTR VTS_VARIANT)
DISP_FUNCTION(CKXBottomPaneContainerView, "SelectPUPDCol", SelectPUPDCol, VT_BOOL, VTS_BSTR VTS_VARIANT)
DISP_FUNCTION(CKXBottomPaneContainerView, "SelectFirstSignalCol", SelectFirstSignalCol, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "SelectNextSignalCol", SelectNextSignalCol, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "InsertComment", AutoInsertComment, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "EditComment", AutoEditComment, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "DeleteComment", AutoDeleteComment, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "ChangeDelay", ChangeDelay, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "DeletePUPD", DeletePUPD, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "FilterRows", AutoFilterRows, VT_BOOL, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "Sort", Sort, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "ChangePropValue", AutoChangePropValue, VT_BOOL, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "CtrSelect", AutoCtrSelect, VT_BOOL, VTS_VARIANT VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "SetViewOptions", AutoSetViewOptions, VT_BOOL, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "RemoveDiffPairPin", RemoveDiffPairPin, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CKXBottomPaneContainerView, "RenameConnection", AutoRenameConnection, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "EditTermination", AutoEditTermination, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "OpenMatrixView", AutoOpenMatrixView, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "RemoveMatrixView", AutoRemoveMatrixView, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "SaveAsMatrixView", AutoSaveAsMatrixView, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "CreateMatrixView", AutoCreateMatrixView, VT_BOOL,
              VTS_BSTR VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "EditMatrixView", AutoEditMatrixView, VT_BOOL,
              VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "MatrixConnect", AutoMatrixConnect, VT_BOOL,
              VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "MatrixAdd", AutoMatrixAdd, VT_BOOL, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "MatrixSelect", AutoMatrixSelect, VT_BOOL,
              VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "MatrixSelectRow", AutoMatrixSelectRow, VT_BOOL,
              VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "MatrixAddPupd", AutoMatrixAddPupd, VT_BOOL,
              VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "MatrixDeletePupd", AutoMatrixDeletePupd, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "MatrixPasteAssoc", AutoMatrixPasteAssoc, VT_BOOL,
              VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "MatrixAddTermination", AutoMatrixAddTermination, VT_BOOL,
              VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "EditPUPD", AutoEditPUPD, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "RetainPUPD", AutoRetainPUPD, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "RetainTermination", AutoRetainTermination, VT_BOOL, VTS_BSTR)
// Methods added later come last, so that the dispatch ids of the others stay as clients know them.
DISP_FUNCTION(CKXBottomPaneContainerView, "PastePUPD", AutoPastePUPD, VT_BOOL, VTS_BSTR VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "PreservePinComment", AutoPreservePinComment, VT_BOOL,
              VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "AddPropColumn", AutoAddPropColumn, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "TypeSignal", AutoTypeSignal, VT_BOOL, VTS_BSTR)
DISP_FUNCTION(CKXBottomPaneContainerView, "ChooseVectorBits", AutoChooseVectorBits, VT_BOOL, VTS_BSTR)
// New methods come last: an automation client's dispatch ids stay as they were.
DISP_FUNCTION(CKXBottomPaneContainerView, "SortByHeader", SortByHeader, VT_BOOL, VTS_BSTR)
END_DISPATCH_MAP()

namespace {

// Every text that goes into a script line is quoted for Tcl, so quotes, brackets and dollars
// in it stay text.
CString Quoted(LPCTSTR text) {
    return KXTclQuote(text ? text : "");
}

} // namespace

IKXPinGrid* CKXBottomPaneContainerView::ActivePinGrid() const {
    return PinGridOf(GetActiveGrid());
}

// The refusal of a command the active grid's kind does not take; with no grid shown, that says so.
KXEditResult CKXBottomPaneContainerView::NoGridOfKind() const {
    if (CKXGridWnd* active = GetActiveGrid())
        return KXEditResult::Refused("KXPANE-496", KXGridKindName(active->Kind()));
    return KXEditResult::Refused("KXPANE-246");
}

BOOL CKXBottomPaneContainerView::Dump(LPCTSTR file) {
    CString path = file ? file : "";
    path.Replace("\\", "/");
    return AnswerHostWord(KXScriptWord::dumpGrid, " pin " + Quoted(path));
}

BOOL CKXBottomPaneContainerView::AutoExpandAllPins() {
    return AnswerHostWord(KXScriptWord::expandPins, " pin on");
}

BOOL CKXBottomPaneContainerView::AutoDelete() {
    const KXShownMark mark;
    return DeleteSelected().AnswerBool(mark);
}

// The checks every road to Delete passes first (the word deleteConnection, the method Delete, menu
// 35264 and the Delete key), in one order: a window that may not edit, a pane that shows no grid,
// a grid with nothing the user selected, a matrix cell with nothing of its column's to delete (its
// grid names what is missing). A cell the grid made current of itself (on activation) is no
// selection. Done() when the delete may go on.
KXEditResult CKXBottomPaneContainerView::DeleteRefusal() {
    if (!IsEditable()) return KXEditResult::Refused(KXCause::kReadOnlyWindow);
    CKXGridWnd* active = GetActiveGrid();
    if (!active) return KXEditResult::Refused(KXCause::kNoGrid);
    if (!active->HasSelectionOfTheUser()) {
        const bool physical = ActivePhysPartGrid() || ActivePhysNetGrid();
        return KXEditResult::Refused(physical ? "KXPANE-484" : KXCause::kNothingSelected);
    }
    // A matrix cell with nothing to delete sends no delete word and leaves the grid as the user arranged it.
    if (CKXMatrixGridWnd* matrix = ActiveMatrixGrid(); matrix && !matrix->CanDelete())
        return KXEditResult::Refused(matrix->NothingToDeleteCause());
    return KXEditResult::Done();
}

// The Delete of the method, the menu and the key: what the active grid's Delete takes off the
// selected rows (the physical grids: their models; a signal grid: its rows' connections; the pin
// grids and the matrix: what the current cell's column names).
KXEditResult CKXBottomPaneContainerView::DeleteSelected() {
    if (const KXEditResult refused = DeleteRefusal(); !refused.IsDone()) return refused;
    CKXGridWnd* physical = ActivePhysPartGrid();
    if (!physical) physical = ActivePhysNetGrid();
    if (physical) return KXEditResult::Of(physical->CanDelete() && physical->DeleteSelection(), "KXPANE-484");
    if (CKXSignalDetailsGridWnd* signal = ActiveSignalGrid()) {
        if (!signal->CanDelete()) return KXEditResult::Refused("KXTABLE-272");
        return KXEditResult::Of(signal->DeleteSelection(), "KXTABLE-346");
    }
    if (!ActivePinGrid() && !ActiveMatrixGrid()) return NoGridOfKind();
    // Pin grids whose chosen rows have nothing of the current column's to take off send no delete word.
    if (ActivePinGrid() && std::none_of(m_shownGrids.begin(), m_shownGrids.end(), [](CKXGridWnd* g) {
            return g->HasSelectionOfTheUser() && g->CanDelete();
        }))
        return KXEditResult::Refused(GetActiveGrid()->NothingToDeleteCause());
    return KXEditResult::Of(DeleteInShownGrids(), "KXTABLE-272");
}

BOOL CKXBottomPaneContainerView::AutoCopy() {
    const KXShownMark mark;
    return CopyInActiveGrid().AnswerBool(mark);
}

// The active grid's own copy, as the menu and Ctrl+C make it: done when it put something on the
// clipboard.
KXEditResult CKXBottomPaneContainerView::CopyInActiveGrid() {
    CKXGridWnd* grid = GetActiveGrid();
    if (!grid) return KXEditResult::Refused("KXPANE-246");
    return CopyFrom(*grid);
}

// A grid's copy: done when it put something on the clipboard. It copies what the user chose: a grid
// the user has not been in (its current cell is where activation put it, as a method's or a key's
// road activates it) has nothing to copy.
KXEditResult CKXBottomPaneContainerView::CopyFrom(CKXGridWnd& grid) {
    // In a cell being edited with text selected the copy is the edit's: that text, nothing of the rows.
    // With only the caret there the copy is the rows', as outside the edit.
    CString selected;
    if (CGXControl* control = grid.GetCurrentCellControl();
        control && control->IsActive() && control->GetSelectedText(selected) && !selected.IsEmpty()) {
        const DWORD before = GetClipboardSequenceNumber();
        if (IKXPinGrid* pins = PinGridOf(&grid))
            pins->CopySelection();
        else
            KXCopyActiveEditorSelection(grid);
        return KXEditResult::Of(GetClipboardSequenceNumber() != before, "KXPANE-483");
    }
    if (!grid.CanCopy() || !(grid.IsCellOfTheUser() || grid.HasSelectionOfTheUser()))
        return KXEditResult::Refused("KXPANE-483");
    const DWORD before = GetClipboardSequenceNumber();
    grid.OnEditCopy();
    return KXEditResult::Of(GetClipboardSequenceNumber() != before, "KXPANE-483");
}

BOOL CKXBottomPaneContainerView::CtrSelectTerminationCol(LPCTSTR pinArg) {
    return CtrSelectColumn(pinArg, "Termination");
}

BOOL CKXBottomPaneContainerView::AutoSwapPins(LPCTSTR pinNumberArg) {
    const KXShownMark mark;
    const CString pinNumber = pinNumberArg ? pinNumberArg : "";
    CKXGridWnd* grid = ActivePhysPartGrid();
    if (!grid)
        if (IKXPinGrid* pin = ActivePinGrid()) grid = &pin->Grid();
    if (!grid) return NoGridOfKind().AnswerBool(mark);
    if (!CKXGenUtils::IsSwapPinsAllowed()) return KXEditResult::Refused("KXPANE-498").AnswerBool(mark);
    return KXEditResult::Of(grid->SwapPins(1, pinNumber), "KXPANE-247", pinNumber).AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::CtrSelectPinNameCol(LPCTSTR pinArg) {
    return CtrSelectColumn(pinArg, "PinName");
}

// The Ctrl-selections add the pin's row to what is selected: moving the current cell there drops the
// selection, which then comes back.
BOOL CKXBottomPaneContainerView::CtrSelectColumn(LPCTSTR pinArg, const char* columnKey) {
    const KXShownMark mark;
    const CString pin = pinArg ? pinArg : "";
    IKXPinGrid* grid = ActivePinGrid();
    if (!grid) return NoGridOfKind().AnswerBool(mark);
    CGXGridParam* param = grid->Grid().GetParam();
    const CGXRangeList before = param ? *param->GetRangeList() : CGXRangeList();
    const BOOL found = grid->SelectColumnByName(pin, columnKey);
    for (POSITION pos = before.GetHeadPosition(); pos;)
        grid->Grid().SelectRange(*before.GetNext(pos), TRUE, TRUE);
    return found ? TRUE : KXEditResult::Refused("KXPANE-247", pin).AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::AutoAssignModel(LPCTSTR modelArg) {
    // A journal replays the committing half: the selection lines before it chose the pins.
    const KXShownMark mark;
    const CString model = modelArg ? modelArg : "";
    CKXGridWnd* grid = GetActiveGrid();
    if (!grid) return KXEditResult::Refused("KXPANE-246").AnswerBool(mark);
    // The pins the user (or the journal's selection lines) chose: none is no pin to give the model.
    if (!grid->HasSelectionOfTheUser()) return KXEditResult::Refused(KXCause::kNoModelPinChosen).AnswerBool(mark);
    CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid();
    const BOOL done = part ? part->CommitAssignModel(model) : grid->AssignModel(1, model);
    return KXEditResult::Of(done, "KXTABLE-184").AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::AutoRemoveModel() {
    const KXShownMark mark;
    CKXGridWnd* grid = GetActiveGrid();
    if (!grid) return KXEditResult::Refused("KXPANE-246").AnswerBool(mark);
    // The matrix answers for its own cells, as its word does.
    if (!ActiveMatrixGrid() && !grid->HasSelectionOfTheUser())
        return KXEditResult::Refused(KXCause::kNoModelPinChosenToRemove).AnswerBool(mark);
    CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid();
    // A method has no interactive half: the pin grid commits at once, as the word does.
    IKXPinGrid* pin = ActivePinGrid();
    const BOOL done = part ? part->CommitRemoveModel() : pin ? pin->CommitRemoveModel() : grid->RemoveModel();
    return KXEditResult::Of(done, kKXNoModelRemoved).AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::SelectFirstSignalCol() {
    const KXShownMark mark;
    IKXPinGrid* grid = ActivePinGrid();
    if (!grid) return NoGridOfKind().AnswerBool(mark);
    return KXEditResult::Of(grid->SelectFirstSignalCell(), "KXPANE-270").AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::SelectNextSignalCol() {
    const KXShownMark mark;
    IKXPinGrid* grid = ActivePinGrid();
    if (!grid) return NoGridOfKind().AnswerBool(mark);
    return KXEditResult::Of(grid->SelectNextSignalCell(), "KXPANE-485").AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::AutoInsertComment(LPCTSTR text) {
    return AnswerHostWord(KXScriptWord::addComment, " pin " + Quoted(text));
}

BOOL CKXBottomPaneContainerView::AutoEditComment(LPCTSTR text) {
    return AnswerHostWord(KXScriptWord::modifyComment, " pin " + Quoted(text));
}

BOOL CKXBottomPaneContainerView::AutoDeleteComment() {
    return AnswerHostWord(KXScriptWord::deleteComment, " pin");
}

BOOL CKXBottomPaneContainerView::AutoFilterRows(LPCTSTR column, LPCTSTR filter) {
    const CString col = column ? column : "";
    const CString columnOperand = col.IsEmpty() ? CString() : " -col " + Quoted(col);
    return AnswerHostWord(KXScriptWord::filterRows, " pin" + columnOperand + " -filter " + Quoted(filter));
}

BOOL CKXBottomPaneContainerView::Sort(LPCTSTR column) {
    return AnswerHostWord(KXScriptWord::sort, " pin " + Quoted(column));
}

// The sort a click on the column's header makes (the journal's form of it): a step of the window's history.
BOOL CKXBottomPaneContainerView::SortByHeader(LPCTSTR column) {
    CKXGridWnd* grid = GetActiveGrid();
    if (!grid) return KXEditResult::Refused(KXCause::kNoGrid).AnswerBool(KXShownMark());
    std::unique_ptr<CKXSortUndoCmd> step = SortStepOf(*grid);
    BOOL done = FALSE;
    {
        const CKXGridWnd::SortStepScope recorded;
        done = Sort(column);
    }
    if (done && IsLiveGrid(grid)) AddUndoCommand(grid, step.release(), gxDo, 0);
    return done;
}

BOOL CKXBottomPaneContainerView::AutoSetViewOptions(LPCTSTR bus, LPCTSTR diffPair) {
    const int b = bus ? std::atoi(bus) : 0;
    const int d = diffPair ? std::atoi(diffPair) : 0;
    CString operands;
    operands.Format(" pin %s %s", b ? "bus_on" : "bus_off", d ? "dp_on" : "dp_off");
    return AnswerHostWord(KXScriptWord::setViewOption, operands);
}

BOOL CKXBottomPaneContainerView::RemoveDiffPairPin() {
    return AnswerHostWord(KXScriptWord::removeDiffPairPin, " pin");
}

// ------------------------------------------------------------------ selecting a pin's cell

namespace {

// The row argument of the Select...Col methods: "-1" when the caller left it out.
CString RowArgument(const VARIANT& row) {
    if (row.vt == VT_ERROR || row.vt == VT_EMPTY) return "-1";
    return AfxVariantToString(&row);
}

} // namespace

// A key that names no row of the active grid leaves nothing selected there, so that the call that
// follows (a Delete on replay) acts on nothing rather than on the row selected before; it answers 0.
BOOL CKXBottomPaneContainerView::SelectPinCellInActiveGrid(const char* columnKey, LPCTSTR pin,
                                                           const VARIANT& row) {
    const KXShownMark mark;
    const CString key = pin ? pin : "";
    if (CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid()) {
        if (!part->SelectPinCell(key, columnKey, RowArgument(row)))
            return KXEditResult::Refused("KXPANE-247", key).AnswerBool(mark);
        part->CrossSelectInHost();
        part->NotifySelectionChanged();
        return TRUE;
    }
    if (CKXPhysNetDetailsGridWnd* net = ActivePhysNetGrid()) {
        if (!net->SelectPinCell(key, RowArgument(row)))
            return KXEditResult::Refused("KXPANE-247", key).AnswerBool(mark);
        net->CrossSelectInHost();
        net->NotifySelectionChanged();
        return TRUE;
    }
    IKXPinGrid* grid = ActivePinGrid();
    if (!grid) {
        if (CKXGridWnd* other = GetActiveGrid()) other->ClearSelection();
        return NoGridOfKind().AnswerBool(mark);
    }
    if (!grid->SelectPinCell(columnKey, key, RowArgument(row))) {
        grid->Grid().ClearSelection();
        return KXEditResult::Refused("KXPANE-247", key).AnswerBool(mark);
    }
    grid->Grid().CrossSelectInHost();
    grid->Grid().NotifySelectionChanged();
    return TRUE;
}

// A signal grid names the row by its instance and pin number, as SelectInstanceCol does.
BOOL CKXBottomPaneContainerView::SelectSignalGridPinCell(CKXSignalDetailsGridWnd& grid, const char* columnKey,
                                                         LPCTSTR instanceArg, const VARIANT& row) {
    const KXShownMark mark;
    const CString instance = instanceArg ? instanceArg : "";
    if (grid.SelectPinCell(columnKey, instance, RowArgument(row))) return TRUE;
    grid.ClearSelection();
    return KXEditResult::Refused("KXPANE-247", instance + "." + RowArgument(row)).AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::SelectPinNameCol(LPCTSTR pin, const VARIANT& row) {
    if (CKXSignalDetailsGridWnd* grid = ActiveSignalGrid()) {
        if (!SelectSignalGridPinCell(*grid, "pinname", pin, row)) return FALSE;
        grid->CrossSelectInHost();
        return TRUE;
    }
    return SelectPinCellInActiveGrid("pinname", pin, row);
}

BOOL CKXBottomPaneContainerView::SelectTerminationCol(LPCTSTR pin, const VARIANT& row) {
    if (CKXSignalDetailsGridWnd* grid = ActiveSignalGrid())
        return SelectSignalGridPinCell(*grid, "Termination", pin, row);
    return SelectPinCellInActiveGrid("Termination", pin, row);
}

BOOL CKXBottomPaneContainerView::SelectSignalCol(LPCTSTR pin, const VARIANT& row) {
    // In the physical view only a part grid has a Signal column; a net grid's rows are the signal's pins.
    if (GetViewMode() == eOpenModePhysical && !ActivePhysPartGrid()) {
        const KXShownMark mark;
        if (CKXGridWnd* other = GetActiveGrid()) other->ClearSelection();
        return KXEditResult::Refused("KXPANE-247", CString(pin ? pin : "")).AnswerBool(mark);
    }
    return SelectPinCellInActiveGrid("Signal", pin, row);
}

BOOL CKXBottomPaneContainerView::SelectPinNumberCol(LPCTSTR pin, const VARIANT& row) {
    return SelectPinCellInActiveGrid("pinnumber", pin, row);
}

BOOL CKXBottomPaneContainerView::SelectPUPDCol(LPCTSTR pin, const VARIANT& row) {
    return SelectPinCellInActiveGrid("pupd", pin, row);
}

BOOL CKXBottomPaneContainerView::SelectInstanceCol(LPCTSTR instanceArg, LPCTSTR pinNumberArg) {
    // A signal grid's instance column, or the physical net grid's part (Ref Des) column; elsewhere
    // nothing is selected.
    const KXShownMark mark;
    const CString instance = instanceArg ? instanceArg : "", pinNumber = pinNumberArg ? pinNumberArg : "";
    if (CKXPhysNetDetailsGridWnd* net = ActivePhysNetGrid()) {
        if (!net->SelectPartPin(instance, pinNumber))
            return KXEditResult::Refused("KXPANE-247", instance + "." + pinNumber).AnswerBool(mark);
        net->CrossSelectInHost();
        net->NotifySelectionChanged();
        return TRUE;
    }
    CKXSignalDetailsGridWnd* grid = ActiveSignalGrid();
    if (grid && grid->SelectInstanceRow(instance, pinNumber)) return TRUE;
    if (grid)
        grid->ClearSelection();
    else if (CKXGridWnd* other = GetActiveGrid())
        other->ClearSelection();
    return KXEditResult::Refused("KXPANE-247", instance + "." + pinNumber).AnswerBool(mark);
}

// ------------------------------------------------------------------ property values and selections

BOOL CKXBottomPaneContainerView::AutoChangePropValue(LPCTSTR property, LPCTSTR value) {
    const KXShownMark mark;
    return ChangePropValue(property ? property : "", value ? value : "").AnswerBool(mark);
}

// The active grid's kind gains the property column the entry describes, unless it has one of that key.
BOOL CKXBottomPaneContainerView::AutoAddPropColumn(LPCTSTR entry) {
    const KXShownMark mark;
    CKXGridWnd* grid = GetActiveGrid();
    if (!grid) return KXEditResult::Refused("KXPANE-246").AnswerBool(mark);
    const int added = grid->AddPropertyColumn(entry ? entry : "");
    return KXEditResult::Of(added >= 0, "KXPANE-178").AnswerBool(mark);
}

// A property column's value written into the selected rows (on a signal grid also a typed column).
KXEditResult CKXBottomPaneContainerView::ChangePropValue(const CString& property, const CString& value) {
    if (GetViewMode() == eOpenModePhysical) return KXEditResult::Refused("KXPANE-178");
    if (property.IsEmpty()) return KXEditResult::Refused("KXPANE-238");
    if (CKXSignalDetailsGridWnd* signal = ActiveSignalGrid())
        return KXEditResult::Of(signal->ChangePropValue(property, value), "KXTABLE-267");
    if (CKXMatrixGridWnd* matrix = ActiveMatrixGrid()) {
        CMapStringToString values;
        values.SetAt(property, value);
        return KXEditResult::Of(matrix->ChangeCustomColumnValue(values), "KXTABLE-267");
    }
    BOOL any = FALSE, pins = FALSE, known = FALSE;
    for (CKXGridWnd* g : m_shownGrids)
        if (auto* pin = PinGridOf(g)) {
            pins = TRUE;
            if (!pin->CustomColumnKey(property).IsEmpty()) known = TRUE;
        }
    if (!pins) return NoGridOfKind();
    // A name that is no custom column of a shown pin grid is refused for what it is.
    if (!known) return KXEditResult::Refused("KXPANE-238");
    for (CKXGridWnd* g : m_shownGrids)
        if (auto* pin = PinGridOf(g); pin && pin->ChangePropValue(property, value)) any = TRUE;
    return KXEditResult::Of(any, "KXTABLE-267");
}

BOOL CKXBottomPaneContainerView::AutoCtrSelect(const VARIANT& list, LPCTSTR) {
    const KXShownMark mark;
    const VARIANT* v = &list;
    if (v->vt == (VT_VARIANT | VT_BYREF) && v->pvarVal) v = v->pvarVal;
    if (!(v->vt & VT_ARRAY) || !v->parray || SafeArrayGetDim(v->parray) != 1)
        return KXEditResult::Refused(UsageOf(KXScriptWord::selectObject)).AnswerBool(mark);
    CString text;
    for (const CString& element : AfxSafeArrayToStrings(v->parray)) {
        CString words;
        int start = 0;
        for (;;) {
            const int colon = element.Find(':', start);
            const CString word = colon < 0 ? element.Mid(start) : element.Mid(start, colon - start);
            words += (words.IsEmpty() ? "" : " ") + CTclArgsList::QuoteTclWord(word);
            if (colon < 0) break;
            start = colon + 1;
        }
        text += "[list " + words + "] ";
    }
    text.TrimRight();
    if (text.IsEmpty()) return KXEditResult::Refused(UsageOf(KXScriptWord::selectObject)).AnswerBool(mark);
    return HostWord(KXScriptWord::selectObject, " pin " + text).AnswerBool(mark);
}

// ------------------------------------------------------------------ editing roads not in this pane

// Methods whose edits belong to the connection, termination and pull-up editing of the grids:
// until a grid offers them they refuse, with a message, rather than report work they did not do.
BOOL CKXBottomPaneContainerView::RefuseAutomation() const {
    CKXErrorHandler::MessageBoxOk("KXPANE-178");
    return FALSE;
}

// The paste word of the pane, into the active pin grid or signal grid.
BOOL CKXBottomPaneContainerView::AutoPaste() {
    const KXShownMark mark;
    if (const KXEditResult refusal = PasteRefusal(false); refusal.IsRefusal()) return refusal.AnswerBool(mark);
    GetActiveGrid()->CrossSelectInHost();
    const KXEditResult pasted = HostWord(KXScriptWord::paste, " pin");
    // The overwrite question answered No stopped the paste before it pasted anything (the word's 2).
    if (pasted.GetKind() == KXEditResult::Kind::Dialog && mark.QuestionDeclinedSince("KXTABLE-139")) return FALSE;
    return pasted.AnswerBool(mark);
}

BOOL CKXBottomPaneContainerView::AssignPinNumber(LPCTSTR pinNumberArg) {
    const KXShownMark mark;
    const CString pinNumber = pinNumberArg ? pinNumberArg : "";
    CKXPhysPartDetailsGridWnd* part = ActivePhysPartGrid();
    IKXPinGrid* pin = part || GetViewMode() == eOpenModePhysical ? nullptr : ActivePinGrid();
    if (!part && !pin) return RefuseAutomation();
    const BOOL done =
        part ? part->OnAssignPinNumber(pinNumber) : pin->AssignPinNumberInHost(35546, TRUE, pinNumber);
    // Stopped at a question the user declined (2): nothing was assigned.
    return KXEditResult::Of(done == TRUE, "KXTABLE-197").AnswerBool(mark);
}
BOOL CKXBottomPaneContainerView::AutoAssignConnectivity(LPCTSTR instance, LPCTSTR pinNumber, LPCTSTR startBit,
                                                        LPCTSTR endBit) {
    const KXShownMark mark;
    CKXSignalDetailsGridWnd* grid = ActiveSignalGrid();
    if (!grid) return NoGridOfKind().AnswerBool(mark);
    const BOOL done = grid->AssignConnectivityByName(instance, pinNumber, startBit, endBit, "");
    const CString key = CString(instance ? instance : "") + "." + (pinNumber ? pinNumber : "");
    return KXEditResult::Of(done, "KXPANE-247", key).AnswerBool(mark);
}
