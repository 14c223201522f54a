// Dialog data exchange, controls made from templates, and CDialog.
#include "afx/afxdlg.h"
#include "afx/afxwinerror.h"

#include "afx/afxanswer.h"
#include "afxctlnotify.h"

#include <cerrno>
#include <cxxabi.h>
#include <typeinfo>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <type_traits>

using afxdetail::notifyParent;

// ---------------------------------------------------------------- data exchange
void CDataExchange::Fail() {
    m_bFailed = TRUE;
    throw CUserException();
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    CWnd* c = pDX->PrepareCtrl(nIDC);
    if (!c) return;
    if (pDX->m_bSaveAndValidate)
        c->GetWindowText(value);
    else
        c->SetWindowText(value);
}

namespace {
template <class T> void ddxNumber(CDataExchange* pDX, int nIDC, T& value, const char* fmt, const char* err) {
    CWnd* c = pDX->PrepareCtrl(nIDC);
    if (!c) return;
    if (pDX->m_bSaveAndValidate) {
        CString s;
        c->GetWindowText(s);
        s.Trim();
        errno = 0;
        char* end = nullptr;
        T v;
        if constexpr (std::is_floating_point_v<T>)
            v = static_cast<T>(std::strtod(s, &end));
        else if constexpr (std::is_unsigned_v<T>) {
            unsigned long long u = std::strtoull(s, &end, 10);
            v = static_cast<T>(u);
            if (s.Find('-') >= 0 || u > static_cast<unsigned long long>(std::numeric_limits<T>::max()))
                errno = ERANGE;
        } else {
            long long l = std::strtoll(s, &end, 10);
            v = static_cast<T>(l);
            if (l < std::numeric_limits<T>::min() || l > std::numeric_limits<T>::max()) errno = ERANGE;
        }
        if (s.IsEmpty() || !end || *end != '\0' || errno == ERANGE) {
            AfxMessageBox(err, MB_OK | MB_ICONEXCLAMATION);
            pDX->Fail();
        }
        value = v;
    } else {
        CString s;
        s.Format(fmt, value);
        c->SetWindowText(s);
    }
}
} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    ddxNumber(pDX, nIDC, value, "%d", "Please enter an integer.");
}
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    ddxNumber(pDX, nIDC, value, "%u", "Please enter a positive integer.");
}
void DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
    ddxNumber(pDX, nIDC, value, "%ld", "Please enter an integer.");
}
void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
    ddxNumber(pDX, nIDC, value, "%.15g", "Please enter a number.");
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    CButton* b = pDX->PrepareCtrl<CButton>(nIDC);
    if (!b) return;
    if (pDX->m_bSaveAndValidate)
        value = b->GetCheck();
    else
        b->SetCheck(value);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    CWnd* first = pDX->PrepareCtrl(nIDC);
    if (!first || !first->GetParent()) return;
    const auto& sib = first->GetParent()->GetChildren();
    auto it = std::find(sib.begin(), sib.end(), first);
    if (pDX->m_bSaveAndValidate) value = -1;
    for (int i = 0; it != sib.end(); ++it, ++i) {
        if (i > 0 && ((*it)->GetStyle() & WS_GROUP)) break;
        auto* b = dynamic_cast<CButton*>(*it);
        if (!b) continue;
        if (pDX->m_bSaveAndValidate) {
            if (b->GetCheck()) value = i;
        } else {
            b->SetCheck(i == value ? BST_CHECKED : BST_UNCHECKED);
        }
    }
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    CComboBox* c = pDX->PrepareCtrl<CComboBox>(nIDC);
    if (!c) return;
    if (pDX->m_bSaveAndValidate) {
        c->GetWindowText(value);
    } else if ((c->GetStyle() & 0x3) == CBS_DROPDOWNLIST) {
        if (c->SelectString(-1, value) == CB_ERR) c->SetCurSel(-1);
    } else {
        c->SetWindowText(value);
    }
}

void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
    CComboBox* c = pDX->PrepareCtrl<CComboBox>(nIDC);
    if (!c) return;
    if (pDX->m_bSaveAndValidate) {
        c->GetWindowText(value);
        return;
    }
    int i = c->FindStringExact(-1, value);
    if (i != CB_ERR)
        c->SetCurSel(i);
    else if ((c->GetStyle() & 0x3) == CBS_DROPDOWNLIST)
        c->SetCurSel(-1);
    else
        c->SetWindowText(value);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    CComboBox* c = pDX->PrepareCtrl<CComboBox>(nIDC);
    if (!c) return;
    if (pDX->m_bSaveAndValidate)
        index = c->GetCurSel();
    else
        c->SetCurSel(index);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) {
    CListBox* l = pDX->PrepareCtrl<CListBox>(nIDC);
    if (!l) return;
    if (pDX->m_bSaveAndValidate) {
        int i = l->GetCurSel();
        if (i == LB_ERR)
            value.Empty();
        else
            l->GetText(i, value);
    } else if (l->SelectString(-1, value) == LB_ERR) {
        l->SetCurSel(-1);
    }
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
    CListBox* l = pDX->PrepareCtrl<CListBox>(nIDC);
    if (!l) return;
    if (pDX->m_bSaveAndValidate)
        index = l->GetCurSel();
    else
        l->SetCurSel(index);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd || !pDX->m_pDlgWnd || !pDX->m_pDlgWnd->m_hWnd) return;
    CWnd* dlg = pDX->m_pDlgWnd;
    CWnd* existing = dlg->GetDlgItem(nIDC);
    CString text;
    DWORD style = WS_CHILD | WS_VISIBLE, exStyle = 0;
    CRect rect;
    CFont* font = nullptr;
    if (existing) {
        if (!existing->m_bAutoDelete) return; // someone else's window: leave it
        existing->GetWindowText(text);
        style = existing->GetStyle();
        exStyle = existing->GetExStyle();
        existing->GetWindowRect(&rect);
        dlg->ScreenToClient(&rect);
        font = existing->GetFont();
        existing->DestroyWindow(); // deletes it
    }
    if (rControl.CreateEx(exStyle, nullptr, text, style | WS_CHILD, rect, dlg, static_cast<UINT>(nIDC)) &&
        font)
        rControl.SetFont(font, FALSE);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (pDX->m_bSaveAndValidate && value.GetLength() > nChars) {
        CString msg;
        msg.Format("Enter no more than %d characters.", nChars);
        AfxMessageBox(msg, MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
        CString msg;
        msg.Format("Please enter an integer between %d and %d.", minVal, maxVal);
        AfxMessageBox(msg, MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

// ---------------------------------------------------------------- template controls
namespace {

// The window object of a control class the framework knows; null for any other class.
CWnd* NewFrameworkControl(const CString& cls) {
    if (cls.CompareNoCase("BUTTON") == 0) return new CButton;
    if (cls.CompareNoCase("EDIT") == 0) return new CEdit;
    if (cls.CompareNoCase("STATIC") == 0) return new CStatic;
    if (cls.CompareNoCase("COMBOBOX") == 0) return new CComboBox;
    if (cls.CompareNoCase("LISTBOX") == 0) return new CListBox;
    if (cls.CompareNoCase("SysListView32") == 0) return new CListCtrl;
    return nullptr;
}

// The system's other control classes: always registered, made here as plain windows of that class.
bool IsSystemControlClass(const CString& cls) {
    static const char* const kClasses[] = {
        "SCROLLBAR",         "msctls_progress32", "msctls_updown32",   "msctls_trackbar32", "msctls_hotkey32",
        "msctls_statusbar32", "SysTreeView32",    "SysTabControl32",   "SysHeader32",       "SysDateTimePick32",
        "SysMonthCal32",     "SysAnimate32",      "SysIPAddress32",    "SysLink",           "ComboBoxEx32",
        "ToolbarWindow32",   "ReBarWindow32",     "tooltips_class32",  "RichEdit20A",       "RICHEDIT"};
    for (const char* name : kClasses)
        if (cls.CompareNoCase(name) == 0) return true;
    return false;
}

// Creates one control of a template; FALSE (with the system's error code set) when it could not be.
BOOL CreateTemplateControl(CWnd* pParent, const AfxDlgItemDef& item) {
    const CString cls(item.className ? item.className : "");
    const DWORD style = item.style | WS_CHILD;
    CWnd* w = NewFrameworkControl(cls);
    if (!w && !IsSystemControlClass(cls)) {
        // A custom control: a window of a registered class, made by its class's procedure.
        if (!GetClassInfoA(nullptr, cls, nullptr)) {
            ::SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return FALSE;
        }
        HWND h = ::CreateWindowExA(0, cls, item.text, style, item.x, item.y, item.cx, item.cy, pParent->m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), nullptr, nullptr);
        CWnd* made = CWnd::FromHandle(h);
        if (!made) {
            // The class is there but gave no window: not the error of a class that is missing.
            ::SetLastError(ERROR_CANNOT_CREATE_WINDOW);
            return FALSE;
        }
        made->SetFont(pParent->GetFont(), FALSE);
        return TRUE;
    }
    if (!w) w = new CWnd;
    w->m_bAutoDelete = TRUE;
    CRect r(item.x, item.y, item.x + item.cx, item.y + item.cy);
    if (!w->CreateEx(0, item.className, item.text, style, r, pParent, item.id)) {
        if (!w->m_hWnd) delete w;
        return FALSE;
    }
    w->SetFont(pParent->GetFont(), FALSE);
    return TRUE;
}

} // namespace

BOOL AfxCreateTemplateControls(CWnd* pParent, UINT nIDTemplate) {
    const AfxDialogDef* def = nIDTemplate ? AfxFindDialogResource(nIDTemplate) : nullptr;
    if (!def || !pParent) return TRUE;
    for (const auto& item : def->items)
        if (!CreateTemplateControl(pParent, item)) return FALSE;
    return TRUE;
}

// ---------------------------------------------------------------- CDialog
IMPLEMENT_DYNAMIC(CDialog, CWnd)

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_nIDTemplate(IS_INTRESOURCE(lpszTemplateName)
                        ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName))
                        : 0),
      m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    if (m_hWnd) DestroyWindow();
}

CString CDialog::GetAnswerKey() const {
    // The object's own class name, whether or not the class declared run-time information.
    int status = 0;
    char* demangled = abi::__cxa_demangle(typeid(*this).name(), nullptr, nullptr, &status);
    CString name =
        (status == 0 && demangled) ? CString(demangled) : CString(GetRuntimeClass()->m_lpszClassName);
    std::free(demangled);
    // Without namespaces (template arguments, if any, are kept).
    int angle = name.Find('<');
    CString head = angle >= 0 ? name.Left(angle) : name;
    int colon = head.ReverseFind(':');
    if (colon >= 0) name = name.Mid(colon + 1);
    return name;
}

BOOL CDialog::createDialog(CWnd* pParentWnd) {
    const AfxDialogDef* def = m_nIDTemplate ? AfxFindDialogResource(m_nIDTemplate) : nullptr;
    DWORD style = def ? def->style : WS_POPUP;
    if (!(style & (WS_CHILD | WS_POPUP))) style |= WS_POPUP;
    CRect r(0, 0, def ? def->cx : 0, def ? def->cy : 0);
    m_fieldNames.clear();
    if (def)
        for (const auto& item : def->items)
            if (item.name && *item.name) m_fieldNames[item.name] = item.id;
    if (!CWnd::CreateEx(0, "#32770", def ? def->caption.GetString() : "", style, r, pParentWnd, 0))
        return FALSE;
    SetFont(AfxGetDefaultFont(), FALSE);
    if (!AfxCreateTemplateControls(this, m_nIDTemplate)) {
        // As the system does: a dialog whose controls cannot all be made does not open.
        const DWORD error = ::GetLastError();
        DestroyWindow();
        ::SetLastError(error);
        return FALSE;
    }
    HWND self = m_hWnd;
    OnInitDialog();
    return CWnd::FromHandle(self) == this;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    if (m_hWnd) return FALSE;
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    m_bEnded = FALSE;
    return createDialog(pParentWnd);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
    UINT id = IS_INTRESOURCE(lpszTemplateName)
                  ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName))
                  : 0;
    return Create(id, pParentWnd);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bEnded = TRUE;
    if (m_hWnd) ShowWindow(SW_HIDE);
}

CWnd* CDialog::FindField(const CString& name) const {
    auto it = m_fieldNames.find(name);
    if (it != m_fieldNames.end()) return GetDlgItem(static_cast<int>(it->second));
    if (name.IsEmpty() || name.SpanIncluding("0123456789") != name) return nullptr;
    return GetDlgItem(std::atoi(name));
}

void CDialog::ApplyFieldValue(CWnd* pCtrl, const CString& value) {
    if (!pCtrl) return;
    if (auto* b = dynamic_cast<CButton*>(pCtrl)) {
        int check = (value == "1" || value.CompareNoCase("true") == 0 || value.CompareNoCase("on") == 0)
                        ? BST_CHECKED
                        : BST_UNCHECKED;
        if (b->GetCheck() != check) {
            b->SetCheck(check);
            notifyParent(b, BN_CLICKED);
        }
    } else if (auto* c = dynamic_cast<CComboBox*>(pCtrl)) {
        int i = c->FindStringExact(-1, value);
        if (i != CB_ERR) {
            c->ChooseItem(i);
        } else {
            c->SetCurSel(-1);
            c->SetWindowText(value);
            notifyParent(c, CBN_EDITCHANGE);
        }
    } else if (auto* l = dynamic_cast<CListBox*>(pCtrl)) {
        l->SetCurSel(l->FindStringExact(-1, value));
        notifyParent(l, LBN_SELCHANGE);
    } else {
        pCtrl->SetWindowText(value);
        if (dynamic_cast<CEdit*>(pCtrl)) notifyParent(pCtrl, EN_CHANGE);
    }
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd) return -1;
    m_bEnded = FALSE;
    m_nModalResult = -1;
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    if (!createDialog(parent)) return -1;
    HWND self = m_hWnd;
    CString key = GetAnswerKey();
    while (!m_bEnded) {
        AfxDialogAnswer answer;
        if (!AfxGetAnswerQueue().TakeDialog(key, answer)) {
            OnCancel();
            if (CWnd::FromHandle(self) != this) return m_nModalResult;
            if (!m_bEnded) EndDialog(IDCANCEL);
            break;
        }
        for (const auto& [name, value] : answer.fields) {
            ApplyFieldValue(FindField(name), value);
            if (CWnd::FromHandle(self) != this) return m_nModalResult;
        }
        OnOK(); // a validation failure leaves the dialog open for the next scripted answer
        if (CWnd::FromHandle(self) != this) return m_nModalResult;
    }
    int result = m_nModalResult;
    if (CWnd::FromHandle(self) == this) DestroyWindow();
    return result;
}
