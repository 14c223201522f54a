// The connectivity pane's object information window: the objects it remembers, the grids it keeps
// open up to the project's limit per kind, its beam and its drop-down lists, through the host.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pane/KXObjectInfoWnd.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/context.h"
#include "rmx/schema.h"
#include "rmx/transaction.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class ObjectInfo : public KXShellFixture {
protected:
    CDesignContext Design() { return CDesignContext(CKXShareGlobalData::m_pServer, "work.board:sch"); }
    void Project(const std::string& text) {
        const std::filesystem::path file = m_dir / "kx.prj";
        std::ofstream(file) << text;
        std::string error;
        ASSERT_TRUE(m_app->LoadProject(file.string(), error)) << error;
    }
    CKXObjectInfoWnd& Info() { return Ccp()->ObjectInfo(); }
    std::string Key(const char* instance) { return std::to_string(Design().instance(instance).instance()->id()); }
    std::string NetKey(const char* net) { return std::to_string(Design().net(net).net()->id()); }
    int Grids(KXGridKind kind) { return Ccp()->GetGridCount(kind); }
    // The lines of kx::objects that start with the word.
    std::vector<std::string> Lines(const std::string& word) {
        std::vector<std::string> found;
        std::istringstream text(Run("kx::objects"));
        for (std::string line; std::getline(text, line);)
            if (line.rfind(word + " ", 0) == 0 || line == word) found.push_back(line);
        return found;
    }
    std::string Beam() { return Lines("beam").empty() ? std::string() : Lines("beam").front(); }
    // One edit of the design committed as the user's edits are.
    template <class Edit> void Commit(Edit edit) {
        CKXGridWnd* grid = Ccp()->PaneGrid();
        ASSERT_NE(grid, nullptr);
        ASSERT_TRUE(CKXTransaction::BeginTrans(grid, Design(), "Change"));
        ASSERT_TRUE(edit(*CKXTransaction::GetCurrentTransactionObj()));
        ASSERT_TRUE(CKXTransaction::CommitTrans(grid, 1, 1));
    }
};

// ------------------------------------------------------------------ open grids and their limit

TEST_F(ObjectInfo, TheLimitCountsPerKindAndATrimmedComponentIsRememberedWithoutItsRow) {
    Project("[GRIDWORKSHOP]\nmax_open_windows 2\n");
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Run("kx::show clp R1");
    Run("kx::show slp N1");
    Run("kx::show slp GND");
    EXPECT_EQ(Grids(KXGridKind::Pin), 2); // two of each kind: nothing was closed yet
    EXPECT_EQ(Grids(KXGridKind::Signal), 2);
    Run("kx::show clp X1");
    EXPECT_EQ(Grids(KXGridKind::Pin), 2);
    EXPECT_EQ(Info().FindWindowById(Key("U1"), 0), nullptr); // made first, closed first
    ASSERT_NE(Info().FindRecord(Key("U1"), 0), nullptr);     // but still remembered
    EXPECT_EQ(Info().GetRecordCount(0), 3u);
    EXPECT_EQ(Lines("component").size(), 2u) << Run("kx::objects"); // its row left the list
    EXPECT_EQ(Grids(KXGridKind::Signal), 2);                         // the signals' grids are their own
    // Shown again by id, its grid is made again and the oldest open one goes.
    Run("kx::show clp U1");
    EXPECT_NE(Info().FindWindowById(Key("U1"), 0), nullptr);
    EXPECT_EQ(Info().FindWindowById(Key("R1"), 0), nullptr);
    EXPECT_EQ(Grids(KXGridKind::Pin), 2);
}

TEST_F(ObjectInfo, ShowingAnOpenObjectAgainDoesNotChangeWhichGridIsClosedNext) {
    Project("[GRIDWORKSHOP]\nmax_open_windows 2\n");
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Run("kx::show clp R1");
    Run("kx::show clp U1"); // the grid made first is still the oldest
    Run("kx::show clp X1");
    EXPECT_EQ(Info().FindWindowById(Key("U1"), 0), nullptr);
    EXPECT_NE(Info().FindWindowById(Key("R1"), 0), nullptr);
    EXPECT_NE(Info().FindWindowById(Key("X1"), 0), nullptr);
}

TEST_F(ObjectInfo, ASignalsGridIsKeptAndShownAgainWithTheDesignAsItIsNow) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 1u);
    CKXGridWnd* n1 = Ccp()->GetShownGrids().front();
    Run("kx::show slp GND");
    EXPECT_EQ(Grids(KXGridKind::Signal), 2);
    EXPECT_FALSE(n1->IsWindowVisible());
    // R1 leaves N1 while N1's grid is kept but hidden: shown again, the grid has not the pin any more.
    Commit([&](CTransaction& t) {
        for (auto it = Design().net("N1").net()->beginConn(); it; ++it)
            if (CConn conn = *it; conn.instTerm() && CString(conn.instTerm()->instance()->name()) == "R1")
                return t.removeConn(conn);
        return false;
    });
    Run("kx::show slp N1");
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 1u);
    EXPECT_EQ(Ccp()->GetShownGrids().front(), n1);
    EXPECT_TRUE(n1->IsWindowVisible());
    const std::string text = Run("kx::window ccp");
    EXPECT_NE(text.find("U1"), std::string::npos) << text;
    EXPECT_EQ(text.find("R1"), std::string::npos) << text;
}

// The user sorted N1's rows by Instance, filtered them and left the current cell on X1. Shown
// again after another signal, the grid has the same order, filter and current cell.
TEST_F(ObjectInfo, AKeptSignalGridComesBackAsTheUserLeftIt) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    CKXGridWnd* n1 = Ccp()->GetShownGrids().front();
    const ROWCOL instance = static_cast<ROWCOL>(CKXSignalDetailsGridWnd::m_nColInstance);
    // The instances of the rows the user sees, top down.
    auto shown = [&] {
        std::string names;
        for (ROWCOL r = 5; r <= n1->GetRowCount(); ++r)
            if (!n1->IsRowHidden(r) && !n1->GetValueRowCol(r, instance).IsEmpty())
                names += std::string(n1->GetValueRowCol(r, instance)) + " ";
        return names;
    };
    EXPECT_EQ(shown(), "X1 U1 R1 "); // by Cell: blk, buf, res
    EXPECT_EQ(Run("sort pin Instance"), "1");
    EXPECT_EQ(Run("filterRows pin -col \"Pin Name\" -filter ?"), "1"); // OUT goes
    ASSERT_EQ(shown(), "R1 X1 ");
    ROWCOL x1 = 5;
    while (x1 < n1->GetRowCount() && n1->GetValueRowCol(x1, instance) != "X1") ++x1;
    EXPECT_EQ(Run("kx::select ccp " + std::to_string(x1) + " " + std::to_string(instance)), "1");
    Run("kx::show slp GND");
    Run("kx::show slp N1");
    ASSERT_EQ(Ccp()->GetShownGrids().front(), n1);
    EXPECT_EQ(shown(), "R1 X1 ") << Run("kx::window ccp");
    ROWCOL row = 0, col = 0;
    ASSERT_TRUE(n1->GetCurrentCell(row, col));
    EXPECT_EQ(n1->GetValueRowCol(row, instance), "X1");
    EXPECT_EQ(col, instance);
}

TEST_F(ObjectInfo, ADeletedNetTakesItsKeptGridsWithIt) {
    ASSERT_TRUE(Open());
    Run("kx::show slp GND");
    Run("kx::show slp DATA<2>");
    Run("kx::show slp N1");
    ASSERT_EQ(Grids(KXGridKind::Signal), 3);
    Commit([&](CTransaction& t) { return t.removeNet(Design().net("GND").net()); });
    EXPECT_EQ(Grids(KXGridKind::Signal), 2);
    EXPECT_EQ(Info().FindRecord(NetKey("N1"), 1) != nullptr, true);
    for (const std::string& line : Lines("signal"))
        EXPECT_EQ(line.find("GND"), std::string::npos) << line;
    // Showing what is left works as before.
    EXPECT_EQ(Run("kx::show slp N1"), "1");
    EXPECT_EQ(Ccp()->GetShownGrids().size(), 1u);
}

// ------------------------------------------------------------------ the beam

TEST_F(ObjectInfo, TheBeamNamesTheCurrentObjectAndCountsItsKind) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    EXPECT_EQ(Beam(), "beam Component: U1 (1)");
    Run("kx::show clp R1");
    EXPECT_EQ(Beam(), "beam Component: R1 (2)");
    Run("kx::show clp U1 R1"); // side by side
    EXPECT_EQ(Beam(), "beam Component: Multiple Selection (2)");
    EXPECT_TRUE(Info().IsSideBySide());
    EXPECT_EQ(Info().GetSeparatorCount(), 1u);
    Run("kx::show slp DATA<2>");
    EXPECT_EQ(Beam(), "beam Signal: Net Bit (1)");
    EXPECT_EQ(Info().GetShownKind(), 1);
    Run("kx::show slp N1");
    EXPECT_EQ(Beam(), "beam Signal: N1 (2)");
}

TEST_F(ObjectInfo, TheBeamFollowsTheGridWhoseCurrentCellChanges) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1 R1");
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u);
    // The object a shown grid stands for, as its id.
    auto idOfGrid = [this](int index) {
        CString kind, title;
        Ccp()->GetShownGridInfo(index, kind, title);
        return std::stol(Key(title.GetString()));
    };
    for (int index : {1, 0}) {
        Run("kx::grid ccp " + std::to_string(index + 1)); // the hands on the grid: its current cell is set
        EXPECT_EQ(Info().Beam().GetCurrentRecord(), idOfGrid(index));
        EXPECT_EQ(Info().GetActiveGrid(), Ccp()->GetShownGrids()[static_cast<size_t>(index)]);
    }
    EXPECT_TRUE(Info().Beam().IsReadOnlyRecordField());
    // The pointer over a list button shows its tip.
    Info().Beam().SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(CKXObjectInfoBeam::kButtonWidth + 2, 3));
    EXPECT_EQ(std::string(Info().Beam().GetToolTip()), "Signal List");
}

TEST_F(ObjectInfo, EveryRecordOfAKindIsWalkedOnceWithItsGrid) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Run("kx::show clp R1");
    std::set<std::string> keys{Key("U1")};
    Info().CloseObjectWindows(keys, 0, FALSE); // remembered, without a grid
    int records = 0, grids = 0;
    for (POSITION pos = Info().GetFirstWindowPosition(0); pos;) {
        ++records;
        if (Info().GetNextWindow(pos, 0)) ++grids;
    }
    EXPECT_EQ(records, 2);
    EXPECT_EQ(grids, 1);
    EXPECT_EQ(Info().GetFirstWindowPosition(1), nullptr); // no signal yet
}

TEST_F(ObjectInfo, ARenamedObjectIsRenamedInItsRowAndOnTheBeamWithItsAmpersandShownOnce) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Info().RenameObject(Key("U1"), 0, "A&B");
    EXPECT_EQ(std::string(Info().Beam().GetText()), "A&&B"); // doubled, so that it is no mnemonic
    EXPECT_EQ(Beam(), "beam Component: A&B (1)");
    EXPECT_EQ(Lines("component").front().rfind("component A&B |", 0), 0u) << Lines("component").front();
}

TEST_F(ObjectInfo, KindTwoShowsTheKindTheBeamShows) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Run("kx::show slp N1");
    Run("kx::show slp GND");
    Info().ShowObjectInfo(NetKey("N1"), 2, 0, 0);
    ASSERT_EQ(Info().ShownGrids().size(), 1u);
    EXPECT_EQ(Beam(), "beam Signal: N1 (2)");
    // A key the kind has no record of shows nothing.
    Info().ShowObjectInfo("999999", 2, 0, 0);
    EXPECT_TRUE(Info().ShownGrids().empty());
}

// ------------------------------------------------------------------ the lists

// Before the pane showed anything the object window has nothing to tell: the host says so.
TEST_F(ObjectInfo, NothingShownYetIsAnError) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::objects"), "error: the connectivity pane has shown nothing yet");
    Run("kx::show clp U1");
    EXPECT_EQ(Run("kx::objects").rfind("beam Component: U1", 0), 0u) << Run("kx::objects");
}

TEST_F(ObjectInfo, EnterInTheComponentListShowsTheChosenRowsSideBySide) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Run("kx::show clp R1");
    Run("kx::show clp X1");
    EXPECT_EQ(Run("kx::objects drop signal"), "0"); // no signal was shown: the empty list stays up
    EXPECT_TRUE(Lines("dropped").empty());
    EXPECT_EQ(Run("kx::objects drop component"), "1");
    EXPECT_EQ(Lines("dropped"), std::vector<std::string>{"dropped component"});
    EXPECT_EQ(Run("kx::objects choose 1 2 3"), "1");
    EXPECT_TRUE(Lines("dropped").empty()); // the list went up again
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 3u);
    EXPECT_TRUE(Info().IsSideBySide());
    EXPECT_EQ(Info().GetSeparatorCount(), 2u);
    EXPECT_TRUE(Info().ShowsOwnScrollBar()); // the three scroll together
    EXPECT_EQ(Beam(), "beam Component: Multiple Selection (3)");
    // The chosen grids share the width.
    CRect a, b;
    Ccp()->GetShownGrids()[0]->GetWindowRect(&a);
    Ccp()->GetShownGrids()[1]->GetWindowRect(&b);
    EXPECT_EQ(a.Width(), b.Width());
}

// What the user chooses in a dropped list is what the pane shows: its title, its Attach Signal row and
// the names it shows follow the chosen kind, both ways.
TEST_F(ObjectInfo, ChoosingTheOtherKindInItsListRetitlesThePane) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Run("kx::show slp N1");
    EXPECT_NE(Run("kx::ccpbar").find("combo hidden"), std::string::npos);
    ASSERT_EQ(Run("kx::objects drop component"), "1");
    ASSERT_EQ(Run("kx::objects choose 1"), "1");
    EXPECT_EQ(Run("kx::window ccp").substr(0, 36), "Component Connectivity Details\n  U1\n");
    EXPECT_NE(Run("kx::ccpbar").find("combo shown enabled"), std::string::npos) << Run("kx::ccpbar");
    ASSERT_EQ(Run("kx::objects drop signal"), "1");
    ASSERT_EQ(Run("kx::objects choose 1"), "1");
    EXPECT_EQ(Run("kx::window ccp").substr(0, 33), "Signal Connectivity Details\n  N1\n");
    EXPECT_NE(Run("kx::ccpbar").find("combo hidden"), std::string::npos);
}

TEST_F(ObjectInfo, OneRowOfTheSignalListShowsThatSignalAlone) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    Run("kx::show slp GND");
    EXPECT_EQ(Run("kx::objects drop signal"), "1");
    EXPECT_NE(Run("kx::objects choose 1 2"), "1"); // a single-selection list
    EXPECT_EQ(Run("kx::objects choose 1"), "1");
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 1u);
    EXPECT_EQ(Beam(), "beam Signal: N1 (2)");
    EXPECT_EQ(Run("kx::objects drop signal"), "1");
    EXPECT_EQ(Run("kx::objects escape"), "1");
    EXPECT_TRUE(Lines("dropped").empty());
}

TEST_F(ObjectInfo, ClosingWithTheRemoveFlagForgetsTheObjectAndItsGrid) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Run("kx::show clp R1");
    std::set<std::string> keys{Key("R1")};
    Info().CloseObjectWindows(keys, 0, TRUE);
    EXPECT_TRUE(keys.empty());
    EXPECT_EQ(Info().FindRecord(Key("R1"), 0), nullptr);
    EXPECT_EQ(Grids(KXGridKind::Pin), 1);
    EXPECT_TRUE(Ccp()->GetShownGrids().empty());
    // Without the flag the object stays remembered, without its grid.
    Info().CloseObjectWindowByKey(Key("U1"), 0, FALSE);
    EXPECT_NE(Info().FindRecord(Key("U1"), 0), nullptr);
    EXPECT_EQ(Grids(KXGridKind::Pin), 0);
    EXPECT_EQ(Run("kx::show clp U1"), "1");
    EXPECT_EQ(Grids(KXGridKind::Pin), 1);
}

TEST_F(ObjectInfo, DraggingASeparatorTradesWidthBetweenItsNeighbours) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1 R1");
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u);
    CKXGridWnd* left = Ccp()->GetShownGrids()[0];
    CKXGridWnd* right = Ccp()->GetShownGrids()[1];
    CRect l0, r0, l1, r1;
    left->GetWindowRect(&l0);
    right->GetWindowRect(&r0);
    ASSERT_TRUE(Info().DragSeparator(0, -30));
    left->GetWindowRect(&l1);
    right->GetWindowRect(&r1);
    EXPECT_EQ(l1.Width(), l0.Width() - 30);
    EXPECT_GT(r1.Width(), r0.Width()); // the right one takes what the left one gave
    EXPECT_EQ(r1.left, l1.right + 4);  // past the separator
    // With the mouse: pressed on the separator, released 20 pixels to the right.
    CRect separator = l1;
    Info().ScreenToClient(&separator); // the press comes in the window's own coordinates
    const int x = separator.right + 2;
    Info().SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(x, 10));
    Info().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x + 20, 10));
    CRect l2;
    left->GetWindowRect(&l2);
    EXPECT_EQ(l2.Width(), l1.Width() + 20);
    // A press beside every separator drags nothing.
    Info().SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(1, 10));
    Info().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(60, 10));
    left->GetWindowRect(&l1);
    EXPECT_EQ(l1.Width(), l2.Width());
    EXPECT_FALSE(Info().DragSeparator(1, 10));     // no grid right of the last one
    EXPECT_FALSE(Info().DragSeparator(0, -100000)); // no grid narrower than nothing
}

// ------------------------------------------------------------------ the design changes under the window

TEST_F(ObjectInfo, ARemovedComponentIsForgottenWithItsGrid) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Run("kx::show clp R1");
    const std::string r1 = Key("R1");
    Commit([&](CTransaction& t) { return t.removeInstance(Design().instance("R1").instance()); });
    EXPECT_EQ(Info().FindRecord(r1, 0), nullptr);
    EXPECT_EQ(Grids(KXGridKind::Pin), 1);
    EXPECT_TRUE(Ccp()->GetShownGrids().empty());
    EXPECT_EQ(Lines("component").size(), 1u) << Run("kx::objects");
}

// A component the schematic tool places while the window is open, and one an undo brings back, get
// their rows in the component list as a new net does in the signal list; its drop offers them.
TEST_F(ObjectInfo, APlacedComponentAndOneAnUndoBringsBackHaveTheirRows) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    auto rows = [this](const std::string& name) {
        size_t found = 0;
        for (const std::string& line : Lines("component"))
            if (line.rfind("component " + name + " |", 0) == 0) ++found;
        return found;
    };
    ASSERT_EQ(Run("kx::notify INT_MSG_ADD_LOGICAL_PART -text {work.res:sym R5}"), "1");
    EXPECT_EQ(rows("R5"), 1u) << Run("kx::objects");
    Run("kx::show clp R1");
    Run("kx::show clp U1");
    ASSERT_EQ(Run("kx::notify INT_MSG_DELETE_INSTANCE -text R1"), "1");
    ASSERT_EQ(rows("R1"), 0u) << Run("kx::objects");
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(rows("R1"), 1u) << Run("kx::objects");
    ASSERT_EQ(Run("redo"), "1");
    EXPECT_EQ(rows("R1"), 0u) << Run("kx::objects");
    // The placed component is chosen from the dropped list as any remembered one.
    EXPECT_EQ(Run("kx::objects activate R5"), "1");
    EXPECT_EQ(Beam().rfind("beam Component: R5", 0), 0u) << Beam();
}

TEST_F(ObjectInfo, RenamedComponentsAndNetsAreRenamedInTheListsAndOnTheBeam) {
    ASSERT_TRUE(Open());
    Run("kx::show slp GND");
    Run("kx::show clp U1");
    Commit([&](CTransaction& t) { return t.renameInstance(Design().instance("U1").instance(), "U7"); });
    EXPECT_EQ(Beam(), "beam Component: U7 (1)");
    Commit([&](CTransaction& t) { return t.renameNet(Design().net("GND").net(), "GND2"); });
    const std::vector<std::string> signals = Lines("signal");
    ASSERT_EQ(signals.size(), 1u);
    EXPECT_EQ(signals.front().rfind("signal GND2 |", 0), 0u) << signals.front();
}

// ------------------------------------------------------------------ groups and net bits

TEST_F(ObjectInfo, SeveralNetsShowInOneKeptGroupGrid) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1 GND");
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 1u);
    CKXGridWnd* group = Ccp()->GetShownGrids().front();
    EXPECT_EQ(Beam(), "beam Signal: Multiple Selection (3)"); // the two nets and the group
    int groups = 0;
    for (const std::string& key : Info().RecordKeys(1))
        if (key.find(':') != std::string::npos) ++groups;
    EXPECT_EQ(groups, 1);
    EXPECT_EQ(Lines("signal").size(), 2u); // the group has no row of its own
    Run("kx::show slp N1");
    Run("kx::show slp N1 GND");
    EXPECT_EQ(Ccp()->GetShownGrids().front(), group);
    EXPECT_EQ(Grids(KXGridKind::Signal), 2);
}

TEST_F(ObjectInfo, ComponentsShownAfterAGroupOfNetsStandSideBySide) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1 GND");
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 1u); // the nets as a group
    Run("kx::show clp U1 R1");
    EXPECT_EQ(Ccp()->GetShownGrids().size(), 2u); // not a group: the nets' request was another one
    EXPECT_TRUE(Info().IsSideBySide());
    EXPECT_EQ(Grids(KXGridKind::Pin), 2);
}

TEST_F(ObjectInfo, ANetBitHasAGridOfItsOwnBesideItsBus) {
    ASSERT_TRUE(Open());
    Run("kx::show slp DATA<2>");
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 1u);
    CKXGridWnd* bit = Ccp()->GetShownGrids().front();
    Run("kx::show slp DATA");
    EXPECT_NE(Ccp()->GetShownGrids().front(), bit);
    EXPECT_EQ(Beam(), "beam Signal: DATA (2)");
    Run("kx::show slp DATA<2>");
    EXPECT_EQ(Ccp()->GetShownGrids().front(), bit);
    EXPECT_EQ(Beam(), "beam Signal: Net Bit (2)");
    EXPECT_EQ(Lines("signal").size(), 1u); // a net bit is remembered without a row: only DATA has one
    const std::string text = Run("kx::window ccp");
    EXPECT_NE(text.find("U1"), std::string::npos) << text;
}

// ------------------------------------------------------------------ nets made since the window opened

TEST_F(ObjectInfo, ANetMadeAfterOpeningHasItsRowWithItsPhysicalNameAndABusItsBitsToo) {
    ASSERT_TRUE(Open());
    Run("kx::show slp DATA<2>"); // a net bit shown last: its request adds no row, the new nets' rows come anyway
    Commit([&](CTransaction& t) {
        INet* net = t.createNet("NEW", static_cast<unsigned>(-1), static_cast<unsigned>(-1));
        return net && t.addProperty(net, -1, "PHYS_NET_NAME", "P_NEW", 0) &&
               t.createNet("BUS", 2, 0) != nullptr;
    });
    const std::vector<std::string> rows = Lines("signal");
    auto has = [&rows](const std::string& row) { return std::find(rows.begin(), rows.end(), row) != rows.end(); };
    EXPECT_TRUE(has("signal NEW | P_NEW")) << Run("kx::objects");
    EXPECT_TRUE(has("signal BUS<2..0> | BUS<2..0>")) << Run("kx::objects");
    for (const char* bit : {"signal BUS<2> | ", "signal BUS<1> | ", "signal BUS<0> | "})
        EXPECT_TRUE(has(bit)) << bit << "\n" << Run("kx::objects");
    EXPECT_EQ(rows.size(), 5u); // the bit shown before has no row
    // A new net is shown from its row; the bit shown before and the five new ones are remembered.
    EXPECT_EQ(Run("kx::objects activate NEW"), "1");
    EXPECT_EQ(Beam(), "beam Signal: NEW (6)");
}

TEST_F(ObjectInfo, ADeletedBusTakesTheRowsAndGridsOfItsBits) {
    ASSERT_TRUE(Open());
    Commit([&](CTransaction& t) { return t.createNet("BUS", 3, 0) != nullptr; });
    Run("kx::show slp BUS<1>");
    Run("kx::show slp DATA<2>"); // a bus the design had when the window opened
    Run("kx::show slp N1");
    ASSERT_EQ(Grids(KXGridKind::Signal), 3);
    Commit([&](CTransaction& t) {
        return t.removeNet(Design().net("BUS").net()) && t.removeNet(Design().net("DATA").net());
    });
    EXPECT_EQ(Grids(KXGridKind::Signal), 1);
    for (const std::string& line : Lines("signal")) {
        EXPECT_EQ(line.find("BUS"), std::string::npos) << line;
        EXPECT_EQ(line.find("DATA"), std::string::npos) << line;
    }
    EXPECT_EQ(Lines("signal"), std::vector<std::string>{"signal N1 | N1"});
}

TEST_F(ObjectInfo, ANarrowedBusClosesTheBitsThatLeftAndAWidenedOneGivesRowsToTheBitsThatCame) {
    ASSERT_TRUE(Open());
    Commit([&](CTransaction& t) { return t.createNet("BUS", 3, 0) != nullptr; });
    Run("kx::show slp BUS<3>");
    Run("kx::show slp BUS<0>");
    ASSERT_EQ(Grids(KXGridKind::Signal), 2);
    Commit([&](CTransaction& t) { return t.changeNetWidth(Design().net("BUS").net(), 1, 0); });
    EXPECT_EQ(Grids(KXGridKind::Signal), 1); // BUS<3> is no bit of the net any more
    std::vector<std::string> rows = Lines("signal");
    EXPECT_EQ(rows, (std::vector<std::string>{"signal BUS<1..0> | BUS<1..0>", "signal BUS<1> | ", "signal BUS<0> | "}));
    Commit([&](CTransaction& t) { return t.changeNetWidth(Design().net("BUS").net(), 2, 0); });
    rows = Lines("signal");
    EXPECT_EQ(rows, (std::vector<std::string>{"signal BUS<2..0> | BUS<2..0>", "signal BUS<1> | ", "signal BUS<0> | ",
                                              "signal BUS<2> | "}));
    // Renamed, the bus and its bits are named anew.
    Commit([&](CTransaction& t) { return t.renameNet(Design().net("BUS").net(), "WIDE"); });
    rows = Lines("signal");
    EXPECT_EQ(rows.front().rfind("signal WIDE<2..0> |", 0), 0u) << rows.front();
    EXPECT_EQ(rows[1], "signal WIDE<1> | ");
}

// The signal list takes a commit before the pane: what it tells the pane of the changed net must
// not hide the change of range from the pane.
TEST_F(ObjectInfo, ABusResizedWithTheListToldFirstStillClosesTheBitsThatLeft) {
    ASSERT_TRUE(Open());
    Commit([&](CTransaction& t) { return t.createNet("BUS", 3, 0) != nullptr; });
    Run("kx::show slp BUS<3>");
    Run("kx::show slp BUS<0>");
    ASSERT_EQ(Grids(KXGridKind::Signal), 2);
    IKXMessageServer* server = GetKXMsgSrvr();
    const HWND pane = Ccp()->GetSafeHwnd();
    ASSERT_TRUE(server->UnregisterWindow(MSG_TRANSACTION_COMMITTED, pane));
    ASSERT_TRUE(server->RegisterWindow(MSG_TRANSACTION_COMMITTED, pane)); // told last
    Commit([&](CTransaction& t) { return t.changeNetWidth(Design().net("BUS").net(), 1, 0); });
    EXPECT_EQ(Grids(KXGridKind::Signal), 1);
    EXPECT_EQ(Lines("signal"), (std::vector<std::string>{"signal BUS<1..0> | BUS<1..0>", "signal BUS<1> | ",
                                                         "signal BUS<0> | "}));
}

// A bus the window never remembered gets no rows for the bits a widening brings.
TEST_F(ObjectInfo, AWidenedBusNeverShownGetsNoRowsForItsNewBits) {
    ASSERT_TRUE(Open());
    Commit([&](CTransaction& t) { return t.changeNetWidth(Design().net("DATA").net(), 9, 0); });
    for (const std::string& line : Lines("signal")) EXPECT_EQ(line.find("DATA"), std::string::npos) << line;
    Run("kx::show slp DATA<9>"); // a bit that came is still shown on request
    EXPECT_EQ(Grids(KXGridKind::Signal), 1);
}

// A bus as wide as a net can be, made after opening: every bit has its row, read as its net names
// it now; a bit chosen from the list is shown and counted once; the rows follow a rename, a narrowing
// and the deletion.
TEST_F(ObjectInfo, AWideBusMadeAfterOpeningListsEveryBitAndShowsTheOneChosen) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Commit([&](CTransaction& t) { return t.createNet("WIDE", 65535, 0) != nullptr; });
    std::vector<std::string> rows = Lines("signal");
    ASSERT_EQ(rows.size(), 65537u);
    EXPECT_EQ(rows[0], "signal WIDE<65535..0> | WIDE<65535..0>");
    EXPECT_EQ(rows[1], "signal WIDE<65535> | ");
    EXPECT_EQ(rows[25536], "signal WIDE<40000> | ");
    EXPECT_EQ(rows.back(), "signal WIDE<0> | ");
    EXPECT_EQ(Run("kx::objects drop signal"), "1");
    EXPECT_EQ(Run("kx::objects choose 25537"), "1");
    EXPECT_EQ(Beam(), "beam Signal: Net Bit (65537)"); // the bus and its bits, the one shown among them
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 1u);
    const std::string shown = Run("kx::window ccp");
    EXPECT_NE(shown.find("WIDE<40000>"), std::string::npos) << shown.substr(0, 400);
    Run("kx::show slp WIDE<7>"); // shown by name, a bit is remembered once too
    EXPECT_EQ(Beam(), "beam Signal: Net Bit (65537)");

    Commit([&](CTransaction& t) { return t.renameNet(Design().net("WIDE").net(), "BROAD"); });
    rows = Lines("signal");
    ASSERT_EQ(rows.size(), 65537u);
    EXPECT_EQ(rows[2], "signal BROAD<65534> | ");
    EXPECT_EQ(rows[25536], "signal BROAD<40000> | ");

    Commit([&](CTransaction& t) { return t.changeNetWidth(Design().net("BROAD").net(), 9, 0); });
    rows = Lines("signal");
    ASSERT_EQ(rows.size(), 11u) << rows.front();
    EXPECT_EQ(rows[1], "signal BROAD<9> | ");
    EXPECT_EQ(rows[10], "signal BROAD<0> | ");
    EXPECT_EQ(Grids(KXGridKind::Signal), 1); // BROAD<40000> left with its grid, BROAD<7> stays
    Run("kx::show slp BROAD<7>");
    EXPECT_EQ(Beam(), "beam Signal: Net Bit (11)");

    Commit([&](CTransaction& t) { return t.removeNet(Design().net("BROAD").net()); });
    EXPECT_TRUE(Lines("signal").empty()) << Run("kx::objects");
    EXPECT_EQ(Grids(KXGridKind::Signal), 0);
}

TEST_F(ObjectInfo, ClosingAGroupLeavesTheRowOfItsFirstObject) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    Run("kx::show slp N1 GND"); // one group grid, keyed by both ids
    std::string group;
    for (const std::string& key : Info().RecordKeys(1))
        if (key.find(':') != std::string::npos) group = key;
    ASSERT_FALSE(group.empty());
    Info().CloseObjectWindowByKey(group, 1, TRUE);
    EXPECT_EQ(Info().FindRecord(group, 1), nullptr);
    const std::vector<std::string> rows = Lines("signal");
    ASSERT_EQ(rows.size(), 2u) << Run("kx::objects");
    EXPECT_EQ(rows.front().rfind("signal N1 |", 0), 0u) << rows.front();
}

// ------------------------------------------------------------------ the list's rows by id

TEST(ObjectInfoList, RowsTakenOutLeaveTheOthersInOrderAndFoundById) {
    CKXObjectInfoListCtrl list(TRUE, 0);
    for (DWORD_PTR id = 1; id <= 6; ++id)
        EXPECT_TRUE(list.AddRow(id * 10, ("R" + std::to_string(id)).c_str(), "", ""));
    EXPECT_FALSE(list.AddRow(30, "again", "", "")); // an id has one row
    list.RemoveRows({20, 50, 60, 99});
    ASSERT_EQ(list.GetItemCount(), 3);
    const DWORD_PTR left[] = {10, 30, 40};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(list.GetItemData(row), left[row]);
        EXPECT_EQ(list.FindRowById(left[row]), row);
    }
    for (DWORD_PTR gone : {20, 50, 60})
        EXPECT_EQ(list.FindRowById(gone), -1);
    EXPECT_TRUE(list.AddRow(20, "R2", "", "")); // back, at the end
    EXPECT_EQ(list.FindRowById(20), 3);
    // A row taken out by the base list's own operation is not found at its old place.
    list.DeleteItem(0);
    EXPECT_EQ(list.FindRowById(10), -1);
    EXPECT_EQ(list.FindRowById(40), 1);
    EXPECT_EQ(list.FindRowById(20), 2);
}

// A run of rows reads its texts by id; a row of it given a text of its own, or taken out, leaves the
// rows before and after it in their runs and in order.
TEST(ObjectInfoList, RunsOfRowsAreFoundSplitAndTakenOutAsRowsAre) {
    CKXObjectInfoListCtrl list(TRUE, 1);
    list.SetRunText([](DWORD_PTR id, int column) { return CString(column ? "" : ("B" + std::to_string(id)).c_str()); });
    EXPECT_TRUE(list.AddRow(7, "N7", "P7", ""));
    list.AddRun(105, 6, -1); // 105 down to 100
    list.AddRun(98, 4, 1);   // 98 up to 101: 100 and 101 have their rows
    ASSERT_EQ(list.GetItemCount(), 1 + 6 + 2);
    const DWORD_PTR order[] = {7, 105, 104, 103, 102, 101, 100, 98, 99};
    for (int row = 0; row < 9; ++row) {
        EXPECT_EQ(list.GetItemData(row), order[row]) << row;
        EXPECT_EQ(list.FindRowById(order[row]), row);
    }
    EXPECT_FALSE(list.AddRow(103, "again", "", "")); // an id of a run has its row
    EXPECT_EQ(list.FindRowById(106), -1);
    EXPECT_EQ(list.FindRowById(97), -1);
    EXPECT_EQ(list.GetItemText(3, 0), "B103");
    EXPECT_EQ(list.GetItemText(0, 1), "P7");

    EXPECT_TRUE(list.SetItemText(3, 0, "OWN")); // 103 leaves its run
    EXPECT_EQ(list.GetItemText(3, 0), "OWN");
    EXPECT_EQ(list.GetItemText(2, 0), "B104");
    EXPECT_EQ(list.GetItemText(4, 0), "B102");
    EXPECT_EQ(list.FindRowById(102), 4);

    list.SetItemState(5, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(8, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.SelectedIds(), "101:99");

    list.RemoveRows({104, 103, 100, 98, 55});
    const DWORD_PTR left[] = {7, 105, 102, 101, 99};
    ASSERT_EQ(list.GetItemCount(), 5);
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(list.GetItemData(row), left[row]) << row;
        EXPECT_EQ(list.FindRowById(left[row]), row);
    }
    EXPECT_EQ(list.GetSelectedCount(), 0u); // the rows moved: the selection went
    EXPECT_EQ(list.GetItemText(2, 0), "B102");
    EXPECT_TRUE(list.DeleteItem(3));
    EXPECT_EQ(list.FindRowById(101), -1);
    EXPECT_EQ(list.FindRowById(99), 3);
    list.AddRun(100, 2, -1); // 100 and 99: only 100 comes, at the end
    EXPECT_EQ(list.GetItemCount(), 5);
    EXPECT_EQ(list.GetItemData(4), 100u);
}

// ------------------------------------------------------------------ the host's word

TEST_F(ObjectInfo, TheWordRefusesWhatTheUserCannotDo) {
    EXPECT_NE(Run("kx::objects").rfind("error", 0), std::string::npos); // no window open
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    EXPECT_EQ(Run("kx::objects choose 1").rfind("error", 0), 0u); // no list is down
    EXPECT_EQ(Run("kx::objects drop nothing").rfind("error", 0), 0u);
    EXPECT_EQ(Run("kx::objects escape"), "0");
    EXPECT_EQ(Run("kx::objects drop component"), "1");
    EXPECT_EQ(Run("kx::objects choose 2").rfind("error", 0), 0u); // one row only
    EXPECT_EQ(Run("kx::objects choose x").rfind("error", 0), 0u);
    EXPECT_EQ(Lines("dropped").size(), 1u); // still down after the refusals
    EXPECT_EQ(Run("kx::objects bogus").rfind("error", 0), 0u);
}

} // namespace

// ------------------------------------------------------------------ windows made from their class names

namespace {

constexpr int kTemplateControlId = 1000; // the control id kx::createwindow gives

TEST_F(ObjectInfo, BothWindowsAreMadeFromTheirClassNamesAndGoWithTheirWindows) {
    for (const char* cls : {"CKXObjectInfoWnd", "CKXObjectInfoBeam"}) {
        ASSERT_EQ(Run(std::string("kx::createwindow ") + cls), cls);
        CWnd* w = AfxGetMainWnd()->GetDlgItem(kTemplateControlId);
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->GetRuntimeClass()->m_lpszClassName, cls);
        EXPECT_TRUE(w->IsVisibleFlag());
        EXPECT_TRUE(GXIsAutoDeleteWnd(w));
        const HWND h = w->GetSafeHwnd();
        ASSERT_TRUE(w->DestroyWindow()); // the object goes too (a leak fails the sanitised run)
        EXPECT_FALSE(GXIsAutoDeleteWnd(w));
        EXPECT_FALSE(IsWindow(h));
        EXPECT_EQ(AfxGetMainWnd()->GetDlgItem(kTemplateControlId), nullptr);
    }
}

TEST_F(ObjectInfo, ThePanesOwnWindowIsNotDeletedWithItsWindowAndAnUnknownClassIsRefused) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    EXPECT_FALSE(GXIsAutoDeleteWnd(&Info())); // the pane owns it: destroying the pane must not delete it
    EXPECT_EQ(Run("kx::createwindow CKXNoSuchWnd").rfind("error", 0), 0u);
    EXPECT_EQ(Run("kx::createwindow").rfind("error", 0), 0u);
    EXPECT_EQ(AfxGetMainWnd()->GetDlgItem(kTemplateControlId), nullptr);
}

TEST_F(ObjectInfo, ADialogTemplateNamingEitherClassMakesItsWindowObjectAndAnUnknownOneKeepsItShut) {
    const size_t before = AfxGetMainWnd()->GetChildren().size();
    for (const char* cls : {"CKXObjectInfoWnd", "CKXObjectInfoBeam"})
        EXPECT_EQ(Run(std::string("kx::createwindow -template ") + cls), cls);
    const std::string refused = Run("kx::createwindow -template CKXNoSuchWnd");
    EXPECT_EQ(refused.rfind("error", 0), 0u);
    EXPECT_NE(refused.find("not registered"), std::string::npos) << refused;
    EXPECT_EQ(AfxGetMainWnd()->GetChildren().size(), before); // every dialog closed again, none half made
    EXPECT_EQ(Run("kx::createwindow -template").rfind("error", 0), 0u);
}

} // namespace
