// Corners of the pin grid on the example board, driven at the host as a user drives them: a word after a
// selection that found no pin, a table pasted into a filter cell, bus rows whose bits differ, a connect in
// the signal grid that changes nothing, and a pair range beyond its leg nets.
#include "PinGridBoardFixture.h"

#include "kxclipboard/CKXImpClipBoard.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class PinEdges : public PinGridBoard {
protected:
    std::string Cell(int row, int col) { return "kx::select ccp " + std::to_string(row) + " " + std::to_string(col); }
    int Steps() { return Ccp()->GetUndoStepCount(); }
};

// A selectObject that named no pin leaves the grid nothing to comment on: the word says so and writes nothing.
TEST_F(PinEdges, ACommentWordAfterASelectionOfNoPinIsRefused) {
    OpenBoard();
    EXPECT_EQ(Run("kx::word selectObject pin NOPE"), "0");
    Messages();
    const int steps = Steps();
    EXPECT_EQ(Run("addComment pin X"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-247"});
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(Run("modifyComment pin Y"), "0");
}

// Cells copied as a table are no filter: pasted into the filter cell they are refused and the filter stays.
TEST_F(PinEdges, ATablePastedIntoAFilterCellIsRefused) {
    OpenBoard();
    const int signal = G::m_nColSignal;
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(PinRow("MCLK")) + " " + std::to_string(signal) + " " +
                  std::to_string(PinRow("RST_N")) + " " + std::to_string(signal)),
              "1");
    ASSERT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    ASSERT_EQ(Run("filterRows pin -col {Pin Name} -filter ZZZ*"), "1");
    Messages();
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-331"});
    EXPECT_EQ(CellText(4, G::m_nColPinName), "ZZZ*");
}

// A bus whose bits went to different nets joins them on its row, however it is folded.
TEST_F(PinEdges, ABusRowWhoseBitsDifferJoinsTheirNets) {
    OpenBoard();
    ASSERT_EQ(Run("expandPins pin on"), "1");
    const ROWCOL bit = PinRow("DQ<2>");
    ASSERT_GT(bit, 0u);
    ASSERT_EQ(Run("kx::edit ccp " + std::to_string(bit) + " " + std::to_string(G::m_nColSignal) + " XNET"), "1");
    ASSERT_EQ(Run("expandPins pin off"), "1");
    EXPECT_EQ(CellText(PinRow("DQ<15..0>"), G::m_nColSignal),
              "DQ<15>,DQ<14>,DQ<13>,DQ<12>,DQ<11>,DQ<10>,DQ<9>,DQ<8>,DQ<7>,DQ<6>,DQ<5>,DQ<4>,DQ<3>,XNET,DQ<1>,DQ<0>");
    EXPECT_EQ(CellText(PinRow("A<12..0>"), G::m_nColSignal), "ADDR<12..0>");
}

// Only two bits of DQ carry a series termination: the bus row shows none; a terminated scalar pin its own.
TEST_F(PinEdges, ABusRowShowsATerminationOnlyWhenAllItsBitsHaveIt) {
    OpenBoard();
    EXPECT_EQ(CellText(PinRow("DQ<15..0>"), G::m_nColTermination), "");
    EXPECT_EQ(CellText(PinRow("MCLK"), G::m_nColTermination), "Series");
    // The power pins shown below change nothing of it.
    ASSERT_EQ(Run("kx::powerpins on"), "1");
    EXPECT_EQ(CellText(PinRow("DQ<15..0>"), G::m_nColTermination), "");
    EXPECT_EQ(CellText(PinRow("DQ<15..0>"), G::m_nColSignal), "DQ<15..0>");
}

// A pin on the shown signal already: nothing is asked, nothing changes, and the word says so.
TEST_F(PinEdges, ASignalGridConnectThatChangesNothingIsRefusedWithoutAQuestion) {
    OpenBoard();
    ASSERT_EQ(Run("kx::show slp MCLK"), "1");
    Messages();
    const std::string before = Run("kx::netlist");
    const int steps = Steps();
    EXPECT_EQ(Run("addConnection pin U1:B14"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-304"});
    EXPECT_EQ(Run("kx::netlist"), before);
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(Transcript().find("unanswered"), std::string::npos);
}

// A pair range beyond the pair's leg nets widens them, and the pins take the lanes asked for.
TEST_F(PinEdges, APairRangeBeyondItsLegNetsWidensThem) {
    OpenBoard();
    ASSERT_EQ(Run(Cell(static_cast<int>(PinRow("TX<3..0>")), G::m_nColSignal)), "1");
    Messages();
    EXPECT_NE(Run("addConnection pin {LVDS<7..4> (Differential Pair)}"), "0");
    EXPECT_TRUE(Messages().empty());
    const std::string netlist = Run("kx::netlist");
    EXPECT_NE(netlist.find("U1 TX_P<3> LVDS_P<7>"), std::string::npos) << netlist;
    EXPECT_NE(netlist.find("U1 TX_N<0> LVDS_N<4>"), std::string::npos) << netlist;
    EXPECT_NE(netlist.find("J1 P<3> LVDS_P<0>"), std::string::npos) << netlist;
}

} // namespace
