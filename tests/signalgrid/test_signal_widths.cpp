// The widths the signal grid draws its columns with: the last shown
// character-width column takes what the window has left, so the columns fill
// the window's width as it is resized; a narrow window leaves it its own width
// less the fixed-width columns after it, and a hidden column is never widened.
#include "SignalGridTestSupport.h"

#include <sstream>

namespace {

constexpr int kTall = 400;

class SignalWidths : public SignalGridTest {
protected:
    void SetUp() override {
        SignalGridTest::SetUp();
        ASSERT_TRUE(Open());
        ASSERT_NE(Show("N1"), nullptr);
    }
    int Drawn() {
        int total = 0;
        for (ROWCOL c = 0; c <= Grid()->GetColCount(); ++c) total += Grid()->GetColWidth(c);
        return total;
    }
};

TEST_F(SignalWidths, TheColumnsFillTheWindowAsItIsResized) {
    int fixedAfter = 0;
    const int stretched = Grid()->StretchedColumn(fixedAfter);
    ASSERT_GT(stretched, 0);
    for (int width : {1600, 2400, 1900}) {
        Grid()->MoveWindow(0, 0, width, kTall);
        EXPECT_EQ(Drawn(), width - 1) << width;
    }
    // Only the stretched column changed: the others keep their widths.
    Grid()->MoveWindow(0, 0, 2000, kTall);
    const int wide = Grid()->GetColWidth(static_cast<ROWCOL>(stretched));
    Grid()->MoveWindow(0, 0, 2100, kTall);
    EXPECT_EQ(Grid()->GetColWidth(static_cast<ROWCOL>(stretched)), wide + 100);
    for (ROWCOL c = 0; c <= Grid()->GetColCount(); ++c)
        if (static_cast<int>(c) != stretched) { EXPECT_EQ(Grid()->GetColWidth(c), Grid()->ShownColWidth(c)) << c; }
}

TEST_F(SignalWidths, ANarrowWindowLeavesTheColumnItsOwnWidthLessTheFixedColumnsAfterIt) {
    int fixedAfter = 0;
    const int stretched = Grid()->StretchedColumn(fixedAfter);
    ASSERT_GT(stretched, 0);
    const int own = Grid()->ShownColWidth(static_cast<ROWCOL>(stretched));
    Grid()->MoveWindow(0, 0, 10, kTall);
    const int expected = own - fixedAfter > 0 ? own - fixedAfter : own;
    EXPECT_EQ(Grid()->GetColWidth(static_cast<ROWCOL>(stretched)), expected);
    EXPECT_GT(Grid()->GetColWidth(static_cast<ROWCOL>(stretched)), 0);
}

TEST_F(SignalWidths, AHiddenColumnIsNeverTheStretchedOne) {
    int fixedAfter = 0;
    const int stretched = Grid()->StretchedColumn(fixedAfter);
    ASSERT_GT(stretched, 0);
    CKXColumnInfoClass* info = Grid()->GetColumnInfo(stretched);
    ASSERT_NE(info, nullptr);
    info->m_bShown = 0;
    Grid()->MoveWindow(0, 0, 2000, kTall);
    EXPECT_EQ(Grid()->GetColWidth(static_cast<ROWCOL>(stretched)), 0);
    const int next = Grid()->StretchedColumn(fixedAfter);
    EXPECT_NE(next, stretched);
    if (next > 0) { EXPECT_EQ(Drawn(), 2000 - 1); }
    info->m_bShown = 1;
}

// The row numbers (the user's show_row_numbers option): column 0 fits the largest number, the
// blank rows below the pins included, after every load; a window opened after one that was built
// without them shows them, and the reverse.
class SignalRowNumbers : public SignalGridTest {
protected:
    static constexpr int kThreeDigits = 3 * GX_CHAR_WIDTH + 3;
};

TEST_F(SignalRowNumbers, ColumnZeroFitsTheNumbersOfEveryRowAfterALoad) {
    Run("kx::option show_row_numbers 0");
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show slp N1"), "1");
    EXPECT_EQ(RowNumberWidth(), 0);
    ASSERT_EQ(Run("kx::close"), "1");

    Run("kx::option show_row_numbers 1");
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show slp N1"), "1");
    ASSERT_NE(Grid(), nullptr);
    // A few pins and the blank rows: the numbers run to three digits.
    ASSERT_GE(Grid()->GetRowCount() + 1 - kxsignal::kFirstDataRow, 100u);
    EXPECT_EQ(RowNumberWidth(), kThreeDigits) << Run("kx::widths ccp");
}

} // namespace
