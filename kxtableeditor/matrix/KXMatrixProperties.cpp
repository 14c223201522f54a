// Property columns of the matrix: a net-property column shows a property of each
// row's signal, a pin-property column (in every group) one of the pin the group
// shows in the row. A value typed into such a cell, or given by the pane's
// ChangePropValue, sets the property in one edit; a row without the object
// refuses.
#include "matrix/KXMatrixGridWnd.h"

#include "grid/KXCustomColumns.h"
#include "grid/KXGridEdit.h"
#include "grid/KXGridScopes.h"
#include "grid/KXJournalLine.h"

#include "kxcommon/KXCustomizeAPI.h"
#include "rmx/transaction.h"

#include <algorithm>
#include <memory>

using namespace kxmatrix;

namespace {

constexpr unsigned long kUserSource = 2;

} // namespace

bool CKXMatrixGridWnd::IsPropertyColumn(int col) {
    const CKXColumnInfoClass* info = col > 0 ? GetColumnInfo(col) : nullptr;
    return info && (info->m_nPropertyType == KX_ORIGIN_NETPROP || info->m_nPropertyType == KX_ORIGIN_PINPROP);
}

CContext CKXMatrixGridWnd::PropertyPlace(ROWCOL row, int col) {
    int offset = -1, group = -1, bit = -1;
    if (SplitColumn(col, offset, group)) {
        IInstTerm* pin = GetCellInstTermBit(row, col, bit);
        return pin ? CContext(GroupInstance(group).instTerm(pin).bitContext(bit)) : CContext();
    }
    INet* net = GetCellNetBit(row, bit);
    return net ? CContext(m_designContext.net(net).bitContext(bit)) : CContext();
}

BOOL CKXMatrixGridWnd::ChangeCustomColumnValue(CMapStringToString& values) {
    ROWCOL current = GX_INVALID, col = GX_INVALID;
    if (IsReadOnlyWindow() || !GetCurrentCell(current, col) || !IsPropertyColumn(static_cast<int>(col))) return FALSE;
    const CString key = GetColumnInfo(static_cast<int>(col))->m_strPropertyName;
    CString value;
    if (!values.Lookup(key, value)) return FALSE;
    // A value the property's rules refuse (a line break, a tab) is written nowhere.
    if (const KXCustomColumns::Verdict verdict = KXCustomColumns::Check(key, value, 0);
        verdict != KXCustomColumns::Verdict::Ok) {
        KXCustomColumns::Report(verdict, key, value);
        return FALSE;
    }
    CKXGridEdit edit(*this, "Change Prop", CKXGridEdit::kJoinOpen);
    if (!edit) return FALSE;
    KXJournalLines journal(JournalHandle());
    // The column goes before its cell: a replay in another user's settings may have none of it.
    const CString column = CKXColumnModel::EntryOf(*GetColumnInfo(static_cast<int>(col)), CharWidth());
    std::vector<ROWCOL> changed;
    for (ROWCOL row : RowsToChange(current, col)) {
        const CContext place = PropertyPlace(row, static_cast<int>(col));
        if (!place) continue; // no signal or no pin in this row: nothing to set
        std::unique_ptr<CPQPropertyData> old(place.findProperty(key.GetString()));
        const CString oldValue = old ? CString(old->value()) : CString();
        const bool done = value.IsEmpty()
                              ? old && edit.Transaction()->removeProperty(place, key.GetString())
                              : oldValue != value && edit.Transaction()->addProperty(place, key.GetString(), value,
                                                                                      kUserSource, false);
        if (!done) continue;
        changed.push_back(row);
        int offset = -1, group = -1;
        const bool pinSide = SplitColumn(static_cast<int>(col), offset, group);
        const CInstanceContext instance = pinSide ? GroupInstance(group) : CInstanceContext();
        journal.Pane("OpenMatrixView", {m_strViewName})
            .Pane("AddPropColumn", {column})
            .Pane("MatrixSelect", {CellText(row, Layout().m_nNameCol), instance ? CString(instance.instance()->name()) : "",
                                   key, pinSide ? CellText(row, ColumnOf(group, Layout().m_nPinNameOffset)) : CString()})
            .Comment("Change Property")
            .Pane("ChangePropValue", {key, value})
            .OwnStep()
            .End();
    }
    if (changed.empty() || !edit.Commit()) return FALSE;
    RefreshPropertyRows(static_cast<int>(col), changed);
    MarkModified();
    journal.Write();
    return TRUE;
}

void CKXMatrixGridWnd::RefreshPropertyRows(int col, const std::vector<ROWCOL>& rows) {
    const CKXColumnInfoClass* info = col > 0 ? GetColumnInfo(col) : nullptr;
    if (!info || info->m_nPropertyType == 0) return;
    // The cells show the design: the edit's undo step is the design's, and its undo rewrites them.
    kxgrid::GridWriteScope undoOff(*this, kxgrid::GridWriteScope::kUndo);
    std::vector<ROWCOL> every;
    if (rows.empty())
        for (ROWCOL row = kFirstDataRow; row <= GetRowCount(); ++row)
            every.push_back(row);
    int offset = -1, group = -1;
    if (SplitColumn(col, offset, group))
        FillPinPropertyRows(info->m_strPropertyName, col, rows.empty() ? every : rows);
    else
        FillNetPropertyRows(info->m_strPropertyName, col, rows.empty() ? every : rows);
}

void CKXMatrixGridWnd::FillNetPropertyRows(const CString& key, int col, const std::vector<ROWCOL>& rows) {
    for (ROWCOL row : rows) {
        // A net's property shows on every row of the signal.
        int bit = -1;
        INet* net = GetCellNetBit(row, bit);
        if (!net) continue;
        for (ROWCOL shown : SignalRows(net->id(), bit))
            WritePropertyCell(shown, col, key);
    }
}

void CKXMatrixGridWnd::FillPinPropertyRows(const CString& key, int col, const std::vector<ROWCOL>& rows) {
    for (ROWCOL row : rows)
        WritePropertyCell(row, col, key);
}

void CKXMatrixGridWnd::WritePropertyCell(ROWCOL row, int col, const CString& key) {
    const CContext place = PropertyPlace(row, col);
    std::unique_ptr<CPQPropertyData> property(place ? place.findProperty(key.GetString()) : nullptr);
    WriteCell(row, col, CGXStyle().SetValue(property ? CString(property->value()) : CString()));
}

std::vector<ROWCOL> CKXMatrixGridWnd::RowsToChange(ROWCOL current, ROWCOL col) {
    // The selected rows when the selection holds the current cell's column and row, else the current row.
    std::vector<ROWCOL> rows;
    bool holdsCurrent = false;
    CGXRangeList ranges;
    CopyRangeList(ranges, FALSE);
    for (POSITION pos = ranges.GetHeadPosition(); pos;) {
        const CGXRange range = ranges.GetNext(pos)->GetBounded(GetRowCount(), GetColCount());
        if (col < range.left || col > range.right) continue;
        for (ROWCOL r = std::max(range.top, kFirstDataRow); r <= range.bottom && r <= GetRowCount(); ++r) {
            if (IsRowHidden(r)) continue;
            rows.push_back(r);
            holdsCurrent = holdsCurrent || r == current;
        }
    }
    if (!holdsCurrent) rows = {current};
    return rows;
}

BOOL CKXMatrixGridWnd::ChangeCellProperty(ROWCOL row, ROWCOL col, const CString& typed) {
    if (!m_bValidationIdle) return FALSE;
    CString text = typed;
    text.Trim();
    // The value the object holds already (a cell validated again after its store) is taken as it is; the
    // same value in another letter case changes nothing.
    const CString key = GetColumnInfo(static_cast<int>(col))->m_strPropertyName;
    const CContext place = PropertyPlace(row, static_cast<int>(col));
    std::unique_ptr<CPQPropertyData> held(place ? place.findProperty(key.GetString()) : nullptr);
    const CString value = held ? CString(held->value()) : CString();
    // Blanks typed around that value change nothing: refused, so that the cell shows the design's value.
    if (held && !text.IsEmpty() && value == text) return typed == text ? TRUE : FALSE;
    if (value.CompareNoCase(text) == 0) return FALSE;
    m_bValidationIdle = 0;
    CMapStringToString values;
    values.SetAt(GetColumnInfo(static_cast<int>(col))->m_strPropertyName, text);
    const BOOL done = ChangeCustomColumnValue(values);
    m_bValidationIdle = 1;
    return done;
}
