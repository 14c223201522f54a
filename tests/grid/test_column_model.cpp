// The column model of a grid kind: descriptors from the customisation, saving,
// registry keys, the layout broadcast and its receipt.
#include "GridTestSupport.h"

#include "grid/KXColumnModel.h"
#include "grid/KXGridIds.h"

#include "afx/afxanswer.h"
#include "afx/afxreg.h"
#include "kxcommon/KXCustomizeAPI.h"
#include "kxmsgsrvr/KXMsgSrvr.h"

#include <gtest/gtest.h>

namespace {

const std::vector<CKXColumnModel::FixedColumn> kFixed = {{"Instance", 50, false}, {"Ref Des", 50, false}};

class ColumnModel : public ::testing::Test {
protected:
    void SetUp() override {
        AfxSetRegistryDirectory("");
        CKXCustomizeAPI::Reset();
        CKXCustomizeAPI::SetStorageDirectory("");
        model.SelectOrigin();
        Use({"PIN_NAME|Pin Name|14s|DEFAULT|SHOW", "PN|Pin Number|40f|DEFAULT|HIDE", "VOLT|Volt|8s|INSTPROP|SHOW"});
    }
    void TearDown() override {
        CAfxAnswerQueue::Get().Reset();
        CKXCustomizeAPI::Reset();
    }
    void Use(std::initializer_list<const char*> entries) {
        CStringArray list;
        for (const char* e : entries)
            list.Add(e);
        CKXCustomizeAPI::setCustomizationOrigin("TST");
        ASSERT_TRUE(CKXCustomizeAPI::parseFile(list, false));
        model.Setup(kFixed, 7, false);
    }

    CKXColumnModel model{"TST", KXGridKind::Signal, "TSTKEY"};
};

TEST_F(ColumnModel, BuildsRowNumberFixedAndCustomisedColumns) {
    ASSERT_EQ(model.Size(), 6); // row numbers, 2 fixed, 3 entries
    EXPECT_EQ(model.FirstCustomised(), 3);
    EXPECT_EQ(model.At(0)->m_bShown, 0);
    EXPECT_EQ(model.At(1)->m_strCaption, "Instance");
    const CKXColumnInfoClass* pinName = model.At(3);
    EXPECT_EQ(pinName->m_strPropertyName, "PIN_NAME");
    EXPECT_EQ(pinName->m_nWidth, 14 * 7); // scaled by the character width
    EXPECT_EQ(pinName->m_nWidthType, CKXColumnInfoClass::WidthInChars);
    const CKXColumnInfoClass* pn = model.At(4);
    EXPECT_EQ(pn->m_nWidth, 40); // fixed widths stay pixels
    EXPECT_EQ(pn->m_bShown, 0);
    EXPECT_EQ(model.At(5)->m_nPropertyType, CKXColumnInfoClass::InstProp);
    EXPECT_EQ(model.ColumnOfKey("pin_name"), 3);
    EXPECT_EQ(model.ColumnOfKey("Instance"), -1); // fixed columns have no key
    EXPECT_EQ(model.PropertyColumns(), (std::map<CString, int>{{"VOLT", 5}}));
    EXPECT_EQ(model.Find(6), nullptr);
    EXPECT_THROW(model.At(6), CInvalidArgException);
    EXPECT_THROW(model.At(-1), CInvalidArgException);
}

TEST_F(ColumnModel, RegistryKeysAndMenuCaptions) {
    EXPECT_EQ(model.RegistrySubKey(3), "TSTKEY\\PIN_NAME");
    EXPECT_EQ(model.RegistrySubKey(-1), "");
    EXPECT_THROW(model.RegistrySubKey(99), CInvalidArgException);
    CString text;
    ASSERT_TRUE(model.MenuCaption(4, text));
    EXPECT_EQ(text, "Pin Name"); // the menus name column n by the caption at n - 1
    EXPECT_FALSE(model.MenuCaption(0, text));
}

TEST_F(ColumnModel, RebuildingGivesBackTheFormerDescriptorsAndDoesNotGrow) {
    const CKXColumnInfoClass* before = model.At(3);
    auto former = model.Setup(kFixed, 7, true);
    EXPECT_EQ(former.size(), 6u);
    EXPECT_EQ(former[3].get(), before); // still alive for a broadcast
    EXPECT_EQ(model.Size(), 6);
    EXPECT_EQ(model.At(0)->m_bShown, 1); // row numbers shown now
}

TEST_F(ColumnModel, SaveWritesTheCustomisedColumnsBackInCharacters) {
    CRecordingGrid grid;
    SetUpGrid(grid);
    grid.SetColCount(static_cast<ROWCOL>(model.Size() - 1));
    // A width taken while the grid draws at 200% is kept as the width of 100%.
    grid.SetZoom(200);
    grid.SetColWidth(3, 3, 21 * 7);
    grid.SetColWidth(4, 4, 99);
    model.TrackWidth(grid, 3);
    model.TrackWidth(grid, 4); // a fixed column keeps its width
    model.Save(7, true);
    const CStringArray& saved = CKXCustomizeAPI::getDefaultEntriesArray();
    ASSERT_EQ(saved.GetSize(), 3);
    CString key, caption;
    int width = 0, widthType = 0, origin = 0, display = 0;
    ASSERT_TRUE(CKXCustomizeAPI::parseAttributeValues(saved[0], key, width, widthType, origin, caption, display));
    EXPECT_EQ(key, "PIN_NAME");
    EXPECT_EQ(width, 21);
    ASSERT_TRUE(CKXCustomizeAPI::parseAttributeValues(saved[1], key, width, widthType, origin, caption, display));
    EXPECT_EQ(width, 40);
    EXPECT_EQ(widthType, KX_WIDTH_FIXED);
}

// A grid of the kind with caption row 2 showing the model's columns.
class LayoutGrid : public CRecordingGrid {
public:
    void ShowCaptions(const CKXColumnModel& model) {
        SetColCount(static_cast<ROWCOL>(model.Size() - 1));
        for (int c = 1; c < model.Size(); ++c) StyleCaption(c, model.At(c)->m_strCaption);
    }
    void StyleCaption(int col, const CString& caption) {
        CGXStyle style;
        style.SetValue(caption).SetUserAttribute(static_cast<WORD>(IDS_UA_TOOLTIPTEXT), caption);
        SetStyleRange(CGXRange(2, static_cast<ROWCOL>(col)), style);
    }
    int ColumnOf(const CString& caption) {
        for (ROWCOL c = 1; c <= GetColCount(); ++c)
            if (GetValueRowCol(2, c) == caption) return static_cast<int>(c);
        return -1;
    }
};

TEST_F(ColumnModel, BroadcastReachesTheKindAndItsReceiptAlignsTheGrid) {
    LayoutGrid grid;
    SetUpGrid(grid);
    grid.ShowCaptions(model);
    std::vector<LPARAM> kinds;
    const HWND fake = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x6c61));
    SetKXMsgDeliver([&](HWND, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        if (msg != MSG_COLUMN_LAYOUT_CHANGED) return 0;
        kinds.push_back(l);
        if (!model.IsLayoutOfKind(l)) return 0;
        CKXColumnModel::LayoutHooks hooks;
        std::vector<int> filled;
        hooks.styleCaption = [&grid](int col, const CString& caption) { grid.StyleCaption(col, caption); };
        hooks.fillColumn = [&filled](int col, const CKXColumnInfoClass&) { filled.push_back(col); };
        model.ApplyLayout(grid, 2, CKXColumnModel::OldLayout(w), hooks);
        EXPECT_EQ(filled, std::vector<int>{4}); // the new property column is filled from the rows
        return 1;
    });
    ASSERT_TRUE(GetKXMsgSrvr()->RegisterWindow(MSG_COLUMN_LAYOUT_CHANGED, fake));

    // The user moves Volt first, adds a Speed column and drops Pin Name.
    const CKXColumnModel::Layout old = model.Columns();
    const auto former = model.Setup(kFixed, 7, false); // kept alive until the broadcast is over
    Use({"VOLT|Volt|8s|INSTPROP|SHOW", "SPEED|Speed|9s|PINPROP|SHOW", "PN|Pin Number|40f|DEFAULT|HIDE"});
    model.Broadcast(old);

    GetKXMsgSrvr()->UnregisterWindow(fake);
    SetKXMsgDeliver({});
    EXPECT_EQ(kinds, std::vector<LPARAM>{6});
    EXPECT_EQ(grid.ColumnOf("Volt"), 3);
    EXPECT_EQ(grid.ColumnOf("Speed"), 4);
    const int pinName = grid.ColumnOf("Pin Name");
    ASSERT_GT(pinName, 0);
    EXPECT_TRUE(grid.IsColHidden(static_cast<ROWCOL>(pinName)));
    EXPECT_FALSE(grid.IsLockUpdate());
}

TEST_F(ColumnModel, CustomizeRebuildsOnlyWhenTheDialogChangedSomething) {
    CAfxAnswerQueue::Get().PushDialog("CKXCustomizeDialog", FALSE);
    EXPECT_FALSE(model.Customize(kFixed, 7, false, 3));
    EXPECT_EQ(model.At(5)->m_bShown, 1);

    CAfxAnswerQueue::Get().PushDialog("CKXCustomizeDialog", TRUE, {{"hide", "VOLT"}});
    EXPECT_TRUE(model.Customize(kFixed, 7, false, 3));
    const int volt = model.ColumnOfKey("VOLT");
    ASSERT_GT(volt, 0);
    EXPECT_EQ(model.At(volt)->m_bShown, 0);
}

} // namespace

namespace {

// The physical grids take the defaults first, then the user's entries; the other kinds the user's first.
TEST_F(ColumnModel, EntriesComeInTheModelsOrder) {
    CAfxAnswerQueue::Get().PushDialog("CKXCustomizeDialog", TRUE, {{"add", "MINE|Mine|5s|PINPROP|SHOW"}});
    ASSERT_TRUE(model.Customize(kFixed, 7, false, 4));
    EXPECT_EQ(model.At(3)->m_strPropertyName, "MINE");
    CKXColumnModel defaultsFirst("TST", KXGridKind::PhysPart, "TSTKEY", CKXColumnModel::EntryOrder::DefaultsFirst);
    defaultsFirst.Setup({{"Physical Part", 50, false}}, 7, false);
    ASSERT_EQ(defaultsFirst.Size(), 6);
    EXPECT_EQ(defaultsFirst.At(2)->m_strPropertyName, "PIN_NAME");
    EXPECT_EQ(defaultsFirst.At(5)->m_strPropertyName, "MINE");
    EXPECT_EQ(defaultsFirst.ColumnOfKey("MINE"), 5);
}

// The caption row's chooser: a chosen column is shown or hidden, a greyed one cannot be chosen,
// "More..." asks for the customise dialog.
TEST_F(ColumnModel, TheChooserTogglesAColumnAndOffersMore) {
    CWnd owner;
    const UINT first = 2024;
    auto enabled = [](int col) { return col != 1; };
    ASSERT_EQ(model.At(4)->m_bShown, 0);
    CAfxAnswerQueue::Get().PushMenu(first + 3); // column 4
    EXPECT_EQ(model.ShowChooser(owner, CPoint(0, 0), first, enabled), CKXColumnModel::MenuChoice::Toggled);
    EXPECT_EQ(model.At(4)->m_bShown, 1);
    CAfxAnswerQueue::Get().PushMenu(first); // column 1 is greyed
    EXPECT_EQ(model.ShowChooser(owner, CPoint(0, 0), first, enabled), CKXColumnModel::MenuChoice::Dismissed);
    EXPECT_EQ(model.At(1)->m_bShown, 0);
    CAfxAnswerQueue::Get().PushMenu(first + static_cast<UINT>(model.Size()) - 1); // after the columns
    EXPECT_EQ(model.ShowChooser(owner, CPoint(0, 0), first, enabled), CKXColumnModel::MenuChoice::Customize);
}

} // namespace
