#include "gridtest.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <memory>
#include <vector>

TEST(GridStyle, AbsentUserAttributesReadEmptyAndZero)
{
    CGXStyle s;
    EXPECT_FALSE(s.GetIncludeUserAttribute(59401));
    EXPECT_STREQ(s.GetUserAttribute(59401).GetValue(), "");
    EXPECT_EQ(s.GetUserAttribute(59401).GetLongValue(), 0);
    EXPECT_EQ(s.GetUserAttribute(59401).GetDoubleValue(), 0.0);
}

TEST(GridStyle, NumbersAreStoredAsDoublesAndReadTruncated)
{
    CGXStyle s;
    s.SetUserAttribute(7788, 42.9);
    s.SetUserAttribute(7789, -3.7);
    s.SetUserAttribute(7790, 1e12);
    s.SetUserAttribute(7791, 12345L);
    EXPECT_EQ(s.GetUserAttribute(7788).GetLongValue(), 42);
    EXPECT_DOUBLE_EQ(s.GetUserAttribute(7788).GetDoubleValue(), 42.9);
    EXPECT_EQ(s.GetUserAttribute(7789).GetLongValue(), -3);
    EXPECT_EQ(s.GetUserAttribute(7790).GetLongValue(), INT32_MAX); // clamped, no overflow
    EXPECT_STREQ(s.GetUserAttribute(7791).GetValue(), "12345");
    // Texts read as numbers when they are numbers, 0 otherwise.
    s.SetUserAttribute(59402, "17");
    s.SetUserAttribute(59403, "abc");
    EXPECT_EQ(s.GetUserAttribute(59402).GetLongValue(), 17);
    EXPECT_EQ(s.GetUserAttribute(59403).GetLongValue(), 0);
}

// Texts read as numbers the way the C library reads them, plain digit runs and the rest alike.
TEST(GridStyle, TextAttributesReadAsTheLibraryParsesThem)
{
    const char* texts[] = {"0",  "-0",  "007", "-12", "2147483648", "-99999999999", "123456789012345",
                           "1234567890123456", "12abc", " 5", "+5", "-", "1.5", "1e3", ""};
    for (const char* text : texts) {
        CGXStyle s;
        s.SetUserAttribute(59404, text);
        const long long wantLong = std::strtoll(text, nullptr, 10);
        const LONG clamped = static_cast<LONG>(std::clamp<long long>(wantLong, INT32_MIN, INT32_MAX));
        EXPECT_EQ(s.GetUserAttribute(59404).GetLongValue(), clamped) << text;
        const double got = s.GetUserAttribute(59404).GetDoubleValue();
        const double want = std::strtod(text, nullptr);
        EXPECT_EQ(got, want) << text;
        EXPECT_EQ(std::signbit(got), std::signbit(want)) << text;
        s.SetValue(text);
        EXPECT_EQ(s.GetLongValue(), clamped) << text;
    }
}

TEST(GridStyle, OwnedAttributeObjectsAreCopiedWithTheStyleAndFreed)
{
    CGXStyle s;
    s.SetUserAttributePtr(GX_IDS_UA_ELLIPSISTYPE, new CGXEllipseUserAttribute(gxDotEllipse));
    CGXStyle copy(s);
    const auto* e = dynamic_cast<const CGXEllipseUserAttribute*>(&copy.GetUserAttribute(GX_IDS_UA_ELLIPSISTYPE));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetEllipseType(), gxDotEllipse);
    // Replacing and removing in one style leave the copy alone; the objects are freed when the last
    // style holding them goes (checked by the leak sanitizer).
    s.SetUserAttributePtr(GX_IDS_UA_ELLIPSISTYPE, new CGXEllipseUserAttribute(gxPoundEllipse));
    EXPECT_EQ(copy.GetUserAttribute(GX_IDS_UA_ELLIPSISTYPE).GetLongValue(), gxDotEllipse);
    EXPECT_EQ(s.GetUserAttribute(GX_IDS_UA_ELLIPSISTYPE).GetLongValue(), gxPoundEllipse);
    s.SetIncludeUserAttribute(GX_IDS_UA_ELLIPSISTYPE, FALSE);
    EXPECT_FALSE(s.GetIncludeUserAttribute(GX_IDS_UA_ELLIPSISTYPE));
    EXPECT_TRUE(copy.GetIncludeUserAttribute(GX_IDS_UA_ELLIPSISTYPE));
    EXPECT_TRUE(copy == CGXStyle(copy));
}

TEST(GridStyle, ModifyTypes)
{
    CGXStyle a, b;
    a.SetValue("a").SetReadOnly(TRUE).SetUserAttribute(1, "one");
    b.SetValue("b").SetEnabled(FALSE).SetUserAttribute(1, "uno").SetUserAttribute(2, "two");

    CGXStyle over(a);
    over.ChangeStyle(b, gxOverride);
    EXPECT_STREQ(over.GetValue(), "b");
    EXPECT_TRUE(over.GetReadOnly());
    EXPECT_FALSE(over.GetEnabled());
    EXPECT_STREQ(over.GetUserAttribute(1).GetValue(), "uno");

    CGXStyle applyNew(a);
    applyNew.ChangeStyle(b, gxApplyNew);
    EXPECT_STREQ(applyNew.GetValue(), "a");
    EXPECT_TRUE(applyNew.GetIncludeEnabled());
    EXPECT_STREQ(applyNew.GetUserAttribute(1).GetValue(), "one");
    EXPECT_STREQ(applyNew.GetUserAttribute(2).GetValue(), "two");

    CGXStyle copy(a);
    copy.ChangeStyle(b, gxCopy);
    EXPECT_TRUE(copy == b);

    CGXStyle excl(over);
    excl.ChangeStyle(b, gxExclude);
    EXPECT_FALSE(excl.GetIncludeValue());
    EXPECT_FALSE(excl.GetIncludeEnabled());
    EXPECT_TRUE(excl.GetIncludeReadOnly());
    EXPECT_FALSE(excl.GetIncludeUserAttribute(1));
}

TEST(GridStyle, FontsMergeAttributeByAttribute)
{
    CGXStyle a, b;
    a.SetFont(CGXFont().SetBold(TRUE));
    b.SetFont(CGXFont().SetFaceName("Tahoma").SetBold(FALSE).SetSize(8));
    a.ChangeStyle(b, gxApplyNew);
    EXPECT_TRUE(a.GetFont().GetBold());
    EXPECT_STREQ(a.GetFont().GetFaceName(), "Tahoma");
    EXPECT_EQ(a.GetFont().GetSize(), 8);
}

TEST(GridStyle, BrushesPensAndChoiceLists)
{
    CGXStyle s;
    s.SetInterior(CGXBrush(HS_BDIAGONAL, RGB(255, 0, 0), RGB(255, 255, 255)));
    s.SetBorders(gxBorderAll, CGXPen(PS_NULL));
    s.SetChoiceList("*\n");
    EXPECT_TRUE(s.GetInterior().IsHatched());
    EXPECT_EQ(s.GetInterior().GetHatch(), HS_BDIAGONAL);
    EXPECT_FALSE(s.GetBorders(gxBorderLeft).IsVisible());
    EXPECT_TRUE(s.GetIncludeBorders(gxBorderAll));
    EXPECT_STREQ(s.GetChoiceList(), "*\n");
    CGXStyle plain;
    EXPECT_FALSE(plain.GetIncludeInterior());
    EXPECT_TRUE(plain.GetInterior().IsSolid());
}

TEST(GridStyle, CompositionCellRowColumnBaseAndStandard)
{
    TestGrid g;
    CGXStylesMap* map = g.GetStylesMap();
    CGXStyle base;
    base.SetTextColor(RGB(1, 2, 3)).SetUserAttribute(100, "from base");
    WORD id = map->RegisterStyle("Mine", base);
    g.SetStyleRange(CGXRange().SetCols(2), CGXStyle().SetHorizontalAlignment(DT_RIGHT).SetBaseStyle(id));
    g.SetStyleRange(CGXRange().SetRows(3), CGXStyle().SetHorizontalAlignment(DT_CENTER));
    g.SetStyleRange(CGXRange(3, 2), CGXStyle().SetValue("x"));

    CGXStyle s;
    g.ComposeStyleRowCol(3, 2, &s);
    EXPECT_STREQ(s.GetValue(), "x");
    EXPECT_EQ(s.GetHorizontalAlignment(), DT_CENTER); // the row wins over the column
    EXPECT_EQ(s.GetTextColor(), RGB(1, 2, 3));         // from the column's base style
    EXPECT_STREQ(s.GetUserAttribute(100).GetValue(), "from base");
    EXPECT_EQ(s.GetControl(), GX_IDS_CTRL_EDIT);       // from the standard style
    EXPECT_STREQ(s.GetFont().GetFaceName(), "Arial");

    g.ComposeStyleRowCol(4, 2, &s);
    EXPECT_EQ(s.GetHorizontalAlignment(), DT_RIGHT);
    // Header cells use the header styles.
    g.ComposeStyleRowCol(0, 2, &s);
    EXPECT_EQ(s.GetControl(), GX_IDS_CTRL_HEADER);
    g.ComposeStyleRowCol(5, 0, &s);
    EXPECT_EQ(s.GetControl(), GX_IDS_CTRL_HEADER);
    g.ExpectConsistent();
}

TEST(GridStyle, FindComposedStyleGivesTheStyleAPartIsComposedFrom)
{
    TestGrid g;
    CGXStylesMap* map = g.GetStylesMap();
    WORD id = map->RegisterStyle("Mine", CGXStyle().SetUserAttribute(100, "from base"));
    g.SetStyleRange(CGXRange().SetCols(2), CGXStyle().SetHorizontalAlignment(DT_RIGHT).SetBaseStyle(id));
    g.SetStyleRange(CGXRange().SetRows(3), CGXStyle().SetHorizontalAlignment(DT_CENTER));
    g.SetStyleRange(CGXRange(3, 2), CGXStyle().SetValue("x"));
    auto value = [](const CGXStyle& s) { return s.GetIncludeValue() != FALSE; };
    auto attr = [](const CGXStyle& s) { return s.GetIncludeUserAttribute(100) != FALSE; };
    auto horz = [](const CGXStyle& s) { return s.GetIncludeHorizontalAlignment() != FALSE; };
    auto control = [](const CGXStyle& s) { return s.GetIncludeControl() != FALSE; };
    const CGXStyle* cell = g.FindComposedStyle(3, 2, value);
    ASSERT_NE(cell, nullptr);
    EXPECT_STREQ(cell->GetValue(), "x");
    EXPECT_EQ(g.FindComposedStyle(3, 2, horz)->GetHorizontalAlignment(), DT_CENTER); // the row before the column
    EXPECT_EQ(g.FindComposedStyle(4, 2, horz)->GetHorizontalAlignment(), DT_RIGHT);
    EXPECT_EQ(g.FindComposedStyle(3, 2, attr), map->LookupStyle(id));
    EXPECT_EQ(g.FindComposedStyle(3, 2, control), map->LookupStyle(map->m_wStyleStandard));
    EXPECT_EQ(g.FindComposedStyle(3, 1, attr), nullptr);
    EXPECT_EQ(g.FindComposedStyle(0, 2, control)->GetControl(), GX_IDS_CTRL_HEADER);
}

TEST(GridStyle, BaseStyleCycleEnds)
{
    TestGrid g;
    CGXStylesMap* map = g.GetStylesMap();
    WORD a = map->RegisterStyle("A", CGXStyle());
    WORD b = map->RegisterStyle("B", CGXStyle().SetBaseStyle(a).SetTextColor(RGB(9, 9, 9)));
    map->RegisterStyle("A", CGXStyle().SetBaseStyle(b)); // A -> B -> A
    g.SetStyleRange(CGXRange(1, 1), CGXStyle().SetBaseStyle(a));
    CGXStyle s;
    g.ComposeStyleRowCol(1, 1, &s);
    EXPECT_EQ(s.GetTextColor(), RGB(9, 9, 9));
    EXPECT_EQ(s.GetControl(), GX_IDS_CTRL_EDIT); // the standard style still fills in
}

TEST(GridStyle, ReadOnlyLock)
{
    TestGrid g;
    g.SetStyleRange(CGXRange(2, 2), CGXStyle().SetValue("keep").SetReadOnly(TRUE));
    EXPECT_TRUE(g.GetParam()->IsLockReadOnly());
    EXPECT_FALSE(g.SetValueRange(CGXRange(2, 2), "changed"));
    EXPECT_EQ(g.Value(2, 2), "keep");
    // A range with a read-only cell: the others are written, the call reports the refusal.
    EXPECT_FALSE(g.SetValueRange(CGXRange(2, 1, 2, 3), "z"));
    EXPECT_EQ(g.Value(2, 1), "z");
    EXPECT_EQ(g.Value(2, 2), "keep");
    EXPECT_EQ(g.Value(2, 3), "z");

    g.GetParam()->SetLockReadOnly(FALSE);
    EXPECT_TRUE(g.SetValueRange(CGXRange(2, 2), "changed"));
    g.GetParam()->SetLockReadOnly(TRUE);
    EXPECT_EQ(g.Value(2, 2), "changed");

    // Read-only from a column style or a base style counts too.
    g.SetStyleRange(CGXRange().SetCols(4), CGXStyle().SetReadOnly(TRUE));
    EXPECT_FALSE(g.SetValueRange(CGXRange(7, 4), "no"));
    WORD ro = g.GetStylesMap()->RegisterStyle("ro", CGXStyle().SetReadOnly(TRUE));
    g.SetStyleRange(CGXRange(8, 1), CGXStyle().SetBaseStyle(ro));
    EXPECT_FALSE(g.SetValueRange(CGXRange(8, 1), "no"));
    EXPECT_TRUE(g.IsCellReadOnly(8, 1));
    g.ExpectConsistent();
}

TEST(GridStyle, StorageIsSparse)
{
    TestGrid g(10000, 20);
    EXPECT_EQ(g.GetData()->GetStoredCellCount(), 0u);
    g.SetValueRange(CGXRange(5000, 7), "one");
    EXPECT_EQ(g.GetData()->GetStoredCellCount(), 1u);
    // Removing every attribute removes the cell.
    g.SetStyleRange(CGXRange(5000, 7), nullptr, gxRemove);
    EXPECT_EQ(g.GetData()->GetStoredCellCount(), 0u);
    EXPECT_EQ(g.Value(5000, 7), "");
}

TEST(GridStyle, CellsOutsideTheGridAreRefused)
{
    TestGrid g(5, 5);
    EXPECT_FALSE(g.SetValueRange(CGXRange(6, 1), "x"));
    EXPECT_FALSE(g.SetValueRange(CGXRange(1, 6), "x"));
    EXPECT_EQ(g.GetData()->GetStoredCellCount(), 0u);
    CGXRange invalid;
    EXPECT_FALSE(g.SetValueRange(invalid, "x"));
}

TEST(GridStyle, RowNumbersSuppliedByAnOverride)
{
    struct Numbered : TestGrid {
        BOOL GetStyleRowCol(ROWCOL r, ROWCOL c, CGXStyle& s, GXModifyType mt, int nType) override
        {
            BOOL ok = CGXGridCore::GetStyleRowCol(r, c, s, mt, nType);
            if (c == 0 && nType == 0 && r > 0) {
                CString n;
                n.Format("%u", r);
                s.SetValue(n);
                return TRUE;
            }
            return ok;
        }
    } g;
    EXPECT_EQ(g.Value(7, 0), "7");
}

TEST(GridStyle, CopiesAreIndependent)
{
    CGXStyle a;
    a.SetInterior(RGB(1, 1, 1)).SetFont(CGXFont().SetBold(TRUE)).SetUserAttribute(5, "a").SetChoiceList("x");
    CGXStyle b(a);
    b.SetInterior(RGB(2, 2, 2));
    b.SetUserAttribute(5, "b");
    b.SetFont(CGXFont().SetItalic(TRUE));
    b.SetIncludeChoiceList(FALSE);
    EXPECT_EQ(a.GetInterior().GetColor(), RGB(1, 1, 1));
    EXPECT_STREQ(a.GetUserAttribute(5).GetValue(), "a");
    EXPECT_FALSE(a.GetFont().GetItalic());
    EXPECT_STREQ(a.GetChoiceList(), "x");
    EXPECT_EQ(b.GetInterior().GetColor(), RGB(2, 2, 2));
    EXPECT_TRUE(b.GetFont().GetBold());
    EXPECT_TRUE(b.GetFont().GetItalic());

    // A composed style that took the extension of another is still its own.
    CGXStyle c;
    c.SetValue("v");
    c.ChangeStyle(a, gxApplyNew);
    c.SetIncludeUserAttribute(5, FALSE);
    c.SetBorders(gxBorderTop, CGXPen(PS_DOT));
    EXPECT_TRUE(a.GetIncludeUserAttribute(5));
    EXPECT_FALSE(a.GetIncludeBorders(gxBorderTop));
    EXPECT_EQ(c.GetInterior().GetColor(), RGB(1, 1, 1));
    c.SetUserAttribute(9, "only c");
    EXPECT_FALSE(a.GetIncludeUserAttribute(9));
    CGXStyle e;
    e.ChangeStyle(a, gxApplyNew); // takes a's attributes without copying them
    e.SetUserAttribute(5, "e");
    EXPECT_STREQ(a.GetUserAttribute(5).GetValue(), "a");
    // A font switched on without any font attribute merges as an empty font.
    CGXStyle bare;
    bare.SetIncludeFont(TRUE);
    CGXStyle target;
    target.ChangeStyle(bare, gxOverride);
    EXPECT_TRUE(target.GetIncludeFont());
    EXPECT_TRUE(target.GetFont().IsEmpty());
    CGXStyle d(a);
    d.ChangeStyle(c, gxExclude);
    EXPECT_TRUE(a.GetIncludeInterior());
    EXPECT_FALSE(d.GetIncludeInterior());
}

// A number's text reads as "%.15g" writes it, whole numbers and fractions, small and large, and a
// number set over a text (or a text over a number) reads as the latest.
TEST(GridStyle, NumberTextsReadAsFifteenSignificantDigits)
{
    for (double d : {0.0, -0.0, 1.0, -1.0, 7.0, 12345.0, -99999.0, 4294967295.0, 999999999999999.0, 1e15, -1e15,
                     1e16, 123456789012345678.0, 0.5, -3.25, 1.0 / 3.0, 1e-7, 2.5e20}) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.15g", d);
        CGXStyle s;
        s.SetUserAttribute(7788, d);
        EXPECT_STREQ(s.GetUserAttribute(7788).GetValue(), expected) << expected;
        CGXStyle copy(s);
        EXPECT_STREQ(copy.GetUserAttribute(7788).GetValue(), expected) << expected;
    }
    CGXUserAttribute a("text");
    a.SetNumber(12);
    EXPECT_STREQ(a.GetValue(), "12");
    a.SetValue("again");
    EXPECT_STREQ(a.GetValue(), "again");
    EXPECT_FALSE(a.IsNumber());
}

// A style's attributes stay in id order whatever order they come in; copies share them until one
// side changes, short and long lists alike (lists past a few entries are searched by halving).
TEST(GridStyle, UserAttributeListsKeepIdOrderThroughCopiesAndChanges)
{
    for (const WORD count : {WORD(5), WORD(40)}) {
        CGXStyle s;
        for (WORD i = 0; i < count; ++i)
            s.SetUserAttribute(static_cast<WORD>(1000 + (i * 7) % count * 3), static_cast<int>(i));
        CGXStyle copy(s);
        for (WORD i = 0; i < count; i += 2)
            copy.SetIncludeUserAttribute(static_cast<WORD>(1000 + i * 3), FALSE);
        copy.SetUserAttribute(999, "first").SetUserAttribute(5000, "last");
        EXPECT_EQ(s.GetUserAttributeCount(), count);
        EXPECT_EQ(copy.GetUserAttributeCount(), count - (count + 1) / 2 + 2);
        for (WORD i = 0; i < count; ++i) {
            const WORD id = static_cast<WORD>(1000 + i * 3);
            EXPECT_TRUE(s.GetIncludeUserAttribute(id)) << id;
            EXPECT_EQ(copy.GetIncludeUserAttribute(id), i % 2 == 1) << id;
            EXPECT_FALSE(s.GetIncludeUserAttribute(static_cast<WORD>(id + 1))) << id;
        }
        std::vector<WORD> ids;
        copy.ForEachUserAttribute([&](WORD id, const CGXAbstractUserAttribute&) { ids.push_back(id); });
        EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
        ASSERT_EQ(ids.size(), static_cast<size_t>(copy.GetUserAttributeCount()));
        EXPECT_EQ(ids.front(), 999);
        EXPECT_EQ(ids.back(), 5000);
        EXPECT_STREQ(copy.GetUserAttributeText(5000), "last");
        EXPECT_FALSE(s.GetIncludeUserAttribute(5000));
        // The same attributes copied one by one compare equal; one value apart, they do not.
        CGXStyle same;
        copy.ForEachUserAttribute([&](WORD id, const CGXAbstractUserAttribute& v) { same.SetUserAttribute(id, v); });
        EXPECT_TRUE(same == copy);
        same.SetUserAttribute(999, "changed");
        EXPECT_FALSE(same == copy);
    }
}

// A cell written into an empty place holds what merging the style into a new style gives: attributes
// the style leaves out read as a new style's, whatever the style object carries behind them.
TEST(GridStyle, ACellWrittenAnewHoldsOnlyTheAttributesPresent)
{
    TestGrid g;
    g.GetParam()->SetLockReadOnly(FALSE);
    CGXStyle style;
    style.SetValue("v").SetReadOnly(TRUE).SetControl(GX_IDS_CTRL_STATIC).SetTextColor(RGB(1, 2, 3));
    style.SetIncludeReadOnly(FALSE).SetIncludeControl(FALSE).SetUserAttribute(7, "seven");
    style.SetInterior(RGB(4, 5, 6)).SetFont(CGXFont().SetBold(TRUE));
    for (GXModifyType mt : {gxOverride, gxApplyNew}) {
        ASSERT_TRUE(g.SetStyleRange(CGXRange(2, 2), style, mt));
        const CGXStyle* stored = g.GetData()->LookupCell(2, 2);
        ASSERT_NE(stored, nullptr);
        CGXStyle merged;
        merged.ChangeStyle(style, mt);
        EXPECT_TRUE(*stored == merged);
        EXPECT_FALSE(stored->GetReadOnly());
        EXPECT_EQ(stored->GetControl(), 0);
        EXPECT_EQ(stored->GetTextColor(), RGB(1, 2, 3));
        EXPECT_EQ(stored->GetInterior().GetColor(), RGB(4, 5, 6));
        EXPECT_TRUE(stored->GetFont().GetBold());
        EXPECT_STREQ(stored->GetUserAttributeText(7), "seven");
        g.SetStyleRange(CGXRange(2, 2), nullptr, gxRemove);
    }
    // Written again, the cell merges: what it had stays unless the new style brings it.
    g.SetStyleRange(CGXRange(3, 1), CGXStyle().SetValue("a").SetUserAttribute(1, "one"));
    g.SetStyleRange(CGXRange(3, 1), CGXStyle().SetUserAttribute(2, "two"));
    const CGXStyle* cell = g.GetData()->LookupCell(3, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_STREQ(cell->GetValue(), "a");
    EXPECT_EQ(cell->GetUserAttributeCount(), 2);
    g.ExpectConsistent();
}

// Lists of many sizes made, dropped and made again (their blocks are reused) read what was set in
// them, whether a copy or the original changed last.
TEST(GridStyle, AttributeListsMadeAgainAfterOthersWentHoldTheirOwnAttributes)
{
    std::vector<CGXStyle> styles;
    for (int round = 0; round < 3; ++round) {
        styles.clear();
        for (int n = 1; n <= 40; ++n) {
            CGXStyle s;
            for (int i = 0; i < n; ++i)
                s.SetUserAttribute(static_cast<WORD>(100 + i), round * 1000 + n * 50 + i);
            CGXStyle copy(s);
            copy.SetUserAttribute(99, "copy");
            styles.push_back(n % 2 ? s : copy);
        }
        for (int n = 1; n <= 40; ++n) {
            const CGXStyle& s = styles[static_cast<size_t>(n - 1)];
            ASSERT_EQ(s.GetUserAttributeCount(), n + (n % 2 ? 0 : 1)) << n;
            EXPECT_EQ(s.GetIncludeUserAttribute(99), n % 2 == 0) << n;
            for (int i = 0; i < n; ++i)
                EXPECT_EQ(s.GetUserAttributeLong(static_cast<WORD>(100 + i)), round * 1000 + n * 50 + i) << n;
        }
    }
}

// Lists dropped in a scattered order, while others of every size are made, hold what was set in them;
// once every style is gone the memory of their lists is given back (a few blocks' chunks stay kept).
TEST(GridStyle, AttributeListsChurnedInAnyOrderKeepTheirValuesAndGiveTheirMemoryBack)
{
    const size_t before = mallinfo2().uordblks;
    {
        constexpr int kStyles = 60000;
        std::vector<std::unique_ptr<CGXStyle>> styles(kStyles);
        auto fill = [](CGXStyle& s, int key) {
            for (int i = 0; i <= key % 30; ++i)
                s.SetUserAttribute(static_cast<WORD>(200 + i), key % 97 + i);
        };
        for (int round = 0; round < 3; ++round) {
            for (int k = round; k < kStyles; k += 1 + round) {
                styles[k] = std::make_unique<CGXStyle>();
                fill(*styles[k], k * (round + 1));
                styles[k]->SetUserAttribute(199, k * (round + 1) + 0.5); // a value of its own, read truncated
            }
            for (int k = (round * 7919) % kStyles; k < kStyles; k += 3)
                styles[k].reset();
        }
        for (int k = 0; k < kStyles; ++k) {
            if (!styles[k])
                continue;
            const int key = styles[k]->GetUserAttributeLong(199);
            ASSERT_EQ(styles[k]->GetUserAttributeCount(), key % 30 + 2) << k;
            for (int i = 0; i <= key % 30; ++i)
                ASSERT_EQ(styles[k]->GetUserAttributeLong(static_cast<WORD>(200 + i)), key % 97 + i) << k;
        }
    }
    const size_t after = mallinfo2().uordblks;
    EXPECT_LT(after > before ? after - before : 0, size_t{512} << 10);
}

// An attribute taken from another style is that style's stored object under the new id; the source
// and the taker change independently afterwards, and an attribute the source lacks is removed.
TEST(GridStyle, AttributesTakenFromAnotherStyleShareItsObject)
{
    CGXStyle source;
    source.SetUserAttribute(1, "12").SetUserAttribute(2, 7);
    CGXStyle taker;
    taker.SetUserAttribute(4, "old").SetUserAttribute(9, "kept");
    taker.SetUserAttributeFrom(4, source, 1).SetUserAttributeFrom(5, source, 2);
    EXPECT_EQ(&taker.GetUserAttribute(4), &source.GetUserAttribute(1));
    EXPECT_STREQ(taker.GetUserAttributeText(4), "12");
    EXPECT_EQ(taker.GetUserAttributeLong(5), 7);
    taker.SetUserAttributeFrom(9, source, 3);
    EXPECT_FALSE(taker.GetIncludeUserAttribute(9));
    source.SetUserAttribute(1, "13");
    EXPECT_STREQ(taker.GetUserAttributeText(4), "12");
    taker.SetUserAttributeFrom(4, taker, 5); // from itself
    EXPECT_EQ(taker.GetUserAttributeLong(4), 7);
    EXPECT_EQ(taker.GetUserAttributeCount(), 2);
}

// Whole numbers are kept one object per value, whether they are found by index (from a little below 0
// up to tens of thousands, met in any order) or by look-up past it; each reads back as it was given.
TEST(GridStyle, EqualWholeNumbersShareOneObjectAndReadAsGiven)
{
    const long numbers[] = {-17, -16, -1, 0, 1, 4079, 4080, 9000, 65519, 65520, 70000, 999999999, -5000};
    for (const long n : numbers) {
        CGXStyle a, b;
        a.SetUserAttribute(3, n);
        b.SetUserAttribute(8, static_cast<double>(n)).SetUserAttribute(3, n);
        EXPECT_EQ(&a.GetUserAttribute(3), &b.GetUserAttribute(3)) << n;
        EXPECT_EQ(&b.GetUserAttribute(8), &b.GetUserAttribute(3)) << n;
        EXPECT_EQ(a.GetUserAttributeLong(3), n);
        EXPECT_STREQ(a.GetUserAttributeText(3), std::to_string(n).c_str());
    }
    // Not whole numbers, or -0: an object each, read as given.
    CGXStyle c, d;
    c.SetUserAttribute(1, 2.5).SetUserAttribute(2, -0.0);
    d.SetUserAttribute(1, 2.5);
    EXPECT_NE(&c.GetUserAttribute(1), &d.GetUserAttribute(1));
    EXPECT_DOUBLE_EQ(c.GetUserAttribute(1).GetDoubleValue(), 2.5);
    EXPECT_TRUE(std::signbit(c.GetUserAttribute(2).GetDoubleValue()));
}

namespace {

// Every attribute a style reads, included or not, as text: two styles that read alike give one text.
std::string Reading(const CGXStyle& s)
{
    std::string text = std::to_string(s.GetIncludeValue()) + s.GetValue().GetString();
    text += "|" + std::to_string(s.GetControl()) + std::to_string(s.GetIncludeControl()) + std::to_string(s.GetReadOnly()) +
            std::to_string(s.GetIncludeReadOnly()) + std::to_string(s.GetEnabled()) + std::to_string(s.GetWrapText()) +
            std::to_string(s.GetHorizontalAlignment()) + std::to_string(s.GetTextColor()) +
            std::to_string(s.GetMaxLength()) + std::to_string(s.GetBaseStyle());
    text += "|" + std::to_string(s.GetIncludeInterior()) + std::to_string(s.GetInterior().GetColor()) +
            std::to_string(s.GetIncludeFont()) + std::to_string(s.GetFont().GetBold()) +
            std::to_string(s.GetIncludeBorders()) + std::to_string(s.GetBorders(gxBorderLeft).GetWidth()) +
            std::to_string(s.GetIncludeChoiceList()) + s.GetChoiceList().GetString();
    s.ForEachUserAttribute([&](WORD id, const CGXAbstractUserAttribute& v) {
        text += "|" + std::to_string(id) + "=" + v.GetValue().GetString();
    });
    return text;
}

// Styles with values, controls, flags, ext parts and user attributes, some with attributes set and
// left out again.
std::vector<CGXStyle> MixedSources()
{
    std::vector<CGXStyle> sources(6);
    sources.reserve(7);
    sources[0].SetValue("plain");
    sources[1].SetValue("v").SetReadOnly(TRUE).SetIncludeReadOnly(FALSE).SetEnabled(FALSE).SetWrapText(TRUE);
    sources[1].SetHorizontalAlignment(DT_RIGHT).SetMaxLength(9).SetBaseStyle(3).SetUserAttribute(5, "five");
    sources[2].SetInterior(RGB(1, 2, 3)).SetBorders(gxBorderLeft, CGXPen(PS_SOLID, 2)).SetChoiceList("a\nb");
    sources[2].SetUserAttribute(9, 9.0).SetUserAttribute(4, "four").SetControl(GX_IDS_CTRL_STATIC);
    sources[3].SetInterior(RGB(7, 8, 9)).SetIncludeInterior(FALSE).SetValue("left out").SetIncludeValue(FALSE);
    sources.push_back(sources[3]);
    sources.back().SetControl(GX_IDS_CTRL_STATIC);
    sources[4].SetUserAttribute(6, "gone").SetIncludeUserAttribute(6, FALSE).SetTextColor(RGB(4, 4, 4));
    sources[5].SetFont(CGXFont().SetItalic(TRUE)).SetInterior(RGB(5, 5, 5)).SetValue("font");
    return sources;
}

} // namespace

// A cell written for the first time takes the style in one step; it must read exactly as the merge of
// the style into an empty cell, whatever the style leaves out, and stay as written when the style
// it came from changes afterwards.
TEST(GridStyle, ACellWrittenForTheFirstTimeReadsAsTheMergeIntoAnEmptyCell)
{
    const std::vector<CGXStyle> sources = MixedSources();
    for (GXModifyType mt : {gxOverride, gxApplyNew}) {
        TestGrid g(4, 8);
        g.GetParam()->SetLockReadOnly(FALSE);
        for (size_t i = 0; i < sources.size(); ++i) {
            CGXStyle merged;
            merged.ChangeStyle(sources[i], mt);
            const std::string expected = Reading(merged);
            // Written at the row's end and between cells already there.
            const ROWCOL cols[] = {static_cast<ROWCOL>(8 - i), static_cast<ROWCOL>(1 + i)};
            for (ROWCOL row : {1u, 2u}) {
                CGXStyle source = sources[i];
                ASSERT_TRUE(g.SetStyleRange(CGXRange(row, cols[row - 1]), source, mt));
                source.SetInterior(RGB(0, 0, 1)).SetUserAttribute(5, "changed").SetValue("changed");
                const CGXStyle* stored = g.GetData()->LookupCell(row, cols[row - 1]);
                if (merged.IsEmpty()) { // nothing to keep: no cell
                    EXPECT_EQ(stored, nullptr);
                    continue;
                }
                ASSERT_NE(stored, nullptr);
                EXPECT_EQ(Reading(*stored), expected) << "source " << i << " row " << row;
                EXPECT_TRUE(*stored == merged) << "source " << i;
            }
        }
        g.ExpectConsistent();
    }
}

// The fill's one-step write of a fresh cell stores what the general write stores, at a row's end and
// between cells already there, and refuses (changing nothing) every write that is not such a write.
TEST(GridStyle, AFreshCellWriteStoresWhatTheGeneralWriteStores)
{
    const std::vector<CGXStyle> sources = MixedSources();
    TestGrid fresh(4, 8), general(4, 8);
    for (TestGrid* g : {&fresh, &general}) {
        g->GetParam()->SetLockReadOnly(FALSE);
        g->LockUpdate(FALSE);
    }
    for (size_t i = 0; i < sources.size(); ++i) {
        for (ROWCOL row : {1u, 2u}) {
            const ROWCOL col = row == 1 ? static_cast<ROWCOL>(8 - i) : static_cast<ROWCOL>(1 + i);
            // An empty style is left to the general write (which stores no cell for it).
            const bool stored = fresh.StoreFreshCell(row, col, sources[i], GX_INVALIDATE);
            ASSERT_EQ(stored, !sources[i].IsEmpty()) << i;
            if (!stored) {
                ASSERT_TRUE(fresh.SetStyleRange(CGXRange(row, col), sources[i], gxOverride, 0, GX_INVALIDATE));
            }
            ASSERT_TRUE(general.SetStyleRange(CGXRange(row, col), sources[i], gxOverride, 0, GX_INVALIDATE));
        }
    }
    for (ROWCOL row : {1u, 2u})
        for (ROWCOL col = 1; col <= 8; ++col) {
            const CGXStyle* a = fresh.GetData()->LookupCell(row, col);
            const CGXStyle* b = general.GetData()->LookupCell(row, col);
            ASSERT_EQ(a == nullptr, b == nullptr) << row << "," << col;
            if (a) {
                EXPECT_EQ(Reading(*a), Reading(*b)) << row << "," << col;
            }
        }
    EXPECT_EQ(fresh.GetRedrawCount(), general.GetRedrawCount());
    fresh.ExpectConsistent();

    // A cell stored already, an empty style, a cell outside the grid, undo on, locked read-only cells.
    const CGXStyle before = *fresh.GetData()->LookupCell(1, 8);
    EXPECT_FALSE(fresh.StoreFreshCell(1, 8, sources[1]));
    EXPECT_EQ(Reading(*fresh.GetData()->LookupCell(1, 8)), Reading(before));
    EXPECT_FALSE(fresh.StoreFreshCell(3, 1, CGXStyle()));
    EXPECT_FALSE(fresh.StoreFreshCell(5, 1, sources[0]));
    EXPECT_FALSE(fresh.StoreFreshCell(3, 9, sources[0]));
    fresh.GetParam()->EnableUndo(TRUE);
    EXPECT_FALSE(fresh.StoreFreshCell(3, 1, sources[0]));
    fresh.GetParam()->EnableUndo(FALSE);
    fresh.GetParam()->SetLockReadOnly(TRUE);
    EXPECT_FALSE(fresh.StoreFreshCell(3, 1, sources[0]));
    fresh.GetParam()->SetLockReadOnly(FALSE);
    EXPECT_EQ(fresh.GetData()->LookupCell(3, 1), nullptr);

    // Rows kept for an edit get the fresh cell's row back as it was.
    {
        CGXRowKeep keep(fresh);
        ASSERT_TRUE(fresh.StoreFreshCell(3, 2, sources[0]));
        ASSERT_TRUE(fresh.StoreFreshCell(2, 8, sources[0]));
        ASSERT_TRUE(keep.PutBack());
    }
    EXPECT_EQ(fresh.GetData()->LookupCell(3, 2), nullptr);
    EXPECT_EQ(fresh.GetData()->LookupCell(2, 8), nullptr);
    EXPECT_EQ(Reading(*fresh.GetData()->LookupCell(2, 1)), Reading(*general.GetData()->LookupCell(2, 1)));
    fresh.ExpectConsistent();
}

namespace {
// Rows of "r<row>c<col>" texts, columns 1 and 2 only.
class TextRows : public CGXRowSource {
public:
    bool GetRowValue(ROWCOL nRow, ROWCOL nCol, CString& value) const override
    {
        ++asked;
        if (nCol > 2)
            return false;
        value.Format("r%uc%u", nRow, nCol);
        return true;
    }
    mutable int asked = 0;
};
} // namespace

TEST(GridStyle, RowSourceGivesTheValuesOfCellsTheGridDoesNotStore)
{
    TestGrid g(10, 3);
    TextRows rows;
    g.SetRowSource(&rows);
    EXPECT_EQ(g.GetValueRowCol(4, 2), "r4c2");
    EXPECT_EQ(g.LookupStyleRowCol(7, 1).GetValue(), "r7c1");
    EXPECT_EQ(g.GetValueRowCol(4, 3), "");   // the source has none
    EXPECT_EQ(g.GetValueRowCol(0, 1), "");   // headers are not the source's
    EXPECT_EQ(g.GetData()->GetStoredCellCount(), 0u);
    // Whole-row styles are not cells: the source is not asked for them.
    const int before = rows.asked;
    CGXStyle rowStyle;
    g.GetStyleRowCol(3, 0, rowStyle, gxCopy, -1);
    EXPECT_EQ(rows.asked, before);
    EXPECT_FALSE(rowStyle.GetIncludeValue());

    // A stored value wins; a stored style without a value takes the source's value under its attributes.
    g.SetValueRange(CGXRange(4, 2), "typed");
    g.SetStyleRange(CGXRange(5, 1), CGXStyle().SetReadOnly(TRUE));
    EXPECT_EQ(g.GetValueRowCol(4, 2), "typed");
    EXPECT_EQ(g.GetValueRowCol(5, 1), "r5c1");
    EXPECT_TRUE(g.LookupStyleRowCol(5, 1).GetReadOnly());

    // Merged as a stored value is: applied only where the target has none, taken away by an exclude.
    CGXStyle target;
    target.SetValue("mine");
    EXPECT_TRUE(g.GetStyleRowCol(6, 1, target, gxApplyNew));
    EXPECT_EQ(target.GetValue(), "mine");
    EXPECT_TRUE(g.GetStyleRowCol(6, 1, target, gxOverride));
    EXPECT_EQ(target.GetValue(), "r6c1");
    EXPECT_TRUE(g.GetStyleRowCol(6, 1, target, gxExclude));
    EXPECT_FALSE(target.GetIncludeValue());

    // Without a source the cell reads empty again.
    g.SetRowSource(nullptr);
    EXPECT_EQ(g.GetValueRowCol(6, 1), "");
}
