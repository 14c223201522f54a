// The pin grid on the example board, driven as the user and the host application drive it.
#include "PinGridBoardFixture.h"
#include "../connedit/ConnEditFixture.h"
#include "KXGridCellProcs.h"

#include "kxcommon/KXCustomizeAPI.h"
#include "kxcommon/KXPartReader.h"
#include "kxcontrols/KXProgressBar.h"

#include <algorithm>
#include <fstream>
#include <tuple>
#include "pingrid/KXPinGridSignalCells.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

// The view options reach the rows: buses as one row or a row per bit, pairs as one row or their legs.
TEST_F(PinGridBoard, ViewOptionsChangeTheRows) {
    OpenBoard();
    ASSERT_TRUE(Grid());
    EXPECT_TRUE(Shows("DQ<15..0>"));
    EXPECT_FALSE(Shows("DQ<7>"));
    EXPECT_TRUE(Shows("CLK"));
    EXPECT_FALSE(Shows("CLK_P"));

    EXPECT_EQ(Run("setViewOption pin bus_off"), "1");
    EXPECT_EQ(Grid()->GetBusOption(), 0);
    EXPECT_FALSE(Shows("DQ<15..0>"));
    EXPECT_TRUE(Shows("DQ<15>"));
    EXPECT_TRUE(Shows("DQ<0>"));
    EXPECT_TRUE(Shows("CLK")); // the pair choice was not given: pairs stay

    EXPECT_EQ(Run("setViewOption pin bus_on dp_off"), "1");
    EXPECT_TRUE(Shows("DQ<15..0>"));
    EXPECT_FALSE(Shows("CLK"));
    EXPECT_TRUE(Shows("CLK_P"));
    EXPECT_TRUE(Shows("CLK_N"));
    // Showing rows again is no edit of the design.
    EXPECT_FALSE(Doc()->IsModified());

    EXPECT_EQ(Run("setViewOption pin dp_on"), "1");
    EXPECT_TRUE(Shows("CLK"));
    EXPECT_FALSE(Shows("CLK_P"));
}

// The user option of the pairs (the host's option dialog) reloads the rows and is kept for the next grid.
TEST_F(PinGridBoard, ThePairOptionOfTheHostChangesTheRows) {
    OpenBoard();
    ASSERT_TRUE(Shows("CLK"));
    Run("kx::option show_dp_pins_ccp 0");
    EXPECT_FALSE(Shows("CLK"));
    EXPECT_TRUE(Shows("CLK_P"));
    EXPECT_EQ(Grid()->GetDiffPairOption(), 0);
    G fresh; // a grid made now reads the stored option
    EXPECT_EQ(fresh.GetDiffPairOption(), 0);
    Run("kx::option show_dp_pins_ccp 1");
    EXPECT_TRUE(Shows("CLK"));
    EXPECT_FALSE(Shows("CLK_P"));
}

// The host's CSV import rewrites the Pin Name cells of the open grids, from the part's pin file.
TEST_F(PinGridBoard, TheHostsCsvImportRenamesThePinCells) {
    const std::filesystem::path parts = m_dir / "parts";
    std::filesystem::create_directories(parts / "demo");
    CKXPartReader::SetPartDirectory(parts.string().c_str());
    OpenBoard();
    const ROWCOL pgood = PinRow("PGOOD");
    ASSERT_GT(pgood, 0u);
    CString number = Grid()->GetValueRowCol(pgood, static_cast<ROWCOL>(G::m_nColPinNumber));
    ASSERT_FALSE(number.IsEmpty());
    std::ofstream(parts / "demo" / "FPGA.csv") << "Pin Number,Pin Name\n" << number.GetString() << ",POWER_OK\n";
    EXPECT_EQ(Run("kx::importcsv"), "1") << "one open pin grid";
    EXPECT_EQ(CellText(pgood, G::m_nColPinName), "power_ok");
    EXPECT_EQ(CellText(PinRow("RST_N"), G::m_nColPinName), "RST_N"); // not in the file
    EXPECT_FALSE(Doc()->IsModified()); // only the texts changed
    EXPECT_EQ(Run("kx::importcsv extra"), "error: usage: kx::importcsv");
    CKXPartReader::SetPartDirectory("");
}

// A property changed by the host application on a pin shows in the pin grid's custom column of it.
TEST_F(PinGridBoard, AHostPropertyChangeRefreshesTheCustomColumn) {
    OpenBoard();
    ASSERT_TRUE(Grid());
    // The user adds a pin property column through the pane's Customize Columns.
    Run("kx::select ccp 6 4");
    Run("kx::answer dialog CKXCustomizeDialog ok add {SLEW|Slew|8s|PINPROP|SHOW}");
    EXPECT_EQ(Run("kx::menu 35130"), "1");
    int slew = 0;
    for (int c = 1; c <= static_cast<int>(Grid()->GetColCount()); ++c)
        if (CellText(2, c) == "Slew" || CellText(1, c) == "Slew") slew = c;
    ASSERT_GT(slew, 0) << Run("kx::window ccp");
    // The inserted column has its filter cell and its header rows covered as the others.
    EXPECT_EQ(CellText(4, slew), "*");
    EXPECT_EQ(Run("kx::edit ccp 4 " + std::to_string(slew) + " fast"), "1");
    EXPECT_EQ(Run("kx::edit ccp 4 " + std::to_string(slew) + " *"), "1");
    const ROWCOL pgood = PinRow("PGOOD");
    ASSERT_GT(pgood, 0u);
    EXPECT_EQ(CellText(pgood, slew), "");
    EXPECT_EQ(Run("kx::setprop demo.board:sch@U1.PGOOD SLEW fast"), "1") << "one open pin grid";
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.PGOOD SLEW"), "fast");
    EXPECT_EQ(CellText(pgood, slew), "fast");
    EXPECT_EQ(CellText(PinRow("RST_N"), slew), "");
    // Refused: no such object; nothing is broadcast.
    EXPECT_EQ(Run("kx::setprop demo.board:sch@U1.NOPE SLEW fast"), "error: no object \"demo.board:sch@U1.NOPE\"");
    EXPECT_EQ(Run("kx::setprop demo.board:sch@U1.PGOOD SLEW"), "error: usage: kx::setprop PATH NAME VALUE");
}

// A custom-column value that changes nothing (the same value in another case, a net property of an
// open pin) is refused with its reason: no undo step, no journal line, the design as it was.
TEST_F(PinGridBoard, ACustomValueThatChangesNothingIsRefusedWithItsReason) {
    OpenBoard();
    ASSERT_TRUE(Grid());
    Run("kx::select ccp 6 4");
    Run("kx::answer dialog CKXCustomizeDialog ok add {SLEW|Slew|8s|PINPROP|SHOW}");
    ASSERT_EQ(Run("kx::menu 35130"), "1");
    Run("kx::select ccp 6 4");
    Run("kx::answer dialog CKXCustomizeDialog ok add {VOLT|Volt|8s|NETPROP|SHOW}");
    ASSERT_EQ(Run("kx::menu 35130"), "1");
    ASSERT_EQ(Run("selectObject pin PGOOD"), "1");
    ASSERT_EQ(Run("changeCustomColumn pin -col SLEW -val fast"), "1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.PGOOD SLEW"), "fast");
    const int steps = Ccp()->GetUndoStepCount();
    const std::string journal = JournalText();
    Messages();
    EXPECT_EQ(Run("changeCustomColumn pin -col SLEW -val FAST"), "3");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-267"}));
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.PGOOD SLEW"), "fast");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(JournalText(), journal);

    ASSERT_EQ(Run("deleteConnection pin PGOOD"), "1");
    ASSERT_EQ(Run("selectObject pin PGOOD"), "1");
    const int open = Ccp()->GetUndoStepCount();
    const std::string openJournal = JournalText();
    Messages();
    EXPECT_EQ(Run("changeCustomColumn pin -col VOLT -val 3.3"), "3") << "an open pin has no net to carry it";
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-267"}));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), open);
    EXPECT_EQ(JournalText(), openJournal);
}

// A column the layout inserts looks like the columns the grid was made with: its caption, its "*"
// filter cell, the header bands above and between covered across it; the dump shows it so.
TEST_F(PinGridBoard, AColumnInsertedByTheLayoutLooksLikeTheOthers) {
    OpenBoard();
    ASSERT_TRUE(Grid());
    Run("kx::select ccp 6 4");
    Run("kx::answer dialog CKXCustomizeDialog ok add {SLEW|Slew|8s|PINPROP|SHOW}");
    ASSERT_EQ(Run("kx::menu 35130"), "1");
    G* grid = Grid();
    ROWCOL slew = 0;
    for (ROWCOL c = 1; c <= grid->GetColCount(); ++c)
        if (grid->GetValueRowCol(2, c) == "Slew") slew = c;
    ASSERT_GT(slew, 0u) << Run("kx::window ccp");
    const ROWCOL last = grid->GetColCount();
    ASSERT_GT(last, slew) << "inserted among the columns, not after them";
    CGXStyle caption;
    grid->GetStyleRowCol(2, slew, caption);
    EXPECT_EQ(caption.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)), "Slew");
    CGXStyle filter;
    grid->GetStyleRowCol(4, slew, filter);
    EXPECT_EQ(filter.GetValue(), "*");
    EXPECT_EQ(filter.GetControl(), IDS_CTRL_FILTER_COMBO);
    // Bands: rows 0-1 from column 1, rows 3 and 5 from column 0, each to the last column.
    for (const auto& [top, bottom, left] : {std::tuple<ROWCOL, ROWCOL, ROWCOL>{0, 1, 1}, {3, 3, 0}, {5, 5, 0}}) {
        CGXRange band;
        ASSERT_NE(grid->GetCoveredCellsRowCol(top, slew, band), nullptr) << "row " << top;
        EXPECT_EQ(band.top, top);
        EXPECT_EQ(band.bottom, bottom);
        EXPECT_EQ(band.left, left);
        EXPECT_EQ(band.right, last) << "row " << top;
    }
    // The dump: the caption in the caption line, one "*" per shown column in the filter line.
    const std::filesystem::path dump = m_dir / "ccp.txt";
    ASSERT_EQ(Run("dumpGrid pin " + dump.string()), "1");
    std::ifstream in(dump);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    const auto captions = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find("Pin Name") != std::string::npos && l.find("Slew") != std::string::npos;
    });
    ASSERT_NE(captions, lines.end());
    const std::string stars = *std::next(captions, 2); // the covered band, then the filter row
    int shown = 0;
    for (ROWCOL c = 1; c <= last; ++c)
        if (!grid->IsColHidden(c) && grid->GetColumnInfo(static_cast<int>(c))->m_bShown) ++shown;
    EXPECT_EQ(std::count(stars.begin(), stars.end(), '*'), shown) << stars;
}

// Every progress line of a load ends at 100% when its bar goes: pairs and pins both.
TEST_F(PinGridBoard, ALoadsProgressLinesEndAtTheirEnd) {
    std::vector<std::string> closing;
    CKXProgressBar::SetLineSink([&closing](const CString& line, BOOL done) {
        if (done) closing.push_back(line.GetString());
    });
    OpenBoard();
    CKXProgressBar::SetLineSink(nullptr);
    ASSERT_TRUE(Shows("CLK"));
    int pairs = 0, pins = 0;
    for (const std::string& line : closing) {
        if (line.rfind("Processing Diff-Pair Pins", 0) == 0) ++pairs;
        if (line.rfind("Processing Pins", 0) == 0) ++pins;
        EXPECT_NE(line.find("100%"), std::string::npos) << line;
    }
    EXPECT_GE(pairs, 1);
    EXPECT_GE(pins, 1);
    EXPECT_EQ(CKXProgressBar::m_pProgressBar, nullptr);
}

} // namespace

namespace {

// Tracking a pin's signal says what is wrong with the current cell when it cannot.
TEST_F(PinGridBoard, TrackInSignalListNamesWhatIsWrong) {
    OpenBoard();
    ASSERT_TRUE(Grid());
    const int signal = G::m_nColSignal, name = G::m_nColPinName;
    Run("kx::select ccp 4 " + std::to_string(name)); // the filter row
    EXPECT_EQ(Run("trackInSignalList pin"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-270"});
    const ROWCOL pgood = PinRow("PGOOD");
    Run("kx::select ccp " + std::to_string(pgood) + " " + std::to_string(signal));
    EXPECT_EQ(Run("trackInSignalList pin"), "1");
    EXPECT_TRUE(Messages().empty());
}

} // namespace

namespace {

// Pins with display names (as boards imported from other tools carry them).
class PinGridDisplayNames : public PinGridBoard {
protected:
    void EditDemo() override {
        ReplaceLine("board.sch.design", "pin U1 PGOOD -1 -1 in input", "pin U1 PGOOD -1 -1 in input PWR_GOOD");
        ReplaceLine("board.sch.design", "pin U1 DQ 15 0 inout inout", "pin U1 DQ 15 0 inout inout DATA");
    }
};

TEST_F(PinGridDisplayNames, PinNameShowsTheDisplayName) {
    OpenBoard();
    ASSERT_TRUE(Grid());
    EXPECT_TRUE(Shows("PWR_GOOD")) << Run("kx::window ccp");
    EXPECT_FALSE(Shows("PGOOD"));
    EXPECT_TRUE(Shows("DATA<15..0>"));
    EXPECT_TRUE(Shows("RST_N")); // no display name: its name
    // The row still stands for the pin: its signal and its key.
    const ROWCOL row = PinRow("PWR_GOOD");
    ASSERT_GT(row, 0u);
    EXPECT_EQ(CellText(row, G::m_nColSignal), "PG");
    int msb = 0, lsb = 0;
    EXPECT_EQ(Grid()->GetRowPinName(row, msb, lsb), "PGOOD");
    EXPECT_EQ(Run("setViewOption pin bus_off"), "1");
    EXPECT_TRUE(Shows("DATA<3>"));
}

} // namespace

namespace {

// The host's option brings the parts' implicit power pins into the pin grid at its next load.
TEST_F(PinGridBoard, TheHostsPowerPinOptionShowsImplicitPins) {
    OpenBoard();
    ASSERT_TRUE(Grid());
    const size_t before = PinNames().size();
    EXPECT_EQ(Run("kx::powerpins on"), "1");
    EXPECT_EQ(Run("setViewOption pin bus_on"), "1");
    const size_t with = PinNames().size();
    EXPECT_GT(with, before) << Run("kx::window ccp");
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Run("kx::powerpins off"), "1");
    EXPECT_EQ(Run("setViewOption pin bus_on"), "1");
    EXPECT_EQ(PinNames().size(), before);
    EXPECT_EQ(Run("kx::powerpins maybe"), "error: usage: kx::powerpins on|off");
}

} // namespace

namespace {

// Bit rows written from one net: each bit's signal text, and a termination cell that is either
// the bit's (with its level) or, for a name only, an empty static cell.
TEST_F(PinGridBoard, BitRowsWrittenFromANet) {
    OpenBoard();
    ASSERT_TRUE(Grid());
    const ROWCOL dq = PinRow("DQ<15..0>");
    ASSERT_GT(dq, 0u);
    Grid()->SignalCells().FillVectorBitCell(dq, "BUS", -1, 15, 14, FALSE);
    EXPECT_EQ(CellText(dq + 1, G::m_nColSignal), "BUS<15>");
    EXPECT_EQ(CellText(dq + 2, G::m_nColSignal), "BUS<14>");
    CGXStyle term;
    Grid()->GetStyleRowCol(dq + 1, static_cast<ROWCOL>(G::m_nColTermination), term);
    EXPECT_EQ(term.GetUserAttributeText(static_cast<WORD>(IDS_UA_ROW_LEVEL)), "1");
    Grid()->SignalCells().FillVectorBitCell(dq, "BUS", -1, 15, 15, TRUE);
    EXPECT_EQ(CellText(dq + 1, G::m_nColSignal), "BUS");
    CGXStyle empty;
    Grid()->GetStyleRowCol(dq + 1, static_cast<ROWCOL>(G::m_nColTermination), empty);
    EXPECT_EQ(empty.GetValue(), "");
    EXPECT_TRUE(empty.GetReadOnly());
    EXPECT_EQ(empty.GetControl(), IDS_CTRL_STATIC_TEXT);
    EXPECT_TRUE(Grid()->GetParam()->IsLockReadOnly());
}

} // namespace

namespace {

// A pair's termination shows in the TERMINATION cell of its row, its text as tool tip.
TEST_F(PinGridBoard, APairRowShowsItsTermination) {
    OpenBoard();
    const ROWCOL clk = PinRow("CLK");
    ASSERT_GT(clk, 0u);
    EXPECT_EQ(CellText(clk, G::m_nColTermination), "Shunt") << Run("kx::window ccp");
    CGXStyle term;
    Grid()->GetStyleRowCol(clk, static_cast<ROWCOL>(G::m_nColTermination), term);
    EXPECT_TRUE(term.GetReadOnly());
    EXPECT_FALSE(term.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)).IsEmpty());
    // A pair without one shows nothing.
    const ROWCOL tx = PinRow("TX<3..0>");
    ASSERT_GT(tx, 0u);
    EXPECT_EQ(CellText(tx, G::m_nColTermination), "");
}

// ------------------------------------------------------------------ columns left out

// A customisation without the Diff Pair and Pin Type columns: the columns that stay keep their own
// cells (the left-out ones had numbers that are other columns' now).
class PinGridWithoutSomeColumns : public PinGridBoard {
protected:
    void SetUp() override {
        PinGridBoard::SetUp();
        if (HasFatalFailure()) return;
        CKXCustomizeAPI::Reset();
        CKXCustomizeAPI::setCustomizationOrigin("CCP");
        CStringArray columns;
        for (const char* e : {"PIN_NAME|Pin Name|14s|DEFAULT|SHOW", "PN|Pin Number|8s|DEFAULT|SHOW",
                              "SIGNAL|Signal|16s|DEFAULT|SHOW", "TERMINATION|Termination|12s|DEFAULT|SHOW",
                              "PUPD|Pull Up/Down|10s|DEFAULT|SHOW", "COMMENTS|Comments|16s|DEFAULT|SHOW"})
            columns.Add(e);
        ASSERT_TRUE(CKXCustomizeAPI::parseFile(columns, false));
    }
    void TearDown() override {
        CKXCustomizeAPI::Reset();
        PinGridBoard::TearDown();
    }
};

TEST_F(PinGridWithoutSomeColumns, AFilterTakenOffShowsEveryRowAgain) {
    OpenBoard();
    const std::string all = Run("kx::window ccp");
    ASSERT_NE(all.find(" MCLK | B14 | MCLK | Series"), std::string::npos) << all;
    EXPECT_EQ(Run("filterRows pin -col Signal -filter M*"), "1");
    EXPECT_EQ(Run("filterRows pin -col Signal -filter *"), "1");
    EXPECT_EQ(Run("kx::window ccp"), all);
}

TEST_F(PinGridWithoutSomeColumns, APinRowIsNoBitRowAndItsTerminationCellIsItsOwn) {
    OpenBoard();
    const ROWCOL mclk = PinRow("MCLK");
    ASSERT_GT(mclk, 0u);
    CString base;
    int msb = -1, lsb = -1;
    EXPECT_EQ(Grid()->GetRowKind(mclk, base, msb, lsb), PIN_ROW_SCALAR);
    EXPECT_EQ(CellText(mclk, G::m_nColTermination), "Series");
    EXPECT_EQ(CellText(mclk, G::m_nColPinName), "MCLK");
}

} // namespace

// ------------------------------------------------------------------ custom columns on the board

namespace {

// The board with two pin property columns, for values written by script word and replayed.
class CustomColumnOnBoard : public ConnEditFixture {
protected:
    void SetUp() override {
        ConnEditFixture::SetUp();
        if (HasFatalFailure()) return;
        CKXCustomizeAPI::Reset();
        CKXCustomizeAPI::setCustomizationOrigin("CCP");
        CStringArray columns;
        for (const char* e : {"PIN_NAME|Pin Name|14s|DEFAULT|SHOW", "PN|Pin Number|8s|DEFAULT|SHOW",
                              "SIGNAL|Signal|16s|DEFAULT|SHOW", "SPEED|Speed|8s|PINPROP|SHOW",
                              "VOLT_MAX|Volt max|8s|PINPROP|SHOW"})
            columns.Add(e);
        ASSERT_TRUE(CKXCustomizeAPI::parseFile(columns, false));
    }
    void TearDown() override {
        CKXCustomizeAPI::Reset();
        ConnEditFixture::TearDown();
    }
};

// Sorted by pin name the first row is the CLK pair, which names no pin: the journal still names the
// component before the pin, so that the replay writes the same pin.
TEST_F(CustomColumnOnBoard, AValueWrittenAfterASortReplaysOntoTheSamePin) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    const std::string original = Saved();
    Run("kx::show clp U1");
    Run("sort pin \"Pin Name\"");
    ASSERT_EQ(Run("changeCustomColumn pin -col VOLT_MAX -val slow \"DQ<3>\""), "1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.DQ<3> VOLT_MAX"), "slow");
    const std::string journal = JournalText();
    EXPECT_NE(journal.find(".Clp().Select(\"U1\")\ncall board.ConnectivityPane().SelectPinNameCol(\"DQ<3>\")"),
              std::string::npos)
        << journal;
    const std::string edited = Saved();
    EXPECT_EQ(Replayed(original), edited) << journal;
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.DQ<3> VOLT_MAX"), "slow");
}

// A group's grid shows the pairs' legs while the grid of its first component alone shows the pairs: the
// lines of what the user does in the group's grid (its view options, a copy, a typed connection, a
// termination, a comment) show the group again before they name a row, so that the replay finds the rows.
class GroupGridOnBoard : public ConnEditFixture {
protected:
    void SetUp() override {
        ConnEditFixture::SetUp();
        Run(kCellProc);
        ASSERT_TRUE(Open("demo.board:sch", 1));
        m_original = Saved();
        ASSERT_EQ(Run("kx::show clp -group U1 R1"), "1");
        ASSERT_EQ(Run("setViewOption pin dp_off"), "1");
        ASSERT_EQ(Run("kx::show clp U1"), "1");
        ASSERT_EQ(Run("setViewOption pin dp_on"), "1");
        ASSERT_EQ(Run("kx::show clp -group U1 R1"), "1");
    }
    std::string m_original;
};

TEST_F(GroupGridOnBoard, ACopyOfALegsBusRowReplaysInTheGroupsGrid) {
    ASSERT_EQ(Run("kx::select ccp {*}[kxcell {TX_N<3..0>} {Pin Name}]"), "1");
    ASSERT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    const std::string journal = JournalText();
    EXPECT_NE(
        journal.find(
            ".Clp().SelectGroup(\"U1 R1\")\ncall board.ConnectivityPane().SelectPinNameCol(\"TX_N<3..0>\")"),
        std::string::npos)
        << journal;
    EXPECT_EQ(Replayed(m_original), Saved()) << journal;
}

TEST_F(GroupGridOnBoard, EditsOfALegsBusRowReplayOntoThatRow) {
    ASSERT_EQ(Run("kx::edit ccp {*}[kxcell {TX_N<3..0>} Signal] {NEWN<3..0>}"), "1");
    ASSERT_EQ(Run("kx::select ccp {*}[kxcell {TX_P<3..0>} Termination]"), "1");
    ASSERT_EQ(
        Run("addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 "
            "-value 22"),
        "1");
    ASSERT_EQ(Run("kx::select ccp {*}[kxcell {TX_P<3..0>} Signal]"), "1");
    ASSERT_EQ(Run("addComment pin {lane check}"), "1");
    EXPECT_EQ(Conns("U1 TX_N").size(), 4u);
    const std::string edited = Saved();
    EXPECT_EQ(Replayed(m_original), edited) << JournalText();
}

// A group asked for right after a signal was shown (by kx::show, or by the journal's SelectGroup in a replay,
// which goes straight from the signal to the group) is one group grid, not the components side by side: a
// row its journal names is found in the replay's group grid.
TEST_F(GroupGridOnBoard, AGroupShownRightAfterASignalIsOneGroupGridAndReplaysSo) {
    ASSERT_EQ(Run("kx::show slp EN"), "1");
    ASSERT_EQ(Run("kx::show clp -group RN1A RN1B"), "1");
    EXPECT_NE(Run("kx::window ccp").find("group component \"RN1A RN1B\""), std::string::npos)
        << Run("kx::window ccp");
    ASSERT_EQ(Run("kx::select ccp {*}[kxcell RN1B Signal]"), "1");
    ASSERT_EQ(Run("kx::key ccp Delete"), "1");
    EXPECT_EQ(Conns("RN1B A").size(), 0u);
    const std::string edited = Saved();
    EXPECT_EQ(Replayed(m_original), edited) << JournalText();
}

} // namespace
