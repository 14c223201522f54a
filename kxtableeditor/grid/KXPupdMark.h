// The pull-up/pull-down mark of a net bit: which of the registered PUPD cell
// controls shows the pull components on the bit itself and on its aliases, and
// the tool tip that names it. A local pull-up hides an inherited one, and a
// local pull-down an inherited one.
#pragma once

#include "grid/KXGridIds.h"

inline UINT KXPupdControl(bool localUp, bool localDown, bool aliasUp, bool aliasDown) {
    if (localUp && localDown) return IDS_CTRL_PUPD_LOCAL_PUPD;
    if (localUp) return aliasDown ? IDS_CTRL_PUPD_LOCAL_PULLUP_ALIAS_PULLDOWN : IDS_CTRL_PUPD_LOCAL_PULLUP;
    if (localDown) return aliasUp ? IDS_CTRL_PUPD_LOCAL_PULLDOWN_ALIAS_PULLUP : IDS_CTRL_PUPD_LOCAL_PULLDOWN;
    if (aliasUp && aliasDown) return IDS_CTRL_PUPD_ALIAS_PUPD;
    if (aliasUp) return IDS_CTRL_PUPD_ALIAS_PULLUP;
    if (aliasDown) return IDS_CTRL_PUPD_ALIAS_PULLDOWN;
    return IDS_CTRL_PUPD_NONE;
}

// The tool tip of a PUPD cell control; empty for none.
inline const char* KXPupdToolTip(UINT control) {
    switch (control) {
    case IDS_CTRL_PUPD_LOCAL_PUPD: return "Local PuPd";
    case IDS_CTRL_PUPD_LOCAL_PULLUP_ALIAS_PULLDOWN: return "Local Pullup/Inherited Pulldown";
    case IDS_CTRL_PUPD_LOCAL_PULLUP: return "Local Pullup";
    case IDS_CTRL_PUPD_LOCAL_PULLDOWN: return "Local PullDown";
    case IDS_CTRL_PUPD_LOCAL_PULLDOWN_ALIAS_PULLUP: return "Local Pulldown/Inherited Pullup";
    case IDS_CTRL_PUPD_ALIAS_PUPD: return "Inherited PuPd";
    case IDS_CTRL_PUPD_ALIAS_PULLUP: return "Inherited Pullup";
    case IDS_CTRL_PUPD_ALIAS_PULLDOWN: return "Inherited Pulldown";
    default: return "";
    }
}
