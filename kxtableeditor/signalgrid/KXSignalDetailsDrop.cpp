// Drops and find/replace: an instance dragged from the host's views onto a data row
// of the signal grid gets a row of its own that waits for a pin, and the grid hands
// its CELL column to the controls library's find/replace dialog.
#include "signalgrid/KXSignalDetailsGridWnd.h"
#include "signalgrid/KXSignalGridUtil.h"
#include "grid/KXFindAnswer.h"

#include "kxcontrols/KXFindReplace.h"

using namespace kxsignal;

namespace {
constexpr const char* kFindCaption = "Signal Connectivity Details";
} // namespace

BOOL CKXSignalDetailsGridWnd::CanDropAt(int x, int y) {
    if (IsReadOnlyWindow()) return FALSE;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (HitTest(CPoint(x, y), &row, &col) != GX_CELLHIT) return FALSE;
    return row >= kFirstDataRow && row <= GetRowCount() ? TRUE : FALSE;
}

void CKXSignalDetailsGridWnd::AddInstanceRow(CInstanceContext instance, BOOL& added) {
    ROWCOL row = 0;
    // A window opened for looking only takes no drop, whatever the drag-over answered.
    added = !IsReadOnlyWindow() && AddInstanceRow(instance, &row) ? TRUE : FALSE;
}

void CKXSignalDetailsGridWnd::SetCaption() {
    m_pFindGrid = this;
    // A grid set up again registers afresh: one grid, one caption, one pair of cells.
    m_arrFindCaptions.RemoveAll();
    m_arrFindHeaderCells.RemoveAll();
    m_arrFindFirstCells.RemoveAll();
    m_arrFindCaptions.Add(kFindCaption);
    m_arrFindHeaderCells.Add(CPoint(static_cast<int>(kCaptionRow), m_nColCell));
    m_arrFindFirstCells.Add(CPoint(static_cast<int>(kFirstDataRow), m_nColCell));
    CGXGridParam* param = GetParam();
    m_pFindReplaceDlg = KXImplementFindReplace(&m_pFindGrid, &m_arrFindCaptions, 1, &m_arrFindHeaderCells,
                                               &m_arrFindFirstCells, param ? &param->GetFindReplaceInfo() : nullptr,
                                               this, 1);
}

void CKXSignalDetailsGridWnd::ShowFindReplace(BOOL bFind) {
    if (m_pFindReplaceDlg) KXRunFindReplace(*m_pFindReplaceDlg, bFind);
}
