// The pane's copy word on the signal grid and the physical grids: the keyed rows are copied, and a
// key that names no row is refused instead of copying whatever was selected or current before.
#include "PinGridBoardFixture.h"

namespace {

class PaneCopy : public PinGridBoard {
protected:
    bool Shown(const std::string& id) {
        for (const std::string& m : Messages())
            if (m == id) return true;
        return false;
    }
};

TEST_F(PaneCopy, TheSignalGridCopiesTheKeyedRowsAndRefusesAKeyThatNamesNone) {
    ASSERT_TRUE(Open("demo.board:sch"));
    ASSERT_EQ(Run("kx::show slp MCLK"), "1");
    Messages();
    EXPECT_EQ(Run("copy pin NO_SUCH {Pin Number}"), "0");
    EXPECT_TRUE(Shown("KXPANE-247"));
    EXPECT_EQ(Run("copy pin [list B14 U1] {Pin Number}"), "1");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(PaneCopy, ThePhysicalPartGridCopiesTheKeyedRowsAndRefusesAKeyThatNamesNone) {
    ASSERT_TRUE(Open("demo.board:sch", 4));
    ASSERT_EQ(Run("kx::show clp U1"), "1");
    Run("kx::select ccp 6 3"); // a current cell that a refused copy must not take instead
    Messages();
    EXPECT_EQ(Run("copy pin NO_SUCH {Pin Name}"), "0");
    EXPECT_TRUE(Shown("KXPANE-247"));
    EXPECT_EQ(Run("copy pin MCLK {Pin Name}"), "1");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(PaneCopy, ThePhysicalNetGridRefusesAKeyThatNamesNone) {
    ASSERT_TRUE(Open("demo.board:sch", 4));
    ASSERT_EQ(Run("kx::show slp DDR_CLK"), "1"); // MCLK in the physical view
    Messages();
    EXPECT_EQ(Run("copy pin NO_SUCH {Pin Number}"), "0");
    EXPECT_TRUE(Shown("KXPANE-247"));
    EXPECT_EQ(Run("copy pin B14 {Pin Number}"), "1");
}

} // namespace
