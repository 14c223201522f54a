// Find and replace: the grid hands its pin-name column to the controls
// library's find/replace dialog once, at set-up, and shows the dialog on request. A pin folded
// into its closed bus is found all the same (the bus opens); a text no pin has is said so.
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridFill.h"

#include "grid/KXFindAnswer.h"
#include "grid/KXPlusMinusEditButton.h"
#include "kxcontrols/KXFindReplace.h"
#include "pingrid/KXPinGridUtil.h"

#include <vector>

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
    if (!m_pFindReplaceDlg) return;
    m_pFindReplaceDlg->SetRevealRow([this](CGXGridCore*, ROWCOL row) { return RevealFoldedRow(row); });
    // The only column searched is the pin names'.
    m_pFindReplaceDlg->SetWriteMatchingRows(
        [this](CGXGridCore*, ROWCOL, const CKXFindReplaceDlg::TextMatch& matches) {
            m_fill->WriteWidePinRowsMatching(m_nColPinName, matches);
        });
}

void CKXInstanceDetailsGridWnd::ShowFindReplace(BOOL bFind) {
    if (m_pFindReplaceDlg) KXRunFindReplace(*m_pFindReplaceDlg, bFind);
}

// Opens the closed rows above a row hidden only by them, outermost first (a wide pin's row on the bit
// rows written for the find alone). A row a filter hides (or
// under a parent a filter hides) stays hidden: FALSE.
BOOL CKXInstanceDetailsGridWnd::RevealFoldedRow(ROWCOL row) {
    const kxpingrid::NamedBitRowsOnly namedOnly; // a wide pin opens on the rows the find wrote
    std::vector<ROWCOL> parents;
    for (ROWCOL r = GetRowParentOffset(row); r != GX_INVALID; r = GetRowParentOffset(r))
        parents.push_back(r);
    if (parents.empty() || IsRowHidden(parents.back())) return FALSE;
    const ROWCOL pinCol = kxpingrid::Col(m_nColPinName);
    for (auto it = parents.rbegin(); it != parents.rend(); ++it) {
        const CGXStyle parent = CellStyle(*it, pinCol);
        auto* button = dynamic_cast<CKXPlusMinusEditButton*>(GetRegisteredControl(parent.GetControl()));
        if (!button) return FALSE;
        button->SetExpandState(*it, pinCol, TRUE);
    }
    return !IsRowHidden(row);
}
