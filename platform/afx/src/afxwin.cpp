// CWnd: making and destroying windows, messages, the window family, state, geometry, focus, timers
// and scroll bars.
#include "afx/afxwin.h"
#include "afx/afxwinerror.h"
#include "afxwintable.h"

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

using afxdetail::T;

// Never destroyed: windows with static storage may outlive any other static.
AfxWindowTable& AfxWindowTable::get() {
    static auto* t = new AfxWindowTable;
    return *t;
}

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

