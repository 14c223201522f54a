// Connections typed into the matrix: by pin name and pin number, into several
// groups at once, moved from another signal after the user's yes, removed by an
// emptied cell or the Delete command; each one undo step, echoed and journalled,
// and a refused text leaves design, cells and undo history as they were.
#include "MatrixTestSupport.h"

#include "afx/afxanswer.h"
#include "kxerrorhandler/KXErrorHandler.h"

namespace {

class MatrixConnect : public MatrixTest {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        ASSERT_TRUE(Open());
        ASSERT_NE(OpenView("v", {"@U1", "@J1", "@J2"}, {"@:N1", "@:GND", "@:FREE", "@:DATA<2>"}), nullptr);
        Echoes();
        Messages();
    }
};

TEST_F(MatrixConnect, APinNameTypedIntoACellConnectsItInOneUndoStep) {
    const std::string before = Snapshot();
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_TRUE(Type(Row("FREE"), PinCol(0), "IN"));
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_TRUE(Connected("U1 IN FREE"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Cell(Row("FREE"), PinCol(0)), "IN");
    EXPECT_TRUE(Doc()->IsModified());
    // The echo is the word that does the same; the journal replays it.
    const std::vector<std::string> echoes = Echoes();
    ASSERT_EQ(echoes.size(), 2u);
    EXPECT_EQ(echoes[1], "matrixConnect pin FREE U1 PIN_NAME IN \"\"");
    const std::string journal = JournalText();
    EXPECT_NE(journal.find(".ConnectivityPane().OpenMatrixView(\"v\")"), std::string::npos) << journal;
    EXPECT_NE(journal.find(".ConnectivityPane().MatrixConnect(\"FREE\",\"U1\",\"PIN_NAME\",\"\",\"IN\")"),
              std::string::npos)
        << journal;
    // Undo gives the design back byte for byte, and the cell follows.
    ASSERT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Cell(Row("FREE"), PinCol(0)), "");
}

TEST_F(MatrixConnect, APinNumberTypedIntoAPnCellConnectsThatPinBit) {
    EXPECT_TRUE(Type(Row("DATA<2>"), PnCol(1), "14"));
    EXPECT_TRUE(Connected("J1 P<4> DATA<2>"));
    EXPECT_EQ(Pins("DATA<2>", 1), std::vector<std::string>{"P<4>"});
    EXPECT_EQ(Cell(Row("DATA<2>"), PnCol(1)), "14");
}

TEST_F(MatrixConnect, TheTextGoesToTheSameRowOfEverySelectedGroup) {
    G* grid = Grid();
    const ROWCOL row = Row("FREE");
    grid->SetCurrentCell(row, static_cast<ROWCOL>(PinCol(2)));
    grid->SelectRange(CGXRange().SetCols(static_cast<ROWCOL>(PinCol(1))), TRUE, FALSE);
    grid->SelectRange(CGXRange().SetCols(static_cast<ROWCOL>(PinCol(2))), TRUE, FALSE);
    // J1's S moves from N1 after the yes, J2's S was free: one edit, one step.
    AfxGetAnswerQueue().PushQuestion("KXTABLE-140", IDYES);
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_TRUE(TypeHere("S"));
    EXPECT_TRUE(Connected("J1 S FREE"));
    EXPECT_TRUE(Connected("J2 S FREE"));
    EXPECT_EQ(Pins("N1", 1), std::vector<std::string>{"T"});
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
}

TEST_F(MatrixConnect, OneRefusedGroupRefusesTheWholeEdit) {
    G* grid = Grid();
    grid->SetCurrentCell(Row("FREE"), static_cast<ROWCOL>(PinCol(2)));
    grid->SelectRange(CGXRange().SetCols(static_cast<ROWCOL>(PinCol(0))), TRUE, FALSE);
    grid->SelectRange(CGXRange().SetCols(static_cast<ROWCOL>(PinCol(2))), TRUE, FALSE);
    const std::string before = Snapshot();
    const std::vector<std::string> cells = AllCells();
    EXPECT_FALSE(TypeHere("S")); // U1 has no pin S
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(AllCells(), cells);
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-119"});
}

TEST_F(MatrixConnect, APinConnectedElsewhereMovesOnlyAfterYes) {
    const ROWCOL row = Row("GND");
    AfxGetAnswerQueue().PushQuestion("KXTABLE-140", IDNO);
    const std::string before = Snapshot();
    EXPECT_FALSE(Type(row, PinCol(0), "OUT"));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Pins("N1", 0), std::vector<std::string>{"OUT"});
    AfxGetAnswerQueue().PushQuestion("KXTABLE-140", IDYES);
    EXPECT_TRUE(Type(row, PinCol(0), "OUT"));
    EXPECT_TRUE(Connected("U1 OUT GND"));
    // The row that showed the old connection is emptied.
    EXPECT_TRUE(Pins("N1", 0).empty());
    EXPECT_EQ(Pins("GND", 0), std::vector<std::string>{"OUT"});
}

TEST_F(MatrixConnect, RefusedTextsChangeNothing) {
    const std::string before = Snapshot();
    const std::vector<std::string> cells = AllCells();
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_FALSE(Type(Row("FREE"), PinCol(0), "NOPE"));
    EXPECT_FALSE(Type(Row("FREE"), PinCol(0), "D<3..2>")); // several bits
    EXPECT_FALSE(Type(Row("FREE"), PnCol(1), "99"));       // no such pin number
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-119", "KXTABLE-120", "KXTABLE-119"}));
    // The range lies inside the pin: the message names its true cause.
    EXPECT_NE(CKXErrorHandler::FormatMessage("KXTABLE-120").Find("several bits"), -1);
    EXPECT_FALSE(Type(Row("N1"), PinCol(0), "out")); // the same pin in another case
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(AllCells(), cells);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_TRUE(Echoes().empty());
}

// A pin the row's signal has already connects nothing, and the answer names that cause: the cell
// showing it (in another letter case too), or the signal's other row that shows it.
TEST_F(MatrixConnect, APinTheSignalHasAlreadyIsRefusedWithThatCause) {
    const std::vector<ROWCOL> rows = Rows("N1"); // J1's S, then its T
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_EQ(Cell(rows[0], PinCol(1)), "S");
    const auto edit = [this](ROWCOL row, int col, const char* text) {
        return Run("kx::edit ccp " + std::to_string(row) + " " + std::to_string(col) + " " + text);
    };
    const std::string before = Snapshot();
    const std::vector<std::string> cells = AllCells();
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(edit(rows[0], PinCol(1), "s"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-348"});
    EXPECT_EQ(edit(rows[1], PinCol(1), "S"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-580"});
    EXPECT_EQ(edit(rows[1], PnCol(1), "15"), "0"); // S by its pin number
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-580"});
    EXPECT_EQ(Run("matrixConnect pin N1 J1 PIN_NAME S"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-348"});
    // A paste of S over the T row: the same cause, not a signal grid's.
    Grid()->SetCurrentCell(rows[0], static_cast<ROWCOL>(PinCol(1)));
    ASSERT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    Grid()->SetCurrentCell(rows[1], static_cast<ROWCOL>(PinCol(1)));
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-580"});
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(AllCells(), cells);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

TEST_F(MatrixConnect, AnEmptiedCellDisconnectsAndClearsTheGroupsCells) {
    const ROWCOL row = Row("N1");
    EXPECT_TRUE(Type(row, PinCol(0), ""));
    EXPECT_FALSE(Connected("U1 OUT N1"));
    EXPECT_EQ(Cell(row, PinCol(0)), "");
    EXPECT_EQ(Cell(row, PnCol(0)), "");
    EXPECT_EQ(Cell(row, TypeCol(0)), "");
    int bit = 0;
    EXPECT_EQ(Grid()->GetCellInstTermBit(row, PinCol(0), bit), nullptr);
}

TEST_F(MatrixConnect, DeleteRemovesTheSelectedConnectionsInOneStep) {
    G* grid = Grid();
    const std::vector<ROWCOL> rows = Rows("N1");
    grid->SetCurrentCell(rows[0], static_cast<ROWCOL>(PinCol(1)));
    grid->SelectRange(CGXRange(rows[0], static_cast<ROWCOL>(PinCol(1)), rows[1], static_cast<ROWCOL>(PinCol(1))), TRUE,
                      FALSE);
    EXPECT_TRUE(grid->CanDelete());
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("deleteConnection pin"), "1");
    EXPECT_FALSE(Connected("J1 S N1"));
    EXPECT_FALSE(Connected("J1 T N1"));
    EXPECT_TRUE(Connected("U1 OUT N1"));
    EXPECT_TRUE(Pins("N1", 1).empty());
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    // Nothing left to delete: refused.
    EXPECT_FALSE(grid->CanDelete());
    EXPECT_EQ(Run("deleteConnection pin"), "0");
}

TEST_F(MatrixConnect, TheWordConnectsByNameAndAnExtraRowTakesAFurtherPin) {
    EXPECT_EQ(Run("matrixConnect pin GND J1 PIN_NAME {P<3>}"), "1");
    EXPECT_TRUE(Connected("J1 P<3> GND"));
    // GND's one row is taken in J1's group: the next pin gets a further row.
    EXPECT_EQ(Run("matrixConnect pin GND J1 PN 14"), "1");
    EXPECT_EQ(Pins("GND", 1), (std::vector<std::string>{"P<3>", "P<4>"}));
    // The old text names the cell to change.
    EXPECT_EQ(Run("matrixConnect pin GND J1 PIN_NAME {} {P<3>}"), "1");
    EXPECT_FALSE(Connected("J1 P<3> GND"));
    EXPECT_EQ(Run("matrixConnect pin NOT_A_NET J1 PIN_NAME S"), "0");
    EXPECT_EQ(Run("matrixConnect pin -help"), "1");
}

TEST_F(MatrixConnect, AReadOnlyWindowRefusesEveryEdit) {
    KXShellFixture::Run("kx::close");
    ASSERT_TRUE(Open("work.board:sch", 2));
    ASSERT_NE(OpenView("ro", {"@U1"}, {"@:FREE"}), nullptr);
    const std::string before = Snapshot();
    EXPECT_FALSE(Type(Row("FREE"), PinCol(0), "IN"));
    EXPECT_EQ(Snapshot(), before);
}

} // namespace
