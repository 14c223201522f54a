// The expand/collapse cell of a vector pin's group row: an edit cell with a
// small push button at a fixed offset from the cell's left edge. A user's
// toggle goes to the host as a script command so that it is journalled; the
// host's command comes back as SetExpandState, which shows or hides the rows.
#pragma once

#include "grid/gxall.h"

class CKXPlusMinusEditButton : public CGXEditControl {
    GX_DECLARE_CONTROL(CKXPlusMinusEditButton)

public:
    CKXPlusMinusEditButton(CGXGridCore* pGrid, UINT nBitmapId, UINT nMinusId, UINT nPlusId, int nOffset);
    ~CKXPlusMinusEditButton() override = default;

    // Registers the plus control (collapsed rows) under nPlusId and the minus
    // control (expanded rows) under nMinusId; the grid owns both. bStoredCells:
    // the grid's cells in the controls' column are what it stores (its
    // GetStyleRowCol supplies nothing there), so a toggle reads them in place.
    static void RegisterControls(CGXGridCore* pGrid, UINT nMinusId, UINT nPlusId, int nOffset,
                                 bool bStoredCells = false);

    // From a user action (busy): sends "expandPins -selection on|off" to the
    // host. Otherwise: flips the group row at (row, col) and shows or hides its rows.
    void ToggleExpand(ROWCOL nRow, ROWCOL nCol);
    // Brings the group row to the wanted state; nothing when it is there already
    // or the cell is no group row.
    void SetExpandState(ROWCOL nRow, ROWCOL nCol, BOOL bExpand);
    // ToggleExpand (not from a user) for a group row whose nRowsBelow rows below it the caller has just
    // written, each with a control and a level deeper than the group's (a pair vector's: pair rows):
    // they are on the group's walk, so a collapse hides them without reading them again.
    void ToggleWrittenGroup(ROWCOL nRow, ROWCOL nCol, ROWCOL nRowsBelow);

    BOOL IsActive() override;
    CRect GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem = nullptr,
                      const CGXStyle* pStyle = nullptr) override;
    void OnInitChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect) override;
    void OnClickedButton(CGXChild* pChild) override;
    BOOL KeyPressed(UINT nMessage, UINT nChar, UINT nRepCnt = 1, UINT flags = 0) override;
    // Key release in the active edit window.
    void OnEditKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT GetPlusId() const { return m_nPlusId; }
    UINT GetMinusId() const { return m_nMinusId; }
    CGXBitmapButtonChild* GetButton() const { return m_pButton; }

protected:
    // The composed style of a group row; false when the grid is gone or the cell is no group row.
    bool ComposeGroupRow(ROWCOL nRow, ROWCOL nCol, CGXStyle& style);
    // The toggle itself, towards an explicit target state.
    void ApplyExpand(ROWCOL nRow, ROWCOL nCol, BOOL bExpand);
    // The same with the group row's composed style at hand.
    // nKnownRows: see ToggleWrittenGroup.
    void ApplyExpand(ROWCOL nRow, ROWCOL nCol, BOOL bExpand, const CGXStyle& group, ROWCOL nKnownRows = 0);
    void HideOrShowRowsBelow(ROWCOL nRow, ROWCOL nCol, BOOL bExpand, bool diffPairVector, int groupLevel,
                             ROWCOL nKnownRows = 0);
    // A user's click or space bar on the control's cell.
    void UserToggle();

    CGXBitmapButtonChild* m_pButton; // owned by the control's child list
    int m_nButtonWidth = 16;
    int m_nButtonHeight = 16;
    BOOL m_bBusy = FALSE; // a user action is being handled
    UINT m_nPlusId;
    UINT m_nMinusId;
    int m_nOffset; // pixels from the cell's left edge to the button
    bool m_bStoredCells = false; // see RegisterControls
};
