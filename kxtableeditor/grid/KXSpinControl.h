// The signal-name cell: a combo cell that understands vector names. Left and
// Right move a selection between the parts of a name such as A<7..0>, Up and
// Down (or the two small arrow buttons) step the selected number within the
// bounds of the vector in the design, and on other texts cycle through the
// drop-down list. Typed text is completed from the list.
#pragma once

#include "grid/KXSpinText.h"
#include "grid/gxall.h"
#include "rmx/context.h"

class CKXSpinControl;

// The drop-down list shared by the spin cells of a grid.
class CKXListComboBox : public CGXComboListBox {
    DECLARE_DYNAMIC(CKXListComboBox)

public:
    explicit CKXListComboBox(CWnd* pOwner);
    ~CKXListComboBox() override = default;

    // Creates the list window (a bordered, sorted list box).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    CWnd* GetOwnerWnd() const { return m_pOwnerWnd; }
    CKXSpinControl* GetSpinControl() const { return m_pSpin; }
    void SetSpinControl(CKXSpinControl* pSpin) { m_pSpin = pSpin; }

    // The entries in list order.
    std::vector<std::string> GetEntries() const;

private:
    CWnd* m_pOwnerWnd;
    CKXSpinControl* m_pSpin = nullptr; // the spin cell the list currently serves
};

class CKXSpinControl : public CGXComboBox {
    GX_DECLARE_CONTROL(CKXSpinControl)

public:
    CKXSpinControl(CGXGridCore* pGrid, UINT nEditId, UINT nListBoxId, UINT nFlags, CKXListComboBox* pListBox,
                   BOOL bShowArrows);
    ~CKXSpinControl() override = default;

    void SetDesignContext(CDesignContext context) { m_designContext = context; }
    void SetShowArrows(BOOL bShow);
    BOOL GetShowArrows() const { return m_bShowArrows; }
    void SetAutoComplete(BOOL bOn) { m_bAutoComplete = bOn; }

    // Cell-control overrides.
    CRect GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem = nullptr,
                      const CGXStyle* pStyle = nullptr) override;
    void OnInitChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect) override;
    void OnClickedButton(CGXChild* pChild) override;
    BOOL KeyPressed(UINT nMessage, UINT nChar, UINT nRepCnt = 1, UINT flags = 0) override;
    BOOL OnValidate() override;

    // The drop-down list.
    void CreateListBox();
    void OnFillDroppedList();
    void OnStoreDroppedList();
    void OnListSelChange();
    void OnListEnded();
    // The drop-down list's notifications to the edit window are the grid library's (grid/gxdroplist.h); a
    // cancelled list is the library combo's (OnListCancelled).
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Input in the edit window while the cell is being edited.
    void OnEditKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnEditChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnEditMouseMove(UINT nFlags, CPoint point);
    void OnEditLButtonUp(UINT nFlags, CPoint point);

    // TRUE when the point lies on the control's first child (its drop button).
    BOOL IsChildOfCurrentCellControl(CPoint point) const;

    CGXUpArrowButton* GetUpArrow() const { return m_pUpArrow; }
    CGXDownArrowButton* GetDownArrow() const { return m_pDownArrow; }

    CGXUpArrowButton* m_pUpArrow;     // owned by the control's child list
    CGXDownArrowButton* m_pDownArrow; // owned by the control's child list
    CKXListComboBox* m_pListBox;      // shared, not owned
    int m_nMinimum = 0;
    int m_nMaximum = 25000;
    BOOL m_bClampMin = FALSE;
    BOOL m_bClampMax = FALSE;
    BOOL m_bEmptyUsesDefault = FALSE;
    int m_nDefaultValue = 0;
    BOOL m_bKeyNotConsumed = FALSE;
    BOOL m_bSuppressStep = FALSE;
    BOOL m_bBoundsFromDesign = TRUE;
    BOOL m_bShowArrows;
    BOOL m_bDragging = FALSE;
    CDesignContext m_designContext;
    BOOL m_bAutoComplete = TRUE;

protected:
    void StepUp() { StepNumber(+1); }
    void StepDown() { StepNumber(-1); }
    void StepNumber(int direction);
    void PreviousPart();
    void NextPart();
    void CycleList(int direction);
    void AutoComplete();
    // Sets the text, the selection and (when asked) the arrows from a key result.
    void ApplyResult(const kxspin::KeyResult& result);
    kxspin::VectorParts PartsOf(const std::string& text) const;
    int Caret() const;
    std::string EditText() const;
    void LookUpBounds(const std::string& text, const kxspin::VectorParts& parts);
    bool CanUseList();
};
