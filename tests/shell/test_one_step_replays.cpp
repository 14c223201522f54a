// An edit is one undo step in the session and in the replay of its journal alike: a user's edit of
// several rows, a sort by a header click, and a replay that journals the group of calls it ran as one
// step. Each case runs on the example board, then replays the journal it wrote in the same host.
#include "KXDemoBoard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

constexpr const char* kReplaysAs = "(replays as";

class OneStepReplays : public DemoBoard {
protected:
    struct Histories {
        std::string session;  // kx::history after the road
        std::string replayed; // kx::history after the journal's replay, the session's window closed
        std::string journal;  // what the session journalled
        std::string written;  // what the replay journalled
    };

    // Runs SETUP then ROAD (each line must answer 1) in a window of open mode 3, then replays what they
    // journalled once the window is closed.
    Histories RunAndReplay(const std::string& setup, const std::vector<std::string>& roads) {
        Histories h;
        const size_t from = JournalText().size();
        EXPECT_TRUE(OpenBoard(3, setup)) << setup;
        for (const std::string& road : roads)
            EXPECT_EQ(Run(road), "1") << road;
        h.session = Run("kx::history");
        h.journal = JournalText().substr(from);
        Run("closeDesign -nosave");
        const std::filesystem::path part = m_dir / "part.vbs";
        std::ofstream(part, std::ios::binary) << h.journal;
        const size_t replayFrom = JournalText().size();
        EXPECT_EQ(Run("kx::replay " + part.string()), "1");
        h.written = JournalText().substr(replayFrom);
        h.replayed = Run("kx::history");
        return h;
    }

    void ExpectOneStep(const Histories& h, const std::string& history) {
        EXPECT_EQ(h.session, history) << h.journal;
        EXPECT_EQ(h.replayed, history) << h.journal;
        EXPECT_EQ(h.session.find(kReplaysAs), std::string::npos) << h.session;
    }
};

// A model given to two rows of a signal grid, then taken off them: each one step, in the replay too.
TEST_F(OneStepReplays, ModelsOfTwoSignalGridRowsReplayAsTheirOneStep) {
    const Histories h =
        RunAndReplay("kx::show slp MCLK PG", {"assignModel pin LVCMOS33_8MA [list C10 U1] [list 30 U2]",
                                              "removeModel pin [list C10 U1] [list 30 U2]"});
    ExpectOneStep(h, "window 1\nundo Assign Model\nundo Assign Model");
    EXPECT_NE(h.journal.find("RMX.BeginStep()"), std::string::npos) << h.journal;
}

// A Delete over the rows of two signals of a signal grid, each row's delete journalled on its own.
TEST_F(OneStepReplays, ADeleteOverTheRowsOfTwoSignalsReplaysAsItsOneStep) {
    const Histories h = RunAndReplay("kx::show slp MCLK PG; kx::select ccp 5 8 6 8", {"kx::key ccp Delete"});
    ExpectOneStep(h, "window 1\nundo Delete Rows");
}

// Terminations added to four rows of a signal grid and taken off them again: each one step.
TEST_F(OneStepReplays, TerminationsOfSignalGridRowsReplayAsTheirOneStep) {
    const Histories h =
        RunAndReplay("kx::show slp MCLK PG",
                     {"kx::select ccp 6 11 9 11; kx::pane InitTermination Series; kx::pane AddTermination",
                      "kx::select ccp 6 11 9 11; deleteTermination pin"});
    ExpectOneStep(h, "window 1\nundo Add Termination\nundo Delete Termination");
}

// A header click sorts the rows as a step of the history: the replay makes that step again, and the
// undo of it is journalled as the user's undo.
TEST_F(OneStepReplays, AHeaderClickSortIsMadeAgainByTheReplay) {
    const Histories h = RunAndReplay("kx::show slp MCLK", {"kx::click ccp 1 8", "kx::click ccp 1 8", "undo"});
    ExpectOneStep(h, "window 1\nundo Sort\nredo Sort");
    EXPECT_NE(h.journal.find("SortByHeader"), std::string::npos) << h.journal;
}

// A sort stays the step it was made as, whatever its grid shows when it is undone: a sort of U1 alone,
// undone after U1 was shown beside U2, is journalled as the user's undo (on every road of the sort); a
// sort of the two side by side, undone with U1 alone, journals no undo (its sort journalled nothing).
TEST_F(OneStepReplays, ASortIsUndoneAsTheStepItWasMadeAs) {
    for (const char* road : {"sort pin {Pin Number}", "kx::click ccp 2 5",
                             "kx::select ccp 6 5; kx::menu 35121", "kx::pane SortByHeader {Pin Number}"}) {
        SCOPED_TRACE(road);
        const Histories h = RunAndReplay(kShowU1, {road, "kx::show clp U1 U2", "kx::show slp MCLK; undo"});
        ExpectOneStep(h, "window 1\nredo Sort");
        EXPECT_NE(h.journal.find("Undo()"), std::string::npos) << h.journal;
        Run("closeDesign -nosave"); // the replay's window
    }
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1 U2"));
    ASSERT_EQ(Run("sort pin {Pin Name}"), "1");
    const size_t from = JournalText().size();
    Run("kx::show clp U1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(JournalText().find("Undo()", from), std::string::npos) << JournalText().substr(from);
    EXPECT_EQ(Run("kx::history"), "window 1\nredo Sort Columns (replays as 0)");
}

// A physical net grid left showing no net (its net lost its last pin in the logical window) takes no
// sort and no filter: no journal line shows that grid again, so the replay could not make the step.
TEST_F(OneStepReplays, APhysicalGridShowingNoNetTakesNoSortAndNoFilter) {
    ASSERT_TRUE(OpenBoard(3, "kx::notify INT_MSG_DELETE_INSTANCE -text U1"));
    ASSERT_TRUE(OpenBoard(4));
    // RN1A's pin B, the last pin of RESET_N once U1 went, taken off it.
    ASSERT_EQ(Run("kx::tab 1; kx::show slp RESET_N; kx::answer question KXTABLE-140 no; "
                  "kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0; kx::edit ccp 5 8 {}"),
              "1");
    ASSERT_EQ(Run("kx::tab 2; kx::show slp RESET_N"), "1");
    ASSERT_NE(Run("kx::window ccp").find("CKXPhysNetDetailsGridWnd \"\""), std::string::npos)
        << Run("kx::window ccp");
    Run("kx::messages");
    for (const char* road :
         {"sort pin {Pin Number}", "kx::pane SortByHeader {Pin Number}", "kx::click ccp 1 3",
          "filterRows pin -col {Ref Des} -filter R*", "kx::pane FilterRows {Ref Des} R*"}) {
        SCOPED_TRACE(road);
        EXPECT_EQ(Run(road), "0");
        EXPECT_EQ(Run("kx::messages"), "KXPANE-246");
    }
    EXPECT_EQ(Run("kx::history"), "window 1\nundo Delete Component\nundo Add Conn\nwindow 2");
}

// A replay that journals runs each group of calls of one step as that step, and journals it as one group:
// its own journal replays as the journal it ran.
TEST_F(OneStepReplays, AReplayJournalsEachGroupOfCallsAsOneStep) {
    const Histories h = RunAndReplay("kx::show clp U1; kx::select ccp 40 7 41 7", {"addComment pin two"});
    ASSERT_NE(h.journal.find("RMX.BeginStep()"), std::string::npos) << h.journal;
    EXPECT_EQ(h.replayed, h.session) << h.journal;
    EXPECT_EQ(h.session.find(kReplaysAs), std::string::npos) << h.session;
    EXPECT_NE(h.written.find("RMX.BeginStep()"), std::string::npos) << h.written;
    EXPECT_EQ(h.replayed.find(kReplaysAs), std::string::npos) << h.replayed;
}

// A group grid read again after an edit (the Show Vectors box, the view options) takes no step of its own:
// the edit stays the last step, in the replay of the journal too.
TEST_F(OneStepReplays, AGroupGridReadAgainLeavesTheEditTheLastStep) {
    for (const char* road : {"kx::header ccp click 9096", "setViewOption pin bus_off dp_on"}) {
        SCOPED_TRACE(road);
        const Histories h = RunAndReplay("kx::show clp -group R1 R2", {"kx::edit ccp 6 7 TNET", road});
        ExpectOneStep(h, "window 1\nundo Add Conn");
        Run("closeDesign -nosave"); // the replay's window
    }
}

// The pair pins option and the schematic's change of a grouped component read the group grid again: the
// edit before stays the last step (undone by undo, unless the schematic renamed what it changed) and the
// grid shows one row a pin.
TEST_F(OneStepReplays, AGroupGridReadAgainKeepsTheEditTheStepUndoTakesBack) {
    const std::regex groupRow("(^|\n) *[0-9]+: R(1|2|11) \\| ");
    const struct {
        const char* road;
        bool undoable;
    } cases[] = {{"kx::option show_dp_pins_ccp 0", true},
                 {"kx::schematic pintype R2 B input", true},
                 {"kx::schematic instance R1 R11", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.road);
        ASSERT_TRUE(OpenBoard(3, "kx::show clp -group R1 R2"));
        ASSERT_EQ(Run("kx::edit ccp 6 7 TNET"), "1");
        Run(c.road);
        EXPECT_EQ(Run("kx::history"), "window 1\nundo Add Conn");
        if (c.undoable) {
            EXPECT_EQ(Word("undo"), 1);
            EXPECT_EQ(Run("kx::netlist").find(" A TNET"), std::string::npos) << Run("kx::netlist");
        }
        const std::string rows = Run("kx::window ccp");
        const auto shown = std::distance(std::sregex_iterator(rows.begin(), rows.end(), groupRow),
                                         std::sregex_iterator());
        EXPECT_EQ(shown, 4) << rows;
        Run("closeDesign -nosave");
    }
}

} // namespace

namespace {

// A pin comment's step is named by its edit on every road (word, method, menu; a power pin's group row;
// blanks given as the new text delete), after an undo and a redo too, and the replay names it alike.
TEST_F(OneStepReplays, ACommentStepIsNamedByItsEditOnEveryRoadAndInTheReplay) {
    const char* const pgood = "kx::show clp U1; kx::select ccp 41 7";
    const struct {
        const char* setup;
        std::vector<std::string> roads;
        const char* history;
    } cases[] = {
        {pgood,
         {"kx::pane InsertComment hello", "kx::pane EditComment changed", "undo", "redo", "kx::pane DeleteComment"},
         "undo Insert Comment\nundo Edit Comment\nundo Delete Comment"},
        {pgood,
         {"kx::answer dialog CKXCommentsDlg ok text one; kx::menu 35555",
          "kx::answer dialog CKXCommentsDlg ok text two; kx::menu 35557", "kx::menu 35556", "undo"},
         "undo Insert Comment\nundo Edit Comment\nredo Delete Comment"},
        {pgood,
         {"addComment pin one", "modifyComment pin two", "modifyComment pin {   }", "undo", "redo"},
         "undo Insert Comment\nundo Edit Comment\nundo Delete Comment"},
        // Last: the power pins stay shown.
        {"kx::show clp U1; expandPins pin on; kx::powerpins on; kx::select ccp 59 10",
         {"addComment pin pwr", "undo", "redo"},
         "undo Insert Comment"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.roads.front());
        const Histories h = RunAndReplay(c.setup, c.roads);
        ExpectOneStep(h, std::string("window 1\n") + c.history);
        Run("closeDesign -nosave"); // the replay's window
    }
}

} // namespace
