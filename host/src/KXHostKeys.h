// The host's hands on the keyboard: a key stroke parsed from its script name ("Ctrl+C", "Shift+Tab",
// "Space"), pressed on a grid or in the cell it is editing, and the main window's accelerators.
#pragma once

#include "afx/afxtypes.h"
#include "afx/afxwin.h"

#include <string>

class CGXGridWnd;

namespace kxhost::keys {

struct KeyStroke {
    UINT key = 0;
    UINT character = 0; // sent as WM_CHAR too (a typed character)
    bool ctrl = false, shift = false, alt = false;
};

// A modifier word (ctrl, control, shift, alt, in any case) added to the stroke; false for another word.
bool AddModifier(const std::string& word, KeyStroke& k);
// "Delete", "F4", "Ctrl+C", "Shift+Tab", "A": modifiers joined with "+", then the key; `modifiers` adds more.
bool ParseKey(const std::string& text, const std::string& modifiers, KeyStroke& k, std::string& error);
// The main window's accelerator command of the stroke; 0 for none.
UINT AcceleratorCommand(const KeyStroke& k);

// The modifiers of a key stroke held down while it lasts.
class HeldModifiers {
public:
    explicit HeldModifiers(const KeyStroke& k)
        : m_ctrl(GetKeyState(VK_CONTROL)), m_shift(GetKeyState(VK_SHIFT)), m_alt(GetKeyState(VK_MENU)) {
        AfxSetKeyState(VK_CONTROL, k.ctrl);
        AfxSetKeyState(VK_SHIFT, k.shift);
        AfxSetKeyState(VK_MENU, k.alt);
    }
    ~HeldModifiers() {
        AfxSetKeyState(VK_CONTROL, m_ctrl < 0, (m_ctrl & 1) != 0);
        AfxSetKeyState(VK_SHIFT, m_shift < 0, (m_shift & 1) != 0);
        AfxSetKeyState(VK_MENU, m_alt < 0, (m_alt & 1) != 0);
    }
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;

private:
    short m_ctrl, m_shift, m_alt;
};

// Presses and releases a key on the window with the modifiers held down meanwhile.
void PressKey(CWnd* wnd, const KeyStroke& k);
void PressKey(CWnd* wnd, UINT key);
// A key pressed while the grid may be editing a cell: the cell control has the keyboard then.
void PressKeyInCell(CGXGridWnd* grid, const KeyStroke& k);
// A menu or accelerator command of the active window, unless its update handler disables it.
bool RunCommand(CFrameWnd* frame, UINT id);

} // namespace kxhost::keys
