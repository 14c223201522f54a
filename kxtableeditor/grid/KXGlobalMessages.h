// Registered window messages of the table editor and its process-wide constants.
// Every number is registered while the library loads, before any window of the
// library exists, so message maps can refer to these variables.
#pragma once

#include "afx/afxtypes.h"

#include <vector>

// Registered at load, in this order.
extern UINT g_msgSecComboExNewItem;           // "secComboExNewItem"
extern UINT g_msgSecComboExApply;             // "secComboExApply"
extern UINT g_msgFillSignalData[3];           // "FILL_SIGNAL_DATA" (one copy per module that uses it)
extern UINT g_msgFillInstanceData[3];         // "FILL_INSTANCE_DATA"
extern UINT MSG_TOGGLE_PINNAME;               // "MSG_TOGGLE_PINNAME"
extern UINT g_msgGetDockWndStatus[2];         // "MSG_GETDOCKWND_STATUS"
extern UINT g_msgStopTrackingSplitter;        // "MSG_STOP_TRACKING_SPLITTER"
extern UINT g_msgAddPhysicalPart;             // "INT_MSG_ADD_PHYSICAL_PART"
extern UINT g_msgHighlightObject;             // "INT_MSG_HIGHLIGHT_OBJECT"
extern UINT g_msgAddLogicalPart;              // "INT_MSG_ADD_LOGICAL_PART"
extern UINT g_msgFromClipboardViewer;         // "INT_MSG_FROM_CLIPBOARDVIEWER"
extern UINT g_msgSelectFindAllResult;         // "INT_MSG_SELECT_FINDALLRESULT"
extern UINT g_msgSelectObject;                // "INT_MSG_SELECT_OBJECT"
extern UINT g_msgRemoveSelectionAll;          // "INT_MSG_REMOVE_SELECTION_ALL"
extern UINT g_msgDeleteInstance;              // "INT_MSG_DELETE_INSTANCE"
extern UINT g_msgRenameInstance;              // "INT_MSG_RENAME_INSTANCE"
extern UINT g_msgShowNetConn;                 // "INT_MSG_SHOW_NET_CONN"
extern UINT g_msgAssignPower;                 // "INT_MSG_ASSIGN_POWER"
extern UINT g_msgAutoAssignModel;             // "INT_MSG_AUTO_ASSIGN_MODEL"
extern UINT g_msgSetupShowRowNumbers;         // "INT_MSG_SETUP_SHOW_ROW_NUMBERS"
extern UINT g_msgSetupAutoComplete;           // "INT_MSG_SETUP_AUTOCOMPLETE_CCP_SCP"
extern UINT g_msgSetupShowSignalCombo;        // "INT_MSG_SETUP_SHOW_SIGNALCOMBO_CCP"
extern UINT g_msgSetupMoveDirection;          // "INT_MSG_SETUP_MOVEDIRECTION"
extern UINT g_msgSetupNamingConventionOnCopy; // "INT_MSG_SETUP_NAMINGCONVENTION_ONCOPY"
extern UINT g_msgHighlightPin;                // "INT_MSG_HIGHLIGHT_PIN"
extern UINT g_msgMarkAsCodesign;              // "INT_MSG_MARK_AS_CODESIGN"
extern UINT g_msgSetFocusClp;                 // "MSG_SETFOCUS_CLP"
extern UINT g_msgPreserveInstComment;         // "INT_MSG_PRESERVE_INST_COMMENT"
extern UINT g_msgPreservePinComment;          // "INT_MSG_PRESERVE_PIN_COMMENT"
extern UINT g_msgSetupShowDPSignalsSlp;       // "INT_MSG_SETUP_SHOW_DPSIGNALS_SLP"
extern UINT g_msgSetupShowDPPinsCcp;          // "INT_MSG_SETUP_SHOW_DPPINS_CCP"

// The names above in registration order, one entry per copy (for checks).
struct SKXRegisteredMessage {
    const char* name;
    UINT* number;
};
const std::vector<SKXRegisteredMessage>& KXRegisteredMessages();

// Termination type names, in their fixed order.
extern const char* const g_szTerminationTypes[7];
