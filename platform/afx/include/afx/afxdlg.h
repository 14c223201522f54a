// Headless controls and dialogs.
//
// Controls keep their state (texts, items, selection, check state) and answer the LB_/CB_/EM_/BM_
// messages the system sends. Dialogs are created from a dialog template in the resource chain (its
// controls become child windows); a modal dialog takes its answer from the answer queue:
// DoModal creates the dialog, runs OnInitDialog, applies the scripted field values to the controls
// (a field is named by the control id in decimal or by the template's field name), then calls
// OnOK (or OnCancel for a scripted Cancel). An unanswered dialog is cancelled. A dialog whose
// template names a control class that is not registered does not open: DoModal answers -1 and
// Create FALSE, with GetLastError giving ERROR_CANNOT_FIND_WND_CLASS.
#pragma once

#include "afx/afxgdi.h"
#include "afx/afxres.h"
#include "afx/afxtiered.h"

#include <functional>
#include <map>

class CStatic : public CWnd {
    DECLARE_DYNCREATE(CStatic)
public:
    using CWnd::Create;
    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xffff);
};

class CButton : public CWnd {
    DECLARE_DYNCREATE(CButton)
public:
    using CWnd::Create;
    BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetCheck() const { return m_nCheck; }
    void SetCheck(int nCheck) { m_nCheck = nCheck; }
    UINT GetState() const { return static_cast<UINT>(m_nCheck); }
    // A click: toggles an auto check box and notifies the parent with BN_CLICKED.
    void Click();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    int m_nCheck = BST_UNCHECKED;
};

class CEdit : public CWnd {
    DECLARE_DYNCREATE(CEdit)
public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void GetSel(int& nStartChar, int& nEndChar) const;
    DWORD GetSel() const;
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE) {
        SetSel(LOWORD(dwSelection), HIWORD(dwSelection), bNoScroll);
    }
    // Replaces the selection (inserts at the caret when empty), leaving the caret after the text.
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    void Clear() { ReplaceSel(""); }
    void LimitText(int nChars = 0) { m_nLimit = nChars; }
    void SetLimitText(UINT nMax) { m_nLimit = static_cast<int>(nMax); }
    UINT GetLimitText() const { return static_cast<UINT>(m_nLimit); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    int LineLength(int nLine = -1) const {
        (void)nLine;
        return GetWindowTextLength();
    }
    void SetMargins(UINT, UINT) {}
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void clampSel();
    int m_nSelStart = 0;
    int m_nSelEnd = 0;
    int m_nLimit = 0;
};

// The item list shared by list boxes and combo boxes. Searches ignore case; FindString matches a
// prefix, FindStringExact the whole text; both start after nStartAfter (-1: from the top) and wrap.
// While the items are in order (ignoring case), as a sorted list keeps them, sorted adds and
// searches take a binary search; a list filled out of order is searched item by item.
class CAfxItemList {
public:
    int Add(const CString& s, BOOL bSorted);
    // Adds many items at once: one merge instead of an insert each (a sorted list keeps its order,
    // equal texts after the ones already there, in the order given). *pFollow, an index of the
    // list before, becomes the index of the same item after.
    struct NewItem {
        CString text;
        DWORD_PTR data = 0;
    };
    void AddMany(std::vector<NewItem> items, BOOL bSorted, int* pFollow = nullptr);
    int Insert(int nIndex, const CString& s);
    int Delete(int nIndex);
    // Reset drops a pending fill: what it would add goes with the rest.
    void Reset() {
        m_items.clear();
        m_bInOrder = true;
        m_pendingFill = nullptr;
    }
    // A fill that runs once, before the list is next read or changed: an owner that knows many items
    // gives them when someone first looks instead of at once. The fill may change the list itself.
    void SetPendingFill(std::function<void()> fill) { m_pendingFill = std::move(fill); }
    bool HasPendingFill() const { return static_cast<bool>(m_pendingFill); }
    void RunPendingFill() const {
        if (!m_pendingFill) return;
        const std::function<void()> fill = std::move(m_pendingFill);
        m_pendingFill = nullptr;
        fill();
    }
    int Count() const {
        RunPendingFill();
        return static_cast<int>(m_items.size());
    }
    BOOL Valid(int i) const { return i >= 0 && i < Count(); }
    int Find(int nStartAfter, LPCTSTR lpsz, BOOL bExact) const;
    struct Item {
        CString text;
        DWORD_PTR data = 0;
        BOOL selected = FALSE;
    };
    // Read and write an item's data and selection through here; its text only through Add and Insert.
    // A tiered vector: an item added at its sorted place in a long list does not move all after it.
    CTieredVector<Item> m_items;

private:
    int FindInOrder(int nStartAfter, const CString& key, BOOL bExact) const;
    bool InOrderAt(size_t i) const;
    bool m_bInOrder = true; // every item's text is not less than the one before it, ignoring case
    mutable std::function<void()> m_pendingFill;
};

class CListBox : public CWnd {
    DECLARE_DYNCREATE(CListBox)
public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int AddString(LPCTSTR lpszItem);
    // Adds many strings with their item data at once (see CAfxItemList::AddMany).
    void AddStrings(std::vector<CAfxItemList::NewItem> items);
    int InsertString(int nIndex, LPCTSTR lpszItem);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const { return m_list.Count(); }
    int GetText(int nIndex, CString& rString) const;
    int GetText(int nIndex, LPTSTR lpszBuffer) const;
    int GetTextLen(int nIndex) const;
    int FindString(int nStartAfter, LPCTSTR lpszItem) const {
        return m_list.Find(nStartAfter, lpszItem, FALSE);
    }
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
        return m_list.Find(nIndexStart, lpszFind, TRUE);
    }
    int SelectString(int nStartAfter, LPCTSTR lpszItem);
    int GetCurSel() const {
        m_list.RunPendingFill();
        return m_nCurSel;
    }
    int SetCurSel(int nSelect);
    int GetSel(int nIndex) const;
    int SetSel(int nIndex, BOOL bSelect = TRUE);
    int GetSelCount() const;
    int GetSelItems(int nMaxItems, LPINT rgIndex) const;
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    void* GetItemDataPtr(int nIndex) const { return reinterpret_cast<void*>(GetItemData(nIndex)); }
    int SetItemDataPtr(int nIndex, void* pData) {
        return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData));
    }
    int GetTopIndex() const { return m_nTop; }
    int SetTopIndex(int nIndex);
    int GetItemHeight(int nIndex = 0) const {
        (void)nIndex;
        return m_nItemHeight;
    }
    int SetItemHeight(int nIndex, UINT cyItemHeight) {
        (void)nIndex;
        m_nItemHeight = static_cast<int>(cyItemHeight);
        return 0;
    }
    int GetCaretIndex() const { return GetCurSel(); }
    // See CAfxItemList::SetPendingFill.
    void SetPendingFill(std::function<void()> fill) { m_list.SetPendingFill(std::move(fill)); }
    bool HasPendingFill() const { return m_list.HasPendingFill(); }
    void RunPendingFill() const { m_list.RunPendingFill(); }
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    CAfxItemList m_list;
    int m_nCurSel = LB_ERR;
    int m_nTop = 0;
    int m_nItemHeight = 16;
};

class CComboBox : public CWnd {
    DECLARE_DYNCREATE(CComboBox)
public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int AddString(LPCTSTR lpszString);
    // Adds many strings with their item data at once (see CAfxItemList::AddMany).
    void AddStrings(std::vector<CAfxItemList::NewItem> items);
    int InsertString(int nIndex, LPCTSTR lpszString);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const { return m_list.Count(); }
    int GetLBText(int nIndex, CString& rString) const;
    int GetLBText(int nIndex, LPTSTR lpszText) const;
    int GetLBTextLen(int nIndex) const;
    int FindString(int nStartAfter, LPCTSTR lpszString) const {
        return m_list.Find(nStartAfter, lpszString, FALSE);
    }
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
        return m_list.Find(nIndexStart, lpszFind, TRUE);
    }
    // Selects the first item with the prefix and shows its text; CB_ERR (selection unchanged) when none.
    int SelectString(int nStartAfter, LPCTSTR lpszString);
    int GetCurSel() const {
        m_list.RunPendingFill();
        return m_nCurSel;
    }
    // See CAfxItemList::SetPendingFill.
    void SetPendingFill(std::function<void()> fill) { m_list.SetPendingFill(std::move(fill)); }
    bool HasPendingFill() const { return m_list.HasPendingFill(); }
    void RunPendingFill() const { m_list.RunPendingFill(); }
    // Selects an item and shows its text; -1 clears the selection and the text.
    int SetCurSel(int nSelect);
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    void* GetItemDataPtr(int nIndex) const { return reinterpret_cast<void*>(GetItemData(nIndex)); }
    int SetItemDataPtr(int nIndex, void* pData) {
        return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData));
    }
    void ShowDropDown(BOOL bShowIt = TRUE) { m_bDropped = bShowIt; }
    BOOL GetDroppedState() const { return m_bDropped; }
    BOOL LimitText(int nMaxChars) {
        m_nLimit = nMaxChars;
        return TRUE;
    }
    BOOL SetEditSel(int nStartChar, int nEndChar) {
        m_editSel = CPoint(nStartChar, nEndChar);
        return TRUE;
    }
    DWORD GetEditSel() const { return MAKELONG(m_editSel.x, m_editSel.y); }
    int SetDroppedWidth(UINT nWidth) {
        m_nDroppedWidth = static_cast<int>(nWidth);
        return 0;
    }
    int GetDroppedWidth() const { return m_nDroppedWidth; }
    int GetTopIndex() const { return 0; }
    int SetTopIndex(int) { return 0; }
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // A user's choice of item nIndex: selects it and notifies the parent with CBN_SELCHANGE.
    void ChooseItem(int nIndex);

protected:
    CAfxItemList m_list;
    int m_nCurSel = CB_ERR;
    BOOL m_bDropped = FALSE;
    int m_nLimit = 0;
    int m_nDroppedWidth = 0;
    CPoint m_editSel;
};

class CScrollBar : public CWnd {
    DECLARE_DYNCREATE(CScrollBar)
public:
    int GetScrollPos() const { return m_nPos; }
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE) {
        (void)bRedraw;
        std::swap(nPos, m_nPos);
        return nPos;
    }
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE) {
        (void)bRedraw;
        m_nMin = nMinPos;
        m_nMax = nMaxPos;
    }
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const {
        *lpMinPos = m_nMin;
        *lpMaxPos = m_nMax;
    }

protected:
    int m_nPos = 0, m_nMin = 0, m_nMax = 100;
};

struct LVCOLUMN {
    UINT mask;
    int fmt;
    int cx;
    LPSTR pszText;
    int cchTextMax;
    int iSubItem;
};

#define LVS_EX_FULLROWSELECT 0x00000020
#define LVS_EX_GRIDLINES 0x00000001

class CListCtrl : public CWnd {
    DECLARE_DYNCREATE(CListCtrl)
public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    BOOL DeleteColumn(int nCol);
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
    int GetColumnWidth(int nCol) const;
    BOOL SetColumnWidth(int nCol, int cx);
    CString GetColumnText(int nCol) const;
    int InsertItem(int nItem, LPCTSTR lpszItem);
    int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                   LPARAM lParam);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetItemCount() const { return IsOwnerData() ? m_nOwnerCount : static_cast<int>(m_rows.size()); }
    // An owner-data list (style LVS_OWNERDATA) keeps no items: its owner gives their number here and
    // each item's texts and data when they are read (OnGetItemText, OnGetItemData). The list keeps
    // only the items' states.
    BOOL SetItemCountEx(int iCount, DWORD dwFlags = 0);
    BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
    CString GetItemText(int nItem, int nSubItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const;
    int GetNextItem(int nItem, int nFlags) const;
    UINT GetSelectedCount() const;
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) {
        (void)bPartialOK;
        return nItem >= 0 && nItem < GetItemCount();
    }
    DWORD SetExtendedStyle(DWORD dwNewStyle) {
        std::swap(dwNewStyle, m_dwExStyle);
        return dwNewStyle;
    }
    DWORD GetExtendedStyle() const { return m_dwExStyle; }
    int FindItemByText(LPCTSTR lpszText) const;

protected:
    BOOL IsOwnerData() const { return (GetStyle() & LVS_OWNERDATA) != 0; }
    // What an owner-data list shows at an item (the control's LVN_GETDISPINFO).
    virtual CString OnGetItemText(int nItem, int nSubItem) const;
    virtual DWORD_PTR OnGetItemData(int nItem) const;
    UINT& StateOf(int nItem);
    UINT StateOf(int nItem) const;

    struct Column {
        CString text;
        int fmt;
        int width;
    };
    struct Row {
        std::vector<CString> texts;
        DWORD_PTR data = 0;
        UINT state = 0;
    };
    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    DWORD m_dwExStyle = 0;
    int m_nOwnerCount = 0;
    std::map<int, UINT> m_ownerStates; // an owner-data list's items that have a state
};

#define TTS_ALWAYSTIP 0x01
#define TTS_NOPREFIX 0x02
#define TTF_IDISHWND 0x0001
#define TTF_SUBCLASS 0x0010
#define TTDT_AUTOPOP 2
#define TTDT_INITIAL 3

// Tool tips: the registered tools and their texts, for tests to read.
class CToolTipCtrl : public CWnd {
    DECLARE_DYNCREATE(CToolTipCtrl)
public:
    using CWnd::Create;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    int GetToolCount() const { return static_cast<int>(m_tools.size()); }
    void Activate(BOOL bActivate) { m_bActive = bActivate; }
    BOOL IsActive() const { return m_bActive; }
    void RelayEvent(MSG* lpMsg) { (void)lpMsg; }
    int SetMaxTipWidth(int iWidth) {
        std::swap(iWidth, m_nMaxWidth);
        return iWidth;
    }
    void SetDelayTime(UINT nDelay) { (void)nDelay; }
    void SetDelayTime(DWORD dwDuration, int iTime) { (void)dwDuration, (void)iTime; }
    void Pop() {}

protected:
    std::map<std::pair<HWND, UINT_PTR>, CString> m_tools;
    BOOL m_bActive = TRUE;
    int m_nMaxWidth = -1;
};

// ---------------------------------------------------------------- dialogs and data exchange
class CDialog;

class CDataExchange {
public:
    BOOL m_bSaveAndValidate; // TRUE: controls -> members
    CWnd* m_pDlgWnd;
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    // The control with the id; created (as a plain window of the kind T) when the dialog lacks it,
    // so that dialogs without a template still exchange their data.
    template <class T = CWnd> T* PrepareCtrl(int nIDC);
    void Fail(); // raises CUserException: UpdateData returns FALSE
    BOOL m_bFailed = FALSE;
};

class CUserException : public std::exception {
public:
    const char* what() const noexcept override { return "validation failed"; }
};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
// Binds a member control object to the dialog's control with the id (it takes the control's place).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    // Modeless: creates the dialog window and its controls, then runs OnInitDialog.
    using CWnd::Create;
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int nResult);
    BOOL IsEnded() const { return m_bEnded; }
    UINT GetTemplateId() const { return m_nIDTemplate; }
    void SetDefID(UINT nID) { m_nDefID = nID; }
    DWORD GetDefID() const { return m_nDefID; }
    void GotoDlgCtrl(CWnd* pWndCtrl) {
        if (pWndCtrl) pWndCtrl->SetFocus();
    }
    void NextDlgCtrl() const {}
    void MapDialogRect(LPRECT) const {}
    // The class name under which answers are looked up: the dialog object's own C++ class name
    // without namespaces ("CNameDlg"), also for classes without run-time class information.
    virtual CString GetAnswerKey() const;
    // The dialog's controls by field name (template names, then ids in decimal).
    CWnd* FindField(const CString& name) const;
    // Applies one scripted value to a control: check boxes take "1"/"0", combo and list boxes
    // select the item with that exact text (a combo that has none shows the text), others take
    // the text.
    static void ApplyFieldValue(CWnd* pCtrl, const CString& value);

    UINT m_nIDHelp = 0;

protected:
    BOOL createDialog(CWnd* pParentWnd);
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;
    int m_nModalResult = -1;
    BOOL m_bEnded = FALSE;
    UINT m_nDefID = IDOK;
    std::map<CString, UINT> m_fieldNames;
};

// Creates the controls of the dialog template nIDTemplate as children of pParent; controls are
// owned by the parent (deleted when destroyed). A control whose class is neither one of the
// system's control classes nor a registered window class (a custom control) is made by its
// class's window procedure (CreateWindowExA). FALSE when a control could not be made: its class is
// not registered (GetLastError gives ERROR_CANNOT_FIND_WND_CLASS) or its procedure refused it;
// the controls made before it stay.
BOOL AfxCreateTemplateControls(CWnd* pParent, UINT nIDTemplate);

template <class T> T* CDataExchange::PrepareCtrl(int nIDC) {
    CWnd* w = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    if (!w && m_pDlgWnd && m_pDlgWnd->m_hWnd) {
        T* created = new T;
        created->m_bAutoDelete = TRUE;
        if (!created->CWnd::Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(), m_pDlgWnd,
                                   static_cast<UINT>(nIDC))) {
            delete created;
            return nullptr;
        }
        return created;
    }
    return dynamic_cast<T*>(w);
}
