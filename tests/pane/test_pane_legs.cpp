// With the project option auto_connect_dpleg on, connecting one leg of a pair pin to one leg of a
// pair net brings the other legs together in the same step.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"

#include "rmx/DesignBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class PaneLegs : public KXShellFixture {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        KXShellFixture::BuildDesign(b);
        b.symbol("lvds").port("P").port("N").port("A");
        b.schematic("board")
            .instance("U5", "lvds", "U5")
            .instance("U6", "lvds", "U6")
            .connect("U6", "P", "CLK_P")
            .connect("U6", "N", "CLK_N")
            .dpPin("U5", "CLK", "P", "N")
            .dpNet("CLKNET", "CLK_P", "CLK_N");
        b.pinNumber("U5", "P", "1").pinNumber("U5", "N", "2").pinNumber("U5", "A", "3");
    }
    void Option(const char* value) {
        const std::filesystem::path file = m_dir / "kx.prj";
        std::ofstream(file) << "[GRIDWORKSHOP]\nauto_connect_dpleg " << value << "\n";
        std::string error;
        ASSERT_TRUE(m_app->LoadProject(file.string(), error)) << error;
    }
    bool Connected(const std::string& line) { return Run("kx::netlist").find(line) != std::string::npos; }
};

TEST_F(PaneLegs, ThePositiveLegBringsTheNegativeOneAlongInOneStep) {
    Option("on");
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show slp CLK_P"), "1");
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("addConnection pin U5:1"), "1");
    EXPECT_TRUE(Connected("U5 P CLK_P"));
    EXPECT_TRUE(Connected("U5 N CLK_N"));
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    Run("undo");
    EXPECT_FALSE(Connected("U5 P CLK_P"));
    EXPECT_FALSE(Connected("U5 N CLK_N"));
}

TEST_F(PaneLegs, OffOrAbsentNothingMoreHappens) {
    Option("off");
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show slp CLK_P"), "1");
    EXPECT_EQ(Run("addConnection pin U5:1"), "1");
    EXPECT_TRUE(Connected("U5 P CLK_P"));
    EXPECT_FALSE(Connected("U5 N CLK_N"));
}

TEST_F(PaneLegs, APinThatIsNoLegOrALegAlreadyConnectedIsLeftAlone) {
    Option("on");
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show slp CLK_P"), "1");
    EXPECT_EQ(Run("addConnection pin U5:3"), "1"); // A is no leg
    EXPECT_TRUE(Connected("U5 A CLK_P"));
    EXPECT_FALSE(Connected("U5 N CLK_N"));
}

} // namespace
