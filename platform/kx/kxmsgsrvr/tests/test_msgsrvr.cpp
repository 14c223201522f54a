#include "kxmsgsrvr/KXMsgSrvr.h"

#include "afx/afxwin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HWND Wnd(std::uintptr_t n) {
    return reinterpret_cast<HWND>(n * 16);
}

struct Delivery {
    HWND hwnd;
    UINT msg;
    WPARAM first;
    LPARAM second;
};

class MsgSrvrTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetKXMsgSrvrAvailable(TRUE);
        srv = GetKXMsgSrvr();
        ASSERT_NE(srv, nullptr);
        for (std::uintptr_t i = 1; i <= 8; ++i)
            srv->UnregisterWindow(Wnd(i));
        SetKXMsgDeliver([this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            log.push_back({h, m, w, l});
            return onDeliver ? onDeliver(h, m, w, l) : 0;
        });
    }
    void TearDown() override {
        SetKXMsgDeliver(nullptr);
        for (std::uintptr_t i = 1; i <= 8; ++i)
            srv->UnregisterWindow(Wnd(i));
        SetKXMsgSrvrAvailable(TRUE);
    }

    IKXMessageServer* srv = nullptr;
    std::vector<Delivery> log;
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> onDeliver;
};

TEST_F(MsgSrvrTest, BroadcastReachesEveryRegisteredWindowInOrderOnce) {
    EXPECT_TRUE(srv->RegisterWindow(MSG_TRANSACTION_COMMITTED, Wnd(3)));
    EXPECT_TRUE(srv->RegisterWindow(MSG_TRANSACTION_COMMITTED, Wnd(1)));
    EXPECT_TRUE(srv->RegisterWindow(MSG_TRANSACTION_COMMITTED, Wnd(3))); // kept once
    EXPECT_TRUE(srv->RegisterWindow(MSG_COLUMN_LAYOUT_CHANGED, Wnd(2)));
    EXPECT_FALSE(srv->RegisterWindow(MSG_COLUMN_LAYOUT_CHANGED, nullptr));

    int data = 42;
    EXPECT_EQ(srv->Broadcast(MSG_TRANSACTION_COMMITTED, reinterpret_cast<WPARAM>(&data), 7, 0), 2);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].hwnd, Wnd(3));
    EXPECT_EQ(log[1].hwnd, Wnd(1));
    EXPECT_EQ(log[0].msg, MSG_TRANSACTION_COMMITTED);
    EXPECT_EQ(*reinterpret_cast<int*>(log[1].first), 42);
    EXPECT_EQ(log[1].second, 7);

    log.clear();
    EXPECT_EQ(srv->Broadcast(MSG_IMPORT_CSV, 0, 0, 0), 0); // nobody registered
    EXPECT_TRUE(log.empty());
}

TEST_F(MsgSrvrTest, ReceiverMayBroadcastAgainInsideTheNotification) {
    // A grid that commits more work inside the notification of a commit: the nested broadcast reaches
    // everyone (the sender too) before the outer one moves on.
    srv->RegisterWindow(MSG_TRANSACTION_COMMITTED, Wnd(1));
    srv->RegisterWindow(MSG_TRANSACTION_COMMITTED, Wnd(2));
    int depth = 0;
    onDeliver = [&](HWND h, UINT, WPARAM w, LPARAM) -> LRESULT {
        if (h == Wnd(1) && w == 1 && depth == 0) {
            ++depth;
            srv->Broadcast(MSG_TRANSACTION_COMMITTED, 2, 0, 0);
            --depth;
        }
        return 0;
    };
    srv->Broadcast(MSG_TRANSACTION_COMMITTED, 1, 0, 0);
    std::vector<std::pair<HWND, WPARAM>> seen;
    for (auto& d : log)
        seen.emplace_back(d.hwnd, d.first);
    std::vector<std::pair<HWND, WPARAM>> expected{{Wnd(1), 1}, {Wnd(1), 2}, {Wnd(2), 2}, {Wnd(2), 1}};
    EXPECT_EQ(seen, expected);
}

TEST_F(MsgSrvrTest, ChangesDuringABroadcastAreSafe) {
    srv->RegisterWindow(MSG_INSTANCE_CHANGED, Wnd(1));
    srv->RegisterWindow(MSG_INSTANCE_CHANGED, Wnd(2));
    srv->RegisterWindow(MSG_INSTANCE_CHANGED, Wnd(3));
    onDeliver = [&](HWND h, UINT, WPARAM, LPARAM) -> LRESULT {
        if (h == Wnd(1)) {
            srv->UnregisterWindow(Wnd(2));                     // destroyed meanwhile: skipped
            srv->RegisterWindow(MSG_INSTANCE_CHANGED, Wnd(4)); // joins the next broadcast only
        }
        return 0;
    };
    EXPECT_EQ(srv->Broadcast(MSG_INSTANCE_CHANGED, 0, 0, 0), 2);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].hwnd, Wnd(3));
    EXPECT_FALSE(srv->IsRegistered(MSG_INSTANCE_CHANGED, Wnd(2)));
    EXPECT_EQ(srv->GetRegisteredCount(MSG_INSTANCE_CHANGED), 3);
    EXPECT_FALSE(srv->UnregisterWindow(MSG_INSTANCE_CHANGED, Wnd(2)));
}

TEST_F(MsgSrvrTest, TargetedSendReturnsTheAnswer) {
    onDeliver = [](HWND h, UINT m, WPARAM, LPARAM) -> LRESULT { return h == Wnd(5) && m == 0x8239 ? 9 : 0; };
    EXPECT_EQ(srv->SendTo(Wnd(5), MSG_SELECT_OBJECT, 0, 0), 9);
    EXPECT_EQ(srv->SendTo(nullptr, MSG_SELECT_OBJECT, 0, 0), 0);
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(MsgSrvrTest, SwitchedOffServerIsNull) {
    SetKXMsgSrvrAvailable(FALSE);
    EXPECT_EQ(GetKXMsgSrvr(), nullptr);
    SetKXMsgSrvrAvailable(TRUE);
    EXPECT_EQ(GetKXMsgSrvr(), srv);
}

TEST(MsgSelectObj, KeepsPathSliceActionAndKind) {
    MSSlice slice = MSCreateSlice(7, 0);
    CMsgSelectObj withSlice("@lib.top:sch/U1/A", slice, 0, 2);
    EXPECT_EQ(withSlice.GetPath(), "@lib.top:sch/U1/A");
    EXPECT_TRUE(withSlice.HasSlice());
    EXPECT_EQ(withSlice.GetSlice().nFirst, 7);
    EXPECT_EQ(withSlice.GetSlice().nSecond, 0);
    EXPECT_EQ(withSlice.GetKind(), 2);
    CMsgSelectObj noSlice("CLK", nullptr, 0, 1);
    EXPECT_FALSE(noSlice.HasSlice());
    EXPECT_EQ(noSlice.GetAction(), 0);
    CMsgSelectObj nullPath(nullptr, nullptr, 2, 2);
    EXPECT_TRUE(nullPath.GetPath().IsEmpty());
}

} // namespace

namespace {

class RecordingWnd : public CWnd {
public:
    explicit RecordingWnd(std::vector<std::string>* log, const char* name) : m_log(log), m_name(name) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM) override {
        if (message == MSG_DESIGN_SAVED)
            m_log->push_back(m_name + ":" + reinterpret_cast<const char*>(wParam));
        return 0;
    }

private:
    std::vector<std::string>* m_log;
    std::string m_name;
};

TEST(MsgSrvrWindows, BroadcastArrivesAsAWindowMessage) {
    SetKXMsgSrvrAvailable(TRUE);
    SetKXMsgDeliver(nullptr);
    std::vector<std::string> log;
    RecordingWnd a(&log, "a"), b(&log, "b");
    CRect rc(0, 0, 10, 10);
    ASSERT_TRUE(a.Create(nullptr, "a", 0, rc, nullptr, 1));
    ASSERT_TRUE(b.Create(nullptr, "b", 0, rc, nullptr, 2));
    IKXMessageServer* srv = GetKXMsgSrvr();
    srv->RegisterWindow(MSG_DESIGN_SAVED, a.m_hWnd);
    srv->RegisterWindow(MSG_DESIGN_SAVED, b.m_hWnd);
    HWND gone = b.m_hWnd;
    srv->Broadcast(MSG_DESIGN_SAVED, reinterpret_cast<WPARAM>("lib.top:sch"), 0, 0);
    b.DestroyWindow();
    // A destroyed window that did not unregister is skipped and forgotten.
    EXPECT_EQ(srv->Broadcast(MSG_DESIGN_SAVED, reinterpret_cast<WPARAM>("again"), 0, 0), 1);
    EXPECT_FALSE(srv->IsRegistered(MSG_DESIGN_SAVED, gone));
    EXPECT_EQ(log, (std::vector<std::string>{"a:lib.top:sch", "b:lib.top:sch", "a:again"}));
    srv->UnregisterWindow(a.m_hWnd);
    srv->UnregisterWindow(gone);
    a.DestroyWindow();
}

} // namespace
