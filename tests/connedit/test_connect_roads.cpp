// The other roads to the same connect: the Attach Signal bar and its rule menu,
// the automation methods a journal calls, and a journal replayed on the
// original library giving the same saved design.
#include "ConnEditFixture.h"

#include "rmx/server.h"

#include <fstream>

namespace {

using Roads = ConnEditFixture;

TEST_F(Roads, AttachSignalBarConnectsTheSelectionAndEchoesRules) {
    OpenBoard();
    Select({"PGOOD:C10"});
    Ccp()->AttachSignalByName("BARSIG");
    EXPECT_EQ(Conn("U1 PGOOD"), "BARSIG");
    // A plain name is echoed by the grid with the pins it connected.
    const std::vector<std::string> echoes = Echoes();
    ASSERT_FALSE(echoes.empty());
    EXPECT_NE(echoes.back().find("addConnection BARSIG"), std::string::npos) << echoes.back();
    EXPECT_NE(echoes.back().find("PGOOD"), std::string::npos);
    // Auto Name from the rule menu: one step, echoed as the rule with the pins.
    Select({"PGOOD:C10"});
    const int steps = Ccp()->GetUndoStepCount();
    Ccp()->OnCmdMsg(35255, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(Conn("U1 PGOOD").rfind("signal_", 0), 0u);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    bool echoed = false;
    for (const std::string& e : Echoes())
        if (e.find("addConnection =AUTONAME") == 0 && e.find("PGOOD") != std::string::npos) echoed = true;
    EXPECT_TRUE(echoed);
}

TEST_F(Roads, AutomationAddConnectionAndAttachSignal) {
    OpenBoard();
    Select({"PGOOD:C10"});
    EXPECT_TRUE(Ccp()->AutoAddConnection("AUTOSIG"));
    EXPECT_EQ(Conn("U1 PGOOD"), "AUTOSIG");
    Select({"RST_N:C9"});
    EXPECT_TRUE(Ccp()->AutoAttachSignal("prefixpinname(q_)"));
    EXPECT_EQ(Conn("U1 RST_N"), "q_RST_N");
    // A plain name is no rule: refused, nothing changes.
    const std::string before = Saved();
    EXPECT_FALSE(Ccp()->AutoAttachSignal("CLK"));
    EXPECT_EQ(Saved(), before);
}

TEST_F(Roads, JournalReplaysToTheSameSavedDesign) {
    OpenBoard();
    const std::string original = Saved();
    Run("addConnection pin NEWSIG PGOOD:C10");
    Run("addConnection pin {XB[12..0]} {A<12..0>}");
    Run("addConnection pin =INCREMENTSIGNAME(S,4) MCLK:B14 RST_N:C9");
    Run("addConnection pin =AUTONAME PGOOD:C10");
    Run("deleteConnection pin MCLK:B14");
    const std::string edited = Saved();
    ASSERT_NE(edited, original);
    // The journal so far, replayed on the original board in a fresh window.
    const std::filesystem::path journal = m_dir / "replay.vbs";
    {
        std::ofstream out(journal, std::ios::binary);
        out << JournalText();
    }
    Run("kx::journal");
    Run("closeDesign -nosave");
    {
        std::ofstream back(m_demo / "board.sch.design", std::ios::binary);
        back << original;
    }
    IDesign* board = m_app->Server()->findDesign("demo.board:sch");
    ASSERT_NE(board, nullptr);
    ASSERT_TRUE(m_app->Server()->unloadDesign(board));
    CString error;
    m_app->Server()->loadLibrary(m_demo.c_str(), error);
    EXPECT_EQ(Run("kx::replay " + journal.string()), "1");
    EXPECT_EQ(Saved(), edited);
}

} // namespace
