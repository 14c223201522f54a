// A pull-up asked for on open pins: the pins first get new signals of their own, or one common signal
// when the user says so, as an undo step before the pull-up's, both of which the journal replays; a cancelled
// question, a cancelled pull-up dialog or a refused pull-up leaves the pins open.
#include "ConnEditFixture.h"

namespace {

constexpr const char* kAddPullup = "kx::menu 35509";

class OpenPins : public ConnEditFixture {
protected:
    // U1's RST_N and PGOOD without their signals, both selected.
    void OpenTwoPins() {
        OpenBoard();
        ASSERT_EQ(TypeSignal("RST_N", ""), "1");
        ASSERT_EQ(TypeSignal("PGOOD", ""), "1");
        ASSERT_EQ(Run("selectObject pin [list U1 RST_N C9] [list U1 PGOOD C10]"), "1");
    }
};

constexpr const char* kPullupAnswer = "kx::answer dialog CKXPupdDlg ok type pullup dcnet VCC3V3 value 10k";

TEST_F(OpenPins, OneCommonSignalWhenTheUserChoosesIt) {
    OpenTwoPins();
    const std::string opened = Saved();
    const int steps = Steps();
    Run("kx::answer dialog CKXOpenPinConnectionDlg ok common 1");
    Run(kPullupAnswer);
    Run(kAddPullup);
    EXPECT_FALSE(Conn("U1 RST_N").empty());
    EXPECT_EQ(Conn("U1 RST_N"), Conn("U1 PGOOD"));
    // The connections are a step of their own, before the pull-up's: the first undo takes back the
    // pull-up alone, the second the connections.
    EXPECT_EQ(Steps(), steps + 2);
    EXPECT_TRUE(RowShows("PGOOD", "Local Pullup")) << Row("PGOOD");
    const std::string edited = Saved();
    const std::string signal = Conn("U1 PGOOD");
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), signal);
    EXPECT_EQ(Conn("U1 RST_N"), signal);
    EXPECT_FALSE(RowShows("PGOOD", "Local Pullup")) << Row("PGOOD");
    const std::string connected = Saved();
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Saved() == opened);
    ASSERT_EQ(Run("redo"), "1");
    EXPECT_TRUE(Saved() == connected);
    ASSERT_EQ(Run("redo"), "1");
    EXPECT_TRUE(Saved() == edited);
    // Each undo journals as many calls as its step's lines replay as: a replay that ends after the
    // pull-up's undo keeps the connections.
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Replayed(opened), connected);
}

// A pin parted from a pulled-up signal loses the mark; typed back onto it, the row shows the signal's
// pull-up again.
TEST_F(OpenPins, APinConnectedToAPulledUpSignalShowsItsMark) {
    OpenTwoPins();
    Run("kx::answer dialog CKXOpenPinConnectionDlg ok common 1");
    Run(kPullupAnswer);
    Run(kAddPullup);
    const std::string signal = Conn("U1 PGOOD");
    ASSERT_TRUE(RowShows("PGOOD", "Local Pullup")) << Row("PGOOD");
    ASSERT_EQ(TypeSignal("PGOOD", ""), "1");
    EXPECT_FALSE(RowShows("PGOOD", "Local Pullup")) << Row("PGOOD");
    ASSERT_EQ(TypeSignal("PGOOD", signal.c_str()), "1");
    EXPECT_TRUE(RowShows("PGOOD", "Local Pullup")) << Row("PGOOD");
    EXPECT_TRUE(RowShows("RST_N", "Local Pullup")) << Row("RST_N");
}

// The pull-up dialog cancelled (here unanswered), or the pull-up refused: the pins stay open, no step and
// no journal line is left.
TEST_F(OpenPins, ACancelledOrRefusedPullupLeavesThePinsOpen) {
    OpenTwoPins();
    const std::string opened = Saved();
    const std::string journal = JournalText();
    const int steps = Steps();
    Run("kx::answer dialog CKXOpenPinConnectionDlg ok common 1");
    Run(kAddPullup);
    EXPECT_EQ(Conn("U1 RST_N"), "");
    EXPECT_EQ(Conn("U1 PGOOD"), "");
    EXPECT_EQ(SignalCell("PGOOD"), "");
    EXPECT_EQ(Run("addPupd pin -type pullup -dcnet NOSUCH -common"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-217"});
    EXPECT_EQ(Conn("U1 RST_N"), "");
    EXPECT_EQ(Conn("U1 PGOOD"), "");
    EXPECT_EQ(SignalCell("RST_N"), "");
    EXPECT_EQ(Steps(), steps);
    EXPECT_TRUE(Saved() == opened);
    EXPECT_EQ(JournalText(), journal);
}

TEST_F(OpenPins, ASignalOfItsOwnForEachPinOtherwise) {
    OpenTwoPins();
    const std::string original = Saved();
    Run("kx::answer dialog CKXOpenPinConnectionDlg ok common 0");
    Run(kPullupAnswer);
    Run(kAddPullup);
    EXPECT_FALSE(Conn("U1 RST_N").empty());
    EXPECT_FALSE(Conn("U1 PGOOD").empty());
    EXPECT_NE(Conn("U1 RST_N"), Conn("U1 PGOOD"));
    EXPECT_NE(JournalText().find("AddConnection(\"" + Conn("U1 PGOOD") + "\")"), std::string::npos);
}

TEST_F(OpenPins, ACancelledQuestionConnectsNothing) {
    OpenTwoPins();
    const std::string opened = Saved();
    const int steps = Steps();
    Run("kx::answer dialog CKXOpenPinConnectionDlg cancel");
    Run(kAddPullup);
    EXPECT_TRUE(Saved() == opened);
    EXPECT_EQ(Steps(), steps);
}

TEST_F(OpenPins, ADoubleClickOnOneOpenPinsPullupCellConnectsItAndReplays) {
    OpenBoard();
    const std::string original = Saved();
    ASSERT_EQ(TypeSignal("RST_N", ""), "1");
    const int row = PinRow("RST_N");
    Run(kPullupAnswer);
    Run("kx::click ccp " + std::to_string(row) + " " + std::to_string(CKXInstanceDetailsGridWnd::m_nColPupd) +
        " double");
    const std::string net = Conn("U1 RST_N");
    EXPECT_FALSE(net.empty());
    EXPECT_EQ(SignalCell("RST_N"), net);
    const std::string edited = Saved();
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

} // namespace
