// A user's hands on a component's pin grid, through the host: stepping through the Signal cells,
// Delete on the filter row, the sort and filter words naming columns as the grid shows them, and
// property columns added one after the other in the customise dialog.
#include "PinGridBoardFixture.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using G = CKXInstanceDetailsGridWnd;

bool Has(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

class PinGridHands : public PinGridBoard {
protected:
    ROWCOL CurrentRow() {
        ROWCOL row = 0, col = 0;
        return Grid() && Grid()->GetCurrentCell(row, col) ? row : 0;
    }
    // The caption row as kx::window shows it, one text per shown column.
    std::vector<std::string> Captions() { return Rows()[2]; }
};

TEST_F(PinGridHands, SignalCellSteppingGoesToTheRowsTheUserSees) {
    OpenBoard();
    // A<12..0> is folded: its bit rows follow it, hidden.
    const ROWCOL bus = PinRow("A<12..0>"), clk = PinRow("CLK");
    ASSERT_TRUE(Grid()->IsRowHidden(bus + 1));
    Run("kx::pane SelectFirstSignalCol");
    ASSERT_EQ(CurrentRow(), bus);
    EXPECT_EQ(Run("kx::pane SelectNextSignalCol"), "1");
    EXPECT_EQ(CurrentRow(), clk) << "the folded bits are stepped over";
    EXPECT_EQ(Run("trackInSignalList pin"), "1") << "the current pin is the pair's";

    // A filter hides rows: every step that answers 1 lands on a shown Signal cell, the last answers 0.
    ASSERT_EQ(Run("kx::edit ccp 4 " + std::to_string(G::m_nColSignal) + " *CLK*"), "1");
    Run("kx::pane SelectFirstSignalCol");
    int steps = 0;
    while (Run("kx::pane SelectNextSignalCol") == "1" && steps < 100) {
        ++steps;
        ASSERT_GT(CurrentRow(), 0u);
        EXPECT_FALSE(Grid()->IsRowHidden(CurrentRow())) << CurrentRow();
    }
    EXPECT_GT(steps, 0);
    EXPECT_EQ(CurrentRow(), 0u) << "past the last shown row no cell is current";
}

TEST_F(PinGridHands, DeleteOnTheFilterRowTakesTheColumnsFilterOff) {
    OpenBoard();
    const std::string netlist = Run("kx::netlist");
    const std::string col = std::to_string(G::m_nColSignal);
    ASSERT_EQ(Run("kx::edit ccp 4 " + col + " PG*"), "1");
    ASSERT_FALSE(Shows("MCLK"));
    Run("kx::select ccp 4 " + col);
    Echoes();
    EXPECT_EQ(Run("kx::key ccp Delete"), "1");
    EXPECT_EQ(CellText(4, G::m_nColSignal), "*");
    EXPECT_TRUE(Shows("MCLK"));
    EXPECT_TRUE(Shows("PGOOD"));
    EXPECT_EQ(Run("kx::netlist"), netlist);
    for (const std::string& echo : Echoes())
        EXPECT_EQ(echo.find("deleteConnection"), std::string::npos) << echo;
    EXPECT_EQ(Transcript().find("request: deleteConnection"), std::string::npos);
    EXPECT_EQ(Run("undo"), "0") << "a filter is no undo step";
    EXPECT_NE(JournalText().find(".FilterRows(\"Signal\",\"*\")"), std::string::npos) << JournalText();
}

TEST_F(PinGridHands, SortAndFilterWordsNameColumnsAsTheGridShowsThem) {
    OpenBoard();
    Run("kx::answer dialog CKXCommentsDlg ok text {check later}");
    ASSERT_EQ(Run("kx::click ccp " + std::to_string(PinRow("PGOOD")) + " " + std::to_string(G::m_nColComments) +
                  " double"),
              "1");
    // The Comments caption is a picture: the word takes the caption the user reads, in any case.
    EXPECT_EQ(Run("filterRows pin -col Comments -filter check*"), "1");
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(Shows("PGOOD"));
    EXPECT_FALSE(Shows("MCLK"));
    EXPECT_EQ(Run("filterRows pin -col COMMENTS -filter *"), "1");
    EXPECT_TRUE(Shows("MCLK"));
    EXPECT_EQ(Run("sort pin {Pull Up/Down}"), "1");
    EXPECT_TRUE(Messages().empty());

    // A column the grid lacks: the word's usage, and nothing changes.
    const std::vector<std::string> before = PinNames();
    EXPECT_EQ(Run("filterRows pin -col NoSuchColumn -filter x*"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-234"});
    EXPECT_EQ(Run("sort pin NoSuchColumn"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-231"});
    EXPECT_EQ(PinNames(), before);
}

TEST_F(PinGridHands, PropertyColumnsAddedOneAfterTheOtherEachComeOnceAndGoWhenRemoved) {
    OpenBoard();
    Run("kx::select ccp 6 4");
    Run("kx::answer dialog CKXCustomizeDialog ok add {SLEW|Slew|8s|PINPROP|SHOW}");
    ASSERT_EQ(Run("kx::menu 35130"), "1");
    Run("kx::answer dialog CKXCustomizeDialog ok add {NETCLASS|Net Class|8s|NETPROP|SHOW}");
    ASSERT_EQ(Run("kx::menu 35130"), "1");
    const std::vector<std::string> expected = {"Slew",   "Net Class",   "Diff Pair",    "Pin Name", "Pin Number",
                                               "Pin Type", "Signal", "Termination", "Pull Up/Down", "Comments"};
    EXPECT_EQ(Captions(), expected) << Run("kx::window ccp");
    // The captions name the cells below them: the pair pin's Diff Pair cell is under "Diff Pair".
    const std::vector<std::string> clk = Rows()[static_cast<int>(PinRow("CLK"))];
    ASSERT_EQ(clk.size(), expected.size());
    EXPECT_EQ(clk[2], "Library defined");
    EXPECT_EQ(clk[3], "CLK");

    // Typed values land in their own columns.
    const std::string pgood = std::to_string(PinRow("PGOOD"));
    int slew = 0;
    for (ROWCOL c = 1; c <= Grid()->GetColCount(); ++c)
        if (CellText(2, static_cast<int>(c)) == "Slew") slew = static_cast<int>(c);
    ASSERT_GT(slew, 0);
    EXPECT_EQ(Run("kx::edit ccp " + pgood + " " + std::to_string(slew) + " fast"), "1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.PGOOD SLEW"), "fast");

    // Removed in the dialog, the column goes, also from a grid made afterwards.
    Run("kx::select ccp 6 4");
    Run("kx::answer dialog CKXCustomizeDialog ok remove SLEW");
    ASSERT_EQ(Run("kx::menu 35130"), "1");
    EXPECT_FALSE(Has(Captions(), "Slew")) << Run("kx::window ccp");
    EXPECT_TRUE(Has(Captions(), "Net Class"));
    Run("kx::show clp R1");
    Run("kx::show clp U1");
    const std::vector<std::string> again = Captions();
    EXPECT_FALSE(Has(again, "Slew")) << Run("kx::window ccp");
    EXPECT_EQ(std::count(again.begin(), again.end(), "Net Class"), 1);
}

TEST_F(PinGridHands, DeleteConnectionWithoutAPinSaysWhyAndChangesNothing) {
    OpenBoard();
    const std::string netlist = Run("kx::netlist");
    // A key that names no pin row leaves the grid with nothing selected.
    Run("selectObject pin NOSUCHPIN");
    Messages();
    EXPECT_EQ(Run("deleteConnection pin"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-272"});
    // A key that names no pin is the cause, as for every keyed word.
    EXPECT_EQ(Run("deleteConnection pin [list U1 NOSUCHPIN X1]"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-247"});
    EXPECT_EQ(Run("kx::netlist"), netlist);
    EXPECT_EQ(Run("undo"), "0") << "no undo step";
}

TEST_F(PinGridHands, DeleteOnSelectedSignalCellsEchoesACommandNamingEachPin) {
    OpenBoard();
    const int first = PinRow("PGOOD"), last = PinRow("RST_N");
    ASSERT_GT(first, 0);
    ASSERT_GT(last, 0);
    const std::string col = std::to_string(G::m_nColSignal);
    const std::string netlist = Run("kx::netlist");
    ASSERT_NE(netlist.find("U1 PGOOD PG"), std::string::npos) << netlist;
    ASSERT_NE(netlist.find("U1 RST_N RESET_N"), std::string::npos) << netlist;
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(std::min(first, last)) + " " + col + " " +
                  std::to_string(std::max(first, last)) + " " + col),
              "1");
    Echoes();
    ASSERT_EQ(Run("kx::key ccp Delete"), "1");
    std::string echoed;
    for (const std::string& e : Echoes())
        if (e.rfind("deleteConnection pin", 0) == 0) echoed = e;
    EXPECT_NE(echoed.find("[list U1 PGOOD \"C10\"]"), std::string::npos) << echoed;
    EXPECT_NE(echoed.find("[list U1 RST_N "), std::string::npos) << echoed;
    const std::string deleted = Run("kx::netlist");
    EXPECT_EQ(deleted.find("U1 PGOOD PG"), std::string::npos) << deleted;
    EXPECT_EQ(deleted.find("U1 RST_N RESET_N"), std::string::npos) << deleted;
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_EQ(Run("kx::netlist"), netlist);
    // Run again with another pin selected, the echoed command still takes the pins it names.
    Run("selectObject pin MCLK");
    ASSERT_EQ(Run(echoed), "1");
    EXPECT_EQ(Run("kx::netlist"), deleted);
}

TEST_F(PinGridHands, CtrlSelectingPinNamesAddsThemAndTheModelGoesOnEach) {
    OpenBoard();
    ASSERT_EQ(Run("kx::pane CtrSelectPinNameCol PGOOD"), "1");
    ASSERT_EQ(Run("kx::pane CtrSelectPinNameCol RST_N"), "1");
    const std::vector<ROWCOL> rows = Grid()->SelectedPinRows();
    EXPECT_EQ(rows.size(), 2u);
    Run("kx::pane AssignModel LVCMOS33");
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.RST_N PIN_SIGNAL_MODEL"), "LVCMOS33");
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.PGOOD PIN_SIGNAL_MODEL"), "LVCMOS33");
}

// CtrSelect takes an array of keys: kx::pane passes a Tcl list as one (-array), a journal as Array(...).
TEST_F(PinGridHands, CtrSelectTakesItsKeysAsAnArrayFromTheHostAndFromAJournal) {
    OpenBoard();
    EXPECT_EQ(Run("kx::pane CtrSelect -array {U1:PGOOD U1:RST_N} {}"), "1");
    EXPECT_EQ(Grid()->SelectedPinRows().size(), 2u);
    Run("selectObject pin MCLK");
    ASSERT_EQ(Grid()->SelectedPinRows().size(), 1u);
    const std::filesystem::path journal = m_dir / "ctrselect.vbs";
    std::ofstream(journal) << "set board = RMX.GetActiveTab()\n"
                              "call board.ConnectivityPane().CtrSelect(Array(\"U1:PGOOD\",\"U1:RST_N\"),\"\")\n";
    EXPECT_EQ(Run("kx::replay " + journal.string()), "1");
    EXPECT_EQ(Grid()->SelectedPinRows().size(), 2u);
}

// A Delete that goes through the host leaves the deleted pin's row current in its column: the next key
// goes on from there, and the next Delete acts on the row the user moved to.
TEST_F(PinGridHands, KeysAfterADeleteThroughTheHostActOnTheCurrentRow) {
    OpenBoard();
    const std::string signal = std::to_string(G::m_nColSignal);
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(PinRow("PGOOD")) + " " + signal), "1");
    ASSERT_EQ(Run("kx::key ccp Delete"), "1");
    ASSERT_EQ(Run("kx::netlist").find("U1 PGOOD "), std::string::npos);
    EXPECT_EQ(Run("kx::grid ccp cell"), std::to_string(PinRow("PGOOD")) + " " + signal);
    ASSERT_EQ(Run("kx::key ccp Up"), "1");
    EXPECT_EQ(Run("kx::grid ccp cell"), std::to_string(PinRow("PGOOD") - 1) + " " + signal);
    EXPECT_EQ(Run("kx::menustate 35264").rfind("enabled", 0), 0u);
    const std::string above = Grid()->GetValueRowCol(PinRow("PGOOD") - 1, G::m_nColPinName).str();
    ASSERT_NE(Run("kx::netlist").find("U1 " + above + " "), std::string::npos);
    EXPECT_EQ(Run("kx::key ccp Delete"), "1");
    EXPECT_EQ(Run("kx::netlist").find("U1 " + above + " "), std::string::npos) << above;
}

// Keyed words reach a row the filter hides, all alike: the filter goes and the word acts on the pin.
TEST_F(PinGridHands, KeyedWordsActOnRowsTheFilterHides) {
    OpenBoard();
    ASSERT_EQ(Run("filterRows pin -col {Pin Number} -filter C*"), "1");
    ASSERT_EQ(Run("kx::window ccp").find("| MCLK |"), std::string::npos);
    Messages();
    EXPECT_EQ(Run("deleteTermination pin MCLK:B14"), "1") << ::testing::PrintToString(Messages());
    const std::string window = Run("kx::window ccp");
    const size_t at = window.find("| MCLK | B14 |");
    ASSERT_NE(at, std::string::npos) << window;
    const std::string row = window.substr(at, window.find('\n', at) - at);
    EXPECT_EQ(row.find("Series"), std::string::npos) << row;
    EXPECT_EQ(Run("addComment pin note MCLK:B14"), "1");
}

// The Ctrl-selection of Termination cells adds too: a termination added then goes on every pin chosen.
TEST_F(PinGridHands, CtrlSelectingTerminationCellsAddsThemAndTheTerminationGoesOnEach) {
    OpenBoard("U1", 3);
    ASSERT_EQ(Run("kx::pane CtrSelectTerminationCol PGOOD"), "1");
    ASSERT_EQ(Run("kx::pane CtrSelectTerminationCol RST_N"), "1");
    EXPECT_EQ(Grid()->SelectedPinRows().size(), 2u);
    ASSERT_EQ(Run("addTermination pin -type Shunt -part1 -lib discrete -cell resistor -view sym -physname R0402 "
                  "-value 50"),
              "1");
    const std::string window = Run("kx::window ccp");
    for (const char* pin : {"PGOOD", "RST_N"}) {
        const size_t at = window.find(std::string("| ") + pin + " |");
        ASSERT_NE(at, std::string::npos) << pin << window;
        const std::string row = window.substr(at, window.find('\n', at) - at);
        EXPECT_NE(row.find("Shunt"), std::string::npos) << row;
    }
}

} // namespace

// A journal's selection of a pair leg folded two deep (its lane within the pair) opens both folds and
// selects the leg: the connect that follows lands on it, never on the pin selected before.
TEST_F(PinGridHands, ALegSelectionOpensTheFoldsItIsInAndTheNextConnectLandsOnTheLeg) {
    OpenBoard("U1", 3);
    ASSERT_EQ(Run("kx::pane SelectSignalCol {TX<3..0>}"), "1");
    ASSERT_EQ(Run("kx::pane Delete"), "1");
    // The other legs on a net and the pair row's connection taken off: TX_P<3> alone stays open.
    Run("foreach {p n} {TX_N<3> C2 TX_P<2> C3 TX_N<2> C4 TX_P<1> C5 TX_N<1> C6 TX_P<0> C7 TX_N<0> C8} {"
        "kx::pane SelectSignalCol $p $n; kx::pane AddConnection PGOOD}");
    ASSERT_EQ(Run("kx::pane SelectSignalCol {TX<3..0>}"), "1");
    Run("kx::pane Delete");
    ASSERT_EQ(Run("kx::pane FilterRows Signal *N"), "1");
    ASSERT_EQ(Run("kx::pane FilterRows Signal *"), "1");
    ASSERT_EQ(Run("kx::pane SelectPUPDCol PGOOD C10"), "1");
    Run("kx::pane Copy");
    EXPECT_EQ(Run("kx::pane SelectSignalCol {TX_P<3>} C1"), "1");
    EXPECT_EQ(Run("kx::pane AddConnection MCLK"), "1");
    const std::string netlist = Run("kx::netlist");
    EXPECT_EQ(netlist.find("U1 PGOOD MCLK"), std::string::npos) << netlist;
    EXPECT_NE(netlist.find("U1 PGOOD PG"), std::string::npos) << netlist;
    EXPECT_NE(netlist.find("U1 TX_P<3> MCLK"), std::string::npos) << netlist;
}

namespace {

// A journal's cell selection finds the row by its pin number under the pin's own name (a pair row and
// its leg share a number), else the first row showing the number; a folded row is opened first.
TEST_F(PinGridHands, ACellSelectionFindsEveryPinsRowByNumberOrName) {
    OpenBoard("U1", 3);
    ASSERT_EQ(Run("expandPins pin on"), "1");
    struct Pin {
        std::string name, number;
    };
    std::vector<Pin> pins;
    for (ROWCOL r = PIN_FIRST_ROW; r <= Grid()->GetRowCount(); ++r)
        pins.push_back({Grid()->GetValueRowCol(r, G::m_nColPinName).str(),
                        Grid()->GetValueRowCol(r, G::m_nColPinNumber).str()});
    // The row each selection should land on, named by its texts.
    auto expected = [&](const Pin& pin) {
        const Pin* first = nullptr;
        for (const Pin& p : pins) {
            if (p.number != pin.number) continue;
            if (p.name == pin.name) return p;
            if (!first) first = &p;
        }
        return *first;
    };
    ASSERT_EQ(Run("expandPins pin off"), "1");
    for (const Pin& pin : pins) {
        ASSERT_TRUE(Grid()->SelectPinCell("Signal", pin.name.c_str(), pin.number.c_str())) << pin.name;
        const ROWCOL row = CurrentRow();
        ASSERT_FALSE(Grid()->IsRowHidden(row)) << pin.name;
        const Pin want = expected(pin);
        EXPECT_EQ(Grid()->GetValueRowCol(row, G::m_nColPinName).str(), want.name) << pin.name << " " << pin.number;
        EXPECT_EQ(Grid()->GetValueRowCol(row, G::m_nColPinNumber).str(), want.number) << pin.name;
    }
    // By name alone, and a pin the grid lacks selects nothing.
    ASSERT_TRUE(Grid()->SelectPinCell("pinname", "PGOOD", ""));
    EXPECT_EQ(Grid()->GetValueRowCol(CurrentRow(), G::m_nColPinName).str(), "PGOOD");
    EXPECT_FALSE(Grid()->SelectPinCell("Signal", "NOPE", "Z99"));
}

// A double-click on a column title's border fits the column to its data rows, in this grid and in
// the next pin grid shown; a double-click on a data cell's border changes no width.
TEST_F(PinGridHands, ADoubleClickOnAColumnBorderFitsTheColumnToItsRows) {
    OpenBoard();
    Run("kx::answer dialog CKXCustomizeDialog ok width.PIN_NAME 50s");
    ASSERT_EQ(Run("kx::menu 35130"), "1");
    const int pinName = G::m_nColPinName;
    auto width = [this, pinName] {
        std::istringstream widths(Run("kx::widths ccp"));
        int w = 0;
        for (int c = 0; c <= pinName; ++c)
            widths >> w;
        return w;
    };
    const int wide = width();
    EXPECT_EQ(
        Run("kx::click ccp " + std::to_string(PinRow("MCLK")) + " " + std::to_string(pinName) + " border"),
        "1");
    EXPECT_EQ(width(), wide);
    EXPECT_EQ(Run("kx::click ccp 2 " + std::to_string(pinName) + " border"), "1");
    const int fitted = width();
    EXPECT_LT(fitted, wide);
    EXPECT_GT(fitted, 0);
    Run("kx::show clp U2");
    EXPECT_EQ(width(), fitted);
}

// The host highlights a pin whose row the row filter hides: the filter goes and the pin's row is the
// current row, as the automation's selection of a pin's cell reaches it.
TEST_F(PinGridHands, AHighlightedPinTheFilterHidesBecomesTheCurrentRow) {
    OpenBoard();
    ASSERT_EQ(Run("filterRows pin -col {Pin Name} -filter D*"), "1");
    ASSERT_TRUE(Grid()->IsRowHidden(PinRow("MCLK")));
    EXPECT_EQ(Run("kx::highlight demo.board:sch@U1.MCLK"), "1");
    EXPECT_EQ(CurrentRow(), PinRow("MCLK"));
    EXPECT_FALSE(Grid()->IsRowHidden(PinRow("MCLK")));
    EXPECT_EQ(Rows()[4][1], "*");
}

} // namespace
