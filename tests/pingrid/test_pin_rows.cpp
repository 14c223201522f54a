// The row model: what the accessors read back from the attributes of a row.
#include "PinGridTestSupport.h"

#include <list>

namespace {

using G = CKXInstanceDetailsGridWnd;

class PinRows : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        builder.schematic("top").net("DATA", 3, 0).net("N1");
        Init();
        grid->SetRowCount(PIN_FIRST_ROW + 9);
    }
    // Writes attributes (and optionally a value) on one cell.
    void Put(ROWCOL row, int col, std::initializer_list<std::pair<UINT, const char*>> attrs,
             const char* value = nullptr) {
        CGXStyle style;
        for (const auto& [id, text] : attrs)
            style.SetUserAttribute(static_cast<WORD>(id), text);
        if (value) style.SetValue(value);
        grid->SetStyleRange(CGXRange(row, static_cast<ROWCOL>(col)), style);
    }
    void PutNumber(ROWCOL row, int col, UINT id, double value) {
        CGXStyle style;
        style.SetUserAttribute(static_cast<WORD>(id), value);
        grid->SetStyleRange(CGXRange(row, static_cast<ROWCOL>(col)), style);
    }
};

TEST_F(PinRows, KindsFollowTheAttributesInOrder) {
    const int pn = G::m_nColPinName;
    Put(6, pn, {{IDS_UA_VECTOR_MSB, "2"}, {IDS_UA_VECTOR_LSB, "2"}});
    Put(7, pn, {{IDS_UA_VECTOR_MSB, "3"}, {IDS_UA_VECTOR_LSB, "0"}});
    Put(8, pn, {{IDS_UA_DIFFPAIR_ROW, "2"}});
    Put(9, pn, {{IDS_UA_VECTOR_GROUP, "2"}});
    Put(10, pn, {{IDS_UA_VECTOR_GROUP, "1"}, {IDS_UA_PLUSMINUS_BIT, "2"}});
    Put(11, pn, {{IDS_UA_PLUSMINUS_BIT, "2"}});
    Put(12, pn, {{IDS_UA_PARENT_DIFFPAIR, "1"}, {IDS_UA_POWER_PIN_CHILD_ROW, "1"}});
    Put(13, pn, {{IDS_UA_IMPLICIT_POWER_PIN, "x"}, {IDS_UA_POWER_PIN_ROW, "1"}});

    CString base;
    int msb = 0, lsb = 0;
    EXPECT_EQ(grid->GetRowKind(6, base, msb, lsb), PIN_ROW_SINGLE_BIT);
    EXPECT_EQ(msb, 2);
    EXPECT_EQ(lsb, 2);
    EXPECT_EQ(Kind(7), PIN_ROW_SCALAR);
    // Kind 6 tests for text, the pair-row test for the number 1.
    EXPECT_EQ(Kind(8), PIN_ROW_DIFFPAIR);
    EXPECT_FALSE(grid->IsDiffPairRow(8));
    EXPECT_EQ(Kind(9), PIN_ROW_GROUP_2);
    EXPECT_EQ(Kind(10), PIN_ROW_GROUP);
    EXPECT_EQ(Kind(11), PIN_ROW_PLUSMINUS_CHILD_2);
    EXPECT_EQ(Kind(12), PIN_ROW_POWER_CHILD);
    EXPECT_EQ(Kind(13), PIN_ROW_IMPLICIT_POWER);
    EXPECT_EQ(Kind(14), PIN_ROW_SCALAR);
    EXPECT_EQ(grid->GetRowKind(14, base, msb, lsb), PIN_ROW_SCALAR);
    EXPECT_EQ(msb, -1);
    EXPECT_EQ(lsb, -1);
}

TEST_F(PinRows, SignalCellReaders) {
    const int sig = G::m_nColSignal;
    // An empty signal cell reads -1 and keeps -1 stored.
    EXPECT_EQ(grid->GetRowConnIndex(6), -1);
    EXPECT_EQ(Attr(6, sig, IDS_UA_CONN_INDEX), "-1");

    Put(7, sig, {}, "DATA,N1");
    PutNumber(7, sig, IDS_UA_CONN_INDEX, -1);
    int msb = 0, lsb = 0;
    EXPECT_EQ(grid->GetRowNet(7, msb, lsb), nullptr);

    Put(8, sig, {}, "DATA<3..0>");
    PutNumber(8, sig, IDS_UA_CONN_INDEX, 1);
    INet* net = grid->GetRowNet(8, msb, lsb);
    ASSERT_NE(net, nullptr);
    EXPECT_STREQ(net->name(), "DATA");
    EXPECT_EQ(msb, 3);
    EXPECT_EQ(lsb, 0);
    EXPECT_EQ(grid->GetRowNetName(8, msb, lsb), "DATA");

    // Header rows are never pin rows.
    Put(3, sig, {}, "N1");
    EXPECT_EQ(grid->GetRowNet(3, msb, lsb), nullptr);
}

TEST_F(PinRows, ParentAndChildRows) {
    const int pn = G::m_nColPinName;
    EXPECT_EQ(grid->GetRowParentOffset(6), GX_INVALID);
    PutNumber(8, pn, IDS_UA_PARENT_ROW_OFFSET, 2);
    EXPECT_EQ(grid->GetRowParentOffset(8), 6u);
    PutNumber(9, pn, IDS_UA_PARENT_ROW_OFFSET, 0);
    EXPECT_EQ(grid->GetRowParentOffset(9), GX_INVALID);

    // A vector pair: member pair rows (kind 8) and legs (kind 9) below it.
    Put(6, pn, {{IDS_UA_EXPAND_STATE, "1"}, {IDS_UA_DIFFPAIR_ROW, "1"}, {IDS_UA_VECTOR_DIFFPAIR_ROW, "1"}});
    Put(7, pn, {{IDS_UA_EXPAND_STATE, "1"}, {IDS_UA_DIFFPAIR_ROW, "1"}, {IDS_UA_PLUSMINUS_BIT, "1"}});
    Put(8, pn, {{IDS_UA_PARENT_DIFFPAIR, "1"}});
    Put(9, pn, {{IDS_UA_PARENT_DIFFPAIR, "1"}});
    Put(10, pn, {{IDS_UA_DIFFPAIR_ROW, "1"}, {IDS_UA_PLUSMINUS_BIT, "1"}});
    Put(11, pn, {{IDS_UA_PARENT_DIFFPAIR, "1"}});
    std::list<int> members, legs, ofMember;
    grid->GetChildRows(6, members, 1);
    grid->GetChildRows(6, legs, 0);
    grid->GetChildRows(7, ofMember, 0);
    EXPECT_EQ(members, (std::list<int>{7, 10}));
    EXPECT_EQ(legs, (std::list<int>{8, 9, 11}));
    EXPECT_EQ(ofMember, (std::list<int>{8, 9}));
    // Without an expand state a row has no children.
    std::list<int> none;
    grid->GetChildRows(10, none, 0);
    EXPECT_TRUE(none.empty());
}

TEST_F(PinRows, PowerRowsJoinAndExpand) {
    const int pn = G::m_nColPinName;
    Put(6, pn, {{IDS_UA_EXPAND_STATE, "1"}, {IDS_UA_POWER_PIN_ROW, "1"}});
    for (ROWCOL r = 7; r <= 9; ++r)
        Put(r, pn, {{IDS_UA_POWER_PIN_CHILD_ROW, "1"}});
    Put(7, G::m_nColPinNumber, {}, "1");
    Put(8, G::m_nColPinNumber, {}, "2");
    Put(9, G::m_nColPinNumber, {}, "3");
    grid->JoinChildPinNumbers(6);
    EXPECT_EQ(Cell(6, G::m_nColPinNumber), "1,2,3");

    CDWordArray rows;
    rows.Add(6);
    rows.Add(12);
    int count = 0;
    EXPECT_TRUE(grid->ExpandRowArray(rows, count));
    ASSERT_EQ(count, 4);
    EXPECT_EQ(rows[0], 7u);
    EXPECT_EQ(rows[2], 9u);
    EXPECT_EQ(rows[3], 12u);
}

TEST_F(PinRows, ColumnInfoOutsideTheListIsRefused) {
    EXPECT_EQ(grid->GetColumnInfo(G::m_nColSignal)->m_strPropertyName, "SIGNAL");
    EXPECT_ANY_THROW(grid->GetColumnInfo(-1));
    EXPECT_ANY_THROW(grid->GetColumnInfo(G::m_nColCount));
    EXPECT_EQ(G::ColumnOfKey("pn"), G::m_nColPinNumber);
}

} // namespace
