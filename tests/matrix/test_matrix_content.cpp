// What a matrix view shows: the stored view's groups and rows, the pins where
// they meet, blocks, drops of instances and signals (and what they store), the
// reload of a changed view and the layout shared by every matrix grid.
#include "MatrixTestSupport.h"

#include "grid/KXRowAttrs.h"

#include "kxcommon/KXCustomizeAPI.h"

#include <sstream>

namespace {

using kxmatrix::kFirstDataRow;

class MatrixContent : public MatrixTest {};

TEST_F(MatrixContent, AStoredViewShowsGroupsRowsAndThePinsWhereTheyMeet) {
    ASSERT_TRUE(Open());
    G* grid = OpenView("v", {"@U1", "@J1"}, {"@:N1", "@:GND", "@:DATA<1>"});
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(std::string(Ccp()->GetPaneTitle()), "Matrix Connectivity View - v");
    EXPECT_EQ(grid->GroupCount(), 2);
    EXPECT_EQ(Cell(0, PinCol(0)), "Component U1 (U1)");
    EXPECT_EQ(Cell(0, PinCol(1)), "Component J1 (J1)");
    EXPECT_EQ(Cell(1, PinCol(0)), "Pin Name");
    // N1 meets two pins of J1: two rows; U1's cell of the second row stays empty.
    EXPECT_EQ(Rows("N1").size(), 2u);
    EXPECT_EQ(Pins("N1", 0), std::vector<std::string>{"OUT"});
    EXPECT_EQ(Pins("N1", 1), (std::vector<std::string>{"S", "T"}));
    EXPECT_EQ(Cell(Rows("N1")[1], PnCol(1)), "16");
    // A bus bit shows the vector names of the pin bits on it.
    EXPECT_EQ(Pins("DATA<1>", 0), std::vector<std::string>{"D<1>"});
    EXPECT_EQ(Pins("DATA<1>", 1), std::vector<std::string>{"P<2>"});
    EXPECT_EQ(Cell(Row("DATA<1>"), PnCol(1)), "12");
    // A signal no shown instance meets has one row of empty cells.
    EXPECT_EQ(Rows("GND").size(), 1u);
    EXPECT_TRUE(Pins("GND", 0).empty());
    // Every row carries its signal, also the further rows of a signal.
    for (ROWCOL r : Rows("N1")) {
        int bit = 0;
        EXPECT_EQ(grid->GetCellNetBit(r, bit), Design().net("N1").net());
        EXPECT_EQ(bit, -1);
    }
    int bit = -1;
    IInstTerm* pin = grid->GetCellInstTermBit(Row("DATA<1>"), PnCol(0), bit);
    ASSERT_NE(pin, nullptr);
    EXPECT_STREQ(pin->name(), "D");
    EXPECT_EQ(bit, 1);
    // The store marks the view as loaded.
    EXPECT_FALSE(Views()->IsViewModified("v"));
}

TEST_F(MatrixContent, AnEmptyViewShowsTheHeaderRowsOnly) {
    ASSERT_TRUE(Open());
    G* grid = OpenView("empty", {}, {});
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->GetRowCount(), kxmatrix::kHeaderRows);
    EXPECT_EQ(grid->GroupCount(), 0);
    EXPECT_EQ(Cell(1, NameCol()), "Signal");
    EXPECT_EQ(Cell(3, NameCol()), "*");
}

TEST_F(MatrixContent, ABlockShowsPortsAndHidesPinNumberAndTermination) {
    ASSERT_TRUE(Open());
    G* grid = OpenView("v", {"@X1"}, {"@:N1"});
    EXPECT_EQ(Cell(0, PinCol(0)), "Block X1 (work.blk:sch)");
    EXPECT_EQ(Cell(1, PinCol(0)), "Port Name");
    EXPECT_EQ(Cell(1, TypeCol(0)), "Port Type");
    EXPECT_EQ(grid->GetColWidth(static_cast<ROWCOL>(PnCol(0))), 0);
    EXPECT_EQ(Pins("N1", 0), std::vector<std::string>{"P"});
}

TEST_F(MatrixContent, PathsThatNoLongerResolveAreSkipped) {
    ASSERT_TRUE(Open());
    G* grid = OpenView("v", {"@U1", "@GONE"}, {"@:NOPE", "@:N1", "@:DATA<9>"});
    EXPECT_EQ(grid->GroupCount(), 1);
    EXPECT_EQ(grid->m_arrNetData.size(), 1u);
}

TEST_F(MatrixContent, DroppedInstancesAndSignalsJoinTheGridAndTheStoredViewOnce) {
    ASSERT_TRUE(Open());
    G* grid = OpenView("v", {}, {"@:N1"});
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(Run("kx::drop ccp 1 1 component U1 J1"), "1");
    EXPECT_EQ(grid->GroupCount(), 2);
    EXPECT_EQ(Pins("N1", 1), (std::vector<std::string>{"S", "T"}));
    // The second drop of a shown instance adds nothing, to the grid or to the store.
    Run("kx::drop ccp 1 1 component U1");
    EXPECT_EQ(grid->GroupCount(), 2);
    std::vector<CString> paths;
    Views()->GetMatrixComponentList("v", paths);
    EXPECT_EQ(paths.size(), 2u);
    // A bus range adds one signal per bit, written either way round.
    EXPECT_EQ(Run("kx::drop ccp 1 1 signal {DATA<0..2>}"), "1");
    EXPECT_EQ(Run("kx::drop ccp 1 1 signal {DATA<3..2>}"), "1");
    for (const char* s : {"DATA<0>", "DATA<1>", "DATA<2>", "DATA<3>"}) EXPECT_EQ(Rows(s).size(), 1u) << s;
    Views()->GetMatrixSignalList("v", paths);
    EXPECT_EQ(paths.size(), 5u); // N1 and each DATA bit once
    Run("kx::drop ccp 1 1 signal NOT_A_NET");
    EXPECT_EQ(grid->m_arrNetData.size(), 5u);
    EXPECT_TRUE(Doc()->IsModified());
}

// A dropped bus range adds its bits from the high bit down, whichever way the range is written, the
// stored view in the same order.
TEST_F(MatrixContent, ADroppedBusRangeAddsItsBitsFromTheHighBitDown) {
    ASSERT_TRUE(Open());
    G* grid = OpenView("v", {"@U1"}, {});
    ASSERT_EQ(Run("kx::drop ccp 1 1 signal {DATA<0..2>}"), "1");
    std::vector<std::string> names;
    for (ROWCOL r = kFirstDataRow; r <= grid->GetRowCount(); ++r) names.push_back(Cell(r, NameCol()).GetString());
    EXPECT_EQ(names, (std::vector<std::string>{"DATA<2>", "DATA<1>", "DATA<0>"}));
    std::vector<CString> paths;
    Views()->GetMatrixSignalList("v", paths);
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(std::string(paths.front().GetString()), "@:DATA<2>");
    EXPECT_EQ(Run("matrixAdd pin signal {DATA<3..3>}"), "1");
    EXPECT_EQ(Cell(grid->GetRowCount(), NameCol()), "DATA<3>");
}

// A group added to the grid starts with the filter row reading "*" in every column; the rows hidden by
// the filter before stay hidden until the filter runs again.
TEST_F(MatrixContent, AnAddedGroupSetsTheFilterRowBackToMatchAll) {
    ASSERT_TRUE(Open());
    G* grid = OpenView("v", {"@U1"}, {"@:N1", "@:GND"});
    ASSERT_EQ(Run("kx::edit ccp 3 " + std::to_string(NameCol()) + " N*"), "1");
    ASSERT_EQ(Run("kx::edit ccp 3 " + std::to_string(PinCol(0)) + " O*"), "1");
    ASSERT_TRUE(grid->IsRowHidden(Row("GND")));
    ASSERT_EQ(Run("kx::drop ccp 1 1 component J1"), "1");
    for (ROWCOL c = 1; c <= grid->GetColCount(); ++c) EXPECT_EQ(Cell(3, static_cast<int>(c)), "*") << c;
    EXPECT_TRUE(grid->IsRowHidden(Row("GND")));
    ASSERT_EQ(Run("filterRows pin -col Signal -filter *"), "1");
    EXPECT_FALSE(grid->IsRowHidden(Row("GND")));
}

// Every group shows the columns of its kind: a component its Pin Type, a block its Port Name and Port Type.
// Also after the layout gained a column and every grid rebuilt itself, and after the user hid Pin Type and
// showed it again from the column menu.
TEST_F(MatrixContent, EachGroupShowsTheColumnsOfItsKind) {
    ASSERT_TRUE(Open());
    OpenView("v", {"@X1", "@U1"}, {"@:N1"});
    auto expectKinds = [&](const char* when) {
        std::vector<int> widths;
        std::istringstream in(Run("kx::widths ccp"));
        for (int w = 0; in >> w;) widths.push_back(w);
        ASSERT_GT(widths.size(), static_cast<std::size_t>(TypeCol(1))) << when;
        auto width = [&](int col) { return widths[static_cast<std::size_t>(col)]; };
        EXPECT_EQ(Cell(1, TypeCol(0)), "Port Type") << when;
        EXPECT_GT(width(PinCol(0)), 0) << when;
        EXPECT_GT(width(TypeCol(0)), 0) << when;
        EXPECT_EQ(width(PnCol(0)), 0) << when;
        EXPECT_EQ(width(G::ColumnOf(0, G::Layout().m_nTerminationOffset)), 0) << when;
        EXPECT_GT(width(PinCol(1)), 0) << when;
        EXPECT_GT(width(TypeCol(1)), 0) << when;
        EXPECT_GT(width(PnCol(1)), 0) << when;
    };
    expectKinds("opened");
    Run("kx::answer dialog CKXCustomizeDialog ok add {SLEW|Slew|6s|PINPROP|SHOW}");
    ASSERT_EQ(Run("kx::grid ccp 1"), "1");
    ASSERT_EQ(Run("kx::menu 35130"), "1");
    expectKinds("customised");
    for (int i = 0; i < 2; ++i) {
        Run("kx::answer menu * 2029");
        ASSERT_EQ(Run("kx::click ccp 1 1 right"), "1");
    }
    expectKinds("hidden and shown again");
}

TEST_F(MatrixContent, AViewSavedAndLoadedAgainShowsTheSameRowsAndGroups) {
    ASSERT_TRUE(Open());
    G* grid = OpenView("v", {"@U1"}, {"@:N1"});
    ASSERT_EQ(Run("kx::drop ccp 1 1 component J1"), "1");
    ASSERT_EQ(Run("kx::drop ccp 1 1 signal DATA"), "1");
    const std::vector<std::string> shown = AllCells();
    std::vector<CString> signals;
    Views()->GetMatrixSignalList("v", signals);
    EXPECT_EQ(signals.size(), 5u); // N1 and the four bits of DATA
    // A second grid loaded from the store shows exactly what the first shows.
    G* second = Ccp()->CreateMatrixGrid("v");
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(second->GetRowCount(), grid->GetRowCount());
    ASSERT_EQ(second->GetColCount(), grid->GetColCount());
    std::vector<std::string> cells;
    for (ROWCOL r = 0; r <= second->GetRowCount(); ++r)
        for (ROWCOL c = 1; c <= second->GetColCount(); ++c) cells.push_back(second->GetValueRowCol(r, c).GetString());
    EXPECT_EQ(cells, shown);
}

TEST_F(MatrixContent, AViewChangedInTheStoreIsReloadedWhenShownAgain) {
    ASSERT_TRUE(Open());
    G* grid = OpenView("v", {"@U1"}, {"@:N1"});
    Views()->AddSignalToMatrixView("v", "@:GND");
    Ccp()->OpenMatrixView(CString("v"));
    EXPECT_EQ(Grid(), grid); // the same grid, reloaded
    EXPECT_EQ(Rows("GND").size(), 1u);
}

TEST_F(MatrixContent, InsertAddsARowToTheSignalBelowItsLastRow) {
    ASSERT_TRUE(Open());
    G* grid = OpenView("v", {"@U1", "@J1"}, {"@:N1", "@:GND"});
    const ROWCOL first = Rows("N1")[0];
    const ROWCOL gnd = Row("GND");
    grid->SetCurrentCell(first, static_cast<ROWCOL>(PinCol(0)));
    EXPECT_TRUE(grid->ProcessKeys(grid, WM_KEYDOWN, VK_INSERT));
    EXPECT_EQ(Rows("N1").size(), 3u);
    EXPECT_EQ(Row("GND"), gnd + 1);
    // In a PIN_TYPE column the key does nothing of the grid's own.
    grid->SetCurrentCell(first, static_cast<ROWCOL>(TypeCol(0)));
    grid->ProcessKeys(grid, WM_KEYDOWN, VK_INSERT);
    EXPECT_EQ(Rows("N1").size(), 3u);
}

TEST_F(MatrixContent, ASecondGridTakesTheSharedLayoutAndTheCurrentGridPointerNeverDangles) {
    ASSERT_TRUE(Open());
    OpenView("v", {"@U1"}, {"@:N1"});
    const std::size_t columns = G::Layout().m_arrInstanceColumns.size();
    G* second = Ccp()->CreateMatrixGrid("v");
    EXPECT_EQ(G::Layout().m_arrInstanceColumns.size(), columns);
    EXPECT_EQ(G::CurrentGrid(), second);
    Ccp()->DestroyGrid(second);
    EXPECT_EQ(G::CurrentGrid(), nullptr);
}

TEST_F(MatrixContent, TheCustomiseDialogChangesTheColumnsOfEveryGroupInEveryMatrixGrid) {
    ASSERT_TRUE(Open());
    G* grid = OpenView("v", {"@U1", "@J1"}, {"@:N1"});
    G* second = Ccp()->CreateMatrixGrid("v");
    ASSERT_NE(second, nullptr);
    const std::vector<std::string> pins = Pins("N1", 1);
    Run("kx::answer dialog CKXCustomizeDialog ok hide PIN_TYPE width.PN 40f");
    ASSERT_EQ(Run("kx::grid ccp 1"), "1"); // the hands on the matrix: the pane is the active view
    EXPECT_EQ(Run("kx::menu 35130"), "1");  // Customize Columns
    for (G* g : {grid, second})
        for (int group = 0; group < 2; ++group) {
            EXPECT_EQ(g->GetColWidth(static_cast<ROWCOL>(TypeCol(group))), 0) << group;
            EXPECT_EQ(g->GetColWidth(static_cast<ROWCOL>(PnCol(group))), 40) << group;
        }
    EXPECT_EQ(Pins("N1", 1), pins);
    // The layout is saved as it stands: a fixed width keeps its pixels.
    grid->SaveCustomization(TRUE);
    CKXCustomizeAPI::setCustomizationOrigin("MATRIX");
    const CStringArray& entries = CKXCustomizeAPI::getDefaultEntriesArray();
    std::vector<std::string> saved;
    for (INT_PTR i = 0; i < entries.GetSize(); ++i) saved.push_back(entries[i].GetString());
    EXPECT_NE(std::find(saved.begin(), saved.end(), "PN|Pin Number|40f|DEFAULT|SHOW"), saved.end());
    EXPECT_NE(std::find(saved.begin(), saved.end(), "PIN_TYPE|Pin Type|8s|DEFAULT|HIDE"), saved.end());
    // Cancelled: nothing changes.
    Run("kx::answer dialog CKXCustomizeDialog cancel");
    Ccp()->SendMessage(WM_COMMAND, 35130, 0);
    EXPECT_EQ(grid->GetColWidth(static_cast<ROWCOL>(PnCol(0))), 40);
}

TEST_F(MatrixContent, ADraggedColumnWidthReachesEveryMatrixGrid) {
    ASSERT_TRUE(Open());
    G* grid = OpenView("v", {"@U1"}, {"@:N1"});
    G* second = Ccp()->CreateMatrixGrid("v");
    const ROWCOL col = static_cast<ROWCOL>(PinCol(0));
    CSize size(77, 0);
    grid->SetColWidth(col, col, 77);
    grid->OnEndTracking(1, col, GX_TRACKWIDTH, size);
    EXPECT_EQ(second->GetColWidth(col), 77);
    EXPECT_EQ(G::Layout().m_arrInstanceColumns[static_cast<std::size_t>(G::Layout().m_nPinNameOffset)]->m_nWidth, 77);
}

} // namespace
