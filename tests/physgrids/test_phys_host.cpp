// The physical grids under the user's hands through the host: the cells of both grids are
// reachable (select, type into the filter row, keys, menus), a bad sort column is refused, and
// what the grids journal selects the pins a replay finds.
#include "PhysGridTestSupport.h"

#include "physgrids/KXPhysNetDetailsGridWnd.h"

#include <gtest/gtest.h>

namespace {

class PhysHost : public PhysGridTest {
protected:
    std::string At(ROWCOL row, int col) { return std::to_string(row) + " " + std::to_string(col); }
    G* ShowPart(const char* name) {
        if (!Doc() && !Open("work.board:sch", 4)) return nullptr;
        Run(std::string("kx::show clp ") + name);
        return dynamic_cast<G*>(Ccp()->GetActiveGrid());
    }
    bool Shown(CGXGridCore* g, ROWCOL row) { return row && !g->IsRowHidden(row); }
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

TEST_F(PhysHost, TheNetGridsCellsAreReachable) {
    ASSERT_TRUE(Open("work.board:sch", 4));
    EXPECT_EQ(Run("kx::show slp N1"), "1");
    auto* g = dynamic_cast<CKXPhysNetDetailsGridWnd*>(Ccp()->GetActiveGrid());
    ASSERT_TRUE(g);
    const ROWCOL first = 5;
    ASSERT_GE(g->LastPinRow(), first + 1) << Run("kx::window ccp");
    EXPECT_EQ(Run("kx::select ccp " + At(first, CKXPhysNetDetailsGridWnd::m_nColPinName)), "1");
    EXPECT_EQ(Run("kx::key ccp Down"), "1");
    const std::string location = g->GetValueRowCol(first, CKXPhysNetDetailsGridWnd::m_nColLocation).str();
    EXPECT_EQ(Run("kx::edit ccp " + At(3, CKXPhysNetDetailsGridWnd::m_nColLocation) + " " + location), "1");
    for (ROWCOL r = first; r <= g->LastPinRow(); ++r)
        EXPECT_EQ(g->IsRowHidden(r) != FALSE,
                  g->GetValueRowCol(r, CKXPhysNetDetailsGridWnd::m_nColLocation).str() != location);
    EXPECT_EQ(Run("kx::edit ccp " + At(3, CKXPhysNetDetailsGridWnd::m_nColLocation) + " *"), "1");
    EXPECT_FALSE(g->IsRowHidden(first + 1));
    // A model on the selected row, then the Delete command removes it again.
    const ROWCOL rn1 = g->GetValueRowCol(first, CKXPhysNetDetailsGridWnd::m_nColLocation) == "RN1" ? first : first + 1;
    EXPECT_EQ(Run("kx::select ccp " + At(rn1, CKXPhysNetDetailsGridWnd::m_nColPinName)), "1");
    EXPECT_EQ(Run("assignModel pin NMODEL"), "1");
    EXPECT_EQ(Prop("work.board:sch@RN1A.A", "PIN_SIGNAL_MODEL"), "NMODEL");
    EXPECT_EQ(Run("kx::menu 35264"), "1");
    EXPECT_EQ(Prop("work.board:sch@RN1A.A", "PIN_SIGNAL_MODEL"), "");
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
    EXPECT_NE(journal.find(".Clp().Select(\"RN1B\")"), std::string::npos) << journal;
    EXPECT_EQ(journal.find(".Clp().Select(\"RN1\")"), std::string::npos) << journal;
    EXPECT_NE(journal.find(".ConnectivityPane().SelectPinNameCol(\"D<3>\",\"4\")\n\n ' --- Swap Pins ---"),
              std::string::npos)
        << journal;
    // The calls a replay makes: the list's selection, the pin's selection, the edit.
    ASSERT_EQ(Run("kx::pane clp Select RN1A"), "1");
    Run("kx::pane ccp SelectPinNameCol B 7");
    Run("kx::pane ccp AssignModel BMODEL");
    EXPECT_EQ(Prop("work.board:sch@RN1B.B", "PIN_SIGNAL_MODEL"), "BMODEL");
    EXPECT_EQ(Prop("work.board:sch@RN1A.A", "PIN_SIGNAL_MODEL"), "");
}

} // namespace
