// Random sequences of edits through the script words and the automation methods, with commits that
// the design database refuses now and then. After each sequence: undoing everything gives the saved
// design back byte for byte, redoing everything gives the end state, and the sequence's journal
// replayed on the saved design gives the end state byte for byte (in the same window for every
// sequence, and every so often in a fresh host on the library as saved on disk).
//
// A new kind of edit is one more entry in EditKinds(): a name and a function that writes one Tcl
// line for the current state (a script word, or "kx::call Method args" for automation). Lines that
// the editor refuses are fine: a refused edit must change nothing, which the checks see.
//
// A failure prints the seed; KX_EDIT_SEED=<seed> runs that sequence alone, KX_EDIT_SEQUENCES=<n>
// runs n sequences.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableDoc.h"

#include "afx/afxreg.h"
#include "kxcommon/KXCustomizeAPI.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxnotes/CComments.h"
#include "rmx/server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Rng = std::mt19937;

// What the edit makers may pick from: the pins of the shown component, the custom columns.
struct EditWorld {
    std::vector<std::string> pins = {"IN", "OUT", "D<0>", "D<1>", "D<2>", "D<3>"};
    std::vector<std::string> columns = {"SPEED", "VOLT_MAX"};
    int nextSignal = 0;
};

struct EditKind {
    const char* name;
    std::function<std::string(Rng&, EditWorld&)> line;
};

template <class T> const T& Pick(Rng& rng, const std::vector<T>& from) {
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(rng)];
}

// A text with the characters that quoting gets wrong: blanks, quotes, brackets, dollars, braces.
std::string SomeText(Rng& rng) {
    static const std::vector<std::string> pieces = {"note", "a b", "\"q\"", "[x]", "$v", "{b}", "10k", "\\", ";", "é"};
    std::string text;
    int n = std::uniform_int_distribution<int>(1, 3)(rng);
    for (int i = 0; i < n; ++i) text += (i ? " " : "") + Pick(rng, pieces);
    return text;
}

// A Tcl word that reads back as the text.
std::string Braced(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\' || c == '[' || c == ']' || c == '$' || c == '{' || c == '}') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::vector<EditKind>& EditKinds() {
    static std::vector<EditKind> kinds = {
        {"AddSignal",
         [](Rng& rng, EditWorld& w) {
             // Now and then a name taken already, which is refused.
             int n = std::uniform_int_distribution<int>(0, 4)(rng) == 0 ? 0 : ++w.nextSignal;
             return "kx::call AddSignal SIG_" + std::to_string(n) + " {} {}";
         }},
        {"designComment add", [](Rng& rng, EditWorld&) { return "designComment add " + Braced(SomeText(rng)); }},
        {"designComment edit", [](Rng& rng, EditWorld&) { return "designComment edit " + Braced(SomeText(rng)); }},
        {"designComment delete", [](Rng&, EditWorld&) { return std::string("designComment delete"); }},
        {"InsertComment", [](Rng& rng, EditWorld&) { return "kx::call InsertComment " + Braced(SomeText(rng)); }},
        {"EditComment", [](Rng& rng, EditWorld&) { return "kx::call EditComment " + Braced(SomeText(rng)); }},
        {"addComment",
         [](Rng& rng, EditWorld& w) { return "addComment pin " + Braced(SomeText(rng)) + " " + Braced(Pick(rng, w.pins)); }},
        {"modifyComment",
         [](Rng& rng, EditWorld& w) {
             return "modifyComment pin " + Braced(SomeText(rng)) + " " + Braced(Pick(rng, w.pins));
         }},
        {"deleteComment", [](Rng& rng, EditWorld& w) { return "deleteComment pin {} " + Braced(Pick(rng, w.pins)); }},
        {"changeCustomColumn",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> values = {"fast", "slow", "1.8 V", "", "a,b"};
             return "changeCustomColumn pin -col " + Pick(rng, w.columns) + " -val " + Braced(Pick(rng, values)) +
                    " " + Braced(Pick(rng, w.pins));
         }},
        // Terminations, pull-ups/pull-downs and pin models of the selected pins.
        {"addTermination",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> types = {"Series", "Shunt", "Thevenin"};
             return "selectObject pin " + Braced(Pick(rng, w.pins)) + "; addTermination pin -type " +
                    Pick(rng, types) + " -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22";
         }},
        {"deleteTermination", [](Rng& rng, EditWorld& w) { return "deleteTermination pin " + Braced(Pick(rng, w.pins)); }},
        {"addPupd",
         [](Rng& rng, EditWorld& w) {
             static const std::vector<std::string> types = {"pullup", "pulldown"};
             return "selectObject pin " + Braced(Pick(rng, w.pins)) + "; addPupd pin -type " + Pick(rng, types) +
                    " -dcnet GND -value 1k";
         }},
        {"deletePupd",
         [](Rng& rng, EditWorld& w) { return "selectObject pin " + Braced(Pick(rng, w.pins)) + "; deletePupd pin"; }},
        {"assignModel",
         [](Rng& rng, EditWorld& w) { return "assignModel pin LVCMOS33 " + Braced(Pick(rng, w.pins)); }},
        {"removeModel", [](Rng& rng, EditWorld& w) { return "removeModel pin " + Braced(Pick(rng, w.pins)); }},
    };
    return kinds;
}

class RandomEdits : public KXShellFixture {
protected:
    void SetUp() override {
        KXShellFixture::SetUp();
        if (HasFatalFailure()) return;
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
                              "SIGNAL|Signal|16s|DEFAULT|SHOW", "SPEED|Speed|8s|PINPROP|SHOW",
                              "VOLT_MAX|Volt max|8s|PINPROP|SHOW", "COMMENTS|Comments|16s|DEFAULT|SHOW"})
            columns.Add(e);
        ASSERT_TRUE(CKXCustomizeAPI::parseFile(columns, false));
        // The library as saved: what a fresh host loads.
        CString error;
        ASSERT_TRUE(Server()->saveLibrary("work", m_lib.c_str(), &error)) << error.str();
        m_saved = DesignText();
    }
    void TearDown() override {
        Server()->setCommitFault(nullptr);
        CKXCustomizeAPI::Reset();
        KXShellFixture::TearDown();
        std::error_code ec;
        if (!m_registry.empty()) fs::remove_all(m_registry, ec);
        fs::remove_all(fs::path("/dev/shm") / ("kxedits-" + std::to_string(::getpid())), ec);
    }

    IServer* Server() const { return CKXShareGlobalData::m_pServer; }

    std::string DesignText() {
        IDesign* d = Server()->findDesign("work.board:sch");
        // In memory where the system offers it: a save flushes its file to disk.
        static const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path dir = base / ("kxedits-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        CString error;
        if (!d || !Server()->saveDesignAs(d, dir.c_str(), "work", "board", "sch", &error)) return "ERROR " + error.str();
        std::ifstream in(dir / "board.sch.design", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The comments of the open window: the design comment and those of the shown pins.
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
    void ShowU1() {
        CDesignContext design(Server(), "work.board:sch");
        CKXInstanceContextArray arr;
        arr.Add(design.instance("U1"));
        Ccp()->ShowInstanceConnectivity(design, &arr, TRUE);
    }
    int UndoAll() {
        int n = 0;
        while (Ccp()->GetUndoStepCount() > 0 && Ccp()->PerformUndo()) ++n;
        return n;
    }
    int RedoAll() {
        int n = 0;
        while (Ccp()->GetRedoStepCount() > 0 && Ccp()->PerformRedo()) ++n;
        return n;
    }
    void CloseWindow() {
        if (!Doc()) return;
        Doc()->SetModified(FALSE);
        Word("closeDesign -nosave");
    }

    // One sequence; false (with the reason) when a property does not hold.
    bool RunSequence(unsigned seed, bool freshHost, std::string& why);

    std::string m_saved;
    fs::path m_registry;
};

bool RandomEdits::RunSequence(unsigned seed, bool freshHost, std::string& why) {
    Rng rng(seed);
    EditWorld world;
    size_t journalStart = JournalText().size();
    if (!Open("work.board:sch", 1)) return why = "the design does not open", false;
    ShowU1();
    // Edits, with about one commit in six refused by the database.
    std::bernoulli_distribution refuse(1.0 / 6);
    Server()->setCommitFault([&] { return refuse(rng); });
    int edits = std::uniform_int_distribution<int>(1, 8)(rng);
    std::string lines;
    for (int i = 0; i < edits; ++i) {
        const EditKind& kind = Pick(rng, EditKinds());
        std::string line = kind.line(rng, world);
        lines += line + "\n";
        Run(line);
    }
    Server()->setCommitFault(nullptr);
    Messages();
    const std::string endDesign = DesignText(), endComments = CommentText(Doc());
    const std::string journal = JournalText().substr(journalStart);
    auto fail = [&](const std::string& what) {
        why = what + "\nedits:\n" + lines;
        return false;
    };

    // Undo everything, redo everything, undo everything again.
    UndoAll();
    if (DesignText() != m_saved) return fail("undoing every step does not give the saved design back");
    RedoAll();
    if (DesignText() != endDesign) return fail("redoing every step does not give the end state");
    UndoAll();
    if (DesignText() != m_saved) return fail("undoing after a redo does not give the saved design back");
    CloseWindow();

    // The journal of the sequence, replayed on the saved design.
    std::ofstream(m_dir / "sequence.vbs", std::ios::binary) << journal;
    std::string error;
    if (!freshHost) {
        std::string path = CKXShareGlobalData::m_bAutomation ? CKXShareGlobalData::m_bAutomation : "";
        CKXShareGlobalData::SetAutomationPath(nullptr);
        bool replayed = m_app->Replay((m_dir / "sequence.vbs").string(), error);
        CKXShareGlobalData::SetAutomationPath(path.c_str());
        if (!replayed) return fail("the journal does not replay: " + error + "\n" + journal);
        std::string design = DesignText(), comments = CommentText(Doc());
        UndoAll();
        bool restored = DesignText() == m_saved;
        CloseWindow();
        if (design != endDesign) return fail("the replayed journal gives another design\n" + journal);
        if (comments != endComments)
            return fail("the replayed journal gives other comments:\n" + comments + "instead of\n" + endComments + journal);
        if (!restored) return fail("undoing the replayed steps does not give the saved design back");
        return true;
    }
    // A fresh host on the library as saved on disk.
    std::string path = CKXShareGlobalData::m_bAutomation ? CKXShareGlobalData::m_bAutomation : "";
    m_app->Stop();
    std::ostringstream out;
    CKXHostCore core(out);
    core.SetQuiet(true);
    std::string design, comments;
    {
        CKXHostApp fresh(core);
        if (!fresh.Start(m_lib.string(), "", error, KXEditorLibraryPath())) return fail("no fresh host: " + error);
        if (!fresh.Replay((m_dir / "sequence.vbs").string(), error))
            return fail("the journal does not replay in a fresh host: " + error + "\n" + journal);
        design = DesignText();
        comments = CommentText(dynamic_cast<CKXTableDoc*>(fresh.ActiveDocument()));
        if (auto* doc = fresh.ActiveDocument()) doc->SetModifiedFlag(FALSE);
        fresh.Stop();
    }
    // The fixture's host again, on the saved library.
    m_core = std::make_unique<CKXHostCore>(m_out);
    m_core->SetQuiet(true);
    m_app = std::make_unique<CKXHostApp>(*m_core);
    if (!m_app->Start(m_lib.string(), path, error, KXEditorLibraryPath())) return fail("no host again: " + error);
    if (design != endDesign) return fail("the journal replayed in a fresh host gives another design\n" + journal);
    if (comments != endComments) return fail("the journal replayed in a fresh host gives other comments\n" + journal);
    if (DesignText() != m_saved) return fail("the library on disk is not the saved design");
    return true;
}

} // namespace

TEST_F(RandomEdits, UndoRedoAndReplayOfRandomEditSequencesAreExact) {
    unsigned sequences = 1000, first = 1;
    if (const char* n = std::getenv("KX_EDIT_SEQUENCES")) sequences = static_cast<unsigned>(std::atoi(n));
    if (const char* s = std::getenv("KX_EDIT_SEED")) {
        first = static_cast<unsigned>(std::strtoul(s, nullptr, 10));
        sequences = 1;
    }
    for (unsigned k = 0; k < sequences; ++k) {
        unsigned seed = first + k;
        std::string why;
        bool freshHost = seed % 100 == 0;
        if (!RunSequence(seed, freshHost, why)) {
            ADD_FAILURE() << "seed " << seed << " (KX_EDIT_SEED=" << seed << "): " << why;
            return;
        }
    }
}
