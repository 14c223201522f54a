// A line a design window journals replays on that window, whichever window is active as it is written:
// a setting every window takes, after the handle of the window's design was bound to a window of the
// same design that has closed since.
#include "KXDemoBoard.h"

#include "shell/KXTableDoc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

class JournalWindows : public DemoBoard {
protected:
    // Window 1 shows the board's U1; window 2 shows the power block and is active. With `rebound`, a
    // second board window was opened (binding the handle "board" to it) and closed again.
    void OpenWindows(bool rebound) {
        ASSERT_TRUE(OpenBoard(3, kShowU1));
        ASSERT_EQ(Run("kx::open demo.PWR:sch 3"), "1");
        if (!rebound) return;
        ASSERT_EQ(Run("kx::open demo.board:sch 3"), "1");
        Run("kx::close");
        ASSERT_EQ(m_app->Documents().size(), 2u);
        ASSERT_EQ(std::string(Doc()->GetDesignName()), "PWR");
    }

    // Replays `journal` once every window is closed: its answer.
    std::string ReplayAlone(const std::string& journal) {
        while (!m_app->Documents().empty()) {
            Run("kx::answer question KXCOMMON-101 no");
            Run("kx::close");
        }
        const std::filesystem::path file = m_dir / "windows.vbs";
        std::ofstream(file, std::ios::binary) << journal;
        return Run("kx::replay " + file.string());
    }
};

// The board window, not active, journals its pin grid's option: the journal selects that window and binds
// "board" to it first, then selects the active power block's window again.
TEST_F(JournalWindows, ASettingOfAWindowNotActiveReplaysOnThatWindow) {
    OpenWindows(true);
    const size_t from = JournalText().size();
    EXPECT_EQ(Run("kx::option show_dp_pins_ccp 0"), "");
    const std::string journal = JournalText().substr(from);
    const size_t select = journal.find("call board.Clp().Select(\"U1\")");
    ASSERT_NE(select, std::string::npos) << journal;
    EXPECT_LT(journal.find("call RMX.SelectTab(\"1\")"), select) << journal;
    EXPECT_LT(journal.find("set board = RMX.GetActiveTab()"), select) << journal;
    EXPECT_GT(journal.find("call RMX.SelectTab(\"2\")", select), select) << journal;
    EXPECT_GT(journal.find("set PWR = RMX.GetActiveTab()", select), select) << journal;
    // The replay shows U1 in the board's window and ends with the power block's window active.
    const std::string whole = JournalText();
    EXPECT_EQ(ReplayAlone(whole), "1") << whole;
    ASSERT_NE(Doc(), nullptr);
    EXPECT_EQ(std::string(Doc()->GetDesignName()), "PWR");
}

// A handle still bound to its window needs no selection; the setting's lines are no lines of the edit
// the active window committed before it (they stay out of that step's comment lines).
TEST_F(JournalWindows, ASettingAfterAnEditIsNoPartOfThatEditsStep) {
    OpenWindows(false);
    ASSERT_EQ(Run("kx::call AddSignal ZZP1 {} {}"), "1");
    const size_t from = JournalText().size();
    EXPECT_EQ(Run("kx::option show_dp_pins_ccp 0"), "");
    const std::string journal = JournalText().substr(from);
    EXPECT_NE(journal.find("call board.ConnectivityPane().SetViewOptions(\"1\",\"0\")"), std::string::npos)
        << journal;
    EXPECT_EQ(journal.find("Undo step"), std::string::npos) << journal;
    EXPECT_EQ(journal.find("RMX.SelectTab"), std::string::npos) << journal;
    const std::string whole = JournalText();
    EXPECT_EQ(ReplayAlone(whole), "1") << whole;
}

} // namespace
