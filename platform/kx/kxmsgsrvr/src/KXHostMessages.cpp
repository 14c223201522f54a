#include "kxmsgsrvr/KXHostMessages.h"
#include "kxmsgsrvr/KXMsgIds.h"

#include <algorithm>

namespace {
constexpr EKXMessageSlot kNone = EKXMessageSlot::None;
constexpr EKXMessageSlot kText = EKXMessageSlot::Text;
constexpr EKXMessageSlot kNumber = EKXMessageSlot::Number;
constexpr EKXMessageSlot kObject = EKXMessageSlot::Object;
constexpr EKXMessageSlot kHighlight = EKXMessageSlot::Highlight;
constexpr EKXMessageSlot kGrid = EKXMessageSlot::Grid;
constexpr EKXMessageSlot kCell = EKXMessageSlot::Cell;
constexpr EKXMessageSlot kChange = EKXMessageSlot::Change;
} // namespace

const std::vector<SKXHostMessageForm>& KXHostMessageForms() {
    static const std::vector<SKXHostMessageForm> forms = {
        {"INT_MSG_ADD_LOGICAL_PART", kNone, kText},               // "LIB.CELL:VIEW NAME"
        {"INT_MSG_ADD_PHYSICAL_PART", kNone, kText},              // "LIB.CELL:VIEW NAME"
        {"INT_MSG_ASSIGN_POWER", kNone, kNone},
        {"INT_MSG_AUTO_ASSIGN_MODEL", kNone, kNone},
        {"INT_MSG_DELETE_INSTANCE", kNone, kText},                // the component's name
        {"INT_MSG_FROM_CLIPBOARDVIEWER", kNumber, kNumber},       // the viewer's item
        {"INT_MSG_HIGHLIGHT_OBJECT", kHighlight, kNone},          // the highlight record
        {"INT_MSG_HIGHLIGHT_PIN", kObject, kNone},                // the pin bit's context
        {"INT_MSG_MARK_AS_CODESIGN", kText, kNumber},             // names, 1 marks and 0 unmarks
        {"INT_MSG_PRESERVE_INST_COMMENT", kText, kNumber},        // "OLD:NEW", 1 as an undo step
        {"INT_MSG_PRESERVE_PIN_COMMENT", kText, kNumber},         // "I,P:I2,P2", 1 as an undo step
        {"INT_MSG_REMOVE_SELECTION_ALL", kNumber, kNone},         // 0 the signal list, else the components
        {"INT_MSG_RENAME_INSTANCE", kText, kText},                // the old and the new name
        {"INT_MSG_SELECT_FINDALLRESULT", kGrid, kCell},           // the grid window, row and column
        {"INT_MSG_SELECT_OBJECT", kText, kNumber},                // the name, 0 a component and 1 a signal
        {"INT_MSG_SETUP_AUTOCOMPLETE_CCP_SCP", kNone, kText},     // the options' values, as texts
        {"INT_MSG_SETUP_MOVEDIRECTION", kNone, kText},
        {"INT_MSG_SETUP_NAMINGCONVENTION_ONCOPY", kNone, kText},
        {"INT_MSG_SETUP_SHOW_DPPINS_CCP", kNone, kText},
        {"INT_MSG_SETUP_SHOW_DPSIGNALS_SLP", kNone, kText},
        {"INT_MSG_SETUP_SHOW_ROW_NUMBERS", kNone, kText},
        {"INT_MSG_SETUP_SHOW_SIGNALCOMBO_CCP", kNone, kText},
        {"INT_MSG_SHOW_NET_CONN", kNumber, kNumber},
        // The frame's own messages, and those of the message server that other tools send.
        {"MSG_ASSOC_COMP_CHANGED", kNone, kChange, MSG_ASSOC_COMP_CHANGED},   // the viewer's committed change
        {"MSG_CLEAR_UNDO", kNone, kNone, MSG_CLEAR_UNDO},
        {"MSG_SETFOCUS_CLP", kNone, kNumber},                                 // nonzero: also activate
        {"MSG_STOP_TRACKING_SPLITTER", kNone, kNone},
        {"MSG_VIOLATION_RESOLVED", kChange, kChange, MSG_VIOLATION_RESOLVED}, // up to two committed changes
    };
    return forms;
}

const SKXHostMessageForm* KXFindHostMessageForm(const std::string& name) {
    const auto& forms = KXHostMessageForms();
    auto it = std::find_if(forms.begin(), forms.end(),
                           [&](const SKXHostMessageForm& form) { return name == form.name; });
    return it == forms.end() ? nullptr : &*it;
}
