// What the host's other tools send the design windows and what they hear from them: the objects a message
// of the host carries, made from the texts that name them (a highlighted object, a grid of the window, a
// cell, a change another tool committed); the selections the windows publish to the property editor, the
// associated-component viewer and the net browser, as those tools read them; and the model checker's
// answer before a save.
#include "KXHostApp.h"
#include "KXHostMainWnd.h"
#include "KXHostPeerTools.h"
#include "KXHostWordsJournal.h"

#include "afx/afxdoc.h"
#include "afx/afxwin.h"
#include "kxinstsigpane/CommonInterface.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxcommon/KXAssocCompStruct.h"
#include "kxcommon/KXHiliteObject.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxpropertyeditor/KXPropertyEditor.h"
#include "rmx/context.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <tcl.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <tuple>

namespace {

// The words of a Tcl list; false when the text is no list.
bool ListWords(const std::string& text, std::vector<std::string>& words) {
    int count = 0;
    const char** items = nullptr;
    if (Tcl_SplitList(nullptr, text.c_str(), &count, &items) != TCL_OK) return false;
    words.assign(items, items + count);
    Tcl_Free(reinterpret_cast<char*>(items));
    return true;
}

bool ParseWhole(const std::string& text, int lo, int hi, int& value) {
    return CKXHostApp::ParseNumber(text, value) && value >= lo && value <= hi;
}

// The panes a highlighted object goes to, by its kind: a component to the component list, a net to the
// signal list, a pin or a pair pin to the connectivity pane; 0 for anything else.
int HighlightType(const CContext& object) {
    switch (object.objectType()) {
    case 'I': return KX_HILITE_TYPE_COMPONENT;
    case 'N': return KX_HILITE_TYPE_SIGNAL;
    case 'T':
    case 'R': return KX_HILITE_TYPE_CONNECTIVITY;
    default: return 0;
    }
}

// The list grid of the component ("clp") or the signal list ("slp") of a document.
CWnd* ListGrid(CDocument* doc, bool signals) {
    for (POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr; pos;) {
        auto* list = dynamic_cast<CKXListPaneView*>(doc->GetNextView(pos));
        const bool isSignals = dynamic_cast<CKXSignalPaneContainerView*>(list) != nullptr;
        const bool isComponents = dynamic_cast<CKXInstancePaneContainerView*>(list) != nullptr;
        if (list && (signals ? isSignals : isComponents)) return list->GetActiveList();
    }
    return nullptr;
}

} // namespace

CWnd* CKXHostApp::GridWindow(const std::string& name, std::string& error) {
    std::istringstream in(name);
    std::string which, number, more;
    in >> which >> number >> more;
    CDocument* doc = ActiveDocument();
    if (!doc) {
        error = "no design window is open";
        return nullptr;
    }
    if ((which == "clp" || which == "slp") && number.empty()) {
        CWnd* grid = ListGrid(doc, which == "slp");
        if (!grid) error = "the list pane shows no list";
        return grid;
    }
    int n = 0;
    if (which != "ccp" || !more.empty() || !ParseNumber(number, n) || n < 1) {
        error = "a grid is clp, slp or ccp N, not \"" + name + "\"";
        return nullptr;
    }
    auto* pane = dynamic_cast<CCommonInterface*>(PaneViewOf(doc));
    if (!pane || n > pane->GetShownGridCount()) {
        error = "no grid " + number + ": the pane shows " + std::to_string(pane ? pane->GetShownGridCount() : 0) +
                " grid(s)";
        return nullptr;
    }
    return pane->GetShownGridWnd(n - 1);
}

CKXNotifyObjects::CKXNotifyObjects(CKXHostApp& app) : m_app(app) {}
CKXNotifyObjects::~CKXNotifyObjects() = default;

bool CKXNotifyObjects::Make(EKXMessageSlot slot, const std::string& text, std::uintptr_t& value, std::string& why) {
    value = 0;
    if (text.empty()) return true; // no object: the window gets none, as from a tool that had none
    std::vector<std::string> words;
    if (!ListWords(text, words) || words.empty()) {
        why = "not a list of words: " + text;
        return false;
    }
    switch (slot) {
    case EKXMessageSlot::Highlight: return MakeHighlight(words, value, why);
    case EKXMessageSlot::Change: return MakeChange(words, value, why);
    case EKXMessageSlot::Grid: {
        CWnd* grid = m_app.GridWindow(text, why);
        value = reinterpret_cast<std::uintptr_t>(grid);
        return grid != nullptr;
    }
    case EKXMessageSlot::Cell: {
        int row = 0, col = 0;
        if (words.size() != 2 || !ParseWhole(words[0], 0, 0xFFFF, row) || !ParseWhole(words[1], 0, 0xFFFF, col)) {
            why = "a cell is ROW COL, each from 0 to 65535";
            return false;
        }
        value = static_cast<std::uintptr_t>(MAKELONG(row, col));
        return true;
    }
    default:
        why = "no text names this operand";
        return false;
    }
}

// "PATH ?MODE? ?off?": the object by its path, highlighted (or its highlight taken away) in the highlight
// mode (default 3: the object highlighted before gets its colour back).
bool CKXNotifyObjects::MakeHighlight(const std::vector<std::string>& words, std::uintptr_t& value, std::string& why) {
    std::unique_ptr<CContext> object(m_app.Server() ? m_app.Server()->getContext(words[0].c_str()) : nullptr);
    const int type = object && *object ? HighlightType(*object) : 0;
    if (!type) {
        why = "no component, net or pin \"" + words[0] + "\"";
        return false;
    }
    auto hilite = std::make_unique<CKXHiliteObject>(true);
    hilite->SetMode(3);
    for (size_t i = 1; i < words.size(); ++i) {
        int mode = 0;
        if (words[i] == "off") hilite->SetHilite(false);
        else if (ParseWhole(words[i], 0, 3, mode)) hilite->SetMode(mode);
        else {
            why = "after the path, a highlight mode (0 to 3) or off, not \"" + words[i] + "\"";
            return false;
        }
    }
    hilite->SetType(type);
    hilite->SetObject(*object, object->bitNumber(), object->bitNumber());
    value = reinterpret_cast<std::uintptr_t>(hilite.get());
    m_hilites.push_back(std::move(hilite));
    return true;
}

// "PATH NAME ?VALUE?": the property set to the value on the object, or taken away without a value, in a
// transaction of the object's design; committed by Commit, before the message goes.
bool CKXNotifyObjects::MakeChange(const std::vector<std::string>& words, std::uintptr_t& value, std::string& why) {
    if (words.size() < 2 || words.size() > 3 || words[1].empty()) {
        why = "a change is PATH NAME ?VALUE?";
        return false;
    }
    std::unique_ptr<CContext> object(m_app.Server() ? m_app.Server()->getContext(words[0].c_str()) : nullptr);
    if (!object || !*object || !object->designContext()) {
        why = "no object \"" + words[0] + "\"";
        return false;
    }
    if (words.size() == 2 && !std::unique_ptr<CPQPropertyData>(object->findProperty(words[1].c_str()))) {
        why = "no property \"" + words[1] + "\" on \"" + words[0] + "\" to take away";
        return false;
    }
    m_changes.push_back({std::move(object), words});
    value = 0; // the committed transaction's, once Commit made it
    m_values.push_back(&value);
    return true;
}

bool CKXNotifyObjects::Commit(std::string& why) {
    IKXMessageServer* server = GetKXMsgSrvr();
    for (size_t i = 0; i < m_changes.size(); ++i) {
        const auto& [object, words] = m_changes[i];
        auto transaction = std::make_unique<CTransaction>(object->designContext(), "host change");
        const bool made = words.size() == 3 ? transaction->addProperty(*object, words[1].c_str(), words[2].c_str())
                                            : transaction->removeProperty(*object, words[1].c_str());
        if (!made || !transaction->commit()) {
            why = "the design refused the change \"" + words[1] + "\" on \"" + words[0] + "\"";
            TakeBack();
            return false;
        }
        // Like every commit made outside the editor's windows, it is announced to them first.
        if (server) server->Broadcast(MSG_TRANSACTION_COMMITTED, 0, reinterpret_cast<LPARAM>(transaction.get()), 0);
        *m_values[i] = reinterpret_cast<std::uintptr_t>(transaction.get());
        m_committed.push_back(std::move(transaction));
    }
    return true;
}

// A change the design refused after others were committed: those are taken back, newest first, so that the
// tool's changes are made together or not at all.
void CKXNotifyObjects::TakeBack() {
    IKXMessageServer* server = GetKXMsgSrvr();
    for (auto it = m_committed.rbegin(); it != m_committed.rend(); ++it) {
        CTransaction back(m_app.Server(), (*it)->toString(), true, false);
        if (back.commit() && server)
            server->Broadcast(MSG_TRANSACTION_COMMITTED, 0, reinterpret_cast<LPARAM>(&back), 0);
    }
    m_committed.clear();
}

// ------------------------------------------------------------------ the tools' messages

namespace {

// The usage of one message: its operands as its form names them.
std::string NotifyUsage(const SKXHostMessageForm& form) {
    auto operand = [](EKXMessageSlot slot, bool second) -> std::string {
        switch (slot) {
        case EKXMessageSlot::Text: return second ? " -text TEXT" : " TEXT";
        case EKXMessageSlot::Number: return " NUMBER";
        case EKXMessageSlot::Highlight: return " {PATH ?MODE? ?off?}";
        case EKXMessageSlot::Grid: return " clp|slp|{ccp N}";
        case EKXMessageSlot::Cell: return " {ROW COL}";
        case EKXMessageSlot::Change: return second ? " ?{PATH NAME ?VALUE?}?" : " {PATH NAME ?VALUE?}";
        default: return second ? "" : " {}";
        }
    };
    std::string usage = "usage: kx::notify " + std::string(form.name) + operand(form.wParam, false) +
                        operand(form.lParam, true);
    if (form.wParam == EKXMessageSlot::Object) usage += " (the first operand is an object of the host, which no text gives)";
    return usage;
}

// A slot whose object a text names: the text becomes the object (kept by `objects` while it is sent).
bool NamesObject(EKXMessageSlot slot) {
    return slot == EKXMessageSlot::Highlight || slot == EKXMessageSlot::Grid || slot == EKXMessageSlot::Cell ||
           slot == EKXMessageSlot::Change;
}

// One operand put in its slot: a text stays the word's text, a number must read as one, an object or an
// unread slot takes nothing but an empty word. False when the word does not fit the slot.
bool NotifyOperand(EKXMessageSlot slot, const std::string* word, std::uintptr_t& value) {
    value = 0;
    if (!word) return true;
    switch (slot) {
    case EKXMessageSlot::Text:
        value = reinterpret_cast<std::uintptr_t>(word->c_str());
        return true;
    case EKXMessageSlot::Number: {
        int number = 0;
        if (!CKXHostApp::ParseNumber(*word, number)) return false;
        value = static_cast<std::uintptr_t>(static_cast<LPARAM>(number));
        return true;
    }
    default:
        return word->empty();
    }
}

} // namespace

// kx::notify NAME ?TEXT? ?NUMBER | -text TEXT?: the host's message NAME, sent as the host's own windows and
// tools send it: a registered window message to the active design window, a message of the message server
// to every window that subscribed to it. Each operand goes where the message's form puts it (wParam the
// first, lParam the second): a text as a text, a number as a number, an object as the object the text
// names, so that a window never reads a number as a text; an operand that does not fit its slot is refused
// with the form's usage. The changes a message carries are committed before it goes, as the tool did.
bool CKXHostApp::Notify(const std::vector<std::string>& a, std::string& r) {
    const char* usage = "usage: kx::notify NAME ?TEXT? ?NUMBER | -text TEXT?";
    // The lParam text, when one is given: the last two words are "-text TEXT".
    const bool lText = a.size() >= 3 && a[a.size() - 2] == "-text";
    const size_t words = lText ? a.size() - 2 : a.size(); // NAME and the wParam text, and a number
    if (a.empty() || a.size() > 4 || (lText && words > 2) || (!lText && words > 3)) {
        r = usage;
        return false;
    }
    const SKXHostMessageForm* form = KXFindHostMessageForm(a[0]);
    if (!form) {
        r = "\"" + a[0] + "\" is no message that a design window takes";
        return false;
    }
    const std::string* first = words >= 2 ? &a[1] : nullptr;
    const std::string* second = lText ? &a.back() : words == 3 ? &a[2] : nullptr;
    std::uintptr_t wParam = 0, lParam = 0;
    CKXNotifyObjects objects(*this);
    std::string why;
    for (auto [slot, word, value] : {std::tuple(form->wParam, first, &wParam), std::tuple(form->lParam, second, &lParam)}) {
        const bool fits = NamesObject(slot) ? !word || objects.Make(slot, *word, *value, why)
                                            : NotifyOperand(slot, word, *value);
        if (!fits) {
            r = NotifyUsage(*form) + (why.empty() ? "" : " (" + why + ")");
            return false;
        }
    }
    CFrameWnd* frame = ActiveFrame();
    if (!frame && !form->serverNumber) {
        r = "no design window is open";
        return false;
    }
    if (!objects.Commit(why)) {
        r = why;
        return false;
    }
    if (form->serverNumber) {
        // The other tools' changes and cleared undo lists are made outside every window, so no window
        // journals them: the host does, for a replay to make them again, with the same undo steps.
        KXJournalHostWords("Message Of Another Tool", "Notify", a);
        // Every window that subscribed hears it; the answer is how many did.
        IKXMessageServer* server = GetKXMsgSrvr();
        r = std::to_string(server ? server->Broadcast(form->serverNumber, wParam, lParam, 0) : 0);
        return true;
    }
    const UINT msg = RegisterWindowMessageA(a[0].c_str());
    r = std::to_string(static_cast<long>(
        frame->SendMessage(msg, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam))));
    return true;
}


// ------------------------------------------------------------------ what the windows publish

namespace {

const char* ConnObjKind(int kind) {
    switch (kind) {
    case CKXConnObjInfo::INSTANCE: return "instance";
    case CKXConnObjInfo::NET: return "net";
    case CKXConnObjInfo::PIN: return "pin";
    case CKXConnObjInfo::BUS: return "bus";
    default: return "object";
    }
}

// A property editor's record: "KIND NAME FIRST SECOND", a pin named by its component and its name.
std::string PropertyRecord(const CKXConnObjInfo& record) {
    std::string name = record.m_strName.str();
    if (record.m_nKind == CKXConnObjInfo::PIN && record.m_pInstance && record.m_pInstance->instance()) {
        char* end = nullptr;
        const unsigned long id = std::strtoul(name.c_str(), &end, 10);
        IInstTerm* pin = end && !*end ? record.m_pInstance->instance()->findInstTerm(static_cast<unsigned>(id)) : nullptr;
        name = std::string(record.m_pInstance->instance()->name()) + "." + (pin ? pin->name() : name.c_str());
    }
    return std::string(ConnObjKind(record.m_nKind)) + " " + name + " " + std::to_string(record.m_nFirstBit) + " " +
           std::to_string(record.m_nSecondBit);
}

const char* AssocKind(int type) {
    switch (type) {
    case CKXAssocCompStruct::NET: return "netbit";
    case CKXAssocCompStruct::PIN: return "pin";
    case CKXAssocCompStruct::CONTAINER: return "pair";
    default: return "object";
    }
}

std::string Joined(const std::vector<std::string>& records) {
    std::string line;
    for (const std::string& record : records)
        line += (line.empty() ? "" : "; ") + record;
    return line.empty() ? "none" : line;
}

} // namespace

std::string KXPublishedLine(UINT message, WPARAM wParam, LPARAM lParam) {
    std::vector<std::string> records;
    if (message == MSG_PROPERTY_EDITOR_SELECTION) {
        if (const auto* list = reinterpret_cast<const CKXConnObjInfoList*>(wParam))
            for (INT_PTR i = 0; i < list->GetSize(); ++i)
                if (const CKXConnObjInfo* record = list->GetAt(i)) records.push_back(PropertyRecord(*record));
        return "propertyeditor: " + Joined(records);
    }
    if (message == MSG_ASSOC_COMP_VIEWER_SELECTION) {
        if (const auto* list = reinterpret_cast<const CKXAssocCompArray*>(lParam))
            for (const auto& record : *list)
                if (record && record->m_pContext)
                    records.push_back(std::string(AssocKind(record->m_nType)) + " " + record->m_pContext->spath().str());
        return "assoccompviewer: " + Joined(records);
    }
    const auto* net = reinterpret_cast<const CNetContext*>(wParam);
    return std::string("net: ") + (net && net->net() ? net->net()->name() : "none");
}

const std::vector<UINT>& KXPublishedMessages() {
    static const std::vector<UINT> messages = {MSG_PROPERTY_EDITOR_SELECTION, MSG_ASSOC_COMP_VIEWER_SELECTION,
                                               MSG_NET_SELECTED};
    return messages;
}

void CKXHostApp::RegisterPeerCommands() {
    using Args = std::vector<std::string>;
    // kx::published: what the windows published since the last call, one line a publication.
    m_core.RegisterHostCommand("published", [this](const Args& a, std::string& r) {
        if (!a.empty() || !m_pMainWnd) {
            r = "usage: kx::published";
            return false;
        }
        r.clear();
        for (const std::string& line : m_pMainWnd->TakePublished())
            r += (r.empty() ? "" : "\n") + line;
        return true;
    });
    // kx::modelcheck ?0|1?: the answer the host's model checker gives before a save (1: no model errors).
    m_core.RegisterHostCommand("modelcheck", [this](const Args& a, std::string& r) {
        if (a.size() > 1 || (a.size() == 1 && a[0] != "0" && a[0] != "1") || !m_pMainWnd) {
            r = "usage: kx::modelcheck ?0|1?";
            return false;
        }
        if (a.size() == 1) m_pMainWnd->SetModelErrorAnswer(a[0] == "1" ? 1 : 0);
        r = std::to_string(m_pMainWnd->ModelErrorAnswer());
        return true;
    });
}
