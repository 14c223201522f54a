// The kinds of grid the connectivity pane can hold. The number of a kind is
// the one the column-layout broadcast carries (lParam of
// MSG_COLUMN_LAYOUT_CHANGED) and the one the pane's factory is asked for:
//
//     std::unique_ptr<CKXGridWnd> grid = CreateGrid(KXGridKind::Signal);
//     if (grid && grid->Kind() == KXGridKind::Pin) { ... truly pin-only work ... }
//
// A grid states its kind once, in its constructor (CKXGridWnd(KXGridKind)).
#pragma once

enum class KXGridKind : int {
    None = 0,      // a plain grid window (the pane's own transaction grid, dialogs)
    Pin = 5,       // component connectivity: the pins of one or more instances
    Signal = 6,    // signal connectivity: the pins on one or more nets
    PhysPart = 7,  // physical part grid
    PhysNet = 8,   // physical net grid
    Matrix = 10,   // signals by instances
};

// The number a kind carries in messages (the layout broadcast's lParam).
inline constexpr long KXGridKindNumber(KXGridKind kind) {
    return static_cast<long>(kind);
}

// Display name of a kind, for messages such as "signal grid is not available".
inline constexpr const char* KXGridKindName(KXGridKind kind) {
    switch (kind) {
    case KXGridKind::Pin: return "pin grid";
    case KXGridKind::Signal: return "signal grid";
    case KXGridKind::PhysPart: return "physical part grid";
    case KXGridKind::PhysNet: return "physical net grid";
    case KXGridKind::Matrix: return "matrix";
    case KXGridKind::None: break;
    }
    return "grid";
}
