#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "grid/KXGlobalMessages.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

#include "afx/afxanswer.h"
#include "kxcommon/TclArgs.h"
#include "kxcontrols/KXTclCmdManager.h"
#include "kxinstsigpane/KXListPanes.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxcontrols/KXSplitterWnd.h"
#include "rmx/DesignBuilder.h"
#include "KXHostMainWnd.h"

#include <gtest/gtest.h>

#include <algorithm>

using FrameHubTest = KXShellFixture;

TEST_F(FrameHubTest, SetupMessagesReachTheConnectivityPane) {
    ASSERT_TRUE(Open());
    Frame()->SendMessage(g_msgSetupShowDPPinsCcp, 0, reinterpret_cast<LPARAM>("1"));
    EXPECT_TRUE(Ccp()->m_bShowDiffPairPins);
    for (const char* off : {"0", "true", "11"}) {
        Frame()->SendMessage(g_msgSetupShowDPPinsCcp, 0, reinterpret_cast<LPARAM>("1"));
        Frame()->SendMessage(g_msgSetupShowDPPinsCcp, 0, reinterpret_cast<LPARAM>(off));
        EXPECT_FALSE(Ccp()->m_bShowDiffPairPins) << off;
    }
    EXPECT_EQ(Run("kx::option move_direction RIGHT"), "");
    EXPECT_EQ(Ccp()->m_strMoveDirection, CString("RIGHT"));
    EXPECT_EQ(Run("kx::option show_row_numbers 1"), "");
    EXPECT_EQ(Ccp()->m_nShowRowNumbers, 1);
}

// The option reaches pin grids and signal grids alike, both ways.
TEST_F(FrameHubTest, ShowRowNumbersReachesEveryShownGrid) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    ASSERT_EQ(Run("kx::show slp N1"), "1");
    ASSERT_EQ(Ccp()->GetGridCount(KXGridKind::Signal), 1);
    ASSERT_EQ(Ccp()->GetGridCount(KXGridKind::Pin), 1);
    for (const char* value : {"0", "1", "0"}) {
        EXPECT_EQ(Run(std::string("kx::option show_row_numbers ") + value), "");
        for (CKXGridWnd* grid : Ccp()->GetShownGrids())
            EXPECT_EQ(grid->IsColHidden(0), *value == '0') << value;
    }
}

TEST_F(FrameHubTest, RouterSelectorPicksThePaneAndDropsTheWord) {
    ASSERT_TRUE(Open());
    UINT msg = CKXTclCmdManager::GetTCLCommandId("selectWindow");
    ASSERT_NE(msg, 0u);
    CTclArgsList list;
    list.add("NET");
    list.add("ccp");
    // The signal pane does not know the word (0): the frame's own table is not asked for a selector.
    LRESULT r = Frame()->SendMessage(MSG_TCL_ROUTE_COMMAND, msg, reinterpret_cast<LPARAM>(&list));
    EXPECT_EQ(r, 0);
    EXPECT_EQ(list.GetTotalArgCount(), 1);
    int row = -1, col = -1;
    Frame()->InnerSplitter().GetActivePane(&row, &col);
    EXPECT_EQ(row, 1);
    // Without a selector a pane that answers 0 hands the command to the frame.
    CTclArgsList plain;
    plain.add("ccp");
    EXPECT_EQ(Frame()->SendMessage(MSG_TCL_ROUTE_COMMAND, msg, reinterpret_cast<LPARAM>(&plain)), 1);
}

TEST_F(FrameHubTest, WordsTheFrameLacksFallThrough) {
    ASSERT_TRUE(Open());
    UINT other = CKXTclCmdManager::RegisterTCLCommand("paneOnlyWord");
    ASSERT_NE(other, 0u);
    EXPECT_EQ(Frame()->SendMessage(other, 0, 0), 0);
    EXPECT_EQ(Frame()->GetTclCommandMap().size(), 13u);
}

TEST_F(FrameHubTest, SwitchViewAsksTheHostAndEchoes) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    Echoes();
    std::string error;
    AfxGetAnswerQueue().PushQuestion("MSG_HOST_ASK_SAVE", IDYES);
    Run("kx::menu 35563");
    // The echoed word switched the view: back to the logical window for the next ask.
    ASSERT_TRUE(m_app->ActivateTab(1, error)) << error;
    AfxGetAnswerQueue().PushQuestion("MSG_HOST_ASK_SAVE", IDNO);
    Run("kx::menu 35563");
    ASSERT_TRUE(m_app->ActivateTab(1, error)) << error;
    Run("kx::menu 35563"); // unanswered: stay
    auto echoes = Echoes();
    // The windows' activations report their tabs too.
    echoes.erase(std::remove_if(echoes.begin(), echoes.end(),
                                [](const std::string& e) { return e.rfind("switchTab", 0) == 0; }),
                 echoes.end());
    ASSERT_GE(echoes.size(), 2u);
    EXPECT_EQ(echoes[0], "physicalView -save");
    EXPECT_EQ(echoes[1], "physicalView -nosave");
    EXPECT_EQ(echoes.size(), 2u);
}

TEST_F(FrameHubTest, MenuUpdatesFollowTheOpenMode) {
    ASSERT_TRUE(Open("work.board:sch", 3));
    CCmdUI ui;
    ui.m_nID = 35510;
    ui.DoUpdate(Frame(), FALSE);
    EXPECT_FALSE(ui.m_bEnabled);
    CCmdUI ascend;
    ascend.m_nID = 35109;
    ascend.DoUpdate(Frame(), FALSE);
    EXPECT_TRUE(ascend.m_bEnabled);
    CCmdUI reopen;
    reopen.m_nID = 35624;
    reopen.DoUpdate(Frame(), FALSE);
    EXPECT_FALSE(reopen.m_bEnabled); // the view is "sch", not "vlog_structural"
    CCmdUI view;
    view.m_nID = 35563;
    view.DoUpdate(Frame(), FALSE);
    EXPECT_EQ(view.m_strText, CString("Physical View (board)"));
}

TEST_F(FrameHubTest, ResizingWithoutStoredHeightsSharesTheHeight) {
    ASSERT_TRUE(Open());
    // The splitter refuses a pair of zeros; whatever it keeps, resizing must not fail.
    Frame()->InnerSplitter().SetPaneSize(0, 0);
    Frame()->MoveWindow(0, 0, 800, 600);
    Frame()->MoveWindow(0, 0, 1000, 900);
    int h0 = 0, h1 = 0, min = 0;
    Frame()->InnerSplitter().GetRowInfo(0, h0, min);
    Frame()->InnerSplitter().GetRowInfo(1, h1, min);
    EXPECT_GT(h0, 0);
    EXPECT_GT(h1, 0);
}

TEST_F(FrameHubTest, TabActivationReportsTheBlockAndJournals) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    Doc()->SetTitle("board:[rev3]");
    Echoes();
    Frame()->SendMessage(0x0222 /* WM_MDIACTIVATE */, 0, reinterpret_cast<LPARAM>(Frame()->GetSafeHwnd()));
    auto echoes = Echoes();
    ASSERT_FALSE(echoes.empty());
    EXPECT_EQ(echoes.back(), "switchTab board rev3");
    EXPECT_NE(JournalText().find("\ncall RMX.SelectTab(\"1\")"), std::string::npos);
    EXPECT_NE(JournalText().find("\nset board_phys = RMX.GetActiveTab()"), std::string::npos);
    Doc()->SetTitle("x:");
    Frame()->SendMessage(0x0222, 0, reinterpret_cast<LPARAM>(Frame()->GetSafeHwnd()));
    EXPECT_EQ(Echoes().back(), "switchTab board");
}

TEST_F(FrameHubTest, ListPanesKeepTheirProportionWhenTheFrameGrows) {
    ASSERT_TRUE(Open());
    CKXSplitterWnd& inner = Frame()->InnerSplitter();
    inner.SetRowInfo(0, 100, 10);
    inner.SetRowInfo(1, 300, 10);
    inner.RecalcLayout();
    Frame()->SendMessage(g_msgStopTrackingSplitter, 0, 0);
    int a = 0, b = 0;
    inner.GetPaneSize(a, b);
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    Frame()->MoveWindow(0, 0, 1200, 1000);
    Frame()->MoveWindow(0, 0, 1400, 1200);
    int h0 = 0, h1 = 0, min = 0;
    inner.GetRowInfo(0, h0, min);
    inner.GetRowInfo(1, h1, min);
    ASSERT_GT(h0, 0);
    EXPECT_NEAR(static_cast<double>(h1) / h0, static_cast<double>(b) / a, 0.05);
}

TEST_F(FrameHubTest, ACollapsedUpperListStaysTwentyPixelsHigh) {
    ASSERT_TRUE(Open());
    CKXSplitterWnd& inner = Frame()->InnerSplitter();
    if (!inner.CollapsePane(0)) GTEST_SKIP() << "the splitter cannot collapse";
    int which = -1;
    ASSERT_TRUE(inner.GetSplitterStatus(which));
    ASSERT_NE(which, 0); // the upper pane
    for (int height : {700, 900, 500}) {
        Frame()->MoveWindow(0, 0, 900, height);
        int h0 = 0, min = 0;
        inner.GetRowInfo(0, h0, min);
        EXPECT_EQ(h0, 20) << height;
    }
}

class ReopenTest : public KXShellFixture {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        KXShellFixture::BuildDesign(b);
        b.schematic("net", "vlog_structural").instance("R5", "res", "R5").connect("R5", "A", "S");
        b.schematic("top").instance("B1", "net", "", "vlog_structural");
    }
};

TEST_F(ReopenTest, SaveAndReopenIsAskedAndHandsTheDesignToTheHost) {
    ASSERT_TRUE(Open("work.net:vlog_structural", 3));
    CCmdUI ui;
    ui.m_nID = 35624;
    ui.DoUpdate(Frame(), FALSE);
    EXPECT_TRUE(ui.m_bEnabled);
    // Not confirmed: nothing happens, as after a cancelled dialog.
    EXPECT_EQ(Run("kx::menu 35624"), "2");
    EXPECT_TRUE(Notifications(MSG_DESIGN_UNDO_RESET).empty());
    CKXTableChildFrm* first = Frame();
    AfxGetAnswerQueue().PushQuestion("KXTABLE-143", IDYES);
    Run("kx::menu 35624");
    EXPECT_EQ(Notifications(MSG_DESIGN_UNDO_RESET), (std::vector<std::string>{"work.net:vlog_structural"}));
    EXPECT_EQ(Notifications(MSG_DESIGN_SAVED).size(), 1u);
    auto open = Notifications(MSG_OPEN_DESIGN);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].substr(0, 2), "3 ");
    EXPECT_FALSE(first->IsWindowVisible());
}

// A window in its parent's context asks for its design by a path below the parent, which the host opens no
// window for: the window stays shown (else the design would be left without a window the user sees), and its
// save is done.
TEST_F(ReopenTest, AWindowStaysShownWhenTheDesignIsNotOpenedAgain) {
    ASSERT_TRUE(Open("work.top:sch", 3));
    Run("kx::select clp B1");
    ASSERT_EQ(Run("kx::call Descend"), "1");
    CKXTableChildFrm* block = Frame();
    const size_t windows = m_app->Documents().size();
    AfxGetAnswerQueue().PushQuestion("KXTABLE-143", IDYES);
    Run("kx::menu 35624");
    ASSERT_EQ(Notifications(MSG_OPEN_DESIGN).size(), 1u);
    // The block, and its parent (never written yet), which a save in its context saves too.
    EXPECT_EQ(Notifications(MSG_DESIGN_SAVED).size(), 2u);
    EXPECT_EQ(m_app->Documents().size(), windows);
    EXPECT_TRUE(block->IsWindowVisible());
}

TEST_F(FrameHubTest, SelectObjectMessagesReachTheLists) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Clp()->GetInstancePaneGrid()->GetReadyState(), 1);
    Frame()->SendMessage(g_msgSelectObject, reinterpret_cast<WPARAM>("R1"), 0);
    CStringArray names;
    Clp()->GetInstancePaneGrid()->GetSelectedNames(names);
    ASSERT_EQ(names.GetSize(), 1);
    EXPECT_EQ(names[0], CString("R1"));
    // A message without its text does nothing.
    EXPECT_EQ(Frame()->SendMessage(g_msgSelectObject, 0, 0), 0);
    EXPECT_EQ(Frame()->SendMessage(g_msgDeleteInstance, 0, 0), 0);
    EXPECT_EQ(Frame()->SendMessage(g_msgAddLogicalPart, 0, 0), 0);
}

TEST_F(FrameHubTest, PreserveCommentMessagesSplitTheirTexts) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    CKXInstancePaneGrid* grid = Clp()->GetInstancePaneGrid();
    grid->ClearCalls();
    Frame()->SendMessage(g_msgPreserveInstComment, reinterpret_cast<WPARAM>("U1:U7"), 1);
    EXPECT_EQ(grid->GetLastCall(), CString("PreserveCommentsWithUndo(U1, U7)"));
    Frame()->SendMessage(g_msgPreserveInstComment, reinterpret_cast<WPARAM>("R1:R9"), 0);
    EXPECT_EQ(grid->GetLastCall(), CString("PreserveComments(R1, R9)"));
    // Parts longer than 64 characters are cut, not written past their room.
    std::string longName(100, 'a');
    std::string text = longName + ":b";
    Frame()->SendMessage(g_msgPreserveInstComment, reinterpret_cast<WPARAM>(text.c_str()), 0);
    EXPECT_EQ(grid->GetLastCall(), CString(("PreserveComments(" + std::string(64, 'a') + ", b)").c_str()));
}

TEST_F(FrameHubTest, PhysicalViewIgnoresInstanceCommentMessages) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    CKXInstancePaneGrid* grid = Clp()->GetInstancePaneGrid();
    grid->ClearCalls();
    Frame()->SendMessage(g_msgPreserveInstComment, reinterpret_cast<WPARAM>("U1:U7"), 1);
    EXPECT_EQ(grid->GetLastCall(), CString(""));
}

TEST_F(FrameHubTest, HighlightingAPinSelectsItsInstance) {
    ASSERT_TRUE(Open());
    CInstTermBitContext pin;
    {
        CDesignContext design = Doc()->GetMasterDesignContext();
        CInstTermContext term = design.instance("R1").instTerm("A");
        ASSERT_TRUE(term);
        pin = term.bitContext(-1);
    }
    ASSERT_TRUE(pin);
    Frame()->SendMessage(g_msgHighlightPin, reinterpret_cast<WPARAM>(&pin), 0);
    CStringArray names;
    Clp()->GetInstancePaneGrid()->GetSelectedNames(names);
    ASSERT_EQ(names.GetSize(), 1);
    EXPECT_EQ(names[0], CString("R1"));
    EXPECT_EQ(Frame()->SendMessage(g_msgHighlightPin, 0, 0), 0);
}

TEST_F(FrameHubTest, ActivationSplitsTheWidthThreeToSeven) {
    ASSERT_TRUE(Open());
    // The window is shown maximised: its width is the main window's.
    m_app->MainWnd()->MoveWindow(0, 0, 1000, 800);
    Frame()->ActivateFrame();
    CRect rect;
    Frame()->GetWindowRect(&rect);
    int w = rect.Width();
    int cur0 = 0, cur1 = 0, min = 0;
    Frame()->OuterSplitter().GetColumnInfo(0, cur0, min);
    Frame()->OuterSplitter().GetColumnInfo(1, cur1, min);
    ASSERT_GT(w, 0);
    EXPECT_NEAR(cur0, w * 0.3, 12) << w;
    EXPECT_NEAR(cur1, w * 0.7, 12) << w;
}

TEST_F(FrameHubTest, SortKindCommandsOfTheConnectivityPane) {
    ASSERT_TRUE(Open());
    Ccp()->SendMessage(0x0111, 35673, 0);
    EXPECT_EQ(CCommonInterface::nSortType, 1);
    Ccp()->SendMessage(0x0111, 35672, 0);
    EXPECT_EQ(CCommonInterface::nSortType, 0);
}

TEST_F(FrameHubTest, UpdateRulesOfTheCommentAndFilterItems) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    auto update = [&](UINT id) {
        CCmdUI ui;
        ui.m_nID = id;
        ui.DoUpdate(Frame(), FALSE);
        return ui;
    };
    EXPECT_TRUE(update(35614).m_bEnabled);  // add: no comment yet
    EXPECT_FALSE(update(35615).m_bEnabled); // delete
    EXPECT_FALSE(update(35616).m_bEnabled); // edit
    EXPECT_FALSE(update(35571).m_bEnabled); // block filter: physical view only
    EXPECT_TRUE(update(35534).m_bEnabled);
    EXPECT_TRUE(update(35676).m_bEnabled);
    Word("designComment add note");
    EXPECT_FALSE(update(35614).m_bEnabled);
    EXPECT_TRUE(update(35615).m_bEnabled);
    EXPECT_TRUE(update(35616).m_bEnabled);
    // The menu item sends the script text; the script command does the work.
    Echoes();
    Run("kx::menu 35615");
    EXPECT_EQ(Echoes(), (std::vector<std::string>{"designComment delete"}));
    EXPECT_TRUE(update(35614).m_bEnabled);
}
