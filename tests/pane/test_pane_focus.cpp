// The keyboard focus and the connectivity pane: the grid the pane's commands go to follows the focus,
// a show request leaves the focus with the list that asked, and another window can bring a
// remembered object's window back by its id.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pane/KXObjectInfoWnd.h"

#include <sstream>

namespace {

class PaneFocus : public KXShellFixture {
protected:
    CKXGridWnd* GridAt(size_t i) {
        const auto& shown = Ccp()->GetShownGrids();
        return i < shown.size() ? shown[i] : nullptr;
    }
    void ShowTwo() {
        ASSERT_TRUE(Open());
        Run("kx::show clp U1 R1");
        ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u) << Run("kx::window ccp");
        ASSERT_EQ(Ccp()->GetActiveGrid(), GridAt(0));
        first = Run("kx::grid ccp");
        Run("kx::focus ccp 2");
        second = Run("kx::grid ccp");
        Run("kx::focus ccp 1");
        ASSERT_NE(first, second);
    }
    std::string first, second; // kx::grid ccp with the first / the second grid active
    std::string Beam() {
        std::istringstream text(Run("kx::objects"));
        std::string line;
        std::getline(text, line);
        return line;
    }
};

// ------------------------------------------------------------------ the active grid

TEST_F(PaneFocus, TheGridThatTakesTheFocusBecomesTheActiveOne) {
    ShowTwo();
    EXPECT_EQ(Run("kx::focus"), "ccp grid 1");
    EXPECT_EQ(Run("kx::grid ccp"), first);
    EXPECT_EQ(Run("kx::focus ccp 2"), "1");
    EXPECT_EQ(Run("kx::focus"), "ccp grid 2");
    EXPECT_EQ(Run("kx::grid ccp"), second);
    EXPECT_EQ(Ccp()->GetActiveGrid(), GridAt(1));
    EXPECT_EQ(Ccp()->ObjectInfo().GetActiveGrid(), GridAt(1));
    // And back to the first by the focus alone.
    Run("kx::focus ccp 1");
    EXPECT_EQ(Run("kx::grid ccp"), first);
}

TEST_F(PaneFocus, LeavingTheGridsForAListKeepsTheActiveGrid) {
    ShowTwo();
    Run("kx::focus ccp 2");
    Run("kx::focus clp");
    EXPECT_EQ(Run("kx::focus"), "clp");
    EXPECT_EQ(Run("kx::grid ccp"), second);
}

TEST_F(PaneFocus, MakingACellCurrentTakesNeitherTheFocusNorTheActiveGrid) {
    ShowTwo();
    Run("kx::focus ccp 1");
    CKXGridWnd* second = GridAt(1);
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(second->SetCurrentCell(second->GetRowCount(), 1));
    EXPECT_EQ(Run("kx::focus"), "ccp grid 1");
    EXPECT_EQ(Run("kx::grid ccp"), first);
}

TEST_F(PaneFocus, AGridNoLongerShownTakingTheFocusIsNotMadeActive) {
    ShowTwo();
    CKXGridWnd* hidden = GridAt(0);
    Run("kx::show clp " + second.substr(second.find(' ') + 1));
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 1u);
    ASSERT_NE(Ccp()->GetShownGrids().front(), hidden);
    if (hidden && ::IsWindow(hidden->GetSafeHwnd())) hidden->SetFocus();
    EXPECT_EQ(Run("kx::grid ccp"), second);
    EXPECT_EQ(Ccp()->GetActiveGrid(), Ccp()->GetShownGrids().front());
}

TEST_F(PaneFocus, TheFocusWordRefusesWhatIsNotThere) {
    ShowTwo();
    EXPECT_NE(Run("kx::focus ccp 3").find("no grid"), std::string::npos);
    EXPECT_NE(Run("kx::focus ccp x").find("no grid"), std::string::npos);
    EXPECT_NE(Run("kx::focus somewhere").find("usage"), std::string::npos);
    EXPECT_EQ(Run("kx::grid ccp"), first);
}

// ------------------------------------------------------------------ show requests keep the focus

TEST_F(PaneFocus, AShowRequestLeavesTheFocusWithTheListThatAsked) {
    ASSERT_TRUE(Open());
    Run("kx::focus clp");
    Run("kx::show clp U1 R1");
    EXPECT_EQ(Run("kx::focus"), "clp");
    Run("kx::focus slp");
    Run("kx::show slp N1");
    EXPECT_EQ(Run("kx::focus"), "slp");
    // A grid that has the focus while the list asks for a component keeps it.
    Run("kx::show clp U1");
    Run("kx::focus ccp 1");
    Run("kx::show clp R1");
    EXPECT_EQ(Run("kx::focus").rfind("ccp", 0), 0u) << Run("kx::focus");
}

// ------------------------------------------------------------------ bringing an object back

TEST_F(PaneFocus, AnotherWindowBringsARememberedComponentBackByItsId) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Run("kx::show clp R1");
    EXPECT_EQ(Run("kx::grid ccp"), "component R1");
    EXPECT_EQ(Run("kx::objects activate U1"), "1");
    EXPECT_EQ(Run("kx::grid ccp"), "component U1");
    EXPECT_EQ(Ccp()->GetShownGrids().size(), 1u);
    EXPECT_EQ(Beam(), "beam Component: U1 (2)");
}

TEST_F(PaneFocus, SideBySideGridsGiveWayToTheOneObjectBroughtBack) {
    ShowTwo();
    const std::string name = second.substr(second.find(' ') + 1);
    EXPECT_EQ(Run("kx::objects activate " + name), "1");
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 1u);
    EXPECT_EQ(Run("kx::grid ccp"), second);
    EXPECT_EQ(Beam(), "beam Component: " + name + " (2)");
}

TEST_F(PaneFocus, AnIdIsTakenAsTheKindThePaneShows) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Run("kx::show slp N1");
    const std::string before = Run("kx::window ccp");
    // The pane shows signals: a component's id names no remembered signal, nothing changes.
    Run("kx::objects activate U1");
    EXPECT_EQ(Run("kx::window ccp"), before);
    EXPECT_NE(Run("kx::objects activate NOSUCH").find("no remembered object"), std::string::npos);
}

// A signal shown again, however it is brought back, is listed once in its grid.
TEST_F(PaneFocus, ASignalShownAgainIsListedOnceInItsGrid) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    Run("kx::show slp N1");
    Run("kx::show clp U1");
    Run("kx::show slp N1");
    EXPECT_NE(Run("kx::window ccp").find("CKXSignalDetailsGridWnd \"N1\","), std::string::npos)
        << Run("kx::window ccp");
}

} // namespace
