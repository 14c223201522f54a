// The pull-up/pull-down mark of a net bit: which of the registered PUPD cell
// controls shows the pull components on the bit itself and on its aliases.
#pragma once

#include "grid/KXGridIds.h"

inline UINT KXPupdControl(bool localUp, bool localDown, bool aliasUp, bool aliasDown) {
    struct Mark {
        bool lu, ld, au, ad;
        UINT id;
    };
    static constexpr Mark kMarks[] = {
        {true, false, false, false, IDS_CTRL_PUPD_LOCAL_PULLUP},
        {false, true, false, false, IDS_CTRL_PUPD_LOCAL_PULLDOWN},
        {false, false, true, false, IDS_CTRL_PUPD_ALIAS_PULLUP},
        {false, false, false, true, IDS_CTRL_PUPD_ALIAS_PULLDOWN},
        {true, true, false, false, IDS_CTRL_PUPD_LOCAL_PUPD},
        {false, false, true, true, IDS_CTRL_PUPD_ALIAS_PUPD},
        {true, false, false, true, IDS_CTRL_PUPD_LOCAL_PULLUP_ALIAS_PULLDOWN},
        {false, true, true, false, IDS_CTRL_PUPD_LOCAL_PULLDOWN_ALIAS_PULLUP},
    };
    for (const Mark& m : kMarks)
        if (m.lu == localUp && m.ld == localDown && m.au == aliasUp && m.ad == aliasDown) return m.id;
    // Any other mix shows what is on the net bit itself.
    if (localUp || localDown)
        return localUp && localDown ? IDS_CTRL_PUPD_LOCAL_PUPD
                                    : (localUp ? IDS_CTRL_PUPD_LOCAL_PULLUP : IDS_CTRL_PUPD_LOCAL_PULLDOWN);
    return IDS_CTRL_PUPD_NONE;
}
