// The pin grid inside a design window: set up on the connectivity pane, fed by
// the message server when a transaction is committed.
#include "KXShellFixture.h"

#include "pingrid/KXInstanceDetailsGridWnd.h"
#include "pane/KXBottomPaneContainerView.h"
#include "shell/KXTableChildFrm.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXTransaction.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "rmx/transaction.h"

#include <memory>

namespace {

using G = CKXInstanceDetailsGridWnd;

class PinGridInWindow : public KXShellFixture {
protected:
    void Show(int mode) {
        ASSERT_TRUE(Open("work.board:sch", mode));
        design = CDesignContext(CKXShareGlobalData::m_pServer, "work.board:sch");
        ASSERT_TRUE(design);
        grid = std::make_unique<G>();
        grid->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 400), Ccp(), 9100);
        grid->SetChildFrame(Frame());
        grid->InitializeGrid(Ccp(), design, design, 0);
        ASSERT_TRUE(grid->LoadComponentPins(design, design.instance("U1"), FALSE));
    }
    void TearDown() override {
        grid.reset();
        KXShellFixture::TearDown();
    }
    ROWCOL Row(const char* pin) {
        for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r)
            if (grid->GetValueRowCol(r, static_cast<ROWCOL>(G::m_nColPinName)) == pin) return r;
        return 0;
    }
    CDesignContext design;
    std::unique_ptr<G> grid;
};

TEST_F(PinGridInWindow, ACommittedTransactionReachesTheGrid) {
    Show(1);
    EXPECT_EQ(grid->GetOwnerPane(), Ccp());
    const ROWCOL out = Row("OUT");
    ASSERT_NE(out, 0u);
    EXPECT_EQ(grid->GetValueRowCol(out, static_cast<ROWCOL>(G::m_nColSignal)), "N1");
    // An edit made elsewhere, committed through the grid transaction of another grid.
    CKXGridWnd other;
    other.Create(WS_CHILD, CRect(0, 0, 10, 10), Ccp(), 9101);
    ASSERT_TRUE(CKXTransaction::BeginTrans(&other, design, "Delete Connections"));
    IInstTerm* pin = design.instance("U1").instance()->findInstTerm("OUT");
    const unsigned whole = static_cast<unsigned>(-1);
    ASSERT_TRUE(CKXTransaction::GetCurrentTransactionObj()->removeConn(design.design()->findNet("N1"), whole,
                                                                       whole, pin, whole, whole));
    ASSERT_TRUE(CKXTransaction::CommitTrans(&other, 1, 1));
    EXPECT_EQ(grid->GetValueRowCol(out, static_cast<ROWCOL>(G::m_nColSignal)), "");
    // The refresh leaves no undo step of its own in the grid.
    EXPECT_FALSE(grid->CanUndo());
}

TEST_F(PinGridInWindow, ReadOnlyDesignHasReadOnlyPinRows) {
    Show(2);
    const ROWCOL in = Row("IN");
    ASSERT_NE(in, 0u);
    EXPECT_TRUE(grid->IsCellReadOnly(in, static_cast<ROWCOL>(G::m_nColSignal)));
}

} // namespace
