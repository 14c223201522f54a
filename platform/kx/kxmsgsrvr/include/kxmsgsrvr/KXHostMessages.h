// What each message of the host carries to a design window: the host's windows and its other tools send
// every one of them in this form, and a sender that reads its operands from a user (the command host's
// kx::notify) puts each operand in the slot the form names, so that a number never arrives where the
// window reads a text, nor a text where it reads an object. An object slot that a text can name says
// which object the text names; the sender makes the object from it.
#pragma once

#include <string>
#include <vector>

enum class EKXMessageSlot {
    None,   // nothing: the window does not read it (0 is sent)
    Text,   // a text (const char*)
    Number, // a number
    Object, // an object of the host (a pin context): no user gives one
    Highlight, // a highlight record, named by the object's path ("lib.cell:view@U1.A")
    Grid,      // a grid window of the design window, named "clp", "slp" or "ccp N"
    Cell,      // a row (low word) and a column (high word), named "ROW COL"
    Change,    // a transaction another tool committed, named by the change it made: "PATH NAME ?VALUE?"
};

struct SKXHostMessageForm {
    const char* name;
    EKXMessageSlot wParam;
    EKXMessageSlot lParam;
    // 0: a registered window message (the name registered), sent to the active design window; otherwise the
    // message server's number, broadcast to every window that subscribed to it.
    unsigned serverNumber = 0;
};

// Every message of the host that a design window takes, in name order.
const std::vector<SKXHostMessageForm>& KXHostMessageForms();
// The form of a message; nullptr for a name that is no message of the host.
const SKXHostMessageForm* KXFindHostMessageForm(const std::string& name);
