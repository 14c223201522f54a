// Text pasted into the matrix's pin cells: the fields of a line go to the columns of the current
// cell's kind that the user selected and sees, a copied matrix row gives each group's field to its
// column, a paste that would leave part of what was copied out refuses before anything changes, and
// a paste into a cell being edited is typing.
#include "MatrixTestSupport.h"

#include "afx/afxole.h"

#include <tuple>

namespace {

class MatrixPaste : public MatrixTest {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        ASSERT_TRUE(Open());
        ASSERT_NE(OpenView("v", {"@J1", "@J2"}, {"@:FREE", "@:N1"}), nullptr);
        Messages();
    }
    std::string Cell2(ROWCOL row, int col) { return std::to_string(row) + " " + std::to_string(col); }
};

// Two fields over the Pin Name cells of two groups: one pin of each group, the Pin Number cells between
// them taking none.
TEST_F(MatrixPaste, TheFieldsOfALineGoToTheSelectedGroupsPinNameCells) {
    const ROWCOL free = Row("FREE");
    ASSERT_EQ(Run("kx::select ccp " + Cell2(free, PinCol(0)) + " " + Cell2(free, PinCol(1))), "1");
    AfxSetClipboardText("P<3>\tP<4>\r\n");
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(Connected("J1 P<3> FREE"));
    EXPECT_TRUE(Connected("J2 P<4> FREE"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
}

// A column the user does not see takes no field: the second group's hidden Pin Name column gets nothing,
// and no other column takes its field in its place.
TEST_F(MatrixPaste, AHiddenColumnTakesNoField) {
    const ROWCOL free = Row("FREE");
    ASSERT_EQ(Run("kx::select ccp " + Cell2(free, PinCol(0)) + " " + Cell2(free, PinCol(1))), "1");
    Grid()->SetColWidth(static_cast<ROWCOL>(PinCol(1)), static_cast<ROWCOL>(PinCol(1)), 0);
    AfxSetClipboardText("P<3>\tP<4>\r\n");
    EXPECT_EQ(Run("paste pin"), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(Connected("J1 P<3> FREE"));
    EXPECT_FALSE(Connected("J2 P<4> FREE"));
    EXPECT_EQ(Cell(free, PnCol(0)), "13");
}

// Ctrl+V while a cell is being edited puts the text into the cell's control; the design is not touched.
TEST_F(MatrixPaste, PastingWhileACellIsEditedTypesIntoItAndChangesNothing) {
    const ROWCOL free = Row("FREE");
    ASSERT_EQ(Run("kx::select ccp " + Cell2(free, PinCol(1))), "1");
    AfxSetClipboardText("P<3>\r\n");
    const std::string before = Snapshot();
    const int steps = Ccp()->GetUndoStepCount();
    ASSERT_EQ(Run("kx::key ccp F2"), "1");
    Run("kx::key ccp Ctrl+V");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    CGXControl* control = Grid()->GetCurrentCellControl();
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->IsActive());
    CString text;
    control->GetCurrentText(text);
    EXPECT_NE(std::string(text).find("P<3>"), std::string::npos) << text.GetString();
    // Enter connects what the cell holds then, as typing does.
    ASSERT_EQ(Run("kx::key ccp Enter"), "1");
    EXPECT_TRUE(Connected("J2 P<3> FREE"));
}

// A row of N1 that shows a pin of each group (J1's there already, J2's T typed in), copied from J1's
// Pin Name cell to J2's: the table's line holds J1's name, number, type and termination, then J2's name.
class MatrixPasteOfTwoGroups : public MatrixPaste {
protected:
    void SetUp() override {
        MatrixPaste::SetUp();
        m_source = Rows("N1").front();
        m_j1Pin = Cell(m_source, PinCol(0)).GetString();
        ASSERT_TRUE(Type(m_source, PinCol(1), "T"));
        ASSERT_EQ(Run("kx::select ccp " + Cell2(m_source, PinCol(0)) + " " + Cell2(m_source, PinCol(1))),
                  "1");
        ASSERT_EQ(Run("kx::key ccp Ctrl+C"), "1");
        Messages();
    }
    ROWCOL m_source = 0;
    std::string m_j1Pin;
};

class MatrixPasteRoads : public MatrixPasteOfTwoGroups, public ::testing::WithParamInterface<const char*> {};

// Each copied group's pin goes into its own group's Pin Name cell of the target row, asked about as
// a pin connected elsewhere, on every road to Paste; the paste is one undo step.
TEST_P(MatrixPasteRoads, EachCopiedGroupsPinGoesToItsColumnOfTheTargetRow) {
    const ROWCOL free = Row("FREE");
    ASSERT_EQ(Run("kx::select ccp " + Cell2(free, PinCol(0))), "1");
    const std::string before = Snapshot();
    const int steps = Ccp()->GetUndoStepCount();
    Run("kx::answer question KXTABLE-140 yes");
    Run("kx::answer question KXTABLE-140 yes");
    EXPECT_EQ(Run(GetParam()), "1");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-140", "KXTABLE-140"}));
    EXPECT_TRUE(Connected("J1 " + m_j1Pin + " FREE"));
    EXPECT_TRUE(Connected("J2 T FREE"));
    EXPECT_EQ(Cell(free, PinCol(0)), m_j1Pin.c_str());
    EXPECT_EQ(Cell(free, PinCol(1)), "T");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    ASSERT_EQ(Run("kx::key ccp Ctrl+Z"), "1");
    EXPECT_EQ(Snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Roads, MatrixPasteRoads,
                         ::testing::Values("kx::key ccp Ctrl+V", "paste pin", "kx::pane Paste",
                                           "kx::menu 57637", "kx::clipview 1"));

// What would leave part of the paste out refuses the whole paste, saying why, before anything
// changes or anything is asked: a field that names no pin of its group, a copied group with no
// column right of the current cell, lines below the last row.
TEST_F(MatrixPasteOfTwoGroups, APasteThatWouldLeaveAFieldOutRefusesBeforeAnythingChanges) {
    const ROWCOL free = Row("FREE");
    const ROWCOL last = Rows("N1").back();
    // {clipboard text or "" for the copied row, target row, target group, road, message}
    const std::vector<std::tuple<std::string, ROWCOL, int, const char*, const char*>> cases = {
        {"", free, 1, "kx::key ccp Ctrl+V", "KXTABLE-625"},
        {"", free, 1, "kx::clipview 1", "KXTABLE-625"},
        {"S\tNO_PIN\r\n", free, 0, "paste pin", "KXTABLE-420"},
        {"P<3>\r\nP<4>\r\n", last, 0, "kx::pane Paste", "KXTABLE-626"},
    };
    for (const auto& [text, row, group, road, message] : cases) {
        SCOPED_TRACE(road + std::string(" ") + message);
        if (!text.empty()) AfxSetClipboardText(text.c_str());
        ASSERT_EQ(Run("kx::select ccp " + Cell2(row, PinCol(group))), "1");
        const std::string before = Snapshot();
        const std::vector<std::string> cells = AllCells();
        const int steps = Ccp()->GetUndoStepCount();
        EXPECT_EQ(Run(road), "0");
        EXPECT_EQ(Messages(), std::vector<std::string>{message});
        EXPECT_EQ(Snapshot(), before);
        EXPECT_EQ(AllCells(), cells);
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
        EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    }
}

} // namespace
