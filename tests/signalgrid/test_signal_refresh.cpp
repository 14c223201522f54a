// The signal grid after transactions committed elsewhere: a connection added or
// removed by another window changes exactly the rows it touched; property
// changes rewrite their cells, a first value and a cleared one included.
#include "SignalGridTestSupport.h"

#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"

namespace {

class SignalRefresh : public SignalGridTest {
protected:
    // One change made in another window's grid transaction.
    template <class Change> bool Commit(Change change) {
        CKXGridWnd* other = Ccp()->PaneGrid();
        if (!CKXTransaction::BeginTrans(other, Design(), "Other")) return false;
        CTransaction* tx = CKXTransaction::GetCurrentTransactionObj();
        if (!tx || !change(*tx)) {
            CKXTransaction::DiscardTrans(other);
            return false;
        }
        return CKXTransaction::CommitTrans(other, 1, 1) != 0;
    }
    // Every filled row as text, for comparing before and after.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (ROWCOL r = kxsignal::kFirstDataRow; r <= Grid()->GetRowCount(); ++r) {
            if (Cell(r, G::m_nColInstance).IsEmpty()) continue;
            std::string line;
            for (ROWCOL c = 1; c <= Grid()->GetColCount(); ++c)
                line += std::string(Grid()->GetValueRowCol(r, c).GetString()) + "|";
            rows.push_back(line);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

TEST_F(SignalRefresh, ConnectionAddedAndRemovedElsewhereChangesExactlyItsRow) {
    ASSERT_TRUE(Open());
    Show("N1");
    const auto before = Rows();
    CDesignContext design = Design();
    INet* n1 = design.net("N1").net();
    IInstTerm* p = design.instance("J1")->findInstTerm("S");
    ASSERT_TRUE(Commit([&](CTransaction& t) { return t.addConn(n1, -1, -1, p, -1, -1); }));
    auto after = Rows();
    ASSERT_EQ(after.size(), before.size() + 1);
    const ROWCOL added = Row("J1", "S");
    ASSERT_NE(added, 0u);
    EXPECT_EQ(Cell(added, G::m_nColPinNumber), "15");
    for (const std::string& row : before)
        EXPECT_NE(std::find(after.begin(), after.end(), row), after.end()) << row;
    ASSERT_TRUE(Commit([&](CTransaction& t) { return t.removeConn(n1, -1, -1, p, -1, -1); }));
    EXPECT_EQ(Rows(), before);
}

// Each connect made elsewhere takes a blank row and each disconnect removes its row: once the
// blank rows are used up the grid grows instead of writing over a pin row.
TEST_F(SignalRefresh, ManyConnectCyclesElsewhereNeverWriteOverAPinRow) {
    ASSERT_TRUE(Open());
    Show("N1");
    const auto before = Rows();
    CDesignContext design = Design();
    INet* n1 = design.net("N1").net();
    IInstTerm* p = design.instance("J1")->findInstTerm("S");
    const ROWCOL blanks = Grid()->GetRowCount() - kxsignal::kFirstDataRow + 1 - static_cast<ROWCOL>(before.size());
    for (ROWCOL cycle = 0; cycle < blanks + 5; ++cycle) {
        ASSERT_TRUE(Commit([&](CTransaction& t) { return t.addConn(n1, -1, -1, p, -1, -1); }));
        ASSERT_NE(Row("J1", "S"), 0u) << "cycle " << cycle;
        ASSERT_TRUE(Commit([&](CTransaction& t) { return t.removeConn(n1, -1, -1, p, -1, -1); }));
        ASSERT_EQ(Rows(), before) << "cycle " << cycle;
    }
}

TEST_F(SignalRefresh, BusBitsMovedElsewhereFollowInTheBusGrid) {
    ASSERT_TRUE(Open());
    Show("DATA");
    CDesignContext design = Design();
    INet* data = design.net("DATA").net();
    IInstTerm* p = design.instance("J2")->findInstTerm("P");
    ASSERT_TRUE(Commit([&](CTransaction& t) { return t.addConn(data, 3, 2, p, 4, 3); }));
    const ROWCOL row = Row("J2", "P<4..3>");
    ASSERT_NE(row, 0u);
    EXPECT_EQ(Cell(row, G::m_nColStartBit), "3");
    EXPECT_EQ(Cell(row, G::m_nColEndBit), "2");
    EXPECT_EQ(Cell(row, G::m_nColPinNumber), "24,23");
}

// A middle bit of a bus pin moved to another net elsewhere: the pin's row gives way to one row per run
// it keeps on the bus, each with its own bits; moved back, the pin has its one row again.
TEST_F(SignalRefresh, ABitMovedOffElsewhereLeavesTheRunsItKeeps) {
    ASSERT_TRUE(Open());
    Show("DATA");
    const auto before = Rows();
    CDesignContext design = Design();
    INet* data = design.net("DATA").net();
    INet* n1 = design.net("N1").net();
    IInstTerm* d = design.instance("U1")->findInstTerm("D");
    ASSERT_NE(Row("U1", "D<3..0>"), 0u);
    ASSERT_TRUE(Commit([&](CTransaction& t) {
        return t.removeConn(data, 2, 2, d, 2, 2) && t.addConn(n1, -1, -1, d, 2, 2);
    }));
    EXPECT_EQ(Row("U1", "D<3..0>"), 0u);
    EXPECT_EQ(Row("U1", "D<2>"), 0u);
    // Each kept run's row with the net bits it is on.
    const auto netBits = [&](const char* pin) {
        const ROWCOL r = Row("U1", pin);
        return r ? std::string(Cell(r, G::m_nColStartBit)) + ".." + Cell(r, G::m_nColEndBit).GetString() : std::string();
    };
    EXPECT_EQ(netBits("D<3>"), "3..3");
    EXPECT_EQ(netBits("D<1..0>"), "1..0");
    EXPECT_EQ(Rows().size(), before.size() + 1);
    ASSERT_TRUE(Commit([&](CTransaction& t) {
        return t.removeConn(n1, -1, -1, d, 2, 2) && t.addConn(data, 2, 2, d, 2, 2);
    }));
    EXPECT_EQ(Rows(), before);
}

TEST_F(SignalRefresh, PinNumberAndLocationChangesAreShownAlsoWhenFirstSetOrCleared) {
    ASSERT_TRUE(Open());
    Show("N1");
    CDesignContext design = Design();
    const ROWCOL s = Row("J2", "S");
    CInstTermContext pin = design.instance("J2").instTerm("S");
    ASSERT_TRUE(Commit([&](CTransaction& t) { return t.removeProperty(pin, "PN"); }));
    EXPECT_EQ(Cell(s, G::m_nColPinNumber), "");
    ASSERT_TRUE(Commit([&](CTransaction& t) { return t.addProperty(pin, "PN", "77"); }));
    EXPECT_EQ(Cell(s, G::m_nColPinNumber), "77");
    ASSERT_TRUE(Commit([&](CTransaction& t) { return t.addProperty(design.instance("J2"), "LOCATION", "JX"); }));
    EXPECT_EQ(Cell(s, G::m_nColLocation), "JX");
}

TEST_F(SignalRefresh, RowsThatMovedUpAreStillFoundForTheirPins) {
    ASSERT_TRUE(Open());
    Show("N1");
    CDesignContext design = Design();
    INet* n1 = design.net("N1").net();
    IInstTerm* js = design.instance("J1")->findInstTerm("S");
    IInstTerm* out = design.instance("U1")->findInstTerm("OUT");
    IInstTerm* ra = design.instance("R1")->findInstTerm("A");
    ASSERT_TRUE(Commit([&](CTransaction& t) { return t.addConn(n1, -1, -1, js, -1, -1); }));
    // Rows above go: the rows below move up and are still found by their pins.
    ASSERT_TRUE(Commit([&](CTransaction& t) { return t.removeConn(n1, -1, -1, out, -1, -1); }));
    ASSERT_TRUE(Commit([&](CTransaction& t) { return t.removeConn(n1, -1, -1, ra, -1, -1); }));
    EXPECT_EQ(Row("U1", "OUT"), 0u);
    EXPECT_EQ(Row("R1", "A"), 0u);
    ASSERT_NE(Row("J1", "S"), 0u);
    ASSERT_TRUE(Commit([&](CTransaction& t) { return t.removeConn(n1, -1, -1, js, -1, -1); }));
    EXPECT_EQ(Row("J1", "S"), 0u);
    EXPECT_NE(Row("J2", "S"), 0u);
    EXPECT_NE(Row("X1", "P"), 0u);
    EXPECT_EQ(FilledRows(), 2);
}

} // namespace
