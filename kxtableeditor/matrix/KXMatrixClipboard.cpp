// The matrix and the clipboard: the selected cells copied as a table (one line
// per shown row, the columns' texts separated by tabs, every field kept, also an
// empty one), and a paste that types the clipboard's lines into the pin cells
// from the current cell down, each field into its column, as one edit.
#include "matrix/KXMatrixGridWnd.h"

#include "grid/KXClipboardText.h"
#include "grid/KXGridEdit.h"
#include "grid/KXRowFilter.h"

#include "kxclipboard/CKXImpClipBoard.h"

#include <algorithm>

using namespace kxmatrix;

namespace {

constexpr UINT kSelectCell = GX_SMART | GX_SCROLLINVIEW;

// The matrix grid whose current cell a paste would go to.
BOOL CanPasteHere(int type) {
    CKXMatrixGridWnd* grid = CKXMatrixGridWnd::CurrentGrid();
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!grid || !grid->GetSafeHwnd() || !grid->GetCurrentCell(row, col)) return FALSE;
    if (row == kFilterRow) return TRUE;
    int offset = -1, group = -1;
    return row >= kFirstDataRow && CKXMatrixGridWnd::DecodeInstanceColumn(static_cast<int>(col), offset, group) &&
           (type == KX_CLIP_TEXT_OBJECTS || type == KX_CLIP_PLAIN_TEXT);
}

} // namespace

// ------------------------------------------------------------------ copy

CString CKXMatrixGridWnd::CopyText() {
    CGXRangeList ranges;
    CopyRangeList(ranges, TRUE);
    CString text;
    for (POSITION pos = ranges.GetHeadPosition(); pos;) {
        const CGXRange range = ranges.GetNext(pos)->GetBounded(GetRowCount(), GetColCount());
        for (ROWCOL r = std::max(range.top, kFirstDataRow); r <= range.bottom && r <= GetRowCount(); ++r) {
            if (IsRowHidden(r)) continue;
            CString line;
            for (ROWCOL c = range.left; c <= range.right; ++c) {
                if (GetColWidth(c) == 0) continue; // a column the user does not see
                if (c != range.left) line += "\t";
                line += GetValueRowCol(r, c);
            }
            text += line + "\r\n";
        }
    }
    return text;
}

void CKXMatrixGridWnd::OnEditCopy() {
    const CString text = CopyText();
    if (text.IsEmpty()) return;
    CKXImpClipBoard::StartCopying();
    for (const CString& line : KXSplitClipboardLines(text)) CKXImpClipBoard::CopyTextAsObject(line);
    CString data;
    CKXImpClipBoard::GetDataBuffer(data);
    CKXImpClipBoard::CopyCFText(text);
    CKXImpClipBoard::SetClipboardText(data.GetString(), text.GetString());
    CKXImpClipBoard::EndCopying();
    CKXImpClipBoard::PutTextOnClipBoard(1, 1);
}

// ------------------------------------------------------------------ paste

void CKXMatrixGridWnd::InitCanPasteCallback() {
    s_pCurrentMatrixGrid = this;
    CKXImpClipBoard::InitCanPasteCallBack(&CanPasteHere, &CanPasteHere);
}

BOOL CKXMatrixGridWnd::CanPaste() {
    s_pCurrentMatrixGrid = this;
    return CanPasteHere(CKXImpClipBoard::GetObjectType(1));
}

BOOL CKXMatrixGridWnd::CanPasteSpecial() {
    return FALSE;
}

BOOL CKXMatrixGridWnd::Paste(CString& strText, BOOL bPasteSpecial) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col)) return FALSE;
    CString text = strText;
    if (text.IsEmpty()) {
        if (!CKXImpClipBoard::ProcessDataForPaste(4, nullptr, -1, FALSE, bPasteSpecial ? 1 : 0, 0, 0, 0, 1))
            return FALSE;
        CKXImpClipBoard::GetCFText(text);
    }
    if (row == kFilterRow) {
        text.TrimRight("\r\n");
        KXRowFilter(*this, kFilterRow).SetPattern(col, text);
        return FilterRows(GX_INVALID);
    }
    return PasteConnections(row, col, KXSplitClipboardLines(text));
}

BOOL CKXMatrixGridWnd::PasteConnections(ROWCOL first, ROWCOL col, const std::vector<CString>& lines) {
    int offset = -1, group = -1;
    if (lines.empty() || first < kFirstDataRow || !SplitColumn(static_cast<int>(col), offset, group)) return FALSE;
    CKXGridEdit edit(*this, "Paste Selected Text", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    m_bPastingConnections = 1;
    bool any = false;
    std::size_t i = 0;
    // Line by line down the shown rows, field by field to the right: only pin cells take a field.
    for (ROWCOL r = first; r <= GetRowCount() && i < lines.size(); ++r) {
        if (IsRowHidden(r)) continue;
        const std::vector<CString> fields = KXSplitClipboardFields(lines[i++]);
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const ROWCOL c = col + static_cast<ROWCOL>(f);
            int o = -1, g = -1;
            if (c > GetColCount() || !DecodeInstanceColumn(static_cast<int>(c), o, g)) continue;
            CString field = fields[f];
            field.Trim();
            if (field.IsEmpty() || CellText(r, static_cast<int>(c)).CompareNoCase(field) == 0) continue;
            if (CommitPendingConnections(r, c, field)) any = true;
        }
    }
    m_bPastingConnections = 0;
    SetCurrentCell(first, col, kSelectCell);
    return any && edit.Commit();
}
