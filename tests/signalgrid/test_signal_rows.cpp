// The signal grid's rows: what a shown net, bus, net bit or list of nets looks
// like, the look-ups from a row back to the design, and the text dump.
#include "SignalGridTestSupport.h"

#include <fstream>
#include <sstream>

namespace {

using kxsignal::kFirstDataRow;

class SignalRows : public SignalGridTest {};

TEST_F(SignalRows, ScalarNetShowsOneRowPerConnectionSortedByCellThenBlankRows) {
    ASSERT_TRUE(Open());
    G* grid = Show("N1");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(std::string(Ccp()->GetPaneTitle()), "Signal Connectivity Details");
    EXPECT_EQ(std::string(grid->GetTitle()), "N1");
    EXPECT_EQ(FilledRows(), 4); // U1.OUT, R1.A, X1.P, J2.S
    const ROWCOL out = Row("U1", "OUT"), s = Row("J2", "S");
    ASSERT_NE(out, 0u);
    ASSERT_NE(s, 0u);
    EXPECT_EQ(Cell(out, G::m_nColCell), "buf");
    EXPECT_EQ(Cell(s, G::m_nColPinNumber), "25");
    EXPECT_EQ(Cell(s, G::m_nColLocation), "J2");
    // Rows come sorted by cell; the blank rows follow the filled ones.
    CString previous;
    for (ROWCOL r = kFirstDataRow; r < kFirstDataRow + 4; ++r) {
        EXPECT_LE(previous.CompareNoCase(Cell(r, G::m_nColCell)), 0);
        previous = Cell(r, G::m_nColCell);
    }
    EXPECT_EQ(grid->GetRowCount(), kFirstDataRow + 4 - 1 + kxsignal::kBlankRows);
    // A scalar net hides the bit columns; a single net hides the net-name columns.
    EXPECT_EQ(grid->GetColWidth(G::m_nColStartBit), 0);
    EXPECT_EQ(grid->GetColWidth(G::m_nColSignalName), 0);
    EXPECT_GT(grid->GetColWidth(G::m_nColPinName), 0);
    // The row look-ups find the design again.
    EXPECT_EQ(grid->GetNetOfRow(out).net(), Design().net("N1").net());
    int msb = 0, lsb = 0;
    IInstTerm* pin = grid->GetInstTermOfRow(out, msb, lsb);
    ASSERT_NE(pin, nullptr);
    EXPECT_STREQ(pin->name(), "OUT");
    EXPECT_EQ(msb, -1);
    EXPECT_EQ(grid->FindFirstEmptyRow(), kFirstDataRow + 4);
    // The pane's text shows what the user sees.
    const std::string text = Run("kx::window ccp");
    EXPECT_EQ(text.rfind("Signal Connectivity Details", 0), 0u) << text;
    EXPECT_NE(text.find("hdr | J2 | J2 | S | 25"), std::string::npos) << text;
}

TEST_F(SignalRows, BusNetShowsBitRangesAndPinNumbersOfEveryBit) {
    ASSERT_TRUE(Open());
    G* grid = Show("DATA");
    EXPECT_EQ(std::string(grid->GetTitle()), "DATA<3..0>");
    EXPECT_GT(grid->GetColWidth(G::m_nColStartBit), 0);
    const ROWCOL d = Row("U1", "D<3..0>"), p = Row("J1", "P<2..1>");
    ASSERT_NE(d, 0u);
    ASSERT_NE(p, 0u);
    EXPECT_EQ(Cell(d, G::m_nColStartBit), "3");
    EXPECT_EQ(Cell(d, G::m_nColEndBit), "0");
    EXPECT_EQ(Cell(p, G::m_nColStartBit), "1");
    EXPECT_EQ(Cell(p, G::m_nColPinNumber), "12,11");
}

TEST_F(SignalRows, NetBitShowsOneRowPerPinBitWithTheBitInTheSignalName) {
    ASSERT_TRUE(Open());
    G* grid = Show("DATA", 1);
    EXPECT_EQ(std::string(grid->GetTitle()), "DATA<1>");
    EXPECT_EQ(FilledRows(), 2);
    const ROWCOL p = Row("J1", "P<2>");
    ASSERT_NE(p, 0u);
    EXPECT_EQ(Cell(p, G::m_nColSignalName), "DATA<1>");
    EXPECT_EQ(Cell(p, G::m_nColPinNumber), "12");
    EXPECT_EQ(grid->GetRowNetBit(p), 1);
    EXPECT_NE(Row("U1", "D<1>"), 0u);
    // Net-bit mode keeps the bit columns hidden.
    EXPECT_EQ(grid->GetColWidth(G::m_nColStartBit), 0);
}

TEST_F(SignalRows, ListOfNetsSharesOneSortedBlockUnderMultipleNets) {
    ASSERT_TRUE(Open());
    CDesignContext design = Design();
    CKXNetContextArray nets;
    nets.Add(design.net("N1"));
    nets.Add(design.net("DATA"));
    Ccp()->ShowNetConnectivity(design, &nets, TRUE);
    G* grid = Grid();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(std::string(grid->GetTitle()), "Multiple Nets");
    EXPECT_EQ(FilledRows(), 6);
    EXPECT_GT(grid->GetColWidth(G::m_nColSignalName), 0);
    EXPECT_EQ(Cell(Row("J1", "P<2..1>"), G::m_nColSignalName), "DATA");
    EXPECT_EQ(grid->GetNetOfRow(Row("J2", "S")).net(), design.net("N1").net());
}

TEST_F(SignalRows, RowWhoseNameNoLongerMatchesFallsBackToTheStoredNetId) {
    ASSERT_TRUE(Open());
    G* grid = Show("N1");
    const ROWCOL s = Row("J2", "S");
    grid->SetValueRange(CGXRange(s, static_cast<ROWCOL>(G::m_nColSignalName)), "RENAMED");
    EXPECT_EQ(grid->GetRowNetId(s), Design().net("N1")->id());
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST_F(SignalRows, DumpWritesTheShownColumnsOfTheFilledRows) {
    ASSERT_TRUE(Open());
    Show("N1");
    EXPECT_EQ(Run("dumpGrid pin dump.txt"), "1");
    const std::string text = ReadFile("dump.txt");
    EXPECT_EQ(text.rfind("\n---SCP Dump for net: N1---\n", 0), 0u) << text;
    // A shown bit's dump names its net.
    Show("DATA", 0);
    EXPECT_EQ(Run("dumpGrid pin bit.txt"), "1");
    EXPECT_EQ(ReadFile("bit.txt").rfind("\n---SCP Dump for net: DATA---\n", 0), 0u) << ReadFile("bit.txt");
    Show("N1");
    // Each shown cell is 31 characters padded and three blanks; the blank rows are not written.
    std::string cell = "J2";
    cell.resize(31, ' ');
    EXPECT_NE(text.find(cell + "   "), std::string::npos);
    EXPECT_EQ(text.find("Signal Name"), std::string::npos);
    std::istringstream lines(text);
    std::string line;
    int rows = 0;
    while (std::getline(lines, line))
        if (line.find("J2") != std::string::npos || line.find("U1") != std::string::npos) ++rows;
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(text.substr(text.size() - 2), "\n\n");
    // A grid that cannot open its file reports it.
    EXPECT_FALSE(Grid()->DumpSCP("/nonexistent-dir/dump.txt"));
}

TEST_F(SignalRows, AWidthDraggedInOneSignalGridIsTheWidthOfEverySignalGrid) {
    ASSERT_TRUE(Open());
    G* first = Show("N1");
    auto second = std::make_unique<G>();
    ASSERT_TRUE(second->Create(WS_CHILD, CRect(0, 0, 800, 600), Ccp(), 9990));
    second->InitializeGrid(Ccp(), Design(), Design());
    second->AddNetRows(Design(), Design().net("DATA"));
    const ROWCOL col = static_cast<ROWCOL>(G::m_nColPinName);
    const int former = G::Columns().At(G::m_nColPinName)->m_nWidth;
    CSize size(123, 0);
    first->OnEndTracking(kxsignal::kCaptionRow, col, GX_TRACKWIDTH, size);
    EXPECT_EQ(G::Columns().At(G::m_nColPinName)->m_nWidth, 123);
    EXPECT_EQ(second->GetColWidth(col), 123);
    EXPECT_EQ(first->GetColWidth(col), 123);
    G::Columns().At(G::m_nColPinName)->m_nWidth = former; // the model outlives the test
}

} // namespace
