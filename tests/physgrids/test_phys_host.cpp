// The physical grids under the user's hands through the host: the cells of both grids are
// reachable (select, type into the filter row, keys, menus), a bad sort column is refused, and
// what the grids journal selects the pins a replay finds.
#include "PhysGridTestSupport.h"

#include "physgrids/KXPhysNetDetailsGridWnd.h"

#include "afx/afxwin.h"
#include "kxcontrols/KXFindReplace.h"
#include "kxcontrols/KXProgressBar.h"
#include "kxpropertyeditor/KXPropertyEditor.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

// Reads what the grids publish: the viewer's records and the host's select-object requests.
class CPublishedWnd : public CWnd {
public:
    std::vector<std::string> m_viewerPaths;
    std::vector<std::string> m_selected;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == MSG_ASSOC_COMP_VIEWER_SELECTION) {
            m_viewerPaths.clear();
            for (const auto& record : *reinterpret_cast<CKXAssocCompArray*>(lParam))
                m_viewerPaths.push_back(std::to_string(record->m_nType) + " " +
                                        record->m_pContext->spath().str());
            return 0;
        }
        if (message == MSG_SELECT_OBJECT) {
            const auto* select = reinterpret_cast<const CMsgSelectObj*>(wParam);
            m_selected.push_back(select->GetPath().str() + " in " + reinterpret_cast<const char*>(lParam));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class PhysHost : public PhysGridTest {
protected:
    using N = CKXPhysNetDetailsGridWnd;

    std::string At(ROWCOL row, int col) { return std::to_string(row) + " " + std::to_string(col); }
    G* ShowPart(const char* name) {
        if (!Doc() && !Open("work.board:sch", 4)) return nullptr;
        Run(std::string("kx::show clp ") + name);
        return dynamic_cast<G*>(Ccp()->GetActiveGrid());
    }
    // Shows a net's grid through the signal list: the grid, or null when none came up.
    N* ShowNet(const char* name) {
        if (!Doc() && !Open("work.board:sch", 4)) return nullptr;
        if (Run(std::string("kx::show slp ") + name) != "1") return nullptr;
        return dynamic_cast<N*>(Ccp()->GetActiveGrid());
    }
    // The Pin Name cell of the net grid's first pin row.
    std::string FirstNetPinCell() { return At(kxphys::kNetFirstRow, N::m_nColPinName); }
    // With swaps allowed, U1's pin 4 selected in its Pin Name cell: the row, 0 when the grid has none.
    ROWCOL SelectSwappablePin() {
        setenv("KX_ALLOW_SWAP_PINS", "1", 1);
        G* g = ShowPart("U1");
        const ROWCOL pin = g ? Row(g, "U1", "4") : 0;
        if (pin == 0 || Run("kx::select ccp " + At(pin, G::s_nPinNameCol)) != "1") return 0;
        return pin;
    }
    bool Shown(CGXGridCore* g, ROWCOL row) { return row && !g->IsRowHidden(row); }
    // A window that hears the grids' publishing.
    std::unique_ptr<CPublishedWnd> Listen() {
        auto wnd = std::make_unique<CPublishedWnd>();
        CRect r(0, 0, 1, 1);
        wnd->Create(nullptr, "published", 0, r, nullptr, 0);
        for (UINT m : {MSG_ASSOC_COMP_VIEWER_SELECTION, MSG_SELECT_OBJECT})
            GetKXMsgSrvr()->RegisterWindow(m, wnd->GetSafeHwnd());
        return wnd;
    }
    void StopListening(CPublishedWnd& wnd) {
        for (UINT m : {MSG_ASSOC_COMP_VIEWER_SELECTION, MSG_SELECT_OBJECT})
            GetKXMsgSrvr()->UnregisterWindow(m, wnd.GetSafeHwnd());
    }
};

TEST_F(PhysHost, ThePartGridsCellsAreReachable) {
    G* g = ShowPart("RN1A");
    ASSERT_TRUE(g);
    const ROWCOL pin2 = Row(g, "RN1", "2"), pin8 = Row(g, "RN1", "8");
    ASSERT_TRUE(pin2 && pin8);
    EXPECT_EQ(Run("kx::select ccp " + At(pin2, G::s_nPinNameCol)), "1");
    ROWCOL row = 0, col = 0;
    ASSERT_TRUE(g->GetCurrentCell(row, col));
    EXPECT_EQ(row, pin2);
    // The selection echo names the selected pin, not the first row.
    const std::vector<std::string> echoes = Echoes();
    ASSERT_FALSE(echoes.empty());
    EXPECT_EQ(echoes.back(), "selectObject pin [list A 2]");
    EXPECT_EQ(Run("kx::key ccp Down"), "1");
    g->GetCurrentCell(row, col);
    EXPECT_GT(row, pin2);
    // Typing a pattern into the filter row goes through the host and filters the rows.
    EXPECT_EQ(Run("kx::edit ccp " + At(4, G::s_nPinNameCol) + " A*"), "1");
    EXPECT_TRUE(Shown(g, pin2));
    EXPECT_FALSE(Shown(g, pin8));
    EXPECT_EQ(Run("kx::edit ccp " + At(4, G::s_nPinNameCol) + " *"), "1");
    EXPECT_TRUE(Shown(g, pin8));
    // The Delete command on the selected pin removes its model.
    ASSERT_EQ(Run("assignModel pin RMODEL RN1:A:2"), "1");
    EXPECT_EQ(Prop("work.board:sch@RN1B.A", "PIN_SIGNAL_MODEL"), "RMODEL");
    EXPECT_EQ(Run("kx::select ccp " + At(pin2, G::s_nPinNameCol)), "1");
    EXPECT_EQ(Run("kx::menu 35264"), "1");
    EXPECT_EQ(Prop("work.board:sch@RN1B.A", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(Run("kx::click ccp " + At(pin2, G::s_nPinNameCol) + " right"), "1");
}

// With the property editor shown, a selection in either physical grid leaves the editor holding the
// selected objects' records (the grids hand them over once).
TEST_F(PhysHost, TheShownPropertyEditorHoldsTheSelectedObjects) {
    G* g = ShowPart("RN1A");
    ASSERT_TRUE(g);
    const ROWCOL pin2 = Row(g, "RN1", "2");
    ASSERT_EQ(Run("kx::select ccp " + At(pin2, G::s_nPinNameCol)), "1");
    ASSERT_EQ(Run("kx::menu 35071"), "1");
    ClearPropEditorSelection();
    ASSERT_EQ(Run("kx::select ccp " + At(pin2, G::s_nPinNameCol)), "1");
    ASSERT_EQ(GetPropEditorSelection().size(), 1u);
    EXPECT_EQ(GetPropEditorSelection().front()->m_nKind, CKXConnObjInfo::PIN);
    EXPECT_EQ(Run("kx::show slp N1"), "1");
    ClearPropEditorSelection();
    ASSERT_EQ(Run("kx::select ccp 5 " + std::to_string(N::m_nColPinName)), "1");
    ASSERT_EQ(GetPropEditorSelection().size(), 1u);
    EXPECT_EQ(GetPropEditorSelection().front()->m_strName, "N1");
}

TEST_F(PhysHost, TheNetGridsCellsAreReachable) {
    N* g = ShowNet("N1");
    ASSERT_TRUE(g);
    // The population reports its progress per pin.
    EXPECT_NE(Transcript().find("Processing Physical Net: 100% Done"), std::string::npos) << Transcript();
    const ROWCOL first = 5;
    ASSERT_GE(g->LastPinRow(), first + 1) << Run("kx::window ccp");
    EXPECT_EQ(Run("kx::select ccp " + At(first, N::m_nColPinName)), "1");
    EXPECT_EQ(Run("kx::key ccp Down"), "1");
    const std::string location = g->GetValueRowCol(first, N::m_nColLocation).str();
    EXPECT_EQ(Run("kx::edit ccp " + At(3, N::m_nColLocation) + " " + location), "1");
    for (ROWCOL r = first; r <= g->LastPinRow(); ++r)
        EXPECT_EQ(g->IsRowHidden(r) != FALSE,
                  g->GetValueRowCol(r, N::m_nColLocation).str() != location);
    EXPECT_EQ(Run("kx::edit ccp " + At(3, N::m_nColLocation) + " *"), "1");
    EXPECT_FALSE(g->IsRowHidden(first + 1));
    // A model on the selected row, then the Delete command removes it again.
    const ROWCOL rn1 =
        g->GetValueRowCol(first, N::m_nColLocation) == "RN1" ? first : first + 1;
    EXPECT_EQ(Run("kx::select ccp " + At(rn1, N::m_nColPinName)), "1");
    EXPECT_EQ(Run("assignModel pin NMODEL"), "1");
    EXPECT_EQ(Prop("work.board:sch@RN1A.A", "PIN_SIGNAL_MODEL"), "NMODEL");
    EXPECT_EQ(Run("kx::menu 35264"), "1");
    EXPECT_EQ(Prop("work.board:sch@RN1A.A", "PIN_SIGNAL_MODEL"), "");
}

// Ctrl+C in either grid asks the host to copy in the connectivity pane, and the bar counts the rows.
TEST_F(PhysHost, CtrlCInEitherGridCopiesThroughThePaneAndCountsItsRows) {
    G* part = ShowPart("RN1A");
    ASSERT_TRUE(part);
    const std::string partCell = At(Row(part, "RN1", "2"), G::s_nPinNameCol);
    const std::string netCell = FirstNetPinCell();
    for (const auto& [show, cell] : {std::pair{"kx::show clp RN1A", partCell}, std::pair{"kx::show slp N1", netCell}}) {
        Run(show);
        Echoes();
        Messages();
        EXPECT_EQ(Run("kx::select ccp " + cell), "1") << show;
        EXPECT_EQ(Run("kx::key ccp Ctrl+C"), "1") << show;
        const std::vector<std::string> echoes = Echoes();
        const bool copied = std::any_of(echoes.begin(), echoes.end(), [](const std::string& e) {
            return e.rfind("selectWindow ccp; copy pin [list ", 0) == 0;
        });
        EXPECT_TRUE(copied) << show << ": " << ::testing::PrintToString(echoes);
        EXPECT_TRUE(Messages().empty()) << show;
        const std::string transcript = Transcript();
        const size_t bar = transcript.rfind("progress: Copying Data");
        ASSERT_NE(bar, std::string::npos) << show << transcript;
        const std::string line = transcript.substr(bar, transcript.find('\n', bar) - bar);
        EXPECT_NE(line.find("1 of 1"), std::string::npos) << show << ": " << line;
    }
}

// A filter of either grid is no undo step: the transaction log gains no entry, the history no step.
TEST_F(PhysHost, AFilterIsNoUndoStep) {
    ASSERT_TRUE(ShowPart("U1"));
    const std::string log = (m_dir / "trans.log").string();
    ASSERT_EQ(Run("kx::translog " + log), "1");
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("filterRows pin -col {Pin Name} -filter D*"), "1");
    Run("kx::show slp N1");
    EXPECT_EQ(Run("filterRows pin -col {Pin Name} -filter A*"), "1");
    Run("kx::translog");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().find("Added to Undo"), std::string::npos) << text.str();
}

TEST_F(PhysHost, ASortByAColumnTheGridLacksIsRefused) {
    ASSERT_TRUE(ShowPart("U1"));
    EXPECT_EQ(Run("sort pin Nope"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-231"});
    EXPECT_EQ(Run("sort pin {Pin Name}"), "1");
    EXPECT_TRUE(Messages().empty());
    Run("kx::show slp N1");
    EXPECT_EQ(Run("sort pin Nope"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-231"});
}

// Journal lines name what the component list holds (the logical instance RN1B, not the package
// RN1) and select the pin before the edit, so that the automation calls of a replay reach it.
TEST_F(PhysHost, JournalledSelectionsReachThePinOnReplay) {
    setenv("KX_ALLOW_SWAP_PINS", "1", 1);
    G* g = ShowPart("RN1A");
    ASSERT_TRUE(g);
    ASSERT_EQ(Run("assignModel pin RMODEL RN1:A:2"), "1");
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    ASSERT_EQ(Run("kx::word selectObject pin D<3>:4"), "1");
    ASSERT_EQ(Run("kx::pane ccp SwapPins 3"), "1");
    const std::string journal = JournalText();
    // The list of the physical view is selected by the physical part, not by one of its sections.
    EXPECT_NE(journal.find(".Clp().Select(\"RN1\")"), std::string::npos) << journal;
    EXPECT_EQ(journal.find(".Clp().Select(\"RN1B\")"), std::string::npos) << journal;
    EXPECT_NE(journal.find(".ConnectivityPane().SelectSignalCol(\"D<3>\",\"4\")\n\n ' --- Swap Pins ---"),
              std::string::npos)
        << journal;
    // The calls a replay makes: the list's selection, the pin's selection, the edit.
    ASSERT_EQ(Run("kx::pane clp Select RN1"), "1");
    Run("kx::pane ccp SelectPinNameCol B 7");
    Run("kx::pane ccp AssignModel BMODEL");
    EXPECT_EQ(Prop("work.board:sch@RN1B.B", "PIN_SIGNAL_MODEL"), "BMODEL");
    EXPECT_EQ(Prop("work.board:sch@RN1A.A", "PIN_SIGNAL_MODEL"), "");
}

// Once the user shows the associated-component viewer, a selection of pin rows hands it the
// rows' pin bits; the net grid hands it the shown net. The property road asks the host to select
// the pin or the net in its design views.
TEST_F(PhysHost, TheSelectionIsPublishedToTheViewerAndTheHost) {
    G* g = ShowPart("RN1A");
    ASSERT_TRUE(g);
    auto published = Listen();
    const ROWCOL pin2 = Row(g, "RN1", "2");
    Run("kx::click ccp " + At(pin2, G::s_nPinNameCol));
    EXPECT_TRUE(published->m_viewerPaths.empty()); // the viewer is not shown yet
    EXPECT_EQ(Run("kx::menu 35574"), "1");
    EXPECT_EQ(published->m_viewerPaths, std::vector<std::string>{"2 @RN1B.A"});
    Run("kx::click ccp " + At(Row(g, "RN1", "7"), G::s_nPinNameCol));
    EXPECT_EQ(published->m_viewerPaths, std::vector<std::string>{"2 @RN1B.B"});
    EXPECT_EQ(Run("kx::menu 35659"), "1"); // Properties
    ASSERT_FALSE(published->m_selected.empty());
    EXPECT_EQ(published->m_selected.back(), "work.board:sch@RN1B.B in work.board:sch");
    Run("kx::show slp N1");
    Run("kx::click ccp " + At(5, N::m_nColPinName));
    ASSERT_EQ(published->m_viewerPaths.size(), 1u); // the net bit behind the shown net
    EXPECT_EQ(published->m_viewerPaths.front().substr(0, 2), "1 ");
    EXPECT_EQ(published->m_viewerPaths.front().substr(published->m_viewerPaths.front().size() - 2), "N1");
    EXPECT_EQ(Run("kx::menu 35659"), "1");
    EXPECT_EQ(published->m_selected.back(), "N1 in work.board:sch");
    StopListening(*published);
}

// Find and replace reach both grids: Find from the pane's menu opens the grid's dialog, which
// searches the pin numbers of the part grid.
TEST_F(PhysHost, FindOpensTheGridsDialog) {
    G* g = ShowPart("U1");
    ASSERT_TRUE(g && g->m_hFindReplace);
    ASSERT_EQ(g->m_hFindReplace->GetTargets().size(), 1u);
    const KXFindTarget& target = g->m_hFindReplace->GetTargets().front();
    EXPECT_EQ(*target.ppGrid, static_cast<CGXGridCore*>(g));
    EXPECT_EQ(target.nCol, static_cast<ROWCOL>(G::s_nPNCol));
    EXPECT_EQ(target.nFirstRow, 6u);
    // The dialog searches the pin numbers from the first pin row; the pane's Find command opens it.
    EXPECT_TRUE(g->m_hFindReplace->FindNext("5"));
    ROWCOL row = 0, col = 0;
    g->GetCurrentCell(row, col);
    EXPECT_EQ(row, Row(g, "U1", "5"));
    EXPECT_EQ(col, static_cast<ROWCOL>(G::s_nPNCol));
    Run("kx::click ccp " + At(Row(g, "U1", "1"), G::s_nPinNameCol)); // the pane is the active view
    Run("kx::answer dialog CKXFindReplaceDlg ok find 7");
    EXPECT_EQ(Run("kx::menu 57636"), "1");
    EXPECT_EQ(g->m_hFindReplace->GetLastFind(), "7");
    g->GetCurrentCell(row, col);
    EXPECT_EQ(row, Row(g, "U1", "7"));
    N* net = ShowNet("N1");
    ASSERT_TRUE(net && net->m_pFindReplace);
    EXPECT_TRUE(net->m_pFindReplace->FindNext("RN1"));
    // The pane's Find command opens the net grid's own dialog, which searches the part locations.
    Run("kx::click ccp " + FirstNetPinCell());
    Run("kx::answer dialog CKXFindReplaceDlg ok find U1");
    EXPECT_EQ(Run("kx::menu 57636"), "1");
    EXPECT_EQ(net->m_pFindReplace->GetLastFind(), "U1");
    net->GetCurrentCell(row, col);
    EXPECT_EQ(net->GetValueRowCol(row, col), "U1");
    EXPECT_EQ(col, static_cast<ROWCOL>(N::m_nColLocation));
}

// Ctrl+F finds a pin number once and makes its row the current and selected one: the Delete that
// follows removes the found pin's model, not the one of the row selected before.
TEST_F(PhysHost, AFoundPinIsTheRowTheNextCommandActsOn) {
    G* g = ShowPart("U1");
    ASSERT_TRUE(g);
    ASSERT_EQ(Run("assignModel pin M1 [list U1 D<0> 1] [list U1 D<2> 3]"), "1");
    Run("kx::select ccp " + At(Row(g, "U1", "1"), G::s_nPNCol));
    Run("kx::answer dialog CKXFindReplaceDlg ok find 3");
    Run("kx::key ccp F ctrl");
    EXPECT_EQ(Transcript().find("unanswered: dialog CKXFindReplaceDlg"), std::string::npos) << Transcript();
    ROWCOL row = 0, col = 0;
    g->GetCurrentCell(row, col);
    EXPECT_EQ(row, Row(g, "U1", "3"));
    // A script reads where the find left the current cell.
    EXPECT_EQ(Run("kx::grid ccp cell"), std::to_string(row) + " " + std::to_string(col));
    EXPECT_EQ(Run("kx::menu 35264"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1.D<2>", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(Prop("work.board:sch@U1.D<0>", "PIN_SIGNAL_MODEL"), "M1");
    // The net grid finds a part location the same way.
    N* net = ShowNet("N1");
    ASSERT_TRUE(net);
    Run("kx::select ccp " + FirstNetPinCell());
    Run("kx::answer dialog CKXFindReplaceDlg ok find RN1");
    Run("kx::key ccp F ctrl");
    net->GetCurrentCell(row, col);
    EXPECT_EQ(net->GetValueRowCol(row, col), "RN1");
    CRowColArray selected;
    net->GetSelectedRows(selected, FALSE, FALSE);
    ASSERT_EQ(selected.GetSize(), 1);
    EXPECT_EQ(selected[0], row);
}

// A pattern typed into either grid's filter row is echoed as one Tcl word that reads back as typed.
TEST_F(PhysHost, ATypedFilterIsEchoedAsTyped) {
    G* g = ShowPart("U1");
    ASSERT_TRUE(g);
    Echoes();
    Run("kx::edit ccp " + At(kxphys::kPartFilterRow, G::s_nPinNameCol) + " {O[U]T}");
    const std::string wanted = R"(filterRows pin -col "Pin Name" -filter "O\[U\]T")";
    std::vector<std::string> echoes = Echoes();
    EXPECT_NE(std::find(echoes.begin(), echoes.end(), wanted), echoes.end())
        << ::testing::PrintToString(echoes);
    EXPECT_EQ(g->GetValueRowCol(kxphys::kPartFilterRow, static_cast<ROWCOL>(G::s_nPinNameCol)), "O[U]T");
    Run("kx::show slp N1");
    Run("kx::edit ccp " + At(kxphys::kNetFilterRow, N::m_nColPinName) + " {O[U]T}");
    echoes = Echoes();
    EXPECT_NE(std::find(echoes.begin(), echoes.end(), wanted), echoes.end())
        << ::testing::PrintToString(echoes);
}

// A double-click on a column's border fits the column to its pin rows in either grid; each grid keeps
// its own drag state, and a moved border is no fit.
TEST_F(PhysHost, ABorderDoubleClickFitsAColumnOfEitherGrid) {
    G* g = ShowPart("U1");
    const auto pinName = static_cast<ROWCOL>(G::s_nPinNameCol);
    g->SetColWidth(pinName, pinName, 400);
    EXPECT_EQ(Run("kx::click ccp " + At(kxphys::kPartCaptionRow, G::s_nPinNameCol) + " border"), "1");
    EXPECT_LT(g->CGXGridCore::GetColWidth(pinName), 400);
    N* net = ShowNet("N1");
    ASSERT_TRUE(net);
    const auto location = static_cast<ROWCOL>(N::m_nColLocation);
    net->SetColWidth(location, location, 400);
    EXPECT_EQ(Run("kx::click ccp " + At(kxphys::kNetCaptionRow, static_cast<int>(location)) + " border"), "1");
    EXPECT_LT(net->CGXGridCore::GetColWidth(location), 400);
    net->OnStartTracking(kxphys::kNetCaptionRow, location, GX_TRACKWIDTH);
    EXPECT_TRUE(net->m_bTrackingColWidth && !g->m_bTrackingCol);
    net->OnTrackColWidthMove(location, 400);
    EXPECT_FALSE(net->m_bTrackingColWidth);
}

// Reading a part again after its section moved shows its progress pin by pin; removing models and
// copying show theirs.
TEST_F(PhysHost, LongOperationsShowTheirProgress) {
    G* g = ShowPart("U1");
    ASSERT_TRUE(g);
    ASSERT_EQ(Run("kx::word selectObject pin U1:D<0>:1"), "1");
    ASSERT_EQ(Run("assignPinNumber pin 7"), "1");
    EXPECT_EQ(Prop("work.board:sch@U1", "SEC"), "B1");
    EXPECT_NE(Transcript().find("Processing Pins"), std::string::npos) << Transcript();
    EXPECT_NE(Transcript().find("Processed 100% of 7 Pins"), std::string::npos) << Transcript();
    ASSERT_EQ(Run("assignModel pin XMODEL U1:OUT:6"), "1");
    ASSERT_EQ(Run("removeModel pin U1:OUT:6"), "1");
    EXPECT_NE(Transcript().find("Deleting SI Model Assignments"), std::string::npos);
    EXPECT_EQ(CKXProgressBar::m_pProgressBar, nullptr); // every bar is gone with its operation
}

// A pin number the host's own property editor changes shows in the part grid at once: the rows of
// the old and the new number are read again.
TEST_F(PhysHost, APinNumberSetByTheHostShowsInThePartGrid) {
    G* g = ShowPart("RN1A");
    ASSERT_TRUE(g);
    const std::string before1 = RowText(g, "RN1", "1"), before3 = RowText(g, "RN1", "3");
    ASSERT_NE(before1.find("|A|"), std::string::npos) << before1;
    ASSERT_EQ(before3.find("|A|"), std::string::npos) << before3;
    EXPECT_EQ(Run("kx::setprop work.board:sch@RN1A.A PN 3").rfind("error", 0), std::string::npos);
    EXPECT_EQ(Prop("work.board:sch@RN1A.A", "PN"), "3");
    EXPECT_NE(RowText(g, "RN1", "3").find("|A|"), std::string::npos) << RowText(g, "RN1", "3");
    EXPECT_EQ(RowText(g, "RN1", "1").find("|A|"), std::string::npos) << RowText(g, "RN1", "1");
}

} // namespace

namespace {

// Swap Pins is offered on a selected pin row of a part (the dialog lists its partners) while the
// project allows swaps, and never while it does not.
TEST_F(PhysHost, SwapPinsIsOfferedOnASelectedPinWhileSwapsAreAllowed) {
    ASSERT_NE(SelectSwappablePin(), 0u) << Run("kx::window ccp");
    EXPECT_EQ(Run("kx::menustate 35566").rfind("enabled", 0), 0u);
    unsetenv("KX_ALLOW_SWAP_PINS");
    EXPECT_EQ(Run("kx::menustate 35566").rfind("disabled", 0), 0u);
}

// With no pin chosen, the model roads of the physical grids (the pane's methods, the words without
// keys, the Assign Model menu) give no pin a model and take none off: each says that no pin is selected.
TEST_F(PhysHost, ModelEditsWithNoPinChosenChangeNothing) {
    const auto expectAssignRefused = [this] {
        EXPECT_EQ(Run("kx::pane AssignModel M1"), "0");
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-670"});
        EXPECT_EQ(Run("assignModel pin M1"), "0");
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-670"});
        EXPECT_EQ(Run("kx::menustate 35543").rfind("disabled", 0), 0u);
    };
    ASSERT_NE(ShowPart("U1"), nullptr);
    Messages();
    expectAssignRefused();
    EXPECT_EQ(Run("kx::pane RemoveModel"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-671"});
    ASSERT_NE(ShowNet("N1"), nullptr);
    Messages();
    expectAssignRefused();
    EXPECT_EQ(Prop("work.board:sch@U1.D<0>", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(Prop("work.board:sch@U1.OUT", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(Prop("work.board:sch@RN1A.A", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
    EXPECT_FALSE(Doc()->IsModified());
    // A pin chosen: the method acts on it.
    const ROWCOL out = dynamic_cast<N*>(Ccp()->GetActiveGrid())->LastPinRow();
    ASSERT_EQ(Run("kx::select ccp " + At(out, N::m_nColSignalModel)), "1");
    EXPECT_EQ(Run("kx::pane AssignModel M1"), "1");
}

// The same in a logical view's pin grid: the pane's model methods act on no pin the user did not choose.
TEST_F(PhysHost, PinGridModelMethodsWithNoPinChosenChangeNothing) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    Messages();
    EXPECT_EQ(Run("kx::pane AssignModel M1"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-670"});
    EXPECT_EQ(Run("kx::pane RemoveModel"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-671"});
    EXPECT_EQ(Prop("work.board:sch@U1.D<0>", "PIN_SIGNAL_MODEL"), "");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
}

// With no pin chosen (the cell the grid's activation placed is none), assignPinNumber gives no pin
// the number: it says that no pin is selected, and nothing changes.
TEST_F(PhysHost, AssignPinNumberWithNoPinChosenAssignsNothing) {
    ASSERT_NE(ShowPart("RN1A"), nullptr);
    Messages();
    EXPECT_EQ(Run("assignPinNumber pin 3"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-570"});
    EXPECT_EQ(Run("kx::pane AssignPinNumber 3"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-570"});
    EXPECT_EQ(Prop("work.board:sch@RN1A.A", "PN"), "1");
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
}

// With no pin chosen, the cell the grid's activation places is none the user chose: Swap Pins is
// disabled, and the pane's method swaps nothing and says that no pin is selected.
TEST_F(PhysHost, SwapPinsWithNoPinChosenSwapsNothing) {
    setenv("KX_ALLOW_SWAP_PINS", "1", 1);
    ASSERT_NE(ShowPart("U1"), nullptr);
    Messages();
    EXPECT_EQ(Run("kx::menustate 35566").rfind("disabled", 0), 0u);
    EXPECT_EQ(Run("kx::pane SwapPins 2"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-488"});
    EXPECT_EQ(Run("kx::menustate 35566").rfind("disabled", 0), 0u);
    EXPECT_EQ(Prop("work.board:sch@U1.D<0>", "PN"), "1");
    EXPECT_FALSE(Doc()->IsModified());
    unsetenv("KX_ALLOW_SWAP_PINS");
}

// Swap Pins by the dialog takes the numbers of the pin's swap group only: another, whether a pin of the
// part carries it (6, OUT) or none does (999), is refused with the one message, and nothing is swapped. The
// pane's method takes its number without the dialog, as it is given; a number of the group swaps alike on
// both roads.
TEST_F(PhysHost, SwapPinsByTheDialogAndByTheMethodTakeTheNumbersOfThePinsSwapGroupOnly) {
    const ROWCOL pin = SelectSwappablePin();
    ASSERT_NE(pin, 0u) << Run("kx::window ccp");
    const std::string before = Run("kx::window ccp");
    const std::string select = "kx::select ccp " + At(pin, G::s_nPinNameCol);
    Messages();
    for (const char* number : {"6", "999"}) {
        SCOPED_TRACE(number);
        Run(std::string("kx::answer dialog CKXSwappinsDialog ok pin ") + number);
        EXPECT_EQ(Run("kx::menu 35566"), "0");
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-489"});
        EXPECT_EQ(Run("kx::window ccp"), before);
        EXPECT_EQ(Prop("work.board:sch@U1.OUT", "PN"), "6");
    }
    // The method takes its number as it is given: one no pin of the part carries is refused for that.
    Run(select);
    EXPECT_EQ(Run("kx::pane SwapPins 999"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-107"});
    EXPECT_EQ(Run("kx::window ccp"), before);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
    Run("kx::answer dialog CKXSwappinsDialog ok pin 2");
    EXPECT_EQ(Run("kx::menu 35566"), "1");
    const std::string swapped = Run("kx::window ccp");
    EXPECT_EQ(Prop("work.board:sch@U1.D<3>", "PN"), "2");
    EXPECT_EQ(Prop("work.board:sch@U1.D<1>", "PN"), "4");
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::window ccp"), before);
    Run(select);
    EXPECT_EQ(Run("kx::pane SwapPins 2"), "1");
    EXPECT_EQ(Run("kx::window ccp"), swapped);
    EXPECT_TRUE(Messages().empty());
    unsetenv("KX_ALLOW_SWAP_PINS");
}

// F4 hands the keyboard to the list the grid's objects come from: the part grid's to the component
// list, the net grid's to the signal list.
TEST_F(PhysHost, F4HandsTheKeyboardToTheGridsList) {
    G* g = ShowPart("U1");
    ASSERT_TRUE(g);
    Run("kx::click ccp " + At(Row(g, "U1", "4"), G::s_nPinNameCol));
    ASSERT_EQ(Run("kx::focus"), "ccp grid 1");
    EXPECT_EQ(Run("kx::key ccp F4"), "1");
    EXPECT_EQ(Run("kx::focus"), "clp");
    Run("kx::show slp N1");
    Run("kx::click ccp " + FirstNetPinCell());
    ASSERT_EQ(Run("kx::focus"), "ccp grid 1");
    EXPECT_EQ(Run("kx::key ccp F4"), "1");
    EXPECT_EQ(Run("kx::focus"), "slp");
}

} // namespace

namespace {

// A column the customise dialog adds shows the filter cell the other columns show, in both grids.
TEST_F(PhysHost, ACustomisedColumnShowsAFilterCell) {
    for (int kind = 0; kind < 2; ++kind) {
        CKXPhysGridWnd* g = kind == 0 ? static_cast<CKXPhysGridWnd*>(ShowPart("U1")) : ShowNet("N1");
        ASSERT_TRUE(g);
        const std::string caption = kind == 0 ? "Part Prop" : "Net Prop";
        Run("kx::answer dialog CKXCustomizeDialog ok add {" + caption.substr(0, 4) + "PROP|" + caption +
            "|8s|PINPROP|SHOW}");
        ASSERT_EQ(Run("kx::menu 35130"), "1") << caption;
        const int col = g->FindColumnByCaption(caption.c_str());
        ASSERT_GT(col, 0) << caption;
        const ROWCOL filterRow = g->Layout().filterRow;
        CGXStyle added, pinName;
        g->ComposeStyleRowCol(filterRow, static_cast<ROWCOL>(col), &added);
        g->ComposeStyleRowCol(filterRow, 1, &pinName);
        EXPECT_EQ(std::string(g->GetValueRowCol(filterRow, static_cast<ROWCOL>(col)).GetString()), "*")
            << caption;
        EXPECT_EQ(added.GetControl(), pinName.GetControl()) << caption;
    }
}

// A header click's sort is a step named Sort in both grids; its undo puts the rows back as they were.
TEST_F(PhysHost, AHeaderSortsUndoPutsTheRowsBack) {
    for (int kind = 0; kind < 2; ++kind) {
        CKXPhysGridWnd* g = kind == 0 ? static_cast<CKXPhysGridWnd*>(ShowPart("U1")) : ShowNet("N1");
        ASSERT_TRUE(g);
        const std::vector<CString> before = g->DataRowTexts();
        const std::string header = std::to_string(g->Layout().captionRow) + " " +
                                   std::to_string(kind == 0 ? G::s_nSignalCol : N::m_nColPinName);
        Run("kx::click ccp " + header); // ascending, then descending
        Run("kx::click ccp " + header);
        ASSERT_NE(g->DataRowTexts(), before) << kind;
        const std::string history = Run("kx::history");
        EXPECT_NE(history.find("undo Sort"), std::string::npos) << history;
        EXPECT_EQ(Run("undo"), "1");
        EXPECT_EQ(Run("undo"), "1");
        EXPECT_EQ(g->DataRowTexts(), before) << kind;
    }
}

} // namespace

namespace {

// A pin another tool highlights is found in the physical part grid by its number: its row becomes current,
// and a second highlight moves there.
TEST_F(PhysHost, AHighlightedPinBecomesThePartGridsCurrentRow) {
    G* g = ShowPart("U1");
    ASSERT_TRUE(g);
    const ROWCOL clk = Row(g, "U1", "5"), out = Row(g, "U1", "6");
    ASSERT_TRUE(clk && out);
    EXPECT_EQ(Run("kx::notify INT_MSG_HIGHLIGHT_OBJECT work.board:sch@U1.CLK"), "1");
    ROWCOL row = 0, col = 0;
    ASSERT_TRUE(g->GetCurrentCell(row, col));
    EXPECT_EQ(row, clk);
    EXPECT_EQ(Run("kx::notify INT_MSG_HIGHLIGHT_OBJECT {work.board:sch@U1.D<3> 3}"), "1");
    EXPECT_EQ(Run("kx::notify INT_MSG_HIGHLIGHT_OBJECT work.board:sch@U1.OUT"), "1");
    ASSERT_TRUE(g->GetCurrentCell(row, col));
    EXPECT_EQ(row, out);
}

} // namespace
