#include "afx/afxwin.h"
#include "afx/afxwinerror.h"

#include "afx/afxcall.h"
#include "afx/afxanswer.h"
#include "afx/afxdisp.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <unordered_map>

// The process-wide window state. One instance lives in this shared library, so every module
// that links it sees the same table, focus, queue and registered messages.
struct AfxWindowTable {
    std::unordered_map<HWND, CWnd*> windows;
    UINT_PTR nextHandle = 0x10000;
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    CWnd* mainWnd = nullptr;
    std::deque<MSG> queue;
    std::map<std::string, UINT> registered; // upper-cased name -> number
    UINT nextRegistered = 0xC000;
    std::map<int, std::pair<bool, bool>> keys; // vk -> (down, toggled)
    POINT cursor{0, 0};
    int waitCursor = 0;
    HCURSOR cursorHandle = nullptr;

    // Never destroyed: windows with static storage may outlive any other static.
    static AfxWindowTable& get() {
        static auto* t = new AfxWindowTable;
        return *t;
    }
    HWND allocate(CWnd* w) {
        HWND h = reinterpret_cast<HWND>(nextHandle);
        nextHandle += 4;
        windows[h] = w;
        return h;
    }
    void release(HWND h) {
        windows.erase(h);
        if (focus == h) focus = nullptr;
        if (active == h) active = nullptr;
        if (capture == h) capture = nullptr;
    }
};

namespace {
AfxWindowTable& T() {
    return AfxWindowTable::get();
}
} // namespace

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

CWnd::~CWnd() {
    if (m_pDeletedFlag) *m_pDeletedFlag = true;
    if (T().mainWnd == this) T().mainWnd = nullptr;
    if (m_hWnd) {
        T().release(m_hWnd);
        m_hWnd = nullptr;
    }
    for (CWnd* c : m_children)
        c->m_pParent = nullptr;
    m_children.clear();
    detachFromParent();
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd) return nullptr;
    auto it = T().windows.find(hWnd);
    return it == T().windows.end() ? nullptr : it->second;
}

void CWnd::detachFromParent() {
    if (!m_pParent) return;
    auto& sib = m_pParent->m_children;
    sib.erase(std::remove(sib.begin(), sib.end(), this), sib.end());
    m_pParent = nullptr;
}

void CWnd::linkParent(CWnd* parent) {
    detachFromParent();
    m_pParent = parent;
    if (parent) parent->m_children.push_back(this);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
    (void)cs;
    return TRUE;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    CREATESTRUCT cs{};
    cs.lpCreateParams = pContext;
    cs.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID));
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.style = static_cast<LONG>(dwStyle | WS_CHILD);
    cs.lpszName = lpszWindowName;
    cs.lpszClass = lpszClassName;
    return createWindow(cs, pParentWnd);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    CREATESTRUCT cs{};
    cs.lpCreateParams = lpParam;
    cs.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID));
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.style = static_cast<LONG>(dwStyle);
    cs.dwExStyle = dwExStyle;
    cs.lpszName = lpszWindowName;
    cs.lpszClass = lpszClassName;
    return createWindow(cs, pParentWnd);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    CREATESTRUCT cs{};
    cs.lpCreateParams = lpParam;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.style = static_cast<LONG>(dwStyle);
    cs.dwExStyle = dwExStyle;
    cs.lpszName = lpszWindowName;
    cs.lpszClass = lpszClassName;
    return createWindow(cs, FromHandle(hWndParent));
}

BOOL CWnd::createWindow(CREATESTRUCT& cs, CWnd* pParentWnd) {
    if (m_hWnd) return FALSE; // already created
    if (!PreCreateWindow(cs)) return FALSE;
    m_hWnd = T().allocate(this);
    m_dwStyle = static_cast<DWORD>(cs.style);
    m_dwExStyle = cs.dwExStyle;
    m_strText = cs.lpszName;
    m_strClassName = IS_INTRESOURCE(cs.lpszClass) ? "" : cs.lpszClass;
    m_nID = (m_dwStyle & WS_CHILD) ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(cs.hMenu)) : 0;
    m_rect = CRect(cs.x, cs.y, cs.x + std::max(0, cs.cx), cs.y + std::max(0, cs.cy));
    m_nShowCmd = (m_dwStyle & WS_VISIBLE) ? SW_SHOW : SW_HIDE;
    linkParent(pParentWnd);
    PreSubclassWindow();
    HWND self = m_hWnd;
    const LRESULT created = SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
    // The handle's object from here on: this one, or one a class procedure attached to it.
    CWnd* window = FromHandle(self);
    if (created == -1) {
        if (window) window->DestroyWindow();
        return FALSE;
    }
    if (!window) return FALSE; // destroyed while creating
    window->SendMessage(WM_SIZE, 0, MAKELPARAM(window->m_rect.Width(), window->m_rect.Height()));
    return TRUE;
}

BOOL CWnd::Attach(HWND hWndNew) {
    CWnd* previous = FromHandle(hWndNew);
    if (m_hWnd || !previous || previous == this) return FALSE;
    takeOver(*previous);
    T().windows[hWndNew] = this;
    m_hWnd = hWndNew;
    previous->m_hWnd = nullptr;
    if (T().mainWnd == previous) T().mainWnd = this;
    return TRUE;
}

void CWnd::takeOver(CWnd& previous) {
    detachFromParent();
    m_pParent = previous.m_pParent;
    previous.m_pParent = nullptr;
    if (m_pParent) std::replace(m_pParent->m_children.begin(), m_pParent->m_children.end(), &previous, this);
    m_children = std::move(previous.m_children);
    previous.m_children.clear();
    for (CWnd* c : m_children)
        c->m_pParent = this;
    m_pOwner = previous.m_pOwner;
    m_nID = previous.m_nID;
    m_dwStyle = previous.m_dwStyle;
    m_dwExStyle = previous.m_dwExStyle;
    m_nShowCmd = previous.m_nShowCmd;
    m_strText = previous.m_strText;
    m_strClassName = previous.m_strClassName;
    m_rect = previous.m_rect;
    m_pFont = previous.m_pFont;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd || m_bInDestroy) return FALSE; // a handler asking again while this runs changes nothing
    m_bInDestroy = true;
    HWND self = m_hWnd;
    // Children go first, newest first, as their parents may still reach them while they go.
    while (!m_children.empty()) {
        CWnd* child = m_children.back();
        if (child->m_hWnd) child->DestroyWindow();
        // A child without a handle, or one that did not delete itself, is detached here.
        if (!m_children.empty() && m_children.back() == child) {
            child->m_pParent = nullptr;
            m_children.pop_back();
        }
    }
    SendMessage(WM_DESTROY);
    SendMessage(WM_NCDESTROY);
    if (FromHandle(self) == this) {
        T().release(self);
        m_hWnd = nullptr;
    }
    if (T().mainWnd == this) T().mainWnd = nullptr;
    detachFromParent();
    m_bInDestroy = false;
    PostNcDestroy(); // may delete this
    return TRUE;
}

void CWnd::PostNcDestroy() {
    if (m_bAutoDelete) delete this;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (m_hWnd || !pParent) return FALSE;
    CWnd* existing = pParent->GetDlgItem(static_cast<int>(nID));
    if (existing) return FALSE;
    CRect r;
    return Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, r, pParent, nID);
}

// ---------------------------------------------------------------- messages
LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) return 0;
    const AfxCallScope call;
    return WindowProc(message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
    std::vector<HWND> handles;
    for (CWnd* c : m_children)
        if (c->m_hWnd) handles.push_back(c->m_hWnd);
    for (HWND h : handles) {
        CWnd* c = FromHandle(h);
        if (!c) continue;
        c->SendMessage(message, wParam, lParam);
        if (bDeep && FromHandle(h) == c)
            c->SendMessageToDescendants(message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    MSG saved = m_currentMsg;
    m_currentMsg = MSG{m_hWnd, message, wParam, lParam};
    LRESULT result = 0;
    HWND self = m_hWnd;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        // The window may have been destroyed (and deleted) by the handler.
        if (FromHandle(self) == this)
            result = DefWindowProc(message, wParam, lParam);
        else
            return result;
    }
    if (FromHandle(self) == this) m_currentMsg = saved;
    return result;
}

const MSG* CWnd::GetCurrentMessage() const {
    return &m_currentMsg;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT r = 0;
    BOOL handled = FALSE;
    if (message == WM_COMMAND) {
        handled = OnCommand(wParam, lParam);
        r = handled ? 1 : 0;
    } else if (message == WM_NOTIFY) {
        handled = OnNotify(wParam, lParam, &r);
    } else {
        afx_detail::MsgCall call;
        call.wParam = wParam;
        call.lParam = lParam;
        handled = DispatchFromMap(message, 0, 0, call, nullptr);
        r = call.result;
    }
    if (handled && pResult) *pResult = r;
    return handled;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    HWND hCtl = reinterpret_cast<HWND>(lParam);
    (void)hCtl;
    if (nID == 0) return FALSE;
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    (void)wParam;
    auto* nmh = reinterpret_cast<NMHDR*>(lParam);
    if (!nmh) return FALSE;
    LRESULT dummy = 0;
    AFX_NOTIFY notify{pResult ? pResult : &dummy, nmh};
    return OnCmdMsg(static_cast<UINT>(nmh->idFrom), AfxNotifyCode(nmh->code), &notify, nullptr);
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg) {
    (void)pMsg;
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT:
        m_strText = reinterpret_cast<LPCSTR>(lParam);
        return TRUE;
    case WM_GETTEXTLENGTH:
        return m_strText.GetLength();
    case WM_GETTEXT:
        return GetWindowText(reinterpret_cast<char*>(lParam), static_cast<int>(wParam));
    case WM_SETFONT:
        m_pFont = reinterpret_cast<CFont*>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_pFont);
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    case WM_NCACTIVATE:
        m_bNcActive = wParam != 0;
        return TRUE;
    default:
        return 0;
    }
}

BOOL CWnd::OnNcActivate(BOOL bActive) {
    return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, static_cast<WPARAM>(bActive), 0));
}

// ---------------------------------------------------------------- accessibility
std::vector<CWnd*> CWnd::AccessibleChildren() const {
    std::vector<CWnd*> shown;
    for (CWnd* child : m_children)
        if (child && child->IsVisibleFlag()) shown.push_back(child);
    return shown;
}

// The window a child number names: this window for CHILDID_SELF, else the child (hr E_INVALIDARG
// and null for a number that names none or a variant that is not a number).
CWnd* CWnd::AccessibleTarget(const VARIANT& varChild, HRESULT& hr) const {
    hr = S_OK;
    if (varChild.vt != VT_I4) {
        hr = E_INVALIDARG;
        return nullptr;
    }
    if (varChild.lVal == CHILDID_SELF) return const_cast<CWnd*>(this);
    const std::vector<CWnd*> children = AccessibleChildren();
    if (varChild.lVal < 1 || static_cast<size_t>(varChild.lVal) > children.size()) {
        hr = E_INVALIDARG;
        return nullptr;
    }
    return children[static_cast<size_t>(varChild.lVal - 1)];
}

HRESULT CWnd::GetAccessibleChildCount(long* pcountChildren) {
    if (!pcountChildren) return E_INVALIDARG;
    *pcountChildren = static_cast<long>(AccessibleChildren().size());
    return S_OK;
}

HRESULT CWnd::GetAccessibleChild(const VARIANT& varChild, CWnd** ppChild) {
    if (!ppChild) return E_INVALIDARG;
    *ppChild = nullptr;
    HRESULT hr = S_OK;
    CWnd* target = AccessibleTarget(varChild, hr);
    if (!target) return hr;
    if (target == this) return S_FALSE;
    *ppChild = target;
    return S_OK;
}

HRESULT CWnd::GetAccessibleName(const VARIANT& varChild, CString* pszName) {
    if (!pszName) return E_INVALIDARG;
    HRESULT hr = S_OK;
    CWnd* target = AccessibleTarget(varChild, hr);
    if (!target) return hr;
    // "&&" stands for one '&'; a single '&' only marks the mnemonic.
    const CString& text = target->m_strText;
    CString name;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.GetLength() && text[i + 1] == '&') name += '&';
            ++i;
            if (i < text.GetLength() && text[i] != '&') name += text[i];
            continue;
        }
        name += text[i];
    }
    *pszName = name;
    return S_OK;
}

HRESULT CWnd::GetAccessibilityLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                       const VARIANT& varChild) {
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight) return E_INVALIDARG;
    HRESULT hr = S_OK;
    CWnd* target = AccessibleTarget(varChild, hr);
    if (!target) return hr;
    CRect r;
    target->GetWindowRect(&r);
    *pxLeft = r.left;
    *pyTop = r.top;
    *pcxWidth = r.Width();
    *pcyHeight = r.Height();
    return S_OK;
}

HRESULT CWnd::GetAccessibilityHitTest(long xLeft, long yTop, VARIANT* pvarChild) {
    if (!pvarChild) return E_INVALIDARG;
    const CPoint pt(static_cast<int>(xLeft), static_cast<int>(yTop));
    CRect own;
    GetWindowRect(&own);
    pvarChild->vt = VT_EMPTY;
    if (!own.PtInRect(pt)) return S_FALSE;
    // The topmost child wins where children overlap: the last in z-order.
    const std::vector<CWnd*> children = AccessibleChildren();
    pvarChild->vt = VT_I4;
    pvarChild->lVal = CHILDID_SELF;
    for (size_t i = children.size(); i-- > 0;) {
        CRect r;
        children[i]->GetWindowRect(&r);
        if (r.PtInRect(pt)) {
            pvarChild->lVal = static_cast<LONG>(i + 1);
            break;
        }
    }
    return S_OK;
}

HRESULT CWnd::get_accChildCount(long* pcountChildren) {
    return GetAccessibleChildCount(pcountChildren);
}
HRESULT CWnd::get_accChild(const VARIANT& varChild, CWnd** ppChild) {
    return GetAccessibleChild(varChild, ppChild);
}
HRESULT CWnd::get_accName(const VARIANT& varChild, CString* pszName) {
    return GetAccessibleName(varChild, pszName);
}
HRESULT CWnd::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, const VARIANT& varChild) {
    return GetAccessibilityLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild);
}
HRESULT CWnd::accHitTest(long xLeft, long yTop, VARIANT* pvarChild) {
    return GetAccessibilityHitTest(xLeft, yTop, pvarChild);
}

// ---------------------------------------------------------------- window classes
namespace {

struct RegisteredClass {
    WNDCLASSA data{};
    std::string name;
};

std::map<std::string, RegisteredClass>& ClassTable() {
    static std::map<std::string, RegisteredClass> table;
    return table;
}

std::string ClassKey(LPCSTR name) {
    std::string key = name ? name : "";
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

} // namespace

namespace {
thread_local DWORD t_lastError = 0;
} // namespace

DWORD GetLastError() {
    return t_lastError;
}

void SetLastError(DWORD dwErrCode) {
    t_lastError = dwErrCode;
}

ATOM RegisterClassA(const WNDCLASSA* lpWndClass) {
    if (!lpWndClass || !lpWndClass->lpszClassName || !*lpWndClass->lpszClassName) return 0;
    auto& table = ClassTable();
    const std::string key = ClassKey(lpWndClass->lpszClassName);
    if (table.count(key)) return 0;
    RegisteredClass& entry = table[key];
    entry.name = lpWndClass->lpszClassName;
    entry.data = *lpWndClass;
    entry.data.lpszClassName = entry.name.c_str();
    entry.data.lpszMenuName = nullptr;
    // Atoms of registered classes lie in the range the system gives them (0xC000 up), never reused.
    static unsigned next = 0xC000;
    return static_cast<ATOM>(next++);
}

BOOL UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
    return ClassTable().erase(ClassKey(lpClassName)) ? TRUE : FALSE;
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR lpClassName, WNDCLASSA* lpWndClass) {
    auto& table = ClassTable();
    auto it = table.find(ClassKey(lpClassName));
    if (it == table.end()) return FALSE;
    if (lpWndClass) *lpWndClass = it->second.data;
    return TRUE;
}

BOOL AfxRegisterClass(WNDCLASSA* lpWndClass) {
    if (!lpWndClass) return FALSE;
    if (GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, nullptr)) return TRUE;
    return RegisterClassA(lpWndClass) != 0;
}

void AfxThrowResourceException() {
    throw CResourceException("resource unavailable");
}

namespace {

// The window of a class until its procedure attaches an object of its own: every message goes
// to the class's procedure.
class CClassProcWnd : public CWnd {
public:
    CClassProcWnd(WNDPROC proc, HWND* created) : m_proc(proc), m_pCreated(created) { m_bAutoDelete = TRUE; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        return m_proc(m_hWnd, message, wParam, lParam);
    }

protected:
    void PreSubclassWindow() override { *m_pCreated = m_hWnd; }

private:
    WNDPROC m_proc;
    HWND* m_pCreated;
};

} // namespace

HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int x, int y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam) {
    WNDCLASSA wc{};
    if (!lpClassName || !GetClassInfoA(hInstance, lpClassName, &wc)) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (!wc.lpfnWndProc) {
        SetLastError(ERROR_CANNOT_CREATE_WINDOW);
        return nullptr;
    }
    HWND created = nullptr;
    bool deleted = false;
    auto* w = new CClassProcWnd(wc.lpfnWndProc, &created);
    w->m_pDeletedFlag = &deleted;
    const BOOL ok = w->CreateEx(dwExStyle, wc.lpszClassName, lpWindowName, dwStyle, x, y, nWidth, nHeight,
                                hWndParent, hMenu, lpParam);
    if (!deleted) {
        w->m_pDeletedFlag = nullptr;
        if (!w->m_hWnd) delete w; // another object holds the handle now, or there never was one
    }
    return ok ? created : nullptr;
}

// ---------------------------------------------------------------- family
CWnd* CWnd::GetParent() const {
    return m_pParent;
}

CWnd* CWnd::SetParent(CWnd* pWndNewParent) {
    CWnd* old = m_pParent;
    linkParent(pWndNewParent);
    return old;
}

CWnd* CWnd::GetTopLevelParent() const {
    const CWnd* w = this;
    while (w->m_pParent && (w->m_dwStyle & WS_CHILD))
        w = w->m_pParent;
    return const_cast<CWnd*>(w);
}

CWnd* CWnd::GetDlgItem(int nID) const {
    for (CWnd* c : m_children)
        if (c->m_hWnd && static_cast<int>(c->m_nID) == nID) return c;
    return nullptr;
}

int CWnd::SetDlgCtrlID(int nID) {
    int old = static_cast<int>(m_nID);
    m_nID = static_cast<UINT>(nID);
    return old;
}

CWnd* CWnd::GetWindow(UINT nCmd) const {
    switch (nCmd) {
    case GW_CHILD:
        return m_children.empty() ? nullptr : m_children.front();
    case GW_OWNER:
        return m_pOwner;
    default:
        break;
    }
    if (!m_pParent) return nullptr;
    const auto& sib = m_pParent->m_children;
    auto it = std::find(sib.begin(), sib.end(), this);
    if (it == sib.end()) return nullptr;
    switch (nCmd) {
    case GW_HWNDFIRST:
        return sib.front();
    case GW_HWNDLAST:
        return sib.back();
    case GW_HWNDNEXT:
        return (it + 1) == sib.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV:
        return it == sib.begin() ? nullptr : *(it - 1);
    default:
        return nullptr;
    }
}

BOOL CWnd::IsChild(const CWnd* pWnd) const {
    for (const CWnd* w = pWnd ? pWnd->m_pParent : nullptr; w; w = w->m_pParent)
        if (w == this) return TRUE;
    return FALSE;
}

// ---------------------------------------------------------------- state
BOOL CWnd::ShowWindow(int nCmdShow) {
    BOOL wasVisible = IsVisibleFlag();
    // A maximised child fills its parent's client area.
    if ((nCmdShow == SW_SHOWMAXIMIZED) && m_pParent && (m_dwStyle & WS_CHILD)) {
        CRect client;
        m_pParent->GetClientRect(&client);
        MoveWindow(&client);
    }
    bool show = nCmdShow != SW_HIDE;
    m_nShowCmd = nCmdShow;
    if (show)
        m_dwStyle |= WS_VISIBLE;
    else
        m_dwStyle &= ~static_cast<DWORD>(WS_VISIBLE);
    if (m_hWnd && (wasVisible != 0) != show) SendMessage(WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    for (const CWnd* w = this; w; w = w->m_pParent) {
        if (!w->IsVisibleFlag()) return FALSE;
        if (!(w->m_dwStyle & WS_CHILD)) break;
    }
    return m_hWnd != nullptr;
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    BOOL wasDisabled = !IsWindowEnabled();
    if (bEnable)
        m_dwStyle &= ~static_cast<DWORD>(WS_DISABLED);
    else
        m_dwStyle |= WS_DISABLED;
    if (m_hWnd && wasDisabled == bEnable) SendMessage(WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    (void)nFlags;
    DWORD old = m_dwStyle;
    m_dwStyle = (m_dwStyle & ~dwRemove) | dwAdd;
    return old != m_dwStyle;
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    (void)nFlags;
    DWORD old = m_dwExStyle;
    m_dwExStyle = (m_dwExStyle & ~dwRemove) | dwAdd;
    return old != m_dwExStyle;
}

void CWnd::SetWindowText(LPCTSTR lpszString) {
    if (m_hWnd)
        SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpszString ? lpszString : ""));
    else
        m_strText = lpszString;
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
    if (!lpszStringBuf || nMaxCount <= 0) return 0;
    int len = std::min(nMaxCount - 1, m_strText.GetLength());
    std::memcpy(lpszStringBuf, m_strText.GetString(), static_cast<size_t>(len));
    lpszStringBuf[len] = '\0';
    return len;
}

void CWnd::GetWindowText(CString& rString) const {
    rString = m_strText;
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    if (m_hWnd)
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont), bRedraw);
    else
        m_pFont = pFont;
}

CFont* CWnd::GetFont() const {
    return m_pFont;
}

// ---------------------------------------------------------------- geometry
void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    (void)bRepaint;
    CRect old = m_rect;
    m_rect = CRect(x, y, x + std::max(0, nWidth), y + std::max(0, nHeight));
    if (!m_hWnd) return;
    if (old.TopLeft() != m_rect.TopLeft()) SendMessage(WM_MOVE, 0, MAKELPARAM(x, y));
    if (old.Size() != m_rect.Size()) SendMessage(WM_SIZE, 0, MAKELPARAM(m_rect.Width(), m_rect.Height()));
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
    if (!lpRect) return;
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
               bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    (void)pWndInsertAfter;
    if (!(nFlags & SWP_NOMOVE) || !(nFlags & SWP_NOSIZE)) {
        int nx = (nFlags & SWP_NOMOVE) ? m_rect.left : x;
        int ny = (nFlags & SWP_NOMOVE) ? m_rect.top : y;
        int ncx = (nFlags & SWP_NOSIZE) ? m_rect.Width() : cx;
        int ncy = (nFlags & SWP_NOSIZE) ? m_rect.Height() : cy;
        MoveWindow(nx, ny, ncx, ncy);
    }
    if (nFlags & SWP_SHOWWINDOW) ShowWindow(SW_SHOW);
    if (nFlags & SWP_HIDEWINDOW) ShowWindow(SW_HIDE);
    return TRUE;
}

void CWnd::GetWindowRect(LPRECT lpRect) const {
    if (!lpRect) return;
    CRect r = m_rect;
    if (m_pParent && (m_dwStyle & WS_CHILD)) {
        CPoint origin(0, 0);
        m_pParent->ClientToScreen(&origin);
        r.OffsetRect(origin);
    }
    *lpRect = r;
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    if (lpRect) *lpRect = CRect(0, 0, m_rect.Width(), m_rect.Height());
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const {
    if (!lpPoint) return;
    CRect w;
    GetWindowRect(&w);
    lpPoint->x += w.left;
    lpPoint->y += w.top;
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
    if (!lpRect) return;
    CPoint o(0, 0);
    ClientToScreen(&o);
    lpRect->left += o.x, lpRect->right += o.x, lpRect->top += o.y, lpRect->bottom += o.y;
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    if (!lpPoint) return;
    CPoint o(0, 0);
    ClientToScreen(&o);
    lpPoint->x -= o.x;
    lpPoint->y -= o.y;
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
    if (!lpRect) return;
    CPoint o(0, 0);
    ClientToScreen(&o);
    lpRect->left -= o.x, lpRect->right -= o.x, lpRect->top -= o.y, lpRect->bottom -= o.y;
}

void CWnd::Invalidate(BOOL bErase) {
    (void)bErase;
    ++m_nInvalidate;
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    (void)lpRect;
    Invalidate(bErase);
}

// ---------------------------------------------------------------- focus
CWnd* CWnd::SetFocus() {
    HWND old = T().focus;
    if (old == m_hWnd) return FromHandle(old);
    HWND self = m_hWnd;
    if (CWnd* o = FromHandle(old)) o->SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(self));
    T().focus = self;
    if (FromHandle(self) == this) SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(old));
    return FromHandle(old);
}

CWnd* CWnd::GetFocus() {
    return FromHandle(T().focus);
}

CWnd* CWnd::SetActiveWindow() {
    HWND old = T().active;
    T().active = m_hWnd;
    return FromHandle(old);
}

CWnd* CWnd::GetActiveWindow() {
    return FromHandle(T().active);
}

CWnd* CWnd::SetCapture() {
    HWND old = T().capture;
    T().capture = m_hWnd;
    return FromHandle(old);
}

CWnd* CWnd::GetCapture() {
    return FromHandle(T().capture);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, void* lpfnTimer) {
    (void)lpfnTimer;
    if (!m_hWnd) return 0;
    m_timers[nIDEvent] = nElapse;
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return m_timers.erase(nIDEvent) != 0;
}

BOOL AfxFireTimer(CWnd* pWnd, UINT_PTR nIDEvent) {
    if (!pWnd || !pWnd->HasTimer(nIDEvent)) return FALSE;
    pWnd->SendMessage(WM_TIMER, nIDEvent, 0);
    return TRUE;
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    std::vector<HWND> handles;
    for (CWnd* c : m_children)
        if (c->m_hWnd) handles.push_back(c->m_hWnd);
    for (HWND h : handles) {
        CWnd* c = FromHandle(h);
        if (!c || c->m_nID == 0) continue;
        CCmdUI ui;
        ui.m_nID = c->m_nID;
        ui.m_pOther = c;
        ui.DoUpdate(pTarget, bDisableIfNoHndler);
        if (FromHandle(h) != c) continue;
        if (ui.m_bEnableChanged) c->EnableWindow(ui.m_bEnabled);
        if (ui.m_bTextChanged) c->SetWindowText(ui.m_strText);
    }
}

// ---------------------------------------------------------------- free functions
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->SendMessage(message, wParam, lParam) : 0;
}

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hWnd && !CWnd::FromHandle(hWnd)) return FALSE;
    T().queue.push_back(MSG{hWnd, message, wParam, lParam});
    return TRUE;
}

int AfxPumpMessages(int maxMessages) {
    int n = 0;
    while (n < maxMessages && !T().queue.empty()) {
        MSG m = T().queue.front();
        T().queue.pop_front();
        CWnd* w = CWnd::FromHandle(m.hwnd);
        if (!w) continue;
        if (!w->PreTranslateMessage(&m)) w->SendMessage(m.message, m.wParam, m.lParam);
        ++n;
    }
    return n;
}

int AfxGetPendingMessageCount() {
    return static_cast<int>(T().queue.size());
}
void AfxClearMessageQueue() {
    T().queue.clear();
}

BOOL PeekMessage(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    auto& q = T().queue;
    for (auto it = q.begin(); it != q.end(); ++it) {
        if (hWnd && it->hwnd != hWnd) continue;
        if ((wMsgFilterMin || wMsgFilterMax) && (it->message < wMsgFilterMin || it->message > wMsgFilterMax))
            continue;
        if (lpMsg) *lpMsg = *it;
        if (wRemoveMsg & PM_REMOVE) q.erase(it);
        return TRUE;
    }
    return FALSE;
}

BOOL IsWindow(HWND hWnd) {
    return CWnd::FromHandle(hWnd) != nullptr;
}
HWND GetParent(HWND hWnd) {
    CWnd* w = CWnd::FromHandle(hWnd);
    return w && w->GetParent() ? w->GetParent()->m_hWnd : nullptr;
}
HWND GetFocus() {
    return T().focus;
}
HWND SetFocus(HWND hWnd) {
    HWND old = T().focus;
    if (CWnd* w = CWnd::FromHandle(hWnd))
        w->SetFocus();
    else if (!hWnd) {
        if (CWnd* o = CWnd::FromHandle(old)) o->SendMessage(WM_KILLFOCUS, 0);
        T().focus = nullptr;
    }
    return old;
}
BOOL IsWindowVisible(HWND hWnd) {
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->IsWindowVisible() : FALSE;
}
BOOL IsWindowEnabled(HWND hWnd) {
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->IsWindowEnabled() : FALSE;
}
BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->ShowWindow(nCmdShow) : FALSE;
}
BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->EnableWindow(bEnable) : FALSE;
}
int GetDlgCtrlID(HWND hWnd) {
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->GetDlgCtrlID() : 0;
}
HWND GetDlgItem(HWND hDlg, int nID) {
    CWnd* w = CWnd::FromHandle(hDlg);
    CWnd* c = w ? w->GetDlgItem(nID) : nullptr;
    return c ? c->m_hWnd : nullptr;
}
BOOL DestroyWindow(HWND hWnd) {
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->DestroyWindow() : FALSE;
}

UINT RegisterWindowMessageA(LPCSTR lpString) {
    if (!lpString || !*lpString) return 0;
    std::string key(lpString);
    for (auto& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    auto& t = T();
    auto it = t.registered.find(key);
    if (it != t.registered.end()) return it->second;
    if (t.nextRegistered > 0xFFFF) return 0; // the range is exhausted
    UINT n = t.nextRegistered++;
    t.registered.emplace(std::move(key), n);
    return n;
}

CWnd* AfxGetMainWnd() {
    return T().mainWnd;
}
void AfxSetMainWnd(CWnd* pWnd) {
    T().mainWnd = pWnd;
}
int AfxGetWindowCount() {
    return static_cast<int>(T().windows.size());
}

short GetKeyState(int nVirtKey) {
    auto it = T().keys.find(nVirtKey);
    if (it == T().keys.end()) return 0;
    short r = 0;
    if (it->second.first) r = static_cast<short>(0x8000 | r);
    if (it->second.second) r = static_cast<short>(r | 1);
    return r;
}
short GetAsyncKeyState(int nVirtKey) {
    return GetKeyState(nVirtKey);
}
void AfxSetKeyState(int nVirtKey, BOOL bDown, BOOL bToggled) {
    T().keys[nVirtKey] = {bDown != 0, bToggled != 0};
}
void AfxResetKeyState() {
    T().keys.clear();
}
void AfxResetInputState() {
    AfxResetKeyState();
    T().cursor = POINT{0, 0};
    T().capture = nullptr;
}
BOOL GetCursorPos(LPPOINT lpPoint) {
    if (!lpPoint) return FALSE;
    *lpPoint = T().cursor;
    return TRUE;
}
BOOL SetCursorPos(int x, int y) {
    T().cursor = POINT{x, y};
    return TRUE;
}
HWND SetCapture(HWND hWnd) {
    HWND old = T().capture;
    T().capture = CWnd::FromHandle(hWnd) ? hWnd : nullptr;
    return old;
}
BOOL ReleaseCapture() {
    T().capture = nullptr;
    return TRUE;
}
HWND GetCapture() {
    return T().capture;
}

void AfxBeginWaitCursor() {
    ++T().waitCursor;
}
void AfxEndWaitCursor() {
    if (T().waitCursor > 0) --T().waitCursor;
}
int AfxGetWaitCursorCount() {
    return T().waitCursor;
}
void CCmdTarget::BeginWaitCursor() {
    AfxBeginWaitCursor();
}
void CCmdTarget::EndWaitCursor() {
    AfxEndWaitCursor();
}

HCURSOR SetCursor(HCURSOR hCursor) {
    HCURSOR old = T().cursorHandle;
    T().cursorHandle = hCursor;
    return old;
}
HCURSOR LoadCursor(HINSTANCE, LPCSTR lpCursorName) {
    return reinterpret_cast<HCURSOR>(const_cast<char*>(lpCursorName));
}
HCURSOR GetCursor() {
    return T().cursorHandle;
}

DWORD GetTickCount() {
    using namespace std::chrono;
    return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
    (void)lpszCaption;
    return AfxMessageBox(lpszText, nType);
}

// ---------------------------------------------------------------- CMessageRecorderWnd
LRESULT CMessageRecorderWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    Received r{message, wParam, lParam, CString()};
    if (message == WM_SETMESSAGESTRING && lParam) {
        r.text = reinterpret_cast<LPCSTR>(lParam);
        m_strStatus = r.text;
    }
    auto textIt = m_textParams.find(message);
    if (textIt != m_textParams.end()) {
        auto p = textIt->second == 'w' ? static_cast<LPARAM>(wParam) : lParam;
        if (p) r.text = reinterpret_cast<LPCSTR>(p);
    }
    m_received.push_back(r);
    if (m_handler) return m_handler(message, wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

std::vector<CString> CMessageRecorderWnd::TextsOf(UINT message) const {
    std::vector<CString> out;
    for (const auto& r : m_received)
        if (r.message == message) out.push_back(r.text);
    return out;
}

COLORREF GetSysColor(int nIndex) {
    switch (nIndex) {
    case COLOR_WINDOW:
        return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
    case COLOR_INFOTEXT:
        return RGB(0, 0, 0);
    case COLOR_HIGHLIGHT:
        return RGB(0, 120, 215);
    case COLOR_HIGHLIGHTTEXT:
        return RGB(255, 255, 255);
    case COLOR_BTNFACE:
        return RGB(240, 240, 240);
    case COLOR_BTNSHADOW:
        return RGB(160, 160, 160);
    case COLOR_GRAYTEXT:
        return RGB(109, 109, 109);
    case COLOR_BTNHIGHLIGHT:
        return RGB(255, 255, 255);
    case COLOR_INFOBK:
        return RGB(255, 255, 225);
    default:
        return RGB(192, 192, 192);
    }
}

// ---------------------------------------------------------------- scroll state
namespace {
int barIndex(int nBar) {
    return nBar == SB_HORZ ? 0 : 1;
}
} // namespace

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) {
    if (nBar == SB_HORZ || nBar == SB_BOTH) m_bScrollBarShown[0] = bShow ? TRUE : FALSE;
    if (nBar == SB_VERT || nBar == SB_BOTH) m_bScrollBarShown[1] = bShow ? TRUE : FALSE;
}

BOOL CWnd::IsScrollBarShown(int nBar) const {
    if (nBar == SB_BOTH) return m_bScrollBarShown[0] && m_bScrollBarShown[1];
    return m_bScrollBarShown[barIndex(nBar)];
}

int CWnd::GetScrollPos(int nBar) const {
    return m_scroll[barIndex(nBar)].nPos;
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) {
    (void)bRedraw;
    auto& s = m_scroll[barIndex(nBar)];
    int old = s.nPos;
    s.nPos = std::clamp(nPos, s.nMin, std::max(s.nMin, s.nMax));
    return old;
}

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const {
    const auto& s = m_scroll[barIndex(nBar)];
    if (lpMinPos) *lpMinPos = s.nMin;
    if (lpMaxPos) *lpMaxPos = s.nMax;
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
    (void)bRedraw;
    auto& s = m_scroll[barIndex(nBar)];
    s.nMin = nMinPos;
    s.nMax = nMaxPos;
    s.nPos = std::clamp(s.nPos, s.nMin, std::max(s.nMin, s.nMax));
}

BOOL CWnd::SetScrollInfo(int nBar, const SCROLLINFO* lpScrollInfo, BOOL bRedraw) {
    if (!lpScrollInfo) return FALSE;
    auto& s = m_scroll[barIndex(nBar)];
    if (lpScrollInfo->fMask & SIF_RANGE) {
        s.nMin = lpScrollInfo->nMin;
        s.nMax = lpScrollInfo->nMax;
    }
    if (lpScrollInfo->fMask & SIF_PAGE) s.nPage = static_cast<int>(lpScrollInfo->nPage);
    if (lpScrollInfo->fMask & SIF_POS) s.nPos = lpScrollInfo->nPos;
    SetScrollPos(nBar, s.nPos, bRedraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, SCROLLINFO* lpScrollInfo, UINT nMask) const {
    if (!lpScrollInfo) return FALSE;
    const auto& s = m_scroll[barIndex(nBar)];
    lpScrollInfo->fMask = nMask;
    lpScrollInfo->nMin = s.nMin;
    lpScrollInfo->nMax = s.nMax;
    lpScrollInfo->nPage = static_cast<UINT>(s.nPage);
    lpScrollInfo->nPos = s.nPos;
    lpScrollInfo->nTrackPos = s.nPos;
    return TRUE;
}

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
    case SM_CXSCREEN:
        return 1280;
    case SM_CYSCREEN:
        return 1024;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return 17;
    case SM_CYCAPTION:
        return 23;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    default:
        return 0;
    }
}
