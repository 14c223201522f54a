// Pasting the clipboard into the grids the connectivity pane shows: the script word paste (which the
// Paste and Paste Special menu commands reach through the host) and the automation method Paste.
#include "pane/KXBottomPaneContainerView.h"
#include "grid/KXGridEdit.h"

#include "shell/KXShellUtil.h"
#include "pingrid/KXPinGrid.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"

#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/TclArgs.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"

#include <algorithm>
#include <vector>

namespace {
constexpr int kMostPasteColumns = 9;
} // namespace

BOOL CKXBottomPaneContainerView::PasteIntoShownGrids(BOOL bPasteSpecial) {
    CKXGridWnd* core = PaneGrid();
    CKXGridEdit::DiscardWaiting(); // an edit held open for another command does not take this one in
    const BOOL owner = !CKXTransaction::IsTransactionStarted();
    if (owner) {
        if (!core || !CKXTransaction::BeginTrans(core, PaneMasterDesign(), "Paste Connections")) return FALSE;
        EmptyTransactionNetMap();
    }
    // The grids' journal lines are written once the whole paste is in. A signal grid and the matrix
    // write the lines into their rows ahead of the commit: a paste that does not commit puts them back.
    std::vector<std::pair<CKXGridWnd*, CKXGridWnd::KXKeptRows>> keptRows;
    for (CKXGridWnd* grid : m_shownGrids) {
        if (IKXPinGrid* pin = PinGridOf(grid)) pin->HoldJournal();
        if (owner) keptRows.emplace_back(grid, grid->KeepDataRows());
    }
    // Where the user chose a cell in some grid, a grid with only the cell it placed for itself when it
    // was shown takes no part of the paste.
    const auto chosen = [](CKXGridWnd* grid) { return grid->IsCellOfTheUser() || grid->HasSelectionOfTheUser(); };
    const bool anyChosen = std::any_of(m_shownGrids.begin(), m_shownGrids.end(), chosen);
    BOOL pasted = FALSE, refused = FALSE;
    for (CKXGridWnd* grid : m_shownGrids) {
        ROWCOL row = GX_INVALID, col = GX_INVALID;
        if (!grid->GetCurrentCell(row, col)) continue; // nothing to paste onto
        if (anyChosen && !chosen(grid)) continue;
        CString text; // empty: the grid prepares the clipboard's data itself
        if (!grid->Paste(text, bPasteSpecial)) {
            refused = TRUE;
            break;
        }
        pasted = TRUE;
    }
    // One paste is one edit: a grid that refused its part takes the others' parts with it.
    BOOL committed = pasted && !refused;
    for (CKXGridWnd* grid : m_shownGrids)
        if (PinGridOf(grid)) grid->m_bCommitting = 1;
    if (owner) {
        m_bCommitting = TRUE;
        if (committed) committed = CKXTransaction::CommitTrans(core, 1, 1);
        else CKXTransaction::DiscardTrans(core);
        m_bCommitting = FALSE;
        EmptyTransactionNetMap();
    }
    std::vector<IKXPinGrid*> pins;
    for (CKXGridWnd* grid : m_shownGrids)
        if (IKXPinGrid* pin = PinGridOf(grid)) {
            grid->m_bCommitting = 0;
            pins.push_back(pin);
        }
    WriteHeldJournalsAsOneStep(pins, committed);
    if (!committed) {
        for (auto& [grid, rows] : keptRows) grid->PutBackDataRows(rows);
        // The pin grids wrote their cells ahead of the commit too (a connect, a dropped termination): when
        // the database refused or a grid refused its part, they show the design again.
        if (owner && pasted)
            for (IKXPinGrid* pin : pins) pin->Grid().ShowDesignAfterRefusal();
    }
    return committed;
}

BOOL CKXBottomPaneContainerView::PasteSpecialIntoShownGrids(BOOL bPasteSpecial) {
    CKXImpClipBoard::SetPasteSpecial();
    if (GetViewMode() == eOpenModePhysical) return FALSE;
    return PasteIntoShownGrids(bPasteSpecial);
}

KXEditResult CKXBottomPaneContainerView::PasteTargetRefusal() const {
    if (!IsEditable()) return KXEditResult::Refused(kKXReadOnlyWindow);
    // The physical view pastes nothing; of the logical grids, the pin grids, the signal grids and the
    // matrix take pastes.
    if (GetViewMode() == eOpenModePhysical) return KXEditResult::Refused("KXPANE-178");
    CKXGridWnd* grid = GetActiveGrid();
    if (!grid || !(PinGridOf(grid) || SignalGridOf(grid) || MatrixGridOf(grid))) return NoGridOfKind();
    return KXEditResult::Done();
}

KXEditResult CKXBottomPaneContainerView::PasteRefusal(bool special) const {
    if (const KXEditResult refusal = PasteTargetRefusal(); refusal.IsRefusal()) return refusal;
    CKXGridWnd* grid = GetActiveGrid();
    if (special ? grid->CanPasteSpecial() : grid->CanPaste()) return KXEditResult::Done();
    // Why the grid takes nothing: nothing copied, no cell to take it (the cell a grid places for itself
    // when the method's road activates it is none the user chose), or what the grid can say of its cell.
    if (CKXImpClipBoard::GetObjectType(1) == KX_CLIP_NONE)
        return KXEditResult::Nothing(KXCause::kNothingCopied);
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!grid->GetCurrentCell(row, col) || !grid->IsCellOfTheUser())
        return KXEditResult::Refused(KXCause::kNoTargetCell);
    return special ? KXEditResult::Nothing(KXCause::kNothingCopied) : grid->WhyNoPaste();
}

KXEditResult CKXBottomPaneContainerView::OnTclPaste(CTclArgsList* args, long) {
    const int count = args ? args->GetTotalArgCount() : 0;
    if (count > kMostPasteColumns) return BadOperands();
    CStringArray columns;
    bool special = false;
    for (int i = 0; i < count; ++i) {
        CTclArgs* arg = args->GetArg(i);
        const CString value = arg && arg->GetArgCount() > 0 ? arg->GetValue(0) : CString();
        if (value.IsEmpty()) return BadOperands();
        if (KXIsHelpArg(value)) return Help();
        if (count == 1 && (value.CompareNoCase("sp") == 0 || value.CompareNoCase("special") == 0)) {
            special = true;
            break;
        }
        columns.Add(value);
    }
    if (!args) return BadOperands();
    if (const KXEditResult refusal = PasteRefusal(count != 0); refusal.IsRefusal()) return refusal;
    if (count == 0) {
        const KXShownMark mark;
        const BOOL pasted = PasteIntoShownGrids(FALSE);
        // The overwrite question answered No, or a question or dialog of the connect it made (the bits to
        // take, the pair net to replace) cancelled: the paste stopped there, changing nothing.
        if (!pasted && (mark.QuestionDeclinedSince("KXTABLE-139") || mark.DialogCancelledSince()))
            return KXEditResult::Dialog();
        return KXEditResult::Of(pasted, "KXTABLE-230", CString());
    }
    if (!special) {
        CKXImpClipBoard::m_TclPasteSpecialArray.RemoveAll();
        for (INT_PTR i = 0; i < columns.GetSize(); ++i) CKXImpClipBoard::m_TclPasteSpecialArray.Add(columns[i]);
    }
    const KXEditResult pasted = KXEditResult::Of(PasteSpecialIntoShownGrids(special ? FALSE : TRUE), "KXTABLE-230",
                                                 CString());
    if (!pasted.IsDone() || !special) return pasted;
    return KXEditResult::Done(KXAnswerTwo::PasteSpecial);
}
