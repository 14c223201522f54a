// Find and replace over the pin-name column.
#include "PinGridTestSupport.h"

#include "afx/afxanswer.h"
#include "kxcontrols/KXFindReplace.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class Find : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        AfxGetAnswerQueue().Reset();
        builder.symbol("PART").port("CLK").port("DIN").port("DOUT");
        builder.schematic("top").instance("U1", "PART", "U7").connect("U1", "CLK", "DOUT");
    }
    void TearDown() override { AfxGetAnswerQueue().Reset(); }
};

TEST_F(Find, OneDialogOverThePinNameColumnInBothModes) {
    Init();
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    CKXFindReplaceDlg* dlg = grid->m_pFindReplaceDlg;
    ASSERT_NE(dlg, nullptr);
    ASSERT_EQ(dlg->GetTargets().size(), 1u);
    const KXFindTarget& target = dlg->GetTargets()[0];
    EXPECT_EQ(target.caption, "Component Connectivity Details");
    EXPECT_EQ(target.nHeaderRow, PIN_CAPTION_ROW);
    EXPECT_EQ(target.nFirstRow, PIN_FIRST_ROW);
    EXPECT_EQ(target.nCol, static_cast<ROWCOL>(G::m_nColPinName));
    EXPECT_EQ(dlg->GetOwner(), grid.get());

    // Find: only pin names are searched ("DOUT" is also a signal of CLK's row).
    AfxGetAnswerQueue().PushDialog("CKXFindReplaceDlg", TRUE, {{"find", "DOUT"}});
    grid->ShowFindReplace(TRUE);
    EXPECT_TRUE(dlg->IsFindMode());
    ROWCOL r = 0, c = 0;
    ASSERT_TRUE(grid->GetCurrentCell(r, c));
    EXPECT_EQ(r, Row("DOUT"));
    EXPECT_EQ(c, static_cast<ROWCOL>(G::m_nColPinName));

    // Replace opens the same dialog; a second set-up registers afresh, still one target.
    AfxGetAnswerQueue().PushDialog("CKXFindReplaceDlg", FALSE);
    grid->ShowFindReplace(FALSE);
    EXPECT_FALSE(dlg->IsFindMode());
    grid->InitializeGrid(nullptr, design, design, 0);
    ASSERT_NE(grid->m_pFindReplaceDlg, nullptr);
    EXPECT_EQ(grid->m_pFindReplaceDlg->GetTargets().size(), 1u);
    EXPECT_EQ(grid->m_arrFindCaptions.GetSize(), 1);
}

TEST_F(Find, TheColumnIsTheOneOfTheSetUp) {
    Init();
    const int saved = G::m_nColPinName; // the set-up's column, whatever an earlier layout left
    G::m_nColPinName = saved + 1; // a later customisation does not move the registration
    EXPECT_EQ(grid->m_pFindReplaceDlg->GetTargets()[0].nCol, static_cast<ROWCOL>(saved));
    G::m_nColPinName = saved;
}

} // namespace
