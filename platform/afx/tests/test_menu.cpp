#include "afx/afx.h"

#include <gtest/gtest.h>

namespace {
HINSTANCE ModuleHandle(int n) {
    return reinterpret_cast<HINSTANCE>(static_cast<UINT_PTR>(0x700000 + n * 16));
}

class CMenuOwner : public CFrameWnd {
public:
    BOOL enable20 = TRUE;
    int invoked = 0;
    int subUpdates = 0;

protected:
    void On10() { invoked = 10; }
    void On20() { invoked = 20; }
    void OnUpdate20(CCmdUI* p) { p->Enable(enable20); }
    void OnUpdate30(CCmdUI* p) {
        if (p->m_pSubMenu) {
            ++subUpdates;
            p->m_pSubMenu->AppendMenu(MF_STRING, 31, "added");
        }
    }
    void OnUpdate10(CCmdUI* p) {
        p->SetText("Renamed");
        p->SetCheck(1);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMenuOwner, CFrameWnd)
ON_COMMAND(10, &CMenuOwner::On10)
ON_COMMAND(20, &CMenuOwner::On20)
ON_UPDATE_COMMAND_UI(10, &CMenuOwner::OnUpdate10)
ON_UPDATE_COMMAND_UI(20, &CMenuOwner::OnUpdate20)
ON_UPDATE_COMMAND_UI(30, &CMenuOwner::OnUpdate30)
END_MESSAGE_MAP()

class CMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxGetAnswerQueue().Reset();
        state.hModule = nullptr;
        ASSERT_TRUE(AfxInitExtensionModule(state, ModuleHandle(1)));
        AfxAddMenuResource(ModuleHandle(1), 8881,
                           {{0, MF_POPUP, 0, "Popup"},
                            {1, MF_STRING, 10, "&Ten"},
                            {1, MF_SEPARATOR, 0, nullptr},
                            {1, MF_STRING, 20, "Twenty"},
                            {1, MF_POPUP, 0, "Sub"},
                            {2, MF_STRING, 30, "Thirty"},
                            {0, MF_STRING | MF_GRAYED, 40, "Forty"}});
        AfxAddStringTable(ModuleHandle(1), {{59401, "KXFormat"}});
    }
    void TearDown() override {
        AfxTermExtensionModule(state, TRUE);
        AfxRemoveModuleResources(ModuleHandle(1));
        AfxGetAnswerQueue().Reset();
        EXPECT_EQ(AfxGetMenuCount(), 0);
        EXPECT_EQ(AfxGetWindowCount(), 0);
    }
    AFX_EXTENSION_MODULE state;
};
} // namespace

TEST_F(CMenuTest, ResourcesAreFoundOnlyThroughTheChain) {
    CMenu m;
    CString s;
    EXPECT_FALSE(m.LoadMenu(8881)); // the module is not in the chain yet
    EXPECT_FALSE(s.LoadString(59401));
    new CDynLinkLibrary(state);
    EXPECT_TRUE(m.LoadMenu(8881));
    EXPECT_TRUE(s.LoadString(59401));
    EXPECT_EQ(s, "KXFormat");
    AfxTermExtensionModule(state, FALSE);
    EXPECT_FALSE(s.LoadString(59401));
    AfxAddString(nullptr, 1234, "global");
    EXPECT_TRUE(s.LoadString(1234));
    AfxRemoveModuleResources(nullptr);
}

TEST_F(CMenuTest, LoadedMenuStructureAndEditing) {
    new CDynLinkLibrary(state);
    CMenu bar;
    ASSERT_TRUE(bar.LoadMenu(8881));
    EXPECT_EQ(bar.GetMenuItemCount(), 2);
    CMenu* pop = bar.GetSubMenu(0);
    ASSERT_NE(pop, nullptr);
    EXPECT_EQ(pop->GetMenuItemCount(), 4);
    EXPECT_EQ(pop->GetMenuItemID(0), 10u);
    EXPECT_EQ(pop->GetMenuItemID(1), 0u);
    EXPECT_EQ(pop->GetMenuItemID(3), static_cast<UINT>(-1));
    CString s;
    EXPECT_EQ(bar.GetMenuString(30, s, MF_BYCOMMAND), 6); // found in a sub-menu
    EXPECT_EQ(s, "Thirty");
    EXPECT_EQ(bar.GetMenuState(40, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
    EXPECT_EQ(bar.GetMenuState(99, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_TRUE(pop->RemoveMenu(20, MF_BYCOMMAND));
    EXPECT_FALSE(pop->RemoveMenu(20, MF_BYCOMMAND));
    EXPECT_TRUE(pop->ModifyMenu(0, MF_BYPOSITION | MF_STRING, 11, "Eleven"));
    EXPECT_EQ(pop->GetMenuItemID(0), 11u);
    EXPECT_EQ(pop->CheckMenuItem(11, MF_CHECKED), 0u);
    EXPECT_EQ(pop->CheckMenuItem(11, MF_UNCHECKED), static_cast<UINT>(MF_CHECKED));
    EXPECT_TRUE(pop->DeleteMenu(2, MF_BYPOSITION)); // the sub-menu goes with its item
    EXPECT_EQ(bar.Dump(), ">Popup\n  Eleven\t11\n  ---\n~Forty\t40\n");
}

TEST_F(CMenuTest, TrackPopupMenuReturnsScriptedChoiceAmongEnabledItems) {
    new CDynLinkLibrary(state);
    CMenu bar;
    ASSERT_TRUE(bar.LoadMenu(8881));
    CMenu* pop = bar.GetSubMenu(0);
    auto* owner = new CMenuOwner;
    ASSERT_TRUE(owner->Create(nullptr, "owner"));
    owner->enable20 = FALSE;
    AfxGetAnswerQueue().PushMenu(20); // disabled by its update handler: not chosen
    EXPECT_EQ(pop->TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, 5, 6, owner), 0);
    EXPECT_EQ(CMenu::GetLastTrackPoint(), CPoint(5, 6));
    // The update handlers ran: text and check of 10, the sub-menu got its added item.
    CString s;
    pop->GetMenuString(10, s, MF_BYCOMMAND);
    EXPECT_EQ(s, "Renamed");
    EXPECT_EQ(pop->GetMenuState(10, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(owner->subUpdates, 1);
    owner->enable20 = TRUE;
    AfxGetAnswerQueue().PushMenu(31);
    EXPECT_EQ(pop->TrackPopupMenu(TPM_RETURNCMD, 0, 0, owner), 31);
    EXPECT_EQ(owner->invoked, 0);
    // Without TPM_RETURNCMD the choice reaches the owner as a command.
    AfxGetAnswerQueue().PushMenu(10);
    EXPECT_TRUE(pop->TrackPopupMenu(TPM_RIGHTBUTTON, 0, 0, owner));
    EXPECT_EQ(owner->invoked, 10);
    EXPECT_EQ(pop->TrackPopupMenu(TPM_RETURNCMD, 0, 0, owner), 0); // unanswered
    EXPECT_EQ(AfxGetAnswerQueue().GetLogLines().back(), "menu: 0 (unanswered)");
    owner->DestroyWindow();
}

TEST_F(CMenuTest, PopupMenusBuiltInCode) {
    CMenu m;
    ASSERT_TRUE(m.CreatePopupMenu());
    CMenu sub;
    ASSERT_TRUE(sub.CreatePopupMenu());
    sub.AppendMenu(MF_STRING, 2, "Two");
    EXPECT_TRUE(m.AppendMenu(MF_STRING | MF_CHECKED, 2024, "Show Vectors"));
    EXPECT_TRUE(m.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), "More"));
    EXPECT_FALSE(m.AppendMenu(MF_POPUP, 12345, "bad handle"));
    EXPECT_TRUE(m.InsertMenu(0, MF_BYPOSITION | MF_STRING, 1, "One"));
    EXPECT_EQ(m.GetCommandIds(), (std::vector<UINT>{1, 2024, 2}));
    EXPECT_EQ(m.EnableMenuItem(2, MF_BYCOMMAND | MF_GRAYED), 0u);
    EXPECT_EQ(m.GetCommandIds(), (std::vector<UINT>{1, 2024}));
    AfxGetAnswerQueue().PushMenu(2024);
    EXPECT_EQ(m.TrackPopupMenu(TPM_RETURNCMD, 0, 0, nullptr), 2024);
}
