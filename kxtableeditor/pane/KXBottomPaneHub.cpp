// What the design window's frame hands the connectivity pane from the host: highlight requests, find-all
// hits, clipboard-viewer pastes and renamed pins whose comments follow them.
#include "pane/KXBottomPaneContainerView.h"

#include "grid/KXEditResult.h"
#include "grid/KXGridScopes.h"
#include "grid/KXGridUndo.h"
#include "grid/KXJournalLine.h"
#include "physgrids/KXPhysPartDetailsGridWnd.h"
#include "pingrid/KXPinGrid.h"

#include "kxcommon/KXHiliteObject.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXListPanes.h"
#include "rmx/schema.h"
#include "rmx/schemautil.h"
#include "rmx/server.h"

namespace {
// The hierarchical path of the instance that owns the pin a canonical path names ("lib.c:v@X1@U3.D<2>" ->
// "@X1@U3"); empty when the path names no pin or pair pin of the design.
CString PinOwnerPath(const CDesignContext& design, const CString& cpath) {
    IServer* server = design.server();
    ISchemaObject* object = server ? server->findObject(cpath.GetString()) : nullptr;
    if (!object || (object->objectType() != 'T' && object->objectType() != 'R')) return CString();
    const int at = cpath.Find('@');
    if (at < 0) return CString();
    CString path = cpath.Mid(at);
    const int lastAt = path.ReverseFind('@');
    for (int i = lastAt; i < path.GetLength(); ++i)
        if (path[i] == '.' || path[i] == '%') return path.Left(i);
    return CString();
}
} // namespace

void CKXBottomPaneContainerView::HighlightObject(CKXHiliteObject* object) {
    if (!object || !GetDocument()) return;
    const CString path = PinOwnerPath(PaneDesign(), object->GetObjectPath());
    auto* panes = dynamic_cast<CKXInstancePaneContainerView*>(m_pInstancePane);
    if (path.IsEmpty() || !panes) return;
    const bool physical = GetViewMode() == 4;
    CKXListPaneGrid* list = physical ? static_cast<CKXListPaneGrid*>(panes->GetPhysPartGrid())
                                     : static_cast<CKXListPaneGrid*>(panes->GetInstancePaneGrid());
    list->RemoveSelection();
    list->SelectObject(path, TRUE);
    CKXGridWnd* grid = GetActiveGrid();
    if (!grid) return;
    kxgrid::GridWriteScope quiet(*grid, kxgrid::GridWriteScope::kUndo);
    if (physical) {
        if (CKXPhysPartDetailsGridWnd* part = PhysPartGridOf(grid)) part->ApplyHilite(object);
    } else if (IKXPinGrid* pins = PinGridOf(grid)) {
        pins->HighlightObject(object);
    }
}

BOOL CKXBottomPaneContainerView::SelectFindAllResult(CWnd* grid, int row, int col) {
    CKXGridWnd* active = GetActiveGrid();
    if (!active || grid != active || row < 0 || col < 0) return FALSE;
    if (static_cast<ROWCOL>(row) > active->GetRowCount() || static_cast<ROWCOL>(col) > active->GetColCount())
        return FALSE;
    kxgrid::GridWriteScope quiet(*active, kxgrid::GridWriteScope::kUndo);
    return active->SetCurrentCell(static_cast<ROWCOL>(row), static_cast<ROWCOL>(col), 10);
}

BOOL CKXBottomPaneContainerView::PasteFromClipboardViewer(WPARAM wParam, LPARAM lParam) {
    CKXGridWnd* grid = GetActiveGrid();
    return grid && grid->PasteFromClipboardViewer(static_cast<int>(wParam), static_cast<int>(lParam));
}

// The move is the design's comments changing, whether or not a grid shows the pin: one undo step
// (with the flag) and one journal line, which a replay makes again through the method of the same name.
BOOL CKXBottomPaneContainerView::PreservePinComment(const CString& oldInst, const CString& oldPin,
                                                    const CString& newInst, const CString& newPin, LPARAM flag) {
    // A window that may not edit the design moves none of its comments either.
    if (!IsEditable()) {
        KXRefuseReadOnlyWindow();
        return FALSE;
    }
    // The comment goes to a component's name (the host's rename gives it): a text that no component can
    // have would hold it where none shows it.
    if (!CSchemaUtilities::isValidName(newInst.GetString())) {
        CKXErrorHandler::MessageBoxOk("KXPANE-562", oldInst.GetString(), newInst.GetString());
        return FALSE;
    }
    std::unique_ptr<CKXPinCommentMoveCmd> undo =
        CKXPinCommentMoveCmd::Move(*this, {oldInst, oldPin}, {newInst, newPin});
    if (!undo) return FALSE;
    if (flag) AddUndoCommand(nullptr, undo.release(), gxDo, 0);
    else ForgetRedoSteps();
    KXJournalLines(DocumentJournalHandle())
        .Comment(kKXMoveCommentStep)
        .Pane("PreservePinComment", {oldInst, oldPin, newInst, newPin, CString(flag ? "1" : "0")})
        .End()
        .Write();
    return TRUE;
}

// Every pin grid the pane keeps, shown or remembered for a later show, follows the store.
void CKXBottomPaneContainerView::PinCommentsChanged() {
    for (const auto& grid : m_grids)
        if (IKXPinGrid* pins = PinGridOf(grid.get())) pins->RefreshCommentCells();
}

BOOL CKXBottomPaneContainerView::AutoPreservePinComment(LPCTSTR oldInst, LPCTSTR oldPin, LPCTSTR newInst,
                                                        LPCTSTR newPin, LPCTSTR undo) {
    const KXShownMark mark;
    const CString from = CString(oldInst ? oldInst : "") + "." + (oldPin ? oldPin : "");
    const BOOL moved = PreservePinComment(oldInst ? oldInst : "", oldPin ? oldPin : "", newInst ? newInst : "",
                                          newPin ? newPin : "", CString(undo ? undo : "") == "1");
    return KXEditResult::Of(moved, "KXPANE-481", from).AnswerBool(mark);
}
