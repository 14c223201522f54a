// Two small edit cell controls: an edit cell with a bitmap push button at its
// right edge, and an edit cell whose text is indented by the row's depth in a tree.
#pragma once

#include "grid/gxall.h"

class CKXBitmapEditButton : public CGXEditControl {
public:
    CKXBitmapEditButton(CGXGridCore* pGrid, UINT nID, UINT nBitmapId);
    ~CKXBitmapEditButton() override = default;

    CRect GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem = nullptr,
                      const CGXStyle* pStyle = nullptr) override;
    void OnInitChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    CGXBitmapButtonChild* GetButton() const { return m_pButton; }

protected:
    CGXBitmapButtonChild* m_pButton; // owned by the control's child list
    int m_nButtonWidth = 15;
    int m_nButtonHeight = 15;
};

class CKXPaddedEditControl : public CGXEditControl {
public:
    CKXPaddedEditControl(CGXGridCore* pGrid, UINT nID, int nIndent);
    ~CKXPaddedEditControl() override = default;

    CRect GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem = nullptr,
                      const CGXStyle* pStyle = nullptr) override;
    BOOL IsActive() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Pixels of indent per hierarchy level.
    static constexpr int kLevelStep = 18;

protected:
    int m_nIndent; // pixels added to the left edge of the text
};
