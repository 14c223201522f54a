// The message server: windows register for notification numbers; a broadcast reaches every registered
// window, in registration order, as a synchronous window message.
#pragma once

#include "afx/afxtypes.h"
#include "afx/afxstr.h"
#include "kxmsgsrvr/KXMsgIds.h"

#include <functional>

class IKXMessageServer {
public:
    virtual ~IKXMessageServer() = default;

    // Adds hwnd to the receivers of msg. A window registered twice for the same number is kept once.
    // A null handle is refused (FALSE).
    virtual BOOL RegisterWindow(UINT msg, HWND hwnd) = 0;
    // Removes hwnd from the receivers of msg; FALSE when it was not registered.
    virtual BOOL UnregisterWindow(UINT msg, HWND hwnd) = 0;
    // Removes hwnd from every number (a window that is destroyed).
    virtual void UnregisterWindow(HWND hwnd) = 0;
    virtual BOOL IsRegistered(UINT msg, HWND hwnd) const = 0;
    virtual int GetRegisteredCount(UINT msg) const = 0;

    // Delivers (msg, first, second) to every window registered for msg, the sender included, and returns
    // the number of windows reached. Re-entrant: a receiver may broadcast again before this call returns.
    // The receivers are those registered when the broadcast starts; a window unregistered meanwhile is
    // skipped, and so is (and forgotten) a window that no longer exists. `reserved` is passed as 0.
    virtual int Broadcast(UINT msg, WPARAM first, LPARAM second, DWORD reserved = 0) = 0;
    // Same as Broadcast, the name some callers use for the server's send operation.
    virtual int Send(UINT msg, WPARAM first, LPARAM second, DWORD reserved = 0) = 0;
    // Delivers one message to one window, registered or not; the window's answer.
    virtual LRESULT SendTo(HWND hwnd, UINT msg, WPARAM first, LPARAM second) = 0;
};

// The process-wide server; NULL while it is switched off (callers then make no subscriptions).
IKXMessageServer* GetKXMsgSrvr();
// Switches the server on or off (the host's start-up; tests of the "no message server" roads).
void SetKXMsgSrvrAvailable(BOOL available);

// How a message reaches a window. The default hands it to the window system (SendMessage); tests without
// windows may install their own. An empty function restores the default.
using KXMsgDeliverFn = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
void SetKXMsgDeliver(KXMsgDeliverFn fn);

// A bit range of the selected object, (first, second) as the caller gives them.
struct MSSlice {
    int nFirst = 0;
    int nSecond = 0;
};
MSSlice MSCreateSlice(int first, int second);

// The select-object message: which object to select elsewhere, by hierarchical path, with an optional
// bit slice, an action and an object kind (the receivers give them meaning).
class CMsgSelectObj {
public:
    CMsgSelectObj(const char* path, const MSSlice* slice, int action, int kind);
    CMsgSelectObj(const char* path, const MSSlice& slice, int action, int kind);

    const CString& GetPath() const { return m_path; }
    BOOL HasSlice() const { return m_hasSlice; }
    const MSSlice& GetSlice() const { return m_slice; }
    int GetAction() const { return m_action; }
    int GetKind() const { return m_kind; }

private:
    CString m_path;
    BOOL m_hasSlice = FALSE;
    MSSlice m_slice;
    int m_action = 0;
    int m_kind = 0;
};
