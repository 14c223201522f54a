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

// Side by side, a grid shows Pin Name, Pin Number and Signal, a third of its width each; alone again,
// every column has the width of the column list.
// A sort by another column sorts nothing side by side, and says so.
TEST_F(SideBySide, ASortByAnotherColumnAnswersZeroAndSaysWhy) {
    ShowTwo();
    Run("kx::grid ccp 1");
    Messages();
    const std::vector<std::string> before = Names(GridAt(0));
    EXPECT_EQ(Run("sort pin Signal"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-349"});
    EXPECT_EQ(Names(GridAt(0)), before);
    EXPECT_EQ(Run("sort pin \"Pin Name\""), "1");
}

TEST_F(SideBySide, ThreeColumnsShareTheWidth) {
    ShowTwo();
    G* g = GridAt(0);
    const int third = g->GetGridRect().Width() / 3;
    ASSERT_GT(third, 0);
    EXPECT_EQ(g->GetColWidth(static_cast<ROWCOL>(G::m_nColPinName)), third);
    EXPECT_EQ(g->GetColWidth(static_cast<ROWCOL>(G::m_nColPinNumber)), third);
    EXPECT_GE(g->GetColWidth(static_cast<ROWCOL>(G::m_nColSignal)), third);
    EXPECT_EQ(g->GetColWidth(static_cast<ROWCOL>(G::m_nColPinType)), 0);
    Run("kx::show clp U1");
    const int pinType = G::m_nColPinType;
    EXPECT_EQ(Grid()->GetColWidth(static_cast<ROWCOL>(pinType)),
              Grid()->GetColumnInfo(pinType)->m_nWidth);
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

// Backwards the same: Shift+Tab, or Left, in the first column the user sees (the Pin Name: the row
// header and the columns of no width are none) goes to the grid before.
TEST_F(SideBySide, ShiftTabAndLeftInTheFirstShownColumnMoveToTheGridBefore) {
    ShowTwo();
    const std::string first = std::to_string(G::m_nColPinName);
    for (const char* key : {"Shift+Tab", "Left"}) {
        Run("kx::grid ccp 2");
        ASSERT_EQ(Ccp()->GetActiveGridIndex(), 1);
        EXPECT_EQ(Run("kx::select ccp 6 " + first), "1");
        EXPECT_EQ(Run(std::string("kx::key ccp ") + key), "1");
        EXPECT_EQ(Ccp()->GetActiveGridIndex(), 0) << key << ": " << Run("kx::grid ccp");
    }
    // Left in a column after the first one stays in the grid.
    Run("kx::grid ccp 2");
    EXPECT_EQ(Run("kx::select ccp 6 " + std::to_string(G::m_nColSignal)), "1");
    EXPECT_EQ(Run("kx::key ccp Left"), "1");
    EXPECT_EQ(Ccp()->GetActiveGridIndex(), 1);
}

// What the user sees of the grids' own scroll bars: side by side the pane scrolls them together under
// its bar; a component alone keeps its vertical bar. No pin grid shows a horizontal one.
TEST_F(SideBySide, TheGridsScrollBarsFollowTheLayout) {
    ShowTwo();
    Run("kx::grid ccp 1");
    EXPECT_EQ(Run("kx::scrollbars ccp"), "0 0");
    Run("kx::grid ccp 2");
    EXPECT_EQ(Run("kx::scrollbars ccp"), "0 0");
    Run("kx::show clp U1");
    EXPECT_EQ(Run("kx::scrollbars ccp"), "1 0");
    EXPECT_EQ(Run("kx::scrollbars").rfind("error:", 0), 0u) << "the word names the pane";
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

// A bus row whose bits are connected to different nets joins their signals, with a tool-tip line per
// connected bit; a bus connected as a whole names its one connection.
TEST_F(PinGridBoard, ABusConnectedBitByBitShowsItsBitsSignals) {
    OpenBoard("J1");
    const ROWCOL p = PinRow("P<10..1>");
    ASSERT_GT(p, 0u);
    const std::string joined = "RST_IN,,,,LVDS_P<3>,LVDS_P<2>,LVDS_P<1>,LVDS_P<0>,SYSCLK_N,SYSCLK_P";
    EXPECT_EQ(CellText(p, G::m_nColSignal), joined);
    CGXStyle style;
    Grid()->GetStyleRowCol(p, static_cast<ROWCOL>(G::m_nColSignal), style);
    EXPECT_TRUE(style.GetInterior().IsHatched());
    EXPECT_EQ(style.GetUserAttributeText(static_cast<WORD>(IDS_UA_CELLTIP_TITLE)), "Connection Details");
    const CString tip = style.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT));
    EXPECT_EQ(tip.Left(13), "P<10>:RST_IN\n");
    EXPECT_NE(tip.Find("\nP<1>:SYSCLK_P"), -1) << tip.GetString();
    EXPECT_EQ(tip.Find("P<9>"), -1) << "an open bit has no line: " << tip.GetString();
    // Disconnecting one bit changes the tip at once; undone, it is back.
    EXPECT_EQ(Run("renameConnection pin [list J1 P<10> 10]"), "1");
    Grid()->GetStyleRowCol(p, static_cast<ROWCOL>(G::m_nColSignal), style);
    EXPECT_EQ(style.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)).Find("RST_IN"), -1);
    EXPECT_EQ(CellText(p, G::m_nColSignal), joined.substr(6));
    Run("undo");
    Grid()->GetStyleRowCol(p, static_cast<ROWCOL>(G::m_nColSignal), style);
    EXPECT_EQ(style.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)).Left(13), "P<10>:RST_IN\n");
    EXPECT_EQ(CellText(p, G::m_nColSignal), joined);
    // Joined to one bus as a whole, the cell's tip names that one connection, nothing of the bits' nets.
    EXPECT_EQ(Run("kx::edit ccp " + std::to_string(p) + " " + std::to_string(G::m_nColSignal) + " {NEWB<9..0>}"), "1");
    EXPECT_EQ(CellText(p, G::m_nColSignal), "NEWB<9..0>");
    Grid()->GetStyleRowCol(p, static_cast<ROWCOL>(G::m_nColSignal), style);
    EXPECT_EQ(style.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)), "P<10..1>:NEWB<9..0>");
    EXPECT_EQ(style.GetUserAttributeText(static_cast<WORD>(IDS_UA_CELLTIP_TITLE)), "Connection Details");
    Run("undo");
    Run("kx::show clp U2");
    const ROWCOL dq = PinRow("DQ<15..0>");
    ASSERT_GT(dq, 0u);
    Grid()->GetStyleRowCol(dq, static_cast<ROWCOL>(G::m_nColSignal), style);
    EXPECT_EQ(CellText(dq, G::m_nColSignal), "DQ<15..0>");
    EXPECT_EQ(style.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)), "DQ<15..0>:DQ<15..0>");
}

} // namespace

namespace {

// Typing into a Signal cell completes the name from the pane's list of the design's signals.
TEST_F(PinGridBoard, TypingASignalCompletesItFromTheDesignsSignals) {
    OpenBoard();
    const ROWCOL pgood = PinRow("PGOOD");
    ASSERT_GT(pgood, 0u);
    Run("kx::select ccp " + std::to_string(pgood) + " " + std::to_string(CKXInstanceDetailsGridWnd::m_nColSignal));
    EXPECT_EQ(Run("kx::key ccp M shift"), "1");
    EXPECT_EQ(Run("kx::key ccp C shift"), "1");
    EXPECT_EQ(Run("kx::key ccp Enter"), "1");
    EXPECT_EQ(Run("kx::prop demo.board:sch@U1.PGOOD PN"), "C10");
    const std::string netlist = Run("kx::netlist");
    EXPECT_NE(netlist.find("U1 PGOOD MCLK\n"), std::string::npos) << netlist;
}

} // namespace

#include "kxinstsigpane/KXListPanes.h"

namespace {

// Tracking a row in the signal list selects its signal there; a pair row selects both legs' signals.
TEST_F(PinGridBoard, TrackingAPairRowSelectsBothLegsSignals) {
    OpenBoard();
    auto selected = [this]() {
        CStringArray names;
        Slp()->GetActiveList()->GetSelectedNames(names);
        std::vector<std::string> out;
        for (INT_PTR i = 0; i < names.GetSize(); ++i)
            out.push_back(names[i].str());
        std::sort(out.begin(), out.end());
        return out;
    };
    const std::string signal = std::to_string(CKXInstanceDetailsGridWnd::m_nColSignal);
    Run("kx::select ccp " + std::to_string(PinRow("MCLK")) + " " + signal);
    EXPECT_EQ(Run("trackInSignalList pin"), "1");
    EXPECT_EQ(selected(), std::vector<std::string>{"MCLK"});
    Slp()->GetActiveList()->RemoveSelection();
    const ROWCOL clk = PinRow("CLK");
    ASSERT_GT(clk, 0u);
    Run("kx::select ccp " + std::to_string(clk) + " " + signal);
    EXPECT_EQ(Run("trackInSignalList pin"), "1");
    EXPECT_EQ(selected(), (std::vector<std::string>{"SYSCLK_N", "SYSCLK_P"}));
}

} // namespace

#include "grid/KXGlobalMessages.h"
#include "kxcommon/KXHiliteObject.h"
#include "shell/KXTableChildFrm.h"

namespace {

// The host application highlights a pair pin in the connectivity pane: its pair row becomes current (and
// the last highlighted row); a highlight of a pin next moves both to the pin's row.
TEST_F(PinGridBoard, AHighlightedPairPinMakesItsPairRowCurrent) {
    OpenBoard();
    G* g = Grid();
    const ROWCOL clk = PinRow("CLK");
    ASSERT_GT(clk, 0u);
    IDPInstTerm* pair = g->GetRowDPInstTerm(clk);
    ASSERT_TRUE(pair);
    CKXHiliteObject hilite(true);
    hilite.SetMode(3);
    hilite.SetType(8);
    hilite.SetObject(g->GetRowInstance(clk).container(pair).cpath(), 0, 0);
    Frame()->SendMessage(g_msgHighlightObject, reinterpret_cast<WPARAM>(&hilite), 0);
    ROWCOL row = 0, col = 0;
    ASSERT_TRUE(g->GetCurrentCell(row, col));
    EXPECT_EQ(row, clk);
    EXPECT_EQ(g->m_nLastHighlightRow, clk);
    const ROWCOL pgood = PinRow("PGOOD");
    int msb = -1, lsb = -1;
    hilite.SetObject(g->GetRowInstance(pgood).instTerm(g->GetRowInstTerm(pgood, msb, lsb)).cpath(), 0, 0);
    Frame()->SendMessage(g_msgHighlightObject, reinterpret_cast<WPARAM>(&hilite), 0);
    ASSERT_TRUE(g->GetCurrentCell(row, col));
    EXPECT_EQ(row, pgood);
    EXPECT_EQ(g->m_nLastHighlightRow, pgood);
}

} // namespace

namespace {

// A pair row written again after an edit keeps the pair signal cell: the pair's name, and the control
// that offers the pair nets.
TEST_F(PinGridBoard, APairRowRefreshedAfterAnEditKeepsItsPairCell) {
    OpenBoard();
    const ROWCOL clk = PinRow("CLK");
    ASSERT_GT(clk, 0u);
    const ROWCOL signal = static_cast<ROWCOL>(G::m_nColSignal);
    auto control = [&]() {
        CGXStyle style;
        Grid()->GetStyleRowCol(clk, signal, style);
        return static_cast<UINT>(style.GetControl());
    };
    ASSERT_EQ(control(), IDS_CTRL_DIFFPAIR_SIGNAL);
    const std::string name = CellText(clk, G::m_nColSignal);
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(Run("kx::edit ccp " + std::to_string(clk) + " " + std::to_string(signal) + " {}"), "1");
    // The pair connection is gone; the legs stay on their nets, and the row says so.
    EXPECT_EQ(Grid()->GetRowDPInstTerm(clk)->dpConn(), nullptr);
    EXPECT_EQ(CellText(clk, G::m_nColSignal), "SYSCLK_P,SYSCLK_N");
    EXPECT_EQ(control(), IDS_CTRL_DIFFPAIR_SIGNAL);
    Run("undo");
    EXPECT_EQ(CellText(clk, G::m_nColSignal), name);
    EXPECT_EQ(control(), IDS_CTRL_DIFFPAIR_SIGNAL);
    // A pair net changed elsewhere: its rows are written again the same way, without an undo step.
    IDPInstTerm* pair = Grid()->GetRowDPInstTerm(clk);
    ASSERT_TRUE(pair && pair->dpConn());
    Grid()->SetValueRange(CGXRange(clk, signal), "stale");
    const int steps = Ccp()->GetUndoStepCount();
    Grid()->RefreshDiffPairNameCells(pair->dpConn()->dpNet());
    EXPECT_EQ(CellText(clk, G::m_nColSignal), name);
    EXPECT_EQ(control(), IDS_CTRL_DIFFPAIR_SIGNAL);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_FALSE(Grid()->IsLockUpdate());
}

} // namespace
