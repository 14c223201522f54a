// The pane follows what its grids and the design tell it: pin grids side by side take the list
// panes' flag and instance refreshes; in the physical view a part whose reference designator changed
// and a physical net that was renamed are shown under their new names.
#include "PhysGridTestSupport.h"

#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pingrid/KXPinGrid.h"
#include "grid/KXGlobalMessages.h"

#include "kxinstsigpane/KXListPanes.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class PhysFollow : public PhysGridTest {
protected:
    G* ShowPart(const char* name) {
        if (!Doc() && !Open("work.board:sch", 4)) return nullptr;
        Run(std::string("kx::show clp ") + name);
        return dynamic_cast<G*>(Ccp()->GetActiveGrid());
    }
    // A property change committed by another window of the editor (its commit is announced).
    bool Change(const CContext& object, const char* name, const char* value) {
        CDesignContext design = Design();
        if (!CKXTransaction::BeginTrans(nullptr, design, "other window")) return false;
        CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
        if (!t || !t->addProperty(object, name, value)) {
            CKXTransaction::DiscardTrans(nullptr);
            return false;
        }
        return CKXTransaction::CommitTrans(nullptr, 1, 1) != FALSE;
    }
    // The Signal cell of the part grid's row of a pin number.
    std::string SignalOf(G* g, const char* number) {
        const ROWCOL row = g->FindPinRow(g->m_strRefDes, number);
        return row ? g->GetValueRowCol(row, static_cast<ROWCOL>(G::s_nSignalCol)).str() : "<no row>";
    }
};

TEST_F(PhysFollow, APartGivenAnotherReferenceDesignatorIsShownUnderIt) {
    G* g = ShowPart("U1");
    ASSERT_TRUE(g);
    ASSERT_EQ(g->m_strRefDes, "U1");
    ASSERT_TRUE(Change(Design().instance("U1"), "LOCATION", "U7"));
    EXPECT_EQ(g->m_strRefDes, "U7");
    // The rows are the part's under its new name: a pin row is found by it.
    EXPECT_NE(g->FindPinRow("U7", "6"), 0u);
    EXPECT_NE(Run("kx::window ccp").find("U7"), std::string::npos);
}

TEST_F(PhysFollow, AReferenceDesignatorInErrorOrOnlyInAnotherCaseIsNotFollowed) {
    G* g = ShowPart("U1");
    ASSERT_TRUE(g);
    ASSERT_TRUE(Change(Design().instance("U1"), "LOCATION", "u1"));
    EXPECT_EQ(g->m_strRefDes, "U1");
    ASSERT_TRUE(Change(Design().instance("U1"), "ZRV_ERR_LOCATION", "1"));
    ASSERT_TRUE(Change(Design().instance("U1"), "LOCATION", "U8"));
    EXPECT_EQ(g->m_strRefDes, "U1");
}

TEST_F(PhysFollow, ARenamedPhysicalNetIsRenamedInThePartGrid) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_TRUE(Change(Design().net("N1").bitContext(-1), "PHYS_NET_NAME", "PN1"));
    G* g = ShowPart("U1");
    ASSERT_TRUE(g);
    ASSERT_EQ(SignalOf(g, "6"), "PN1");
    ASSERT_TRUE(Change(Design().net("N1").bitContext(-1), "PHYS_NET_NAME", "PN2"));
    EXPECT_EQ(SignalOf(g, "6"), "PN2");
}

// The physical view's signal list names the physical nets: one the host's property editor names
// anew is listed under its new name.
TEST_F(PhysFollow, ARenamedPhysicalNetIsListedUnderItsNewName) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    auto listed = [this](const std::string& name) {
        std::istringstream in(Run("kx::window slp"));
        for (std::string word; in >> word;)
            if (word == name) return true;
        return false;
    };
    ASSERT_EQ(Run("kx::setprop work.board:sch@:N1 PHYS_NET_NAME PN1").rfind("error", 0), std::string::npos);
    EXPECT_TRUE(listed("PN1")) << Run("kx::window slp");
    ASSERT_EQ(Run("kx::setprop work.board:sch@:N1 PHYS_NET_NAME PN2").rfind("error", 0), std::string::npos);
    EXPECT_TRUE(listed("PN2")) << Run("kx::window slp");
    EXPECT_FALSE(listed("PN1")) << Run("kx::window slp");
}

TEST_F(PhysFollow, TheLogicalViewLeavesItsGridsAlone) {
    ASSERT_TRUE(Open("work.board:sch", 1));
    Run("kx::show clp U1");
    const std::string before = Run("kx::window ccp");
    ASSERT_TRUE(Change(Design().instance("U1"), "LOCATION", "U7"));
    EXPECT_EQ(Run("kx::window ccp"), before);
}

TEST_F(PhysFollow, AHighlightedPinIsTheCurrentRowOfItsPartsGrid) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    EXPECT_EQ(Run("kx::highlight work.board:sch@U1.CLK"), "1");
    EXPECT_EQ(Run("kx::highlight work.board:sch@U1.NOPE").rfind("error: no pin", 0), 0u);
    G* g = dynamic_cast<G*>(Ccp()->GetActiveGrid());
    ASSERT_TRUE(g) << Run("kx::window ccp");
    EXPECT_EQ(g->m_strRefDes, "U1");
    ROWCOL row = 0, col = 0;
    ASSERT_TRUE(g->GetCurrentCell(row, col));
    EXPECT_EQ(Cell(g, row, G::s_nPNCol), "5");
}

// The list panes' calls on the pin grids shown side by side.
class SideBySideCalls : public KXShellFixture {
protected:
    std::vector<IKXPinGrid*> Pins() {
        std::vector<IKXPinGrid*> pins;
        for (CKXGridWnd* g : Ccp()->GetShownGrids())
            if (IKXPinGrid* p = CKXBottomPaneContainerView::PinGridOf(g)) pins.push_back(p);
        return pins;
    }
};

TEST_F(SideBySideCalls, AHighlightedBusBitShowsItsComponentWithTheBitsRowCurrent) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(Run("kx::highlight work.board:sch@U1.D<2>"), "1");
    auto* g = dynamic_cast<CKXInstanceDetailsGridWnd*>(Ccp()->GetActiveGrid());
    ASSERT_TRUE(g) << Run("kx::window ccp");
    ROWCOL row = 0, col = 0;
    ASSERT_TRUE(g->GetCurrentCell(row, col));
    EXPECT_EQ(g->GetValueRowCol(row, static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColPinName)), "D<2>")
        << Run("kx::window ccp");
    EXPECT_FALSE(g->IsRowHidden(row));
}

TEST_F(SideBySideCalls, TheFlagReachesEveryShownPinGrid) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1 R1");
    ASSERT_EQ(Pins().size(), 2u);
    Ccp()->SetPinGridsFlag(3);
    for (IKXPinGrid* p : Pins()) EXPECT_EQ(p->GetPaneFlag(), 3);
}

TEST_F(SideBySideCalls, RefreshingInstancesReadsTheirRowsAgainAndNoListChangesNothing) {
    ASSERT_TRUE(Open());
    Run("kx::show clp U1");
    Ccp()->RefreshInstancesInAllGrids(nullptr);
    const std::string before = Run("kx::window ccp");
    CDWordArray ids;
    ids.Add(Doc()->GetDesignContext().instance("U1").instance()->id());
    ids.Add(999999); // no such instance: passed over
    Ccp()->RefreshInstancesInAllGrids(&ids);
    EXPECT_EQ(Run("kx::window ccp"), before);
}

TEST_F(SideBySideCalls, ARenamedComponentKeepsNoIdUnderItsOldName) {
    ASSERT_TRUE(Open());
    // X1 is packaged in no part: once renamed, nothing is known by its old name.
    IInstance* x1 = Doc()->GetDesignContext().instance("X1").instance();
    ASSERT_TRUE(x1);
    Ccp()->AddComponent(x1, "blk");
    const int before = Ccp()->GetComponentId("X1");
    ASSERT_GE(before, 0);
    ASSERT_TRUE(Clp()->RenameComponent("X1", "X9"));
    Ccp()->RenameComponent(x1, "X1");
    EXPECT_EQ(Ccp()->GetComponentId("X1"), -1);
    // A new id: ids are never reused.
    EXPECT_GT(Ccp()->GetComponentId("X9"), before);
    // Told twice, nothing more changes.
    const int id = Ccp()->GetComponentId("X9");
    Ccp()->RenameComponent(x1, "X1");
    EXPECT_EQ(Ccp()->GetComponentId("X9"), id);
}

TEST_F(SideBySideCalls, APartStillKnownByTheOldNameKeepsItsId) {
    ASSERT_TRUE(Open());
    // U1 is renamed, but its part keeps the reference designator U1.
    IInstance* u1 = Doc()->GetDesignContext().instance("U1").instance();
    Ccp()->AddComponent(u1, "buf");
    const int id = Ccp()->GetComponentId("U1");
    ASSERT_TRUE(Clp()->RenameComponent("U1", "U9"));
    Ccp()->RenameComponent(u1, "U1");
    EXPECT_EQ(Ccp()->GetComponentId("U1"), id);
    EXPECT_GE(Ccp()->GetComponentId("U9"), 0);
}

} // namespace

namespace {

// A section given another reference designator leaves a part that another section still carries: the
// part's grid stays on the part and shows the pins it still has; the section's new part is known by name.
TEST_F(PhysFollow, ASectionMovedToAnotherPartLeavesTheGridOnThePartItLeft) {
    G* g = ShowPart("RN1A");
    ASSERT_TRUE(g);
    ASSERT_EQ(g->m_strRefDes, "RN1");
    ASSERT_EQ(SignalOf(g, "2"), "X2");
    EXPECT_EQ(Run("kx::setprop work.board:sch@RN1A LOCATION RN2").rfind("error", 0), std::string::npos);
    EXPECT_EQ(g->m_strRefDes, "RN1");
    EXPECT_EQ(SignalOf(g, "2"), "X2");
    EXPECT_GE(Ccp()->GetComponentId("RN2"), 0);
}

} // namespace
