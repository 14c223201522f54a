// The matrix's right-button menus, Track in Signal List and what a selection in
// the matrix tells the signal list, the property editor and the associated-
// component viewer, all reached as the user reaches them through the host.
#include "MatrixTestSupport.h"

#include "kxinstsigpane/KXListPanes.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxpropertyeditor/KXPropertyEditor.h"

namespace {

constexpr UINT kShowAssocCompViewer = 35574;
constexpr UINT kTrackInSignalList = 35718;
constexpr UINT kDeleteCommand = 35264;

class MatrixMenus : public MatrixTest {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        ASSERT_TRUE(Open());
        ASSERT_NE(OpenView("v", {"@U1", "@J1"}, {"@:N1", "@:FREE", "@:DATA<1>", "@:DATA<0>"}), nullptr);
    }
    std::string At(ROWCOL row, int col) { return std::to_string(row) + " " + std::to_string(col); }
    bool NetSelected(const char* name) {
        CKXListPaneGrid* list = Slp()->GetActiveList();
        const ROWCOL row = list ? list->FindObjectRow(name) : GX_INVALID;
        return row != GX_INVALID && list->IsCellSelected(row, 1);
    }
    // The menu entry of a column: its place among the signal-side columns after the row
    // header, then the first group's columns.
    static UINT MenuId(int col) {
        int offset = -1, group = -1;
        if (G::SplitColumn(col, offset, group))
            return 2024 + static_cast<UINT>(G::Layout().m_arrSignalColumns.size() - 1 + offset);
        return 2024 + static_cast<UINT>(col - 1);
    }
};

TEST_F(MatrixMenus, TrackInSignalListSelectsTheRowsSignalInTheList) {
    ASSERT_EQ(Run("kx::select ccp " + At(Row("DATA<1>"), PinCol(1))), "1");
    EXPECT_FALSE(NetSelected("DATA"));
    Messages();
    EXPECT_EQ(Run("trackInSignalList pin"), "1") << Transcript();
    EXPECT_TRUE(NetSelected("DATA"));
    EXPECT_TRUE(Messages().empty());
    // The menu command takes the same road.
    ASSERT_EQ(Run("kx::select ccp " + At(Row("FREE"), NameCol())), "1");
    EXPECT_EQ(Run("kx::menu " + std::to_string(kTrackInSignalList)), "1");
    EXPECT_TRUE(NetSelected("FREE"));
}

TEST_F(MatrixMenus, TrackInSignalListOffTheSignalRowsSaysWhy) {
    Run("selectWindow ccp");
    Grid()->SetCurrentCell(kxmatrix::kCaptionRow, static_cast<ROWCOL>(NameCol()));
    ROWCOL row = 0, col = 0;
    ASSERT_TRUE(Grid()->GetCurrentCell(row, col));
    ASSERT_EQ(row, kxmatrix::kCaptionRow);
    Messages();
    EXPECT_EQ(Run("trackInSignalList pin"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-270"});
    // The menu command is disabled there.
    EXPECT_EQ(Run("kx::menu " + std::to_string(kTrackInSignalList)), "0");
}

TEST_F(MatrixMenus, TheColumnMenuHidesAColumnInEveryMatrixAndShowsItAgain) {
    const int col = TypeCol(0);
    ASSERT_GT(Grid()->GetColWidth(static_cast<ROWCOL>(col)), 0);
    Run("kx::answer menu * " + std::to_string(MenuId(col)));
    EXPECT_EQ(Run("kx::click ccp 1 " + std::to_string(NameCol()) + " right"), "1");
    // Every group hides its pin-type column.
    EXPECT_EQ(Grid()->GetColWidth(static_cast<ROWCOL>(TypeCol(0))), 0);
    EXPECT_EQ(Grid()->GetColWidth(static_cast<ROWCOL>(TypeCol(1))), 0);
    // A matrix opened afterwards follows the shared layout.
    ASSERT_NE(OpenView("w", {"@U1"}, {"@:N1"}), nullptr);
    EXPECT_EQ(Grid()->GetColWidth(static_cast<ROWCOL>(TypeCol(0))), 0);
    Run("kx::answer menu * " + std::to_string(MenuId(col)));
    Run("kx::click ccp 1 " + std::to_string(NameCol()) + " right");
    EXPECT_GT(Grid()->GetColWidth(static_cast<ROWCOL>(TypeCol(0))), 0);
}

// The layout outlives the last matrix window: a view opened after it closed reads the column
// the user hid as hidden, in a fresh design window of the same user too.
TEST_F(MatrixMenus, AHiddenColumnStaysHiddenAfterTheLastMatrixWindowCloses) {
    const int col = TypeCol(0);
    Run("kx::answer menu * " + std::to_string(MenuId(col)));
    ASSERT_EQ(Run("kx::click ccp 1 " + std::to_string(NameCol()) + " right"), "1");
    ASSERT_EQ(Grid()->GetColWidth(static_cast<ROWCOL>(col)), 0);
    EXPECT_EQ(Run("kx::pane RemoveMatrixView v"), "1");
    EXPECT_EQ(Grid(), nullptr);
    ASSERT_NE(OpenView("w", {"@U1"}, {"@:N1"}), nullptr);
    EXPECT_EQ(Grid()->GetColWidth(static_cast<ROWCOL>(TypeCol(0))), 0);
    EXPECT_GT(Grid()->GetColWidth(static_cast<ROWCOL>(PinCol(0))), 0);
}

TEST_F(MatrixMenus, ADismissedColumnMenuChangesNothing) {
    const std::vector<std::string> before = AllCells();
    std::vector<int> widths;
    for (ROWCOL c = 1; c <= Grid()->GetColCount(); ++c) widths.push_back(Grid()->GetColWidth(c));
    Run("kx::answer menu * 0");
    EXPECT_EQ(Run("kx::click ccp 0 " + std::to_string(PinCol(0)) + " right"), "1");
    for (ROWCOL c = 1; c <= Grid()->GetColCount(); ++c) EXPECT_EQ(Grid()->GetColWidth(c), widths[c - 1]) << c;
    EXPECT_EQ(AllCells(), before);
}

TEST_F(MatrixMenus, TheRowMenuDeletesTheClickedConnectionInOneUndoStep) {
    const ROWCOL row = Row("DATA<1>");
    ASSERT_TRUE(Connected("J1 P<2> DATA<1>"));
    Run("kx::select ccp " + At(row, PinCol(1)));
    Run("kx::answer menu * " + std::to_string(kDeleteCommand));
    EXPECT_EQ(Run("kx::click ccp " + At(row, PinCol(1)) + " right"), "1");
    EXPECT_FALSE(Connected("J1 P<2> DATA<1>"));
    EXPECT_TRUE(Cell(row, PinCol(1)).IsEmpty());
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Connected("J1 P<2> DATA<1>"));
    EXPECT_EQ(Cell(row, PinCol(1)), "P<2>");
}

TEST_F(MatrixMenus, TheSignalCellTellsTheHostWhichNetIsSelected) {
    ClearNotifications();
    ASSERT_EQ(Run("kx::select ccp " + At(Row("FREE"), NameCol())), "1");
    EXPECT_EQ(Notifications(MSG_NET_SELECTED).size(), 1u);
    // A pin cell names no net of its own.
    ClearNotifications();
    ASSERT_EQ(Run("kx::select ccp " + At(Row("FREE"), PinCol(0))), "1");
    EXPECT_TRUE(Notifications(MSG_NET_SELECTED).empty());
}

TEST_F(MatrixMenus, TheShownComponentViewerTakesPinsAndNetBitsButNoPropertyColumns) {
    ClearNotifications();
    ASSERT_EQ(Run("kx::select ccp " + At(Row("N1"), PinCol(1))), "1");
    // The viewer is not shown: the selection sends it nothing.
    EXPECT_TRUE(Notifications(MSG_ASSOC_COMP_VIEWER_SELECTION).empty());
    EXPECT_EQ(Run("kx::menu " + std::to_string(kShowAssocCompViewer)), "1");
    EXPECT_EQ(Notifications(MSG_ASSOC_COMP_VIEWER_SELECTION).size(), 1u);
    ClearNotifications();
    ASSERT_EQ(Run("kx::select ccp " + At(Row("DATA<0>"), NameCol())), "1");
    EXPECT_EQ(Notifications(MSG_ASSOC_COMP_VIEWER_SELECTION).size(), 1u);
    // A row of a group without a pin gives no record.
    ClearNotifications();
    ASSERT_EQ(Run("kx::select ccp " + At(Row("FREE"), PinCol(1))), "1");
    EXPECT_TRUE(Notifications(MSG_ASSOC_COMP_VIEWER_SELECTION).empty());
}

TEST_F(MatrixMenus, APupdCellWithoutAMarkGivesTheViewerNothing) {
    EXPECT_EQ(Run("kx::menu " + std::to_string(kShowAssocCompViewer)), "1");
    ClearNotifications();
    ASSERT_EQ(Run("kx::select ccp " + At(Row("FREE"), G::Layout().m_nPupdCol)), "1");
    Grid()->NotifySelectionChanged();
    EXPECT_TRUE(Notifications(MSG_ASSOC_COMP_VIEWER_SELECTION).empty());
}

TEST_F(MatrixMenus, TheColumnMenuHidesASignalSideColumn) {
    const int col = G::Layout().m_nPhysNetNameCol;
    ASSERT_GT(Grid()->GetColWidth(static_cast<ROWCOL>(col)), 0);
    Run("kx::answer menu * " + std::to_string(MenuId(col)));
    EXPECT_EQ(Run("kx::click ccp 1 " + std::to_string(NameCol()) + " right"), "1");
    EXPECT_EQ(Grid()->GetColWidth(static_cast<ROWCOL>(col)), 0);
    EXPECT_EQ(Run("kx::window ccp").find("Physical Net"), std::string::npos);
}

} // namespace

// Properties (35659) shows what the current cell stands for: a component's pin its own properties, a
// signal cell the selected signals; a component's cell in a row where it has no pin opens nothing.
TEST_F(MatrixMenus, PropertiesOpensTheEditorOnThePinOrTheSignalsAndNothingWithoutAPin) {
    ClosePropEditor();
    ASSERT_EQ(Run("kx::select ccp " + At(Row("N1"), PinCol(1))), "1");
    ClearNotifications();
    EXPECT_EQ(Run("kx::menu 35659"), "1");
    EXPECT_TRUE(IsPropEditorShown());
    EXPECT_EQ(GetPropEditorMode(), 3);
    ClosePropEditor();
    ASSERT_EQ(Run("kx::select ccp " + At(Row("DATA<0>"), NameCol())), "1");
    EXPECT_EQ(Run("kx::menu 35659"), "1");
    EXPECT_EQ(GetPropEditorMode(), 2);
    ClosePropEditor();
    // J1 has no pin on FREE: nothing to show, and the editor stays closed.
    ASSERT_EQ(Run("kx::select ccp " + At(Row("FREE"), PinCol(1))), "1");
    ASSERT_TRUE(Cell(Row("FREE"), PinCol(1)).IsEmpty());
    ClearNotifications();
    EXPECT_EQ(Run("kx::menu 35659"), "0");
    EXPECT_EQ(Messages().back(), "KXTABLE-672");
    EXPECT_FALSE(IsPropEditorShown());
    EXPECT_TRUE(Notifications(MSG_PROPERTY_EDITOR_SELECTION).empty());
}
