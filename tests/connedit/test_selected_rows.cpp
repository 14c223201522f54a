// What the pane's commands do with pin rows chosen by their keys or added to the selection: Delete on
// rows selected without a current cell, side by side too; each is one undo step whose journal replays.
#include "ConnEditFixture.h"

#include "shell/KXTableDoc.h"

namespace {

using SelectedRows = ConnEditFixture;

TEST_F(SelectedRows, DeleteOnRowsSelectedByKeyDisconnectsThemInEveryShownGrid) {
    ASSERT_TRUE(Open("demo.board:sch", 1));
    const std::string original = Saved();
    Run("kx::show clp R1 R2");
    ASSERT_EQ(Ccp()->GetShownGrids().size(), 2u);
    Run("selectWindow ccp");
    EXPECT_EQ(Run("kx::word selectObject pin B:2"), "1");
    const int steps = Steps();
    EXPECT_EQ(Run("kx::menu 35264"), "1");
    EXPECT_EQ(Conn("R1 B"), "");
    EXPECT_EQ(Conn("R2 B"), "");
    EXPECT_EQ(Conn("R1 A"), "VCC3V3"); // the rows not selected keep theirs
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    const std::string deleted = Saved();
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Conn("R1 B"), "EN");
    EXPECT_EQ(Conn("R2 B"), "PG");
    ASSERT_EQ(Run("redo"), "1");
    EXPECT_EQ(Replayed(original), deleted);
}

} // namespace
