#include "afx/afx.h"

#include <gtest/gtest.h>

#include <string>

// Edge cases of menus, controls, dialogs, variants and global memory that callers could trip on.

TEST(MenuEdges, MalformedResourceLoadsNothingAndRadioChecks) {
    AfxAddMenuResource(nullptr, 777, {{0, MF_STRING, 1, "a"}, {2, MF_STRING, 2, "skips a level"}});
    CMenu m;
    EXPECT_FALSE(m.LoadMenu(777));
    EXPECT_EQ(AfxGetMenuCount(), 0);
    AfxRemoveModuleResources(nullptr);

    ASSERT_TRUE(m.CreatePopupMenu());
    for (UINT id = 10; id <= 13; ++id)
        m.AppendMenu(MF_STRING, id, "r");
    EXPECT_TRUE(m.CheckMenuRadioItem(10, 13, 12, MF_BYCOMMAND));
    EXPECT_EQ(m.GetMenuState(12, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(m.GetMenuState(10, MF_BYCOMMAND) & MF_CHECKED, 0u);
    CString s;
    EXPECT_EQ(m.GetMenuString(3, s, MF_BYPOSITION), 1);
    EXPECT_EQ(m.GetMenuString(4, s, MF_BYPOSITION), 0); // past the end: empty
    char small[1];
    EXPECT_EQ(m.GetMenuString(0, small, 1, MF_BYPOSITION), 0);
    EXPECT_STREQ(small, "");
}

TEST(MenuEdges, ReplacingOrDeletingPopupsFreesThem) {
    CMenu m;
    ASSERT_TRUE(m.CreateMenu());
    CMenu sub;
    sub.CreatePopupMenu();
    sub.AppendMenu(MF_STRING, 5, "five");
    m.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), "Sub");
    EXPECT_EQ(AfxGetMenuCount(), 2);
    EXPECT_TRUE(m.ModifyMenu(0, MF_BYPOSITION | MF_STRING, 6, "six"));
    EXPECT_EQ(AfxGetMenuCount(), 1);
    CMenu sub2;
    sub2.CreatePopupMenu();
    HMENU h2 = sub2.Detach();
    m.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(h2), "Sub2");
    EXPECT_TRUE(m.RemoveMenu(1, MF_BYPOSITION)); // removed, not destroyed
    EXPECT_TRUE(IsMenu(h2));
    EXPECT_TRUE(DestroyMenu(h2));
    EXPECT_FALSE(DestroyMenu(h2));
    m.DestroyMenu();
    EXPECT_EQ(AfxGetMenuCount(), 0);
}

namespace {
class CRadioDlg : public CDialog {
    DECLARE_DYNAMIC(CRadioDlg)
public:
    int m_nMode = 1;
    CString m_strPick;
    int m_nIndex = -1;
    BOOL m_bEndAtInit = FALSE;
    BOOL OnInitDialog() override {
        // Three radio buttons in one group, a list box and a combo.
        for (int i = 0; i < 3; ++i) {
            auto* b = new CButton;
            b->m_bAutoDelete = TRUE;
            b->Create("r", WS_CHILD | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0), CRect(), this, 500 + i);
        }
        auto* l = new CListBox;
        l->m_bAutoDelete = TRUE;
        l->Create(WS_CHILD | WS_GROUP, CRect(), this, 600);
        l->AddString("first");
        l->AddString("second");
        auto* c = new CComboBox;
        c->m_bAutoDelete = TRUE;
        c->Create(WS_CHILD | CBS_DROPDOWNLIST, CRect(), this, 700);
        c->AddString("x");
        c->AddString("y");
        CDialog::OnInitDialog();
        if (m_bEndAtInit) EndDialog(42);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Radio(pDX, 500, m_nMode);
        DDX_LBString(pDX, 600, m_strPick);
        DDX_CBIndex(pDX, 700, m_nIndex);
    }
};
IMPLEMENT_DYNAMIC(CRadioDlg, CDialog)
} // namespace

TEST(DialogEdges, RadioGroupsListsAndEarlyEnd) {
    AfxGetAnswerQueue().Reset();
    CRadioDlg dlg;
    AfxGetAnswerQueue().PushDialog(
        "CRadioDlg", TRUE, {{"502", "1"}, {"501", "0"}, {"500", "0"}, {"600", "SECOND"}, {"700", "y"}});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nMode, 2);
    EXPECT_EQ(dlg.m_strPick, "second"); // list items match without case
    EXPECT_EQ(dlg.m_nIndex, 1);
    CRadioDlg early;
    early.m_bEndAtInit = TRUE;
    AfxGetAnswerQueue().PushDialog("CRadioDlg", TRUE);
    EXPECT_EQ(early.DoModal(), 42);
    EXPECT_EQ(AfxGetAnswerQueue().GetPendingCount(), 1); // the answer was not needed
    AfxGetAnswerQueue().Reset();
    EXPECT_EQ(AfxGetWindowCount(), 0);
}

// An owner-data list keeps no items: their texts and data come from its class, only their states
// stay with the list, and a shorter count takes the states of the items that went.
TEST(ControlEdges, AnOwnerDataListAsksForItsItemsAndKeepsOnlyTheirStates) {
    class Squares : public CListCtrl {
    protected:
        CString OnGetItemText(int nItem, int nSubItem) const override {
            return std::to_string(nItem * nItem + nSubItem).c_str();
        }
        DWORD_PTR OnGetItemData(int nItem) const override { return static_cast<DWORD_PTR>(nItem) * 10; }
    };
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", 0, CRect(), nullptr, 0));
    Squares list;
    ASSERT_TRUE(list.Create(LVS_REPORT | LVS_OWNERDATA, CRect(), &parent, 1));
    EXPECT_TRUE(list.SetItemCountEx(1000000));
    EXPECT_EQ(list.GetItemCount(), 1000000);
    EXPECT_EQ(list.GetItemText(999, 1), "998002");
    EXPECT_EQ(list.GetItemData(7), 70u);
    EXPECT_EQ(list.GetItemText(1000000, 0), ""); // past the end
    EXPECT_EQ(list.InsertItem(0, "x"), -1);       // the items are the owner's
    EXPECT_FALSE(list.SetItemText(1, 0, "x"));
    list.SetItemState(500000, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 3);
    EXPECT_EQ(list.GetNextItem(3, LVNI_SELECTED), 500000);
    EXPECT_EQ(list.GetSelectedCount(), 2u);
    list.SetItemCountEx(10);
    EXPECT_EQ(list.GetSelectedCount(), 1u);
    EXPECT_FALSE(list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED)); // not every item of a count
    list.SetItemState(-1, 0, LVIS_SELECTED);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), -1);
    CListCtrl plain; // a list with items of its own takes no count
    EXPECT_FALSE(plain.SetItemCountEx(3));
    parent.DestroyWindow();
}

TEST(ControlEdges, ListControlSelectionAndTooltips) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", 0, CRect(), nullptr, 0));
    CListCtrl list;
    ASSERT_TRUE(list.Create(LVS_REPORT, CRect(), &parent, 1));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 80);
    list.InsertColumn(1, "RefDes", LVCFMT_LEFT, 80);
    EXPECT_EQ(list.InsertItem(5, "U2"), 0); // past the end: appended
    EXPECT_EQ(list.InsertItem(0, "U1"), 0);
    list.SetItemText(1, 1, "R2");
    EXPECT_EQ(list.GetItemText(1, 1), "R2");
    EXPECT_EQ(list.GetItemText(1, 5), "");
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    std::vector<int> sel;
    for (POSITION p = list.GetFirstSelectedItemPosition(); p;)
        sel.push_back(list.GetNextSelectedItem(p));
    EXPECT_EQ(sel, (std::vector<int>{0, 1}));
    list.SetItemState(-1, 0, LVIS_SELECTED);
    EXPECT_EQ(list.GetSelectedCount(), 0u);
    EXPECT_EQ(list.GetColumnWidth(1), 80);

    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&parent));
    tip.AddTool(&list, "tip text");
    tip.UpdateTipText("new text", &list);
    CString s;
    tip.GetText(s, &list);
    EXPECT_EQ(s, "new text");
    tip.DelTool(&list);
    EXPECT_EQ(tip.GetToolCount(), 0);
    parent.DestroyWindow();
    EXPECT_EQ(AfxGetWindowCount(), 0);
}

TEST(VariantEdges, ConversionsAndOwnership) {
    COleVariant s("12");
    VARIANT out;
    VariantInit(&out);
    EXPECT_EQ(VariantChangeType(&out, &s, 0, VT_I4), S_OK);
    EXPECT_EQ(out.lVal, 12);
    EXPECT_EQ(VariantChangeType(&out, COleVariant("true"), 0, VT_BOOL), S_OK);
    EXPECT_EQ(out.boolVal, VARIANT_TRUE);
    EXPECT_EQ(VariantChangeType(&out, COleVariant("12x"), 0, VT_I4), DISP_E_TYPEMISMATCH);
    // Out of the 32-bit range: refused, never wrapped.
    EXPECT_EQ(VariantChangeType(&out, COleVariant("3000000000"), 0, VT_I4), DISP_E_OVERFLOW);
    VARIANT big;
    VariantInit(&big);
    big.vt = VT_R8;
    big.dblVal = 1e20;
    EXPECT_EQ(VariantChangeType(&out, &big, 0, VT_I4), DISP_E_OVERFLOW);
    EXPECT_EQ(VariantChangeType(&out, &big, 0, VT_BOOL), S_OK);
    EXPECT_EQ(out.boolVal, VARIANT_TRUE);
    EXPECT_EQ(VariantChangeType(&out, COleVariant(7L), 0, VT_BSTR), S_OK);
    EXPECT_STREQ(out.bstrVal, "7");
    VariantClear(&out);
    COleVariant a("text");
    COleVariant b = a; // deep copy
    a = COleVariant(1L);
    EXPECT_STREQ(b.bstrVal, "text");
    EXPECT_TRUE(AfxIsVariantMissing(COleVariant::Missing()));
    EXPECT_FALSE(AfxIsVariantMissing(COleVariant(0L)));
    EXPECT_EQ(AfxVariantToString(COleVariant::Bool(TRUE)), "1");
    SAFEARRAY* psa = SafeArrayCreateVector(VT_BSTR, 1, 2);
    LONG lb = 0, ub = 0;
    SafeArrayGetLBound(psa, 1, &lb);
    SafeArrayGetUBound(psa, 1, &ub);
    EXPECT_EQ(lb, 1);
    EXPECT_EQ(ub, 2);
    LONG i = 2;
    char text[] = "two";
    EXPECT_EQ(SafeArrayPutElement(psa, &i, text), S_OK);
    i = 0;
    EXPECT_EQ(SafeArrayPutElement(psa, &i, text), E_INVALIDARG);
    EXPECT_EQ(AfxSafeArrayToStrings(psa), (std::vector<CString>{"", "two"}));
    COleVariant holder;
    holder.vt = VT_ARRAY | VT_BSTR;
    holder.parray = psa; // freed with the variant
}

TEST(VariantEdges, UnbalancedReleaseIsHarmless) {
    class CObj : public CCmdTarget {
    public:
        CObj() { EnableAutomation(); }
        int finals = 0;
        void OnFinalRelease() override { ++finals; }
    } obj;
    IDispatch* d = obj.GetIDispatch(TRUE);
    EXPECT_EQ(d->Release(), 1u);
    EXPECT_EQ(d->Release(), 0u);
    EXPECT_EQ(obj.finals, 1);
    EXPECT_EQ(d->Release(), 0u);
    EXPECT_EQ(obj.finals, 1);
}

TEST(GlobalMemoryEdges, BlocksAndUnknownHandles) {
    int before = AfxGetGlobalBlockCount();
    HGLOBAL h = AfxGlobalAllocText("abc");
    EXPECT_EQ(GlobalSize(h), 4u);
    EXPECT_EQ(AfxGlobalText(h), "abc");
    int x = 0;
    EXPECT_EQ(GlobalFree(&x), static_cast<HGLOBAL>(&x)); // not ours: returned unchanged
    EXPECT_EQ(GlobalFree(h), nullptr);
    EXPECT_EQ(GlobalSize(h), 0u);
    EXPECT_EQ(AfxGetGlobalBlockCount(), before);
    EXPECT_EQ(AfxGlobalText(nullptr), "");
}
