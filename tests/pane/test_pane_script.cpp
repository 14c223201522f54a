// The pane's script words as the host runs them: registration, help, dispatch,
// and the handlers for comments, view options, filters, sorting, custom columns
// and dumps.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxcommon/TclArgs.h"
#include "kxcontrols/KXTclCmdManager.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "kxnotes/CComments.h"
#include "rmx/context.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using Pane = CKXBottomPaneContainerView;
using G = CKXInstanceDetailsGridWnd;

class PaneScript : public KXShellFixture {
protected:
    void ShowU1() {
        CDesignContext design(CKXShareGlobalData::m_pServer, "work.board:sch");
        CKXInstanceContextArray arr;
        arr.Add(design.instance("U1"));
        Ccp()->ShowInstanceConnectivity(design, &arr, TRUE);
    }
    G* Pin() { return dynamic_cast<G*>(Ccp()->GetActiveGrid()); }
    bool Shown(const std::string& id) {
        for (const std::string& m : Messages())
            if (m == id) return true;
        return false;
    }
};

TEST_F(PaneScript, EveryWordIsATclCommandWithAUsageMessage) {
    ASSERT_TRUE(Open());
    const auto& table = Ccp()->GetTclCommandMap();
    EXPECT_EQ(table.size(), 32u);
    Messages();
    for (const auto& [word, handler] : table) {
        EXPECT_NE(CKXTclCmdManager::GetTCLCommandId(word.c_str()), 0u) << word;
        const char* usage = Pane::UsageOf(word.c_str());
        ASSERT_NE(usage, nullptr) << word;
        EXPECT_TRUE(CKXErrorHandler::HasMessage(usage)) << usage;
        // kx::word reaches words whose Tcl name the host already gives to something else.
        Run("kx::word " + word + " pin -help");
        EXPECT_TRUE(Shown(usage)) << word;
    }
}

TEST_F(PaneScript, HelpIsMinusHelpInAnyCaseOrAValueBeginningWithMinusH) {
    ASSERT_TRUE(Open());
    Messages();
    Run("deleteComment pin -HELP");
    EXPECT_TRUE(Shown("KXPANE-195"));
    Run("deleteComment pin -hx");
    EXPECT_TRUE(Shown("KXPANE-195"));
    // "-H..." other than -help is a key: no pin is named so, which is an error, not the usage.
    Run("deleteComment pin -Hx");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-246"})); // nothing shown yet
}

TEST_F(PaneScript, CommentKeysSelectThePinsTheyName) {
    ASSERT_TRUE(Open());
    ShowU1();
    ASSERT_NE(Pin(), nullptr);
    CComments* store = Ccp()->GetCommentStore();
    ASSERT_NE(store, nullptr);
    CString text, date, time, user;
    Messages();
    EXPECT_EQ(Run("addComment pin {level shifted} OUT"), "1");
    ASSERT_TRUE(store->getPinComments("U1", "OUT", text, date, time, user));
    EXPECT_EQ(std::string(text), "level shifted");
    EXPECT_FALSE(store->getPinComments("U1", "IN", text, date, time, user));
    EXPECT_EQ(Run("modifyComment pin {checked} OUT"), "1");
    ASSERT_TRUE(store->getPinComments("U1", "OUT", text, date, time, user));
    EXPECT_EQ(std::string(text), "checked");
    // Several keys, one of them "instance:pin:number" with an empty number.
    EXPECT_EQ(Run("addComment pin {both} IN"), "1");
    EXPECT_TRUE(store->getPinComments("U1", "IN", text, date, time, user));
    // A bit of a bus, its row folded into the bus row or not.
    EXPECT_EQ(Run("addComment pin {bit three} {D<3>}"), "1");
    ASSERT_TRUE(store->getPinComments("U1", "D<3>", text, date, time, user));
    EXPECT_EQ(std::string(text), "bit three");
    EXPECT_FALSE(store->getPinComments("U1", "D<2>", text, date, time, user));
    EXPECT_EQ(Run("deleteComment pin OUT IN"), "1");
    EXPECT_FALSE(store->getPinComments("U1", "OUT", text, date, time, user));
    EXPECT_FALSE(store->getPinComments("U1", "IN", text, date, time, user));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(PaneScript, CommentKeysThatNameNoPinAreErrors) {
    ASSERT_TRUE(Open());
    ShowU1();
    CComments* store = Ccp()->GetCommentStore();
    CString text, date, time, user;
    Messages();
    EXPECT_EQ(Run("addComment pin {lost} NOSUCH"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-247"}));
    EXPECT_FALSE(store->getPinComments("U1", "IN", text, date, time, user));
    EXPECT_FALSE(store->getPinComments("U1", "OUT", text, date, time, user));
    // Nothing to delete on a pin without a comment: refused, not reported as done.
    EXPECT_EQ(Run("deleteComment pin OUT"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-248"}));
}

TEST_F(PaneScript, WordsWhoseOperationsAreMissingRefuseRatherThanSucceed) {
    ASSERT_TRUE(Open());
    ShowU1();
    Messages();
    // OUT has no termination to edit: refused with the reason, not reported as done.
    EXPECT_EQ(Run("editTermination pin -oldrefdes R1 -delay 1ns"), "0");
    EXPECT_TRUE(Shown("KXTABLE-212"));
}

TEST_F(PaneScript, DispatchOnlyForThePanesOwnWords) {
    ASSERT_TRUE(Open());
    const UINT sort = CKXTclCmdManager::GetTCLCommandId("sort");
    ASSERT_NE(sort, 0u);
    EXPECT_EQ(Ccp()->SendMessage(sort, 0, 0), 0); // a null list: the pane's word, refused with its usage
    const UINT ascend = CKXTclCmdManager::GetTCLCommandId("ascend");
    ASSERT_NE(ascend, 0u);
    EXPECT_EQ(Ccp()->SendMessage(ascend, 0, 0), 0); // the frame's word: not the pane's
}

TEST_F(PaneScript, ViewOptionsKeepTheChoiceNotGiven) {
    ASSERT_TRUE(Open());
    ShowU1();
    ASSERT_NE(Pin(), nullptr);
    Pin()->m_bShowVectors = 1;
    Pin()->m_bShowDiffPairs = 0;
    EXPECT_EQ(Run("setViewOption pin dp_on"), "1");
    EXPECT_EQ(Pin()->m_bShowVectors, 1);
    EXPECT_EQ(Pin()->m_bShowDiffPairs, 1);
    Messages();
    Run("setViewOption pin sideways");
    EXPECT_TRUE(Shown("KXTABLE-190"));
    Run("setViewOption pin bus_on dp_on bus_off");
    EXPECT_TRUE(Shown("KXTABLE-190"));
    Run("expandPins pin sideways");
    EXPECT_TRUE(Shown("KXTABLE-187"));
}

// The view words answer 1 only when a pin grid took the option: a wrong operand, the physical view
// and a grid that shows no component's pins are refused with 0 and the reason, and nothing is journalled.
TEST_F(PaneScript, ViewWordsAnswerZeroWhenNothingTookTheOption) {
    const std::filesystem::path journal = m_dir / "views.vbs";
    Run("kx::journal " + journal.string());
    ASSERT_TRUE(Open());
    ShowU1();
    ASSERT_NE(Pin(), nullptr);
    Messages();
    EXPECT_EQ(Run("setViewOption pin sideways"), "0");
    EXPECT_EQ(Run("setViewOption pin bus_on dp_on bus_off"), "0");
    EXPECT_EQ(Run("expandPins pin yes"), "0");
    EXPECT_EQ(Run("expandPins pin on -everywhere"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-190", "KXTABLE-190", "KXTABLE-187", "KXTABLE-187"}));
    EXPECT_EQ(Run("setViewOption pin -help"), "1"); // a help request is answered
    EXPECT_TRUE(Shown("KXTABLE-190"));
    EXPECT_EQ(Run("expandPins pin on"), "1");

    Run("kx::show slp N1");
    ASSERT_EQ(Pin(), nullptr);
    Messages();
    EXPECT_EQ(Run("setViewOption pin bus_off"), "0");
    EXPECT_EQ(Run("expandPins pin off"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-178", "KXPANE-178"}));

    ASSERT_TRUE(Open("work.board:sch", 4));
    Messages();
    EXPECT_EQ(Run("setViewOption pin bus_off"), "0");
    EXPECT_EQ(Run("expandPins pin on"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-178", "KXPANE-178"}));
    Run("kx::journal");
    std::ifstream in(journal);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().find("SetViewOptions"), std::string::npos) << text.str();
}

TEST_F(PaneScript, PhysicalViewRefusesLogicalViewOptions) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    Messages();
    Run("setViewOption pin bus_on");
    EXPECT_TRUE(Shown("KXPANE-178"));
    Run("addComment pin hello");
    EXPECT_TRUE(Shown("KXPANE-178"));
}

TEST_F(PaneScript, FilterAndCustomColumnOperands) {
    ASSERT_TRUE(Open());
    ShowU1();
    Messages();
    Run("filterRows pin -col");
    EXPECT_TRUE(Shown("KXPANE-234"));
    Run("filterRows pin -col {} -filter x");
    EXPECT_TRUE(Shown("KXPANE-234"));
    EXPECT_EQ(Run("changeCustomColumn pin"), "3");
    EXPECT_TRUE(Shown("KXPANE-237"));
    EXPECT_EQ(Run("changeCustomColumn pin -val x"), "3"); // a value before any column
    EXPECT_TRUE(Shown("KXPANE-237"));
    EXPECT_EQ(Run("changeCustomColumn pin -col NOSUCH -val {a b}"), "3");
    EXPECT_TRUE(Shown("KXPANE-238"));
}

TEST_F(PaneScript, DumpWritesTheActiveGrid) {
    ASSERT_TRUE(Open());
    Messages();
    Ccp()->SendMessage(CKXTclCmdManager::GetTCLCommandId("dumpGrid"), 0, 0);
    EXPECT_TRUE(Shown("KXPANE-244"));
    ShowU1();
    // A file name that contains "-h" is still a file name.
    const std::filesystem::path file = m_dir / "u1-hdl.txt";
    EXPECT_EQ(Run("dumpGrid pin " + file.string()), "1");
    ASSERT_TRUE(std::filesystem::exists(file));
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("OUT"), std::string::npos);
    Messages();
    EXPECT_EQ(Run("dumpGrid pin " + (m_dir / "no-such-folder" / "u1.txt").string()), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXPANE-249"}));
}

} // namespace
