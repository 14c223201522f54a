// The row-number column of both physical grids, read through the host's width query: fitted to
// the digits of the largest row number after a load, shown when the user's show_row_numbers
// option was on as the window opened, also after a window built without it.
#include "PhysGridTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class PhysRowNumbers : public PhysGridTest {
protected:
    bool Show(const std::string& what) {
        return (Doc() || Open("work.board:sch", 4)) && Run("kx::show " + what) == "1";
    }
    void Option(int on) { Run("kx::option show_row_numbers " + std::to_string(on)); }
};

TEST_F(PhysRowNumbers, BothGridsFitTheirRowNumbersAfterALoad) {
    Option(1);
    // Two pins and the 100 spare rows below them: three digits.
    ASSERT_TRUE(Show("slp N1"));
    EXPECT_EQ(RowNumberWidth(), 3 * GX_CHAR_WIDTH + 3) << Run("kx::widths ccp");
    // Nine pin rows: the least width.
    ASSERT_TRUE(Show("clp U1"));
    EXPECT_EQ(RowNumberWidth(), 20 + 3) << Run("kx::widths ccp");
}

TEST_F(PhysRowNumbers, AWindowOpenedLaterFollowsTheOptionOfItsTime) {
    Option(0);
    ASSERT_TRUE(Show("slp N1"));
    EXPECT_EQ(RowNumberWidth(), 0);
    ASSERT_EQ(Run("kx::close"), "1");
    Option(1);
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_TRUE(Show("slp N1"));
    EXPECT_EQ(RowNumberWidth(), 3 * GX_CHAR_WIDTH + 3);
    ASSERT_EQ(Run("kx::close"), "1");
    Option(0);
    ASSERT_TRUE(Open("work.board:sch", 4));
    ASSERT_TRUE(Show("clp U1"));
    EXPECT_EQ(RowNumberWidth(), 0);
}

// The option turned on or off while a physical window is open changes that window at once; the next
// load keeps what the option says now.
TEST_F(PhysRowNumbers, TurningTheOptionChangesAnOpenPhysicalWindow) {
    Option(0);
    ASSERT_TRUE(Show("slp N1"));
    Option(1);
    EXPECT_EQ(RowNumberWidth(), 3 * GX_CHAR_WIDTH + 3) << Run("kx::widths ccp");
    ASSERT_TRUE(Show("clp U1"));
    Option(0);
    EXPECT_EQ(RowNumberWidth(), 0) << Run("kx::widths ccp");
    ASSERT_TRUE(Show("clp RN1"));
    EXPECT_EQ(RowNumberWidth(), 0) << Run("kx::widths ccp");
}

} // namespace
