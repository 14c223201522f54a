// The window system's free functions: window classes, messages and the queue, focus, keys, the
// cursor, colours and metrics; and the recorder window.
#include "afx/afxwin.h"
#include "afx/afxwinerror.h"
#include "afx/afxanswer.h"
#include "afxwintable.h"

#include <cctype>
#include <chrono>
#include <cstring>
#include <map>
#include <string>

using afxdetail::T;

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
