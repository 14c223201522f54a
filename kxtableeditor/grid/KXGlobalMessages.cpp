#include "grid/KXGlobalMessages.h"

#include "afx/afxwin.h"

// Each variable is initialised by registration as the library loads (static
// initialisation, in declaration order).
UINT g_msgSecComboExNewItem = RegisterWindowMessageA("secComboExNewItem");
UINT g_msgSecComboExApply = RegisterWindowMessageA("secComboExApply");
UINT g_msgFillSignalData[3] = {RegisterWindowMessageA("FILL_SIGNAL_DATA"),
                               RegisterWindowMessageA("FILL_SIGNAL_DATA"),
                               RegisterWindowMessageA("FILL_SIGNAL_DATA")};
UINT g_msgFillInstanceData[3] = {RegisterWindowMessageA("FILL_INSTANCE_DATA"),
                                 RegisterWindowMessageA("FILL_INSTANCE_DATA"),
                                 RegisterWindowMessageA("FILL_INSTANCE_DATA")};
UINT MSG_TOGGLE_PINNAME = RegisterWindowMessageA("MSG_TOGGLE_PINNAME");
UINT g_msgGetDockWndStatus[2] = {RegisterWindowMessageA("MSG_GETDOCKWND_STATUS"),
                                 RegisterWindowMessageA("MSG_GETDOCKWND_STATUS")};
UINT g_msgStopTrackingSplitter = RegisterWindowMessageA("MSG_STOP_TRACKING_SPLITTER");
UINT g_msgAddPhysicalPart = RegisterWindowMessageA("INT_MSG_ADD_PHYSICAL_PART");
UINT g_msgHighlightObject = RegisterWindowMessageA("INT_MSG_HIGHLIGHT_OBJECT");
UINT g_msgAddLogicalPart = RegisterWindowMessageA("INT_MSG_ADD_LOGICAL_PART");
UINT g_msgFromClipboardViewer = RegisterWindowMessageA("INT_MSG_FROM_CLIPBOARDVIEWER");
UINT g_msgSelectFindAllResult = RegisterWindowMessageA("INT_MSG_SELECT_FINDALLRESULT");
UINT g_msgSelectObject = RegisterWindowMessageA("INT_MSG_SELECT_OBJECT");
UINT g_msgRemoveSelectionAll = RegisterWindowMessageA("INT_MSG_REMOVE_SELECTION_ALL");
UINT g_msgDeleteInstance = RegisterWindowMessageA("INT_MSG_DELETE_INSTANCE");
UINT g_msgRenameInstance = RegisterWindowMessageA("INT_MSG_RENAME_INSTANCE");
UINT g_msgShowNetConn = RegisterWindowMessageA("INT_MSG_SHOW_NET_CONN");
UINT g_msgAssignPower = RegisterWindowMessageA("INT_MSG_ASSIGN_POWER");
UINT g_msgAutoAssignModel = RegisterWindowMessageA("INT_MSG_AUTO_ASSIGN_MODEL");
UINT g_msgSetupShowRowNumbers = RegisterWindowMessageA("INT_MSG_SETUP_SHOW_ROW_NUMBERS");
UINT g_msgSetupAutoComplete = RegisterWindowMessageA("INT_MSG_SETUP_AUTOCOMPLETE_CCP_SCP");
UINT g_msgSetupShowSignalCombo = RegisterWindowMessageA("INT_MSG_SETUP_SHOW_SIGNALCOMBO_CCP");
UINT g_msgSetupMoveDirection = RegisterWindowMessageA("INT_MSG_SETUP_MOVEDIRECTION");
UINT g_msgSetupNamingConventionOnCopy = RegisterWindowMessageA("INT_MSG_SETUP_NAMINGCONVENTION_ONCOPY");
UINT g_msgHighlightPin = RegisterWindowMessageA("INT_MSG_HIGHLIGHT_PIN");
UINT g_msgMarkAsCodesign = RegisterWindowMessageA("INT_MSG_MARK_AS_CODESIGN");
UINT g_msgSetFocusClp = RegisterWindowMessageA("MSG_SETFOCUS_CLP");
UINT g_msgPreserveInstComment = RegisterWindowMessageA("INT_MSG_PRESERVE_INST_COMMENT");
UINT g_msgPreservePinComment = RegisterWindowMessageA("INT_MSG_PRESERVE_PIN_COMMENT");
UINT g_msgSetupShowDPSignalsSlp = RegisterWindowMessageA("INT_MSG_SETUP_SHOW_DPSIGNALS_SLP");
UINT g_msgSetupShowDPPinsCcp = RegisterWindowMessageA("INT_MSG_SETUP_SHOW_DPPINS_CCP");

const char* const g_szTerminationTypes[7] = {"Series",          "Shunt",          "ShuntRC", "GNDClampDiode",
                                             "PowerClampDiode", "DualClampDiode", "Thevenin"};

const std::vector<SKXRegisteredMessage>& KXRegisteredMessages() {
    static const std::vector<SKXRegisteredMessage> table = {
        {"secComboExNewItem", &g_msgSecComboExNewItem},
        {"secComboExApply", &g_msgSecComboExApply},
        {"FILL_SIGNAL_DATA", &g_msgFillSignalData[0]},
        {"FILL_SIGNAL_DATA", &g_msgFillSignalData[1]},
        {"FILL_SIGNAL_DATA", &g_msgFillSignalData[2]},
        {"FILL_INSTANCE_DATA", &g_msgFillInstanceData[0]},
        {"FILL_INSTANCE_DATA", &g_msgFillInstanceData[1]},
        {"FILL_INSTANCE_DATA", &g_msgFillInstanceData[2]},
        {"MSG_TOGGLE_PINNAME", &MSG_TOGGLE_PINNAME},
        {"MSG_GETDOCKWND_STATUS", &g_msgGetDockWndStatus[0]},
        {"MSG_GETDOCKWND_STATUS", &g_msgGetDockWndStatus[1]},
        {"MSG_STOP_TRACKING_SPLITTER", &g_msgStopTrackingSplitter},
        {"INT_MSG_ADD_PHYSICAL_PART", &g_msgAddPhysicalPart},
        {"INT_MSG_HIGHLIGHT_OBJECT", &g_msgHighlightObject},
        {"INT_MSG_ADD_LOGICAL_PART", &g_msgAddLogicalPart},
        {"INT_MSG_FROM_CLIPBOARDVIEWER", &g_msgFromClipboardViewer},
        {"INT_MSG_SELECT_FINDALLRESULT", &g_msgSelectFindAllResult},
        {"INT_MSG_SELECT_OBJECT", &g_msgSelectObject},
        {"INT_MSG_REMOVE_SELECTION_ALL", &g_msgRemoveSelectionAll},
        {"INT_MSG_DELETE_INSTANCE", &g_msgDeleteInstance},
        {"INT_MSG_RENAME_INSTANCE", &g_msgRenameInstance},
        {"INT_MSG_SHOW_NET_CONN", &g_msgShowNetConn},
        {"INT_MSG_ASSIGN_POWER", &g_msgAssignPower},
        {"INT_MSG_AUTO_ASSIGN_MODEL", &g_msgAutoAssignModel},
        {"INT_MSG_SETUP_SHOW_ROW_NUMBERS", &g_msgSetupShowRowNumbers},
        {"INT_MSG_SETUP_AUTOCOMPLETE_CCP_SCP", &g_msgSetupAutoComplete},
        {"INT_MSG_SETUP_SHOW_SIGNALCOMBO_CCP", &g_msgSetupShowSignalCombo},
        {"INT_MSG_SETUP_MOVEDIRECTION", &g_msgSetupMoveDirection},
        {"INT_MSG_SETUP_NAMINGCONVENTION_ONCOPY", &g_msgSetupNamingConventionOnCopy},
        {"INT_MSG_HIGHLIGHT_PIN", &g_msgHighlightPin},
        {"INT_MSG_MARK_AS_CODESIGN", &g_msgMarkAsCodesign},
        {"MSG_SETFOCUS_CLP", &g_msgSetFocusClp},
        {"INT_MSG_PRESERVE_INST_COMMENT", &g_msgPreserveInstComment},
        {"INT_MSG_PRESERVE_PIN_COMMENT", &g_msgPreservePinComment},
        {"INT_MSG_SETUP_SHOW_DPSIGNALS_SLP", &g_msgSetupShowDPSignalsSlp},
        {"INT_MSG_SETUP_SHOW_DPPINS_CCP", &g_msgSetupShowDPPinsCcp},
    };
    return table;
}
