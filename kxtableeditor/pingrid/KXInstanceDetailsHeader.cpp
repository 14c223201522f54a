// The pin grid's header bar.
#include "pingrid/KXInstanceDetailsHeader.h"
#include "grid/KXScriptWords.h"

#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGridFunctions.h"

#include "afx/afxmenu.h"
#include "kxmsgsrvr/KXMsgIds.h"

#include <cstdlib>

BEGIN_MESSAGE_MAP(CKXInstanceDetailsHeader, CDialog)
ON_WM_SIZE()
ON_CBN_SELCHANGE(IDC_HEADER_FUNCTIONS, &CKXInstanceDetailsHeader::OnSelChangeFunctions)
ON_BN_CLICKED(IDC_HEADER_EXPAND_ALL, &CKXInstanceDetailsHeader::OnExpandAllPins)
ON_BN_CLICKED(IDC_HEADER_SHOW_DIFF_PAIRS, &CKXInstanceDetailsHeader::OnShowDiffPairs)
ON_BN_CLICKED(IDC_HEADER_SHOW_VECTORS, &CKXInstanceDetailsHeader::OnShowVectors)
ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

namespace {

constexpr const char* kAllFunctions = "All";
constexpr int kBoldWeight = 700;
constexpr int kMargin = 10;     // left edge of both lines
constexpr int kFirstLineY = 3;  // top of the first line
constexpr int kLineGap = 11;    // second line: this far below the label's height
constexpr int kBoxGap = 10;     // between the boxes of the second line
constexpr int kFunctionGap = 15; // before the Functions label

CRect At(int x, int y, CSize size) {
    return CRect(x, y, x + size.cx, y + size.cy);
}

CSize ClientSize(const CWnd* w) {
    CRect r;
    if (w && w->GetSafeHwnd()) w->GetClientRect(&r);
    return CSize(r.Width(), r.Height());
}

} // namespace

CKXInstanceDetailsHeader::CKXInstanceDetailsHeader(CWnd* pParent) : CDialog(IDD_INSTANCE_DETAILS_HEADER, pParent) {}

CKXInstanceDetailsHeader::~CKXInstanceDetailsHeader() = default;

AfxDialogDef CKXInstanceDetailsHeader::Template() {
    AfxDialogDef def;
    def.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    def.cx = 352;
    def.cy = 48;
    const DWORD shown = WS_CHILD | WS_VISIBLE;
    const DWORD box = shown | BS_AUTOCHECKBOX | WS_TABSTOP;
    def.items = {
        {IDC_HEADER_FUNCTIONS_LABEL, "STATIC", "Functions:", shown, 6, 18, 34, 8, "functionsLabel"},
        {IDC_HEADER_FUNCTIONS, "COMBOBOX", "", shown | WS_VSCROLL | WS_TABSTOP, 43, 16, 48, 79, "functions"},
        {IDC_HEADER_LABEL, "STATIC", "Component: ", shown, 3, 2, 38, 8, "label"},
        {IDC_HEADER_INSTANCE, "STATIC", "instance", shown, 49, 2, 75, 9, "instance"},
        {IDC_HEADER_CELL, "STATIC", "Cell", shown, 130, 2, 76, 11, "cell"},
        {IDC_HEADER_EXPAND_ALL, "BUTTON", "Expand All Pins", box, 107, 17, 68, 10, "expandAll"},
        {IDC_HEADER_SHOW_DIFF_PAIRS, "BUTTON", "Show Differential Pairs", box, 178, 17, 88, 10, "showDiffPairs"},
        {IDC_HEADER_SHOW_VECTORS, "BUTTON", "Show Vectors", box, 281, 17, 59, 10, "showVectors"},
    };
    return def;
}

void CKXInstanceDetailsHeader::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, static_cast<int>(IDC_HEADER_EXPAND_ALL), m_btnExpandAll);
    DDX_Control(pDX, static_cast<int>(IDC_HEADER_SHOW_DIFF_PAIRS), m_btnShowDiffPairs);
    DDX_Control(pDX, static_cast<int>(IDC_HEADER_SHOW_VECTORS), m_btnShowVectors);
    DDX_Control(pDX, static_cast<int>(IDC_HEADER_LABEL), m_lblComponent);
    DDX_Control(pDX, static_cast<int>(IDC_HEADER_INSTANCE), m_lblInstance);
    DDX_Control(pDX, static_cast<int>(IDC_HEADER_CELL), m_lblCell);
    DDX_Control(pDX, static_cast<int>(IDC_HEADER_FUNCTIONS), m_cmbFunctions);
    DDX_Text(pDX, static_cast<int>(IDC_HEADER_INSTANCE), m_strInstance);
    DDX_Text(pDX, static_cast<int>(IDC_HEADER_CELL), m_strCell);
    DDX_Text(pDX, static_cast<int>(IDC_HEADER_LABEL), m_strLabel);
    DDX_Check(pDX, static_cast<int>(IDC_HEADER_EXPAND_ALL), m_bExpandAll);
    DDX_Check(pDX, static_cast<int>(IDC_HEADER_SHOW_DIFF_PAIRS), m_bShowDiffPairs);
    DDX_Check(pDX, static_cast<int>(IDC_HEADER_SHOW_VECTORS), m_bShowVectors);
}

BOOL CKXInstanceDetailsHeader::OnInitDialog() {
    CDialog::OnInitDialog();
    CWnd* instance = GetDlgItem(static_cast<int>(IDC_HEADER_INSTANCE));
    if (!instance) return TRUE;
    LOGFONT lf{};
    if (CFont* font = instance->GetFont()) font->GetLogFont(&lf);
    lf.lfWeight = kBoldWeight;
    m_fontBold.CreateFontIndirect(&lf);
    for (UINT id : {IDC_HEADER_INSTANCE, IDC_HEADER_CELL})
        if (CWnd* w = GetDlgItem(static_cast<int>(id))) w->SetFont(&m_fontBold, TRUE);
    UpdateData(FALSE);
    return TRUE;
}

void CKXInstanceDetailsHeader::AttachGrid(CKXInstanceDetailsGridWnd* pGrid) {
    m_pGrid = pGrid;
    if (pGrid) {
        m_bShowDiffPairs = pGrid->GetDiffPairOption();
        m_bShowVectors = pGrid->GetBusOption();
    }
    if (GetSafeHwnd()) UpdateData(FALSE);
}

void CKXInstanceDetailsHeader::SetComponentInfo(CString instanceText, CString secondText, CString labelText) {
    m_strInstance = instanceText;
    m_strCell = secondText;
    m_strLabel = labelText;
    if (!GetSafeHwnd()) return;
    UpdateData(FALSE);
    // The texts' widths changed: the controls move to fit them.
    CRect bar;
    GetClientRect(&bar);
    OnSize(0, bar.Width(), bar.Height());
}

void CKXInstanceDetailsHeader::SetExpandAll(int bExpandAll) {
    m_bExpandAll = bExpandAll;
    if (GetSafeHwnd()) UpdateData(FALSE);
}

void CKXInstanceDetailsHeader::SetViewOptions(int bShowVectors, int bShowDiffPairs) {
    m_bShowVectors = bShowVectors;
    m_bShowDiffPairs = bShowDiffPairs;
    if (GetSafeHwnd()) UpdateData(FALSE);
}

void CKXInstanceDetailsHeader::ShowFunctionsCombo(BOOL bShow) {
    for (UINT id : {IDC_HEADER_FUNCTIONS, IDC_HEADER_FUNCTIONS_LABEL})
        if (CWnd* w = GetSafeHwnd() ? GetDlgItem(static_cast<int>(id)) : nullptr) {
            if (id == IDC_HEADER_FUNCTIONS) w->EnableWindow(bShow);
            w->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
        }
}

BOOL CKXInstanceDetailsHeader::IsFunctionsComboShown() const {
    return m_cmbFunctions.GetSafeHwnd() && m_cmbFunctions.IsWindowVisible() ? TRUE : FALSE;
}

void CKXInstanceDetailsHeader::AddFunction(CString text) {
    if (m_cmbFunctions.GetSafeHwnd()) m_cmbFunctions.AddString(text);
}

void CKXInstanceDetailsHeader::ResetFunctions() {
    if (m_cmbFunctions.GetSafeHwnd()) m_cmbFunctions.ResetContent();
}

void CKXInstanceDetailsHeader::SelectFunction(CString text) {
    if (m_cmbFunctions.GetSafeHwnd()) m_cmbFunctions.SelectString(-1, text);
}

std::vector<CString> CKXInstanceDetailsHeader::GetFunctions() const {
    std::vector<CString> entries;
    for (int i = 0; m_cmbFunctions.GetSafeHwnd() && i < m_cmbFunctions.GetCount(); ++i) {
        CString text;
        m_cmbFunctions.GetLBText(i, text);
        entries.push_back(text);
    }
    return entries;
}

CString CKXInstanceDetailsHeader::GetSelectedFunction() const {
    CString text;
    if (m_cmbFunctions.GetSafeHwnd() && m_cmbFunctions.GetCurSel() >= 0)
        m_cmbFunctions.GetLBText(m_cmbFunctions.GetCurSel(), text);
    return text;
}

void CKXInstanceDetailsHeader::OnSelChangeFunctions() {
    const CString text = GetSelectedFunction();
    if (text.IsEmpty()) return;
    SelectFunction(text);
    // A text that is no number shows every pin, as "All" does.
    const int function = text == kAllFunctions ? 0 : std::atoi(text.GetString());
    if (m_pGrid) m_pGrid->ChooseFunction(text, function);
}

void CKXInstanceDetailsHeader::SendToHost(const CString& text) {
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(MSG_HOST_SCRIPT_TEXT, reinterpret_cast<WPARAM>(text.GetString()), 0);
}

void CKXInstanceDetailsHeader::OnExpandAllPins() {
    UpdateData(TRUE);
    CString text;
    text.Format("%s pin %s", KXScriptWord::expandPins, m_bExpandAll == 1 ? "on" : "off");
    SendToHost(text);
}

void CKXInstanceDetailsHeader::OnShowDiffPairs() {
    SendPinViewOption();
}

void CKXInstanceDetailsHeader::OnShowVectors() {
    SendPinViewOption();
}

void CKXInstanceDetailsHeader::SendPinViewOption() {
    UpdateData(TRUE);
    CString text;
    text.Format("%s pin %s %s", KXScriptWord::setViewOption, m_bShowVectors == 1 ? "bus_on" : "bus_off",
                m_bShowDiffPairs == 1 ? "dp_on" : "dp_off");
    SendToHost(text);
}

void CKXInstanceDetailsHeader::OnContextMenu(CWnd* pWnd, CPoint point) {
    (void)pWnd;
    const int gridVectors = m_pGrid ? m_pGrid->GetBusOption() : m_bShowVectors;
    const int gridPairs = m_pGrid ? m_pGrid->GetDiffPairOption() : m_bShowDiffPairs;
    CMenu menu;
    if (!menu.CreatePopupMenu()) return;
    menu.AppendMenu(MF_STRING | (gridVectors == 1 ? MF_CHECKED : MF_UNCHECKED), ID_HEADER_SHOW_VECTORS,
                    "Show Vectors");
    menu.AppendMenu(MF_STRING | (gridPairs == 1 ? MF_CHECKED : MF_UNCHECKED), ID_HEADER_SHOW_DIFF_PAIRS,
                    "Show Differential Pairs");
    const UINT chosen =
        static_cast<UINT>(menu.TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, point.x, point.y, this));
    if (chosen == ID_HEADER_SHOW_VECTORS) m_bShowVectors = gridVectors == 1 ? 0 : 1;
    if (chosen == ID_HEADER_SHOW_DIFF_PAIRS) m_bShowDiffPairs = gridPairs == 1 ? 0 : 1;
    // Dismissed or chosen, the options are sent: the host's word brings every grid in line with them.
    UpdateData(FALSE);
    SendPinViewOption();
    menu.DestroyMenu();
}

CKXInstanceDetailsHeader::Placement CKXInstanceDetailsHeader::LayOut(const Extents& e) {
    Placement p;
    const int b = 2 * e.threeBlanks.cx;
    p.label = CRect(kMargin, kFirstLineY, kMargin + e.label.cx + b, kFirstLineY + e.label.cy);
    p.instance = At(kMargin + e.label.cx, kFirstLineY, e.instance);
    const int x1 = e.label.cx + e.instance.cx;
    p.cell = At(x1 + e.twoBlanks.cx + kMargin, kFirstLineY, e.cell);
    const int lineEnd = x1 + e.twoBlanks.cx + e.cell.cx + b;
    const int y = e.label.cy + kLineGap;
    p.expandAll = At(kMargin, y, e.expandAll);
    p.showDiffPairs = At(e.expandAll.cx + 2 * kMargin, y, e.showDiffPairs);
    p.showVectors = At(e.expandAll.cx + 2 * kMargin + e.showDiffPairs.cx + kBoxGap, y, e.showVectors);
    if (e.barWidth <= e.functions.cx + e.functionsLabel.cx + lineEnd + kMargin) {
        const int x = e.expandAll.cx + kFunctionGap;
        p.functionsLabel = At(x, y, e.functionsLabel);
        p.functions = At(x + e.functionsLabel.cx + 3, y, e.functions);
    } else {
        const int x = lineEnd + kFunctionGap;
        p.functionsLabel = At(x, kFirstLineY, e.functionsLabel);
        p.functions = At(x + e.functionsLabel.cx, 1, e.functions);
    }
    return p;
}

CKXInstanceDetailsHeader::Extents CKXInstanceDetailsHeader::Measure() {
    Extents e;
    CClientDC labelDc(&m_lblComponent);
    e.label = labelDc.GetTextExtent(m_strLabel);
    e.threeBlanks = labelDc.GetTextExtent("   ");
    CClientDC boldDc(&m_lblInstance);
    CFont* former = boldDc.SelectObject(&m_fontBold);
    e.instance = boldDc.GetTextExtent(m_strInstance);
    e.cell = boldDc.GetTextExtent(m_strCell);
    e.twoBlanks = boldDc.GetTextExtent("  ");
    boldDc.SelectObject(former);
    e.expandAll = ClientSize(&m_btnExpandAll);
    e.showDiffPairs = ClientSize(&m_btnShowDiffPairs);
    e.showVectors = ClientSize(&m_btnShowVectors);
    e.functionsLabel = ClientSize(GetDlgItem(static_cast<int>(IDC_HEADER_FUNCTIONS_LABEL)));
    e.functions = ClientSize(&m_cmbFunctions);
    e.barWidth = ClientSize(this).cx;
    return e;
}

void CKXInstanceDetailsHeader::OnSize(UINT nType, int cx, int cy) {
    (void)nType;
    (void)cx;
    (void)cy;
    if (!GetSafeHwnd() || !GetDlgItem(static_cast<int>(IDC_HEADER_LABEL)) || !m_lblInstance.GetSafeHwnd()) return;
    const Placement p = LayOut(Measure());
    const std::pair<UINT, CRect> moves[] = {
        {IDC_HEADER_LABEL, p.label},
        {IDC_HEADER_INSTANCE, p.instance},
        {IDC_HEADER_CELL, p.cell},
        {IDC_HEADER_EXPAND_ALL, p.expandAll},
        {IDC_HEADER_SHOW_DIFF_PAIRS, p.showDiffPairs},
        {IDC_HEADER_SHOW_VECTORS, p.showVectors},
        {IDC_HEADER_FUNCTIONS_LABEL, p.functionsLabel},
        {IDC_HEADER_FUNCTIONS, p.functions},
    };
    for (const auto& [id, rect] : moves)
        if (CWnd* w = GetDlgItem(static_cast<int>(id))) w->MoveWindow(&rect, TRUE);
    Invalidate(TRUE);
}
