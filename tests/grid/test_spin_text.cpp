#include "grid/KXSpinText.h"

#include <gtest/gtest.h>

using namespace kxspin;

namespace {

VectorParts Angle(const std::string& text) {
    return FindParts(text, '<', '>');
}

} // namespace

TEST(SpinText, RecognisesVectorNamesOnly) {
    EXPECT_TRUE(Angle("A<7..0>").HasRange());
    EXPECT_TRUE(Angle("A<3>").IsVector());
    EXPECT_FALSE(Angle("A<3>").HasRange());
    EXPECT_FALSE(Angle("CLK").IsVector());
    EXPECT_FALSE(Angle("<3>").IsVector());   // no base
    EXPECT_FALSE(Angle("A<x>").IsVector());  // not a number
    EXPECT_FALSE(Angle("A<3>B").IsVector()); // bracket not at the end
    EXPECT_FALSE(Angle("A[3]").IsVector());  // other bracket style
    EXPECT_TRUE(FindParts("A[3]", '[', ']').IsVector());
}

TEST(SpinText, StepUpWithinBoundsAndWrapAtMaximum) {
    const std::string t = "A<7..0>";
    StepOptions o;
    o.minimum = 0;
    o.maximum = 8;
    KeyResult r = Step(t, Angle(t), 2, +1, o); // caret in the 7
    ASSERT_TRUE(r.consumed);
    EXPECT_EQ(r.text, "A<8..0>");
    EXPECT_EQ(r.sel.start, 2);
    EXPECT_EQ(r.sel.end, 3); // the 8 stays selected

    o.maximum = 7;
    r = Step(t, Angle(t), 2, +1, o);
    EXPECT_EQ(r.text, "A<0..0>");
}

TEST(SpinText, StepDownWrapsFromMinimumToMaximum) {
    const std::string t = "A<0>";
    StepOptions o; // name not found: 0 .. 25000
    KeyResult r = Step(t, Angle(t), 2, -1, o);
    ASSERT_TRUE(r.consumed);
    EXPECT_EQ(r.text, "A<25000>");
    EXPECT_EQ(r.sel.start, 2);
    EXPECT_EQ(r.sel.end, 7);
}

TEST(SpinText, StepSecondNumberAndCaretsThatStepNothing) {
    const std::string t = "D<15..9>";
    const VectorParts p = Angle(t);
    StepOptions o;
    o.minimum = 0;
    o.maximum = 15;
    KeyResult r = Step(t, p, 6, -1, o); // caret after ".."
    ASSERT_TRUE(r.consumed);
    EXPECT_EQ(r.text, "D<15..8>");
    EXPECT_EQ(r.sel.start, 6);
    EXPECT_EQ(r.sel.end, 7);

    EXPECT_FALSE(Step(t, p, 1, +1, o).consumed); // caret at the open bracket
    EXPECT_FALSE(Step(t, p, 5, +1, o).consumed); // caret between the dots
    EXPECT_TRUE(Step(t, p, -1, +1, o).consumed); // no caret: the first number
    EXPECT_FALSE(Step("CLK", Angle("CLK"), 1, +1, o).consumed);
}

TEST(SpinText, EmptyNumberAndClamping) {
    const std::string t = "A<>";
    StepOptions o;
    o.emptyUsesDefault = true;
    o.defaultValue = 4;
    EXPECT_EQ(Step(t, Angle(t), 2, +1, o).text, "A<4>");

    // A starting number outside the bounds is brought back only when clamping.
    const std::string big = "A<99>";
    StepOptions c;
    c.minimum = 0;
    c.maximum = 7;
    EXPECT_EQ(Step(big, Angle(big), 2, +1, c).text, "A<0>");  // wraps
    EXPECT_EQ(Step(big, Angle(big), 2, -1, c).text, "A<98>"); // no clamp
    c.clampMax = true;
    EXPECT_EQ(Step(big, Angle(big), 2, -1, c).text, "A<7>");
    // Never below zero, even with a negative minimum from a bad look-up.
    StepOptions neg;
    neg.minimum = -5;
    neg.maximum = 3;
    const std::string z = "A<0>";
    EXPECT_EQ(Step(z, Angle(z), 2, -1, neg).text, "A<0>");
}

TEST(SpinText, LeftAndRightWalkThePartsOfARange) {
    const std::string t = "A<7..0>";
    const VectorParts p = Angle(t);
    // Right from the base selects the first number, then the second.
    KeyResult r = NextPart(t, p, 0);
    ASSERT_TRUE(r.consumed);
    EXPECT_EQ(r.sel.start, 2);
    EXPECT_EQ(r.sel.end, 3);
    EXPECT_TRUE(r.showArrows);
    r = NextPart(t, p, r.sel.start);
    EXPECT_EQ(r.sel.start, 5);
    EXPECT_EQ(r.sel.end, 6);
    // Right at the end moves the caret normally.
    EXPECT_FALSE(NextPart(t, p, 7).consumed);

    // Left from the second number selects the first, from the first the base.
    r = PreviousPart(t, p, 5);
    EXPECT_EQ(r.sel.start, 2);
    r = PreviousPart(t, p, r.sel.start);
    EXPECT_EQ(r.sel.start, 0);
    EXPECT_EQ(r.sel.end, 1);
    EXPECT_FALSE(r.showArrows);
    // Left at the very start is the edit window's.
    EXPECT_FALSE(PreviousPart("AB<7..0>", Angle("AB<7..0>"), 1).consumed);
    EXPECT_EQ(PreviousPart(t, p, 7).sel.start, 5);
}

TEST(SpinText, LeftAndRightOnASingleBit) {
    const std::string t = "A<3>";
    const VectorParts p = Angle(t);
    EXPECT_EQ(NextPart(t, p, 0).sel.start, 2);
    EXPECT_EQ(PreviousPart(t, p, 2).sel.start, 0);
    EXPECT_EQ(PreviousPart(t, p, 4).sel.start, 2);
    EXPECT_FALSE(NextPart("CLK", Angle("CLK"), 0).consumed);
}

TEST(SpinText, MouseSelectsThePartUnderTheCaret) {
    const std::string t = "A<7..0>";
    const VectorParts p = Angle(t);
    EXPECT_EQ(PartUnderCaret(t, p, 1).sel.end, 1);   // base
    EXPECT_EQ(PartUnderCaret(t, p, 3).sel.start, 2); // first
    EXPECT_EQ(PartUnderCaret(t, p, 6).sel.start, 5); // second
    EXPECT_FALSE(PartUnderCaret(t, p, 7).consumed);
}

TEST(SpinText, CycleWrapsAndHandlesEmptyList) {
    const std::vector<std::string> list = {"CLK", "DATA", "RESET"};
    EXPECT_EQ(CycleIndex(list, "data", +1), 2);
    EXPECT_EQ(CycleIndex(list, "RESET", +1), 0);
    EXPECT_EQ(CycleIndex(list, "CLK", -1), 2);
    EXPECT_EQ(CycleIndex(list, "other", +1), 0);
    EXPECT_EQ(CycleIndex({}, "CLK", +1), -1);
}

TEST(SpinText, CompletionKeepsTypedCaseAndSelectsTail) {
    const std::vector<std::string> list = {"ADDR<7..0>", "DATA<15..0>", "DAV"};
    KeyResult r = Complete(list, "da");
    ASSERT_TRUE(r.consumed);
    EXPECT_EQ(r.text, "daTA<15..0>");
    EXPECT_EQ(r.sel.start, 2);
    EXPECT_EQ(r.sel.end, 11);
    r = Complete(list, "zz");
    EXPECT_FALSE(r.consumed);
    EXPECT_EQ(r.text, "zz");
    EXPECT_FALSE(Complete(list, "").consumed);
}

// ---------------------------------------------------------------------------
// Column submenus.

#include "grid/KXGridIds.h"
#include "grid/KXGridMenus.h"

TEST(GridMenus, SortMenuTakesAtMostNineNamedColumns) {
    std::vector<kxmenu::ColumnEntry> columns;
    for (int i = 1; i <= 12; ++i) {
        kxmenu::ColumnEntry e;
        e.text.Format("Col%d", i);
        e.enabled = i != 2;
        columns.push_back(e);
    }
    columns[3].text = ""; // an empty text takes no id
    const auto items = kxmenu::SortMenuItems(columns);
    ASSERT_EQ(items.size(), 9u + 3u);
    EXPECT_EQ(items[0].id, ID_SORT_FIRST);
    EXPECT_TRUE(items[1].grayed);
    EXPECT_EQ(items[3].text, "Col5");
    EXPECT_EQ(items[8].id, ID_SORT_LAST);
    EXPECT_EQ(items[8].text, "Col10");
    EXPECT_TRUE(items[9].separator);
    EXPECT_EQ(items[10].id, ID_SORT_AS_ALPHA);
    EXPECT_EQ(items[11].id, ID_SORT_AS_ALPHANUMERIC);
    EXPECT_TRUE(items[11].checked);
}

TEST(GridMenus, ColumnMenuChecksShownColumns) {
    std::vector<kxmenu::ColumnEntry> columns(3);
    columns[0].text = "Pin";
    columns[1].text = "Signal";
    columns[1].shown = FALSE;
    columns[2].text = "Comments";
    columns[2].enabled = FALSE;
    const auto items = kxmenu::ColumnVisibilityItems(columns);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].id, ID_COLUMN_BASE + 1);
    EXPECT_TRUE(items[0].checked);
    EXPECT_FALSE(items[1].checked);
    EXPECT_TRUE(items[2].checked);
    EXPECT_TRUE(items[2].grayed);
}
