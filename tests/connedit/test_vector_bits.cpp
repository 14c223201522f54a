// The vector-bits dialog of a connect whose signal and pin widths differ: the signal's bits from its
// MSB go to the chosen pin bits from pinMsb on; a pinLsb above pinMsb pairs them the other way round.
// The connect replays without the dialog.
#include "ConnEditFixture.h"

namespace {

class VectorBits : public ConnEditFixture {
protected:
    // The pin's connections taken off, the pin selected again.
    void OpenPin(const std::string& key) {
        OpenBoard();
        ASSERT_EQ(Run("selectObject pin [list U1 " + key + "]"), "1");
        ASSERT_EQ(Run("deleteConnection pin"), "1");
        ASSERT_EQ(Run("selectObject pin [list U1 " + key + "]"), "1");
    }
    // The selected pin connected to the signal, the dialog answered as given.
    void ConnectThroughTheDialog(const std::string& answer, const std::string& signal) {
        Run("kx::answer dialog CKXGetVectorBits ok " + answer);
        EXPECT_EQ(Run("addConnection pin " + signal), "1");
    }
};

TEST_F(VectorBits, TheChosenBitsGoToTheChosenPinBitsMsbFirst) {
    OpenPin("A<12..0>");
    const std::string original = Saved();
    ConnectThroughTheDialog("lsb 0 msb 3 pinLsb 0 pinMsb 3", "ADDR");
    EXPECT_EQ(Conn("U1 A<3>"), "ADDR<3>");
    EXPECT_EQ(Conn("U1 A<0>"), "ADDR<0>");
    EXPECT_EQ(Conns("U1 A").size(), 4u);
    EXPECT_TRUE(Replayed(original) == Saved()) << JournalText();
}

TEST_F(VectorBits, PinBitsOfTheWholeRangeOfAWiderPin) {
    OpenPin("DQ<15..0>");
    ConnectThroughTheDialog("lsb 0 msb 7 pinLsb 0 pinMsb 7", "NB8<7..0>");
    EXPECT_EQ(Conn("U1 DQ<7>"), "NB8<7>");
    EXPECT_EQ(Conn("U1 DQ<0>"), "NB8<0>");
    EXPECT_EQ(Conn("U1 DQ<8>"), "");
}

TEST_F(VectorBits, ALsbAboveTheMsbPairsTheBitsTheOtherWayRound) {
    OpenPin("DQ<15..0>");
    ConnectThroughTheDialog("lsb 0 msb 7 pinLsb 7 pinMsb 0", "NB8<7..0>");
    EXPECT_EQ(Conn("U1 DQ<0>"), "NB8<7>");
    EXPECT_EQ(Conn("U1 DQ<7>"), "NB8<0>");
    EXPECT_EQ(Conn("U1 DQ<8>"), "");
    EXPECT_EQ(Conn("U1 DQ<15>"), "");
}

} // namespace
