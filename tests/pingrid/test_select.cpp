// The property editor, the design's selection, the pin editor and their enable tests.
#include "PinGridTestSupport.h"

#include "kxcommon/KXHiliteObject.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"

namespace {

using G = CKXInstanceDetailsGridWnd;

ROWCOL C(int col) {
    return static_cast<ROWCOL>(col);
}

class Select : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        listener.m_textParams[MSG_SELECT_IN_DESIGN] = 'w';
        listener.CreateEx(0, "LISTEN", "listen", 0, CRect(0, 0, 10, 10), nullptr, 0);
        if (IKXMessageServer* server = GetKXMsgSrvr()) {
            server->RegisterWindow(MSG_SELECT_IN_DESIGN, listener.GetSafeHwnd());
            server->RegisterWindow(MSG_EDIT_PIN, listener.GetSafeHwnd());
        }
        builder.symbol("PART").port("A").bus("D", 1, 0);
        builder.schematic("top")
            .instance("U1", "PART", "U7")
            .prop("@U1", "PHYS_PACKAGE", "SO8")
            .pinNumber("U1", "A", "3")
            .pinNumber("U1", "D<1>", "4")
            .pinNumber("U1", "D<0>", "5");
        Init();
        ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    }
    void TearDown() override {
        if (IKXMessageServer* server = GetKXMsgSrvr()) server->UnregisterWindow(listener.GetSafeHwnd());
        listener.DestroyWindow();
    }
    size_t Count(UINT message) {
        size_t n = 0;
        for (const auto& r : listener.m_received)
            n += r.message == message;
        return n;
    }
    CMessageRecorderWnd listener;
};

TEST_F(Select, ReadOnlyPinNameSelectsThePinInTheDesign) {
    const ROWCOL a = Row("A");
    ASSERT_TRUE(grid->IsCellReadOnly(a, C(G::m_nColPinName)));
    grid->ShowPropertiesOfCell(a, C(G::m_nColSignal));
    grid->ShowPropertiesOfCell(4, C(G::m_nColPinName));
    EXPECT_EQ(Count(MSG_SELECT_IN_DESIGN), 0u);
    grid->m_bColumnMode = 1;
    grid->ShowPropertiesOfCell(a, C(G::m_nColPinName));
    EXPECT_EQ(Count(MSG_SELECT_IN_DESIGN), 0u);
    grid->m_bColumnMode = 0;
    grid->ShowPropertiesOfCell(a, C(G::m_nColPinName));
    const auto texts = listener.TextsOf(MSG_SELECT_IN_DESIGN);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], Instance("U1").instTerm("A").spath());
}

TEST_F(Select, ShownNamesAndThePinEditor) {
    CString names = "stale";
    grid->GetShownObjectNames(names);
    EXPECT_EQ(names, "U1");

    grid->SetCurrentCell(Row("A"), C(G::m_nColPinName));
    grid->EditPin(TRUE);
    ASSERT_EQ(Count(MSG_EDIT_PIN), 1u);
    for (const auto& r : listener.m_received)
        if (r.message == MSG_EDIT_PIN) {
            EXPECT_EQ(r.lParam, static_cast<LPARAM>((1u << 16) | 1u));
        }
    // A header row has no pin: nothing.
    grid->SetCurrentCell(4, C(G::m_nColPinName));
    grid->EditPin(FALSE);
    EXPECT_EQ(Count(MSG_EDIT_PIN), 1u);
}

TEST_F(Select, EnableTestsOfEditPinAndAssignModel) {
    const ROWCOL a = Row("A"), d = Row("D<1..0>");
    grid->SetCurrentCell(a, C(G::m_nColPinName));
    EXPECT_EQ(grid->CanEditPin(),
              Instance("U1").physicalPackageName() && *Instance("U1").physicalPackageName());
    EXPECT_TRUE(grid->CanAssignModel());
    // A vector row: its bits differ.
    grid->SetCurrentCell(d, C(G::m_nColPinName));
    EXPECT_FALSE(grid->CanEditPin());
    EXPECT_FALSE(grid->CanAssignModel());
    // A header row.
    grid->SetCurrentCell(4, C(G::m_nColPinName));
    EXPECT_FALSE(grid->CanEditPin());
    EXPECT_FALSE(grid->CanAssignModel());
    // A pin-less pair row still takes a model.
    grid->GetParam()->SetLockReadOnly(FALSE);
    grid->SetStyleRange(CGXRange(a, C(G::m_nColPinName)),
                        CGXStyle()
                            .SetUserAttribute(static_cast<WORD>(IDS_UA_DIFFPAIR_ROW), 1)
                            .SetUserAttribute(static_cast<WORD>(IDS_UA_INSTTERM_ID), ""));
    grid->SetCurrentCell(a, C(G::m_nColPinName));
    EXPECT_TRUE(grid->CanAssignModel());
    EXPECT_FALSE(grid->CanEditPin());
}

} // namespace

namespace {

COLORREF Interior(G* grid, ROWCOL row) {
    CGXStyle style;
    grid->GetStyleRowCol(row, 0, style, gxCopy, -1);
    return style.GetIncludeInterior() ? style.GetInterior().GetColor() : RGB(1, 2, 3);
}

TEST_F(Select, HighlightModeThreeMovesThePaint) {
    const ROWCOL a = Row("A"), d = Row("D<1..0>");
    CKXHiliteObject hilite(true);
    hilite.SetMode(3);
    hilite.SetColor(0, RGB(255, 255, 255));
    hilite.SetColor(1, RGB(255, 0, 0));
    hilite.SetObject(Instance("U1").instTerm("A"), -1, -1);
    grid->HighlightObject(&hilite);
    EXPECT_EQ(Interior(grid.get(), a), RGB(255, 0, 0));
    EXPECT_EQ(grid->m_nLastHighlightRow, a);
    ROWCOL r = 0, c = 0;
    ASSERT_TRUE(grid->GetCurrentCell(r, c));
    EXPECT_EQ(r, a);

    // A bit of the vector: its row's range holds the bit; the row painted before gets its colour back.
    hilite.SetObject(Instance("U1").instTerm("D").bitContext(0), 0, 0);
    grid->HighlightObject(&hilite);
    EXPECT_EQ(Interior(grid.get(), a), RGB(255, 255, 255));
    EXPECT_EQ(Interior(grid.get(), d), RGB(255, 0, 0));
    EXPECT_EQ(grid->m_nLastHighlightRow, d);

    // While a multi-step edit runs, nothing.
    grid->m_bUndoDisabled = TRUE;
    hilite.SetObject(Instance("U1").instTerm("A"), -1, -1);
    grid->HighlightObject(&hilite);
    EXPECT_EQ(grid->m_nLastHighlightRow, d);
    grid->m_bUndoDisabled = FALSE;
}

} // namespace
