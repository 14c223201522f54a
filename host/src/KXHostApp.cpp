#include "KXHostApp.h"

#include "KXHostMainWnd.h"
#include "KXHostPeerTools.h"

#include "afx/afx.h"
#include "afx/afxanswer.h"
#include "afx/afxdisp.h"
#include "afx/afxdoc.h"
#include "afx/afxreg.h"
#include "afx/afxres.h"
#include "kxcommon/KXDocument.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/TclArgs.h"
#include "kxcontrols/KXProgressBar.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxcontrols/KXTclCmdManager.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/CommonInterface.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/schema.h"
#include "rmx/server.h"

#include <tcl.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <unistd.h>

namespace {
using InitFn = BOOL (*)();
using TemplateFn = CDocTemplate* (*)();

std::string ExeDir() {
    char buf[4096];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return ".";
    buf[n] = '\0';
    std::string p(buf);
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? "." : p.substr(0, slash);
}

CFrameWnd* FrameOf(CDocument* doc) {
    if (!doc) return nullptr;
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = pos ? doc->GetNextView(pos) : nullptr;
    return view ? view->GetParentFrame() : nullptr;
}

// The text form of a connection end: "name" or "name<bit>", the bit syntax of design paths.
std::string Bit(const char* name, int bit) {
    std::string s = name ? name : "";
    if (bit >= 0) s += "<" + std::to_string(bit) + ">";
    return s;
}
} // namespace

CKXHostApp::CKXHostApp(CKXHostCore& core) : m_core(core) {}

CKXHostApp::~CKXHostApp() {
    Stop();
}

namespace {

char g_hostModuleTag; // its address stands for the host's resource module

HINSTANCE HostResources() {
    return reinterpret_cast<HINSTANCE>(&g_hostModuleTag);
}

// The host's own resources: the pop-up menu the grids show on a data row (pin and part rows).
void AddHostResources() {
    constexpr UINT kGridRowMenu = 402;
    AfxAddMenuResource(HostResources(), kGridRowMenu,
                       {{0, MF_POPUP, 0, "Grid"},
                        {1, MF_STRING, 35264, "Delete Connections"},
                        {1, MF_STRING, 35566, "Swap Pins"},
                        {1, MF_SEPARATOR, 0, nullptr},
                        {1, MF_STRING, 35522, "Add Termination..."},
                        {1, MF_STRING, 35509, "Add Pull-up/Pull-down..."},
                        {1, MF_SEPARATOR, 0, nullptr},
                        {1, MF_STRING, 35555, "Insert Comment..."},
                        {1, MF_STRING, 35557, "Modify Comments..."},
                        {1, MF_STRING, 35556, "Delete Comment"},
                        {1, MF_SEPARATOR, 0, nullptr},
                        {1, MF_STRING, 35659, "Properties..."}});
    // The signal grid's data rows.
    constexpr UINT kSignalRowMenu = 405;
    AfxAddMenuResource(HostResources(), kSignalRowMenu,
                       {{0, MF_POPUP, 0, "Signal"},
                        {1, MF_STRING, 35264, "Delete Connections"},
                        {1, MF_SEPARATOR, 0, nullptr},
                        {1, MF_STRING, 35522, "Add Termination..."},
                        {1, MF_STRING, 35543, "Assign Model..."},
                        {1, MF_STRING, 35567, "Remove Model"},
                        {1, MF_SEPARATOR, 0, nullptr},
                        {1, MF_STRING, 35659, "Properties..."}});
    AfxSetResourceHandle(HostResources());
}

} // namespace

bool CKXHostApp::Start(const std::string& designLib, const std::string& journal, std::string& error,
                       const std::string& library) {
    ConnectTranscript();
    WatchSaves();
    // The simulated desktop of a new session: no key held, the pointer over no cell of a grid.
    AfxResetInputState();
    if (!LoadDesignLibrary(designLib, error) || !StartJournal(journal, error) || !CreateMainWindow(error) ||
        !LoadEditorLibrary(library, error))
        return false;
    RegisterWords();
    RegisterCommands();
    m_core.SetRoute([this](const std::string& w, const std::vector<KXHostArg>& a, long& r, std::string& e) {
        return Route(w, a, r, e);
    });
    return true;
}

void CKXHostApp::WatchSaves() {
    CKXDocument::SetSaveListener([this](const CKXDocument& doc, bool saved, const CString& why) {
        const IDesign* d = doc.GetMasterDesignContext().design();
        const std::string design = d ? std::string(d->libName()) + "." + d->cellName() + ":" + d->viewName()
                                     : doc.GetDesignName().str();
        if (saved) {
            m_unsaved.erase(design);
            return;
        }
        const std::string reason = why.IsEmpty() ? std::string("not written") : why.str();
        m_unsaved[design] = reason;
        std::cerr << "kxhost: " << design << " not saved: " << reason << std::endl;
    });
}

void CKXHostApp::NoteOpen(const std::string& design, bool opened, const std::string& why) {
    if (opened) {
        m_unopened.erase(design);
        return;
    }
    m_unopened[design] = why;
    std::cerr << "kxhost: " << design << " not opened: " << why << std::endl;
}

// Why the library lacks a design "LIB.CELL:VIEW": the refusal of its file when the library refused it
// ("; not loaded: FILE:LINE: reason"), else nothing.
std::string CKXHostApp::NotLoadedReason(const std::string& name) const {
    const std::size_t dot = name.find('.'), colon = name.rfind(':');
    if (dot == std::string::npos || colon == std::string::npos || colon < dot) return std::string();
    const std::string file = "/" + name.substr(dot + 1, colon - dot - 1) + "." + name.substr(colon + 1) + ".design:";
    for (const std::string& line : m_notLoaded)
        if (line.find(file) != std::string::npos) return "; not loaded: " + line;
    return std::string();
}

void CKXHostApp::ConnectTranscript() {
    // What the library shows goes to the transcript.
    CKXErrorHandler::SetTranscriptSink(
        [this](const SKXShownMessage& m) { m_core.NoteMessage(m.id.str(), m.text.str()); });
    AfxGetAnswerQueue().SetListener([this](const AfxAnswerRecord& r) {
        // A plain message needs no answer; a question, dialog or menu nobody answered is worth a line.
        bool plainMessage = r.kind == AfxAnswerRecord::Question && r.answer == "ok";
        if (!r.bScripted && !plainMessage && !AfxGetAnswerQueue().IsReplay())
            m_core.NoteUnanswered(r.Line().str());
    });
    AfxGetAnswerQueue().SetStopListener([](const AfxAnswerRecord& r) {
        // Said under --quiet too: a batch run whose command stopped at a question nobody answered did
        // nothing there, though it answers 2 as a cancel by the user does.
        std::cerr << "kxhost: " << (r.kind == AfxAnswerRecord::Question ? "question " : "dialog ") << r.key.str()
                  << " was not answered (taken as " << r.answer.str() << "): nothing was done" << std::endl;
    });
    CKXProgressBar::SetLineSink(
        [this](const CString& line, BOOL done) { m_core.Progress(line.str(), done != FALSE); });
    if (CKXErrorHandler::GetDataDirectory().IsEmpty() && !std::getenv("KX_DATA_DIR"))
        CKXErrorHandler::SetDataDirectory((ExeDir() + "/../share").c_str());
}

bool CKXHostApp::LoadDesignLibrary(const std::string& designLib, std::string& error) {
    m_pServer = std::make_unique<IServer>();
    CKXShareGlobalData::m_pServer = m_pServer.get();
    // Design folders are those the server loaded the designs from.
    static CKXServerDataAccess serverFolders;
    if (!CKXShareGlobalData::m_pDataAccessContext) CKXShareGlobalData::m_pDataAccessContext = &serverFolders;
    if (designLib.empty()) return true;
    CString loadError;
    bool partly = false;
    if (m_pServer->loadLibrary(designLib.c_str(), loadError, &partly)) return true;
    if (!partly) {
        error = "cannot load the design library \"" + designLib + "\": " + loadError.str();
        return false;
    }
    // A bad file is refused as a whole; the rest of the library is there to work with.
    std::string lines = loadError.str();
    for (size_t at = 0; at < lines.size();) {
        size_t nl = lines.find('\n', at);
        if (nl == std::string::npos) nl = lines.size();
        m_notLoaded.push_back(lines.substr(at, nl - at));
        m_core.Print("error: not loaded: " + m_notLoaded.back());
        at = nl + 1;
    }
    return true;
}

bool CKXHostApp::CanJournalTo(const std::string& journal, std::string& error) {
    if (journal.find(".vbs") == std::string::npos) {
        error = "a journal file name must contain \".vbs\": " + journal;
        return false;
    }
    // Each action appends to the file: one that cannot be opened so would lose the session's lines unsaid.
    std::ofstream probe(journal, std::ios::binary | std::ios::app);
    if (!probe) {
        error = "cannot write the journal " + journal + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool CKXHostApp::StartJournal(const std::string& journal, std::string& error) {
    if (journal.empty()) return true;
    if (!CanJournalTo(journal, error)) return false;
    CKXShareGlobalData::SetAutomationPath(journal.c_str());
    return true;
}

bool CKXHostApp::CreateMainWindow(std::string& error) {
    m_pApp = std::make_unique<CWinApp>("kxhost");
    AddHostResources();
    m_pMainWnd = new CKXHostMainWnd(m_core);
    if (!m_pMainWnd->CreateMain()) {
        error = "cannot create the main window";
        return false;
    }
    m_pApp->m_pMainWnd = m_pMainWnd;
    AfxSetMainWnd(m_pMainWnd);
    m_pMainWnd->m_onOpenDesign = [this](int mode, const std::string& name) {
        std::string err;
        if (!Open(RequestedDesign(name), mode, err)) m_core.Print("error: " + err);
    };
    if (IKXMessageServer* ms = GetKXMsgSrvr()) {
        ms->RegisterWindow(MSG_OPEN_DESIGN, m_pMainWnd->GetSafeHwnd());
        ms->RegisterWindow(MSG_EDIT_PIN, m_pMainWnd->GetSafeHwnd());
        for (UINT message : KXPublishedMessages()) ms->RegisterWindow(message, m_pMainWnd->GetSafeHwnd());
    }
    return true;
}

bool CKXHostApp::LoadEditorLibrary(const std::string& library, std::string& error) {
    std::string path = library.empty() ? ExeDir() + "/../lib/libkxtableeditor.so" : library;
    m_hLibrary = ::dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (!m_hLibrary) m_hLibrary = ::dlopen("libkxtableeditor.so", RTLD_NOW | RTLD_GLOBAL);
    if (!m_hLibrary) {
        error = std::string("cannot load the editor library: ") + ::dlerror();
        return false;
    }
    auto init = reinterpret_cast<InitFn>(::dlsym(m_hLibrary, "InitKXTableEditorDLL"));
    auto getTemplate = reinterpret_cast<TemplateFn>(::dlsym(m_hLibrary, "DllGetDocTemplate"));
    auto addToolBars = reinterpret_cast<InitFn>(::dlsym(m_hLibrary, "DllAddToolBars"));
    if (!init || !getTemplate || !addToolBars) {
        error = "the editor library lacks its entry points";
        return false;
    }
    init();
    m_pTemplate = getTemplate();
    if (!m_pTemplate) {
        error = "the editor library gave no document template";
        return false;
    }
    m_pApp->AddDocTemplate(m_pTemplate);
    addToolBars();
    for (const std::string& failure : CKXErrorHandler::TakeLoadFailures())
        m_core.Print("error: message file " + failure);
    for (const std::string& problem : AfxTakeRegistryProblems())
        m_core.Print("error: registry " + problem);
    return true;
}

bool CKXHostApp::LoadProject(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the project file \"" + path + "\"";
        return false;
    }
    auto project = std::make_unique<CKXVpxProject>();
    std::string line, section;
    for (int number = 1; std::getline(in, line); ++number) {
        if (size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string first, value;
        if (!(words >> first)) continue;
        if (first.front() == '[') {
            std::string rest;
            if (first.size() < 3 || first.back() != ']' || (words >> rest)) {
                error = path + ": line " + std::to_string(number) + ": a section header is \"[NAME]\"";
                return false;
            }
            section = first.substr(1, first.size() - 2);
            continue;
        }
        if (section.empty()) {
            error =
                path + ": line " + std::to_string(number) + ": directive \"" + first + "\" outside a section";
            return false;
        }
        bool any = false;
        while (words >> value) {
            project->AddValue(section.c_str(), first.c_str(), value.c_str());
            any = true;
        }
        if (!any) project->AddValue(section.c_str(), first.c_str(), "");
    }
    m_pProject = std::move(project);
    CKXShareGlobalData::m_pVpxProject = m_pProject.get();
    return true;
}

void CKXHostApp::Stop() {
    if (!m_pApp) return;
    CKXShareAppData::m_bIsAppClosing = TRUE;
    if (m_pTemplate) m_pTemplate->CloseAllDocuments(TRUE);
    CKXShareAppData::m_bIsAppClosing = FALSE;
    if (IKXMessageServer* ms = GetKXMsgSrvr(); ms && m_pMainWnd)
        ms->UnregisterWindow(m_pMainWnd->GetSafeHwnd());
    m_handles.clear();
    if (m_pMainWnd) {
        AfxSetMainWnd(nullptr);
        m_pMainWnd->DestroyWindow(); // a frame window deletes itself when destroyed
        m_pMainWnd = nullptr;
    }
    m_pApp.reset(); // deletes the template
    AfxSetResourceHandle(nullptr);
    AfxRemoveModuleResources(HostResources());
    m_pTemplate = nullptr;
    CKXShareGlobalData::SetAutomationPath(nullptr);
    CKXShareGlobalData::m_pDesign = nullptr;
    m_pCurrentDesign.reset();
    if (CKXShareGlobalData::m_pVpxProject == m_pProject.get()) CKXShareGlobalData::m_pVpxProject = nullptr;
    m_pProject.reset();
    CKXShareGlobalData::m_pServer = nullptr;
    m_pServer.reset();
    CKXErrorHandler::SetTranscriptSink(nullptr);
    CKXDocument::SetSaveListener(nullptr);
    AfxGetAnswerQueue().SetListener(nullptr);
    CKXProgressBar::SetLineSink(nullptr);
    // The library stays mapped: the runtime classes it registered are still known by name.
    m_hLibrary = nullptr;
}

void CKXHostApp::RegisterWords() {
    int count = CKXTclCmdManager::GetTCLCommandCount();
    for (UINT n = MSG_TCL_COMMAND_FIRST; n <= MSG_TCL_COMMAND_LAST && count > 0; ++n) {
        const char* word = CKXTclCmdManager::GetTCLCommandName(n);
        if (!word) continue;
        --count;
        m_core.RegisterSystemWord(word);
    }
}

// ------------------------------------------------------------------ design windows

std::vector<CDocument*> CKXHostApp::Documents() const {
    std::vector<CDocument*> docs;
    if (!m_pTemplate) return docs;
    for (POSITION pos = m_pTemplate->GetFirstDocPosition(); pos;)
        docs.push_back(m_pTemplate->GetNextDoc(pos));
    return docs;
}

CFrameWnd* CKXHostApp::ActiveFrame() const {
    if (!m_pMainWnd) return nullptr;
    CMDIChildWnd* child = m_pMainWnd->MDIGetActive();
    if (m_callDocument && child == m_callActive) {
        const std::vector<CDocument*> open = Documents();
        if (std::find(open.begin(), open.end(), m_callDocument) != open.end())
            if (CFrameWnd* f = FrameOf(m_callDocument); f && f->IsWindowVisible()) return f;
    }
    if (child && child->IsWindowVisible()) return child;
    // A hidden window (saved and reopened) is no target: take the last visible one.
    std::vector<CDocument*> docs = Documents();
    for (auto it = docs.rbegin(); it != docs.rend(); ++it)
        if (CFrameWnd* f = FrameOf(*it); f && f->IsWindowVisible()) return f;
    return child;
}

CDocument* CKXHostApp::ActiveDocument() const {
    CFrameWnd* frame = ActiveFrame();
    return frame ? frame->GetActiveDocument() : nullptr;
}

CView* CKXHostApp::PaneViewOf(CDocument* doc) {
    for (POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr; pos;) {
        CView* view = doc->GetNextView(pos);
        if (view && !view->IsKindOf(RUNTIME_CLASS(CKXListPaneView)) && dynamic_cast<CCommonInterface*>(view))
            return view;
    }
    return nullptr;
}

bool CKXHostApp::IsOpenMode(int mode) {
    switch (mode) {
    case eOpenModeNoSwitch:
    case eOpenModeEditBlock:
    case eOpenModeContext:
    case eOpenModeInParent:
    case eOpenModePhysical:
    case eOpenModeInParentAlt:
        return true;
    default:
        return false;
    }
}

bool CKXHostApp::ParseNumber(const std::string& text, int& value) {
    if (text.empty() || text.size() > 10) return false;
    size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
    if (i == text.size()) return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
    }
    value = static_cast<int>(text[0] == '-' ? -v : v);
    return v <= 0x7fffffff;
}

bool CKXHostApp::Open(const std::string& name, int mode, std::string& error) {
    if (!IsOpenMode(mode)) {
        error = "no open mode " + std::to_string(mode) + " (0, 1, 2, 3, 4 or 6)";
        return false;
    }
    if (!m_pTemplate || !m_pServer) {
        error = "the editor library is not loaded";
        return false;
    }
    IDesign* design = m_pServer->findDesign(name.c_str());
    if (!design) {
        error = "no design \"" + name + "\" in the design library" + NotLoadedReason(name);
        return false;
    }
    auto* tmpl = dynamic_cast<CKXMultiDocTemplate*>(m_pTemplate);
    if (!tmpl) {
        error = "the document template cannot open designs";
        return false;
    }
    m_pCurrentDesign = std::make_unique<CDesignContext>(m_pServer.get(), design);
    CKXShareGlobalData::m_pDesign = m_pCurrentDesign.get();
    // The host's own action goes to the journal before the new window reports its activation,
    // so that a replay in a fresh host opens the design first.
    // An opening the editor journals itself (an ascend's parent) is not journalled twice.
    if (CKXShareGlobalData::IsJournalling() && !CKXShareGlobalData::m_bOpenJournalled) {
        std::string quoted;
        for (char ch : name)
            quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
        CString line;
        line.Format("\n\n ' --- Open Design ---\n\ncall RMX.OpenDesign(\"%s\", \"%d\")", quoted.c_str(),
                    mode);
        CKXShareGlobalData::AppendToJournal(line);
    }
    CDocument* doc = tmpl->OpenDocumentFile(*m_pCurrentDesign, mode);
    if (!doc) {
        error = "the design \"" + name + "\" could not be opened";
        return false;
    }
    RegisterWords();
    if (CFrameWnd* frame = FrameOf(doc)) m_pMainWnd->MDIActivate(frame);
    return true;
}

// Why an instance name opens no block: no such instance, or no block (its master is a symbol), or a master
// the library lacks (the refusal of its file when the library refused it).
std::string CKXHostApp::BlockNotFound(const CDesignContext& parent, const CInstanceContext& block,
                                      const std::string& instance) const {
    IInstance* object = block ? block.instance() : nullptr;
    if (!object || object->master())
        return "no block instance \"" + instance + "\" in design " + std::string(parent.name().GetString());
    const std::string master = object->masterName().str();
    return "the design \"" + master + "\" of \"" + instance + "\" is not in the design library" +
           NotLoadedReason(master);
}

bool CKXHostApp::OpenBlock(const std::string& instance, int mode, std::string& error) {
    if (mode != eOpenModeContext && mode != eOpenModeInParent && mode != eOpenModeInParentAlt) {
        error = "a block opens within its parent in mode 2, 3 or 6, not " + std::to_string(mode);
        return false;
    }
    auto* tmpl = dynamic_cast<CKXMultiDocTemplate*>(m_pTemplate);
    const auto* doc = dynamic_cast<CKXDocument*>(ActiveDocument());
    if (!tmpl || !doc) {
        error = "no design window is open";
        return false;
    }
    if (doc->GetOpenMode() == eOpenModePhysical) {
        error = "the physical view opens no blocks; open them from a logical view";
        return false;
    }
    if (doc->GetOpenMode() == eOpenModeContext && mode != eOpenModeContext) {
        error = "a read-only window (open mode 2) opens its blocks read-only, in mode 2";
        return false;
    }
    const CDesignContext& parent = doc->GetDesignContext();
    const CInstanceContext block = parent.instance(instance.c_str());
    const CDesignContext inner = block ? block.containedDesign() : CDesignContext();
    if (!inner) {
        error = BlockNotFound(parent, block, instance);
        return false;
    }
    if (CKXDocument* shown = tmpl->FindDocument(inner, mode)) {
        if (CFrameWnd* frame = FrameOf(shown)) m_pMainWnd->MDIActivate(frame);
        return true;
    }
    if (CKXShareGlobalData::IsJournalling()) {
        std::string quoted;
        for (char ch : instance)
            quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
        CString line;
        line.Format("\n\n ' --- Open Block ---\n\ncall RMX.OpenBlock(\"%s\", \"%d\")", quoted.c_str(), mode);
        CKXShareGlobalData::AppendToJournal(line);
    }
    CDocument* opened = tmpl->OpenDocumentFile(inner, mode);
    if (!opened) {
        error = "the block \"" + std::string(inner.name().GetString()) + "\" could not be opened";
        return false;
    }
    RegisterWords();
    if (CFrameWnd* frame = FrameOf(opened)) m_pMainWnd->MDIActivate(frame);
    return true;
}

std::string CKXHostApp::RequestedDesign(const std::string& name) const {
    if (name != "@") return name;
    const auto* doc = dynamic_cast<CKXDocument*>(ActiveDocument());
    IDesign* root = doc ? doc->GetMasterDesignContext().rootDesign() : nullptr;
    return root ? std::string(root->name()) : name;
}

bool CKXHostApp::Close(std::string& error) {
    bool closed = false;
    return Close(error, closed);
}

bool CKXHostApp::Close(std::string& error, bool& closed) {
    closed = false;
    CDocument* doc = ActiveDocument();
    if (!doc) {
        error = "no design window is open";
        return false;
    }
    if (!doc->SaveModified()) {
        m_core.Print("close cancelled");
        return true;
    }
    doc->OnCloseDocument();
    // A window whose dropped edits cannot be taken back stays open (its message says why).
    std::vector<CDocument*> open = Documents();
    closed = std::find(open.begin(), open.end(), doc) == open.end();
    if (!closed) m_core.Print("close refused");
    if (CFrameWnd* next = ActiveFrame()) m_pMainWnd->MDIActivate(next);
    return true;
}

bool CKXHostApp::ActivateTab(int tab, std::string& error) {
    std::vector<CDocument*> docs = Documents();
    if (tab < 1 || tab > static_cast<int>(docs.size())) {
        error = "no design window " + std::to_string(tab);
        return false;
    }
    CFrameWnd* frame = FrameOf(docs[static_cast<size_t>(tab - 1)]);
    if (!frame) {
        error = "design window " + std::to_string(tab) + " has no frame";
        return false;
    }
    m_pMainWnd->MDIActivate(frame);
    return true;
}

bool CKXHostApp::Route(const std::string& word, const std::vector<KXHostArg>& args, long& result,
                       std::string& error) {
    CFrameWnd* frame = ActiveFrame();
    if (!frame) {
        error = "no design window is open for \"" + word + "\"";
        return false;
    }
    UINT msg = CKXTclCmdManager::GetTCLCommandId(word.c_str());
    if (!msg) {
        error = "unknown command \"" + word + "\"";
        return false;
    }
    CTclArgsList list;
    for (const KXHostArg& a : args) {
        if (a.size() == 1) {
            list.add(a[0].c_str());
        } else {
            list.StartArgument();
            for (const std::string& v : a)
                list.AddToArgument(v.c_str());
            list.EndArgument();
        }
    }
    result =
        static_cast<long>(frame->SendMessage(MSG_TCL_ROUTE_COMMAND, msg, reinterpret_cast<LPARAM>(&list)));
    return true;
}

std::vector<std::string> CKXHostApp::Netlist(std::string& error) const {
    auto* doc = dynamic_cast<CKXDocument*>(ActiveDocument());
    IDesign* design = doc ? doc->GetMasterDesignContext().design() : nullptr;
    if (!design) {
        error = "no design window is open";
        return {};
    }
    return NetlistOf(design);
}

std::vector<std::string> CKXHostApp::NetlistOf(IDesign* design) {
    std::vector<std::string> lines;
    for (IInstance* inst : design->beginInstance()) {
        if (!inst) continue;
        for (IInstTerm* pin : inst->beginInstTerm()) {
            if (!pin) continue;
            for (CConn conn : pin->beginConn()) {
                if (!conn.net()) continue;
                int w = conn.width();
                int pinStep = conn.instTermLsb() >= conn.instTermMsb() ? 1 : -1;
                int netStep = conn.netLsb() >= conn.netMsb() ? 1 : -1;
                for (int k = 0; k < std::max(w, 1); ++k) {
                    int pb = conn.instTermMsb() < 0 ? -1 : conn.instTermMsb() + k * pinStep;
                    int nb = conn.netMsb() < 0 ? -1 : conn.netMsb() + k * netStep;
                    lines.push_back(std::string(inst->name()) + " " + Bit(pin->name(), pb) + " " +
                                    Bit(conn.net()->name(), nb));
                }
            }
        }
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}
