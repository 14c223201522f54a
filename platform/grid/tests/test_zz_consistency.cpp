// Runs last: random sequences of grid operations checked against a plain model and against the
// grid's own consistency check (counts, hidden sets, covered ranges, selection, current cell).
#include "gridtest.h"

#include <random>

namespace {
struct ModelRow {
    std::string id;
    bool hidden = false;
};
using Model = std::vector<ModelRow>;

Model Snapshot(TestGrid& g)
{
    Model m;
    for (ROWCOL r = 1; r <= g.GetRowCount(); ++r)
        m.push_back({g.Value(r, 1), g.IsRowHidden(r) != FALSE});
    return m;
}

void ExpectSame(TestGrid& g, const Model& m, int step)
{
    ASSERT_EQ(g.GetRowCount(), m.size()) << "step " << step;
    for (ROWCOL r = 1; r <= g.GetRowCount(); ++r) {
        ASSERT_EQ(g.Value(r, 1), m[r - 1].id) << "step " << step << " row " << r;
        ASSERT_EQ(g.IsRowHidden(r) != FALSE, m[r - 1].hidden) << "step " << step << " row " << r;
    }
    CString why;
    ASSERT_TRUE(g.CheckConsistency(why)) << "step " << step << ": " << why.GetString();
}

class Runner {
public:
    explicit Runner(unsigned seed) : rng(seed) {}
    std::mt19937 rng;
    int next = 0;
    ROWCOL Pick(ROWCOL lo, ROWCOL hi) { return std::uniform_int_distribution<ROWCOL>(lo, hi)(rng); }

    // One random step on both the grid and the model; returns whether it was an undoable change.
    bool Step(TestGrid& g, Model& m)
    {
        const ROWCOL n = g.GetRowCount();
        const ROWCOL cols = g.GetColCount();
        switch (Pick(0, 10)) {
        case 0: { // insert rows with fresh ids
            ROWCOL at = Pick(1, n + 1), cnt = Pick(1, 3);
            if (!g.InsertRows(at, cnt))
                return false;
            for (ROWCOL i = 0; i < cnt; ++i) {
                std::string id = "id" + std::to_string(next++);
                g.GetParam()->EnableUndo(FALSE);
                g.SetValueRange(CGXRange(at + i, 1), id.c_str());
                g.GetParam()->EnableUndo(undo);
                m.insert(m.begin() + (at - 1 + i), ModelRow{id, false});
            }
            if (undo) {
                // The values were written without undo: merge them into the recorded insert by
                // giving up on undo for this step.
                g.GetParam()->GetUndoList()->RemoveAll();
                g.GetParam()->GetRedoList()->RemoveAll();
                return false;
            }
            return true;
        }
        case 1: { // remove rows
            if (n < 2)
                return false;
            ROWCOL from = Pick(1, n), to = std::min(n, from + Pick(0, 2));
            EXPECT_TRUE(g.RemoveRows(from, to));
            m.erase(m.begin() + (from - 1), m.begin() + to);
            return true;
        }
        case 2: { // hide or show rows
            if (n == 0)
                return false;
            ROWCOL from = Pick(1, n), to = std::min(n, from + Pick(0, 3));
            bool hide = Pick(0, 1) == 1;
            EXPECT_TRUE(g.HideRows(from, to, hide));
            for (ROWCOL r = from; r <= to; ++r)
                m[r - 1].hidden = hide;
            return true;
        }
        case 3: { // move rows
            if (n < 3)
                return false;
            ROWCOL from = Pick(1, n - 1), to = std::min(n, from + Pick(0, 1));
            ROWCOL cnt = to - from + 1;
            ROWCOL dest = Pick(1, n - cnt + 1);
            if (!g.MoveRows(from, to, dest))
                return false;
            std::vector<ModelRow> block(m.begin() + (from - 1), m.begin() + to);
            m.erase(m.begin() + (from - 1), m.begin() + to);
            m.insert(m.begin() + (dest - 1), block.begin(), block.end());
            return from != dest;
        }
        case 4: { // current cell somewhere (may be refused on hidden rows)
            if (n == 0)
                return false;
            g.SetCurrentCell(Pick(1, n), Pick(1, cols));
            return false;
        }
        case 5: { // select or deselect a range
            if (n == 0)
                return false;
            ROWCOL t = Pick(1, n), b = std::min(n, t + Pick(0, 4));
            if (Pick(0, 3) == 0)
                g.SelectRange(CGXRange().SetRows(t, b), Pick(0, 1) == 1);
            else
                g.SelectRange(CGXRange(t, 1, b, Pick(1, cols)), Pick(0, 2) != 0);
            return false;
        }
        case 6: { // cover some cells
            if (n < 2)
                return false;
            ROWCOL t = Pick(1, n - 1);
            ROWCOL l = Pick(2, cols);
            g.SetCoveredCellsRowCol(t, l, t + 1, std::min(cols, l + Pick(0, 1)));
            return true;
        }
        case 7: { // frozen rows
            ROWCOL f = Pick(0, std::min<ROWCOL>(n, 3));
            g.SetFrozenRows(f, Pick(0, f));
            return false;
        }
        case 8: { // keyboard moves with and without Shift
            AfxSetKeyState(VK_SHIFT, Pick(0, 1) == 1);
            static const UINT keys[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_PRIOR, VK_NEXT, VK_HOME, VK_END};
            g.ProcessKeys(nullptr, WM_KEYDOWN, keys[Pick(0, 7)], 1, 0);
            AfxSetKeyState(VK_SHIFT, FALSE);
            return false;
        }
        case 9: { // mouse drag
            if (n == 0)
                return false;
            ROWCOL r1 = Pick(1, n), r2 = Pick(1, n);
            if (g.IsRowHidden(r1) || g.IsRowHidden(r2))
                return false;
            g.SetTopRow(1);
            CPoint a = g.CellPoint(r1, 2), b = g.CellPoint(r2, 3);
            if (a == CPoint(0, 0) || b == CPoint(0, 0))
                return false;
            g.DoLButtonDown(0, a);
            g.DoMouseMove(MK_LBUTTON, b);
            g.DoLButtonUp(0, b);
            return false;
        }
        default: { // reorder a block
            if (n < 4)
                return false;
            ROWCOL first = Pick(1, n - 3);
            std::vector<ROWCOL> order{3, 1, 0, 2};
            EXPECT_TRUE(g.ReorderRows(first, order));
            std::vector<ModelRow> block(m.begin() + (first - 1), m.begin() + (first + 3));
            for (size_t i = 0; i < 4; ++i)
                m[first - 1 + i] = block[order[i]];
            if (undo) {
                g.GetParam()->GetUndoList()->RemoveAll(); // reordering is not undoable
                g.GetParam()->GetRedoList()->RemoveAll();
            }
            return false;
        }
        }
    }
    BOOL undo = FALSE;
};
} // namespace

TEST(GridModel, RandomOperationsAgreeWithTheModel)
{
    KeyStateReset reset;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        TestGrid g(0, 4);
        g.SetGridRect(CRect(0, 0, 600, 2000));
        Runner run(seed);
        Model m;
        for (int step = 0; step < 300; ++step) {
            run.Step(g, m);
            ExpectSame(g, m, step);
            if (HasFatalFailure())
                return;
        }
    }
}

TEST(GridModel, UndoWalksBackThroughEveryRecordedState)
{
    KeyStateReset reset;
    for (unsigned seed = 100; seed < 106; ++seed) {
        TestGrid g(0, 4);
        g.SetGridRect(CRect(0, 0, 600, 2000));
        Runner run(seed);
        Model m;
        // Start from some rows without undo.
        for (int i = 0; i < 15; ++i)
            run.Step(g, m);
        g.GetParam()->GetUndoList()->RemoveAll();
        g.GetParam()->EnableUndo(TRUE);
        run.undo = TRUE;
        std::vector<Model> states{Snapshot(g)};
        for (int step = 0; step < 60; ++step) {
            bool undoable = run.Step(g, m);
            ExpectSame(g, m, step);
            if (HasFatalFailure())
                return;
            if (g.GetParam()->GetUndoList()->IsEmpty())
                states = {Snapshot(g)}; // history was given up: start again from here
            else if (undoable)
                states.push_back(Snapshot(g));
            else
                states.back() = Snapshot(g);
        }
        // Each undo returns to the previous recorded state (covered cells and selections aside).
        const int steps = g.GetParam()->GetUndoList()->GetCount();
        ASSERT_LE(steps + 1, static_cast<int>(states.size())) << "seed " << seed;
        for (int i = 0; i < steps; ++i) {
            g.Undo();
            const Model& want = states[states.size() - 2 - static_cast<size_t>(i)];
            ExpectSame(g, want, 1000 + i);
            if (HasFatalFailure())
                return;
        }
        for (int i = 0; i < steps; ++i)
            g.Redo();
        ExpectSame(g, m, 2000);
    }
}

TEST(GridModel, RandomColumnOperationsAgreeWithTheModel)
{
    for (unsigned seed = 7; seed < 15; ++seed) {
        TestGrid g(6, 0);
        std::mt19937 rng(seed);
        auto pick = [&](ROWCOL lo, ROWCOL hi) { return std::uniform_int_distribution<ROWCOL>(lo, hi)(rng); };
        std::vector<ModelRow> cols; // id in row 1 of each column, hidden flag
        int next = 0;
        for (int step = 0; step < 300; ++step) {
            const ROWCOL n = g.GetColCount();
            switch (pick(0, 6)) {
            case 0: {
                ROWCOL at = pick(1, n + 1), cnt = pick(1, 2);
                ASSERT_TRUE(g.InsertCols(at, cnt));
                for (ROWCOL i = 0; i < cnt; ++i) {
                    std::string id = "c" + std::to_string(next++);
                    g.SetValueRange(CGXRange(1, at + i), id.c_str());
                    cols.insert(cols.begin() + (at - 1 + i), ModelRow{id, false});
                }
                break;
            }
            case 1:
                if (n > 1) {
                    ROWCOL from = pick(1, n), to = std::min(n, from + pick(0, 1));
                    ASSERT_TRUE(g.RemoveCols(from, to));
                    cols.erase(cols.begin() + (from - 1), cols.begin() + to);
                }
                break;
            case 2:
                if (n > 2) {
                    ROWCOL from = pick(1, n - 1), to = from, dest = pick(1, n);
                    ASSERT_TRUE(g.MoveCols(from, to, dest));
                    ModelRow m = cols[from - 1];
                    cols.erase(cols.begin() + (from - 1));
                    cols.insert(cols.begin() + (dest - 1), m);
                }
                break;
            case 3:
                if (n > 0) {
                    ROWCOL c = pick(1, n);
                    bool hide = pick(0, 1) == 1;
                    g.HideCols(c, c, hide);
                    cols[c - 1].hidden = hide;
                }
                break;
            case 4:
                if (n > 1) {
                    ROWCOL l = pick(1, n - 1);
                    g.SetCoveredCellsRowCol(3, l, 4, l + 1);
                }
                break;
            case 5:
                if (n > 0) {
                    g.SetCurrentCell(pick(1, 6), pick(1, n));
                    g.SelectRange(CGXRange(2, pick(1, n), 5, pick(1, n)), pick(0, 1) == 1);
                    g.SelectRange(CGXRange().SetCols(pick(1, n)), pick(0, 2) != 0);
                }
                break;
            default:
                g.ProcessKeys(nullptr, WM_KEYDOWN, pick(0, 1) ? VK_RIGHT : VK_LEFT, 1, 0);
                break;
            }
            ASSERT_EQ(g.GetColCount(), cols.size()) << "seed " << seed << " step " << step;
            for (ROWCOL c = 1; c <= g.GetColCount(); ++c) {
                ASSERT_EQ(g.Value(1, c), cols[c - 1].id) << "seed " << seed << " step " << step << " col " << c;
                ASSERT_EQ(g.IsColHidden(c) != FALSE, cols[c - 1].hidden) << "seed " << seed << " step " << step;
            }
            CString why;
            ASSERT_TRUE(g.CheckConsistency(why)) << "seed " << seed << " step " << step << ": " << why.GetString();
        }
    }
}
