// The physical part header bar.
#include "physgrids/KXPhysPartDetailsHeader.h"

#include "physgrids/KXPhysPartDetailsGridWnd.h"

#include <cstdlib>

using namespace kxphys;

BEGIN_MESSAGE_MAP(CKXPhysPartDetailsHeader, CDialog)
ON_WM_SIZE()
ON_CBN_SELCHANGE(IDC_FUNCTION_COMBO, &CKXPhysPartDetailsHeader::OnSelchangeFunctionCombo)
END_MESSAGE_MAP()

namespace {
constexpr const char* kPartLabel = "Physical Part: ";
constexpr const char* kFunctionLabel = "Function: ";
constexpr const char* kAll = "All";
} // namespace

CKXPhysPartDetailsHeader::CKXPhysPartDetailsHeader(CWnd* pParent) : CDialog(IDD_PHYSPART_HEADER, pParent) {}

CKXPhysPartDetailsHeader::~CKXPhysPartDetailsHeader() = default;

AfxDialogDef CKXPhysPartDetailsHeader::Template() {
    AfxDialogDef def;
    def.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    def.cx = 271;
    def.cy = 47;
    def.items = {
        {IDC_PART_LABEL, "STATIC", "Physical Part:", WS_CHILD | WS_VISIBLE, 3, 1, 44, 8, "partLabel"},
        {IDC_PART_TEXT, "STATIC", "RefDes", WS_CHILD | WS_VISIBLE, 51, 1, 79, 13, "part"},
        {IDC_FUNCTION_COMBO, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, 43, 17, 72, 52,
         "function"},
        {IDC_FUNCTION_LABEL, "STATIC", "Function:", WS_CHILD | WS_VISIBLE, 3, 19, 30, 8, "functionLabel"},
    };
    return def;
}

void CKXPhysPartDetailsHeader::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, static_cast<int>(IDC_FUNCTION_COMBO), m_cbFunction);
    DDX_Control(pDX, static_cast<int>(IDC_PART_TEXT), m_stPartText);
    DDX_Text(pDX, static_cast<int>(IDC_FUNCTION_LABEL), m_strFunctionLabel);
    DDX_Text(pDX, static_cast<int>(IDC_PART_LABEL), m_strPartLabel);
}

BOOL CKXPhysPartDetailsHeader::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_stPartText.GetSafeHwnd()) {
        LOGFONT lf{};
        if (CFont* font = m_stPartText.GetFont()) font->GetLogFont(&lf);
        lf.lfWeight = 400;
        m_font.CreateFontIndirect(&lf);
        m_stPartText.SetFont(&m_font, TRUE);
    }
    return TRUE;
}

void CKXPhysPartDetailsHeader::SetPartText(CString text) {
    if (CWnd* w = GetSafeHwnd() ? GetDlgItem(static_cast<int>(IDC_PART_TEXT)) : nullptr)
        w->SetWindowText(text);
    m_strPartText = text;
    if (CWnd* w = GetSafeHwnd() ? GetDlgItem(static_cast<int>(IDC_PART_LABEL)) : nullptr)
        w->SetWindowText(kPartLabel);
    if (CWnd* w = GetSafeHwnd() ? GetDlgItem(static_cast<int>(IDC_FUNCTION_LABEL)) : nullptr)
        w->SetWindowText(kFunctionLabel);
}

CString CKXPhysPartDetailsHeader::GetPartText() const {
    return m_strPartText;
}

void CKXPhysPartDetailsHeader::ShowFunctionCombo(BOOL bShow) {
    m_bFunctionShown = bShow;
    for (UINT id : {IDC_FUNCTION_COMBO, IDC_FUNCTION_LABEL})
        if (CWnd* w = GetSafeHwnd() ? GetDlgItem(static_cast<int>(id)) : nullptr) {
            w->EnableWindow(bShow);
            w->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
        }
}

void CKXPhysPartDetailsHeader::AddFunction(CString text) {
    m_functions.push_back(text);
    if (m_cbFunction.GetSafeHwnd()) m_cbFunction.AddString(text);
}

void CKXPhysPartDetailsHeader::ResetFunctions() {
    m_functions.clear();
    m_nSelected = -1;
    if (m_cbFunction.GetSafeHwnd()) m_cbFunction.ResetContent();
}

void CKXPhysPartDetailsHeader::SelectFunction(CString text) {
    for (std::size_t i = 0; i < m_functions.size(); ++i)
        if (m_functions[i].Left(text.GetLength()).CompareNoCase(text) == 0) {
            m_nSelected = static_cast<int>(i);
            break;
        }
    if (m_cbFunction.GetSafeHwnd()) m_cbFunction.SelectString(-1, text);
}

std::vector<CString> CKXPhysPartDetailsHeader::GetFunctions() const {
    return m_functions;
}

CString CKXPhysPartDetailsHeader::GetSelectedFunction() const {
    if (m_cbFunction.GetSafeHwnd() && m_cbFunction.GetCurSel() >= 0) {
        CString text;
        m_cbFunction.GetLBText(m_cbFunction.GetCurSel(), text);
        return text;
    }
    return m_nSelected >= 0 ? m_functions[static_cast<std::size_t>(m_nSelected)] : CString();
}

void CKXPhysPartDetailsHeader::OnSelchangeFunctionCombo() {
    const CString text = GetSelectedFunction();
    if (text.IsEmpty()) return;
    SelectFunction(text);
    const int function = text == kAll ? 0 : std::atoi(text.GetString());
    if (m_pGrid) m_pGrid->FilterByFunction(0, function, TRUE);
}

CKXPhysPartDetailsHeader::Placement CKXPhysPartDetailsHeader::LayOut(const Extents& e) {
    Placement p;
    const CSize& P = e.partLabel;
    p.partLabel = CRect(30, 3, 30 + P.cx + 2 * e.blanks.cx, 3 + P.cy);
    p.partText = CRect(30 + P.cx, 3, 30 + P.cx + e.partText.cx, 3 + e.partText.cy);
    const int X = P.cx + e.partText.cx;
    const CSize& F = e.functionLabel;
    if (e.barWidth <= F.cx + e.combo.cx + X + 60) {
        p.functionLabel = CRect(30, P.cy + 2, 30 + F.cx, P.cy + 2 + F.cy);
        p.combo = CRect(F.cx + 33, P.cy + 2, F.cx + 33 + e.combo.cx, P.cy + 2 + e.combo.cy);
    } else {
        p.functionLabel = CRect(X + 45, 3, X + 45 + F.cx, 3 + F.cy);
        p.combo = CRect(F.cx + X + 45, 1, F.cx + X + 45 + e.combo.cx, 1 + e.combo.cy);
    }
    return p;
}

void CKXPhysPartDetailsHeader::OnSize(UINT nType, int cx, int cy) {
    (void)nType;
    (void)cx;
    (void)cy;
    if (!GetSafeHwnd()) return;
    CClientDC dc(this);
    Extents e;
    e.partLabel = dc.GetTextExtent(kPartLabel);
    e.blanks = dc.GetTextExtent("   ");
    e.partText = dc.GetTextExtent(m_strPartText);
    e.functionLabel = dc.GetTextExtent(kFunctionLabel);
    CRect combo, bar;
    if (m_cbFunction.GetSafeHwnd()) m_cbFunction.GetClientRect(&combo);
    GetClientRect(&bar);
    e.combo = CSize(combo.Width(), combo.Height());
    e.barWidth = bar.Width();
    const Placement p = LayOut(e);
    auto move = [this](UINT id, const CRect& r) {
        if (CWnd* w = GetDlgItem(static_cast<int>(id))) w->MoveWindow(&r, TRUE);
    };
    move(IDC_PART_LABEL, p.partLabel);
    move(IDC_PART_TEXT, p.partText);
    move(IDC_FUNCTION_LABEL, p.functionLabel);
    move(IDC_FUNCTION_COMBO, p.combo);
    Invalidate(TRUE);
}
