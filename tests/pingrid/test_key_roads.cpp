// The user's keys and the Attach Signal combo on the pin grids of the example board, through the host:
// each key acts where the user was and only over cells the user sees, answers as the work it did, and
// the combo's two hands (a row of its list, a text typed and Enter) connect as the user meant.
#include "PinGridBoardFixture.h"

#include <gtest/gtest.h>

namespace {

using G = CKXInstanceDetailsGridWnd;

class KeyRoads : public PinGridBoard {
protected:
    std::string Cell() { return Run("kx::grid ccp cell"); }
    std::string At(ROWCOL row, int col) { return std::to_string(row) + " " + std::to_string(col); }
    bool Connected(const std::string& line) { return Run("kx::netlist").find(line) != std::string::npos; }
    // The requests the editor sent the host since the transcript held `from` characters.
    int RequestsSince(size_t from, const std::string& word) {
        const std::string text = Transcript().substr(from);
        int count = 0;
        for (size_t at = text.find("request: " + word); at != std::string::npos;
             at = text.find("request: " + word, at + 1))
            ++count;
        return count;
    }
};

TEST_F(KeyRoads, KeysAfterACopyActWhereTheUserWas) {
    OpenBoard("U1", 3);
    const ROWCOL mclk = PinRow("MCLK");
    const std::string signal = std::to_string(G::m_nColSignal);
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(mclk) + " " + signal), "1");
    EXPECT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    EXPECT_EQ(Cell(), At(mclk, G::m_nColSignal)) << "the copy keeps the current cell";
    EXPECT_EQ(Run("kx::key ccp Down"), "1");
    EXPECT_EQ(Cell(), At(mclk + 1, G::m_nColSignal));
    EXPECT_EQ(Run("kx::key ccp Up"), "1");
    Echoes();
    EXPECT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    bool copied = false;
    for (const std::string& echo : Echoes())
        if (echo.find("copy pin [list U1 MCLK") != std::string::npos) copied = true;
    EXPECT_TRUE(copied) << "a second Ctrl+C copies again";
    ASSERT_TRUE(Connected("U1 MCLK MCLK"));
    EXPECT_EQ(Run("kx::key ccp Delete"), "1");
    EXPECT_FALSE(Connected("U1 MCLK MCLK")) << "Delete takes off the pin the user was on";
}

TEST_F(KeyRoads, KeysMoveOnlyOverTheColumnsTheUserSees) {
    OpenBoard("U1", 3);
    CKXInstanceDetailsGridWnd* grid = Grid();
    const ROWCOL first = grid->GetFirstVisibleColumn(), last = grid->GetLastVisibleColumn();
    ASSERT_GT(first, 1u) << "the Instance column is kept but not shown";
    Run("kx::select ccp 6 " + std::to_string(first));
    // Shift+Tab from the first data cell goes round to the grid's last shown cell.
    EXPECT_EQ(Run("kx::key ccp Shift+Tab"), "1");
    ROWCOL lastRow = grid->GetRowCount();
    while (grid->IsRowHidden(lastRow))
        --lastRow; // the bits of a folded bus
    EXPECT_EQ(Cell(), At(static_cast<int>(lastRow), static_cast<int>(last)));
    Run("kx::select ccp 6 " + std::to_string(first));
    Run("kx::key ccp Left");
    EXPECT_EQ(Cell(), At(6, static_cast<int>(first)));
    Run("kx::select ccp 6 " + std::to_string(last));
    Run("kx::key ccp Home");
    EXPECT_EQ(Cell(), At(6, static_cast<int>(first)));

    // Side by side: Tab from the last shown column goes on in the next grid's first shown cell, and
    // Shift+Tab from there back to the grid before, which keeps a current cell.
    Run("kx::show clp R1 R2");
    CKXInstanceDetailsGridWnd* r1 = Grid();
    const ROWCOL r1Last = r1->GetLastVisibleColumn();
    Run("kx::select ccp 6 " + std::to_string(r1Last));
    EXPECT_EQ(Run("kx::key ccp Tab"), "1");
    ASSERT_NE(Grid(), r1);
    EXPECT_EQ(Cell(), At(6, static_cast<int>(Grid()->GetFirstVisibleColumn())));
    Run("kx::key ccp Shift+Tab");
    ASSERT_EQ(Grid(), r1);
    EXPECT_EQ(Cell(), At(6, static_cast<int>(r1Last)));
    Run("kx::key ccp Right");
    Run("kx::key ccp Left");
    ASSERT_EQ(Grid(), r1);
    EXPECT_EQ(Cell(), At(6, static_cast<int>(r1Last))) << "Left into the grid before leaves a current cell";
}

TEST_F(KeyRoads, ACopyWithoutAUserCellTakesNoHiddenCell) {
    OpenBoard("U1", 3);
    ASSERT_EQ(Cell(), "");
    Run("kx::key ccp Ctrl+C");
    for (const std::string& echo : Echoes()) EXPECT_EQ(echo.find("\"Instance\""), std::string::npos) << echo;
    const std::string cell = Cell();
    if (!cell.empty()) {
        const int col = std::atoi(cell.substr(cell.find(' ') + 1).c_str());
        EXPECT_TRUE(Grid()->IsColumnShown(static_cast<ROWCOL>(col))) << cell;
    }
    // A paste afterwards brings no instance name onto a pin's Signal cell.
    Run("kx::select ccp " + std::to_string(PinRow("PGOOD")) + " " + std::to_string(G::m_nColSignal));
    Run("paste pin");
    EXPECT_TRUE(Connected("U1 PGOOD PG"));
    EXPECT_FALSE(Connected("U1 PGOOD U1"));
}

TEST_F(KeyRoads, DeleteSendsOneCommandAndAnswersItsWork) {
    OpenBoard("R1 R2", 3);
    ASSERT_TRUE(Connected("R1 B EN"));
    ASSERT_TRUE(Connected("R2 B PG"));
    ASSERT_EQ(Run("kx::word selectObject pin B:2"), "1");
    Run("kx::select ccp 7 " + std::to_string(G::m_nColSignal));
    const size_t from = Transcript().size();
    EXPECT_EQ(Run("kx::key ccp Delete"), "1");
    EXPECT_EQ(RequestsSince(from, "deleteConnection"), 1) << Transcript().substr(from);
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(Connected("R1 B EN"));
    EXPECT_FALSE(Connected("R2 B PG"));

    // Delete on a column it takes nothing off answers 0 and says so.
    Run("kx::show clp U1");
    const std::string netlist = Run("kx::netlist");
    Run("kx::select ccp " + std::to_string(PinRow("PGOOD")) + " " + std::to_string(G::m_nColPinName));
    Messages();
    EXPECT_EQ(Run("kx::key ccp Delete"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-480"});
    EXPECT_EQ(Run("kx::netlist"), netlist);
}

TEST_F(KeyRoads, KeysAfterASelectionByKeyActOnTheKeyedPin) {
    OpenBoard("U1", 3);
    ASSERT_EQ(Run("kx::word selectObject pin PGOOD"), "1");
    const std::string cell = Cell();
    if (!cell.empty()) {
        const int col = std::atoi(cell.substr(cell.find(' ') + 1).c_str());
        EXPECT_TRUE(Grid()->IsColumnShown(static_cast<ROWCOL>(col))) << cell;
    }
    ASSERT_TRUE(Connected("U1 PGOOD PG"));
    EXPECT_EQ(Run("kx::key ccp Delete"), "1");
    EXPECT_FALSE(Connected("U1 PGOOD PG"));
    EXPECT_EQ(Run("undo"), "1");

    // The same key that selectObject takes names the pin of the view switch.
    Messages();
    EXPECT_EQ(Run("kx::word editPhysicalPin pin PGOOD -nosave"), "1") << Transcript();
    EXPECT_TRUE(Messages().empty());
}

TEST_F(KeyRoads, TheInstanceDialogRefusesACounterOutOfRangeWithItsMessage) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    EXPECT_EQ(Run("kx::instconn R1 -1"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-281"});
}

TEST_F(KeyRoads, APullUpWithoutItsNetIsRefusedWhereItIsPrepared) {
    OpenBoard("U1", 3);
    const std::string netlist = Run("kx::netlist");
    Run("kx::select ccp " + std::to_string(PinRow("MCLK")) + " " + std::to_string(G::m_nColPupd));
    Run("kx::pane InitPUPD pullup");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-217"});
    EXPECT_EQ(Run("kx::pane AddPUPD"), "0");
    EXPECT_FALSE(Messages().empty()) << "AddPUPD says why it added nothing";
    EXPECT_EQ(Run("kx::netlist"), netlist);

    Run("kx::pane InitPUPD {pullup VCC3V3}");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Run("kx::pane AddPUPD"), "1");
    EXPECT_NE(Run("kx::window ccp").find("Pullup"), std::string::npos);
}

TEST_F(KeyRoads, TheAttachSignalComboTakesARowOfItsListAndATypedText) {
    OpenBoard("U1", 3);
    const ROWCOL pgood = PinRow("PGOOD");
    Run("kx::select ccp " + std::to_string(pgood) + " " + std::to_string(G::m_nColSignal));
    // A row of the list: the net EN.
    const std::string list = Run("kx::ccpbar list");
    const size_t en = list.find(": EN\n");
    ASSERT_NE(en, std::string::npos) << list;
    const std::string row = list.substr(list.rfind('\n', en) + 1, en - list.rfind('\n', en) - 1);
    EXPECT_EQ(Run("kx::ccpbar choose " + row), "1");
    EXPECT_TRUE(Connected("U1 PGOOD EN"));

    // A text typed and Enter: a plain name, and a rule, echoed with the pins it named.
    EXPECT_EQ(Run("kx::ccpbar type MCLK"), "1");
    EXPECT_TRUE(Connected("U1 PGOOD MCLK"));
    Echoes();
    EXPECT_EQ(Run("kx::ccpbar type =pinname"), "1");
    EXPECT_TRUE(Connected("U1 PGOOD PGOOD"));
    bool echoed = false;
    for (const std::string& echo : Echoes())
        if (echo.rfind("addConnection pin =pinname [list U1 PGOOD", 0) == 0) echoed = true;
    EXPECT_TRUE(echoed);
    // Typed again, the rule changes nothing and says so.
    EXPECT_EQ(Run("kx::ccpbar type =pinname"), "0");
    EXPECT_FALSE(Messages().empty());
    EXPECT_EQ(Run("kx::ccpbar type {}"), "0");
}

TEST_F(KeyRoads, APinTypedIntoAGroupRowWithoutBitsIsRefused) {
    ASSERT_TRUE(Open("demo.board:sch", 3));
    ASSERT_EQ(Run("kx::show slp DQ ADDR"), "1");
    ASSERT_EQ(Run("kx::drop ccp 7 6 component J1"), "1");
    const std::string window = Run("kx::window ccp");
    const size_t at = window.rfind("\n    ");
    ASSERT_NE(window.find("| J1 |", at), std::string::npos) << window;
    const std::string row = window.substr(at + 5, window.find(':', at) - at - 5);
    ASSERT_EQ(Run("kx::edit ccp " + row + " 1 DQ"), "1");
    Messages();
    const std::string netlist = Run("kx::netlist");
    EXPECT_EQ(Run("kx::edit ccp " + row + " 9 1"), "0") << "the group's row names no bits of DQ";
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-146"});
    EXPECT_EQ(Run("kx::netlist"), netlist);
}

} // namespace
