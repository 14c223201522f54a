#include "grid/KXGridUndo.h"
#include "grid/KXScriptText.h"

#include "grid/KXGridSite.h"
#include "grid/KXGridWnd.h"

#include "kxcommon/KXWinAPI.h"
#include "kxnotes/CComments.h"

#include <algorithm>
#include <memory>

namespace {

// Records the opposite command on the grid that ran this one; without a grid
// nobody would own it, so it is dropped.
void RecordOpposite(CGXGridCore* pGrid, std::unique_ptr<CGXCommand> opposite, GXCmdType ctType) {
    if (pGrid) pGrid->AddCommand(opposite.release(), ctType);
}

} // namespace

#define KX_IMPLEMENT_UNDO_COMMAND(class_name)                                                                \
    CRuntimeClass* class_name::GetThisClass() {                                                              \
        static CRuntimeClass rc{#class_name, static_cast<int>(sizeof(class_name)), 0xFFFF, nullptr,          \
                                nullptr};                                                                    \
        return &rc;                                                                                          \
    }                                                                                                        \
    CRuntimeClass* class_name::GetRuntimeClass() const {                                                     \
        return class_name::GetThisClass();                                                                   \
    }

void KXWritePinComment(IKXGridSite* site, const CString& instanceKey, const CString& pinKey, const CString& comment) {
    CComments* store = site ? site->CommentStore() : nullptr;
    if (!store) return;
    if (comment.IsEmpty()) {
        store->removePinComments(instanceKey, pinKey);
    } else {
        CString date, time;
        CKXWinAPI::GetDateTime(date, time);
        store->addPinComments(instanceKey, pinKey, comment, date, time, CKXWinAPI::GetUserNameA());
    }
    site->MarkModified();
}

// Each key a quoted word (its quotes escaped), so that no name of a design object, of another kind of
// entry or of other keys reads the same.
std::string KXPinCommentObject(const CString& instanceKey, const CString& pinKey) {
    return "pin comment " + KXTclQuote(instanceKey).str() + " " + KXTclQuote(pinKey).str();
}

std::string KXMatrixViewObject(const CString& view) {
    return "matrix view " + KXTclQuote(view).str();
}

KX_IMPLEMENT_UNDO_COMMAND(CKXCommentUndoCmd)

CKXCommentUndoCmd::CKXCommentUndoCmd(CKXGridWnd* pGrid, const CString& instanceKey, const CString& pinKey,
                                     const CString& oldComment, const CString& newComment,
                                     const CString& stepName)
    : m_pGrid(pGrid), m_pSite(pGrid ? pGrid->Site() : nullptr), m_strInstanceKey(instanceKey), m_strPinKey(pinKey),
      m_strOldComment(oldComment), m_strNewComment(newComment), m_strStepName(stepName) {}

CString CKXCommentUndoCmd::GetName() {
    return m_strStepName;
}

BOOL CKXCommentUndoCmd::Execute(CGXGridCore* pGrid, GXCmdType ctType) {
    if (!m_pGrid) return FALSE;
    auto opposite = std::make_unique<CKXCommentUndoCmd>(m_pGrid, m_strInstanceKey, m_strPinKey,
                                                        m_strNewComment, m_strOldComment, m_strStepName);
    opposite->m_pSite = m_pSite;
    // The grid that showed the pin writes the comment; once it went (the pane's own grid stands in),
    // the comment goes straight to the store of the pane's document.
    if (m_pSite && m_pGrid->Site() != m_pSite)
        KXWritePinComment(m_pSite, m_strInstanceKey, m_strPinKey, m_strOldComment);
    else
        m_pGrid->SetPinComment(m_strInstanceKey, m_strPinKey, m_strNewComment, m_strOldComment);
    RecordOpposite(pGrid, std::move(opposite), ctType);
    // The comment is back and the opposite command recorded: report success so
    // that the command stays redoable.
    return TRUE;
}

std::set<std::string> CKXCommentUndoCmd::TouchedObjects() const {
    return {KXPinCommentObject(m_strInstanceKey, m_strPinKey)};
}

KX_IMPLEMENT_UNDO_COMMAND(CKXPinCommentMoveCmd)

namespace {

KXPinCommentEntry ReadPinComment(const CComments& store, const CKXPinCommentMoveCmd::Key& key) {
    KXPinCommentEntry entry;
    entry.present =
        store.getPinComments(key.instance, key.pin, entry.text, entry.date, entry.time, entry.user);
    return entry;
}

bool WritePinComment(CComments& store, const CKXPinCommentMoveCmd::Key& key, const KXPinCommentEntry& entry) {
    if (!entry.present) {
        store.removePinComments(key.instance, key.pin);
        return true;
    }
    return store.addPinComments(key.instance, key.pin, entry.text, entry.date, entry.time, entry.user);
}

} // namespace

std::unique_ptr<CKXPinCommentMoveCmd> CKXPinCommentMoveCmd::Move(IKXGridSite& site, const Key& from,
                                                                 const Key& to) {
    CComments* store = site.CommentStore();
    if (!store || (from.instance == to.instance && from.pin == to.pin)) return nullptr;
    const KXPinCommentEntry moved = ReadPinComment(*store, from);
    if (!moved.present) return nullptr;
    const KXPinCommentEntry replaced = ReadPinComment(*store, to);
    if (!WritePinComment(*store, to, moved)) {
        WritePinComment(*store, to, replaced);
        return nullptr;
    }
    store->removePinComments(from.instance, from.pin);
    std::unique_ptr<CKXPinCommentMoveCmd> undo(new CKXPinCommentMoveCmd(&site, from, to));
    undo->m_writeFrom = moved;
    undo->m_writeTo = replaced;
    undo->m_nowFrom = KXPinCommentEntry{};
    undo->m_nowTo = moved;
    site.MarkModified();
    site.PinCommentsChanged();
    return undo;
}

CString CKXPinCommentMoveCmd::GetName() {
    return kKXMoveCommentStep;
}

BOOL CKXPinCommentMoveCmd::Execute(CGXGridCore* pGrid, GXCmdType ctType) {
    CComments* store = m_pSite ? m_pSite->CommentStore() : nullptr;
    if (!store || !WritePinComment(*store, m_from, m_writeFrom) || !WritePinComment(*store, m_to, m_writeTo))
        return FALSE;
    std::unique_ptr<CKXPinCommentMoveCmd> opposite(new CKXPinCommentMoveCmd(m_pSite, m_from, m_to));
    opposite->m_writeFrom = m_nowFrom;
    opposite->m_writeTo = m_nowTo;
    opposite->m_nowFrom = m_writeFrom;
    opposite->m_nowTo = m_writeTo;
    m_pSite->MarkModified();
    m_pSite->PinCommentsChanged();
    RecordOpposite(pGrid, std::move(opposite), ctType);
    return TRUE;
}

std::set<std::string> CKXPinCommentMoveCmd::TouchedObjects() const {
    return {KXPinCommentObject(m_from.instance, m_from.pin), KXPinCommentObject(m_to.instance, m_to.pin)};
}

KX_IMPLEMENT_UNDO_COMMAND(CKXSortUndoCmd)

CKXSortUndoCmd::CKXSortUndoCmd(CKXGridWnd* pGrid, int sortCol, BOOL bAscending, std::vector<CString> rowOrder)
    : m_pGrid(pGrid), m_nSortCol(sortCol), m_bAscending(bAscending),
      m_bAcrossGrids(pGrid && pGrid->SortsAcrossGrids()), m_strName(m_bAcrossGrids ? "Sort Columns" : "Sort"),
      m_rowOrder(std::move(rowOrder)) {
    if (pGrid && sortCol < 0 && m_rowOrder.empty()) m_rowOrder = pGrid->DataRowTexts();
}

bool CKXSortUndoCmd::GridSorted() const {
    return m_pGrid && (m_pGrid->GetSortColumn() != m_nSortCol || m_pGrid->IsSortAscending() != m_bAscending);
}

void CKXSortUndoCmd::KeepKindOf(const CKXSortUndoCmd& made) {
    m_bAcrossGrids = made.m_bAcrossGrids;
    m_strName = made.m_strName;
}

CString CKXSortUndoCmd::GetName() {
    return m_strName;
}

BOOL CKXSortUndoCmd::Execute(CGXGridCore* pGrid, GXCmdType ctType) {
    if (m_bGridGone) {
        // Its grid went: the step stays in the history (as in a replay of its journal) and orders nothing.
        auto opposite = std::make_unique<CKXSortUndoCmd>(nullptr, m_nSortCol, m_bAscending);
        opposite->m_bGridGone = true;
        opposite->KeepKindOf(*this);
        RecordOpposite(pGrid, std::move(opposite), ctType);
        return TRUE;
    }
    if (!m_pGrid) return FALSE;
    // The opposite command must bring back the state this one leaves, so it
    // holds the grid's sort as it is now, before returning to the stored one.
    auto opposite =
        std::make_unique<CKXSortUndoCmd>(m_pGrid, m_pGrid->GetSortColumn(), m_pGrid->IsSortAscending());
    // The step stays what it was made as (a sort of one grid, or of grids side by side), whatever the
    // grid shows now: its undo and redo are journalled as the sort was.
    opposite->KeepKindOf(*this);

    if (m_nSortCol < 0) {
        // Before the first sort the grid was unsorted: there is no column to
        // sort by, so only the sort state returns to "unsorted".
        m_pGrid->SetSortColumn(-1);
        m_pGrid->m_bSortAscending = TRUE;
        m_pGrid->RestoreUnsortedOrder(m_rowOrder);
    } else {
        // The grid's sort flips the order for its current column; prime it so
        // that the sort lands exactly on the stored column and order.
        m_pGrid->SetSortColumn(m_nSortCol);
        m_pGrid->m_bSortAscending = !m_bAscending;
        // The grid the step was made in sorts itself (OnSortColumn would hand the sort to the host's
        // word, which sorts whichever grid is active then).
        const CKXGridWnd::SortStepScope recorded;
        m_pGrid->SortColumn(m_nSortCol);
    }
    RecordOpposite(pGrid, std::move(opposite), ctType);
    return TRUE;
}

bool KXIsViewOnlyStep(const std::vector<std::unique_ptr<CGXCommand>>& commands) {
    return !commands.empty() && std::all_of(commands.begin(), commands.end(), [](const auto& command) {
        const auto* sort = dynamic_cast<const CKXSortUndoCmd*>(command.get());
        return sort && sort->m_bAcrossGrids;
    });
}
