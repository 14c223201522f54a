// CWnd and the process's window table, message sending and the posted-message queue.
//
// Windows are objects: an HWND is a handle into a process-wide table. SendMessage calls the
// window procedure synchronously (re-entrant: a handler may send further messages, also back to
// the sender). PostMessage queues; the host (or a test) delivers the queue with AfxPumpMessages.
#pragma once

#include "afx/afxmsg.h"

#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

class CFont;
class CFrameWnd;
class CDocument;
class CView;
class CDataExchange;
struct CCreateContext;
struct VARIANT;

struct tagCREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    // Removes the window from the table without sending messages (virtual calls are not
    // possible any more); child objects are detached, not deleted.
    ~CWnd() override;

    // Window of a handle, or nullptr when the handle names no live window.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd) { return FromHandle(hWnd); }
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }

    // Creation: registers a handle, links to the parent, sends WM_CREATE (a result of -1 fails the
    // creation and destroys the window) and then WM_SIZE.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Destroys the children first, then sends WM_DESTROY and WM_NCDESTROY, frees the handle and
    // calls PostNcDestroy (where frames and views delete themselves).
    virtual BOOL DestroyWindow();
    // Windows created on the heap for someone else (template controls) delete themselves here
    // when m_bAutoDelete is set.
    virtual void PostNcDestroy();
    BOOL m_bAutoDelete = FALSE;
    // Adopts an existing handle's window (test helper for windows built elsewhere).
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    // Takes a live handle over from the object that holds it (a class's window procedure making the
    // window object of a window created from its class): the handle, the window's place among its
    // parent's children, its children and what its creation gave it. The previous object is left
    // without a handle. FALSE when this object has a handle or the handle names no other window.
    BOOL Attach(HWND hWndNew);

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    const MSG* GetCurrentMessage() const;

    // Family.
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    CWnd* GetOwner() const { return m_pOwner ? m_pOwner : GetParent(); }
    void SetOwner(CWnd* pOwner) { m_pOwner = pOwner; }
    CWnd* GetTopLevelParent() const;
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetDlgItem(int nID) const;
    // First descendant with the id; a same-id child of a same-id child has priority.
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    int GetDlgCtrlID() const { return static_cast<int>(m_nID); }
    int SetDlgCtrlID(int nID);
    CWnd* GetWindow(UINT nCmd) const;
    CWnd* GetTopWindow() const { return GetWindow(GW_CHILD); }
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const { return GetWindow(nFlag); }
    BOOL IsChild(const CWnd* pWnd) const;
    const std::vector<CWnd*>& GetChildren() const { return m_children; }

    // State.
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsVisibleFlag() const { return (m_dwStyle & WS_VISIBLE) != 0; }
    int GetShowCmd() const { return m_nShowCmd; }
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const { return (m_dwStyle & WS_DISABLED) == 0; }
    BOOL IsIconic() const { return m_nShowCmd == SW_SHOWMINIMIZED || m_nShowCmd == SW_MINIMIZE; }
    BOOL IsZoomed() const { return m_nShowCmd == SW_SHOWMAXIMIZED; }
    DWORD GetStyle() const { return m_dwStyle; }
    DWORD GetExStyle() const { return m_dwExStyle; }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return m_strText.GetLength(); }
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;
    void SetRedraw(BOOL bRedraw = TRUE) { m_bRedraw = bRedraw; }
    BOOL GetRedraw() const { return m_bRedraw; }

    // Geometry: the window rectangle is kept in its parent's client coordinates; screen coordinates
    // add up the parents' origins. Moving to a new size sends WM_SIZE.
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void CenterWindow(CWnd* = nullptr) {}
    void BringWindowToTop() {}
    // Painting only counts requests: there is no screen.
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void UpdateWindow() {}
    BOOL RedrawWindow(LPCRECT = nullptr, void* = nullptr, UINT = 0) {
        Invalidate();
        return TRUE;
    }
    int GetInvalidateCount() const { return m_nInvalidate; }
    void DragAcceptFiles(BOOL bAccept = TRUE) {
        ModifyStyleEx(bAccept ? 0 : WS_EX_ACCEPTFILES, bAccept ? WS_EX_ACCEPTFILES : 0);
    }
    // Which scroll bars the window shows (SB_HORZ, SB_VERT or SB_BOTH); both until one is hidden.
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
    BOOL IsScrollBarShown(int nBar) const;

    // Scroll bars: state only (SB_HORZ, SB_VERT).
    int GetScrollPos(int nBar) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    BOOL SetScrollInfo(int nBar, const struct SCROLLINFO* lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, struct SCROLLINFO* lpScrollInfo, UINT nMask = 0x17) const;
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = nullptr, LPCRECT lpClipRect = nullptr) {
        (void)xAmount, (void)yAmount, (void)lpRect, (void)lpClipRect;
        Invalidate();
    }
    void EnableScrollBarCtrl(int nBar, BOOL bEnable = TRUE) { (void)nBar, (void)bEnable; }

    // The window's menu (frames): not owned.
    CMenu* GetMenu() const { return m_pMenu; }
    BOOL SetMenu(CMenu* pMenu) {
        m_pMenu = pMenu;
        return TRUE;
    }
    void DrawMenuBar() {}

    // Focus, activation and capture.
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetActiveWindow();
    static CWnd* GetActiveWindow();
    CWnd* SetCapture();
    static CWnd* GetCapture();

    // Timers are recorded; tests fire them with AfxFireTimer.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void* lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    BOOL HasTimer(UINT_PTR nIDEvent) const { return m_timers.count(nIDEvent) != 0; }

    // Data exchange with controls (dialogs and form views).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX) { (void)pDX; }
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    // A modal message box: answered from the answer queue (see afxanswer.h).
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);

    // Non-client activation (WM_NCACTIVATE): the default handling shows the caption and border as
    // active or inactive (here: the state is kept) and lets the change happen (TRUE).
    BOOL OnNcActivate(BOOL bActive);
    BOOL IsNcActive() const { return m_bNcActive; }

    // Accessibility: the window's default accessible object. Its children are the visible child
    // windows in z-order, numbered from 1; child 0 (CHILDID_SELF) is the window itself. Names are
    // window texts without their mnemonic '&'; locations are screen rectangles. The acc* entries
    // are what an accessibility client calls; they answer with the Get* defaults below.
    virtual HRESULT get_accChildCount(long* pcountChildren);
    virtual HRESULT get_accChild(const VARIANT& varChild, CWnd** ppChild);
    virtual HRESULT get_accName(const VARIANT& varChild, CString* pszName);
    virtual HRESULT accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, const VARIANT& varChild);
    virtual HRESULT accHitTest(long xLeft, long yTop, VARIANT* pvarChild);
    // S_OK with the count.
    HRESULT GetAccessibleChildCount(long* pcountChildren);
    // S_OK with the child window; S_FALSE (null) for the window itself; E_INVALIDARG for no such child.
    HRESULT GetAccessibleChild(const VARIANT& varChild, CWnd** ppChild);
    HRESULT GetAccessibleName(const VARIANT& varChild, CString* pszName);
    HRESULT GetAccessibilityLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                     const VARIANT& varChild);
    // The child under a screen point (VT_I4 child number, 0 for the window itself); VT_EMPTY and
    // S_FALSE when the point lies outside the window.
    HRESULT GetAccessibilityHitTest(long xLeft, long yTop, VARIANT* pvarChild);

    // Set to point at a flag that the destructor raises: lets a creator learn whether a
    // self-deleting window (frame, view) was deleted by a failed creation.
    bool* m_pDeletedFlag = nullptr;

protected:
    // Called after the handle exists and before WM_CREATE.
    virtual void PreSubclassWindow() {}
    friend struct AfxWindowTable;

    CWnd* m_pParent = nullptr;
    CWnd* m_pOwner = nullptr;
    std::vector<CWnd*> m_children;
    UINT m_nID = 0;
    DWORD m_dwStyle = 0;
    DWORD m_dwExStyle = 0;
    int m_nShowCmd = SW_HIDE;
    CString m_strText;
    CString m_strClassName;
    CRect m_rect;
    CFont* m_pFont = nullptr;
    BOOL m_bRedraw = TRUE;
    int m_nInvalidate = 0;
    std::map<UINT_PTR, UINT> m_timers;
    MSG m_currentMsg{};
    CMenu* m_pMenu = nullptr;
    struct ScrollState {
        int nMin = 0, nMax = 100, nPage = 0, nPos = 0;
    } m_scroll[2];
    BOOL m_bScrollBarShown[2] = {TRUE, TRUE}; // SB_HORZ, SB_VERT

private:
    // The visible children in z-order (the accessible children).
    std::vector<CWnd*> AccessibleChildren() const;
    CWnd* AccessibleTarget(const VARIANT& varChild, HRESULT& hr) const;
    BOOL m_bNcActive = FALSE;
    bool m_bInDestroy = false;
    void detachFromParent();
    void linkParent(CWnd* parent);
    void takeOver(CWnd& previous);
    BOOL createWindow(CREATESTRUCT& cs, CWnd* pParentWnd);
};

// A window that records what it receives: tests and the host use it as the main window.
// Texts are copied while the message is being handled: WM_SETMESSAGESTRING's text (lParam)
// always, and that of any message listed in m_textParams ('w' text in wParam, 'l' in lParam).
class CMessageRecorderWnd : public CWnd {
public:
    struct Received {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        CString text;
    };
    std::vector<Received> m_received;
    std::map<UINT, char> m_textParams;
    CString m_strStatus; // the last status text
    // Optional answer to each message; without one the default processing runs.
    std::function<LRESULT(UINT, WPARAM, LPARAM)> m_handler;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::vector<CString> TextsOf(UINT message) const;
    void Clear() { m_received.clear(); }
};

struct SCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
using LPSCROLLINFO = SCROLLINFO*;
#define SIF_RANGE 0x0001
#define SIF_PAGE 0x0002
#define SIF_POS 0x0004
#define SIF_TRACKPOS 0x0010
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)

#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXVSCROLL 2
#define SM_CYHSCROLL 3
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXEDGE 45
#define SM_CYEDGE 46
#define SM_CXDOUBLECLK 36
#define SM_CYDOUBLECLK 37
// Fixed values (a 1280 x 1024 screen, 17-pixel scroll bars, 1-pixel borders).
int GetSystemMetrics(int nIndex);

// ---------------------------------------------------------------- free window functions
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
inline LRESULT SendMessageA(HWND h, UINT m, WPARAM w = 0, LPARAM l = 0) {
    return SendMessage(h, m, w, l);
}
BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
inline BOOL PostMessageA(HWND h, UINT m, WPARAM w = 0, LPARAM l = 0) {
    return PostMessage(h, m, w, l);
}
BOOL IsWindow(HWND hWnd);
HWND GetParent(HWND hWnd);
HWND GetFocus();
HWND SetFocus(HWND hWnd);
BOOL IsWindowVisible(HWND hWnd);
BOOL IsWindowEnabled(HWND hWnd);
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
int GetDlgCtrlID(HWND hWnd);
HWND GetDlgItem(HWND hDlg, int nID);
BOOL DestroyWindow(HWND hWnd);

#define CHILDID_SELF 0

// RedrawWindow flags (painting only counts requests here).
#define RDW_INVALIDATE 0x0001
#define RDW_ERASE 0x0004
#define RDW_ALLCHILDREN 0x0080
#define RDW_UPDATENOW 0x0100

// Window classes: a process-wide table of registered class names (compared without regard to
// case). RegisterClassA fails (0) for a class already registered or without a name;
// UnregisterClassA fails for a class that is not registered. Nothing else is kept of a class than
// what GetClassInfoA gives back.
using ATOM = unsigned short;
// The calling thread's last error code, as the window functions leave it.
#define ERROR_CANNOT_FIND_WND_CLASS 1407L
DWORD GetLastError();
void SetLastError(DWORD dwErrCode);
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
struct HBRUSH__;
using HBRUSH = HBRUSH__*;
struct HICON__;
using HICON = HICON__*;
struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};
using WNDCLASS = WNDCLASSA;
#define CS_DBLCLKS 0x0008
#define CS_GLOBALCLASS 0x4000
ATOM RegisterClassA(const WNDCLASSA* lpWndClass);
BOOL UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance);
// TRUE with the registered class's data (its name points into the table).
BOOL GetClassInfoA(HINSTANCE hInstance, LPCSTR lpClassName, WNDCLASSA* lpWndClass);
// TRUE when the class is registered afterwards (registered now or already).
BOOL AfxRegisterClass(WNDCLASSA* lpWndClass);
// Raised when a window resource (a window class) cannot be had.
class CResourceException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
[[noreturn]] void AfxThrowResourceException();
// A window of a registered class: its messages go to the class's window procedure, which may
// attach a window object of its own to the handle at the first one (WM_CREATE), after which
// messages go to that object. Null for a class not registered (GetLastError then gives
// ERROR_CANNOT_FIND_WND_CLASS), one without a procedure, or a creation the procedure refused (-1 to
// WM_CREATE).
HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int x, int y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam);

// Registered messages: the same name gives the same number in every module of the process
// (names compare without regard to case); numbers start at 0xC000. An empty or null name gives 0.
UINT RegisterWindowMessageA(LPCSTR lpString);
inline UINT RegisterWindowMessage(LPCSTR lpString) {
    return RegisterWindowMessageA(lpString);
}

// The posted-message queue.
// Delivers queued messages in order (including those posted while delivering) until the queue is
// empty or maxMessages were delivered; messages to windows that no longer exist are dropped.
// Returns the number delivered.
int AfxPumpMessages(int maxMessages = 100000);
int AfxGetPendingMessageCount();
void AfxClearMessageQueue();
BOOL PeekMessage(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

// The application's main window (the host's).
CWnd* AfxGetMainWnd();
void AfxSetMainWnd(CWnd* pWnd);
// Number of windows alive (tests check for leaks of windows).
int AfxGetWindowCount();

// Input state that tests set: keys (GetKeyState is negative while a key is down; the low bit is
// the toggle state) and the cursor position.
short GetKeyState(int nVirtKey);
short GetAsyncKeyState(int nVirtKey);
void AfxSetKeyState(int nVirtKey, BOOL bDown, BOOL bToggled = FALSE);
void AfxResetKeyState();
// The input as a fresh process has it: every key up, the pointer at the origin, no capture.
void AfxResetInputState();
BOOL GetCursorPos(LPPOINT lpPoint);
BOOL SetCursorPos(int x, int y);
HWND SetCapture(HWND hWnd);
BOOL ReleaseCapture();
HWND GetCapture();

// Fires a recorded timer (sends WM_TIMER); FALSE when the window has no such timer.
BOOL AfxFireTimer(CWnd* pWnd, UINT_PTR nIDEvent);

// Wait cursor: a process-wide nesting count; CWaitCursor shows it for its lifetime.
void AfxBeginWaitCursor();
void AfxEndWaitCursor();
int AfxGetWaitCursorCount();
class CWaitCursor {
public:
    CWaitCursor() { AfxBeginWaitCursor(); }
    ~CWaitCursor() { AfxEndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Restore() {}
};
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR LoadCursor(HINSTANCE hInstance, LPCSTR lpCursorName);
HCURSOR GetCursor();
DWORD GetTickCount();

// System colours (fixed, deterministic values).
COLORREF GetSysColor(int nIndex);
inline void InitCommonControls() {}
