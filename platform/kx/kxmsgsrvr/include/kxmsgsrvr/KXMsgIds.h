// Every notification number carried by the message server, in one place.
#pragma once

#include "afx/afxtypes.h"

// Designs and documents.
constexpr UINT MSG_PROPERTY_EDITOR_SELECTION = 0x8224; // record array / design context
constexpr UINT MSG_NET_SELECTED = 0x822B;              // net context / design context
constexpr UINT MSG_OPEN_DESIGN = 0x8231;               // open mode / design name
constexpr UINT MSG_DESIGN_SAVED = 0x8235;              // design path / 0
constexpr UINT MSG_CONN_OBJECT_INFO = 0x8237;          // record list / design context
constexpr UINT MSG_SELECT_OBJECT = 0x8239;             // select-object message or path / top design name
constexpr UINT MSG_SELECT_IN_DESIGN = 0x8239;          // same number, sent with a path text
constexpr UINT MSG_DESIGN_INTERFACE_SAVED = 0x823B;    // change description / 0
constexpr UINT MSG_TOP_DESIGN_MODIFIED = 0x823C;
constexpr UINT MSG_TRANSACTION_COMMITTED = 0x82BE;    // committed transaction(s)
constexpr UINT MSG_SAVE_AS_LIBRARY_SELECTED = 0x82E8; // library name / 0
constexpr UINT MSG_DESIGN_REQUEST = 0x82E9;           // design context copy / 0
constexpr UINT MSG_EDIT_PIN = 0x82F2;                 // pin bit / flag in the high word
constexpr UINT MSG_BLOCK_FILTER_CHANGED = 0x82F3;
constexpr UINT MSG_ASSOC_COMP_VIEWER_SELECTION = 0x82F4; // design context / record array
constexpr UINT MSG_ASSOC_COMP_CHANGED = 0x82F5;
constexpr UINT MSG_TAB_ACTIVATED = 0x82F6;
constexpr UINT MSG_CLEAR_UNDO = 0x8329;
constexpr UINT MSG_IMPORT_CSV = 0x832A;
constexpr UINT MSG_DESIGN_OPENED = 0x8335;      // open mode / design path
constexpr UINT MSG_DESIGN_CLOSED = 0x8336;      // open mode / design path
constexpr UINT MSG_VIOLATION_RESOLVED = 0x8337; // up to two committed transactions
constexpr UINT MSG_COLUMN_LAYOUT_CHANGED = 0x833B;
constexpr UINT MSG_DESIGN_UNDO_RESET = 0x833C;
constexpr UINT MSG_OBJECT_PROPERTY_CHANGED = 0x8340;
constexpr UINT MSG_INSTANCE_CHANGED = 0x8341;
constexpr UINT MSG_SHOW_POWER_PINS_CHANGED = 0x8343; // the host's option of the implicit power pins / 0
// The result of the last cell edit of a grid (typing ended with Enter): wParam kCellEditForget forgets
// it before an edit; kCellEditRead answers 1 when the edit was taken (or none was recorded), 0 when
// it was refused, lParam (CString*, may be null) receiving the message id that said why, and 2 when it
// stopped at a dialog of its own that was cancelled. kCellEditWhyNot
// asks why the current cell takes no typing: 0 when the grid knows (it shows its message, whose id
// lParam receives), 1 when it has no reason to give. kCellEditEmptyChanges answers 1 when an empty text
// typed into the current cell would change the design although the cell shows no text (a pin row whose
// bits are on several nets).
constexpr UINT MSG_GRID_CELL_EDIT_RESULT = 0x8344;
constexpr WPARAM kCellEditForget = 0;
constexpr WPARAM kCellEditRead = 1;
constexpr WPARAM kCellEditWhyNot = 2;
constexpr WPARAM kCellEditEmptyChanges = 3;

// Messages sent straight to the host's main window (not through the server).
constexpr UINT MSG_HOST_ASK_SAVE = 0x8342;
constexpr UINT MSG_RUN_MENU_COMMAND = 0x840C;  // command id / 0: 1 done, 0 refused or nothing done
constexpr UINT MSG_TCL_ROUTE_COMMAND = 0x840D; // script message number / argument list
constexpr UINT MSG_HOST_SCRIPT_ARGS = 0x840E;  // CTclArgsList* / 0
constexpr UINT MSG_HOST_SCRIPT_TEXT = 0x840F;  // command text / 0
constexpr UINT MSG_HOST_MESSAGE_TEXT = 0x8410; // message text / 0
