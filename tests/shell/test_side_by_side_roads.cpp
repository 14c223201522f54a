// Pin grids side by side on the example board, through the host as the user drives them: the pins chosen
// over several grids are what a drop and the words that follow act on, and a sort the grids refuse leaves
// no step.
#include "KXDemoBoard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class SideBySideRoads : public DemoBoard {
protected:
    // The netlist's line of a pin ("R1 A VCC3V3"); "" for an open pin.
    std::string Line(const std::string& pin) {
        const std::string netlist = "\n" + Run("kx::netlist");
        const std::size_t at = netlist.find("\n" + pin + " ");
        return at == std::string::npos ? std::string() : netlist.substr(at + 1, netlist.find('\n', at + 1) - at - 1);
    }
    int Steps() { return Ccp()->GetUndoStepCount(); }
};

// R1 and R2 side by side with pin A chosen in both: a signal dropped on R1's A goes to both A pins in one
// step, as the Attach Signal box puts it; with no pin chosen a drop takes only the row it falls on.
TEST_F(SideBySideRoads, ADropOnPinsChosenInTwoGridsConnectsThemAll) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp R1 R2"));
    const int steps = Steps();
    // One pin chosen in the grid beside: the drop takes the row it falls on only.
    ASSERT_EQ(Run("selectObject pin {R2 B 2}"), "1");
    ASSERT_EQ(Run("kx::grid ccp 1"), "1");
    EXPECT_EQ(Run("kx::drop ccp 6 7 signal RST_IN"), "1");
    EXPECT_EQ(Line("R1 A"), "R1 A RST_IN");
    EXPECT_EQ(Line("R2 A"), "R2 A VCC3V3");
    EXPECT_EQ(Line("R2 B"), "R2 B PG");
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_EQ(Steps(), steps);
    // Pin A chosen in both grids: both take the signal, in one step.
    ASSERT_EQ(Run("selectObject pin A:1"), "1");
    EXPECT_EQ(Run("kx::drop ccp 6 7 signal RST_IN"), "1");
    EXPECT_EQ(Line("R1 A"), "R1 A RST_IN");
    EXPECT_EQ(Line("R2 A"), "R2 A RST_IN");
    EXPECT_EQ(Line("R2 B"), "R2 B PG");
    EXPECT_EQ(Steps(), steps + 1);
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Line("R1 A"), "R1 A VCC3V3");
    EXPECT_EQ(Line("R2 A"), "R2 A VCC3V3");
}

// U1 and U2 side by side, U1's grid active: keys that name a pin of U2 only choose it as a click would,
// making U2's grid active, and every word that follows acts on it.
TEST_F(SideBySideRoads, KeysNamingAPinOfTheGridBesideChooseItForEveryWord) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1 U2"));
    ASSERT_EQ(Run("kx::grid ccp"), "component U1");
    EXPECT_EQ(Run("selectObject pin {U2 CLK 30}"), "1");
    EXPECT_EQ(Run("kx::grid ccp"), "component U2");
    EXPECT_EQ(Run("kx::grid ccp selected"), "{20 4 20 4}");
    Messages();
    EXPECT_EQ(Run("deleteConnection pin"), "1");
    EXPECT_EQ(Line("U2 CLK"), "");
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_EQ(Line("U2 CLK"), "U2 CLK MCLK");
    ASSERT_EQ(Run("kx::show clp U1 U2"), "1");
    ASSERT_EQ(Run("selectObject pin {U2 CLK 30}"), "1");
    EXPECT_EQ(Run("addPupd pin -type pullup -dcnet VCC3V3 -lib demo -cell RES -view sym -physname RES0402 -value 1k"),
              "1");
    EXPECT_TRUE(Messages().empty());
    // Keys that name a pin of the active grid leave it active.
    ASSERT_EQ(Run("selectObject pin {U1 PGOOD C10} {U2 CLK 30}"), "1");
    EXPECT_EQ(Run("kx::grid ccp"), "component U2");
    ASSERT_EQ(Run("kx::grid ccp 1"), "1");
    ASSERT_EQ(Run("selectObject pin {U1 PGOOD C10} {U2 CLK 30}"), "1");
    EXPECT_EQ(Run("kx::grid ccp"), "component U1");
}

// Side by side the grids sort by Pin Name only: a click on another column's title, or the sort menu's item
// for it, sorts nothing, says why and answers 0, with no step; the Pin Name's title sorts, one step.
TEST_F(SideBySideRoads, ARefusedSortAnswersZeroAndLeavesNoStep) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp U1 U2"));
    const int steps = Steps();
    const std::string window = Run("kx::window ccp");
    for (const char* road : {"kx::click ccp 2 7", "kx::menu 35126"}) {
        Messages();
        EXPECT_EQ(Run(road), "0") << road;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-349"}) << road;
        EXPECT_EQ(Steps(), steps) << road;
        EXPECT_EQ(Run("kx::window ccp"), window) << road;
    }
    EXPECT_EQ(Run("kx::click ccp 2 4"), "1");
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_NE(Run("kx::history").find("undo Sort Columns"), std::string::npos);
}

} // namespace
