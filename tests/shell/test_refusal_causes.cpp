// A refusal names its own cause: on the example board, each road a user takes to an edit that cannot be
// done (a key, a menu command, a word, a method, a typed cell) answers 0 with the message of what stands in
// the way, and an edit that would change nothing answers 0 with a message that says so, leaving no step.
#include "KXDemoBoard.h"

#include "grid/KXRefusalCauses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

using Ids = std::vector<std::string>;

// The matrix view of U1 and U2 over RESET_N, MCLK and EN: RESET_N's row 5, MCLK's row 6; U1's Pin Name,
// Termination cells in columns 4 and 7; the Pull Up/Down column 3.
constexpr const char* kMatrixView = "kx::pane CreateMatrixView V1 {U1 U2} {RESET_N MCLK EN}";

class RefusalCauses : public DemoBoard {
protected:
    // The answer of `tcl` and the messages it showed, as "ANSWER ID ...".
    std::string Said(const std::string& tcl) {
        Messages();
        std::string said = Run(tcl);
        for (const std::string& id : Messages())
            said += " " + id;
        return said;
    }
    // The text of a column of the first row of the pin grid that shows `cells`.
    std::string CellOfRow(const std::string& cells, int column) {
        const std::string window = Run("kx::window ccp");
        const size_t at = window.find(cells);
        if (at == std::string::npos) return "(no row)";
        std::string line = window.substr(window.rfind('\n', at) + 1);
        line = line.substr(0, line.find('\n'));
        size_t start = line.find(": ") + 2;
        for (int i = 0; i < column; ++i)
            start = line.find(" | ", start) + 3;
        const size_t end = line.find(" |", start);
        std::string cell = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
        while (!cell.empty() && cell.back() == ' ')
            cell.pop_back();
        return cell;
    }
    bool AskedRetainQuestion() const {
        const std::vector<std::string> log = AnswerLog();
        return std::any_of(log.begin(), log.end(),
                           [](const std::string& line) { return line.find("Retain") != std::string::npos; });
    }
};

// The one table of causes names each id once, and only ids of the message file.
TEST(RefusalCauseTable, EachIdIsOneMessageOfTheMessageFile) {
    const char* src = std::getenv("KX_TEST_SOURCE_DIR");
    std::ifstream in(std::string(src ? src : ".") + "/kxtableeditor/rmx/tblerrors.txt");
    std::set<std::string> messages;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("KX", 0) == 0) messages.insert(line.substr(0, line.find(':')));
    ASSERT_FALSE(messages.empty());
    std::set<std::string> named;
    for (const KXCause::Naming& n : KXCause::kNamings) {
        EXPECT_TRUE(messages.count(n.id)) << n.id;
        EXPECT_TRUE(named.insert(n.id).second) << n.id << " names two causes";
    }
}

// ------------------------------------------------------------------ Delete in the matrix

// Delete on a matrix cell with nothing of its column's: an empty Termination cell of a connected pin lacks
// a termination, not a connection; key, method and words alike.
TEST_F(RefusalCauses, MatrixDeleteNamesWhatTheCellsColumnLacks) {
    ASSERT_TRUE(OpenBoard(3, kMatrixView));
    const DesignMark before = MarkDesign();
    for (const char* road :
         {"kx::key ccp Delete", "kx::pane Delete", "deleteConnection pin", "deleteTermination pin"}) {
        SCOPED_TRACE(road);
        ASSERT_EQ(Run("kx::select ccp 5 7"), "1");
        EXPECT_EQ(Said(road), "0 KXTABLE-218");
    }
    ExpectUnchangedSince(before);
}

// Typing into a matrix cell of a read-only window is refused as every other edit there is.
TEST_F(RefusalCauses, TypingIntoAReadOnlyMatrixSaysTheWindowIsReadOnly) {
    ASSERT_TRUE(OpenBoard(3));
    ASSERT_EQ(Run("kx::open demo.PWR:sch 3"), "1");
    ASSERT_EQ(Run("kx::pane CreateMatrixView VQ {U10} {EN PGOOD VCC1V0}; saveDesign"), "1");
    ASSERT_EQ(Run("kx::open demo.board:sch 3; kx::open -block PWR1 2"), "1");
    ASSERT_EQ(Run("openMatrixView pin VQ"), "1");
    const DesignMark before = MarkDesign();
    EXPECT_EQ(Said("kx::edit ccp 6 4 XX"), "0 KXTABLE-382");
    EXPECT_EQ(Said("kx::key ccp Delete"), "0 KXTABLE-382");
    ExpectUnchangedSince(before);
    // The view switch leads to no window that edits: it is not offered.
    EXPECT_EQ(Run("kx::menustate 35563").rfind("disabled", 0), 0u);
}

// ------------------------------------------------------------------ keys, the clipboard, preparations

TEST_F(RefusalCauses, DeleteTerminationWithAKeyThatNamesNoPinSaysSo) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1; kx::select ccp 41 8"));
    const DesignMark before = MarkDesign();
    EXPECT_EQ(Said("deleteTermination pin [list U1 NOPE]"), "0 KXPANE-247");
    // A key of a pin without a termination names the pin: the pin lacks the termination.
    EXPECT_EQ(Said("deleteTermination pin [list U1 PGOOD C10]"), "0 KXTABLE-218");
    ExpectUnchangedSince(before);
}

// A key that names no pin is the refusal's cause for deleteConnection as for every keyed word, whether
// or not a pin was selected before.
TEST_F(RefusalCauses, DeleteConnectionWithAKeyThatNamesNoPinSaysSo) {
    for (const char* setup : {"kx::show clp U1", "kx::show clp U1; kx::select ccp 41 7"}) {
        SCOPED_TRACE(setup);
        ASSERT_TRUE(OpenBoard(3, setup));
        const DesignMark before = MarkDesign();
        EXPECT_EQ(Said("deleteConnection pin [list U1 NOPIN Z99]"), "0 KXPANE-247");
        EXPECT_EQ(Said("deleteConnection pin {U1 NOPIN Z99}"), "0 KXPANE-247");
        ExpectUnchangedSince(before);
    }
}

// A window of open mode 0 takes only typed connections and keeps no pin comments: a connect or a comment
// by word is refused, but a key that names no pin is said first, as deleteConnection and
// deleteTermination say it before what they cannot do.
TEST_F(RefusalCauses, AKeyThatNamesNoPinIsSaidBeforeWhatTheWindowsModeRefuses) {
    ASSERT_TRUE(OpenBoard(0, "kx::show clp U1"));
    const DesignMark before = MarkDesign();
    EXPECT_EQ(Said("addConnection pin KEYSIG [list U1 NOPIN Z99]"), "0 KXPANE-247");
    EXPECT_EQ(Said("addConnection pin KEYSIG [list U1 PGOOD C10]"), "0 KXPANE-572");
    EXPECT_EQ(Said("addComment pin note [list U1 NOPIN Z99]"), "0 KXPANE-247");
    EXPECT_EQ(Said("addComment pin note [list U1 PGOOD C10]"), "0 KXPANE-522");
    ExpectUnchangedSince(before);
}

// Grids side by side: a key is looked up in every shown pin grid, not only in the active one.
TEST_F(RefusalCauses, AKeyOfAGridBesideTheActiveOneNamesItsPin) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp R1 R2; kx::select ccp 6 7"));
    EXPECT_EQ(Said("assignModel pin LVCMOS33_8MA [list R2 B 2]"), "1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@R2.B PIN_SIGNAL_MODEL"), "LVCMOS33_8MA");
    const std::string none = "error: no property";
    EXPECT_EQ(Run("kx::prop demo.board:sch@R1.B PIN_SIGNAL_MODEL").rfind(none, 0), 0u);
    EXPECT_EQ(Said("removeModel pin {R2 B 2}"), "1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@R2.B PIN_SIGNAL_MODEL").rfind(none, 0), 0u);
    // Over both grids at once: one step.
    const auto steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Said("assignModel pin LVCMOS33_8MA [list R1 B 2] [list R2 B 2]"), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("kx::prop demo.board:sch@R1.B PIN_SIGNAL_MODEL"), "LVCMOS33_8MA");
    EXPECT_EQ(Run("kx::prop demo.board:sch@R2.B PIN_SIGNAL_MODEL"), "LVCMOS33_8MA");
    EXPECT_EQ(Said("copy pin [list R2 B 2] Signal"), "1");
    EXPECT_EQ(Said("addComment pin keyed [list R2 B 2]"), "1");
    EXPECT_EQ(Said("copy pin [list U1 NOPIN Z99] Signal"), "0 KXPANE-247");
}

// A paste refused names what is missing: no cell chosen for a Signal cell another grid copied; on a bus row
// whose bits are not all connected, the open bit a termination cannot go on.
TEST_F(RefusalCauses, APasteRefusedNamesTheMissingCellOrTheOpenBits) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp R1; kx::select ccp 6 7"));
    ASSERT_EQ(Run("kx::key ccp C ctrl"), "1");
    ASSERT_EQ(Run("kx::show clp R2"), "1");
    ASSERT_EQ(Run("kx::grid ccp cell"), "");
    EXPECT_EQ(Said("paste pin"), "0 KXPANE-620");
    // The method's road activates the grid, which places a cell for itself: no cell the user chose.
    EXPECT_EQ(Said("kx::pane Paste"), "0 KXPANE-620");

    ASSERT_EQ(Run("kx::show clp U1; kx::select ccp 40 8"), "1");
    ASSERT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    ASSERT_EQ(Run("expandPins pin on; kx::edit ccp 24 7 {}; expandPins pin off"), "1");
    ASSERT_EQ(Run("kx::select ccp 23 8"), "1");
    const DesignMark before = MarkDesign();
    EXPECT_EQ(Said("paste pin"), "0 KXPANE-622");
    EXPECT_EQ(Said("kx::pane Paste"), "0 KXPANE-622");
    ExpectUnchangedSince(before);
    // The same clipboard goes on a connected pin.
    ASSERT_EQ(Run("kx::select ccp 41 8"), "1");
    EXPECT_EQ(Run("paste pin"), "1");
}

// InitTermination on the one pin that has a termination says that pin has one; the refused type is not
// left prepared for an add on another pin.
TEST_F(RefusalCauses, ARefusedTerminationSetUpPreparesNothing) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1; kx::select ccp 40 8"));
    const DesignMark before = MarkDesign();
    EXPECT_EQ(Said("kx::pane InitTermination Series"), " KXTABLE-209");
    ASSERT_EQ(Run("kx::select ccp 42 8"), "1");
    EXPECT_EQ(Said("kx::pane AddTermination"), "0 KXPANE-586");
    EXPECT_EQ(CellOfRow("| RST_N |", 5), "");
    ExpectUnchangedSince(before);
}

// ------------------------------------------------------------------ edits that change nothing

TEST_F(RefusalCauses, TheModelAPinHasAlreadyInAnyCaseChangesNothing) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1"));
    ASSERT_EQ(Run("assignModel pin M1 [list U1 MCLK B14]"), "1");
    const DesignMark before = MarkDesign();
    EXPECT_EQ(Said("assignModel pin M1 [list U1 MCLK B14]"), "0 KXTABLE-267");
    EXPECT_EQ(Said("assignModel pin m1 [list U1 MCLK B14]"), "0 KXTABLE-267");
    ASSERT_EQ(Run("kx::select ccp 40 7"), "1");
    EXPECT_EQ(Said("kx::pane AssignModel M1"), "0 KXTABLE-267");
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.MCLK PIN_SIGNAL_MODEL"), "M1");
    ExpectUnchangedSince(before);
}

TEST_F(RefusalCauses, RenamingAPinToTheSignalItIsOnSaysSo) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1"));
    const DesignMark before = MarkDesign();
    EXPECT_EQ(Said("renameConnection pin [list U1 PGOOD C10 PG]"), "0 KXTABLE-348");
    ASSERT_EQ(Run("kx::select ccp 41 7"), "1");
    Run("kx::answer dialog CKXDlgEditValues ok value0 PG");
    EXPECT_EQ(Said("kx::menu 35096"), "0 KXTABLE-348");
    ExpectUnchangedSince(before);
    EXPECT_EQ(Said("undo"), "0 KXTABLE-385");
}

// Modify Values with no pin row chosen has nothing to rename: it opens no dialog and says why; the dialog's
// answer waits for the command given on a row.
TEST_F(RefusalCauses, ModifyValuesWithNoPinRowChosenSaysSo) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1"));
    const DesignMark before = MarkDesign();
    Run("kx::answer dialog CKXDlgEditValues ok value0 MV1");
    EXPECT_EQ(Said("kx::menu 35096"), "0 KXTABLE-272");
    ExpectUnchangedSince(before);
    ASSERT_EQ(Run("kx::select ccp 41 7"), "1");
    EXPECT_EQ(Said("kx::menu 35096"), "1");
    EXPECT_NE(Run("kx::netlist").find("U1 PGOOD MV1"), std::string::npos);
}

// =PINNAME typed where the pin is on its pin name's signal already: nothing to connect, said as the word
// says it, and the question about the pin's termination is not asked for nothing.
TEST_F(RefusalCauses, ATypedRuleThatChangesNothingSaysSoAndAsksNothing) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1"));
    const DesignMark before = MarkDesign();
    EXPECT_EQ(Said("kx::edit ccp 40 7 {=PINNAME}"), "0 KXTABLE-304");
    EXPECT_FALSE(AskedRetainQuestion()) << ::testing::PrintToString(AnswerLog());
    EXPECT_EQ(Said("addConnection pin =PINNAME [list U1 MCLK B14]"), "0 KXTABLE-304");
    EXPECT_FALSE(AskedRetainQuestion()) << ::testing::PrintToString(AnswerLog());
    ExpectUnchangedSince(before);
}

TEST_F(RefusalCauses, AReplaceAllThatReplacesNothingAndAFindWithoutAMatchAnswerZero) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1"));
    const DesignMark before = MarkDesign();
    Run("kx::answer dialog CKXFindReplaceDlg ok find PGOOD replace XX action replaceAll");
    EXPECT_EQ(Said("kx::menu 57641"), "0 KXPANE-623");
    Run("kx::answer dialog CKXFindReplaceDlg ok find dq<3> matchCase 1");
    EXPECT_EQ(Said("kx::menu 57636"), "0 KXPANE-421");
    Run("kx::answer dialog CKXFindReplaceDlg ok find DQ<3> matchCase 1");
    EXPECT_EQ(Said("kx::menu 57636"), "1");
    ExpectUnchangedSince(before);
}

TEST_F(RefusalCauses, EditingAMatrixViewToWhatItHoldsChangesNothing) {
    ASSERT_TRUE(OpenBoard(3, kMatrixView));
    const DesignMark before = MarkDesign();
    EXPECT_EQ(Said("kx::pane EditMatrixView V1 V1 {U1 U2} {RESET_N MCLK EN}"), "0 KXPANE-621");
    ExpectUnchangedSince(before);
    EXPECT_EQ(Run("kx::pane EditMatrixView V1 V1 {U1} {RESET_N MCLK EN}"), "1");
}

// ------------------------------------------------------------------ the physical part grid

TEST_F(RefusalCauses, TrackingOverTwoRowsOfThePhysicalPartGridNamesNone) {
    ASSERT_TRUE(OpenBoard(4, "kx::show clp U1"));
    for (const char* road : {"trackInSignalList pin", "kx::menu 35718"}) {
        SCOPED_TRACE(road);
        ASSERT_EQ(Run("kx::select ccp 6 3 7 3"), "1");
        EXPECT_EQ(Said(road), "0 KXPANE-592");
    }
}

// A number given by script is taken as it is, in the physical part grid and in the pin grid alike: a
// number no pin of the instance carries is refused for its own cause (no logical pin, or a pin of another
// instance of the package, RN1B's A on pin 2).
TEST_F(RefusalCauses, SwapPinsByNumberNamesWhatThePartnerPinCarries) {
    setenv("KX_ALLOW_SWAP_PINS", "1", 1);
    struct Grid {
        int mode;
        const char* show;
        const char* pinOne; // RN1A's pin A (number 1)
    };
    for (const Grid& grid : {Grid{4, "kx::show clp RN1", "kx::select ccp 6 3"},
                             Grid{3, "kx::show clp RN1A", "kx::select ccp 6 5"}}) {
        SCOPED_TRACE(grid.show);
        ASSERT_TRUE(OpenBoard(grid.mode, grid.show));
        const DesignMark before = MarkDesign();
        ASSERT_EQ(Run(grid.pinOne), "1");
        EXPECT_EQ(Said("kx::pane SwapPins 5"), "0 KXTABLE-107");
        ASSERT_EQ(Run(grid.pinOne), "1");
        EXPECT_EQ(Said("kx::pane SwapPins 2"), "0 KXTABLE-520");
        ExpectUnchangedSince(before);
    }
    unsetenv("KX_ALLOW_SWAP_PINS");
}

} // namespace
