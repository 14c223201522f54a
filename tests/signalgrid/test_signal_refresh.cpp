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

// ------------------------------------------------------------------ pull-ups made elsewhere

class SignalPupdRefresh : public SignalRefresh {
protected:
    UINT PupdControl(ROWCOL row) {
        CGXStyle style;
        Grid()->GetStyleRowCol(row, static_cast<ROWCOL>(G::m_nColPupd), style);
        return style.GetControl();
    }
    // The row's PUPD cell shows no pull-up or pull-down.
    bool Unmarked(ROWCOL row) { return PupdControl(row) == 0 || PupdControl(row) == IDS_CTRL_PUPD_NONE; }
    IDTInstance* PullUp(CTransaction& t, const char* net, int bit, const char* name) {
        return t.createDTInstance(IDTInstance::ePullUpDown, "Pullup", name, CNetBit(Design().net(net).net(), bit));
    }
    bool Remove(const char* name) {
        return Commit([&](CTransaction& t) {
            for (IDTInstance* dt : Design().design()->beginDTInstance())
                if (CString(dt->name()) == name) return t.removeDTInstance(dt);
            return false;
        });
    }
};

// A scalar net's rows show a pull-up put on the net or taken off it in another window.
TEST_F(SignalPupdRefresh, AScalarNetsRowsFollowItsPullUps) {
    ASSERT_TRUE(Open());
    Show("N1");
    const ROWCOL row = Row("J2", "S");
    ASSERT_NE(row, 0u);
    EXPECT_EQ(PupdControl(row), static_cast<UINT>(IDS_CTRL_PUPD_NONE));
    ASSERT_TRUE(Commit([&](CTransaction& t) { return PullUp(t, "N1", -1, "RP1") != nullptr; }));
    EXPECT_EQ(PupdControl(row), static_cast<UINT>(IDS_CTRL_PUPD_LOCAL_PULLUP));
    ASSERT_TRUE(Remove("RP1"));
    EXPECT_EQ(PupdControl(row), static_cast<UINT>(IDS_CTRL_PUPD_NONE));
}

// A row of one bit shows the pull-ups of that bit; a row over several bits shows none, whatever they carry.
TEST_F(SignalPupdRefresh, ARowOfOneBitShowsItsBitsPullUpsARowOfSeveralNone) {
    ASSERT_TRUE(Open());
    Show("DATA", 0);
    const ROWCOL bit = Row("J1", "P<1>");
    ASSERT_NE(bit, 0u);
    ASSERT_TRUE(Commit([&](CTransaction& t) { return PullUp(t, "DATA", 0, "RP2") && PullUp(t, "DATA", 1, "RP3"); }));
    EXPECT_EQ(PupdControl(bit), static_cast<UINT>(IDS_CTRL_PUPD_LOCAL_PULLUP));
    Show("DATA");
    const ROWCOL bus = Row("J1", "P<2..1>");
    ASSERT_NE(bus, 0u);
    EXPECT_TRUE(Unmarked(bus));
    ASSERT_TRUE(Remove("RP2"));
    EXPECT_TRUE(Unmarked(bus));
    Show("DATA", 0);
    EXPECT_EQ(PupdControl(Row("J1", "P<1>")), static_cast<UINT>(IDS_CTRL_PUPD_NONE));
}

} // namespace
