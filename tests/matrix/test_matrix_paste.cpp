// Text pasted into the matrix's pin cells: the fields of a line go to the columns of the current
// cell's kind that the user selected and sees, and a paste into a cell being edited is typing.
#include "MatrixTestSupport.h"

#include "afx/afxole.h"

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

} // namespace
