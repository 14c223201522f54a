// Pin-level edits of the example board through the host: selecting a pin's cell in a signal grid,
// the physical part grid's model journal, and the matrix's termination and pull-up cells.
#include "KXDemoBoard.h"
#include "KXGridCellProcs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

class PinEdits : public DemoBoard {
protected:
    void SetUp() override {
        DemoBoard::SetUp();
        if (!HasFatalFailure()) Run(kCellProc);
    }
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(PinEdits, SelectPinNameColFindsTheSignalGridsRowByInstanceAndPinNumber) {
    ASSERT_TRUE(OpenBoard(3, "kx::show slp MCLK"));
    EXPECT_EQ(Run("kx::pane SelectPinNameCol U2 30"), "1");
    const std::string cell = Run("kx::grid ccp cell");
    EXPECT_EQ(cell, Run("kxcell CLK {Pin Name}"));
    // A pin number the signal has not: refused, nothing left selected.
    EXPECT_EQ(Run("kx::pane SelectPinNameCol U2 31"), "0");
    EXPECT_EQ(Messages().back(), "KXPANE-247");
}

TEST_F(PinEdits, PhysicalModelEditsJournalThePhysicalPart) {
    ASSERT_TRUE(OpenBoard(4, "kx::show clp RN1"));
    ASSERT_EQ(Run("kx::edit ccp 6 6 RES_FAST"), "1");
    ASSERT_EQ(Run("kx::select ccp 6 6; kx::menu 35567"), "1");
    const std::string journal = JournalText();
    EXPECT_TRUE(Contains(journal, "' --- Remove Model ---")) << journal;
    EXPECT_TRUE(Contains(journal, "Clp().Select(\"RN1\")")) << journal;
    EXPECT_FALSE(Contains(journal, "Clp().Select(\"RN1A\")")) << journal;
}

// A model typed into the physical part grid is one the part offers (RES_MODEL, RES_FAST), as the model
// dialog's is: another is refused and changes nothing; an offered one in other letters takes its spelling.
TEST_F(PinEdits, ATypedModelIsHeldToTheModelsThePartOffers) {
    ASSERT_TRUE(OpenBoard(4, "kx::show clp RN1"));
    const int steps = Ccp()->GetUndoStepCount();
    Messages();
    EXPECT_EQ(Run("kx::edit ccp 6 6 BOGUS"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-381"});
    EXPECT_NE(Run("kx::prop demo.board:sch@RN1A.A PIN_SIGNAL_MODEL").rfind("error: no property", 0), std::string::npos);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(Run("kx::edit ccp 6 6 res_fast"), "1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@RN1A.A PIN_SIGNAL_MODEL"), "RES_FAST");
    EXPECT_NE(RowShowing("1 | A | Inout | RST_IN | RES_FAST"), "");
}

// A paste from the clipboard viewer into the physical net grid's Signal Model cell is held to what typing
// there takes: a copied Ref Des is no model the part offers (KXTABLE-381), a pin whose part offers no model
// takes none (KXTABLE-425), and the model the cell shows already changes nothing (KXTABLE-267); the item
// pasted is the one named, and an offered model is pasted in one step.
TEST_F(PinEdits, AViewerPasteIntoAModelCellIsHeldToWhatTypingTakes) {
    ASSERT_TRUE(OpenBoard(4, "kx::show slp RST_IN"));
    ASSERT_NE(RowShowing("RN1 | 7 | B | Inout | RES_MODEL"), "");
    const std::string rn1b = "kx::prop demo.board:sch@RN1B.B PIN_SIGNAL_MODEL";
    const std::string noModel = "error: no property";
    Run("kx::select ccp 6 2; kx::key ccp C ctrl"); // RN1's Ref Des
    const DesignMark mark = MarkDesign();
    Messages();
    EXPECT_EQ(Run("kx::select ccp 7 6; kx::clipview 1"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-381"});
    EXPECT_EQ(Run(rn1b).rfind(noModel, 0), 0u);
    Run("kx::select ccp 6 6; kx::key ccp C ctrl"); // RES_MODEL, the viewer's first item now
    EXPECT_EQ(Run("kx::select ccp 5 6; kx::clipview 1"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-425"});
    EXPECT_EQ(Run("kx::prop demo.board:sch@J1.P<10> PIN_SIGNAL_MODEL").rfind(noModel, 0), 0u);
    EXPECT_EQ(Run("kx::select ccp 7 6; kx::clipview 1"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-267"});
    EXPECT_EQ(Run("kx::select ccp 7 6; kx::clipview 2"), "0"); // the Ref Des again
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-381"});
    ExpectUnchangedSince(mark);
    ASSERT_EQ(Run("kx::edit ccp 6 6 RES_FAST; kx::select ccp 6 6; kx::key ccp C ctrl"), "1");
    EXPECT_EQ(Run("kx::select ccp 7 6; kx::clipview 1"), "1");
    EXPECT_EQ(Run(rn1b), "RES_FAST");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), mark.steps + 2);
}

// Customize Columns while a grid shows several nets keeps the column that says which net a row is on
// (Signal Name and Physical Name in a signal grid, Phys Net Name in a physical net grid).
TEST_F(PinEdits, CustomizeColumnsKeepsTheNetColumnsOfAGridOfSeveralNets) {
    const struct {
        int mode;
        const char* nets;
        const char* hide;
        std::vector<std::string> captions;
    } grids[] = {{3, "DQ ADDR", "CELL", {"Signal Name", "Physical Name"}}, {4, "PG RESET_N", "PIN_TYPE", {"Phys Net Name"}}};
    for (const auto& g : grids) {
        ASSERT_TRUE(OpenBoard(g.mode, std::string("kx::show slp ") + g.nets));
        for (const std::string& caption : g.captions) ASSERT_NE(Run("kxcell * {" + caption + "}"), "0 0") << caption;
        Run(std::string("kx::answer dialog CKXCustomizeDialog ok hide ") + g.hide);
        ASSERT_EQ(Run("kx::menu 35130"), "1") << g.mode;
        for (const std::string& caption : g.captions) EXPECT_NE(Run("kxcell * {" + caption + "}"), "0 0") << caption;
    }
}

// An ordinary net's name typed into a pair row is refused: no new pair on new leg nets beside it.
// A new name still makes the pin's pair.
TEST_F(PinEdits, AnOrdinaryNetTypedIntoAPairRowIsRefused) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    const std::string pairCell = Run("kxcell {Library defined} Signal");
    ASSERT_NE(pairCell, "0 0");
    const DesignMark mark = MarkDesign();
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    Messages();
    EXPECT_EQ(Run("kx::edit ccp " + pairCell + " MCLK"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-461"});
    ExpectUnchangedSince(mark);
    EXPECT_FALSE(Contains(Run("kx::window slp"), "MCLK_P"));
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    EXPECT_NE(Run("kx::edit ccp " + pairCell + " FASTCLK"), "0");
    EXPECT_TRUE(Contains(Run("kx::netlist"), "U1 CLK_P FASTCLK_P"));
}

// After one bit of DQ is cleared its whole-pin row shows no single net; an empty text typed there
// still takes off the bits the row stands for, as one undoable edit. Typed again, it changes nothing.
TEST_F(PinEdits, AnEmptyTextOnAWholePinRowOfSeveralNetsTakesTheBitsOff) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1; expandPins pin on"));
    const std::string whole = Run("kxcell {DQ<15..0>} Signal"), bit15 = Run("kxcell {DQ<15>} Signal");
    ASSERT_EQ(Run("kx::edit ccp " + bit15 + " {}"), "1");
    const std::string cleared = Run("kx::netlist");
    ASSERT_FALSE(Contains(cleared, "U1 DQ<15> "));
    ASSERT_TRUE(Contains(cleared, "U1 DQ<14> "));
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::edit ccp " + whole + " {}"), "1");
    EXPECT_FALSE(Contains(Run("kx::netlist"), "U1 DQ<"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("kx::edit ccp " + whole + " {}"), "0");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::netlist"), cleared);
}

// A connect over J1 and U1 side by side by keys, J1's P<10..1> folded: the key of one bit takes that
// bit as the user's selection of the opened bit would, and the word is one edit over both grids.
TEST_F(PinEdits, AConnectOverAFoldedBusBitAndAPlainPinConnectsBoth) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1 J1"));
    Messages();
    EXPECT_NE(Run("addConnection pin GPIO_RDY {J1 P<9>} {U1 PGOOD}"), "0");
    EXPECT_TRUE(Messages().empty());
    const std::string netlist = Run("kx::netlist");
    EXPECT_TRUE(Contains(netlist, "J1 P<9> GPIO_RDY")) << netlist;
    EXPECT_TRUE(Contains(netlist, "U1 PGOOD GPIO_RDY")) << netlist;
    // The fold stays as the user left it; the bus row shows the bit's new net.
    EXPECT_NE(RowShowing("P<10..1> | 10,9,8,7,6,5,4,3,2,1 | RST_IN,GPIO_RDY,"), "");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_FALSE(Contains(Run("kx::netlist"), "GPIO_RDY"));
}

// The grid text without the bit rows of J1's bus: a key naming a bit of the folded bus opens the fold, as
// the user opens it to reach the bit, whatever the word then does.
static std::string WithoutBitRowsOfJ1(const std::string& window) {
    std::istringstream in(window);
    std::string line, kept;
    while (std::getline(in, line))
        if (!std::regex_match(line, std::regex(R"( +[0-9]+: P<[0-9]+> \|.*)"))) kept += line + "\n";
    return kept;
}

// A grid that refuses its part of a connect over side-by-side grids takes the other grids' parts with it,
// whichever grid comes first: nothing connected, no step, no journal line, the rows as the design has them.
TEST_F(PinEdits, AConnectOverSideBySideGridsIsWholeOrNothing) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1 J1"));
    for (const char* keys : {"{J1 P<9>} {U1 A<12..0>}", "{J1 P<10..1>} {U1 PGOOD}"}) {
        const DesignMark mark = MarkDesign();
        const std::string journal = JournalText();
        const std::string window = Run("kx::window ccp");
        Messages();
        EXPECT_EQ(Run(std::string("addConnection pin NEWSIG ") + keys), "0") << keys;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-102"}) << keys;
        ExpectUnchangedSince(mark, keys);
        EXPECT_EQ(JournalText(), journal) << keys;
        const std::string after = Run("kx::window ccp");
        EXPECT_EQ(WithoutBitRowsOfJ1(after.substr(after.find("grid 1"))),
                  WithoutBitRowsOfJ1(window.substr(window.find("grid 1"))))
            << keys;
    }
}

// The saved board's pair connection lines of U1's TX and its lanes, and the terminations on them.
std::vector<std::string> PairLines(const std::string& design) {
    std::ifstream in(design);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("dpconn", 0) == 0 ? Contains(line, " U1 TX") : Contains(line, "@U1%TX")) lines.push_back(line);
    return lines;
}

// A lane of the vector pair TX (pair LVDS, a termination on lane 2) leaving the pair by Delete or by a
// move onto another pair: the lanes that stay keep their net bits and the termination on connections of
// their own, the lane is on no LVDS record; undo gives the pair's one record back as it was.
TEST_F(PinEdits, ALaneLeavingItsVectorPairLeavesThePairsRecordToTheOtherLanes) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1; kx::click ccp 43 4 button"));
    const std::string design = (m_dir / "demo" / "board.sch.design").string();
    Run("kx::answer dialog CKXTerminationDlg ok type Series");
    ASSERT_EQ(Run("kx::select ccp " + Run("kxcell {TX<2>} Termination") + "; kx::menu 35522"), "1");
    ASSERT_EQ(Run("saveDesign"), "1");
    const std::vector<std::string> whole = PairLines(design);
    ASSERT_EQ(whole, (std::vector<std::string>{"dpconn LVDS 3 0 U1 TX 3 0", "dt TERM1 1 Series @U1%TX<2>"}));
    Run("kx::select ccp " + Run("kxcell {TX<0>} Signal"));
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    ASSERT_EQ(Run("kx::key ccp Delete"), "1");
    ASSERT_EQ(Run("saveDesign"), "1");
    EXPECT_EQ(PairLines(design), (std::vector<std::string>{"dpconn LVDS 1 1 U1 TX<1> -1 -1",
                                                           "dpconn LVDS 2 2 U1 TX<2> -1 -1",
                                                           "dpconn LVDS 3 3 U1 TX<3> -1 -1",
                                                           "dt TERM1 1 Series @U1%TX<2>"}));
    EXPECT_NE(RowShowing("TX<2> | C3,C4 | Output | LVDS<2> | Series"), "");
    EXPECT_NE(RowShowing("TX<0> | C7,C8 | Output |  |"), "");
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_EQ(Run("saveDesign"), "1");
    EXPECT_EQ(PairLines(design), whole);
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    ASSERT_EQ(Run("kx::edit ccp " + Run("kxcell {TX<1>} Signal") + " NEWP"), "1");
    ASSERT_EQ(Run("saveDesign"), "1");
    EXPECT_EQ(PairLines(design), (std::vector<std::string>{"dpconn LVDS 0 0 U1 TX<0> -1 -1",
                                                           "dpconn LVDS 2 2 U1 TX<2> -1 -1",
                                                           "dpconn LVDS 3 3 U1 TX<3> -1 -1",
                                                           "dpconn NEWP -1 -1 U1 TX<1> -1 -1",
                                                           "dt TERM1 1 Series @U1%TX<2>"}));
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_EQ(Run("saveDesign"), "1");
    EXPECT_EQ(PairLines(design), whole);
}

// The board with U1's RST_N of no known pin type, as a design file may give it.
class UntypedPin : public KXShellFixture {
protected:
    void SetUp() override {
        KXShellFixture::SetUp();
        if (HasFatalFailure()) return;
        const std::filesystem::path demo = KXCopyExampleLibrary(m_dir);
        const std::filesystem::path board = demo / "board.sch.design";
        std::ifstream in(board, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        in.close();
        const std::string typed = "pin U1 RST_N -1 -1 in input\n";
        const size_t at = text.find(typed);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, typed.size(), "pin U1 RST_N -1 -1 in unknown\n");
        std::ofstream(board, std::ios::binary) << text;
        CString error;
        ASSERT_TRUE(m_app->Server()->loadLibrary(demo.c_str(), error)) << error.GetString();
    }
};

// Add Termination over PGOOD and the untyped RST_N is refused before its dialog, with the message of
// the window's mode; nothing changes.
TEST_F(UntypedPin, AddTerminationRefusesAPinOfNoKnownTypeAmongTheSelection) {
    for (const auto& [mode, message] : {std::pair{3, "KXTABLE-200"}, std::pair{1, "KXTABLE-142"}}) {
        ASSERT_EQ(Run("kx::open demo.board:sch " + std::to_string(mode)), "1");
        ASSERT_EQ(Run("kx::show clp U1; kx::select ccp 41 7 42 7"), "1");
        const std::string netlist = Run("kx::netlist");
        const int steps = Ccp()->GetUndoStepCount();
        Run("kx::answer dialog CKXTerminationDlg ok type Series");
        Messages();
        const std::size_t answered = AnswerLog().size();
        EXPECT_EQ(Run("kx::menu 35522"), "0") << mode;
        const std::vector<std::string> said = Messages();
        ASSERT_FALSE(said.empty()) << mode;
        EXPECT_EQ(said.back(), message) << mode;
        for (std::size_t i = answered; i < AnswerLog().size(); ++i)
            EXPECT_EQ(AnswerLog()[i].find("CKXTerminationDlg"), std::string::npos) << mode;
        EXPECT_EQ(Run("kx::netlist"), netlist) << mode;
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps) << mode;
    }
}

} // namespace
