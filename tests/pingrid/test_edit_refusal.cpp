// A typed edit the pin grid refuses, thrown away as Escape throws it away, at the host: it leaves no
// edit running, and the grid's next edits behave as on a grid that never saw the refusal.
#include "PinGridBoardFixture.h"

#include "kxinstsigpane/KXTransaction.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class EditRefusal : public PinGridBoard {
protected:
    std::string SignalCol() { return std::to_string(G::m_nColSignal); }
    std::string Refuse(const std::string& pin) {
        return Run("kx::edit ccp " + std::to_string(PinRow(pin)) + " " + SignalCol() + " {B@D}");
    }
    // The transcript printed from now on.
    std::string TranscriptSince(std::size_t from) { return Transcript().substr(from); }
};

TEST_F(EditRefusal, ARefusedEditLeavesNoEditRunning) {
    OpenBoard();
    ASSERT_EQ(Refuse("PGOOD"), "0");
    EXPECT_FALSE(Grid()->m_bEditing);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_EQ(CellText(PinRow("PGOOD"), G::m_nColSignal), "PG");
    // Escape on an edit the user began: the same.
    const ROWCOL rst = PinRow("RST_N");
    Run("kx::select ccp " + std::to_string(rst) + " " + SignalCol());
    ASSERT_TRUE(Grid()->GetCurrentCellControl()->OnStartEditing());
    EXPECT_TRUE(Grid()->m_bEditing);
    Run("kx::key ccp Escape");
    EXPECT_FALSE(Grid()->m_bEditing);
    EXPECT_EQ(CellText(rst, G::m_nColSignal), "RESET_N");
}

// After a refusal, a pair row selected for Delete still takes both legs along, as it does on a fresh grid.
TEST_F(EditRefusal, APairRowAfterARefusalStillTakesItsLegs) {
    OpenBoard();
    ASSERT_EQ(Refuse("PGOOD"), "0");
    const ROWCOL clk = PinRow("CLK");
    ASSERT_GT(clk, 0u);
    const std::size_t from = Transcript().size();
    Run("kx::select ccp " + std::to_string(clk) + " " + SignalCol());
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::key ccp Delete"), "1");
    const std::string printed = TranscriptSince(from);
    EXPECT_NE(printed.find("deleted 1 of 1"), std::string::npos) << printed;
    // The pair connection is gone; the row shows the nets its legs stay on.
    EXPECT_EQ(Grid()->GetRowDPInstTerm(clk)->dpConn(), nullptr);
    EXPECT_EQ(CellText(clk, G::m_nColSignal), "SYSCLK_P,SYSCLK_N");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

// A typed edit begun while another edit holds the grid transaction ends inside it: the transaction is
// its owner's to commit or throw away.
TEST_F(EditRefusal, AnEditInsideAnOpenTransactionLeavesItToItsOwner) {
    OpenBoard();
    ASSERT_EQ(Refuse("PGOOD"), "0");
    G* g = Grid();
    ASSERT_TRUE(CKXTransaction::BeginTrans(g, g->m_designContext2, "Owner"));
    const ROWCOL filter = 4;
    g->SetCurrentCell(filter, static_cast<ROWCOL>(G::m_nColPinName));
    CGXControl* control = g->GetCurrentCellControl();
    ASSERT_TRUE(control && control->OnStartEditing());
    control->SetCurrentText("PG*");
    control->SetModify(TRUE);
    g->TransferCurrentCell(TRUE);
    EXPECT_TRUE(CKXTransaction::IsTransactionStarted());
    CKXTransaction::DiscardTrans(g);
    EXPECT_FALSE(g->m_bEditing);
}

} // namespace
