#include "grid/KXJournalWindows.h"

#include <map>
#include <string>

namespace {

struct HandleState {
    const IKXJournalWindow* givenBy = nullptr; // the window that last gave the handle out
    const IKXJournalWindow* boundTo = nullptr; // the window the journal last bound it to
};

struct Bindings {
    std::map<std::string, HandleState> handles; // one per design and view open in the session
    const IKXJournalWindow* selected = nullptr;  // the window whose tab the journal selected last
    bool selecting = false;                      // the lines written now are a tab selection
};

Bindings& State() {
    static Bindings bindings;
    return bindings;
}

// True when `lines` hold a call on `handle` ("call H.Method(").
bool CallsHandle(const CString& lines, const std::string& handle) {
    const std::string& text = lines.str();
    const std::string call = "call " + handle + ".";
    for (size_t at = text.find(call); at != std::string::npos; at = text.find(call, at + 1))
        if (at == 0 || text[at - 1] == '\n' || text[at - 1] == ' ') return true;
    return false;
}

// The window whose lines these are when its handle is bound to another window; nullptr otherwise.
const IKXJournalWindow* UnboundWriter(const CString& lines) {
    for (const auto& [handle, state] : State().handles)
        if (state.givenBy && state.givenBy != state.boundTo && CallsHandle(lines, handle)) return state.givenBy;
    return nullptr;
}

void Select(const IKXJournalWindow* window) {
    Bindings& b = State();
    b.selecting = true;
    window->JournalSelection();
    b.selecting = false;
}

} // namespace

void KXJournalHandleGiven(const IKXJournalWindow* window, const CString& handle) {
    if (window && !handle.IsEmpty()) State().handles[handle.str()].givenBy = window;
}

void KXJournalTabSelected(const IKXJournalWindow* window, const CString& handle) {
    Bindings& b = State();
    b.selected = window;
    if (!handle.IsEmpty()) b.handles[handle.str()] = {window, window};
}

void KXJournalWindowGone(const IKXJournalWindow* window) {
    Bindings& b = State();
    for (auto& [handle, state] : b.handles) {
        if (state.givenBy == window) state.givenBy = nullptr;
        if (state.boundTo == window) state.boundTo = nullptr;
    }
    if (b.selected == window) b.selected = nullptr;
}

KXJournalLinesOfWindow::KXJournalLinesOfWindow(const CString& lines) {
    Bindings& b = State();
    if (b.selecting) return;
    const IKXJournalWindow* writer = UnboundWriter(lines);
    if (!writer) return;
    const IKXJournalWindow* before = b.selected;
    Select(writer);
    if (before != writer) m_back = before;
}

KXJournalLinesOfWindow::~KXJournalLinesOfWindow() {
    if (m_back) Select(m_back);
}
