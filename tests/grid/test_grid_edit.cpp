// The grid kind tag, the write scopes and the edit bracket.
#include "GridTestSupport.h"

#include "KXDesignSnapshot.h"

#include "grid/KXGridEdit.h"
#include "grid/KXGridScopes.h"
#include "kxinstsigpane/CommonInterface.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxinstsigpane/KXUndoCmd.h"
#include "rmx/DesignBuilder.h"
#include "rmx/transaction.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class KindedGrid : public CKXGridWnd {
public:
    KindedGrid() : CKXGridWnd(KXGridKind::Signal) {}
};

TEST(GridKind, EveryGridStatesItsKindOnce) {
    CKXGridWnd plain;
    KindedGrid signal;
    EXPECT_EQ(plain.Kind(), KXGridKind::None);
    EXPECT_EQ(signal.Kind(), KXGridKind::Signal);
    // The numbers are those of the layout broadcast.
    EXPECT_EQ(KXGridKindNumber(KXGridKind::Pin), 5);
    EXPECT_EQ(KXGridKindNumber(KXGridKind::Signal), 6);
    EXPECT_EQ(KXGridKindNumber(KXGridKind::PhysPart), 7);
    EXPECT_EQ(KXGridKindNumber(KXGridKind::PhysNet), 8);
    EXPECT_EQ(KXGridKindNumber(KXGridKind::Matrix), 10);
}

TEST(GridScopes, RestoreWhatTheyFoundAlsoWhenNested) {
    CRecordingGrid grid;
    SetUpGrid(grid);
    CGXGridParam* param = grid.GetParam();
    param->EnableUndo(TRUE);
    param->SetLockReadOnly(TRUE);
    {
        kxgrid::GridWriteScope outer(grid);
        EXPECT_FALSE(param->IsEnableUndo());
        EXPECT_FALSE(param->IsLockReadOnly());
        {
            kxgrid::GridWriteScope inner(grid, kxgrid::GridWriteScope::kLock);
            EXPECT_FALSE(param->IsLockReadOnly());
        }
        EXPECT_FALSE(param->IsEnableUndo()); // the inner scope restores the outer's state
        EXPECT_FALSE(param->IsLockReadOnly());
    }
    EXPECT_TRUE(param->IsEnableUndo());
    EXPECT_TRUE(param->IsLockReadOnly());

    {
        kxgrid::GridWriteScope undoOnly(grid, kxgrid::GridWriteScope::kUndo);
        EXPECT_FALSE(param->IsEnableUndo());
        EXPECT_TRUE(param->IsLockReadOnly()); // untouched
    }

    EXPECT_FALSE(grid.IsLockUpdate());
    {
        kxgrid::LockUpdateScope outer(grid);
        EXPECT_TRUE(grid.IsLockUpdate());
        {
            kxgrid::LockUpdateScope inner(grid);
            EXPECT_TRUE(inner.WasLocked());
        }
        EXPECT_TRUE(grid.IsLockUpdate()); // only the outermost scope unlocks
    }
    EXPECT_FALSE(grid.IsLockUpdate());
}

// Records what the grid hands to its undo host: step modes, and the commands of open steps.
class StepSink : public CCommonInterface {
public:
    std::vector<int> modes;
    int steps = 0;
    bool open = false;
    void AddUndoCommand(CGXGridCore*, CGXCommand* command, GXCmdType, int state) override {
        std::unique_ptr<CGXCommand> owned(command);
        modes.push_back(state);
        if (state == kUndoStepRollBack) {
            if (open) --steps;
            open = false;
            return;
        }
        if (!owned) return;
        if (state == kUndoStepOpen || !open) ++steps;
        open = state != kUndoStepClose;
    }
};

class NoteCmd : public CGXCommand {
public:
    BOOL Execute(CGXGridCore*, GXCmdType) override { return TRUE; }
};

class GridEditBracket : public ::testing::Test {
protected:
    void SetUp() override {
        builder.symbol("RES").port("A").port("B");
        builder.schematic("top").instance("U1", "RES").net("N1");
        design = builder.context();
        CKXUndoCmd::SetServer(&server);
        SetUpGrid(grid);
        grid.m_pUndoHost = &sink;
        grid.m_designContext = design;
        CKXTransaction::SetUndoSink(&sink);
    }
    void TearDown() override {
        if (CKXTransaction::IsTransactionStarted()) CKXTransaction::DiscardTrans(nullptr);
        CKXTransaction::SetUndoSink(nullptr);
        CKXUndoCmd::SetServer(nullptr);
    }
    std::string Snapshot() { return KXDesignSnapshot(server, design.design(), "gridedit"); }
    bool AddNet(CTransaction* t, const char* name) {
        INet* net = t->createNet(name, static_cast<unsigned>(-1), static_cast<unsigned>(-1));
        return net && t->addNet(net);
    }

    IServer server;
    rmx::DesignBuilder builder{&server, "work"};
    CDesignContext design;
    CRecordingGrid grid;
    StepSink sink;
};

TEST_F(GridEditBracket, CommitMakesOneUndoStepAndClearsTheCommittingFlag) {
    {
        CKXGridEdit edit(grid, "Add Net");
        ASSERT_TRUE(edit);
        EXPECT_TRUE(edit.Owns());
        EXPECT_EQ(grid.m_nTransState, kUndoStepOpen);
        ASSERT_TRUE(AddNet(edit.Transaction(), "N2"));
        grid.AddCommand(new NoteCmd, gxDo); // the grid's own command joins the step
        EXPECT_TRUE(edit.Commit());
        EXPECT_FALSE(edit); // committed once
        EXPECT_FALSE(edit.Commit());
    }
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_EQ(grid.m_bCommitting, 0);
    EXPECT_EQ(grid.m_nTransState, kUndoStepClose);
    EXPECT_NE(design.design()->findNet("N2"), nullptr);
    EXPECT_EQ(sink.steps, 1);
    EXPECT_FALSE(sink.open);
}

TEST_F(GridEditBracket, LeavingWithoutCommitDiscardsDesignAndUndoStep) {
    const std::string before = Snapshot();
    {
        CKXGridEdit edit(grid, "Add Net");
        ASSERT_TRUE(edit);
        ASSERT_TRUE(AddNet(edit.Transaction(), "N2"));
        grid.AddCommand(new NoteCmd, gxDo);
        EXPECT_EQ(sink.steps, 1);
    }
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_EQ(design.design()->findNet("N2"), nullptr);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(sink.steps, 0); // the step the edit opened went with it
    EXPECT_EQ(grid.m_nTransState, kUndoStepClose);
}

TEST_F(GridEditBracket, RefusedBeginIsNeverIgnored) {
    CRecordingGrid other;
    SetUpGrid(other);
    ASSERT_TRUE(CKXTransaction::BeginTrans(&other, design, "Someone Else"));
    {
        CKXGridEdit edit(grid, "Insert Comment");
        EXPECT_FALSE(edit);
        EXPECT_EQ(edit.Transaction(), nullptr);
        EXPECT_FALSE(edit.Commit());
        EXPECT_EQ(grid.m_nTransState, kUndoStepClose);
    }
    // The other grid's transaction is untouched by the refused bracket.
    EXPECT_TRUE(CKXTransaction::IsTransactionStarted());
    EXPECT_EQ(CKXTransaction::GetGrid(), &other);
    CKXTransaction::DiscardTrans(&other);

    // Without a design there is nothing to begin on.
    grid.m_designContext = CDesignContext();
    CKXGridEdit none(grid, "Edit");
    EXPECT_FALSE(none);
}

TEST_F(GridEditBracket, JoinedBracketLeavesTheTransactionToItsOwner) {
    CKXGridEdit outer(grid, "Outer");
    ASSERT_TRUE(outer);
    {
        CKXGridEdit inner(grid, "Inner", CKXGridEdit::kJoinOpen);
        ASSERT_TRUE(inner);
        EXPECT_FALSE(inner.Owns());
        EXPECT_EQ(inner.Transaction(), outer.Transaction());
        ASSERT_TRUE(AddNet(inner.Transaction(), "N3"));
        EXPECT_TRUE(inner.Commit()); // nothing committed yet: the outer owns it
        EXPECT_TRUE(CKXTransaction::IsTransactionStarted());
    }
    EXPECT_TRUE(CKXTransaction::IsTransactionStarted()); // not discarded by the inner bracket
    EXPECT_TRUE(outer.Commit());
    EXPECT_NE(design.design()->findNet("N3"), nullptr);

    // Alone, a joining bracket begins its own transaction.
    CKXGridEdit alone(grid, "Alone", CKXGridEdit::kJoinOpen);
    EXPECT_TRUE(alone.Owns());
}

// Edits committed, left without a commit or refused by the server: a refused one leaves nothing in
// the design, and whatever came before, the next edit is one undo step of its own.
TEST_F(GridEditBracket, AfterCommittedAbandonedAndRefusedEditsTheNextIsOneStep) {
    {
        CKXGridEdit edit(grid, "Add Net");
        ASSERT_TRUE(edit);
        ASSERT_TRUE(AddNet(edit.Transaction(), "N2"));
        ASSERT_TRUE(edit.Commit());
    }
    { // left without a commit
        CKXGridEdit edit(grid, "Add Net");
        ASSERT_TRUE(AddNet(edit.Transaction(), "N3"));
    }
    EXPECT_EQ(grid.m_nTransState, kUndoStepClose);
    server.setCommitFault([] { return true; });
    {
        CKXGridEdit edit(grid, "Add Net");
        ASSERT_TRUE(AddNet(edit.Transaction(), "N4"));
        EXPECT_FALSE(edit.Commit());
    }
    server.setCommitFault(nullptr);
    EXPECT_EQ(design.design()->findNet("N4"), nullptr);
    // After all that the next edit is one step of its own.
    const int steps = sink.steps;
    {
        CKXGridEdit edit(grid, "Add Net");
        ASSERT_TRUE(AddNet(edit.Transaction(), "N5"));
        ASSERT_TRUE(edit.Commit());
    }
    EXPECT_EQ(sink.steps, steps + 1);
}

} // namespace
