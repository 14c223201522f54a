// Clicks into the auto-complete combos of a row, and a value entered into a named
// column by automation as if the user had typed it.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "grid/KXScriptText.h"
#include "signalgrid/KXSignalGridUtil.h"

#include "kxcontrols/KXCellControls.h"

using namespace kxsignal;

void CKXSignalDetailsGridWnd::OnCellControlClick(CPoint point, BOOL* pKeepSelection) {
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (HitTest(point, &row, &col) != GX_CELLHIT || row < kFirstDataRow || row > GetRowCount() || col > GetColCount())
        return;
    auto* combo = dynamic_cast<CKXGridACCombo*>(GetControl(row, col));
    if (!combo) return;
    // A press on the drop-down button of a row's component or pin cell keeps the selected rows:
    // the entry chosen goes into each of them.
    const int c = static_cast<int>(col);
    const bool rowCell = c == m_nColStartBit || c == m_nColEndBit || c == m_nColInstance || c == m_nColCell ||
                         c == m_nColLocation || c == m_nColPinName || c == m_nColPinNumber;
    if (rowCell && pKeepSelection) *pKeepSelection = combo->IsChildCtrl(point);
    combo->m_bAutoComplete = m_bAutoComplete;
}

BOOL CKXSignalDetailsGridWnd::SetColumnValueByName(const CString& name, const CString& value) {
    ROWCOL col = 0;
    for (ROWCOL c = 1; c <= GetColCount() && !col; ++c)
        if (GetValueRowCol(kCaptionRow, c).CompareNoCase(name) == 0) col = c;
    // The value goes into the row the user works on: the current cell's, else the first selected.
    ROWCOL row = GX_INVALID, current = GX_INVALID;
    if (!GetCurrentCell(row, current) || row < kFirstDataRow) {
        const std::vector<ROWCOL> rows = SelectedDataRows();
        row = rows.empty() ? GX_INVALID : rows.front();
    }
    if (!col || row == GX_INVALID || row < kFirstDataRow || row > GetRowCount()) return FALSE;
    if (!GetControl(row, col) || IsCellReadOnly(row, col)) return FALSE;
    return TypeIntoCell(row, col, value) ? TRUE : FALSE;
}

BOOL CKXSignalDetailsGridWnd::ChangePropValue(const CString& name, const CString& value) {
    // A property column takes the value on every selected row in one edit; any other column by
    // its caption, as typed.
    if (Columns().PropertyColumns().count(name)) {
        CMapStringToString values;
        values.SetAt(name, KXValueListItem(value));
        return ChangeCustomColumnValue(values);
    }
    return SetColumnValueByName(name, value);
}
