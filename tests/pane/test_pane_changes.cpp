// The connectivity pane follows committed changes of its design: windows of
// removed components close, renamed ones keep their window, new nets become
// known, and resolved violations become undo steps.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/context.h"
#include "rmx/schema.h"
#include "rmx/transaction.h"

namespace {

class PaneChanges : public KXShellFixture {
protected:
    CDesignContext Design() { return CDesignContext(CKXShareGlobalData::m_pServer, "work.board:sch"); }
    void Show(std::initializer_list<const char*> names) {
        CDesignContext design = Design();
        CKXInstanceContextArray arr;
        for (const char* n : names)
            arr.Add(design.instance(n));
        Ccp()->ShowInstanceConnectivity(design, &arr, TRUE);
    }
    // One edit, committed as the user's edits are.
    template <class Edit> void Commit(const char* name, Edit edit) {
        CKXGridWnd* grid = Ccp()->PaneGrid();
        ASSERT_NE(grid, nullptr);
        ASSERT_TRUE(CKXTransaction::BeginTrans(grid, Design(), name));
        ASSERT_TRUE(edit(*CKXTransaction::GetCurrentTransactionObj()));
        ASSERT_TRUE(CKXTransaction::CommitTrans(grid, 1, 1));
    }
};

TEST_F(PaneChanges, SubscribedAtTheFirstUpdateWithTheDesignsNets) {
    ASSERT_TRUE(Open());
    EXPECT_TRUE(Ccp()->IsSubscribed());
    EXPECT_TRUE(Ccp()->IsNetRegistered(Design().net("N1").net()->id()));
}

TEST_F(PaneChanges, RemovedComponentsLoseTheirWindowRenamedOnesKeepIt) {
    ASSERT_TRUE(Open());
    Show({"U1", "R1"});
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u);
    CKXGridWnd* u1 = Ccp()->GetShownGrids()[0];
    IInstance* r1 = Design().instance("R1").instance();
    Commit("Rename",
           [&](CTransaction& t) { return t.renameInstance(Design().instance("U1").instance(), "U7"); });
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u);
    EXPECT_EQ(Ccp()->GetShownGrids()[0], u1);
    EXPECT_EQ(std::string(Ccp()->GetShownObjects()[0]), "U7");
    Commit("Remove", [&](CTransaction& t) { return t.removeInstance(r1); });
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 1u);
    EXPECT_EQ(Ccp()->GetShownGrids()[0], u1);
}

TEST_F(PaneChanges, NetsMadeAndRemovedInOneDesign) {
    ASSERT_TRUE(Open());
    Commit("Add", [&](CTransaction& t) { return t.createNet("NEWNET", -1u, -1u) != nullptr; });
    INet* made = Design().design()->findNet("NEWNET");
    ASSERT_NE(made, nullptr);
    const unsigned id = made->id();
    EXPECT_TRUE(Ccp()->IsNetRegistered(id));
    Commit("Remove", [&](CTransaction& t) { return t.removeNet(made); });
    EXPECT_FALSE(Ccp()->IsNetRegistered(id));
}

TEST_F(PaneChanges, PinOnlyChangesAndOtherMessagesLeaveThePaneAlone) {
    ASSERT_TRUE(Open());
    Show({"U1"});
    EXPECT_EQ(Ccp()->SendMessage(MSG_TRANSACTION_COMMITTED, 0, 0), 0); // no transaction
    const unsigned n1 = Design().net("N1").net()->id();
    Commit("Delete Connections", [&](CTransaction& t) {
        IInstTerm* pin = Design().instance("U1").instance()->findInstTerm("OUT");
        const unsigned whole = static_cast<unsigned>(-1);
        return t.removeConn(Design().design()->findNet("N1"), whole, whole, pin, whole, whole);
    });
    EXPECT_EQ(Ccp()->GetShownGrids().size(), 1u);
    EXPECT_TRUE(Ccp()->IsNetRegistered(n1));
}

TEST_F(PaneChanges, TwoResolvedViolationsAreTwoUndoSteps) {
    ASSERT_TRUE(Open());
    CTransaction first(Design(), "a"), second(Design(), "b");
    const int before = Ccp()->GetUndoStepCount();
    Ccp()->SendMessage(MSG_VIOLATION_RESOLVED, reinterpret_cast<WPARAM>(&first),
                       reinterpret_cast<LPARAM>(&second));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), before + 2);
    EXPECT_EQ(std::string(Ccp()->GetUndoDescription()), "Resolve Violation");
    Ccp()->SendMessage(MSG_VIOLATION_RESOLVED, 0, 0);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), before + 2);
}

TEST_F(PaneChanges, AssocCompChangesOfThisDesignOnlyAreRecorded) {
    ASSERT_TRUE(Open());
    CTransaction mine(Design(), "a");
    CTransaction other(CDesignContext(CKXShareGlobalData::m_pServer, "work.blk:sch"), "b");
    const int before = Ccp()->GetUndoStepCount();
    Ccp()->SendMessage(MSG_ASSOC_COMP_CHANGED, 0, reinterpret_cast<LPARAM>(&other));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), before);
    Ccp()->SendMessage(MSG_ASSOC_COMP_CHANGED, 0, reinterpret_cast<LPARAM>(&mine));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), before + 1);
    EXPECT_EQ(std::string(Ccp()->GetUndoDescription()), "Change Assoc Comp");
    Ccp()->SendMessage(MSG_ASSOC_COMP_CHANGED, 0, 0);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), before + 1);
}

} // namespace
