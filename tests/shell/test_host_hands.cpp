// The host's hands on the design window: list selections, the grids' cells, keys, clicks and
// drops, driven through kxhost's commands as a script drives them; and the rule that the host
// runs what it is asked to run and only records what the editor echoes.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableDoc.h"
#include "grid/KXGridIds.h"
#include "kxinstsigpane/KXListPanes.h"

#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/DesignBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    size_t start = line.find(": ");
    if (start == std::string::npos) return cells;
    start += 2;
    for (;;) {
        const size_t bar = line.find(" | ", start);
        cells.push_back(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 3;
    }
    return cells;
}

class HostHands : public KXShellFixture {
protected:
    // The connectivity pane as kx::window shows it: row number -> (grid column -> cell text).
    using Row = std::map<int, std::string>;
    std::map<int, Row> GridRows(int grid = 1) {
        std::map<int, Row> rows;
        int current = 0;
        std::vector<int> columns;
        for (const std::string& line : Lines(Run("kx::window ccp"))) {
            if (line.rfind("  grid ", 0) == 0) {
                current = std::atoi(line.c_str() + 7);
                columns.clear();
                std::istringstream in(line.substr(line.find(", columns") + 9));
                for (int c; in >> c;)
                    columns.push_back(c);
                continue;
            }
            if (current != grid || line.rfind("    ", 0) != 0) continue;
            const std::vector<std::string> cells = Cells(line);
            Row& row = rows[std::atoi(line.c_str() + 4)];
            for (size_t i = 0; i < cells.size() && i < columns.size(); ++i)
                row[columns[i]] = cells[i];
        }
        return rows;
    }
    // The grid column whose caption is the text.
    int Column(const std::string& caption) {
        for (const auto& [row, cells] : GridRows())
            for (const auto& [col, text] : cells)
                if (text == caption) return col;
        return 0;
    }
    // The row whose PIN_NAME cell shows the pin.
    int PinRow(const std::string& pin) {
        const int col = Column("Pin Name");
        for (const auto& [row, cells] : GridRows())
            if (auto it = cells.find(col); it != cells.end() && it->second == pin) return row;
        return 0;
    }
    std::string Cell(int row, const std::string& caption) {
        const auto rows = GridRows();
        auto it = rows.find(row);
        if (it == rows.end()) return "<none>";
        auto cell = it->second.find(Column(caption));
        return cell == it->second.end() ? "<none>" : cell->second;
    }
    std::string At(int row, int col) { return std::to_string(row) + " " + std::to_string(col); }
    bool Failed(const std::string& result) { return result.rfind("error:", 0) == 0; }
};

TEST_F(HostHands, TheWindowNamesCaptionsAndTheFirstDataRow) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::show clp U1"), "1");
    const std::string text = Run("kx::window ccp");
    EXPECT_NE(text.find("grid 1 (active): component \"U1\", first data row 6, columns"), std::string::npos) << text;
    EXPECT_EQ(text.find("#BMP("), std::string::npos) << text;
    EXPECT_GT(Column("Comments"), 0) << text;
    EXPECT_GE(PinRow("OUT"), 6) << text;
    EXPECT_EQ(Run("kx::grid ccp"), "component U1");
}

// The filter row takes typing: Enter stores the pattern and shows only the rows it matches; "*"
// shows them all again.
TEST_F(HostHands, TypingIntoTheFilterRowFiltersTheRows) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    const int col = Column("Pin Name");
    ASSERT_GT(PinRow("IN"), 0);
    EXPECT_EQ(Run("kx::edit ccp 4 " + std::to_string(col) + " OUT"), "1");
    EXPECT_EQ(Cell(4, "Pin Name"), "OUT");
    CKXGridWnd* grid = Ccp()->GetActiveGrid();
    ASSERT_TRUE(grid && grid->GetCurrentCellControl());
    EXPECT_FALSE(grid->GetCurrentCellControl()->IsActive()); // Enter ended the edit
    EXPECT_GT(PinRow("OUT"), 0);
    EXPECT_EQ(PinRow("IN"), 0) << Run("kx::window ccp");
    EXPECT_EQ(Run("kx::edit ccp 4 " + std::to_string(col) + " *"), "1");
    EXPECT_GT(PinRow("IN"), 0);
}

// The comment cell is no text cell: typing into it is refused and stores nothing. A comment is
// written through the pin menu (right-click) and its dialog, stored, shown and undoable.
TEST_F(HostHands, ACommentIsWrittenThroughThePinMenuNotByTyping) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    const int row = PinRow("OUT"), col = Column("Comments");
    ASSERT_GT(row, 0);
    EXPECT_EQ(Run("kx::edit ccp " + At(row, col) + " lost"), "0");
    EXPECT_FALSE(Doc()->IsModified());

    Run("kx::select ccp " + At(row, col));
    Run("kx::answer menu * 35555");
    Run("kx::answer dialog CKXCommentsDlg ok text {check the level}");
    EXPECT_EQ(Run("kx::click ccp " + At(row, col) + " right"), "1");
    EXPECT_TRUE(Doc()->IsModified());
    CKXGridWnd* grid = Ccp()->GetActiveGrid();
    ASSERT_TRUE(grid);
    CGXStyle cell;
    grid->GetStyleRowCol(static_cast<ROWCOL>(row), static_cast<ROWCOL>(col), cell);
    EXPECT_EQ(cell.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)), "check the level");
    EXPECT_EQ(Run("kx::key ccp Ctrl+Z"), "1");
    grid->GetStyleRowCol(static_cast<ROWCOL>(row), static_cast<ROWCOL>(col), cell);
    EXPECT_EQ(cell.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)), "");
}

TEST_F(HostHands, ACellThatTakesNoTypingRefusesAndKeepsItsText) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    const int row = PinRow("OUT"), col = Column("Pin Name");
    ASSERT_GT(row, 0);
    const std::string netlist = Run("kx::netlist");
    EXPECT_EQ(Run("kx::edit ccp " + At(row, col) + " RENAMED"), "0");
    EXPECT_NE(Transcript().find("edit refused: cell " + std::to_string(row) + "," + std::to_string(col)),
              std::string::npos);
    EXPECT_EQ(Cell(row, "Pin Name"), "OUT");
    EXPECT_EQ(Run("kx::netlist"), netlist);
    // The refused edit left no open edit behind: the next one goes through.
    EXPECT_EQ(Run("kx::edit ccp 4 " + std::to_string(col) + " OUT"), "1");
}

// Typing a signal name connects the pin; a text the grid does not take changes nothing. The pin
// grid's signal validation is not built yet: today the cell stores the text and connects nothing.
TEST_F(HostHands, TypingASignalNameConnectsThePin) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    const int row = PinRow("IN");
    ASSERT_GT(row, 0);
    const std::string before = Run("kx::netlist");
    EXPECT_EQ(Run("kx::edit ccp " + At(row, Column("Signal")) + " N1"), "1");
    EXPECT_NE(Run("kx::netlist").find("U1 IN N1"), std::string::npos) << Run("kx::netlist");
    EXPECT_EQ(Cell(row, "Signal"), "N1");
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Run("kx::key ccp Ctrl+Z"), "1");
    EXPECT_EQ(Run("kx::netlist"), before);
    EXPECT_EQ(Cell(row, "Signal"), "");
}

TEST_F(HostHands, SelectKeysAndClicksReachTheActiveGrid) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    const int row = PinRow("OUT"), col = Column("Comments");
    EXPECT_EQ(Run("kx::select ccp " + At(row, col)), "1");
    CKXGridWnd* grid = Ccp()->GetActiveGrid();
    ASSERT_TRUE(grid);
    EXPECT_TRUE(grid->IsCurrentCell(static_cast<ROWCOL>(row), static_cast<ROWCOL>(col)));
    EXPECT_TRUE(grid->IsCellSelected(static_cast<ROWCOL>(row), static_cast<ROWCOL>(col)));
    // A range over two columns is against the grid's rule: refused, the cell stays current.
    EXPECT_EQ(Run("kx::select ccp " + At(row, col - 1) + " " + At(row, col)), "0");
    EXPECT_TRUE(grid->IsCurrentCell(static_cast<ROWCOL>(row), static_cast<ROWCOL>(col - 1)));

    // Keys move the current cell as on screen.
    Run("kx::select ccp " + At(row, col));
    EXPECT_EQ(Run("kx::key ccp Up"), "1");
    EXPECT_TRUE(grid->IsCurrentCell(static_cast<ROWCOL>(PinRow("IN") < row ? row - 1 : row - 1),
                                    static_cast<ROWCOL>(col)));
    EXPECT_EQ(Run("kx::key ccp Home ctrl"), "1");
    ROWCOL r = 0, c = 0;
    ASSERT_TRUE(grid->GetCurrentCell(r, c));
    EXPECT_EQ(r, 6u); // never onto a header row

    // The comment cell takes no typing: F2 starts no editor there. F4 hands the focus to the
    // component list and changes nothing in the design.
    Run("kx::select ccp " + At(row, col));
    EXPECT_EQ(Run("kx::key ccp F2"), "1");
    EXPECT_FALSE(grid->GetCurrentCellControl() && grid->GetCurrentCellControl()->IsActive());
    const std::string netlist = Run("kx::netlist");
    auto* components = dynamic_cast<CKXListPaneView*>(Ccp()->GetInstancePaneInterface());
    ASSERT_TRUE(components && components->GetActiveList());
    components->GetActiveList()->ClearCalls();
    EXPECT_EQ(Run("kx::key ccp F4"), "1");
    EXPECT_EQ(Run("kx::netlist"), netlist);
    const auto& calls = components->GetActiveList()->GetCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), CString("ActivateGridWnd()")), calls.end());

    // A click makes the cell current; a double-click on a comment cell asks for the comment.
    EXPECT_EQ(Run("kx::click ccp " + At(PinRow("IN"), col)), "1");
    EXPECT_TRUE(grid->IsCurrentCell(static_cast<ROWCOL>(PinRow("IN")), static_cast<ROWCOL>(col)));
    Run("kx::answer dialog CKXCommentsDlg cancel");
    EXPECT_EQ(Run("kx::click ccp " + At(row, col) + " double"), "1");
    EXPECT_FALSE(Doc()->IsModified());
    // A cell without a button says so.
    EXPECT_TRUE(Failed(Run("kx::click ccp " + At(row, Column("Pin Type")) + " button")));
}

TEST_F(HostHands, TheExpandButtonOfABusRowAsksTheHostOnce) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    const int row = PinRow("D<3..0>");
    ASSERT_GT(row, 0) << Run("kx::window ccp");
    EXPECT_EQ(PinRow("D<2>"), 0);
    Run("kx::select ccp " + At(row, Column("Pin Name"))); // the hands are in the pane already
    Echoes();
    EXPECT_EQ(Run("kx::click ccp " + At(row, Column("Pin Name")) + " button"), "1");
    // The click gives the grid the hands: it tells the host its selected pin, then asks for the expand.
    const std::string selected = "selectObject pin [list U1 D<3..0> ,,,]";
    EXPECT_EQ(Echoes(), (std::vector<std::string>{selected, "expandPins pin -selection on"}));
    EXPECT_GT(PinRow("D<2>"), row);
    EXPECT_EQ(Run("kx::click ccp " + At(row, Column("Pin Name")) + " button"), "1");
    EXPECT_EQ(Echoes(), (std::vector<std::string>{selected, "expandPins pin -selection off"}));
    EXPECT_EQ(PinRow("D<2>"), 0);
}

TEST_F(HostHands, DeleteOnASignalCellDisconnectsThePinOnce) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    const int row = PinRow("OUT");
    ASSERT_NE(Run("kx::netlist").find("U1 OUT N1"), std::string::npos);
    // On a comment cell Delete names no delete command: nothing changes, and the key answers so.
    Run("kx::select ccp " + At(row, Column("Comments")));
    const std::string netlist = Run("kx::netlist");
    Messages();
    EXPECT_EQ(Run("kx::key ccp Delete"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-480"});
    EXPECT_EQ(Run("kx::netlist"), netlist);
    // On the signal cell the pane asks the host to run the grid's delete command, once.
    Run("kx::select ccp " + At(row, Column("Signal")));
    Echoes();
    EXPECT_EQ(Run("kx::key ccp Delete"), "1");
    const auto echoes = Echoes();
    // The command names the pin (here one without a package number: by its name), so that run again it
    // takes the same one.
    EXPECT_EQ(std::count(echoes.begin(), echoes.end(), "deleteConnection pin OUT"), 1)
        << ::testing::PrintToString(echoes);
    EXPECT_EQ(Run("kx::netlist").find("U1 OUT N1"), std::string::npos);
    EXPECT_NE(Run("kx::netlist").find("R1 A N1"), std::string::npos);
    EXPECT_EQ(Run("kx::key ccp Ctrl+Z"), "1");
    EXPECT_NE(Run("kx::netlist").find("U1 OUT N1"), std::string::npos);
}

TEST_F(HostHands, ARightClickMenuChoiceRunsItsCommand) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    const int pinType = Column("Pin Type"), signal = Column("Signal");
    ASSERT_GT(pinType, 0);
    // The caption row's column chooser: choosing "Pin Type" hides that column.
    Run("kx::answer menu * " + std::to_string(2024 + pinType - 1));
    EXPECT_EQ(Run("kx::click ccp 2 " + std::to_string(signal) + " right"), "1");
    EXPECT_TRUE(Failed(Run("kx::select ccp " + At(PinRow("OUT"), pinType))));
    EXPECT_NE(Run("kx::select ccp " + At(PinRow("OUT"), pinType)).find("hidden"), std::string::npos);
    // Chosen again it comes back.
    Run("kx::answer menu * " + std::to_string(2024 + pinType - 1));
    Run("kx::click ccp 2 " + std::to_string(signal) + " right");
    EXPECT_EQ(Run("kx::select ccp " + At(PinRow("OUT"), pinType)), "1");
}

// A signal dragged onto a pin row connects the pin; dropped on a caption it is refused and
// changes nothing.
TEST_F(HostHands, ADroppedSignalConnectsThePinRowItFallsOn) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    const int row = PinRow("IN");
    const std::string netlist = Run("kx::netlist");
    EXPECT_EQ(Run("kx::drop ccp 2 " + std::to_string(Column("Signal")) + " signal N1"), "0");
    EXPECT_NE(Transcript().find("drop refused by the grid"), std::string::npos);
    EXPECT_EQ(Run("kx::netlist"), netlist);
    EXPECT_EQ(Run("kx::drop ccp " + At(row, Column("Signal")) + " signal N1"), "1");
    EXPECT_NE(Run("kx::netlist").find("U1 IN N1"), std::string::npos);
    EXPECT_EQ(Cell(row, "Signal"), "N1");
}

TEST_F(HostHands, SeveralObjectsShownSideBySideAndTheActiveGrid) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::show clp U1 R1"), "1");
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u);
    // In the list's order: R1 first.
    EXPECT_EQ(Run("kx::grid ccp"), "component R1");
    EXPECT_EQ(Run("kx::grid ccp 2"), "1");
    EXPECT_EQ(Run("kx::grid ccp"), "component U1");
    EXPECT_EQ(Ccp()->GetActiveGrid(), Ccp()->GetShownGrids()[1]);
    const std::string text = Run("kx::window ccp");
    EXPECT_NE(text.find("grid 2 (active): component \"U1\""), std::string::npos) << text;
    // The hands are on U1's grid: its rows end where U1's pins end.
    const auto rows = GridRows(2);
    ASSERT_FALSE(rows.empty());
    const int last = rows.rbegin()->first;
    EXPECT_EQ(Run("kx::select ccp " + At(last, 4)), "1");
    EXPECT_TRUE(Failed(Run("kx::select ccp " + At(last + 5, 4))));
    EXPECT_TRUE(Ccp()->GetShownGrids()[1]->IsCurrentCell(static_cast<ROWCOL>(last), 4));
}

TEST_F(HostHands, ShowingNetsAndBusBits) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::show slp N1 GND"), "1");
    EXPECT_EQ(Ccp()->GetLastKind(), 1);
    EXPECT_EQ(Ccp()->GetShownObjects().size(), 2u);
    EXPECT_EQ(Run("kx::show slp DATA<2> N1"), "1");
    const auto& shown = Ccp()->GetShownObjects();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(std::string(shown[0]).find("DATA<2>"), std::string::npos) << std::string(shown[0]);
    EXPECT_TRUE(Failed(Run("kx::show slp DATA<9>")));
    EXPECT_TRUE(Failed(Run("kx::show slp NOPE")));
    EXPECT_TRUE(Failed(Run("kx::select slp DATA<2>"))); // a bit is no row of the list
}

TEST_F(HostHands, BadInputIsAClearError) {
    EXPECT_EQ(Run("kx::select ccp 6 1"), "error: no design window is open");
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::key ccp Delete"), "error: the connectivity pane shows no grid");
    EXPECT_EQ(Run("kx::grid ccp 1"), "error: no grid \"1\": the pane shows 0 grid(s)");
    Run("kx::show clp U1");
    for (const char* bad : {"kx::select ccp 999 1", "kx::select ccp 6 99", "kx::select ccp x 1", "kx::select ccp -1 1",
                            "kx::edit ccp 6 1", "kx::edit clp 6 1 text", "kx::key ccp Bogus", "kx::key ccp C hyper",
                            "kx::click ccp 6 1 middle", "kx::drop ccp 6 1 net N1", "kx::drop ccp 6 1 signal N1 GND",
                            "kx::grid ccp 0", "kx::grid ccp 2", "kx::pane NoSuchMethod", "kx::window nowhere"}) {
        const std::string r = Run(bad);
        EXPECT_TRUE(Failed(r)) << bad << " -> " << r;
    }
    EXPECT_NE(Run("kx::select ccp 999 1").find("no cell 999,1"), std::string::npos);
    EXPECT_NE(Run("kx::key ccp Bogus").find("unknown key \"Bogus\""), std::string::npos);
}

TEST_F(HostHands, PaneAutomationMethodsAreReached) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    EXPECT_EQ(Run("kx::pane Dump pane.dump"), "1");
    EXPECT_TRUE(std::filesystem::exists(m_dir / "pane.dump"));
    EXPECT_EQ(Run("kx::pane ccp CtrSelectPinNameCol OUT"), "1");
    ROWCOL r = 0, c = 0;
    ASSERT_TRUE(Ccp()->GetActiveGrid()->GetCurrentCell(r, c));
    EXPECT_EQ(static_cast<int>(r), PinRow("OUT"));
}

// ------------------------------------------------------------------ echoes and requests

TEST_F(HostHands, AClosingWindowIsClosedOnceAndItsEchoOnlyRecorded) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(Open("work.blk:sch", 1));
    ClearNotifications();
    Echoes();
    EXPECT_EQ(Run("kx::close"), "1");
    EXPECT_EQ(Notifications(MSG_DESIGN_CLOSED).size(), 1u);
    EXPECT_EQ(m_app->Documents().size(), 1u);
    const auto echoes = Echoes();
    EXPECT_EQ(std::count(echoes.begin(), echoes.end(), "closeDesign -nosave"), 1);
    EXPECT_NE(Transcript().find("echo: closeDesign -nosave"), std::string::npos);
    EXPECT_EQ(Transcript().find("request: closeDesign"), std::string::npos);
}

TEST_F(HostHands, AnAttachIsMadeOnceAndItsEchoOnlyRecorded) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    const int row = PinRow("IN");
    ASSERT_GT(row, 0);
    ASSERT_EQ(Run("kx::select ccp " + At(row, Column("Pin Name"))), "1");
    Echoes();
    const auto countIn = [this] {
        const std::string n = Run("kx::netlist");
        size_t count = 0;
        for (size_t at = n.find("U1 IN "); at != std::string::npos; at = n.find("U1 IN ", at + 1))
            ++count;
        return count;
    };
    EXPECT_EQ(countIn(), 0u);
    EXPECT_EQ(Run("kx::menu 35255"), "1"); // Auto Name
    EXPECT_EQ(countIn(), 1u);
    const auto echoes = Echoes();
    const auto attach = std::count_if(echoes.begin(), echoes.end(),
                                      [](const std::string& e) { return e.rfind("addConnection", 0) == 0; });
    EXPECT_EQ(attach, 1) << ::testing::PrintToString(echoes);
    EXPECT_EQ(Transcript().find("request: addConnection"), std::string::npos);
    // Ctrl+Z asks the host to run "undo" once: the one connection goes, and Ctrl+Y brings it back.
    EXPECT_EQ(Run("kx::key ccp Ctrl+Z"), "1");
    EXPECT_EQ(countIn(), 0u);
    EXPECT_EQ(Echoes(), (std::vector<std::string>{"undo"}));
    EXPECT_EQ(Run("kx::key ccp y ctrl"), "1");
    EXPECT_EQ(countIn(), 1u);
    EXPECT_EQ(Echoes(), (std::vector<std::string>{"redo"}));
}

TEST_F(HostHands, AnAcceleratorOfADisabledCommandDoesNothing) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Run("kx::select ccp " + At(PinRow("OUT"), Column("Signal")));
    Echoes();
    // Nothing was copied: Paste is disabled, so Ctrl+V asks the host for nothing.
    EXPECT_EQ(Run("kx::key ccp Ctrl+V"), "0");
    EXPECT_TRUE(Echoes().empty());
}

TEST_F(HostHands, TheActivationEchoIsRecordedNotRunBack) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Run("kx::select clp R1");
    Echoes();
    Run("kx::select ccp 6 4"); // the hands move into the pane: it becomes the active view
    const auto echoes = Echoes();
    EXPECT_EQ(std::count(echoes.begin(), echoes.end(), "selectWindow ccp"), 1);
    EXPECT_EQ(Transcript().find("request: selectWindow ccp\n"), std::string::npos);
}

} // namespace

namespace {

// The Attach Signal rules act on the pins the user selected: a shown grid with no selected row and
// no current cell takes nothing, however the request reached the pane.
class AttachNothingSelected : public HostHands {
protected:
    // U1 and R1 side by side, neither with a selection or a current cell.
    void ShowBothCleared() {
        ASSERT_TRUE(Open());
        ASSERT_EQ(Run("kx::show clp U1 R1"), "1");
        for (CKXGridWnd* grid : Ccp()->GetShownGrids()) {
            grid->SetSelection(0);
            grid->SetCurrentCell(GX_INVALID, GX_INVALID);
            ASSERT_FALSE(grid->GetCurrentCell(nullptr, nullptr));
        }
        Run("kx::messages");
    }
};

TEST_F(AttachNothingSelected, ARuleByAutomationIsRefusedAndChangesNothing) {
    ShowBothCleared();
    const std::string netlist = Run("kx::netlist");
    EXPECT_EQ(Run("kx::pane AttachSignal PINNAME"), "0");
    EXPECT_EQ(Run("kx::netlist"), netlist);
    EXPECT_NE(Run("kx::messages"), "") << "the refusal says why";
    EXPECT_EQ(Run("undo"), "0") << "no step was recorded";
}

TEST_F(AttachNothingSelected, ASelectedRowStillTakesTheRule) {
    ShowBothCleared();
    const std::string netlist = Run("kx::netlist");
    ASSERT_EQ(Run("kx::grid ccp 2"), "1");
    Run("selectObject pin OUT");
    EXPECT_EQ(Run("kx::pane AttachSignal PINNAME"), "1") << Run("kx::messages");
    const std::string after = Run("kx::netlist");
    EXPECT_NE(after.find("U1 OUT OUT"), std::string::npos) << after;
    EXPECT_NE(after.find("U1 D<0> DATA<0>"), std::string::npos) << "the unselected rows keep their nets: " << after;
    EXPECT_NE(after.find("R1 A N1"), std::string::npos) << "the grid left without a selection keeps its nets: " << after;
}

} // namespace

// ------------------------------------------------------------------ keys while a cell is being edited

namespace {

// While a Signal cell is being edited the keys are its spin control's: Up and Down step a bit number
// or take the neighbouring signal of the list; the cell stays current until Enter.
class SpinKeys : public HostHands {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        HostHands::BuildDesign(b);
        b.schematic("board").net("DQ", 7, 0).net("MCLK").net("PG");
    }
    void SetUp() override {
        HostHands::SetUp();
        ASSERT_TRUE(Open());
        ASSERT_EQ(Run("kx::show clp R1"), "1");
        m_row = PinRow("A");
        m_col = Column("Signal");
        ASSERT_GT(m_row, 0);
    }
    // Connects R1.A to the signal, then edits its cell again and presses the keys, then Enter: the
    // signal R1.A is on afterwards.
    std::string Step(const std::string& from, const std::vector<std::string>& keys) {
        // Typing the name the cell shows already is no edit (0); either way the pin is on it then.
        Run("kx::edit ccp " + At(m_row, m_col) + " {" + from + "}");
        std::string angled = from; // the design writes bits in angle brackets
        std::replace(angled.begin(), angled.end(), '[', '<');
        std::replace(angled.begin(), angled.end(), ']', '>');
        EXPECT_EQ(Signal(), angled);
        Run("kx::select ccp " + At(m_row, m_col));
        EXPECT_EQ(Run("kx::key ccp F2"), "1");
        CKXGridWnd* grid = Ccp()->GetActiveGrid();
        for (const std::string& key : keys) {
            EXPECT_EQ(Run("kx::key ccp " + key), "1");
            EXPECT_TRUE(grid->IsCurrentCell(static_cast<ROWCOL>(m_row), static_cast<ROWCOL>(m_col))) << key;
            EXPECT_TRUE(grid->GetCurrentCellControl() && grid->GetCurrentCellControl()->IsActive()) << key;
        }
        EXPECT_EQ(Run("kx::key ccp Enter"), "1");
        return Signal();
    }
    std::string Signal() {
        for (const std::string& line : Lines(Run("kx::netlist")))
            if (line.rfind("R1 A ", 0) == 0) return line.substr(5);
        return "<open>";
    }
    int m_row = 0, m_col = 0;
};

TEST_F(SpinKeys, UpAndDownStepTheBitNumberAndWrapAtTheVectorsEnds) {
    EXPECT_EQ(Step("DQ<3>", {"Up"}), "DQ<4>");
    EXPECT_EQ(Step("DQ<3>", {"Up", "Up", "Down", "Up"}), "DQ<5>");
    EXPECT_EQ(Step("DQ<7>", {"Up"}), "DQ<0>");
    EXPECT_EQ(Step("DQ<0>", {"Down"}), "DQ<7>");
    // Keys the control does not take are the grid's: Escape drops the stepped text.
    Step("DQ<2>", {});
    Run("kx::select ccp " + At(m_row, m_col));
    Run("kx::key ccp F2");
    Run("kx::key ccp Up");
    EXPECT_EQ(Run("kx::key ccp Escape"), "1");
    EXPECT_FALSE(Ccp()->GetActiveGrid()->GetCurrentCellControl()->IsActive());
    EXPECT_EQ(Signal(), "DQ<2>");
}

// With the host's square brackets the user types DQ[6]; the keys step its number the same way.
TEST_F(SpinKeys, SquareBracketsStepTheSameWay) {
    ASSERT_EQ(Run("kx::brackets square"), "1");
    Run("kx::select ccp " + At(m_row, m_col));
    ASSERT_EQ(Run("kx::key ccp F2"), "1");
    CGXControl* edit = Ccp()->GetActiveGrid()->GetCurrentCellControl();
    ASSERT_TRUE(edit && edit->IsActive());
    edit->SetCurrentText("DQ[6]");
    CString text;
    for (const char* expected : {"DQ[7]", "DQ[0]"}) {
        EXPECT_EQ(Run("kx::key ccp Up"), "1");
        edit->GetCurrentText(text);
        EXPECT_EQ(text.str(), expected);
    }
    EXPECT_EQ(Run("kx::key ccp Down"), "1");
    edit->GetCurrentText(text);
    EXPECT_EQ(text.str(), "DQ[7]");
    EXPECT_EQ(Run("kx::key ccp Escape"), "1");
    EXPECT_EQ(Signal(), "N1");
    Run("kx::brackets angle");
}

// With the host's square brackets a cell still shows the design's DQ<3>: F2 and Up step it all the
// same, and Enter connects the next bit, never a new automatic signal.
TEST_F(SpinKeys, SquareBracketsStepANameTheDesignWroteInAngleBrackets) {
    ASSERT_EQ(Run("kx::brackets square"), "1");
    EXPECT_EQ(Step("DQ[3]", {"Up"}), "DQ<4>");
    EXPECT_EQ(Step("DQ[6]", {"Up", "Up", "Down"}), "DQ<7>");
    EXPECT_EQ(Step("DQ[0]", {"Down"}), "DQ<7>");
    EXPECT_EQ(Run("kx::netlist").find("signal_"), std::string::npos);
    Run("kx::brackets angle");
}

TEST_F(SpinKeys, APlainNameTakesTheNeighbourInTheListWhichFollowsTheNets) {
    EXPECT_EQ(Step("MCLK", {"Down"}), "N1");
    EXPECT_EQ(Step("PG", {"Up"}), "N1");
    // A net made meanwhile enters the list; taken back, it leaves it.
    const int other = PinRow("B");
    ASSERT_EQ(Run("kx::edit ccp " + At(other, m_col) + " MNET"), "1");
    EXPECT_EQ(Step("MCLK", {"Down"}), "MNET");
    for (int step = 0; step < 3; ++step) // R1.A's two edits, then the net's
        ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::netlist").find("MNET"), std::string::npos);
    EXPECT_EQ(Step("MCLK", {"Down"}), "N1");
}

} // namespace

namespace {

// A new session of the host starts with its hands off, whatever the session before it in the same process
// left: no key held down and the pointer over no grid's cell (a grid activated later would take that cell).
TEST_F(HostHands, ANewSessionStartsWithNoKeyHeldAndThePointerOverNoCell) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    const int pin = PinRow("OUT");
    ASSERT_NE(pin, 0);
    ASSERT_EQ(Run("kx::click ccp " + At(pin, Column("Pin Name"))), "1");
    POINT left{};
    ASSERT_TRUE(GetCursorPos(&left));
    ASSERT_TRUE(left.x != 0 || left.y != 0);
    AfxSetKeyState(VK_SHIFT, TRUE);
    m_app->Stop();
    std::ostringstream out;
    CKXHostCore core(out);
    CKXHostApp next(core);
    std::string error;
    ASSERT_TRUE(next.Start("", "", error, KXEditorLibraryPath())) << error;
    POINT at{};
    ASSERT_TRUE(GetCursorPos(&at));
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(at.y, 0);
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
    next.Stop();
}

} // namespace
