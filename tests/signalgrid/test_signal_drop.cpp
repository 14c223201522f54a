// An instance dragged onto the signal grid, and find/replace over its CELL column,
// through the host's hands.
#include "SignalGridTestSupport.h"

#include "kxcontrols/KXFindReplace.h"

#include <filesystem>
#include <fstream>

namespace {

class SignalDrop : public SignalGridTest {
protected:
    std::string Num(long n) { return std::to_string(n); }
    std::string At(ROWCOL row, int col) { return Num(static_cast<long>(row)) + " " + Num(col); }
};

// A dropped instance gets a row that waits for its pin: the pin number typed next connects it,
// one undo step takes the connection back, and the journal replays it in a fresh host.
TEST_F(SignalDrop, ADroppedInstanceWaitsForItsPinAndTheConnectionReplays) {
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    const std::string before = Netlist();
    const ROWCOL row = Grid()->FindFirstEmptyRow();
    EXPECT_EQ(Run("kx::drop ccp " + At(row, G::m_nColCell) + " component J1"), "1");
    EXPECT_EQ(Cell(row, G::m_nColInstance), "J1");
    EXPECT_EQ(Cell(row, G::m_nColCell), "hdr");
    EXPECT_EQ(Cell(row, G::m_nColLocation), "J1");
    EXPECT_EQ(Netlist(), before); // a drop alone changes no connection
    EXPECT_EQ(Run("kx::edit ccp " + At(row, G::m_nColPinNumber) + " 13"), "1");
    const std::string after = Netlist();
    EXPECT_NE(after.find("J1 P<3> FREE"), std::string::npos);
    const std::string journal = JournalText();
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Netlist(), before);
    std::filesystem::path replay = m_dir / "replay.vbs";
    ASSERT_NE(journal.find("set "), std::string::npos) << journal;
    std::ofstream(replay) << journal.substr(journal.find("set "));
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1");
    EXPECT_EQ(Netlist(), after);
}

TEST_F(SignalDrop, TwoInstancesGetTwoRowsAndUnknownNamesNone) {
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    const ROWCOL row = Grid()->FindFirstEmptyRow();
    EXPECT_EQ(Run("kx::drop ccp " + At(row, G::m_nColPinName) + " component J1 NOPE J2"), "1");
    EXPECT_EQ(Cell(row, G::m_nColInstance), "J1");
    EXPECT_EQ(Cell(row + 1, G::m_nColInstance), "J2");
    EXPECT_TRUE(Cell(row + 2, G::m_nColInstance).IsEmpty());
}

// The pin typed on a dropped row is on the shown signal already, in a row above: that row goes and the
// dropped row shows the pin, the design as it was: no undo step and no second journal line, which a
// replay would refuse (the connection is there) while an undo after it here took back this no-step.
TEST_F(SignalDrop, APinMovedUpFromARowAboveIsNoNewConnection) {
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    ROWCOL row = Grid()->FindFirstEmptyRow();
    ASSERT_EQ(Run("kx::drop ccp " + At(row, G::m_nColCell) + " component J1"), "1");
    ASSERT_EQ(Run("kx::edit ccp " + At(row, G::m_nColPinNumber) + " 13"), "1");
    const std::string after = Netlist();
    const int steps = Ccp()->GetUndoStepCount();
    row = Grid()->FindFirstEmptyRow();
    ASSERT_EQ(Run("kx::drop ccp " + At(row, G::m_nColCell) + " component J1"), "1");
    EXPECT_EQ(Run("kx::edit ccp " + At(row, G::m_nColPinNumber) + " 13"), "1");
    EXPECT_EQ(Netlist(), after);
    EXPECT_EQ(FilledRows(), 1);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    const std::string journal = JournalText();
    const size_t first = journal.find("AssignConnectivity(\"J1\",\"13\"");
    ASSERT_NE(first, std::string::npos) << journal;
    EXPECT_EQ(journal.find("AssignConnectivity(", first + 1), std::string::npos) << journal;
}

// The header rows take no drop, nor does a window opened for looking only.
TEST_F(SignalDrop, HeaderRowsAndReadOnlyWindowsRefuseTheDrop) {
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    EXPECT_EQ(Run("kx::drop ccp " + At(kxsignal::kFilterRow, G::m_nColCell) + " component J1"), "0");
    EXPECT_EQ(FilledRows(), 0);
    ASSERT_EQ(Run("kx::close"), "1");
    ASSERT_TRUE(Open("work.board:sch", 2));
    Run("kx::show slp FREE");
    const ROWCOL row = Grid()->FindFirstEmptyRow();
    EXPECT_EQ(Run("kx::drop ccp " + At(row, G::m_nColCell) + " component J1"), "0");
    EXPECT_EQ(FilledRows(), 0);
}

// Find from the pane's menu searches the CELL column from the first data row.
TEST_F(SignalDrop, FindSearchesTheCellColumn) {
    ASSERT_TRUE(Open());
    Run("kx::show slp DATA");
    G* g = Grid();
    ASSERT_NE(g->m_pFindReplaceDlg, nullptr);
    ASSERT_EQ(g->m_pFindReplaceDlg->GetTargets().size(), 1u);
    const KXFindTarget& target = g->m_pFindReplaceDlg->GetTargets().front();
    EXPECT_EQ(*target.ppGrid, static_cast<CGXGridCore*>(g));
    EXPECT_EQ(target.caption, "Signal Connectivity Details");
    EXPECT_EQ(target.nCol, static_cast<ROWCOL>(G::m_nColCell));
    EXPECT_EQ(target.nFirstRow, kxsignal::kFirstDataRow);
    Run("kx::click ccp " + At(kxsignal::kFirstDataRow, G::m_nColInstance));
    Run("kx::answer dialog CKXFindReplaceDlg ok find hdr");
    EXPECT_EQ(Run("kx::menu 57636"), "1");
    EXPECT_EQ(g->m_pFindReplaceDlg->GetLastFind(), "hdr");
    ROWCOL row = 0, col = 0;
    ASSERT_TRUE(g->GetCurrentCell(row, col));
    EXPECT_EQ(col, static_cast<ROWCOL>(G::m_nColCell));
    EXPECT_EQ(Cell(row, G::m_nColCell), "hdr");
}

} // namespace
