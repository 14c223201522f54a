// The physical part grid's smaller commands: copy, cross-selection, selection by key,
// can-paste judges, the caption-row menu and the column layout broadcast.
#include "PhysGridTestSupport.h"

#include "kxclipboard/CKXImpClipBoard.h"

namespace {

TEST_F(PhysGridTest, CopyEchoesThePinsAndTheHostCopiesTheCells) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    Select(g, {Row(g, "U1", "1"), Row(g, "U1", "2")});
    Echoes();
    g->OnEditCopy();
    const std::vector<std::string> echoes = Echoes();
    ASSERT_FALSE(echoes.empty());
    EXPECT_EQ(echoes[0], "selectWindow ccp; copy pin [list D<0> 1] [list D<1> 2] \"Pin Number\"");
    // A copy from a header row echoes nothing.
    g->SetCurrentCell(kxphys::kPartCaptionRow, 2);
    g->OnEditCopy();
    EXPECT_TRUE(Echoes().empty());
}

TEST_F(PhysGridTest, KeysSelectRowsByNumberOrName) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    CStringArray keys;
    keys.Add("D<2>:3");
    keys.Add("OUT");
    g->SelectRowsByKey(&keys, "");
    CRowColArray rows;
    g->GetSelectedRows(rows, FALSE, FALSE);
    ASSERT_EQ(rows.GetSize(), 2);
    EXPECT_EQ(rows[0], Row(g, "U1", "3"));
    EXPECT_EQ(rows[1], Row(g, "U1", "6"));
    CStringArray none;
    g->SelectRowsByKey(&none, "");
    g->GetSelectedRows(rows, FALSE, FALSE);
    EXPECT_EQ(rows.GetSize(), 7);
}

TEST_F(PhysGridTest, OnlyTheModelColumnTakesPastedModels) {
    G* g = ShowParts({"U1"});
    ASSERT_NE(g, nullptr);
    g->SetCurrentCell(Row(g, "U1", "1"), static_cast<ROWCOL>(G::s_nPNCol));
    EXPECT_FALSE(G::CanPasteHere(4));
    g->SetCurrentCell(Row(g, "U1", "1"), static_cast<ROWCOL>(G::s_nSignalModelCol));
    EXPECT_TRUE(G::CanPasteHere(4));
    EXPECT_FALSE(G::CanPasteHere(1));
    EXPECT_FALSE(G::CanPasteNever(4));
    EXPECT_FALSE(g->PasteFromClipboardViewer(1, 0));
}

TEST_F(PhysGridTest, TheCaptionMenuHidesAColumnInEveryPartGrid) {
    G* g = ShowParts({"U1"});
    G* group = ShowParts({"U1", "RN1A"});
    ASSERT_NE(g, nullptr);
    ASSERT_NE(group, nullptr);
    const ROWCOL typeCol = static_cast<ROWCOL>(G::s_nPinTypeCol);
    ASSERT_GT(g->GetColWidth(typeCol), 0);
    AfxGetAnswerQueue().PushMenu(kxphys::ID_COLUMN_CHOOSER_FIRST + static_cast<UINT>(G::s_nPinTypeCol) - 1);
    EXPECT_TRUE(g->OnRButtonClickedRowCol(kxphys::kPartCaptionRow, typeCol, 0, CPoint(1, 1)));
    EXPECT_EQ(g->GetColWidth(typeCol), 0);
    EXPECT_EQ(group->GetColWidth(typeCol), 0);
    // Shown again for the other tests of the process.
    G::Columns().At(static_cast<int>(typeCol))->m_bShown = 1;
}

} // namespace
