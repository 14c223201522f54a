// CCmdTarget and message maps.
//
// A message map is a static table of entries, each holding a type-checked invoker built from a
// member-function pointer. Handlers are written MFC style, by member pointer:
//
//   BEGIN_MESSAGE_MAP(CMyFrame, CFrameWnd)
//       ON_COMMAND(ID_FILE_SAVE, &CMyFrame::OnFileSave)
//       ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, &CMyFrame::OnUpdateFileSave)
//       ON_REGISTERED_MESSAGE(g_msgRefresh, &CMyFrame::OnRefresh)
//       ON_WM_SIZE()
//   END_MESSAGE_MAP()
//
// A handler whose signature does not match the entry does not compile. Lookups walk the class's
// map and then its base classes' maps.
#pragma once

#include "afx/afxcoll.h"

#include <functional>
#include <type_traits>

class CCmdTarget;
class CCmdUI;
class IDispatch;
class CCmdTargetDispatch;
struct AFX_DISPMAP;
class CWnd;
class CDC;
class CMenu;
class CScrollBar;
struct HDROP__;
using HDROP = HDROP__*;
struct tagCREATESTRUCTA;
using CREATESTRUCT = tagCREATESTRUCTA;
using LPCREATESTRUCT = CREATESTRUCT*;

struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
using LPNMHDR = NMHDR*;

// Command codes passed to OnCmdMsg.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))

namespace afx_detail {
// One dispatch: what a map entry's invoker reads and writes.
struct MsgCall {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    UINT nID = 0;
    void* pExtra = nullptr;
    LRESULT result = 0;
};
using Invoker = std::function<BOOL(CCmdTarget*, MsgCall&)>;
} // namespace afx_detail

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;           // window message, WM_COMMAND or WM_NOTIFY
    UINT nCode;              // command or notification code
    UINT nID;                // first control/command id
    UINT nLastID;            // last id (ranges)
    const UINT* pRegistered; // registered messages: where the registered number is kept
    afx_detail::Invoker pfn; // empty marks the end of the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled by OnCmdMsg when asked whether a handler exists without running it.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget = nullptr;
};

// pExtra of a WM_NOTIFY dispatched through OnCmdMsg.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Code passed to OnCmdMsg for a notification (low word the notification code, high word WM_NOTIFY).
inline int AfxNotifyCode(UINT code) {
    return static_cast<int>(MAKELONG(code & 0xFFFF, 0x004E));
}

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Routes a command (nCode CN_COMMAND, CN_UPDATE_COMMAND_UI, a control notification or a WM_NOTIFY
    // code from AfxNotifyCode) to this target's map. With pHandlerInfo it only reports whether a
    // handler exists. Frames, views and documents override it to route further.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // Automation (see afxdisp.h). The object's IDispatch exists once automation is enabled;
    // GetIDispatch(TRUE) adds a reference. Reaching zero references calls OnFinalRelease, which
    // does nothing by default: frames, views and documents are owned by the framework.
    void EnableAutomation();
    BOOL IsAutomationEnabled() const { return m_bAutomation; }
    IDispatch* GetIDispatch(BOOL bAddRef);
    static CCmdTarget* FromIDispatch(IDispatch* pDispatch);
    ULONG ExternalAddRef() { return ++m_dwRef; }
    ULONG ExternalRelease();
    virtual void OnFinalRelease() {}
    // Dispatch id of a method (names compare without case), or DISPID_UNKNOWN (-1).
    long GetDispIdOfName(LPCSTR lpszName) const;
    DWORD m_dwRef = 1;

    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor() {}

    // Finds the entry for a window message in this object's map chain, or nullptr.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // Runs the first entry matching (message, code, id) along the map chain; FALSE when none does.
    BOOL DispatchFromMap(UINT message, UINT nCode, UINT nID, afx_detail::MsgCall& call,
                         AFX_CMDHANDLERINFO* info);

    static const AFX_DISPMAP* GetThisDispatchMap();
    virtual const AFX_DISPMAP* GetDispatchMap() const;
    friend class CCmdTargetDispatch;

    BOOL m_bAutomation = FALSE;
    CCmdTargetDispatch* m_pDispatch = nullptr; // owned
};

// CCmdUI: the state an update handler sets for a menu item, button or other command source.
// Without a menu it simply records the calls, so that tests and the host can read them.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CMenu* m_pMenu = nullptr;    // the menu holding the item, if any
    CMenu* m_pSubMenu = nullptr; // the sub-menu the item opens, if any
    CWnd* m_pOther = nullptr;    // a window (button, status bar) standing for the item, if any
    UINT m_nIndexMax = 0;

    // Recorded state.
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bEnabled = TRUE;
    BOOL m_bCheckChanged = FALSE;
    int m_nCheck = 0;
    BOOL m_bTextChanged = FALSE;
    CString m_strText;
    BOOL m_bContinueRouting = FALSE;

    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE) { SetCheck(bOn ? 1 : 0); }
    virtual void SetText(LPCTSTR lpszText);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget to update this item; when nobody handles it and bDisableIfNoHndler, disables it.
    // Returns TRUE when a handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// ---------------------------------------------------------------- map macros
#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const AFX_MSGMAP* GetThisMessageMap();                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                                      \
        return GetThisMessageMap();                                                                          \
    }                                                                                                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                                        \
        typedef theClass ThisClass;                                                                          \
        typedef baseClass TheBaseClass;                                                                      \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                    \
    AFX_MSGMAP_ENTRY {                                                                                       \
        0, 0, 0, 0, nullptr, nullptr                                                                         \
    }                                                                                                        \
    }                                                                                                        \
    ;                                                                                                        \
    static_assert(sizeof(ThisClass) > 0);                                                                    \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};            \
    return &messageMap;                                                                                      \
    }

namespace afx_detail {
template <class T, class F>
AFX_MSGMAP_ENTRY Entry(UINT msg, UINT code, UINT id, UINT last, const UINT* reg, F&& invoke) {
    return AFX_MSGMAP_ENTRY{msg,
                            code,
                            id,
                            last,
                            reg,
                            [f = std::forward<F>(invoke)](CCmdTarget* p, MsgCall& c) -> BOOL {
                                return f(static_cast<T*>(p), c); }};
}

template <class T> AFX_MSGMAP_ENTRY Command(UINT code, UINT id, void (T::*fn)()) {
    return Entry<T>(0x0111, code, id, id, nullptr, [fn](T* p, MsgCall&) -> BOOL {
        (p->*fn)();
        return TRUE;
    });
}
template <class T> AFX_MSGMAP_ENTRY CommandEx(UINT id, UINT last, BOOL (T::*fn)(UINT)) {
    return Entry<T>(0x0111, CN_COMMAND, id, last, nullptr,
                    [fn](T* p, MsgCall& c) -> BOOL { return (p->*fn)(c.nID); });
}
template <class T> AFX_MSGMAP_ENTRY CommandRange(UINT code, UINT id, UINT last, void (T::*fn)(UINT)) {
    return Entry<T>(0x0111, code, id, last, nullptr, [fn](T* p, MsgCall& c) -> BOOL {
        (p->*fn)(c.nID);
        return TRUE;
    });
}
template <class T> AFX_MSGMAP_ENTRY UpdateUI(UINT id, UINT last, void (T::*fn)(CCmdUI*)) {
    return Entry<T>(0x0111, CN_UPDATE_COMMAND_UI, id, last, nullptr, [fn](T* p, MsgCall& c) -> BOOL {
        (p->*fn)(static_cast<CCmdUI*>(c.pExtra));
        return TRUE;
    });
}
template <class T> AFX_MSGMAP_ENTRY Notify(UINT code, UINT id, UINT last, void (T::*fn)(NMHDR*, LRESULT*)) {
    return Entry<T>(0x004E, code, id, last, nullptr, [fn](T* p, MsgCall& c) -> BOOL {
        auto* n = static_cast<AFX_NOTIFY*>(c.pExtra);
        (p->*fn)(n->pNMHDR, n->pResult);
        return TRUE;
    });
}
template <class T>
AFX_MSGMAP_ENTRY NotifyRange(UINT code, UINT id, UINT last, void (T::*fn)(UINT, NMHDR*, LRESULT*)) {
    return Entry<T>(0x004E, code, id, last, nullptr, [fn](T* p, MsgCall& c) -> BOOL {
        auto* n = static_cast<AFX_NOTIFY*>(c.pExtra);
        (p->*fn)(c.nID, n->pNMHDR, n->pResult);
        return TRUE;
    });
}
template <class T>
AFX_MSGMAP_ENTRY NotifyEx(UINT code, UINT id, UINT last, BOOL (T::*fn)(UINT, NMHDR*, LRESULT*)) {
    return Entry<T>(0x004E, code, id, last, nullptr, [fn](T* p, MsgCall& c) -> BOOL {
        auto* n = static_cast<AFX_NOTIFY*>(c.pExtra);
        return (p->*fn)(c.nID, n->pNMHDR, n->pResult);
    });
}
template <class T> AFX_MSGMAP_ENTRY Message(UINT msg, const UINT* reg, LRESULT (T::*fn)(WPARAM, LPARAM)) {
    return Entry<T>(msg, 0, 0, 0, reg, [fn](T* p, MsgCall& c) -> BOOL {
        c.result = (p->*fn)(c.wParam, c.lParam);
        return TRUE;
    });
}
// A window message with its own parameter decoding; Fn is the exact handler type.
template <class T, class Fn, class Decode> AFX_MSGMAP_ENTRY WmEntry(UINT msg, Fn fn, Decode decode) {
    return Entry<T>(msg, 0, 0, 0, nullptr, [fn, decode](T* p, MsgCall& c) -> BOOL {
        c.result = decode(p, fn, c.wParam, c.lParam);
        return TRUE;
    });
}
} // namespace afx_detail

#define ON_COMMAND(id, memberFxn) afx_detail::Command<ThisClass>(CN_COMMAND, id, memberFxn),
#define ON_COMMAND_EX(id, memberFxn) afx_detail::CommandEx<ThisClass>(id, id, memberFxn),
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                              \
    afx_detail::CommandRange<ThisClass>(CN_COMMAND, id, idLast, memberFxn),
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) afx_detail::CommandEx<ThisClass>(id, idLast, memberFxn),
#define ON_UPDATE_COMMAND_UI(id, memberFxn) afx_detail::UpdateUI<ThisClass>(id, id, memberFxn),
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                                    \
    afx_detail::UpdateUI<ThisClass>(id, idLast, memberFxn),
#define ON_CONTROL(code, id, memberFxn) afx_detail::Command<ThisClass>(code, id, memberFxn),
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn)                                                        \
    afx_detail::CommandRange<ThisClass>(code, id, idLast, memberFxn),
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn) afx_detail::Notify<ThisClass>(code, id, id, memberFxn),
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn)                                                         \
    afx_detail::NotifyRange<ThisClass>(code, id, idLast, memberFxn),
#define ON_NOTIFY_EX(code, id, memberFxn) afx_detail::NotifyEx<ThisClass>(code, id, id, memberFxn),
#define ON_MESSAGE(message, memberFxn) afx_detail::Message<ThisClass>(message, nullptr, memberFxn),
// nMessageVariable is a UINT holding the number from RegisterWindowMessageA; it is read at dispatch.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                   \
    afx_detail::Message<ThisClass>(0xC000, &(nMessageVariable), memberFxn),

// Window-message entries: each names the handler MFC gives it (OnCreate, OnSize, ...).
#define AFX_WM_(msg, fn, Sig, ...)                                                                           \
    afx_detail::WmEntry<ThisClass>(                                                                          \
        msg, static_cast<Sig>(&ThisClass::fn),                                                               \
        [](ThisClass* p, std::type_identity_t<Sig> f, WPARAM wParam, LPARAM lParam) -> LRESULT {             \
            (void)wParam, (void)lParam;                                                                      \
            __VA_ARGS__                                                                                      \
        }),
#define ON_WM_CREATE()                                                                                       \
    AFX_WM_(0x0001, OnCreate, int (ThisClass::*)(LPCREATESTRUCT),                                            \
            return (p->*f)(reinterpret_cast<LPCREATESTRUCT>(lParam));)
#define ON_WM_DESTROY() AFX_WM_(0x0002, OnDestroy, void (ThisClass::*)(), (p->*f)(); return 0;)
#define ON_WM_NCDESTROY() AFX_WM_(0x0082, OnNcDestroy, void (ThisClass::*)(), (p->*f)(); return 0;)
#define ON_WM_CLOSE() AFX_WM_(0x0010, OnClose, void (ThisClass::*)(), (p->*f)(); return 0;)
#define ON_WM_SIZE()                                                                                         \
    AFX_WM_(0x0005, OnSize, void (ThisClass::*)(UINT, int, int),                                             \
            (p->*f)(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),                           \
                    static_cast<short>(HIWORD(lParam)));                                                     \
            return 0;)
#define ON_WM_MOVE()                                                                                         \
    AFX_WM_(0x0003, OnMove, void (ThisClass::*)(int, int),                                                   \
            (p->*f)(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));                 \
            return 0;)
#define ON_WM_PAINT() AFX_WM_(0x000F, OnPaint, void (ThisClass::*)(), (p->*f)(); return 0;)
#define ON_WM_ERASEBKGND()                                                                                   \
    AFX_WM_(0x0014, OnEraseBkgnd, BOOL (ThisClass::*)(CDC*), return (p->*f)(reinterpret_cast<CDC*>(wParam));)
#define ON_WM_SETFOCUS()                                                                                     \
    AFX_WM_(0x0007, OnSetFocus, void (ThisClass::*)(CWnd*),                                                  \
            (p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));                                       \
            return 0;)
#define ON_WM_KILLFOCUS()                                                                                    \
    AFX_WM_(0x0008, OnKillFocus, void (ThisClass::*)(CWnd*),                                                 \
            (p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));                                       \
            return 0;)
#define ON_WM_SHOWWINDOW()                                                                                   \
    AFX_WM_(0x0018, OnShowWindow, void (ThisClass::*)(BOOL, UINT),                                           \
            (p->*f)(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));                                   \
            return 0;)
#define ON_WM_ACTIVATE()                                                                                     \
    AFX_WM_(0x0006, OnActivate, void (ThisClass::*)(UINT, CWnd*, BOOL),                                      \
            (p->*f)(LOWORD(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), HIWORD(wParam));       \
            return 0;)
#define ON_WM_NCACTIVATE()                                                                                   \
    AFX_WM_(0x0086, OnNcActivate, BOOL (ThisClass::*)(BOOL), return (p->*f)(static_cast<BOOL>(wParam));)
#define ON_WM_MDIACTIVATE()                                                                                  \
    AFX_WM_(0x0222, OnMDIActivate, void (ThisClass::*)(BOOL, CWnd*, CWnd*),                                  \
            (p->*f)(reinterpret_cast<HWND>(lParam) == p->GetSafeHwnd(),                                      \
                    CWnd::FromHandle(reinterpret_cast<HWND>(lParam)),                                        \
                    CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));                                       \
            return 0;)
#define ON_WM_TIMER()                                                                                        \
    AFX_WM_(0x0113, OnTimer, void (ThisClass::*)(UINT_PTR), (p->*f)(static_cast<UINT_PTR>(wParam)); return 0;)
#define ON_WM_KEYDOWN()                                                                                      \
    AFX_WM_(0x0100, OnKeyDown, void (ThisClass::*)(UINT, UINT, UINT),                                        \
            (p->*f)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));                              \
            return 0;)
#define ON_WM_KEYUP()                                                                                        \
    AFX_WM_(0x0101, OnKeyUp, void (ThisClass::*)(UINT, UINT, UINT),                                          \
            (p->*f)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));                              \
            return 0;)
#define ON_WM_CHAR()                                                                                         \
    AFX_WM_(0x0102, OnChar, void (ThisClass::*)(UINT, UINT, UINT),                                           \
            (p->*f)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));                              \
            return 0;)
#define ON_WM_SYSKEYDOWN()                                                                                   \
    AFX_WM_(0x0104, OnSysKeyDown, void (ThisClass::*)(UINT, UINT, UINT),                                     \
            (p->*f)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));                              \
            return 0;)
#define ON_WM_SYSKEYUP()                                                                                     \
    AFX_WM_(0x0105, OnSysKeyUp, void (ThisClass::*)(UINT, UINT, UINT),                                       \
            (p->*f)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));                              \
            return 0;)
#define ON_WM_GETDLGCODE()                                                                                   \
    AFX_WM_(0x0087, OnGetDlgCode, UINT (ThisClass::*)(), return static_cast<LRESULT>((p->*f)());)
#define AFX_WM_MOUSE_(msg, fn)                                                                               \
    AFX_WM_(msg, fn, void (ThisClass::*)(UINT, CPoint), (p->*f)(static_cast<UINT>(wParam), CPoint(lParam));  \
            return 0;)
#define ON_WM_MOUSEMOVE() AFX_WM_MOUSE_(0x0200, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_WM_MOUSE_(0x0201, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_MOUSE_(0x0202, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM_MOUSE_(0x0203, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM_MOUSE_(0x0204, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM_MOUSE_(0x0205, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_WM_MOUSE_(0x0206, OnRButtonDblClk)
#define ON_WM_CONTEXTMENU()                                                                                  \
    AFX_WM_(0x007B, OnContextMenu, void (ThisClass::*)(CWnd*, CPoint),                                       \
            (p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), CPoint(lParam));                       \
            return 0;)
#define ON_WM_SETCURSOR()                                                                                    \
    AFX_WM_(                                                                                                 \
        0x0020, OnSetCursor, BOOL (ThisClass::*)(CWnd*, UINT, UINT),                                         \
        return (p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));)
#define ON_WM_VSCROLL()                                                                                      \
    AFX_WM_(0x0115, OnVScroll, void (ThisClass::*)(UINT, UINT, CScrollBar*),                                 \
            (p->*f)(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<CScrollBar*>(lParam));                  \
            return 0;)
#define ON_WM_HSCROLL()                                                                                      \
    AFX_WM_(0x0114, OnHScroll, void (ThisClass::*)(UINT, UINT, CScrollBar*),                                 \
            (p->*f)(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<CScrollBar*>(lParam));                  \
            return 0;)
#define ON_WM_ENABLE()                                                                                       \
    AFX_WM_(0x000A, OnEnable, void (ThisClass::*)(BOOL), (p->*f)(static_cast<BOOL>(wParam)); return 0;)
#define ON_WM_MOUSEACTIVATE()                                                                                \
    AFX_WM_(                                                                                                 \
        0x0021, OnMouseActivate, int (ThisClass::*)(CWnd*, UINT, UINT),                                      \
        return (p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));)
#define ON_WM_MOUSEWHEEL()                                                                                   \
    AFX_WM_(0x020A, OnMouseWheel, BOOL (ThisClass::*)(UINT, short, CPoint),                                  \
            return (p->*f)(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), CPoint(lParam));)
#define ON_WM_INITMENUPOPUP()                                                                                \
    AFX_WM_(0x0117, OnInitMenuPopup, void (ThisClass::*)(CMenu*, UINT, BOOL),                                \
            (p->*f)(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam),                      \
                    static_cast<BOOL>(HIWORD(lParam)));                                                      \
            return 0;)
#define ON_WM_DROPFILES()                                                                                    \
    AFX_WM_(0x0233, OnDropFiles, void (ThisClass::*)(HDROP), (p->*f)(reinterpret_cast<HDROP>(wParam));       \
            return 0;)
