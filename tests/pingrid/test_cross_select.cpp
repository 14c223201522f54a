// The pin grid and the host pointing at the same pins on the example board: the grid's selection
// echoed to the host (the associated-component viewer's menu, the grid taking the hands), and a pin
// the host highlights painted in every cell of its row.
#include "PinGridBoardFixture.h"

#include "grid/KXGlobalMessages.h"
#include "kxcommon/KXHiliteObject.h"
#include "shell/KXTableChildFrm.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

class CrossSelect : public PinGridBoard {
protected:
    std::string SelectCells(ROWCOL top, ROWCOL bottom) {
        const std::string col = std::to_string(G::m_nColSignal);
        return Run("kx::select ccp " + std::to_string(top) + " " + col + " " + std::to_string(bottom) + " " + col);
    }
};

TEST_F(CrossSelect, TheViewerMenuEchoesTheSelectedPinsToTheHost) {
    OpenBoard();
    ASSERT_EQ(SelectCells(PinRow("MCLK"), PinRow("PGOOD")), "1");
    Echoes();
    ASSERT_EQ(Run("kx::menu 35574"), "1");
    EXPECT_EQ(Echoes(), (std::vector<std::string>{"selectObject pin [list U1 MCLK B14] [list U1 PGOOD C10]"}));
}

TEST_F(CrossSelect, NothingIsEchoedWithoutASelectedPin) {
    OpenBoard();
    // The filter row is current: no pin row is selected.
    Grid()->SetSelection(nullptr);
    Grid()->SetCurrentCell(4, static_cast<ROWCOL>(G::m_nColSignal));
    Echoes();
    Grid()->CrossSelectInHost();
    EXPECT_TRUE(Echoes().empty());
}

TEST_F(CrossSelect, HiddenBitRowsAreNotEchoed) {
    OpenBoard();
    ASSERT_EQ(SelectCells(PinRow("DQ<15..0>"), PinRow("DQ<15..0>")), "1");
    Echoes();
    Grid()->CrossSelectInHost();
    const std::vector<std::string> echoes = Echoes();
    ASSERT_EQ(echoes.size(), 1u);
    EXPECT_EQ(echoes[0].rfind("selectObject pin [list U1 DQ<15..0> A1,", 0), 0u) << echoes[0];
}

class Highlight : public PinGridBoard {
protected:
    COLORREF Interior(ROWCOL row, int col) {
        CGXStyle style;
        Grid()->GetStyleRowCol(row, static_cast<ROWCOL>(col), style, gxCopy, -1);
        return style.GetIncludeInterior() ? style.GetInterior().GetColor() : RGB(1, 2, 3);
    }
    // As the host sends it: a request for the connectivity pane (type 8).
    void Send(CKXHiliteObject& hilite) {
        hilite.SetType(8);
        Frame()->SendMessage(g_msgHighlightObject, reinterpret_cast<WPARAM>(&hilite), 0);
    }
    void Point(CKXHiliteObject& hilite, const std::string& pin) {
        const ROWCOL row = PinRow(pin);
        int msb = -1, lsb = -1;
        IInstTerm* term = Grid()->GetRowInstTerm(row, msb, lsb);
        ASSERT_TRUE(term) << pin;
        hilite.SetObject(Grid()->GetRowInstance(row).instTerm(term).cpath(), 0, 0);
    }
    static constexpr COLORREF kNormal = RGB(255, 255, 255);
    static constexpr COLORREF kLit = RGB(255, 255, 0);
};

TEST_F(Highlight, EveryCellOfTheRowShowsThePaintEvenWithItsOwnInterior) {
    OpenBoard();
    const ROWCOL pgood = PinRow("PGOOD");
    // The Signal cell has an interior of its own.
    ASSERT_EQ(Interior(pgood, G::m_nColSignal), kNormal);
    CKXHiliteObject hilite(true);
    hilite.SetMode(3);
    hilite.SetColor(0, kNormal);
    hilite.SetColor(1, kLit);
    Point(hilite, "PGOOD");
    Send(hilite);
    for (int col : {G::m_nColPinName, G::m_nColPinNumber, G::m_nColSignal, G::m_nColTermination, G::m_nColPupd})
        EXPECT_EQ(Interior(pgood, col), kLit) << "column " << col;
    // The next highlight gives the row its normal colour back and paints the new one.
    const ROWCOL mclk = PinRow("MCLK");
    Point(hilite, "MCLK");
    Send(hilite);
    EXPECT_EQ(Interior(pgood, G::m_nColSignal), kNormal);
    EXPECT_EQ(Interior(mclk, G::m_nColSignal), kLit);
    EXPECT_EQ(Interior(mclk, G::m_nColPinName), kLit);
    EXPECT_EQ(Grid()->m_nLastHighlightRow, mclk);
    // The neighbours keep their look.
    EXPECT_NE(Interior(mclk - 1, G::m_nColSignal), kLit);
}

TEST_F(Highlight, AnUnknownObjectPaintsNothing) {
    OpenBoard();
    CKXHiliteObject hilite(true);
    hilite.SetMode(2);
    hilite.SetColor(1, kLit);
    hilite.SetObject(CString("demo.board:sch@U1.NOSUCHPIN"), 0, 0);
    Send(hilite);
    for (ROWCOL r = PIN_FIRST_ROW; r <= Grid()->GetRowCount(); ++r)
        EXPECT_NE(Interior(r, G::m_nColSignal), kLit) << r;
}

} // namespace
