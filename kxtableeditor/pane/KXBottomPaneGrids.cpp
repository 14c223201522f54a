// The grids the pane shows side by side and the one its commands go to, as the host sees them.
#include "pane/KXBottomPaneContainerView.h"
#include "pane/KXObjectInfoWnd.h"

#include <algorithm>

CKXGridWnd* CKXBottomPaneContainerView::GetActiveGrid() const {
    if (m_shownGrids.empty()) return nullptr;
    if (m_pActiveGrid &&
        std::find(m_shownGrids.begin(), m_shownGrids.end(), m_pActiveGrid) != m_shownGrids.end())
        return m_pActiveGrid;
    return m_shownGrids.front();
}

CGXGridWnd* CKXBottomPaneContainerView::GetShownGridWnd(int index) {
    if (index < 0 || index >= GetShownGridCount()) return nullptr;
    return m_shownGrids[static_cast<size_t>(index)];
}

int CKXBottomPaneContainerView::GetActiveGridIndex() {
    const auto it = std::find(m_shownGrids.begin(), m_shownGrids.end(), GetActiveGrid());
    return it == m_shownGrids.end() ? -1 : static_cast<int>(it - m_shownGrids.begin());
}

BOOL CKXBottomPaneContainerView::SetActiveGridIndex(int index) {
    if (index < 0 || index >= GetShownGridCount()) return FALSE;
    CKXGridWnd* previous = GetActiveGrid();
    m_pActiveGrid = m_shownGrids[static_cast<size_t>(index)];
    if (previous && previous != m_pActiveGrid) previous->InitCanPasteCallback();
    m_pActiveGrid->ActivateGridView();
    if (m_pObjectInfo) m_pObjectInfo->UpdateRecordInfo(m_pActiveGrid); // the beam names the active grid's object
    return TRUE;
}

BOOL CKXBottomPaneContainerView::GetShownGridInfo(int index, CString& kind, CString& title) {
    if (index < 0 || index >= GetShownGridCount()) return FALSE;
    CKXGridWnd* grid = m_shownGrids[static_cast<size_t>(index)];
    if (grid->Kind() == KXGridKind::Pin)
        kind = grid->m_bMultipleObjects ? "group component" : "component";
    else
        kind = grid->GetRuntimeClass()->m_lpszClassName;
    grid->GetShownObjectNames(title);
    return TRUE;
}

void CKXBottomPaneContainerView::LayoutShownGrids() {
    const CRect client = GridArea();
    const int count = GetShownGridCount();
    if (count == 0 || client.IsRectEmpty()) return;
    // Widths the user gave side-by-side grids stay; otherwise the grids share the width equally.
    const bool userWidths = m_pObjectInfo && m_pObjectInfo->HasUserWidths();
    const int width = client.Width() / count;
    for (int i = 0; i < count; ++i) {
        CKXGridWnd* grid = m_shownGrids[static_cast<size_t>(i)];
        CRect now;
        grid->GetWindowRect(&now);
        const int left = client.left + i * width;
        const int right = i + 1 == count ? client.right : left + (userWidths ? now.Width() : width);
        grid->MoveWindow(CRect(left, client.top, right, client.bottom));
        grid->ShowWindow(SW_SHOW);
    }
    // The window that holds the grids puts its separators between them.
    if (count > 1 && m_pObjectInfo && m_pObjectInfo->GetSafeHwnd()) m_pObjectInfo->LayoutWindows();
}

// ------------------------------------------------------------------ focus

// A shown grid that takes the keyboard focus becomes the grid the pane's commands go to; a grid the
// pane no longer shows (or a grid of another window) changes nothing.
void CKXBottomPaneContainerView::GridTookFocus(CKXGridWnd* grid) {
    if (!grid || grid == m_pActiveGrid) return;
    if (std::find(m_shownGrids.begin(), m_shownGrids.end(), grid) == m_shownGrids.end()) return;
    m_pActiveGrid = grid;
    if (m_pObjectInfo) m_pObjectInfo->UpdateRecordInfo(grid); // the beam names the focused grid's object
}

LRESULT CKXBottomPaneContainerView::OnActivateObjectWindow(WPARAM id, LPARAM) {
    int kind = -1;
    if (m_nShownKind == kShowsComponents) kind = 0;
    if (m_nShownKind == kShowsSignals) kind = 1;
    if (kind < 0 || !m_pObjectInfo) return 0;
    CKXObjectInfoWnd& info = *m_pObjectInfo;
    const std::vector<CKXGridWnd*> before = info.ShownGrids();
    info.ActivateObjectWindow(std::to_string(static_cast<unsigned long long>(id)), kind, 0, 0);
    const std::vector<CKXGridWnd*> shown = info.ShownGrids();
    CKXGridWnd* active = info.GetActiveGrid();
    // An id the window does not remember shows nothing new: what was shown stays.
    if (!active || shown == before) return 0;
    AfterObjectInfoShown(shown, active);
    active->GetSelectedObjects();
    return 0;
}
