// Cell controls of the grids: list header with sort arrow, pull-up/pull-down state cells, the filter-row
// combo, auto-completing signal combos with their shared list, bitmap combo, window wrapper, tool tips.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "afx/afxcoll.h"
#include "grid/gxcontrol.h"

// User attribute of the tool-tip text (the filter combo reads it for bitmap-headed columns).
constexpr WORD KX_UA_TOOLTIPTEXT = 51022;

// Column-caption cell that shows the sort arrow of the column the grid is sorted by.
class CKXListHeader : public CGXHeader {
    GX_DECLARE_CONTROL(CKXListHeader)
public:
    // nSortCol: the column that shows the arrow at first ((ULONG)-1: none).
    CKXListHeader(CGXGridCore* pGrid, ULONG nSortCol = static_cast<ULONG>(-1));

    // Moves the arrow to (nHeaderRow, nCol): ascending on a new column, the other direction when the arrow
    // is already there (the grid's column sort flips its order the same way).
    void ResetArrow(ROWCOL nHeaderRow, ROWCOL nCol);
    void ResetArrow(ROWCOL nHeaderRow, ROWCOL nCol, BOOL bAscending);
    ROWCOL GetArrowRow() const { return m_nArrowRow; }
    ROWCOL GetArrowCol() const { return m_nArrowCol; }
    BOOL IsArrowAscending() const { return m_bAscending; }

    // The caption, followed by " ^" (ascending) or " v" (descending) in the arrow's cell.
    BOOL GetControlText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCTSTR pszRawValue,
                        const CGXStyle& style) override;

private:
    ROWCOL m_nArrowRow = GX_INVALID;
    ROWCOL m_nArrowCol = GX_INVALID;
    BOOL m_bAscending = TRUE;
};

// A pull-up/pull-down cell: one control per state (local net or alias, pull-up, pull-down, both).
class CKXPupdCtrl : public CGXStatic {
    GX_DECLARE_CONTROL(CKXPupdCtrl)
public:
    explicit CKXPupdCtrl(CGXGridCore* pGrid);

    // A disabled control shows nothing (no pull-up or pull-down).
    void EnablePuPdCtrl(BOOL bEnable) { m_bEnabled = bEnable; }
    BOOL IsPuPdCtrlEnabled() const { return m_bEnabled; }
    void SetPuPdValue(BOOL bPullUpLocal, BOOL bPullDownLocal, BOOL bPullUpAlias, BOOL bPullDownAlias);
    BOOL HasLocalPullUp() const { return m_bPullUpLocal; }
    BOOL HasLocalPullDown() const { return m_bPullDownLocal; }
    BOOL HasAliasPullUp() const { return m_bPullUpAlias; }
    BOOL HasAliasPullDown() const { return m_bPullDownAlias; }

    // The state as shown: "PU", "PD" for the local net, "(PU)", "(PD)" on an alias, joined by "/";
    // empty when disabled.
    CString GetStateText() const;
    BOOL GetControlText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCTSTR pszRawValue,
                        const CGXStyle& style) override;

private:
    BOOL m_bEnabled = TRUE;
    BOOL m_bPullUpLocal = FALSE, m_bPullDownLocal = FALSE, m_bPullUpAlias = FALSE, m_bPullDownAlias = FALSE;
};

// Gives the registry key (below the settings' base key) where a column's filter history is kept; empty or a
// nonzero result: no history for that column.
using KXDynComboKeyFn = int (*)(int nCol, CString& key);

// The filter-row combo: its choices are "*", the column's recent patterns (kept in the registry under the
// key the callback gives) and the distinct texts of the column's data rows (for the "look" columns, the
// texts of a user attribute instead of the values, e.g. the tool tips of bitmap cells).
class CKXDynCombo : public CGXComboBox {
    GX_DECLARE_CONTROL(CKXDynCombo)
public:
    CKXDynCombo(CGXGridCore* pGrid, UINT nEditID, UINT nListBoxID, UINT nFlags, ROWCOL nFirstDataRow, BOOL bSorted,
                KXDynComboKeyFn pfnKey);

    void SetLookAttribute(const CDWordArray& columns, UINT nAttr);
    BOOL IsLookColumn(ROWCOL nCol) const;
    void GetChoiceList(std::vector<CString>& items) override;
    // Storing a pattern other than "*" puts it first in the column's history (at most kMaxHistory).
    BOOL Store() override;

    CString GetHistoryKey(ROWCOL nCol) const;
    void GetHistory(ROWCOL nCol, std::vector<CString>& items) const;
    void AddToHistory(ROWCOL nCol, const CString& pattern);

    static constexpr int kMaxHistory = 10;

private:
    ROWCOL m_nFirstDataRow;
    BOOL m_bSorted;
    KXDynComboKeyFn m_pfnKey;
    std::vector<ROWCOL> m_lookColumns;
    UINT m_nLookAttr = KX_UA_TOOLTIPTEXT;
};

// The drop-down list shared by a grid's auto-complete combos.
class CKXGridACListBox : public CGXComboListBox {
public:
    explicit CKXGridACListBox(CWnd* pParent = nullptr);
    using CGXComboListBox::Create;
    // Creates the list window (a child of pParentWnd, hidden until it drops down).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, int nReserved = 0);
    BOOL IsCreated() const { return m_bCreated; }
    UINT GetCtrlID() const { return m_nID; }
    DWORD GetStyle() const { return m_dwStyle; }
    // Index of the first entry that starts with the prefix (ignoring case), -1 when none.
    int FindPrefix(LPCTSTR prefix) const;
    // Adds a choice in the list's order. A text the list holds already is not listed twice: the index
    // of the one there. LB_ERR for no text.
    int AddString(LPCTSTR lpszItem);
    void ResetContent();
    // The list holds these choices and no others, as ResetContent and an AddString of each would leave
    // it, put in order in one sort. The key names them (ContentKey) until the list changes otherwise.
    void SetStrings(const std::vector<CString>& items, std::string key = std::string());
    // As SetStrings with the choices `make` gives, made when the list is first read or changed: the
    // choices of a cell nobody opens cost nothing. `make` answers false when what it gave are no
    // longer the key's choices (the key then names nothing, as after any other change).
    using ChoiceMaker = std::function<bool(std::vector<CString>&)>;
    void SetStringsLater(ChoiceMaker make, std::string key);
    // The key the list's choices were set with; empty after any other change of the list.
    const std::string& ContentKey() const { return m_strContentKey; }
    // The choices the list held under `key` before the last SetStrings, back in the list (and those it
    // held aside in their place), as SetStrings with them would leave it; FALSE (nothing changes) when
    // the list keeps no choices of that key. A cell's choices that alternate with another's are not
    // made again.
    BOOL TakeKept(const std::string& key);
    // The list-box messages LB_ADDSTRING and LB_RESETCONTENT work as the calls of the same name.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL m_bCreated = FALSE;
    UINT m_nID = 0;
    DWORD m_dwStyle = 0;
    std::string m_strContentKey;
    // Puts the list's keyed choices aside in place of those kept (none when the list's choices are
    // not the keyed ones, or one of them is selected).
    void KeepAside();
    void AddChoices(const std::vector<CString>& items);
    CAfxItemList m_kept;      // the choices of the key before
    std::string m_strKeptKey; // their key; empty when none are kept
};

// Signal or pin combo that completes what is typed from its shared list.
class CKXGridACCombo : public CGXComboBox {
    GX_DECLARE_CONTROL(CKXGridACCombo)
public:
    CKXGridACCombo(CGXGridCore* pGrid, UINT nEditID, UINT nListBoxID, UINT nFlags, CKXGridACListBox* pListBox,
                   BOOL bSignalCombo = TRUE, int nReserved1 = 0, int nReserved2 = 0, int nReserved3 = 0);

    CKXGridACListBox* GetListBox() const { return m_pListBox; }
    BOOL IsSignalCombo() const { return m_bSignalCombo; }
    // Whether the point lies on one of the combo's own child controls (its drop-down button).
    BOOL IsChildCtrl(CPoint pt) const;
    void GetChoiceList(std::vector<CString>& items) override;
    // With auto-complete on, a typed character completes the text to the first list entry that starts with
    // it; the completed part is selected so that typing on replaces it.
    BOOL KeyPressed(UINT nMessage, UINT nChar, UINT nRepCnt = 1, UINT flags = 0) override;
    BOOL AutoComplete();

    BOOL m_bAutoComplete = FALSE;

private:
    CKXGridACListBox* m_pListBox;
    BOOL m_bSignalCombo;
};

// A combo cell that shows a bitmap beside its text (the signal-model cells).
class CKXBitMapComboBox : public CGXComboBox {
    GX_DECLARE_CONTROL(CKXBitMapComboBox)
public:
    CKXBitMapComboBox(CGXGridCore* pGrid, UINT nBitmapID, UINT nEditID, UINT nListBoxID, UINT nFlags = 0);
    UINT GetBitmapId() const { return m_nBitmapID; }

private:
    UINT m_nBitmapID;
};

// A window shown in a cell that stays active while the mouse is over it, so its controls remain usable.
class CKXWndWrapper : public CGXWndWrapper {
    GX_DECLARE_CONTROL(CKXWndWrapper)
public:
    CKXWndWrapper(CGXGridCore* pGrid, CWnd* pWnd, BOOL bNeedDestroy = FALSE, BOOL bCanActivate = FALSE,
                  BOOL bInvertBorders = FALSE);
    BOOL IsActive() override;
};

// The grids' tool-tip proxy: a cell's tip is its tool-tip attribute.
class CKXGridToolTip : public CGXNoToolTipCtrlProxy {
public:
    CKXGridToolTip(CGXGridCore* pGrid, CWnd* pWnd) : CGXNoToolTipCtrlProxy(pGrid, pWnd) {}
};

// The factory class handed to the grid's cell tips.
class CKXCellTipWndFactory : public CObject {
    DECLARE_DYNCREATE(CKXCellTipWndFactory)
public:
    CKXCellTipWndFactory() = default;
};
