// The bar shown in the physical part grid's first two rows: the part (or parts)
// shown, and the function list with which the rows are limited to one function
// (section) of the part, or "All".
#pragma once

#include "physgrids/KXPhysGridIds.h"

#include "afx/afxdlg.h"
#include "afx/afxgdi.h"

#include <vector>

class CKXPhysPartDetailsGridWnd;

class CKXPhysPartDetailsHeader : public CDialog {
public:
    explicit CKXPhysPartDetailsHeader(CWnd* pParent = nullptr);
    ~CKXPhysPartDetailsHeader() override;

    // The dialog template of the bar (271 x 47 dialog units, four controls).
    static AfxDialogDef Template();

    void SetGrid(CKXPhysPartDetailsGridWnd* grid) { m_pGrid = grid; }
    void SetPartText(CString text);
    CString GetPartText() const;
    void ShowFunctionCombo(BOOL bShow);
    BOOL IsFunctionComboShown() const { return m_bFunctionShown; }
    void AddFunction(CString text);
    void ResetFunctions();
    void SelectFunction(CString text);
    std::vector<CString> GetFunctions() const;
    CString GetSelectedFunction() const;
    // The user picked an entry of the function list: the grid filters by it.
    void OnSelchangeFunctionCombo();

    // Where the controls go for the measured text extents: the part label and text on the first
    // line; the function label and list beside them when the bar is wide enough, else below.
    struct Extents {
        CSize partLabel, blanks, partText, functionLabel, combo;
        int barWidth = 0;
    };
    struct Placement {
        CRect partLabel, partText, functionLabel, combo;
    };
    static Placement LayOut(const Extents& e);

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy);

    CComboBox m_cbFunction;
    CStatic m_stPartText;
    CString m_strFunctionLabel;
    CString m_strPartLabel;

private:
    CKXPhysPartDetailsGridWnd* m_pGrid = nullptr;
    CFont m_font;
    BOOL m_bFunctionShown = TRUE;
    std::vector<CString> m_functions; // the list's entries, in order
    int m_nSelected = -1;
    CString m_strPartText;

    DECLARE_MESSAGE_MAP()
};
