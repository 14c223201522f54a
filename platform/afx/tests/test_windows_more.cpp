#include "afx/afx.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<CString> g_seen;
void seen(const char* s) {
    g_seen.push_back(s);
}

// A window that records its window messages and can act on them.
class CProbeWnd : public CWnd {
public:
    BOOL blockPing = FALSE;
    BOOL destroyOnCommand = FALSE;
    CProbeWnd* postTo = nullptr;
    int posts = 0;

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        if (blockPing && message == WM_USER + 5) {
            seen("blocked");
            *pResult = 77;
            return TRUE; // the map is not consulted
        }
        return CWnd::OnWndMsg(message, wParam, lParam, pResult);
    }

protected:
    void OnSize(UINT, int cx, int cy) {
        CString s;
        s.Format("size %d %d", cx, cy);
        g_seen.push_back(s);
    }
    void OnMove(int x, int y) {
        CString s;
        s.Format("move %d %d", x, y);
        g_seen.push_back(s);
    }
    void OnSetFocus(CWnd*) { seen("setfocus"); }
    void OnKillFocus(CWnd*) { seen("killfocus"); }
    void OnShowWindow(BOOL bShow, UINT) { seen(bShow ? "show" : "hide"); }
    void OnTimer(UINT_PTR id) { g_seen.push_back(id == 9 ? "timer 9" : "timer ?"); }
    LRESULT OnPing(WPARAM, LPARAM) {
        seen("ping");
        if (postTo && posts-- > 0) postTo->PostMessage(WM_USER + 5);
        return 1;
    }
    BOOL OnCmdEx(UINT id) {
        g_seen.push_back(id == 40 ? "ex 40" : "ex other");
        return id == 40;
    }
    void OnClickRange(UINT id) {
        CString s;
        s.Format("click %u", id);
        g_seen.push_back(s);
    }
    void OnCmdSelfDestroy() {
        seen("destroying");
        if (destroyOnCommand) DestroyWindow();
    }
    void OnNotifyRange(UINT id, NMHDR*, LRESULT* r) { *r = static_cast<LRESULT>(id); }
    BOOL OnNotifyEx(UINT, NMHDR*, LRESULT* r) {
        *r = 5;
        return TRUE;
    }
    void OnDestroy() { seen("destroy"); }
    void OnKeyDown(UINT nChar, UINT nRep, UINT) {
        CString s;
        s.Format("key %u %u", nChar, nRep);
        g_seen.push_back(s);
    }
    void OnLButtonDblClk(UINT, CPoint p) {
        CString s;
        s.Format("dbl %d %d", p.x, p.y);
        g_seen.push_back(s);
    }
    void OnContextMenu(CWnd*, CPoint p) {
        CString s;
        s.Format("ctx %d %d", p.x, p.y);
        g_seen.push_back(s);
    }
    UINT OnGetDlgCode() { return DLGC_WANTALLKEYS; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
ON_WM_SIZE()
ON_WM_MOVE()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_SHOWWINDOW()
ON_WM_TIMER()
ON_WM_DESTROY()
ON_WM_KEYDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_CONTEXTMENU()
ON_WM_GETDLGCODE()
ON_MESSAGE(WM_USER + 5, &CProbeWnd::OnPing)
ON_COMMAND_EX(40, &CProbeWnd::OnCmdEx)
ON_COMMAND_EX(41, &CProbeWnd::OnCmdEx)
ON_COMMAND(42, &CProbeWnd::OnCmdSelfDestroy)
ON_CONTROL_RANGE(BN_CLICKED, 100, 110, &CProbeWnd::OnClickRange)
ON_NOTIFY_RANGE(NM_DBLCLK, 200, 210, &CProbeWnd::OnNotifyRange)
ON_NOTIFY_EX(NM_RCLICK, 300, &CProbeWnd::OnNotifyEx)
END_MESSAGE_MAP()

UINT g_msgUnset = 0; // a registered-message variable that was never registered

class CUnsetWnd : public CWnd {
protected:
    LRESULT OnUnset(WPARAM, LPARAM) { return 99; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CUnsetWnd, CWnd)
ON_REGISTERED_MESSAGE(g_msgUnset, &CUnsetWnd::OnUnset)
END_MESSAGE_MAP()

class CWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_seen.clear();
        AfxClearMessageQueue();
    }
    void TearDown() override {
        AfxClearMessageQueue();
        EXPECT_EQ(AfxGetWindowCount(), 0);
    }
};
} // namespace

TEST_F(CWindowsTest, WindowMessagesDecodeTheirParameters) {
    CProbeWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, "w", 0, CRect(0, 0, 10, 20), nullptr, 0));
    EXPECT_EQ(g_seen, (std::vector<CString>{"size 10 20"}));
    g_seen.clear();
    w.MoveWindow(5, 5, 10, 20); // moved, same size: no WM_SIZE
    w.MoveWindow(5, 5, 30, 20);
    w.SendMessage(WM_KEYDOWN, VK_F4, MAKELPARAM(2, 0));
    w.SendMessage(WM_LBUTTONDBLCLK, MK_CONTROL, MAKELPARAM(-3, 7));
    w.SendMessage(WM_CONTEXTMENU, 0, MAKELPARAM(100, 200));
    EXPECT_EQ(w.SendMessage(WM_GETDLGCODE), DLGC_WANTALLKEYS);
    EXPECT_EQ(g_seen,
              (std::vector<CString>{"move 5 5", "size 30 20", "key 115 2", "dbl -3 7", "ctx 100 200"}));
    w.DestroyWindow();
}

TEST_F(CWindowsTest, CommandVariantsRangesAndNotifications) {
    CProbeWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, "w", 0, CRect(), nullptr, 0));
    g_seen.clear();
    EXPECT_EQ(w.SendMessage(WM_COMMAND, 40), 1);
    EXPECT_EQ(w.SendMessage(WM_COMMAND, 41), 0); // the EX handler declined
    EXPECT_EQ(w.SendMessage(WM_COMMAND, MAKEWPARAM(105, BN_CLICKED)), 1);
    EXPECT_EQ(w.SendMessage(WM_COMMAND, MAKEWPARAM(105, BN_DOUBLECLICKED)), 0); // another code
    EXPECT_EQ(g_seen, (std::vector<CString>{"ex 40", "ex other", "click 105"}));
    NMHDR nm{nullptr, 204, NM_DBLCLK};
    EXPECT_EQ(w.SendMessage(WM_NOTIFY, 204, reinterpret_cast<LPARAM>(&nm)), 204);
    nm = NMHDR{nullptr, 300, NM_RCLICK};
    EXPECT_EQ(w.SendMessage(WM_NOTIFY, 300, reinterpret_cast<LPARAM>(&nm)), 5);
    EXPECT_EQ(w.SendMessage(WM_NOTIFY, 300, 0), 0); // no header: nothing
    w.DestroyWindow();
}

TEST_F(CWindowsTest, OverridingOnWndMsgBypassesTheMap) {
    CProbeWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, "w", 0, CRect(), nullptr, 0));
    g_seen.clear();
    w.blockPing = TRUE;
    EXPECT_EQ(w.SendMessage(WM_USER + 5), 77);
    w.blockPing = FALSE;
    EXPECT_EQ(w.SendMessage(WM_USER + 5), 1);
    EXPECT_EQ(g_seen, (std::vector<CString>{"blocked", "ping"}));
    // Text messages reach the default procedure.
    w.SetWindowText("caption");
    char buf[4];
    EXPECT_EQ(w.SendMessage(WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf)), 3);
    EXPECT_STREQ(buf, "cap");
    EXPECT_EQ(w.SendMessage(WM_GETTEXTLENGTH), 7);
    w.DestroyWindow();
}

TEST_F(CWindowsTest, AnUnregisteredMessageVariableMatchesNothing) {
    CUnsetWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, "w", 0, CRect(), nullptr, 0));
    EXPECT_EQ(w.SendMessage(0, 0, 0), 0);
    EXPECT_EQ(w.SendMessage(0xC000, 0, 0), 0);
    g_msgUnset = RegisterWindowMessageA("TEST_LATE_REGISTRATION");
    EXPECT_EQ(w.SendMessage(g_msgUnset, 0, 0), 99); // read at dispatch time
    w.DestroyWindow();
}

TEST_F(CWindowsTest, AHandlerMayDestroyItsOwnWindow) {
    auto* w = new CProbeWnd;
    w->m_bAutoDelete = TRUE;
    ASSERT_TRUE(w->CreateEx(0, nullptr, "w", 0, CRect(), nullptr, 0));
    w->destroyOnCommand = TRUE;
    g_seen.clear();
    HWND h = w->m_hWnd;
    EXPECT_EQ(::SendMessage(h, WM_COMMAND, 42, 0), 1);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(g_seen, (std::vector<CString>{"destroying", "destroy"}));
    EXPECT_EQ(::SendMessage(h, WM_COMMAND, 42, 0), 0); // a dead handle answers 0
}

TEST_F(CWindowsTest, MessagesPostedWhilePumpingAreDeliveredInOrder) {
    CProbeWnd a, b;
    ASSERT_TRUE(a.CreateEx(0, nullptr, "a", 0, CRect(), nullptr, 0));
    ASSERT_TRUE(b.CreateEx(0, nullptr, "b", 0, CRect(), nullptr, 0));
    g_seen.clear();
    a.postTo = &b;
    a.posts = 1;
    b.postTo = &a;
    b.posts = 1;
    a.PostMessage(WM_USER + 5);
    MSG m;
    EXPECT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.hwnd, a.m_hWnd);
    EXPECT_EQ(AfxPumpMessages(), 3); // a -> b -> a, then nothing more
    EXPECT_EQ(g_seen.size(), 3u);
    EXPECT_EQ(AfxGetPendingMessageCount(), 0);
    // A bounded pump leaves the rest queued.
    a.posts = 5;
    b.posts = 5;
    a.PostMessage(WM_USER + 5);
    EXPECT_EQ(AfxPumpMessages(2), 2);
    EXPECT_EQ(AfxGetPendingMessageCount(), 1);
    a.DestroyWindow();
    b.DestroyWindow();
}

TEST_F(CWindowsTest, FocusVisibilityEnablingAndTimers) {
    CProbeWnd a, b;
    ASSERT_TRUE(a.CreateEx(0, nullptr, "a", 0, CRect(), nullptr, 0));
    ASSERT_TRUE(b.CreateEx(0, nullptr, "b", 0, CRect(), nullptr, 0));
    g_seen.clear();
    a.SetFocus();
    b.SetFocus();
    EXPECT_EQ(CWnd::GetFocus(), &b);
    EXPECT_EQ(::GetFocus(), b.m_hWnd);
    a.ShowWindow(SW_SHOW);
    a.ShowWindow(SW_SHOW); // no change: no message
    a.ShowWindow(SW_HIDE);
    EXPECT_EQ(g_seen, (std::vector<CString>{"setfocus", "killfocus", "setfocus", "show", "hide"}));
    EXPECT_TRUE(a.IsWindowEnabled());
    EXPECT_FALSE(a.EnableWindow(FALSE));
    EXPECT_FALSE(::IsWindowEnabled(a.m_hWnd));
    EXPECT_TRUE(a.EnableWindow(TRUE)); // it was disabled
    g_seen.clear();
    EXPECT_EQ(a.SetTimer(9, 100), 9u);
    EXPECT_TRUE(AfxFireTimer(&a, 9));
    EXPECT_TRUE(a.KillTimer(9));
    EXPECT_FALSE(AfxFireTimer(&a, 9));
    EXPECT_EQ(g_seen, (std::vector<CString>{"timer 9"}));
    b.DestroyWindow();
    EXPECT_EQ(::GetFocus(), nullptr);
    a.DestroyWindow();
}

TEST_F(CWindowsTest, DescendantsAndDialogControlUpdates) {
    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, "top", 0, CRect(0, 0, 100, 100), nullptr, 0));
    auto* mid = new CWnd;
    mid->m_bAutoDelete = TRUE;
    ASSERT_TRUE(mid->Create(nullptr, "mid", WS_CHILD, CRect(), &top, AFX_IDW_PANE_FIRST));
    auto* leaf = new CButton;
    leaf->m_bAutoDelete = TRUE;
    ASSERT_TRUE(leaf->Create("leaf", WS_CHILD, CRect(), mid, AFX_IDW_PANE_FIRST));
    auto* other = new CButton;
    other->m_bAutoDelete = TRUE;
    ASSERT_TRUE(other->Create("other", WS_CHILD, CRect(), &top, 12));
    EXPECT_EQ(top.GetDescendantWindow(AFX_IDW_PANE_FIRST), leaf); // same-id child of same-id child first
    EXPECT_EQ(top.GetDescendantWindow(12), other);
    EXPECT_EQ(top.GetWindow(GW_CHILD), mid);
    EXPECT_EQ(mid->GetWindow(GW_HWNDNEXT), other);
    EXPECT_EQ(leaf->GetTopLevelParent(), &top);

    // Without any update handler a control with an id is disabled.
    CCmdTarget none;
    top.UpdateDialogControls(&none, TRUE);
    EXPECT_FALSE(other->IsWindowEnabled()); // no handler at all: disabled
    top.DestroyWindow();
}

TEST_F(CWindowsTest, ScrollStateAndSystemMetrics) {
    CWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, "", 0, CRect(), nullptr, 0));
    w.SetScrollRange(SB_VERT, 0, 50);
    EXPECT_EQ(w.SetScrollPos(SB_VERT, 80), 0);
    EXPECT_EQ(w.GetScrollPos(SB_VERT), 50); // clamped to the range
    SCROLLINFO si{};
    si.fMask = SIF_POS;
    si.nPos = 10;
    w.SetScrollInfo(SB_HORZ, &si);
    EXPECT_EQ(w.GetScrollPos(SB_HORZ), 10);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
    w.DestroyWindow();
}

// Each scroll bar is shown or hidden on its own; SB_BOTH acts on both and reads shown only when both are.
TEST_F(CWindowsTest, ScrollBarsAreShownAndHiddenOneByOne) {
    CWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, "", 0, CRect(), nullptr, 0));
    EXPECT_TRUE(w.IsScrollBarShown(SB_HORZ));
    EXPECT_TRUE(w.IsScrollBarShown(SB_VERT));
    w.ShowScrollBar(SB_HORZ, FALSE);
    EXPECT_FALSE(w.IsScrollBarShown(SB_HORZ));
    EXPECT_TRUE(w.IsScrollBarShown(SB_VERT)) << "hiding one bar leaves the other";
    EXPECT_FALSE(w.IsScrollBarShown(SB_BOTH));
    w.ShowScrollBar(SB_BOTH, FALSE);
    EXPECT_FALSE(w.IsScrollBarShown(SB_VERT));
    w.ShowScrollBar(SB_VERT);
    EXPECT_TRUE(w.IsScrollBarShown(SB_VERT));
    EXPECT_FALSE(w.IsScrollBarShown(SB_HORZ));
    w.ShowScrollBar(SB_BOTH, TRUE);
    EXPECT_TRUE(w.IsScrollBarShown(SB_BOTH));
    w.DestroyWindow();
}

namespace {
// Destroying the parent from a child's WM_DESTROY must not destroy the parent twice.
class CSuicidalChild : public CWnd {
protected:
    void OnDestroy() {
        if (GetParent()) GetParent()->DestroyWindow();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSuicidalChild, CWnd)
ON_WM_DESTROY()
END_MESSAGE_MAP()
} // namespace

TEST_F(CWindowsTest, DestroyingAParentAgainWhileItIsBeingDestroyedIsHarmless) {
    auto* parent = new CWnd;
    parent->m_bAutoDelete = TRUE;
    ASSERT_TRUE(parent->CreateEx(0, nullptr, "p", 0, CRect(), nullptr, 0));
    auto* child = new CSuicidalChild;
    child->m_bAutoDelete = TRUE;
    ASSERT_TRUE(child->Create(nullptr, "c", WS_CHILD, CRect(), parent, 1));
    HWND hp = parent->m_hWnd;
    EXPECT_TRUE(parent->DestroyWindow());
    EXPECT_FALSE(IsWindow(hp));
}
