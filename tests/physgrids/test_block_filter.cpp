// The physical view of the example board: the block filter reaches the part and net grids, and a copy over
// rows of several parts names each row's part.
#include "../pingrid/PinGridBoardFixture.h"

namespace {

class PhysBoard : public PinGridBoard {
protected:
    void SetUp() override {
        PinGridBoard::SetUp();
        ASSERT_TRUE(Open("demo.board:sch", 4));
    }
    bool WindowShows(const std::string& text) { return Run("kx::window ccp").find(text) != std::string::npos; }
};

TEST_F(PhysBoard, AnExcludedBlockLeavesThePartGridKeptAndTheNetGridsShownLater) {
    ASSERT_EQ(Run("kx::show clp U10"), "1");
    ASSERT_TRUE(WindowShows("| IN | Inout |")) << Run("kx::window ccp");
    ASSERT_EQ(Run("filterBlock -exclude PWR1"), "1");
    EXPECT_FALSE(WindowShows("| IN | Inout |")) << Run("kx::window ccp");
    // A row filter afterwards keeps the block's rows out.
    ASSERT_EQ(Run("filterRows pin -col {Pin Name} -filter *"), "1");
    EXPECT_FALSE(WindowShows("| IN | Inout |")) << Run("kx::window ccp");
    ASSERT_EQ(Run("kx::show slp EN"), "1");
    EXPECT_TRUE(WindowShows("R1 | 2 | B")) << Run("kx::window ccp");
    EXPECT_FALSE(WindowShows("U10")) << Run("kx::window ccp");
    // Taken back in again, the block's pins show.
    ASSERT_EQ(Run("filterBlock -include PWR1"), "1");
    EXPECT_TRUE(WindowShows("U10")) << Run("kx::window ccp");
}

TEST_F(PhysBoard, ACopyOverSeveralPartsNamesEachRowsPart) {
    ASSERT_EQ(Run("kx::show clp R1 R2"), "1");
    ASSERT_EQ(Run("kx::select ccp 6 3 8 3"), "1");
    Messages();
    ASSERT_EQ(Run("kx::key ccp Ctrl+C"), "1");
    EXPECT_TRUE(Messages().empty());
    EXPECT_NE(Transcript().find("copy pin [list R1 A 1] [list R2 A 1] [list R1 B 2]"), std::string::npos)
        << Transcript();
}

} // namespace
