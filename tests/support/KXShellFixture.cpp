#include "KXShellFixture.h"
#include "KXDesignSnapshot.h"
#include "KXFreshState.h"

#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"
#include "KXTableEditor.h"

#include "afx/afxanswer.h"
#include "afx/afxole.h"
#include "afx/afxreg.h"
#include "afx/afxwin.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/KXWinAPI.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "rmx/DesignBuilder.h"

#include <dlfcn.h>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {
const UINT kRecorded[] = {MSG_DESIGN_OPENED,
                          MSG_DESIGN_CLOSED,
                          MSG_DESIGN_SAVED,
                          MSG_DESIGN_INTERFACE_SAVED,
                          MSG_SAVE_AS_LIBRARY_SELECTED,
                          MSG_BLOCK_FILTER_CHANGED,
                          MSG_TAB_ACTIVATED,
                          MSG_OPEN_DESIGN,
                          MSG_DESIGN_UNDO_RESET,
                          MSG_DESIGN_REQUEST,
                          MSG_EDIT_PIN,
                          MSG_PROPERTY_EDITOR_SELECTION,
                          MSG_ASSOC_COMP_VIEWER_SELECTION,
                          MSG_NET_SELECTED};
// Notifications whose first parameter is a text.
bool FirstIsText(UINT m) {
    return m == MSG_DESIGN_SAVED || m == MSG_DESIGN_INTERFACE_SAVED || m == MSG_SAVE_AS_LIBRARY_SELECTED ||
           m == MSG_DESIGN_UNDO_RESET;
}
} // namespace

// Tests never read or write the user's registry: until a fixture names its own folder, the
// registry lives in memory only.
static const bool g_memoryRegistry = (AfxSetRegistryDirectory(""), true);

std::string KXEditorLibraryPath() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&DllGetDocTemplate), &info) && info.dli_fname) return info.dli_fname;
    return "libkxtableeditor.so";
}

void KXShellFixture::BuildDesign(rmx::DesignBuilder& b) {
    b.symbol("res").port("A").port("B");
    b.symbol("buf").port("IN", ITerm::eDirInput).port("OUT", ITerm::eDirOutput).bus("D", 3, 0);
    b.schematic("blk").schematicPort("P").schematicPort("Q").instance("R9", "res", "R9");
    b.connect("R9", "A", "P").connect("R9", "B", "Q");
    b.schematic("board")
        .instance("U1", "buf", "U1")
        .instance("R1", "res", "R1")
        .instance("X1", "blk", "", "sch");
    b.connect("U1", "OUT", "N1").connect("R1", "A", "N1").connect("R1", "B", "GND");
    b.connect("U1", "D<3..0>", "DATA<3..0>").connect("X1", "P", "N1");
}

void KXShellFixture::SetUp() {
    static std::mt19937 rng(std::random_device{}());
    m_dir = fs::temp_directory_path() / ("kxshell_" + std::to_string(rng()));
    m_lib = m_dir / "designs";
    fs::create_directories(m_lib);
    fs::create_directories(m_dir / "registry");
    AfxSetRegistryDirectory((m_dir / "registry").c_str());
    KXStartFromAFreshState();
    CKXWinAPI::SetDateTimeSource([](CString& date, CString& time) {
        date = "2026-12-06";
        time = "12:00:00";
    });
    CKXWinAPI::SetUserNameSource([] { return CString("tester"); });
    // The message files where the build puts them for kxhost (rmx/tblerrors.txt and rmx/kxcommon.txt).
    CKXErrorHandler::SetDataDirectory(KX_TEST_DATA_DIR);
    // The editor library loaded its message files when the test program started, before any data
    // directory was chosen; the host's start loads them again from here and reports what fails then.
    CKXErrorHandler::TakeLoadFailures();
    // Files that the editor writes by relative name land in the test's folder.
    m_oldCwd = fs::current_path();
    fs::current_path(m_dir);

    m_core = std::make_unique<CKXHostCore>(m_out);
    m_core->SetQuiet(true);
    m_app = std::make_unique<CKXHostApp>(*m_core);
    m_journal = m_dir / "journal.vbs";
    std::string error;
    ASSERT_TRUE(
        m_app->Start("", m_bJournal ? m_journal.string() : std::string(), error, KXEditorLibraryPath()))
        << error;
    rmx::DesignBuilder builder(m_app->Server(), "work", m_lib.string());
    BuildDesign(builder);
    ASSERT_TRUE(builder.ok()) << builder.error();

    m_recorder = std::make_unique<CMessageRecorderWnd>();
    CRect r(0, 0, 10, 10);
    m_recorder->Create(nullptr, "recorder", 0, r, nullptr, 0);
    for (UINT m : kRecorded) {
        GetKXMsgSrvr()->RegisterWindow(m, m_recorder->GetSafeHwnd());
        if (FirstIsText(m)) m_recorder->m_textParams[m] = 'w';
    }
    m_recorder->m_textParams[MSG_DESIGN_OPENED] = 'l';
    m_recorder->m_textParams[MSG_DESIGN_CLOSED] = 'l';
    m_recorder->m_textParams[MSG_OPEN_DESIGN] = 'l';
}

void KXShellFixture::TearDown() {
    if (m_recorder) {
        if (IKXMessageServer* ms = GetKXMsgSrvr()) ms->UnregisterWindow(m_recorder->GetSafeHwnd());
        m_recorder->DestroyWindow();
        m_recorder.reset();
    }
    if (m_app) m_app->Stop();
    m_app.reset();
    m_core.reset();
    AfxGetAnswerQueue().Reset();
    CKXShareGlobalData::m_bShowPowerPins = FALSE; // the host's option, which a test may have switched on
    CKXWinAPI::SetDateTimeSource(nullptr);
    CKXWinAPI::SetUserNameSource(nullptr);
    AfxSetRegistryDirectory("");
    std::error_code ec;
    if (!m_oldCwd.empty()) fs::current_path(m_oldCwd, ec);
    fs::remove_all(m_dir, ec);
}

bool KXShellFixture::Open(const std::string& name, int mode) {
    std::string error;
    bool ok = m_app->Open(name, mode, error);
    EXPECT_TRUE(ok) << error;
    return ok;
}

int KXShellFixture::RowNumberWidth() {
    std::istringstream in(Run("kx::widths ccp"));
    int width = -1;
    in >> width;
    return width;
}

std::string KXShellFixture::Run(const std::string& tcl) {
    std::string result;
    if (!m_core->Eval(tcl, result)) return "error: " + result;
    return result;
}

long KXShellFixture::Word(const std::string& line) {
    std::string r = Run(line);
    if (r.rfind("error: ", 0) == 0) {
        ADD_FAILURE() << line << " -> " << r;
        return -1;
    }
    return std::atol(r.c_str());
}

CKXTableDoc* KXShellFixture::Doc() const {
    return dynamic_cast<CKXTableDoc*>(m_app->ActiveDocument());
}

CKXTableChildFrm* KXShellFixture::Frame() const {
    return dynamic_cast<CKXTableChildFrm*>(m_app->ActiveFrame());
}

CKXBottomPaneContainerView* KXShellFixture::Ccp() const {
    return Frame() ? Frame()->GetConnectivityPane() : nullptr;
}
std::vector<CKXBottomPaneContainerView*> KXShellFixture::Panes() const {
    std::vector<CKXBottomPaneContainerView*> panes;
    CKXTableDoc* active = Doc();
    CDocTemplate* tmpl = active ? active->GetDocTemplate() : nullptr;
    for (POSITION pos = tmpl ? tmpl->GetFirstDocPosition() : nullptr; pos;) {
        CDocument* doc = tmpl->GetNextDoc(pos);
        POSITION view = doc ? doc->GetFirstViewPosition() : nullptr;
        CView* first = view ? doc->GetNextView(view) : nullptr;
        auto* frame = first ? dynamic_cast<CKXTableChildFrm*>(first->GetParentFrame()) : nullptr;
        if (CKXBottomPaneContainerView* pane = frame ? frame->GetConnectivityPane() : nullptr) panes.push_back(pane);
    }
    return panes;
}
CKXInstancePaneContainerView* KXShellFixture::Clp() const {
    return Frame() ? Frame()->GetComponentPane() : nullptr;
}
CKXSignalPaneContainerView* KXShellFixture::Slp() const {
    return Frame() ? Frame()->GetSignalPane() : nullptr;
}

std::string KXShellFixture::Transcript() const {
    std::string s;
    for (const auto& line : m_core->TranscriptLines())
        s += line + "\n";
    return s;
}

std::vector<std::string> KXShellFixture::Messages() {
    return m_core->TakeMessages();
}
std::vector<std::string> KXShellFixture::Echoes() {
    return m_core->TakeEchoes();
}

std::string KXShellFixture::JournalText() const {
    std::ifstream in(m_journal, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> KXShellFixture::AnswerLog() const {
    std::vector<std::string> lines;
    for (const CString& l : AfxGetAnswerQueue().GetLogLines())
        lines.push_back(l.str());
    return lines;
}

std::vector<std::string> KXShellFixture::Notifications(UINT message) const {
    std::vector<std::string> out;
    for (const auto& r : m_recorder->m_received) {
        if (r.message != message) continue;
        if (!r.text.IsEmpty() || m_recorder->m_textParams.count(message)) {
            if (m_recorder->m_textParams.at(message) == 'l')
                out.push_back(std::to_string(r.wParam) + " " + r.text.str());
            else
                out.push_back(r.text.str());
        } else {
            out.push_back(std::to_string(r.wParam));
        }
    }
    return out;
}

void KXShellFixture::ClearNotifications() {
    m_recorder->Clear();
}

std::string KXShellFixture::ReplayedSnapshot(const std::string& name) {
    const auto copy = m_dir / (name + ".vbs");
    std::ofstream(copy, std::ios::binary) << JournalText();
    m_app->Stop();
    CKXShareGlobalData::SetAutomationPath(nullptr);
    std::ostringstream out;
    CKXHostCore core(out);
    core.SetQuiet(true);
    CKXHostApp app(core);
    std::string err;
    EXPECT_TRUE(app.Start("", "", err, KXEditorLibraryPath())) << err;
    {
        rmx::DesignBuilder builder(app.Server(), "work", (m_dir / "replayed").string());
        BuildDesign(builder);
    }
    const CDesignContext replayed(app.Server(), "work.board:sch");
    EXPECT_TRUE(app.Replay(copy.string(), err)) << err << "\n" << JournalText();
    std::string snapshot = KXDesignSnapshot(*app.Server(), replayed.design(), name);
    for (const std::string& line : core.TranscriptLines()) {
        EXPECT_EQ(line.find("KXPANE-"), std::string::npos) << line;
        EXPECT_EQ(line.find("KXTABLE-"), std::string::npos) << line;
    }
    app.Stop();
    return snapshot;
}
