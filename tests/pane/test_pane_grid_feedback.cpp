// What the pin grid tells the user about work that found nothing: a delete that deleted nothing
// still ends its progress line, and a find that matches no pin says so; a pin folded into its
// closed bus is found all the same.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pingrid/KXInstanceDetailsGridWnd.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

class PaneFeedback : public KXShellFixture {
protected:
    // The progress lines the host kept since the test began.
    std::vector<std::string> ProgressLines() const {
        std::vector<std::string> lines;
        std::istringstream in(Transcript());
        for (std::string line; std::getline(in, line);)
            if (line.rfind("progress: ", 0) == 0) lines.push_back(line);
        return lines;
    }
    CKXInstanceDetailsGridWnd* PinGrid() {
        return dynamic_cast<CKXInstanceDetailsGridWnd*>(Ccp()->GetActiveGrid());
    }
    // The row whose pin-name cell shows name; 0 when none.
    ROWCOL RowOf(const std::string& name) {
        CKXInstanceDetailsGridWnd* grid = PinGrid();
        const ROWCOL col = static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColPinName);
        for (ROWCOL r = 1; grid && r <= grid->GetRowCount(); ++r)
            if (std::string(grid->GetValueRowCol(r, col).GetString()) == name) return r;
        return 0;
    }
    void Find(const std::string& text) {
        Run("selectWindow CCP");
        Run("kx::answer dialog CKXFindReplaceDlg ok find {" + text + "}");
        Run("kx::menu 57636");
    }
};

TEST_F(PaneFeedback, ADeleteThatDeletesNothingStillEndsItsProgressAtItsEnd) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    EXPECT_EQ(Run("deleteConnection pin IN"), "0"); // IN is on no net
    const std::vector<std::string> lines = ProgressLines();
    ASSERT_FALSE(lines.empty()) << Transcript();
    EXPECT_NE(lines.back().find("100%"), std::string::npos) << lines.back();
    EXPECT_EQ(lines.back().find(" 0%"), std::string::npos) << lines.back();
    // A delete that deletes does the same.
    EXPECT_EQ(Run("deleteConnection pin OUT"), "1");
    EXPECT_NE(ProgressLines().back().find("100%"), std::string::npos) << ProgressLines().back();
}

TEST_F(PaneFeedback, AFindThatMatchesNoPinSaysSo) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    Messages();
    Find("NOSUCHPIN");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-421"});
    Find("OUT");
    EXPECT_TRUE(Messages().empty());
    // A cancelled dialog found nothing, but nothing was asked either.
    Run("selectWindow CCP");
    Run("kx::menu 57636");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(PaneFeedback, APinInAClosedBusIsFoundAndShown) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    CKXInstanceDetailsGridWnd* grid = PinGrid();
    ASSERT_NE(grid, nullptr);
    const ROWCOL bit = RowOf("D<2>");
    ASSERT_NE(bit, 0u) << Run("kx::window ccp");
    ASSERT_TRUE(grid->IsRowHidden(bit)); // the bus is closed
    Messages();
    Find("D<2>");
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(grid->IsRowHidden(bit));
    ROWCOL row = 0, col = 0;
    ASSERT_TRUE(grid->GetCurrentCell(row, col));
    EXPECT_EQ(row, bit);
    EXPECT_EQ(col, static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColPinName));
}

// A pin the user filtered away stays away: the find does not undo the filter.
TEST_F(PaneFeedback, AFilteredPinIsNotFound) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    ASSERT_EQ(Run("filterRows pin -col \"Pin Name\" -filter OUT"), "1");
    const ROWCOL in = RowOf("IN");
    ASSERT_NE(in, 0u);
    ASSERT_TRUE(PinGrid()->IsRowHidden(in));
    Messages();
    Find("IN");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-421"});
    EXPECT_TRUE(PinGrid()->IsRowHidden(in));
}

} // namespace
