// The title bar of the connectivity pane: a shortcut bar with one bar whose label says what the
// pane shows ("Component Connectivity Details", "Signal Connectivity Details", ...).
#pragma once

#include "grid/secctrl.h"

class CKXCCPShortcutBar : public SECShortcutBar {
    DECLARE_DYNCREATE(CKXCCPShortcutBar)
public:
    // Registers the bar's own window class (double-clicks, arrow cursor, window-colour background)
    // and creates the window as the toolkit's bar does: TRUE at once when it exists already.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) override;
    static constexpr const char* kClassName = "CKXCCPShortcutBar";

protected:
    LPCTSTR BarClassName() const override { return kClassName; }
};
