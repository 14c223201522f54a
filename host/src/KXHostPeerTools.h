// The objects that a message of the host's other tools carries, made from the texts that name them, and
// what the design windows publish to those tools.
#pragma once

#include "afx/afxtypes.h"
#include "kxmsgsrvr/KXHostMessages.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CContext;
class CKXHiliteObject;
class CKXHostApp;
class CTransaction;

// The objects of one sending: alive until the message was sent and answered.
class CKXNotifyObjects {
public:
    explicit CKXNotifyObjects(CKXHostApp& app);
    ~CKXNotifyObjects();
    CKXNotifyObjects(const CKXNotifyObjects&) = delete;
    CKXNotifyObjects& operator=(const CKXNotifyObjects&) = delete;

    // The operand's value for a slot that a text names an object for (an empty text: none, 0); false with
    // the cause when the text names no such object. A change is only checked here: `value` (which must
    // live until Commit) receives its transaction when Commit committed it.
    bool Make(EKXMessageSlot slot, const std::string& text, std::uintptr_t& value, std::string& why);
    // Commits the changes named, in their order, each announced to the open windows as a commit made
    // outside them; false with the cause when the design refused one (then none of them stays).
    bool Commit(std::string& why);

private:
    bool MakeHighlight(const std::vector<std::string>& words, std::uintptr_t& value, std::string& why);
    bool MakeChange(const std::vector<std::string>& words, std::uintptr_t& value, std::string& why);
    void TakeBack();

    CKXHostApp& m_app;
    std::vector<std::unique_ptr<CKXHiliteObject>> m_hilites;
    std::vector<std::pair<std::unique_ptr<CContext>, std::vector<std::string>>> m_changes;
    std::vector<std::uintptr_t*> m_values; // where each change's transaction goes
    std::vector<std::unique_ptr<CTransaction>> m_committed;
};

// The selections the windows publish to the host's tools, which the host's main window hears.
const std::vector<UINT>& KXPublishedMessages();
// One publication as a line: "propertyeditor: KIND NAME FIRST SECOND; ...", "assoccompviewer: KIND PATH; ...",
// "net: NAME" ("none" for a publication that empties the tool).
std::string KXPublishedLine(UINT message, WPARAM wParam, LPARAM lParam);
