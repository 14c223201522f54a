// What a hostile or unlucky user meets: windows closed by a journal, bad host arguments, a bad
// design file among good ones, saves that cannot be written, and every editing route marking the
// document modified.
#include "KXShellFixture.h"

#include "shell/KXTableDoc.h"

#include "afx/afxanswer.h"
#include "afx/afxdisp.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxmsgsrvr/KXHostMessages.h"
#include "grid/KXGlobalMessages.h"
#include "kxnotes/CComments.h"
#include "rmx/server.h"
#include "rmx/transaction.h"
#include "pane/KXBottomPaneContainerView.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

namespace fs = std::filesystem;

namespace {

class Hostile : public KXShellFixture {
protected:
    // The design's saved text, to see whether a call changed it.
    std::string DesignText() {
        IDesign* d = CKXShareGlobalData::m_pServer->findDesign("work.board:sch");
        fs::path dir = m_dir / "snap";
        fs::remove_all(dir);
        CString error;
        EXPECT_TRUE(CKXShareGlobalData::m_pServer->saveDesignAs(d, dir.c_str(), "work", "board", "sch", &error));
        std::ifstream in(dir / "board.sch.design", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string DesignComment() {
        CString text, date, time, user;
        if (!Doc()->GetComments() || !Doc()->GetComments()->getDesignComments(text, date, time, user)) return "-";
        return text.str();
    }
    HRESULT Call(const char* method, std::vector<COleVariant> args) {
        IDispatch* disp = Doc()->GetDocumentInterface();
        COleVariant result;
        HRESULT hr = AfxInvokeByName(disp, method, std::move(args), &result);
        disp->Release();
        return hr;
    }
};

} // namespace

TEST_F(Hostile, AJournalThatClosesItsWindowReplays) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    EXPECT_EQ(Word("closeDesign -nosave"), 1);
    ASSERT_EQ(m_app->Documents().size(), 0u);
    std::string journal = JournalText();
    ASSERT_NE(journal.find("call board.Close()"), std::string::npos) << journal;
    std::ofstream(m_dir / "close.vbs", std::ios::binary) << journal;
    CKXShareGlobalData::SetAutomationPath(nullptr);
    std::string error;
    EXPECT_TRUE(m_app->Replay((m_dir / "close.vbs").string(), error)) << error;
    EXPECT_EQ(m_app->Documents().size(), 0u);
    // The same through the host's automation command.
    ASSERT_TRUE(Open("work.board:sch", 3));
    EXPECT_EQ(Run("kx::call Close"), "1");
    EXPECT_EQ(m_app->Documents().size(), 0u);
}

TEST_F(Hostile, HostCommandsTakeOnlyNumbersTheyKnow) {
    for (const char* mode : {"abc", "1x", "", " 1"})
        EXPECT_EQ(Run(std::string("kx::open work.board:sch {") + mode + "}").rfind("error: the open mode is a number", 0), 0u)
            << mode;
    for (const char* mode : {"5", "99", "-1", "7"}) {
        EXPECT_EQ(Run(std::string("kx::open work.board:sch ") + mode), "0") << mode;
        EXPECT_NE(Transcript().find(std::string("no open mode ") + mode), std::string::npos) << mode;
    }
    EXPECT_EQ(m_app->Documents().size(), 0u);
    EXPECT_EQ(Run("kx::open work.board:sch 3"), "1");
    EXPECT_EQ(Run("kx::tab abc"), "error: the design window is a number, not \"abc\"");
    EXPECT_EQ(Run("kx::tab 2"), "error: no design window 2");
    EXPECT_EQ(Run("kx::tab 1"), "1");
    // A journal line with a bad mode is refused with its number.
    std::ofstream(m_dir / "mode.vbs") << "call RMX.OpenDesign(\"work.board:sch\", \"9\")\n";
    std::string error;
    EXPECT_FALSE(m_app->Replay((m_dir / "mode.vbs").string(), error));
    EXPECT_EQ(error.rfind("line 1: no open mode 9", 0), 0u) << error;
}

TEST_F(Hostile, ABadDesignFileLeavesTheOtherDesignsOfTheLibraryToOpen) {
    m_app->Stop();
    fs::path lib = m_dir / "lib2";
    fs::create_directories(lib);
    std::ofstream(lib / "library.rmx") << "rmx-library 1\nlibrary two\n";
    std::ofstream(lib / "good.sch.design") << "rmx-design 1\ndesign two good sch schematic\nnet N -1 -1 0 unknown\n";
    std::ofstream(lib / "bad.sch.design") << "rmx-design 1\ndesign two bad sch schematic\n\t\nnet\n";
    std::ostringstream out;
    CKXHostCore core(out);
    CKXHostApp app(core);
    std::string error;
    ASSERT_TRUE(app.Start(lib.string(), "", error, KXEditorLibraryPath())) << error;
    EXPECT_NE(out.str().find("error: not loaded: " + (lib / "bad.sch.design").string() + ":4:"), std::string::npos)
        << out.str();
    EXPECT_TRUE(app.Open("two.good:sch", 3, error)) << error;
    EXPECT_FALSE(app.Open("two.bad:sch", 3, error));
    app.Stop();
    // A folder that is no library still stops the host.
    CKXHostApp none(core);
    EXPECT_FALSE(none.Start((m_dir / "nowhere").string(), "", error, KXEditorLibraryPath()));
}

TEST_F(Hostile, ASaveThatCannotBeWrittenIsAnErrorAndTheEditStays) {
    if (::geteuid() == 0) GTEST_SKIP() << "a read-only folder does not stop the superuser";
    ASSERT_TRUE(Open("work.board:sch", 3));
    Call("AddSignal", {COleVariant("KEPT"), COleVariant(""), COleVariant("")});
    ASSERT_TRUE(Doc()->IsModified());
    ::chmod(m_lib.c_str(), 0555);
    Messages();
    EXPECT_EQ(Word("saveDesign"), 0);
    ::chmod(m_lib.c_str(), 0755);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXCOMMON-102"}));
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(JournalText().find(".Save()"), std::string::npos);
}

TEST_F(Hostile, ASaveRefusedByTheServerIsAnErrorAndTheEditStays) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Call("AddSignal", {COleVariant("KEPT"), COleVariant(""), COleVariant("")});
    ASSERT_TRUE(Doc()->IsModified());
    // The design's folder is a plain file now: nothing can be written into it.
    fs::remove_all(m_lib);
    std::ofstream(m_lib) << "not a folder";
    Messages();
    EXPECT_EQ(Word("saveDesign"), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXCOMMON-102"}));
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(JournalText().find(".Save()"), std::string::npos);
}

// Names longer than the file system takes, on every road of Save As: each is refused with its message, nothing
// is written or journalled, and the window keeps its unsaved edit (the host lives on to save it).
TEST_F(Hostile, ASaveAsNameTheFileSystemCannotTakeIsRefusedAndTheEditStays) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    Call("AddSignal", {COleVariant("UNSAVED"), COleVariant(""), COleVariant("")});
    ASSERT_TRUE(Doc()->IsModified());
    const std::string longBlock(250, 'B'), longerBlock(256, 'B'), longLibrary(300, 'L');
    const auto files = std::distance(fs::directory_iterator(m_lib), {});
    const std::string journal = JournalText();
    Messages();
    EXPECT_EQ(Word("saveDesignAs work " + longBlock), 0);
    EXPECT_EQ(Run("kx::call SaveBlockAs work " + longerBlock), "0");
    EXPECT_EQ(Word("saveDesignAs " + longLibrary + " board_copy"), 0);
    AfxGetAnswerQueue().PushDialog("CKXCreateBlockDlg", TRUE, {{"library", "work"}, {"block", longBlock.c_str()}});
    EXPECT_EQ(Word("saveDesignAs"), 0); // the dialog named a block that could not be made
    // A library of 300 letters is no library the session has loaded: refused as such, before its name's length.
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-341", "KXTABLE-341", "KXTABLE-301", "KXTABLE-341"}));
    EXPECT_NE(Transcript().find("status: Block not created: name too long"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_lib), {}), files);
    std::error_code ec;
    EXPECT_FALSE(fs::exists(m_dir / longLibrary, ec));
    EXPECT_EQ(JournalText(), journal);
    // A name the file system takes still saves, with the edit.
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Word("saveDesignAs work " + std::string(200, 'B')), 1);
    std::ifstream saved(m_lib / (std::string(200, 'B') + ".sch.design"));
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(saved), {}).find("UNSAVED"), std::string::npos);
}

TEST_F(Hostile, EveryHostMessageTakesWhatTheHostCanSend) {
    // Every INT_MSG_ message the window registers has its form, and every form sent as a registered
    // message names one the window registers.
    std::set<std::string> registered, internal, forms;
    for (const SKXRegisteredMessage& message : KXRegisteredMessages()) {
        registered.insert(message.name);
        if (std::string(message.name).rfind("INT_MSG_", 0) == 0) internal.insert(message.name);
    }
    for (const SKXHostMessageForm& form : KXHostMessageForms()) {
        if (std::string(form.name).rfind("INT_MSG_", 0) == 0) forms.insert(form.name);
        if (!form.serverNumber) {
            EXPECT_TRUE(registered.count(form.name)) << form.name;
        }
    }
    EXPECT_EQ(forms, internal);

    const std::string longWord(300, 'W');
    const std::vector<std::string> operands = {
        "", "{}", "{} 1", "{} 11", "1", "0", "-1", "abc", "U1", "{U1 R1} 1", "U1:U7 1", "U1,OUT:U7,OUT2 1",
        "{} -text 1", "R1 -text R2", "-text U1", "-text {}", "{} 99999999999", "2147483647 -2147483648",
        longWord, "{} " + longWord, "-text " + longWord, longWord + " -text " + longWord};
    for (int mode : {1, 3, 4}) {
        ASSERT_TRUE(Open("work.board:sch", mode)) << mode;
        for (const SKXHostMessageForm& form : KXHostMessageForms()) {
            for (const std::string& words : operands) {
                const std::string result = Run("kx::notify " + std::string(form.name) + " " + words);
                const bool answered = !result.empty() && result.find_first_not_of("-0123456789") == std::string::npos;
                EXPECT_TRUE(answered || result.rfind("error: usage: kx::notify " + std::string(form.name), 0) == 0)
                    << form.name << " " << words.substr(0, 40) << ": " << result;
            }
        }
        EXPECT_EQ(Word("closeDesign -nosave"), 1) << mode;
    }
}

// The option messages take their value as a text: given as a number word, it is sent as its text.
TEST_F(Hostile, AnOptionMessageGivenANumberTakesItAsItsText) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    EXPECT_EQ(Run("kx::notify INT_MSG_SETUP_SHOW_DPSIGNALS_SLP {} 1"), "1");
    EXPECT_EQ(Run("kx::notify INT_MSG_SETUP_SHOW_DPPINS_CCP {} 11"), "1");
    EXPECT_EQ(Run("kx::notify INT_MSG_SETUP_SHOW_DPPINS_CCP {} -text 0"), "1");
    EXPECT_EQ(Run("kx::notify INT_MSG_SETUP_SHOW_DPPINS_CCP U1 1"),
              "error: usage: kx::notify INT_MSG_SETUP_SHOW_DPPINS_CCP {} -text TEXT");
    EXPECT_EQ(Run("kx::notify INT_MSG_PRESERVE_INST_COMMENT U1:U7 one"),
              "error: usage: kx::notify INT_MSG_PRESERVE_INST_COMMENT TEXT NUMBER");
    EXPECT_EQ(Run("kx::notify INT_MSG_HIGHLIGHT_PIN work.board:sch@U1.D<0>").rfind(
                  "error: usage: kx::notify INT_MSG_HIGHLIGHT_PIN {}", 0),
              0u);
    EXPECT_EQ(Run("kx::notify INT_MSG_NO_SUCH_THING"), "error: \"INT_MSG_NO_SUCH_THING\" is no message that a design window takes");
}

// A bit number past the highest the design takes is no name: the connect is refused with its message before
// any net is made or widened, on a plain name and a pair's; a design file declaring such a net does not load.
TEST_F(Hostile, ABitNumberPastTheLimitIsRefusedBeforeAnythingIsMade) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addConnection pin {EW<3>} IN"), "2");
    const std::string netlist = Run("kx::netlist");
    Messages();
    for (const char* name : {"EW<65536>", "WIDE<1000000>", "EW<1000000> (Differential Pair)", "W<99999999>"}) {
        EXPECT_EQ(Run(std::string("addConnection pin {") + name + "} OUT"), "0") << name;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-112"}) << name;
    }
    EXPECT_EQ(Run("kx::netlist"), netlist);
    EXPECT_EQ(Run("kx::prop work.board:sch@EW<65536> NAME").rfind("error:", 0), 0u);
    // The highest bit number is a name.
    EXPECT_NE(Run("addConnection pin {TOP<65535>} OUT"), "0");

    const fs::path lib = m_dir / "wide";
    fs::create_directories(lib);
    std::ofstream(lib / "library.rmx") << "rmx-library 1\nlibrary two\n";
    std::ofstream(lib / "top.sch.design") << "rmx-design 1\ndesign two top sch schematic\nnet TOP 65535 0 0 unknown\n";
    std::ofstream(lib / "wide.sch.design") << "rmx-design 1\ndesign two wide sch schematic\nnet WIDE 1000000 0 0 unknown\n";
    IServer later;
    CString error;
    bool partly = false;
    later.loadLibrary(lib.c_str(), error, &partly);
    EXPECT_TRUE(partly);
    EXPECT_NE(error.str().find("wide.sch.design:3: bit numbers run from 0 to 65535"), std::string::npos) << error.str();
    EXPECT_EQ(later.findDesign("two.wide:sch"), nullptr);
    EXPECT_NE(later.findDesign("two.top:sch"), nullptr);
}

TEST_F(Hostile, EveryEditingRouteMarksTheDocumentModified) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    struct Route {
        const char* what;
        std::function<void()> run;
    };
    const std::vector<Route> routes = {
        {"AddSignal", [&] { Call("AddSignal", {COleVariant("NEW_SIG"), COleVariant(""), COleVariant("")}); }},
        {"AliasNets", [&] { Call("AliasNets", {COleVariant("N1"), COleVariant("NEW_SIG")}); }},
        {"DeleteAlias", [&] { Call("DeleteAlias", {COleVariant("N1"), COleVariant("NEW_SIG")}); }},
        {"AddComponent",
         [&] { Call("AddComponent", {COleVariant("R9"), COleVariant("work"), COleVariant("res"), COleVariant("sym")}); }},
        {"EditRefDes", [&] { Call("EditRefDes", {COleVariant("R1"), COleVariant("R7")}); }},
        {"InsertComment", [&] { Call("InsertComment", {COleVariant("a note")}); }},
        {"EditComment", [&] { Call("EditComment", {COleVariant("another note")}); }},
        {"DeleteComment", [&] { Call("DeleteComment", {}); }},
        {"designComment add", [&] { Run("designComment add {by word}"); }},
        {"designComment edit", [&] { Run("designComment edit {edited by word}"); }},
        {"designComment delete", [&] { Run("designComment delete"); }},
        {"slp AddSignal", [&] { Run("kx::call AddSignal SLP_SIG {} {}"); }},
    };
    int changed = 0;
    for (const Route& r : routes) {
        Doc()->SetModified(FALSE);
        std::string before = DesignText() + DesignComment();
        r.run();
        bool edited = DesignText() + DesignComment() != before;
        if (!edited) continue;
        ++changed;
        EXPECT_TRUE(Doc()->IsModified()) << r.what << " changed the design but left the document unmodified";
    }
    EXPECT_GE(changed, 8);
}

TEST_F(Hostile, AMissingOrCorruptMessageFileIsReported) {
    m_app->Stop();
    fs::path data = m_dir / "data";
    fs::create_directories(data / "rmx");
    std::ofstream(data / "rmx" / "tblerrors.txt") << "KXTABLE-1: fine\nthis line is no message\n";
    CKXErrorHandler::SetDataDirectory(data.c_str());
    CKXErrorHandler::TakeLoadFailures();
    std::ostringstream out;
    CKXHostCore core(out);
    CKXHostApp app(core);
    std::string error;
    ASSERT_TRUE(app.Start("", "", error, KXEditorLibraryPath())) << error;
    app.Stop();
    std::string said = out.str();
    // The corrupt file, with its line, and the missing one.
    EXPECT_NE(said.find("error: message file " + (data / "rmx" / "tblerrors.txt").string() + ":2:"), std::string::npos)
        << said;
    EXPECT_NE(said.find("error: message file " + (data / "rmx" / "kxcommon.txt").string() + ": cannot open"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("show as their ids"), std::string::npos);
}

TEST_F(Hostile, AnUndoOverAChangeMadeSinceIsRefusedWholeAndSaysSo) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    ASSERT_EQ(Call("AddSignal", {COleVariant("LATER"), COleVariant(""), COleVariant("")}), S_OK);
    ASSERT_EQ(Ccp()->GetUndoStepCount(), 1);
    // Another route renames the net since: the undo of its creation no longer fits.
    {
        IServer* server = CKXShareGlobalData::m_pServer;
        CTransaction t(CDesignContext(server, "work.board:sch"), "elsewhere");
        ASSERT_TRUE(t.renameNet(server->findDesign("work.board:sch")->findNet("LATER"), "RENAMED"));
        ASSERT_TRUE(t.commit());
    }
    std::string before = DesignText();
    size_t journal = JournalText().size();
    Messages();
    EXPECT_FALSE(Ccp()->PerformUndo());
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-221"}));
    EXPECT_EQ(DesignText(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 1); // still there, as it was
    EXPECT_EQ(Ccp()->GetRedoStepCount(), 0);
    EXPECT_EQ(JournalText().find(".Undo()", journal), std::string::npos);
}
