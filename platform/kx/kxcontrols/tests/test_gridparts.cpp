#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afx/afxanswer.h"
#include "grid/gxcore.h"
#include "grid/gxrange.h"
#include "grid/gxstyle.h"
#include "kxcontrols/KXCellControls.h"
#include "kxcontrols/KXFindReplace.h"
#include "kxcontrols/KXRegistrySettings.h"
#include "kxcontrols/KXSortGrid.h"
#include "kxcontrols/KXStylesMap.h"

namespace {

// A bare grid: header row 0, data from row 1; column 1 holds names, column 2 a second text.
class Grid {
public:
    Grid() { core.Initialize(); }
    void Rows(const std::vector<std::pair<std::string, int>>& namesAndLevels) {
        core.SetColCount(2);
        core.SetRowCount(static_cast<ROWCOL>(namesAndLevels.size()));
        ROWCOL r = 1;
        for (auto& [name, level] : namesAndLevels) {
            core.SetValueRange(CGXRange(r, 1), name.c_str());
            core.SetValueRange(CGXRange(r, 2), ("row" + std::to_string(r)).c_str());
            if (level) core.SetStyleRange(CGXRange(r, 1), CGXStyle().SetUserAttribute(KX_UA_ROW_LEVEL, std::to_string(level).c_str()));
            ++r;
        }
    }
    std::vector<std::string> Column(ROWCOL col) {
        std::vector<std::string> out;
        for (ROWCOL r = 1; r <= core.GetRowCount(); ++r) out.push_back(core.GetValueRowCol(r, col).GetString());
        return out;
    }
    CGXGridCore core;
};

using V = std::vector<std::string>;

} // namespace

TEST(SortGrid, ChildRowsMoveWithTheirParentAndCellsStayTogether) {
    Grid g;
    g.Rows({{"D", 1}, {"D1", 2}, {"D0", 2}, {"B", 1}, {"C", 1}, {"C0", 2}});
    CKXSortGrid sorter(&g.core, 1, TRUE, TRUE, FALSE);
    sorter.SetSkipLevel({2, 3});
    ASSERT_TRUE(sorter.SortRows(1, TRUE, 1));
    EXPECT_EQ(g.Column(1), (V{"B", "C", "C0", "D", "D1", "D0"}));
    EXPECT_EQ(g.Column(2), (V{"row4", "row5", "row6", "row1", "row2", "row3"}));
    // The level attribute went with its row.
    CGXStyle style;
    g.core.ComposeStyleRowCol(3, 1, &style);
    EXPECT_EQ(style.GetUserAttributeText(KX_UA_ROW_LEVEL), "2");
    ASSERT_TRUE(sorter.SortRows(1, FALSE, 1));
    EXPECT_EQ(g.Column(1), (V{"D", "D1", "D0", "C", "C0", "B"}));
}

TEST(SortGrid, SortAttributeHeaderRowsAndBadColumns) {
    Grid g;
    g.Rows({{"A[3:0]", 1}, {"B", 1}, {"A9", 1}});
    // Sort by the base-name attribute where there is one.
    g.core.SetStyleRange(CGXRange(1, 1), CGXStyle().SetUserAttribute(59408, "Z"));
    CKXSortGrid sorter(&g.core, 2, TRUE, FALSE, FALSE); // row 1 stays where it is
    sorter.SetSortAttribute(1, 59408);
    ASSERT_TRUE(sorter.SortRows(1, FALSE, 1));
    EXPECT_EQ(g.Column(1), (V{"A[3:0]", "B", "A9"}));
    CKXSortGrid all(&g.core, 1, TRUE, FALSE, FALSE);
    all.SetSortAttribute(1, 59408);
    ASSERT_TRUE(all.SortRows(1, TRUE, 1));
    EXPECT_EQ(g.Column(1), (V{"A9", "B", "A[3:0]"}));
    EXPECT_FALSE(all.SortRows(9, TRUE, 1));
    CKXSortGrid none(nullptr, 1, TRUE, TRUE, FALSE);
    EXPECT_FALSE(none.SortRows(1, TRUE, 1));
}

// A sort reads what the user sees: a value, a sort attribute or a level that a cell leaves to the row,
// the column or the table style still orders the rows, beside cells that carry their own.
TEST(SortGrid, KeysAndLevelsFromTheStylesBehindACellStillOrderTheRows) {
    Grid g;
    g.Rows({{"B", 0}, {"B0", 2}, {"", 0}, {"C", 0}});
    g.core.SetStyleRange(CGXRange().SetCols(1), CGXStyle().SetUserAttribute(KX_UA_ROW_LEVEL, "1"));
    g.core.SetStyleRange(CGXRange(3, 1), CGXStyle().SetValue(""), gxExclude);
    g.core.SetStyleRange(CGXRange().SetRows(3), CGXStyle().SetValue("A"));
    CKXSortGrid sorter(&g.core, 1, TRUE, TRUE, FALSE);
    sorter.SetSkipLevel({2, 3});
    ASSERT_TRUE(sorter.SortRows(1, TRUE, 1));
    EXPECT_EQ(g.Column(2), (V{"row3", "row1", "row2", "row4"})) << "the row style's A first, B0 under B";

    g.core.SetStyleRange(CGXRange().SetTable(), CGXStyle().SetUserAttribute(59408, "M"));
    g.core.SetStyleRange(CGXRange(4, 1), CGXStyle().SetUserAttribute(59408, "Z"));
    CKXSortGrid byAttr(&g.core, 1, TRUE, TRUE, FALSE);
    byAttr.SetSkipLevel({2, 3});
    byAttr.SetSortAttribute(1, 59408);
    ASSERT_TRUE(byAttr.SortRows(1, FALSE, 1));
    EXPECT_EQ(g.Column(2).front(), "row4") << "the cell's own Z before the table's M";
}

// Read in place, stored cells give the keys and levels that composing gives, wherever they come from.
TEST(SortGrid, StoredCellsSortAsTheirComposedStylesSay) {
    auto sorted = [](BOOL stored, BOOL ascending) {
        Grid g;
        g.Rows({{"B", 0}, {"B0", 2}, {"", 0}, {"C", 0}, {"D", 0}});
        g.core.SetStyleRange(CGXRange().SetCols(1), CGXStyle().SetUserAttribute(KX_UA_ROW_LEVEL, "1"));
        g.core.SetStyleRange(CGXRange(3, 1), CGXStyle().SetValue(""), gxExclude);
        g.core.SetStyleRange(CGXRange().SetRows(3), CGXStyle().SetValue("A"));
        const WORD base = g.core.GetStylesMap()->RegisterStyle("Keyed", CGXStyle().SetUserAttribute(59408, "M"));
        g.core.SetStyleRange(CGXRange(4, 1), CGXStyle().SetBaseStyle(base));
        g.core.SetStyleRange(CGXRange(5, 1), CGXStyle().SetUserAttribute(59408, "N"));
        CKXSortGrid sorter(&g.core, 1, TRUE, TRUE, FALSE);
        sorter.SetSkipLevel({2, 3});
        sorter.SetSortAttribute(1, 59408);
        sorter.SetStoredCells(stored);
        EXPECT_TRUE(sorter.SortRows(1, ascending, 1));
        return g.Column(2);
    };
    EXPECT_EQ(sorted(TRUE, TRUE), (V{"row3", "row1", "row2", "row4", "row5"}));
    EXPECT_EQ(sorted(TRUE, TRUE), sorted(FALSE, TRUE));
    EXPECT_EQ(sorted(TRUE, FALSE), sorted(FALSE, FALSE));
}

TEST(SortGrid, FrozenBlankRowsStayAtTheEnd) {
    Grid g;
    g.Rows({{"c", 0}, {"a", 0}, {"", 0}, {"", 0}});
    g.core.SetValueRange(CGXRange(3, 2), "");
    g.core.SetValueRange(CGXRange(4, 2), "");
    CKXSortGrid sorter(&g.core, 1, TRUE, TRUE, FALSE);
    sorter.FreezeBlankRows(TRUE);
    ASSERT_TRUE(sorter.SortRows(1, FALSE, 1));
    EXPECT_EQ(g.Column(1), (V{"c", "a", "", ""}));
    ASSERT_TRUE(sorter.SortRows(1, TRUE, 1));
    EXPECT_EQ(g.Column(1), (V{"a", "c", "", ""}));
}

TEST(CellControls, ListHeaderArrowFollowsTheSort) {
    CGXGridCore core;
    core.Initialize();
    CKXListHeader header(&core, 2);
    EXPECT_EQ(header.GetArrowCol(), 2u);
    header.ResetArrow(2, 3);
    EXPECT_TRUE(header.IsArrowAscending());
    header.ResetArrow(2, 3);
    EXPECT_FALSE(header.IsArrowAscending());
    header.ResetArrow(2, 1);
    EXPECT_TRUE(header.IsArrowAscending());
    CString text;
    header.GetControlText(text, 2, 1, "Pin Name", CGXStyle());
    EXPECT_EQ(text, "Pin Name ^");
    header.GetControlText(text, 2, 3, "Signal", CGXStyle());
    EXPECT_EQ(text, "Signal");
}

TEST(CellControls, PupdStatesShowDistinctTexts) {
    CGXGridCore core;
    core.Initialize();
    struct S {
        int f[4];
        const char* text;
    } states[] = {{{1, 0, 0, 0}, "PU"},   {{0, 1, 0, 0}, "PD"},       {{0, 0, 1, 0}, "(PU)"},
                  {{0, 0, 0, 1}, "(PD)"}, {{1, 1, 0, 0}, "PU/PD"},    {{0, 0, 1, 1}, "(PU)/(PD)"},
                  {{1, 0, 0, 1}, "PU/(PD)"}, {{0, 1, 1, 0}, "PD/(PU)"}};
    for (const S& s : states) {
        CKXPupdCtrl ctrl(&core);
        ctrl.EnablePuPdCtrl(TRUE);
        ctrl.SetPuPdValue(s.f[0], s.f[1], s.f[2], s.f[3]);
        EXPECT_EQ(ctrl.GetStateText(), s.text);
    }
    CKXPupdCtrl none(&core);
    none.EnablePuPdCtrl(FALSE);
    none.SetPuPdValue(1, 1, 1, 1);
    EXPECT_EQ(none.GetStateText(), "");
}

namespace {
int FilterKey(int col, CString& key) {
    key.Empty();
    if (col < 0) return 0;
    if (col > 2) return -1;
    key.Format("TEST\\col%d", col);
    return 0;
}
} // namespace

TEST(CellControls, FilterComboOffersHistoryAndColumnTexts) {
    Grid g;
    g.Rows({{"b", 0}, {"a", 0}, {"b", 0}});
    g.core.SetStyleRange(CGXRange(1, 2), CGXStyle().SetUserAttribute(KX_UA_TOOLTIPTEXT, "Pull-up"));
    auto* combo = new CKXDynCombo(&g.core, 2001, 2002, 0, 1, TRUE, &FilterKey);
    g.core.RegisterControl(9035, combo);
    CDWordArray look;
    look.Add(2);
    combo->SetLookAttribute(look, KX_UA_TOOLTIPTEXT);

    combo->Init(1, 1);
    std::vector<CString> items;
    combo->GetChoiceList(items);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0], "*");
    EXPECT_EQ(items[1], "a");
    EXPECT_EQ(items[2], "b");

    combo->AddToHistory(1, "x*");
    combo->AddToHistory(1, "*"); // never kept
    combo->AddToHistory(1, "y?");
    combo->AddToHistory(1, "x*"); // moves to the front
    combo->GetChoiceList(items);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[1], "x*");
    EXPECT_EQ(items[2], "y?");

    combo->Init(1, 2); // a look column: the tool tips, not the values
    combo->GetChoiceList(items);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1], "Pull-up");
    for (int i = 0; i < 20; ++i) combo->AddToHistory(2, CString('p', i + 1));
    std::vector<CString> history;
    combo->GetHistory(2, history);
    EXPECT_EQ(history.size(), static_cast<size_t>(CKXDynCombo::kMaxHistory));
}

TEST(CellControls, AutoCompleteCompletesFromTheSharedList) {
    CGXGridCore core;
    core.Initialize();
    CKXGridACListBox list(nullptr);
    list.AddString("CLK_IN");
    list.AddString("DATA0");
    CKXGridACCombo combo(&core, 52527, 52527, 1, &list, 1, 0, 0, 0);
    combo.SetWindowText("cl");
    combo.SetSel(2, 2);
    EXPECT_FALSE(combo.AutoComplete()); // off
    combo.m_bAutoComplete = TRUE;
    EXPECT_TRUE(combo.AutoComplete());
    CString text;
    combo.GetWindowText(text);
    EXPECT_EQ(text, "clK_IN");
    int s = 0, e = 0;
    combo.GetSel(s, e);
    EXPECT_EQ(s, 2);
    EXPECT_EQ(e, 6);
    combo.SetWindowText("X");
    combo.SetSel(1, 1);
    EXPECT_FALSE(combo.AutoComplete());
    std::vector<CString> items;
    combo.GetChoiceList(items);
    EXPECT_EQ(items.size(), 2u);
    list.WindowProc(LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(list.GetCount(), 0);
}

// A choice list names each text once; texts that differ in case only are two choices.
TEST(CellControls, TheSharedListHoldsEachChoiceOnce) {
    CKXGridACListBox list(nullptr);
    ASSERT_TRUE(list.Create(WS_BORDER | LBS_SORT, CRect(-1, -1, -1, -1), nullptr, 59441));
    const int u1 = list.AddString("U1");
    list.AddString("U2");
    list.AddString("u1");
    EXPECT_EQ(list.AddString("U1"), u1);
    EXPECT_EQ(list.WindowProc(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("u1")), u1 + 1); // sorted after "U1"
    EXPECT_EQ(list.GetCount(), 3);
}

// Choices set at once are listed as one AddString each after a reset lists them: in the same order,
// each text once; the key names them until the list changes otherwise.
TEST(CellControls, ChoicesSetAtOnceAreListedAsAddedOneByOne) {
    const std::vector<CString> choices{"", "U10", "u2", "U2", "J1", "U10", "", "a", "U2", "B"};
    CKXGridACListBox one(nullptr), all(nullptr);
    ASSERT_TRUE(one.Create(WS_BORDER | LBS_SORT, CRect(-1, -1, -1, -1), nullptr, 59442));
    ASSERT_TRUE(all.Create(WS_BORDER | LBS_SORT, CRect(-1, -1, -1, -1), nullptr, 59443));
    one.AddString("OLD");
    all.AddString("OLD");
    one.ResetContent();
    for (const CString& c : choices) one.AddString(c);
    all.SetStrings(choices, "design 1");
    auto texts = [](const CKXGridACListBox& list) {
        std::vector<std::string> out;
        for (int i = 0; i < list.GetCount(); ++i) {
            CString item;
            list.GetText(i, item);
            out.push_back(item.str());
        }
        return out;
    };
    EXPECT_EQ(texts(all), texts(one));
    EXPECT_EQ(all.ContentKey(), "design 1");
    all.AddString("NEW");
    EXPECT_EQ(all.ContentKey(), "");
    all.SetStrings(choices, "design 2");
    all.WindowProc(LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(all.ContentKey(), "");
    EXPECT_EQ(all.GetCount(), 0);
}

// The list's texts in its order, each followed by a comma.
static std::string ListedTexts(const CKXGridACListBox& list) {
    std::string out;
    for (int i = 0; i < list.GetCount(); ++i) {
        CString item;
        list.GetText(i, item);
        out += item.str() + ",";
    }
    return out;
}

// Choices set under one key and then another come back by their key, in their order and unselected,
// as SetStrings with them would leave the list; a key the list did not hold, or choices changed since
// they were set, are not given back.
TEST(GridACListBox, ChoicesOfTheKeyBeforeComeBackWithoutBeingMadeAgain) {
    CKXGridACListBox list;
    ASSERT_TRUE(list.Create(WS_BORDER | LBS_SORT, CRect(-1, -1, -1, -1), nullptr, 59444));
    auto texts = [&] { return ListedTexts(list); };
    list.SetStrings({"U2", "U1", "U1"}, "all");
    list.SetStrings({"R1"}, "resistors");
    EXPECT_FALSE(list.TakeKept("capacitors"));
    EXPECT_FALSE(list.TakeKept(""));
    EXPECT_EQ(texts(), "R1,");
    ASSERT_TRUE(list.TakeKept("all"));
    EXPECT_EQ(texts(), "U1,U2,");
    EXPECT_EQ(list.ContentKey(), "all");
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    list.SetCurSel(1);
    ASSERT_TRUE(list.TakeKept("resistors")); // back and forth
    EXPECT_EQ(texts(), "R1,");
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    EXPECT_FALSE(list.TakeKept("all")); // an item of it was selected: not kept
    EXPECT_EQ(list.ContentKey(), "resistors");

    list.SetStrings({"C1"}, "capacitors");
    list.AddString("C2"); // the list's choices are no longer the key's
    list.SetStrings({"L1"}, "inductors");
    EXPECT_FALSE(list.TakeKept("capacitors"));
    list.ResetContent(); // the list's choices go, and no key names them
    EXPECT_FALSE(list.TakeKept("inductors"));
    EXPECT_EQ(list.GetCount(), 0);
}

// Choices given later are made once, when the list is first read, and read as SetStrings with them
// would leave the list; kept aside unread, they come back by their key and are made then, in this
// list. A maker that finds its key out of date leaves the list's choices under no key.
TEST(GridACListBox, ChoicesGivenLaterAreMadeAtTheFirstReadAndKeptByTheirKey) {
    CKXGridACListBox now, later;
    ASSERT_TRUE(now.Create(WS_BORDER | LBS_SORT, CRect(-1, -1, -1, -1), nullptr, 59445));
    ASSERT_TRUE(later.Create(WS_BORDER | LBS_SORT, CRect(-1, -1, -1, -1), nullptr, 59446));
    const std::vector<CString> choices{"", "U2", "u1", "U1", "U2"};
    int made = 0;
    auto maker = [&](std::vector<CString> given, bool keyed) {
        return [&made, given, keyed](std::vector<CString>& out) {
            ++made;
            out = given;
            return keyed;
        };
    };
    now.SetStrings(choices, "all");
    later.SetStringsLater(maker(choices, true), "all");
    EXPECT_EQ(made, 0);
    EXPECT_EQ(later.ContentKey(), "all");
    EXPECT_EQ(ListedTexts(later), ListedTexts(now));
    EXPECT_EQ(made, 1);
    EXPECT_EQ(ListedTexts(later), ListedTexts(now));
    EXPECT_EQ(made, 1);

    later.SetStringsLater(maker({"R1"}, true), "resistors"); // "all" kept aside, "resistors" not made
    later.SetStringsLater(maker({"C1"}, true), "capacitors");
    EXPECT_EQ(made, 1);
    ASSERT_TRUE(later.TakeKept("resistors")); // back unread: made now, in this list
    EXPECT_EQ(ListedTexts(later), "R1,");
    EXPECT_EQ(made, 2);
    ASSERT_TRUE(later.TakeKept("capacitors"));
    EXPECT_EQ(ListedTexts(later), "C1,");
    EXPECT_EQ(later.ContentKey(), "capacitors");

    later.SetStringsLater(maker({"L1"}, false), "inductors");
    EXPECT_EQ(ListedTexts(later), "L1,");
    EXPECT_EQ(later.ContentKey(), "");
    later.SetStringsLater(maker({"X1"}, true), "crystals");
    later.ResetContent(); // the choices go unmade
    EXPECT_EQ(later.GetCount(), 0);
    EXPECT_EQ(made, 4);
}

TEST(StylesMap, PropertyStateStylesAreDistinctAndRegisteredOnce) {
    CKXStylesMap map;
    map.CreateStandardStyles();
    int count = map.GetStyleCount();
    map.CreateStandardStyles();
    EXPECT_EQ(map.GetStyleCount(), count);
    EXPECT_NE(map.m_wHeaderStyle, 0);
    for (int i = 0; i < CKXStylesMap::kPropStyleCount; ++i) {
        EXPECT_NE(map.GetPropStyleId(i), 0);
        for (int j = 0; j < i; ++j) EXPECT_NE(map.GetPropStyleId(i), map.GetPropStyleId(j));
    }
    EXPECT_EQ(map.GetPropStyleId(2), map.m_wPropStyleState3);
    EXPECT_EQ(map.GetPropStyleId(5), map.m_wPropStyleState2And4);
    EXPECT_EQ(map.GetPropStyleId(8), 0);
}

TEST(FindReplace, TextRules) {
    EXPECT_TRUE(CKXFindReplaceDlg::Matches("CLK_IN", "clk", FALSE, FALSE));
    EXPECT_FALSE(CKXFindReplaceDlg::Matches("CLK_IN", "clk", TRUE, FALSE));
    EXPECT_FALSE(CKXFindReplaceDlg::Matches("CLK_IN", "clk", FALSE, TRUE));
    EXPECT_FALSE(CKXFindReplaceDlg::Matches("x", "", FALSE, FALSE));
    EXPECT_EQ(CKXFindReplaceDlg::ReplaceIn("aXbxc", "x", "xx", FALSE, FALSE), "axxbxxc");
    EXPECT_EQ(CKXFindReplaceDlg::ReplaceIn("aXbxc", "x", "-", TRUE, FALSE), "aXb-c");
    EXPECT_EQ(CKXFindReplaceDlg::ReplaceIn("abc", "abc", "z", FALSE, TRUE), "z");
}

TEST(FindReplace, FindWrapsAndReplaceAllGoesThroughTheCells) {
    AfxGetAnswerQueue().Reset();
    Grid g;
    g.Rows({{"net_a", 0}, {"other", 0}, {"NET_B", 0}});
    g.core.SetStyleRange(CGXRange(3, 1), CGXStyle().SetReadOnly(TRUE));
    CGXGridCore* gridPtr = &g.core;
    CStringArray captions;
    captions.Add("Test Grid");
    CArray<CPoint, CPoint> headers, firsts;
    headers.Add(CPoint(0, 1));
    firsts.Add(CPoint(1, 1));
    CKXFindReplaceDlg* dlg = KXImplementFindReplace(&gridPtr, &captions, 1, &headers, &firsts, nullptr, nullptr, 1);
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(dlg->FindNext("net"));
    ROWCOL r = 0, c = 0;
    g.core.GetCurrentCell(r, c);
    EXPECT_EQ(r, 1u);
    EXPECT_TRUE(dlg->FindNext("net"));
    g.core.GetCurrentCell(r, c);
    EXPECT_EQ(r, 3u);
    EXPECT_TRUE(dlg->FindNext("net")); // wraps
    g.core.GetCurrentCell(r, c);
    EXPECT_EQ(r, 1u);
    EXPECT_FALSE(dlg->FindNext("missing"));

    AfxGetAnswerQueue().PushDialog("CKXFindReplaceDlg", TRUE,
                                   {{"find", "net"}, {"replace", "sig"}, {"action", "replaceAll"}});
    EXPECT_TRUE(dlg->ShowFindReplaceDialog(FALSE));
    EXPECT_EQ(g.Column(1), (V{"sig_a", "other", "NET_B"})); // the read-only cell is left alone
    EXPECT_FALSE(dlg->ShowFindReplaceDialog(TRUE));          // unanswered: cancelled
    EXPECT_EQ(KXImplementFindReplace(&gridPtr, &captions, 1, &headers, &firsts, nullptr, nullptr, 1) != nullptr, true);
    EXPECT_EQ(KXImplementFindReplace(nullptr, &captions, 1, &headers, &firsts, nullptr, nullptr, 1), nullptr);
    KXRemoveFindReplace(nullptr);
    AfxGetAnswerQueue().Reset();
}
