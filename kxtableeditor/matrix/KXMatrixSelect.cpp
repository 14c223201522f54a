// Filter, sort, selection description and dump of the matrix. A sort keeps the
// rows of one signal together (a signal is sorted by its first row); a filter
// hides the rows some pattern of the filter row rejects.
#include "matrix/KXMatrixGridWnd.h"
#include "grid/KXScriptWords.h"

#include "grid/KXEditResult.h"
#include "grid/KXGridDump.h"
#include "grid/KXGridScopes.h"
#include "grid/KXJournalLine.h"
#include "grid/KXRowFilter.h"
#include "grid/KXScriptText.h"

#include "afx/afxwin.h"
#include "kxcommon/TclArgs.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxpropertyeditor/KXPropertyEditor.h"

#include <algorithm>
#include <map>
#include <unordered_map>

using namespace kxmatrix;
using kxgrid::GridWriteScope;
using kxgrid::LockUpdateScope;

namespace {

constexpr UINT kNoUpdate = 0;

ROWCOL Col(int col) {
    return static_cast<ROWCOL>(col);
}

} // namespace

// ------------------------------------------------------------------ filter

BOOL CKXMatrixGridWnd::FilterRows(ROWCOL editedCol) {
    const KXRowFilter filter(*this, kFilterRow);
    if (editedCol != GX_INVALID) JournalFilter(editedCol, filter.PatternOf(editedCol, editedCol));
    if (GetRowCount() < kFirstDataRow) return TRUE;
    auto textOf = [this](ROWCOL row, ROWCOL col) {
        // A pull-up mark is read by its tool tip, as the user reads it.
        if (static_cast<int>(col) == Layout().m_nPupdCol) return KXRowAttrs(*this, row).Text(col, IDS_UA_TOOLTIPTEXT);
        return GetValueRowCol(row, col);
    };
    const std::set<ROWCOL> rejected =
        filter.RejectedRows(kFirstDataRow, GetRowCount(), 1, GetColCount(), editedCol, textOf);
    GridWriteScope undoOff(*this, GridWriteScope::kUndo);
    LockUpdateScope lock(*this);
    for (ROWCOL row = kFirstDataRow; row <= GetRowCount(); ++row)
        HideRows(row, row, rejected.count(row) ? TRUE : FALSE, nullptr, kNoUpdate, gxDo);
    return TRUE;
}

BOOL CKXMatrixGridWnd::SetColumnFilter(const CString& name, const CString& pattern) {
    const int col = ColumnOfName(name);
    if (col < 1) return FALSE;
    KXRowFilter(*this, kFilterRow).SetPattern(Col(col), pattern);
    JournalFilter(Col(col), pattern);
    return FilterRows(GX_INVALID);
}

// A filter is no edit: its line only brings the same rows back on replay (the column named as the
// filterRows word names it).
void CKXMatrixGridWnd::JournalFilter(ROWCOL col, const CString& pattern) {
    KXJournalLines(JournalHandle())
        .Pane("OpenMatrixView", {m_strViewName})
        .Pane("FilterRows", {GetSortKeyOfCol(static_cast<int>(col)), pattern})
        .End()
        .Write();
}

// ------------------------------------------------------------------ sort

CString CKXMatrixGridWnd::GetSortKeyOfCol(int col) {
    if (col == Layout().m_nPupdCol) return "pupd";
    // Captions repeat in every group: a group's column is named by the group and the caption.
    int offset = -1, group = -1;
    if (SplitColumn(col, offset, group)) {
        const CInstanceContext instance = GroupInstance(group);
        return (instance ? CString(instance.instance()->name()) + "." : CString()) + CellText(kCaptionRow, col);
    }
    return CellText(kCaptionRow, col);
}

int CKXMatrixGridWnd::ColumnOfName(const CString& name) {
    if (name.IsEmpty()) {
        ROWCOL row = GX_INVALID, col = GX_INVALID;
        return GetCurrentCell(row, col) ? static_cast<int>(col) : -1;
    }
    for (ROWCOL c = 1; c <= GetColCount(); ++c) {
        const CKXColumnInfoClass* info = GetColumnInfo(static_cast<int>(c));
        if (GetSortKeyOfCol(static_cast<int>(c)).CompareNoCase(name) == 0) return static_cast<int>(c);
        if (c < static_cast<ROWCOL>(Layout().m_nFirstInstanceCol) && info &&
            (info->m_strPropertyName.CompareNoCase(name) == 0 || info->m_strCaption.CompareNoCase(name) == 0))
            return static_cast<int>(c);
    }
    return -1;
}

void CKXMatrixGridWnd::SortColumn(int col) {
    CKXGridWnd::OnSortColumn(col);
}

void CKXMatrixGridWnd::OnSortColumn(int col) {
    // The user's sort is a script word: the host runs it back into SortByColumnName.
    CString line;
    line.Format("%s pin %s", KXScriptWord::sort, KXTclQuote(GetSortKeyOfCol(col)).GetString());
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(line.GetString()), 0);
}

BOOL CKXMatrixGridWnd::SortByColumnName(const CString& name) {
    const int col = ColumnOfName(name);
    if (col < 1) return FALSE;
    SortColumn(col);
    return TRUE;
}

void CKXMatrixGridWnd::SortRows(int col, BOOL bAscending) {
    const ROWCOL last = GetRowCount();
    if (last <= kFirstDataRow || col < 1 || Col(col) > GetColCount()) return;
    // Every row of a signal takes the key and the place of the signal's first row.
    struct Place {
        CString key;
        ROWCOL block;
    };
    std::unordered_map<ROWCOL, Place> places;
    std::map<std::pair<unsigned, int>, ROWCOL> firstOfSignal;
    for (ROWCOL row = kFirstDataRow; row <= last; ++row) {
        const KXRowAttrs attrs(*this, row);
        const std::pair<unsigned, int> signal{static_cast<unsigned>(attrs.Get(Col(Layout().m_nNameCol), kAttrNetId)),
                                              attrs.Get(Col(Layout().m_nNameCol), kAttrNetBit)};
        const ROWCOL first = firstOfSignal.emplace(signal, row).first->second;
        places[row] = {first == row ? GetValueRowCol(row, Col(col)) : places[first].key, first};
    }
    auto less = [&](ROWCOL a, ROWCOL b) {
        const Place& x = places[a];
        const Place& y = places[b];
        if (x.block != y.block) {
            const int c = x.key.CompareNoCase(y.key);
            if (c != 0) return bAscending ? c < 0 : c > 0;
            return x.block < y.block;
        }
        return a < b;
    };
    GridWriteScope write(*this);
    CGXGridCore::SortRows(kFirstDataRow, last, less, kNoUpdate);
}

// Unsorted, the signals show in the order they were added, each signal's rows in their order (which the
// view keeps, so the order read before the sort is not needed).
void CKXMatrixGridWnd::RestoreUnsortedOrder(const std::vector<CString>&) {
    const ROWCOL last = GetRowCount();
    if (last <= kFirstDataRow) return;
    std::map<std::pair<unsigned, int>, size_t> added;
    for (size_t i = 0; i < m_arrNetData.size(); ++i)
        added.emplace(std::make_pair(m_arrNetData[i].netId, m_arrNetData[i].bit), i);
    std::unordered_map<ROWCOL, size_t> rank;
    for (ROWCOL row = kFirstDataRow; row <= last; ++row) {
        const KXRowAttrs attrs(*this, row);
        const auto it = added.find({static_cast<unsigned>(attrs.Get(Col(Layout().m_nNameCol), kAttrNetId)),
                                    attrs.Get(Col(Layout().m_nNameCol), kAttrNetBit)});
        rank[row] = it != added.end() ? it->second : m_arrNetData.size();
    }
    auto less = [&rank](ROWCOL a, ROWCOL b) { return rank[a] != rank[b] ? rank[a] < rank[b] : a < b; };
    GridWriteScope write(*this);
    CGXGridCore::SortRows(kFirstDataRow, last, less, kNoUpdate);
}

// ------------------------------------------------------------------ selection rules

namespace {

// True when the columns left..right hold signal-side columns and instance columns both.
bool Straddles(ROWCOL left, ROWCOL right) {
    const ROWCOL first = Col(CKXMatrixGridWnd::Layout().m_nFirstInstanceCol);
    return left != right && left < first && right >= first;
}

} // namespace

// A selection holds signal-side columns or instance columns, as many of either as the user likes, never
// both, and no header rows.
BOOL CKXMatrixGridWnd::CanChangeSelection(CGXRange* pRange, BOOL bIsDragging, BOOL bKey) {
    if (pRange && pRange->IsValid()) {
        if (Straddles(pRange->left, pRange->right)) return FALSE;
        pRange->top = std::max(pRange->top, kFirstDataRow);
        pRange->bottom = std::max(pRange->bottom, kFirstDataRow);
    }
    const bool adding = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) >= 0;
    const CGXRangeList* list = GetParam() ? GetParam()->GetRangeList() : nullptr;
    if (adding && list) {
        // Ctrl adds to the selection: the union keeps to one side, or the selection goes.
        ROWCOL left = pRange && pRange->IsValid() ? pRange->left : GetColCount();
        ROWCOL right = pRange && pRange->IsValid() ? pRange->right : 0;
        bool mixed = false;
        for (POSITION pos = list->GetHeadPosition(); pos;) {
            const CGXRange* listed = list->GetNext(pos);
            mixed = mixed || Straddles(listed->left, listed->right);
            left = std::min(left, listed->left);
            right = std::max(right, listed->right);
        }
        if (mixed || Straddles(left, right)) {
            CGXGridWnd::SetSelection(nullptr);
            return FALSE;
        }
    }
    return CGXGridWnd::CanChangeSelection(pRange, bIsDragging, bKey);
}

void CKXMatrixGridWnd::OnChangedSelection(const CGXRange* pRange, BOOL bIsDragging, BOOL bKey) {
    // A range over several columns stays (the common grid's selections keep to one column).
    CGXGridWnd::OnChangedSelection(pRange, bIsDragging, bKey);
}

// ------------------------------------------------------------------ selection and dump

void CKXMatrixGridWnd::GetSelectionAsList(CString& list) {
    // One key per selected row: the signal and, for an instance column, the instance.
    list.Empty();
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    GetCurrentCell(row, col);
    int offset = -1, group = -1;
    const bool instanceColumn = SplitColumn(static_cast<int>(col), offset, group);
    const CInstanceContext instance = instanceColumn ? GroupInstance(group) : CInstanceContext();
    for (ROWCOL r : SelectedDataRows()) {
        CString key = CellText(r, Layout().m_nNameCol);
        if (instance) key += CString(":") + instance.instance()->name();
        if (!list.IsEmpty()) list += " ";
        list += KXTclQuote(key);
    }
}

void CKXMatrixGridWnd::PublishPropertyRecords(IKXMessageServer* server) {
    // The property editor takes the selected rows' signals, or the pins of the selected pin cells.
    CKXConnObjInfoList list;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    int offset = -1, group = -1;
    const bool pins = GetCurrentCell(row, col) && SplitColumn(static_cast<int>(col), offset, group);
    if (pins) {
        for (const PinCell& cell : SelectedPinCells()) {
            // The record owns a copy of the pin's instance context.
            list.Add(new CKXConnObjInfo(cell.pinBit.instTerm()->name(), CKXConnObjInfo::PIN, cell.pinBit.bit(),
                                        cell.pinBit.bit(), new CInstanceContext(GroupInstance(cell.group))));
        }
    } else {
        for (const SignalRow& signal : CollectSelectedNetBits()) {
            INet* net = signal.netBit.net();
            list.Add(new CKXConnObjInfo(net->name(), net->isScalar() ? CKXConnObjInfo::NET : CKXConnObjInfo::BUS,
                                        signal.netBit.bit(), signal.netBit.bit(), nullptr));
        }
    }
    if (list.GetSize() == 0) return;
    server->Send(MSG_PROPERTY_EDITOR_SELECTION, reinterpret_cast<WPARAM>(&list), reinterpret_cast<LPARAM>(&m_designContext),
                 0);
}

// A pin cell of a component's columns opens the editor on that pin's properties, a cell left of the
// components on the selected signals; a component's cell in a row where it has no pin shows nothing
// and opens nothing.
void CKXMatrixGridWnd::ShowPropertyEditor() {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    int offset = -1, group = -1;
    if (GetCurrentCell(row, col) && SplitColumn(static_cast<int>(col), offset, group)) {
        int bit = -1;
        if (!GetCellInstTermBit(row, static_cast<int>(col), bit)) {
            const CInstanceContext instance = GroupInstance(group);
            CString where;
            where.Format("%u", static_cast<unsigned>(row));
            KXMenuAnswer::Report(KXEditResult::Refused(
                "KXTABLE-672", instance ? CString(instance.instance()->name()) : CString("?"), where));
            return;
        }
        ShowPropEditor(3);
    } else {
        ShowPropEditor(2);
    }
    NotifySelectionChanged();
}

BOOL CKXMatrixGridWnd::DumpMatrix(const char* path) {
    if (!path) return FALSE;
    KXGridDump dump;
    dump.Line("\n---Matrix Dump for view: " + m_strViewName + "---\n");
    dump.Cells(*this, [this](ROWCOL col) { return GetColWidth(col) != 0; });
    return dump.AppendTo(path) ? TRUE : FALSE;
}
