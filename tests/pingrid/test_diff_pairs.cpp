// Differential-pair rows: connect checks, the replace question, pair connections and terminations.
#include "PinGridTestSupport.h"

#include "afx/afxanswer.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"
#include "pingrid/KXPinGridSignalCells.h"
#include "pingrid/KXPinGridPairEdits.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class DiffPairs : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        AfxGetAnswerQueue().Reset();
        builder.symbol("PART").port("A").port("P").port("N");
        builder.schematic("top")
            .instance("U1", "PART")
            .connect("U1", "P", "CLK_P")
            .connect("U1", "N", "CLK_N")
            .connect("U1", "A", "X")
            .dpPin("U1", "CLK", "P", "N")
            .dpNet("CLKNET", "CLK_P", "CLK_N")
            .dpConnect("U1", "CLK", "CLKNET")
            .pairTermination("T1", "Parallel", "U1", "CLK");
        Init();
        ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    }
    void TearDown() override {
        AfxGetAnswerQueue().Reset();
        CKXShareGlobalData::m_bReplay = FALSE;
        if (CKXRegistrySettings::OpenRegistryKey())
            CKXRegistrySettings::SetToRegistry("ccp_diffpair_replace_conn_msg", 0);
        CKXRegistrySettings::CloseRegistryKey();
    }
    IDPInstTerm* Pair() { return Instance("U1").instance()->findDPInstTerm("CLK"); }
};

TEST_F(DiffPairs, SignalsGoOnlyOnTheirKindOfRow) {
    const ROWCOL pair = Row("CLK");
    ASSERT_NE(pair, 0u);
    EXPECT_EQ(Kind(pair + 1), PIN_ROW_DIFFPAIR_LEG);
    EXPECT_TRUE(grid->IsRowHidden(pair + 1)); // the pair is shown collapsed
    grid->ExpandAllPins("on", "");
    CDWordArray legs, pairs, plain;
    legs.Add(pair + 1);
    pairs.Add(pair);
    plain.Add(Row("A"));
    EXPECT_FALSE(grid->PairEdits().CheckDiffPairConnect(legs, "CLKNET (Differential Pair)"));
    EXPECT_TRUE(grid->PairEdits().CheckDiffPairConnect(pairs, "CLKNET (Differential Pair)"));
    EXPECT_FALSE(grid->PairEdits().CheckDiffPairConnect(pairs, "X"));
    EXPECT_TRUE(grid->PairEdits().CheckDiffPairConnect(plain, "X"));
    EXPECT_TRUE(grid->PairEdits().CheckDiffPairConnect(plain, nullptr));
    // Hidden rows are not looked at.
    grid->HideRows(pair, pair, TRUE);
    EXPECT_TRUE(grid->PairEdits().CheckDiffPairConnect(pairs, "X"));
    grid->HideRows(pair, pair, FALSE);
    // Selection test.
    EXPECT_FALSE(grid->IsDiffPairRowSelected());
    grid->SetCurrentCell(pair, static_cast<ROWCOL>(G::m_nColSignal));
    EXPECT_TRUE(grid->IsDiffPairRowSelected());
}

TEST_F(DiffPairs, ReplaceQuestion) {
    INet* p = design.design()->findNet("CLK_P");
    ASSERT_NE(p, nullptr);
    const CNetBit bit(p, -1);
    // Same name, or a bit without a pair: no question.
    EXPECT_TRUE(grid->PairEdits().ConfirmDiffPairReplace(bit, "CLKNET"));
    EXPECT_TRUE(grid->PairEdits().ConfirmDiffPairReplace(CNetBit(design.design()->findNet("X"), -1), "NEW"));
    EXPECT_EQ(AfxGetAnswerQueue().GetLog().size(), 0u);
    // Unanswered: No.
    EXPECT_FALSE(grid->PairEdits().ConfirmDiffPairReplace(bit, "NEW"));
    AfxGetAnswerQueue().PushDialog("CKXDontAskAgainYesNoDlg", TRUE, {{"dontAskAgain", "1"}});
    EXPECT_TRUE(grid->PairEdits().ConfirmDiffPairReplace(bit, "NEW"));
    // Not asked again.
    EXPECT_TRUE(grid->PairEdits().ConfirmDiffPairReplace(bit, "NEW"));
    int stored = 0;
    ASSERT_TRUE(CKXRegistrySettings::OpenRegistryKey());
    EXPECT_TRUE(CKXRegistrySettings::GetFromRegistry("ccp_diffpair_replace_conn_msg", stored));
    CKXRegistrySettings::SetToRegistry("ccp_diffpair_replace_conn_msg", 0);
    CKXRegistrySettings::CloseRegistryKey();
    EXPECT_EQ(stored, 1);
    // In replay nothing is shown.
    CKXShareGlobalData::m_bReplay = TRUE;
    EXPECT_TRUE(grid->PairEdits().ConfirmDiffPairReplace(bit, "NEW"));
}

TEST_F(DiffPairs, NamesAndLegs) {
    EXPECT_TRUE(grid->PairEdits().IsSameDiffPairName("CLK", "CLK"));
    EXPECT_FALSE(grid->PairEdits().IsSameDiffPairName("CLK", "DATA"));
    EXPECT_STREQ(G::GetDiffPairFirstLegPin(Pair())->name(), "P");
    EXPECT_STREQ(G::GetDiffPairSecondLegPin(Pair())->name(), "N");
    EXPECT_EQ(G::GetDiffPairFirstLegPin(nullptr), nullptr);
}

TEST_F(DiffPairs, PairTerminationIsDeletedInItsOwnTransaction) {
    ASSERT_NE(Pair()->dpConn(), nullptr);
    ASSERT_TRUE(Pair()->dpConn()->beginAssociatedDTInstance().isValid());
    grid->PairEdits().DeleteDiffPairTerminations(Pair());
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_FALSE(Pair()->dpConn()->beginAssociatedDTInstance().isValid());
}

TEST_F(DiffPairs, RemovingConnectionsInTheCallersTransaction) {
    ASSERT_TRUE(CKXTransaction::BeginTrans(grid.get(), design, "Delete Connections"));
    CTransaction* t = CKXTransaction::GetCurrentTransactionObj();
    ASSERT_NE(t, nullptr);
    EXPECT_FALSE(grid->PairEdits().RemoveDiffPairConnection(nullptr, Pair()));
    EXPECT_TRUE(grid->PairEdits().RemoveDiffPairConnection(t, Pair()));
    IInstTerm* a = Instance("U1").instance()->findInstTerm("A");
    grid->PairEdits().RemoveConnection(t, CInstTermBit(a, -1));
    ASSERT_TRUE(CKXTransaction::CommitTrans(grid.get(), 1, 1));
    EXPECT_EQ(Pair()->dpConn(), nullptr);
    EXPECT_FALSE(a->isConnected());
    // A pin without a pair connection: nothing to remove.
    ASSERT_TRUE(CKXTransaction::BeginTrans(grid.get(), design, "Delete Connections"));
    EXPECT_FALSE(
        grid->PairEdits().RemoveDiffPairConnection(CKXTransaction::GetCurrentTransactionObj(), Pair()));
    CKXTransaction::DiscardTrans(grid.get());
}

} // namespace

namespace {

CGXStyle CellStyle(G& grid, ROWCOL row, int col) {
    CGXStyle style;
    grid.GetStyleRowCol(row, static_cast<ROWCOL>(col), style);
    return style;
}

// A leg row shows its polarity: the positive leg non-inverting, the negative one inverting.
TEST_F(DiffPairs, LegRowsShowTheirPolarity) {
    const ROWCOL pair = Row("CLK");
    ASSERT_NE(pair, 0u);
    ASSERT_EQ(Kind(pair + 1), PIN_ROW_DIFFPAIR_LEG);
    EXPECT_EQ(Cell(pair + 1, G::m_nColPinName), "P");
    EXPECT_EQ(Attr(pair + 1, G::m_nColPinName, IDS_UA_TOOLTIPTEXT), "Non Inverting");
    EXPECT_EQ(CellStyle(*grid, pair + 1, G::m_nColDiffPair).GetControl(), 59464);
    EXPECT_EQ(Attr(pair + 2, G::m_nColPinName, IDS_UA_TOOLTIPTEXT), "Inverting");
    EXPECT_EQ(CellStyle(*grid, pair + 2, G::m_nColDiffPair).GetControl(), 59465);
    grid->SignalCells().SetPolarityCell(pair + 1, 0);
    EXPECT_EQ(Attr(pair + 1, G::m_nColPinName, IDS_UA_TOOLTIPTEXT), "Polarity not defined");
    EXPECT_EQ(CellStyle(*grid, pair + 1, G::m_nColDiffPair).GetControl(), IDS_CTRL_STATIC_TEXT);
}

// The pair name goes into the SIGNAL cell of the pair's row with the pair-signal control; the cell
// is written from the design, whether the connection was announced as added or deleted.
TEST_F(DiffPairs, PairColumnWritesThePairName) {
    const ROWCOL pair = Row("CLK");
    ASSERT_NE(pair, 0u);
    IDPConn* conn = Pair()->dpConn();
    ASSERT_NE(conn, nullptr);
    grid->SetValueRange(CGXRange(pair, static_cast<ROWCOL>(G::m_nColSignal)), "stale");
    grid->SignalCells().FillDiffPairColumn({conn}, TRUE);
    EXPECT_EQ(Cell(pair, G::m_nColSignal), CKXGenUtils::GetDiffPairName(conn->dpNet()));
    grid->SignalCells().FillDiffPairColumn({conn}, FALSE);
    EXPECT_EQ(Cell(pair, G::m_nColSignal), CKXGenUtils::GetDiffPairName(conn->dpNet()));
    EXPECT_EQ(CellStyle(*grid, pair, G::m_nColSignal).GetControl(), IDS_CTRL_DIFFPAIR_SIGNAL);
    EXPECT_TRUE(grid->GetParam()->IsLockReadOnly());
}

} // namespace

namespace {

// A vector pair connected on some of its lanes only: a lane the connection leaves out is on no pair
// net, and shows what its legs are on.
TEST_F(PinGridTest, ALaneOutsideThePairConnectionShowsItsLegs) {
    builder.symbol("PHY").bus("TXP", 1, 0).bus("TXN", 1, 0);
    builder.schematic("top")
        .instance("U1", "PHY")
        .connect("U1", "TXP<1..0>", "DP<1..0>")
        .connect("U1", "TXN<1..0>", "DN<1..0>")
        .dpPin("U1", "TX", "TXP", "TXN")
        .dpNet("D", "DP", "DN");
    Init();
    IDPInstTerm* pair = Instance("U1").instance()->findDPInstTerm("TX");
    ASSERT_NE(pair, nullptr);
    {
        CTransaction t(design, "lane 0");
        ASSERT_TRUE(t.addDPConn(design.design()->findDPNet("D"), 0, 0, pair, 0, 0));
        ASSERT_TRUE(t.commit()) << t.lastError().GetString();
    }
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    EXPECT_EQ(Cell(Row("TX<0>"), CKXInstanceDetailsGridWnd::m_nColSignal), "D<0>");
    EXPECT_EQ(Cell(Row("TX<1>"), CKXInstanceDetailsGridWnd::m_nColSignal), "DP<1>,DN<1>");
    EXPECT_EQ(Cell(Row("TX<1..0>"), CKXInstanceDetailsGridWnd::m_nColSignal), "DP<1>,DN<1>,DP<0>,DN<0>");
}

} // namespace
