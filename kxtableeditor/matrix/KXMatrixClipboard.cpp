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
#include "grid/KXRefusalCauses.h"
#include "grid/KXRowFilter.h"

#include "kxclipboard/CKXImpClipBoard.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXTransaction.h"

#include <algorithm>
#include <utility>

using namespace kxmatrix;
using kxgrid::GridWriteScope;

namespace {

constexpr UINT kSelectCell = GX_SMART | GX_SCROLLINVIEW;
constexpr UINT kNoUpdate = 0;
// The clipboard library's paste preparation: its data format and the clipboard itself (not a viewer item).
constexpr int kClipFormat = 4;
constexpr int kTheClipboard = -1;
// A copied field's mark: the key of the column it came from, on a group's side or the signal side.
constexpr const char* kGroupMark = "matrix.group.";
constexpr const char* kSignalMark = "matrix.signal.";
// Refusals of a paste that would leave part of what was copied out.
constexpr const char* kNoColumnForField = "KXTABLE-625";
constexpr const char* kNoRowForLine = "KXTABLE-626";

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

CString CKXMatrixGridWnd::CopyText(KXClipFieldMarks* marks) {
    CString text, line;
    std::vector<std::string> lineMarks;
    bool first = true;
    VisitCopiedCells(
        [&](ROWCOL r, ROWCOL c) {
            if (!std::exchange(first, false)) line += "\t";
            line += CopiedCellText(r, c);
            lineMarks.push_back(CopyMarkOfColumn(c));
        },
        [&](ROWCOL) {
            text += line + "\r\n";
            line.Empty();
            if (marks) marks->push_back(std::move(lineMarks));
            lineMarks.clear();
            first = true;
        });
    return text;
}

std::string CKXMatrixGridWnd::CopyMarkOfColumn(ROWCOL col) {
    int offset = -1, group = -1;
    const CKXColumnInfoClass* info = GetColumnInfo(static_cast<int>(col));
    const std::string key = info ? info->m_strPropertyName.str() : std::string();
    return (SplitColumn(static_cast<int>(col), offset, group) ? kGroupMark : kSignalMark) + key;
}

void CKXMatrixGridWnd::OnEditCopy() {
    KXClipFieldMarks marks;
    const CString text = CopyText(&marks);
    if (text.IsEmpty()) return;
    // Beside the table text, every cell as an object: terminations and pull-ups/pull-downs as the
    // components themselves, so that a paste can make them again; and what column each field came from,
    // so that a paste gives each copied group's field to its column.
    CKXImpClipBoard::StartCopying();
    VisitCopiedCells([this](ROWCOL r, ROWCOL c) { CopyCellObject(r, c); }, [](ROWCOL) {});
    CString data;
    CKXImpClipBoard::GetDataBuffer(data);
    CKXImpClipBoard::CopyCFText(text);
    CKXImpClipBoard::SetClipboardText(data.GetString(), text.GetString());
    CKXImpClipBoard::SetFieldMarks(std::move(marks));
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

bool CKXMatrixGridWnd::TakesComponents(ROWCOL row, ROWCOL col, bool& termination) {
    int offset = -1, group = -1;
    termination =
        SplitColumn(static_cast<int>(col), offset, group) && offset == Layout().m_nTerminationOffset;
    return row >= kFirstDataRow && (termination || static_cast<int>(col) == Layout().m_nPupdCol);
}

BOOL CKXMatrixGridWnd::Paste(CString& strText, BOOL bPasteSpecial) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (!GetCurrentCell(row, col)) return FALSE;
    bool termination = false;
    const bool components = TakesComponents(row, col, termination);
    CString text = strText;
    const bool prepare = text.IsEmpty() || components;
    if (prepare) {
        if (!CKXImpClipBoard::ProcessDataForPaste(kClipFormat, nullptr, kTheClipboard,
                                                  termination ? TRUE : FALSE, bPasteSpecial ? 1 : 0, 0, 0, 0,
                                                  1))
            return FALSE;
        if (text.IsEmpty()) CKXImpClipBoard::GetCFText(text);
    }
    // The copy's marks describe the clipboard's text, not a text the caller hands over.
    const bool marked = prepare && strText.IsEmpty();
    return PastePrepared(row, col, text, components,
                         marked ? CKXImpClipBoard::GetPasteFieldMarks() : KXClipFieldMarks());
}

BOOL CKXMatrixGridWnd::PasteFromClipboardViewer(int nItem, int) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (nItem < 1 || !GetCurrentCell(row, col) || !MayEdit()) return FALSE;
    m_pCurrentMatrixGrid = this;
    // What the current cell does not take is refused as the pane's paste refuses it.
    if (!CanPasteTypeAtCurrentCell(CKXImpClipBoard::GetObjectType(nItem + 1))) {
        CKXErrorHandler::MessageBoxOk(KXCause::kNothingCopied);
        return FALSE;
    }
    bool termination = false;
    const bool components = TakesComponents(row, col, termination);
    if (!CKXImpClipBoard::ProcessDataForPaste(kClipFormat, nullptr, nItem - 1, termination ? TRUE : FALSE, 0,
                                              0, 0, 0, 1))
        return FALSE;
    CString text;
    CKXImpClipBoard::GetCFText(text);
    return PastePrepared(row, col, text, components, CKXImpClipBoard::GetPasteFieldMarks());
}

BOOL CKXMatrixGridWnd::PastePrepared(ROWCOL row, ROWCOL col, CString text, bool components,
                                     const KXClipFieldMarks& marks) {
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
    return PasteConnections(row, col, KXSplitClipboardLines(text), marks);
}

BOOL CKXMatrixGridWnd::PasteConnections(ROWCOL first, ROWCOL col, const std::vector<CString>& lines,
                                        const KXClipFieldMarks& marks) {
    std::vector<PasteField> plan;
    if (!PlanPaste(first, col, lines, marks, plan)) return FALSE;
    // Inside the pane's paste the pane puts the rows back when the paste does not commit.
    KXKeptRows kept = CKXTransaction::IsTransactionStarted() ? KXKeptRows() : KeepDataRows();
    CKXGridEdit edit(*this, "Paste Selected Text", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    const bool own = edit.Owns();
    m_bPastingConnections = 1;
    m_pasteRefusal = nullptr;
    bool any = false;
    for (const PasteField& field : plan) {
        // A cell an earlier field of the paste gave this pin already.
        if (CellText(field.row, static_cast<int>(field.col)).CompareNoCase(field.text) == 0) continue;
        if (CommitPendingConnections(field.row, field.col, field.text)) any = true;
    }
    m_bPastingConnections = 0;
    if (!any && m_pasteRefusal) m_pasteRefusal();
    m_pasteRefusal = nullptr;
    SetCurrentCell(first, col, kSelectCell);
    const BOOL done = any && edit.Commit() ? TRUE : FALSE;
    if (own && !done) PutBackDataRows(kept);
    return done;
}

bool CKXMatrixGridWnd::PlanPaste(ROWCOL first, ROWCOL col, const std::vector<CString>& lines,
                                 const KXClipFieldMarks& marks, std::vector<PasteField>& plan) {
    const std::vector<ROWCOL> columns = PasteColumns(col);
    if (lines.empty() || first < kFirstDataRow || columns.empty()) return false;
    // Marks that do not match the text line for line are no copy of this text.
    const bool marked = marks.size() == lines.size();
    const std::string kind = CopyMarkOfColumn(col);
    std::size_t line = 0;
    for (ROWCOL r = first; r <= GetRowCount() && line < lines.size(); ++r) {
        if (IsRowHidden(r)) continue; // its line goes to the next shown row
        const std::vector<CString> fields = FieldsOfKind(lines[line], marked ? &marks[line] : nullptr, kind);
        ++line;
        for (std::size_t f = 0; f < fields.size(); ++f) {
            CString text = fields[f];
            text.Trim();
            if (text.IsEmpty()) continue;
            if (f >= columns.size()) {
                CKXErrorHandler::MessageBoxOk(kNoColumnForField, text, GetValueRowCol(kCaptionRow, col));
                return false;
            }
            if (GetColWidth(columns[f]) == 0) continue; // a column the user does not see takes no field
            const char* why = nullptr;
            if (!PinOfField(static_cast<int>(columns[f]), text, why)) {
                int offset = -1, group = -1;
                SplitColumn(static_cast<int>(columns[f]), offset, group);
                const CInstanceContext instance = GroupInstance(group);
                CKXErrorHandler::MessageBoxOk("KXTABLE-420",
                                              instance ? CString(instance.instance()->name()) : "", text);
                return false;
            }
            plan.push_back({r, columns[f], text});
        }
    }
    // Lines left over with anything in them find no row: the paste would leave them out.
    const auto blank = [](const CString& text) {
        const std::vector<CString> fields = KXSplitClipboardFields(text);
        return std::all_of(fields.begin(), fields.end(),
                           [](CString field) { return field.Trim().IsEmpty(); });
    };
    if (std::all_of(lines.begin() + static_cast<std::ptrdiff_t>(line), lines.end(), blank)) return true;
    CString copied, shown;
    copied.Format("%d", static_cast<int>(lines.size()));
    shown.Format("%d", static_cast<int>(line));
    CKXErrorHandler::MessageBoxOk(kNoRowForLine, copied, shown);
    return false;
}

std::vector<CString> CKXMatrixGridWnd::FieldsOfKind(const CString& line,
                                                    const std::vector<std::string>* marks,
                                                    const std::string& kind) {
    std::vector<CString> fields = KXSplitClipboardFields(line);
    if (!marks || marks->size() != fields.size() ||
        std::find(marks->begin(), marks->end(), kind) == marks->end())
        return fields;
    std::vector<CString> ofKind;
    for (std::size_t f = 0; f < fields.size(); ++f)
        if ((*marks)[f] == kind) ofKind.push_back(fields[f]);
    return ofKind;
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

// A line's fields go to the columns of the current cell's kind (Pin Name or Pin Number) among the selected
// columns, from left to right; one selected column stands for that column of each group from it on. A column
// the user does not see takes its field and leaves it, as a copy leaves that column out.
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
        if (DecodeInstanceColumn(static_cast<int>(c), o, g) && o == offset) columns.push_back(c);
    }
    return columns;
}
