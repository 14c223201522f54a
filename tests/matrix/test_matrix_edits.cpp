// Models, terminations, pull-up marks, copy and paste in the matrix: each edit
// one step that undo takes back, journalled as the cell's selection and the
// pane's call; a paste into another view reproduces the copied connections.
#include "MatrixTestSupport.h"

#include "kxclipboard/CKXImpClipBoard.h"

#include <tuple>

namespace {

class MatrixEdits : public MatrixTest {
protected:
    // A net property column (Impedance) and a pin property column (Slew) added from the customise dialog; their
    // column numbers in the rebuilt grid.
    void AddPropertyColumns(int& impedance, int& slew) {
        Run("kx::answer dialog CKXCustomizeDialog ok add {IMPEDANCE|Impedance|8s|NETPROP|SHOW;SLEW|Slew|6s|PINPROP|SHOW}");
        ASSERT_EQ(Run("kx::grid ccp 1"), "1");
        ASSERT_EQ(Run("kx::menu 35130"), "1");
        for (ROWCOL c = 1; c <= Grid()->GetColCount(); ++c) {
            if (Cell(1, static_cast<int>(c)) == "Impedance") impedance = static_cast<int>(c);
            if (Cell(1, static_cast<int>(c)) == "Slew" && slew < 0) slew = static_cast<int>(c);
        }
        ASSERT_GT(impedance, 0);
        ASSERT_GT(slew, 0);
    }
    void SetUp() override {
        MatrixTest::SetUp();
        ASSERT_TRUE(Open());
        Messages();
    }
    std::string Model(const char* pin) {
        return Run(std::string("kx::prop work.board:sch@") + pin + " PIN_SIGNAL_MODEL");
    }
};

TEST_F(MatrixEdits, AModelIsAssignedAndRemovedOnTheKeyedPins) {
    ASSERT_NE(OpenView("v", {"@U1", "@J1"}, {"@:N1", "@:DATA<1>"}), nullptr);
    const std::string before = Snapshot();
    EXPECT_EQ(Run("assignModel pin FAST {N1 J1 S}"), "1");
    EXPECT_EQ(Model("J1.S"), "FAST");
    const std::string journal = JournalText();
    EXPECT_NE(journal.find(".ConnectivityPane().MatrixSelect(\"N1\",\"J1\",\"PIN_NAME\",\"S\")"), std::string::npos) << journal;
    EXPECT_NE(journal.find(".ConnectivityPane().AssignModel(\"FAST\")"), std::string::npos) << journal;
    // The same model again changes nothing: refused, no step.
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("assignModel pin FAST {N1 J1 S}"), "0");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Run("removeModel pin {N1 J1 S}"), "1");
    EXPECT_EQ(Run("removeModel pin {N1 J1 S}"), "0");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Model("J1.S"), "FAST");
}

TEST_F(MatrixEdits, PinsOfDifferentDirectionsTakeNoModel) {
    ASSERT_NE(OpenView("v", {"@U1"}, {"@:N1", "@:DATA<1>"}), nullptr);
    const std::string before = Snapshot();
    EXPECT_EQ(Run("assignModel pin M {N1 U1} {DATA<1> U1}"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-127"});
    EXPECT_EQ(Snapshot(), before);
    // The dialog closed without a model assigns nothing.
    Run("kx::answer dialog CKXDlgModelAssign ok model {}");
    Grid()->SetCurrentCell(Row("N1"), static_cast<ROWCOL>(PinCol(0)));
    EXPECT_FALSE(Grid()->AssignModelByName(""));
    EXPECT_EQ(Snapshot(), before);
}

// An empty model given by the method or the word asks nothing: it takes the model off the selected
// pins without a message, and says KXTABLE-267 when they have none.
TEST_F(MatrixEdits, AnEmptyGivenModelTakesTheModelOffWithoutADialog) {
    ASSERT_NE(OpenView("v", {"@U1", "@J1"}, {"@:N1", "@:DATA<1>"}), nullptr);
    for (const char* clear : {"kx::pane ccp AssignModel {}", "assignModel pin {} {N1 J1 S}"}) {
        ASSERT_EQ(Run("assignModel pin FAST {N1 J1 S}"), "1");
        Messages();
        const int steps = Ccp()->GetUndoStepCount();
        EXPECT_EQ(Run(clear), "1") << clear;
        EXPECT_TRUE(Messages().empty()) << clear;
        EXPECT_EQ(Model("J1.S").rfind("error", 0), 0u) << clear << Model("J1.S");
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1) << clear;
        EXPECT_EQ(Run(clear), "0") << clear;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-267"}) << clear;
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1) << clear;
    }
}

TEST_F(MatrixEdits, TerminationCellsShowAndDeleteTheirPinsTerminations) {
    ASSERT_NE(OpenView("v", {"@J1"}, {"@:N1", "@:GND"}), nullptr);
    const ROWCOL s = Rows("N1")[0];
    const int term = G::ColumnOf(0, G::Layout().m_nTerminationOffset);
    EXPECT_EQ(Cell(s, term), "Series");
    EXPECT_EQ(Cell(Rows("N1")[1], term), "");
    // The pull-up on GND shows as its mark.
    EXPECT_EQ(KXRowAttrs(*Grid(), Row("GND")).Text(static_cast<ROWCOL>(G::Layout().m_nPupdCol), IDS_UA_TOOLTIPTEXT),
              "Local Pullup");
    const std::string before = Snapshot();
    EXPECT_EQ(Run("kx::select ccp " + std::to_string(s) + " " + std::to_string(term)), "1");
    EXPECT_TRUE(Grid()->CanDelete());
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::key ccp Delete"), "1");
    EXPECT_EQ(Cell(s, term), "");
    EXPECT_NE(Snapshot(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_NE(JournalText().find(".ConnectivityPane().MatrixSelect(\"N1\",\"J1\",\"TERMINATION\",\"S\")"), std::string::npos);
    // Undo is there after the deletion, and the cell follows it.
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Cell(s, term), "Series");
}

// Escape drops a cell's edit: the commands that wait for no edit to run are offered again.
TEST_F(MatrixEdits, EscapeEndsTheCellEditSoThatLaterCommandsRun) {
    ASSERT_NE(OpenView("v", {"@J1"}, {"@:FREE", "@:N1"}), nullptr);
    const ROWCOL free = Row("FREE");
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(free) + " " + std::to_string(PinCol(0))), "1");
    ASSERT_EQ(Run("kx::key ccp F2"), "1");
    ASSERT_TRUE(Grid()->m_bEditing);
    ASSERT_EQ(Run("kx::key ccp Escape"), "1");
    EXPECT_FALSE(Grid()->m_bEditing);
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(free) + " 1"), "1");
    EXPECT_TRUE(Grid()->CanAddPupd());
    EXPECT_EQ(Run("addPupd pin -type pulldown -dcnet GND -value 10k"), "1");
}

TEST_F(MatrixEdits, APullDownIsAddedToTheSelectedSignalsAndDeletedFromItsMark) {
    ASSERT_NE(OpenView("v", {"@J1"}, {"@:FREE", "@:N1"}), nullptr);
    const ROWCOL free = Row("FREE");
    auto mark = [&] { return KXRowAttrs(*Grid(), free).Text(static_cast<ROWCOL>(G::Layout().m_nPupdCol), IDS_UA_TOOLTIPTEXT); };
    const std::string before = Snapshot();
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(free) + " 1"), "1");
    EXPECT_TRUE(Grid()->CanAddPupd());
    EXPECT_EQ(Run("addPupd pin -type pulldown -dcnet GND -value 10k"), "1");
    EXPECT_EQ(mark(), "Local PullDown");
    EXPECT_NE(JournalText().find(".ConnectivityPane().MatrixAddPupd(\"pulldown\""), std::string::npos);
    // The Delete key on the mark sends deletePupd, which takes it off in one step.
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(free) + " " + std::to_string(G::Layout().m_nPupdCol)), "1");
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("kx::key ccp Delete"), "1");
    EXPECT_EQ(mark(), "");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(mark(), "Local PullDown");
    // Nothing left of that name to delete: refused.
    EXPECT_EQ(Run("deletePupd pin NO_SUCH"), "0");
    EXPECT_EQ(Messages().back(), "KXTABLE-220");
}

TEST_F(MatrixEdits, ATerminationIsAddedToTheSelectedPinsInOneStep) {
    ASSERT_NE(OpenView("v", {"@J1", "@X1"}, {"@:N1", "@:DATA<1>"}), nullptr);
    const ROWCOL data = Row("DATA<1>");
    const int term = G::ColumnOf(0, G::Layout().m_nTerminationOffset);
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(data) + " " + std::to_string(term)), "1");
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402 "
                  "-value 33"),
              "1");
    EXPECT_EQ(Cell(data, term), "Series");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_NE(JournalText().find(".ConnectivityPane().MatrixAddTermination(\"Series\",\"discrete\""),
              std::string::npos);
    // A pin with a termination takes no second one; a block's port takes none.
    const std::string after = Snapshot();
    EXPECT_EQ(Run("addTermination pin -type Series -part1 -lib discrete -cell resistor -view sym -physname R0402"),
              "0");
    EXPECT_EQ(Messages().back(), "KXTABLE-209");
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(Row("N1")) + " " + std::to_string(PinCol(1))), "1");
    EXPECT_FALSE(Grid()->CanAddTermination());
    EXPECT_EQ(Snapshot(), after);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Cell(data, term), "");
}

TEST_F(MatrixEdits, PropertyColumnsShowAndSetTheRowsNetAndPinProperties) {
    ASSERT_NE(OpenView("v", {"@J1"}, {"@:N1", "@:FREE"}), nullptr);
    int impedance = -1, slew = -1;
    AddPropertyColumns(impedance, slew);
    ASSERT_FALSE(HasFatalFailure());
    // The grid was rebuilt with the new columns; the pins are still where they were.
    EXPECT_EQ(Pins("N1", 0), (std::vector<std::string>{"S", "T"}));
    const std::vector<ROWCOL> n1 = Rows("N1");
    EXPECT_TRUE(Type(n1[0], impedance, "50"));
    EXPECT_EQ(Run("kx::prop work.board:sch@:N1 IMPEDANCE"), "50");
    EXPECT_EQ(Cell(n1[1], impedance), "50"); // every row of the signal
    EXPECT_TRUE(Type(n1[1], slew, "FAST"));
    EXPECT_EQ(Run("kx::prop work.board:sch@J1.T SLEW"), "FAST");
    EXPECT_NE(JournalText().find(".ConnectivityPane().ChangePropValue(\"SLEW\",\"FAST\")"), std::string::npos);
    // A row whose group shows no pin sets nothing: refused, nothing changes.
    const std::string before = Snapshot();
    Grid()->SetCurrentCell(Row("FREE"), static_cast<ROWCOL>(slew));
    CMapStringToString values;
    values.SetAt("SLEW", "SLOW");
    EXPECT_FALSE(Grid()->ChangeCustomColumnValue(values));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Cell(n1[1], slew), "");
}

// A value typed into a property cell is one edit: one undo takes back the property and the cell both. The
// same value in another letter case changes nothing and leaves no step.
TEST_F(MatrixEdits, AValueTypedIntoAPropertyCellIsOneStep) {
    ASSERT_NE(OpenView("v", {"@J1"}, {"@:N1", "@:FREE"}), nullptr);
    int impedance = -1, slew = -1;
    AddPropertyColumns(impedance, slew);
    ASSERT_FALSE(HasFatalFailure());
    const ROWCOL free = Row("FREE"), s = PinRow("N1", "S");
    auto edit = [&](ROWCOL row, int col, const char* text) {
        return Run("kx::edit ccp " + std::to_string(row) + " " + std::to_string(col) + " " + text);
    };
    for (const auto& [row, col, prop] : {std::tuple{free, impedance, std::string("@:FREE IMPEDANCE")},
                                         std::tuple{s, slew, std::string("@J1.S SLEW")}}) {
        const std::string before = Snapshot();
        const int steps = Ccp()->GetUndoStepCount();
        ASSERT_EQ(edit(row, col, "fast"), "1") << prop;
        EXPECT_EQ(Run("kx::prop work.board:sch" + prop), "fast");
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1) << prop;
        const std::string after = Snapshot();
        EXPECT_EQ(edit(row, col, "FAST"), "0") << prop;
        EXPECT_EQ(Snapshot(), after) << prop;
        EXPECT_EQ(Cell(row, col), "fast") << prop;
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1) << prop;
        // Blanks around the value it holds change nothing either; the cell shows the design's value.
        EXPECT_EQ(edit(row, col, "{ fast }"), "0") << prop;
        EXPECT_EQ(Snapshot(), after) << prop;
        EXPECT_EQ(Cell(row, col), "fast") << prop;
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1) << prop;
        EXPECT_EQ(edit(row, col, "{ slow }"), "1") << prop;
        EXPECT_EQ(Run("kx::prop work.board:sch" + prop), "slow");
        EXPECT_EQ(Cell(row, col), "slow") << prop;
        EXPECT_EQ(Run("undo"), "1");
        EXPECT_EQ(Run("undo"), "1");
        EXPECT_EQ(Snapshot(), before) << prop;
        EXPECT_EQ(Cell(row, col), "") << prop;
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps) << prop;
    }
}

// A value the property's rules refuse (a tab typed, a line break given by automation) is written nowhere.
TEST_F(MatrixEdits, APropertyValueWithAControlCharacterIsRefused) {
    ASSERT_NE(OpenView("v", {"@J1"}, {"@:N1", "@:FREE"}), nullptr);
    int impedance = -1, slew = -1;
    AddPropertyColumns(impedance, slew);
    ASSERT_FALSE(HasFatalFailure());
    const std::string before = Snapshot();
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_FALSE(Type(Row("FREE"), impedance, "5\t0"));
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPROP-104"});
    Grid()->SetCurrentCell(PinRow("N1", "S"), static_cast<ROWCOL>(slew));
    EXPECT_EQ(Run("kx::pane ChangePropValue SLEW \"FA\nST\""), "0");
    const std::vector<std::string> said = Messages();
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.front(), "KXPROP-104");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

TEST_F(MatrixEdits, CopyKeepsEveryFieldAndAPasteIntoAnotherViewReproducesTheConnections) {
    ASSERT_NE(OpenView("src", {"@J1"}, {"@:FREE", "@:GND", "@:DATA<2>"}), nullptr);
    ASSERT_EQ(Run("matrixConnect pin FREE J1 PIN_NAME {P<3>}"), "1");
    ASSERT_EQ(Run("matrixConnect pin GND J1 PIN_NAME {P<4>}"), "1");
    G* src = Grid();
    const ROWCOL first = Row("FREE");
    ASSERT_EQ(Run("kx::select ccp " + std::to_string(first) + " " + std::to_string(PinCol(0)) + " " +
                  std::to_string(first + 2) + " " + std::to_string(G::ColumnOf(0, G::Layout().m_nTerminationOffset))),
              "1");
    // Every field of a row is kept, the empty ones too, so the columns stay aligned.
    EXPECT_EQ(std::string(src->CopyText()), "P<3>\t13\t\t\r\nP<4>\t14\t\t\r\n\t\t\t\r\n");
    ASSERT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    ASSERT_NE(OpenView("dst", {"@J2"}, {"@:FREE", "@:GND", "@:DATA<2>"}), nullptr);
    Grid()->SetCurrentCell(Row("FREE"), static_cast<ROWCOL>(PinCol(0)));
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("paste pin"), "1");
    EXPECT_TRUE(Connected("J2 P<3> FREE"));
    EXPECT_TRUE(Connected("J2 P<4> GND"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Pins("GND", 0), std::vector<std::string>{"P<4>"});
    // Pasted again: nothing changes, and the paste says so.
    const std::string pasted = Snapshot();
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_EQ(Snapshot(), pasted);
}

TEST_F(MatrixEdits, APasteNothingTakesChangesNothingAndSaysSo) {
    ASSERT_NE(OpenView("v", {"@J1"}, {"@:FREE"}), nullptr);
    AfxSetClipboardText("NO_SUCH_PIN\r\n");
    Grid()->SetCurrentCell(Row("FREE"), static_cast<ROWCOL>(PinCol(0)));
    const std::string before = Snapshot();
    EXPECT_EQ(Run("paste pin"), "0");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

// A line whose pin the user refuses to move (after its row's pin came off in the same line) takes back
// what it did: its row keeps its pin, and the line before it stands, as the journal says.
TEST_F(MatrixEdits, APasteLineTheUserRefusesLeavesItsRowAsItWas) {
    ASSERT_NE(OpenView("v", {"@J1"}, {"@:FREE", "@:DATA<1>", "@:DATA<0>"}), nullptr);
    AfxSetClipboardText("P<1>\r\nS\r\n");
    Grid()->SetCurrentCell(Row("FREE"), static_cast<ROWCOL>(PinCol(0)));
    Run("kx::answer question KXTABLE-140 yes"); // P<1> leaves DATA<0>
    Run("kx::answer question KXTABLE-140 no");  // S stays on N1
    EXPECT_EQ(Run("paste pin"), "1");
    EXPECT_TRUE(Connected("J1 P<1> FREE"));
    EXPECT_TRUE(Connected("J1 P<2> DATA<1>"));
    EXPECT_TRUE(Connected("J1 S N1"));
    EXPECT_EQ(Pins("DATA<1>", 0), std::vector<std::string>{"P<2>"});
    const std::string text = JournalText();
    EXPECT_NE(text.find("MatrixConnect(\"FREE\",\"J1\",\"PIN_NAME\",\"\",\"P<1>\")"), std::string::npos) << text;
    EXPECT_EQ(text.find("\"S\")"), std::string::npos) << text;
}

// A paste the design refuses at its commit leaves the design and every cell as they were, and the
// cells still lead to their pins: the same paste goes in afterwards.
TEST_F(MatrixEdits, APasteRefusedAtItsCommitLeavesEveryCellAsItWas) {
    ASSERT_NE(OpenView("v", {"@J1"}, {"@:FREE", "@:DATA<0>"}), nullptr);
    AfxSetClipboardText("P<3>\r\n");
    Grid()->SetCurrentCell(Row("FREE"), static_cast<ROWCOL>(PinCol(0)));
    const std::string design = Snapshot();
    const std::vector<std::string> cells = AllCells();
    const int steps = Ccp()->GetUndoStepCount();
    CKXShareGlobalData::m_pServer->setCommitFault([] { return true; });
    const std::string refused = Run("paste pin");
    CKXShareGlobalData::m_pServer->setCommitFault(nullptr);
    EXPECT_EQ(refused, "0");
    EXPECT_EQ(Snapshot(), design);
    EXPECT_EQ(AllCells(), cells);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    Grid()->SetCurrentCell(Row("FREE"), static_cast<ROWCOL>(PinCol(0)));
    EXPECT_EQ(Run("paste pin"), "1");
    EXPECT_TRUE(Connected("J1 P<3> FREE"));
    EXPECT_EQ(Pins("FREE", 0), std::vector<std::string>{"P<3>"});
}

} // namespace
