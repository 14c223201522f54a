#include "KXHostMainWnd.h"

#include "KXHostCore.h"
#include "KXHostPeerTools.h"

#include "afx/afxanswer.h"
#include "kxcommon/TclArgs.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/context.h"

#include <algorithm>

namespace {
constexpr UINT kSetMessageString = 0x0362;
}

CKXHostMainWnd::CKXHostMainWnd(CKXHostCore& core) : m_core(core) {
    m_msgModelErrorStatus = RegisterWindowMessageA("MSG_GETMODELERROR_STATUS");
    m_msgDockWndStatus = RegisterWindowMessageA("MSG_GETDOCKWND_STATUS");
    m_msgShowDockWnd = RegisterWindowMessageA("MSG_SHOW_DOCKWINDOW");
}

BOOL CKXHostMainWnd::CreateMain() {
    CRect rect(0, 0, 1280, 1024);
    return Create(nullptr, "kxhost", WS_VISIBLE, rect, nullptr, nullptr);
}

std::vector<std::string> CKXHostMainWnd::TakePublished() {
    std::vector<std::string> lines;
    lines.swap(m_published);
    return lines;
}

LRESULT CKXHostMainWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A text asks the host to run a command; an argument list echoes what the editor has already
    // done (a close, a tab switch, an attach, a paste): it is recorded, never run again. The host's
    // own part of those echoes (its tabs follow the editor's windows; it has no views of its own to
    // cross-select) needs no action here.
    if (message == MSG_HOST_SCRIPT_TEXT) {
        const char* text = reinterpret_cast<const char*>(wParam);
        if (!text) return 0;
        return m_core.RunRequest(text);
    }
    if (message == MSG_HOST_SCRIPT_ARGS) {
        const auto* list = reinterpret_cast<const CTclArgsList*>(wParam);
        if (!list || list->GetTotalArgCount() == 0) return 0;
        m_core.RecordEcho(list->ToTclCommandLine().str());
        return 1;
    }
    if (message == MSG_HOST_MESSAGE_TEXT) {
        const char* text = reinterpret_cast<const char*>(wParam);
        m_core.Print(std::string("host message: ") + (text ? text : ""));
        return 0;
    }
    if (message == kSetMessageString) {
        const char* text = reinterpret_cast<const char*>(lParam);
        if (text && *text) m_core.Print(std::string("status: ") + text);
        return 0;
    }
    if (message == MSG_HOST_ASK_SAVE) {
        // Yes: go and save first; No: go without saving; Cancel or no answer: stay.
        const char* view = wParam == 0 ? "physical" : "logical";
        std::string question = std::string("Switch to the ") + view + " view; save the design first?";
        CAfxAnswerQueue& queue = AfxGetAnswerQueue();
        int answer = queue.AskQuestion("MSG_HOST_ASK_SAVE", question.c_str(), MB_YESNOCANCEL);
        // Nobody answered (and no journal is replayed): the window stays as it is.
        if (!queue.IsReplay() && (queue.GetLog().empty() || !queue.GetLog().back().bScripted)) return 0;
        if (answer == IDYES) return MAKELONG(1, 1);
        if (answer == IDNO) return MAKELONG(0, 1);
        return 0;
    }
    if (message == m_msgModelErrorStatus) return m_nModelErrorAnswer;
    const std::vector<UINT>& published = KXPublishedMessages();
    if (std::find(published.begin(), published.end(), message) != published.end()) {
        m_published.push_back(KXPublishedLine(message, wParam, lParam));
        return 0;
    }
    // A docked window (property editor, associated-component viewer) is shown once the editor asked
    // for it, and stays shown.
    if (message == m_msgShowDockWnd) {
        if (const char* which = reinterpret_cast<const char*>(wParam)) m_shownDocks.insert(which);
        return 1;
    }
    if (message == m_msgDockWndStatus) {
        const char* which = reinterpret_cast<const char*>(wParam);
        return which && m_shownDocks.count(which) ? 1 : 0;
    }
    if (message == MSG_EDIT_PIN) {
        // Going to the pin in the other view is the host's: this one has no view to go to, and says
        // where the editor asked to go.
        const auto* bit = reinterpret_cast<const CInstTermBitContext*>(wParam);
        m_core.Print("edit pin: " + (bit ? bit->spath().str() : std::string()));
        return 1;
    }
    if (message == MSG_OPEN_DESIGN) {
        const char* name = reinterpret_cast<const char*>(lParam);
        if (m_onOpenDesign && name) m_onOpenDesign(static_cast<int>(wParam), name);
        return 0;
    }
    return CMDIFrameWnd::WindowProc(message, wParam, lParam);
}
