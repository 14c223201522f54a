// What each registered message of the host (INT_MSG_...) carries to a design window: the host's windows
// send every one of them in this form, and a sender that reads its operands from a user (the command
// host's kx::notify) puts each operand in the slot the form names, so that a number never arrives where
// the window reads a text, nor a text where it reads an object.
#pragma once

#include <string>
#include <vector>

enum class EKXMessageSlot {
    None,   // nothing: the window does not read it (0 is sent)
    Text,   // a text (const char*)
    Number, // a number
    Object, // an object of the host (a pin context, a highlight record, a grid window): no user gives one
};

struct SKXHostMessageForm {
    const char* name;
    EKXMessageSlot wParam;
    EKXMessageSlot lParam;
};

// Every registered message of the host that a design window takes, in name order.
const std::vector<SKXHostMessageForm>& KXHostMessageForms();
// The form of a message; nullptr for a name that is no message of the host.
const SKXHostMessageForm* KXFindHostMessageForm(const std::string& name);
