// Ids shared by the common grid window, its cell controls and the grid kinds:
// cell-control ids, user attributes of cells and the command ids of the grid menus.
#pragma once

#include "afx/afxtypes.h"

// Cell controls registered by the common grid window.
inline constexpr UINT IDS_CTRL_LIST_HEADER = 9045;
inline constexpr UINT IDS_CTRL_TERMINATION_BUTTON = 9014;
inline constexpr UINT IDS_CTRL_COMMENTS_ICON = 59448;
inline constexpr UINT IDS_CTRL_FILTER_COMBO = 9035;
inline constexpr UINT IDS_CTRL_PUPD_NONE = 9018;
inline constexpr UINT IDS_CTRL_PUPD_LOCAL_PULLUP = 9021;
inline constexpr UINT IDS_CTRL_PUPD_LOCAL_PULLDOWN = 9023;
inline constexpr UINT IDS_CTRL_PUPD_ALIAS_PULLUP = 9048;
inline constexpr UINT IDS_CTRL_PUPD_ALIAS_PULLDOWN = 9049;
inline constexpr UINT IDS_CTRL_PUPD_LOCAL_BOTH = 9025;
inline constexpr UINT IDS_CTRL_PUPD_ALIAS_BOTH = 9047;
inline constexpr UINT IDS_CTRL_PUPD_LOCAL_PULLUP_ALIAS_PULLDOWN = 9027;
inline constexpr UINT IDS_CTRL_PUPD_LOCAL_PULLDOWN_ALIAS_PULLUP = 9029;

// Bitmaps of the cell controls.
inline constexpr UINT IDB_TERMINATION_BUTTON = 9011;
inline constexpr UINT IDB_COMMENTS_ICON = 8885;
inline constexpr UINT IDB_PLUS = 9008;
inline constexpr UINT IDB_MINUS = 9009;

// Edit and list ids of the combo cell controls.
inline constexpr UINT IDC_GRID_COMBO_EDIT = 2001;
inline constexpr UINT IDC_GRID_COMBO_LIST = 2002;

// User attributes of cells.
inline constexpr UINT IDS_UA_TOOLTIPTEXT = 51022;
inline constexpr UINT IDS_UA_EXPAND_STATE = 59403;
inline constexpr UINT IDS_UA_PLUSMINUS_BIT = 59404;
inline constexpr UINT IDS_UA_VECTOR_GROUP = 59420;
inline constexpr UINT IDS_UA_DIFFPAIR_ROW = 59462;
inline constexpr UINT IDS_UA_DIFFPAIR_VECTOR_ROW = 59468;

// Commands of the grid menus.
inline constexpr UINT ID_COLUMN_BASE = 35129; // the column item of column c is ID_COLUMN_BASE + c
inline constexpr UINT ID_COLUMN_FIRST = 35130;
inline constexpr UINT ID_COLUMN_LAST = 35138;
inline constexpr UINT ID_SORT_FIRST = 35120;
inline constexpr UINT ID_SORT_LAST = 35128;
inline constexpr UINT ID_SORT_AS_ALPHA = 35672;
inline constexpr UINT ID_SORT_AS_ALPHANUMERIC = 35673;
