// What the framework's controls share: telling the parent of a change, and copying an item's text out.
#pragma once

#include <cstring>

#include "afx/afxwin.h"

namespace afxdetail {

// Sends the parent a WM_COMMAND with the control's id and the notification code.
inline void notifyParent(CWnd* ctl, UINT code) {
    CWnd* parent = ctl->GetParent();
    if (parent && ctl->GetDlgCtrlID())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(ctl->GetDlgCtrlID(), code),
                            reinterpret_cast<LPARAM>(ctl->m_hWnd));
}

// Copies the text and its terminator into buf; with no buffer, only its length is given.
inline int copyText(const CString& s, LPTSTR buf) {
    if (!buf) return s.GetLength();
    std::memcpy(buf, s.GetString(), static_cast<size_t>(s.GetLength()) + 1);
    return s.GetLength();
}

}  // namespace afxdetail
