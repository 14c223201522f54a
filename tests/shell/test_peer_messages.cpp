// What the host's other tools send a design window, through kx::notify as a script sends it: the frame's
// own messages (the component list takes the keyboard, a splitter drag ends), a highlighted object and a
// find result named by text, changes another tool committed (a violation resolved, the associated
// component viewer's change) and the undo lists cleared; what the windows publish to those tools
// (kx::published); and the model checker's answer before a save (kx::modelcheck).
#include "KXShellFixture.h"

#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "kxcontrols/KXSplitterWnd.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

int Count(const std::string& text, const std::string& line) {
    int n = 0;
    for (const std::string& l : Lines(text))
        n += l == line;
    return n;
}

class PeerMessages : public KXShellFixture {
protected:
    // The row of the active grid whose line in `kx::window ccp` shows the cell text, 0 when none does.
    int RowShowing(const std::string& cell) {
        for (const std::string& line : Lines(Run("kx::window ccp")))
            if (line.rfind("    ", 0) == 0 && line.find(" " + cell + " |") != std::string::npos)
                return std::atoi(line.c_str() + 4);
        return 0;
    }
    std::string Prop(const std::string& path, const std::string& name) {
        return Run("kx::prop " + path + " " + name);
    }
};

TEST_F(PeerMessages, TheComponentListTakesTheKeyboardInEveryOpenMode) {
    for (int mode : {3, 4}) {
        ASSERT_TRUE(Open("work.board:sch", mode)) << mode;
        Run("kx::show clp U1");
        ASSERT_EQ(Run("kx::focus ccp 1"), "1") << mode;
        EXPECT_EQ(Run("kx::notify MSG_SETFOCUS_CLP {} 0"), "1") << mode;
        EXPECT_EQ(Run("kx::focus"), "clp") << mode;
        ASSERT_EQ(Run("kx::focus ccp 1"), "1") << mode;
        EXPECT_EQ(Run("kx::notify MSG_SETFOCUS_CLP {} 1"), "1") << mode;
        EXPECT_EQ(Run("kx::focus"), "clp") << mode;
        EXPECT_EQ(Run("kx::notify MSG_SETFOCUS_CLP {} x").rfind("error: usage: kx::notify MSG_SETFOCUS_CLP {} NUMBER", 0),
                  0u);
        EXPECT_EQ(Word("closeDesign -nosave"), 1) << mode;
    }
    EXPECT_EQ(Run("kx::notify MSG_SETFOCUS_CLP {} 1"), "error: no design window is open");
}

// A splitter drag ends with the heights the user left: the window keeps them as the list panes' proportion.
TEST_F(PeerMessages, AnEndedSplitterDragStoresTheListHeights) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    CKXSplitterWnd& splitter = Frame()->InnerSplitter();
    int first = 0, second = 0, h0 = 0, h1 = 0, min = 0;
    splitter.GetPaneSize(first, second);
    splitter.SetRowInfo(0, 300, 10);
    splitter.SetRowInfo(1, 120, 10);
    splitter.RecalcLayout();
    splitter.GetRowInfo(0, h0, min);
    splitter.GetRowInfo(1, h1, min);
    ASSERT_NE(std::make_pair(first, second), std::make_pair(h0, h1));
    EXPECT_EQ(Run("kx::notify MSG_STOP_TRACKING_SPLITTER"), "0");
    splitter.GetPaneSize(first, second);
    EXPECT_EQ(std::make_pair(first, second), std::make_pair(h0, h1));
    EXPECT_EQ(Run("kx::notify MSG_STOP_TRACKING_SPLITTER 1").rfind("error: usage:", 0), 0u);
}

// Another tool resolves a violation by a change of its own: each committed change is an undo step of the
// window, whose undo and redo take the change back and make it again.
TEST_F(PeerMessages, AResolvedViolationIsAnUndoStepOfEachChange) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    EXPECT_EQ(Run("kx::notify MSG_VIOLATION_RESOLVED {work.board:sch@U1 VALUE 10k} -text {work.board:sch@R1 VALUE 22k}"),
              "1");
    EXPECT_EQ(Prop("work.board:sch@U1", "VALUE"), "10k");
    EXPECT_EQ(Prop("work.board:sch@R1", "VALUE"), "22k");
    EXPECT_EQ(Count(Run("kx::history"), "undo Resolve Violation"), 2);
    EXPECT_EQ(Run("kx::menu 57643"), "1");
    EXPECT_EQ(Prop("work.board:sch@R1", "VALUE").rfind("error:", 0), 0u);
    EXPECT_EQ(Prop("work.board:sch@U1", "VALUE"), "10k");
    EXPECT_EQ(Run("kx::menu 57643"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1", "VALUE").rfind("error:", 0), 0u);
    EXPECT_EQ(Run("kx::menu 57644"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1", "VALUE"), "10k");
    // A change that takes a property away; one change alone is one step.
    EXPECT_EQ(Run("kx::notify MSG_VIOLATION_RESOLVED {work.board:sch@U1 VALUE}"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1", "VALUE").rfind("error:", 0), 0u);
    EXPECT_EQ(Count(Run("kx::history"), "undo Resolve Violation"), 2);
}

// A text that names no object, or a property the object lacks, commits nothing and sends nothing.
TEST_F(PeerMessages, AChangeThatNamesNothingCommitsNothing) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    const std::string history = Run("kx::history");
    const std::string refused =
        Run("kx::notify MSG_VIOLATION_RESOLVED {work.board:sch@U1 VALUE 1k} {work.board:sch@NOPE VALUE 2k}");
    EXPECT_EQ(refused.rfind("error: usage: kx::notify MSG_VIOLATION_RESOLVED {PATH NAME ?VALUE?}", 0), 0u) << refused;
    EXPECT_NE(refused.find("no object \"work.board:sch@NOPE\""), std::string::npos) << refused;
    EXPECT_EQ(Prop("work.board:sch@U1", "VALUE").rfind("error:", 0), 0u);
    EXPECT_NE(Run("kx::notify MSG_ASSOC_COMP_CHANGED {} {work.board:sch@U1 NOSUCH}").find("no property \"NOSUCH\""),
              std::string::npos);
    EXPECT_EQ(Run("kx::notify MSG_ASSOC_COMP_CHANGED {} {work.board:sch@U1}").rfind("error: usage:", 0), 0u);
    EXPECT_EQ(Run("kx::history"), history);
    // No change at all: the window hears the message and records nothing.
    EXPECT_EQ(Run("kx::notify MSG_VIOLATION_RESOLVED"), "1");
    EXPECT_EQ(Run("kx::history"), history);
}

// The associated-component viewer's change is one step in the window of its design only; clearing the undo
// lists empties both, in every window.
TEST_F(PeerMessages, AViewerChangeIsOneStepAndClearUndoEmptiesTheLists) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    EXPECT_EQ(Run("kx::notify MSG_ASSOC_COMP_CHANGED {} {work.board:sch@R1 VALUE 1k}"), "1");
    EXPECT_EQ(Run("kx::notify MSG_ASSOC_COMP_CHANGED {} {work.blk:sch@R9 VALUE 2k}"), "1");
    EXPECT_EQ(Prop("work.blk:sch@R9", "VALUE"), "2k");
    EXPECT_EQ(Count(Run("kx::history"), "undo Change Assoc Comp"), 1);
    EXPECT_EQ(Run("kx::menu 57643"), "1");
    EXPECT_EQ(Prop("work.board:sch@R1", "VALUE").rfind("error:", 0), 0u);
    EXPECT_EQ(Run("kx::notify MSG_CLEAR_UNDO"), "1");
    EXPECT_EQ(Run("kx::history").find("undo "), std::string::npos);
    EXPECT_EQ(Run("kx::history").find("redo "), std::string::npos);
    EXPECT_EQ(Run("kx::menustate 57643"), "disabled");
    EXPECT_EQ(Run("kx::menustate 57644"), "disabled");
}

// The tools' messages of the message server and the host's property are journalled as their words, each
// once and only when done; a window's own message (its window journals what it does) is not.
TEST_F(PeerMessages, AnotherToolsChangesAreJournalledAsTheirWordsWhenDone) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    const size_t from = JournalText().size();
    EXPECT_EQ(Run("kx::notify MSG_VIOLATION_RESOLVED {work.board:sch@U1 VALUE 10k}"), "1");
    EXPECT_EQ(Run("kx::notify MSG_VIOLATION_RESOLVED {work.board:sch@NOPE VALUE 1k}").rfind("error:", 0), 0u);
    EXPECT_EQ(Run("kx::setprop work.board:sch@R1 NOTE {a \"b\"}").rfind("error:", 0), std::string::npos);
    EXPECT_EQ(Run("kx::setprop work.board:sch@NOPE NOTE x").rfind("error:", 0), 0u);
    EXPECT_EQ(Run("kx::notify INT_MSG_SELECT_FINDALLRESULT {ccp 1} {2 1}").rfind("error:", 0), std::string::npos);
    EXPECT_EQ(Run("kx::notify MSG_CLEAR_UNDO"), "1");
    std::vector<std::string> calls;
    for (const std::string& line : Lines(JournalText().substr(from)))
        if (line.rfind("call ", 0) == 0) calls.push_back(line);
    EXPECT_EQ(calls, (std::vector<std::string>{"call RMX.Notify(\"MSG_VIOLATION_RESOLVED {work.board:sch@U1 VALUE 10k}\")",
                                               "call RMX.SetProp(\"work.board:sch@R1 NOTE {a \"\"b\"\"}\")",
                                               "call RMX.Notify(\"MSG_CLEAR_UNDO\")"}));
}

// A host line whose words are no list, or that the host refuses as the command would, stops the replay at
// its line with the cause; nothing of it is made.
TEST_F(PeerMessages, AHostLineOfWordsThatAreNoListOrRefusedStopsTheReplay) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    const std::string history = Run("kx::history");
    const std::filesystem::path journal = m_dir / "tool.vbs";
    const std::pair<const char*, const char*> refused[] = {
        {"call RMX.SetProp(\"work.board:sch@U1 VALUE {10k\")", "line 1: not a list of words"},
        {"call RMX.SetProp(\"work.board:sch@U1 VALUE\")", "line 1: usage: kx::setprop PATH NAME VALUE"},
        {"call RMX.Notify(\"MSG_VIOLATION_RESOLVED {work.board:sch@U1 VALUE 10k} {work.board:sch@NOPE X}\")",
         "line 1: usage: kx::notify MSG_VIOLATION_RESOLVED"},
        {"call RMX.Notify(\"NO_SUCH_MESSAGE\")", "line 1: \"NO_SUCH_MESSAGE\" is no message"},
        {"call RMX.Notify(\"MSG_CLEAR_UNDO\", \"1\")", "line 1: not a journal line"},
    };
    for (const auto& [line, cause] : refused) {
        std::ofstream(journal, std::ios::binary) << line << "\n";
        const std::string answer = Run("kx::replay " + journal.string());
        EXPECT_EQ(answer.rfind(std::string("error: ") + cause, 0), 0u) << line << "\n" << answer;
    }
    EXPECT_EQ(Prop("work.board:sch@U1", "VALUE").rfind("error:", 0), 0u);
    EXPECT_EQ(Run("kx::history"), history);
}

// A find result names its grid and cell: the list's row or the pane's cell becomes current.
TEST_F(PeerMessages, AFindResultMakesTheCellOfTheNamedGridCurrent) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    EXPECT_EQ(Run("kx::notify INT_MSG_SELECT_FINDALLRESULT {ccp 1} {12 7}"), "1");
    EXPECT_EQ(Run("kx::grid ccp cell"), "12 7");
    EXPECT_EQ(Run("kx::notify INT_MSG_SELECT_FINDALLRESULT {ccp 1} {900 7}"), "0");
    EXPECT_EQ(Run("kx::grid ccp cell"), "12 7");
    const std::vector<std::string> components = Lines(Run("kx::window clp"));
    ASSERT_GE(components.size(), 2u);
    EXPECT_EQ(Run("kx::notify INT_MSG_SELECT_FINDALLRESULT clp {2 1}"), "1");
    EXPECT_EQ(Run("kx::window clp selected"), components[1]);
    const std::vector<std::string> signals = Lines(Run("kx::window slp"));
    ASSERT_GE(signals.size(), 1u);
    EXPECT_EQ(Run("kx::notify INT_MSG_SELECT_FINDALLRESULT slp {1 1}"), "1");
    EXPECT_EQ(Run("kx::window slp selected"), signals[0]);
    EXPECT_EQ(Run("kx::notify INT_MSG_SELECT_FINDALLRESULT slp {99 1}"), "0");
    EXPECT_NE(Run("kx::notify INT_MSG_SELECT_FINDALLRESULT {ccp 5} {7 3}").find("no grid 5"), std::string::npos);
    EXPECT_EQ(Run("kx::notify INT_MSG_SELECT_FINDALLRESULT {ccp 1} 7").rfind(
                  "error: usage: kx::notify INT_MSG_SELECT_FINDALLRESULT clp|slp|{ccp N} {ROW COL}", 0),
              0u);
}

// A highlighted object goes to the pane of its kind: a pin to the connectivity pane (its row current), a
// component to the component list, a net to the signal list.
TEST_F(PeerMessages, AHighlightedObjectIsShownByThePaneOfItsKind) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    const int out = RowShowing("OUT");
    ASSERT_GT(out, 0);
    EXPECT_EQ(Run("kx::notify INT_MSG_HIGHLIGHT_OBJECT work.board:sch@U1.OUT"), "1");
    EXPECT_EQ(Run("kx::grid ccp cell").rfind(std::to_string(out) + " ", 0), 0u) << Run("kx::grid ccp cell");
    EXPECT_EQ(Run("kx::window clp selected"), "U1");
    const int in = RowShowing("IN");
    ASSERT_GT(in, 0);
    EXPECT_EQ(Run("kx::notify INT_MSG_HIGHLIGHT_OBJECT {work.board:sch@U1.IN 2}"), "1");
    EXPECT_EQ(Run("kx::grid ccp cell").rfind(std::to_string(in) + " ", 0), 0u);
    EXPECT_EQ(Run("kx::notify INT_MSG_HIGHLIGHT_OBJECT work.board:sch@R1"), "1");
    EXPECT_EQ(Run("kx::window clp selected").rfind("R1\n", 0), 0u); // beside what the list had
    EXPECT_EQ(Run("kx::notify INT_MSG_HIGHLIGHT_OBJECT work.board:sch@:N1"), "1");
    EXPECT_EQ(Run("kx::window slp selected"), "N1");
    EXPECT_EQ(Run("kx::notify INT_MSG_HIGHLIGHT_OBJECT {work.board:sch@:N1 off}"), "1");
    const std::string unknown = Run("kx::notify INT_MSG_HIGHLIGHT_OBJECT work.board:sch@NOPE");
    EXPECT_EQ(unknown.rfind("error: usage: kx::notify INT_MSG_HIGHLIGHT_OBJECT {PATH ?MODE? ?off?}", 0), 0u);
    EXPECT_NE(unknown.find("no component, net or pin"), std::string::npos);
    EXPECT_EQ(Run("kx::notify INT_MSG_HIGHLIGHT_OBJECT {work.board:sch@:N1 7}").rfind("error: usage:", 0), 0u);
}

// The model checker's errors stop every save road: 0 with their message, nothing written, nothing journalled.
TEST_F(PeerMessages, ModelErrorsStopTheSaveOnEveryRoad) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    EXPECT_EQ(Run("kx::notify INT_MSG_DELETE_INSTANCE -text R1"), "1");
    const auto file = [&] {
        std::ifstream in(m_lib / "board.sch.design");
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string before = file();
    EXPECT_EQ(Run("kx::modelcheck 0"), "0");
    Messages();
    const std::string journal = JournalText();
    for (const char* road : {"saveDesign", "kx::menu 57603", "kx::call Save"}) {
        EXPECT_EQ(Run(road), "0") << road;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-671"}) << road;
    }
    EXPECT_EQ(file(), before);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Run("kx::modelcheck"), "0");
    EXPECT_EQ(Run("kx::modelcheck 1"), "1");
    EXPECT_EQ(Run("saveDesign"), "1");
    EXPECT_NE(file(), before);
    EXPECT_NE(file().find("U1"), std::string::npos);
    EXPECT_EQ(Run("kx::modelcheck 2"), "error: usage: kx::modelcheck ?0|1?");
}

// What a pin grid publishes when cells are selected, as the property editor, the viewer and the net
// browser get it; each publication is told once.
TEST_F(PeerMessages, TheSelectionsPublishedAreShownAsTheToolsGetThem) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    const int out = RowShowing("OUT");
    ASSERT_GT(out, 0);
    EXPECT_EQ(Run("kx::select ccp " + std::to_string(out) + " 4"), "1");
    EXPECT_EQ(Run("kx::menu 35071"), "1"); // the property editor
    EXPECT_EQ(Run("kx::menu 35574"), "1"); // the associated-component viewer
    Run("kx::published");
    EXPECT_EQ(Run("kx::published"), "");
    // The Signal cell of a pin: its net to the net browser and the editor, the pin to the viewer.
    EXPECT_EQ(Run("kx::select ccp " + std::to_string(out) + " 7"), "1");
    EXPECT_EQ(Run("kx::published"), "net: N1\npropertyeditor: net N1 -1 -1\nassoccompviewer: pin @U1.OUT");
    EXPECT_EQ(Run("kx::published"), "");
    // Pin names: the pins, a bus pin as its range to the editor and as its bits to the viewer.
    EXPECT_EQ(Run("kx::select ccp 6 4 " + std::to_string(out) + " 4"), "1");
    EXPECT_EQ(Run("kx::published"),
              "propertyeditor: pin U1.D 3 0; pin U1.IN -1 -1; pin U1.OUT -1 -1\n"
              "assoccompviewer: pin @U1.D<0>; pin @U1.D<1>; pin @U1.D<2>; pin @U1.D<3>; pin @U1.IN; pin @U1.OUT");
    // A Pull Up/Down cell without a mark gives the viewer nothing.
    EXPECT_EQ(Run("kx::select ccp 6 9"), "1");
    EXPECT_EQ(Run("kx::published"), "propertyeditor: pin U1.D 3 0");
    // A closing window empties both tools.
    EXPECT_EQ(Word("closeDesign -nosave"), 1);
    EXPECT_EQ(Run("kx::published"), "propertyeditor: none\nassoccompviewer: none");
    EXPECT_EQ(Run("kx::published x"), "error: usage: kx::published");
}

} // namespace

// A design open in two windows (its logical view and, after the switch, its physical one): another tool's
// change is one step, in the window the user works in, and every step of both histories undoes and redoes.
TEST_F(PeerMessages, AnotherToolsChangeIsOneStepOfOneWindowOfItsDesign) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("kx::answer question MSG_HOST_ASK_SAVE no; kx::menu 35563"), "1");
    const std::string before = Run("kx::history");
    // Both windows hear each message.
    EXPECT_EQ(Run("kx::notify MSG_VIOLATION_RESOLVED {work.board:sch@U1 VALUE 10k}"), "2");
    EXPECT_EQ(Run("kx::notify MSG_ASSOC_COMP_CHANGED {} {work.board:sch@R1 VALUE 1k}"), "2");
    const std::string history = Run("kx::history");
    EXPECT_EQ(Count(history, "undo Resolve Violation"), 1) << history;
    EXPECT_EQ(Count(history, "undo Change Assoc Comp"), 1) << history;
    EXPECT_EQ(Run("kx::menu 57643"), "1");
    EXPECT_EQ(Prop("work.board:sch@R1", "VALUE").rfind("error:", 0), 0u);
    EXPECT_EQ(Run("kx::menu 57643"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1", "VALUE").rfind("error:", 0), 0u);
    EXPECT_EQ(Count(Run("kx::history"), "redo Resolve Violation"), 1);
    EXPECT_EQ(Run("kx::history").find("undo "), before.find("undo "));
    EXPECT_EQ(Run("kx::menu 57644"), "1");
    EXPECT_EQ(Run("kx::menu 57644"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1", "VALUE"), "10k");
    EXPECT_EQ(Prop("work.board:sch@R1", "VALUE"), "1k");
}
