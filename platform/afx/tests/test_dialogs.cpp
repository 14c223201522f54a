#include "afx/afx.h"
#include "afx/afxwinerror.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {
constexpr UINT IDD_NAME = 9100;

class CNameDlg : public CDialog {
    DECLARE_DYNAMIC(CNameDlg)
public:
    CNameDlg() : CDialog(IDD_NAME) {}
    CString m_strName = "initial";
    int m_nCount = 3;
    int m_bFlag = 0;
    CString m_strChoice;
    int m_nInitCalls = 0;
    int m_nChoiceChanges = 0;
    CComboBox m_cmb;

protected:
    BOOL OnInitDialog() override {
        ++m_nInitCalls;
        CDialog::OnInitDialog();
        m_cmb.AddString("alpha");
        m_cmb.AddString("beta");
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, 1003, m_cmb);
        DDX_Text(pDX, 1001, m_strName);
        DDV_MaxChars(pDX, m_strName, 8);
        DDX_Text(pDX, 1002, m_nCount);
        DDX_Check(pDX, 1004, m_bFlag);
        DDX_CBString(pDX, 1003, m_strChoice);
    }
    void OnChoice() { ++m_nChoiceChanges; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNAMIC(CNameDlg, CDialog)
BEGIN_MESSAGE_MAP(CNameDlg, CDialog)
ON_CBN_SELCHANGE(1003, &CNameDlg::OnChoice)
END_MESSAGE_MAP()

// A dialog without a template: its controls come into being through data exchange.
class CBareDlg : public CDialog {
    DECLARE_DYNAMIC(CBareDlg)
public:
    CString m_strText;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 7, m_strText); }
};
IMPLEMENT_DYNAMIC(CBareDlg, CDialog)

class CDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxGetAnswerQueue().Reset();
        AfxDialogDef def;
        def.caption = "Name";
        def.style = WS_POPUP;
        def.items = {{1001, "EDIT", "", WS_TABSTOP, 0, 0, 50, 12, "name"},
                     {1002, "EDIT", "", 0, 0, 20, 50, 12, "count"},
                     {1003, "COMBOBOX", "", CBS_DROPDOWN, 0, 40, 50, 80, nullptr},
                     {1004, "BUTTON", "Flag", BS_AUTOCHECKBOX, 0, 60, 50, 12, "flag"},
                     {IDOK, "BUTTON", "OK", BS_DEFPUSHBUTTON, 0, 80, 20, 12}};
        AfxAddDialogResource(nullptr, IDD_NAME, def);
    }
    void TearDown() override {
        AfxRemoveModuleResources(nullptr);
        AfxGetAnswerQueue().Reset();
        EXPECT_EQ(AfxGetWindowCount(), 0);
    }
};
} // namespace

TEST_F(CDialogTest, ScriptedOkAppliesFieldsThroughDataExchange) {
    CNameDlg dlg;
    AfxGetAnswerQueue().PushDialog("CNameDlg", TRUE,
                                   {{"name", "abc"}, {"count", "42"}, {"flag", "1"}, {"1003", "beta"}});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strName, "abc");
    EXPECT_EQ(dlg.m_nCount, 42);
    EXPECT_EQ(dlg.m_bFlag, 1);
    EXPECT_EQ(dlg.m_strChoice, "beta");
    EXPECT_EQ(dlg.m_nChoiceChanges, 1); // choosing the item notified the dialog
    EXPECT_EQ(dlg.m_nInitCalls, 1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_cmb.m_hWnd, nullptr);
}

TEST_F(CDialogTest, UnansweredOrCancelledDialogKeepsMembers) {
    CNameDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_strName, "initial");
    AfxGetAnswerQueue().PushDialog("CNameDlg", FALSE, {{"name", "changed"}});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_strName, "initial");
    EXPECT_EQ(AfxGetAnswerQueue().GetLogLines(),
              (std::vector<CString>{"dialog CNameDlg: cancel (unanswered)", "dialog CNameDlg: cancel"}));
}

TEST_F(CDialogTest, ValidationFailureTakesTheNextAnswer) {
    CNameDlg dlg;
    AfxGetAnswerQueue().PushDialog("CNameDlg", TRUE, {{"count", "x12"}});          // not a number
    AfxGetAnswerQueue().PushDialog("CNameDlg", TRUE, {{"name", "much too long"}}); // too long
    AfxGetAnswerQueue().PushDialog("CNameDlg", TRUE, {{"count", "7"}, {"name", "ok"}});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nCount, 7);
    EXPECT_EQ(dlg.m_strName, "ok");
    auto log = AfxGetAnswerQueue().GetLogLines();
    ASSERT_EQ(log.size(), 5u); // three dialog answers and two validation messages
    EXPECT_EQ(log[1], "question Please enter an integer.: ok (unanswered)");
    // A last failing answer with nothing after it cancels.
    AfxGetAnswerQueue().PushDialog("CNameDlg", TRUE, {{"count", ""}});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(CDialogTest, DialogWithoutTemplateStillExchangesData) {
    CBareDlg dlg;
    dlg.m_strText = "before";
    AfxGetAnswerQueue().PushDialog("CBareDlg", TRUE, {{"7", "after"}});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strText, "after");
}

TEST_F(CDialogTest, SearchesOfASortedListMissTextsItDoesNotHold) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", 0, CRect(0, 0, 100, 100), nullptr, 0));
    CListBox lb;
    ASSERT_TRUE(lb.Create(LBS_SORT, CRect(), &parent, 5));
    for (const char* text : {"B2", "b1", "D", "d", "F10"})
        lb.AddString(text);
    // Before the first item, between two, after the last, and a longer text of an item's start.
    for (const char* missing : {"A", "C", "E", "G", "B", "F1", "F100", ""})
        EXPECT_EQ(lb.FindStringExact(-1, missing), LB_ERR) << missing;
    EXPECT_EQ(lb.FindStringExact(-1, "f10"), 4);
    // Equal texts ignoring case are one run: the search starts after nStartAfter and wraps within it.
    EXPECT_EQ(lb.FindStringExact(-1, "D"), 2);
    EXPECT_EQ(lb.FindStringExact(2, "D"), 3);
    EXPECT_EQ(lb.FindStringExact(3, "D"), 2);
    // A prefix finds the first item that starts with it; one no item starts with finds nothing.
    EXPECT_EQ(lb.FindString(-1, "f"), 4);
    EXPECT_EQ(lb.FindString(-1, "b"), 0);
    EXPECT_EQ(lb.FindString(-1, "E"), LB_ERR);
    EXPECT_EQ(lb.FindString(-1, "G"), LB_ERR);
}

TEST_F(CDialogTest, ListAndComboSearchesIgnoreCaseAndWrap) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", 0, CRect(0, 0, 100, 100), nullptr, 0));
    CListBox lb;
    ASSERT_TRUE(lb.Create(LBS_SORT | LBS_NOTIFY, CRect(), &parent, 5));
    lb.AddString("Net2");
    lb.AddString("net1");
    lb.AddString("Clock");
    CString s;
    lb.GetText(0, s);
    EXPECT_EQ(s, "Clock");
    EXPECT_EQ(lb.FindStringExact(-1, "NET1"), 1);
    EXPECT_EQ(lb.FindString(1, "net"), 2); // starts after 1
    EXPECT_EQ(lb.FindString(2, "net"), 1); // wraps
    EXPECT_EQ(lb.FindStringExact(-1, "net"), LB_ERR);
    EXPECT_EQ(::SendMessage(lb.m_hWnd, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>("clock")),
              0);
    EXPECT_EQ(lb.SelectString(-1, "ne"), 1);
    EXPECT_EQ(lb.GetCurSel(), 1);
    lb.DeleteString(0);
    EXPECT_EQ(lb.GetCurSel(), 0); // the selection follows its item
    EXPECT_EQ(lb.GetText(5, s), LB_ERR);

    CComboBox cb;
    ASSERT_TRUE(cb.Create(CBS_DROPDOWNLIST, CRect(), &parent, 6));
    cb.AddString("one");
    cb.AddString("two");
    EXPECT_EQ(cb.SelectString(-1, "TW"), 1);
    cb.GetWindowText(s);
    EXPECT_EQ(s, "two");
    EXPECT_EQ(cb.SelectString(-1, "zzz"), CB_ERR);
    EXPECT_EQ(cb.GetCurSel(), 1);
    cb.SetCurSel(-1);
    cb.GetWindowText(s);
    EXPECT_TRUE(s.IsEmpty());

    CEdit ed;
    ASSERT_TRUE(ed.Create(0, CRect(), &parent, 7));
    ed.SetWindowText("hello world");
    ed.SetSel(0, 5);
    ed.ReplaceSel("goodbye");
    ed.GetWindowText(s);
    EXPECT_EQ(s, "goodbye world");
    int a, b;
    ed.GetSel(a, b);
    EXPECT_EQ(a, 7);
    EXPECT_EQ(b, 7);
    ed.SetSel(0, -1);
    ed.GetSel(a, b);
    EXPECT_EQ(b, 13);
    parent.DestroyWindow();
}

TEST_F(CDialogTest, FontMetricsAreDeterministic) {
    CFont f;
    ASSERT_TRUE(f.CreatePointFont(85, "Tahoma"));
    LOGFONT lf;
    f.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_STREQ(lf.lfFaceName, "Tahoma");
    CDC dc;
    dc.SelectObject(&f);
    EXPECT_EQ(dc.GetTextExtent("abcd").cx, 4 * 6);
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    EXPECT_EQ(tm.tmAveCharWidth, 6);
    EXPECT_EQ(tm.tmHeight, 11);
    lf.lfWeight = FW_BOLD;
    CFont bold;
    bold.CreateFontIndirect(&lf);
    dc.SelectObject(&bold);
    EXPECT_EQ(dc.GetTextExtent("abcd").cx, 4 * 7);
    CDC plain;
    EXPECT_EQ(plain.GetTextExtent(CString("ab")), CSize(14, 13)); // the default font
    // A window's font is what a DC on it measures with, and WM_GETFONT returns it.
    CWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, "", 0, CRect(), nullptr, 0));
    w.SetFont(&f);
    EXPECT_EQ(reinterpret_cast<CFont*>(w.SendMessage(WM_GETFONT)), &f);
    CClientDC wdc(&w);
    EXPECT_EQ(wdc.GetTextExtent("a").cx, 6);
    w.DestroyWindow();
}

namespace kxtest {
// No run-time class information and inside a namespace: still answered by its own name.
class CPlainDlg : public CDialog {
public:
    CString m_strValue;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 1, m_strValue); }
};
} // namespace kxtest

TEST(DialogKeys, AnsweredByTheObjectsOwnClassName) {
    AfxGetAnswerQueue().Reset();
    kxtest::CPlainDlg dlg;
    EXPECT_EQ(dlg.GetAnswerKey(), "CPlainDlg");
    AfxGetAnswerQueue().PushDialog("CPlainDlg", TRUE, {{"1", "v"}});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strValue, "v");
    AfxGetAnswerQueue().Reset();
}

// The item list answers as a plain item-by-item search would, whether its items are in order
// (binary searches) or were put out of order by inserts and unsorted adds.
TEST(ItemList, SearchesAndSortedAddsMatchAnItemByItemSearch) {
    auto reference = [](const std::vector<CString>& items, int after, const CString& key, bool exact) {
        const int n = static_cast<int>(items.size());
        const int start = (after < 0 || after >= n) ? 0 : after + 1;
        for (int k = 0; k < n; ++k) {
            const int i = (start + k) % n;
            const CString& t = items[static_cast<size_t>(i)];
            if (exact ? t.CompareNoCase(key) == 0 : t.Left(key.GetLength()).CompareNoCase(key) == 0) return i;
        }
        return static_cast<int>(LB_ERR);
    };
    const char* words[] = {"a", "A", "ab", "AB", "abc", "b", "B1", "b10", "b2", "net", "NET1", "net1", "Net2", ""};
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        CAfxItemList list;
        std::vector<CString> mirror;
        const bool sortedOnly = round % 2 == 0;
        for (int step = 0; step < 60; ++step) {
            const CString w = words[rng() % std::size(words)];
            const int op = static_cast<int>(rng() % 10);
            if (op < 6 || sortedOnly) {
                size_t pos = 0;
                while (pos < mirror.size() && mirror[pos].CompareNoCase(w) <= 0) ++pos;
                const bool inOrder = std::is_sorted(mirror.begin(), mirror.end(), [](const CString& x, const CString& y) {
                    return x.CompareNoCase(y) < 0;
                });
                const int at = list.Add(w, TRUE);
                if (inOrder) {
                    EXPECT_EQ(at, static_cast<int>(pos));
                }
                mirror.insert(mirror.begin() + at, w);
            } else if (op < 8) {
                const int at = list.Insert(static_cast<int>(rng() % (mirror.size() + 1)), w);
                mirror.insert(mirror.begin() + at, w);
            } else if (!mirror.empty()) {
                const int at = static_cast<int>(rng() % mirror.size());
                list.Delete(at);
                mirror.erase(mirror.begin() + at);
            }
            ASSERT_EQ(list.Count(), static_cast<int>(mirror.size()));
            for (int i = 0; i < list.Count(); ++i) ASSERT_EQ(list.m_items[static_cast<size_t>(i)].text, mirror[static_cast<size_t>(i)]);
            for (const char* key : {"a", "ab", "B", "b1", "net1", "NET", "zz", ""})
                for (int after : {-1, 0, 2, 5, list.Count() - 1})
                    for (bool exact : {true, false})
                        ASSERT_EQ(list.Find(after, key, exact), reference(mirror, after, key, exact))
                            << "key " << key << " after " << after << (exact ? " exact" : " prefix");
        }
    }
}

// Many items added at once land where the same items added one by one would, with their data,
// and a followed index (a combo box's selection) still names the same item.
TEST(ItemList, ABatchAddEqualsTheSameAddsOneByOne) {
    const char* words[] = {"a", "A", "ab", "AB", "abc", "b", "B1", "b10", "b2", "net", "NET1", "net1", "Net2"};
    std::mt19937 rng(11);
    for (int round = 0; round < 60; ++round) {
        CAfxItemList batch, single;
        const bool outOfOrder = round % 3 == 2;
        for (int k = 0; k < static_cast<int>(rng() % 12); ++k) {
            const CString w = words[rng() % std::size(words)];
            batch.Add(w, TRUE);
            single.Add(w, TRUE);
        }
        if (outOfOrder) {
            batch.Insert(0, "zz");
            single.Insert(0, "zz");
        }
        int followed = batch.Count() > 0 ? static_cast<int>(rng() % static_cast<unsigned>(batch.Count())) : -1;
        const CString followedText = followed >= 0 ? batch.m_items[static_cast<size_t>(followed)].text : CString();
        const DWORD_PTR mark = 1000;
        if (followed >= 0) {
            batch.m_items[static_cast<size_t>(followed)].data = mark;
            single.m_items[static_cast<size_t>(followed)].data = mark;
        }
        std::vector<CAfxItemList::NewItem> added;
        for (int k = 0; k < static_cast<int>(rng() % 20); ++k)
            added.push_back({words[rng() % std::size(words)], static_cast<DWORD_PTR>(k + 1)});
        for (const auto& n : added) {
            const int at = single.Add(n.text, TRUE);
            single.m_items[static_cast<size_t>(at)].data = n.data;
        }
        batch.AddMany(added, TRUE, &followed);
        ASSERT_EQ(batch.Count(), single.Count());
        for (size_t i = 0; i < single.m_items.size(); ++i) {
            ASSERT_EQ(batch.m_items[i].text, single.m_items[i].text) << "round " << round << " item " << i;
            ASSERT_EQ(batch.m_items[i].data, single.m_items[i].data) << "round " << round << " item " << i;
        }
        if (followed >= 0) {
            EXPECT_EQ(batch.m_items[static_cast<size_t>(followed)].text, followedText);
            EXPECT_EQ(batch.m_items[static_cast<size_t>(followed)].data, mark);
        }
        for (const char* key : {"a", "b1", "net1", "zz"})
            EXPECT_EQ(batch.Find(-1, key, TRUE), single.Find(-1, key, TRUE));
    }
}

// ---------------------------------------------------------------- custom controls of a template
namespace {
constexpr UINT IDD_CUSTOM = 9110;
constexpr UINT kCustomId = 1201;

int g_customAlive = 0;

// The window object a registered class's procedure attaches to each window made from the class.
class CCustomProbe : public CWnd {
public:
    CCustomProbe() { ++g_customAlive; }
    ~CCustomProbe() override { --g_customAlive; }
    void PostNcDestroy() override { delete this; }
};

LRESULT CustomProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* w = new CCustomProbe;
    if (!w->Attach(hWnd)) {
        delete w;
        return -1;
    }
    return w->SendMessage(message, wParam, lParam);
}

LRESULT RefusingCustomProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_CREATE ? -1 : 0;
}

class CCustomDlg : public CDialog {
    DECLARE_DYNAMIC(CCustomDlg)
public:
    CCustomDlg() : CDialog(IDD_CUSTOM) {}
    bool m_bCustomAtInit = false;

protected:
    BOOL OnInitDialog() override {
        m_bCustomAtInit = dynamic_cast<CCustomProbe*>(GetDlgItem(static_cast<int>(kCustomId))) != nullptr;
        return CDialog::OnInitDialog();
    }
};
IMPLEMENT_DYNAMIC(CCustomDlg, CDialog)

class CCustomForm : public CFormView {
public:
    CCustomForm() : CFormView(IDD_CUSTOM) {}
};

class TemplateCustomControls : public ::testing::Test {
protected:
    void SetUp() override {
        AfxGetAnswerQueue().Reset();
        ::SetLastError(0);
    }
    void TearDown() override {
        UnregisterClassA("ProbeCustom", nullptr);
        AfxRemoveModuleResources(nullptr);
        AfxGetAnswerQueue().Reset();
        EXPECT_EQ(g_customAlive, 0);
        EXPECT_EQ(AfxGetWindowCount(), 0); // nothing half made is left behind
    }
    // A template with an edit box, then a control of the class cls (registered with proc when given).
    static void AddTemplate(const char* cls, WNDPROC proc = nullptr) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = proc;
        wc.lpszClassName = "ProbeCustom";
        if (proc) { ASSERT_NE(RegisterClassA(&wc), 0); }
        AfxDialogDef def;
        def.style = WS_POPUP;
        def.items = {{1202, "EDIT", "", WS_TABSTOP, 0, 0, 50, 12, "text"},
                     {kCustomId, cls, "inside", WS_VISIBLE, 5, 20, 120, 60, "custom"}};
        AfxAddDialogResource(nullptr, IDD_CUSTOM, def);
    }
};
} // namespace

TEST_F(TemplateCustomControls, AControlOfARegisteredClassIsMadeByItsClassProcedure) {
    AddTemplate("probecustom", CustomProc); // class names compare without regard to case
    CCustomDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_CUSTOM));
    EXPECT_TRUE(dlg.m_bCustomAtInit); // there before the dialog initialises
    auto* custom = dynamic_cast<CCustomProbe*>(dlg.GetDlgItem(static_cast<int>(kCustomId)));
    ASSERT_NE(custom, nullptr);
    CString text;
    custom->GetWindowText(text);
    EXPECT_EQ(text, "inside");
    CRect r;
    custom->GetWindowRect(&r);
    EXPECT_EQ(r.Size(), CSize(120, 60));
    EXPECT_EQ(custom->GetFont(), dlg.GetFont());
    dlg.DestroyWindow(); // the attached object goes with its window
    EXPECT_EQ(g_customAlive, 0);
    CCustomDlg modal;
    AfxGetAnswerQueue().PushDialog("CCustomDlg", TRUE, {{"text", "x"}});
    EXPECT_EQ(modal.DoModal(), IDOK);
    EXPECT_TRUE(modal.m_bCustomAtInit);
}

TEST_F(TemplateCustomControls, AClassNotRegisteredOrAControlRefusedKeepsTheDialogFromOpening) {
    AddTemplate("ProbeNobody");
    CCustomDlg modal;
    AfxGetAnswerQueue().PushDialog("CCustomDlg", TRUE, {});
    EXPECT_EQ(modal.DoModal(), -1);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
    EXPECT_FALSE(modal.m_bCustomAtInit || modal.m_hWnd); // never initialised, nothing left open
    CCustomDlg modeless;
    EXPECT_FALSE(modeless.Create(IDD_CUSTOM));
    EXPECT_EQ(modeless.m_hWnd, nullptr);
    AddTemplate("ProbeCustom", RefusingCustomProc);
    EXPECT_FALSE(modeless.Create(IDD_CUSTOM));
    EXPECT_EQ(modeless.m_hWnd, nullptr);
}

// A refused control says so, whatever error an earlier call left: the class was found.
TEST_F(TemplateCustomControls, ARefusedControlIsNotReportedAsAClassNotRegistered) {
    AddTemplate("ProbeCustom", RefusingCustomProc);
    ::SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    CCustomDlg dlg;
    EXPECT_FALSE(dlg.Create(IDD_CUSTOM));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_CANNOT_CREATE_WINDOW));
    UnregisterClassA("ProbeCustom", nullptr);
    AddTemplate("ProbeCustom");
    WNDCLASSA noProc{};
    noProc.lpszClassName = "ProbeCustom";
    ASSERT_NE(RegisterClassA(&noProc), 0);
    ::SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    EXPECT_FALSE(dlg.Create(IDD_CUSTOM));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_CANNOT_CREATE_WINDOW));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(TemplateCustomControls, TheSystemsOwnControlClassesNeedNoRegistration) {
    AddTemplate("msctls_updown32");
    CCustomDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_CUSTOM));
    EXPECT_NE(dlg.GetDlgItem(static_cast<int>(kCustomId)), nullptr);
    dlg.DestroyWindow();
}

TEST_F(TemplateCustomControls, AFormWhoseTemplateCannotBeMadeIsNotCreated) {
    AddTemplate("ProbeNobody");
    CWnd parent;
    ASSERT_TRUE(parent.Create(nullptr, "frame", WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 1));
    auto* form = new CCustomForm;
    bool deleted = false;
    form->m_pDeletedFlag = &deleted;
    EXPECT_FALSE(form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1, nullptr));
    EXPECT_TRUE(deleted); // the view went with its window, as a view does
    EXPECT_TRUE(parent.GetChildren().empty());
    parent.DestroyWindow();
}

// A pending fill runs once, at the first read or change of the list, before it: the list then reads,
// finds and selects as if the items had been added at once, and a selection made before follows its item.
TEST_F(CDialogTest, APendingFillRunsOnceBeforeTheListIsFirstUsed) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", 0, CRect(0, 0, 100, 100), nullptr, 0));
    CListBox lb;
    ASSERT_TRUE(lb.Create(LBS_SORT, CRect(), &parent, 5));
    lb.AddString("M");
    ASSERT_EQ(lb.SetCurSel(0), 0);
    int runs = 0;
    lb.SetPendingFill([&] {
        ++runs;
        lb.AddStrings({{"C", 3}, {"A", 1}, {"Z", 26}});
    });
    EXPECT_TRUE(lb.HasPendingFill());
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(lb.GetCurSel(), 2); // "M" after "A" and "C"
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(lb.HasPendingFill());
    EXPECT_EQ(lb.GetCount(), 4);
    EXPECT_EQ(lb.GetItemData(3), 26u);
    EXPECT_EQ(runs, 1);

    // Each way in runs it: a search, an add (which goes in after the fill's items), a selection.
    CComboBox cb;
    ASSERT_TRUE(cb.Create(CBS_SORT, CRect(), &parent, 6));
    cb.SetPendingFill([&] { cb.AddStrings({{"net1", 1}, {"net2", 2}}); });
    EXPECT_EQ(cb.FindStringExact(-1, "NET2"), 1);
    cb.SetPendingFill([&] { cb.AddStrings({{"b", 3}}); });
    EXPECT_EQ(cb.AddString("a"), 0);
    EXPECT_EQ(cb.GetCount(), 4);
    cb.SetPendingFill([&] { cb.AddStrings({{"0", 4}}); });
    EXPECT_EQ(cb.SetCurSel(0), 0);
    CString s;
    cb.GetWindowText(s);
    EXPECT_EQ(s, "0");
    // A reset drops a fill that has not run: its items would go with the rest.
    cb.SetPendingFill([&] { cb.AddStrings({{"late", 5}}); });
    cb.ResetContent();
    EXPECT_EQ(cb.GetCount(), 0);
}
