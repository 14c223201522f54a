// The row-number column of both physical grids, read through the host's width query: fitted to
// the digits of the largest row number after every load, shown only when the user's
// show_row_numbers option was on as the window opened, also after a window built without it.
#include "PhysGridTestSupport.h"

#include "physgrids/KXPhysNetDetailsGridWnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace {

constexpr int kMinRowNumberWidth = 20;
constexpr int kRowNumberMargin = 3;

class PhysRowNumbers : public PhysGridTest {
protected:
    // The widths `kx::widths ccp` reports, from column 0 on.
    std::vector<int> Widths() {
        std::istringstream in(Run("kx::widths ccp"));
        std::vector<int> widths;
        for (int w = 0; in >> w;)
            widths.push_back(w);
        return widths;
    }
    int RowNumberWidth() {
        const std::vector<int> widths = Widths();
        return widths.empty() ? -1 : widths.front();
    }
    // The width that shows the largest row number of the grid whole.
    static int Fitted(CGXGridCore* g, ROWCOL firstDataRow) {
        const std::string largest = std::to_string(g->GetRowCount() + 1 - firstDataRow);
        const int digits = static_cast<int>(largest.size()) * GX_CHAR_WIDTH * g->GetZoom() / 100;
        return std::max(digits, kMinRowNumberWidth) + kRowNumberMargin;
    }
    CGXGridCore* Show(const std::string& list, const std::string& names) {
        if (!Doc() && !Open("work.board:sch", 4)) return nullptr;
        if (Run("kx::show " + list + " " + names) != "1") return nullptr;
        return Ccp()->GetActiveGrid();
    }
    void Option(int on) { Run("kx::option show_row_numbers " + std::to_string(on)); }
};

TEST_F(PhysRowNumbers, TheNetGridFitsItsRowNumbersAfterALoad) {
    Option(1);
    CGXGridCore* g = Show("slp", "N1");
    ASSERT_NE(g, nullptr);
    // Two pins and the spare rows below them: the numbers run to three digits.
    ASSERT_GE(g->GetRowCount() + 1 - kxphys::kNetFirstRow, 100u);
    EXPECT_EQ(RowNumberWidth(), 3 * GX_CHAR_WIDTH + kRowNumberMargin) << Run("kx::widths ccp");
    EXPECT_EQ(RowNumberWidth(), Fitted(g, kxphys::kNetFirstRow));

    // Several nets at once: the column follows the rows they fill.
    g = Show("slp", "N1 CK");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(RowNumberWidth(), Fitted(g, kxphys::kNetFirstRow));
}

TEST_F(PhysRowNumbers, ThePartGridFitsItsRowNumbersAfterALoad) {
    Option(1);
    CGXGridCore* g = Show("clp", "U1");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(RowNumberWidth(), Fitted(g, kxphys::kPartFirstRow)) << Run("kx::widths ccp");
    EXPECT_EQ(RowNumberWidth(), kMinRowNumberWidth + kRowNumberMargin);

    g = Show("clp", "U1 RN1A RN1B");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(RowNumberWidth(), Fitted(g, kxphys::kPartFirstRow));
}

TEST_F(PhysRowNumbers, WithTheOptionOffColumnZeroIsNotDrawn) {
    Option(0);
    CGXGridCore* g = Show("clp", "U1");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(RowNumberWidth(), 0);
    // A reload does not bring it back; the other columns keep their widths.
    ASSERT_NE(Show("clp", "RN1A"), nullptr);
    const std::vector<int> widths = Widths();
    ASSERT_GT(widths.size(), static_cast<size_t>(G::s_nPNCol));
    EXPECT_EQ(widths.front(), 0);
    EXPECT_GT(widths[static_cast<size_t>(G::s_nPNCol)], 0);
}

TEST_F(PhysRowNumbers, AGridOpenedLaterShowsRowNumbersByTheOptionOfItsTime) {
    // The first window's grids are built with the option off ...
    Option(0);
    ASSERT_NE(Show("slp", "N1"), nullptr);
    EXPECT_EQ(RowNumberWidth(), 0);
    ASSERT_EQ(Run("kx::close"), "1");
    // ... a later window, opened with it on, shows them, and the reverse.
    Option(1);
    ASSERT_TRUE(Open("work.board:sch", 4));
    CGXGridCore* g = Show("slp", "N1");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(RowNumberWidth(), Fitted(g, kxphys::kNetFirstRow));
    ASSERT_EQ(Run("kx::close"), "1");
    Option(0);
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_NE(Show("clp", "U1"), nullptr);
    EXPECT_EQ(RowNumberWidth(), 0);
}

TEST_F(PhysRowNumbers, TheWidthQueryNeedsTheConnectivityPane) {
    ASSERT_NE(Show("clp", "U1"), nullptr);
    EXPECT_EQ(Run("kx::widths slp").rfind("error", 0), 0u);
    EXPECT_EQ(Run("kx::widths").rfind("error", 0), 0u);
}

} // namespace
