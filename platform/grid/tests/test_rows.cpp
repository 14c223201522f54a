#include "gridtest.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>

namespace {
void Label(TestGrid& g)
{
    for (ROWCOL r = 1; r <= g.GetRowCount(); ++r) {
        CString v;
        v.Format("r%u", r);
        g.SetValueRange(CGXRange(r, 1), v);
    }
}
} // namespace

TEST(GridRows, InsertAndRemoveKeepStylesWithTheirRows)
{
    TestGrid g(10, 3);
    Label(g);
    g.SetRowHeight(5, 5, 40);
    g.HideRows(6, 6, TRUE);
    g.SetStyleRange(CGXRange().SetRows(5), CGXStyle().SetTextColor(RGB(7, 7, 7)));

    ASSERT_TRUE(g.InsertRows(3, 2));
    EXPECT_EQ(g.GetRowCount(), 12u);
    EXPECT_EQ(g.Value(3, 1), "");
    EXPECT_EQ(g.Value(4, 1), "");
    EXPECT_EQ(g.Value(5, 1), "r3");
    EXPECT_EQ(g.Value(7, 1), "r5");
    EXPECT_EQ(g.GetRowHeight(7), 40);
    EXPECT_TRUE(g.IsRowHidden(8));
    EXPECT_FALSE(g.IsRowHidden(6));
    EXPECT_EQ(g.LookupStyleRowCol(7, 2).GetTextColor(), RGB(7, 7, 7));

    ASSERT_TRUE(g.RemoveRows(1, 4));
    EXPECT_EQ(g.Value(1, 1), "r3");
    EXPECT_EQ(g.Value(3, 1), "r5");
    EXPECT_EQ(g.GetRowHeight(3), 40);
    EXPECT_TRUE(g.IsRowHidden(4));
    EXPECT_EQ(g.GetData()->GetHiddenRowCount(), 1u);
    g.ExpectConsistent();
}

TEST(GridRows, CopiedRowsPutBackUndoEveryChangeOfTheRowsSince)
{
    TestGrid g(6, 3);
    Label(g);
    g.SetRowHeight(4, 4, 40);
    g.HideRows(5, 5, TRUE);
    g.SetStyleRange(CGXRange().SetRows(4), CGXStyle().SetTextColor(RGB(7, 7, 7)));
    auto kept = g.CopyRows(3, g.GetRowCount());
    ASSERT_EQ(kept.size(), 4u);

    // The rows change every way an edit may change them; the rows above the copy stay as they are.
    g.SetValueRange(CGXRange(3, 1), "changed");
    g.SetValueRange(CGXRange(1, 2), "above");
    ASSERT_TRUE(g.RemoveRows(4, 4));
    ASSERT_TRUE(g.InsertRows(3, 3));
    g.HideRows(3, 3, TRUE);

    ASSERT_TRUE(g.PutBackRows(3, kept));
    EXPECT_TRUE(kept.empty());
    EXPECT_EQ(g.GetRowCount(), 6u);
    for (ROWCOL r = 1; r <= 6; ++r)
        EXPECT_EQ(g.Value(r, 1), "r" + std::to_string(r)) << "row " << r;
    EXPECT_EQ(g.Value(1, 2), "above");
    EXPECT_EQ(g.GetRowHeight(4), 40);
    EXPECT_EQ(g.LookupStyleRowCol(4, 2).GetTextColor(), RGB(7, 7, 7));
    EXPECT_FALSE(g.IsRowHidden(3));
    EXPECT_TRUE(g.IsRowHidden(5));
    EXPECT_EQ(g.GetData()->GetHiddenRowCount(), 1u);
    g.ExpectConsistent();

    // A copy of rows past the end is empty, and putting it back leaves the rows before it.
    auto none = g.CopyRows(7, 7);
    EXPECT_TRUE(none.empty());
    EXPECT_FALSE(g.PutBackRows(8, none));
    EXPECT_TRUE(g.PutBackRows(5, none));
    EXPECT_EQ(g.GetRowCount(), 4u);
    g.ExpectConsistent();
}

// A keep copies only the rows that change and gives back the rows as they were at its mark, whatever
// happened to them since; an inner keep puts back only what came after its own mark.
TEST(GridRows, KeptRowsPutBackEveryChangeSinceTheMarkCopyingOnlyTheChangedRows)
{
    TestGrid g(200, 3);
    Label(g);
    g.SetRowHeight(4, 4, 40);
    g.HideRows(5, 5, TRUE);
    {
        CGXRowKeep keep(g);
        g.SetValueRange(CGXRange(3, 1), "changed");
        g.SetValueRange(CGXRange(3, 2), "again");
        const size_t mark = g.GetData()->BeginKeepRows();
        g.SetValueRange(CGXRange(3, 1), "inner");
        g.SetValueRange(CGXRange(150, 1), "inner");
        auto inner = g.GetData()->TakeKeptSteps(mark);
        ASSERT_EQ(inner.size(), 2u) << "one note for each row changed after the inner mark";
        g.GetData()->EndKeepRows();

        ASSERT_TRUE(g.RemoveRows(4, 4));
        ASSERT_TRUE(g.InsertRows(3, 3));
        g.HideRows(3, 3, TRUE);
        g.HideRows(7, 7, FALSE);
        g.SetRowHeight(10, 10, 25);
        ASSERT_TRUE(g.SetRowCount(150));
        g.SetValueRange(CGXRange(120, 3), "late");
        ASSERT_TRUE(keep.PutBack());
    }
    EXPECT_EQ(g.GetRowCount(), 200u);
    for (ROWCOL r = 1; r <= 200; ++r)
        ASSERT_EQ(g.Value(r, 1), r == 150 ? "inner" : "r" + std::to_string(r)) << "row " << r;
    EXPECT_EQ(g.Value(3, 2), "");
    EXPECT_EQ(g.Value(120, 3), "");
    EXPECT_EQ(g.GetRowHeight(4), 40);
    EXPECT_EQ(g.GetRowHeight(10), g.GetRowHeight(11));
    EXPECT_FALSE(g.IsRowHidden(3));
    EXPECT_TRUE(g.IsRowHidden(5));
    EXPECT_EQ(g.GetData()->GetHiddenRowCount(), 1u);
    g.ExpectConsistent();

    // A keep that ended leaves nothing behind: later changes are no one's to put back.
    g.SetValueRange(CGXRange(1, 1), "after");
    EXPECT_TRUE(g.GetData()->TakeKeptSteps(0).empty());
}

// A sort while rows are kept is put back as the order it found.
TEST(GridRows, KeptRowsPutBackASortedOrder)
{
    TestGrid g(6, 2);
    Label(g);
    CGXRowKeep keep(g);
    ASSERT_TRUE(g.GetData()->ReorderRows(1, {6, 5, 4, 3, 2, 1}));
    g.SetValueRange(CGXRange(2, 1), "x");
    ASSERT_TRUE(keep.PutBack());
    for (ROWCOL r = 1; r <= 6; ++r)
        EXPECT_EQ(g.Value(r, 1), "r" + std::to_string(r)) << "row " << r;
    g.ExpectConsistent();
}

TEST(GridRows, BadRowOperationsChangeNothing)
{
    TestGrid g(5, 2);
    Label(g);
    EXPECT_FALSE(g.InsertRows(0, 1));
    EXPECT_FALSE(g.InsertRows(7, 1));
    EXPECT_FALSE(g.RemoveRows(4, 6));
    EXPECT_FALSE(g.RemoveRows(3, 2));
    EXPECT_FALSE(g.HideRows(2, 9));
    EXPECT_FALSE(g.MoveRows(1, 2, 5));
    EXPECT_FALSE(g.SetRowCount(GX_MAXCOUNT + 1));
    EXPECT_EQ(g.GetRowCount(), 5u);
    EXPECT_EQ(g.Value(5, 1), "r5");
    g.ExpectConsistent();
}

TEST(GridRows, HideColumnZeroAndCols)
{
    TestGrid g(5, 4);
    EXPECT_TRUE(g.HideCols(0, 0, TRUE, nullptr, GX_SMART, gxDo));
    EXPECT_TRUE(g.IsColHidden(0));
    EXPECT_EQ(g.GetColWidth(0), 0);
    BOOL states[] = {TRUE, FALSE, TRUE};
    g.HideCols(1, 3, FALSE, states);
    EXPECT_TRUE(g.IsColHidden(1));
    EXPECT_FALSE(g.IsColHidden(2));
    EXPECT_TRUE(g.IsColHidden(3));
    g.ExpectConsistent();
}

TEST(GridRows, MoveRowsAndColsCarryTheirCells)
{
    TestGrid g(6, 3);
    Label(g);
    ASSERT_TRUE(g.MoveRows(5, 6, 2)); // r5 r6 go to rows 2..3
    std::vector<std::string> got;
    for (ROWCOL r = 1; r <= 6; ++r)
        got.push_back(g.Value(r, 1));
    EXPECT_EQ(got, (std::vector<std::string>{"r1", "r5", "r6", "r2", "r3", "r4"}));
    ASSERT_TRUE(g.MoveRows(1, 1, 6)); // first row to the end
    EXPECT_EQ(g.Value(6, 1), "r1");
    EXPECT_EQ(g.Value(1, 1), "r5");

    g.SetValueRange(CGXRange(1, 3), "c3");
    ASSERT_TRUE(g.MoveCols(3, 3, 1));
    EXPECT_EQ(g.Value(1, 1), "c3");
    EXPECT_EQ(g.Value(1, 2), "r5");
    g.ExpectConsistent();
}

TEST(GridRows, ReorderRowsIsAPermutation)
{
    TestGrid g(8, 2);
    Label(g);
    g.SetCurrentCell(4, 1);
    g.HideRows(4, 4);
    std::vector<ROWCOL> order{3, 2, 1, 0}; // rows 3..6 reversed
    ASSERT_TRUE(g.ReorderRows(3, order));
    EXPECT_EQ(g.Value(3, 1), "r6");
    EXPECT_EQ(g.Value(6, 1), "r3");
    EXPECT_TRUE(g.IsRowHidden(5)); // r4 moved to row 5 with its hidden state
    ROWCOL r, c;
    g.GetCurrentCell(r, c);
    EXPECT_EQ(r, 5u); // the current cell followed its row

    EXPECT_FALSE(g.ReorderRows(3, {0, 0, 1}));    // not a permutation
    EXPECT_FALSE(g.ReorderRows(7, {0, 1, 2}));    // leaves the grid
    EXPECT_FALSE(g.ReorderRows(1, {0, 5}));       // offset out of range
    EXPECT_EQ(g.Value(3, 1), "r6");
    g.ExpectConsistent();
}

TEST(GridRows, SortByKeyColumn)
{
    TestGrid g(6, 2);
    const char* names[] = {"b", "10", "A", "9", "c", "a"};
    for (ROWCOL r = 1; r <= 6; ++r)
        g.SetValueRange(CGXRange(r, 2), names[r - 1]);
    Label(g);
    ASSERT_TRUE(g.SortRows(1, 6, 2, TRUE));
    std::vector<std::string> got;
    for (ROWCOL r = 1; r <= 6; ++r)
        got.push_back(g.Value(r, 2));
    // Numbers compare as numbers; texts ignore case and keep their order when equal.
    EXPECT_EQ(got, (std::vector<std::string>{"9", "10", "A", "a", "b", "c"}));
    EXPECT_EQ(g.Value(3, 1), "r3"); // "A" came from row 3, its other cells moved with it
    ASSERT_TRUE(g.SortRows(1, 6, 2, FALSE));
    EXPECT_EQ(g.Value(1, 2), "c");
    g.ExpectConsistent();
}

TEST(GridRows, SortMixedNumbersAndTextsInOneOrder)
{
    // Texts that start with digits and a "nan" must not make the order circular.
    const char* keys[] = {"1a", "10", "2", "nan", "b", "2", "1a", "-3", "NaN", "0x"};
    TestGrid g(10, 2);
    for (ROWCOL r = 1; r <= 10; ++r)
        g.SetValueRange(CGXRange(r, 2), keys[r - 1]);
    ASSERT_TRUE(g.SortRows(1, 10, 2, TRUE));
    std::vector<std::string> got;
    for (ROWCOL r = 1; r <= 10; ++r)
        got.push_back(g.Value(r, 2));
    EXPECT_EQ(got, (std::vector<std::string>{"-3", "2", "2", "10", "0x", "1a", "1a", "b", "nan", "NaN"}));
    g.ExpectConsistent();
}

TEST(GridRows, CoveredCells)
{
    TestGrid g(10, 6);
    ASSERT_TRUE(g.SetCoveredCellsRowCol(1, 1, 2, 6));
    CGXRange r;
    ASSERT_NE(g.GetCoveredCellsRowCol(2, 4, r), nullptr);
    EXPECT_EQ(r, CGXRange(1, 1, 2, 6));
    EXPECT_EQ(g.GetCoveredCellsRowCol(3, 1, r), nullptr);
    // A new range replaces those it overlaps.
    ASSERT_TRUE(g.SetCoveredCellsRowCol(2, 5, 3, 6));
    EXPECT_EQ(g.GetCoveredCellsRowCol(1, 1, r), nullptr);
    ASSERT_NE(g.GetCoveredCellsRowCol(3, 5, r), nullptr);
    // A single cell uncovers.
    g.SetCoveredCellsRowCol(3, 6, 3, 6);
    EXPECT_EQ(g.GetCoveredCellsRowCol(2, 5, r), nullptr);
    EXPECT_FALSE(g.SetCoveredCellsRowCol(9, 1, 11, 1));

    // Rows inserted inside a covered range widen it; removing rows shrinks it, and a range left with one
    // cell is no longer covered.
    g.SetCoveredCellsRowCol(4, 1, 6, 2);
    g.InsertRows(5, 2);
    ASSERT_NE(g.GetCoveredCellsRowCol(8, 2, r), nullptr);
    EXPECT_EQ(r, CGXRange(4, 1, 8, 2));
    g.RemoveRows(4, 8);
    EXPECT_EQ(g.GetParam()->GetCoveredCellsList()->GetCount(), 0);
    g.SetCoveredCellsRowCol(4, 1, 5, 1);
    g.RemoveRows(5, 5);
    EXPECT_EQ(g.GetCoveredCellsRowCol(4, 1, r), nullptr);
    g.ExpectConsistent();
}

TEST(GridRows, CurrentCellMovesToTheStartOfACoveredRange)
{
    TestGrid g(10, 6);
    g.SetCoveredCellsRowCol(2, 2, 3, 4);
    ASSERT_TRUE(g.SetCurrentCell(3, 3));
    ROWCOL r, c;
    g.GetCurrentCell(r, c);
    EXPECT_EQ(r, 2u);
    EXPECT_EQ(c, 2u);
    // Moving right from a covered cell leaves it on its far side.
    ASSERT_TRUE(g.MoveCurrentCell(GX_RIGHT));
    g.GetCurrentCell(r, c);
    EXPECT_EQ(c, 5u);
    g.ExpectConsistent();
}

TEST(GridRows, FrozenRowsAndTopRow)
{
    TestGrid g(100, 4);
    EXPECT_FALSE(g.SetFrozenRows(2, 3)); // more header rows than frozen rows
    ASSERT_TRUE(g.SetFrozenRows(4, 2));
    EXPECT_EQ(g.GetFrozenRows(), 4u);
    EXPECT_EQ(g.GetHeaderRows(), 2u);
    EXPECT_EQ(g.GetTopRow(), 5u);
    g.SetTopRow(1); // cannot scroll into the frozen rows
    EXPECT_EQ(g.GetTopRow(), 5u);
    g.SetTopRow(50, GX_SMART, TRUE);
    EXPECT_EQ(g.GetTopRow(), 50u);
    EXPECT_TRUE(g.Logged("top 50"));
    g.HideRows(60, 61);
    g.SetTopRow(60);
    EXPECT_EQ(g.GetTopRow(), 62u); // a hidden row is never the top row
    // Removing rows inside the frozen area shrinks it.
    g.RemoveRows(2, 3);
    EXPECT_EQ(g.GetFrozenRows(), 2u);
    EXPECT_LE(g.GetHeaderRows(), 2u);
    g.ExpectConsistent();
    // Cells of the frozen rows are header cells for the hit test.
    ROWCOL r, c;
    EXPECT_EQ(g.HitTest(g.CellPoint(1, 2), &r, &c), GX_HEADERHIT);
    EXPECT_EQ(g.HitTest(g.CellPoint(g.GetTopRow(), 2), &r, &c), GX_CELLHIT);
}

TEST(GridRows, SizesZoomAndFitting)
{
    TestGrid g(5, 3);
    EXPECT_EQ(g.GetRowHeight(1), GX_DEFAULT_ROW_HEIGHT);
    EXPECT_EQ(g.GetColWidth(1), GX_DEFAULT_COL_WIDTH);
    g.SetColWidth(2, 2, 100);
    g.SetZoom(200);
    EXPECT_EQ(g.GetColWidth(2), 200);
    g.SetZoom(100);
    EXPECT_FALSE(g.SetColWidth(1, 1, -5));
    // Three characters of 1000 logical units each.
    EXPECT_EQ(g.Width_LPtoDP(3 * 1000), 3 * GX_CHAR_WIDTH);

    g.SetValueRange(CGXRange(1, 1), "twenty characters...");
    g.SetValueRange(CGXRange(2, 1), "short");
    g.ResizeColWidthsToFit(CGXRange().SetCols(1));
    EXPECT_EQ(g.GetColWidth(1), 20 * GX_CHAR_WIDTH + 6);
    // A covered cell spreads its text over its columns.
    g.SetValueRange(CGXRange(3, 2), "0123456789012345678901234567890123456789"); // 40 chars
    g.SetCoveredCellsRowCol(3, 2, 3, 3);
    g.ResizeColWidthsToFit(CGXRange(1, 2, 5, 3), FALSE);
    EXPECT_EQ(g.GetColWidth(2), (40 * GX_CHAR_WIDTH + 6 + 1) / 2);
    EXPECT_EQ(g.GetColWidth(3), (40 * GX_CHAR_WIDTH + 6 + 1) / 2);
}

TEST(GridRows, ShrinkingTheCountsDropsWhatLiesBeyond)
{
    TestGrid g(10, 5);
    g.SetCurrentCell(9, 5);
    g.SelectRange(CGXRange(8, 1, 10, 5));
    g.SetCoveredCellsRowCol(7, 4, 9, 5);
    g.SetValueRange(CGXRange(9, 5), "gone");
    g.SetRowCount(6);
    g.SetColCount(3);
    EXPECT_FALSE(g.IsCurrentCell());
    EXPECT_EQ(g.GetParam()->GetRangeList()->GetCount(), 0);
    EXPECT_EQ(g.GetParam()->GetCoveredCellsList()->GetCount(), 0);
    g.SetRowCount(10);
    g.SetColCount(5);
    EXPECT_EQ(g.Value(9, 5), ""); // nothing comes back
    g.ExpectConsistent();
}

// A row's cell storage is bounded by its columns: a grid of many rows pays for the cells it holds,
// not for growth slack, whatever order the cells are written in.
TEST(GridRows, RowCellStorageStaysWithinTheColumnCount)
{
    constexpr ROWCOL kCols = 10;
    CGXData data;
    ASSERT_TRUE(data.SetColCount(kCols));
    ASSERT_TRUE(data.SetRowCount(3));
    auto put = [&](ROWCOL r, ROWCOL c) {
        CString v;
        v.Format("%u.%u", r, c);
        CGXStyle s;
        s.SetValue(v);
        ASSERT_TRUE(data.StoreStyleRowCol(r, c, &s, gxOverride));
    };
    for (ROWCOL c = 1; c <= kCols; ++c)
        put(1, c);
    EXPECT_EQ(data.GetStoredCellCount(), kCols);
    EXPECT_EQ(data.GetCellSlotCount(), kCols) << "a row written left to right holds no spare places";

    for (ROWCOL c = kCols + 1; c-- > 0;) // right to left, the header column included
        put(2, c);
    for (ROWCOL c : {5u, 1u, 9u, 3u})
        put(3, c);
    EXPECT_EQ(data.GetStoredCellCount(), 2 * kCols + 1 + 4);
    EXPECT_LE(data.GetCellSlotCount(), 3 * (kCols + 1));

    for (ROWCOL r = 1; r <= 3; ++r)
        for (ROWCOL c = 0; c <= kCols; ++c) {
            const CGXStyle* cell = data.LookupCell(r, c);
            const bool stored = r == 2 || (r == 1 && c >= 1) || (r == 3 && (c == 5 || c == 1 || c == 9 || c == 3));
            ASSERT_EQ(cell != nullptr, stored) << r << "," << c;
            if (!cell)
                continue;
            CString want;
            want.Format("%u.%u", r, c);
            EXPECT_EQ(cell->GetValue(), want);
        }
    CString reason;
    EXPECT_TRUE(data.CheckConsistency(reason)) << reason.GetString();

    // A column inserted later widens the bound: the row takes its cell and keeps the others.
    ASSERT_TRUE(data.InsertCols(3, 1));
    put(1, 3);
    EXPECT_EQ(data.LookupCell(1, 4)->GetValue(), CString("1.3"));
    EXPECT_EQ(data.LookupCell(1, 3)->GetValue(), CString("1.3"));
    EXPECT_EQ(data.LookupCell(1, 11)->GetValue(), CString("1.10"));
    EXPECT_LE(data.GetCellSlotCount(), 3 * (kCols + 2));
}

// A long grid edited at many places: each row's cells, hidden state, size and identity stay with it
// through single and multi-row inserts, removals, moves and the removal's undo, wherever in the row
// storage they fall (rows are kept in blocks of a few hundred).
TEST(GridRows, ManyEditsOfALongGridKeepEveryRowWhole)
{
    CGXData data;
    ASSERT_TRUE(data.SetColCount(2));
    ASSERT_TRUE(data.SetRowCount(1500));
    std::vector<std::string> mirror(1); // index = row; row 0 unused
    int next = 0;
    auto label = [&](ROWCOL r) {
        const std::string v = "L" + std::to_string(next++);
        CGXStyle s;
        s.SetValue(v.c_str());
        EXPECT_TRUE(data.StoreStyleRowCol(r, 1, &s, gxOverride));
        data.SetRowHidden(r, (next % 7) == 0);
        data.SetRowHeight(r, next % 50);
        return v;
    };
    for (ROWCOL r = 1; r <= data.GetRowCount(); ++r)
        mirror.push_back(label(r));
    std::vector<std::uint64_t> ids(mirror.size(), 0);
    for (ROWCOL r = 1; r < mirror.size(); r += 3)
        ids[r] = data.GetRowId(r);
    auto check = [&](const char* what) {
        ASSERT_EQ(data.GetRowCount() + 1, mirror.size()) << what;
        ROWCOL hidden = 0;
        for (ROWCOL r = 1; r < mirror.size(); ++r) {
            const CGXStyle* cell = data.LookupCell(r, 1);
            ASSERT_EQ(cell ? std::string(cell->GetValue().GetString()) : std::string(), mirror[r]) << what << " row " << r;
            if (ids[r]) {
                ASSERT_EQ(data.PeekRowId(r), ids[r]) << what << " row " << r;
            }
            hidden += data.IsRowHidden(r) ? 1 : 0;
        }
        EXPECT_EQ(hidden, data.GetHiddenRowCount()) << what;
        CString reason;
        EXPECT_TRUE(data.CheckConsistency(reason)) << what << ": " << reason.GetString();
    };
    std::mt19937 rng(17);
    for (int step = 0; step < 300; ++step) {
        const ROWCOL count = static_cast<ROWCOL>(mirror.size() - 1);
        const ROWCOL at = 1 + static_cast<ROWCOL>(rng() % count);
        const ROWCOL n = (step % 5 == 0) ? 1 + static_cast<ROWCOL>(rng() % 40) : 1;
        switch (step % 4) {
        case 0: // insert, then label the new rows
            ASSERT_TRUE(data.InsertRows(at, n));
            mirror.insert(mirror.begin() + at, n, std::string());
            ids.insert(ids.begin() + at, n, 0);
            for (ROWCOL r = at; r < at + n; ++r)
                mirror[r] = label(r);
            break;
        case 1: { // remove
            const ROWCOL last = std::min<ROWCOL>(at + n - 1, count);
            ASSERT_TRUE(data.RemoveRows(at, last));
            mirror.erase(mirror.begin() + at, mirror.begin() + last + 1);
            ids.erase(ids.begin() + at, ids.begin() + last + 1);
            break;
        }
        case 2: { // move one row elsewhere
            const ROWCOL dest = 1 + static_cast<ROWCOL>(rng() % count);
            ASSERT_TRUE(data.MoveRows(at, at, dest));
            const std::string m = mirror[at];
            const std::uint64_t id = ids[at];
            mirror.erase(mirror.begin() + at);
            ids.erase(ids.begin() + at);
            mirror.insert(mirror.begin() + dest, m);
            ids.insert(ids.begin() + dest, id);
            break;
        }
        default: { // a removal undone puts the same rows back
            const ROWCOL last = std::min<ROWCOL>(at + n - 1, count);
            auto records = data.ExtractRows(at, last);
            ASSERT_EQ(records.size(), last - at + 1);
            ASSERT_TRUE(data.RestoreRows(at, records));
            break;
        }
        }
        if (step % 25 == 0)
            check(("step " + std::to_string(step)).c_str());
    }
    check("end");
}

// Scrolling a cell into view: a row in view leaves the top row alone; a row below it (near or far past
// the view, across hidden and tall rows) becomes the last row shown, whole.
TEST(GridRows, ScrollCellInViewShowsTheRowWhole)
{
    TestGrid g(3000, 3);
    g.SetGridRect(CRect(0, 0, 640, 300));
    g.HideRows(40, 45);
    g.SetRowHeight(70, 70, 90);
    auto inView = [&g](ROWCOL row) {
        const CRect rect = g.CalcRectFromRowCol(row, 1);
        return !rect.IsRectEmpty() && rect.top >= 0 && rect.bottom <= g.GetGridRect().Height();
    };
    const ROWCOL top = g.GetTopRow();
    const ROWCOL shown = top + 3;
    ASSERT_TRUE(inView(shown));
    g.ScrollCellInView(shown, 1);
    EXPECT_EQ(g.GetTopRow(), top);
    for (ROWCOL row : {ROWCOL{30}, ROWCOL{46}, ROWCOL{70}, ROWCOL{1500}, ROWCOL{3000}, ROWCOL{20}}) {
        g.ScrollCellInView(row, 1);
        EXPECT_TRUE(inView(row)) << row;
        if (row < 1500) continue;
        // the earliest top row that shows it: one row higher and it falls off the bottom
        const ROWCOL at = g.GetTopRow();
        g.SetTopRow(at - 1);
        EXPECT_FALSE(inView(row)) << row;
        g.SetTopRow(at);
    }
}
