#include "grid/KXGridMenus.h"

#include "grid/KXGridIds.h"

namespace kxmenu {

std::vector<Item> SortMenuItems(const std::vector<ColumnEntry>& columns) {
    std::vector<Item> items;
    UINT next = ID_SORT_FIRST;
    for (const ColumnEntry& column : columns) {
        if (next > ID_SORT_LAST) break;
        if (column.text.IsEmpty()) continue;
        Item item;
        item.id = next++;
        item.text = column.text;
        item.grayed = !column.enabled;
        items.push_back(item);
    }
    Item separator;
    separator.separator = true;
    items.push_back(separator);
    Item alpha;
    alpha.id = ID_SORT_AS_ALPHA;
    alpha.text = "Sort as Alpha";
    items.push_back(alpha);
    Item alphaNumeric;
    alphaNumeric.id = ID_SORT_AS_ALPHANUMERIC;
    alphaNumeric.text = "Sort as AlphaNumeric";
    alphaNumeric.checked = true;
    items.push_back(alphaNumeric);
    return items;
}

std::vector<Item> ColumnVisibilityItems(const std::vector<ColumnEntry>& columns) {
    std::vector<Item> items;
    UINT col = 1;
    for (const ColumnEntry& column : columns) {
        Item item;
        item.id = ID_COLUMN_BASE + col++;
        item.text = column.text;
        item.checked = column.shown != FALSE;
        item.grayed = !column.enabled;
        items.push_back(item);
    }
    return items;
}

} // namespace kxmenu
