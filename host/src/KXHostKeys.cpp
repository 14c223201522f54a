// The host's hands on the keyboard: key names as a script gives them, and keys pressed on a grid or in
// the cell it is editing, with their modifiers held down, as a keyboard presses them.
#include "KXHostKeys.h"
#include "KXHostText.h"

#include "afx/afx.h"
#include "afx/afxwin.h"
#include "grid/gxcontrol.h"
#include "grid/gxwnd.h"

#include <cctype>
#include <map>

namespace kxhost::keys {

namespace {

// The keys named by a word (in any letter case).
const std::map<std::string, UINT>& NamedKeys() {
    static const std::map<std::string, UINT> keys = {
        {"delete", VK_DELETE}, {"f2", VK_F2},         {"f4", VK_F4},         {"enter", VK_RETURN},
        {"escape", VK_ESCAPE}, {"tab", VK_TAB},       {"up", VK_UP},         {"down", VK_DOWN},
        {"left", VK_LEFT},     {"right", VK_RIGHT},   {"home", VK_HOME},     {"end", VK_END},
        {"pageup", VK_PRIOR},  {"pagedown", VK_NEXT}, {"insert", VK_INSERT}, {"space", VK_SPACE},
        {"backspace", VK_BACK}};
    return keys;
}

} // namespace

bool AddModifier(const std::string& word, KeyStroke& k) {
    const std::string w = KXHostLower(word);
    if (w == "ctrl" || w == "control")
        k.ctrl = true;
    else if (w == "shift")
        k.shift = true;
    else if (w == "alt")
        k.alt = true;
    else
        return false;
    return true;
}

// "Delete", "F4", "Ctrl+C", "Shift+Tab", "A": modifiers joined with "+", then the key.
bool ParseKey(const std::string& text, const std::string& modifiers, KeyStroke& k, std::string& error) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t plus = text.find('+', start);
        parts.push_back(text.substr(start, plus == std::string::npos ? std::string::npos : plus - start));
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    const std::string key = parts.back();
    parts.pop_back();
    for (size_t i = 0, s = 0; i <= modifiers.size(); ++i)
        if (i == modifiers.size() || modifiers[i] == ' ' || modifiers[i] == '+') {
            if (i > s) parts.push_back(modifiers.substr(s, i - s));
            s = i + 1;
        }
    for (const std::string& m : parts)
        if (!AddModifier(m, k)) {
            error = "unknown modifier \"" + m + "\" (ctrl, shift, alt)";
            return false;
        }
    if (auto it = NamedKeys().find(KXHostLower(key)); it != NamedKeys().end()) {
        k.key = it->second;
        // Space and Backspace type a character too, as a keyboard's do.
        if ((k.key == VK_SPACE || k.key == VK_BACK) && !k.ctrl && !k.alt) k.character = k.key;
        return true;
    }
    if (key.size() == 1 && std::isalnum(static_cast<unsigned char>(key[0]))) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
        k.key = static_cast<UINT>(c);
        if (!k.ctrl && !k.alt) k.character = static_cast<UINT>(k.shift ? c : std::tolower(c));
        return true;
    }
    error =
        "unknown key \"" + key +
        "\" (Delete, Insert, F2, F4, Enter, Escape, Tab, Space, Backspace, Up, Down, Left, Right, Home, End, "
        "PageUp, PageDown, a letter or a digit, with ctrl, shift or alt)";
    return false;
}

// The main window's accelerators: these keys become its edit commands before any window sees them.
UINT AcceleratorCommand(const KeyStroke& k) {
    if (!k.ctrl || k.shift || k.alt) return 0;
    switch (k.key) {
    case 'C':
        return ID_EDIT_COPY;
    case 'V':
        return ID_EDIT_PASTE;
    case 'Z':
        return ID_EDIT_UNDO;
    case 'Y':
        return ID_EDIT_REDO;
    default:
        return 0;
    }
}

// Presses and releases a key on the window with the modifiers held down meanwhile.
void PressKey(CWnd* wnd, const KeyStroke& k) {
    HeldModifiers held(k);
    HWND hwnd = wnd->GetSafeHwnd();
    wnd->SendMessage(WM_KEYDOWN, k.key, 1);
    if (k.character && CWnd::FromHandle(hwnd) == wnd) wnd->SendMessage(WM_CHAR, k.character, 1);
    if (CWnd::FromHandle(hwnd) == wnd) wnd->SendMessage(WM_KEYUP, k.key, 1);
}

// While a cell is being edited its edit box has the keyboard: keys go to the cell control (a spin cell
// steps a bit number on Up/Down); the edit box hands the keys it does not take on to the grid.
void PressKeyInCell(CGXGridWnd* grid, const KeyStroke& k) {
    CGXControl* control = grid->GetCurrentCellControl();
    CWnd* edit = control && control->IsActive() ? dynamic_cast<CWnd*>(control) : nullptr;
    if (!edit) return PressKey(grid, k);
    HeldModifiers held(k);
    HWND hwnd = grid->GetSafeHwnd();
    edit->WindowProc(WM_KEYDOWN, k.key, 1);
    if (CWnd::FromHandle(hwnd) != grid) return;
    // The key may have ended the edit (Enter, Escape): what follows goes where the keyboard is now.
    const bool editing = grid->GetCurrentCellControl() == control && control->IsActive();
    if (!editing) {
        if (k.character) grid->SendMessage(WM_CHAR, k.character, 1);
        if (CWnd::FromHandle(hwnd) == grid) grid->SendMessage(WM_KEYUP, k.key, 1);
        return;
    }
    if (k.character) edit->WindowProc(WM_CHAR, k.character, 1);
    if (CWnd::FromHandle(hwnd) == grid) edit->WindowProc(WM_KEYUP, k.key, 1);
}

void PressKey(CWnd* wnd, UINT key) {
    KeyStroke k;
    k.key = key;
    PressKey(wnd, k);
}

// A menu or accelerator command of the active window, unless its update handler disables it.
bool RunCommand(CFrameWnd* frame, UINT id) {
    CCmdUI ui;
    ui.m_nID = id;
    ui.DoUpdate(frame, FALSE);
    if (ui.m_bEnableChanged && !ui.m_bEnabled) return false;
    frame->SendMessage(0x0111 /* WM_COMMAND */, id, 0);
    return true;
}

} // namespace kxhost::keys
