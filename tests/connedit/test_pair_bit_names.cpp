// A typed pair name with one bit ("EW<3>") is a pair of its own over the two leg bits: it is found by
// that full name, and made (its leg nets made or widened) when there is none; a base pair that has the
// bit serves it as a lane; a pair the database answers under another name is reported.
#include "ConnEditFixture.h"

namespace {

constexpr const char* kReplace = "kx::answer dialog CKXDontAskAgainYesNoDlg ok";

class PairBitNames : public ConnEditFixture {
protected:
    bool Has(const std::string& saved, const std::string& line) { return saved.find(line) != std::string::npos; }
    std::string Connect(const std::string& pair) {
        Run(kReplace);
        return Run("addConnection pin {" + pair + " (Differential Pair)} CLK");
    }
};

TEST_F(PairBitNames, EachOneBitNameIsAPairOfItsOwnAndReplays) {
    OpenBoard();
    const std::string original = Saved();
    EXPECT_NE(Connect("EW<3>"), "0");
    std::string saved = Saved();
    EXPECT_TRUE(Has(saved, "dpnet EW<3> EW_P<3> EW_N<3> -1 1")) << saved;
    EXPECT_TRUE(Has(saved, "dpconn EW<3> -1 -1 U1 CLK -1 -1")) << saved;
    EXPECT_EQ(Conn("U1 CLK_P"), "EW_P<3>");
    EXPECT_EQ(SignalCell("CLK"), "EW<3>");
    // The same pair again is no change, and no question whether to replace it.
    const std::string asked = Transcript();
    EXPECT_EQ(Run("addConnection pin {EW<3> (Differential Pair)} CLK"), "0");
    EXPECT_EQ(Transcript().find("CKXDontAskAgainYesNoDlg", asked.size()), std::string::npos)
        << Transcript().substr(asked.size());
    EXPECT_TRUE(Saved() == saved);
    // Another bit of the same base: its own pair, over the leg nets widened for it.
    Messages();
    EXPECT_NE(Connect("EW<4>"), "0");
    EXPECT_TRUE(Messages().empty());
    saved = Saved();
    EXPECT_TRUE(Has(saved, "dpnet EW<4> EW_P<4> EW_N<4> -1 1")) << saved;
    EXPECT_TRUE(Has(saved, "dpconn EW<4> -1 -1 U1 CLK -1 -1")) << saved;
    EXPECT_TRUE(Has(saved, "net EW_P 4 3 0")) << saved;
    EXPECT_EQ(Conn("U1 CLK_N"), "EW_N<4>");
    // The first pair is found again by its full name, not made twice.
    EXPECT_NE(Connect("EW<3>"), "0");
    const std::string edited = Saved();
    EXPECT_TRUE(Has(edited, "dpconn EW<3> -1 -1 U1 CLK -1 -1")) << edited;
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

// Leg nets EW_P<3..0> and EW_N<3..0> with the pair BUS over them.
class PairBitOfAnotherName : public PairBitNames {
protected:
    void EditDemo() override { AddPairOverLegNets("BUS", "EW", 3); }
};

TEST_F(PairBitOfAnotherName, TheLaneOfThePairOverTheLegsIsTakenAndTheOtherNameReported) {
    OpenBoard();
    const std::string original = Saved();
    Messages();
    EXPECT_NE(Connect("EW<2>"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-156"});
    EXPECT_NE(Transcript().find("In board the differential pair was made as BUS (BUS), not as EW<2>."),
              std::string::npos)
        << Transcript();
    const std::string saved = Saved();
    EXPECT_TRUE(Has(saved, "dpconn BUS 2 2 U1 CLK -1 -1")) << saved;
    EXPECT_FALSE(Has(saved, "dpnet EW<2>")) << saved;
    EXPECT_EQ(Conn("U1 CLK_P"), "EW_P<2>");
    // The journal names the lane taken: its replay asks for that pair and is told nothing.
    EXPECT_NE(JournalText().find("AddConnection(\"BUS<2> (Differential Pair)\")"), std::string::npos)
        << JournalText();
    EXPECT_TRUE(Replayed(original) == saved) << JournalText();
}

} // namespace
