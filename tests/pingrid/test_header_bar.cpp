// The header bar of the pin grid on the example board, as the user sees and uses it through the host:
// the component texts, the Functions choice, the three boxes and the right-click menu.
#include "PinGridBoardFixture.h"

#include "pingrid/KXInstanceDetailsHeader.h"

#include "afx/afxanswer.h"
#include "kxcommon/KXPartReader.h"

#include <fstream>
#include "pingrid/KXPinGridFunctions.h"

namespace {

using H = CKXInstanceDetailsHeader;

class HeaderBar : public PinGridBoard {
protected:
    void TearDown() override {
        CKXPartReader::SetPartDirectory("");
        AfxGetAnswerQueue().Reset();
        PinGridBoard::TearDown();
    }
    H* Bar() { return Grid() ? Grid()->GetHeader() : nullptr; }
    // The line of one control in kx::header's answer.
    std::string Line(UINT id) {
        std::istringstream in(Run("kx::header ccp"));
        const std::string start = std::to_string(id) + " ";
        for (std::string line; std::getline(in, line);)
            if (line.rfind(start, 0) == 0) return line;
        return "";
    }
    // The pack of the board (RN1A, RN1B: package RN1) with two functions: pin 1 and pin 8.
    void TwoFunctionPack() {
        const std::filesystem::path parts = m_dir / "parts";
        std::filesystem::create_directories(parts);
        std::ofstream(parts / "RPACK4_SOIC8.fgr") << "1,1\n2,8\n";
        CKXPartReader::SetPartDirectory(parts.string().c_str());
    }
};

TEST_F(HeaderBar, NamesTheShownComponent) {
    OpenBoard("U2");
    ASSERT_TRUE(Bar());
    EXPECT_EQ(Bar()->GetInstanceText(), Grid()->PartFunctions().m_strHeaderInstanceText);
    EXPECT_EQ(Line(IDC_HEADER_INSTANCE).substr(0, 10), "9055 text ");
    EXPECT_NE(Line(IDC_HEADER_INSTANCE).find("U2 (SDRAM)"), std::string::npos) << Run("kx::header ccp");
    EXPECT_NE(Line(IDC_HEADER_CELL).find("- U"), std::string::npos) << "the package: " << Run("kx::header ccp");
    // A part with one function: no Functions choice.
    EXPECT_NE(Line(IDC_HEADER_FUNCTIONS).find("hidden"), std::string::npos);
    // Another component shown: the bar follows.
    Run("kx::show clp J1");
    EXPECT_NE(Line(IDC_HEADER_INSTANCE).find("J1"), std::string::npos) << Run("kx::header ccp");
}

TEST_F(HeaderBar, ABlockIsLabelledAsABlock) {
    OpenBoard("PWR1");
    ASSERT_TRUE(Bar());
    EXPECT_EQ(Bar()->GetLabelText(), "Block    : ");
    EXPECT_NE(Line(IDC_HEADER_LABEL).find("Block"), std::string::npos);
    EXPECT_FALSE(Bar()->IsFunctionsComboShown());
}

TEST_F(HeaderBar, TheFunctionChoiceLimitsTheRowsToThatFunction) {
    TwoFunctionPack();
    OpenBoard("RN1A");
    ASSERT_TRUE(Bar());
    EXPECT_EQ(Bar()->GetFunctions(), (std::vector<CString>{"1", "2", "All"}));
    EXPECT_EQ(Bar()->GetSelectedFunction(), "All");
    EXPECT_TRUE(Shows("A"));
    EXPECT_TRUE(Shows("B"));
    EXPECT_EQ(Run("kx::header ccp choose 2"), "1");
    EXPECT_FALSE(Shows("A"));
    EXPECT_TRUE(Shows("B"));
    EXPECT_EQ(Grid()->m_nFunctionFilter, 2);
    EXPECT_EQ(Run("kx::header ccp choose All"), "1");
    EXPECT_TRUE(Shows("A"));
    EXPECT_TRUE(Shows("B"));
    EXPECT_FALSE(Doc()->IsModified()); // a filter is no edit
    EXPECT_EQ(Run("kx::header ccp choose 7"), "error: the header bar's list has no entry \"7\"");
}

// A pattern typed after the choice filters within the function: a row of another function stays hidden.
TEST_F(HeaderBar, APatternFilterKeepsTheChosenFunctionsRowsOnly) {
    TwoFunctionPack();
    OpenBoard("RN1A");
    ASSERT_EQ(Run("kx::header ccp choose 1"), "1");
    ASSERT_FALSE(Shows("B"));
    EXPECT_EQ(Run("filterRows pin -col {Pin Name} -filter *"), "1");
    EXPECT_TRUE(Shows("A"));
    EXPECT_FALSE(Shows("B")) << Run("kx::window ccp");
    EXPECT_EQ(Bar()->GetSelectedFunction(), "1");
    EXPECT_EQ(Run("filterRows pin -col {Pin Name} -filter B"), "1");
    EXPECT_FALSE(Shows("A"));
    EXPECT_FALSE(Shows("B"));
}

TEST_F(HeaderBar, TheBoxesAskTheHostAndEveryGridFollows) {
    OpenBoard();
    ASSERT_TRUE(Bar());
    EXPECT_EQ(Bar()->IsShowVectors(), 1);
    EXPECT_EQ(Bar()->IsShowDiffPairs(), 1);
    ASSERT_TRUE(Shows("DQ<15..0>"));
    // Show Vectors off: the host gets the pane's word and the rows show the bits.
    EXPECT_EQ(Run("kx::header ccp click 9096"), "1");
    EXPECT_EQ(Grid()->GetBusOption(), 0);
    EXPECT_TRUE(Shows("DQ<7>"));
    EXPECT_EQ(Line(IDC_HEADER_SHOW_VECTORS).substr(0, 11), "9096 box 0 ");
    // The word typed at the host moves the box back.
    EXPECT_EQ(Run("setViewOption pin bus_on"), "1");
    EXPECT_EQ(Bar()->IsShowVectors(), 1);
    EXPECT_TRUE(Shows("DQ<15..0>"));
    // Show Differential Pairs off: the legs are shown.
    EXPECT_EQ(Run("kx::header ccp click 9095"), "1");
    EXPECT_EQ(Grid()->GetDiffPairOption(), 0);
    EXPECT_TRUE(Shows("CLK_P"));
    EXPECT_EQ(Run("kx::header ccp click 9095"), "1");
    EXPECT_TRUE(Shows("CLK"));
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Run("kx::header ccp click 9055"), "error: the header bar has no box 9055 to click");
}

TEST_F(HeaderBar, ExpandAllPinsExpandsEveryBus) {
    OpenBoard();
    ASSERT_TRUE(Bar());
    ASSERT_FALSE(Shows("DQ<7>"));
    EXPECT_EQ(Run("kx::header ccp click 9079"), "1");
    EXPECT_EQ(Bar()->IsExpandAll(), 1);
    EXPECT_TRUE(Grid()->m_bExpandAll);
    EXPECT_EQ(Run("kx::header ccp click 9079"), "1");
    EXPECT_EQ(Bar()->IsExpandAll(), 0);
    EXPECT_FALSE(Grid()->m_bExpandAll);
}

TEST_F(HeaderBar, TheMenuTogglesOneOptionAndADismissedMenuKeepsBoth) {
    OpenBoard();
    ASSERT_TRUE(Bar());
    Echoes();
    // Dismissed: the options go to the host as they are, and nothing changes.
    EXPECT_EQ(Run("kx::header ccp right"), "1");
    EXPECT_EQ(Grid()->GetBusOption(), 1);
    EXPECT_EQ(Grid()->GetDiffPairOption(), 1);
    // Show Vectors chosen while vectors are shown: they go off, the pairs stay on.
    Run("kx::answer menu * " + std::to_string(ID_HEADER_SHOW_VECTORS));
    EXPECT_EQ(Run("kx::header ccp right"), "1");
    EXPECT_EQ(Grid()->GetBusOption(), 0);
    EXPECT_EQ(Grid()->GetDiffPairOption(), 1);
    EXPECT_EQ(Bar()->IsShowVectors(), 0);
    Run("kx::answer menu * " + std::to_string(ID_HEADER_SHOW_DIFF_PAIRS));
    EXPECT_EQ(Run("kx::header ccp right"), "1");
    EXPECT_EQ(Grid()->GetDiffPairOption(), 0);
    EXPECT_EQ(Grid()->GetBusOption(), 0);
}

TEST_F(HeaderBar, FunctionsGoBelowTheTextsWhenTheBarIsNarrow) {
    H::Extents e;
    e.label = CSize(40, 13);
    e.threeBlanks = CSize(9, 13);
    e.instance = CSize(80, 13);
    e.cell = CSize(50, 13);
    e.twoBlanks = CSize(6, 13);
    e.expandAll = CSize(100, 15);
    e.showDiffPairs = CSize(130, 15);
    e.showVectors = CSize(90, 15);
    e.functionsLabel = CSize(50, 13);
    e.functions = CSize(70, 20);
    e.barWidth = 1000;
    H::Placement wide = H::LayOut(e);
    // First line: label at the margin, widened by two triple blanks; instance after the label's text.
    EXPECT_EQ(wide.label, CRect(10, 3, 10 + 40 + 18, 16));
    EXPECT_EQ(wide.instance.left, 50);
    EXPECT_EQ(wide.cell.left, 40 + 80 + 6 + 10);
    // Second line: the boxes side by side.
    EXPECT_EQ(wide.expandAll.TopLeft(), CPoint(10, 24));
    EXPECT_EQ(wide.showDiffPairs.left, 120);
    EXPECT_EQ(wide.showVectors.left, 260);
    // Wide: the choice ends the first line.
    const int lineEnd = 40 + 80 + 6 + 50 + 18;
    EXPECT_EQ(wide.functionsLabel.TopLeft(), CPoint(lineEnd + 15, 3));
    EXPECT_EQ(wide.functions.TopLeft(), CPoint(lineEnd + 15 + 50, 1));
    // Narrow: after Expand All Pins on the second line.
    e.barWidth = 70 + 50 + lineEnd + 10;
    H::Placement narrow = H::LayOut(e);
    EXPECT_EQ(narrow.functionsLabel.TopLeft(), CPoint(115, 24));
    EXPECT_EQ(narrow.functions.TopLeft(), CPoint(115 + 50 + 3, 24));
}

} // namespace
