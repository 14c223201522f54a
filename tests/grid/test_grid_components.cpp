// The small components of the grid framework: typed row attributes, the change
// digest, the row filter, journal lines, the dump and custom property columns.
#include "GridTestSupport.h"

#include "KXDesignSnapshot.h"
#include "KXTempPath.h"

#include "grid/KXPupdMark.h"
#include "grid/KXChangeDigest.h"
#include "grid/KXColumnModel.h"
#include "grid/KXCustomColumns.h"
#include "grid/KXGridDump.h"
#include "grid/KXGridSite.h"
#include "grid/KXJournalLine.h"
#include "grid/KXRowAttrs.h"
#include "grid/KXRowFilter.h"
#include "grid/KXScriptText.h"

#include "afx/afxanswer.h"
#include "afx/afxreg.h"
#include "kxcommon/KXCustomizeAPI.h"
#include "kxcommon/KXShareGlobalData.h"
#include "rmx/DesignBuilder.h"
#include "rmx/transaction.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// ------------------------------------------------------------------ row attributes

inline constexpr KXAttr<int> kIndex{8887};
inline constexpr KXAttr<CString> kBase{59408};
inline constexpr KXAttr<bool> kGroup{59470};

TEST(RowAttrs, TypedReadsWritesAndMissingValues) {
    CRecordingGrid grid;
    SetUpGrid(grid);
    grid.GetParam()->SetLockReadOnly(TRUE);
    grid.GetParam()->EnableUndo(TRUE);
    grid.GetParam()->GetUndoList()->RemoveAll();
    KXRowAttrs attrs(grid, 6);
    EXPECT_EQ(attrs.Get(2, kIndex), 0);
    EXPECT_EQ(attrs.Get(2, kBase), "");
    EXPECT_FALSE(attrs.Get(2, kGroup));
    EXPECT_FALSE(attrs.Has(2, kIndex));

    attrs.Set(2, kIndex, 42);
    attrs.Set(2, kBase, CString("DATA"));
    attrs.Set(2, kGroup, true);
    EXPECT_EQ(attrs.Get(2, kIndex), 42);
    EXPECT_EQ(attrs.Get(2, kBase), "DATA");
    EXPECT_TRUE(attrs.Get(2, kGroup));
    EXPECT_TRUE(attrs.Has(2, kIndex));
    EXPECT_EQ(attrs.Text(2, kIndex.id), "42");
    // Writing is the program's: nothing recorded, the lock as it was.
    EXPECT_TRUE(grid.GetParam()->GetUndoList()->IsEmpty());
    EXPECT_TRUE(grid.GetParam()->IsLockReadOnly());
    // A text that spells a number reads as it; outside the grid everything reads as missing.
    CGXStyle style;
    kxattr::Put(style, KXAttr<CString>{kIndex.id}, CString("7"));
    attrs.Write(3, style);
    EXPECT_EQ(attrs.Get(3, kIndex), 7);
    EXPECT_EQ(KXRowAttrs(grid, 999).Get(2, kIndex), 0);
    EXPECT_EQ(KXRowAttrs(grid, 0).Get(2, kBase), "");
}

TEST(RowAttrs, PresentButEmptyAndZeroAreToldApartFromMissing) {
    CGXStyle style;
    // Missing: no text, the number 0, not there.
    EXPECT_FALSE(kxattr::Has(style, kIndex));
    EXPECT_EQ(kxattr::Get(style, kBase), "");
    EXPECT_EQ(kxattr::Get(style, kIndex), 0);
    // An empty text is there but counts as missing; the number 0 is there and counts.
    kxattr::Put(style, kBase, CString());
    kxattr::Put(style, kIndex, 0);
    EXPECT_FALSE(kxattr::Has(style, kBase));
    EXPECT_TRUE(kxattr::Has(style, kIndex));
    EXPECT_EQ(kxattr::Get(style, kIndex), 0);
    // Another attribute of the style neither shows through nor hides one that is missing.
    EXPECT_FALSE(kxattr::Has(style, kGroup));
    EXPECT_FALSE(kxattr::Get(style, kGroup));
    kxattr::Put(style, kGroup, true);
    kxattr::Put(style, KXAttr<CString>{kIndex.id}, CString("-3"));
    EXPECT_TRUE(kxattr::Get(style, kGroup));
    EXPECT_EQ(kxattr::Get(style, kIndex), -3);
    EXPECT_EQ(kxattr::Get(style, kBase), "");
}

// ------------------------------------------------------------------ change digest

class Recorder : public KXChangeHooks {
public:
    std::vector<std::string> seen;
    bool began = false, ended = false;
    void OnDigestBegin(const KXChangeDigest&) override { began = true; }
    void OnDigestEnd(const KXChangeDigest&) override { ended = true; }
    void OnNetChange(const IChange& c, INet& net) override {
        seen.push_back("N" + std::to_string(c.changeKind()) + ":" + net.name());
    }
    void OnConnChange(const IChange& c, CConn&) override { seen.push_back("C" + std::to_string(c.changeKind())); }
    void OnInstanceChange(const IChange& c, IInstance& i) override {
        seen.push_back("I" + std::to_string(c.changeKind()) + ":" + i.name());
    }
    void OnPropertyChange(const IChange&, CPropertyChange& p) override {
        seen.push_back(std::string("P:") + p.name());
    }
};

class Digest : public ::testing::Test {
protected:
    void SetUp() override {
        builder.symbol("RES").port("A").port("B");
        builder.schematic("top").instance("U1", "RES").net("N1");
        design = builder.context();
    }
    IServer server;
    rmx::DesignBuilder builder{&server, "work"};
    CDesignContext design;
};

TEST_F(Digest, SortsOnceAndDispatchesInTheFixedOrder) {
    CTransaction t(design, "edit");
    INet* net = t.createNet("N2", static_cast<unsigned>(-1), static_cast<unsigned>(-1));
    ASSERT_TRUE(net && t.addNet(net));
    IInstance* u1 = design.design()->findInstance("U1");
    ASSERT_TRUE(t.addConn(net, static_cast<unsigned>(-1), static_cast<unsigned>(-1), u1->findInstTerm("A"),
                          static_cast<unsigned>(-1), static_cast<unsigned>(-1)));
    ASSERT_TRUE(t.renameInstance(u1, "U9"));
    ASSERT_TRUE(t.addProperty(design.instance("U9"), "VOLT", "3V3"));
    ASSERT_TRUE(t.commit());

    const KXChangeDigest digest(t);
    EXPECT_TRUE(digest.Touches(rmx::ObjType::Net));
    EXPECT_TRUE(digest.Touches(rmx::ObjType::Conn));
    EXPECT_FALSE(digest.Touches(rmx::ObjType::Component));
    EXPECT_TRUE(digest.TouchesAny({rmx::ObjType::Alias, rmx::ObjType::Property}));
    EXPECT_FALSE(digest.Touches('?'));
    EXPECT_EQ(digest.Design(), design.design());
    std::size_t total = 0;
    for (char type : KXChangeDigest::DispatchOrder())
        total += digest.Of(type).size();
    EXPECT_EQ(total, digest.Count());

    Recorder hooks;
    digest.Dispatch(hooks);
    EXPECT_TRUE(hooks.began);
    EXPECT_TRUE(hooks.ended);
    // Instances, then properties, then connections, then nets, whatever order they were made in.
    const std::vector<std::string> expected = {"I3:U9", "P:VOLT", "C1", "N1:N2"};
    EXPECT_EQ(hooks.seen, expected);

    // Hooks not overridden do nothing.
    KXChangeHooks none;
    digest.Dispatch(none);
}

TEST_F(Digest, EmptyAndNullRecordsAreHarmless) {
    const KXChangeDigest digest(std::vector<IChange*>{nullptr});
    EXPECT_TRUE(digest.Empty());
    Recorder hooks;
    digest.Dispatch(hooks);
    EXPECT_TRUE(hooks.seen.empty());
}

// ------------------------------------------------------------------ row filter

TEST(RowFilter, PatternsOfTheFilterRow) {
    CRecordingGrid grid;
    SetUpGrid(grid, 4, 3);
    const char* names[] = {"CLK", "DATA0", "DATA1", "RST"};
    for (ROWCOL r = 0; r < 4; ++r)
        grid.SetValueRange(CGXRange(6 + r, 1), names[r]);
    KXRowFilter filter(grid);
    EXPECT_TRUE(KXRowFilter::IsMatchAll("*"));
    EXPECT_TRUE(KXRowFilter::IsMatchAll(""));
    EXPECT_TRUE(KXRowFilter::IsMatchAll("   "));
    EXPECT_FALSE(KXRowFilter::IsMatchAll("DATA*"));
    EXPECT_TRUE(KXRowFilter::Matches("data?", "DATA1"));
    EXPECT_TRUE(KXRowFilter::Matches("D[3]", "d[3]")); // brackets are plain characters

    auto text = [&grid](ROWCOL row, ROWCOL col) { return CString(grid.GetValueRowCol(row, col)); };
    filter.SetPattern(1, "*");
    filter.SetPattern(2, "");
    EXPECT_FALSE(filter.IsActive(1, 3));
    EXPECT_TRUE(filter.RejectedRows(6, 9, 1, 3, GX_INVALID, text).empty()); // "*" hides nothing

    grid.GetParam()->SetLockReadOnly(TRUE);
    filter.SetPattern(1, "DATA*");
    EXPECT_EQ(filter.PatternOf(1), "DATA*");
    ASSERT_EQ(filter.ActivePatterns(1, 3).size(), 1u);
    EXPECT_EQ(filter.RejectedRows(6, 9, 1, 3, GX_INVALID, text), (std::set<ROWCOL>{6, 9}));
    EXPECT_TRUE(grid.GetParam()->IsLockReadOnly());
    // Columns beyond the grid are not read.
    EXPECT_EQ(filter.ActivePatterns(1, 99).size(), 1u);
}

// ------------------------------------------------------------------ journal lines

TEST(JournalLines, HandleQuotingAndWriting) {
    IServer server;
    rmx::DesignBuilder builder{&server, "work"};
    builder.symbol("RES").port("A");
    builder.schematic("top").instance("U1", "RES");
    const CDesignContext design = builder.context();
    CFakeGridSite site;
    EXPECT_EQ(KXJournalHandle(nullptr, design), design.name());
    EXPECT_EQ(KXJournalHandle(&site, design), design.name()); // a site without a document
    site.handle = "top";
    EXPECT_EQ(KXJournalHandle(&site, design), "top");
    EXPECT_EQ(KXJournalHandle(nullptr, CDesignContext()), "");

    KXJournalLines lines("top");
    lines.Clp("Select", {"U\"1"}).Comment("Insert Comment").Pane("InsertComment", {"a\nb", "2"}).End();
    EXPECT_EQ(lines.Text(), "\ncall top.Clp().Select(" + KXVbsQuote("U\"1") +
                                ")\n\n ' --- Insert Comment ---\ncall top.ConnectivityPane().InsertComment(" +
                                KXVbsQuote("a\nb") + "," + KXVbsQuote("2") + ")\n");
    EXPECT_EQ(lines.Text().Find("\nb"), -1); // a line break in a text never ends the call line
    KXJournalLines noArgs("top");
    EXPECT_EQ(noArgs.Pane("Copy").Text(), "\ncall top.ConnectivityPane().Copy()");

    // Only a recorded journal is written.
    CKXShareGlobalData::m_bAutomation = nullptr;
    EXPECT_FALSE(lines.Write());
    const std::string path = KXUniqueTempPath("journal_lines.vbs").string();
    std::filesystem::remove(path);
    std::string buffer = path;
    CKXShareGlobalData::m_bAutomation = buffer.data();
    EXPECT_TRUE(lines.Write());
    EXPECT_TRUE(lines.Write());
    CKXShareGlobalData::m_bAutomation = nullptr;
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_EQ(ss.str(), std::string(lines.Text().GetString()) + lines.Text().GetString());
    std::filesystem::remove(path);
}

// ------------------------------------------------------------------ dump

TEST(GridDump, EveryShownCellPaddedAndAppended) {
    CRecordingGrid grid;
    SetUpGrid(grid, 2, 3);
    grid.SetRowCount(2);
    grid.SetValueRange(CGXRange(1, 1), "a");
    grid.SetValueRange(CGXRange(1, 2), "hidden column");
    grid.SetValueRange(CGXRange(1, 3), std::string(40, 'x').c_str());
    grid.SetValueRange(CGXRange(2, 1), "hidden row");
    grid.HideCols(2, 2, TRUE);
    grid.HideRows(2, 2, TRUE);
    KXGridDump dump;
    dump.Line("head\n").Cells(grid);
    const std::string pad = "a" + std::string(30, ' ') + "   " + std::string(40, 'x') + "   \n";
    EXPECT_EQ(dump.Text(), "head\n" + pad);

    KXGridDump onlyFirst;
    onlyFirst.Cells(grid, [](ROWCOL col) { return col == 1; });
    EXPECT_EQ(onlyFirst.Text(), "a" + std::string(30, ' ') + "   \n");

    const std::string path = KXUniqueTempPath("grid_dump.txt").string();
    std::filesystem::remove(path);
    EXPECT_TRUE(dump.AppendTo(path.c_str()));
    EXPECT_TRUE(dump.AppendTo(path.c_str()));
    EXPECT_EQ(std::filesystem::file_size(path), 2 * dump.Text().size());
    std::filesystem::remove(path);
    EXPECT_FALSE(dump.AppendTo(nullptr));
    EXPECT_FALSE(dump.AppendTo("/nonexistent-dir/x/dump.txt"));
}

// ------------------------------------------------------------------ custom property columns

class RowObjects : public IKXRowObjects {
public:
    CDesignContext design;
    CInstanceContext RowInstance(ROWCOL row) override { return row == 6 ? design.instance("U1") : CInstanceContext(); }
    IInstTerm* RowPin(ROWCOL row, int& msb, int& lsb) override {
        msb = lsb = -1;
        return row == 6 ? design.design()->findInstance("U1")->findInstTerm("A") : nullptr;
    }
    INet* RowNet(ROWCOL row, int& msb, int& lsb) override {
        msb = lsb = -1;
        return row == 6 ? design.design()->findNet("N1") : nullptr;
    }
};

TEST(CustomColumns, WritesTheRowObjectByTheColumnsOrigin) {
    AfxSetRegistryDirectory("");
    CKXCustomizeAPI::Reset();
    CKXCustomizeAPI::SetStorageDirectory("");
    CKXColumnModel model("TSTC", KXGridKind::Matrix, "TSTC");
    model.SelectOrigin();
    CStringArray list;
    for (const char* e : {"PIN_NAME|Pin Name|14s|DEFAULT|SHOW", "VOLT|Volt|8s|INSTPROP|SHOW",
                          "SPEED|Speed|8s|PINPROP|SHOW", "DELAY|Delay|8s|NETPROP|SHOW"})
        list.Add(e);
    CKXCustomizeAPI::parseFile(list, false);
    model.Setup({}, 7, false);

    IServer server;
    rmx::DesignBuilder builder{&server, "work"};
    builder.symbol("RES").port("A");
    builder.schematic("top").instance("U1", "RES").net("N1").connect("U1", "A", "N1");
    RowObjects rows;
    rows.design = builder.context();
    KXCustomColumns custom(model, rows);

    CStringArray names;
    names.Add("VOLT");
    names.Add("DELAY");
    EXPECT_TRUE(custom.AreKnown(&names));
    names.Add("PIN_NAME"); // a default column is not a property column
    EXPECT_FALSE(custom.AreKnown(&names));

    EXPECT_EQ(KXCustomColumns::Check("VOLT", "", KXCustomColumns::kStateDeleteOnly),
              KXCustomColumns::Verdict::DeleteOnly);
    EXPECT_EQ(KXCustomColumns::Check("VOLT", "", KXCustomColumns::kStateRequired),
              KXCustomColumns::Verdict::EmptyNotAllowed);
    EXPECT_EQ(KXCustomColumns::Check("VOLT", "3V3", 0), KXCustomColumns::Verdict::Ok);

    const std::string before = KXDesignSnapshot(server, rows.design.design(), "custom");
    CTransaction t(rows.design, "Change Property");
    EXPECT_TRUE(custom.Write(t, rows.design, 6, model.ColumnOfKey("VOLT"), "VOLT", "3V3"));
    EXPECT_TRUE(custom.Write(t, rows.design, 6, model.ColumnOfKey("SPEED"), "SPEED", "fast"));
    EXPECT_TRUE(custom.Write(t, rows.design, 6, model.ColumnOfKey("DELAY"), "DELAY", "2ns"));
    EXPECT_FALSE(custom.Write(t, rows.design, 7, model.ColumnOfKey("VOLT"), "VOLT", "1")); // no object
    EXPECT_FALSE(custom.Write(t, rows.design, 6, model.ColumnOfKey("PIN_NAME"), "PIN_NAME", "x"));
    ASSERT_TRUE(t.commit());
    auto value = [](const CContext& object, const char* name) {
        std::unique_ptr<CPQPropertyData> p(object.findProperty(name));
        return p ? CString(p->value()) : CString();
    };
    EXPECT_EQ(value(rows.design.instance("U1"), "VOLT"), "3V3");
    EXPECT_EQ(value(rows.design.instance("U1").instTerm("A"), "SPEED"), "fast");
    EXPECT_EQ(value(rows.design.net("N1"), "DELAY"), "2ns");
    EXPECT_NE(KXDesignSnapshot(server, rows.design.design(), "custom"), before);
    CKXCustomizeAPI::Reset();
}

} // namespace

// The pull-up/pull-down mark: a component on the bit itself decides; an alias's shows beside a
// local one of the other kind, or alone.
TEST(PupdMark, EveryMixOfTheFourFlags) {
    struct Case {
        bool lu, ld, au, ad;
        UINT control;
        const char* tip;
    };
    const Case cases[] = {
        {true, true, true, true, IDS_CTRL_PUPD_LOCAL_BOTH, "Local PuPd"},
        {true, true, false, false, IDS_CTRL_PUPD_LOCAL_BOTH, "Local PuPd"},
        {true, false, false, true, IDS_CTRL_PUPD_LOCAL_PULLUP_ALIAS_PULLDOWN, "Local Pullup/Inherited Pulldown"},
        {true, false, true, true, IDS_CTRL_PUPD_LOCAL_PULLUP_ALIAS_PULLDOWN, "Local Pullup/Inherited Pulldown"},
        {true, false, true, false, IDS_CTRL_PUPD_LOCAL_PULLUP, "Local Pullup"},
        {true, false, false, false, IDS_CTRL_PUPD_LOCAL_PULLUP, "Local Pullup"},
        {false, true, true, false, IDS_CTRL_PUPD_LOCAL_PULLDOWN_ALIAS_PULLUP, "Local Pulldown/Inherited Pullup"},
        {false, true, true, true, IDS_CTRL_PUPD_LOCAL_PULLDOWN_ALIAS_PULLUP, "Local Pulldown/Inherited Pullup"},
        {false, true, false, true, IDS_CTRL_PUPD_LOCAL_PULLDOWN, "Local PullDown"},
        {false, true, false, false, IDS_CTRL_PUPD_LOCAL_PULLDOWN, "Local PullDown"},
        {false, false, true, true, IDS_CTRL_PUPD_ALIAS_BOTH, "Inherited PuPd"},
        {false, false, true, false, IDS_CTRL_PUPD_ALIAS_PULLUP, "Inherited Pullup"},
        {false, false, false, true, IDS_CTRL_PUPD_ALIAS_PULLDOWN, "Inherited Pulldown"},
        {false, false, false, false, IDS_CTRL_PUPD_NONE, ""},
    };
    for (const Case& c : cases) {
        const KXPupdMark mark = KXPupdMarkOf(c.lu, c.ld, c.au, c.ad);
        EXPECT_EQ(mark.control, c.control) << c.lu << c.ld << c.au << c.ad;
        EXPECT_STREQ(mark.toolTip, c.tip) << c.lu << c.ld << c.au << c.ad;
    }
}
