// Terminations on the pair rows of the pin grid (a one-bit pair pin and the lanes of a vector pair
// pin), the edit of every termination a row carries, and the pull-up/pull-down states of net bits,
// end to end on the example board: what the design holds after each edit, the cells, undo, the
// journal's replay, and refusals that leave the design as it was.
#include "../connedit/ConnEditFixture.h"

#include "grid/KXGridIds.h"
#include "pingrid/KXPinGridPupdColumn.h"
#include "rmx/server.h"

#include <sstream>

namespace {

class AssocPairs : public ConnEditFixture {
protected:
    // Reads the board again from the file it was saved to: the board as saved after that.
    std::string Reloaded() {
        const std::string saved = Saved();
        Run("closeDesign -nosave");
        IDesign* board = m_app->Server()->findDesign("demo.board:sch");
        EXPECT_NE(board, nullptr);
        if (!board || !m_app->Server()->unloadDesign(board)) return std::string();
        CString error;
        m_app->Server()->loadLibrary(m_demo.c_str(), error);
        EXPECT_NE(m_app->Server()->findDesign("demo.board:sch"), nullptr) << error.GetString();
        OpenBoard();
        return Saved();
    }
    UINT PupdControl(const std::string& pin) {
        const int row = PinRow(pin);
        if (!row) return 0;
        CGXStyle style;
        Grid()->GetStyleRowCol(static_cast<ROWCOL>(row), static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColPupd),
                               style);
        return style.GetControl();
    }
};

// MCLK's termination copied onto the clock pair (its own termination deleted first): one undo step,
// journalled, and the journal replays to the same design.
TEST_F(AssocPairs, CopiedTerminationPastesOntoAPairRow) {
    OpenBoard();
    const std::string original = Saved();
    ASSERT_EQ(Run("copy pin MCLK Termination"), "1");
    Run("kx::pane SelectTerminationCol CLK");
    ASSERT_EQ(Run("deleteTermination pin"), "1");
    const std::string bare = Saved();
    ASSERT_EQ(bare.find("@U1%CLK"), std::string::npos) << bare;
    const int steps = Steps();
    Messages();
    EXPECT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(RowShows("CLK", "Series")) << Row("CLK");
    EXPECT_EQ(Steps(), steps + 1);
    const std::string pasted = Saved();
    EXPECT_NE(pasted.find("1 Series @U1%CLK"), std::string::npos) << pasted;
    EXPECT_NE(JournalText().find("SelectTerminationCol(\"CLK\")\n\n ' --- Paste Termination ---"), std::string::npos)
        << JournalText();
    Run("undo");
    EXPECT_TRUE(Saved() == bare);
    EXPECT_FALSE(RowShows("CLK", "Series"));
    Run("redo");
    EXPECT_TRUE(Saved() == pasted);
    EXPECT_TRUE(Replayed(original) == pasted);
}

// The clock pair's termination takes a new delay from its row's cell, in one step that replays.
TEST_F(AssocPairs, PairTerminationTakesANewDelay) {
    OpenBoard();
    const std::string original = Saved();
    Run("kx::pane SelectTerminationCol CLK");
    EXPECT_EQ(Run("kx::pane ChangeDelay 6ns"), "1") << ::testing::PrintToString(Messages());
    const std::string retimed = Saved();
    EXPECT_NE(retimed.find("prop @$RT1 DELAY \"6ns\""), std::string::npos) << retimed;
    EXPECT_EQ(Run("kx::pane ChangeDelay 6ns"), "0"); // the same delay: no change
    EXPECT_TRUE(Replayed(original) == retimed);
}

// A pair that carries a termination takes no second one: KXTABLE-118, nothing changes; nor does a
// leg pin of that pair.
TEST_F(AssocPairs, TerminatedPairRefusesThePaste) {
    OpenBoard();
    ASSERT_EQ(Run("copy pin MCLK Termination"), "1");
    const std::string before = Saved();
    const int steps = Steps();
    Run("kx::pane SelectTerminationCol CLK");
    Messages();
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-118"});
    Run("setViewOption pin dp_off");
    const int leg = PinRow("CLK_P");
    ASSERT_GT(leg, 0);
    EXPECT_NE(Grid()->GetRowDiffPairInstTerm(static_cast<ROWCOL>(leg)), nullptr);
    EXPECT_EQ(Grid()->GetRowDiffPairInstTerm(static_cast<ROWCOL>(PinRow("PGOOD"))), nullptr);
    Run("kx::pane SelectTerminationCol CLK_P");
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-118"});
    EXPECT_TRUE(Saved() == before);
    EXPECT_EQ(Steps(), steps);
}

// A copied termination pasted onto a vector pair pin's row goes onto each of its lanes, and the
// row shows it; the lanes' terminations are saved and read back where they were.
TEST_F(AssocPairs, PasteOntoTheLanesOfAVectorPair) {
    OpenBoard();
    const std::string original = Saved();
    ASSERT_EQ(Run("copy pin MCLK Termination"), "1");
    Run("kx::pane SelectTerminationCol {TX<3..0>}");
    Messages();
    EXPECT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(RowShows("TX<3..0>", "Series")) << Row("TX<3..0>");
    const std::string pasted = Saved();
    for (const char* lane : {"Series @U1%TX<3>\n", "Series @U1%TX<2>\n", "Series @U1%TX<1>\n", "Series @U1%TX<0>\n"})
        EXPECT_EQ(Count(pasted, lane), 1u) << lane << pasted;
    EXPECT_TRUE(Replayed(original) == pasted);
    EXPECT_EQ(Reloaded(), pasted);
    EXPECT_TRUE(RowShows("TX<3..0>", "Series")) << Row("TX<3..0>");
}

// The termination word on a vector pair row terminates each lane in one step; a second is refused,
// the delete takes all four, and undo puts the design back.
TEST_F(AssocPairs, TerminationWordsOnTheLanesOfAVectorPair) {
    OpenBoard();
    const std::string original = Saved();
    Run("kx::pane SelectTerminationCol {TX<3..0>}");
    Messages();
    EXPECT_EQ(Run(kSeries22), "1") << ::testing::PrintToString(Messages());
    const std::string added = Saved();
    EXPECT_EQ(Count(added, "1 Series @U1%TX<"), 4u) << added;
    EXPECT_TRUE(RowShows("TX<3..0>", "Series"));
    EXPECT_EQ(Run(kSeries22), "0");
    // The leg pins of a terminated lane take no copied termination either.
    ASSERT_EQ(Run("copy pin MCLK Termination"), "1");
    Run("setViewOption pin dp_off");
    Run("expandPins pin on");
    Run("kx::pane SelectTerminationCol {TX_N<2>}");
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_TRUE(Saved() == added);
    Run("setViewOption pin dp_on");
    Run("kx::pane SelectTerminationCol {TX<3..0>}");
    // Every lane's termination takes the new delay.
    EXPECT_EQ(Run("editTermination pin -delay 4ns"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Count(Saved(), "DELAY \"4ns\""), 4u);
    EXPECT_EQ(Run("deleteTermination pin"), "1");
    EXPECT_EQ(Saved().find("@U1%TX<"), std::string::npos);
    EXPECT_FALSE(RowShows("TX<3..0>", "Series"));
    Run("undo");
    Run("undo");
    EXPECT_TRUE(Saved() == added);
    Run("undo");
    EXPECT_TRUE(Saved() == original);
}

// One lane's termination deleted (and its delete undone) with the lanes and their legs shown: the other
// lanes show their own terminations, as a load shows them; the vector pair's row shows none while they differ.
TEST_F(AssocPairs, ALaneTerminationDeletedLeavesTheOtherLanesShowingTheirs) {
    OpenBoard();
    Run("kx::pane SelectTerminationCol {TX<3..0>}");
    ASSERT_EQ(Run(kSeries22), "1") << ::testing::PrintToString(Messages());
    ASSERT_EQ(Run("expandPins pin on"), "1");
    ASSERT_EQ(Run("kx::pane SelectTerminationCol {TX<2>}"), "1");
    ASSERT_EQ(Run("deleteTermination pin"), "1") << ::testing::PrintToString(Messages());
    for (const char* lane : {"TX<3>", "TX<1>", "TX<0>"}) EXPECT_TRUE(RowShows(lane, "Series")) << Row(lane);
    EXPECT_FALSE(RowShows("TX<2>", "Series")) << Row("TX<2>");
    EXPECT_FALSE(RowShows("TX<3..0>", "Series")) << Row("TX<3..0>");
    ASSERT_EQ(Run("undo"), "1");
    for (const char* lane : {"TX<3>", "TX<2>", "TX<1>", "TX<0>"}) EXPECT_TRUE(RowShows(lane, "Series")) << Row(lane);
    EXPECT_TRUE(RowShows("TX<3..0>", "Series")) << Row("TX<3..0>");
}

// Moved to another pair net with its terminations kept, each lane keeps its own; undo puts it back.
TEST_F(AssocPairs, LanesKeepTheirTerminationsWhenThePairMoves) {
    OpenBoard();
    Run("kx::pane SelectTerminationCol {TX<3..0>}");
    ASSERT_EQ(Run(kSeries22), "1");
    const std::string before = Saved();
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1");
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    EXPECT_EQ(Run("addConnection pin {FTX<3..0> (Differential Pair)} {TX<3..0>}"), "1");
    const std::string moved = Saved();
    EXPECT_NE(moved.find("dpconn FTX 3 0 U1 TX 3 0"), std::string::npos) << moved;
    EXPECT_EQ(Count(moved, "1 Series @U1%TX<"), 4u) << moved;
    EXPECT_TRUE(RowShows("TX<3..0>", "Series")) << Row("TX<3..0>");
    Run("undo");
    EXPECT_TRUE(Saved() == before);
}

// A bus row carries a termination on two of its bits: an edit naming none changes both, one naming a
// termination changes that one only, and one naming none of them is refused.
TEST_F(AssocPairs, EditTakesEveryTerminationOfTheRow) {
    OpenBoard();
    const std::string before = Saved();
    Run("kx::pane SelectTerminationCol {DQ<15..0>}");
    Messages();
    EXPECT_EQ(Run("editTermination pin -delay 3ns"), "1") << ::testing::PrintToString(Messages());
    const std::string both = Saved();
    EXPECT_EQ(Count(both, "DELAY \"3ns\""), 2u) << both;
    EXPECT_EQ(Run("editTermination pin -id RT4 -delay 5ns"), "1") << ::testing::PrintToString(Messages());
    const std::string one = Saved();
    EXPECT_EQ(Count(one, "DELAY \"3ns\""), 1u);
    EXPECT_EQ(Count(one, "DELAY \"5ns\""), 1u);
    Messages();
    EXPECT_EQ(Run("editTermination pin -id RT2 -delay 7ns"), "0"); // MCLK's, not this row's
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-216"});
    EXPECT_TRUE(Saved() == one);
    Run("undo");
    Run("undo");
    EXPECT_TRUE(Saved() == before);
}

// A net bit's state holds the pull components on the net and on the nets joined to it, asked once
// per bit within one fill.
TEST_F(AssocPairs, PullStateOfANetBitIsAskedOnce) {
    OpenBoard();
    IDesign* design = m_app->Server()->findDesign("demo.board:sch");
    ASSERT_NE(design, nullptr);
    INet* reset = design->findNet("RESET_N");
    INet* joined = design->findNet("RST_IN");
    ASSERT_TRUE(reset && joined);
    KXPinGridPupdColumn::PupdCache cache;
    const PUPDSTRUCTURE local = Grid()->PupdColumn().PupdStateOf(cache, reset, -1);
    EXPECT_EQ(local.nBit, -1);
    EXPECT_TRUE(local.bLocalPullUp);
    EXPECT_FALSE(local.bLocalPullDown || local.bAliasPullDown);
    const PUPDSTRUCTURE alias = Grid()->PupdColumn().PupdStateOf(cache, joined, -1);
    EXPECT_FALSE(alias.bLocalPullUp || alias.bLocalPullDown);
    EXPECT_TRUE(alias.bAliasPullUp);
    Grid()->PupdColumn().PupdStateOf(cache, reset, -1);
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_EQ(cache[reset->id()].size(), 1u);
    // A bus's bits, asked in any order, are each asked once and found again.
    INet* dq = design->findNet("DQ");
    ASSERT_NE(dq, nullptr);
    for (int bit : {7, 2, 12, 2, 7, 0})
        EXPECT_EQ(Grid()->PupdColumn().PupdStateOf(cache, dq, bit).nBit, bit);
    ASSERT_EQ(cache[dq->id()].size(), 4u);
    EXPECT_EQ(cache[dq->id()].front().nBit, 0);
    EXPECT_EQ(cache[dq->id()].back().nBit, 12);
    EXPECT_EQ(KXPupdMarkOf(alias).control, IDS_CTRL_PUPD_ALIAS_PULLUP);
}

// A pull-down joins RESET_N's pull-up: its pin shows both locally, the pin on the joined net both as
// inherited; undo takes the cells back.
TEST_F(AssocPairs, BothPullComponentsShowOnTheNetAndItsAlias) {
    OpenBoard();
    Run("selectObject pin RST_N");
    ASSERT_EQ(Run("addPupd pin -type pulldown -dcnet VCC3V3 -value 10k"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(PupdControl("RST_N"), IDS_CTRL_PUPD_LOCAL_BOTH);
    EXPECT_TRUE(RowShows("RST_N", "Local PuPd")) << Row("RST_N");
    Run("kx::show clp J1");
    Run("expandPins pin on");
    EXPECT_EQ(PupdControl("P<10>"), IDS_CTRL_PUPD_ALIAS_BOTH);
    EXPECT_TRUE(RowShows("P<10>", "Inherited PuPd")) << Run("kx::window ccp");
    Run("undo");
    EXPECT_EQ(PupdControl("P<10>"), IDS_CTRL_PUPD_ALIAS_PULLUP);
}

// Told to keep the terminations, the delete of a pair's connection leaves them on the pair pin: the
// row still shows them, the board saves them on the pin and reads them back there, undo puts the
// connection back under them, and the journal replays to the same board.
TEST_F(AssocPairs, AKeptTerminationStaysOnThePairPinOfADeletedConnection) {
    OpenBoard();
    const std::string original = Saved();
    ASSERT_NE(original.find("dt RT1 1 Shunt @U1%CLK\n"), std::string::npos) << original;
    const int steps = Steps();
    ASSERT_EQ(Run("kx::pane RetainTermination 1"), "1");
    ASSERT_EQ(Run("deleteConnection pin [list U1 CLK B15,B16]"), "1") << ::testing::PrintToString(Messages());
    const std::string deleted = Saved();
    EXPECT_EQ(deleted.find("dpconn SYSCLK"), std::string::npos) << deleted;
    EXPECT_NE(deleted.find("dt RT1 1 Shunt @U1%CLK\n"), std::string::npos) << deleted;
    EXPECT_EQ(deleted.find(" -\n"), std::string::npos) << deleted; // no component on nothing
    EXPECT_TRUE(RowShows("CLK", "Shunt")) << Row("CLK");
    EXPECT_EQ(Steps(), steps + 1);
    Run("undo");
    EXPECT_TRUE(Saved() == original) << Saved();
    Run("redo");
    EXPECT_TRUE(Saved() == deleted);
    EXPECT_TRUE(Replayed(original) == deleted) << JournalText();
    EXPECT_TRUE(Reloaded() == deleted);
    EXPECT_TRUE(RowShows("CLK", "Shunt")) << Row("CLK");
    // A plain delete of the termination takes it off the pin.
    Run("kx::pane SelectTerminationCol CLK");
    EXPECT_EQ(Run("deleteTermination pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Saved().find("dt RT1 "), std::string::npos);
}

} // namespace
