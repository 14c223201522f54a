// The fixture of the random user sessions: the example board in a host of its own, the undo and
// redo over every window, and the session's run and checks (random_session_run.cpp).
#pragma once

#include "KXExampleLibrary.h"
#include "KXGridCellProcs.h"
#include "KXRandomEdits.h"
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "afx/afxreg.h"
#include "kxcommon/KXCustomizeAPI.h"
#include "kxcommon/KXDocument.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/KXWinAPI.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxnotes/CComments.h"
#include "rmx/server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <map>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <vector>

#include <unistd.h>


namespace kxrandom {

namespace fs = std::filesystem;

// The kinds a session picks from: the first ones and the session roads, those awaiting a mend left out.
const std::vector<EditKind>& EditKinds();

// KX_EDIT_SCRIPT naming a file while it lives.
struct ScriptVariable {
    explicit ScriptVariable(const std::string& file) { ::setenv("KX_EDIT_SCRIPT", file.c_str(), 1); }
    ~ScriptVariable() { ::unsetenv("KX_EDIT_SCRIPT"); }
    ScriptVariable(const ScriptVariable&) = delete;
    ScriptVariable& operator=(const ScriptVariable&) = delete;
};

class RandomEdits : public KXShellFixture {
protected:
    // The clock of the comments' time stamps, in the session and in the fresh host that replays it.
    static constexpr const char* kEpoch = "1780000000";

    void SetUp() override {
        ::setenv("SOURCE_DATE_EPOCH", kEpoch, 1);
        KXShellFixture::SetUp();
        if (HasFatalFailure()) return;
        // Comments take the time of SOURCE_DATE_EPOCH, as in the fresh host (whose user is "tester" too).
        CKXWinAPI::SetDateTimeSource(nullptr);
        // Settings are written (and flushed) at every change of a view: in memory where the system
        // offers it, so that a thousand sequences stay quick.
        if (fs::exists("/dev/shm")) {
            m_registry = fs::path("/dev/shm") / ("kxedits-registry-" + std::to_string(::getpid()));
            fs::create_directories(m_registry);
            AfxSetRegistryDirectory(m_registry.c_str());
        }
        CKXCustomizeAPI::Reset();
        CKXCustomizeAPI::setCustomizationOrigin("CCP");
        CStringArray columns;
        for (const char* e : {"PIN_NAME|Pin Name|14s|DEFAULT|SHOW", "PN|Pin Number|8s|DEFAULT|SHOW",
                              "SIGNAL|Signal|16s|DEFAULT|SHOW", "TERMINATION|Termination|12s|DEFAULT|SHOW",
                              "PUPD|Pull Up/Down|10s|DEFAULT|SHOW", "SPEED|Speed|8s|PINPROP|SHOW",
                              "VOLT_MAX|Volt max|8s|PINPROP|SHOW", "COMMENTS|Comments|16s|DEFAULT|SHOW"})
            columns.Add(e);
        ASSERT_TRUE(CKXCustomizeAPI::parseFile(columns, false));
        // The example library as saved: what a fresh host loads.
        m_lib = KXCopyExampleLibrary(m_dir);
        CString error;
        ASSERT_TRUE(Server()->loadLibrary(m_lib.c_str(), error)) << error.str();
        Run(kCellProc);
        Run(kRowProc);
        m_saved = DesignText();
        EXPECT_EQ(m_saved, SavedDesignText()) << "the board in memory is not the board of the library";
    }
    void TearDown() override {
        // (The host is gone once a session's exit stopped it.)
        if (IServer* server = Server()) server->setCommitFault(nullptr);
        ::unsetenv("SOURCE_DATE_EPOCH");
        CKXCustomizeAPI::Reset();
        KXShellFixture::TearDown();
        std::error_code ec;
        if (!m_registry.empty()) fs::remove_all(m_registry, ec);
        fs::remove_all(fs::path("/dev/shm") / ("kxedits-" + std::to_string(::getpid())), ec);
    }

    IServer* Server() const { return CKXShareGlobalData::m_pServer; }

    std::string DesignText() {
        IDesign* d = Server()->findDesign("demo.board:sch");
        // In memory where the system offers it: a save flushes its file to disk.
        static const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path dir = base / ("kxedits-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        CString error;
        if (!d || !Server()->saveDesignAs(d, dir.c_str(), "demo", "board", "sch", &error)) return "ERROR " + error.str();
        std::ifstream in(dir / "board.sch.design", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The board as its file in the library holds it.
    std::string SavedDesignText() const {
        std::ifstream in(m_lib / "board.sch.design", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The comments of the window: the design comment and those of U1's pins.
    std::string CommentText(CKXTableDoc* doc) {
        CComments* store = doc ? doc->GetComments() : nullptr;
        if (!store) return "no store";
        std::string out;
        CString text, date, time, user;
        if (store->getDesignComments(text, date, time, user)) out += "design: " + text.str() + "\n";
        for (const std::string& pin : EditWorld().pins)
            if (store->getPinComments("U1", pin.c_str(), text, date, time, user)) out += pin + ": " + text.str() + "\n";
        return out;
    }
    int StepCount() const {
        int count = 0;
        for (CKXBottomPaneContainerView* pane : Panes())
            count += pane->GetUndoStepCount();
        return count;
    }
    // The undo steps of every window that were done when their design was last saved.
    int SavedStepCount() const {
        int count = 0;
        for (CKXBottomPaneContainerView* pane : Panes())
            count += pane->GetUndoStepCount() - pane->UnsavedUndoStepCount();
        return count;
    }
    // The undo and redo steps of every window.
    int HistoryCount() const {
        int count = 0;
        for (CKXBottomPaneContainerView* pane : Panes())
            count += pane->GetUndoStepCount() + pane->GetRedoStepCount();
        return count;
    }
    // The window whose next undo (redo) step is the newest over every window, among those `wanted` takes;
    // NULL when there is none. A step that goes with its grid (a sort of a component's rows when the
    // component goes) leaves the others in the order the windows made them.
    CKXBottomPaneContainerView* NewestStepWindow(GXCmdType type,
                                                 const std::function<bool(std::uint64_t)>& wanted) const {
        CKXBottomPaneContainerView* newest = nullptr;
        std::uint64_t newestOrder = 0;
        for (CKXBottomPaneContainerView* pane : Panes()) {
            const std::uint64_t order = type == gxUndo ? pane->NextUndoStepOrder() : pane->NextRedoStepOrder();
            if (order <= newestOrder || !wanted(order)) continue;
            newest = pane;
            newestOrder = order;
        }
        return newest;
    }
    // Undoes every step, newest first over every window; false when one is refused. Once a window
    // closed keeping its edits, a step that one of them built on stays (KXTABLE-221): the undo ends there.
    bool UndoAll() {
        m_undone.clear();
        while (CKXBottomPaneContainerView* pane = NewestStepWindow(gxUndo, [](std::uint64_t) { return true; })) {
            if (std::getenv("KX_EDIT_TRACE")) std::cerr << "undo " << pane->GetUndoDescription().str() << "\n";
            if (!pane->PerformUndo()) {
                const std::vector<std::string> shown = Messages();
                const bool builtOn = std::find(shown.begin(), shown.end(), "KXTABLE-221") != shown.end();
                return !m_baselineKnown && builtOn;
            }
            m_undone.insert(pane->NextRedoStepOrder());
        }
        return true;
    }
    // Redoes what UndoAll undid (not the steps the session left undone), the last undone first.
    bool RedoAll() {
        const auto undone = [this](std::uint64_t order) { return m_undone.count(order) != 0; };
        while (CKXBottomPaneContainerView* pane = NewestStepWindow(gxRedo, undone)) {
            if (std::getenv("KX_EDIT_TRACE")) std::cerr << "redo in a window of " << pane->GetRedoStepCount() << "\n";
            if (!pane->PerformRedo()) return false;
        }
        return true;
    }
    // The connections of each design a window shows, by the design's name: an action may make another
    // design's window the active one, and each design is held to what the action names.
    std::map<std::string, std::string> OpenDesignNetlists() const {
        std::map<std::string, std::string> netlists;
        for (CDocument* doc : m_app->Documents())
            if (auto* kx = dynamic_cast<CKXDocument*>(doc))
                if (IDesign* design = kx->GetMasterDesignContext().design())
                    for (const std::string& line : CKXHostApp::NetlistOf(design))
                        netlists[design->name()] += line + "\n";
        return netlists;
    }
    // The names of the designs the windows show, one for each window.
    std::multiset<std::string> ShownDesigns() const {
        std::multiset<std::string> names;
        for (CDocument* doc : m_app->Documents())
            if (auto* kx = dynamic_cast<CKXDocument*>(doc))
                if (IDesign* design = kx->GetMasterDesignContext().design()) names.insert(design->name());
        return names;
    }
    // Whether a window that went since `before` showed a design another window still shows.
    bool AClosedWindowsDesignStaysShown(const std::multiset<std::string>& before) const {
        const std::multiset<std::string> now = ShownDesigns();
        for (const std::string& name : before)
            if (now.count(name) > 0 && now.count(name) < before.count(name)) return true;
        return false;
    }
    // The design windows open in the host, hidden ones too.
    size_t WindowCount() const { return m_app->Documents().size(); }
    // Which windows hold unsaved edits, and those flags put back after the checks' undo and redo.
    std::vector<std::pair<CDocument*, BOOL>> ModifiedFlags() const {
        std::vector<std::pair<CDocument*, BOOL>> flags;
        for (CDocument* doc : m_app->Documents())
            flags.emplace_back(doc, doc->IsModified());
        return flags;
    }
    static void PutBack(const std::vector<std::pair<CDocument*, BOOL>>& flags) {
        for (const auto& [doc, modified] : flags)
            if (auto* table = dynamic_cast<CKXTableDoc*>(doc)) table->SetModified(modified);
            else doc->SetModifiedFlag(modified);
    }
    // The fixture again from the start (registry, library, host), for a session after another.
    void Restart() {
        TearDown();
        SetUp();
    }

    // A session kept as a test: the script as KX_EDIT_SCRIPT, meeting the seed's refused commits.
    void RunKept(unsigned seed, const std::string& script) {
        const fs::path file = m_dir / ("kept-" + std::to_string(seed) + ".tcl");
        std::ofstream(file) << script;
        ::setenv("KX_EDIT_SCRIPT", file.c_str(), 1);
        std::string why;
        const bool ok = RunSequence(seed, why);
        ::unsetenv("KX_EDIT_SCRIPT");
        EXPECT_TRUE(ok) << "kept seed " << seed << ": " << why;
    }

    // A short script of its own as a session's actions (seed 1); it fails the test through kxfault.
    void RunScript(const std::string& name, const std::string& text);

    // One sequence; false (with the reason) when a property does not hold.
    bool RunSequence(unsigned seed, std::string& why);
    bool RunActions(unsigned seed, const std::vector<std::string>& scripted, std::string& lines, std::string& why);
    bool CheckSession(unsigned seed, size_t journalStart, const std::string& lines, std::string& why);
    // Runs sessions from the seed on; a failure names its seed.
    void RunSessions(unsigned first, unsigned count);
    // A copy of the user settings as they are now (the fresh host's at the session's start).
    void KeepSettings() {
        // The columns the suite set up live in memory until written.
        CKXCustomizeAPI::saveFile();
        std::error_code ec;
        fs::remove_all(m_dir / "settings", ec);
        fs::copy(AfxGetRegistryDirectory().str(), m_dir / "settings", fs::copy_options::recursive, ec);
    }

    std::string m_saved;
    fs::path m_registry;
    bool m_sessionRan = false; // a session ran in this fixture: the next one restarts it
    bool m_baselineKnown = true; // undoing every step gives m_saved (no window took its steps away)
    std::set<std::uint64_t> m_undone; // the orders UndoAll gave the steps it undid
    std::string m_kinds; // the kinds of the session's actions, one a line ("-" for a scripted or the last one)
};

}  // namespace kxrandom
