// Terminations and pull-ups/pull-downs copied and pasted in the matrix: the copy
// carries the components, a paste makes them again on the selected pins or
// signals (also of another view) in one undo step, and its journal replays to
// the same design; what cannot take a paste is refused and changes nothing.
#include "MatrixTestSupport.h"

#include "kxclipboard/CKXImpClipBoard.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

class MatrixAssocClip : public MatrixTest {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        ASSERT_TRUE(Open());
        ASSERT_NE(OpenView("v", {"@J1"}, {"@:N1", "@:FREE", "@:GND"}), nullptr);
        Messages();
    }
    static int TermCol(int group = 0) { return G::ColumnOf(group, G::Layout().m_nTerminationOffset); }
    static int PupdCol() { return G::Layout().m_nPupdCol; }
    std::string Mark(const char* signal) {
        return KXRowAttrs(*Grid(), Row(signal)).Text(static_cast<ROWCOL>(PupdCol()), IDS_UA_TOOLTIPTEXT).GetString();
    }
    std::string Select(ROWCOL row, int col) { return Run("kx::select ccp " + std::to_string(row) + " " + std::to_string(col)); }
    std::string Select(ROWCOL row, int col, ROWCOL row2, int col2) {
        return Run("kx::select ccp " + std::to_string(row) + " " + std::to_string(col) + " " + std::to_string(row2) +
                   " " + std::to_string(col2));
    }
    std::string Copy() { return Run("kx::key ccp Ctrl+C"); }
    int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }
};

// ------------------------------------------------------------------ terminations

TEST_F(MatrixAssocClip, ACopiedTerminationIsPastedOntoAnotherPinInOneStepThatReplaysAndUndoes) {
    ASSERT_EQ(Select(PinRow("N1", "S"), TermCol()), "1");
    ASSERT_EQ(Copy(), "1");
    EXPECT_EQ(CKXImpClipBoard::GetObjectType(1), KX_CLIP_TERMINATIONS);
    const std::string before = Snapshot();
    ASSERT_EQ(Select(PinRow("N1", "T"), TermCol()), "1");
    const std::filesystem::path file = StartJournal();
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    const std::string after = Snapshot();
    EXPECT_EQ(Count(after, "Series"), 2) << after;
    EXPECT_EQ(Cell(PinRow("N1", "T"), TermCol()), "Series");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    const std::string lines = StopJournal(file);
    EXPECT_NE(lines.find(".ConnectivityPane().MatrixPasteAssoc(\"TERMINATION\",\"N1\",\"J1\",\"T\",\"Series\""),
              std::string::npos)
        << lines;
    EXPECT_EQ(Replayed(lines, 1), after);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Cell(PinRow("N1", "T"), TermCol()), "");
}

TEST_F(MatrixAssocClip, ACopiedTerminationGoesOntoEverySelectedPin) {
    ASSERT_EQ(Run("matrixConnect pin FREE J1 PIN_NAME {P<3>}"), "1");
    ASSERT_EQ(Run("matrixConnect pin GND J1 PIN_NAME {P<4>}"), "1");
    ASSERT_EQ(Select(PinRow("N1", "S"), TermCol()), "1");
    ASSERT_EQ(Copy(), "1");
    ASSERT_EQ(Select(PinRow("FREE", "P<3>"), TermCol(), PinRow("GND", "P<4>"), TermCol()), "1");
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Cell(PinRow("FREE", "P<3>"), TermCol()), "Series");
    EXPECT_EQ(Cell(PinRow("GND", "P<4>"), TermCol()), "Series");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
}

TEST_F(MatrixAssocClip, ACopyAndPasteIntoAnotherViewReproducesTheTermination) {
    ASSERT_EQ(Run("matrixConnect pin FREE J2 PIN_NAME S"), "1");
    ASSERT_EQ(Select(PinRow("N1", "S"), TermCol()), "1");
    ASSERT_EQ(Copy(), "1");
    ASSERT_NE(OpenView("w", {"@J2"}, {"@:FREE"}), nullptr);
    ASSERT_EQ(Select(Row("FREE"), TermCol()), "1");
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Cell(Row("FREE"), TermCol()), "Series");
    EXPECT_EQ(Count(Snapshot(), "Series"), 2);
}

TEST_F(MatrixAssocClip, APinThatHasATerminationAlreadyRefusesThePasteAndNothingChanges) {
    ASSERT_EQ(Select(PinRow("N1", "S"), TermCol()), "1");
    ASSERT_EQ(Copy(), "1");
    const std::string before = Snapshot();
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_EQ(Messages().back(), "KXTABLE-118");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

TEST_F(MatrixAssocClip, TextCannotBePastedIntoATerminationCell) {
    AfxSetClipboardText("Series\r\n");
    ASSERT_EQ(Select(PinRow("N1", "T"), TermCol()), "1");
    const std::string before = Snapshot();
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(MatrixAssocClip, SeveralCopiedTerminationsGoOneToARowAndAPinWithoutOneKeepsItsPlace) {
    ASSERT_EQ(Run("matrixConnect pin FREE J1 PIN_NAME {P<3>}"), "1");
    ASSERT_EQ(Run("matrixConnect pin GND J1 PIN_NAME {P<4>}"), "1");
    // S (Series) first, then the rows below it down to T (no termination): empty places.
    const ROWCOL s = PinRow("N1", "S"), t = PinRow("N1", "T");
    ASSERT_LT(s, t);
    ASSERT_EQ(Select(s, TermCol(), t, TermCol()), "1");
    ASSERT_EQ(Copy(), "1");
    const ROWCOL p3 = PinRow("FREE", "P<3>"), p4 = PinRow("GND", "P<4>");
    ASSERT_EQ(Select(p3, TermCol(), p4, TermCol()), "1");
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Cell(p3, TermCol()), "Series");
    EXPECT_EQ(Cell(p4, TermCol()), "");
    EXPECT_EQ(Count(Snapshot(), " 1 Series @J1."), 2);
}

// Two copied terminations (J1's S and T) on the clipboard, J1's T left without one again, and a view
// of J2 then J1 whose N1 rows show J2's S and T beside J1's.
class MatrixTerminationWrap : public MatrixAssocClip {
protected:
    void SetUp() override {
        MatrixAssocClip::SetUp();
        const ROWCOL s = PinRow("N1", "S"), t = PinRow("N1", "T");
        ASSERT_EQ(Select(s, TermCol()), "1");
        ASSERT_EQ(Copy(), "1");
        ASSERT_EQ(Select(t, TermCol()), "1");
        ASSERT_EQ(Run("paste pin"), "1");
        ASSERT_EQ(Select(s, TermCol(), t, TermCol()), "1");
        ASSERT_EQ(Copy(), "1");
        ASSERT_EQ(Run("undo"), "1");
        ASSERT_EQ(Cell(t, TermCol()), "");
        ASSERT_NE(OpenView("w", {"@J2", "@J1"}, {"@:N1"}), nullptr);
        ASSERT_EQ(Run("matrixConnect pin N1 J2 PIN_NAME S"), "1");
        ASSERT_EQ(Run("matrixConnect pin N1 J2 PIN_NAME T"), "1");
        Messages();
    }
    ROWCOL RowOf(const char* pin, int group) {
        for (ROWCOL r : Rows("N1"))
            if (Cell(r, PinCol(group)) == pin) return r;
        return 0;
    }
};

TEST_F(MatrixTerminationWrap, TerminationsPastTheLastRowGoOnInTheNextGroup) {
    const ROWCOL last = Grid()->GetRowCount();
    ASSERT_EQ(Rows("N1").back(), last);
    ASSERT_EQ(Cell(last, PinCol(1)), "T") << Snapshot();
    const CString j2Pin = Cell(last, PinCol(0));
    ASSERT_FALSE(j2Pin.IsEmpty());
    ASSERT_EQ(Select(last, TermCol(0)), "1");
    const std::filesystem::path file = StartJournal();
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(Messages().empty());
    // The first onto J2's pin in the selected row, the second onto J1's pin in that row.
    EXPECT_EQ(Cell(last, TermCol(0)), "Series");
    EXPECT_EQ(Cell(last, TermCol(1)), "Series");
    EXPECT_EQ(Cell(RowOf("S", 0), TermCol(0)), j2Pin == "S" ? "Series" : "");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    const std::string after = Snapshot();
    const std::string lines = StopJournal(file);
    EXPECT_NE(lines.find(".MatrixPasteAssoc(\"TERMINATION\",\"N1\",\"J1\",\"T\",\"Series\""), std::string::npos)
        << lines;
    EXPECT_EQ(Replayed(lines, 1), after);
}

TEST_F(MatrixTerminationWrap, PastTheLastGroupTheRestIsLeftWithoutAComplaint) {
    const ROWCOL last = Grid()->GetRowCount();
    ASSERT_EQ(Cell(last, PinCol(1)), "T");
    ASSERT_EQ(Select(last, TermCol(1)), "1");
    const std::string before = Snapshot();
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Cell(last, TermCol(1)), "Series");
    // Only the one: nothing in the first group's cells.
    EXPECT_EQ(Cell(last, TermCol(0)), "");
    EXPECT_EQ(Count(Snapshot(), "Series") - Count(before, "Series"), 1);
}

TEST_F(MatrixTerminationWrap, TheRowsBelowInTheSameGroupComeBeforeTheNextGroup) {
    // From J2's first row, the second copied termination goes to J2's pin in the row below.
    const ROWCOL first = Rows("N1").front();
    ASSERT_EQ(Select(first, TermCol(0)), "1");
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Cell(first, TermCol(0)), "Series");
    EXPECT_EQ(Cell(first + 1, TermCol(0)), "Series");
    // J1's cells are not touched.
    EXPECT_EQ(Cell(RowOf("T", 1), TermCol(1)), "");
}

TEST_F(MatrixTerminationWrap, ARowBelowWithoutAPinTakesNothingAndIsNoFailure) {
    // Back in the first view: below J1's T come the signals J1 has no pin on.
    Ccp()->OpenMatrixView(CString("v"));
    const ROWCOL t = PinRow("N1", "T");
    ASSERT_EQ(Cell(t + 1, PinCol(0)), "");
    ASSERT_EQ(Select(t, TermCol()), "1");
    ASSERT_EQ(Run("paste pin"), "1");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Cell(t, TermCol()), "Series");
    EXPECT_EQ(Cell(t + 1, TermCol()), "");
}

// Paste Special (57639) is offered on a Termination cell only where the row shows a pin of the group,
// and pastes the copied termination there.
TEST_F(MatrixAssocClip, PasteSpecialIsOfferedOnATerminationCellOnlyWhereItsRowShowsAPin) {
    constexpr UINT kPasteSpecial = 57639;
    ASSERT_EQ(Select(PinRow("N1", "S"), TermCol()), "1");
    ASSERT_EQ(Copy(), "1");
    ASSERT_EQ(Select(Row("FREE"), TermCol()), "1");
    ASSERT_EQ(Cell(Row("FREE"), PinCol(0)), "");
    EXPECT_FALSE(Grid()->CanPasteSpecial());
    EXPECT_EQ(Run("kx::menu " + std::to_string(kPasteSpecial)), "0");
    // Left of the Pull Up/Down column, nothing.
    ASSERT_EQ(Select(PinRow("N1", "T"), NameCol()), "1");
    EXPECT_FALSE(Grid()->CanPasteSpecial());
    ASSERT_EQ(Select(PinRow("N1", "T"), TermCol()), "1");
    EXPECT_TRUE(Grid()->CanPasteSpecial());
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::menu " + std::to_string(kPasteSpecial)), "1") << Transcript();
    EXPECT_EQ(Cell(PinRow("N1", "T"), TermCol()), "Series");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    // Copied terminations are no pin text: a pin cell does not take them.
    ASSERT_EQ(Select(PinRow("N1", "T"), PinCol(0)), "1");
    EXPECT_FALSE(Grid()->CanPasteSpecial());
}

// ------------------------------------------------------------------ pull-ups and pull-downs

TEST_F(MatrixAssocClip, ACopiedPullUpIsPastedOntoEverySelectedSignalInOneStepThatReplays) {
    ASSERT_EQ(Select(Row("GND"), PupdCol()), "1");
    ASSERT_EQ(Copy(), "1");
    EXPECT_EQ(CKXImpClipBoard::GetObjectType(1), KX_CLIP_PUPD_GROUPS);
    const std::string before = Snapshot();
    ASSERT_EQ(Select(Row("N1"), PupdCol(), Row("FREE"), PupdCol()), "1");
    const std::filesystem::path file = StartJournal();
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    const std::string after = Snapshot();
    EXPECT_EQ(Mark("N1"), "Local Pullup");
    EXPECT_EQ(Mark("FREE"), "Local Pullup");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    const std::string lines = StopJournal(file);
    EXPECT_EQ(Count(lines, ".ConnectivityPane().MatrixPasteAssoc(\"PUPD\","), 2) << lines;
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Mark("N1"), "");
    // The replay makes the same pull-ups on the same signals (a design keeps the names an undone
    // edit used, so only a fresh design gives them the same names again).
    const std::string replayed = Replayed(lines, 0);
    EXPECT_EQ(Count(replayed, " 2 Pullup @:N1\n"), 1) << replayed;
    EXPECT_EQ(Count(replayed, " 2 Pullup @:FREE\n"), 1) << replayed;
    EXPECT_EQ(Count(replayed, " 2 Pullup @:"), 3) << replayed;
}

TEST_F(MatrixAssocClip, ASignalWithAPullUpAlreadyIsToldSoAndTheOthersTakeThePaste) {
    ASSERT_EQ(Select(Row("GND"), PupdCol()), "1");
    ASSERT_EQ(Copy(), "1");
    ASSERT_EQ(Select(Row("FREE"), PupdCol(), Row("GND"), PupdCol()), "1");
    ASSERT_EQ(Run("paste pin"), "1");
    EXPECT_EQ(Messages().back(), "KXTABLE-270");
    EXPECT_EQ(Mark("FREE"), "Local Pullup");
    // GND keeps its one pull-up.
    EXPECT_EQ(Count(Snapshot(), "Pullup"), 2);
}

TEST_F(MatrixAssocClip, ACopyOfSignalsWithoutPullUpsPastesNothing) {
    ASSERT_EQ(Select(Row("FREE"), PupdCol()), "1");
    ASSERT_EQ(Copy(), "1");
    ASSERT_EQ(Select(Row("N1"), PupdCol()), "1");
    const std::string before = Snapshot();
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-421"});
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

// A pull-up that records no parts (as a design file may hold one) is a pull-up all the same: its copy
// pastes it onto another signal, as one undo step.
class MatrixAssocClipBarePullUp : public MatrixAssocClip {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        MatrixAssocClip::BuildDesign(b);
        b.pull("PU2", "Pullup", "N1");
    }
};

TEST_F(MatrixAssocClipBarePullUp, ACopiedPullUpWithoutPartsPastesAsOneStep) {
    ASSERT_EQ(Select(Row("N1"), PupdCol()), "1");
    ASSERT_EQ(Copy(), "1");
    ASSERT_EQ(Select(Row("FREE"), PupdCol()), "1");
    const std::string before = Snapshot();
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Mark("FREE"), "Local Pullup");
    EXPECT_EQ(Count(Snapshot(), " 2 Pullup @:FREE\n"), 1) << Snapshot();
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), before);
}

// ------------------------------------------------------------------ the journal's road

TEST_F(MatrixAssocClip, TheJournalsPasteRefusesWhatItCannotPlaceAndChangesNothing) {
    const std::string before = Snapshot();
    // No such pin, an unknown kind, and no data.
    EXPECT_EQ(Run("kx::pane MatrixPasteAssoc TERMINATION N1 J1 NO_SUCH Series R1 type=Series"), "0");
    EXPECT_EQ(Run("kx::pane MatrixPasteAssoc RESISTOR N1 J1 T Series R1 type=Series"), "0");
    EXPECT_EQ(Run("kx::pane MatrixPasteAssoc TERMINATION N1 J1 T Series R1 {}"), "0");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

} // namespace

// ------------------------------------------------------------------ the library's dialogs (menus)

namespace {

class MatrixAssocDialogs : public MatrixAssocClip {};

TEST_F(MatrixAssocDialogs, AddTerminationPutsTheDialogsChoiceOnEverySelectedPinInOneStepThatReplays) {
    ASSERT_EQ(Run("matrixConnect pin FREE J1 PIN_NAME {P<3>}"), "1");
    ASSERT_EQ(Run("matrixConnect pin GND J1 PIN_NAME {P<4>}"), "1");
    const std::string before = Snapshot();
    ASSERT_EQ(Select(PinRow("FREE", "P<3>"), TermCol(), PinRow("GND", "P<4>"), TermCol()), "1");
    Run("kx::answer dialog CKXTerminationDlg ok type Series");
    const std::filesystem::path file = StartJournal();
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Run("kx::menu 35522"), "1") << ::testing::PrintToString(Messages());
    const std::string after = Snapshot();
    EXPECT_EQ(Cell(PinRow("FREE", "P<3>"), TermCol()), "Series") << ::testing::PrintToString(Messages()) << after << Transcript();
    EXPECT_EQ(Cell(PinRow("GND", "P<4>"), TermCol()), "Series");
    EXPECT_EQ(Count(after, " 1 Series @J1."), 3) << after;
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    const std::string lines = StopJournal(file);
    EXPECT_EQ(Count(lines, ".ConnectivityPane().MatrixPasteAssoc(\"TERMINATION\","), 2) << lines;
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), before);
    const std::string replayed = Replayed(lines, 0);
    EXPECT_EQ(Count(replayed, " 1 Series @J1.P<3>\n"), 1) << replayed;
    EXPECT_EQ(Count(replayed, " 1 Series @J1.P<4>\n"), 1) << replayed;
}

TEST_F(MatrixAssocDialogs, TheDialogOnOneTerminatedPinChangesItsTerminationAndOnlyThere) {
    const std::string before = Snapshot();
    ASSERT_EQ(Select(PinRow("N1", "S"), TermCol()), "1");
    Run("kx::answer dialog CKXTerminationDlg ok type Series value0 47");
    const std::filesystem::path file = StartJournal();
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Run("kx::menu 35522"), "1");
    const std::string after = Snapshot();
    EXPECT_NE(after, before);
    EXPECT_EQ(Count(after, " 1 Series @J1.S\n"), 1) << after;
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    const std::string lines = StopJournal(file);
    // Answered with its own type, the termination is changed in place (its name and designators kept),
    // journalled as the editTermination of that cell, not as a deletion and a new one.
    const auto select = lines.find(".ConnectivityPane().MatrixSelect(\"N1\",\"J1\",\"TERMINATION\",\"S\")");
    const auto edit = lines.find(".ConnectivityPane().EditTermination(\"-id ");
    ASSERT_NE(select, std::string::npos) << lines;
    ASSERT_NE(edit, std::string::npos) << lines;
    EXPECT_LT(select, edit);
    EXPECT_NE(lines.find("-part1 -value 47\")", edit), std::string::npos) << lines;
    EXPECT_EQ(lines.find("MatrixPasteAssoc"), std::string::npos) << lines;
    EXPECT_EQ(lines.find(".Delete()"), std::string::npos) << lines;
    // The script's add still refuses the terminated pin.
    Messages();
    EXPECT_EQ(Run("addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 "
                  "-value 33"),
              "0");
    EXPECT_EQ(Snapshot(), after);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(MatrixAssocDialogs, ACancelledTerminationDialogChangesNothing) {
    const std::string before = Snapshot();
    ASSERT_EQ(Select(PinRow("N1", "T"), TermCol()), "1");
    Run("kx::answer dialog CKXTerminationDlg cancel");
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::menu 35522");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

TEST_F(MatrixAssocDialogs, SeveralPinsOneOfThemTerminatedAreRefusedBeforeTheDialog) {
    const std::string before = Snapshot();
    ASSERT_EQ(Select(PinRow("N1", "S"), TermCol(), PinRow("N1", "T"), TermCol()), "1");
    const std::size_t answered = AnswerLog().size();
    Run("kx::menu 35522");
    EXPECT_EQ(Messages().back(), "KXTABLE-114");
    EXPECT_EQ(Snapshot(), before);
    for (std::size_t i = answered; i < AnswerLog().size(); ++i)
        EXPECT_EQ(AnswerLog()[i].find("CKXTerminationDlg"), std::string::npos);
}

// Edit Termination is offered for one terminated pin only: over two terminated rows the command adds,
// and says why it will not; Delete still takes both terminations off.
TEST_F(MatrixAssocDialogs, EditTerminationIsOfferedForOneRowAndDeleteTakesSeveral) {
    ASSERT_EQ(Select(PinRow("N1", "S"), TermCol()), "1");
    ASSERT_EQ(Copy(), "1");
    ASSERT_EQ(Select(PinRow("N1", "T"), TermCol()), "1");
    ASSERT_EQ(Run("paste pin"), "1");
    EXPECT_EQ(Run("kx::menustate 35522"), "enabled \"Edit Termination\"");
    ASSERT_EQ(Select(PinRow("N1", "S"), TermCol(), PinRow("N1", "T"), TermCol()), "1");
    EXPECT_EQ(Run("kx::menustate 35522"), "enabled \"Add Termination\"");
    EXPECT_EQ(Run("kx::menu 35522"), "0");
    EXPECT_EQ(Messages().back(), "KXTABLE-114");
    EXPECT_EQ(Run("kx::menustate 35264"), "enabled");
    ASSERT_EQ(Run("kx::key ccp Delete"), "1");
    EXPECT_EQ(Cell(PinRow("N1", "S"), TermCol()), "");
    EXPECT_EQ(Cell(PinRow("N1", "T"), TermCol()), "");
}

// The Delete key on a Termination cell without a termination is the disabled Delete: no delete word
// goes to the host and the grid keeps the rows the user has. It says that the pin has no termination,
// not that it has no connection (it is connected).
TEST_F(MatrixAssocDialogs, DeleteOnAnEmptyTerminationCellSendsNothing) {
    const ROWCOL row = PinRow("N1", "T");
    ASSERT_EQ(Select(row, TermCol()), "1");
    EXPECT_EQ(Run("kx::menustate 35264"), "disabled");
    Echoes();
    const std::string before = Snapshot();
    const ROWCOL rows = Grid()->GetRowCount();
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::key ccp Delete");
    EXPECT_EQ(Messages().back(), "KXTABLE-218");
    EXPECT_EQ(Transcript().find("request: deleteTermination"), std::string::npos) << Transcript();
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Grid()->GetRowCount(), rows);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

// The table text of a Pull Up/Down cell names the signal's pull-up components, or is an empty field.
TEST_F(MatrixAssocDialogs, ACopiedPullUpCellCarriesTheComponentsNames) {
    ASSERT_EQ(Select(Row("GND"), 1, Row("GND"), PupdCol()), "1");
    EXPECT_EQ(std::string(Grid()->CopyText()), "GND\t\tPU1\r\n");
    ASSERT_EQ(Select(Row("FREE"), 1, Row("FREE"), PupdCol()), "1");
    EXPECT_EQ(std::string(Grid()->CopyText()), "FREE\t\t\r\n");
}

TEST_F(MatrixAssocDialogs, AddPullupPutsTheDialogsChoiceOnEverySelectedSignalInOneStep) {
    const std::string before = Snapshot();
    ASSERT_EQ(Select(Row("N1"), NameCol(), Row("FREE"), NameCol()), "1");
    Run("kx::answer dialog CKXPupdDlg ok type pullup dcnet GND value 10k");
    const std::filesystem::path file = StartJournal();
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Run("kx::menu 35509"), "1");
    EXPECT_EQ(Mark("N1"), "Local Pullup");
    EXPECT_EQ(Mark("FREE"), "Local Pullup");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    const std::string lines = StopJournal(file);
    EXPECT_EQ(Count(lines, ".ConnectivityPane().MatrixPasteAssoc(\"PUPD\","), 2) << lines;
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), before);
    const std::string replayed = Replayed(lines, 0);
    EXPECT_EQ(Count(replayed, " 2 Pullup @:N1\n"), 1) << replayed;
    EXPECT_EQ(Count(replayed, " 2 Pullup @:FREE\n"), 1) << replayed;
}

// Add Pullup on a signal that has one opens the library's edit dialog for it: what the dialog changes is one
// undo step, journalled so that a fresh host replays it to the same design; cancelled, it changes nothing.
TEST_F(MatrixAssocDialogs, AddPullupOnASignalThatHasOneEditsItInTheEditDialog) {
    // A view the journal makes again.
    ASSERT_EQ(Run("openMatrixView pin w"), "1");
    ASSERT_EQ(Run("matrixAdd pin signal GND"), "1");
    const std::string before = Snapshot();
    ASSERT_EQ(Select(Row("GND"), NameCol()), "1");
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::answer dialog CKXPupdEditDlg cancel");
    Run("kx::menu 35509");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    // An edit the library refuses (a DC net the design does not have) says so and changes nothing.
    Run("kx::answer dialog CKXPupdEditDlg ok action edit name PU1 dcnet NO_SUCH_NET");
    Run("kx::menu 35509");
    EXPECT_FALSE(Messages().empty());
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    // The dialog's delete takes the pull-up off.
    Run("kx::answer dialog CKXPupdEditDlg ok action delete name PU1");
    ASSERT_EQ(Run("kx::menu 35509"), "1");
    EXPECT_EQ(Mark("GND"), "");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Mark("GND"), "Local Pullup");
    // The dialog's edit: new designator and DC net.
    Run("kx::answer dialog CKXPupdEditDlg ok action edit name PU1 refdes RP7 dcnet N1");
    ASSERT_EQ(Run("kx::menu 35509"), "1");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Run("kx::prop {work.board:sch@$PU1} DCNET"), "N1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    const std::string edited = Snapshot();
    EXPECT_NE(edited.find("RP7"), std::string::npos) << edited;
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Run("redo"), "1");
    const std::string journal = JournalText();
    EXPECT_NE(journal.find(".ConnectivityPane().MatrixDeletePupd(\"PU1\")"), std::string::npos) << journal;
    EXPECT_NE(journal.find(".ConnectivityPane().EditPUPD(\"PU1 -refdes RP7 -dcnets N1\")"), std::string::npos)
        << journal;
    EXPECT_EQ(ReplayedSnapshot("m"), edited);
}

} // namespace

// ------------------------------------------------------------------ an undone edit in the journal

// An edit that journals one call per component or signal is one undo step here but several on replay:
// its undo must be journalled as that many Undo() calls, so that the replay takes all of it back too.
namespace {

class MatrixUndoneReplay : public MatrixAssocClip {
protected:
    // Does the edit, takes it back, and replays the journal of both on the design as it was.
    void ExpectUndoneEditReplaysUndone(const std::string& edit) {
        const std::string before = Snapshot();
        const std::filesystem::path file = StartJournal();
        ASSERT_EQ(Run(edit), "1") << ::testing::PrintToString(Messages());
        ASSERT_NE(Snapshot(), before);
        ASSERT_EQ(Run("undo"), "1");
        const std::string lines = StopJournal(file);
        ASSERT_EQ(Snapshot(), before);
        EXPECT_EQ(Replayed(lines, 0), before) << lines;
    }
    void ConnectTwoFreePins() {
        ASSERT_EQ(Run("matrixConnect pin FREE J1 PIN_NAME {P<3>}"), "1");
        ASSERT_EQ(Run("matrixConnect pin GND J1 PIN_NAME {P<4>}"), "1");
    }
};

TEST_F(MatrixUndoneReplay, ATerminationPastedOntoTwoPins) {
    ConnectTwoFreePins();
    ASSERT_EQ(Select(PinRow("N1", "S"), TermCol()), "1");
    ASSERT_EQ(Copy(), "1");
    ASSERT_EQ(Select(PinRow("FREE", "P<3>"), TermCol(), PinRow("GND", "P<4>"), TermCol()), "1");
    ExpectUndoneEditReplaysUndone("paste pin");
}

TEST_F(MatrixUndoneReplay, APullUpPastedOntoTwoSignals) {
    ASSERT_EQ(Select(Row("GND"), PupdCol()), "1");
    ASSERT_EQ(Copy(), "1");
    ASSERT_EQ(Select(Row("N1"), PupdCol(), Row("FREE"), PupdCol()), "1");
    ExpectUndoneEditReplaysUndone("paste pin");
}

TEST_F(MatrixUndoneReplay, TheTerminationDialogsChoiceOnTwoPins) {
    ConnectTwoFreePins();
    ASSERT_EQ(Select(PinRow("FREE", "P<3>"), TermCol(), PinRow("GND", "P<4>"), TermCol()), "1");
    Run("kx::answer dialog CKXTerminationDlg ok type Series");
    ExpectUndoneEditReplaysUndone("kx::menu 35522");
}

TEST_F(MatrixUndoneReplay, TheDialogsReplacementOfATermination) {
    ASSERT_EQ(Select(PinRow("N1", "S"), TermCol()), "1");
    Run("kx::answer dialog CKXTerminationDlg ok type Series value0 47");
    ExpectUndoneEditReplaysUndone("kx::menu 35522");
}

TEST_F(MatrixUndoneReplay, ThePullUpDialogsChoiceOnTwoSignals) {
    ASSERT_EQ(Select(Row("N1"), NameCol(), Row("FREE"), NameCol()), "1");
    Run("kx::answer dialog CKXPupdDlg ok type pullup dcnet GND value 10k");
    ExpectUndoneEditReplaysUndone("kx::menu 35509");
}

TEST_F(MatrixUndoneReplay, APullUpAddedByWordToTwoSignals) {
    ASSERT_EQ(Select(Row("N1"), NameCol(), Row("FREE"), NameCol()), "1");
    ExpectUndoneEditReplaysUndone("addPupd pin -type pullup -dcnet GND -lib discrete -cell resistor -view sym "
                                  "-physname R0402 -value 10k");
}

TEST_F(MatrixUndoneReplay, PullUpsDeletedFromTwoSignals) {
    ASSERT_EQ(Select(Row("N1"), NameCol(), Row("FREE"), NameCol()), "1");
    ASSERT_EQ(Run("addPupd pin -type pullup -dcnet GND -lib discrete -cell resistor -view sym -physname R0402 "
                  "-value 10k"),
              "1");
    ASSERT_EQ(Select(Row("N1"), NameCol(), Row("FREE"), NameCol()), "1");
    ExpectUndoneEditReplaysUndone("deletePupd pin");
}

} // namespace

namespace {

TEST_F(MatrixUndoneReplay, TwoPinsDisconnectedByDelete) {
    ASSERT_EQ(Select(PinRow("N1", "S"), PinCol(0), PinRow("N1", "T"), PinCol(0)), "1");
    ExpectUndoneEditReplaysUndone("kx::key ccp Delete");
}

TEST_F(MatrixUndoneReplay, APinMovedWithoutItsTermination) {
    Run("kx::answer question KXTABLE-140 yes");
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 0");
    ExpectUndoneEditReplaysUndone("matrixConnect pin FREE J1 PIN_NAME S");
}

} // namespace

namespace {

TEST_F(MatrixUndoneReplay, AModelAssignedToTwoPins) {
    ExpectUndoneEditReplaysUndone("assignModel pin IBIS_X {N1 J1 S} {N1 J1 T}");
}

TEST_F(MatrixUndoneReplay, TerminationsDeletedFromTwoPins) {
    ConnectTwoFreePins();
    ASSERT_EQ(Select(PinRow("N1", "S"), TermCol()), "1");
    ASSERT_EQ(Copy(), "1");
    ASSERT_EQ(Select(PinRow("FREE", "P<3>"), TermCol()), "1");
    ASSERT_EQ(Run("paste pin"), "1");
    ASSERT_EQ(Select(PinRow("N1", "S"), TermCol(), PinRow("FREE", "P<3>"), TermCol()), "1");
    ExpectUndoneEditReplaysUndone("kx::key ccp Delete");
}

} // namespace
