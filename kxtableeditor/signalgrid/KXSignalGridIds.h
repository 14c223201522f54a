// Rows, user attributes and cell controls of the signal grid. What a row shows of
// the design (its instance, pin, pin bits and net bit) lives in these attributes
// of the row's cells; the row fillers write them and the row look-ups read them.
#pragma once

#include "afx/afxtypes.h"
#include "grid/KXGridIds.h"
#include "grid/KXRowAttrs.h"
#include "grid/gxtypes.h"

namespace kxsignal {

// Row layout: title (0), column titles (1), separators (2, 4), filter row (3), data from row 5.
inline constexpr ROWCOL kTitleRow = 0;
inline constexpr ROWCOL kCaptionRow = 1;
inline constexpr ROWCOL kFilterRow = 3;
inline constexpr ROWCOL kFirstDataRow = 5;
inline constexpr ROWCOL kBlankRows = 100;

// The grid kind in column-layout broadcasts.
inline constexpr LPARAM kGridKind = 6;

// User attributes of the data cells.
inline constexpr UINT IDS_UA_SCP_INSTANCE_ID = 7788; // INSTANCE: instance id (decimal text)
inline constexpr UINT IDS_UA_SCP_NET_ID = 7789;      // Signal Name, Physical Name: net id
inline constexpr UINT IDS_UA_NET_CELL = 12501;       // Signal Name, TERMINATION: "1"
inline constexpr UINT IDS_UA_CONN_INSTTERM = 59445;  // PIN_NAME: pin id
inline constexpr UINT IDS_UA_CONN_MSB = 59446;       // PIN_NAME: first pin bit of the connection
inline constexpr UINT IDS_UA_CONN_LSB = 59447;       // PIN_NAME: second pin bit
inline constexpr UINT IDS_UA_PROP_STATE = 59457;     // custom property cell: property state
inline constexpr UINT IDS_UA_EXPANDED_BIT = 59458;   // Signal Name, Physical Name: the row's net bit
inline constexpr UINT IDS_UA_IMPLICIT_POWER_PIN = 59475;
inline constexpr UINT IDS_UA_ELLIPSIS_TYPE = 52792;

// The same attributes with the types their values have.
inline constexpr KXAttr<CString> kAttrInstanceId{IDS_UA_SCP_INSTANCE_ID};
inline constexpr KXAttr<int> kAttrNetId{IDS_UA_SCP_NET_ID};
inline constexpr KXAttr<CString> kAttrNetCell{IDS_UA_NET_CELL};
inline constexpr KXAttr<int> kAttrConnInstTerm{IDS_UA_CONN_INSTTERM};
inline constexpr KXAttr<int> kAttrConnMsb{IDS_UA_CONN_MSB};
inline constexpr KXAttr<int> kAttrConnLsb{IDS_UA_CONN_LSB};
inline constexpr KXAttr<int> kAttrExpandedBit{IDS_UA_EXPANDED_BIT};

// Cell controls.
inline constexpr UINT IDS_CTRL_INSTANCE_AUTOCOMPLETE_COMBO = 59440;
inline constexpr UINT IDS_CTRL_AC_LISTBOX = 59441;
inline constexpr UINT IDS_CTRL_PIN_COMBO = 59442;
inline constexpr UINT IDS_CTRL_PUPD_HEADER = 59455;
inline constexpr UINT IDS_CTRL_COMMENTS_HEADER = 59456;
inline constexpr UINT IDS_CTRL_EDIT = 52512;
inline constexpr UINT IDS_CTRL_STATIC_TEXT = 52513;
inline constexpr UINT IDS_CTRL_HEADER = 52520;
inline constexpr UINT IDS_STRING_AC_COMBO = 52527;

// Bitmaps of the header buttons.
inline constexpr UINT IDB_PUPD_HEADER = 8891;
inline constexpr UINT IDB_COMMENTS_HEADER = 8885;

} // namespace kxsignal
