// The script words as one vocabulary: the design window's and the pane's tables dispatch
// every word they hold, no word belongs to both, and every line the editor echoes to the host
// or asks it to run starts with a word of those tables (or the host's own switchTab).
// Also the removal of differential-pair pins by word, menu and automation.
#include "KXShellFixture.h"

#include "grid/KXScriptWords.h"
#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXTclCmdManager.h"
#include "rmx/DesignBuilder.h"
#include "rmx/context.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace {

class ScriptWords : public KXShellFixture {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        KXShellFixture::BuildDesign(b);
        b.symbol("lvds").port("P").port("N").port("A");
        b.symbol("lvds2").port("P").port("N").port("R").port("S");
        b.schematic("board")
            .instance("U5", "lvds", "U5")
            .instance("U7", "lvds2", "U7")
            .dpPin("U7", "CLK", "P", "N")
            .dpPin("U7", "DAT", "R", "S")
            .instance("U6", "lvds", "U6")
            .connect("U6", "P", "CLK_P")
            .connect("U6", "N", "CLK_N")
            .dpPin("U5", "CLK", "P", "N")
            .dpPin("U6", "CLK", "P", "N")
            .dpNet("CLKNET", "CLK_P", "CLK_N")
            .dpConnect("U6", "CLK", "CLKNET");
        b.pinNumber("U5", "P", "1").pinNumber("U5", "N", "2").pinNumber("U5", "A", "3");
    }

    // Every word the window or the pane dispatches.
    std::set<std::string> TableWords() const {
        std::set<std::string> words;
        for (const auto& entry : Frame()->GetTclCommandMap())
            words.insert(std::string(entry.first));
        for (const auto& entry : Ccp()->GetTclCommandMap())
            words.insert(entry.first);
        return words;
    }
    // The first word of every command the editor echoed or asked the host to run since the
    // fixture started ("selectWindow ccp; paste" gives two commands).
    std::vector<std::string> SentWords() const {
        std::vector<std::string> words;
        std::istringstream lines(Transcript());
        for (std::string line; std::getline(lines, line);) {
            std::string text;
            for (const char* prefix : {"echo: ", "request: "})
                if (line.rfind(prefix, 0) == 0) text = line.substr(std::string(prefix).size());
            for (size_t start = 0; !text.empty() && start < text.size();) {
                const size_t end = std::min(text.find("; ", start), text.size());
                std::istringstream command(text.substr(start, end - start));
                std::string word;
                if (command >> word) words.push_back(word);
                start = end + 2;
            }
        }
        return words;
    }
    IDPInstTerm* Pair(const char* instance) {
        CDesignContext design(CKXShareGlobalData::m_pServer, "work.board:sch");
        IInstance* inst = design.instance(instance).instance();
        return inst ? inst->findDPInstTerm("CLK") : nullptr;
    }
    // The names of an instance's pair pins, in the order the design keeps (and saves) them.
    std::string PairNames(const char* instance) {
        CDesignContext design(CKXShareGlobalData::m_pServer, "work.board:sch");
        IInstance* inst = design.instance(instance).instance();
        std::string names;
        for (IDPInstTerm* pair : inst->beginDPInstTerm())
            names += std::string(names.empty() ? "" : " ") + pair->name();
        return names;
    }
    bool Shown(const std::string& id) {
        const std::vector<std::string> shown = Messages();
        return std::find(shown.begin(), shown.end(), id) != shown.end();
    }
};

// ------------------------------------------------------------------ one vocabulary

TEST_F(ScriptWords, EveryWordOfTheWindowTableReachesItsHandler) {
    ASSERT_TRUE(Open());
    const auto& table = Frame()->GetTclCommandMap();
    EXPECT_EQ(table.size(), 13u);
    Messages();
    for (const auto& [word, handler] : table) {
        EXPECT_NE(CKXTclCmdManager::GetTCLCommandId(word), 0u) << word;
        // A word the window did not dispatch would answer 0 and say nothing; its handler
        // answers the help request with its usage (or says why it does not apply here).
        const size_t before = Transcript().size();
        const std::string result = Run(std::string(word) + " -help");
        EXPECT_EQ(result.rfind("error", 0), std::string::npos) << word << ": " << result;
        const bool said = !Messages().empty() || Transcript().find("host message", before) != std::string::npos;
        EXPECT_TRUE(said || result == "1") << word << ": " << result;
    }
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_TRUE(Frame() != nullptr); // closeDesign -help closes nothing
}

TEST_F(ScriptWords, NoWordBelongsToBothTables) {
    ASSERT_TRUE(Open());
    // The window answers its words before the pane sees them: a word in both would never reach
    // the pane.
    for (const auto& entry : Ccp()->GetTclCommandMap())
        EXPECT_EQ(Frame()->GetTclCommandMap().count(entry.first.c_str()), 0u) << entry.first;
    // The host's own word is no word of the editor.
    EXPECT_EQ(TableWords().count(KXScriptWord::switchTab), 0u);
}

TEST_F(ScriptWords, EveryEchoedOrRequestedWordIsAWordOfTheTables) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    // Hands on the pin grid, automation calls that go through the host, menu commands.
    Run("kx::pane SetViewOptions 1 1");
    Run("kx::pane ExpandAllPins");
    Run("kx::pane Sort {Pin Name}");
    Run("kx::pane FilterRows {} {*}");
    Run("kx::pane SelectPinNameCol OUT");
    Run("kx::pane InsertComment {a note}");
    Run("kx::pane EditComment {another note}");
    Run("kx::pane DeleteComment");
    Run("kx::pane CtrSelectPinNameCol OUT");
    Run("kx::pane AddConnection N9");
    Run("kx::pane Dump " + (m_dir / "grid.txt").string());
    Run("kx::key ccp Delete");
    Run("kx::menu 35725");
    Run("kx::call InsertComment {a design note}");
    Run("kx::show clp U5");
    Run("kx::pane SelectPinNameCol CLK");
    Run("kx::pane RemoveDiffPairPin");
    Run("kx::open work.blk:sch");
    Run("kx::tab 1");
    const std::set<std::string> known = TableWords();
    const std::vector<std::string> sent = SentWords();
    ASSERT_GE(sent.size(), 10u) << Transcript();
    std::set<std::string> distinct;
    for (const std::string& word : sent) {
        distinct.insert(word);
        EXPECT_TRUE(known.count(word) || word == KXScriptWord::switchTab) << word;
    }
    // The run reaches words of both tables and the host's own.
    EXPECT_TRUE(distinct.count(KXScriptWord::sort)) << Transcript();
    EXPECT_TRUE(distinct.count(KXScriptWord::addComment));
    EXPECT_TRUE(distinct.count(KXScriptWord::removeDiffPairPin));
    EXPECT_TRUE(distinct.count(KXScriptWord::designComment));
    EXPECT_TRUE(distinct.count(KXScriptWord::switchTab));
}

// ------------------------------------------------------------------ removing pair pins

TEST_F(ScriptWords, TheWordRemovesTheSelectedPairInOneUndoStep) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U5"), "1");
    ASSERT_NE(Pair("U5"), nullptr);
    const int steps = Ccp()->GetUndoStepCount();
    Messages();
    EXPECT_EQ(Run("removeDiffPairPin pin CLK"), "1");
    EXPECT_EQ(Pair("U5"), nullptr);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_NE(JournalText().find("RemoveDiffPairPin"), std::string::npos) << JournalText();
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_NE(Pair("U5"), nullptr);
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Pair("U5"), nullptr);
}

// Undo puts a removed pair back where it was among the component's pairs, so the design saves as before.
TEST_F(ScriptWords, UndoOfARemovedPairGivesTheDesignBackAsItWas) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(PairNames("U7"), "CLK DAT");
    ASSERT_EQ(Run("kx::show clp U7"), "1");
    EXPECT_EQ(Run("removeDiffPairPin pin CLK"), "1");
    EXPECT_EQ(PairNames("U7"), "DAT");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(PairNames("U7"), "CLK DAT");
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(PairNames("U7"), "CLK DAT");
}

TEST_F(ScriptWords, AutomationAndTheMenuRemoveThePairThroughTheWord) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U5"), "1");
    Run("kx::pane SelectPinNameCol CLK");
    Echoes();
    Run("kx::pane RemoveDiffPairPin");
    EXPECT_EQ(Pair("U5"), nullptr);
    EXPECT_EQ(Run("undo"), "1");
    ASSERT_NE(Pair("U5"), nullptr);
    Run("kx::pane SelectPinNameCol CLK");
    EXPECT_EQ(Run("kx::menu 35725"), "1");
    EXPECT_EQ(Pair("U5"), nullptr);
}

TEST_F(ScriptWords, AConnectedPairIsRefusedAndTheDesignStaysAsItWas) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U6"), "1");
    const int steps = Ccp()->GetUndoStepCount();
    const std::string netlist = Run("kx::netlist");
    Messages();
    EXPECT_EQ(Run("removeDiffPairPin pin CLK"), "0");
    EXPECT_TRUE(Shown("KXTABLE-155"));
    EXPECT_NE(Pair("U6"), nullptr);
    EXPECT_EQ(Run("kx::netlist"), netlist);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_FALSE(Doc()->IsModified());
}

// The menu item is offered only while the selected rows of every shown grid are pair pins that can
// leave their pairs, so that a choice it offers is never refused.
TEST_F(ScriptWords, TheMenuItemFollowsWhatTheSelectedRowsAllow) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U5"), "1");
    auto enabled = [this] {
        CCmdUI ui;
        ui.m_nID = 35725;
        ui.DoUpdate(Ccp(), FALSE);
        return ui.m_bEnabled != FALSE;
    };
    Run("kx::pane SelectPinNameCol A");
    EXPECT_FALSE(enabled()); // a pin that is no pair pin
    Run("kx::pane SelectPinNameCol CLK");
    EXPECT_TRUE(enabled());
    EXPECT_EQ(Run("kx::menu 35725"), "1");
    EXPECT_EQ(Pair("U5"), nullptr);
    // The pair is gone: the same row offers nothing more.
    Run("kx::pane SelectPinNameCol CLK");
    EXPECT_FALSE(enabled());
    Messages();
    Run("kx::menu 35725");
    EXPECT_FALSE(Shown("KXPANE-196")); // not offered, so not tried and refused
}

TEST_F(ScriptWords, ARowThatIsNoPairIsRefused) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U5"), "1");
    Messages();
    EXPECT_EQ(Run("removeDiffPairPin pin A"), "0");
    EXPECT_TRUE(Shown("KXPANE-196"));
    EXPECT_NE(Pair("U5"), nullptr);
    EXPECT_FALSE(Doc()->IsModified());
    // The usage, not a removal.
    EXPECT_EQ(Run("removeDiffPairPin pin -h"), "1");
    EXPECT_TRUE(Shown("KXTABLE-191"));
    EXPECT_NE(Pair("U5"), nullptr);
}

} // namespace
