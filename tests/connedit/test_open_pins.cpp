// A pull-up asked for on open pins: the pins first get new signals of their own, or one common signal
// when the user says so, as one undoable step of their own that the journal replays; a cancelled
// question changes nothing.
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

TEST_F(OpenPins, OneCommonSignalWhenTheUserChoosesIt) {
    OpenTwoPins();
    const std::string opened = Saved();
    const int steps = Steps();
    Run("kx::answer dialog CKXOpenPinConnectionDlg ok common 1");
    Run(kAddPullup);
    EXPECT_FALSE(Conn("U1 RST_N").empty());
    EXPECT_EQ(Conn("U1 RST_N"), Conn("U1 PGOOD"));
    // The pull-up dialog was not answered: the connections stay as a step of their own.
    EXPECT_EQ(Steps(), steps + 1);
    const std::string edited = Saved();
    Run("undo");
    EXPECT_TRUE(Saved() == opened);
    Run("redo");
    EXPECT_TRUE(Saved() == edited);
}

TEST_F(OpenPins, ASignalOfItsOwnForEachPinOtherwise) {
    OpenTwoPins();
    const std::string original = Saved();
    Run("kx::answer dialog CKXOpenPinConnectionDlg ok common 0");
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
    Run("kx::click ccp " + std::to_string(row) + " " + std::to_string(CKXInstanceDetailsGridWnd::m_nColPupd) +
        " double");
    const std::string net = Conn("U1 RST_N");
    EXPECT_FALSE(net.empty());
    EXPECT_EQ(SignalCell("RST_N"), net);
    const std::string edited = Saved();
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

} // namespace
