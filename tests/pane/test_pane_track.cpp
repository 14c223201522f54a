// Track in Signal List: the signal of the current pin is selected in the signal list, from a component's
// pin grid and, in the physical view, from a physical part's grid; the pane says what stands in the way.
#include "PhysGridTestSupport.h"

#include "kxinstsigpane/KXListPanes.h"

#include <gtest/gtest.h>

namespace {

class PaneTrack : public PhysGridTest {
protected:
    std::string At(ROWCOL row, int col) { return std::to_string(row) + " " + std::to_string(col); }
    bool NetSelected(const char* name) {
        CKXListPaneGrid* list = Slp()->GetActiveList();
        const ROWCOL row = list ? list->FindObjectRow(name) : GX_INVALID;
        return row != GX_INVALID && list->IsCellSelected(row, 1);
    }
};

TEST_F(PaneTrack, APhysicalPartsConnectedPinSelectsItsNetInTheNetList) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_EQ(Run("kx::show clp RN1A"), "1");
    auto* g = dynamic_cast<G*>(Ccp()->GetActiveGrid());
    ASSERT_NE(g, nullptr);
    const ROWCOL connected = Row(g, "RN1", "1"); // RN1A.A on N1
    ASSERT_NE(connected, 0u);
    ASSERT_EQ(Run("kx::select ccp " + At(connected, G::s_nPinNameCol)), "1");
    EXPECT_FALSE(NetSelected("N1"));
    Messages();
    EXPECT_EQ(Run("trackInSignalList pin"), "1");
    EXPECT_TRUE(NetSelected("N1"));
    EXPECT_TRUE(Messages().empty());
}

// Automation selects a pin's Signal cell in the physical part grid as it does in a pin grid, so that
// tracking from there follows the pin it names.
TEST_F(PaneTrack, AutomationSelectsTheSignalCellOfAPhysicalPartsPin) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_EQ(Run("kx::show clp RN1A"), "1");
    auto* g = dynamic_cast<G*>(Ccp()->GetActiveGrid());
    ASSERT_NE(g, nullptr);
    const ROWCOL connected = Row(g, "RN1", "1");
    ASSERT_NE(connected, 0u);
    const std::string pin = Cell(g, connected, G::s_nPinNameCol);
    Run("kx::pane SelectSignalCol " + pin + " 1");
    ROWCOL row = 0, col = 0;
    ASSERT_TRUE(g->GetCurrentCell(row, col));
    EXPECT_EQ(row, connected);
    EXPECT_EQ(col, static_cast<ROWCOL>(G::s_nSignalCol));
    EXPECT_TRUE(g->IsCellSelected(connected, static_cast<ROWCOL>(G::s_nSignalCol)));
    EXPECT_EQ(Run("trackInSignalList pin"), "1");
    EXPECT_TRUE(NetSelected("N1"));
    // A pin the part lacks leaves the current cell where it was.
    Run("kx::pane SelectSignalCol NOSUCH");
    ASSERT_TRUE(g->GetCurrentCell(row, col));
    EXPECT_EQ(row, connected);
}

TEST_F(PaneTrack, APhysicalPinWithoutANetIsRefusedWithItsReason) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_EQ(Run("kx::show clp RN1A"), "1");
    auto* g = dynamic_cast<G*>(Ccp()->GetActiveGrid());
    ASSERT_NE(g, nullptr);
    const ROWCOL open = Row(g, "RN1", "3"); // section 3 is not placed: no net
    ASSERT_NE(open, 0u);
    ASSERT_EQ(Run("kx::select ccp " + At(open, G::s_nPinNameCol)), "1");
    Messages();
    EXPECT_EQ(Run("trackInSignalList pin"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-145"});
}

TEST_F(PaneTrack, ASignalGridIsNamedAsTheGridThatCannotTrack) {
    ASSERT_TRUE(Open());
    CStringList none;
    Ccp()->ShowComponentsByName(Design(), &none, TRUE);
    Run("selectWindow ccp");
    Messages();
    EXPECT_EQ(Run("trackInSignalList pin"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-246"}) << Transcript(); // nothing shown
    ASSERT_EQ(Run("kx::show slp N1"), "1");
    Run("selectWindow ccp");
    EXPECT_EQ(Run("trackInSignalList pin"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-291"});
    EXPECT_NE(Transcript().find("the active grid is a signal grid"), std::string::npos);
}

} // namespace
