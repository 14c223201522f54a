// The connectivity pane's menu commands and their enablement, and its undo
// history's menu side: what the user can choose, and what each choice reaches.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "shell/KXTableChildFrm.h"

#include "grid/gxcommand.h"
#include "kxcommon/KXCustomizeAPI.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/CommonInterface.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/context.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

using Pane = CKXBottomPaneContainerView;

class NoOpCommand : public CGXCommand {
public:
    BOOL Execute(CGXGridCore*, GXCmdType) override { return TRUE; }
};

class PaneCommands : public KXShellFixture {
protected:
    struct State {
        bool enabled;
        std::string text;
        int check;
    };
    State Update(UINT id) {
        CCmdUI ui;
        ui.m_nID = id;
        ui.DoUpdate(Ccp(), FALSE);
        return {ui.m_bEnabled != FALSE, ui.m_bTextChanged ? ui.m_strText.str() : std::string(), ui.m_nCheck};
    }
    BOOL Command(UINT id) { return Ccp()->OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); }
    void ShowU1() {
        CDesignContext design(CKXShareGlobalData::m_pServer, "work.board:sch");
        CKXInstanceContextArray arr;
        arr.Add(design.instance("U1"));
        arr.Add(design.instance("R1"));
        Ccp()->ShowInstanceConnectivity(design, &arr, TRUE);
    }
};

TEST_F(PaneCommands, WithoutAGridForwardingCommandsAreOff) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Ccp()->GetActiveGrid(), nullptr);
    for (UINT id :
         {57634u, 57637u, 57639u, 35264u, 35522u, 35509u, 35543u, 35566u, 35747u, 35570u, 35718u, 35537u})
        EXPECT_FALSE(Update(id).enabled) << id;
    for (UINT id : {57636u, 57641u, 35071u, 35574u, 35130u})
        EXPECT_TRUE(Update(id).enabled) << id;
    // Nothing holds a pair that could not be removed.
    EXPECT_TRUE(Update(35725).enabled);
    EXPECT_EQ(Update(35509).text, "Add Pullup/Pulldown...");
    // The commands themselves do nothing without a grid.
    Echoes();
    EXPECT_TRUE(Command(57634));
    EXPECT_TRUE(Command(35264));
    EXPECT_TRUE(Echoes().empty());
}

TEST_F(PaneCommands, ShownPinGridsEnableEditingButNotInReadOnlyWindows) {
    ASSERT_TRUE(Open());
    ShowU1();
    ASSERT_NE(Ccp()->GetActiveGrid(), nullptr);
    // Copy and paste are the grid's to judge; the pane's own rules let these through.
    EXPECT_TRUE(Update(35537).enabled);
    // No pair pin is selected: there is nothing to take off a pair.
    EXPECT_FALSE(Update(35725).enabled);
    EXPECT_EQ(Update(35570).text, "&Go to physical pin");
    const std::string term = Update(35522).text;
    EXPECT_TRUE(term == "Add Termination" || term == "Edit Termination") << term;
}

TEST_F(PaneCommands, ReadOnlyWindowOnlyViews) {
    ASSERT_TRUE(Open("work.board:sch", 2));
    ShowU1();
    EXPECT_FALSE(Update(57637).enabled);
    EXPECT_FALSE(Update(57639).enabled);
    EXPECT_FALSE(Update(35264).enabled);
    EXPECT_FALSE(Update(35555).enabled);
    EXPECT_FALSE(Update(35537).enabled);
    EXPECT_EQ(Update(35522).text, "View Termination");
    EXPECT_EQ(Update(35509).text, "View Pullup/Pulldown...");
}

TEST_F(PaneCommands, PasteGoesThroughTheHost) {
    ASSERT_TRUE(Open());
    ShowU1();
    Echoes();
    Command(57637);
    const auto echoes = Echoes();
    ASSERT_FALSE(echoes.empty());
    EXPECT_NE(echoes.front().find("paste"), std::string::npos) << echoes.front();
}

TEST_F(PaneCommands, SortKindIsCheckedOnItsItem) {
    ASSERT_TRUE(Open());
    Command(35673);
    EXPECT_EQ(CCommonInterface::nSortType, 1);
    EXPECT_EQ(Update(35673).check, 1);
    EXPECT_EQ(Update(35672).check, 0);
    Command(35672);
    EXPECT_EQ(CCommonInterface::nSortType, 0);
    EXPECT_EQ(Update(35672).check, 1);
}

TEST_F(PaneCommands, UndoItemsFollowTheHistoryAndResetsEmptyIt) {
    ASSERT_TRUE(Open());
    Pane* ccp = Ccp();
    EXPECT_FALSE(Update(57643).enabled);
    ccp->AddUndoCommand(nullptr, new NoOpCommand, gxDo, 0);
    ccp->AddUndoCommand(nullptr, new NoOpCommand, gxDo, 0);
    EXPECT_TRUE(Update(57643).enabled);
    EXPECT_FALSE(Update(57644).enabled);
    ASSERT_TRUE(ccp->PerformUndo());
    EXPECT_TRUE(Update(57644).enabled);
    EXPECT_FALSE(ccp->GetUndoMode()); // only inside the step
    // The design named in another letter case: the undo list goes, the redo list stays.
    ccp->SendMessage(MSG_DESIGN_UNDO_RESET, reinterpret_cast<WPARAM>("WORK.Board:SCH"), 0);
    EXPECT_EQ(ccp->GetUndoStepCount(), 0);
    EXPECT_EQ(ccp->GetRedoStepCount(), 1);
    ccp->AddUndoCommand(nullptr, new NoOpCommand, gxDo, 0);
    ccp->SendMessage(MSG_DESIGN_UNDO_RESET, reinterpret_cast<WPARAM>("work.other:sch"), 0);
    EXPECT_EQ(ccp->GetUndoStepCount(), 1);
    ccp->SendMessage(MSG_CLEAR_UNDO, 0, 0);
    EXPECT_EQ(ccp->GetUndoStepCount(), 0);
    EXPECT_EQ(ccp->GetRedoStepCount(), 0);
}

TEST_F(PaneCommands, AdjacentPinGridsAndTheirIndexes) {
    ASSERT_TRUE(Open());
    ShowU1();
    const auto& grids = Ccp()->GetShownGrids();
    ASSERT_EQ(grids.size(), 2u);
    EXPECT_EQ(Ccp()->GridIndexOf(grids[0]), 0);
    EXPECT_EQ(Ccp()->GridIndexOf(grids[1]), 1);
    EXPECT_EQ(Ccp()->GridIndexOf(nullptr), -1);
    EXPECT_FALSE(Ccp()->IsBusy());
    // Past either end nothing moves; inside, the neighbour takes the focus.
    Ccp()->ActivateAdjacentGrid(grids[1], TRUE);
    Ccp()->ActivateAdjacentGrid(grids[0], FALSE);
    Ccp()->ActivateAdjacentGrid(grids[0], TRUE);
    EXPECT_EQ(CWnd::GetFocus(), grids[1]);
    grids[0]->SelectRange(CGXRange().SetRows(PIN_FIRST_ROW));
    grids[1]->SelectRange(CGXRange().SetRows(PIN_FIRST_ROW));
    Ccp()->ClearOtherGridSelections(1);
    CRowColArray rows;
    EXPECT_EQ(grids[0]->GetSelectedRows(rows, TRUE, FALSE), 0u);
    EXPECT_EQ(grids[1]->GetSelectedRows(rows, TRUE, FALSE), 1u);
}

} // namespace

namespace {

class PaneEcho : public PaneCommands {};

TEST_F(PaneEcho, EditPinAsksTheHostAndSaysWhetherToSave) {
    ASSERT_TRUE(Open());
    ShowU1();
    Echoes();
    Command(35570); // nobody answers: the window stays
    EXPECT_TRUE(Echoes().empty());
    Run("kx::answer question MSG_HOST_ASK_SAVE no");
    Command(35570);
    // The request names the pane's grid word; running it makes the pane active (echoed as such).
    const auto echoes = Echoes();
    EXPECT_EQ(std::count(echoes.begin(), echoes.end(), "editPhysicalPin pin -nosave"), 1)
        << ::testing::PrintToString(echoes);
}

TEST_F(PaneEcho, BecomingTheActiveViewIsEchoedOnlyWithAGrid) {
    ASSERT_TRUE(Open());
    Frame()->ActivatePane("CLP");
    Echoes();
    Frame()->ActivatePane("CCP");
    EXPECT_TRUE(Echoes().empty());
    ShowU1();
    Frame()->ActivatePane("CLP");
    Echoes();
    Frame()->ActivatePane("CCP");
    // The grids that take the hands (U1's and R1's, side by side) hold no pin the user chose: the cell
    // their activation places names none to the host, which hears of the pane only.
    auto echoes = Echoes();
    ASSERT_EQ(echoes.size(), 1u) << ::testing::PrintToString(echoes);
    EXPECT_NE(echoes[0].find("selectWindow ccp"), std::string::npos) << echoes[0];
    // A pin the user selected is told again when the grid takes the hands back.
    Run("kx::select ccp 6 " + std::to_string(Ccp()->GetActiveGrid()->GetFirstVisibleColumn()));
    Frame()->ActivatePane("CLP");
    Echoes();
    Frame()->ActivatePane("CCP");
    echoes = Echoes();
    ASSERT_EQ(echoes.size(), 2u) << ::testing::PrintToString(echoes);
    EXPECT_EQ(echoes[0].rfind("selectObject pin [list ", 0), 0u) << echoes[0];
}

} // namespace

namespace {

class PaneSortSteps : public PaneCommands {};

TEST_F(PaneSortSteps, ASortByMenuIsAStepOfTheHistory) {
    ASSERT_TRUE(Open());
    Command(35121); // no grid: nothing
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
    ShowU1(); // U1 and R1 side by side: they sort by the Pin Name only
    Command(35122); // another column: refused, and no step
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
    Command(35119 + CKXInstanceDetailsGridWnd::m_nColPinName);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 1);
    EXPECT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(Ccp()->GetRedoStepCount(), 1);
}

TEST_F(PaneSortSteps, ModifyValuesNeedsAGridAndAnEditableWindow) {
    ASSERT_TRUE(Open("work.board:sch", 2));
    EXPECT_FALSE(Update(35096).enabled);
    ShowU1();
    EXPECT_FALSE(Update(35096).enabled);
}

} // namespace

namespace {

class PaneHeaderSort : public PaneCommands {
protected:
    using Pin = CKXInstanceDetailsGridWnd;
    std::string ClickHeader(int col) {
        CKXGridWnd* grid = Ccp()->GetActiveGrid();
        return Run("kx::click ccp " + std::to_string(grid->m_nHeaderRow) + " " + std::to_string(col));
    }
};

TEST_F(PaneHeaderSort, EachHeaderClickIsAStepOfItsOwn) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    CKXGridWnd* grid = Ccp()->GetActiveGrid();
    ASSERT_NE(grid, nullptr);
    const int before = Ccp()->GetUndoStepCount();
    const int firstCol = grid->GetSortColumn();
    const BOOL firstAscending = grid->IsSortAscending();
    EXPECT_EQ(ClickHeader(Pin::m_nColPinName), "1");
    const BOOL ascending = grid->IsSortAscending();
    EXPECT_EQ(ClickHeader(Pin::m_nColSignal), "1");
    EXPECT_EQ(grid->GetSortColumn(), Pin::m_nColSignal);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), before + 2);
    // One undo takes back the second sort only.
    EXPECT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(grid->GetSortColumn(), Pin::m_nColPinName);
    EXPECT_EQ(grid->IsSortAscending(), ascending);
    EXPECT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(grid->GetSortColumn(), firstCol);
    EXPECT_EQ(grid->IsSortAscending(), firstAscending);
}

TEST_F(PaneHeaderSort, AnEditAfterASortIsAStepOfItsOwn) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    const std::string design = Run("kx::netlist");
    EXPECT_EQ(ClickHeader(Pin::m_nColPinName), "1");
    const int steps = Ccp()->GetUndoStepCount();
    Command(35122); // a sort by the menu
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(ClickHeader(Pin::m_nColSignal), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 2);
    EXPECT_EQ(Run("kx::netlist"), design);
}

} // namespace

namespace {

class PaneTransLog : public PaneCommands {
protected:
    std::string LogText() const {
        std::ifstream in(m_dir / "trans.log", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(PaneTransLog, EachNewStepIsLoggedAndUndoLogsNothingNew) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::translog " + (m_dir / "trans.log").string()), "1");
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    Command(35122); // a sort by the menu
    EXPECT_EQ(Run("kx::drop clp component work.res:sym"), "1");
    const std::string log = LogText();
    size_t lines = 0;
    for (size_t at = log.find("Added to Undo: "); at != std::string::npos; at = log.find("Added to Undo: ", at + 1))
        ++lines;
    EXPECT_EQ(lines, 2u) << log;
    EXPECT_EQ(log.back(), '\n');
    // An undo re-records its entry as the redo: no new step, no new line.
    Run("undo");
    EXPECT_EQ(LogText(), log);
    // Closed: nothing more is written.
    EXPECT_EQ(Run("kx::translog"), "1");
    Command(35122);
    EXPECT_EQ(LogText(), log);
}

} // namespace

namespace {

using PaneZoom = PaneCommands;

TEST_F(PaneZoom, TheZoomDialogSetsTheZoomOfEveryGridOfTheActiveKind) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U1 R1"), "1");
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u);
    Run("selectWindow ccp");
    Run("kx::answer dialog CKXZoomDialog ok zoom 150");
    EXPECT_EQ(Run("kx::menu 35093"), "1");
    for (CKXGridWnd* grid : Ccp()->GetShownGrids())
        EXPECT_EQ(grid->GetZoom(), 150);
    // Cancel changes nothing; so does a text that is no number.
    Run("kx::answer dialog CKXZoomDialog cancel zoom 50");
    EXPECT_EQ(Run("kx::menu 35093"), "2");
    EXPECT_EQ(Ccp()->GetActiveGrid()->GetZoom(), 150);
    Run("kx::answer dialog CKXZoomDialog ok zoom big");
    Run("kx::menu 35093");
    EXPECT_EQ(Ccp()->GetActiveGrid()->GetZoom(), 150);
}

// The widths a zoom draws with are never the widths kept: the saved column layout, which the next
// session starts from, holds the widths of 100%.
TEST_F(PaneZoom, AZoomChangesWhatIsDrawnNeverTheSavedWidths) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    Run("selectWindow ccp");
    const std::string before = Run("kx::widths ccp");
    Run("kx::answer dialog CKXZoomDialog ok zoom 400");
    EXPECT_EQ(Run("kx::menu 35093"), "1");
    EXPECT_NE(Run("kx::widths ccp"), before);
    Run("kx::answer dialog CKXZoomDialog ok zoom 150");
    Run("kx::menu 35093");
    Run("kx::answer question * no");
    Run("kx::close");
    ASSERT_EQ(Frame(), nullptr);
    std::ifstream in(std::string(CKXCustomizeAPI::GetStorageDirectory().str()) + "/CCP.cust");
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(saved.find("PIN_NAME|Pin Name|14s|"), std::string::npos) << saved;
    EXPECT_NE(saved.find("DIFF_PAIR|Diff Pair|3s|"), std::string::npos) << saved;
}

// A zoom outside 10..400 is refused with a message; with the keyboard in the component list Zoom still
// acts on the pane's active grid, and leaves the keyboard where it was.
TEST_F(PaneZoom, AZoomOutOfRangeIsRefusedAndZoomActsFromOutsideThePane) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    Run("selectWindow ccp");
    Messages();
    for (const char* zoom : {"1000", "5", "-5"}) {
        Run(std::string("kx::answer dialog CKXZoomDialog ok zoom ") + zoom);
        EXPECT_EQ(Run("kx::menu 35093"), "0") << zoom;
        EXPECT_EQ(Ccp()->GetActiveGrid()->GetZoom(), 100) << zoom;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-480"}) << zoom;
    }
    Run("kx::focus clp");
    Run("kx::answer dialog CKXZoomDialog ok zoom 150");
    EXPECT_EQ(Run("kx::menu 35093"), "1");
    EXPECT_EQ(Ccp()->GetActiveGrid()->GetZoom(), 150);
    EXPECT_EQ(Run("kx::focus"), "clp");
}

} // namespace
