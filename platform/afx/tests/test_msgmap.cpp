#include "afx/afx.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
UINT g_msgPing = RegisterWindowMessageA("TEST_MSG_PING");
std::vector<CString> g_log;

class CBaseWnd : public CWnd {
public:
    int created = 0;
    CSize lastSize;

protected:
    void OnBaseCmd() { g_log.push_back("base:100"); }
    void OnOverridden() { g_log.push_back("base:200"); }
    int OnCreate(LPCREATESTRUCT) {
        ++created;
        return 0;
    }
    void OnSize(UINT, int cx, int cy) { lastSize = CSize(cx, cy); }
    LRESULT OnPing(WPARAM w, LPARAM) {
        g_log.push_back("base:ping");
        return static_cast<LRESULT>(w) + 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_COMMAND(100, &CBaseWnd::OnBaseCmd)
ON_COMMAND(200, &CBaseWnd::OnOverridden)
ON_REGISTERED_MESSAGE(g_msgPing, &CBaseWnd::OnPing)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
public:
    CDerivedWnd* peer = nullptr;
    int depth = 0;
    BOOL enableRange = TRUE;

protected:
    void OnOverridden() { g_log.push_back("derived:200"); }
    void OnRange(UINT id) {
        CString s;
        s.Format("range:%u", id);
        g_log.push_back(s);
    }
    void OnUpdateRange(CCmdUI* pCmdUI) { pCmdUI->Enable(enableRange); }
    void OnUpdate300(CCmdUI* pCmdUI) {
        pCmdUI->SetText("three hundred");
        pCmdUI->SetCheck(1);
    }
    LRESULT OnUser(WPARAM w, LPARAM) {
        // Re-entrant: bounce back to the peer, which bounces back to us, until depth 3.
        ++depth;
        LRESULT r = depth;
        if (w > 0 && peer) r += peer->SendMessage(WM_USER + 1, w - 1, 0);
        return r;
    }
    void OnNotifyReturn(NMHDR* pNMHDR, LRESULT* pResult) {
        g_log.push_back(pNMHDR->idFrom == 7 ? "notify:7" : "notify:?");
        *pResult = 42;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
ON_COMMAND(200, &CDerivedWnd::OnOverridden)
ON_COMMAND_RANGE(300, 305, &CDerivedWnd::OnRange)
ON_UPDATE_COMMAND_UI(300, &CDerivedWnd::OnUpdate300)
ON_UPDATE_COMMAND_UI_RANGE(301, 305, &CDerivedWnd::OnUpdateRange)
ON_MESSAGE(WM_USER + 1, &CDerivedWnd::OnUser)
ON_NOTIFY(NM_RETURN, 7, &CDerivedWnd::OnNotifyReturn)
END_MESSAGE_MAP()

class CMsgMapTest : public ::testing::Test {
protected:
    void SetUp() override { g_log.clear(); }
    void TearDown() override { EXPECT_EQ(AfxGetWindowCount(), 0); }
};
} // namespace

TEST_F(CMsgMapTest, CommandsChainToTheBaseMapAndDerivedEntriesWin) {
    CDerivedWnd w;
    ASSERT_TRUE(w.Create(nullptr, "w", WS_CHILD, CRect(0, 0, 30, 40), nullptr, 1));
    EXPECT_EQ(w.created, 1);
    EXPECT_EQ(w.lastSize, CSize(30, 40));
    EXPECT_EQ(w.SendMessage(WM_COMMAND, 100), 1);
    EXPECT_EQ(w.SendMessage(WM_COMMAND, 200), 1);
    EXPECT_EQ(w.SendMessage(WM_COMMAND, 302), 1);
    EXPECT_EQ(w.SendMessage(WM_COMMAND, 306), 0); // outside the range
    EXPECT_EQ(g_log, (std::vector<CString>{"base:100", "derived:200", "range:302"}));
    w.MoveWindow(0, 0, 50, 60);
    EXPECT_EQ(w.lastSize, CSize(50, 60));
    w.DestroyWindow();
}

TEST_F(CMsgMapTest, UpdateHandlersSetStateAndMissingHandlersDisable) {
    CDerivedWnd w;
    CCmdUI ui;
    ui.m_nID = 300;
    EXPECT_TRUE(ui.DoUpdate(&w, TRUE));
    EXPECT_TRUE(ui.m_bTextChanged);
    EXPECT_EQ(ui.m_strText, "three hundred");
    EXPECT_EQ(ui.m_nCheck, 1);
    EXPECT_FALSE(ui.m_bEnableChanged); // the handler left the enabled state alone

    CCmdUI r;
    r.m_nID = 304;
    w.enableRange = FALSE;
    EXPECT_TRUE(r.DoUpdate(&w, TRUE));
    EXPECT_FALSE(r.m_bEnabled);

    // 100 has a command handler but no update handler: it stays enabled.
    CCmdUI c;
    c.m_nID = 100;
    EXPECT_FALSE(c.DoUpdate(&w, TRUE));
    EXPECT_FALSE(c.m_bEnableChanged);
    // 999 has neither: disabled when asked to.
    CCmdUI d;
    d.m_nID = 999;
    EXPECT_FALSE(d.DoUpdate(&w, TRUE));
    EXPECT_TRUE(d.m_bEnableChanged);
    EXPECT_FALSE(d.m_bEnabled);
}

TEST_F(CMsgMapTest, RegisteredMessagesAndNotifications) {
    EXPECT_EQ(RegisterWindowMessageA("TEST_MSG_PING"), g_msgPing);
    EXPECT_EQ(RegisterWindowMessageA("test_msg_ping"), g_msgPing);
    EXPECT_NE(RegisterWindowMessageA("TEST_MSG_OTHER"), g_msgPing);
    EXPECT_GE(g_msgPing, 0xC000u);
    EXPECT_EQ(RegisterWindowMessageA(""), 0u);
    CDerivedWnd w;
    ASSERT_TRUE(w.Create(nullptr, "w", WS_CHILD, CRect(), nullptr, 1));
    EXPECT_EQ(::SendMessage(w.m_hWnd, g_msgPing, 4, 0), 5);
    NMHDR nm{nullptr, 7, NM_RETURN};
    EXPECT_EQ(w.SendMessage(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&nm)), 42);
    nm.code = NM_CLICK;
    EXPECT_EQ(w.SendMessage(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&nm)), 0);
    EXPECT_EQ(g_log, (std::vector<CString>{"base:ping", "notify:7"}));
    w.DestroyWindow();
}

TEST_F(CMsgMapTest, SendIsSynchronousAndReentrant) {
    CDerivedWnd a, b;
    ASSERT_TRUE(a.Create(nullptr, "a", WS_CHILD, CRect(), nullptr, 1));
    ASSERT_TRUE(b.Create(nullptr, "b", WS_CHILD, CRect(), nullptr, 2));
    a.peer = &b;
    b.peer = &a;
    // a(1) -> b(1) -> a(2) -> b(2): 1 + 1 + 2 + 2
    EXPECT_EQ(a.SendMessage(WM_USER + 1, 3, 0), 6);
    EXPECT_EQ(a.depth, 2);
    EXPECT_EQ(b.depth, 2);
    EXPECT_EQ(a.GetCurrentMessage()->message, 0u); // restored after the nested sends
    a.DestroyWindow();
    b.DestroyWindow();
}

TEST_F(CMsgMapTest, PostedMessagesWaitForThePumpAndDropForDeadWindows) {
    CDerivedWnd a;
    auto* b = new CDerivedWnd;
    ASSERT_TRUE(a.Create(nullptr, "a", WS_CHILD, CRect(), nullptr, 1));
    ASSERT_TRUE(b->Create(nullptr, "b", WS_CHILD, CRect(), nullptr, 2));
    EXPECT_TRUE(a.PostMessage(WM_COMMAND, 100));
    EXPECT_TRUE(b->PostMessage(WM_COMMAND, 200));
    EXPECT_TRUE(g_log.empty());
    EXPECT_EQ(AfxGetPendingMessageCount(), 2);
    b->DestroyWindow();
    delete b;
    EXPECT_EQ(AfxPumpMessages(), 1);
    EXPECT_EQ(g_log, (std::vector<CString>{"base:100"}));
    EXPECT_FALSE(::PostMessage(reinterpret_cast<HWND>(0x4), WM_COMMAND, 100, 0));
    a.DestroyWindow();
}

TEST_F(CMsgMapTest, ParentChildFamilyAndDestruction) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_OVERLAPPED, CRect(100, 100, 400, 400), nullptr, 0));
    auto* child = new CWnd;
    ASSERT_TRUE(child->Create(nullptr, "c", WS_CHILD | WS_VISIBLE, CRect(10, 10, 50, 50), &parent, 55));
    EXPECT_EQ(parent.GetDlgItem(55), child);
    EXPECT_EQ(child->GetParent(), &parent);
    EXPECT_TRUE(parent.IsChild(child));
    CRect wr;
    child->GetWindowRect(&wr);
    EXPECT_EQ(wr, CRect(110, 110, 150, 150));
    EXPECT_FALSE(child->IsWindowVisible()); // the parent is hidden
    parent.ShowWindow(SW_SHOW);
    EXPECT_TRUE(child->IsWindowVisible());
    child->SetFocus();
    EXPECT_EQ(CWnd::GetFocus(), child);
    HWND hChild = child->m_hWnd;
    parent.DestroyWindow();
    EXPECT_FALSE(IsWindow(hChild));
    EXPECT_EQ(CWnd::GetFocus(), nullptr);
    delete child;
}

TEST_F(CMsgMapTest, KeyStateAndCursorAreSettable) {
    AfxSetKeyState(VK_CONTROL, TRUE);
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
    AfxResetKeyState();
    EXPECT_EQ(GetKeyState(VK_CONTROL), 0);
    SetCursorPos(12, 34);
    POINT p;
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 12);
    {
        CWaitCursor wait;
        EXPECT_EQ(AfxGetWaitCursorCount(), 1);
    }
    EXPECT_EQ(AfxGetWaitCursorCount(), 0);
}
