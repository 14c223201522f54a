// Termination cells of expanded rows on the example board: a bus row and its bit rows, a pair row and
// its member rows follow a termination edit made through the pane's words, and a selected pair row
// alone takes a termination (it is not taken as pins mixed with pairs).
#include "PinGridBoardFixture.h"

#include "grid/KXGridScopes.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class TerminationRows : public PinGridBoard {
protected:
    void OpenExpanded() {
        OpenBoard();
        ASSERT_EQ(Run("expandPins pin on"), "1");
    }
    std::string Term(const std::string& pin) { return CellText(PinRow(pin), G::m_nColTermination); }
    // Selects the row of the pin by a click on its Termination cell.
    void SelectTermCell(const std::string& pin) {
        const ROWCOL row = PinRow(pin);
        ASSERT_NE(row, 0u) << pin;
        ASSERT_EQ(Run("kx::select ccp " + std::to_string(row) + " " + std::to_string(G::m_nColTermination)), "1");
    }
    // Writes a text into a Termination cell as a stale refresh would have left it.
    void Stale(const std::string& pin, const char* text) {
        CGXStyle style;
        style.SetValue(text);
        kxgrid::GridWriteScope write(*Grid());
        Grid()->SetStyleRange(CGXRange(PinRow(pin), static_cast<ROWCOL>(G::m_nColTermination)), style, gxOverride, 0,
                              2, gxDo);
    }
    static constexpr const char* kSeries =
        "addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22";
};

TEST_F(TerminationRows, BusRowAndItsBitRowsShowANewTerminationAndLoseItByUndo) {
    OpenExpanded();
    SelectTermCell("A<12..0>");
    ASSERT_EQ(Run(kSeries), "1") << ::testing::PrintToString(Messages());
    for (const char* pin : {"A<12..0>", "A<12>", "A<6>", "A<0>"})
        EXPECT_EQ(Term(pin), "Series") << pin;
    EXPECT_EQ(Term("CLK"), "Shunt"); // the next pin's row is its own
    Run("undo");
    for (const char* pin : {"A<12..0>", "A<12>", "A<0>"})
        EXPECT_EQ(Term(pin), "") << pin;
}

TEST_F(TerminationRows, DeletingABusRowsTerminationsClearsEveryBitRow) {
    OpenExpanded();
    ASSERT_EQ(Term("DQ<1>"), "Series");
    SelectTermCell("DQ<15..0>");
    ASSERT_EQ(Run("deleteTermination pin"), "1") << ::testing::PrintToString(Messages());
    for (const char* pin : {"DQ<15..0>", "DQ<1>", "DQ<0>"})
        EXPECT_EQ(Term(pin), "") << pin;
    EXPECT_EQ(Term("MCLK"), "Series"); // below the bus, not part of it
}

TEST_F(TerminationRows, RefreshOfAnExpandedRowRewritesItsBitRowsFromTheDesign) {
    OpenExpanded();
    Stale("DQ<0>", "Stale");
    Stale("DQ<7>", "Stale");
    Stale("A<0>", "Stale"); // another pin's bit row: not listed, left alone
    CDWordArray rows;
    rows.Add(PinRow("DQ<15..0>"));
    Grid()->RefreshExpandedRow(rows);
    EXPECT_EQ(Term("DQ<0>"), "Series");
    EXPECT_EQ(Term("DQ<7>"), "");
    EXPECT_EQ(Term("A<0>"), "Stale");
}

TEST_F(TerminationRows, RefreshOfAPairRowRewritesThePairAndIgnoresRowsOutsideTheGrid) {
    OpenExpanded();
    Stale("CLK", "Stale");
    CDWordArray rows;
    rows.Add(PinRow("CLK"));
    rows.Add(0);
    rows.Add(Grid()->GetRowCount() + 5);
    Grid()->RefreshExpandedRow(rows);
    EXPECT_EQ(Term("CLK"), "Shunt");
}

// A bus row whose bits carry different terminations shows none, neither as its text nor as the tool
// tip the user reads on it, whichever road put the other type on one bit; undo brings the type back.
TEST_F(TerminationRows, ABusRowWhoseBitsDifferShowsNoTerminationOnAnyRoad) {
    const std::string shunt =
        "addTermination pin -type Shunt -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 50";
    auto busShows = [&](const char* when) {
        EXPECT_EQ(Term("DQ<15..0>"), "") << when;
        auto rows = Rows();
        const std::vector<std::string>& titles = rows[2];
        const auto at = std::find(titles.begin(), titles.end(), "Termination") - titles.begin();
        EXPECT_EQ(rows[static_cast<int>(PinRow("DQ<15..0>"))].at(static_cast<size_t>(at)), "") << when;
    };
    // The bits shown expanded: the word on the bit's row, then the bus folded and opened again.
    OpenExpanded();
    SelectTermCell("DQ<5>");
    ASSERT_EQ(Run(shunt), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Term("DQ<5>"), "Shunt");
    busShows("bit rows expanded");
    ASSERT_EQ(Run("expandPins pin off"), "1");
    busShows("bus folded");
    Run("undo");
    EXPECT_EQ(Term("DQ<15..0>"), ""); // DQ<1> and DQ<0> are terminated, the other bits not
    // The signal grid of one bit, then the component shown again with its bus folded.
    ASSERT_EQ(Run("expandPins pin off"), "1");
    Run("kx::show slp DQ<3>");
    int u1 = 0;
    for (const auto& [row, cells] : Rows())
        if (cells.size() > 1 && cells[1] == "U1") u1 = row;
    ASSERT_NE(u1, 0);
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(u1) + " 11"), "1");
    Run("kx::pane InitTermination Shunt");
    ASSERT_EQ(Run("kx::pane AddTermination"), "1") << ::testing::PrintToString(Messages());
    Run("kx::show clp U1");
    busShows("signal grid of a bit");
}

TEST_F(TerminationRows, APairRowAloneTakesATerminationAsOneUndoStep) {
    OpenExpanded();
    SelectTermCell("CLK");
    ASSERT_EQ(Run("deleteTermination pin"), "1");
    EXPECT_EQ(Term("CLK"), "");
    const int steps = Ccp()->GetUndoStepCount();
    SelectTermCell("CLK");
    Messages();
    ASSERT_EQ(Run(kSeries), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Term("CLK"), "Series");
    EXPECT_EQ(Term("CLK_P"), ""); // the pair carries it, not its legs
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    Run("undo");
    EXPECT_EQ(Term("CLK"), "");
}

} // namespace

namespace {

// The example board with the CLK pair's negative leg an output: its legs differ in pin type.
class MixedLegs : public TerminationRows {
protected:
    void EditDemo() override {
        ReplaceLine("FPGA.sym.design", "port CLK_N -1 -1 in input", "port CLK_N -1 -1 out output");
        ReplaceLine("board.sch.design", "pin U1 CLK_N -1 -1 in input", "pin U1 CLK_N -1 -1 out output");
    }
};

TEST_F(MixedLegs, APairWhoseLegsDifferInTypeTakesNoTermination) {
    OpenBoard();
    SelectTermCell("CLK");
    ASSERT_EQ(Run("deleteTermination pin"), "1");
    SelectTermCell("CLK");
    Messages();
    const std::string netlist = Run("kx::netlist");
    EXPECT_EQ(Run(kSeries), "0");
    const std::vector<std::string> shown = Messages();
    EXPECT_NE(std::find(shown.begin(), shown.end(), "KXTABLE-148"), shown.end()) << ::testing::PrintToString(shown);
    EXPECT_EQ(Term("CLK"), "");
    EXPECT_EQ(Run("kx::netlist"), netlist);
}

// The dialog's roads (the menu and the word without options) say so before the dialog asks, and say
// nothing else: no dialog opens, and the answer is the refusal's.
TEST_F(MixedLegs, TheDialogsRoadsRefuseAMixedPairBeforeAsking) {
    OpenBoard();
    SelectTermCell("CLK");
    ASSERT_EQ(Run("deleteTermination pin"), "1");
    const std::string netlist = Run("kx::netlist");
    Run("kx::answer dialog CKXTerminationDlg ok type Series value0 22"); // for a dialog that must not open
    for (const char* road : {"kx::menu 35522", "addTermination pin"}) {
        SelectTermCell("CLK");
        Messages();
        EXPECT_EQ(Run(road), "0") << road;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-148"}) << road;
        EXPECT_EQ(Run("kx::netlist"), netlist) << road;
    }
}

} // namespace
