// Rows, user attributes and cell controls of the matrix grid (signals by
// instances). What a row shows of the design lives in attributes of its cells:
// the NAME cell carries the row's net id and bit, the PIN_NAME and PN cells of
// every instance group carry the pin and pin bit shown in that group.
#pragma once

#include "afx/afxtypes.h"
#include "grid/KXGridIds.h"
#include "grid/KXRowAttrs.h"
#include "grid/gxtypes.h"

namespace kxmatrix {

// Row layout: group titles (0), captions (1), separators (2, 4), filter row (3), data from row 5.
inline constexpr ROWCOL kTitleRow = 0;
inline constexpr ROWCOL kCaptionRow = 1;
inline constexpr ROWCOL kFilterRow = 3;
inline constexpr ROWCOL kHeaderRows = 4;
inline constexpr ROWCOL kFirstDataRow = 5;
inline constexpr int kSeparatorHeight = 4;

// User attributes of the data cells.
inline constexpr UINT IDS_UA_INSTTERM_ID = 8888;          // PIN_NAME, PN: pin id (-1: no pin)
inline constexpr UINT IDS_UA_DATA_CELL = 12501;           // every data cell: "1"
inline constexpr UINT IDS_UA_MATRIX_NET_DATA = 59459;     // NAME: net id (-1: no signal)
inline constexpr UINT IDS_UA_MATRIX_NET_BIT = 59460;      // NAME: the row's net bit
inline constexpr UINT IDS_UA_MATRIX_INSTTERM_BIT = 59461; // PIN_NAME, PN: pin bit (-1: scalar or none)

inline constexpr KXAttr<int> kAttrPinId{IDS_UA_INSTTERM_ID};
inline constexpr KXAttr<int> kAttrNetId{IDS_UA_MATRIX_NET_DATA};
inline constexpr KXAttr<int> kAttrNetBit{IDS_UA_MATRIX_NET_BIT};
inline constexpr KXAttr<int> kAttrPinBit{IDS_UA_MATRIX_INSTTERM_BIT};
inline constexpr KXAttr<CString> kAttrDataCell{IDS_UA_DATA_CELL};

// Keys of the columns the matrix lays out itself (the customisation names them so).
inline constexpr const char* NAME = "NAME";
inline constexpr const char* PHYS_NET_NAME = "PHYS_NET_NAME";
inline constexpr const char* PIN_TYPE = "PIN_TYPE";
inline constexpr const char* COMMENTS = "COMMENTS";

// Cell controls.
inline constexpr UINT IDS_CTRL_INSTANCE_LISTBOX = 59441;
inline constexpr UINT IDS_CTRL_PIN_COMBO = 59442;
inline constexpr UINT IDS_CTRL_PUPD_HEADER = 59455;
inline constexpr UINT IDS_CTRL_COMMENTS_HEADER = 59456;
inline constexpr UINT IDS_CTRL_LIST_TYPE_HEADER = IDS_CTRL_LIST_HEADER; // caption cells of rows 1
inline constexpr UINT IDS_CTRL_STATIC_TEXT = 52513;
inline constexpr UINT IDS_CTRL_HEADER = 52520;
inline constexpr UINT IDS_STRING_AC_COMBO = 52527;

// Bitmaps of the header buttons and their captions.
inline constexpr UINT IDB_PUPD_HEADER = 8891;
inline constexpr UINT IDB_COMMENTS_HEADER = 8885;
inline constexpr const char* kPupdCaptionBitmap = "#BMP(191)";
inline constexpr const char* kCommentsCaptionBitmap = "#BMP(185)";

// The pane's Delete command, sent by the Delete key.
inline constexpr UINT kDeleteCommand = 35264;
// The customise dialog's number of the matrix.
inline constexpr int kCustomizeDialogKind = 9;

} // namespace kxmatrix
