// The pull-up/pull-down mark of a net bit: which of the registered PUPD cell
// controls shows the pull components on the bit itself and on its aliases, and
// the tool tip that names them. A component on the bit itself decides first; an
// alias's component shows only beside a local one of the other kind, or alone.
#pragma once

#include "grid/KXGridIds.h"

struct KXPupdMark {
    UINT control;
    const char* toolTip;
};

// The pull-up/pull-down state of one net bit, as the associated-components library reports it: the
// pull components on the bit's net itself (local) and on the nets joined to it (alias).
struct PUPDSTRUCTURE {
    short nBit = -1; // the net bit (-1 for a scalar net)
    bool bLocalPullUp = false;
    bool bLocalPullDown = false;
    bool bAliasPullUp = false;
    bool bAliasPullDown = false;
};

inline KXPupdMark KXPupdMarkOf(bool localUp, bool localDown, bool aliasUp, bool aliasDown) {
    if (localUp && localDown) return {IDS_CTRL_PUPD_LOCAL_BOTH, "Local PuPd"};
    if (localUp)
        return aliasDown ? KXPupdMark{IDS_CTRL_PUPD_LOCAL_PULLUP_ALIAS_PULLDOWN, "Local Pullup/Inherited Pulldown"}
                         : KXPupdMark{IDS_CTRL_PUPD_LOCAL_PULLUP, "Local Pullup"};
    if (localDown)
        return aliasUp ? KXPupdMark{IDS_CTRL_PUPD_LOCAL_PULLDOWN_ALIAS_PULLUP, "Local Pulldown/Inherited Pullup"}
                       : KXPupdMark{IDS_CTRL_PUPD_LOCAL_PULLDOWN, "Local PullDown"};
    if (aliasUp && aliasDown) return {IDS_CTRL_PUPD_ALIAS_BOTH, "Inherited PuPd"};
    if (aliasUp) return {IDS_CTRL_PUPD_ALIAS_PULLUP, "Inherited Pullup"};
    if (aliasDown) return {IDS_CTRL_PUPD_ALIAS_PULLDOWN, "Inherited Pulldown"};
    return {IDS_CTRL_PUPD_NONE, ""};
}

inline KXPupdMark KXPupdMarkOf(const PUPDSTRUCTURE& state) {
    return KXPupdMarkOf(state.bLocalPullUp, state.bLocalPullDown, state.bAliasPullUp, state.bAliasPullDown);
}

inline UINT KXPupdControl(bool localUp, bool localDown, bool aliasUp, bool aliasDown) {
    return KXPupdMarkOf(localUp, localDown, aliasUp, aliasDown).control;
}

// The tool tip of a PUPD cell control; empty for none.
inline const char* KXPupdToolTip(UINT control) {
    for (const bool up : {false, true})
        for (const bool down : {false, true})
            for (const bool aliasUp : {false, true})
                for (const bool aliasDown : {false, true})
                    if (const KXPupdMark mark = KXPupdMarkOf(up, down, aliasUp, aliasDown); mark.control == control)
                        return mark.toolTip;
    return "";
}
