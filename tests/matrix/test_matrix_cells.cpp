// The matrix's cells as the user meets them: the pin a group cell carries, an
// emptied connection cell that takes a pin again, which clipboard contents the
// current cell offers to paste, the comments column's header button, and a
// press on a pin cell's drop-down button that keeps the selected rows.
#include "MatrixTestSupport.h"

#include "grid/KXRowAttrs.h"

#include "kxclipboard/CKXImpClipBoard.h"

namespace {

class MatrixCells : public MatrixTest {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        ASSERT_TRUE(Open());
        ASSERT_NE(OpenView("v", {"@U1", "@J1"}, {"@:N1", "@:FREE", "@:DATA<1>"}), nullptr);
    }
    static int TermCol(int group) { return G::ColumnOf(group, G::Layout().m_nTerminationOffset); }
    WORD ControlOf(ROWCOL row, int col) {
        CGXStyle style;
        Grid()->ComposeStyleRowCol(row, static_cast<ROWCOL>(col), &style);
        return style.GetControl();
    }
    unsigned PinId(const char* instance, const char* pin) {
        return Design().instance(instance).instance()->findInstTerm(pin)->id();
    }
    // The row of a signal whose group cell shows the pin.
    ROWCOL RowOfPin(const char* signal, int group, const char* pin) {
        for (ROWCOL r : Rows(signal))
            if (Cell(r, PinCol(group)) == pin) return r;
        return 0;
    }
    // Makes this grid the one the clipboard asks and puts its current cell.
    void At(ROWCOL row, int col) {
        Grid()->SetCurrentCell(row, static_cast<ROWCOL>(col));
        Grid()->CanPaste();
    }
};

// ------------------------------------------------------------------ the pin of a group cell

TEST_F(MatrixCells, EveryCellOfAGroupReadsThePinOfItsPinNameCell) {
    G* grid = Grid();
    const ROWCOL data = Row("DATA<1>");
    int pinId = 0, bit = 0;
    // J1's P<2> is on DATA<1>: any column of J1's group reads it, the bit included.
    for (int col : {PinCol(1), PnCol(1), TypeCol(1), TermCol(1)}) {
        ASSERT_TRUE(grid->GetCellPinIds(data, col, pinId, bit)) << col;
        EXPECT_EQ(pinId, static_cast<int>(PinId("J1", "P"))) << col;
        EXPECT_EQ(bit, 2) << col;
    }
    // A scalar pin has no bit.
    ASSERT_TRUE(grid->GetCellPinIds(RowOfPin("N1", 1, "T"), PinCol(1), pinId, bit));
    EXPECT_GE(pinId, 0);
    EXPECT_EQ(bit, -1);
    // An empty group cell holds no pin.
    ASSERT_TRUE(grid->GetCellPinIds(Row("FREE"), PinCol(0), pinId, bit));
    EXPECT_EQ(pinId, -1);
    EXPECT_EQ(bit, -1);
    // Signal-side columns, header rows and rows past the end are no group cells.
    EXPECT_FALSE(grid->GetCellPinIds(data, NameCol(), pinId, bit));
    EXPECT_FALSE(grid->GetCellPinIds(kxmatrix::kCaptionRow, PinCol(1), pinId, bit));
    EXPECT_FALSE(grid->GetCellPinIds(grid->GetRowCount() + 1, PinCol(1), pinId, bit));
    EXPECT_EQ(pinId, -1);
}

// A disconnected pin's Termination cell shows nothing, its tool tip included; undo brings both back.
TEST_F(MatrixCells, AnEmptiedTerminationCellLosesItsToolTip) {
    auto tip = [&](ROWCOL row) {
        const CString text = KXRowAttrs(*Grid(), row).Text(static_cast<ROWCOL>(TermCol(1)), IDS_UA_TOOLTIPTEXT);
        return std::string(text.GetString());
    };
    const ROWCOL s = RowOfPin("N1", 1, "S");
    ASSERT_EQ(Cell(s, TermCol(1)), "Series");
    const std::string shown = tip(s);
    ASSERT_FALSE(shown.empty());
    ASSERT_EQ(Run("kx::edit ccp " + std::to_string(s) + " " + std::to_string(PinCol(1)) + " {}"), "1");
    EXPECT_EQ(Cell(s, PinCol(1)), "");
    EXPECT_EQ(Cell(s, TermCol(1)), "");
    EXPECT_EQ(tip(s), "");
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Cell(RowOfPin("N1", 1, "S"), TermCol(1)), "Series");
    EXPECT_EQ(tip(RowOfPin("N1", 1, "S")), shown);
}

TEST_F(MatrixCells, AnEmptiedConnectionCellTakesAPinAgain) {
    const ROWCOL data = Row("DATA<1>");
    ASSERT_EQ(Cell(data, PinCol(1)), "P<2>");
    EXPECT_TRUE(Type(data, PinCol(1), ""));
    EXPECT_FALSE(Connected("J1 P<2> DATA<1>"));
    // All four cells are empty, the pin cells hold the pin combo and no pin, the others are plain.
    for (int col : {PinCol(1), PnCol(1), TypeCol(1), TermCol(1)}) EXPECT_EQ(Cell(data, col), "") << col;
    int pinId = 0, bit = 0;
    ASSERT_TRUE(Grid()->GetCellPinIds(data, PinCol(1), pinId, bit));
    EXPECT_EQ(pinId, -1);
    EXPECT_EQ(bit, -1);
    EXPECT_EQ(ControlOf(data, PinCol(1)), static_cast<WORD>(kxmatrix::IDS_CTRL_PIN_COMBO));
    EXPECT_EQ(ControlOf(data, PnCol(1)), static_cast<WORD>(kxmatrix::IDS_CTRL_PIN_COMBO));
    EXPECT_NE(ControlOf(data, TypeCol(1)), static_cast<WORD>(kxmatrix::IDS_CTRL_PIN_COMBO));
    // The emptied cell takes a pin by its number.
    EXPECT_TRUE(Type(data, PnCol(1), "13"));
    EXPECT_TRUE(Connected("J1 P<3> DATA<1>"));
    EXPECT_EQ(Cell(data, PinCol(1)), "P<3>");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Connected("J1 P<2> DATA<1>"));
    EXPECT_EQ(Cell(data, PinCol(1)), "P<2>");
}

// ------------------------------------------------------------------ what the current cell takes

TEST_F(MatrixCells, APasteIsOfferedOnlyForWhatTheCurrentCellTakes) {
    At(kxmatrix::kFilterRow, PinCol(0));
    EXPECT_TRUE(G::CanPasteTypeAtCurrentCell(KX_CLIP_TEXT_OBJECTS));
    EXPECT_TRUE(G::CanPasteTypeAtCurrentCell(KX_CLIP_PLAIN_TEXT));
    EXPECT_FALSE(G::CanPasteTypeAtCurrentCell(KX_CLIP_TERMINATIONS));
    // Signal names are read-only: nothing goes there.
    At(Row("N1"), NameCol());
    for (int type : {KX_CLIP_TEXT_OBJECTS, KX_CLIP_PLAIN_TEXT, KX_CLIP_TERMINATIONS, KX_CLIP_PUPD_GROUPS})
        EXPECT_FALSE(G::CanPasteTypeAtCurrentCell(type)) << type;
    // A pin cell takes text, but not copied components.
    At(Row("FREE"), PinCol(1));
    EXPECT_TRUE(G::CanPasteTypeAtCurrentCell(KX_CLIP_TEXT_OBJECTS));
    EXPECT_FALSE(G::CanPasteTypeAtCurrentCell(KX_CLIP_NONE));
    // A termination cell takes copied terminations only.
    At(RowOfPin("N1", 1, "T"), TermCol(1));
    EXPECT_FALSE(G::CanPasteTypeAtCurrentCell(KX_CLIP_TEXT_OBJECTS));
    EXPECT_EQ(G::CanPasteTypeAtCurrentCell(KX_CLIP_TERMINATIONS), Grid()->CanAddTermination());
    // The PUPD column copied pull-up/pull-down groups only.
    At(Row("FREE"), G::Layout().m_nPupdCol);
    EXPECT_FALSE(G::CanPasteTypeAtCurrentCell(KX_CLIP_TEXT_OBJECTS));
    EXPECT_EQ(G::CanPasteTypeAtCurrentCell(KX_CLIP_PUPD_GROUPS), Grid()->CanAddPupd());
}

TEST_F(MatrixCells, APasteSpecialNeedsAPinForATerminationAndTextObjectsForAPinCell) {
    At(RowOfPin("N1", 1, "T"), TermCol(1));
    EXPECT_TRUE(G::CanPastePinAtCurrentCell(KX_CLIP_TERMINATIONS));
    EXPECT_FALSE(G::CanPastePinAtCurrentCell(KX_CLIP_PUPD_GROUPS));
    At(Row("FREE"), TermCol(1)); // the row shows no pin of J1
    EXPECT_FALSE(G::CanPastePinAtCurrentCell(KX_CLIP_TERMINATIONS));
    At(Row("FREE"), PinCol(1));
    EXPECT_TRUE(G::CanPastePinAtCurrentCell(KX_CLIP_TEXT_OBJECTS));
    EXPECT_FALSE(G::CanPastePinAtCurrentCell(KX_CLIP_PLAIN_TEXT));
    At(Row("FREE"), G::Layout().m_nPupdCol);
    EXPECT_TRUE(G::CanPastePinAtCurrentCell(KX_CLIP_PUPD_GROUPS));
    At(kxmatrix::kFilterRow, PinCol(1)); // no special paste into the filter row
    EXPECT_FALSE(G::CanPastePinAtCurrentCell(KX_CLIP_TEXT_OBJECTS));
    At(Row("FREE"), G::Layout().m_nPhysNetNameCol);
    EXPECT_FALSE(G::CanPastePinAtCurrentCell(KX_CLIP_TEXT_OBJECTS));
}

// ------------------------------------------------------------------ header and clicks

TEST_F(MatrixCells, ACommentsColumnShowsItsHeaderButtonAndKeepsItsCaption) {
    Run("kx::answer dialog CKXCustomizeDialog ok add {COMMENTS|Comments|8s|USER|SHOW}");
    ASSERT_EQ(Run("kx::grid ccp 1"), "1");
    ASSERT_EQ(Run("kx::menu 35130"), "1");
    std::vector<int> comments;
    for (ROWCOL c = 1; c <= Grid()->GetColCount(); ++c) {
        CGXStyle style;
        Grid()->ComposeStyleRowCol(kxmatrix::kCaptionRow, c, &style);
        if (style.GetUserAttributeText(static_cast<WORD>(IDS_UA_TOOLTIPTEXT)) == "Comments")
            comments.push_back(static_cast<int>(c));
    }
    // One in each group, as a button; the other captions stay text.
    ASSERT_EQ(comments.size(), static_cast<std::size_t>(Grid()->GroupCount()));
    for (int col : comments) {
        EXPECT_EQ(Cell(kxmatrix::kCaptionRow, col), kxmatrix::kCommentsCaptionBitmap);
        EXPECT_EQ(ControlOf(kxmatrix::kCaptionRow, col), static_cast<WORD>(kxmatrix::IDS_CTRL_COMMENTS_HEADER));
    }
    EXPECT_EQ(Cell(kxmatrix::kCaptionRow, NameCol()),
              G::Layout().m_arrSignalColumns[static_cast<std::size_t>(NameCol())]->m_strCaption);
    EXPECT_EQ(ControlOf(kxmatrix::kCaptionRow, NameCol()), static_cast<WORD>(kxmatrix::IDS_CTRL_LIST_TYPE_HEADER));
    EXPECT_EQ(ControlOf(kxmatrix::kCaptionRow, PinCol(0)), static_cast<WORD>(kxmatrix::IDS_CTRL_LIST_TYPE_HEADER));
    // The pins are still where they were.
    EXPECT_EQ(Pins("N1", 1), (std::vector<std::string>{"S", "T"}));
}

TEST_F(MatrixCells, APressOnAPinCellsDropDownButtonKeepsTheSelectedRows) {
    G* grid = Grid();
    const ROWCOL row = Row("FREE");
    const ROWCOL col = static_cast<ROWCOL>(PinCol(1));
    grid->SetCurrentCell(row, col);
    const CRect cell = grid->CalcRectFromRowCol(row, col);
    BOOL keep = FALSE;
    grid->OnCellControlClick(CPoint(cell.right - 2, cell.top + 2), &keep);
    EXPECT_TRUE(keep);
    // Into the text part of the cell: the click selects as any click does.
    keep = FALSE;
    grid->OnCellControlClick(CPoint(cell.left + 2, cell.top + 2), &keep);
    EXPECT_FALSE(keep);
    // Signal-side cells and header rows never keep the selection.
    for (const auto& [r, c] : {std::pair<ROWCOL, int>{row, G::Layout().m_nPupdCol},
                               std::pair<ROWCOL, int>{kxmatrix::kFilterRow, PinCol(1)}}) {
        const CRect other = grid->CalcRectFromRowCol(r, static_cast<ROWCOL>(c));
        keep = FALSE;
        grid->OnCellControlClick(CPoint(other.right - 2, other.top + 2), &keep);
        EXPECT_FALSE(keep) << r << ":" << c;
    }
    // A kept selection is left kept until the click ends.
    keep = TRUE;
    grid->OnCellControlClick(CPoint(cell.left + 2, cell.top + 2), &keep);
    EXPECT_TRUE(keep);
    // The whole road: the press on the button leaves the selected rows selected.
    grid->SelectRange(CGXRange(Row("N1"), col, row, col), TRUE);
    grid->m_bKeepSelection = FALSE;
    grid->OnLButtonDown(0, CPoint(cell.right - 2, cell.top + 2));
    EXPECT_TRUE(grid->m_bKeepSelection);
    EXPECT_TRUE(grid->IsCellSelected(Row("N1"), col));
    grid->OnLButtonUp(0, CPoint(cell.right - 2, cell.top + 2));
}

} // namespace
