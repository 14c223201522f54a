// Connecting pair pins to pair nets by a typed name: the typed range is checked against the pair net
// and handed out to the pins, a name without range on a net of another width asks which bits, the
// user may decline replacing a pin's pair net, and every refusal leaves the design as it was.
#include "ConnEditFixture.h"

namespace {

class PairConnect : public ConnEditFixture {
protected:
    // Runs the connect and checks that it changed nothing and showed the messages.
    void ExpectRefused(const std::string& word, const std::vector<std::string>& messages) {
        const std::string before = Saved();
        const std::string journal = JournalText();
        const int steps = Ccp()->GetUndoStepCount();
        Messages();
        Run(word);
        EXPECT_EQ(Messages(), messages) << word;
        EXPECT_TRUE(Saved() == before) << word << ": the design changed";
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps) << word;
        EXPECT_EQ(JournalText(), journal) << word;
    }
    bool Has(const std::string& line) { return Saved().find(line) != std::string::npos; }
};

constexpr const char* kReplace = "kx::answer dialog CKXDontAskAgainYesNoDlg ok";

TEST_F(PairConnect, ATypedBitOfAVectorPairNetTakesAOneBitPair) {
    OpenBoard();
    const std::string original = Saved();
    Run(kReplace);
    Run("addConnection pin {LVDS<2> (Differential Pair)} CLK");
    EXPECT_TRUE(Has("dpconn LVDS 2 2 U1 CLK -1 -1"));
    EXPECT_NE(JournalText().find("AddConnection(\"LVDS<2> (Differential Pair)\")"), std::string::npos)
        << JournalText();
    const std::string edited = Saved();
    Run("undo");
    EXPECT_TRUE(Saved() == original);
    Run("redo");
    EXPECT_TRUE(Saved() == edited);
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

TEST_F(PairConnect, ANameWithoutRangeOnAWiderPairNetAsksWhichBits) {
    OpenBoard();
    const std::string original = Saved();
    // Cancelled: nothing is connected.
    Run(kReplace);
    ExpectRefused("addConnection pin {LVDS (Differential Pair)} CLK", {});
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    Run("kx::answer dialog CKXGetVectorBits ok lsb 1 msb 1");
    Run("addConnection pin {LVDS (Differential Pair)} CLK");
    EXPECT_TRUE(Has("dpconn LVDS 1 1 U1 CLK -1 -1"));
    // The journal names the bits chosen: its replay asks nothing.
    EXPECT_NE(JournalText().find("AddConnection(\"LVDS<1> (Differential Pair)\")"), std::string::npos);
    const std::string edited = Saved();
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

TEST_F(PairConnect, RangesThatThePairNetOrThePinsCannotTakeAreRefused) {
    OpenBoard();
    // Bits the pair net does not have.
    ExpectRefused("addConnection pin {LVDS<7..4> (Differential Pair)} TX<3..0>", {"KXTABLE-150"});
    // Four pin bits on a range of two.
    ExpectRefused("addConnection pin {LVDS<1..0> (Differential Pair)} TX<3..0>", {"KXTABLE-150"});
    // A range on a pair net without bits.
    Run(kReplace);
    ExpectRefused("addConnection pin {SYSCLK<3..0> (Differential Pair)} TX<3..0>", {"KXTABLE-153"});
}

TEST_F(PairConnect, DecliningToReplaceAPinsPairNetLeavesThePin) {
    OpenBoard();
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg cancel");
    ExpectRefused("addConnection pin {FCLK (Differential Pair)} CLK", {});
    EXPECT_FALSE(Has("FCLK"));
}

TEST_F(PairConnect, TheSamePairNetAgainIsNoChange) {
    OpenBoard();
    ExpectRefused("addConnection pin {LVDS<3..0> (Differential Pair)} TX<3..0>", {});
}

} // namespace
