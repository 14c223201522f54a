#include "grid/KXEditControls.h"

#include "grid/KXGridIds.h"
#include "grid/KXSpinText.h"

#include <algorithm>

CKXBitmapEditButton::CKXBitmapEditButton(CGXGridCore* pGrid, UINT nID, UINT nBitmapId)
    : CGXEditControl(pGrid, nID), m_pButton(new CGXBitmapButtonChild(this)) {
    EnableAutomation();
    AddChild(m_pButton);
    m_pButton->LoadBitmaps(nBitmapId, 0, 0);
    m_pButton->SetPreferredWidth(m_nButtonWidth);
}

CRect CKXBitmapEditButton::GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem, const CGXStyle* pStyle) {
    CRect rect = CGXEditControl::GetCellRect(nRow, nCol, rectItem, pStyle);
    // The text never runs under the button.
    rect.right -= 3 + m_nButtonWidth;
    return rect;
}

void CKXBitmapEditButton::OnInitChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect) {
    (void)nRow;
    (void)nCol;
    CRect button;
    button.left = rect.right - m_nButtonWidth;
    button.right = rect.right;
    button.top = rect.top + std::max(rect.Height() - m_nButtonHeight, 0) / 2;
    button.bottom = button.top + m_nButtonHeight;
    // Clip to the cell.
    button.left = std::max(button.left, rect.left);
    button.top = std::max(button.top, rect.top);
    button.right = std::min(button.right, rect.right);
    button.bottom = std::min(button.bottom, rect.bottom);
    m_pButton->SetRect(button);
}

BOOL CKXBitmapEditButton::OnCommand(WPARAM wParam, LPARAM lParam) {
    return CGXEditControl::OnCommand(wParam, lParam);
}

CKXPaddedEditControl::CKXPaddedEditControl(CGXGridCore* pGrid, UINT nID, int nIndent)
    : CGXEditControl(pGrid, nID), m_nIndent(nIndent) {
    EnableAutomation();
}

CRect CKXPaddedEditControl::GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem, const CGXStyle* pStyle) {
    CRect rect = CGXEditControl::GetCellRect(nRow, nCol, rectItem, pStyle);
    int level = 0;
    if (Grid() && Grid()->GetControl(nRow, nCol)) {
        CGXStyle style;
        Grid()->ComposeStyleRowCol(nRow, nCol, &style, TRUE);
        LoadStyle(nRow, nCol, &style);
        const CString text = style.GetIncludeUserAttribute(IDS_UA_PLUSMINUS_BIT)
                                 ? style.GetUserAttributeText(IDS_UA_PLUSMINUS_BIT)
                                 : CString("noval");
        if (!text.IsEmpty()) level = kxspin::LeadingNumber(text.str());
    }
    // Deep levels cannot push the text out of any sensible cell; keep the sum bounded.
    level = std::min(level, 1000);
    rect.left += m_nIndent + kLevelStep * level;
    return rect;
}

BOOL CKXPaddedEditControl::IsActive() {
    return FALSE;
}

BOOL CKXPaddedEditControl::OnCommand(WPARAM wParam, LPARAM lParam) {
    return CGXEditControl::OnCommand(wParam, lParam);
}
