// A pin moved to another signal, or disconnected, and its terminations: the connect asks whether they
// stay (only when there is one to lose), and keeps or deletes them as answered, for pins and pair pins,
// in the one undoable edit; the journal replays the answer in a fresh host.
#include "ConnEditFixture.h"

#include <algorithm>
#include <sstream>

namespace {

constexpr const char* kKeep = "kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1";
constexpr const char* kDrop = "kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0";
// Yes to "a new pair net is made instead of renaming the pair's".
constexpr const char* kReplace = "kx::answer dialog CKXDontAskAgainYesNoDlg ok";

class Retain : public RetainFixture {
protected:
    std::string Row(const std::string& pin) {
        std::istringstream in(Run("kx::window ccp"));
        for (std::string line; std::getline(in, line);)
            if (line.find(" | " + pin + " | ") != std::string::npos) return line;
        return std::string();
    }
};

TEST_F(Retain, AMovedPinLosesItsTerminationWhenTheUserSaysSo) {
    OpenBoard();
    const std::string original = Saved();
    Asked();
    Run(kDrop);
    EXPECT_EQ(TypeSignal("MCLK", "NEWCLK"), "1");
    EXPECT_TRUE(Asked());
    EXPECT_EQ(Conn("U1 MCLK"), "NEWCLK");
    EXPECT_FALSE(Has("Series @U1.MCLK"));
    EXPECT_EQ(Row("MCLK").find("Series"), std::string::npos) << Row("MCLK");
    // The journal deletes the termination: a replay answers its questions yes.
    EXPECT_NE(JournalText().find("SelectTerminationCol(\"MCLK\""), std::string::npos) << JournalText();
    const std::string edited = Saved();
    Run("undo");
    EXPECT_TRUE(Saved() == original);
    Run("redo");
    EXPECT_TRUE(Saved() == edited);
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

TEST_F(Retain, AMovedPinKeepsItsTerminationWhenTheUserSaysSo) {
    OpenBoard();
    const std::string original = Saved();
    Run(kKeep);
    Run("addConnection pin NEWCLK MCLK:B14");
    EXPECT_TRUE(Asked());
    EXPECT_EQ(Conn("U1 MCLK"), "NEWCLK");
    EXPECT_TRUE(Has("Series @U1.MCLK"));
    EXPECT_NE(Row("MCLK").find("Series"), std::string::npos) << Row("MCLK");
    EXPECT_EQ(JournalText().find("SelectTerminationCol"), std::string::npos);
    const std::string edited = Saved();
    Run("undo");
    EXPECT_TRUE(Saved() == original);
    Run("redo");
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

TEST_F(Retain, APinLeavingANetWithAPullUpTakesItAlongWhenTheUserSaysSo) {
    OpenBoard();
    const std::string original = Saved();
    ASSERT_TRUE(Has("PullUp @:RESET_N"));
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preservePupd 1");
    EXPECT_EQ(TypeSignal("RST_N", "NEWRST"), "1");
    EXPECT_TRUE(Asked());
    const std::string kept = Saved();
    EXPECT_EQ(Conn("U1 RST_N"), "NEWRST");
    EXPECT_NE(kept.find("PullUp @:NEWRST"), std::string::npos);
    EXPECT_NE(kept.find("PullUp @:RESET_N"), std::string::npos); // the old net keeps its own
    Run("undo");
    EXPECT_TRUE(Saved() == original);
    Run("redo");
    EXPECT_TRUE(Saved() == kept);
    EXPECT_TRUE(Replayed(original) == kept) << JournalText();
}

// The dropped termination goes before the carried pull-up is made, which then takes the part's name
// the termination had: the replay deletes it before the connect too, and names the same.
TEST_F(Retain, ADroppedTerminationAndACarriedPullUpReplayWithTheSameNames) {
    OpenBoard();
    const std::string original = Saved();
    Run("kx::show clp U1; selectObject pin RST_N");
    ASSERT_EQ(Run("addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 "
                  "-value 33"),
              "1");
    const std::string terminated = Saved();
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0 preservePupd 1");
    EXPECT_EQ(TypeSignal("RST_N", "NEWRST"), "1");
    EXPECT_TRUE(Asked());
    const std::string moved = Saved();
    EXPECT_NE(moved.find("PullUp @:NEWRST"), std::string::npos);
    EXPECT_EQ(moved.find("Series @U1.RST_N"), std::string::npos);
    Run("undo");
    EXPECT_TRUE(Saved() == terminated);
    Run("redo");
    EXPECT_TRUE(Saved() == moved);
    EXPECT_TRUE(Replayed(original) == moved) << JournalText();
}

TEST_F(Retain, APinLeavingANetWithAPullUpLeavesItWhenTheUserSaysSo) {
    OpenBoard();
    const std::string original = Saved();
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preservePupd 0");
    EXPECT_EQ(TypeSignal("RST_N", "NEWRST"), "1");
    const std::string edited = Saved();
    EXPECT_EQ(edited.find("PullUp @:NEWRST"), std::string::npos);
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

TEST_F(Retain, NoQuestionWhenNothingWouldBeLost) {
    OpenBoard();
    Asked();
    EXPECT_EQ(TypeSignal("PGOOD", "NEWSIG"), "1");
    EXPECT_FALSE(Asked());
    // A pin on the no-connect signal loses its termination without a question.
    EXPECT_EQ(TypeSignal("MCLK", "NC"), "1");
    EXPECT_FALSE(Asked());
    EXPECT_FALSE(Has("Series @U1.MCLK"));
}

TEST_F(Retain, ANamingRuleAsksOnceForAllItsPins) {
    OpenBoard();
    const std::string original = Saved();
    Run(kDrop);
    Asked();
    Run("addConnection pin =PREFIXPINNAME(x_) MCLK:B14 PGOOD:C10");
    EXPECT_TRUE(Asked());
    EXPECT_EQ(Conn("U1 MCLK"), "x_MCLK");
    EXPECT_EQ(Conn("U1 PGOOD"), "x_PGOOD");
    EXPECT_FALSE(Has("Series @U1.MCLK"));
    const std::string edited = Saved();
    Run("undo");
    EXPECT_TRUE(Saved() == original);
    Run("redo");
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

TEST_F(Retain, ClearingTheSignalDeletesTheTerminationOfThePartedPin) {
    OpenBoard();
    const std::string original = Saved();
    EXPECT_EQ(TypeSignal("MCLK", ""), "1");
    EXPECT_EQ(Conn("U1 MCLK"), "");
    EXPECT_FALSE(Has("Series @U1.MCLK"));
    EXPECT_EQ(Row("MCLK").find("Series"), std::string::npos) << Row("MCLK");
    const std::string edited = Saved();
    Run("undo");
    EXPECT_TRUE(Saved() == original);
    Run("redo");
    EXPECT_TRUE(Replayed(original) == edited) << JournalText() << Transcript();
}

TEST_F(Retain, APairMovedToAnotherPairNetTakesItsTerminationAlongOrLosesIt) {
    OpenBoard();
    const std::string original = Saved();
    ASSERT_TRUE(Has("Shunt @U1%CLK"));
    Run(kKeep);
    Run(kReplace);
    Asked();
    Run("addConnection pin {FCLK (Differential Pair)} CLK");
    EXPECT_TRUE(Asked());
    // Kept: on the pin's new pair connection, not left behind detached.
    const std::string kept = Saved();
    EXPECT_NE(kept.find("dpconn FCLK -1 -1 U1 CLK"), std::string::npos) << kept;
    EXPECT_NE(kept.find("Shunt @U1%CLK"), std::string::npos) << kept;
    Run("undo");
    EXPECT_TRUE(Saved() == original);

    Run(kDrop);
    Run(kReplace);
    Run("addConnection pin {FCLK (Differential Pair)} CLK");
    const std::string dropped = Saved();
    EXPECT_NE(dropped.find("dpconn FCLK -1 -1 U1 CLK"), std::string::npos);
    EXPECT_EQ(dropped.find("Shunt"), std::string::npos);
    EXPECT_NE(JournalText().find("SelectTerminationCol(\"CLK\""), std::string::npos) << JournalText();
    EXPECT_TRUE(Replayed(original) == dropped) << JournalText();
}

TEST_F(Retain, DeletingAPairConnectionDeletesItsTermination) {
    OpenBoard();
    const std::string original = Saved();
    EXPECT_EQ(TypeSignal("CLK", ""), "1");
    const std::string edited = Saved();
    EXPECT_EQ(edited.find("dpconn SYSCLK"), std::string::npos);
    // No component is left behind without a place.
    EXPECT_EQ(edited.find("Shunt"), std::string::npos);
    Run("undo");
    EXPECT_TRUE(Saved() == original);
    Run("redo");
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

// A vector pair's lanes each carry a termination: clearing the pair's Signal cell takes every lane's
// with the connection, in the same step, and the journal replays it.
TEST_F(Retain, DeletingAVectorPairConnectionDeletesEveryLanesTermination) {
    OpenBoard();
    const int tx = PinRow("TX<3..0>");
    ASSERT_GT(tx, 0);
    Run("kx::select ccp " + std::to_string(tx) + " " + std::to_string(CKXInstanceDetailsGridWnd::m_nColSignal));
    ASSERT_EQ(Run("addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 "
                  "-value 22"),
              "1");
    const std::string terminated = Saved();
    ASSERT_EQ(Count(terminated, "Series @U1%TX<"), 4u) << terminated;
    const int steps = Steps();
    EXPECT_EQ(TypeSignal("TX<3..0>", ""), "1");
    EXPECT_EQ(Steps(), steps + 1);
    const std::string edited = Saved();
    EXPECT_EQ(edited.find("dpconn LVDS"), std::string::npos) << edited;
    EXPECT_EQ(edited.find("Series @U1%TX"), std::string::npos) << edited;
    Run("undo");
    EXPECT_TRUE(Saved() == terminated);
    Run("redo");
    EXPECT_TRUE(Saved() == edited);
}

TEST_F(Retain, KeptTerminationsAndLeftPullUpsReplayAsAnswered) {
    OpenBoard();
    const std::string original = Saved();
    // MCLK carries a termination; its net is given a pull-up.
    Run("selectObject pin MCLK");
    ASSERT_EQ(Run("addPupd pin -type pullup -dcnet VCC3V3 -value 4.7k"), "1");
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1 preservePupd 0");
    Asked();
    EXPECT_EQ(TypeSignal("MCLK", "NEWCLK"), "1");
    EXPECT_TRUE(Asked());
    const std::string edited = Saved();
    EXPECT_NE(edited.find("Series @U1.MCLK"), std::string::npos);
    EXPECT_NE(edited.find(" @:MCLK"), std::string::npos) << edited; // the pull-up stayed behind
    EXPECT_EQ(edited.find(" @:NEWCLK"), std::string::npos) << edited;
    // The answer goes before the connect: the replay, which asks nothing, leaves the pull-up too.
    const std::string journal = JournalText();
    const std::size_t answer = journal.find(".ConnectivityPane().RetainPUPD(\"0\")");
    ASSERT_NE(answer, std::string::npos) << journal;
    EXPECT_LT(answer, journal.find("AddConnection(\"NEWCLK\")")) << journal;
    EXPECT_TRUE(Replayed(original) == edited) << journal;
}

TEST_F(Retain, AJournalsPullUpAnswerHoldsForTheNextConnectOnly) {
    OpenBoard();
    const std::string original = Saved();
    // Only "0" or "1" is an answer.
    EXPECT_EQ(Run("kx::pane RetainPUPD maybe"), "0");
    EXPECT_EQ(Run("kx::pane RetainPUPD 0"), "1");
    Asked();
    EXPECT_EQ(TypeSignal("RST_N", "NEWRST"), "1");
    EXPECT_FALSE(Asked());
    EXPECT_EQ(Saved().find("PullUp @:NEWRST"), std::string::npos);
    Run("undo");
    EXPECT_TRUE(Saved() == original);
    // Taken by that connect: the next one asks again, and carried over leaves no answer behind.
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preservePupd 1");
    EXPECT_EQ(TypeSignal("RST_N", "NEWRST"), "1");
    EXPECT_TRUE(Asked());
    EXPECT_NE(Saved().find("PullUp @:NEWRST"), std::string::npos);
    EXPECT_EQ(JournalText().find("RetainPUPD"), std::string::npos) << JournalText();
}

} // namespace

namespace {

// The clock pair's positive leg pin given a series termination of its own (shown without pairs, the
// legs are rows of their own), then pairs shown again.
constexpr const char* kTerminateLeg =
    "setViewOption pin dp_off; selectObject pin CLK_P; addTermination pin -type Series -part1 -lib discrete "
    "-cell resistor -view sym -physname R0402 -value 22; setViewOption pin dp_on";

class PairLegTerminations : public Retain {
protected:
    // The board with the leg termination, saved (the state an undo goes back to); the board before
    // it is kept for the replays, whose journals start with the termination's add.
    std::string Prepare() {
        OpenBoard();
        m_original = Saved();
        Run(kTerminateLeg);
        const std::string prepared = Saved();
        EXPECT_NE(prepared.find("Series @U1.CLK_P"), std::string::npos) << prepared;
        return prepared;
    }
    std::string m_original;
};

TEST_F(PairLegTerminations, DroppedWithThePairsOwnWhenThePairMoves) {
    const std::string prepared = Prepare();
    Run(kDrop);
    Run(kReplace);
    Asked();
    ASSERT_EQ(Run("addConnection pin {FCLK (Differential Pair)} CLK"), "1");
    EXPECT_TRUE(Asked());
    const std::string dropped = Saved();
    EXPECT_NE(dropped.find("dpconn FCLK -1 -1 U1 CLK"), std::string::npos) << dropped;
    EXPECT_EQ(dropped.find("Shunt"), std::string::npos) << dropped;
    EXPECT_EQ(dropped.find("Series @U1.CLK_P"), std::string::npos) << dropped;
    // One undo step puts back both terminations and the old pair connection.
    Run("undo");
    EXPECT_TRUE(Saved() == prepared);
    Run("redo");
    EXPECT_TRUE(Saved() == dropped);
    // The replay, which asks nothing, is told to drop them before the connect.
    const std::string journal = JournalText();
    const std::size_t answer = journal.find(".ConnectivityPane().RetainTermination(\"0\")");
    ASSERT_NE(answer, std::string::npos) << journal;
    EXPECT_LT(answer, journal.find("AddConnection(\"FCLK (Differential Pair)\")")) << journal;
    EXPECT_TRUE(Replayed(m_original) == dropped) << journal;
}

TEST_F(PairLegTerminations, KeptWhenTheUserKeepsThem) {
    const std::string prepared = Prepare();
    Run(kKeep);
    Run(kReplace);
    ASSERT_EQ(Run("addConnection pin {FCLK (Differential Pair)} CLK"), "1");
    const std::string kept = Saved();
    EXPECT_NE(kept.find("dpconn FCLK -1 -1 U1 CLK"), std::string::npos) << kept;
    EXPECT_NE(kept.find("Shunt @U1%CLK"), std::string::npos) << kept;
    EXPECT_NE(kept.find("Series @U1.CLK_P"), std::string::npos) << kept;
    EXPECT_EQ(JournalText().find("RetainTermination"), std::string::npos) << JournalText();
    EXPECT_TRUE(Replayed(m_original) == kept) << JournalText();
}

TEST_F(PairLegTerminations, AJournalsTerminationAnswerHoldsForTheNextConnectOnly) {
    const std::string prepared = Prepare();
    EXPECT_EQ(Run("kx::pane RetainTermination yes"), "0");
    EXPECT_EQ(Run("kx::pane RetainTermination 0"), "1");
    Asked();
    EXPECT_EQ(TypeSignal("MCLK", "NEWCLK"), "1");
    EXPECT_FALSE(Asked());
    EXPECT_EQ(Saved().find("Series @U1.MCLK"), std::string::npos);
    Run("undo");
    EXPECT_TRUE(Saved() == prepared);
    // Taken: the next connect asks again and keeps the termination as answered.
    Run(kKeep);
    EXPECT_EQ(TypeSignal("MCLK", "NEWCLK"), "1");
    EXPECT_TRUE(Asked());
    EXPECT_NE(Saved().find("Series @U1.MCLK"), std::string::npos);
}

} // namespace
