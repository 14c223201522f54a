// Pin rows of the physical part grid found by their key (part and pin number) through the row
// index: after the rows were sorted, after a part's rows were removed from among several parts,
// and after a pin number written anew. A key always finds the row whose cells show it.
#include "PhysGridTestSupport.h"

#include <gtest/gtest.h>

namespace {

class PhysRowKeys : public PhysGridTest {
protected:
    // Every package pin of U1 is found on the row that shows its number and part.
    void ExpectEveryU1PinOnItsRow(G* g) {
        for (const char* number : {"1", "2", "3", "4", "5", "6", "7"}) {
            const ROWCOL row = Row(g, "U1", number);
            ASSERT_NE(row, 0u) << number;
            EXPECT_EQ(Cell(g, row, G::s_nPNCol), number);
            if (g->m_bObjectLoaded) { EXPECT_EQ(Cell(g, row, G::s_nPhysPartCol), "U1"); }
        }
    }
};

TEST_F(PhysRowKeys, ASortMovesTheRowsAndEveryKeyFollowsItsRow) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    const ROWCOL before = Row(g, "U1", "1");
    EXPECT_EQ(Word("sort pin \"Pin Number\""), 1); // descending: pin 1 moves to the end
    ASSERT_NE(Row(g, "U1", "1"), before);
    ExpectEveryU1PinOnItsRow(g);
    // A change committed after the sort reaches the pin's moved row.
    EXPECT_EQ(Word("assignModel pin M1 [list U1 D<0> 1]"), 1);
    EXPECT_EQ(RowText(g, "U1", "1"), "1|D<0>|Inout|DATA<0>|M1");
    EXPECT_EQ(RowText(g, "U1", "2"), "2|D<1>|Inout|DATA<1>|");
    ASSERT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(RowText(g, "U1", "1"), "1|D<0>|Inout|DATA<0>|");
}

TEST_F(PhysRowKeys, APartShownAgainAmongSeveralKeepsTheOthersRowsFound) {
    G* g = ShowParts({"U1", "RN1A"});
    ASSERT_NE(g, nullptr);
    ASSERT_TRUE(g->m_bObjectLoaded);
    const ROWCOL rows = g->GetRowCount();
    ExpectEveryU1PinOnItsRow(g);
    // U1 given again: its rows go and come back after RN1's, which move up.
    ASSERT_NE(ShowParts({"U1"}), nullptr);
    EXPECT_EQ(g->GetRowCount(), rows);
    ExpectEveryU1PinOnItsRow(g);
    for (const char* number : {"1", "2", "7", "8"}) {
        const ROWCOL row = Row(g, "RN1", number);
        ASSERT_NE(row, 0u) << number;
        EXPECT_EQ(Cell(g, row, G::s_nPNCol), number);
        EXPECT_EQ(Cell(g, row, G::s_nPhysPartCol), "RN1");
    }
    // A key of no row finds nothing.
    EXPECT_EQ(Row(g, "U1", "99"), 0u);
    EXPECT_EQ(Row(g, "NOPE", "1"), 0u);
}

TEST_F(PhysRowKeys, APinNumberWrittenAnewIsFoundUnderItsNewKeyOnly) {
    G* g = ShowParts({"RN1A"});
    ASSERT_NE(g, nullptr);
    Run("selectWindow ccp");
    g->SetCurrentCell(Row(g, "RN1", "1"), static_cast<ROWCOL>(G::s_nPNCol));
    ASSERT_EQ(Run("kx::menu 35547"), "1"); // pin A of RN1A takes number 3
    const ROWCOL row = Row(g, "RN1", "3");
    ASSERT_NE(row, 0u);
    EXPECT_EQ(Cell(g, row, G::s_nPNCol), "3");
    EXPECT_EQ(RowText(g, "RN1", "3"), "3|A|Inout|N1|");
    // The old number names no pin of RN1A any more: its row, if shown, shows it unused.
    const ROWCOL old = Row(g, "RN1", "1");
    if (old) { EXPECT_EQ(Cell(g, old, G::s_nPNCol), "1"); }
    EXPECT_NE(old, row);
    // A model on the renumbered pin reaches the row of its new number.
    EXPECT_EQ(Word("assignModel pin M2 [list RN1 A 3]"), 1);
    EXPECT_EQ(RowText(g, "RN1", "3"), "3|A|Inout|N1|M2");
    ASSERT_TRUE(Ccp()->PerformUndo());
    ASSERT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(RowText(g, "RN1", "1"), "1|A|Inout|N1|");
}

} // namespace

namespace {

// A script that selects keys of no row leaves no pin current: the next command on the current pin
// refuses instead of changing the pin that was current before.
TEST_F(PhysRowKeys, KeysOfNoRowLeaveNoPinForTheNextCommand) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(Run("kx::word selectObject pin U1:D<0>:1"), "1");
    const std::string before = Saved();
    Run("kx::word selectObject pin U1:NOPE:99");
    CRowColArray rows;
    EXPECT_EQ(g->GetSelectedRows(rows, FALSE, FALSE), 0);
    ROWCOL row = 0, col = 0;
    EXPECT_FALSE(g->GetCurrentCell(row, col));
    EXPECT_EQ(Run("assignPinNumber pin 7"), "0");
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Prop("work.board:sch@U1.D<0>", "PN"), "1");
    // A key of a row selects it and makes it current again.
    ASSERT_EQ(Run("kx::word selectObject pin U1:D<1>:2"), "1");
    ASSERT_TRUE(g->GetCurrentCell(row, col));
    EXPECT_EQ(row, Row(g, "U1", "2"));
}

} // namespace
