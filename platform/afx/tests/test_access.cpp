// Windows as an accessibility client sees them, window-class registration and the default
// non-client activation.
#include "afx/afx.h"
#include "afx/afxwinerror.h"
#include "afx/afxdisp.h"
#include "afx/afxdlg.h"

#include <gtest/gtest.h>

namespace {

VARIANT Child(long id) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

class Accessibility : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.Create(nullptr, "Pane", WS_VISIBLE, CRect(100, 50, 500, 350), nullptr, 1));
        ASSERT_TRUE(m_label.Create("&Attach Signal:", WS_CHILD | WS_VISIBLE, CRect(2, 32, 72, 50), &m_parent));
        ASSERT_TRUE(m_hidden.Create("Hidden", WS_CHILD, CRect(0, 0, 10, 10), &m_parent, 7));
        ASSERT_TRUE(m_button.Create("Fish && &Chips", WS_CHILD | WS_VISIBLE, CRect(60, 40, 90, 60), &m_parent, 8));
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    CWnd m_parent;
    CStatic m_label;
    CStatic m_hidden;
    CButton m_button;
};

TEST_F(Accessibility, VisibleChildrenAreTheAccessibleOnesInOrder) {
    long count = -1;
    ASSERT_EQ(m_parent.get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 2);
    CWnd* child = nullptr;
    EXPECT_EQ(m_parent.get_accChild(Child(1), &child), S_OK);
    EXPECT_EQ(child, &m_label);
    EXPECT_EQ(m_parent.get_accChild(Child(2), &child), S_OK);
    EXPECT_EQ(child, &m_button);
    EXPECT_EQ(m_parent.get_accChild(Child(3), &child), E_INVALIDARG);
    EXPECT_EQ(child, nullptr);
    EXPECT_EQ(m_parent.get_accChild(Child(CHILDID_SELF), &child), S_FALSE);
    EXPECT_EQ(m_parent.get_accChild(Child(-1), &child), E_INVALIDARG);
}

TEST_F(Accessibility, NamesLeaveOutTheMnemonicMark) {
    CString name;
    ASSERT_EQ(m_parent.get_accName(Child(1), &name), S_OK);
    EXPECT_EQ(name, "Attach Signal:");
    ASSERT_EQ(m_parent.get_accName(Child(2), &name), S_OK);
    EXPECT_EQ(name, "Fish & Chips");
    ASSERT_EQ(m_parent.get_accName(Child(CHILDID_SELF), &name), S_OK);
    EXPECT_EQ(name, "Pane");
    VARIANT text{};
    text.vt = VT_BSTR;
    EXPECT_EQ(m_parent.get_accName(text, &name), E_INVALIDARG);
}

TEST_F(Accessibility, LocationsAndHitsAreInScreenCoordinates) {
    long x = 0, y = 0, cx = 0, cy = 0;
    ASSERT_EQ(m_parent.accLocation(&x, &y, &cx, &cy, Child(1)), S_OK);
    EXPECT_EQ(x, 102);
    EXPECT_EQ(y, 82);
    EXPECT_EQ(cx, 70);
    EXPECT_EQ(cy, 18);
    VARIANT hit{};
    ASSERT_EQ(m_parent.accHitTest(110, 90, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, 1);
    // Where the button lies over the label, the button is hit.
    ASSERT_EQ(m_parent.accHitTest(165, 95, &hit), S_OK);
    EXPECT_EQ(hit.lVal, 2);
    ASSERT_EQ(m_parent.accHitTest(400, 300, &hit), S_OK);
    EXPECT_EQ(hit.lVal, CHILDID_SELF);
    EXPECT_EQ(m_parent.accHitTest(10, 10, &hit), S_FALSE);
    EXPECT_EQ(hit.vt, VT_EMPTY);
}

TEST(WindowClasses, AClassIsRegisteredOnceAndCanBeRegisteredAgainAfterItWent) {
    WNDCLASSA wc{};
    wc.style = CS_GLOBALCLASS;
    wc.lpszClassName = "ProbeClass";
    EXPECT_NE(RegisterClassA(&wc), 0);
    EXPECT_EQ(RegisterClassA(&wc), 0);
    WNDCLASSA found{};
    ASSERT_TRUE(GetClassInfoA(nullptr, "PROBECLASS", &found));
    EXPECT_EQ(found.style, static_cast<UINT>(CS_GLOBALCLASS));
    EXPECT_STREQ(found.lpszClassName, "ProbeClass");
    EXPECT_TRUE(AfxRegisterClass(&wc)); // already there counts
    EXPECT_TRUE(UnregisterClassA("probeclass", nullptr));
    EXPECT_FALSE(UnregisterClassA("ProbeClass", nullptr));
    EXPECT_FALSE(GetClassInfoA(nullptr, "ProbeClass", nullptr));
    EXPECT_TRUE(AfxRegisterClass(&wc));
    EXPECT_TRUE(UnregisterClassA("ProbeClass", nullptr));
    WNDCLASSA unnamed{};
    EXPECT_EQ(RegisterClassA(&unnamed), 0);
}

// What the probe classes' procedures saw, and the window objects they attach.
std::vector<UINT> g_procMessages;
int g_attachedAlive = 0;

class AttachedProbe : public CWnd {
public:
    AttachedProbe() { ++g_attachedAlive; }
    ~AttachedProbe() override { --g_attachedAlive; }
    std::vector<UINT> m_got;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        m_got.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { delete this; }
};

LRESULT RecordingProc(HWND, UINT message, WPARAM, LPARAM) {
    g_procMessages.push_back(message);
    return 0;
}

LRESULT RefusingProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_CREATE ? -1 : 0;
}

LRESULT AttachingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    g_procMessages.push_back(message);
    auto* w = new AttachedProbe;
    if (!w->Attach(hWnd)) {
        delete w;
        return -1;
    }
    return w->SendMessage(message, wParam, lParam);
}

class ClassWindows : public ::testing::Test {
protected:
    void SetUp() override {
        g_procMessages.clear();
        ASSERT_TRUE(m_parent.Create(nullptr, "Dialog", WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 1));
    }
    void TearDown() override {
        m_parent.DestroyWindow();
        for (const char* name : {"ProbeRecording", "ProbeRefusing", "ProbeAttaching"})
            UnregisterClassA(name, nullptr);
    }
    static void Register(const char* name, WNDPROC proc) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = proc;
        wc.lpszClassName = name;
        ASSERT_NE(RegisterClassA(&wc), 0);
    }
    HWND Make(const char* name) {
        return CreateWindowExA(0, name, "", WS_CHILD, 1, 2, 30, 40, m_parent.GetSafeHwnd(),
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kId)), nullptr, nullptr);
    }
    static constexpr int kId = 77;
    CWnd m_parent;
};

TEST_F(ClassWindows, TheClassProcedureGetsTheFirstMessageAndEveryOneAfter) {
    Register("ProbeRecording", RecordingProc);
    HWND h = Make("probeRECORDING");
    ASSERT_NE(h, nullptr);
    ASSERT_FALSE(g_procMessages.empty());
    EXPECT_EQ(g_procMessages.front(), static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(GetDlgItem(m_parent.GetSafeHwnd(), kId), h);
    ::SendMessage(h, WM_USER + 5);
    EXPECT_EQ(g_procMessages.back(), static_cast<UINT>(WM_USER + 5));
    EXPECT_TRUE(DestroyWindow(h)); // the window goes with its handle (ASan sees a leak otherwise)
    EXPECT_EQ(g_procMessages.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(ClassWindows, AnObjectTheProcedureAttachesIsTheWindowFromThenOn) {
    Register("ProbeAttaching", AttachingProc);
    HWND h = Make("ProbeAttaching");
    ASSERT_NE(h, nullptr);
    auto* w = dynamic_cast<AttachedProbe*>(CWnd::FromHandle(h));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(g_procMessages.size(), 1u); // only the first message went through the procedure
    ASSERT_GE(w->m_got.size(), 2u);
    EXPECT_EQ(w->m_got[0], static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(w->m_got[1], static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(w->GetParent(), &m_parent);
    EXPECT_EQ(m_parent.GetDlgItem(kId), w);
    EXPECT_EQ(m_parent.GetChildren().size(), 1u);
    CRect r;
    w->GetWindowRect(&r);
    EXPECT_EQ(r.Width(), 30);
    m_parent.DestroyWindow(); // takes the attached child along
    EXPECT_EQ(g_attachedAlive, 0);
}

TEST_F(ClassWindows, AClassNotRegisteredOrARefusedCreationMakesNoWindow) {
    EXPECT_EQ(Make("ProbeNobody"), nullptr);
    Register("ProbeRefusing", RefusingProc);
    EXPECT_EQ(Make("ProbeRefusing"), nullptr);
    WNDCLASSA noProc{};
    noProc.lpszClassName = "ProbeRecording";
    ASSERT_NE(RegisterClassA(&noProc), 0);
    EXPECT_EQ(Make("ProbeRecording"), nullptr);
    EXPECT_TRUE(m_parent.GetChildren().empty());
}

TEST_F(ClassWindows, AClassWithoutAProcedureIsToldApartFromOneNotRegistered) {
    WNDCLASSA noProc{};
    noProc.lpszClassName = "ProbeRecording";
    ASSERT_NE(RegisterClassA(&noProc), 0);
    ::SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    EXPECT_EQ(Make("ProbeRecording"), nullptr);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_CANNOT_CREATE_WINDOW));
    EXPECT_EQ(Make("ProbeNobody"), nullptr);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
}

TEST(NonClientActivation, TheDefaultHandlingKeepsTheCaptionState) {
    CWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "w", WS_VISIBLE, CRect(0, 0, 10, 10), nullptr, 1));
    EXPECT_FALSE(wnd.IsNcActive());
    EXPECT_EQ(wnd.SendMessage(WM_NCACTIVATE, TRUE), TRUE);
    EXPECT_TRUE(wnd.IsNcActive());
    EXPECT_TRUE(wnd.OnNcActivate(FALSE));
    EXPECT_FALSE(wnd.IsNcActive());
    wnd.DestroyWindow();
}

} // namespace
