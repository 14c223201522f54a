// What the host application itself does to a design while the editor is open, and tells the
// open windows through the message server: a CSV import of logical pin names, and a property
// changed on an object outside the editor (the host's own property editor); and the host's
// option that shows the parts' implicit power pins.
#include "KXHostApp.h"
#include "KXHostWordsJournal.h"

#include "afx/afxdoc.h"
#include "afx/afxwin.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/context.h"
#include "rmx/schemautil.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <memory>

namespace {

using Args = std::vector<std::string>;

// Sets the property in a transaction of the object's own design, as the host's property editor
// does; false with the reason when the object is unknown or the database refuses the change.
bool SetObjectProperty(IServer* server, const Args& a, std::string& r) {
    std::unique_ptr<CContext> object(server ? server->getContext(a[0].c_str()) : nullptr);
    if (!object || !*object) {
        r = "no object \"" + a[0] + "\"";
        return false;
    }
    const CDesignContext design = object->designContext();
    if (!design) {
        r = "no design for \"" + a[0] + "\"";
        return false;
    }
    CTransaction transaction(design, "host property");
    if (!transaction.addProperty(*object, a[1].c_str(), a[2].c_str()) || !transaction.commit()) {
        r = "the design refused the property \"" + a[1] + "\" on \"" + a[0] + "\"";
        return false;
    }
    // Like every commit made outside the editor's windows, it is announced to them: the grids
    // that show the object follow (a pin number changed here shows in the pin and part grids).
    if (IKXMessageServer* messages = GetKXMsgSrvr())
        messages->Broadcast(MSG_TRANSACTION_COMMITTED, 0, reinterpret_cast<LPARAM>(&transaction), 0);
    return true;
}

} // namespace

void CKXHostApp::ShowPowerPins(bool show) {
    const BOOL value = show ? TRUE : FALSE;
    if (CKXShareGlobalData::m_bShowPowerPins == value) return;
    CKXShareGlobalData::m_bShowPowerPins = value;
    CString line;
    line.Format("\n\n ' --- Show Power Pins ---\n\ncall RMX.ShowPowerPins(\"%d\")", show ? 1 : 0);
    if (CKXShareGlobalData::IsJournalling()) CKXShareGlobalData::AppendToJournal(line);
    // The open windows show the pins anew (or without them).
    if (IKXMessageServer* server = GetKXMsgSrvr()) server->Broadcast(MSG_SHOW_POWER_PINS_CHANGED, 0, 0, 0);
}

void CKXHostApp::RegisterDesignCommands() {
    CKXHostCore& core = m_core;
    // The host's option that shows the implicit power pins of the parts (read by every load).
    core.RegisterHostCommand("powerpins", [this](const Args& a, std::string& r) {
        if (a.size() != 1 || (a[0] != "on" && a[0] != "off")) {
            r = "usage: kx::powerpins on|off";
            return false;
        }
        ShowPowerPins(a[0] == "on");
        r = "1";
        return true;
    });
    core.RegisterHostCommand("importcsv", [](const Args& a, std::string& r) {
        if (!a.empty()) {
            r = "usage: kx::importcsv";
            return false;
        }
        IKXMessageServer* server = GetKXMsgSrvr();
        if (!server) {
            r = "no message server";
            return false;
        }
        r = std::to_string(server->Broadcast(MSG_IMPORT_CSV, 0, 0, 0));
        return true;
    });
    // kx::brackets angle|square: the host's bracket style of bit names in the name entries.
    core.RegisterHostCommand("brackets", [](const Args& a, std::string& r) {
        if (a.size() != 1 || (a[0] != "angle" && a[0] != "square")) {
            r = "usage: kx::brackets angle|square";
            return false;
        }
        CSchemaUtilities::setVectorDisplayFormat(a[0] == "square" ? 1 : 0);
        r = "1";
        return true;
    });
    // kx::highlight PATH: the host highlights a pin bit ("lib.cell:view@U1.D<2>") in the active window.
    core.RegisterHostCommand("highlight", [this](const Args& a, std::string& r) {
        std::unique_ptr<CContext> object(a.size() == 1 && m_pServer ? m_pServer->getContext(a[0].c_str()) : nullptr);
        // A scalar pin is named without a bit: its one bit is meant.
        if (auto* term = dynamic_cast<CInstTermContext*>(object.get()))
            object = std::make_unique<CInstTermBitContext>(term->bitContext(-1));
        auto* pin = dynamic_cast<CInstTermBitContext*>(object.get());
        if (a.size() != 1 || !pin || !*pin) {
            r = a.size() == 1 ? "no pin \"" + a[0] + "\"" : "usage: kx::highlight PIN_PATH";
            return false;
        }
        CFrameWnd* frame = ActiveFrame();
        if (!frame) {
            r = "no design window is open";
            return false;
        }
        const UINT msg = RegisterWindowMessageA("INT_MSG_HIGHLIGHT_PIN");
        r = std::to_string(static_cast<long>(frame->SendMessage(msg, reinterpret_cast<WPARAM>(pin), 0)));
        return true;
    });
    core.RegisterHostCommand("setprop", [this](const Args& a, std::string& r) { return SetProperty(a, r); });
}

bool CKXHostApp::SetProperty(const std::vector<std::string>& a, std::string& r) {
    if (a.size() != 3) {
        r = "usage: kx::setprop PATH NAME VALUE";
        return false;
    }
    if (!SetObjectProperty(m_pServer.get(), a, r)) return false;
    // No window journals a change made outside it: the host does, for a replay to make it again.
    KXJournalHostWords("Host Property", "SetProp", a);
    IKXMessageServer* server = GetKXMsgSrvr();
    const int reached = server ? server->Broadcast(MSG_OBJECT_PROPERTY_CHANGED, reinterpret_cast<WPARAM>(a[1].c_str()),
                                                   reinterpret_cast<LPARAM>(a[0].c_str()), 0)
                               : 0;
    r = std::to_string(reached);
    return true;
}
