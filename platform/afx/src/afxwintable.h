// The process-wide window state the window functions share.
#pragma once

#include "afx/afxwin.h"

#include <deque>
#include <map>
#include <string>
#include <unordered_map>

// The process-wide window state. One instance lives in this shared library, so every module
// that links it sees the same table, focus, queue and registered messages.
struct AfxWindowTable {
    std::unordered_map<HWND, CWnd*> windows;
    UINT_PTR nextHandle = 0x10000;
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    CWnd* mainWnd = nullptr;
    std::deque<MSG> queue;
    std::map<std::string, UINT> registered; // upper-cased name -> number
    UINT nextRegistered = 0xC000;
    std::map<int, std::pair<bool, bool>> keys; // vk -> (down, toggled)
    POINT cursor{0, 0};
    int waitCursor = 0;
    HCURSOR cursorHandle = nullptr;

    // Never destroyed: windows with static storage may outlive any other static.
    static AfxWindowTable& get();
    HWND allocate(CWnd* w) {
        HWND h = reinterpret_cast<HWND>(nextHandle);
        nextHandle += 4;
        windows[h] = w;
        return h;
    }
    void release(HWND h) {
        windows.erase(h);
        if (focus == h) focus = nullptr;
        if (active == h) active = nullptr;
        if (capture == h) capture = nullptr;
    }
};

namespace afxdetail {
inline AfxWindowTable& T() { return AfxWindowTable::get(); }
}  // namespace afxdetail
