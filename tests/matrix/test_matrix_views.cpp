// Removing a stored matrix view: from the list's menu while the view is shown,
// by the automation method the journal replays, and what is refused.
#include "MatrixTestSupport.h"

#include <filesystem>
#include <fstream>

namespace {

constexpr UINT kRemoveMatrixView = 35678;

class MatrixViews : public MatrixTest {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        ASSERT_TRUE(Open());
        Views()->CreateView("keep");
        Views()->AddInstanceToMatrixView("keep", "@U1");
        ASSERT_NE(OpenView("v", {"@U1", "@J1"}, {"@:N1", "@:DATA<1>"}), nullptr);
    }
};

TEST_F(MatrixViews, TheMenuRemovesTheShownViewAndClosesItsWindow) {
    const std::string netlist = Run("kx::netlist");
    Messages();
    EXPECT_EQ(Run("kx::menu " + std::to_string(kRemoveMatrixView)), "1") << Transcript();
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(Views()->HasView("v"));
    EXPECT_TRUE(Views()->HasView("keep"));
    EXPECT_EQ(Grid(), nullptr);
    EXPECT_TRUE(Doc()->IsModified());
    // The design's connections are not touched.
    EXPECT_EQ(Run("kx::netlist"), netlist);
    // With no matrix shown the command is disabled.
    EXPECT_EQ(Run("kx::menu " + std::to_string(kRemoveMatrixView)), "0");
}

TEST_F(MatrixViews, TheAutomationMethodRemovesAViewByNameAndRefusesAnUnknownOne) {
    EXPECT_EQ(Run("kx::pane RemoveMatrixView keep"), "1");
    EXPECT_FALSE(Views()->HasView("keep"));
    // The shown view stays shown.
    ASSERT_NE(Grid(), nullptr);
    EXPECT_EQ(Grid()->ViewName(), CString("v"));
    Messages();
    EXPECT_EQ(Run("kx::pane RemoveMatrixView keep"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-405"});
    EXPECT_TRUE(Views()->HasView("v"));
}

TEST_F(MatrixViews, ARemovalIsJournalledAndReplays) {
    const std::filesystem::path journal = m_dir / "views.vbs";
    Run("kx::journal " + journal.string());
    ASSERT_EQ(Run("kx::pane RemoveMatrixView v"), "1");
    Run("kx::journal");
    std::ifstream in(journal);
    const std::string lines((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_NE(lines.find("ConnectivityPane().RemoveMatrixView(\"v\")"), std::string::npos) << lines;
    // The view comes back; the replay removes it again.
    Views()->CreateView("v");
    ASSERT_TRUE(Views()->HasView("v"));
    const std::filesystem::path replay = m_dir / "replay.vbs";
    std::ofstream(replay) << lines;
    EXPECT_EQ(Run("kx::replay " + replay.string()), "1");
    EXPECT_FALSE(Views()->HasView("v"));
}

} // namespace
