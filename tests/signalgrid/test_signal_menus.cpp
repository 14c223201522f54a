// The signal grid's right-button menus and keys through the host's hands.
#include "SignalGridTestSupport.h"

#include "kxcontrols/KXCellControls.h"
#include "kxmsgsrvr/KXMsgIds.h"

#include <sstream>

namespace {

class SignalMenus : public SignalGridTest {
protected:
    std::string Num(long n) { return std::to_string(n); }
};

TEST_F(SignalMenus, TheColumnMenuHidesAndShowsAColumnInEverySignalGrid) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    const int col = G::m_nColLocation;
    ASSERT_GT(Grid()->GetColWidth(static_cast<ROWCOL>(col)), 0);
    Run("kx::answer menu * " + Num(2024 + col - 1));
    EXPECT_EQ(Run("kx::click ccp 1 " + Num(G::m_nColCell) + " right"), "1");
    EXPECT_EQ(Grid()->GetColWidth(static_cast<ROWCOL>(col)), 0);
    EXPECT_EQ(Run("kx::window ccp").find("Ref Des"), std::string::npos);
    // A grid shown afterwards follows the model.
    Run("kx::show slp FREE");
    EXPECT_EQ(Grid()->GetColWidth(static_cast<ROWCOL>(col)), 0);
    Run("kx::answer menu * " + Num(2024 + col - 1));
    Run("kx::click ccp 1 " + Num(G::m_nColCell) + " right");
    EXPECT_GT(Grid()->GetColWidth(static_cast<ROWCOL>(col)), 0);
    // Signal Name is grayed: choosing it changes nothing.
    const int signalShown = G::Columns().At(G::m_nColSignalName)->m_bShown;
    Run("kx::answer menu * 2024");
    Run("kx::click ccp 1 " + Num(G::m_nColCell) + " right");
    EXPECT_EQ(G::Columns().At(G::m_nColSignalName)->m_bShown, signalShown);
    EXPECT_GT(Grid()->GetColWidth(static_cast<ROWCOL>(col)), 0);
}

TEST_F(SignalMenus, TheRowMenuRunsItsCommandOnTheClickedRow) {
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    ASSERT_EQ(Run("addConnection pin J2:24"), "1");
    const ROWCOL row = Row("J2", "P<4>");
    ASSERT_NE(row, 0u);
    Run("kx::select ccp " + Num(row) + " " + Num(G::m_nColInstance));
    Run("kx::answer menu * 35264");
    EXPECT_EQ(Run("kx::click ccp " + Num(row) + " " + Num(G::m_nColInstance) + " right"), "1");
    EXPECT_EQ(Netlist().find("J2 P<4> FREE"), std::string::npos);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_NE(Netlist().find("J2 P<4> FREE"), std::string::npos);
}

TEST_F(SignalMenus, InsertAddsABlankRowAtTheEnd) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    const ROWCOL rows = Grid()->GetRowCount();
    Run("kx::select ccp " + Num(kxsignal::kFirstDataRow) + " " + Num(G::m_nColCell));
    EXPECT_EQ(Run("kx::key ccp Insert"), "1");
    EXPECT_EQ(Grid()->GetRowCount(), rows + 1);
    EXPECT_TRUE(Cell(rows + 1, G::m_nColInstance).IsEmpty());
}

// F4 hands the keyboard to the signal list, where the shown signal can be chosen again; the grid's
// own keys stay with the grid.
// Unlike the common grid, whose cells take no connection, each cell of a signal row stands for a pin
// on the row's net, whichever column the current cell is in.
TEST_F(SignalMenus, EveryCellOfASignalRowIsConnectable) {
    ASSERT_TRUE(Open());
    Run("kx::show slp DATA");
    const ROWCOL j1 = Row("J1", "P<2..1>");
    ASSERT_NE(j1, 0u) << Run("kx::window ccp");
    for (int col : {G::m_nColInstance, G::m_nColPinName, G::m_nColTermination}) {
        Run("kx::select ccp " + Num(j1) + " " + Num(col));
        EXPECT_TRUE(Grid()->IsCurrentCellConnectable()) << "column " << col;
    }
}

TEST_F(SignalMenus, F4HandsTheKeyboardToTheSignalList) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    Run("kx::click ccp " + Num(kxsignal::kFirstDataRow) + " " + Num(G::m_nColInstance));
    ASSERT_EQ(Run("kx::focus"), "ccp grid 1");
    EXPECT_EQ(Run("kx::key ccp Down"), "1");
    EXPECT_EQ(Run("kx::focus"), "ccp grid 1");
    EXPECT_EQ(Run("kx::key ccp F4"), "1");
    EXPECT_EQ(Run("kx::focus"), "slp");
}

// Once the user shows the property editor, it is handed the nets of the selected rows, and again on
// every later selection; hidden, it is sent nothing.
TEST_F(SignalMenus, TheShownPropertyEditorFollowsTheSelectedRows) {
    ASSERT_TRUE(Open());
    Run("kx::show slp DATA");
    const ROWCOL j1 = Row("J1", "P<2..1>");
    ASSERT_NE(j1, 0u) << Run("kx::window ccp");
    ClearNotifications();
    Run("kx::click ccp " + Num(j1) + " " + Num(G::m_nColInstance));
    EXPECT_TRUE(Notifications(MSG_PROPERTY_EDITOR_SELECTION).empty());
    EXPECT_EQ(Run("kx::menu 35071"), "1");
    EXPECT_EQ(Notifications(MSG_PROPERTY_EDITOR_SELECTION).size(), 1u);
    ClearNotifications();
    Run("kx::click ccp " + Num(j1) + " " + Num(G::m_nColPinName));
    EXPECT_EQ(Notifications(MSG_PROPERTY_EDITOR_SELECTION).size(), 1u);
}

// The shown associated-component viewer is handed the nets of the selected rows as the property
// editor is, whether the editor is shown or not (kx::published reads what the grid published).
TEST_F(SignalMenus, TheShownViewerHearsTheNetsOfTheSelectedRowsWithOrWithoutTheEditor) {
    ASSERT_TRUE(Open());
    Run("kx::show slp DATA");
    const ROWCOL j1 = Row("J1", "P<2..1>");
    ASSERT_NE(j1, 0u) << Run("kx::window ccp");
    auto lines = [](const std::string& text, const std::string& start) {
        std::vector<std::string> found;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            if (line.rfind(start, 0) == 0) found.push_back(line);
        return found;
    };
    ASSERT_EQ(Run("kx::menu 35574"), "1");
    Run("kx::published");
    Run("kx::click ccp " + Num(j1) + " " + Num(G::m_nColInstance));
    // Each publication of the click names the row's net.
    std::string heard = Run("kx::published");
    const std::vector<std::string> viewer = lines(heard, "assoccompviewer:");
    EXPECT_FALSE(viewer.empty()) << heard;
    for (const std::string& line : viewer) EXPECT_EQ(line, "assoccompviewer: netbit @:DATA");
    EXPECT_TRUE(lines(heard, "propertyeditor:").empty()) << heard;
    ASSERT_EQ(Run("kx::menu 35071"), "1");
    Run("kx::published");
    Run("kx::click ccp " + Num(j1) + " " + Num(G::m_nColPinName));
    heard = Run("kx::published");
    EXPECT_EQ(lines(heard, "assoccompviewer:").size(), lines(heard, "propertyeditor:").size()) << heard;
    EXPECT_FALSE(lines(heard, "propertyeditor:").empty()) << heard;
}

// The column menus: a row's instance and pin are never hidden, the bits only on a bus.
TEST_F(SignalMenus, InstancePinAndTheBitsOfAScalarNetAreGrayed) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    auto enabled = [this](int col) {
        CString text;
        BOOL on = TRUE;
        Grid()->GetColumnMenuText(col, text, on);
        return on;
    };
    EXPECT_FALSE(enabled(G::m_nColInstance));
    EXPECT_FALSE(enabled(G::m_nColPinName));
    EXPECT_FALSE(enabled(G::m_nColStartBit));
    EXPECT_TRUE(enabled(G::m_nColCell));
    // Choosing a grayed item from the title row's menu hides nothing.
    Run("kx::answer menu * " + Num(2024 + G::m_nColInstance - 1));
    Run("kx::click ccp 1 " + Num(G::m_nColCell) + " right");
    EXPECT_GT(Grid()->GetColWidth(static_cast<ROWCOL>(G::m_nColInstance)), 0);
    Run("kx::show slp DATA");
    EXPECT_TRUE(enabled(G::m_nColStartBit));
    EXPECT_TRUE(enabled(G::m_nColEndBit));
}

// A double-click on a column's border fits the column to its data rows and keeps the width for
// every signal grid; a border that was dragged is no fit.
TEST_F(SignalMenus, ABorderDoubleClickFitsTheColumnToItsRows) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    const int col = G::m_nColCell;
    const int wide = 400;
    Grid()->SetColWidth(static_cast<ROWCOL>(col), static_cast<ROWCOL>(col), wide);
    EXPECT_EQ(Run("kx::click ccp 1 " + Num(col) + " border"), "1");
    const int fitted = Grid()->CGXGridCore::GetColWidth(static_cast<ROWCOL>(col));
    EXPECT_GT(fitted, 0);
    EXPECT_LT(fitted, wide);
    EXPECT_EQ(G::Columns().At(col)->m_nWidth, fitted);
    EXPECT_FALSE(Grid()->m_bTrackingColumn);
    // A moved border is a drag: the double-click that follows fits nothing.
    Grid()->OnStartTracking(1, static_cast<ROWCOL>(col), GX_TRACKWIDTH);
    Grid()->OnTrackColWidthMove(static_cast<ROWCOL>(col), wide);
    EXPECT_FALSE(Grid()->m_bTrackingColumn);
}

// The drop-down button of a component cell keeps the selected rows, so that the entry chosen
// goes into each of them; a click into a combo cell gives it the grid's auto-complete option,
// also when the option changed while another cell was current.
TEST_F(SignalMenus, AComboCellTakesTheSelectionAndTheAutoCompleteOption) {
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    const ROWCOL first = Grid()->FindFirstEmptyRow();
    const std::string col = Num(G::m_nColInstance);
    Run("kx::select ccp " + Num(first) + " " + Num(G::m_nColPinType));
    Run("kx::option auto_complete_signals 0");
    ASSERT_FALSE(Grid()->m_bAutoComplete);
    auto* combo = dynamic_cast<CKXGridACCombo*>(Grid()->GetControl(first, static_cast<ROWCOL>(G::m_nColInstance)));
    ASSERT_NE(combo, nullptr);
    combo->m_bAutoComplete = TRUE; // as the combos were made
    ASSERT_EQ(Run("kx::select ccp " + Num(first) + " " + col + " " + Num(first + 2) + " " + col), "1");
    auto selected = [this] {
        CRowColArray rows;
        Grid()->GetSelectedRows(rows, FALSE, FALSE);
        return rows.GetSize();
    };
    ASSERT_EQ(selected(), 3);
    ROWCOL row = 0, current = 0;
    ASSERT_TRUE(Grid()->GetCurrentCell(row, current));
    EXPECT_EQ(Run("kx::click ccp " + Num(row) + " " + col + " button"), "1");
    EXPECT_EQ(selected(), 3);
    EXPECT_FALSE(combo->m_bAutoComplete);
    Run("kx::option auto_complete_signals 1");
}

} // namespace
