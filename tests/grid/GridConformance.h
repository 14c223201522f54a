// The conformance suite every grid kind passes: typed tests over a list of grid
// kinds, each run on a grid the pane's factory makes, inside a design window.
//
// Adding a kind is one line in the type list of the suite's instantiation
// (tests/pane/test_grid_conformance.cpp) and a small traits struct:
//
//   struct MyGridTraits {
//       static constexpr KXGridKind kKind = KXGridKind::Signal;
//       // Fills a grid the factory made with the objects of the fixture's board design.
//       static void Load(CKXBottomPaneContainerView& pane, CKXGridWnd& grid);
//       // One user edit of the design through the grid: one transaction, one undo step.
//       static bool Edit(CKXBottomPaneContainerView& pane, CKXGridWnd& grid);
//       // An edit the grid refuses (bad value, nothing to act on): nothing may change.
//       static bool FailingEdit(CKXBottomPaneContainerView& pane, CKXGridWnd& grid);
//       // Sets a row-filter pattern on a column as the user would, and runs the filter.
//       static void Filter(CKXGridWnd& grid, ROWCOL col, const CString& pattern);
//       // Writes the grid's dump to the file; true when written.
//       static bool Dump(CKXGridWnd& grid, const char* path);
//       // Changes the width of a column in one grid and sends the layout to the kind's grids.
//       static void ResizeColumnAndBroadcast(CKXGridWnd& grid, int col, int width);
//       // Optional: the open mode of the design window the grid lives in (the physical grids
//       // live in the physical view, 4); 1 (the editable block) when not given.
//       static constexpr int kOpenMode = 4;
//       // Optional: what the kind needs in the board design besides the fixture's (packaged parts).
//       static void AddToDesign(rmx::DesignBuilder& builder);
//       // Optional: an edit whose rows are written by the refresh in a way of their own (Edit
//       // when not given); after it and after its undo the grid shows what a fresh load shows.
//       static bool RefreshedEdit(CKXBottomPaneContainerView& pane, CKXGridWnd& grid);
//   };
//
// Every kind is also edited, replaced by the pane with a new grid of the kind, and undone: the
// window's undo history keeps the edit's step whatever became of the grid it was made in.
//
// Edit must go the way a user's edit goes (its journal is replayed in a fresh host), and
// Load must show what Edit needs without a journal line of its own.
#pragma once

#include "KXDesignSnapshot.h"
#include "KXShellFixture.h"
#include "KXTempPath.h"

#include "grid/KXGridWnd.h"
#include "pane/KXBottomPaneContainerView.h"

#include "kxcommon/KXShareGlobalData.h"
#include "kxinstsigpane/KXTransaction.h"
#include "rmx/DesignBuilder.h"
#include "rmx/transaction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The open mode a kind's traits ask for, 1 when they name none.
template <class Traits> constexpr int KXConformanceOpenMode() {
    if constexpr (requires { Traits::kOpenMode; })
        return Traits::kOpenMode;
    else
        return 1;
}

template <class Traits> class GridConformance : public KXShellFixture {
protected:
    void BuildDesign(rmx::DesignBuilder& builder) override {
        KXShellFixture::BuildDesign(builder);
        if constexpr (requires { Traits::AddToDesign(builder); }) Traits::AddToDesign(builder);
    }

    void SetUp() override {
        KXShellFixture::SetUp();
        ASSERT_TRUE(Open("work.board:sch", KXConformanceOpenMode<Traits>()));
        design = CDesignContext(CKXShareGlobalData::m_pServer, "work.board:sch");
        ASSERT_TRUE(design);
        grid = Ccp()->CreateGrid(Traits::kKind);
        ASSERT_NE(grid, nullptr);
        ASSERT_EQ(grid->Kind(), Traits::kKind);
        Traits::Load(*Ccp(), *grid);
    }

    // The edit whose refresh is compared with a fresh load.
    bool RefreshedEdit() {
        if constexpr (requires { Traits::RefreshedEdit(*Ccp(), *grid); })
            return Traits::RefreshedEdit(*Ccp(), *grid);
        else
            return Traits::Edit(*Ccp(), *grid);
    }
    // The data rows of a grid of the kind loaded now, beside the one under test.
    std::vector<std::string> FreshRows() {
        CKXGridWnd* fresh = Ccp()->CreateGrid(Traits::kKind);
        if (!fresh) return {};
        Traits::Load(*Ccp(), *fresh);
        std::vector<std::string> rows = DataRows(*fresh);
        Ccp()->DestroyGrid(fresh);
        return rows;
    }
    // Each data row's texts in the shown columns, the rows in text order (a row a refresh adds may
    // come last); a row without any shown text (a grid may keep blank rows to type into) is left out.
    static std::vector<std::string> DataRows(CKXGridWnd& of) {
        std::vector<std::string> rows;
        for (ROWCOL r = of.FirstDataRow(); r <= of.GetRowCount(); ++r) {
            std::string row;
            bool blank = true;
            for (ROWCOL c = 1; c <= of.GetColCount(); ++c) {
                if (of.IsColHidden(c) || of.GetColWidth(c) == 0) continue;
                const CString text = of.GetValueRowCol(r, c);
                blank = blank && text.IsEmpty();
                row += std::string(text.GetString()) + " | ";
            }
            if (!blank) rows.push_back(row);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    std::string Snapshot() { return KXDesignSnapshot(*CKXShareGlobalData::m_pServer, design.design(), "conf"); }
    // Every cell text of the grid, row by row.
    std::vector<std::string> Cells() {
        std::vector<std::string> cells;
        for (ROWCOL r = 1; r <= grid->GetRowCount(); ++r)
            for (ROWCOL c = 1; c <= grid->GetColCount(); ++c)
                cells.push_back(grid->GetValueRowCol(r, c).GetString());
        return cells;
    }

    CDesignContext design;
    CKXGridWnd* grid = nullptr;
};

TYPED_TEST_SUITE_P(GridConformance);

TYPED_TEST_P(GridConformance, OneEditIsOneUndoStepAndUndoRestoresTheDesign) {
    const std::string before = this->Snapshot();
    const int steps = this->Ccp()->GetUndoStepCount();
    ASSERT_TRUE(TypeParam::Edit(*this->Ccp(), *this->grid));
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_EQ(this->Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_NE(this->Snapshot(), before);
    ASSERT_TRUE(this->Ccp()->PerformUndo());
    EXPECT_EQ(this->Snapshot(), before);
}

TYPED_TEST_P(GridConformance, ACommitFromElsewhereKeepsUndoAndTheReadOnlyLock) {
    CGXGridParam* param = this->grid->GetParam();
    ASSERT_NE(param, nullptr);
    for (BOOL lock : {TRUE, FALSE}) {
        param->SetLockReadOnly(lock);
        param->EnableUndo(TRUE);
        CTransaction other(this->design, "elsewhere");
        INet* net = other.createNet(lock ? "ELSEWHERE1" : "ELSEWHERE2", static_cast<unsigned>(-1),
                                    static_cast<unsigned>(-1));
        ASSERT_TRUE(net && other.addNet(net));
        ASSERT_TRUE(other.commit());
        EXPECT_TRUE(param->IsEnableUndo());
        EXPECT_EQ(param->IsLockReadOnly(), lock);
    }
}

TYPED_TEST_P(GridConformance, ALayoutBroadcastAlignsEveryGridOfTheKind) {
    CKXGridWnd* second = this->Ccp()->CreateGrid(TypeParam::kKind);
    ASSERT_NE(second, nullptr);
    TypeParam::Load(*this->Ccp(), *second);
    const int col = 2;
    TypeParam::ResizeColumnAndBroadcast(*this->grid, col, 123);
    EXPECT_EQ(second->CGXGridCore::GetColWidth(static_cast<ROWCOL>(col)),
              this->grid->CGXGridCore::GetColWidth(static_cast<ROWCOL>(col)));
}

TYPED_TEST_P(GridConformance, FilterStarHidesNothing) {
    // Rows hidden before (collapsed groups) stay as they were; no shown row is hidden.
    auto hidden = [this] {
        std::vector<ROWCOL> rows;
        for (ROWCOL r = this->grid->FirstDataRow(); r <= this->grid->GetRowCount(); ++r)
            if (this->grid->IsRowHidden(r)) rows.push_back(r);
        return rows;
    };
    const std::vector<ROWCOL> before = hidden();
    for (ROWCOL c = 1; c <= this->grid->GetColCount(); ++c)
        TypeParam::Filter(*this->grid, c, "*");
    EXPECT_EQ(hidden(), before);
}

TYPED_TEST_P(GridConformance, TheDumpCoversEveryShownCell) {
    const auto path = KXUniqueTempPath("conformance_dump.txt");
    std::filesystem::remove(path);
    ASSERT_TRUE(TypeParam::Dump(*this->grid, path.string().c_str()));
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::filesystem::remove(path);
    for (ROWCOL r = 1; r <= this->grid->GetRowCount(); ++r) {
        if (this->grid->IsRowHidden(r)) continue;
        for (ROWCOL c = 1; c <= this->grid->GetColCount(); ++c) {
            // A column drawn with no width is not shown.
            if (this->grid->IsColHidden(c) || this->grid->GetColWidth(c) == 0) continue;
            const std::string value = this->grid->GetValueRowCol(r, c).GetString();
            if (!value.empty()) { EXPECT_NE(text.str().find(value), std::string::npos) << value; }
        }
    }
}

TYPED_TEST_P(GridConformance, AFailedEditLeavesDesignAndGridAsTheyWere) {
    const std::string before = this->Snapshot();
    const std::vector<std::string> cells = this->Cells();
    const int steps = this->Ccp()->GetUndoStepCount();
    EXPECT_FALSE(TypeParam::FailingEdit(*this->Ccp(), *this->grid));
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_EQ(this->Snapshot(), before);
    EXPECT_EQ(this->Cells(), cells);
    EXPECT_EQ(this->Ccp()->GetUndoStepCount(), steps);
}

TYPED_TEST_P(GridConformance, AJournalOfOneEditReplaysInAFreshHostToTheSameDesign) {
    ASSERT_TRUE(TypeParam::Edit(*this->Ccp(), *this->grid));
    const std::string edited = this->Snapshot();
    const auto copy = this->m_dir / "conformance.vbs";
    std::ofstream(copy, std::ios::binary) << this->JournalText();
    this->m_app->Stop();
    CKXShareGlobalData::SetAutomationPath(nullptr);
    // A second host on a fresh copy of the same design.
    std::ostringstream out;
    CKXHostCore core(out);
    core.SetQuiet(true);
    CKXHostApp app(core);
    std::string err;
    ASSERT_TRUE(app.Start("", "", err, KXEditorLibraryPath())) << err;
    {
        rmx::DesignBuilder builder(app.Server(), "work", (this->m_dir / "replayed").string());
        this->BuildDesign(builder);
    }
    const CDesignContext replayed(app.Server(), "work.board:sch");
    ASSERT_TRUE(replayed);
    ASSERT_NE(KXDesignSnapshot(*app.Server(), replayed.design(), "conf"), edited);
    EXPECT_TRUE(app.Replay(copy.string(), err)) << err;
    EXPECT_EQ(KXDesignSnapshot(*app.Server(), replayed.design(), "conf"), edited);
    app.Stop();
}

TYPED_TEST_P(GridConformance, UndoAndRedoWorkAfterThePaneReplacedTheEditedGrid) {
    const std::string before = this->Snapshot();
    ASSERT_TRUE(TypeParam::Edit(*this->Ccp(), *this->grid));
    const std::string edited = this->Snapshot();
    const int steps = this->Ccp()->GetUndoStepCount();
    // The pane shows something else: the edited grid is destroyed and a new one of the kind shows the design.
    this->Ccp()->DestroyGrid(this->grid);
    this->grid = this->Ccp()->CreateGrid(TypeParam::kKind);
    ASSERT_NE(this->grid, nullptr);
    TypeParam::Load(*this->Ccp(), *this->grid);
    EXPECT_EQ(this->Ccp()->GetUndoStepCount(), steps);
    ASSERT_TRUE(this->Ccp()->PerformUndo());
    EXPECT_EQ(this->Snapshot(), before);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    ASSERT_TRUE(this->Ccp()->PerformRedo());
    EXPECT_EQ(this->Snapshot(), edited);
    // The grid shown now follows both.
    ASSERT_TRUE(this->Ccp()->PerformUndo());
    EXPECT_EQ(this->Snapshot(), before);
    EXPECT_EQ(this->Ccp()->GetUndoStepCount(), steps - 1);
}

TYPED_TEST_P(GridConformance, AfterAnEditAndItsUndoTheCellsAreThoseOfAFreshLoad) {
    ASSERT_TRUE(this->RefreshedEdit());
    EXPECT_EQ(this->DataRows(*this->grid), this->FreshRows());
    ASSERT_TRUE(this->Ccp()->PerformUndo());
    EXPECT_EQ(this->DataRows(*this->grid), this->FreshRows());
}

// Tab walks the cells the user sees, row by row: from a row's last shown cell to the next shown row's
// first data cell, from the grid's last cell back to its first, and Shift+Tab the other way. The key
// goes to the grid's window as the keyboard sends it.
TYPED_TEST_P(GridConformance, TabWalksTheShownCellsRowByRowAndWraps) {
    CKXGridWnd& g = *this->grid;
    std::vector<ROWCOL> rows;
    for (ROWCOL r = g.FirstDataRow(); r <= g.GetRowCount(); ++r)
        if (!g.IsRowHidden(r)) rows.push_back(r);
    ASSERT_GE(rows.size(), 2u);
    const ROWCOL first = g.ShownColumnFor(g.m_nFirstDataCol), last = g.GetLastVisibleColumn();
    ASSERT_GT(first, 0u);
    auto tab = [&g](bool shift) {
        AfxSetKeyState(VK_SHIFT, shift);
        g.SendMessage(WM_KEYDOWN, VK_TAB, 1);
        g.SendMessage(WM_KEYUP, VK_TAB, 1);
        AfxSetKeyState(VK_SHIFT, FALSE);
    };
    auto current = [&g] {
        ROWCOL r = 0, c = 0;
        return g.GetCurrentCell(r, c) ? std::to_string(r) + " " + std::to_string(c) : std::string("none");
    };
    auto at = [](ROWCOL r, ROWCOL c) { return std::to_string(r) + " " + std::to_string(c); };
    ASSERT_TRUE(g.SetCurrentCell(rows[0], last));
    tab(false);
    EXPECT_EQ(current(), at(rows[1], first));
    ASSERT_TRUE(g.SetCurrentCell(rows.back(), last));
    tab(false);
    EXPECT_EQ(current(), at(rows[0], first));
    tab(true);
    EXPECT_EQ(current(), at(rows.back(), last));
    ASSERT_TRUE(g.SetCurrentCell(rows[1], first));
    tab(true);
    EXPECT_EQ(current(), at(rows[0], last));
}

REGISTER_TYPED_TEST_SUITE_P(GridConformance, TabWalksTheShownCellsRowByRowAndWraps,
                            OneEditIsOneUndoStepAndUndoRestoresTheDesign,
                            ACommitFromElsewhereKeepsUndoAndTheReadOnlyLock,
                            ALayoutBroadcastAlignsEveryGridOfTheKind, FilterStarHidesNothing,
                            TheDumpCoversEveryShownCell, AFailedEditLeavesDesignAndGridAsTheyWere,
                            AJournalOfOneEditReplaysInAFreshHostToTheSameDesign,
                            UndoAndRedoWorkAfterThePaneReplacedTheEditedGrid,
                            AfterAnEditAndItsUndoTheCellsAreThoseOfAFreshLoad);
