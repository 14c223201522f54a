// Cell controls: what shows and edits the current cell, and the small child buttons inside a cell.
#pragma once

#include "grid/gxstyle.h"

#include "afx/afxdlg.h"
#include "afx/afxwin.h"

#include <memory>
#include <vector>

class CGXGridCore;
class CGXControl;

// A small element inside a cell (a button). Owned by its control.
class CGXChild {
public:
    explicit CGXChild(CGXControl* pComposite);
    virtual ~CGXChild() = default;
    CGXChild(const CGXChild&) = delete;
    CGXChild& operator=(const CGXChild&) = delete;

    CGXControl* GetComposite() const { return m_pComposite; }
    virtual void SetRect(const CRect& rect) { m_rect = rect; }
    const CRect& GetRect() const { return m_rect; }
    BOOL PtInRect(CPoint pt) const { return m_rect.PtInRect(pt); }
    // Preferred width when the control lays its children out (0 = square to the cell height).
    void SetPreferredWidth(int cx) { m_nPreferredWidth = cx; }
    int GetPreferredWidth() const { return m_nPreferredWidth; }
    void SetText(LPCTSTR text) { m_sText = text; }
    const CString& GetText() const { return m_sText; }
    BOOL IsPressed() const { return m_bPressed; }
    void SetPressed(BOOL b) { m_bPressed = b; }

    // Mouse on the child; a press and a release on it report a click to the control.
    virtual BOOL LButtonDown(UINT nFlags, CPoint pt);
    virtual BOOL LButtonUp(UINT nFlags, CPoint pt);
    // Keyboard focus inside the control: a child that has it is given the control's keys first;
    // a button takes Space (key down) as a click. TRUE when the child used the key.
    BOOL HasFocus() const { return m_bFocus; }
    void SetFocus(BOOL bFocus) { m_bFocus = bFocus; }
    virtual BOOL KeyPressed(UINT nMessage, UINT nChar, UINT nRepCnt = 1, UINT flags = 0);

protected:
    CGXControl* m_pComposite;
    CRect m_rect;
    CString m_sText;
    int m_nPreferredWidth = 0;
    BOOL m_bPressed = FALSE;
    BOOL m_bFocus = FALSE;
};

class CGXButton : public CGXChild {
public:
    using CGXChild::CGXChild;
};

// A push button that shows a bitmap resource.
class CGXBitmapButtonChild : public CGXButton {
public:
    explicit CGXBitmapButtonChild(CGXControl* pComposite) : CGXButton(pComposite) {}
    BOOL LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel = 0, UINT nIDBitmapResourceFocus = 0);
    UINT GetBitmapId() const { return m_nBitmap; }
    UINT GetBitmapSelId() const { return m_nBitmapSel; }
    UINT GetBitmapFocusId() const { return m_nBitmapFocus; }

private:
    UINT m_nBitmap = 0, m_nBitmapSel = 0, m_nBitmapFocus = 0;
};

class CGXArrowButton : public CGXButton {
public:
    using CGXButton::CGXButton;
};
class CGXUpArrowButton : public CGXArrowButton {
public:
    using CGXArrowButton::CGXArrowButton;
};
class CGXDownArrowButton : public CGXArrowButton {
public:
    using CGXArrowButton::CGXArrowButton;
};

// The base of every cell control. A control serves one cell at a time: Init(row, col) binds it to the
// current cell, loads the cell's text and lays out its children. While "active" the control edits the
// cell; the text typed is kept in the control until the grid stores it (TransferCurrentCell).
// The grid owns the controls registered with RegisterControl; a control owns its children.
class CGXControl {
public:
    explicit CGXControl(CGXGridCore* pGrid);
    virtual ~CGXControl();
    CGXControl(const CGXControl&) = delete;
    CGXControl& operator=(const CGXControl&) = delete;

    // Run-time class (controls are told apart with IsKindOf).
    static CRuntimeClass* GetThisClass();
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

    CGXGridCore* Grid() const { return m_pGrid; }
    CGXGridCore* GetGrid() const { return m_pGrid; }

    // Binding to a cell.
    virtual void Init(ROWCOL nRow, ROWCOL nCol);
    BOOL IsInit() const { return m_bInit; }
    BOOL IsInit(ROWCOL nRow, ROWCOL nCol) const { return m_bInit && m_nRow == nRow && m_nCol == nCol; }
    ROWCOL GetRow() const { return m_nRow; }
    ROWCOL GetCol() const { return m_nCol; }
    // Forgets the bound cell (the current cell went away).
    virtual void Deinit();

    // Editing state.
    virtual BOOL IsActive();
    virtual void SetActive(BOOL bActive);
    virtual BOOL IsReadOnly();
    virtual BOOL CanEdit() { return !IsReadOnly(); }

    // The text being edited (or shown).
    virtual void SetCurrentText(const CString& str);
    virtual void GetCurrentText(CString& strResult);
    virtual BOOL GetSelectedText(CString& strResult);
    virtual void ReplaceSel(LPCTSTR pszReplaceText);
    virtual BOOL GetValue(CString& strResult); // the value to store
    virtual void SetValue(LPCTSTR pszRawValue);
    virtual void SetModify(BOOL bModified);
    virtual BOOL GetModify();

    // Validation and storing: OnValidate asks the grid (OnValidateCell); Store writes the text into the
    // cell; Reset drops the edit and reloads the cell's value; Refresh reloads the cell's style.
    virtual BOOL OnValidate();
    virtual BOOL Store();
    virtual void Reset();
    virtual void Refresh();
    virtual BOOL LoadStyle(ROWCOL nRow, ROWCOL nCol, CGXStyle* pStyle = nullptr);
    const CGXStyle* GetLoadedStyle() const { return m_pStyle.get(); }

    // Geometry: the cell's rectangle in the grid's client coordinates (rectItem wins when given).
    virtual CRect GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem = nullptr, const CGXStyle* pStyle = nullptr);
    // Places the children inside the cell rectangle (default: from the right edge, each as wide as
    // its preferred width or square to the cell height).
    virtual void OnInitChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect);
    void AddChild(CGXChild* pChild); // owned by the control from now on
    int GetChildCount() const { return static_cast<int>(m_children.size()); }
    CGXChild* GetChild(int i) const;
    CGXChild* ChildFromPt(CPoint pt) const;
    // The child that has the keyboard focus; NULL when none has.
    CGXChild* GetFocusChild() const;

    // Events.
    virtual void OnClickedButton(CGXChild* pChild); // default: the grid's OnClickedButtonRowCol
    virtual BOOL KeyPressed(UINT nMessage, UINT nChar, UINT nRepCnt = 1, UINT flags = 0);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL LButtonDown(UINT nFlags, CPoint pt, UINT nHitState = 0);
    virtual BOOL LButtonUp(UINT nFlags, CPoint pt, UINT nHitState = 0);
    virtual BOOL LButtonDblClk(UINT nFlags, CPoint pt);
    // Starts editing: asks the grid (OnStartEditing) and activates the control; FALSE when refused.
    virtual BOOL OnStartEditing();
    // The text of the value as it is displayed (default: the value itself).
    virtual BOOL GetControlText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCTSTR pszRawValue, const CGXStyle& style);

protected:
    // Left, Right, Home and End in the text being edited; with Shift they select (see KeyPressed).
    BOOL MoveCaret(UINT nChar, bool extend);

    CGXGridCore* m_pGrid;
    ROWCOL m_nRow = GX_INVALID;
    ROWCOL m_nCol = GX_INVALID;
    BOOL m_bInit = FALSE;
    BOOL m_bActive = FALSE;
    BOOL m_bModify = FALSE;
    CString m_sText;
    int m_nSelStart = 0;
    int m_nSelEnd = 0;
    std::unique_ptr<CGXStyle> m_pStyle;
    std::vector<std::unique_ptr<CGXChild>> m_children;
    CGXChild* m_pPressedChild = nullptr;
};

#define GX_DECLARE_CONTROL(class_name)                                                                                 \
public:                                                                                                                \
    static CRuntimeClass* GetThisClass();                                                                              \
    CRuntimeClass* GetRuntimeClass() const override;

// Static text: shows the value, never edits.
class CGXStatic : public CGXControl {
    GX_DECLARE_CONTROL(CGXStatic)
public:
    explicit CGXStatic(CGXGridCore* pGrid) : CGXControl(pGrid) {}
    BOOL IsReadOnly() override { return TRUE; }
    BOOL OnStartEditing() override { return FALSE; }
};

// Column and row header cells.
class CGXHeader : public CGXStatic {
    GX_DECLARE_CONTROL(CGXHeader)
public:
    explicit CGXHeader(CGXGridCore* pGrid) : CGXStatic(pGrid) {}
};

// The edit cell. It is a window (never created on screen here) so that the text and the selection
// work like an edit box: SetWindowText/GetWindowText hold the edited text, SetSel/GetSel the selection.
class CGXEditControl : public CWnd, public CGXStatic {
    GX_DECLARE_CONTROL(CGXEditControl)
public:
    CGXEditControl(CGXGridCore* pGrid, UINT nID);
    ~CGXEditControl() override;
    BOOL IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

    UINT GetID() const { return m_nEditID; }

    BOOL IsReadOnly() override;
    BOOL OnStartEditing() override;
    void SetCurrentText(const CString& str) override;
    void GetCurrentText(CString& strResult) override;
    BOOL GetSelectedText(CString& strResult) override;
    void ReplaceSel(LPCTSTR pszReplaceText) override;
    BOOL KeyPressed(UINT nMessage, UINT nChar, UINT nRepCnt = 1, UINT flags = 0) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void Init(ROWCOL nRow, ROWCOL nCol) override;
    void Reset() override;
    // Keys typed into the edit box: the grid handles them as it handles its own (it gives the edit the
    // keys an edit takes), so a cell control that wants a key first catches it here.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Edit-box interface.
    void SetWindowText(LPCTSTR text);
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetSel(int nStart, int nEnd, BOOL bNoScroll = FALSE);
    void GetSel(int& nStart, int& nEnd) const;
    DWORD GetSel() const;
    void ReplaceSel(LPCTSTR text, BOOL bCanUndo);

protected:
    UINT m_nEditID;
};

// A drop-down list cell: the choice list of the style offers the texts.
class CGXComboBox : public CGXEditControl {
    GX_DECLARE_CONTROL(CGXComboBox)
public:
    CGXComboBox(CGXGridCore* pGrid, UINT nEditID, UINT nListBoxID, UINT nFlags = 0);
    UINT GetListBoxID() const { return m_nListBoxID; }
    UINT GetFlags() const { return m_nFlags; }
    // The texts of the current cell's choice list.
    virtual void GetChoiceList(std::vector<CString>& items);
    // Picks an item of the choice list by index into the edit text (as a choice from the drop-down).
    virtual BOOL SelectItem(int nIndex);
    ~CGXComboBox() override;
    virtual BOOL IsDroppedDown() const { return m_bDropped; }
    virtual void ShowDropDown(BOOL bShow) { SetDropped(bShow); }
    void OnClickedButton(CGXChild* pChild) override;
    // The list went up without a choice (GX_LIST_CANCELLED): nothing is stored. Cancelled by a key the
    // edit goes on; cancelled because the focus went to another window the edit ends as Escape ends it
    // (the control deactivated, the cell showing its value again).
    virtual void OnListCancelled(BOOL bFocusLost);
    // The list's messages (gxdroplist.h) reach the control here; the rest go to the edit.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // A list that is down goes up when the control leaves its cell.
    void Init(ROWCOL nRow, ROWCOL nCol) override;
    void Deinit() override;

protected:
    // Every change of the drop-down state goes through here (see GXDiscardNcActivate).
    void SetDropped(BOOL bDropped);
    UINT m_nListBoxID;
    UINT m_nFlags;
    BOOL m_bDropped = FALSE;
};

// TRUE while a grid shows a drop-down list of a cell: the list is a pop-up window of its own, so the
// window that holds the grid loses its activation to it; the holder discards that non-client
// deactivation (answers WM_NCACTIVATE with TRUE and keeps its caption active) while this holds.
BOOL GXDiscardNcActivate();

// The list window that drops down from a combo cell (a list box that knows the window to notify).
class CGXComboListBox : public CListBox {
    DECLARE_DYNAMIC(CGXComboListBox)
public:
    CGXComboListBox() = default;
    explicit CGXComboListBox(CWnd* pMsgWnd) : m_pMsgWnd(pMsgWnd) {}
    using CListBox::Create;
    using CWnd::Create;
    CWnd* GetMsgWnd() const { return m_pMsgWnd; }
    void SetMsgWnd(CWnd* p) { m_pMsgWnd = p; }

private:
    CWnd* m_pMsgWnd = nullptr;
};

// A cell that is one push button showing a bitmap; a click reports OnClickedButtonRowCol.
class CGXBitmapButton : public CGXControl {
    GX_DECLARE_CONTROL(CGXBitmapButton)
public:
    CGXBitmapButton(CGXGridCore* pGrid, UINT nBitmapResourceID, UINT nBitmapResourceSelID = 0,
                    UINT nBitmapResourceFocusID = 0);
    UINT GetBitmapId() const;
    BOOL IsReadOnly() override { return TRUE; }
    BOOL OnStartEditing() override { return FALSE; }
    void OnInitChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect) override; // the button fills the cell

private:
    CGXBitmapButtonChild* m_pButton;
};

// A cell that shows an existing window. With bNeedDestroy the control destroys the window and deletes
// the window object when the control is deleted (the window must then not delete itself on destruction).
class CGXWndWrapper : public CGXControl {
    GX_DECLARE_CONTROL(CGXWndWrapper)
public:
    CGXWndWrapper(CGXGridCore* pGrid, CWnd* pWnd, BOOL bNeedDestroy = FALSE, BOOL bCanActivate = FALSE,
                  BOOL bInvertBorders = FALSE);
    ~CGXWndWrapper() override;
    CWnd* GetWnd() const { return m_pWnd; }
    BOOL GetNeedDestroy() const { return m_bNeedDestroy; }
    BOOL GetCanActivate() const { return m_bCanActivate; }
    BOOL GetInvertBorders() const { return m_bInvertBorders; }
    BOOL IsActive() override;
    void SetActive(BOOL bActive) override;
    BOOL IsReadOnly() override { return TRUE; }
    BOOL OnStartEditing() override { return FALSE; }
    void Init(ROWCOL nRow, ROWCOL nCol) override; // moves the window over the cell

protected:
    CWnd* m_pWnd;
    BOOL m_bNeedDestroy;
    BOOL m_bCanActivate;
    BOOL m_bInvertBorders;
};

// The grid's tool-tip proxy: keeps the tip text per cell; no tip window.
class CGXNoToolTipCtrlProxy {
public:
    CGXNoToolTipCtrlProxy(CGXGridCore* pGrid, CWnd* pWnd) : m_pGrid(pGrid), m_pWnd(pWnd) {}
    virtual ~CGXNoToolTipCtrlProxy() = default;
    CGXGridCore* GetGrid() const { return m_pGrid; }
    CWnd* GetWnd() const { return m_pWnd; }
    virtual void Activate(BOOL b) { m_bActive = b; }
    BOOL IsActive() const { return m_bActive; }
    // The tip text of a cell: the tool-tip user attribute of its composed style.
    virtual BOOL GetToolTipText(ROWCOL nRow, ROWCOL nCol, CString& text);
    virtual void Reset() {}

protected:
    CGXGridCore* m_pGrid;
    CWnd* m_pWnd;
    BOOL m_bActive = TRUE;
};

// The tip shown while scrolling with the thumb ("Row 12").
class CGXScrollTip {
public:
    CGXScrollTip() = default;
    virtual ~CGXScrollTip() = default;
    void Show(LPCTSTR text, CPoint pt)
    {
        m_sText = text;
        m_pt = pt;
        m_bVisible = TRUE;
    }
    void Hide() { m_bVisible = FALSE; }
    void DestroyWindow() { m_bVisible = FALSE; }
    BOOL IsVisible() const { return m_bVisible; }
    const CString& GetText() const { return m_sText; }

private:
    CString m_sText;
    CPoint m_pt;
    BOOL m_bVisible = FALSE;
};
