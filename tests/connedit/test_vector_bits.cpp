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

// Pin bits outside the selected pin (DQ<15..0>: bits 0..15) are refused by the dialog with its reason,
// before anything is connected: no bit lands on all the pin's bits, and nothing is journalled.
TEST_F(VectorBits, PinBitsOutsideThePinAreRefusedBeforeAnythingIsConnected) {
    OpenPin("DQ<15..0>");
    const std::string original = Saved();
    const std::string journal = JournalText();
    for (const char* fields : {"pinLsb 99999 pinMsb -1", "pinLsb -1 pinMsb -1", "pinLsb 0 pinMsb 16",
                               "pinLsb 20 pinMsb 20", "step 0", "msb 65536", "lsb -1", "pinLsb x"}) {
        Messages();
        Run(std::string("kx::answer dialog CKXGetVectorBits ok lsb 0 msb 0 ") + fields);
        EXPECT_EQ(Run("addConnection pin {S2<65535..0>}"), "0") << fields;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-381"}) << fields;
        EXPECT_EQ(Conns("U1 DQ").size(), 0u) << fields;
    }
    EXPECT_EQ(Saved(), original);
    EXPECT_EQ(JournalText(), journal);
    // Bits of the pin are taken.
    ConnectThroughTheDialog("lsb 0 msb 0 pinLsb 3 pinMsb 3", "{S2<65535..0>}");
    EXPECT_EQ(Conn("U1 DQ<3>"), "S2<0>");
    EXPECT_EQ(Conns("U1 DQ").size(), 1u);
}

// Pin bits chosen that are more than the signal bits chosen would leave pin bits nothing to take: the
// dialog refuses them with the reason, before any pin bit is connected, on the word and the method alike.
// As many pin bits as signal bits taken with a step go one to a pin bit, the signal's MSB on pinMsb.
TEST_F(VectorBits, MorePinBitsThanSignalBitsAreRefusedAndAStepTakesTheChosenPinBits) {
    OpenBoard();
    const std::string original = Saved();
    const std::string journal = JournalText();
    for (const char* word :
         {"addConnection pin ADDR<3..0> [list U1 DQ<15..0> {}]", "kx::pane AddConnection ADDR<3..0>"}) {
        ASSERT_EQ(Run("selectObject pin DQ<15..0>"), "1");
        Run("kx::answer dialog CKXGetVectorBits ok lsb 0 msb 3 pinLsb 0 pinMsb 5");
        Messages();
        EXPECT_EQ(Run(word), "0") << word;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-381"}) << word;
        EXPECT_NE(Transcript().find("DQ<5..0> are 6 bits, more than the 4 signal bits"), std::string::npos)
            << word;
    }
    EXPECT_EQ(Saved(), original);
    EXPECT_EQ(JournalText(), journal);
    Run("kx::answer dialog CKXGetVectorBits ok lsb 0 msb 6 step 2 pinLsb 8 pinMsb 11");
    EXPECT_EQ(Run("addConnection pin ADDR<6..0> [list U1 DQ<15..0> {}]"), "1");
    EXPECT_EQ(Conn("U1 DQ<11>"), "ADDR<6>");
    EXPECT_EQ(Conn("U1 DQ<10>"), "ADDR<4>");
    EXPECT_EQ(Conn("U1 DQ<9>"), "ADDR<2>");
    EXPECT_EQ(Conn("U1 DQ<8>"), "ADDR<0>");
    EXPECT_EQ(Conn("U1 DQ<12>"), "DQ<12>");
    EXPECT_EQ(Conn("U1 DQ<7>"), "DQ<7>");
    const std::string edited = Saved();
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

// The method that answers the next connect's dialog takes only fields of their ranges: net bits 0..65535,
// a step of 1 or more, pin bits -1 or a bit. Pin bits of another pin are refused by the connect's dialog.
TEST_F(VectorBits, ChooseVectorBitsRefusesFieldsTheConnectCannotTake) {
    OpenPin("DQ<15..0>");
    for (const char* fields :
         {"0 0 1 99999 -1", "0 7 0 -1 -1", "0 65536 1 -1 -1", "-1 0 1 -1 -1", "0 0 1 -2 0"}) {
        Messages();
        EXPECT_EQ(Run(std::string("kx::pane ChooseVectorBits {") + fields + "}"), "0") << fields;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-593"}) << fields;
    }
    // Nothing was kept for the connect: its dialog is not answered, and nothing is connected.
    EXPECT_EQ(Run("addConnection pin {S3<65535..0>}"), "2");
    EXPECT_EQ(Conns("U1 DQ").size(), 0u);
    EXPECT_EQ(Run("kx::pane ChooseVectorBits {0 0 1 20 20}"), "1");
    Messages();
    EXPECT_EQ(Run("addConnection pin {S3<65535..0>}"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-381"});
    EXPECT_EQ(Conns("U1 DQ").size(), 0u);
    EXPECT_EQ(Run("kx::pane ChooseVectorBits {0 0 1 15 15}"), "1");
    EXPECT_EQ(Run("addConnection pin {S3<65535..0>}"), "1");
    EXPECT_EQ(Conn("U1 DQ<15>"), "S3<0>");
}

// The pane's connect method takes the same dialog: refused the same way.
TEST_F(VectorBits, TheConnectMethodRefusesPinBitsOutsideThePin) {
    OpenPin("DQ<15..0>");
    Run("kx::answer dialog CKXGetVectorBits ok lsb 0 msb 0 pinLsb 99999 pinMsb -1");
    Messages();
    EXPECT_EQ(Run("kx::pane AddConnection {S4<65535..0>}"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-381"});
    EXPECT_EQ(Conns("U1 DQ").size(), 0u);
}

} // namespace
