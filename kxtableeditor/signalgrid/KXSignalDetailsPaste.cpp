// Pasting into the signal grid: clipboard text into the filter row (a filter,
// echoed to the host), or into the current column of the selected rows, where
// each row takes its line as if the user had typed it; all rows of one paste
// are one transaction.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "grid/KXClipboardText.h"
#include "grid/KXGridEdit.h"

#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcontrols/KXProgressBar.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"

#include <memory>

using namespace kxsignal;

BOOL CKXSignalDetailsGridWnd::Paste(CString&, BOOL bPasteSpecial) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col)) return FALSE;
    if (row == kFilterRow && !IsCellReadOnly(kFilterRow, col)) return PasteIntoFilterCell(col);
    const BOOL termination = col == Col(m_nColTermination);
    if (!CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, termination, bPasteSpecial ? 1 : 0, 0, 0, 0, 1))
        return FALSE;
    return termination ? PasteTerminationsInTransaction() : AddConnections();
}

BOOL CKXSignalDetailsGridWnd::PasteFromClipboardViewer(int nItem, int) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col)) return FALSE;
    if (row == kFilterRow && !IsCellReadOnly(kFilterRow, col)) {
        PasteIntoFilterCell(col); // a refused filter said why
        return TRUE;
    }
    const BOOL termination = col == Col(m_nColTermination);
    CKXImpClipBoard::ProcessDataForPaste(4, nullptr, nItem - 1, termination, 0, 0, 0, 0, 1);
    return termination ? PasteTerminationsInTransaction() : AddConnections();
}

BOOL CKXSignalDetailsGridWnd::PasteIntoFilterCell(ROWCOL col) {
    if (IsCellReadOnly(kFilterRow, col)) return FALSE; // the general road
    CString text;
    CKXImpClipBoard::GetCFText(text);
    text.TrimRight("\r\n");
    // A filter text is no undo step.
    GridWriteScope noUndo(*this, GridWriteScope::kUndo);
    m_bFilterRefused = false;
    return TypeIntoCell(kFilterRow, col, text) && !m_bFilterRefused ? TRUE : FALSE;
}

bool CKXSignalDetailsGridWnd::IsCellReadOnly(ROWCOL row, ROWCOL col) {
    CGXStyle style;
    ComposeStyleRowCol(row, col, &style);
    return style.GetIncludeReadOnly() && style.GetReadOnly();
}

std::vector<ROWCOL> CKXSignalDetailsGridWnd::VisibleRowsFrom(ROWCOL first, size_t count) {
    std::vector<ROWCOL> rows;
    for (ROWCOL r = first; r <= GetRowCount() && rows.size() < count; ++r)
        if (!IsRowHidden(r)) rows.push_back(r);
    return rows;
}

BOOL CKXSignalDetailsGridWnd::AddConnections() {
    ROWCOL current = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(current, col)) return FALSE;
    CString text;
    CKXImpClipBoard::GetCFText(text);
    if (KXPasteIntoActiveEditor(*this, text)) return TRUE;
    const std::vector<CString> lines = KXSplitClipboardLines(text);
    std::vector<ROWCOL> rows = SelectedRows();
    if (lines.empty() || rows.empty()) return FALSE;
    // Several lines on one row: the lines fill the visible rows from it down.
    if (lines.size() > 1 && rows.size() == 1) rows = VisibleRowsFrom(rows.front(), lines.size());
    // Rows typed into change ahead of the commit: a caller's edit puts them back when it does not commit,
    // and this paste does so for an edit of its own.
    KXKeptRows kept = CKXTransaction::IsTransactionStarted() ? KXKeptRows() : KeepDataRows();
    CKXGridEdit edit(*this, "Add Conn", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    const bool own = edit.Owns();
    SetSelection(nullptr); // each row commits its own line
    CKXProgressBar progress("Adding Connections", static_cast<int>(rows.size()), 50, 0, 0);
    const bool instanceColumn = col == Col(m_nColInstance);
    bool any = false, unchanged = false;
    for (size_t i = 0; i < rows.size(); ++i) {
        progress.StepIt();
        progress.PeekAndPump();
        if (lines.size() > 1 && i >= lines.size()) break;
        const ROWCOL r = rows[i];
        if (r < kFirstDataRow || IsRowHidden(r)) continue;
        if (!instanceColumn && CellText(r, m_nColInstance).IsEmpty()) continue;
        if (IsCellReadOnly(r, col)) continue;
        const CString& line = lines.size() == 1 ? lines.front() : lines[i];
        // A cell that shows the line already takes nothing, as the same text typed into it takes nothing.
        if (CellText(r, col).CompareNoCase(line) == 0) {
            unchanged = true;
            continue;
        }
        if (!TypeIntoCell(r, col, line)) break;
        any = true;
    }
    if (!any && unchanged) CKXErrorHandler::MessageBoxOk(KXCause::kUnchanged);
    // Nothing taken: the bracket discards what it began.
    const BOOL done = any && edit.Commit() ? TRUE : FALSE;
    if (own && !done) PutBackDataRows(kept);
    return done;
}

CKXSignalDetailsGridWnd::KXKeptRows CKXSignalDetailsGridWnd::KeepDataRows() {
    return std::make_unique<CGXRowKeep>(*this);
}

void CKXSignalDetailsGridWnd::PutBackDataRows(KXKeptRows& rows) {
    if (!rows) return;
    {
        GridWriteScope scope(*this);
        rows->PutBack(kNoUpdate);
    }
    DropRowIndex();
    Redraw(GX_INVALIDATE, TRUE);
}
