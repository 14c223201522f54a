// The host's own Tcl commands (namespace kx::) and the journal replay.
#include "KXHostApp.h"
#include "KXHostWordsJournal.h"

#include "KXHostMainWnd.h"
#include "KXHostText.h"

#include "afx/afx.h"
#include "afx/afxanswer.h"
#include "afx/afxdisp.h"
#include "afx/afxdoc.h"
#include "kxcommon/KXDocument.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxinstsigpane/CommonInterface.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/context.h"
#include "rmx/schema.h"
#include "rmx/server.h"

#include <tcl.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {
int QuestionAnswer(std::string a) {
    std::transform(a.begin(), a.end(), a.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (a == "yes") return IDYES;
    if (a == "no") return IDNO;
    if (a == "ok") return IDOK;
    if (a == "cancel") return IDCANCEL;
    if (a == "retry") return IDRETRY;
    return 0;
}

const std::map<std::string, const char*>& OptionMessages() {
    static const std::map<std::string, const char*> m = {
        {"show_row_numbers", "INT_MSG_SETUP_SHOW_ROW_NUMBERS"},
        {"auto_complete_signals", "INT_MSG_SETUP_AUTOCOMPLETE_CCP_SCP"},
        {"show_signal_combo_in_ccp", "INT_MSG_SETUP_SHOW_SIGNALCOMBO_CCP"},
        {"move_direction", "INT_MSG_SETUP_MOVEDIRECTION"},
        {"naming_convention_on_copy", "INT_MSG_SETUP_NAMINGCONVENTION_ONCOPY"},
        {"show_dp_signals_slp", "INT_MSG_SETUP_SHOW_DPSIGNALS_SLP"},
        {"show_dp_pins_ccp", "INT_MSG_SETUP_SHOW_DPPINS_CCP"},
        // Read by each paste: no window needs telling.
        {"on_paste_prompt_before_overwrite", nullptr},
    };
    return m;
}

using Args = std::vector<std::string>;

bool HostOpen(CKXHostApp& app, const Args& a, std::string& r) {
    const bool block = !a.empty() && a[0] == "-block";
    const std::size_t first = block ? 1 : 0;
    if (a.size() <= first || a.size() > first + 2) {
        r = "usage: kx::open LIB.CELL:VIEW ?MODE? | kx::open -block INSTANCE ?MODE?";
        return false;
    }
    int mode = block ? 2 : 1;
    if (a.size() == first + 2 && !CKXHostApp::ParseNumber(a[first + 1], mode)) {
        r = "the open mode is a number (0, 1, 2, 3, 4 or 6), not \"" + a[first + 1] + "\"";
        return false;
    }
    std::string err;
    const bool opened = block ? app.OpenBlock(a[first], mode, err) : app.Open(a[0], mode, err);
    // A design that did not open is said on standard error too, and in the exit status: a batch run learns
    // that what it asked to open could not be opened.
    app.NoteOpen(a[first], opened, err);
    if (!opened) app.Core().Print("error: " + err);
    r = opened ? "1" : "0";
    return true;
}

bool HostClose(CKXHostApp& app, const Args& a, std::string& r) {
    if (!a.empty()) {
        r = "usage: kx::close";
        return false;
    }
    std::string err;
    bool closed = false;
    if (!app.Close(err, closed)) {
        r = err;
        return false;
    }
    r = closed ? "1" : "0";
    return true;
}

bool HostTab(CKXHostApp& app, const Args& a, std::string& r) {
    if (a.size() != 1) {
        r = "usage: kx::tab NUMBER";
        return false;
    }
    int tab = 0;
    if (!CKXHostApp::ParseNumber(a[0], tab)) {
        r = "the design window is a number, not \"" + a[0] + "\"";
        return false;
    }
    std::string err;
    if (!app.ActivateTab(tab, err)) {
        r = err;
        return false;
    }
    r = "1";
    return true;
}

bool HostAnswer(CKXHostApp&, const Args& a, std::string& r) {
    if (a.size() < 3 || (a.size() - 3) % 2 != 0) {
        r = "usage: kx::answer question|dialog|menu KEY ANSWER ?FIELD VALUE ...?";
        return false;
    }
    const std::string& kind = a[0];
    if (kind == "question") {
        int answer = QuestionAnswer(a[2]);
        if (!answer || a.size() != 3) {
            r = "a question is answered yes, no, ok, cancel or retry";
            return false;
        }
        AfxGetAnswerQueue().PushQuestion(a[1].c_str(), answer);
    } else if (kind == "dialog") {
        int answer = QuestionAnswer(a[2]);
        if (answer != IDOK && answer != IDCANCEL) {
            r = "a dialog is answered ok or cancel";
            return false;
        }
        std::map<CString, CString> fields;
        for (size_t i = 3; i + 1 < a.size(); i += 2)
            fields[a[i].c_str()] = a[i + 1].c_str();
        AfxGetAnswerQueue().PushDialog(a[1].c_str(), answer == IDOK, std::move(fields));
    } else if (kind == "menu") {
        char* end = nullptr;
        long id = std::strtol(a[2].c_str(), &end, 10);
        if (!end || *end || id < 0 || a.size() != 3) {
            r = "a menu is answered with a command id";
            return false;
        }
        AfxGetAnswerQueue().PushMenu(static_cast<UINT>(id));
    } else {
        r = "the kind is question, dialog or menu, not \"" + kind + "\"";
        return false;
    }
    r = "";
    return true;
}

bool HostMessages(CKXHostApp& app, const Args&, std::string& r) {
    r = KXHostTclList(app.Core().TakeMessages());
    return true;
}

bool HostEchoes(CKXHostApp& app, const Args&, std::string& r) {
    r = KXHostTclList(app.Core().TakeEchoes());
    return true;
}

bool HostNetlist(CKXHostApp& app, const Args&, std::string& r) {
    std::string err;
    std::vector<std::string> lines = app.Netlist(err);
    if (!err.empty()) {
        r = err;
        return false;
    }
    r = KXHostJoin(lines, "\n");
    return true;
}

// kx::history: the undo history of every open design window, in opening order.
bool HostHistory(CKXHostApp& app, const Args& a, std::string& r) {
    if (!a.empty()) {
        r = "usage: kx::history";
        return false;
    }
    std::vector<std::string> lines;
    int number = 0;
    for (CDocument* doc : app.Documents()) {
        lines.push_back("window " + std::to_string(++number));
        auto* pane = dynamic_cast<CCommonInterface*>(CKXHostApp::PaneViewOf(doc));
        const std::string steps = pane ? pane->GetUndoHistoryText().str() : std::string();
        if (!steps.empty()) lines.push_back(steps);
    }
    r = KXHostJoin(lines, "\n");
    return true;
}

bool HostProp(CKXHostApp& app, const Args& a, std::string& r) {
    if (a.size() != 2) {
        r = "usage: kx::prop PATH NAME";
        return false;
    }
    // Through a context, so that a bit path (U1.DQ<3>) reads the bit's own properties.
    std::unique_ptr<CContext> ctx(app.Server() ? app.Server()->getContext(a[0].c_str()) : nullptr);
    if (!ctx || !*ctx) {
        r = "no object \"" + a[0] + "\"";
        return false;
    }
    std::unique_ptr<CPQPropertyData> p(ctx->findProperty(a[1].c_str()));
    if (!p) {
        r = "no property \"" + a[1] + "\" on \"" + a[0] + "\"";
        return false;
    }
    r = p->value();
    return true;
}

bool HostOption(CKXHostApp& app, const Args& a, std::string& r) {
    if (a.size() != 2) {
        r = "usage: kx::option NAME VALUE";
        return false;
    }
    if (!app.SetOption(a[0], a[1], r)) return false;
    r = "";
    return true;
}

// What the window's update handler makes of a menu item, as a menu about to drop down asks it: a command
// that nothing in the window handles is disabled.
std::string MenuItemState(CFrameWnd* frame, UINT id) {
    constexpr UINT kFirstSystemCommand = 0xF000; // no command of a window's menus
    if (id == 0 || id >= kFirstSystemCommand) return "disabled";
    CCmdUI ui;
    ui.m_nID = id;
    ui.DoUpdate(frame, TRUE);
    std::string state = ui.m_bEnableChanged && !ui.m_bEnabled ? "disabled" : "enabled";
    if (ui.m_nCheck == 1) state += " checked";
    if (ui.m_bTextChanged) state += " \"" + ui.m_strText.str() + "\"";
    return state;
}

bool HostMenu(CKXHostApp& app, const Args& a, std::string& r) {
    int number = 0;
    if (a.size() != 1 || !CKXHostApp::ParseNumber(a[0], number) || number < 0) {
        r = "usage: kx::menu COMMAND_ID (a menu command's number)";
        return false;
    }
    CFrameWnd* frame = app.ActiveFrame();
    if (!frame) {
        r = "no design window is open";
        return false;
    }
    const UINT id = static_cast<UINT>(number);
    if (MenuItemState(frame, id).rfind("disabled", 0) == 0) {
        app.Core().Print("menu " + a[0] + " is disabled");
        r = "0";
        return true;
    }
    // The command answers 0 when its handler refused or a command it asked the host to run did; 2 when
    // its dialog was closed without a change.
    const int refused = app.Core().RefusedRequests();
    const LRESULT answer = frame->SendMessage(MSG_RUN_MENU_COMMAND, id, 0);
    r = app.Core().RefusedRequests() == refused ? std::to_string(answer) : "0";
    return true;
}

// What the active window's update handler makes of a menu item, without running it: "enabled" or
// "disabled", then "checked" for a check mark and the item's text when the handler sets one.
bool HostMenuState(CKXHostApp& app, const Args& a, std::string& r) {
    int id = 0;
    if (a.size() != 1 || !CKXHostApp::ParseNumber(a[0], id) || id <= 0) {
        r = "usage: kx::menustate COMMAND_ID";
        return false;
    }
    CFrameWnd* frame = app.ActiveFrame();
    if (!frame) {
        r = "no design window is open";
        return false;
    }
    r = MenuItemState(frame, static_cast<UINT>(id));
    return true;
}

bool HostCall(CKXHostApp& app, const Args& a, std::string& r) {
    if (a.empty()) {
        r = "usage: kx::call METHOD ?ARG ...?";
        return false;
    }
    auto* doc = dynamic_cast<CKXDocument*>(app.ActiveDocument());
    IDispatch* disp =
        doc && doc->m_pKXDocInterface ? doc->m_pKXDocInterface->GetDocumentInterface() : nullptr;
    if (!disp) {
        r = "no design window is open";
        return false;
    }
    std::string usage;
    if (!CKXHostApp::MethodUsage(disp, "kx::call", a[0], usage)) {
        disp->Release();
        return kxhost::Fail(r, usage);
    }
    std::vector<COleVariant> args;
    for (size_t i = 1; i < a.size(); ++i)
        args.emplace_back(a[i].c_str());
    const size_t given = args.size();
    COleVariant result;
    HRESULT hr = app.InvokeOnDocument(doc, disp, a[0].c_str(), std::move(args), &result);
    if (FAILED(hr)) return kxhost::Fail(r, CKXHostApp::MethodCallFailure(usage, given, hr));
    r = result.vt == VT_EMPTY ? std::string() : AfxVariantToString(&result).str();
    return true;
}

bool HostJournal(CKXHostApp&, const Args& a, std::string& r) {
    if (a.size() > 1) {
        r = "usage: kx::journal ?FILE.vbs?";
        return false;
    }
    if (a.empty() || a[0].empty()) {
        CKXShareGlobalData::SetAutomationPath(nullptr);
    } else if (!CKXHostApp::CanJournalTo(a[0], r)) {
        return false;
    } else {
        CKXShareGlobalData::SetAutomationPath(a[0].c_str());
    }
    r = "";
    return true;
}

bool HostReplay(CKXHostApp& app, const Args& a, std::string& r) {
    if (a.size() != 1) {
        r = "usage: kx::replay FILE.vbs";
        return false;
    }
    std::string err;
    if (!app.Replay(a[0], err)) {
        r = err;
        return false;
    }
    r = "1";
    return true;
}

bool HostNotify(CKXHostApp& app, const Args& a, std::string& r) {
    return app.Notify(a, r);
}

// kx::clipview ITEM: what the host's clipboard viewer does when the user pastes its item ITEM (1 the
// newest): INT_MSG_FROM_CLIPBOARDVIEWER with the item number (wParam) to the active design window.
bool HostClipView(CKXHostApp& app, const Args& a, std::string& r) {
    char* end = nullptr;
    const long item = a.size() == 1 ? std::strtol(a[0].c_str(), &end, 10) : 0;
    if (a.size() != 1 || !end || *end || item < 1) {
        r = "usage: kx::clipview ITEM (a number from 1)";
        return false;
    }
    CFrameWnd* frame = app.ActiveFrame();
    if (!frame) {
        r = "no design window is open";
        return false;
    }
    const UINT msg = RegisterWindowMessageA("INT_MSG_FROM_CLIPBOARDVIEWER");
    r = std::to_string(static_cast<long>(frame->SendMessage(msg, static_cast<WPARAM>(item), 0)));
    return true;
}

// kx::translog ?FILE?: the transaction log the editor writes to (appended to), or none.
bool HostTransLog(CKXHostApp&, const Args& a, std::string& r) {
    struct Log {
        FILE* file = nullptr;
        void Close() {
            if (CKXShareGlobalData::m_fpTransLogFile == file) CKXShareGlobalData::m_fpTransLogFile = nullptr;
            if (file) std::fclose(file);
            file = nullptr;
        }
        ~Log() { Close(); }
    };
    static Log log;
    if (a.size() > 1) {
        r = "usage: kx::translog ?FILE?";
        return false;
    }
    log.Close();
    r = "1";
    if (a.empty()) return true;
    log.file = std::fopen(a[0].c_str(), "ab");
    if (!log.file) {
        r = "cannot open the transaction log " + a[0];
        return false;
    }
    CKXShareGlobalData::m_fpTransLogFile = log.file;
    return true;
}

// The host's words, each run by its function with the host.
struct SKXHostCommand {
    const char* name;
    bool (*run)(CKXHostApp& app, const Args& a, std::string& r);
};

const SKXHostCommand kHostCommands[] = {
    {"open", HostOpen},
    {"close", HostClose},
    {"tab", HostTab},
    {"answer", HostAnswer},
    {"messages", HostMessages},
    {"echoes", HostEchoes},
    {"netlist", HostNetlist},
    {"history", HostHistory},
    {"prop", HostProp},
    {"option", HostOption},
    {"menu", HostMenu},
    {"menustate", HostMenuState},
    {"call", HostCall},
    {"journal", HostJournal},
    {"replay", HostReplay},
    {"translog", HostTransLog},
    {"notify", HostNotify},
    {"clipview", HostClipView},
};

} // namespace

bool CKXHostApp::SetOption(const std::string& name, const std::string& value, std::string& error) {
    auto it = OptionMessages().find(name);
    if (it == OptionMessages().end()) {
        error = "unknown option \"" + name + "\"";
        return false;
    }
    // The registry value the editor reads at start-up (the pin grid's pair option has its own name).
    const std::string key = name == "show_dp_pins_ccp" ? "show_dp_pins_in_ccp" : name;
    CKXRegistrySettings::OpenRegistryKey();
    if (name == "move_direction")
        CKXRegistrySettings::SetToRegistry(key.c_str(), value.c_str());
    else
        CKXRegistrySettings::SetToRegistry(key.c_str(), std::atoi(value.c_str()));
    CKXRegistrySettings::CloseRegistryKey();
    // Before the windows' own lines: a replay sets the option first, as the session did.
    KXJournalHostWords("Set Option", "SetOption", {name, value});
    if (!it->second) return true;
    UINT msg = RegisterWindowMessageA(it->second);
    for (CDocument* doc : Documents()) {
        POSITION pos = doc->GetFirstViewPosition();
        CView* view = pos ? doc->GetNextView(pos) : nullptr;
        if (CFrameWnd* frame = view ? view->GetParentFrame() : nullptr)
            frame->SendMessage(msg, 0, reinterpret_cast<LPARAM>(value.c_str()));
    }
    return true;
}

void CKXHostApp::RegisterCommands() {
    for (const SKXHostCommand& command : kHostCommands)
        m_core.RegisterHostCommand(command.name, [this, run = command.run](const Args& a, std::string& r) {
            return run(*this, a, r);
        });
    // A host command the library's echoes name; it is never run from an echo (echoes are records).
    std::string ignored;
    m_core.Eval("proc ::switchTab {args} {return 1}", ignored);
    m_core.RegisterWordCommand();
    RegisterGridCommands();
    RegisterFrameCommands();
    RegisterObjectCommands();
    RegisterPaneCommands();
    RegisterDesignCommands();
    RegisterPeerCommands();
}
