// The matrix and the clipboard: the selected cells copied as a table (one line
// per shown row, the columns' texts separated by tabs, every field kept, also an
// empty one) and as objects (terminations and pull-ups/pull-downs as components),
// and a paste that types the clipboard's lines into the pin cells from the
// current cell down, each field into its column, as one edit. Components are
// pasted by KXMatrixAssocClip.cpp.
#include "matrix/KXMatrixGridWnd.h"

#include "grid/KXClipboardText.h"
#include "grid/KXGridEdit.h"
#include "grid/KXGridScopes.h"
#include "grid/KXJournalLine.h"
#include "grid/KXRowFilter.h"

#include "kxclipboard/CKXImpClipBoard.h"
#include "kxinstsigpane/KXTransaction.h"

#include <algorithm>
#include <utility>

using namespace kxmatrix;
using kxgrid::GridWriteScope;

namespace {

constexpr UINT kSelectCell = GX_SMART | GX_SCROLLINVIEW;
constexpr UINT kNoUpdate = 0;

} // namespace

// The matrix grid whose current cell a paste would go to: pin cells take text (every copy carries
// its text), a TERMINATION cell copied terminations, the PUPD column copied pull-up/pull-down groups.
BOOL CKXMatrixGridWnd::CanPasteTypeAtCurrentCell(int type) {
    CKXMatrixGridWnd* grid = m_pCurrentMatrixGrid;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!grid || !grid->GetSafeHwnd() || !grid->GetCurrentCell(row, col)) return FALSE;
    if (row == kFilterRow) return type == KX_CLIP_TEXT_OBJECTS || type == KX_CLIP_PLAIN_TEXT;
    if (row < kFirstDataRow) return FALSE;
    if (static_cast<int>(col) == CKXMatrixGridWnd::Layout().m_nPupdCol)
        return type == KX_CLIP_PUPD_GROUPS && !grid->IsReadOnlyWindow() && grid->CanAddPupd();
    int offset = -1, group = -1;
    if (CKXMatrixGridWnd::SplitColumn(static_cast<int>(col), offset, group) &&
        offset == CKXMatrixGridWnd::Layout().m_nTerminationOffset)
        return type == KX_CLIP_TERMINATIONS && grid->CanAddTermination();
    return CKXMatrixGridWnd::DecodeInstanceColumn(static_cast<int>(col), offset, group) && type != KX_CLIP_NONE;
}

// Paste Special at the current cell: copied pull-up/pull-down groups in the PUPD column, copied
// terminations in a Termination cell whose row shows a pin of the group, cells in a pin column.
BOOL CKXMatrixGridWnd::CanPastePinAtCurrentCell(int type) {
    CKXMatrixGridWnd* grid = m_pCurrentMatrixGrid;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!grid || !grid->GetSafeHwnd() || !grid->GetCurrentCell(row, col) || row < kFirstDataRow) return FALSE;
    const KXMatrixLayout& layout = CKXMatrixGridWnd::Layout();
    if (static_cast<int>(col) == layout.m_nPupdCol) return type == KX_CLIP_PUPD_GROUPS;
    int offset = -1, group = -1;
    if (!CKXMatrixGridWnd::SplitColumn(static_cast<int>(col), offset, group)) return FALSE;
    if (offset == layout.m_nTerminationOffset) {
        int bit = -1;
        return type == KX_CLIP_TERMINATIONS &&
               grid->GetCellInstTermBit(row, CKXMatrixGridWnd::ColumnOf(group, layout.m_nPinNameOffset), bit);
    }
    return CKXMatrixGridWnd::DecodeInstanceColumn(static_cast<int>(col), offset, group) &&
           type == KX_CLIP_TEXT_OBJECTS;
}

// ------------------------------------------------------------------ copy

void CKXMatrixGridWnd::VisitCopiedCells(const std::function<void(ROWCOL, ROWCOL)>& cell,
                                         const std::function<void(ROWCOL)>& rowEnd) {
    CGXRangeList ranges;
    CopyRangeList(ranges, TRUE);
    for (POSITION pos = ranges.GetHeadPosition(); pos;) {
        const CGXRange range = ranges.GetNext(pos)->GetBounded(GetRowCount(), GetColCount());
        for (ROWCOL r = std::max(range.top, kFirstDataRow); r <= range.bottom && r <= GetRowCount(); ++r) {
            if (IsRowHidden(r)) continue;
            for (ROWCOL c = range.left; c <= range.right; ++c)
                if (GetColWidth(c) != 0) cell(r, c); // a column the user does not see is left out
            rowEnd(r);
        }
    }
}

CString CKXMatrixGridWnd::CopyText() {
    CString text, line;
    bool first = true;
    VisitCopiedCells(
        [&](ROWCOL r, ROWCOL c) {
            if (!std::exchange(first, false)) line += "\t";
            line += CopiedCellText(r, c);
        },
        [&](ROWCOL) {
            text += line + "\r\n";
            line.Empty();
            first = true;
        });
    return text;
}

void CKXMatrixGridWnd::OnEditCopy() {
    const CString text = CopyText();
    if (text.IsEmpty()) return;
    // Beside the table text, every cell as an object: terminations and pull-ups/pull-downs as the
    // components themselves, so that a paste can make them again.
    CKXImpClipBoard::StartCopying();
    VisitCopiedCells([this](ROWCOL r, ROWCOL c) { CopyCellObject(r, c); }, [](ROWCOL) {});
    CString data;
    CKXImpClipBoard::GetDataBuffer(data);
    CKXImpClipBoard::CopyCFText(text);
    CKXImpClipBoard::SetClipboardText(data.GetString(), text.GetString());
    CKXImpClipBoard::EndCopying();
    CKXImpClipBoard::PutTextOnClipBoard(1, 1);
    JournalCopy();
}

// The copied rows, each as the signal's row and the range's columns, selected again before one Copy: the
// replay copies the same table.
void CKXMatrixGridWnd::JournalCopy() {
    if (!KXJournalLines::IsRecording()) return;
    KXJournalLines journal(JournalHandle());
    journal.Comment("Copy").Pane("OpenMatrixView", {m_strViewName});
    CGXRangeList ranges;
    CopyRangeList(ranges, TRUE);
    bool first = true;
    for (POSITION pos = ranges.GetHeadPosition(); pos;) {
        const CGXRange range = ranges.GetNext(pos)->GetBounded(GetRowCount(), GetColCount());
        const CString left = GetSortKeyOfCol(static_cast<int>(range.left));
        const CString right = GetSortKeyOfCol(static_cast<int>(range.right));
        for (ROWCOL r = std::max(range.top, kFirstDataRow); r <= range.bottom && r <= GetRowCount(); ++r) {
            int bit = -1;
            INet* net = GetCellNetBit(r, bit);
            if (IsRowHidden(r) || !net) continue;
            const std::vector<ROWCOL> rows = SignalRows(net->id(), bit);
            CString index;
            index.Format("%d", static_cast<int>(std::find(rows.begin(), rows.end(), r) - rows.begin()));
            journal.Pane("MatrixSelectRow", {SignalName(net, bit), index, left, right, first ? "0" : "1"});
            first = false;
        }
    }
    journal.Pane("Copy").End().Write();
}

BOOL CKXMatrixGridWnd::SelectSignalRow(const CString& signal, int index, const CString& firstColumn,
                                       const CString& lastColumn, BOOL add) {
    int bit = -1;
    INet* net = NetOfName(signal, bit);
    const std::vector<ROWCOL> rows = net ? SignalRows(net->id(), bit) : std::vector<ROWCOL>();
    const int left = ColumnOfName(firstColumn), right = ColumnOfName(lastColumn);
    if (index < 0 || static_cast<std::size_t>(index) >= rows.size() || left < 1 || right < 1) return FALSE;
    const ROWCOL row = rows[static_cast<std::size_t>(index)];
    if (!add) {
        SetSelection(nullptr);
        SetCurrentCell(row, static_cast<ROWCOL>(left), kSelectCell);
    }
    const ROWCOL first = static_cast<ROWCOL>(std::min(left, right)), last = static_cast<ROWCOL>(std::max(left, right));
    SelectRange(CGXRange(row, first, row, last), TRUE, FALSE);
    return TRUE;
}

// ------------------------------------------------------------------ paste

void CKXMatrixGridWnd::InitCanPasteCallback() {
    m_pCurrentMatrixGrid = this;
    CKXImpClipBoard::InitCanPasteCallBack(&CanPasteTypeAtCurrentCell, &CanPasteTypeAtCurrentCell);
}

BOOL CKXMatrixGridWnd::CanPaste() {
    m_pCurrentMatrixGrid = this;
    return CanPasteTypeAtCurrentCell(CKXImpClipBoard::GetObjectType(1));
}

BOOL CKXMatrixGridWnd::CanPasteSpecial() {
    m_pCurrentMatrixGrid = this;
    return CanPastePinAtCurrentCell(CKXImpClipBoard::GetObjectType(1));
}

BOOL CKXMatrixGridWnd::Paste(CString& strText, BOOL bPasteSpecial) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col)) return FALSE;
    int offset = -1, group = -1;
    const bool termination = SplitColumn(static_cast<int>(col), offset, group) && offset == Layout().m_nTerminationOffset;
    const bool components = row >= kFirstDataRow && (termination || static_cast<int>(col) == Layout().m_nPupdCol);
    CString text = strText;
    if (text.IsEmpty() || components) {
        if (!CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, termination ? TRUE : FALSE, bPasteSpecial ? 1 : 0,
                                                  0, 0, 0, 1))
            return FALSE;
        if (text.IsEmpty()) CKXImpClipBoard::GetCFText(text);
    }
    // Into a cell being edited the text goes at the caret, as typed: the design is not touched.
    if (CGXControl* control = GetCurrentCellControl(); control && control->IsActive()) {
        if (components) CKXImpClipBoard::GetCFText(text);
        return KXPasteIntoActiveEditor(*this, text) ? TRUE : FALSE;
    }
    if (components) return PasteAssocComponents(row, col);
    if (row == kFilterRow) {
        text.TrimRight("\r\n");
        if (!KXIsOneLine(text)) return FALSE;
        KXRowFilter(*this, kFilterRow).SetPattern(col, text);
        JournalFilter(col, text);
        return FilterRows(GX_INVALID);
    }
    return PasteConnections(row, col, KXSplitClipboardLines(text));
}

BOOL CKXMatrixGridWnd::PasteConnections(ROWCOL first, ROWCOL col, const std::vector<CString>& lines) {
    const std::vector<ROWCOL> columns = PasteColumns(col);
    if (lines.empty() || first < kFirstDataRow || columns.empty()) return FALSE;
    // Inside the pane's paste the pane puts the rows back when the paste does not commit.
    KXKeptRows kept = CKXTransaction::IsTransactionStarted() ? KXKeptRows() : KeepDataRows();
    CKXGridEdit edit(*this, "Paste Selected Text", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    const bool own = edit.Owns();
    m_bPastingConnections = 1;
    m_pasteRefusal = nullptr;
    bool any = false;
    std::size_t i = 0;
    // Line by line down the shown rows, field by field over the columns that take them.
    for (ROWCOL r = first; r <= GetRowCount() && i < lines.size(); ++r) {
        if (IsRowHidden(r)) continue;
        const std::vector<CString> fields = KXSplitClipboardFields(lines[i++]);
        for (std::size_t f = 0; f < fields.size() && f < columns.size(); ++f) {
            const ROWCOL c = columns[f];
            CString field = fields[f];
            field.Trim();
            if (field.IsEmpty() || CellText(r, static_cast<int>(c)).CompareNoCase(field) == 0) continue;
            if (CommitPendingConnections(r, c, field)) any = true;
        }
    }
    m_bPastingConnections = 0;
    if (!any && m_pasteRefusal) m_pasteRefusal();
    m_pasteRefusal = nullptr;
    SetCurrentCell(first, col, kSelectCell);
    const BOOL done = any && edit.Commit() ? TRUE : FALSE;
    if (own && !done) PutBackDataRows(kept);
    return done;
}

CKXMatrixGridWnd::KXKeptRows CKXMatrixGridWnd::KeepDataRows() {
    return std::make_unique<CGXRowKeep>(*this);
}

void CKXMatrixGridWnd::PutBackDataRows(KXKeptRows& rows) {
    if (!rows) return;
    {
        GridWriteScope write(*this);
        rows->PutBack(kNoUpdate);
    }
    IndexRowsAgain();
    Redraw(GX_INVALIDATE, TRUE);
}

// A line's fields go to the shown columns of the current cell's kind (Pin Name or Pin Number) among the
// selected columns, from left to right; one selected column stands for that column of each group from it on.
// A column the user does not see takes no field, as a copy leaves it out.
std::vector<ROWCOL> CKXMatrixGridWnd::PasteColumns(ROWCOL col) {
    std::vector<ROWCOL> columns;
    int offset = -1, group = -1;
    if (!DecodeInstanceColumn(static_cast<int>(col), offset, group)) return columns;
    CRowColArray selected;
    GetSelectedCols(selected, FALSE, TRUE);
    std::vector<ROWCOL> candidates;
    if (selected.GetSize() <= 1)
        for (ROWCOL c = col; c <= GetColCount(); ++c) candidates.push_back(c);
    else
        for (INT_PTR k = 0; k < selected.GetSize(); ++k) candidates.push_back(selected[k]);
    for (ROWCOL c : candidates) {
        int o = -1, g = -1;
        if (GetColWidth(c) != 0 && DecodeInstanceColumn(static_cast<int>(c), o, g) && o == offset)
            columns.push_back(c);
    }
    return columns;
}
