// Replay of a VBScript journal: each line is read whole (KXJournalLine.h) before any of it runs;
// any other line, and a selection that finds no row or cell, is refused with its line number, and
// the replay stops there.
#include "KXHostApp.h"

#include "KXHostMainWnd.h"
#include "KXHostWordsJournal.h"
#include "KXJournalLine.h"

#include "afx/afxdisp.h"
#include "afx/afxdoc.h"
#include "kxcommon/KXAutoConnectDpLeg.h"
#include "kxcommon/KXDocument.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXBracketActions.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// The methods that select a list's row or a grid's rows and cells (Select, SelectSignalCol,
// CtrSelectPinNameCol, MatrixSelectRow, ...): their 0 means nothing was found to select.
bool IsSelection(const std::string& method) {
    return method.find("Select") != std::string::npos;
}

} // namespace

HRESULT CKXHostApp::InvokeOnDocument(CDocument* doc, IDispatch* disp, const char* method,
                                     std::vector<COleVariant> args, COleVariant* result) {
    HRESULT hr = AfxInvokeByName(disp, method, std::move(args), result);
    std::vector<CDocument*> open = Documents();
    if (!doc || std::find(open.begin(), open.end(), doc) != open.end()) disp->Release();
    return hr;
}

bool CKXHostApp::MethodUsage(IDispatch* disp, const std::string& command, const std::string& method,
                             std::string& usage) {
    std::string types;
    if (!AfxGetMethodParamTypes(disp, method.c_str(), types)) {
        usage = command + " has no method \"" + method + "\"";
        return false;
    }
    usage = "usage: " + command + " " + method;
    for (const char type : types) {
        const auto vt = static_cast<unsigned char>(type) & 0x3F;
        usage += vt == VT_VARIANT ? " ?VALUE?" : vt == VT_BOOL ? " 0|1" : vt == VT_BSTR ? " TEXT" : " NUMBER";
    }
    return true;
}

std::string CKXHostApp::MethodCallFailure(const std::string& usage, size_t given, HRESULT hr) {
    if (hr == DISP_E_BADPARAMCOUNT || hr == DISP_E_PARAMNOTOPTIONAL)
        return usage + " (" + std::to_string(given) + (given == 1 ? " argument" : " arguments") + " given)";
    if (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_OVERFLOW) return usage + " (an argument is no such value)";
    return usage + " (the call failed)";
}

IDispatch* CKXHostApp::HandleObject(const std::string& handle, CDocument** document) {
    CDocument* bound = nullptr;
    for (auto& h : m_handles)
        if (h.first == handle) bound = h.second;
    std::vector<CDocument*> open = Documents();
    if (std::find(open.begin(), open.end(), bound) == open.end()) bound = nullptr; // closed since
    // A handle that no "set" line bound names the active design window (the journal of a
    // single window names it by its block).
    auto* doc = dynamic_cast<CKXDocument*>(bound ? bound : ActiveDocument());
    *document = doc;
    return doc && doc->m_pKXDocInterface ? doc->m_pKXDocInterface->GetDocumentInterface() : nullptr;
}

bool CKXHostApp::ReplayHostWords(int kind, const std::vector<std::string>& words, std::string& result) {
    switch (kind) {
    case SKXJournalLine::SetOption:
        if (words.size() != 2) return result = "usage: RMX.SetOption(\"NAME VALUE\")", false;
        return SetOption(words[0], words[1], result);
    case SKXJournalLine::Notify:
        return Notify(words, result);
    case SKXJournalLine::SetProp:
        return SetProperty(words, result);
    case SKXJournalLine::Schematic:
        return SchematicEdit(words, result);
    default:
        result = "no host line";
        return false;
    }
}

bool CKXHostApp::ReplayLine(const std::string& raw, int number, std::string& error) {
    SKXJournalLine line;
    std::string why;
    bool read = KXParseJournalLine(raw, line, why);
    auto refuse = [&](const std::string& reason) {
        error = "line " + std::to_string(number) + ": " + reason + ": " + line.text;
        return false;
    };
    if (!read) return refuse(why);
    std::string err;
    switch (line.kind) {
    case SKXJournalLine::Ignored: {
        // The lines of one recorded undo step make steps of its name.
        std::string step;
        static const std::string ends = KXJournalStepEnds().substr(KXJournalStepEnds().find_first_not_of(' '));
        if (KXReadJournalStepBegins(line.text, step)) KXNameReplayedSteps(step.c_str());
        else if (line.text == ends) KXNameReplayedSteps(nullptr);
        return true;
    }
    case SKXJournalLine::SetHandle: {
        CDocument* doc = ActiveDocument();
        if (!doc) return refuse("no design window is open");
        for (auto& h : m_handles)
            if (h.first == line.handle) {
                h.second = doc;
                return true;
            }
        m_handles.emplace_back(line.handle, doc);
        return true;
    }
    case SKXJournalLine::SelectTab: {
        int tab = 0;
        if (!ParseNumber(AfxVariantToString(&line.calls[0].args[0]).str(), tab))
            return refuse("not a design window number");
        return ActivateTab(tab, err) || refuse(err);
    }
    case SKXJournalLine::OpenDesign:
    case SKXJournalLine::OpenBlock: {
        const std::vector<COleVariant>& args = line.calls[0].args;
        int mode = 0;
        if (!ParseNumber(AfxVariantToString(&args[1]).str(), mode)) return refuse("not an open mode");
        const std::string name = AfxVariantToString(&args[0]).str();
        return (line.kind == SKXJournalLine::OpenDesign ? Open(name, mode, err) : OpenBlock(name, mode, err)) ||
               refuse(err);
    }
    case SKXJournalLine::ShowPowerPins:
    case SKXJournalLine::AutoConnectDpLeg: {
        const std::string value = AfxVariantToString(&line.calls[0].args[0]).str();
        if (value != "0" && value != "1") return refuse("not 0 or 1");
        if (line.kind == SKXJournalLine::ShowPowerPins) ShowPowerPins(value == "1");
        else KXReplayAutoConnectDpLeg(value == "1" ? 1 : 0);
        return true;
    }
    case SKXJournalLine::Notify:
    case SKXJournalLine::SetProp:
    case SKXJournalLine::SetOption:
    case SKXJournalLine::Schematic: {
        // Another tool's message or edit, a property the host set: made again from the words journalled.
        std::vector<std::string> words;
        if (!KXHostLineWords(line, words, err)) return refuse(err);
        return ReplayHostWords(line.kind, words, err) || refuse(err);
    }
    case SKXJournalLine::BeginStep: {
        // The calls of one edit, each a step of its own when run alone, make one step together.
        static int groups = 0;
        if (CKXShareGlobalData::m_nReplayStepGroup) return refuse("a step begun inside another");
        CKXShareGlobalData::m_nReplayStepGroup = ++groups;
        return true;
    }
    case SKXJournalLine::EndStep:
        if (!CKXShareGlobalData::m_nReplayStepGroup) return refuse("no step was begun");
        CKXShareGlobalData::m_nReplayStepGroup = 0;
        KXReplayGroupEnded(); // what the group journalled is its one step
        return true;
    case SKXJournalLine::Call:
        break;
    }
    return ReplayCalls(line, err) || refuse(err);
}

// The calls of a line, each on the result of the one before, the first on the line's design window.
bool CKXHostApp::ReplayCalls(SKXJournalLine& line, std::string& reason) {
    const auto refuse = [&](const std::string& why) {
        reason = why;
        return false;
    };
    CDocument* doc = nullptr;
    IDispatch* obj = HandleObject(line.handle, &doc);
    if (!obj) return refuse("no design window is open");
    // The line acts on the window its handle names, active or not: a word the window's editor asks the
    // host for (a pane's Delete sends deleteConnection) acts there too, as it did when it was journalled.
    struct CallWindow {
        CKXHostApp& app;
        CDocument* const document;
        CMDIChildWnd* const active;
        CallWindow(CKXHostApp& a, CDocument* d) : app(a), document(a.m_callDocument), active(a.m_callActive) {
            app.m_callDocument = d;
            app.m_callActive = app.m_pMainWnd ? app.m_pMainWnd->MDIGetActive() : nullptr;
        }
        ~CallWindow() { app.m_callDocument = document, app.m_callActive = active; }
        CallWindow(const CallWindow&) = delete;
        CallWindow& operator=(const CallWindow&) = delete;
    } const window(*this, doc);
    for (size_t k = 0; k < line.calls.size(); ++k) {
        if (!obj) return refuse("a call on a method's result that is no object");
        SKXJournalCall& call = line.calls[k];
        COleVariant result;
        // The first call is on the document, which the call may close.
        HRESULT hr = InvokeOnDocument(doc, obj, call.method.c_str(), std::move(call.args), &result);
        doc = nullptr;
        obj = nullptr;
        if (FAILED(hr)) return refuse("the call of " + call.method + " failed");
        // A row or cell that the replay does not find leaves every line after it acting on another
        // selection than the journal's: the replay stops there.
        if (IsSelection(call.method) && result.vt == VT_BOOL && !result.boolVal)
            return refuse("the call of " + call.method + " answered 0");
        if (result.vt == VT_DISPATCH && result.pdispVal) {
            obj = result.pdispVal;
            obj->AddRef();
        }
    }
    if (obj) obj->Release();
    return true;
}

bool CKXHostApp::Replay(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the journal \"" + path + "\"";
        return false;
    }
    m_core.Print("replay: " + path);
    CKXShareGlobalData::SetReplay(TRUE);
    // The journal says whether pair legs went together; until it does, the project does.
    KXReplayAutoConnectDpLeg(-1);
    std::string line;
    int number = 0;
    bool ok = true;
    while (std::getline(in, line)) {
        ++number;
        if (!ReplayLine(line, number, error)) {
            ok = false;
            break;
        }
    }
    CKXShareGlobalData::SetReplay(FALSE);
    CKXShareGlobalData::m_nReplayStepGroup = 0; // a replay stopped inside a step ends it
    KXNameReplayedSteps(nullptr);
    return ok;
}
