// A load writes some cells in the pass that fills the rows, where a later pass over every row wrote
// them before: the cells must be those the full pass gives.
#include "PinGridTestSupport.h"

#include "pingrid/KXPinGridPupdColumn.h"
#include "rmx/transaction.h"

#include <vector>

namespace {

using G = CKXInstanceDetailsGridWnd;

class LoadRoads : public PinGridTest {
protected:
    // Scalar pins, a bus, a pair of scalar legs and a pair over two buses, partly connected.
    void Board() {
        builder.symbol("PART")
            .port("A")
            .port("B")
            .bus("D", 3, 0)
            .port("CLKP")
            .port("CLKN")
            .symbolPair("CLK", "CLKP", "CLKN")
            .bus("TXP", 1, 0)
            .bus("TXN", 1, 0);
        builder.schematic("top")
            .instance("U1", "PART", "U7")
            .connect("U1", "A", "N1")
            .connect("U1", "D<3..0>", "DATA<3..0>")
            .connect("U1", "CLKP", "CP")
            .connect("U1", "TXP<1..0>", "DP<1..0>")
            .connect("U1", "TXN<1..0>", "DN<1..0>")
            .dpPin("U1", "TX", "TXP", "TXN")
            .pinNumber("U1", "A", "12")
            .pinNumber("U1", "D<3>", "4");
        Init();
    }
    // Every cell of the pin rows, row by row.
    std::vector<CGXStyle> Cells() {
        std::vector<CGXStyle> cells;
        for (ROWCOL r = PIN_FIRST_ROW; r <= grid->GetRowCount(); ++r)
            for (ROWCOL c = 1; c <= grid->GetColCount(); ++c) {
                CGXStyle style;
                grid->GetStyleRowCol(r, c, style);
                cells.push_back(style);
            }
        return cells;
    }
};

TEST_F(LoadRoads, PupdCellsWrittenWithTheRowsAreTheFullPassOnes) {
    Board();
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    EXPECT_TRUE(grid->PupdColumn().m_pupdFilledRows.empty());
    EXPECT_FALSE(grid->PupdColumn().m_bPupdInFill);
    const std::vector<CGXStyle> loaded = Cells();
    ASSERT_FALSE(loaded.empty());
    // The pass over every row, as a refresh makes it.
    grid->FillPupdColumn({});
    const std::vector<CGXStyle> full = Cells();
    ASSERT_EQ(loaded.size(), full.size());
    for (size_t i = 0; i < loaded.size(); ++i)
        EXPECT_TRUE(loaded[i] == full[i]) << "cell " << i;
    const ROWCOL a = Row("A");
    ASSERT_NE(a, 0u);
    CGXStyle pupd;
    grid->GetStyleRowCol(a, G::m_nColPupd, pupd);
    EXPECT_EQ(pupd.GetControl(), IDS_CTRL_PUPD_NONE);
}

} // namespace
