// The result of a grid's cell edit, kept for whoever typed it: the edit itself ends inside the grid's
// validation, which can only keep or drop the text; a change the design refused is told here.
#include "grid/KXGridWnd.h"

#include "kxmsgsrvr/KXMsgIds.h"

void CKXGridWnd::RecordCellEdit(const KXEditResult& result) {
    RecordCellEdit(result, KXShownMark());
}

void CKXGridWnd::RecordCellEdit(const KXEditResult& result, const KXShownMark& since) {
    result.Answer(since);
    m_cellEdit = result;
}

void CKXGridWnd::RecordUnchangedCellEdit() {
    m_cellEdit = KXEditResult::Nothing("KXTABLE-267");
}

BOOL CKXGridWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != MSG_GRID_CELL_EDIT_RESULT) return CGXGridWnd::OnWndMsg(message, wParam, lParam, pResult);
    LRESULT answer = 1;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (wParam == kCellEditForget) {
        m_cellEdit.reset();
    } else if (wParam == kCellEditWhyNot) {
        const KXEditResult why = WhyCurrentCellTakesNoTyping();
        if (why.IsRefusal()) {
            answer = why.Answer(KXShownMark());
            if (auto* id = reinterpret_cast<CString*>(lParam)) *id = why.MessageId();
        }
    } else if (wParam == kCellEditEmptyChanges) {
        answer = GetCurrentCell(row, col) && EmptyTextChanges(row, col) ? 1 : 0;
    } else if (m_cellEdit && m_cellEdit->IsRefusal()) {
        answer = 0;
        if (auto* id = reinterpret_cast<CString*>(lParam)) *id = m_cellEdit->MessageId();
    } else if (m_cellEdit && m_cellEdit->GetKind() == KXEditResult::Kind::Dialog) {
        answer = 2; // stopped at a dialog of the edit that was cancelled: nothing changed
    }
    if (pResult) *pResult = answer;
    return TRUE;
}
