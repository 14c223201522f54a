// The row filter (one pattern per column in the filter row, and the part's
// function groups) and the column modes of several grids side by side. Rows
// are only hidden and shown, never removed.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridFill.h"
#include "pingrid/KXPinGridFunctions.h"
#include "pingrid/KXPinGridFilter.h"
#include "grid/KXRowFilter.h"
#include "pingrid/KXPinGridUtil.h"

#include "grid/KXGridKeys.h"
#include "grid/KXGridScopes.h"
#include "grid/KXScriptText.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXFilterData.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <list>
#include <set>
#include <utility>

using kxpingrid::Col;

namespace {

constexpr ROWCOL kFilterRow = 4;
using kxgrid::kSmart;
constexpr const char* kNoFilterPattern = "*"; // a column that filters nothing

bool IsChildKind(PinRowKind kind) {
    return kind == PIN_ROW_DIFFPAIR || kind == PIN_ROW_VECTOR_DIFFPAIR || kind == PIN_ROW_DIFFPAIR_CHILD ||
           kind == PIN_ROW_POWER || kind == PIN_ROW_IMPLICIT_POWER;
}

} // namespace

// ---------------------------------------------------------------------------
// Pattern filter

BOOL CKXInstanceDetailsGridWnd::OnFilterCellChanged(CString columnName, CString pattern) {
    ROWCOL col = GX_INVALID;
    if (columnName.IsEmpty()) {
        ROWCOL row = 0;
        if (!GetCurrentCell(row, col)) return FALSE;
    } else {
        const int named = ColumnOfName(columnName);
        col = named > 0 ? Col(named) : GX_INVALID;
    }
    if (col == GX_INVALID || col == 0 || col > GetColCount()) return FALSE;
    m_filter->WriteFilterCell(col, pattern);
    SetCurrentCell(kFilterRow, col, GX_SMART | GX_SCROLLINVIEW);
    FilterRows(static_cast<int>(col));
    return TRUE;
}

void KXPinGridFilter::WriteFilterCell(ROWCOL col, const CString& pattern) {
    kxgrid::GridWriteScope write(m_grid);
    m_grid.SetValueRange(CGXRange(kFilterRow, col), pattern, gxOverride, 0, kSmart);
}

void CKXInstanceDetailsGridWnd::ClearColumnFilter(ROWCOL col) {
    if (col == 0 || col > GetColCount()) return;
    m_filter->WriteFilterCell(col, kNoFilterPattern);
    FilterRowsAsUser(col);
}

bool CKXInstanceDetailsGridWnd::ClearRowFilter() {
    bool cleared = false;
    for (int c = std::min(m_nColCount - 1, static_cast<int>(GetColCount())); c >= 1; --c) {
        if (KXRowFilter::IsMatchAll(m_filter->FilterPatternOf(c, 0))) continue;
        m_filter->WriteFilterCell(Col(c), kNoFilterPattern);
        cleared = true;
    }
    if (cleared) FilterRows(0);
    return cleared;
}

void CKXInstanceDetailsGridWnd::FilterRowsAsUser(ROWCOL col) {
    // The user's own change of the filter: journalled as a typed pattern is.
    const BOOL bUserEdit = std::exchange(m_bUserFilterEdit, TRUE);
    FilterRows(static_cast<int>(col));
    m_bUserFilterEdit = bUserEdit;
}

void CKXInstanceDetailsGridWnd::FilterRows(int editedCol) {
    const BOOL bWasLocked = LockUpdate(TRUE);
    CGXGridParam* param = GetParam();
    const BOOL bUndo = param ? param->IsEnableUndo() : FALSE;
    if (param) param->EnableUndo(FALSE);
    for (ROWCOL row = PIN_FIRST_ROW; row <= GetRowCount();)
        row = m_filter->ResetFilteredTree(row, true);
    std::set<ROWCOL> hidden;
    CKXFilterData filter;
    const int firstCol = m_nColCount - 1;
    for (int c = std::min(firstCol, static_cast<int>(GetColCount())); c >= 1; --c) {
        const CString pattern = m_filter->FilterPatternOf(c, editedCol);
        if (pattern.IsEmpty() || pattern == "*") continue; // no filter on this column
        filter.SetPattern(pattern);
        m_fill->WriteWidePinRowsMatching(
            c, [&filter](const CString& text) { return filter.SearchText(text, 0) != FALSE; });
        m_filter->FilterColumn(c, filter, hidden);
        filter.FreePattern();
    }
    if (param) param->EnableUndo(bUndo);
    // The rows the pattern showed again stay hidden when the chosen function has none of their pins.
    if (m_nFunctionFilter != 0) HideFilteredRows(m_nFunctionFilter, TRUE);
    if (m_bUserFilterEdit) m_filter->JournalFilterEdit(editedCol);
    if (!bWasLocked) {
        LockUpdate(FALSE);
        Redraw(GX_INVALIDATE, TRUE);
    }
}

void KXPinGridFilter::ShowFilteredRow(ROWCOL row, BOOL bShow) {
    m_grid.CKXGridWnd::HideRows(row, row, !bShow, nullptr, kSmart, gxDo);
}

ROWCOL KXPinGridFilter::ResetFilteredTree(ROWCOL row, bool visible) {
    // Every row shows again, except the rows below a collapsed row. A row's own children are the
    // rows of its kind's child list, or the bit rows that follow a vector row.
    const ROWCOL last = m_grid.GetRowCount();
    const ROWCOL pinCol = Col(m_grid.m_nColPinName);
    ShowFilteredRow(row, visible);
    ROWCOL next = row + 1;
    const CString state = m_grid.AttrText(row, pinCol, IDS_UA_EXPAND_STATE);
    if (state.IsEmpty()) return next;
    const bool open = visible && state == "1";
    CString base;
    int msb = -1, lsb = -1;
    const PinRowKind kind = m_grid.GetRowKind(row, base, msb, lsb);
    if (IsChildKind(kind)) {
        std::list<int> children;
        m_grid.GetChildRows(row, children, 1);
        for (int child : children)
            if (static_cast<ROWCOL>(child) >= next)
                next = ResetFilteredTree(static_cast<ROWCOL>(child), open);
        // Legs below the bit rows of a vector pair are the bit rows' own children.
        while (next <= last && m_grid.GetRowKind(next, base, msb, lsb) == PIN_ROW_DIFFPAIR_LEG &&
               kind == PIN_ROW_VECTOR_DIFFPAIR)
            next = ResetFilteredTree(next, false);
        return next;
    }
    while (next <= last && !m_grid.AttrText(next, pinCol, IDS_UA_PLUSMINUS_BIT).IsEmpty() &&
           m_grid.AttrText(next, pinCol, IDS_UA_EXPAND_STATE).IsEmpty())
        next = ResetFilteredTree(next, open);
    return next;
}

CString KXPinGridFilter::FilterPatternOf(int col, int editedCol) {
    // The column being edited filters by what its cell holds now.
    CString pattern = m_grid.GetValueRowCol(kFilterRow, Col(col));
    if (col == editedCol && m_grid.IsCurrentCell(kFilterRow, Col(col)))
        if (CGXControl* control = m_grid.GetControl(kFilterRow, Col(col)); control && control->IsActive())
            control->GetCurrentText(pattern);
    return pattern;
}

void KXPinGridFilter::FilterColumn(int c, CKXFilterData& filter, std::set<ROWCOL>& hidden) {
    const ROWCOL col = Col(c);
    const bool byTip = c == m_grid.m_nColPupd || c == m_grid.m_nColComments || c == m_grid.m_nColDiffPair;
    for (ROWCOL row = PIN_FIRST_ROW; row <= m_grid.GetRowCount(); ++row) {
        const CString text =
            byTip ? m_grid.AttrText(row, col, IDS_UA_TOOLTIPTEXT) : CString(m_grid.GetValueRowCol(row, col));
        if (!filter.SearchText(text, 0)) {
            ShowFilteredRow(row, FALSE);
            hidden.insert(row);
            continue;
        }
        if (hidden.count(row)) continue;
        ShowFilteredRow(row, TRUE);
        RevealPairRowsOf(row, hidden);
    }
}

void KXPinGridFilter::RevealPairRowsOf(ROWCOL row, std::set<ROWCOL>& hidden) {
    // A matching leg or pair member shows its pair rows; a matching pair row its open children.
    CString base;
    int msb = -1, lsb = -1;
    const PinRowKind kind = m_grid.GetRowKind(row, base, msb, lsb);
    const ROWCOL parent = m_grid.GetRowParentOffset(row);
    if (kind == PIN_ROW_DIFFPAIR_LEG && parent != GX_INVALID) {
        if (m_grid.GetRowKind(parent, base, msb, lsb) == PIN_ROW_DIFFPAIR_CHILD) {
            RevealFilteredParent(parent, IDS_CTRL_MERGED_SIBLING);
            if (const ROWCOL top = m_grid.GetRowParentOffset(parent); top != GX_INVALID)
                RevealFilteredParent(top, IDS_CTRL_MINUS_BUTTON);
        } else {
            RevealFilteredParent(parent, IDS_CTRL_MINUS_BUTTON);
        }
    } else if (kind == PIN_ROW_DIFFPAIR_CHILD && parent != GX_INVALID) {
        RevealFilteredParent(parent, IDS_CTRL_MINUS_BUTTON);
    }
    if (kind == PIN_ROW_DIFFPAIR || kind == PIN_ROW_DIFFPAIR_CHILD || kind == PIN_ROW_DIFFPAIR_LEG) {
        const bool open = m_grid.AttrText(row, Col(m_grid.m_nColPinName), IDS_UA_EXPAND_STATE) == "1";
        std::list<int> children;
        m_grid.GetChildRows(row, children, 0);
        for (int child : children) {
            ShowFilteredRow(static_cast<ROWCOL>(child), open);
            if (!open) hidden.insert(static_cast<ROWCOL>(child));
        }
    }
}

void KXPinGridFilter::RevealFilteredParent(ROWCOL row, UINT control) {
    ShowFilteredRow(row, TRUE);
    CGXGridParam* p = m_grid.GetParam();
    const BOOL bLock = p ? p->IsLockReadOnly() : FALSE;
    if (p) p->SetLockReadOnly(FALSE);
    CGXStyle style;
    style.SetControl(static_cast<WORD>(control)).SetUserAttribute(static_cast<WORD>(IDS_UA_EXPAND_STATE), 1);
    m_grid.SetStyleRange(CGXRange(row, Col(m_grid.m_nColPinName)), style, gxOverride, 0, kSmart);
    if (p) p->SetLockReadOnly(bLock);
}

void KXPinGridFilter::JournalFilterEdit(int editedCol) {
    const char* journal = CKXShareGlobalData::m_bAutomation;
    if (!journal || editedCol < 1 || Col(editedCol) > m_grid.GetColCount()) return;
    const CString handle = m_grid.JournalHandle();
    const CString pattern = FilterPatternOf(editedCol, editedCol);
    const CString shown = m_grid.m_instCurrent ? CString(m_grid.m_instCurrent.name()) : CString();
    CString line;
    line.Format("\ncall %s.Clp().Select(%s)\ncall %s.ConnectivityPane().FilterRows(%s,%s)\n",
                handle.GetString(), KXVbsQuote(shown).GetString(), handle.GetString(),
                KXVbsQuote(m_grid.GetValueRowCol(PIN_CAPTION_ROW, Col(editedCol))).GetString(),
                KXVbsQuote(pattern).GetString());
    KXJournalWrite(journal, CString(), line);
}

// ---------------------------------------------------------------------------
// Function filter

void KXPinGridFilter::LoadFunctionGroupPins(int function) {
    CMapStringToString pins;
    m_grid.m_functions->m_mapFunctionPins.clear();
    if (function > 0 && !m_grid.m_functions->m_strPartName.IsEmpty()) {
        m_grid.m_functions->m_partReader.GetPinsForFunctionGroup(m_grid.m_functions->m_strPartName, CString(),
                                                                 function, 1, pins);
        for (POSITION pos = pins.GetStartPosition(); pos;) {
            CString key, value;
            pins.GetNextAssoc(pos, key, value);
            m_grid.m_functions->m_mapFunctionPins[key] = value;
        }
    }
}

void CKXInstanceDetailsGridWnd::HideFilteredRows(int function, BOOL bKeepHidden) {
    kxgrid::GridWriteScope undo(*this, kxgrid::GridWriteScope::kUndo);
    m_bFunctionFilterRan = 1;
    m_nFunctionFilter = function;
    m_bFilterActive = function != 0 ? TRUE : FALSE;
    if (function != 0) m_filter->LoadFunctionGroupPins(function);
    const ROWCOL last = GetRowCount();
    const ROWCOL pinCol = Col(m_nColPinName);
    auto hide = [this](ROWCOL row, BOOL bHide) {
        CKXGridWnd::HideRows(row, row, bHide, nullptr, kSmart, gxDo);
    };
    for (ROWCOL row = PIN_FIRST_ROW; row <= last; ++row) {
        if (bKeepHidden && IsRowHidden(row)) continue;
        const BOOL inFunction = IsTextInFilterMap(GetValueRowCol(row, Col(m_nColPinNumber)));
        if (!inFunction) {
            hide(row, TRUE);
        } else if (!bKeepHidden) {
            hide(row, FALSE);
        } else {
            continue;
        }
        CString base, msbText, lsbText;
        if (!GetCellVectorInfo(row, base, msbText, lsbText) || msbText.IsEmpty() || lsbText.IsEmpty())
            continue;
        const CString state = AttrText(row, pinCol, IDS_UA_EXPAND_STATE);
        if (state.IsEmpty()) continue;
        const int msb = std::atoi(msbText.GetString()), lsb = std::atoi(lsbText.GetString());
        if (lsb > msb) continue;
        const BOOL bHideBits = !inFunction || state != "1";
        for (int i = 0; i <= msb - lsb && row + 1 <= last; ++i) {
            if (AttrText(row + 1, pinCol, IDS_UA_PLUSMINUS_BIT).IsEmpty()) break;
            ++row;
            hide(row, bHideBits);
        }
    }
}

void CKXInstanceDetailsGridWnd::ReapplyFilters() {
    if (GetRowCount() < PIN_FIRST_ROW) return;
    bool active = m_nFunctionFilter != 0;
    for (ROWCOL c = 1; c <= GetColCount() && !active; ++c) {
        const CString pattern = GetValueRowCol(kFilterRow, c);
        active = !pattern.IsEmpty() && pattern != "*";
    }
    if (!active) return; // nothing is filtered: the rows stay as loaded
    const BOOL bUserEdit = std::exchange(m_bUserFilterEdit, FALSE); // nothing to journal
    FilterRows(m_nColPinName);
    m_bUserFilterEdit = bUserEdit;
}

void CKXInstanceDetailsGridWnd::RefreshFilter(int col, int function, BOOL bLockUpdate) {
    CWaitCursor wait;
    SelectRange(CGXRange().SetRows(0, GetRowCount()), FALSE, TRUE);
    const BOOL bWasLocked = bLockUpdate ? LockUpdate(TRUE) : TRUE;
    if (function != -1) m_nFunctionFilter = function; // the patterns filter within the function chosen now
    FilterRows(col);
    HideFilteredRows(m_nFunctionFilter, TRUE);
    if (!bWasLocked) {
        LockUpdate(FALSE);
        Redraw(GX_INVALIDATE, TRUE);
    }
    SetTopRow(PIN_FIRST_ROW, kSmart);
}

// ---------------------------------------------------------------------------
// Column modes

void CKXInstanceDetailsGridWnd::SetColumnMode(BOOL bCompact, BOOL bResetFilter, BOOL bSignalOnly,
                                              int gridIndex) {
    m_bCompactColumns = bCompact;
    m_nGridIndex = gridIndex;
    const BOOL bWasLocked = LockUpdate(TRUE);
    CGXGridParam* param = GetParam();
    const BOOL bUndo = param ? param->IsEnableUndo() : FALSE;
    if (param) param->EnableUndo(FALSE);
    const BOOL signalOnly = bCompact && bSignalOnly;
    m_bSignalOnlyColumns = signalOnly;
    HideColumnModeColumns(bCompact, signalOnly);
    // The widths follow the mode: the reduced layout keeps pin name, pin number and signal, a third
    // of the window each (the signal column alone takes it all), and the signal column stretches over
    // whatever the others leave.
    SetColumnModeWidths(bCompact, signalOnly);
    m_bReducedColumns = bCompact ? 1 : 0;
    m_bColumnMode = bCompact ? 1 : 0;
    m_bSignalEditThroughPane = m_bColumnMode;
    m_bSortsAcrossGrids = m_bColumnMode != 0;
    // Side by side, keys and clicks cross to the neighbouring grids; grids of one instance (same rows)
    // also scroll and hide rows together.
    m_bPaneNavigation = bCompact ? TRUE : FALSE;
    m_bSyncWithPane = bCompact && bResetFilter ? TRUE : FALSE;
    if (bResetFilter) {
        CGXGridParam* p = GetParam();
        const BOOL bLock = p ? p->IsLockReadOnly() : FALSE;
        if (p) p->SetLockReadOnly(FALSE);
        for (int col : {m_nColPinName, m_nColPinNumber})
            if (col >= 1 && Col(col) <= GetColCount())
                SetValueRange(CGXRange(kFilterRow, Col(col)), "*", gxOverride, 0, kSmart);
        if (p) p->SetLockReadOnly(bLock);
        FilterRows(m_nColPinName);
        RefreshCellControls(-1, FALSE);
        SetSortColumn(-1);
        m_bSortAscending = TRUE;
        CKXGridWnd::OnSortColumn(m_nColPinName);
    }
    m_bFilterReset = bResetFilter;
    if (!bWasLocked) {
        LockUpdate(FALSE);
        Redraw(GX_INVALIDATE, TRUE);
    }
    if (param) param->EnableUndo(bUndo);
}

void CKXInstanceDetailsGridWnd::HideColumnModeColumns(BOOL bCompact, BOOL bSignalOnly) {
    auto hideCol = [this](int col, BOOL bHide) {
        if (col >= 0 && Col(col) <= GetColCount()) HideCols(Col(col), Col(col), bHide, nullptr, kSmart, gxDo);
    };
    hideCol(0, bSignalOnly);
    for (int col : {m_nColPinType, m_nColTermination, m_nColPupd, m_nColComments})
        hideCol(col, bCompact);
    hideCol(m_nColPinName, bSignalOnly);
    hideCol(m_nColPinNumber, bSignalOnly);
}

void CKXInstanceDetailsGridWnd::SetColumnModeWidths(BOOL bCompact, BOOL bSignalOnly) {
    auto setWidth = [this](int col, int width) {
        if (col >= 1 && Col(col) <= GetColCount())
            SetColWidth(Col(col), Col(col), width, nullptr, kSmart, gxDo);
    };
    if (!bCompact) {
        // Back to the widths of the column list.
        for (int c = 1; c < static_cast<int>(m_arrColumnInfo.size()); ++c)
            if (const CKXColumnInfoClass* info = m_arrColumnInfo[static_cast<std::size_t>(c)])
                setWidth(c, info->m_nWidth);
        return;
    }
    const int client = GetGridRect().Width();
    if (bSignalOnly) {
        setWidth(m_nColPinName, 0);
        setWidth(m_nColPinNumber, 0);
        setWidth(m_nColSignal, client);
        return;
    }
    constexpr int kShownColumns = 3;
    for (int c : {m_nColPinName, m_nColPinNumber, m_nColSignal})
        setWidth(c, client / kShownColumns);
}
