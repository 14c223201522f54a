#include "KXShellFixture.h"

#include "KXTableEditor.h"
#include "grid/KXGridWnd.h"
#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXDesignChangeLog.h"
#include "shell/KXTableChildFrm.h"

#include "grid/gxcommand.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/DesignBuilder.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {
// Records each execution as "<name><u|r>".
class CProbeCommand : public CGXCommand {
public:
    CProbeCommand(std::vector<std::string>& log, const char* name) : m_log(log) { SetName(name); }
    BOOL Execute(CGXGridCore*, GXCmdType type) override {
        m_log.push_back(m_sName.str() + (type == gxUndo ? "u" : "r"));
        return TRUE;
    }

private:
    std::vector<std::string>& m_log;
};

// The first header row where the grid's column `col` has a border to grab (its right edge); 0 when none.
ROWCOL BorderRow(CKXGridWnd& grid, ROWCOL col) {
    for (ROWCOL row = 0; row <= grid.GetHeaderRows(); ++row) {
        const CRect cell = grid.CalcRectFromRowCol(row, col);
        if (grid.HitTest(CPoint(cell.right, cell.CenterPoint().y)) == GX_VERTLINE) return row;
    }
    return 0;
}

// Drags the right border of the grid's column `col` by `dx` pixels.
void DragColumnBorder(CKXGridWnd& grid, ROWCOL col, int dx) {
    const CRect cell = grid.CalcRectFromRowCol(BorderRow(grid, col), col);
    const int y = cell.CenterPoint().y;
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.right, y));
    grid.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(cell.right + dx, y));
    grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(cell.right + dx, y));
}
} // namespace

using UndoHistoryTest = KXShellFixture;

TEST_F(UndoHistoryTest, StepsJoinUndoInReverseAndRedoInOrder) {
    ASSERT_TRUE(Open());
    std::vector<std::string> log;
    CKXBottomPaneContainerView* pane = Ccp();
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "a"), gxDo, 1);
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "b"), gxDo, 2);
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "c"), gxDo, 1);
    EXPECT_EQ(pane->GetUndoStepCount(), 2);
    EXPECT_EQ(pane->GetUndoDescription(), CString("c"));
    EXPECT_TRUE(pane->PerformUndo());
    EXPECT_TRUE(pane->PerformUndo());
    EXPECT_EQ(log, (std::vector<std::string>{"cu", "bu", "au"}));
    EXPECT_FALSE(pane->PerformUndo()); // nothing left
    EXPECT_TRUE(pane->PerformRedo());
    EXPECT_EQ(log.back(), "br");
    EXPECT_EQ(log[log.size() - 2], "ar");
    // A new command forgets what could be redone.
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "d"), gxDo, 1);
    EXPECT_EQ(pane->GetRedoStepCount(), 0);
}

TEST_F(UndoHistoryTest, ARolledBackStepLeavesNoTrace) {
    ASSERT_TRUE(Open());
    std::vector<std::string> log;
    CKXBottomPaneContainerView* pane = Ccp();
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "a"), gxDo, 0);
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "b"), gxDo, 1);
    pane->AddUndoCommand(nullptr, nullptr, gxDo, -1);
    // What the rolled-back step's command did is taken back at once, and the step is gone.
    EXPECT_EQ(log, (std::vector<std::string>{"bu"}));
    EXPECT_EQ(pane->GetUndoStepCount(), 1);
    EXPECT_EQ(pane->GetRedoStepCount(), 0);
    EXPECT_TRUE(pane->PerformUndo());
    EXPECT_EQ(log, (std::vector<std::string>{"bu", "au"}));
}

// A pane edit is a step of its own, also when the step before it was left open: its first command
// opens a new step. When the design refuses its commit, that step is taken back and goes, and the
// step before is as it was.
TEST_F(UndoHistoryTest, ARefusedPaneEditTakesBackTheStepItOpenedAfterAnOpenOne) {
    ASSERT_TRUE(Open());
    std::vector<std::string> log;
    CKXBottomPaneContainerView* pane = Ccp();
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "a"), gxDo, 1); // its step stays open
    const int steps = pane->GetUndoStepCount();
    ASSERT_TRUE(pane->BeginPaneTransaction("Add Net"));
    CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
    ASSERT_NE(t, nullptr);
    ASSERT_NE(t->createNet("JOINED", static_cast<unsigned>(-1), static_cast<unsigned>(-1)), nullptr);
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "b"), gxDo, 2); // a joining state, yet a step of its own
    EXPECT_EQ(pane->GetUndoStepCount(), steps + 1);
    m_app->Server()->setCommitFault([] { return true; });
    EXPECT_FALSE(pane->EndPaneTransaction(TRUE));
    m_app->Server()->setCommitFault(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"bu"}));
    EXPECT_EQ(pane->GetUndoStepCount(), steps);
    EXPECT_TRUE(pane->PerformUndo());
    EXPECT_EQ(log, (std::vector<std::string>{"bu", "au"}));
}

// The same edit committed: one undo takes back the pane edit alone, the step before stays.
TEST_F(UndoHistoryTest, ACommittedPaneEditAfterAnOpenStepIsAnUndoStepOfItsOwn) {
    ASSERT_TRUE(Open());
    std::vector<std::string> log;
    CKXBottomPaneContainerView* pane = Ccp();
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "a"), gxDo, 1);
    const int steps = pane->GetUndoStepCount();
    ASSERT_TRUE(pane->BeginPaneTransaction("Add Net"));
    CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
    ASSERT_NE(t, nullptr);
    ASSERT_NE(t->createNet("OWNSTEP", static_cast<unsigned>(-1), static_cast<unsigned>(-1)), nullptr);
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "b"), gxDo, 2);
    EXPECT_TRUE(pane->EndPaneTransaction(TRUE));
    EXPECT_EQ(pane->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(pane->PerformUndo());
    EXPECT_EQ(log, (std::vector<std::string>{"bu"}));
    EXPECT_EQ(pane->GetUndoStepCount(), steps);
}

// A failing edit that joined a step another edit left open takes back only its own commands; the
// step and what the earlier edit put in it stay.
TEST_F(UndoHistoryTest, ARollBackTakesBackOnlyWhatTheFailingEditAdded) {
    ASSERT_TRUE(Open());
    std::vector<std::string> log;
    CKXBottomPaneContainerView* pane = Ccp();
    // The earlier edit's grid is only told apart from the pane's own here, never drawn or run.
    int earlierGrid = 0;
    auto* earlier = reinterpret_cast<CGXGridCore*>(&earlierGrid);
    pane->AddUndoCommand(earlier, new CProbeCommand(log, "a"), gxDo, 1); // left open
    const int steps = pane->GetUndoStepCount();
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "b"), gxDo, 2);
    pane->AddUndoCommand(nullptr, nullptr, gxDo, -1);
    EXPECT_EQ(log, (std::vector<std::string>{"bu"}));
    EXPECT_EQ(pane->GetUndoStepCount(), steps);
    EXPECT_EQ(pane->GetUndoDescription(), "a"); // a is the newest command left
}

// A roll-back after an undo and a redo gives back no redo history kept from a step closed long ago.
TEST_F(UndoHistoryTest, ARollBackAfterUndoAndRedoGivesBackNoStaleRedoHistory) {
    ASSERT_TRUE(Open());
    std::vector<std::string> log;
    CKXBottomPaneContainerView* pane = Ccp();
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "a"), gxDo, 0);
    EXPECT_TRUE(pane->PerformUndo()); // a can be redone
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "b"), gxDo, 1); // forgets a's redo, stays open
    EXPECT_EQ(pane->GetRedoStepCount(), 0);
    EXPECT_TRUE(pane->PerformUndo());
    EXPECT_TRUE(pane->PerformRedo()); // b is back as the newest step
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "c"), gxDo, 2);
    pane->AddUndoCommand(nullptr, nullptr, gxDo, -1);
    EXPECT_EQ(pane->GetRedoStepCount(), 0);
    EXPECT_EQ(pane->GetUndoStepCount(), 1); // b stays; only c went
}

TEST_F(UndoHistoryTest, AClosingEntryJoinsTheOpenStep) {
    ASSERT_TRUE(Open());
    std::vector<std::string> log;
    CKXBottomPaneContainerView* pane = Ccp();
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "cell"), gxDo, 1);
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "design"), gxDo, 0);
    pane->AddUndoCommand(nullptr, new CProbeCommand(log, "next"), gxDo, 0);
    EXPECT_EQ(pane->GetUndoStepCount(), 2);
    EXPECT_TRUE(pane->PerformUndo());
    EXPECT_TRUE(pane->PerformUndo());
    EXPECT_EQ(log, (std::vector<std::string>{"nextu", "designu", "cellu"}));
}

// The log of changes since the last save listens to a server made where a former one was, so that a close
// without saving still leaves the design as saved: after a new session, and when a second host of the
// process starts without one.
static void ExpectAServerWhereAGoneOneWasWatched(bool newSession) {
    SCOPED_TRACE(newSession ? "after a new session" : "without a new session");
    std::optional<IServer> server;
    server.emplace();
    CKXDesignChangeLog::Watch(&*server);
    server.reset();
    server.emplace(); // the same address
    if (newSession) KXTableEditorNewSession();
    CKXDesignChangeLog::Watch(&*server);
    rmx::DesignBuilder builder(&*server, "work");
    builder.schematic("top").net("N1");
    const CDesignContext design = builder.context();
    const size_t before = CKXDesignChangeLog::PendingCount(design.design());
    {
        CTransaction t(design, "Add Net");
        INet* net = t.createNet("N2", static_cast<unsigned>(-1), static_cast<unsigned>(-1));
        ASSERT_TRUE(net && t.addNet(net) && t.commit());
    }
    EXPECT_EQ(CKXDesignChangeLog::PendingCount(design.design()), before + 1);
    EXPECT_TRUE(CKXDesignChangeLog::RollBack(design.design()));
    EXPECT_EQ(design.design()->findNet("N2"), nullptr);
    KXTableEditorNewSession(); // this server goes with the test
}

TEST(DesignChangeLog, ANewServerWhereTheFormerOneWasIsWatched) {
    ExpectAServerWhereAGoneOneWasWatched(true);
    ExpectAServerWhereAGoneOneWasWatched(false);
}

// A column's width is the user's layout in every grid: a border dragged, or double-clicked to fit the
// column to its cells, makes no undo step and joins none. The step before keeps its name, and the next
// edit is a step of its own.
TEST_F(UndoHistoryTest, AColumnWidthTheUserSetsTakesNoPartInTheUndoHistory) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    ASSERT_EQ(Run("kx::call EditRefDes R1 R80"), "1");
    const auto widthsLeaveTheHistory = [this](const std::string& show) {
        SCOPED_TRACE(show);
        ASSERT_EQ(Run(show), "1");
        CKXGridWnd* grid = Ccp()->GetActiveGrid();
        ASSERT_NE(grid, nullptr);
        const std::string history = Run("kx::history");
        const ROWCOL col = grid->GetFirstVisibleColumn();
        const int width = grid->GetColWidth(col);
        DragColumnBorder(*grid, col, 40);
        EXPECT_GT(grid->GetColWidth(col), width);
        const std::string border = std::to_string(BorderRow(*grid, col)) + " " + std::to_string(col);
        EXPECT_EQ(Run("kx::click ccp " + border + " border"), "1");
        EXPECT_EQ(Run("kx::history"), history);
    };
    widthsLeaveTheHistory("kx::show clp U1");
    widthsLeaveTheHistory("kx::show slp N1");
    widthsLeaveTheHistory("openMatrixView pin mv; matrixAdd pin component U1");
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Run("kx::call EditRefDes R1 R81"), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
}
