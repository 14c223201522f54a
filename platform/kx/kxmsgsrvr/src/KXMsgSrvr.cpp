#include "kxmsgsrvr/KXMsgSrvr.h"

#include "afx/afxwin.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {

LRESULT DeliverToWindowSystem(HWND hwnd, UINT msg, WPARAM first, LPARAM second) {
    return ::SendMessage(hwnd, msg, first, second);
}

class CKXMessageServer final : public IKXMessageServer {
public:
    BOOL RegisterWindow(UINT msg, HWND hwnd) override {
        if (!hwnd) return FALSE;
        auto& list = m_receivers[msg];
        if (std::find(list.begin(), list.end(), hwnd) == list.end()) list.push_back(hwnd);
        return TRUE;
    }

    BOOL UnregisterWindow(UINT msg, HWND hwnd) override {
        auto it = m_receivers.find(msg);
        if (it == m_receivers.end()) return FALSE;
        auto pos = std::find(it->second.begin(), it->second.end(), hwnd);
        if (pos == it->second.end()) return FALSE;
        it->second.erase(pos);
        return TRUE;
    }

    void UnregisterWindow(HWND hwnd) override {
        for (auto& [msg, list] : m_receivers)
            std::erase(list, hwnd);
    }

    BOOL IsRegistered(UINT msg, HWND hwnd) const override {
        auto it = m_receivers.find(msg);
        return it != m_receivers.end() &&
               std::find(it->second.begin(), it->second.end(), hwnd) != it->second.end();
    }

    int GetRegisteredCount(UINT msg) const override {
        auto it = m_receivers.find(msg);
        return it == m_receivers.end() ? 0 : static_cast<int>(it->second.size());
    }

    int Broadcast(UINT msg, WPARAM first, LPARAM second, DWORD) override {
        auto it = m_receivers.find(msg);
        if (it == m_receivers.end()) return 0;
        // A copy: receivers may register, unregister or broadcast while we deliver.
        const std::vector<HWND> receivers = it->second;
        int reached = 0;
        for (HWND hwnd : receivers) {
            if (!IsRegistered(msg, hwnd)) continue;
            if (!m_deliver && !::IsWindow(hwnd)) {
                // A window destroyed without unregistering: forget it.
                UnregisterWindow(hwnd);
                continue;
            }
            Deliver(hwnd, msg, first, second);
            ++reached;
        }
        return reached;
    }

    int Send(UINT msg, WPARAM first, LPARAM second, DWORD reserved) override {
        return Broadcast(msg, first, second, reserved);
    }

    LRESULT SendTo(HWND hwnd, UINT msg, WPARAM first, LPARAM second) override {
        if (!hwnd) return 0;
        return Deliver(hwnd, msg, first, second);
    }

    void SetDeliver(KXMsgDeliverFn fn) { m_deliver = std::move(fn); }

private:
    LRESULT Deliver(HWND hwnd, UINT msg, WPARAM first, LPARAM second) {
        // Keep the function alive even if a receiver replaces it during the call.
        KXMsgDeliverFn fn = m_deliver;
        return fn ? fn(hwnd, msg, first, second) : DeliverToWindowSystem(hwnd, msg, first, second);
    }

    std::map<UINT, std::vector<HWND>> m_receivers;
    KXMsgDeliverFn m_deliver;
};

CKXMessageServer& Server() {
    // Never destroyed: windows may unregister from destructors that run during the process's exit.
    static CKXMessageServer* server = new CKXMessageServer;
    return *server;
}

bool g_available = true;

} // namespace

IKXMessageServer* GetKXMsgSrvr() {
    return g_available ? &Server() : nullptr;
}

void SetKXMsgSrvrAvailable(BOOL available) {
    g_available = available != FALSE;
}

void SetKXMsgDeliver(KXMsgDeliverFn fn) {
    Server().SetDeliver(std::move(fn));
}

MSSlice MSCreateSlice(int first, int second) {
    return MSSlice{first, second};
}

CMsgSelectObj::CMsgSelectObj(const char* path, const MSSlice* slice, int action, int kind)
    : m_path(path), m_hasSlice(slice != nullptr), m_action(action), m_kind(kind) {
    if (slice) m_slice = *slice;
}

CMsgSelectObj::CMsgSelectObj(const char* path, const MSSlice& slice, int action, int kind)
    : CMsgSelectObj(path, &slice, action, kind) {}
