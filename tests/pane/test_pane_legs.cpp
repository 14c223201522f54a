// With the project option auto_connect_dpleg on, connecting one leg of a pair pin to one leg of a
// pair net brings the other legs together in the same step.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"

#include "kxclipboard/CKXImpClipBoard.h"
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

// The instance connectivity dialog keeps or throws away its edits as a whole: a leg connected in it
// brings nothing along behind its back, and Cancel leaves the design as it was.
TEST_F(PaneLegs, ALegConnectedInTheInstanceDialogIsTakenBackByCancel) {
    Option("on");
    ASSERT_TRUE(Open());
    const std::string before = Run("kx::netlist");
    const int steps = Ccp()->GetUndoStepCount();
    CKXImpClipBoard::StartCopying();
    CKXImpClipBoard::CopyCFText("CLK_P\n");
    CKXImpClipBoard::EndCopying();
    CKXImpClipBoard::PutTextOnClipBoard(0, 1);
    // Typed, picked from the cell's list, or pasted.
    for (const char* how : {"signal CLK_P", "cell CLK_P", "paste 1"}) {
        Run(std::string("kx::answer dialog CKXInstConnDlg ok pins P ") + how);
        Run("kx::answer dialog CKXInstConnDlg cancel");
        EXPECT_EQ(Run("kx::instconn U5"), "0") << how;
        EXPECT_EQ(Run("kx::netlist"), before) << how;
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps) << how;
    }
    CKXImpClipBoard::Reset();
}

} // namespace
