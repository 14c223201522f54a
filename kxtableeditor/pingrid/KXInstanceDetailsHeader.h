// The bar in the pin grid's first two rows: what component is shown (label,
// instance and its master, package), the Functions choice that limits the rows to
// one function of the part, and the boxes Expand All Pins, Show Differential
// Pairs and Show Vectors. The boxes and the right-click menu do not change the
// grids themselves: they ask the host to run the pane's word ("expandPins",
// "setViewOption pin ..."), which comes back to every grid; only the function
// choice filters the owning grid at once.
#pragma once

#include "afx/afxdlg.h"
#include "afx/afxgdi.h"

#include <vector>

class CKXInstanceDetailsGridWnd;

// Dialog template and control ids of the bar.
inline constexpr UINT IDD_INSTANCE_DETAILS_HEADER = 8880;
inline constexpr UINT IDC_HEADER_FUNCTIONS = 9051;
inline constexpr UINT IDC_HEADER_FUNCTIONS_LABEL = 9052;
inline constexpr UINT IDC_HEADER_LABEL = 9054;
inline constexpr UINT IDC_HEADER_INSTANCE = 9055;
inline constexpr UINT IDC_HEADER_CELL = 9056;
inline constexpr UINT IDC_HEADER_EXPAND_ALL = 9079;
inline constexpr UINT IDC_HEADER_SHOW_DIFF_PAIRS = 9095;
inline constexpr UINT IDC_HEADER_SHOW_VECTORS = 9096;
// Commands of the right-click menu.
inline constexpr UINT ID_HEADER_SHOW_VECTORS = 2024;
inline constexpr UINT ID_HEADER_SHOW_DIFF_PAIRS = 2025;

class CKXInstanceDetailsHeader : public CDialog {
public:
    explicit CKXInstanceDetailsHeader(CWnd* pParent = nullptr);
    ~CKXInstanceDetailsHeader() override;

    static AfxDialogDef Template();

    // ---- set by the grid
    void AttachGrid(CKXInstanceDetailsGridWnd* pGrid);
    void SetComponentInfo(CString instanceText, CString secondText, CString labelText);
    void SetExpandAll(int bExpandAll);
    void SetViewOptions(int bShowVectors, int bShowDiffPairs);
    void ShowFunctionsCombo(BOOL bShow);
    void AddFunction(CString text);
    void ResetFunctions();
    void SelectFunction(CString text);

    // ---- what the bar shows
    CString GetLabelText() const { return m_strLabel; }
    CString GetInstanceText() const { return m_strInstance; }
    CString GetCellText() const { return m_strCell; }
    int IsExpandAll() const { return m_bExpandAll; }
    int IsShowVectors() const { return m_bShowVectors; }
    int IsShowDiffPairs() const { return m_bShowDiffPairs; }
    BOOL IsFunctionsComboShown() const;
    std::vector<CString> GetFunctions() const;
    CString GetSelectedFunction() const;

    // ---- the user's hands
    void OnSelChangeFunctions();
    void OnExpandAllPins();
    void SendPinViewOption();
    void OnContextMenu(CWnd* pWnd, CPoint point);

    // Where the controls go for the measured text extents: label, instance and cell texts on the
    // first line, the three boxes on the second, the Functions choice beside the first line when
    // the bar is wide enough, else on the second line after Expand All Pins.
    struct Extents {
        CSize label, instance, cell, threeBlanks, twoBlanks;
        CSize expandAll, showDiffPairs, showVectors, functionsLabel, functions;
        int barWidth = 0;
    };
    struct Placement {
        CRect label, instance, cell, expandAll, showDiffPairs, showVectors, functionsLabel, functions;
    };
    static Placement LayOut(const Extents& e);

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy);

    CButton m_btnExpandAll;
    CButton m_btnShowDiffPairs;
    CButton m_btnShowVectors;
    CStatic m_lblComponent;
    CStatic m_lblInstance;
    CStatic m_lblCell;
    CComboBox m_cmbFunctions;
    CString m_strInstance;
    CString m_strCell;
    CString m_strLabel = " ";
    int m_bExpandAll = 0;
    int m_bShowDiffPairs = 0;
    int m_bShowVectors = 0;

private:
    void SendToHost(const CString& text);
    Extents Measure();

    CKXInstanceDetailsGridWnd* m_pGrid = nullptr;
    CFont m_fontBold;

    DECLARE_MESSAGE_MAP()
};
