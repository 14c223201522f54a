// Edits on the example board at their edges, through the host as a user drives them: a refusal in one
// of several grids, texts that only look like something else, and words whose operands do not fit.
#include "KXDemoBoard.h"

#include "afx/afxwin.h"
#include "pane/KXBottomPaneContainerView.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class DemoEdges : public DemoBoard {
protected:
    void SetUp() override {
        DemoBoard::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_EQ(Run("kx::open demo.board:sch 3"), "1");
    }
    std::string Netlist() { return Run("kx::netlist"); }
    // U1 and U2 side by side; grid 1 shows U1, grid 2 U2.
    void ShowTwoGrids() { Run("kx::show clp U1 U2"); }
};

using Ids = std::vector<std::string>;

// Side by side, the pane pastes each grid in turn at its own current cell: a grid that refuses the
// clipboard takes the paste back whole, and a grid's lines never reach the pins selected in another.
TEST_F(DemoEdges, APasteGivesEachGridItsOwnPartOrNothing) {
    ShowTwoGrids();
    Run("kx::grid ccp 1; kx::select ccp 41 7; kx::key ccp Ctrl+C"); // PG, a scalar net
    const std::string before = Netlist();
    // Grid 1's bus pin refuses a scalar net: nothing is pasted anywhere.
    Run("kx::grid ccp 2; kx::select ccp 20 7; kx::grid ccp 1; kx::select ccp 23 7");
    Messages();
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_EQ(Messages(), Ids{"KXTABLE-102"});
    EXPECT_EQ(Netlist(), before);
    // The bus pin selected in grid 2 is no target of grid 1's paste.
    Run("kx::grid ccp 2; kx::select ccp 21 7; kx::grid ccp 1; kx::select ccp 42 7");
    EXPECT_EQ(Run("paste pin"), "1");
    EXPECT_EQ(Messages(), Ids{});
    EXPECT_NE(Netlist().find("U1 RST_N PG"), std::string::npos);
    EXPECT_EQ(Netlist().find("U2 DQ<0> PG"), std::string::npos);
}

// Naming rules typed into a Signal cell: =AUTONAME with a name gives that name, alone a new one; a
// list written as =CONNECTBITS gives its names in turn, as a bare comma list does.
TEST_F(DemoEdges, TypedNamingRulesKeepTheirArgument) {
    Run("kx::show clp U1");
    EXPECT_EQ(Run("kx::edit ccp 41 7 =AUTONAME(FOO)"), "1");
    EXPECT_NE(Netlist().find("U1 PGOOD FOO\n"), std::string::npos) << Netlist();
    EXPECT_EQ(Run("kx::edit ccp 40 7 =AUTONAME"), "1");
    EXPECT_NE(Netlist().find("U1 MCLK signal_1\n"), std::string::npos) << Netlist();
    Messages();
    EXPECT_EQ(Run("kx::edit ccp 41 7 {=CONNECTBITS(X2,Y2)}"), "1");
    EXPECT_EQ(Messages(), Ids{});
    EXPECT_NE(Netlist().find("U1 PGOOD X2\n"), std::string::npos) << Netlist();
    Run("kx::select ccp 40 7 42 7");
    EXPECT_EQ(Run("kx::edit ccp 40 7 P,Q,R"), "1");
    for (const char* line : {"U1 MCLK P\n", "U1 PGOOD Q\n", "U1 RST_N R\n"})
        EXPECT_NE(Netlist().find(line), std::string::npos) << line << Netlist();
}

// The pull-up words read braces as the usage writes them: a key property names one word before its
// "=", and a {NAME VALUE} pair next to a bare name is a mix of forms.
TEST_F(DemoEdges, PullUpWordsRefuseOperandsOutOfForm) {
    Run("kx::show clp U1; kx::select ccp 42 7"); // RST_N, pulled up by RP1
    Messages();
    for (const char* word : {"editPupd pin RP1 -keyprop {A B=1}", "editPupd pin RP1 -keyprop {=1}",
                             "editPupd pin RP1 -injprop [list A=1 B]"}) {
        EXPECT_EQ(Run(word), "0") << word;
        EXPECT_EQ(Messages(), Ids{"KXPANE-243"}) << word;
    }
    for (const char* word : {"deletePupd pin {RP1 x} RP1", "deletePupd pin [list RP1 x] RP1"}) {
        EXPECT_EQ(Run(word), "0") << word;
        EXPECT_EQ(Messages(), Ids{"KXPANE-242"}) << word;
    }
    // A property list is a list: {TOL=5 %} is two items, one of them no property; a value may hold blanks
    // as a list element does.
    EXPECT_EQ(Run("editPupd pin RP1 -keyprop {TOL=5 %}"), "0");
    EXPECT_EQ(Messages(), Ids{"KXPANE-243"});
    EXPECT_EQ(Run("editPupd pin RP1 -keyprop {{TOL=5 %}}"), "1");
    EXPECT_EQ(Run("deletePupd pin RP1"), "1");
}

// The row-number column of a grid made while the numbers are on is as wide as a toggle makes it.
TEST_F(DemoEdges, RowNumbersOfANewGridFitTheirDigits) {
    Run("kx::option show_row_numbers 1; kx::show clp U1");
    const std::string made = Run("kx::widths ccp");
    Run("kx::option show_row_numbers 0; kx::option show_row_numbers 1");
    EXPECT_EQ(made, Run("kx::widths ccp"));
    EXPECT_EQ(made.substr(0, made.find(' ')), "23");
}

// A Pull Up/Down copy takes only rows whose Signal cell names a net: an open pin is no step of it.
TEST_F(DemoEdges, APullUpCopyStepsOnlyOverRowsWithANet) {
    Run("kx::show clp U1");
    ASSERT_EQ(Run("kx::edit ccp 41 7 {}"), "1"); // PGOOD open
    Run("kx::select ccp 41 9 42 9; kx::key ccp Ctrl+C");
    const std::string transcript = Transcript();
    const size_t at = transcript.rfind("progress: Copying Data");
    ASSERT_NE(at, std::string::npos) << transcript;
    EXPECT_EQ(transcript.substr(at, 30), "progress: Copying Data 1 of 1 ") << transcript.substr(at);
}

// Grids side by side sort together: a header click and the sort word each make one step, named
// "Sort Columns", and its undo brings the order before back.
TEST_F(DemoEdges, ASortOverGridsSideBySideIsOneNamedStep) {
    const std::string log = (m_dir / "trans.log").string();
    Run("kx::translog " + log);
    ShowTwoGrids();
    auto firstRow = [&] { return Run("lindex [split [kx::window ccp] \\n] 6"); };
    const std::string unsorted = firstRow();
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::click ccp 2 4");
    const std::string descending = firstRow();
    EXPECT_NE(descending, unsorted);
    EXPECT_EQ(Run("sort pin {Pin Name}"), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 2);
    std::ifstream in(log, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(text, "Added to Undo: Sort Columns\nAdded to Undo: Sort Columns\n");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(firstRow(), descending);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
}

// An undo or redo happens where its step was made: that grid becomes the active one first.
TEST_F(DemoEdges, UndoAndRedoActivateTheGridOfTheirStep) {
    ShowTwoGrids();
    Run("kx::grid ccp 1; kx::select ccp 41 7; kx::key ccp Delete"); // U1's PGOOD
    ASSERT_EQ(Netlist().find("U1 PGOOD PG"), std::string::npos);
    Run("kx::grid ccp 2");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::grid ccp"), "component U1");
    EXPECT_NE(Netlist().find("U1 PGOOD PG"), std::string::npos);
    Run("kx::grid ccp 2");
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Run("kx::grid ccp"), "component U1");
}

// Copied pull-ups pasted onto a bus row go to its bit rows, folded or not, as one step.
TEST_F(DemoEdges, APullUpPasteOntoABusRowGoesToItsBits) {
    Run("kx::show clp U1; kx::select ccp 42 9; kx::key ccp Ctrl+C"); // RST_N's pull-up
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::select ccp 23 9"); // DQ<15..0>, folded
    EXPECT_EQ(Run("kx::key ccp Ctrl+V"), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    Run("expandPins pin on");
    const std::string window = Run("kx::window ccp");
    for (const char* bit : {"DQ<15> | A1 ", "DQ<7> | A9 ", "DQ<0> | A16 "}) {
        const size_t at = window.find(bit);
        ASSERT_NE(at, std::string::npos) << bit;
        EXPECT_NE(window.substr(at, window.find('\n', at) - at).find("Local Pullup"), std::string::npos) << bit;
    }
    EXPECT_EQ(Run("undo"), "1");
    Run("kx::select ccp 23 9"); // the bus row shown open
    EXPECT_EQ(Run("kx::key ccp Ctrl+V"), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
}

} // namespace
