// User attributes, control ids and row kinds of the pin grid. Everything the
// grid knows about a row beyond its texts lives in these attributes of the
// row's cells; the row fill writes them and every row operation reads them.
#pragma once

#include "afx/afxtypes.h"
#include "grid/gxtypes.h"
#include "grid/KXGridIds.h"

// Row state attributes.
inline constexpr UINT IDS_UA_INSTANCE_INDEX = 8887;
inline constexpr UINT IDS_UA_INSTTERM_ID = 8888;
inline constexpr UINT IDS_UA_CONN_INDEX = 8889;
inline constexpr UINT IDS_UA_NET_BIT = 8890;
inline constexpr UINT IDS_UA_ROW_LEVEL = 12501;
inline constexpr UINT IDS_UA_CHILD_LEVEL = IDS_UA_ROW_LEVEL;
// Title of a cell's tool tip: the comment's author and date, "Connection Details"; the signal
// cell's restyle clears it together with the tool tip text.
inline constexpr UINT IDS_UA_CELLTIP_TITLE = 12514;
inline constexpr UINT IDS_UA_TOOLTIP_TITLE = IDS_UA_CELLTIP_TITLE;
inline constexpr UINT IDS_UA_ELLIPSIS_TYPE = 52792;
inline constexpr UINT IDS_UA_VECTOR_MSB = 59406;
inline constexpr UINT IDS_UA_VECTOR_LSB = 59407;
inline constexpr UINT IDS_UA_VECTOR_BASENAME = 59408;
inline constexpr UINT IDS_UA_VECTOR_PIN_BIT = 59416;
inline constexpr UINT IDS_UA_PROP_STATE = 59457;
inline constexpr UINT IDS_UA_DIFFPAIR_CONN_ID = 59466;
inline constexpr UINT IDS_UA_PARENT_DIFFPAIR = 59467;
inline constexpr UINT IDS_UA_VECTOR_DIFFPAIR_ROW = IDS_UA_DIFFPAIR_VECTOR_ROW; // 59468
inline constexpr UINT IDS_UA_POWER_PIN_ROW = 59470;
inline constexpr UINT IDS_UA_POWER_PIN_CHILD_ROW = 59471;
inline constexpr UINT IDS_UA_PARENT_ROW_OFFSET = 59472;
inline constexpr UINT IDS_UA_IMPLICIT_POWER_PIN = 59475;

// Cell controls of the pin rows.
inline constexpr UINT IDS_UA_SCALAR_PINNAME_CELL = 59413;
inline constexpr UINT IDS_UA_SINGLEBIT_VECTOR_PINNAME_CELL = 59414;
inline constexpr UINT IDS_CTRL_VECTOR_CONNECTIVITY = 59418;
inline constexpr UINT IDS_CTRL_INSTANCE_DETAILS_HEADER = 59424;
inline constexpr UINT IDS_CTRL_DIFFPAIR_ROW = 59469;
inline constexpr UINT IDS_CTRL_MINUS_BUTTON = 9030;
inline constexpr UINT IDS_CTRL_PLUS_BUTTON = 9031;
inline constexpr UINT IDS_CTRL_CHILD_PINNAME_CELL = 9032;
inline constexpr UINT IDS_CTRL_DIFFPAIR_CELL = 9094;
inline constexpr UINT IDS_CTRL_DIFFPAIR_SIGNAL = IDS_CTRL_DIFFPAIR_CELL;
inline constexpr UINT IDS_CTRL_MERGED_SIBLING = 9043;
inline constexpr UINT IDS_CTRL_MERGED_SIBLING_PLUS = 9044;
inline constexpr UINT IDS_CTRL_STATIC_TEXT = 52513;
// Bitmap buttons: the captions of the PUPD, COMMENTS and DIFF_PAIR columns, and the DIFF_PAIR cell
// of a pair's positive and negative leg (the ids double as the legs' polarity marks).
inline constexpr UINT IDS_CTRL_PIN_PUPD_HEADER = 59455;
inline constexpr UINT IDS_CTRL_PIN_COMMENTS_HEADER = 59456;
inline constexpr UINT IDS_CTRL_DIFFPAIR_HEADER = 59463;
inline constexpr UINT IDS_UA_DIFFPAIR_POSITIVE = 59464;
inline constexpr UINT IDS_UA_DIFFPAIR_NEGATIVE = 59465;

// Column keys of the built-in columns (the customisation entries' keys; a custom property column
// is keyed by its property's name).
namespace PinColumnKey {
inline constexpr const char DIFF_PAIR[] = "DIFF_PAIR";
inline constexpr const char PIN_NAME[] = "PIN_NAME";
inline constexpr const char PN[] = "PN";
inline constexpr const char PIN_TYPE[] = "PIN_TYPE";
inline constexpr const char SIGNAL[] = "SIGNAL";
inline constexpr const char TERMINATION[] = "TERMINATION";
inline constexpr const char PUPD[] = "PUPD";
inline constexpr const char COMMENTS[] = "COMMENTS";
} // namespace PinColumnKey

// First pin row; rows 1 to 5 are the header block (row 2 captions, row 4 filter).
inline constexpr ROWCOL PIN_FIRST_ROW = 6;
inline constexpr ROWCOL PIN_CAPTION_ROW = 2;

enum PinRowKind {
    PIN_ROW_SCALAR = 0,
    PIN_ROW_SINGLE_BIT = 1,
    PIN_ROW_GROUP = 2,
    PIN_ROW_PLUSMINUS_CHILD = 3,
    PIN_ROW_GROUP_2 = 4,
    PIN_ROW_PLUSMINUS_CHILD_2 = 5,
    PIN_ROW_DIFFPAIR = 6,
    PIN_ROW_VECTOR_DIFFPAIR = 7,
    PIN_ROW_DIFFPAIR_CHILD = 8,
    PIN_ROW_DIFFPAIR_LEG = 9,
    PIN_ROW_POWER = 10,
    PIN_ROW_POWER_CHILD = 11,
    PIN_ROW_IMPLICIT_POWER = 12,
};
