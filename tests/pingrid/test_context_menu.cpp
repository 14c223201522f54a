// Right-button menus: the column chooser, the pin menu and the implicit power pin's menu.
#include "PinGridTestSupport.h"

#include "afx/afxanswer.h"
#include "afx/afxmenu.h"
#include "afx/afxres.h"

#include <cstdlib>

namespace {

using G = CKXInstanceDetailsGridWnd;

ROWCOL C(int col) {
    return static_cast<ROWCOL>(col);
}

class ContextMenu : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        main.CreateEx(0, "MAIN", "main", 0, CRect(0, 0, 10, 10), nullptr, 0);
        AfxSetMainWnd(&main);
        AfxAddMenuResource(nullptr, 402,
                           {{0, MF_POPUP, 0, "Pin"},
                            {1, MF_STRING, 35264, "Delete"},
                            {1, MF_STRING, 35566, "Swap Pins"},
                            {1, MF_STRING, 35555, "Comment"}});
        CAfxAnswerQueue::Get().Reset();
        unsetenv("KX_ALLOW_SWAP_PINS");
        builder.symbol("PART").port("A").port("B");
        builder.schematic("top").instance("U1", "PART", "U7").connect("U1", "A", "N1");
        Init();
        ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    }
    void TearDown() override {
        unsetenv("KX_ALLOW_SWAP_PINS");
        CAfxAnswerQueue::Get().Reset();
        AfxRemoveModuleResources(nullptr);
        AfxSetMainWnd(nullptr);
        main.DestroyWindow();
    }
    BOOL Click(ROWCOL row, int col) {
        const CRect rect = grid->CalcRectFromRowCol(row, C(col));
        return grid->OnRButtonClickedRowCol(row, C(col), 0, rect.CenterPoint());
    }
    CString LastMenuIds() {
        const auto& log = CAfxAnswerQueue::Get().GetLog();
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->kind == AfxAnswerRecord::Menu) return it->text;
        return CString();
    }
    bool MainGot(UINT command) {
        for (const auto& r : main.m_received)
            if (r.message == WM_COMMAND && LOWORD(r.wParam) == command) return true;
        return false;
    }
    CMessageRecorderWnd main;
};

TEST_F(ContextMenu, ColumnChooserHidesAColumnInEveryPinGrid) {
    G second;
    second.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 101);
    second.InitializeGrid(nullptr, design, design, 0);
    ASSERT_GT(second.GetColWidth(C(G::m_nColPinType)), 0);

    const UINT pinTypeCommand = 2024 + static_cast<UINT>(G::m_nColPinType) - 1;
    CAfxAnswerQueue::Get().PushMenu(pinTypeCommand);
    EXPECT_TRUE(Click(PIN_CAPTION_ROW, G::m_nColSignal));
    // One instance: "Instance" and "Ref Des" are greyed, so not offered.
    const CString offered = LastMenuIds();
    EXPECT_EQ(offered.Find("2024"), -1) << offered.GetString();
    EXPECT_EQ(offered.Find("2025"), -1) << offered.GetString();
    EXPECT_NE(offered.Find("2026"), -1) << offered.GetString();
    EXPECT_EQ(G::m_arrColumnInfo[static_cast<std::size_t>(G::m_nColPinType)]->m_bShown, 0);
    EXPECT_EQ(second.GetColWidth(C(G::m_nColPinType)), 0);

    // Chosen again, it comes back; a dismissed menu changes nothing.
    CAfxAnswerQueue::Get().PushMenu(pinTypeCommand);
    Click(PIN_CAPTION_ROW, G::m_nColSignal);
    EXPECT_EQ(G::m_arrColumnInfo[static_cast<std::size_t>(G::m_nColPinType)]->m_bShown, 1);
    Click(PIN_CAPTION_ROW, G::m_nColSignal);
    EXPECT_EQ(G::m_arrColumnInfo[static_cast<std::size_t>(G::m_nColPinType)]->m_bShown, 1);
}

TEST_F(ContextMenu, SpacerRowsShowNothing) {
    CAfxAnswerQueue::Get().PushMenu(35264);
    EXPECT_TRUE(Click(3, G::m_nColSignal));
    EXPECT_TRUE(Click(5, G::m_nColSignal));
    EXPECT_EQ(CAfxAnswerQueue::Get().GetPendingCount(), 1);
}

TEST_F(ContextMenu, SwapPinsOnlyWhenAllowed) {
    const ROWCOL a = Row("A");
    CAfxAnswerQueue::Get().PushMenu(35264);
    EXPECT_TRUE(Click(a, G::m_nColSignal));
    EXPECT_EQ(LastMenuIds().Find("35566"), -1) << LastMenuIds().GetString();
    EXPECT_TRUE(MainGot(35264));
    EXPECT_TRUE(grid->m_excludedCommands.empty());

    setenv("KX_ALLOW_SWAP_PINS", "", 1);
    CAfxAnswerQueue::Get().PushMenu(35566);
    Click(a, G::m_nColSignal);
    EXPECT_TRUE(MainGot(35566));
}

TEST_F(ContextMenu, ImplicitPowerPinSignalOffersReset) {
    const ROWCOL a = Row("A");
    CGXStyle implicit;
    implicit.SetUserAttribute(static_cast<WORD>(IDS_UA_IMPLICIT_POWER_PIN), "1");
    grid->GetParam()->SetLockReadOnly(FALSE);
    grid->SetStyleRange(CGXRange(a, C(G::m_nColPinName)), implicit);
    CAfxAnswerQueue::Get().PushMenu(35264);
    EXPECT_TRUE(Click(a, G::m_nColSignal));
    // The whole menu (swap pins included) goes to the main window.
    EXPECT_NE(LastMenuIds().Find("35566"), -1);
    EXPECT_TRUE(MainGot(35264));
}

} // namespace
