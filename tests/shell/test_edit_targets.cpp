// An edit touches what the user named or selected last, through the host on the example board: a
// host delete of a name no component has, a second selection before an automation call or a menu,
// a host rename's comment move, the instance connectivity dialog's counter and a filtered pane,
// two windows on one design, and the reference designators of new associated parts.
#include "KXExampleLibrary.h"
#include "KXGridCellProcs.h"
#include "KXShellFixture.h"

#include "grid/KXGridWnd.h"
#include "pane/KXBottomPaneContainerView.h"
#include "kxinstsigpane/KXListPanes.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "kxnotes/CComments.h"
#include "rmx/server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class EditTargets : public KXShellFixture {
protected:
    void SetUp() override {
        KXShellFixture::SetUp();
        if (HasFatalFailure()) return;
        m_demo = KXCopyExampleLibrary(m_dir);
        CString error;
        ASSERT_TRUE(m_app->Server()->loadLibrary(m_demo.c_str(), error)) << error.GetString();
        Run(kCellProc);
    }

    // The netlist's lines ("INSTANCE PIN NET").
    std::set<std::string> Netlist() {
        std::set<std::string> lines;
        std::istringstream in(Run("kx::netlist"));
        for (std::string line; std::getline(in, line);)
            if (!line.empty()) lines.insert(line);
        return lines;
    }
    static std::vector<std::string> Minus(const std::set<std::string>& a, const std::set<std::string>& b) {
        std::vector<std::string> out;
        std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
        return out;
    }
    // Every designator of the board saved now: the parts' (LOCATION) and the associated components' slots.
    struct Designators {
        std::multiset<std::string> placed, associated;
    };
    Designators SavedDesignators() {
        EXPECT_EQ(Run("saveDesign"), "1");
        std::ifstream in(m_demo / "board.sch.design");
        Designators found;
        for (std::string line; std::getline(in, line);) {
            const size_t quote = line.find('"');
            if (quote == std::string::npos) continue;
            const std::string value = line.substr(quote + 1, line.find('"', quote + 1) - quote - 1);
            if (line.find(" LOCATION ") != std::string::npos) found.placed.insert(value);
            if (line.find(".REFDES ") != std::string::npos) found.associated.insert(value);
        }
        return found;
    }
    bool Has(const std::vector<std::string>& lines, const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    }
    // The current cell of the active grid as "ROW COL"; "" without one.
    std::string CurrentCell() {
        CKXGridWnd* grid = Ccp() ? Ccp()->GetActiveGrid() : nullptr;
        ROWCOL row = 0, col = 0;
        if (!grid || !grid->GetCurrentCell(row, col)) return std::string();
        return std::to_string(row) + " " + std::to_string(col);
    }
    std::string CommentsFile() {
        for (const auto& entry : fs::directory_iterator(m_demo))
            if (entry.path().extension() == ".notes") {
                std::ifstream in(entry.path(), std::ios::binary);
                std::ostringstream text;
                text << in.rdbuf();
                return text.str();
            }
        return std::string();
    }

    fs::path m_demo;
};

// ------------------------------------------------------------------ the host's delete names a component

TEST_F(EditTargets, AHostDeleteOfANameNoComponentHasDeletesNothingAndSaysSo) {
    for (int mode : {3, 4}) {
        SCOPED_TRACE(mode);
        ASSERT_TRUE(Open("demo.board:sch", mode));
        Run("kx::show clp U1");
        const auto before = Netlist();
        Messages();
        EXPECT_EQ(Run("kx::notify INT_MSG_DELETE_INSTANCE -text NOPE"), "0");
        EXPECT_EQ(Netlist(), before);
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-189"});
        EXPECT_FALSE(Doc()->IsModified());
        // A name that is there is deleted, and the answer says so.
        EXPECT_EQ(Run("kx::notify INT_MSG_DELETE_INSTANCE -text R2"), "1");
        const auto gone = Minus(before, Netlist());
        EXPECT_TRUE(Has(gone, "R2 B PG"));
        EXPECT_FALSE(Has(gone, "U1 PGOOD PG"));
        Run("kx::answer question KXCOMMON-101 no");
        Run("kx::close");
    }
}

// In the physical view a row is a part: the host naming one section of a part deletes that section, the
// part's other sections and their connections staying; naming the part deletes every section.
TEST_F(EditTargets, AHostDeleteInThePhysicalViewTakesTheSectionItNamesOnly) {
    ASSERT_TRUE(Open("demo.board:sch", 4));
    Run("kx::show clp R1");
    const auto before = Netlist();
    ASSERT_TRUE(before.count("RN1B A VCC3V3")) << Run("kx::netlist");
    EXPECT_EQ(Run("kx::notify INT_MSG_DELETE_INSTANCE -text RN1A"), "1");
    const auto gone = Minus(before, Netlist());
    EXPECT_EQ(gone, (std::vector<std::string>{"RN1A A RST_IN", "RN1A B RESET_N"}));
    EXPECT_NE(Run("kx::window clp").find("RN1"), std::string::npos);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist(), before);
    EXPECT_EQ(Run("kx::notify INT_MSG_DELETE_INSTANCE -text RN1"), "1");
    const auto both = Minus(before, Netlist());
    EXPECT_TRUE(Has(both, "RN1A A RST_IN") && Has(both, "RN1B A VCC3V3")) << Run("kx::netlist");
    EXPECT_EQ(Run("kx::window clp").find("RN1"), std::string::npos);
}

// ------------------------------------------------------------------ the newest selection is the one acted on

// Each grid kind: two data cells of one column, the first selected before the second.
struct SecondSelection {
    const char* name;
    int mode;
    const char* show;
    int firstRow, secondRow, col;
};

const SecondSelection kSecondSelections[] = {
    {"pin grid", 3, "kx::show clp R2", 7, 6, 7},
    {"signal grid", 3, "kx::show slp PG", 5, 7, 6},
    {"physical part grid", 4, "kx::show clp R2", 7, 6, 5},
    {"physical net grid", 4, "kx::show slp PG", 6, 5, 2},
};

TEST_F(EditTargets, AnAutomationCallActsOnTheNewestSelectionInEveryGridKind) {
    for (const SecondSelection& s : kSecondSelections) {
        SCOPED_TRACE(s.name);
        ASSERT_TRUE(Open("demo.board:sch", s.mode));
        Run(s.show);
        ASSERT_EQ(Run("kx::select ccp " + std::to_string(s.firstRow) + " " + std::to_string(s.col)), "1");
        ASSERT_EQ(Run("kx::select ccp " + std::to_string(s.secondRow) + " " + std::to_string(s.col)), "1");
        Echoes();
        Run("kx::pane Copy");
        // The copy may leave no current cell; where one is left it is the newest.
        const std::string current = CurrentCell();
        if (!current.empty()) {
            EXPECT_EQ(current, std::to_string(s.secondRow) + " " + std::to_string(s.col));
        }
        CKXGridWnd* grid = Ccp()->GetActiveGrid();
        ASSERT_NE(grid, nullptr);
        EXPECT_TRUE(grid->IsCellSelected(s.secondRow, s.col));
        EXPECT_FALSE(grid->IsCellSelected(s.firstRow, s.col));
        Run("kx::answer question KXCOMMON-101 no");
        Run("kx::close");
    }
}

TEST_F(EditTargets, ADeleteAfterASecondSelectionInASignalGridDisconnectsTheSecondRow) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show slp PG");
    const auto before = Netlist();
    Run("kx::select ccp 5 6");
    Run("kx::select ccp 7 6");
    Echoes();
    Run("kx::pane Delete");
    const auto gone = Minus(before, Netlist());
    EXPECT_EQ(gone, std::vector<std::string>{"R2 B PG"});
    EXPECT_NE(JournalText().find("SelectInstanceCol(\"R2\",\"2\")"), std::string::npos) << JournalText();
    EXPECT_EQ(JournalText().find("SelectInstanceCol(\"U1\""), std::string::npos) << JournalText();
}

// ------------------------------------------------------------------ the host's rename moves comments

TEST_F(EditTargets, CommentsMovedByAHostRenameAreJournalledAndReplay) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U2");
    ASSERT_EQ(Run("addComment pin {clock in} CLK"), "1");
    const size_t start = JournalText().size();
    EXPECT_EQ(Run("kx::notify INT_MSG_PRESERVE_INST_COMMENT U2:U12 1"), "1");
    EXPECT_EQ(Run("kx::notify INT_MSG_PRESERVE_INST_COMMENT U12:U7 0"), "1");
    // A name no component can have takes no comments.
    Messages();
    EXPECT_EQ(Run("kx::notify INT_MSG_PRESERVE_INST_COMMENT {U7:U1\"[exit]} 0"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-562"});
    const std::string journal = JournalText().substr(start);
    EXPECT_NE(journal.find(".Clp().PreserveComments(\"U2\",\"U12\",1)"), std::string::npos) << journal;
    EXPECT_NE(journal.find(".Clp().PreserveComments(\"U12\",\"U7\",0)"), std::string::npos) << journal;
    // Nothing to move journals nothing.
    EXPECT_EQ(Run("kx::notify INT_MSG_PRESERVE_INST_COMMENT NONE:U8 1"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-562"});
    EXPECT_EQ(JournalText().find("NONE"), std::string::npos);
    ASSERT_EQ(Run("saveDesign"), "1");
    const std::string saved = CommentsFile();
    ASSERT_NE(saved.find("U7"), std::string::npos) << saved;

    // The journal's lines make the same moves on the comments as they were before.
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_EQ(Run("undo"), "1"); // the comment's addition
    const fs::path file = m_dir / "moves.vbs";
    std::ofstream(file, std::ios::binary) << "set board = RMX.GetActiveTab()\n"
                                          << "call board.Clp().PreserveComments(\"U2\",\"U12\",1)\n";
    ASSERT_EQ(Run("addComment pin {clock in} CLK"), "1");
    EXPECT_EQ(Run("kx::replay " + file.string()), "1");
    EXPECT_EQ(Run("saveDesign"), "1");
    EXPECT_NE(CommentsFile().find("U12"), std::string::npos) << CommentsFile();
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("saveDesign"), "1");
    EXPECT_EQ(CommentsFile().find("U12"), std::string::npos) << CommentsFile();
}

// ------------------------------------------------------------------ the instance connectivity dialog

TEST_F(EditTargets, AnAutomaticNameCounterOutOfRangeIsRefusedWithAMessage) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    const auto before = Netlist();
    Messages();
    // The dialog does not open.
    EXPECT_EQ(Run("kx::instconn R2 2147483647"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-281"});
    EXPECT_EQ(Netlist(), before);
    EXPECT_FALSE(Doc()->IsModified());
    // The last number is given once; the name after it would be out of range and connects nothing.
    Run("kx::answer dialog CKXInstConnDlg ok pins A fx 35255");
    Run("kx::answer dialog CKXInstConnDlg ok pins B fx 35255");
    Run("kx::answer dialog CKXInstConnDlg ok");
    EXPECT_EQ(Run("kx::instconn R2 2147483646"), "1");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-281"});
    const auto made = Minus(Netlist(), before);
    EXPECT_EQ(made, std::vector<std::string>{"R2 A signal_2147483647"});
    for (const std::string& line : Netlist())
        EXPECT_EQ(line.find("signal_-"), std::string::npos) << line;
}

// ------------------------------------------------------------------ new associated parts

TEST_F(EditTargets, ANewAssociatedPartTakesNoReferenceDesignatorAnotherPartHas) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U2");
    ASSERT_EQ(Run("kx::select ccp 20 7"), "1"); // CLK on MCLK
    Run("kx::pane InitTermination Series");
    ASSERT_EQ(Run("kx::pane AddTermination"), "1");
    ASSERT_EQ(Run("addPupd pin -type pullup -dcnet VCC3V3"), "1");
    const auto [placed, associated] = SavedDesignators();
    ASSERT_TRUE(placed.count("R1") && placed.count("R2"));
    ASSERT_EQ(associated.size(), 2u);
    for (const std::string& ref : associated) {
        EXPECT_EQ(placed.count(ref), 0u) << ref;
        EXPECT_EQ(associated.count(ref), 1u) << ref;
    }
}

// A pull-up kept for a pin that moves to another signal is copied onto the new net while the old net
// keeps its own: the copy is a new part and takes a designator of its own, each time.
TEST_F(EditTargets, APullUpKeptForAPinMovedTwiceTakesADesignatorOfItsOwnEachTime) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    for (const char* signal : {"MV3", "IC5"}) {
        Run("kx::answer dialog CKXRetainAssocCompDlg ok preservePupd 1");
        ASSERT_EQ(Run(std::string("kx::edit ccp {*}[kxcell RST_N Signal] ") + signal), "1");
    }
    // RP1 stays on RESET_N (it has no designator), the first copy stays on MV3.
    EXPECT_EQ(SavedDesignators().associated, (std::multiset<std::string>{"R3", "R4"}));
}

// Every road that makes an associated part takes the next designator no part has, in the order made:
// the pin grid's word, dialog and paste, a termination by automation, the matrix's word and paste, and a
// make after the undo of one (which freed its designator).
TEST_F(EditTargets, EveryRoadThatMakesAnAssociatedPartTakesTheNextFreeDesignator) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("selectObject pin PGOOD; addPupd pin -type pullup -dcnet VCC3V3"), "1"); // R3
    Run("kx::answer dialog CKXPupdDlg ok type pulldown dcnet VCC3V3 value 10k");
    ASSERT_EQ(Run("kx::select ccp {*}[kxcell MCLK {Pull Up/Down}]; kx::menu 35509"), "1"); // R4
    Run("kx::select ccp {*}[kxcell PGOOD Termination]; kx::pane InitTermination Series");
    ASSERT_EQ(Run("kx::pane AddTermination"), "1"); // R5
    ASSERT_EQ(Run("openMatrixView pin mv; matrixAdd pin signal {DQ<3..2>}"), "1");
    ASSERT_EQ(Run("kx::select ccp {*}[kxcell DQ<2> Signal]; addPupd pin -type pullup -dcnet VCC3V3"), "1");
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_EQ(Run("kx::select ccp {*}[kxcell DQ<3> Signal]; addPupd pin -type pullup -dcnet VCC3V3"), "1"); // R6
    Run("kx::select ccp {*}[kxcell DQ<3> {Pull Up/Down}]; kx::key ccp Ctrl+C");
    ASSERT_EQ(Run("kx::select ccp {*}[kxcell DQ<2> {Pull Up/Down}]; kx::key ccp Ctrl+V"), "1"); // R7
    EXPECT_EQ(SavedDesignators().associated, (std::multiset<std::string>{"R3", "R4", "R5", "R6", "R7"}));
}

// A pull-up's designator edited to one another part has is refused with its message and changes nothing.
TEST_F(EditTargets, APullUpIsNotGivenADesignatorAnotherPartHas) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("selectObject pin PGOOD; addPupd pin -type pullup -dcnet VCC3V3"), "1"); // PU1, R3
    ASSERT_EQ(Run("selectObject pin MCLK; addPupd pin -type pullup -dcnet VCC3V3"), "1");  // PU2, R4
    Messages();
    for (const char* taken : {"R1", "R4"}) {
        EXPECT_EQ(Run(std::string("selectObject pin PGOOD; editPupd pin PU1 -refdes ") + taken), "0") << taken;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-217"}) << taken;
    }
    EXPECT_EQ(SavedDesignators().associated, (std::multiset<std::string>{"R3", "R4"}));
    EXPECT_EQ(Run("selectObject pin PGOOD; editPupd pin PU1 -refdes R9"), "1");
    EXPECT_EQ(SavedDesignators().associated, (std::multiset<std::string>{"R4", "R9"}));
}

// The dialog connects in a grid of its own: its journal replays whatever the pane's filter hides.
TEST_F(EditTargets, TheDialogsConnectionsReplayPastAPaneFilter) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    const size_t start = JournalText().size();
    Run("kx::show clp R2");
    ASSERT_EQ(Run("kx::edit ccp 4 5 X*"), "1"); // Pin Number: no row shows
    Run("kx::answer dialog CKXInstConnDlg ok pins A signal IC_NET");
    Run("kx::answer dialog CKXInstConnDlg ok");
    ASSERT_EQ(Run("kx::instconn R2"), "1");
    const auto recorded = Netlist();
    ASSERT_TRUE(recorded.count("R2 A IC_NET"));
    const std::string journal = JournalText().substr(start);
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp R2");
    ASSERT_EQ(Run("kx::edit ccp 4 5 X*"), "1");
    const fs::path file = m_dir / "dialog.vbs";
    std::ofstream(file, std::ios::binary) << "set board = RMX.GetActiveTab()\n" << journal;
    Messages();
    EXPECT_EQ(Run("kx::replay " + file.string()), "1");
    EXPECT_EQ(Messages(), std::vector<std::string>{});
    EXPECT_EQ(Netlist(), recorded) << journal;
}

// A pin comment is the document's, not the grid's: when the component goes (and its pin grid with it),
// the comment's step stays in the history, so that undo takes back the delete and then the comment.
TEST_F(EditTargets, APinCommentStaysUndoableWhenItsComponentIsDeleted) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin \"a note\" MCLK"), "1");
    auto comment = [this] {
        CString text, date, time, user;
        CComments* store = Doc()->GetComments();
        return store && store->getPinComments("U1", "MCLK", text, date, time, user) ? text.str() : "-";
    };
    ASSERT_EQ(comment(), "a note");
    Run("kx::show clp RN1A");
    ASSERT_EQ(Run("kx::notify INT_MSG_DELETE_INSTANCE -text U1"), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 2);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_NE(Run("kx::netlist").find("U1 MCLK"), std::string::npos) << "U1 is back";
    EXPECT_EQ(comment(), "a note");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(comment(), "-");
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(comment(), "a note");
}

// ------------------------------------------------------------------ two windows on one design

class TwoWindows : public EditTargets {
protected:
    // Window 1 (open mode 1) connects two pins in one edit, window 2 (open mode 3) places a component.
    void EditInBoth() {
        ASSERT_TRUE(Open("demo.board:sch", 1));
        m_saved = Netlist();
        Run("kx::show clp U1");
        ASSERT_NE(Run("addConnection pin C1,C2 CLK"), "0");
        m_connected = Netlist();
        ASSERT_TRUE(Open("demo.board:sch", 3));
        ASSERT_EQ(Run("kx::drop clp component demo.CONN10:sym"), "1");
        ASSERT_NE(Run("kx::window clp").find("U3"), std::string::npos);
    }
    static size_t Count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }
    std::set<std::string> m_saved, m_connected;
};

TEST_F(TwoWindows, AnUndoAfterAnotherWindowsEditJournalsEveryLineOfItsEdit) {
    EditInBoth();
    ASSERT_EQ(Run("kx::tab 1"), "1");
    const size_t start = JournalText().size();
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist(), m_saved);
    // The edit journalled one connection per pin, grouped as the one step it is: its undo is one step
    // on replay too.
    EXPECT_EQ(Count(JournalText().substr(0, start), "RMX.BeginStep()"), 1u) << JournalText();
    EXPECT_EQ(Count(JournalText().substr(start), ".Undo()"), 1u) << JournalText().substr(start);
}

TEST_F(TwoWindows, ASecondWindowClosedWithoutSavingTakesBackItsOwnEdits) {
    EditInBoth();
    const size_t start = JournalText().size();
    Run("kx::answer question KXCOMMON-101 no");
    ASSERT_EQ(Run("kx::close"), "1");
    // The first window is left, with its own edit; the component placed in the second is gone.
    EXPECT_EQ(Run("kx::window clp").find("U3"), std::string::npos);
    EXPECT_EQ(Netlist(), m_connected);
    const std::string journal = JournalText().substr(start);
    EXPECT_LT(journal.find(".Undo()"), journal.find(".Close(False)")) << journal;
    // What the first window undoes gives the saved design back.
    ASSERT_EQ(Run("kx::tab 1"), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist(), m_saved);
    EXPECT_EQ(Run("undo"), "0");
}

// Window 2 edits RN1A, window 3 deletes it since: window 2's edit cannot be taken back, so a close
// without saving is refused and the window stays with its step, which undoes once window 3's delete is
// undone. Nothing of the window's edits is left where no undo reaches it.
TEST_F(TwoWindows, AWindowWhoseEditsCannotBeTakenBackStaysOpenWhenClosedWithoutSaving) {
    const std::string location = "kx::prop demo.board:sch@RN1A LOCATION";
    ASSERT_TRUE(Open("demo.board:sch", 3));
    const std::string saved = Run(location);
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::call EditRefDes RN1A R90");
    ASSERT_EQ(Run(location), "R90");
    ASSERT_EQ(Run("kx::call AddSignal ZZTWO {} {}"), "1");
    ASSERT_TRUE(Open("demo.board:sch", 4));
    ASSERT_EQ(Run("kx::notify INT_MSG_DELETE_INSTANCE -text RN1A"), "1");
    ASSERT_EQ(Run("kx::tab 2"), "1");
    Messages();
    const size_t start = JournalText().size();
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
    // Refused before any step is undone: no undo of the window is tried and refused.
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXCOMMON-101", "KXTABLE-318"}));
    EXPECT_NE(Run("kx::window slp").find("ZZTWO"), std::string::npos) << "the newer step is done again";
    EXPECT_EQ(JournalText().find(".Close", start), std::string::npos) << JournalText().substr(start);
    EXPECT_EQ(Run("catch {kx::tab 3}"), "0") << "the window closed";
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run(location), "R90");
    ASSERT_EQ(Run("kx::tab 2"), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run(location), saved);
}

// Window 2 makes the net FIC4; window 3 puts R2.A on it and then moves the pin on. Window 2's step
// would undo (FIC4 holds only its own pin again) but take away the net that window 3's first step needs
// to be undone: the unsaved close is refused, and every step of both windows still undoes.
TEST_F(TwoWindows, AnUnsavedCloseIsRefusedWhenALaterStepOfAnotherWindowUsedANetItMade) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    const auto saved = Netlist();
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_NE(Run("addConnection pin FIC4 PGOOD"), "0");
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp R2");
    ASSERT_NE(Run("addConnection pin FIC4 A"), "0");
    ASSERT_NE(Run("addConnection pin ZZMOVED A"), "0");
    ASSERT_EQ(Run("kx::tab 2"), "1");
    Messages();
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXCOMMON-101", "KXTABLE-318"}));
    EXPECT_EQ(Run("catch {kx::tab 3}"), "0") << "window 2 stays open";
    ASSERT_EQ(Run("kx::tab 3"), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("undo"), "1");
    ASSERT_EQ(Run("kx::tab 2"), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist(), saved);
}

// A pull-up made again by a paste in one window takes R3; a part pasted in the physical view of another window
// then takes the next designator no part has, neither R3 nor one a part placed there has.
TEST_F(TwoWindows, APartPastedInAnotherWindowTakesNoDesignatorAPullUpHas) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1; kx::show slp PG");
    ASSERT_EQ(Run("kx::select ccp {*}[kxcell R2 Instance]"), "1");
    Run("kx::key ccp Ctrl+C");
    Run("kx::show clp U1");
    ASSERT_EQ(Run("kx::select ccp {*}[kxcell RST_N Signal]"), "1");
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preservePupd 1");
    ASSERT_EQ(Run("kx::clipview 1"), "1");
    ASSERT_TRUE(Open("demo.board:sch", 4));
    ASSERT_EQ(Run("selectWindow clp"), "1");
    ASSERT_EQ(Run("kx::clipview 1"), "1");
    ASSERT_EQ(Run("kx::tab 1"), "1");
    const auto [placed, associated] = SavedDesignators();
    ASSERT_EQ(associated.count("R3"), 1u) << "the pull-up made again";
    for (const std::string& ref : associated) EXPECT_EQ(placed.count(ref) + associated.count(ref), 1u) << ref;
    EXPECT_EQ(placed.count("R4"), 1u) << "the pasted copy";
    // A part placed, or given a designator, by name takes none a pull-up has.
    Messages();
    EXPECT_EQ(Run("kx::tab 2; kx::notify INT_MSG_ADD_PHYSICAL_PART -text {demo.RES:sym R3}"), "0");
    EXPECT_EQ(Run("kx::call AddComponent R77 demo RES sym {} LOCATION=R3 1"), "0");
    EXPECT_EQ(Run("kx::call EditRefDes R2 R3"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>(3, "KXPANE-491"));
}

// ------------------------------------------------------------------ one comment store for the windows of a design

// The windows of one design share its comments and matrix views: a save of one window holds what another
// window saved before (and what it made since), never an older store written over it.
TEST_F(TwoWindows, ASaveOfOneWindowKeepsTheCommentsAndViewsAnotherWindowSaved) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin \"made in window 2\" MCLK"), "1");
    ASSERT_EQ(Run("openMatrixView pin view2; matrixAdd pin signal MCLK"), "1");
    ASSERT_EQ(Run("saveDesign"), "1");
    ASSERT_NE(CommentsFile().find("made in window 2"), std::string::npos) << CommentsFile();
    ASSERT_EQ(Run("kx::tab 1"), "1");
    ASSERT_NE(Run("addConnection pin LATER PGOOD"), "0");
    ASSERT_EQ(Run("saveDesign"), "1");
    EXPECT_NE(CommentsFile().find("made in window 2"), std::string::npos) << CommentsFile();
    EXPECT_NE(CommentsFile().find("V\tview2"), std::string::npos) << CommentsFile();
    // Window 1 sees them: its save would write them again, and its pane offers the view.
    CString text, date, time, user;
    ASSERT_TRUE(Doc()->GetComments());
    EXPECT_TRUE(Doc()->GetComments()->getPinComments("U1", "MCLK", text, date, time, user));
    EXPECT_EQ(text.str(), "made in window 2");
    EXPECT_TRUE(Doc()->GetComments()->GetMatrixViewData()->HasView("view2"));
    // The last window that closes unsaved leaves the store as saved: a new window reads it from the file.
    for (int left = 2; left > 0; --left) {
        Run("kx::answer question KXCOMMON-101 no");
        ASSERT_EQ(Run("kx::close"), "1");
    }
    ASSERT_TRUE(Open("demo.board:sch", 3));
    EXPECT_TRUE(Doc()->GetComments()->getPinComments("U1", "MCLK", text, date, time, user));
}

// ------------------------------------------------------------------ steps on the shared comment store

// Pin comments and stored matrix views live with the design's comments, outside its transactions: a step
// on one of them that a later step of another window changed again is not undone under it (the undo would
// take back the other window's work, whose own undo then finds something else), nor taken back by a close
// without saving. A later step on another pin or another view leaves the undo free.
class TwoWindowsOnTheCommentStore : public TwoWindows {
protected:
    // Each stored view with its signals, in stored order.
    std::string Views() {
        CMatrixViewData* views = Doc()->GetComments()->GetMatrixViewData();
        std::vector<CString> names;
        views->GetViewNames(names);
        std::string text;
        for (const CString& name : names) {
            std::vector<CString> signals;
            views->GetMatrixSignalList(name, signals);
            text += name.str() + ":";
            for (const CString& signal : signals)
                text += " " + signal.str();
            text += "\n";
        }
        return text;
    }
    std::string Comment(const char* pin) {
        CString text, date, time, user;
        return Doc()->GetComments()->getPinComments("U1", pin, text, date, time, user) ? text.str() : "-";
    }
    // Undo in the active window is refused, the design, the store and the journal as they were.
    void ExpectUndoRefused(const std::function<std::string()>& state) {
        Messages();
        const std::string before = state();
        const size_t start = JournalText().size();
        EXPECT_EQ(Run("undo"), "0");
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-221"});
        EXPECT_EQ(state(), before);
        EXPECT_EQ(JournalText().find(".Undo()", start), std::string::npos) << JournalText().substr(start);
        Run("kx::answer question KXCOMMON-101 no");
        Run("kx::close");
        EXPECT_EQ(Messages(), (std::vector<std::string>{"KXCOMMON-101", "KXTABLE-318"}));
        EXPECT_EQ(m_app->Documents().size(), 2u) << "the window stays open";
        EXPECT_EQ(state(), before);
    }
    void UndoIn(int window, int times) {
        ASSERT_EQ(Run("kx::tab " + std::to_string(window)), "1");
        for (int i = 0; i < times; ++i)
            EXPECT_EQ(Run("undo"), "1") << "window " << window << "'s step " << i;
    }
};

TEST_F(TwoWindowsOnTheCommentStore, AMatrixViewStepAnotherWindowBuiltOnStays) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    ASSERT_EQ(Run("openMatrixView pin mv; matrixAdd pin signal MCLK"), "1");
    ASSERT_EQ(Run("kx::menu 35678"), "1");
    ASSERT_TRUE(Open("demo.board:sch", 3));
    ASSERT_EQ(Run("openMatrixView pin other; matrixAdd pin signal RESET_N"), "1");
    ASSERT_EQ(Run("kx::tab 1"), "1");
    ASSERT_EQ(Run("undo"), "1") << "another view's steps leave the removal free";
    ASSERT_EQ(Run("redo"), "1");
    ASSERT_EQ(Run("kx::tab 2"), "1");
    ASSERT_EQ(Run("openMatrixView pin mv; matrixAdd pin signal PG"), "1");
    ASSERT_EQ(Run("kx::menu 35678"), "1");
    ASSERT_EQ(Views(), "other: @:RESET_N\n");
    ASSERT_EQ(Run("kx::tab 1"), "1");
    ExpectUndoRefused([this] { return Views(); });
    UndoIn(2, 3);
    UndoIn(1, 3);
    UndoIn(2, 2);
    EXPECT_EQ(Views(), "");
}

TEST_F(TwoWindowsOnTheCommentStore, APinCommentStepAnotherWindowBuiltOnStays) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin first MCLK"), "1");
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("addComment pin elsewhere PGOOD"), "1");
    ASSERT_EQ(Run("kx::tab 1"), "1");
    ASSERT_EQ(Run("undo"), "1") << "a comment on another pin leaves the undo free";
    ASSERT_EQ(Run("redo"), "1");
    ASSERT_EQ(Run("kx::tab 2"), "1");
    ASSERT_EQ(Run("modifyComment pin second MCLK"), "1");
    ASSERT_EQ(Run("kx::tab 1"), "1");
    ExpectUndoRefused([this] { return Comment("MCLK"); });
    EXPECT_EQ(Comment("MCLK"), "second");
    UndoIn(2, 1);
    EXPECT_EQ(Comment("MCLK"), "first");
    UndoIn(1, 1);
    UndoIn(2, 1);
    EXPECT_EQ(Comment("MCLK") + Comment("PGOOD"), "--");
}

// ------------------------------------------------------------------ designators another window can bring
// back

// A part deleted in one window can come back by that window's undo: a pull-up made in the other window does
// not take its designator, so that the undo gives no designator to two parts.
TEST_F(TwoWindows, ANewPartLeavesTheDesignatorOfAPartAnotherWindowCanBringBack) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("kx::notify INT_MSG_DELETE_INSTANCE -text R2"), "1");
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("selectObject pin PGOOD; addPupd pin -type pullup -dcnet VCC3V3"), "1");
    ASSERT_EQ(Run("kx::tab 1"), "1");
    ASSERT_EQ(Run("undo"), "1");
    const auto [placed, associated] = SavedDesignators();
    EXPECT_EQ(placed.count("R2"), 1u);
    EXPECT_EQ(associated, (std::multiset<std::string>{"R3"}));
}

// The same for a pull-up undone in one window, which its redo brings back: the pull-up made in the other
// window takes neither its designator nor its name, so that the redo is not refused.
TEST_F(TwoWindows, ANewPartLeavesTheDesignatorOfAPartAnotherWindowCanRedo) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("selectObject pin PGOOD; addPupd pin -type pullup -dcnet VCC3V3"), "1"); // R3
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("selectObject pin MCLK; addPupd pin -type pullup -dcnet VCC3V3"), "1");
    ASSERT_EQ(Run("kx::tab 1"), "1");
    Messages();
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(SavedDesignators().associated, (std::multiset<std::string>{"R3", "R4"}));
}

// A part is not renamed to the designator of one another window can bring back, nor of a part inside a block
// whose instance another window can bring back; the refusal says why and changes nothing.
TEST_F(TwoWindows, APartIsNotRenamedToADesignatorAnotherWindowCanBringBack) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("kx::notify INT_MSG_DELETE_INSTANCE -text R2"), "1");
    ASSERT_EQ(Run("kx::notify INT_MSG_DELETE_INSTANCE -text PWR1"), "1"); // its block holds U10
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("selectObject pin PGOOD; addPupd pin -type pullup -dcnet VCC3V3"), "1"); // PU1, R3
    Messages();
    for (const char* held : {"R2", "U10"}) {
        EXPECT_EQ(Run(std::string("selectObject pin PGOOD; editPupd pin PU1 -refdes ") + held), "0") << held;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-217"}) << held;
    }
    ASSERT_EQ(Run("kx::tab 1"), "1");
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_EQ(Run("undo"), "1");
    const auto [placed, associated] = SavedDesignators();
    EXPECT_EQ(placed.count("R2"), 1u);
    EXPECT_EQ(associated, (std::multiset<std::string>{"R3"}));
}

// The window that makes the part brings nothing back before the part is undone: a designator only its own
// history names is taken as before.
TEST_F(EditTargets, ANewPartTakesADesignatorOnlyItsOwnWindowsHistoryNames) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    ASSERT_EQ(Run("kx::notify INT_MSG_DELETE_INSTANCE -text R2"), "1");
    ASSERT_EQ(Run("selectObject pin PGOOD; addPupd pin -type pullup -dcnet VCC3V3"), "1");
    EXPECT_EQ(SavedDesignators().associated, (std::multiset<std::string>{"R2"}));
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_EQ(Run("undo"), "1");
    const auto [placed, associated] = SavedDesignators();
    EXPECT_EQ(placed.count("R2"), 1u);
    EXPECT_TRUE(associated.empty());
}

// J1.8 connected to EN and taken off again in the shown window, as often as asked.
class TwoWindowsOnOnePin : public TwoWindows {
protected:
    void ConnectAndDeleteJ18(int times) {
        Run("kx::show slp EN");
        for (int i = 0; i < times; ++i) {
            Run("kx::answer question KXTABLE-140 yes");
            ASSERT_EQ(Run("addConnection pin J1:8"), "1");
            ASSERT_EQ(Run("kx::pane SelectInstanceCol J1 8"), "1");
            ASSERT_EQ(Run("kx::pane Delete"), "1");
        }
    }
};

// Windows 2 and 3 both connect and delete J1.8; window 2 closes unsaved. Its undos would succeed (the pin
// looks as window 2 left it) but leave window 3's later steps on that pin unable to be undone: the close
// is refused and every step of both windows still undoes to the saved design.
TEST_F(TwoWindowsOnOnePin, AnUnsavedCloseIsRefusedWhenALaterStepOfAnotherWindowTouchedTheSamePin) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    const auto saved = Netlist();
    ASSERT_TRUE(Open("demo.board:sch", 3));
    ConnectAndDeleteJ18(3);
    ASSERT_TRUE(Open("demo.board:sch", 3));
    ConnectAndDeleteJ18(2);
    ASSERT_EQ(Run("kx::tab 2"), "1");
    Messages();
    const size_t start = JournalText().size();
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXCOMMON-101", "KXTABLE-318"}));
    EXPECT_EQ(Run("catch {kx::tab 2}"), "0") << "window 2 stays open";
    EXPECT_EQ(JournalText().find(".Undo()", start), std::string::npos) << JournalText().substr(start);
    EXPECT_EQ(JournalText().find(".Close", start), std::string::npos) << JournalText().substr(start);
    ASSERT_EQ(Run("kx::tab 3"), "1");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Run("undo"), "1") << "window 3's step " << i;
    ASSERT_EQ(Run("kx::tab 2"), "1");
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Run("undo"), "1") << "window 2's step " << i;
    EXPECT_EQ(Netlist(), saved);
}

// Windows 2 and 3 both connect and delete J1.8, ending with the pin as window 2 left it: window 2's undo
// would apply, but window 3's later steps on the pin could not be undone after it. It is refused until
// window 3's steps are undone, and changes nothing meanwhile.
TEST_F(TwoWindowsOnOnePin, AnUndoIsRefusedWhileALaterStepOfAnotherWindowTouchedTheSamePin) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    const auto saved = Netlist();
    ASSERT_TRUE(Open("demo.board:sch", 3));
    ConnectAndDeleteJ18(1);
    ASSERT_TRUE(Open("demo.board:sch", 3));
    ConnectAndDeleteJ18(1);
    ASSERT_EQ(Run("kx::tab 2"), "1");
    Messages();
    const auto before = Netlist();
    const size_t start = JournalText().size();
    EXPECT_EQ(Run("undo"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-221"});
    EXPECT_EQ(Netlist(), before);
    EXPECT_EQ(JournalText().find(".Undo()", start), std::string::npos) << JournalText().substr(start);
    ASSERT_EQ(Run("kx::tab 3"), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("undo"), "1");
    ASSERT_EQ(Run("kx::tab 2"), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist(), saved);
}

// A later step of another window elsewhere in the design does not keep a window from closing unsaved.
TEST_F(TwoWindowsOnOnePin, AnUnsavedCloseTakesBackItsStepsWhenLaterStepsOfAnotherWindowTouchedOtherObjects) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    const auto saved = Netlist();
    ASSERT_TRUE(Open("demo.board:sch", 3));
    ConnectAndDeleteJ18(1);
    Run("kx::answer question KXTABLE-140 yes");
    ASSERT_EQ(Run("addConnection pin J1:8"), "1");
    ASSERT_TRUE(Open("demo.board:sch", 3));
    ASSERT_EQ(Run("kx::call AddSignal ZZLATER {} {}"), "1");
    ASSERT_EQ(Run("kx::tab 2"), "1");
    Run("kx::answer question KXCOMMON-101 no");
    EXPECT_EQ(Run("kx::close"), "1");
    EXPECT_EQ(Netlist(), saved) << "window 2's steps are taken back";
    EXPECT_NE(Run("kx::window slp").find("ZZLATER"), std::string::npos) << "window 3's step stays";
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::window slp").find("ZZLATER"), std::string::npos);
}

} // namespace

// ------------------------------------------------------------------ a selection by a key that names no row

TEST_F(EditTargets, APinGridSelectionByAMissingKeyLeavesNothingForTheNextCall) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp U1");
    const auto before = Netlist();
    ASSERT_TRUE(before.count("U1 PGOOD PG")) << Run("kx::netlist");
    ASSERT_EQ(Run("kx::pane SelectPinNameCol PGOOD"), "1");
    Messages();
    for (const char* call : {"SelectPinNameCol NOPE", "SelectPinNumberCol NOPE", "SelectSignalCol NOPE",
                             "SelectTerminationCol NOPE", "SelectPUPDCol NOPE"}) {
        SCOPED_TRACE(call);
        ASSERT_EQ(Run("kx::pane SelectPinNameCol PGOOD"), "1");
        Messages();
        EXPECT_EQ(Run(std::string("kx::pane ") + call), "0");
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-247"});
        EXPECT_EQ(CurrentCell(), "");
        EXPECT_EQ(Run("kx::pane Delete"), "0");
        EXPECT_EQ(Netlist(), before);
    }
    EXPECT_FALSE(Doc()->IsModified());
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
}

TEST_F(EditTargets, ASignalGridSelectionByAMissingKeyLeavesNothingForTheNextCall) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show slp PG");
    const auto before = Netlist();
    ASSERT_EQ(Run("kx::pane SelectInstanceCol R2 2"), "1");
    Messages();
    EXPECT_EQ(Run("kx::pane SelectInstanceCol R2 99"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-247"});
    EXPECT_EQ(CurrentCell(), "");
    EXPECT_EQ(Run("kx::pane Delete"), "0");
    EXPECT_EQ(Netlist(), before);
    ASSERT_EQ(Run("kx::pane SelectInstanceCol R2 2"), "1");
    EXPECT_EQ(Run("kx::pane SelectTerminationCol R2 99"), "0");
    EXPECT_EQ(Run("kx::pane Delete"), "0");
    EXPECT_EQ(Netlist(), before);
    EXPECT_FALSE(Doc()->IsModified());
    Run("kx::answer question KXCOMMON-101 no");
    Run("kx::close");
}

// Beside the grid where the user chose a pin, another shown grid has only the cell it placed for itself
// when it was shown: a naming rule, by any road, leaves that grid's pins alone.
TEST_F(EditTargets, ARuleOverSideBySideGridsTakesOnlyThePinsTheUserChose) {
    for (const char* road : {"kx::ccpbar type =SHORTPINS", "kx::menu 35280", "addConnection pin =SHORTPINS",
                             "kx::pane AttachSignal SHORTPINS", "kx::menu 35255"}) {
        ASSERT_TRUE(Open("demo.board:sch", 3));
        Run("kx::show clp R1 R2");
        ASSERT_EQ(Run("kx::grid ccp 1"), "1");
        ASSERT_EQ(Run("kx::grid ccp"), "component R1");
        Run("kx::select ccp 7 7"); // R1's pin B
        const std::set<std::string> before = Netlist();
        EXPECT_EQ(Run(road), "1") << road;
        const std::set<std::string> after = Netlist();
        EXPECT_TRUE(after.count("R2 A VCC3V3")) << road; // not chosen: kept
        EXPECT_FALSE(after.count("R1 B EN")) << road;    // chosen: on a new signal
        EXPECT_EQ(Minus(after, before).size(), 1u) << road;
        EXPECT_EQ(Run("closeDesign -nosave"), "1") << road;
    }
}

// Every road to Delete takes off only what the user chose or named, beside a grid whose only cell is
// the one it placed for itself when it was shown.
TEST_F(EditTargets, ADeleteOverSideBySideGridsTakesOffOnlyWhatTheUserChose) {
    for (const char* road : {"deleteConnection pin", "deleteConnection pin [list R1 B 2]", "kx::menu 35264",
                             "kx::pane Delete", "kx::key ccp Delete"}) {
        ASSERT_TRUE(Open("demo.board:sch", 3));
        Run("kx::show clp R1 R2");
        ASSERT_EQ(Run("kx::grid ccp 1"), "1");
        ASSERT_EQ(Run("kx::grid ccp"), "component R1");
        Run("kx::select ccp 7 7"); // R1's pin B
        const std::set<std::string> before = Netlist();
        EXPECT_EQ(Run(road), "1") << road;
        EXPECT_EQ(Minus(before, Netlist()), std::vector<std::string>{"R1 B EN"}) << road;
        EXPECT_EQ(Run("closeDesign -nosave"), "1") << road;
    }
}

// A paste goes into the cell the user chose: a grid beside it whose only cell is the one it placed for
// itself when it was shown neither takes a part nor refuses the paste.
TEST_F(EditTargets, APasteBesideAnotherShownGridGoesIntoTheChosenCellOnly) {
    for (const char* road : {"paste pin", "kx::menu 57637", "kx::key ccp V ctrl", "kx::pane Paste"}) {
        ASSERT_TRUE(Open("demo.board:sch", 3));
        Run("kx::show clp R1 R2");
        ASSERT_EQ(Run("kx::grid ccp 1"), "1");
        ASSERT_EQ(Run("kx::grid ccp"), "component R1");
        Run("kx::select ccp 7 7"); // R1's pin B, on EN
        Run("kx::key ccp C ctrl");
        Run("kx::select ccp 6 7"); // R1's pin A
        const std::set<std::string> before = Netlist();
        EXPECT_EQ(Run(road), "1") << road;
        EXPECT_EQ(Minus(Netlist(), before), std::vector<std::string>{"R1 A EN"}) << road;
        EXPECT_EQ(Minus(before, Netlist()), std::vector<std::string>{"R1 A VCC3V3"}) << road;
        EXPECT_EQ(Run("closeDesign -nosave"), "1") << road;
    }
}

// An undo that takes away the net the pane shows closes its grid, and the pane no longer names it.
TEST_F(EditTargets, ThePaneNamesNoNetAnUndoTookAway) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    Run("kx::show clp R2");
    Run("kx::select ccp 7 7");
    ASSERT_EQ(Run("kx::ccpbar type NEWNET"), "1");
    Run("kx::show slp NEWNET");
    ASSERT_NE(Run("kx::window ccp").find("\n  NEWNET"), std::string::npos);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::window ccp"), "Signal Connectivity Details");
}

// At the signal list's last automatic number the word and the automation road of =SHORTPINS connect
// nothing, and say so.
TEST_F(EditTargets, TheSignalListsAutomaticNameCounterAtItsLastNumberIsRefusedWithAMessage) {
    for (const char* road : {"addConnection pin =SHORTPINS", "kx::pane AddConnection =SHORTPINS"}) {
        ASSERT_TRUE(Open("demo.board:sch", 3));
        Run("kx::show clp R2");
        ASSERT_NE(Slp(), nullptr);
        Slp()->GetSignalGridWnd()->SetAutoNameCounter(2147483647);
        const auto before = Netlist();
        ASSERT_EQ(Run("kx::pane SelectPinNameCol A"), "1");
        Messages();
        EXPECT_EQ(Run(road), "0") << road;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-281"}) << road;
        EXPECT_EQ(Netlist(), before) << road;
        EXPECT_FALSE(Doc()->IsModified()) << road;
        Run("kx::close");
    }
}

// A journal line the replay cannot take (a signal-grid row no signal has) stops the replay with an
// error naming the line; the lines after it do not run.
TEST_F(EditTargets, AJournalSelectionThatFindsNoRowStopsTheReplayWithAnError) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    const auto before = Netlist();
    const fs::path file = m_dir / "stale.vbs";
    std::ofstream(file, std::ios::binary) << "set board = RMX.GetActiveTab()\n"
                                          << "call board.Slp().Select(\"NO_SUCH_SIGNAL\")\n"
                                          << "call board.ConnectivityPane().Delete()\n";
    const std::string answer = Run("kx::replay " + file.string());
    EXPECT_EQ(answer.rfind("error", 0), 0u) << answer;
    EXPECT_NE(answer.find("line 2"), std::string::npos) << answer;
    EXPECT_EQ(Netlist(), before);
    EXPECT_FALSE(Doc()->IsModified());
}

// Every grid selection of a journal that finds nothing stops the replay at its line as a list's does,
// so that the edit after it does not act on whatever row was selected before.
TEST_F(EditTargets, AJournalGridSelectionThatFindsNothingStopsTheReplayAtItsLine) {
    const char* const kStale[] = {
        "call board.Clp().Select(\"U1\")\ncall board.ConnectivityPane().SelectPinNameCol(\"NO_PIN\",\"\")",
        "call board.Clp().Select(\"U1\")\ncall board.ConnectivityPane().SelectSignalCol(\"NO_PIN\",\"\")",
        "call board.Clp().Select(\"U1\")\ncall board.ConnectivityPane().SelectPUPDCol(\"NO_PIN\",\"\")",
        "call board.Slp().Select(\"MCLK\")\ncall "
        "board.ConnectivityPane().SelectInstanceCol(\"NO_INST\",\"1\")",
        "call board.Slp().Select(\"MCLK\")\ncall "
        "board.ConnectivityPane().SelectTerminationCol(\"NO_INST\",\"1\")",
    };
    ASSERT_TRUE(Open("demo.board:sch", 3));
    const auto before = Netlist();
    for (const char* stale : kStale) {
        SCOPED_TRACE(stale);
        // A row is selected, so that a Delete that ran would take its connection.
        Run("kx::show clp U1");
        ASSERT_EQ(Run("kx::select ccp 40 7"), "1"); // MCLK's Signal cell
        const fs::path file = m_dir / "stale_cell.vbs";
        std::ofstream(file, std::ios::binary) << "set board = RMX.GetActiveTab()\n"
                                              << stale << "\ncall board.ConnectivityPane().Delete()\n";
        const std::string answer = Run("kx::replay " + file.string());
        EXPECT_EQ(answer.rfind("error", 0), 0u) << answer;
        EXPECT_NE(answer.find("line 3"), std::string::npos) << answer;
        EXPECT_EQ(Netlist(), before);
        EXPECT_FALSE(Doc()->IsModified());
    }
}
