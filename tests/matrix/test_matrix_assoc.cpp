// Terminations and pull-ups edited from the matrix (editTermination, editPupd),
// and a pin moved by its pin number: the user decides whether its termination
// and its old net's pull-ups stay with it. Each edit is one undo step, and its
// journal replays to the same design.
#include "MatrixTestSupport.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

class MatrixAssoc : public MatrixTest {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        ASSERT_TRUE(Open());
        ASSERT_NE(OpenView("v", {"@J1"}, {"@:N1", "@:FREE", "@:GND"}), nullptr);
        Messages();
    }
    int TermCol() { return G::ColumnOf(0, G::Layout().m_nTerminationOffset); }
    std::string Mark(const char* signal) {
        return KXRowAttrs(*Grid(), Row(signal)).Text(static_cast<ROWCOL>(G::Layout().m_nPupdCol), IDS_UA_TOOLTIPTEXT)
            .GetString();
    }
    // Moves J1.S (pin number 15, terminated, on N1) to FREE by its number.
    std::string MoveSByNumber() {
        Run("kx::answer question KXTABLE-140 yes");
        return Run("matrixConnect pin FREE J1 PN 15");
    }
};

// ------------------------------------------------------------------ editTermination, editPupd

TEST_F(MatrixAssoc, ATerminationIsEditedFromItsCellInOneStepAndReplays) {
    const std::string before = Snapshot();
    ASSERT_EQ(Run("kx::pane MatrixSelect N1 J1 TERMINATION S"), "1");
    const std::filesystem::path file = StartJournal();
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("editTermination pin -id T1 -delay 2ns"), "1") << ::testing::PrintToString(Messages());
    const std::string after = Snapshot();
    EXPECT_NE(after.find("2ns"), std::string::npos);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Cell(PinRow("N1", "S"), TermCol()), "Series");
    const std::string lines = StopJournal(file);
    EXPECT_NE(lines.find(".ConnectivityPane().MatrixSelect(\"N1\",\"J1\",\"TERMINATION\",\"S\")"), std::string::npos)
        << lines;
    EXPECT_NE(lines.find(".ConnectivityPane().EditTermination("), std::string::npos) << lines;
    EXPECT_EQ(Replayed(lines, 1), after);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(MatrixAssoc, AnEditTerminationThatCannotBeDoneChangesNothing) {
    const std::string before = Snapshot();
    // J1.T has no termination.
    ASSERT_EQ(Run("kx::pane MatrixSelect N1 J1 TERMINATION T"), "1");
    EXPECT_EQ(Run("editTermination pin -id T1 -delay 2ns"), "0");
    EXPECT_EQ(Messages().back(), "KXTABLE-212");
    // The termination on J1.S is not the one named.
    ASSERT_EQ(Run("kx::pane MatrixSelect N1 J1 TERMINATION S"), "1");
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("editTermination pin -id NO_SUCH -delay 2ns"), "0");
    EXPECT_EQ(Messages().back(), "KXTABLE-216");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(MatrixAssoc, APullUpIsEditedFromItsSignalRowInOneStepAndReplays) {
    const std::string before = Snapshot();
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(Row("GND")) + " " + std::to_string(NameCol())), "1");
    const std::filesystem::path file = StartJournal();
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("editPupd pin PU1 -keyprop {TOL=1%}"), "1") << ::testing::PrintToString(Messages());
    const std::string after = Snapshot();
    EXPECT_NE(after, before);
    EXPECT_NE(after.find("TOL"), std::string::npos);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Mark("GND"), "Local Pullup");
    const std::string lines = StopJournal(file);
    EXPECT_NE(lines.find(".ConnectivityPane().MatrixSelect(\"GND\",\"\",\"PUPD\",\"\")"), std::string::npos) << lines;
    EXPECT_NE(lines.find(".ConnectivityPane().EditPUPD("), std::string::npos) << lines;
    EXPECT_EQ(Replayed(lines, 1), after);
    // A name the signal has no pull-up of is refused, and nothing changes.
    const std::string replayed = Snapshot();
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(Row("GND")) + " " + std::to_string(NameCol())), "1");
    Messages();
    EXPECT_EQ(Run("editPupd pin NO_SUCH -keyprop {TOL=5%}"), "0");
    EXPECT_EQ(Messages().back(), "KXTABLE-217");
    EXPECT_EQ(Snapshot(), replayed);
}

// ------------------------------------------------------------------ a pin moved by its number

TEST_F(MatrixAssoc, AMovedPinKeepsItsTerminationWhenTheUserSaysSo) {
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1 preservePupd 1");
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(MoveSByNumber(), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(Connected("J1 S FREE"));
    EXPECT_EQ(Cell(PinRow("FREE", "S"), TermCol()), "Series");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    // The question was put and answered.
    bool asked = false;
    for (const std::string& line : AnswerLog())
        if (line.find("CKXRetainAssocCompDlg") != std::string::npos) asked = true;
    EXPECT_TRUE(asked) << ::testing::PrintToString(AnswerLog());
}

TEST_F(MatrixAssoc, AMovedPinLosesItsTerminationInTheSameStepAndTheJournalReplaysIt) {
    const std::string before = Snapshot();
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0 preservePupd 1");
    const std::filesystem::path file = StartJournal();
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(MoveSByNumber(), "1") << ::testing::PrintToString(Messages());
    const std::string after = Snapshot();
    EXPECT_TRUE(Connected("J1 S FREE"));
    EXPECT_EQ(Cell(PinRow("FREE", "S"), TermCol()), "");
    EXPECT_EQ(after.find("Series"), std::string::npos) << after;
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    const std::string lines = StopJournal(file);
    const auto connect = lines.find(".ConnectivityPane().MatrixConnect(\"FREE\",\"J1\",\"PN\"");
    const auto drop = lines.find(".ConnectivityPane().MatrixSelect(\"FREE\",\"J1\",\"TERMINATION\",\"S\")");
    ASSERT_NE(connect, std::string::npos) << lines;
    ASSERT_NE(drop, std::string::npos) << lines;
    EXPECT_LT(connect, drop);
    // A replay keeps the termination on the connect; the line after it takes it off.
    EXPECT_EQ(Replayed(lines, 1), after);
    // Undo of the recorded step gives the termination back with the connection.
    Run("undo");
    Run("undo");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(MatrixAssoc, AMovedPinTakesItsOldNetsPullUpsOnlyWhenTheUserSaysSo) {
    // N1 gets a pull-up of its own first.
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(Row("N1")) + " " + std::to_string(NameCol())), "1");
    ASSERT_EQ(Run("addPupd pin -type pullup -dcnet GND -value 4k7"), "1");
    ASSERT_EQ(Mark("N1"), "Local Pullup");
    const std::string start = Snapshot();
    // Kept: FREE gets a pull-up like N1's, in the connect's step.
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1 preservePupd 1");
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(MoveSByNumber(), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Mark("FREE"), "Local Pullup");
    EXPECT_EQ(Mark("N1"), "Local Pullup");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), start);
    EXPECT_EQ(Mark("FREE"), "");
    // Left behind: FREE stays without, and the journal replays that although a replay keeps them.
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1 preservePupd 0");
    const std::filesystem::path file = StartJournal();
    ASSERT_EQ(MoveSByNumber(), "1") << ::testing::PrintToString(Messages());
    const std::string after = Snapshot();
    EXPECT_EQ(Mark("FREE"), "");
    EXPECT_EQ(Cell(PinRow("FREE", "S"), TermCol()), "Series");
    const std::string lines = StopJournal(file);
    EXPECT_NE(lines.find(".ConnectivityPane().MatrixDeletePupd("), std::string::npos) << lines;
    EXPECT_EQ(Replayed(lines, 1), after);
    EXPECT_EQ(Mark("FREE"), "");
}

TEST_F(MatrixAssoc, AnAnswerNotToBeAskedAgainHoldsForTheNextMove) {
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0 preservePupd 1 dontAsk 1");
    ASSERT_EQ(MoveSByNumber(), "1");
    EXPECT_EQ(Cell(PinRow("FREE", "S"), TermCol()), "");
    // Back to N1 with its termination, then moved again: not asked, and the stored answer holds.
    EXPECT_EQ(Run("undo"), "1");
    ASSERT_EQ(Cell(PinRow("N1", "S"), TermCol()), "Series");
    const std::size_t answered = AnswerLog().size();
    ASSERT_EQ(MoveSByNumber(), "1");
    EXPECT_EQ(Cell(PinRow("FREE", "S"), TermCol()), "");
    for (std::size_t i = answered; i < AnswerLog().size(); ++i)
        EXPECT_EQ(AnswerLog()[i].find("CKXRetainAssocCompDlg"), std::string::npos) << AnswerLog()[i];
}

TEST_F(MatrixAssoc, APinWithNothingToKeepMovesWithoutAQuestion) {
    // J1.T (number 16) has no termination, and N1 no pull-up.
    Run("kx::answer question KXTABLE-140 yes");
    ASSERT_EQ(Run("matrixConnect pin FREE J1 PN 16"), "1");
    EXPECT_TRUE(Connected("J1 T FREE"));
    for (const std::string& line : AnswerLog()) EXPECT_EQ(line.find("CKXRetainAssocCompDlg"), std::string::npos);
    // The terminated pin sent to the no-connect rule is not asked about either: nothing else changes.
    EXPECT_EQ(Cell(PinRow("N1", "S"), TermCol()), "Series");
}

} // namespace

// ------------------------------------------------------------------ a pin moved by its name

namespace {

class MatrixAssocByName : public MatrixAssoc {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        MatrixAssoc::BuildDesign(b);
        b.net("NC");
    }
    // Moves J1.S (terminated, on N1) to FREE by its pin name.
    std::string MoveSByName() {
        Run("kx::answer question KXTABLE-140 yes");
        return Run("matrixConnect pin FREE J1 PIN_NAME S");
    }
    bool Asked(std::size_t from = 0) {
        for (std::size_t i = from; i < AnswerLog().size(); ++i)
            if (AnswerLog()[i].find("CKXRetainAssocCompDlg") != std::string::npos) return true;
        return false;
    }
};

TEST_F(MatrixAssocByName, APinMovedByNameIsAskedAboutItsTerminationAndKeepsItOnYes) {
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1 preservePupd 1");
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(MoveSByName(), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(Asked()) << ::testing::PrintToString(AnswerLog());
    EXPECT_TRUE(Connected("J1 S FREE"));
    EXPECT_EQ(Cell(PinRow("FREE", "S"), TermCol()), "Series");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
}

TEST_F(MatrixAssocByName, APinMovedByNameLosesItsTerminationInOneStepThatReplaysAndUndoes) {
    const std::string before = Snapshot();
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0 preservePupd 1");
    const std::filesystem::path file = StartJournal();
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(MoveSByName(), "1") << ::testing::PrintToString(Messages());
    const std::string after = Snapshot();
    EXPECT_TRUE(Asked());
    EXPECT_EQ(after.find("Series"), std::string::npos) << after;
    EXPECT_EQ(Cell(PinRow("FREE", "S"), TermCol()), "");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    const std::string lines = StopJournal(file);
    const auto connect = lines.find(".ConnectivityPane().MatrixConnect(\"FREE\",\"J1\",\"PIN_NAME\"");
    const auto drop = lines.find(".ConnectivityPane().MatrixSelect(\"FREE\",\"J1\",\"TERMINATION\",\"S\")");
    ASSERT_NE(connect, std::string::npos) << lines;
    ASSERT_NE(drop, std::string::npos) << lines;
    EXPECT_LT(connect, drop);
    EXPECT_EQ(Replayed(lines, 1), after);
    Run("undo");
    Run("undo");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Cell(PinRow("N1", "S"), TermCol()), "Series");
}

TEST_F(MatrixAssocByName, APinMovedByNameToTheNoConnectRuleDropsItsTerminationWithoutAQuestion) {
    ASSERT_EQ(Run("matrixAdd pin signal NC"), "1");
    const std::size_t answered = AnswerLog().size();
    Run("kx::answer question KXTABLE-140 yes");
    ASSERT_EQ(Run("matrixConnect pin NC J1 PIN_NAME S"), "1") << ::testing::PrintToString(Messages());
    EXPECT_FALSE(Asked(answered));
    EXPECT_EQ(Snapshot().find("Series"), std::string::npos);
}

TEST_F(MatrixAssocByName, ARefusedMoveByNameChangesNothingAndAsksNothingMore) {
    const std::string before = Snapshot();
    Run("kx::answer question KXTABLE-140 no");
    const std::size_t answered = AnswerLog().size();
    EXPECT_EQ(Run("matrixConnect pin FREE J1 PIN_NAME S"), "0");
    EXPECT_FALSE(Asked(answered));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Cell(PinRow("N1", "S"), TermCol()), "Series");
}

// A typed cell's edit writes the pull-up cells of the nets it changed; every row then shows what a
// refresh of every row shows, whether pull-ups were carried along or not, and after an undo.
TEST_F(MatrixAssoc, ATypedCellLeavesThePullUpColumnAsARefreshOfEveryRowWould) {
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(Row("N1")) + " " + std::to_string(NameCol())), "1");
    ASSERT_EQ(Run("addPupd pin -type pullup -dcnet GND -value 4k7"), "1");
    const auto pupdCol = static_cast<ROWCOL>(G::Layout().m_nPupdCol);
    auto column = [&] {
        std::vector<std::string> cells;
        for (ROWCOL r = kxmatrix::kFirstDataRow; r <= Grid()->GetRowCount(); ++r)
            cells.push_back(Grid()->GetValueRowCol(r, pupdCol).str() + "|" +
                            KXRowAttrs(*Grid(), r).Text(pupdCol, IDS_UA_TOOLTIPTEXT).str());
        return cells;
    };
    auto expectAsRefreshed = [&](const char* after) {
        const std::vector<std::string> edited = column();
        Grid()->RefreshPupdCells({});
        EXPECT_EQ(edited, column()) << after;
    };
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1 preservePupd 1");
    ASSERT_EQ(MoveSByNumber(), "1") << ::testing::PrintToString(Messages());
    ASSERT_EQ(Mark("FREE"), "Local Pullup");
    expectAsRefreshed("a move that carried the pull-up");
    ASSERT_EQ(Run("undo"), "1");
    expectAsRefreshed("its undo");
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1 preservePupd 0");
    ASSERT_EQ(MoveSByNumber(), "1") << ::testing::PrintToString(Messages());
    expectAsRefreshed("a move that left the pull-up behind");
    Run("kx::answer question KXTABLE-140 yes");
    ASSERT_EQ(Run("matrixConnect pin FREE J1 PN 16"), "1") << ::testing::PrintToString(Messages());
    expectAsRefreshed("a pin with nothing to carry");
}

} // namespace
