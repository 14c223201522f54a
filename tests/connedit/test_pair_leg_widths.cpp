// A pair over two whole leg nets keeps one range for both legs and itself: a connect that widens one
// leg widens the other and the pair with it, as one undo step that the journal replays.
#include "ConnEditFixture.h"

namespace {

// Two leg nets of two bits, EW_P<1..0> and EW_N<1..0>, with the pair EW over them.
class PairLegWidths : public ConnEditFixture {
protected:
    void EditDemo() override { AddPairOverLegNets("EW", "EW", 1); }
    std::string Legs() {
        IDesign* board = m_app->Server()->findDesign("demo.board:sch");
        std::string text;
        for (const char* name : {"EW_P", "EW_N"}) {
            INet* net = board ? board->findNet(name) : nullptr;
            text += std::string(name) + (net ? " " + std::to_string(net->msb()) + ".." + std::to_string(net->lsb())
                                             : std::string(" none")) + ", ";
        }
        IDPNet* pair = board ? board->findDPNet("EW") : nullptr;
        return text + (pair ? "EW " + std::to_string(pair->msb()) + ".." + std::to_string(pair->lsb()) : "no EW");
    }
    // Runs the connect that puts TX_P on four bits of EW_P: both legs and the pair take 3..0 in one
    // undo step, and the journal records the connect.
    void ExpectLegsWidenedTogether(const std::string& connect) {
        const std::string original = Saved();
        ASSERT_EQ(Legs(), "EW_P 1..0, EW_N 1..0, EW 1..0");
        const int steps = Ccp()->GetUndoStepCount();
        EXPECT_NE(Run(connect), "0");
        EXPECT_EQ(Conns("U1 TX_P"), (std::vector<std::string>{"EW_P<0>", "EW_P<1>", "EW_P<2>", "EW_P<3>"}));
        EXPECT_EQ(Legs(), "EW_P 3..0, EW_N 3..0, EW 3..0");
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
        const std::string edited = Saved();
        EXPECT_EQ(Run("undo"), "1");
        EXPECT_EQ(Legs(), "EW_P 1..0, EW_N 1..0, EW 1..0");
        EXPECT_TRUE(Saved() == original) << "one undo takes both legs back";
        EXPECT_EQ(Run("redo"), "1");
        EXPECT_EQ(Legs(), "EW_P 3..0, EW_N 3..0, EW 3..0");
        EXPECT_NE(JournalText().find(".ConnectivityPane().AddConnection(\"EW_P<3..0>\")"), std::string::npos);
        EXPECT_TRUE(Saved() == edited);
    }
};

TEST_F(PairLegWidths, WideningOneLegWidensTheOtherAndThePairWithPairRowsHidden) {
    OpenBoard();
    ASSERT_EQ(Run("setViewOption pin dp_off"), "1");
    ExpectLegsWidenedTogether("addConnection pin {EW_P<3..0>} {TX_P<3..0>}");
}

// With pair rows shown, the pair row takes the four lanes of the pair its leg widened.
TEST_F(PairLegWidths, TheWidenedPairTakesAFourLanePairPin) {
    OpenBoard();
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1");
    ASSERT_EQ(Run("setViewOption pin dp_off"), "1");
    ASSERT_NE(Run("addConnection pin {EW_N<3..0>} {TX_N<3..0>}"), "0");
    ASSERT_EQ(Run("setViewOption pin dp_on"), "1");
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    EXPECT_NE(Run("addConnection pin {EW<3..0> (Differential Pair)} TX<3..0>"), "0");
    EXPECT_NE(Saved().find("dpconn EW 3 0 U1 TX 3 0"), std::string::npos) << Saved();
}

// A connect onto the pair over the two leg nets that the user cancels, at the question whether the pin
// leaves its pair or at the dialog asking which bits of the pair it takes, leaves the design exactly as
// it was: no leg net widened, no step, no journal line.
TEST_F(PairLegWidths, ACancelledConnectOntoThePairLeavesTheDesignAsItWas) {
    OpenBoard();
    const std::string original = Saved();
    const std::string journal = JournalText();
    const int steps = Ccp()->GetUndoStepCount();
    for (const char* pin : {"TX<3..0>", "CLK"}) {
        Run("kx::answer dialog CKXDontAskAgainYesNoDlg cancel");
        EXPECT_EQ(Run(std::string("addConnection pin {EW<3..0> (Differential Pair)} ") + pin), "2") << pin;
        for (const char* text : {"EW (Differential Pair)", "EW"}) {
            Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
            Run("kx::answer dialog CKXGetVectorBits cancel");
            EXPECT_EQ(Run(std::string("addConnection pin {") + text + "} " + pin), "2") << text << " on " << pin;
            EXPECT_EQ(Legs(), "EW_P 1..0, EW_N 1..0, EW 1..0") << text << " on " << pin;
        }
    }
    EXPECT_TRUE(Saved() == original);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(JournalText(), journal);
}

} // namespace
