// The keys and clicks of the grids on the example board, through the host as a user presses them: Tab's
// walk through the cells, the selection keys and the paste of a cell being edited, the right click before
// the pop-up menu, the current cell a selectObject leaves, and the header click's sort step.
#include "KXDemoBoard.h"

#include "kxclipboard/CKXImpClipBoard.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

class GridKeys : public DemoBoard {
protected:
    std::string Cell() { return Run("kx::grid ccp cell"); }
    // The text of a cell of the active grid's row that shows `pin` in a cell of its own, by the row's
    // cell position in `kx::window ccp` (as the user reads it).
    std::string CellOfRow(const std::string& pin, int field) {
        return Run("string trim [lindex [split [lsearch -inline [split [kx::window ccp] \\n] {*| " + pin +
                   " |*}] |] " + std::to_string(field) + "]");
    }
    static std::string ClipboardText() {
        CString text;
        CKXImpClipBoard::GetCFText(text);
        return text.GetString();
    }
};

// Tab at a row's end goes to the next row's first data cell, at the last cell back to the first, and
// Shift+Tab the other way: in the physical part grid as in the signal grid.
TEST_F(GridKeys, TabGoesOnInTheNextRowAndWrapsAroundTheGrid) {
    ASSERT_TRUE(OpenBoard(4, "kx::show clp RN1"));
    Run("kx::select ccp 7 6");
    EXPECT_EQ(Run("kx::key ccp Tab"), "1");
    EXPECT_EQ(Cell(), "8 2");
    Run("kx::select ccp 13 6");
    EXPECT_EQ(Run("kx::key ccp Tab"), "1");
    EXPECT_EQ(Cell(), "6 2");
    EXPECT_EQ(Run("kx::key ccp Shift+Tab"), "1");
    EXPECT_EQ(Cell(), "13 6");
    Run("kx::close");
    Run("kx::answer question * no");
    ASSERT_TRUE(OpenBoard(3, "kx::show slp PG"));
    Run("kx::select ccp 5 12");
    EXPECT_EQ(Run("kx::key ccp Tab"), "1");
    EXPECT_EQ(Cell(), "6 5"); // the first shown column
}

// The move direction is taken by the grids already open, of every kind, as by those made after it: Enter
// in the signal grid shown before the option moves the way the option says, and back again.
TEST_F(GridKeys, EnterInAnOpenSignalGridFollowsTheMoveDirectionOption) {
    ASSERT_TRUE(OpenBoard(3, "kx::show slp PG"));
    Run("kx::option move_direction right");
    Run("kx::select ccp 5 8");
    EXPECT_EQ(Run("kx::key ccp Enter"), "1");
    EXPECT_EQ(Cell(), "5 9");
    Run("kx::option move_direction down");
    EXPECT_EQ(Run("kx::key ccp Enter"), "1");
    EXPECT_EQ(Cell(), "6 9");
}

// In a cell being edited Shift+End after Home selects the text, and a typed key replaces it.
TEST_F(GridKeys, ATypedKeyReplacesTheTextShiftSelected) {
    ASSERT_TRUE(OpenBoard(3, kPgoodSignalCell));
    Run("kx::key ccp F2; kx::key ccp Home; kx::key ccp End shift; kx::key ccp Y; kx::key ccp Enter");
    EXPECT_EQ(CellOfRow("PGOOD", 4), "y");
}

// Ctrl+C in a cell being edited copies the text selected there, not the cell or its row.
TEST_F(GridKeys, CtrlCInACellBeingEditedCopiesTheSelectedText) {
    ASSERT_TRUE(OpenBoard(3, kPgoodSignalCell));
    Run("kx::key ccp F2; kx::key ccp Home; kx::key ccp Right shift");
    EXPECT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    EXPECT_EQ(ClipboardText(), "P");
    // The copy left the edit as it was, which Escape then drops.
    Run("kx::key ccp Escape");
    EXPECT_EQ(CellOfRow("PGOOD", 4), "PG");
}

// Ctrl+V in a cell being edited types the clipboard's text there without its line end: in a matrix
// Pin Name cell, in the Signal cell of a pin grid and in a signal grid's Pin Name cell.
TEST_F(GridKeys, CtrlVInACellBeingEditedTakesNoLineEnd) {
    ASSERT_TRUE(OpenBoard(3));
    Run("kx::pane CreateMatrixView V1 {U1 U2 PWR1 J1} {DQ<5..0> MCLK RESET_N PG EN}");
    Run("kx::select ccp 7 8; kx::key ccp Ctrl+C; kx::select ccp 14 8; kx::key ccp F2; kx::key ccp Ctrl+V");
    CGXControl* control = Ccp()->GetActiveGrid()->GetCurrentCellControl();
    ASSERT_TRUE(control && control->IsActive());
    CString text;
    control->GetCurrentText(text);
    EXPECT_EQ(std::string(text.GetString()), "DQ<3>");
    Run("kx::key ccp Escape");
    Run("kx::show clp U1; kx::select ccp 41 7; kx::key ccp Ctrl+C; kx::select ccp 40 7");
    Run("kx::key ccp F2; kx::key ccp Home; kx::key ccp End shift; kx::key ccp Ctrl+V");
    control = Ccp()->GetActiveGrid()->GetCurrentCellControl();
    ASSERT_TRUE(control && control->IsActive());
    control->GetCurrentText(text);
    EXPECT_EQ(std::string(text.GetString()), "PG");
    Run("kx::key ccp Escape");
    // The signal grid's Pin Name cell takes the copied pin name the same way.
    Run("kx::show slp PG; kx::select ccp 5 8; kx::key ccp Ctrl+C; kx::select ccp 7 8");
    Run("kx::key ccp F2; kx::key ccp Home; kx::key ccp End shift; kx::key ccp Ctrl+V");
    control = Ccp()->GetActiveGrid()->GetCurrentCellControl();
    ASSERT_TRUE(control && control->IsActive());
    control->GetCurrentText(text);
    EXPECT_EQ(std::string(text.GetString()), "PGOOD");
}

// A right click on a row of a grid already active makes that row current: the pop-up's Delete acts on
// it, not on the row clicked before.
TEST_F(GridKeys, ThePopUpMenuActsOnTheRowRightClicked) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    Run("kx::click ccp 40 7 right");
    Run("kx::answer menu * 35264");
    Run("kx::click ccp 41 7 right");
    const std::string netlist = Run("kx::netlist");
    EXPECT_NE(netlist.find("U1 MCLK "), std::string::npos);
    EXPECT_EQ(netlist.find("U1 PGOOD "), std::string::npos);
}

// In every grid kind a right click on a data cell outside the selection makes it current before the
// pop-up menu opens (dismissed here); on a cell inside the selection the selection and its cell stay.
TEST_F(GridKeys, ARightClickMakesTheClickedCellCurrentInEveryGridKind) {
    const std::vector<std::pair<int, std::string>> kinds = {
        {3, kShowU1},
        {3, "kx::show slp PG"},
        {3, "kx::pane CreateMatrixView V1 {U1 U2} {DQ<5..0> MCLK}"},
        {4, "kx::show clp RN1"},
        {4, "kx::show slp DQ<3>"}};
    for (const auto& [mode, setup] : kinds) {
        ASSERT_TRUE(OpenBoard(mode, setup)) << setup;
        CKXGridWnd* grid = Ccp()->GetActiveGrid();
        ASSERT_TRUE(grid) << setup;
        std::vector<ROWCOL> rows;
        for (ROWCOL r = grid->FirstDataRow(); r <= grid->GetRowCount() && rows.size() < 2; ++r)
            if (!grid->IsRowHidden(r)) rows.push_back(r);
        ASSERT_EQ(rows.size(), 2u) << setup;
        const std::string col = " " + std::to_string(grid->ShownColumnFor(grid->m_nFirstDataCol));
        const std::string first = std::to_string(rows[0]) + col, second = std::to_string(rows[1]) + col;
        Run("kx::select ccp " + first);
        EXPECT_EQ(Run("kx::click ccp " + second + " right"), "1");
        EXPECT_EQ(Cell(), second) << setup;
        Run("kx::select ccp " + first + " " + second);
        const std::string current = Cell();
        Run("kx::click ccp " + (current == first ? second : first) + " right");
        EXPECT_EQ(Cell(), current) << setup;
        EXPECT_TRUE(grid->IsRowInSelection(rows[0]) && grid->IsRowInSelection(rows[1])) << setup;
        Run("kx::answer question * no");
        Run("kx::close");
    }
}

// selectObject on a grid the user has not been in makes the keyed row current, as a click would: the
// keys and the attach bar act from there, and no echo names a row nobody chose.
TEST_F(GridKeys, SelectObjectMakesTheKeyedRowCurrent) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    EXPECT_EQ(Run("selectObject pin [list U1 PGOOD C10]"), "1");
    EXPECT_EQ(Cell().substr(0, 3), "41 ");
    Run("kx::key ccp Down");
    EXPECT_EQ(Cell().substr(0, 3), "42 ");
    Run("kx::close");
    Run("kx::answer question * no");
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    Echoes();
    EXPECT_EQ(Run("kx::word selectObject pin MCLK"), "1");
    EXPECT_EQ(Cell().substr(0, 3), "40 ");
    EXPECT_EQ(Run("kx::ccpbar type NEWNET"), "1");
    for (const std::string& echo : Echoes())
        EXPECT_EQ(echo.find("A<12..0>"), std::string::npos) << echo;
}

// A header click's sort is a step named Sort, whose undo puts the rows back as they were.
TEST_F(GridKeys, AHeaderSortIsANamedStepWhoseUndoPutsTheRowsBack) {
    ASSERT_TRUE(OpenBoard(3, "kx::show slp MCLK"));
    const std::string before = Run("kx::window ccp");
    Run("kx::click ccp 1 8");
    EXPECT_NE(Run("kx::window ccp"), before);
    EXPECT_EQ(Run("kx::history"), "window 1\nundo Sort");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::window ccp"), before);
}

} // namespace
