// The automation road to a termination on the signal grid of the example board:
// InitTermination prepares, AddTermination sends the add, one undo step takes it back.
#include "../connedit/ConnEditFixture.h"

#include "grid/KXGridEdit.h"
#include "kxinstsigpane/KXTransaction.h"
#include "signalgrid/KXSignalDetailsGridWnd.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <utility>

namespace {

using G = CKXSignalDetailsGridWnd;

class SignalAssoc : public ConnEditFixture {
protected:
    G* Signal() { return dynamic_cast<G*>(Ccp()->GetActiveGrid()); }
    // The data row of the signal grid whose INSTANCE cell reads so; 0 when none.
    ROWCOL RowOf(const char* instance) {
        for (ROWCOL r = kxsignal::kFirstDataRow; r <= Signal()->GetRowCount(); ++r)
            if (Signal()->GetValueRowCol(r, static_cast<ROWCOL>(G::m_nColInstance)) == instance) return r;
        return 0;
    }
    std::string At(ROWCOL row, int col) { return std::to_string(row) + " " + std::to_string(col); }
    std::string TerminationCell(ROWCOL row) {
        return std::string(Signal()->GetValueRowCol(row, static_cast<ROWCOL>(G::m_nColTermination)));
    }
};

TEST_F(SignalAssoc, InitTerminationThenAddTerminationTerminatesTheSelectedPin) {
    OpenBoard();
    Run("kx::show slp PG");
    ASSERT_NE(Signal(), nullptr);
    const ROWCOL row = RowOf("U1");
    ASSERT_NE(row, 0u);
    const std::string before = Saved();
    Run("kx::select ccp " + At(row, G::m_nColTermination));
    Messages();
    Run("kx::pane InitTermination Shunt");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Run("kx::pane AddTermination"), "1");
    EXPECT_NE(TerminationCell(row).find("Shunt"), std::string::npos) << TerminationCell(row);
    const std::string after = Saved();
    EXPECT_NE(after, before);
    const std::string journal = JournalText();
    EXPECT_NE(journal.find(".ConnectivityPane().InitTermination("), std::string::npos) << journal;
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Saved() == before);
    // The journal's lines take the same road and give the same design.
    const auto replay = m_dir / "replay.vbs";
    ASSERT_NE(journal.find("set "), std::string::npos) << journal;
    std::ofstream(replay) << journal.substr(journal.find("set "));
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1");
    EXPECT_TRUE(Saved() == after) << journal;
}

// An Output pin (terminated) and an Input pin take no termination together: the directions are
// asked first (KXTABLE-103), before whether one is terminated already; nothing changes.
TEST_F(SignalAssoc, PinsOfOppositeDirectionsAreRefusedBeforeTheirTerminations) {
    OpenBoard();
    Run("kx::show slp MCLK");
    const ROWCOL u1 = RowOf("U1"), u2 = RowOf("U2");
    ASSERT_TRUE(u1 && u2);
    const std::string before = Saved();
    Run("kx::select ccp " + At(std::min(u1, u2), G::m_nColTermination) + " " +
        At(std::max(u1, u2), G::m_nColTermination));
    Messages();
    EXPECT_EQ(Run("::kx::word addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym "
                  "-physname R0402 -value 22"),
              "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-103"}));
    Run("kx::pane InitTermination Shunt");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-103"}));
    EXPECT_TRUE(Saved() == before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), 0);
}

// A termination copied from one row pastes onto another row of the same grid, as the termination
// dialog adds one there: one undo step.
TEST_F(SignalAssoc, ATerminationCopiedFromOneRowPastesOntoAnother) {
    OpenBoard();
    Run("kx::show slp MCLK");
    const ROWCOL u1 = RowOf("U1"), u2 = RowOf("U2");
    ASSERT_TRUE(u1 && u2);
    Run("kx::select ccp " + At(u1, G::m_nColTermination));
    ASSERT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    Run("kx::select ccp " + At(u2, G::m_nColTermination));
    Messages();
    const std::string before = Saved();
    EXPECT_EQ(Run("kx::key ccp Ctrl+V"), "1");
    EXPECT_TRUE(Messages().empty()) << Transcript();
    EXPECT_NE(TerminationCell(u2), "") << Transcript();
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Saved() == before);
}

// A row the grid cannot terminate (a block's pin, an unknown type) is refused at once.
TEST_F(SignalAssoc, InitTerminationRefusesWhatCannotBeTerminated) {
    OpenBoard();
    Run("kx::show slp PG");
    const ROWCOL block = RowOf("PWR1");
    ASSERT_NE(block, 0u);
    Run("kx::select ccp " + At(block, G::m_nColTermination));
    EXPECT_FALSE(Signal()->InitTermination("Shunt"));
    const ROWCOL row = RowOf("U1");
    Run("kx::select ccp " + At(row, G::m_nColTermination));
    Messages();
    EXPECT_FALSE(Signal()->InitTermination("NoSuchType"));
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-216"});
}

// The automation set-up on the signal grid holds its edit open for the add that follows: set-up and
// add are one undo step; what comes between (an undo, a refused set-up) discards the held edit first.
class SignalHeldTermination : public SignalAssoc {
protected:
    int Steps() { return Ccp()->GetUndoStepCount(); }
    // U1's row of the PG net, its termination cell current, and the set-up made on it.
    ROWCOL PrepareAdd(const char* type) {
        Run("kx::show slp PG");
        Run("kx::select ccp " + At(RowOf("U1"), G::m_nColTermination));
        Run(std::string("kx::pane InitTermination ") + type);
        return RowOf("U1");
    }
    bool Idle() { return !CKXGridEdit::IsHeld(*Signal()) && !CKXTransaction::IsTransactionStarted(); }
};

TEST_F(SignalHeldTermination, SetUpAndAddAreOneStep) {
    OpenBoard();
    const std::string before = Saved();
    const int steps = Steps();
    const ROWCOL row = PrepareAdd("Shunt");
    EXPECT_TRUE(CKXGridEdit::IsWaiting(*Signal()));
    EXPECT_EQ(Run("kx::pane AddTermination"), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(Idle());
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_NE(TerminationCell(row).find("Shunt"), std::string::npos);
    const std::string after = Saved();
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Saved() == before);
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_TRUE(Replayed(before) == after) << JournalText();
}

TEST_F(SignalHeldTermination, AnUndoOrARefusedSetUpBetweenLeavesNothingToAdd) {
    OpenBoard();
    const std::string original = Saved();
    ASSERT_EQ(TypeSignal("RST_N", ""), "1");
    const std::string disconnected = Saved();
    const int steps = Steps();
    PrepareAdd("Shunt");
    EXPECT_EQ(Run("undo"), "1"); // the step before the set-up goes, not a part of the held edit
    EXPECT_TRUE(Idle());
    EXPECT_TRUE(Saved() == original);
    EXPECT_EQ(Run("redo"), "1");
    PrepareAdd("Shunt");
    Run("kx::pane InitTermination NoSuchType");
    EXPECT_TRUE(Idle());
    Messages();
    EXPECT_NE(Run("kx::pane AddTermination"), "1"); // not the earlier set-up's termination
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-586"}); // nothing waits to be added
    EXPECT_TRUE(Saved() == disconnected);
    EXPECT_EQ(Steps(), steps);
}

// ------------------------------------------------------------------ two signal grids of one pane

// The grids of a pane drive the pane's one associated-components object; what an automation set-up
// prepared stays with the grid it was made on.
class SignalGridsOfOnePane : public SignalHeldTermination {
protected:
    // The set-up made on U1's row of PG, then MCLK shown in a grid of its own with U2's termination
    // cell current; the two grids.
    std::pair<G*, G*> PrepareOnPgThenShowMclk() {
        PrepareAdd("Shunt");
        G* pg = Signal();
        Run("kx::show slp MCLK");
        G* mclk = Signal();
        EXPECT_NE(pg, mclk);
        Run("kx::select ccp " + At(RowOf("U2"), G::m_nColTermination));
        Messages();
        return {pg, mclk};
    }
};

TEST_F(SignalGridsOfOnePane, AnAddOnAGridWithoutASetUpIsRefusedAndTheOtherGridsSetUpStaysItsOwn) {
    OpenBoard();
    const std::string before = Saved();
    const int steps = Steps();
    const auto [pg, mclk] = PrepareOnPgThenShowMclk();
    ASSERT_NE(Ccp()->AssocCompApi(), nullptr);
    EXPECT_EQ(pg->GetAssocCompApi(), Ccp()->AssocCompApi());
    EXPECT_EQ(mclk->GetAssocCompApi(), Ccp()->AssocCompApi());
    EXPECT_NE(Run("kx::pane AddTermination"), "1"); // MCLK's grid prepared nothing
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-586"});
    EXPECT_TRUE(Idle());
    EXPECT_TRUE(Saved() == before);
    EXPECT_EQ(Steps(), steps);
    EXPECT_TRUE(TerminationCell(RowOf("U2")).empty());
    // Back on PG, the add sends what was prepared there, on PG's pin only, as one step.
    Run("kx::show slp PG");
    ASSERT_EQ(Signal(), pg);
    EXPECT_EQ(Run("kx::pane AddTermination"), "1") << ::testing::PrintToString(Messages());
    EXPECT_NE(TerminationCell(RowOf("U1")).find("Shunt"), std::string::npos);
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Saved() == before);
}

TEST_F(SignalGridsOfOnePane, EachGridsAddSendsItsOwnSetUp) {
    OpenBoard();
    const std::string before = Saved();
    const auto [pg, mclk] = PrepareOnPgThenShowMclk();
    Run("kx::pane InitTermination Series");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Run("kx::pane AddTermination"), "1") << ::testing::PrintToString(Messages());
    const std::string cell = TerminationCell(RowOf("U2"));
    EXPECT_NE(cell.find("Series"), std::string::npos) << cell;
    EXPECT_EQ(cell.find("Shunt"), std::string::npos) << cell;
    EXPECT_EQ(mclk->m_bAutomationTermPending, 0);
    EXPECT_EQ(pg->m_bAutomationTermPending, 1); // PG's set-up waits for PG's add
    EXPECT_TRUE(Idle());
    // The one add took one step; PG's pin was left alone.
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Saved() == before);
}

} // namespace

// A leg of a differential pair pin is terminated on the pair's lane: a leg's bus row takes a
// termination while its lanes are open, and is refused, naming the pair's termination, once the
// pair itself carries one.
class SignalPairLegTermination : public SignalAssoc {
protected:
    static constexpr const char* kSeries =
        "addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 -value 22";
    // U1's TX_P bus row in the grid of LVDS_P, its termination cell current.
    ROWCOL SelectLeg() {
        Run("kx::show slp LVDS_P");
        const ROWCOL row = RowOf("U1");
        EXPECT_NE(row, 0u);
        EXPECT_EQ(Signal()->GetValueRowCol(row, static_cast<ROWCOL>(G::m_nColPinName)), "TX_P<3..0>");
        Run("kx::select ccp " + At(row, G::m_nColTermination));
        Messages();
        return row;
    }
    std::string Word(const std::string& line) { return Run("::kx::word " + line); }
};

TEST_F(SignalPairLegTermination, AnOpenLegTakesATerminationUndoneInOneStep) {
    OpenBoard();
    const std::string before = Saved();
    const ROWCOL row = SelectLeg();
    EXPECT_EQ(Word(kSeries), "1");
    EXPECT_TRUE(Messages().empty());
    EXPECT_NE(TerminationCell(row).find("Series"), std::string::npos) << TerminationCell(row);
    EXPECT_NE(Saved(), before);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Saved() == before);
    EXPECT_TRUE(TerminationCell(row).empty()) << TerminationCell(row);
}

TEST_F(SignalPairLegTermination, ALegOfATerminatedPairIsRefusedAndNothingChanges) {
    OpenBoard();
    Run("kx::pane SelectTerminationCol {TX<3..0>}");
    ASSERT_EQ(Word(kSeries), "1");
    const std::string terminated = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    const std::string journal = JournalText();
    const ROWCOL row = SelectLeg();
    EXPECT_EQ(Word(kSeries), "0");
    const std::vector<std::string> messages = Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), "KXTABLE-157");
    EXPECT_TRUE(Saved() == terminated);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_TRUE(TerminationCell(row).empty()) << TerminationCell(row);
    // The double-click road refuses the same leg and opens no dialog.
    Run("kx::click ccp " + At(row, G::m_nColTermination) + " double");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-157"});
    EXPECT_TRUE(Saved() == terminated);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

TEST_F(SignalPairLegTermination, UndoingThePairsTerminationFreesItsLeg) {
    OpenBoard();
    Run("kx::pane SelectTerminationCol {TX<3..0>}");
    ASSERT_EQ(Word(kSeries), "1");
    EXPECT_EQ(Run("undo"), "1");
    SelectLeg();
    EXPECT_EQ(Word(kSeries), "1");
    EXPECT_TRUE(Messages().empty());
}

// A key that names no row of the grid selects nothing: the termination word that follows is
// refused instead of terminating the pin the cursor was left on.
TEST_F(SignalPairLegTermination, AKeyOfNoRowLeavesNoPinForTheNextWord) {
    OpenBoard();
    Run("kx::show slp LVDS_P");
    const std::string before = Saved();
    Word("selectObject pin TX_P<3..0>");
    ROWCOL row = 0, col = 0;
    EXPECT_FALSE(Signal()->GetCurrentCell(row, col));
    Messages();
    EXPECT_EQ(Word(kSeries), "0");
    EXPECT_FALSE(Messages().empty());
    EXPECT_TRUE(Saved() == before);
    for (ROWCOL r = kxsignal::kFirstDataRow; r <= Signal()->GetRowCount(); ++r)
        EXPECT_TRUE(TerminationCell(r).empty()) << r;
    // A key of a row selects it and the word terminates that pin.
    const ROWCOL leg = RowOf("U1");
    EXPECT_EQ(Word("selectObject pin C1,C3,C5,C7:U1:3:0"), "1");
    ASSERT_TRUE(Signal()->GetCurrentCell(row, col));
    EXPECT_EQ(row, leg);
    EXPECT_EQ(Word(kSeries), "1");
    EXPECT_NE(TerminationCell(leg).find("Series"), std::string::npos) << TerminationCell(leg);
    EXPECT_TRUE(TerminationCell(RowOf("J1")).empty());
}

namespace {

// The pane's selectObject word on a signal grid makes the named row the current one, as a click on
// it does, so that the automation call that follows acts on that pin; its last key fields may be left off.
TEST_F(SignalPairLegTermination, ASelectedRowIsCurrentForTheAutomationThatFollows) {
    OpenBoard();
    Run("kx::show slp {DQ<3>}");
    const ROWCOL row = RowOf("U1");
    ASSERT_NE(row, 0u);
    const std::string before = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Word("selectObject pin A13:U1"), "1");
    ROWCOL current = 0, col = 0;
    ASSERT_TRUE(Signal()->GetCurrentCell(current, col));
    EXPECT_EQ(current, row);
    Messages();
    Run("kx::pane InitTermination Series");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Run("kx::pane AddTermination"), "1");
    EXPECT_NE(TerminationCell(row).find("Series"), std::string::npos) << TerminationCell(row);
    EXPECT_TRUE(TerminationCell(RowOf("U2")).empty());
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Saved() == before);
    // The full key of the row, as a click on another row echoes it, selects it too.
    Run("kx::select ccp " + At(RowOf("U2"), G::m_nColInstance));
    Echoes();
    Run("kx::click ccp " + At(row, G::m_nColCell));
    std::string echo;
    for (const std::string& line : Echoes())
        if (line.rfind("selectObject pin", 0) == 0) echo = line;
    ASSERT_FALSE(echo.empty());
    Run("kx::select ccp " + At(RowOf("U2"), G::m_nColInstance));
    EXPECT_EQ(Word(echo), "1");
    ASSERT_TRUE(Signal()->GetCurrentCell(current, col));
    EXPECT_EQ(current, row) << echo;
}

} // namespace
