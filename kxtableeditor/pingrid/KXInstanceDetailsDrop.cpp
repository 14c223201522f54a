// A signal dragged from the signal list onto the pin grid: the drop test and the
// row under the point taking the selection (the connect itself runs through the
// pane's Attach Signal box, which echoes and journals it).
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridPairEdits.h"

#include "grid/KXGridSite.h"

namespace {

// The pins the user chose over the pin grids of the grid's pane (the pane counts them); the grid's own
// alone outside a pane.
int PinsChosenInPane(CKXInstanceDetailsGridWnd& grid) {
    if (grid.Site() && !grid.Site()->SiteGrids().empty()) return grid.Site()->CountSelectedObjects();
    if (!grid.HasSelectionOfTheUser()) return 0;
    CRowColArray rows;
    return static_cast<int>(grid.GetSelectedRows(rows, FALSE, TRUE));
}

} // namespace

BOOL CKXInstanceDetailsGridWnd::CanDropSignal(CPoint point, const CString& signal) {
    if (Site() && Site()->OpenMode() == eOpenModeContext) return FALSE;
    ROWCOL row = GX_INVALID, col = GX_INVALID;
    if (HitTest(point, &row, &col) != GX_CELLHIT || row < PIN_FIRST_ROW || row > GetRowCount()) return FALSE;
    // A drop on pins chosen in several grids (a selectObject of a pin each grid shows) attaches the signal
    // to all of them, as the Attach Signal box does; one pin chosen gives way to the row under the point.
    const int chosenInPane = PinsChosenInPane(*this);
    if (m_bCompactColumns && Site() && chosenInPane == 1) Site()->ClearOtherGridSelections(m_nGridIndex);
    if (SelectedPinRows().size() <= 1 && chosenInPane <= 1) {
        // A lone drop takes the row under the point, as a click would.
        SetSelection(nullptr);
        SelectRange(CGXRange().SetRows(row), TRUE, TRUE);
        SetCurrentCell(row, col);
    }
    CDWordArray rows;
    for (ROWCOL r : SelectedPinRows())
        if (r >= PIN_FIRST_ROW) rows.Add(r);
    return rows.GetSize() > 0 && m_pairEdits->CheckDiffPairConnect(rows, signal.GetString());
}

int CKXInstanceDetailsGridWnd::SelectVisibleRows() {
    int count = 0;
    for (ROWCOL r = PIN_FIRST_ROW; r <= GetRowCount(); ++r)
        if (!IsRowHidden(r)) {
            SelectRange(CGXRange().SetRows(r), TRUE, TRUE);
            ++count;
        }
    return count;
}

CStringList CKXInstanceDetailsGridWnd::m_signalNameList;

void CKXInstanceDetailsGridWnd::ClearSignalNameList() {
    m_signalNameList.RemoveAll();
}
