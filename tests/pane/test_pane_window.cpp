// The connectivity pane as a window: its title bar and Attach Signal row, the enablement the host
// reads of its menu items, its layout, what an accessibility client reads of it, its activation
// while a grid's drop-down list is open, and the column layouts it keeps when the window closes.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pane/KXObjectInfoWnd.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"

#include "afx/afxmenu.h"
#include "grid/gxcontrol.h"
#include "kxcommon/KXCustomizeAPI.h"

#include <algorithm>
#include <memory>
#include <sstream>

namespace {

using Pane = CKXBottomPaneContainerView;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// ------------------------------------------------------------------ menu enablement

class PaneMenuState : public KXShellFixture {};

TEST_F(PaneMenuState, FindReplaceViewersAndColumnsStayEnabledWithoutAGrid) {
    ASSERT_TRUE(Open());
    Run("selectWindow ccp"); // the menus reach the active view
    ASSERT_EQ(Ccp()->GetActiveGrid(), nullptr);
    for (const char* id : {"57636", "57641", "35071", "35574", "35130"})
        EXPECT_EQ(Run(std::string("kx::menustate ") + id), "enabled") << id;
    // The forwarding commands need a grid.
    EXPECT_EQ(Run("kx::menustate 57634"), "disabled");
    EXPECT_EQ(Run("kx::menustate 35537"), "disabled");
    EXPECT_EQ(Run("kx::menustate 35538"), "disabled");
    EXPECT_TRUE(Contains(Run("kx::menustate x"), "usage"));
}

TEST_F(PaneMenuState, HostCommandsNeedAPinGridOfAnEditableLogicalWindow) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Run("selectWindow ccp");
    EXPECT_EQ(Run("kx::menustate 35537"), "enabled");
    EXPECT_EQ(Run("kx::menustate 35538"), "enabled");
    // A signal grid is no pin grid.
    Run("kx::show slp N1");
    ASSERT_NE(Ccp()->GetActiveGrid(), nullptr);
    EXPECT_EQ(Run("kx::menustate 35537"), "disabled");
    EXPECT_EQ(Run("kx::menustate 35538"), "disabled");
}

TEST_F(PaneMenuState, ReadOnlyWindowsDisableTheHostCommandsButNotFind) {
    ASSERT_TRUE(Open("work.board:sch", 2));
    Run("kx::show clp U1");
    Run("selectWindow ccp");
    ASSERT_NE(Ccp()->GetActiveGrid(), nullptr);
    EXPECT_EQ(Run("kx::menustate 35537"), "disabled");
    EXPECT_EQ(Run("kx::menustate 35538"), "disabled");
    EXPECT_EQ(Run("kx::menustate 57636"), "enabled");
    // The texts and check marks the handlers set are read too.
    EXPECT_EQ(Run("kx::menustate 35522").find("\"View Termination\""), 9u) << Run("kx::menustate 35522");
    Run("kx::menu 35673");
    EXPECT_EQ(Run("kx::menustate 35673"), "enabled checked");
}

// Two pin grids side by side: clearing the others' selection leaves them nothing that counts as
// selected, not even a current cell (which a selection query may count when nothing is selected).
TEST_F(PaneMenuState, ClearingTheOtherGridsLeavesThemNoCurrentCell) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1 R1");
    const std::vector<CKXGridWnd*> grids = Ccp()->GetShownGrids();
    ASSERT_EQ(grids.size(), 2u);
    grids[0]->SetCurrentCell(PIN_FIRST_ROW, 1);
    grids[1]->SetCurrentCell(PIN_FIRST_ROW, 1);
    grids[1]->SelectRange(CGXRange().SetRows(PIN_FIRST_ROW));
    Ccp()->ClearOtherGridSelections(1);
    CRowColArray rows;
    EXPECT_EQ(grids[0]->GetSelectedRows(rows, FALSE, TRUE), 0u);
    ROWCOL row = 0, col = 0;
    EXPECT_FALSE(grids[0]->GetCurrentCell(row, col));
    EXPECT_EQ(grids[1]->GetSelectedRows(rows, FALSE, TRUE), 1u);
}

// ------------------------------------------------------------------ title bar and Attach Signal row

class PaneBar : public KXShellFixture {};

TEST_F(PaneBar, TheTitleBarNamesWhatIsShown) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Lines(Run("kx::ccpbar")).front(), "bar 0 (active): Connectivity Details");
    Run("kx::show clp U1");
    EXPECT_EQ(Lines(Run("kx::ccpbar")).front(), "bar 0 (active): Component Connectivity Details");
    EXPECT_EQ(std::string(Ccp()->GetPaneTitle()), "Component Connectivity Details");
    Run("kx::show slp N1");
    EXPECT_EQ(Lines(Run("kx::ccpbar")).front(), "bar 0 (active): Signal Connectivity Details");
    EXPECT_EQ(Ccp()->GetShortcutBar().GetBarCount(), 1);
    EXPECT_TRUE(Ccp()->GetShortcutBar().GetExStyle() & WS_EX_CLIENTEDGE);
    CWnd* bar = Ccp()->GetDlgItem(Pane::kShortcutBarId);
    ASSERT_NE(bar, nullptr);
    EXPECT_STREQ(bar->GetRuntimeClass()->m_lpszClassName, "CKXCCPShortcutBar");
    EXPECT_TRUE(GetClassInfoA(nullptr, "CKXCCPShortcutBar", nullptr));
}

TEST_F(PaneBar, TheRowShowsWithComponentsAndHidesWithSignals) {
    ASSERT_TRUE(Open());
    std::vector<std::string> lines = Lines(Run("kx::ccpbar"));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "label \"&Attach Signal:\" hidden enabled");
    EXPECT_EQ(lines[2], "fx \"Fx\" bitmap 8882 hidden enabled");
    EXPECT_EQ(lines[3], "combo hidden enabled");
    Run("kx::show clp U1");
    lines = Lines(Run("kx::ccpbar"));
    EXPECT_EQ(lines[1], "label \"&Attach Signal:\" shown enabled");
    EXPECT_EQ(lines[2], "fx \"Fx\" bitmap 8882 shown enabled");
    EXPECT_EQ(lines[3], "combo shown enabled");
    // The three go off together.
    Ccp()->EnableAttachSignalControls(FALSE);
    lines = Lines(Run("kx::ccpbar"));
    EXPECT_EQ(lines[1], "label \"&Attach Signal:\" shown disabled");
    EXPECT_EQ(lines[2], "fx \"Fx\" bitmap 8882 shown disabled");
    EXPECT_EQ(lines[3], "combo shown disabled");
    EXPECT_EQ(Run("kx::ccpbar fx"), "0"); // a disabled button cannot be pressed
    Ccp()->EnableAttachSignalControls(TRUE);
    Run("kx::show slp N1");
    lines = Lines(Run("kx::ccpbar"));
    EXPECT_EQ(lines[1], "label \"&Attach Signal:\" hidden enabled");
    EXPECT_EQ(lines[3], "combo hidden enabled");
    // Each control of the row has its tip.
    EXPECT_EQ(Ccp()->GetToolTip().GetToolCount(), 3);
    CString tip;
    Ccp()->GetToolTip().GetText(tip, const_cast<SECBitmapButton*>(&Ccp()->GetSignalFxButton()));
    EXPECT_EQ(std::string(tip), "Function selector");
}

TEST_F(PaneBar, ReadOnlyWindowsNeverShowTheRow) {
    ASSERT_TRUE(Open("work.board:sch", 2));
    Run("kx::show clp U1");
    const std::vector<std::string> lines = Lines(Run("kx::ccpbar"));
    EXPECT_EQ(lines[0], "bar 0 (active): Component Connectivity Details");
    EXPECT_EQ(lines[1], "label \"&Attach Signal:\" hidden disabled");
    EXPECT_EQ(Run("kx::ccpbar fx"), "0");
}

TEST_F(PaneBar, TheFunctionButtonDropsItsMenuBelowItself) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Run("selectWindow ccp"); // the chosen command comes back through the main window to the active view
    Ccp()->EnableAttachSignalControls(TRUE); // as a pin's signal cell does when it becomes current
    Run("kx::answer menu * 35275");
    EXPECT_EQ(Run("kx::ccpbar fx"), "1") << Run("kx::ccpbar") << Transcript();
    EXPECT_EQ(std::string(Ccp()->GetAttachSignalText()), "=PREFIXPINNAME(<string>)");
    CRect button;
    Ccp()->GetSignalFxButton().GetWindowRect(&button);
    EXPECT_EQ(CMenu::GetLastTrackPoint(), CPoint(button.left, button.bottom));
    // Dismissed: nothing is prepared or connected.
    const std::string netlist = Run("kx::netlist");
    EXPECT_EQ(Run("kx::ccpbar fx"), "1");
    EXPECT_EQ(std::string(Ccp()->GetAttachSignalText()), "=PREFIXPINNAME(<string>)");
    EXPECT_EQ(Run("kx::netlist"), netlist);
    EXPECT_TRUE(Contains(Run("kx::ccpbar press"), "usage"));
}

// ------------------------------------------------------------------ layout and accessibility

class PaneLayout : public KXShellFixture {};

TEST_F(PaneLayout, TheObjectWindowLiesBelowTheBarAndTheRow) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Ccp()->MoveWindow(0, 0, 600, 400);
    CRect bar, info;
    Ccp()->GetShortcutBar().GetWindowRect(&bar);
    Ccp()->ScreenToClient(&bar);
    EXPECT_EQ(bar, CRect(0, 0, 600, Pane::kTitleBarHeight));
    Ccp()->ObjectInfo().GetWindowRect(&info);
    Ccp()->ScreenToClient(&info);
    EXPECT_EQ(info, CRect(0, 53, 600, 400));
}

TEST_F(PaneLayout, AReadOnlyWindowGivesTheRowsPlaceToTheObjectWindow) {
    ASSERT_TRUE(Open("work.board:sch", 2));
    Run("kx::show clp U1");
    Ccp()->MoveWindow(0, 0, 500, 300);
    CRect info;
    Ccp()->ObjectInfo().GetWindowRect(&info);
    Ccp()->ScreenToClient(&info);
    EXPECT_EQ(info, CRect(0, Pane::kTitleBarHeight, 500, 300));
}

TEST_F(PaneLayout, OnlyAPaneWithoutGridsIsRedrawnWhole) {
    ASSERT_TRUE(Open());
    int before = Ccp()->GetInvalidateCount();
    Ccp()->MoveWindow(0, 0, 640, 480);
    EXPECT_GT(Ccp()->GetInvalidateCount(), before);
    Run("kx::show clp U1");
    before = Ccp()->GetInvalidateCount();
    Ccp()->MoveWindow(0, 0, 600, 400);
    EXPECT_EQ(Ccp()->GetInvalidateCount(), before);
}

TEST_F(PaneLayout, AnAccessibilityClientReadsTheRowsControlsByName) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    const std::vector<std::string> lines = Lines(Run("kx::access ccp"));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1].rfind("children ", 0), 0u);
    int label = 0, fx = 0;
    for (const std::string& line : lines) {
        if (Contains(line, "CStatic: Attach Signal: at ")) label = std::atoi(line.c_str());
        if (Contains(line, "SECBitmapButton: Fx at ")) fx = std::atoi(line.c_str());
    }
    ASSERT_GT(label, 0) << Run("kx::access ccp");
    ASSERT_GT(fx, 0);
    CRect r;
    Ccp()->GetSignalFxButton().GetWindowRect(&r);
    EXPECT_EQ(Run("kx::access ccp hit " + std::to_string(r.left + 1) + " " + std::to_string(r.top + 1)),
              std::to_string(fx));
    Ccp()->GetAttachSignalLabel().GetWindowRect(&r);
    EXPECT_EQ(Run("kx::access ccp hit " + std::to_string(r.left + 1) + " " + std::to_string(r.top + 1)),
              std::to_string(label));
    EXPECT_EQ(Run("kx::access ccp hit -5000 -5000"), "none");
    // Hidden controls are no accessible children: with signals shown the row is gone.
    Run("kx::show slp N1");
    EXPECT_FALSE(Contains(Run("kx::access ccp"), "Attach Signal:"));
}

// ------------------------------------------------------------------ activation

class PaneActivation : public KXShellFixture {};

TEST_F(PaneActivation, ADroppedListKeepsThePaneActive) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    CKXGridWnd* grid = Ccp()->GetActiveGrid();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(Run("kx::ncactivate 1"), "active");
    EXPECT_EQ(Run("kx::ncactivate 0"), "inactive");
    EXPECT_EQ(Run("kx::ncactivate 1"), "active");
    // A drop-down list of one of the grid's cells takes the activation: the pane keeps its own.
    auto combo = std::make_unique<CGXComboBox>(grid, 0x7F00, 0x7F01);
    combo->Init(PIN_FIRST_ROW, 1);
    combo->ShowDropDown(TRUE);
    EXPECT_EQ(Run("kx::ncactivate 0"), "active");
    combo->ShowDropDown(FALSE);
    EXPECT_EQ(Run("kx::ncactivate 0"), "inactive");
    // A list that goes with its control leaves the pane to deactivate again.
    Run("kx::ncactivate 1");
    combo->ShowDropDown(TRUE);
    combo.reset();
    EXPECT_EQ(Run("kx::ncactivate 0"), "inactive");
    EXPECT_TRUE(Contains(Run("kx::ncactivate 2"), "usage"));
}

// ------------------------------------------------------------------ grids and their column layouts

class PaneGridKinds : public KXShellFixture {};

TEST_F(PaneGridKinds, SeveralNetsShareOneGroupGrid) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1 GND");
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 1u);
    const std::string text = Run("kx::window ccp");
    EXPECT_TRUE(Contains(text, "N1")) << text;
    EXPECT_TRUE(Contains(text, "GND")) << text;
    EXPECT_NE(Pane::SignalGridOf(Ccp()->GetShownGrids().front()), nullptr);
}

TEST_F(PaneGridKinds, ClosingTheWindowKeepsTheSignalGridsColumnWidths) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    Run("kx::show slp GND");
    CKXColumnModel& columns = CKXSignalDetailsGridWnd::Columns();
    const int col = columns.FirstCustomised();
    ASSERT_LT(col, columns.Size());
    const CString key = columns.At(col)->m_strPropertyName;
    constexpr int kFixedWidth = 133;
    columns.At(col)->m_nWidthType = CKXColumnInfoClass::WidthFixed;
    columns.At(col)->m_nWidth = kFixedWidth;
    EXPECT_EQ(Run("kx::close"), "1");
    CKXCustomizeAPI::setCustomizationOrigin(columns.Origin());
    bool found = false;
    for (int i = 0; i < CKXCustomizeAPI::getDefaultEntriesArray().GetSize(); ++i) {
        CString entryKey;
        int width = 0, widthType = 0;
        const CString entry = CKXCustomizeAPI::getDefaultEntriesArray().GetAt(i);
        if (!Contains(entry.str(), key.str())) continue;
        found = true;
        EXPECT_TRUE(Contains(entry.str(), std::to_string(kFixedWidth))) << entry.str();
        (void)entryKey, (void)width, (void)widthType;
    }
    EXPECT_TRUE(found);
}

} // namespace

namespace {

TEST_F(PaneGridKinds, ALogicalWindowHasNoBlockFilterToApply) {
    ASSERT_TRUE(Open());
    Run("kx::show clp R1");
    const std::string before = Run("kx::window ccp");
    Ccp()->PaneInterface()->SetPartGridsExcludedSpathList("R1", "@R1");
    Ccp()->PaneInterface()->SetExcludedSpathLists("N1", "@R1");
    EXPECT_EQ(Run("kx::window ccp"), before);
}

} // namespace
