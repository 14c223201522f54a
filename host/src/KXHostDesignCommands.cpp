// What the host application itself does to a design while the editor is open, and tells the
// open windows through the message server: a CSV import of logical pin names, and a property
// changed on an object outside the editor (the host's own property editor); and the host's
// option that shows the parts' implicit power pins; and the schematic tool's edits of the active
// window's design (a port's width, an instance, a net or a pin renamed, a pin's type or width).
#include "KXHostApp.h"
#include "KXHostText.h"
#include "KXHostWordsJournal.h"

#include "afx/afxdoc.h"
#include "afx/afxwin.h"
#include "kxcommon/KXDocument.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/context.h"
#include "rmx/schemautil.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <cstdlib>
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

// A pin-type word of the schematic tool and its type and direction codes.
bool PinTypeOf(const std::string& word, ITerm::ITermType& type, int& direction) {
    static const struct {
        const char* word;
        ITerm::ITermType type;
        int direction;
    } kTypes[] = {{"input", ITerm::eTermInput, ITerm::eDirInput},
                  {"output", ITerm::eTermOutput, ITerm::eDirOutput},
                  {"bidirectional", ITerm::eTermBidirectional, ITerm::eDirInout},
                  {"inout", ITerm::eTermInout, ITerm::eDirInout},
                  {"power", ITerm::eTermPower, ITerm::eDirInout},
                  {"ground", ITerm::eTermGround, ITerm::eDirInout}};
    for (const auto& t : kTypes)
        if (word == t.word) {
            type = t.type;
            direction = t.direction;
            return true;
        }
    return false;
}

bool BitNumber(const std::string& text, int& bit) {
    char* end = nullptr;
    const long value = text.empty() ? -2 : std::strtol(text.c_str(), &end, 10);
    if (!end || *end || value < -1 || value > 1000000) return false;
    bit = static_cast<int>(value);
    return true;
}

const char* const kSchematicUsage = "usage: kx::schematic port NAME MSB LSB | instance OLD NEW | net OLD NEW | "
                                    "pin INSTANCE OLD NEW | "
                                    "pintype INSTANCE PIN input|output|bidirectional|inout|power|ground | "
                                    "pinwidth INSTANCE PIN MSB LSB";

// The schematic tool's edits of an instance's pin: its name, its type, its bit range.
bool ApplyPinEdit(CTransaction& t, IDesign& d, const Args& a, IInstance*& changed, std::string& r) {
    const std::string& what = a[0];
    ITerm::ITermType type = ITerm::eTermTypeUnknown;
    int direction = 0, msb = 0, lsb = 0;
    const bool wellFormed = what == "pin"       ? a.size() == 4
                            : what == "pintype" ? a.size() == 4 && PinTypeOf(a[3], type, direction)
                                                : a.size() == 5 && BitNumber(a[3], msb) && BitNumber(a[4], lsb);
    if (!wellFormed) return (r = kSchematicUsage), false;
    changed = d.findInstance(a[1].c_str());
    IInstTerm* pin = changed ? changed->findInstTerm(a[2].c_str()) : nullptr;
    if (!pin) return (r = "no pin \"" + a[1] + " " + a[2] + "\""), false;
    if (what == "pin") return t.renameInstTerm(pin, a[3].c_str());
    return what == "pintype" ? t.changeInstTermType(pin, type, direction) : t.changeInstTermWidth(pin, msb, lsb);
}

// The schematic tool's edit in the transaction; the changed instance, if the edit changed one, in `changed`.
bool ApplySchematicEdit(CTransaction& t, IDesign& d, const Args& a, IInstance*& changed, std::string& r) {
    const std::string& what = a[0];
    if (what == "port") {
        int msb = 0, lsb = 0;
        if (a.size() != 4 || !BitNumber(a[2], msb) || !BitNumber(a[3], lsb)) return (r = kSchematicUsage), false;
        ITerm* port = d.findPort(a[1].c_str());
        if (!port) return (r = "no port \"" + a[1] + "\""), false;
        return t.changePortWidth(port, msb, lsb);
    }
    if (what == "instance" || what == "net") {
        if (a.size() != 3) return (r = kSchematicUsage), false;
        if (what == "net") {
            INet* net = d.findNet(a[1].c_str());
            if (!net) return (r = "no net \"" + a[1] + "\""), false;
            return t.renameNet(net, a[2].c_str());
        }
        changed = d.findInstance(a[1].c_str());
        if (!changed) return (r = "no instance \"" + a[1] + "\""), false;
        return t.renameInstance(changed, a[2].c_str());
    }
    if (what == "pin" || what == "pintype" || what == "pinwidth") return ApplyPinEdit(t, d, a, changed, r);
    return (r = kSchematicUsage), false;
}

} // namespace

bool CKXHostApp::SchematicEdit(const std::vector<std::string>& a, std::string& r) {
    if (a.empty()) return (r = kSchematicUsage), false;
    auto* doc = dynamic_cast<CKXDocument*>(ActiveDocument());
    const CDesignContext design = doc ? doc->GetMasterDesignContext() : CDesignContext();
    if (!design.design()) return (r = "no design window is open"), false;
    CTransaction transaction(design, "schematic");
    IInstance* changed = nullptr;
    r.clear();
    const bool applied = ApplySchematicEdit(transaction, *design.design(), a, changed, r);
    if (applied && transaction.beginChange().atEnd()) {
        // The design has what the edit gives it already: nothing to commit, journal or announce.
        transaction.discard();
        CKXErrorHandler::MessageBoxOk("KXPANE-760", KXHostJoin(a, " ").c_str());
        r = "0";
        return true;
    }
    if (!applied || !transaction.commit()) {
        if (r.empty()) r = "the design refused the change: " + std::string(transaction.lastError().GetString());
        transaction.discard();
        return false;
    }
    // The journal holds the tool's edit, so that a replay makes it where the session did.
    KXJournalHostWords("Schematic Edit", "Schematic", a);
    // Announced as every commit made outside the editor's windows; then the tool's own notices: the list
    // renames its row, and the grids showing the instance read it again.
    IKXMessageServer* messages = GetKXMsgSrvr();
    if (messages) messages->Broadcast(MSG_TRANSACTION_COMMITTED, 0, reinterpret_cast<LPARAM>(&transaction), 0);
    if (a[0] == "instance")
        if (CFrameWnd* frame = ActiveFrame())
            frame->SendMessage(RegisterWindowMessageA("INT_MSG_RENAME_INSTANCE"),
                               reinterpret_cast<WPARAM>(a[1].c_str()), reinterpret_cast<LPARAM>(a[2].c_str()));
    if (changed && messages) messages->Broadcast(MSG_INSTANCE_CHANGED, reinterpret_cast<WPARAM>(changed), 0, 0);
    r = "1";
    return true;
}

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
    core.RegisterHostCommand("schematic", [this](const Args& a, std::string& r) { return SchematicEdit(a, r); });
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
