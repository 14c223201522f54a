// The column list, its customisation, widths, the layout broadcast and the grid's set-up.
#include "KXTempPath.h"
#include "PinGridTestSupport.h"

#include "kxcommon/KXCustomizeAPI.h"
#include "kxcommon/KXShareGlobalData.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxmsgsrvr/KXMsgIds.h"
#include "kxmsgsrvr/KXMsgSrvr.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using G = CKXInstanceDetailsGridWnd;

class Columns : public PinGridTest {
protected:
    void SetUp() override {
        PinGridTest::SetUp();
        builder.symbol("PART").port("A").bus("D", 3, 0);
        builder.schematic("top").instance("U1", "PART");
        Init();
    }
    void TearDown() override {
        // Back to the built-in columns for the next test.
        CKXCustomizeAPI::Reset();
        CKXCustomizeAPI::setCustomizationOrigin("CCP");
        CKXCustomizeAPI::Initialize(false);
        grid->SetupColumns();
    }
    void TakeEntries(std::initializer_list<const char*> entries) {
        CStringArray list;
        for (const char* e : entries)
            list.Add(e);
        CKXCustomizeAPI::setCustomizationOrigin("CCP");
        ASSERT_TRUE(CKXCustomizeAPI::parseFile(list, false));
        grid->SetupColumns();
    }
};

TEST_F(Columns, ListFollowsTheCustomisationAndIsWrittenBack) {
    const int charWidth = grid->Width_LPtoDP(1000);
    TakeEntries({"PN|Pin Number|120f|DEFAULT|SHOW", "PIN_NAME|Pin Name|12s|DEFAULT|SHOW",
                 "LOC|Location|8s|INSTPROP|HIDE"});
    EXPECT_EQ(G::m_nColPinNumber, 3);
    EXPECT_EQ(G::m_nColPinName, 4);
    EXPECT_EQ(G::m_nColCount, 6);
    const CKXColumnInfoClass* pn = grid->GetColumnInfo(3);
    EXPECT_EQ(pn->m_nWidthType, CKXColumnInfoClass::WidthFixed);
    EXPECT_EQ(pn->m_nWidth, 120);
    const CKXColumnInfoClass* name = grid->GetColumnInfo(4);
    EXPECT_EQ(name->m_nWidthType, CKXColumnInfoClass::WidthInChars);
    EXPECT_EQ(name->m_nWidth, 12 * charWidth);
    const CKXColumnInfoClass* loc = grid->GetColumnInfo(5);
    EXPECT_EQ(loc->m_nPropertyType, CKXColumnInfoClass::InstProp);
    EXPECT_EQ(loc->m_bShown, 0);
    EXPECT_EQ(grid->GetColumnInfo(1)->m_strCaption, "Instance");
    EXPECT_EQ(grid->GetColumnInfo(1)->m_bShown, 0);

    grid->LoadCustomPropertyColumns(FALSE);
    const CStringArray& saved = CKXCustomizeAPI::getDefaultEntriesArray();
    ASSERT_EQ(saved.GetSize(), 3);
    EXPECT_EQ(saved[0], "PN|Pin Number|120f|DEFAULT|SHOW");
    EXPECT_EQ(saved[1], "PIN_NAME|Pin Name|12s|DEFAULT|SHOW");
    EXPECT_EQ(saved[2], "LOC|Location|8s|INSTPROP|HIDE");
}

// Every built-in key finds its column wherever the customisation puts it, and the bitmap captions of
// the pull-up, comments and pair columns go with their keys, not with their default places.
TEST_F(Columns, KeysFollowACustomisedOrder) {
    TakeEntries({"COMMENTS|COMMENTS|4s|DEFAULT|SHOW", "SIGNAL|Signal|12s|DEFAULT|SHOW",
                 "DIFF_PAIR|DIFFPAIR|4s|DEFAULT|SHOW", "PIN_TYPE|Pin Type|6s|DEFAULT|SHOW",
                 "PUPD|PUPD|4s|DEFAULT|SHOW", "PIN_NAME|Pin Name|12s|DEFAULT|SHOW",
                 "PN|Pin Number|6s|DEFAULT|SHOW", "TERMINATION|Termination|8s|DEFAULT|SHOW"});
    EXPECT_EQ(G::m_nColComments, 3);
    EXPECT_EQ(G::m_nColSignal, 4);
    EXPECT_EQ(G::m_nColDiffPair, 5);
    EXPECT_EQ(G::m_nColPinType, 6);
    EXPECT_EQ(G::m_nColPupd, 7);
    EXPECT_EQ(G::m_nColPinName, 8);
    EXPECT_EQ(G::m_nColPinNumber, 9);
    EXPECT_EQ(G::m_nColTermination, 10);
    EXPECT_EQ(G::m_nColCount, 11);
    grid->SetupGridLook();
    auto control = [&](int col) {
        CGXStyle style;
        grid->GetStyleRowCol(PIN_CAPTION_ROW, static_cast<ROWCOL>(col), style);
        return style.GetControl();
    };
    EXPECT_EQ(control(G::m_nColComments), IDS_CTRL_PIN_COMMENTS_HEADER);
    EXPECT_EQ(control(G::m_nColDiffPair), IDS_CTRL_DIFFPAIR_HEADER);
    EXPECT_EQ(control(G::m_nColPupd), IDS_CTRL_PIN_PUPD_HEADER);
    EXPECT_EQ(grid->GetValueRowCol(PIN_CAPTION_ROW, static_cast<ROWCOL>(G::m_nColDiffPair)), "#BMP(9095)");
    EXPECT_EQ(grid->GetValueRowCol(PIN_CAPTION_ROW, static_cast<ROWCOL>(G::m_nColSignal)), "Signal");
    CString key;
    G::GetRegistrySubKey(G::m_nColPinType, key);
    EXPECT_EQ(key, "CCP\\PIN_TYPE");
}

TEST_F(Columns, TheSecondGridKeepsTheList) {
    CKXColumnInfoClass* signal = grid->GetColumnInfo(G::m_nColSignal);
    G second;
    second.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 101);
    second.InitializeGrid(nullptr, design, design, 0);
    EXPECT_EQ(second.GetColumnInfo(G::m_nColSignal), signal);
    EXPECT_EQ(second.GetValueRowCol(PIN_CAPTION_ROW, static_cast<ROWCOL>(G::m_nColSignal)), "Signal");
}

TEST_F(Columns, KeysHeadersAndSubKeys) {
    CString key;
    G::GetRegistrySubKey(G::m_nColSignal, key);
    EXPECT_EQ(key, "CCP\\SIGNAL");
    G::GetRegistrySubKey(-1, key);
    EXPECT_EQ(key, "");
    EXPECT_ANY_THROW(G::GetRegistrySubKey(G::m_nColCount, key));
    EXPECT_EQ(G::GetColumnHeaderFromKey("comments"), "#BMP(185)");
    EXPECT_EQ(G::GetColumnKeyFromHeader("#BMP(9095)"), "diffpair");
    EXPECT_EQ(G::GetColumnKeyFromHeader("Signal"), "Signal");
    // Sorting by the comments key finds the bitmap header; an unknown name sorts nothing.
    EXPECT_EQ(grid->SortByColumnName("comments"), 1);
    EXPECT_EQ(grid->m_nSortCol, G::m_nColComments);
    EXPECT_EQ(grid->SortByColumnName("nosuch"), 0);
}

TEST_F(Columns, WidthsOfHiddenAndFixedColumns) {
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    EXPECT_EQ(grid->GetColWidth(static_cast<ROWCOL>(G::m_nColInstance)), 0);
    EXPECT_EQ(grid->GetColWidth(static_cast<ROWCOL>(G::m_nColDiffPair)), 0); // no pairs shown
    EXPECT_GT(grid->GetColWidth(static_cast<ROWCOL>(G::m_nColPinName)), 0);
    CKXColumnInfoClass* pn = grid->GetColumnInfo(G::m_nColPinNumber);
    pn->m_nWidthType = CKXColumnInfoClass::WidthFixed;
    pn->m_nWidth = 33;
    EXPECT_EQ(grid->GetColWidth(static_cast<ROWCOL>(G::m_nColPinNumber)), 33);
    // A drag of a fixed-width column leaves its descriptor alone.
    CSize size(80, 0);
    grid->OnStartTracking(PIN_CAPTION_ROW, static_cast<ROWCOL>(G::m_nColPinNumber), GX_TRACKWIDTH);
    grid->OnEndTracking(PIN_CAPTION_ROW, static_cast<ROWCOL>(G::m_nColPinNumber), GX_TRACKWIDTH, size);
    EXPECT_EQ(pn->m_nWidth, 33);
    pn->m_nWidthType = CKXColumnInfoClass::WidthInChars;
    grid->m_bReducedColumns = 1;
    EXPECT_EQ(grid->GetColWidth(static_cast<ROWCOL>(G::m_nColPinType)), 0);
    EXPECT_GT(grid->GetColWidth(static_cast<ROWCOL>(G::m_nColSignal)), 0);
}

TEST_F(Columns, LayoutBroadcastHidesAColumnInEveryGrid) {
    G second;
    second.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 101);
    second.InitializeGrid(nullptr, design, design, 0);
    const std::vector<CKXColumnInfoClass*> old = G::m_arrColumnInfo;
    CKXColumnInfoClass* type = grid->GetColumnInfo(G::m_nColPinType);
    type->m_bShown = 0;
    grid->BroadcastColumnLayout(old);
    type->m_bShown = 1;
    EXPECT_TRUE(grid->IsColHidden(static_cast<ROWCOL>(G::m_nColPinType)));
    EXPECT_TRUE(second.IsColHidden(static_cast<ROWCOL>(G::m_nColPinType)));
    // Other kinds are not ours.
    EXPECT_EQ(grid->OnColumnLayoutChanged(0, 6), 0);
}

TEST_F(Columns, OptionsFromTheRegistry) {
    EXPECT_EQ(grid->m_bAutoComplete, 1);
    EXPECT_EQ(grid->m_bShowSignalCombo, 0);
    ASSERT_TRUE(CKXRegistrySettings::OpenRegistryKey());
    CKXRegistrySettings::SetToRegistry("auto_complete_signals", static_cast<DWORD>(0));
    CKXRegistrySettings::SetToRegistry("show_signal_combo_in_ccp", static_cast<DWORD>(1));
    CKXRegistrySettings::CloseRegistryKey();
    G second;
    second.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 101);
    second.InitializeGrid(nullptr, design, design, 0);
    EXPECT_EQ(second.m_bAutoComplete, 0);
    EXPECT_EQ(second.m_bShowSignalCombo, 1);
    EXPECT_EQ(G::m_pCurrentPinGrid, &second);
    ASSERT_TRUE(CKXRegistrySettings::OpenRegistryKey());
    CKXRegistrySettings::SetToRegistry("auto_complete_signals", static_cast<DWORD>(1));
    CKXRegistrySettings::SetToRegistry("show_signal_combo_in_ccp", static_cast<DWORD>(0));
    CKXRegistrySettings::CloseRegistryKey();
}

TEST_F(Columns, ExpandAllTakesOnlyOn) {
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    const ROWCOL d = Row("D<3..0>");
    ASSERT_NE(d, 0u);
    EXPECT_TRUE(grid->IsRowHidden(d + 1));
    grid->ExpandAllPins("ON", "");
    EXPECT_FALSE(grid->IsRowHidden(d + 1));
    EXPECT_TRUE(grid->m_bExpandAll);
    grid->ExpandAllPins("yes", "");
    EXPECT_TRUE(grid->IsRowHidden(d + 4));
    grid->ExpandAllPins("on", "-other");
    EXPECT_TRUE(grid->IsRowHidden(d + 4));
}

TEST_F(Columns, ViewOptionsAreJournalledOnlyToAScript) {
    const std::filesystem::path dir = KXUniqueTempPath("pingrid_journal");
    std::filesystem::create_directories(dir);
    std::string txt = (dir / "journal.txt").string();
    std::string vbs = (dir / "journal.vbs").string();
    std::filesystem::remove(txt);
    std::filesystem::remove(vbs);
    char* saved = CKXShareGlobalData::m_bAutomation;
    CKXShareGlobalData::m_bAutomation = txt.data();
    grid->RecordViewOptionsScript(1, 0);
    EXPECT_FALSE(std::filesystem::exists(txt));
    CKXShareGlobalData::m_bAutomation = vbs.data();
    grid->RecordViewOptionsScript(0, 1);
    CKXShareGlobalData::m_bAutomation = saved;
    EXPECT_EQ(grid->m_bShowDiffPairs, 1);
    std::ifstream in(vbs);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "\ncall work.top:sch.ConnectivityPane().SetViewOptions(\"0\",\"1\")\n");
    std::filesystem::remove_all(dir);
}

} // namespace

namespace {

TEST_F(Columns, ANewPropertyColumnIsFilledFromTheRows) {
    builder.prop("@U1", "VOLT", "1.8", 1);
    ASSERT_TRUE(builder.ok()) << builder.error();
    ASSERT_TRUE(grid->LoadComponentPins(design, Instance("U1"), FALSE));
    const std::vector<CKXColumnInfoClass*> old = G::m_arrColumnInfo;
    TakeEntries({"DIFF_PAIR|Diff Pair|3s|DEFAULT|SHOW", "PIN_NAME|Pin Name|14s|DEFAULT|SHOW",
                 "PN|Pin Number|8s|DEFAULT|SHOW", "PIN_TYPE|Pin Type|8s|DEFAULT|SHOW",
                 "SIGNAL|Signal|16s|DEFAULT|SHOW", "TERMINATION|Termination|12s|DEFAULT|SHOW",
                 "PUPD|Pull Up/Down|10s|DEFAULT|SHOW", "COMMENTS|Comments|16s|DEFAULT|SHOW",
                 "VOLT|Volt|8s|INSTPROP|SHOW"});
    grid->BroadcastColumnLayout(old);
    const int volt = G::ColumnOfKey("VOLT");
    ASSERT_EQ(static_cast<int>(grid->GetColCount()), volt);
    EXPECT_EQ(Cell(PIN_CAPTION_ROW, volt), "Volt");
    EXPECT_EQ(Cell(Row("A"), volt), "1.8");
}

} // namespace
