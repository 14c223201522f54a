// With the project option auto_connect_dpleg on, connecting one leg of a pair pin to one leg of a
// pair net brings the other legs together in the same step.
#include "KXShellFixture.h"

#include "pane/KXBottomPaneContainerView.h"
#include "pane/KXInstConnDlg.h"
#include "shell/KXTableChildFrm.h"
#include "shell/KXTableDoc.h"

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

// The switch is "on" in any case; "yes", "true" and "1" leave it off.
TEST_F(PaneLegs, OnlyOnInAnyCaseTurnsTheOptionOn) {
    ASSERT_TRUE(Open());
    ASSERT_EQ(Run("kx::show slp CLK_P"), "1");
    for (const char* value : {"yes", "true", "TRUE", "1", "On", "ON"}) {
        SCOPED_TRACE(value);
        Option(value);
        EXPECT_EQ(Run("addConnection pin U5:1"), "1");
        EXPECT_TRUE(Connected("U5 P CLK_P"));
        const bool on = std::string(value) == "On" || std::string(value) == "ON";
        EXPECT_EQ(Connected("U5 N CLK_N"), on);
        EXPECT_EQ(Run("undo"), "1");
    }
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
    // While the dialog is open its connection is in the design; Cancel takes it back. The dialog shows
    // the pair's row (its legs are folded under it): that is the row the user connects.
    {
        CKXTableChildFrm* frame = Frame();
        CKXTableDoc* doc = frame->GetTableDoc();
        CKXInstConnDlg dialog(frame, doc->GetDesignContext(), doc->GetMasterDesignContext(),
                              doc->GetDesignContext().instance("U5"), 0, frame);
        ASSERT_TRUE(dialog.Create(CKXInstConnDlg::IDD, frame));
        CStringArray pair;
        pair.Add("CLK");
        ASSERT_TRUE(dialog.SelectPins(pair));
        Messages();
        ASSERT_TRUE(dialog.ApplySignalText("CLKNET"));
        EXPECT_TRUE(Messages().empty());
        EXPECT_TRUE(Connected("U5 P CLK_P"));
        EXPECT_TRUE(Connected("U5 N CLK_N"));
        dialog.OnCancel();
        EXPECT_EQ(Run("kx::netlist"), before);
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    }
    CKXImpClipBoard::StartCopying();
    CKXImpClipBoard::CopyCFText("CLKNET\n");
    CKXImpClipBoard::EndCopying();
    CKXImpClipBoard::PutTextOnClipBoard(0, 1);
    // Typed or pasted (the pair row's Signal cell is the pair's own, not the net list): kept by OK it is
    // there, thrown away by Cancel not.
    for (const char* how : {"signal CLKNET", "paste 1"}) {
        Run(std::string("kx::answer dialog CKXInstConnDlg ok pins CLK ") + how);
        Run("kx::answer dialog CKXInstConnDlg ok");
        EXPECT_EQ(Run("kx::instconn U5"), "1") << how;
        EXPECT_TRUE(Connected("U5 P CLK_P")) << how;
        EXPECT_TRUE(Connected("U5 N CLK_N")) << how;
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1) << how;
        ASSERT_EQ(Run("undo"), "1") << how;
        ASSERT_EQ(Run("kx::netlist"), before) << how;

        Run(std::string("kx::answer dialog CKXInstConnDlg ok pins CLK ") + how);
        Run("kx::answer dialog CKXInstConnDlg cancel");
        EXPECT_EQ(Run("kx::instconn U5"), "0") << how;
        EXPECT_EQ(Run("kx::netlist"), before) << how;
    }
    CKXImpClipBoard::Reset();
}

} // namespace
