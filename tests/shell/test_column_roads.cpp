// What a cell's column holds decides what the user's roads do there, on the example board: Delete is
// offered only where the column has something to take off, a termination edit that changes nothing says
// so in every grid kind, the model dialog offers the pins' direction, and a sort is one step whose undo
// orders the grid that was sorted.
#include "KXDemoBoard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

class ColumnRoads : public DemoBoard {
protected:
    std::string Said(const std::string& tcl) {
        Messages();
        std::string said = Run(tcl);
        for (const std::string& id : Messages())
            said += " " + id;
        return said;
    }
    std::string MenuState(int id) {
        const std::string state = Run("kx::menustate " + std::to_string(id));
        return state.substr(0, state.find(' '));
    }
    // Whether the window's dump shows this row ("NUMBER: CELLS").
    bool ShowsRow(const std::string& row) { return Run("kx::window ccp").find(row) != std::string::npos; }
    std::string HistoryTop() {
        const std::string history = Run("kx::history");
        const size_t line = history.find('\n');
        return line == std::string::npos ? std::string() : history.substr(line + 1, history.find('\n', line + 1) - line - 1);
    }
};

// The pin grid: Delete on a Pull Up/Down cell of pins whose net bits have none (a connected pin, an open
// one) is not offered and sends nothing; on a pin with a pull-up it deletes it.
TEST_F(ColumnRoads, PinGridDeleteOnAPullUpDownCellAsksTheNetBits) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1"));
    ASSERT_EQ(Run("kx::select ccp 41 9"), "1"); // PGOOD on PG: no pull-up
    const DesignMark before = MarkDesign();
    EXPECT_EQ(MenuState(35264), "disabled");
    for (const char* road : {"kx::key ccp Delete", "kx::pane Delete"}) {
        ASSERT_EQ(Run("kx::select ccp 41 9"), "1");
        EXPECT_EQ(Said(road), "0 KXTABLE-220") << road;
    }
    ExpectUnchangedSince(before);
    // The word deleteConnection still takes the selected pin's connection off, whatever the column.
    ASSERT_EQ(Run("kx::select ccp 41 9"), "1");
    EXPECT_EQ(Run("deleteConnection pin"), "1");
    ASSERT_EQ(Run("kx::select ccp 41 9"), "1"); // now an open pin
    EXPECT_EQ(MenuState(35264), "disabled");
    EXPECT_EQ(Said("kx::key ccp Delete"), "0 KXTABLE-220");
    // RST_N's net bit has a pull-up of its own.
    ASSERT_EQ(Run("kx::select ccp 42 9"), "1");
    EXPECT_EQ(MenuState(35264), "enabled");
    EXPECT_EQ(Run("kx::key ccp Delete"), "1");
}

// The matrix: an empty Pull Up/Down cell holds its signal's name as its value; Delete there is not offered,
// sends nothing and leaves the grid as the user arranged it. deleteConnection on a Termination or Pull
// Up/Down cell of connected pins names the cell it was given, not a missing connection.
TEST_F(ColumnRoads, MatrixDeleteOnAssociatedComponentCells) {
    ASSERT_TRUE(OpenBoard(3, "kx::pane CreateMatrixView VA {U1 U2} {DQ<1..0> MCLK RESET_N EN PG}"));
    ASSERT_EQ(Run("kx::select ccp 7 4; kx::key ccp Insert"), "1"); // an extra MCLK row 8
    ASSERT_TRUE(ShowsRow("8: MCLK | DDR_CLK"));
    ASSERT_EQ(Run("kx::select ccp 5 3"), "1"); // DQ<1>'s Pull Up/Down cell
    const DesignMark before = MarkDesign();
    EXPECT_EQ(MenuState(35264), "disabled");
    EXPECT_EQ(Said("kx::key ccp Delete"), "0 KXTABLE-220");
    EXPECT_TRUE(ShowsRow("8: MCLK | DDR_CLK"));
    EXPECT_EQ(Run("kx::grid ccp cell"), "5 3");
    ExpectUnchangedSince(before);
    ASSERT_EQ(Run("kx::select ccp 7 7"), "1"); // U1's Termination cell of MCLK: Series
    EXPECT_EQ(Said("deleteConnection pin"), "0 KXTABLE-664");
    ASSERT_EQ(Run("kx::select ccp 9 3"), "1"); // RESET_N's Pull Up/Down cell: Local Pullup
    EXPECT_EQ(Said("deleteConnection pin"), "0 KXTABLE-664");
    ExpectUnchangedSince(before);
    EXPECT_EQ(Said("kx::key ccp Delete"), "1");
}

// editTermination giving a termination what it has already changes nothing and says so (KXTABLE-267), by
// word and method alike, in the signal grid and the matrix as in the pin grid and the dialog.
TEST_F(ColumnRoads, ATerminationEditThatChangesNothingSaysSoInEveryGrid) {
    struct Case {
        const char* shown;
        const char* cell;
    };
    for (const Case& c : {Case{"kx::show slp MCLK", "kx::select ccp 5 11"},
                          Case{"kx::pane CreateMatrixView V1 {U1 U2} {RESET_N MCLK EN}", "kx::select ccp 6 7"},
                          Case{"kx::show clp U1", "kx::select ccp 40 8"}}) {
        SCOPED_TRACE(c.shown);
        ASSERT_TRUE(OpenBoard(3, c.shown));
        ASSERT_EQ(Run(c.cell), "1");
        ASSERT_EQ(Said("editTermination pin -id RT2 -part1 -value 82"), "1");
        const DesignMark before = MarkDesign();
        ASSERT_EQ(Run(c.cell), "1");
        EXPECT_EQ(Said("editTermination pin -id RT2 -part1 -value 82"), "0 KXTABLE-267");
        ASSERT_EQ(Run(c.cell), "1");
        EXPECT_EQ(Said("kx::pane EditTermination {-id RT2 -part1 -value 82}"), "0 KXTABLE-267");
        ExpectUnchangedSince(before);
        Run("kx::answer question KXCOMMON-101 no; kx::close");
    }
}

// The pin grid's Assign Model dialog offers the models of the pin's direction: an input model chosen for
// the output pin MCLK is refused as in the other grids, and the pin keeps its model.
TEST_F(ColumnRoads, PinGridModelDialogOffersThePinsDirection) {
    for (const auto& [file, type] : {std::pair{"M1.mdl", "IbisOutput"}, std::pair{"IN1.mdl", "IbisInput"}}) {
        std::ofstream out(std::filesystem::current_path() / file);
        out << "MODEL " << type << "\n";
    }
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1"));
    ASSERT_EQ(Run("kx::select ccp 40 7"), "1");
    Run("kx::answer dialog CKXDlgModelAssign ok model M1");
    EXPECT_EQ(Said("kx::menu 35543"), "1");
    const DesignMark before = MarkDesign();
    Run("kx::answer dialog CKXDlgModelAssign ok model IN1");
    EXPECT_EQ(Said("kx::menu 35543"), "0 KXTABLE-381");
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.MCLK PIN_SIGNAL_MODEL"), "M1");
    ExpectUnchangedSince(before);
}

// The sort word is a step of the history as the header click that echoes it is; undo puts the rows back.
TEST_F(ColumnRoads, TheSortWordIsAStepAsTheHeaderClickIs) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1"));
    const std::string rows = Run("kx::window ccp");
    ASSERT_EQ(Run("kx::click ccp 2 7"), "1");
    EXPECT_EQ(HistoryTop(), "undo Sort");
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("sort pin Signal"), "1");
    EXPECT_EQ(HistoryTop(), "undo Sort");
    EXPECT_NE(Run("kx::window ccp"), rows);
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::window ccp"), rows);
    // A refused sort (no such column) makes no step.
    const DesignMark before = MarkDesign();
    EXPECT_EQ(Said("sort pin NoSuchColumn").substr(0, 1), "0");
    ExpectUnchangedSince(before);
}

// The physical view: the undo of a sort orders the grid that was sorted, whichever grid is shown then.
TEST_F(ColumnRoads, APhysicalSortsUndoOrdersTheGridItWasMadeIn) {
    ASSERT_TRUE(OpenBoard(4, "kx::show slp RST_IN"));
    const std::string net = Run("kx::window ccp");
    ASSERT_EQ(Run("kx::click ccp 1 3; kx::click ccp 1 3"), "1");
    ASSERT_EQ(Run("kx::show clp RN1"), "1");
    const std::string part = Run("kx::window ccp");
    EXPECT_EQ(Said("undo"), "1");
    EXPECT_EQ(Run("kx::window ccp"), part);
    EXPECT_EQ(Said("undo"), "1");
    EXPECT_EQ(Run("kx::window ccp"), part);
    ASSERT_EQ(Run("kx::show slp RST_IN"), "1");
    EXPECT_EQ(Run("kx::window ccp"), net);
    // The other way round: a part grid's sort undone while the net grid is shown.
    ASSERT_EQ(Run("kx::show clp RN1; kx::click ccp 2 2"), "1");
    const std::string sorted = Run("kx::window ccp");
    EXPECT_NE(sorted, part);
    ASSERT_EQ(Run("kx::show slp RST_IN"), "1");
    EXPECT_EQ(Said("undo"), "1");
    EXPECT_EQ(Run("kx::window ccp"), net);
    ASSERT_EQ(Run("kx::show clp RN1"), "1");
    EXPECT_EQ(Run("kx::window ccp"), part);
}

} // namespace
