// The signal grid and the clipboard: what may be pasted where (the callbacks the
// clipboard asks about the active signal grid's current cell), the copy of the
// selected cells as text and as clipboard objects, and a user's copy sent to the
// host as a script command that comes back through the pane's copy word.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "grid/KXScriptWords.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "grid/KXJournalLine.h"
#include "grid/KXScriptText.h"

#include "afx/afxwin.h"
#include "kxassoccomp/CKXAssocCompAPI.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcontrols/KXProgressBar.h"
#include "kxmsgsrvr/KXMsgIds.h"

using namespace kxsignal;

namespace {

// The current cell of the signal grid activated last; false when there is none.
bool ActiveCell(CKXSignalDetailsGridWnd*& grid, ROWCOL& row, ROWCOL& col) {
    grid = CKXSignalDetailsGridWnd::s_pActiveGrid;
    row = col = GX_INVALID;
    return grid && grid->GetSafeHwnd() && grid->GetCurrentCell(row, col);
}

// Pastes of text objects everywhere a column takes typing, of instances on the INSTANCE column.
BOOL CanPasteTypeInColumn(int col, int type) {
    using G = CKXSignalDetailsGridWnd;
    if (col == G::m_nColPinNumber || col == G::m_nColPinType) return FALSE;
    if (col == G::m_nColInstance) return type == KX_CLIP_TEXT_OBJECTS || type == 1;
    return type == KX_CLIP_TEXT_OBJECTS;
}

} // namespace

BOOL CKXSignalDetailsGridWnd::CanPasteCallback(int type) {
    CKXSignalDetailsGridWnd* grid = nullptr;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!ActiveCell(grid, row, col)) return FALSE;
    if (row == kFilterRow) {
        // A filter takes the clipboard's text; with none there is no filter to paste.
        CString text;
        CKXImpClipBoard::GetCFText(text);
        text.TrimRight("\r\n");
        return !text.IsEmpty();
    }
    if (row < kFirstDataRow) return FALSE;
    if (col == Col(m_nColTermination) && type == KX_CLIP_TERMINATIONS) return grid->CanAddTermination();
    return CanPasteTypeInColumn(static_cast<int>(col), type);
}

BOOL CKXSignalDetailsGridWnd::CanPasteObjectType(int type) {
    CKXSignalDetailsGridWnd* grid = nullptr;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!ActiveCell(grid, row, col)) return FALSE;
    if (col == Col(m_nColTermination)) return FALSE;
    return CanPasteTypeInColumn(static_cast<int>(col), type);
}

void CKXSignalDetailsGridWnd::InitCanPasteCallback() {
    CKXImpClipBoard::InitCanPasteCallBack(&CanPasteCallback, &CanPasteObjectType);
}

BOOL CKXSignalDetailsGridWnd::CanCut() {
    return CanPaste();
}

BOOL CKXSignalDetailsGridWnd::CanPaste() {
    s_pActiveGrid = this;
    return CanPasteCallback(CKXImpClipBoard::GetObjectType(1));
}

BOOL CKXSignalDetailsGridWnd::CanPasteSpecial() {
    s_pActiveGrid = this;
    return CanPasteObjectType(CKXImpClipBoard::GetObjectType(1));
}

// ------------------------------------------------------------------ copy

void CKXSignalDetailsGridWnd::OnEditCopy() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col)) return;
    // Terminations and pull-ups of keyed rows go through the host, so that the copy is echoed and
    // journalled as the user's; the cells of any other column (and of rows a key cannot name, with
    // no pin number) are copied here.
    const bool assoc = col == Col(m_nColTermination) || col == Col(m_nColPupd);
    CString list;
    bool keyed = assoc && row >= kFirstDataRow;
    for (ROWCOL r : SelectedRows())
        if (!IsRowHidden(r) && (r < kFirstDataRow || CellText(r, m_nColPinNumber).IsEmpty())) keyed = false;
    if (keyed) GetSelectionAsList(list);
    if (list.IsEmpty()) {
        CopySelection();
        return;
    }
    CString text;
    text.Format("%s ccp; %s pin %s %s", KXScriptWord::selectWindow, KXScriptWord::copy, list.GetString(),
                KXTclQuote(ColumnTitle(col)).GetString());
    if (CWnd* main = AfxGetMainWnd()) main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0);
}

CString CKXSignalDetailsGridWnd::CopyTerminationOfRow(ROWCOL row, bool& copied) {
    copied = false;
    int msb = -1, lsb = -1;
    IInstTerm* pin = GetInstTermOfRow(row, msb, lsb);
    if (!pin) return CString();
    CKXAssocCompAPI* api = GetAssocCompApi();
    if (!api) return CString();
    api->setInstTermBit(CInstTermBit(pin, msb));
    IDTInstance* termination = api->getAssociatedInstance(CKXAssocCompAPI::TERMINATION);
    CKXImpClipBoard::CopyAssocComponents(m_designContext, msb, termination, CKXAssocCompAPI::TERMINATION);
    copied = true;
    return CString(termination ? termination->name() : "") + "\r\n";
}

// The copied row, named as a replay selects it. A row off the pin rows has no name to select by, and one
// that waits for its pin (a component dropped or typed in) is the grid's alone: the design, and so the
// replay, has nothing there. What a copy gives a paste, the paste's own lines carry.
void CKXSignalDetailsGridWnd::JournalCopiedRow(ROWCOL row) {
    int msb = -1, lsb = -1;
    if (row < kFirstDataRow || !GetInstTermOfRow(row, msb, lsb)) return;
    KXJournalLines(JournalHandle())
        .Call("Slp()", "Select", {JournalNetName(row)})
        .Pane("SelectInstanceCol", {CellText(row, m_nColInstance), RowPinKey(row)})
        .End()
        .Comment("Copy")
        .Pane("Copy")
        .Write();
}

void CKXSignalDetailsGridWnd::CopySelection() {
    CGXRangeList ranges;
    CopyRangeList(ranges, TRUE);
    CString text;
    CKXImpClipBoard::StartCopying();
    const bool journal = KXJournalLines::IsRecording();
    for (POSITION pos = ranges.GetHeadPosition(); pos;) {
        const CGXRange range = ranges.GetNext(pos)->GetBounded(GetRowCount(), GetColCount());
        if (range.bottom < range.top || range.bottom > GetRowCount()) continue;
        // The bar counts the rows the range shows, one step each, so that it ends full.
        int shown = 0;
        for (ROWCOL r = range.top; r <= range.bottom; ++r)
            if (!IsRowHidden(r)) ++shown;
        CKXProgressBar progress("Copying Data", shown, 50, 0, 0);
        const bool termination = range.left == Col(m_nColTermination);
        for (ROWCOL r = range.top; r <= range.bottom; ++r) {
            if (IsRowHidden(r)) continue;
            progress.StepIt();
            progress.PeekAndPump();
            if (termination) {
                bool copied = false;
                const CString line = CopyTerminationOfRow(r, copied);
                if (!copied) continue;
                text += line;
            } else {
                const CString value = GetValueRowCol(r, range.left);
                CKXImpClipBoard::CopyTextAsObject(value);
                text += value + "\r\n";
            }
            if (journal) JournalCopiedRow(r);
        }
    }
    CString data;
    CKXImpClipBoard::GetDataBuffer(data);
    if (data.IsEmpty()) {
        CKXImpClipBoard::EndCopying();
        return;
    }
    CKXImpClipBoard::CopyCFText(text);
    CKXImpClipBoard::SetClipboardText(data.GetString(), text.GetString());
    CKXImpClipBoard::EndCopying();
    CKXImpClipBoard::PutTextOnClipBoard(1, 1);
}
