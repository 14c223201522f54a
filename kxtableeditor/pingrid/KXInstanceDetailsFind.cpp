// Find and replace: the grid hands its pin-name column to the controls
// library's find/replace dialog once, at set-up, and shows the dialog on request.
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "kxcontrols/KXFindReplace.h"

void CKXInstanceDetailsGridWnd::FindReplace() {
    m_pFindCore = this;
    // A grid set up again registers afresh: one grid, one caption, one pair of cells.
    m_arrFindCaptions.RemoveAll();
    m_arrFindHeaderCells.RemoveAll();
    m_arrFindFirstCells.RemoveAll();
    m_arrFindCaptions.Add("Component Connectivity Details");
    m_arrFindHeaderCells.Add(CPoint(static_cast<int>(PIN_CAPTION_ROW), m_nColPinName));
    m_arrFindFirstCells.Add(CPoint(static_cast<int>(PIN_FIRST_ROW), m_nColPinName));
    CGXGridParam* param = GetParam();
    m_pFindReplaceDlg =
        KXImplementFindReplace(&m_pFindCore, &m_arrFindCaptions, 1, &m_arrFindHeaderCells,
                               &m_arrFindFirstCells, param ? &param->GetFindReplaceInfo() : nullptr, this, 1);
}

void CKXInstanceDetailsGridWnd::ShowFindReplace(BOOL bFind) {
    if (m_pFindReplaceDlg) m_pFindReplaceDlg->ShowFindReplaceDialog(bFind);
}
