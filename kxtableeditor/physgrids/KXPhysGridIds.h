// Ids and fixed rows of the physical grids: the physical part grid and the
// physical net grid share cell controls, user attributes and the row layout of
// their header blocks.
#pragma once

#include "afx/afxtypes.h"
#include "grid/KXRowAttrs.h"
#include "grid/gxall.h"

namespace kxphys {

// Pane title kinds.
inline constexpr UINT kPartPaneKind = 8951;
inline constexpr UINT kNetPaneKind = 9006;

// Physical part grid rows: header bar (0-1), captions (2), separators (3, 5), filter row (4).
inline constexpr ROWCOL kPartCaptionRow = 2;
inline constexpr ROWCOL kPartFilterRow = 4;
inline constexpr ROWCOL kPartFirstRow = 6;
// Physical net grid rows: title (0), captions (1), separators (2, 4), filter row (3).
inline constexpr ROWCOL kNetCaptionRow = 1;
inline constexpr ROWCOL kNetFilterRow = 3;
inline constexpr ROWCOL kNetFirstRow = 5;
// Spare rows kept below the physical net grid's last pin row.
inline constexpr ROWCOL kNetSpareRows = 100;

// Cell controls.
inline constexpr UINT IDS_CTRL_PHYSPART_DETAILS_HEADER = 59449;
inline constexpr UINT IDS_CTRL_PROGRAMMABLE_PIN = 59454;
inline constexpr UINT IDS_CTRL_PROGRAMMABLE_PIN_LIST = 59455;
inline constexpr UINT IDS_CTRL_PHYS_COMBO = 9046;
inline constexpr UINT IDB_PROGRAMMABLE_PIN = 8893;
inline constexpr UINT kStaticControl = 52513; // the grid library's static text
inline constexpr UINT kHeaderControl = 52520; // the grid library's header cell
inline constexpr UINT kEllipsisAttribute = 52792;

// User attributes of cells.
inline constexpr UINT IDS_UA_NET_CELL = 12501;
inline constexpr UINT IDS_UA_PHYSNET_INSTANCE_ID = 59450;
inline constexpr UINT IDS_UA_PHYSPIN_FUNCTION = 59451;
inline constexpr UINT IDS_UA_FILTERED_BLOCK_ROW = 59452;
inline constexpr UINT IDS_UA_PROGRAMMABLE_PIN = 59453;
// What a model cell's IDS_UA_PROGRAMMABLE_PIN says: a choice among the part's models, the one model the
// part gives (or none), or a row without a logical pin to take a model.
inline constexpr int kModelFixed = 0;
inline constexpr int kModelChosen = 1;
inline constexpr int kModelWithoutPin = 2;

// What a pin row keeps in its pin-number cell.
inline constexpr KXAttr<int> kPinInstanceId{IDS_UA_PHYSNET_INSTANCE_ID}; // the net grid: the pin's instance
inline constexpr KXAttr<int> kPinFunction{IDS_UA_PHYSPIN_FUNCTION};      // the part grid: the pin's function
inline constexpr KXAttr<bool> kBlockFiltered{IDS_UA_FILTERED_BLOCK_ROW}; // the block filter hides the row

// A style with one row attribute more.
template <class T> CGXStyle WithAttr(CGXStyle style, KXAttr<T> attr, const T& value) {
    kxattr::Put(style, attr, value);
    return style;
}

// The header bar's dialog and its controls.
inline constexpr UINT IDD_PHYSPART_HEADER = 8889;
inline constexpr UINT IDC_PART_LABEL = 9065;
inline constexpr UINT IDC_PART_TEXT = 9066;
inline constexpr UINT IDC_FUNCTION_COMBO = 9067;
inline constexpr UINT IDC_FUNCTION_LABEL = 9068;

// Menu commands of the pin-number popup and the column chooser.
inline constexpr UINT ID_PIN_NUMBER_FIRST = 35545;
inline constexpr UINT ID_PIN_NUMBER_MORE = 35550;
inline constexpr UINT ID_PIN_NUMBER_LAST = 35552;
inline constexpr int kPinNumberEntries = 5;
inline constexpr UINT ID_COLUMN_CHOOSER_FIRST = 2024;

// Context menus (host resources).
inline constexpr UINT IDR_PHYSPART_MENU = 402;
inline constexpr UINT IDR_PHYSNET_MENU = 405;

} // namespace kxphys
