// The items of the grid's column submenus, worked out apart from any menu so
// that the rules (ids, check marks, grayed items, the nine-item limit) can be
// checked on their own.
#pragma once

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

#include <vector>

namespace kxmenu {

struct ColumnEntry {
    CString text; // menu text of the column (may be empty)
    BOOL enabled = TRUE;
    BOOL shown = TRUE; // the column is not hidden
};

struct Item {
    UINT id = 0; // 0 for a separator
    CString text;
    bool grayed = false;
    bool checked = false;
    bool separator = false;
};

// Sort submenu: one item per column with a non-empty text, ids from the first
// sort id on while ids remain (nine at most), then a separator and the two sort
// kinds. columns[0] stands for column 1.
std::vector<Item> SortMenuItems(const std::vector<ColumnEntry>& columns);

// Column submenu: one item per column, id = column base + column; a shown
// column carries a check mark; a column that is not enabled is grayed.
std::vector<Item> ColumnVisibilityItems(const std::vector<ColumnEntry>& columns);

} // namespace kxmenu
