#include "grid/KXPlusMinusEditButton.h"
#include "grid/KXScriptWords.h"

#include "grid/KXGlobalMessages.h"
#include "grid/KXGridIds.h"
#include "grid/KXSpinText.h"
#include "kxmsgsrvr/KXMsgIds.h"

#include <algorithm>
#include <vector>

namespace {

// Hierarchy level of a row (absent or not a number: 0).
int RowLevel(const CGXStyle& style) {
    const CGXAbstractUserAttribute* level = style.FindUserAttribute(IDS_UA_PLUSMINUS_BIT);
    return level ? kxspin::LeadingNumber(level->GetValue().str()) : 0;
}

bool IsExpandedState(const CGXStyle& style) {
    const CGXAbstractUserAttribute* state = style.FindUserAttribute(IDS_UA_EXPAND_STATE);
    return state && state->GetValue().CompareNoCase("1") == 0;
}

// The style of a row below a group, as far as the walk of a toggle reads it. A collapse hides every
// row it walks whatever nested groups say, so it reads only whether the row goes on the walk: its
// control, its level (and for a pair vector its pair-row mark). When the cell holds these itself, the
// styles behind it change none of them and the cell's own style serves (read in place when the grid
// stores what its cells show); otherwise (and for an expand, which reads the nested groups' states)
// the row is composed into `scratch`.
const CGXStyle& WalkedRowStyle(CGXGridCore& grid, ROWCOL row, ROWCOL col, bool collapse, bool pairVector,
                               bool storedCells, CGXStyle& scratch) {
    if (collapse) {
        const CGXStyle* cell = &scratch;
        if (storedCells && col > 0) { // column 0 holds the row numbers the grid makes
            const CGXData* data = grid.GetData();
            cell = data ? data->LookupCell(row, col) : nullptr;
        } else {
            grid.GetStyleRowCol(row, col, scratch, gxCopy, 0);
        }
        if (cell && cell->GetIncludeControl() && cell->FindUserAttribute(IDS_UA_PLUSMINUS_BIT) &&
            (!pairVector || cell->FindUserAttribute(IDS_UA_DIFFPAIR_ROW)))
            return *cell;
    }
    grid.ComposeStyleRowCol(row, col, &scratch);
    return scratch;
}

// Collects consecutive rows with the same hide flag and hides or shows them in one call.
class RowRuns {
public:
    explicit RowRuns(CGXGridCore* pGrid) : m_pGrid(pGrid) {}
    ~RowRuns() { Flush(); }
    RowRuns(const RowRuns&) = delete;
    RowRuns& operator=(const RowRuns&) = delete;

    void Add(ROWCOL row, bool hide) {
        if (m_first != GX_INVALID && (hide != m_hide || row != m_last + 1)) Flush();
        if (m_first == GX_INVALID) {
            m_first = row;
            m_hide = hide;
        }
        m_last = row;
    }
    // Rows first..last, all with the same flag.
    void AddRange(ROWCOL first, ROWCOL last, bool hide) {
        if (first > last) return;
        Add(first, hide);
        m_last = last;
    }
    void Flush() {
        if (m_first != GX_INVALID)
            m_pGrid->HideRows(m_first, m_last, m_hide ? TRUE : FALSE, nullptr, GX_UPDATENOW, gxDo);
        m_first = m_last = GX_INVALID;
    }

private:
    CGXGridCore* m_pGrid;
    ROWCOL m_first = GX_INVALID;
    ROWCOL m_last = GX_INVALID;
    bool m_hide = false;
};

} // namespace

CRuntimeClass* CKXPlusMinusEditButton::GetThisClass() {
    static CRuntimeClass rc{"CKXPlusMinusEditButton", static_cast<int>(sizeof(CKXPlusMinusEditButton)),
                            0xFFFF, nullptr, &CGXEditControl::GetThisClass};
    return &rc;
}

CRuntimeClass* CKXPlusMinusEditButton::GetRuntimeClass() const {
    return GetThisClass();
}

CKXPlusMinusEditButton::CKXPlusMinusEditButton(CGXGridCore* pGrid, UINT nBitmapId, UINT nMinusId,
                                               UINT nPlusId, int nOffset)
    : CGXEditControl(pGrid, nBitmapId), m_pButton(new CGXBitmapButtonChild(this)), m_nPlusId(nPlusId),
      m_nMinusId(nMinusId), m_nOffset(nOffset) {
    EnableAutomation();
    AddChild(m_pButton);
    m_pButton->LoadBitmaps(nBitmapId, 0, 0);
    m_pButton->SetPreferredWidth(m_nButtonWidth);
}

void CKXPlusMinusEditButton::RegisterControls(CGXGridCore* pGrid, UINT nMinusId, UINT nPlusId, int nOffset,
                                              bool bStoredCells) {
    if (!pGrid) return;
    auto* plus = new CKXPlusMinusEditButton(pGrid, IDB_PLUS, nMinusId, nPlusId, nOffset);
    auto* minus = new CKXPlusMinusEditButton(pGrid, IDB_MINUS, nMinusId, nPlusId, nOffset);
    plus->m_bStoredCells = minus->m_bStoredCells = bStoredCells;
    pGrid->RegisterControl(nPlusId, plus, FALSE, TRUE);
    pGrid->RegisterControl(nMinusId, minus, FALSE, TRUE);
}

BOOL CKXPlusMinusEditButton::IsActive() {
    return FALSE;
}

CRect CKXPlusMinusEditButton::GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem, const CGXStyle* pStyle) {
    CRect rect = CGXEditControl::GetCellRect(nRow, nCol, rectItem, pStyle);
    rect.left += m_nOffset + m_nButtonWidth + 2;
    return rect;
}

void CKXPlusMinusEditButton::OnInitChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect) {
    (void)nRow;
    (void)nCol;
    m_pButton->SetRect(
        CRect(rect.left + m_nOffset, rect.top, rect.left + m_nOffset + m_nButtonWidth, rect.bottom));
}

void CKXPlusMinusEditButton::UserToggle() {
    if (!IsInit()) return;
    m_bBusy = TRUE;
    ToggleExpand(GetRow(), GetCol());
    m_bBusy = FALSE;
}

void CKXPlusMinusEditButton::OnClickedButton(CGXChild* pChild) {
    (void)pChild;
    UserToggle();
}

BOOL CKXPlusMinusEditButton::KeyPressed(UINT nMessage, UINT nChar, UINT nRepCnt, UINT flags) {
    if (nChar == VK_SPACE) {
        UserToggle();
        return TRUE;
    }
    return CGXEditControl::KeyPressed(nMessage, nChar, nRepCnt, flags);
}

void CKXPlusMinusEditButton::OnEditKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar == VK_SPACE) {
        UserToggle();
        return;
    }
    CGXEditControl::KeyPressed(WM_KEYUP, nChar, nRepCnt, nFlags);
}

LRESULT CKXPlusMinusEditButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYUP) {
        OnEditKeyUp(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    }
    return CGXEditControl::WindowProc(message, wParam, lParam);
}

bool CKXPlusMinusEditButton::ComposeGroupRow(ROWCOL nRow, ROWCOL nCol, CGXStyle& style) {
    CGXGridCore* pGrid = Grid();
    if (!pGrid) return false;
    pGrid->ComposeStyleRowCol(nRow, nCol, &style);
    return style.GetIncludeUserAttribute(IDS_UA_VECTOR_GROUP) != FALSE;
}

void CKXPlusMinusEditButton::ToggleExpand(ROWCOL nRow, ROWCOL nCol) {
    CGXStyle style;
    if (!ComposeGroupRow(nRow, nCol, style)) return;
    const BOOL bExpand = IsExpandedState(style) ? FALSE : TRUE;

    if (m_bBusy) {
        // A user's toggle goes through the host so that it is journalled; the
        // host runs the command back into the pane, which ends in SetExpandState.
        m_bBusy = FALSE;
        CString text;
        text.Format("%s pin %s %s", KXScriptWord::expandPins, "-selection", bExpand ? "on" : "off");
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0);
        return;
    }
    ApplyExpand(nRow, nCol, bExpand, style);
}

void CKXPlusMinusEditButton::ToggleWrittenGroup(ROWCOL nRow, ROWCOL nCol, ROWCOL nRowsBelow) {
    CGXStyle style;
    if (!ComposeGroupRow(nRow, nCol, style)) return;
    const BOOL bExpand = IsExpandedState(style) ? FALSE : TRUE;
    // Only a collapse skips the reads: an expand reads the nested groups' states.
    ApplyExpand(nRow, nCol, bExpand, style, bExpand ? 0 : nRowsBelow);
}

void CKXPlusMinusEditButton::SetExpandState(ROWCOL nRow, ROWCOL nCol, BOOL bExpand) {
    CGXStyle style;
    if (!ComposeGroupRow(nRow, nCol, style)) return;
    const bool expanded = IsExpandedState(style);
    const bool known = style.GetIncludeUserAttribute(IDS_UA_EXPAND_STATE);
    // A row without a state always takes the wanted one.
    if (known && expanded == (bExpand != FALSE)) return;
    CGXGridParam* pParam = Grid()->GetParam();
    const BOOL bLock = pParam ? pParam->IsLockReadOnly() : FALSE;
    if (bLock) pParam->SetLockReadOnly(FALSE);
    // Towards the wanted state itself, so that a row without a state is never
    // flipped the wrong way.
    const BOOL bBusy = m_bBusy;
    m_bBusy = FALSE;
    ApplyExpand(nRow, nCol, bExpand, style);
    m_bBusy = bBusy;
    if (bLock) pParam->SetLockReadOnly(TRUE);
}

void CKXPlusMinusEditButton::ApplyExpand(ROWCOL nRow, ROWCOL nCol, BOOL bExpand) {
    CGXGridCore* pGrid = Grid();
    if (!pGrid || !pGrid->GetParam()) return;
    CGXStyle group;
    pGrid->ComposeStyleRowCol(nRow, nCol, &group);
    ApplyExpand(nRow, nCol, bExpand, group);
}

void CKXPlusMinusEditButton::ApplyExpand(ROWCOL nRow, ROWCOL nCol, BOOL bExpand, const CGXStyle& group,
                                         ROWCOL nKnownRows) {
    CGXGridCore* pGrid = Grid();
    CGXGridParam* pParam = pGrid ? pGrid->GetParam() : nullptr;
    if (!pParam) return;
    if (!group.GetIncludeUserAttribute(IDS_UA_VECTOR_GROUP)) return;
    const bool diffPairVector = group.GetIncludeUserAttribute(IDS_UA_DIFFPAIR_VECTOR_ROW);
    const int groupLevel = RowLevel(group);

    const BOOL bReadOnlyLock = pParam->IsLockReadOnly();
    if (bReadOnlyLock) pParam->SetLockReadOnly(FALSE);
    const BOOL bWasLocked = pGrid->LockUpdate(TRUE);
    const BOOL bUndo = pParam->IsEnableUndo();
    pParam->EnableUndo(FALSE);

    CGXStyle change;
    change.SetUserAttribute(IDS_UA_EXPAND_STATE, bExpand ? 1 : 0);
    change.SetControl(static_cast<WORD>(bExpand ? m_nMinusId : m_nPlusId));
    pGrid->SetStyleRange(CGXRange(nRow, nCol), change, gxOverride);
    HideOrShowRowsBelow(nRow, nCol, bExpand, diffPairVector, groupLevel, nKnownRows);

    pParam->EnableUndo(bUndo);
    if (bReadOnlyLock) pParam->SetLockReadOnly(TRUE);

    if (CWnd* pWnd = pGrid->GridWnd()) {
        if (pWnd->GetSafeHwnd())
            pWnd->SendMessage(MSG_TOGGLE_PINNAME, bExpand ? 1 : 0, static_cast<LPARAM>(nRow));
    }

    if (!bWasLocked) {
        pGrid->LockUpdate(FALSE);
        pGrid->Redraw();
    }
}

void CKXPlusMinusEditButton::HideOrShowRowsBelow(ROWCOL nRow, ROWCOL nCol, BOOL bExpand, bool diffPairVector,
                                                 int groupLevel, ROWCOL nKnownRows) {
    // Walk the rows below the group. Collapsing hides them all; expanding shows
    // them except those below a nested group that is itself collapsed, so an
    // inner group keeps its own state.
    CGXGridCore* pGrid = Grid();
    RowRuns runs(pGrid);
    struct Nested {
        int level;
        bool collapsed;
    };
    std::vector<Nested> nested;
    CGXStyle scratch;
    const ROWCOL rowCount = pGrid->GetRowCount();
    ROWCOL first = nRow + 1;
    if (!bExpand && nKnownRows > 0 && first <= rowCount) {
        // Rows known to be on the walk: a collapse hides each whatever nested groups say.
        const ROWCOL last = std::min(rowCount, nRow + nKnownRows);
        runs.AddRange(first, last, true);
        first = last + 1;
    }
    for (ROWCOL r = first; r <= rowCount && r != GX_INVALID; ++r) {
        const CGXStyle& rs = WalkedRowStyle(*pGrid, r, nCol, !bExpand, diffPairVector, m_bStoredCells, scratch);
        if (!rs.GetIncludeControl()) break;
        const int level = RowLevel(rs);
        if (diffPairVector) {
            if (!rs.FindUserAttribute(IDS_UA_DIFFPAIR_ROW)) break;
        } else if (level <= groupLevel) {
            break;
        }
        while (!nested.empty() && nested.back().level >= level)
            nested.pop_back();
        bool hide = !bExpand;
        for (const Nested& n : nested)
            hide = hide || n.collapsed;
        runs.Add(r, hide);
        if (rs.FindUserAttribute(IDS_UA_EXPAND_STATE))
            nested.push_back({level, !IsExpandedState(rs)});
    }
}
