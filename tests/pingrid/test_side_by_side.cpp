// Pin grids side by side on the example board (several components shown at once): their rows are
// sorted together, by pin name only.
#include "PinGridBoardFixture.h"

#include "kxcommon/KXShareGlobalData.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class SideBySide : public PinGridBoard {
protected:
    void ShowTwo() {
        ASSERT_TRUE(Open("demo.board:sch", 1));
        Run("kx::show clp U2 J1");
        Messages();
        Echoes();
        ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u) << Run("kx::window ccp");
    }
    G* GridAt(size_t i) { return dynamic_cast<G*>(Ccp()->GetShownGrids()[i]); }
    // The shown Pin Name texts of a grid, top to bottom.
    static std::vector<std::string> Names(G* g) {
        std::vector<std::string> names;
        for (ROWCOL r = PIN_FIRST_ROW; g && r <= g->GetRowCount(); ++r)
            if (!g->IsRowHidden(r)) names.push_back(g->GetValueRowCol(r, static_cast<ROWCOL>(G::m_nColPinName)).str());
        return names;
    }
    static bool Descending(const std::vector<std::string>& v) {
        return std::is_sorted(v.rbegin(), v.rend());
    }
};

TEST_F(SideBySide, SortingOneGridByPinNameSortsTheOthersTheSameWay) {
    ShowTwo();
    G* first = GridAt(0);
    G* second = GridAt(1);
    ASSERT_TRUE(first && second);
    ASSERT_TRUE(first->m_bColumnMode && second->m_bColumnMode);
    Run("kx::grid ccp 1");
    // The load sorted ascending: the next sort of the column is descending, in both grids.
    EXPECT_EQ(Run("sort pin \"Pin Name\""), "1");
    EXPECT_FALSE(first->IsSortAscending());
    EXPECT_FALSE(second->IsSortAscending());
    EXPECT_EQ(second->GetSortColumn(), G::m_nColPinName);
    EXPECT_TRUE(Descending(Names(second))) << Run("kx::window ccp");
    // Back to ascending from the other grid: the first follows.
    Run("kx::grid ccp 2");
    EXPECT_EQ(Run("sort pin \"Pin Name\""), "1");
    EXPECT_TRUE(first->IsSortAscending());
    EXPECT_TRUE(second->IsSortAscending());
    EXPECT_FALSE(Doc()->IsModified()); // a sort is no edit
}

TEST_F(SideBySide, OnlyThePinNameSorts) {
    ShowTwo();
    Run("kx::grid ccp 1");
    G* first = GridAt(0);
    const std::vector<std::string> before = Names(first);
    const int sorted = first->GetSortColumn();
    first->SortColumn(G::m_nColSignal);
    EXPECT_EQ(first->GetSortColumn(), sorted);
    EXPECT_EQ(Names(first), before);
}

// Side by side, Tab in the last column of a grid goes on in the next grid; the last grid keeps it.
TEST_F(SideBySide, TabInTheLastColumnMovesToTheNextGrid) {
    ShowTwo();
    ASSERT_TRUE(GridAt(0)->m_bPaneNavigation);
    EXPECT_FALSE(GridAt(0)->m_bSyncWithPane) << "two components: their rows differ";
    Run("kx::grid ccp 1");
    const std::string last = std::to_string(G::m_nColSignal); // Pin Name, Pin Number, Signal are shown
    EXPECT_EQ(Run("kx::select ccp 6 " + last), "1");
    EXPECT_EQ(Run("kx::key ccp Tab"), "1");
    EXPECT_EQ(Ccp()->GetActiveGridIndex(), 1) << Run("kx::grid ccp");
    ROWCOL row = 0, col = 0;
    EXPECT_FALSE(GridAt(0)->GetCurrentCell(row, col)) << "the grid left behind has no current cell";
    // In the last grid Tab stays where it is.
    EXPECT_EQ(Run("kx::select ccp 6 " + last), "1");
    EXPECT_EQ(Run("kx::key ccp Tab"), "1");
    EXPECT_EQ(Ccp()->GetActiveGridIndex(), 1);
    // One component again: no crossing.
    Run("kx::show clp U1");
    EXPECT_FALSE(Grid()->m_bPaneNavigation);
}

// The host's power pin option reaches the grids already open: each shows its implicit pins at once.
TEST_F(SideBySide, ThePowerPinOptionReloadsEveryOpenGrid) {
    ShowTwo();
    const size_t first = Names(GridAt(0)).size();
    const size_t second = Names(GridAt(1)).size();
    EXPECT_EQ(Run("kx::powerpins on"), "1");
    EXPECT_EQ(Names(GridAt(0)).size(), first) << "J1 has no implicit pins";
    EXPECT_GT(Names(GridAt(1)).size(), second) << Run("kx::window ccp");
    const std::vector<std::string> names = Names(GridAt(1));
    EXPECT_NE(std::find(names.begin(), names.end(), "VDD"), names.end());
    EXPECT_TRUE(GridAt(0)->m_bColumnMode); // still side by side
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Run("kx::powerpins off"), "1");
    EXPECT_EQ(Names(GridAt(0)).size(), first);
    EXPECT_EQ(Names(GridAt(1)).size(), second);
    CKXShareGlobalData::m_bShowPowerPins = FALSE;
}

} // namespace

namespace {

using G = CKXInstanceDetailsGridWnd;

// A bus row whose bits are connected to different nets sums its bits' signals up, with a tool tip per
// connected bit; a bus connected as a whole names its one connection.
TEST_F(PinGridBoard, ABusConnectedBitByBitShowsItsBitsSignals) {
    OpenBoard("J1");
    const ROWCOL p = PinRow("P<10..1>");
    ASSERT_GT(p, 0u);
    EXPECT_EQ(CellText(p, G::m_nColSignal), "RST_IN,,,,LVDS_P<3>,LVDS_P<2>,LVDS_P<1>,LVDS_P<0>,SYSCLK_N,SYSCLK_P");
    CGXStyle style;
    Grid()->GetStyleRowCol(p, static_cast<ROWCOL>(G::m_nColSignal), style);
    EXPECT_TRUE(style.GetInterior().IsHatched());
    EXPECT_EQ(style.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIP_TITLE)), "Connection Details");
    const CString tip = style.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT));
    EXPECT_EQ(tip.Left(13), "P<10>:RST_IN\n");
    EXPECT_NE(tip.Find("\nP<1>:SYSCLK_P"), -1) << tip.GetString();
    EXPECT_EQ(tip.Find("P<9>"), -1) << "an open bit has no line: " << tip.GetString();
    // Disconnecting one bit changes the sum at once; undone, it is back.
    EXPECT_EQ(Run("renameConnection pin [list J1 P<10> 10]"), "1");
    EXPECT_EQ(CellText(p, G::m_nColSignal), ",,,,LVDS_P<3>,LVDS_P<2>,LVDS_P<1>,LVDS_P<0>,SYSCLK_N,SYSCLK_P");
    Run("undo");
    EXPECT_EQ(CellText(p, G::m_nColSignal), "RST_IN,,,,LVDS_P<3>,LVDS_P<2>,LVDS_P<1>,LVDS_P<0>,SYSCLK_N,SYSCLK_P");
    Run("kx::show clp U2");
    const ROWCOL dq = PinRow("DQ<15..0>");
    ASSERT_GT(dq, 0u);
    Grid()->GetStyleRowCol(dq, static_cast<ROWCOL>(G::m_nColSignal), style);
    EXPECT_EQ(CellText(dq, G::m_nColSignal), "DQ<15..0>");
    EXPECT_EQ(style.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)), "DQ<15..0>:DQ<15..0>");
}

} // namespace
