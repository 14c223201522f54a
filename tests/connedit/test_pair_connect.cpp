// Connecting pair pins to pair nets by a typed name: the typed range is checked against the pair net
// and handed out to the pins, a name without range on a net of another width asks which bits, the
// user may decline replacing a pin's pair net, and every refusal leaves the design as it was.
#include "ConnEditFixture.h"

#include <algorithm>

#include "kxcommon/KXShareGlobalData.h"

namespace {

class PairConnect : public ConnEditFixture {
protected:
    // Runs the connect and checks that it changed nothing and showed the messages; gives its answer.
    std::string ExpectRefused(const std::string& word, const std::vector<std::string>& messages) {
        const std::string before = Saved();
        const std::string journal = JournalText();
        const int steps = Ccp()->GetUndoStepCount();
        Messages();
        const std::string answer = Run(word);
        EXPECT_EQ(Messages(), messages) << word;
        EXPECT_TRUE(Saved() == before) << word << ": the design changed";
        EXPECT_EQ(Ccp()->GetUndoStepCount(), steps) << word;
        EXPECT_EQ(JournalText(), journal) << word;
        return answer;
    }
    bool Has(const std::string& line) { return Saved().find(line) != std::string::npos; }
};

constexpr const char* kReplace = "kx::answer dialog CKXDontAskAgainYesNoDlg ok";
constexpr const char* kKeepTerminations = "kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1";

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
    // Cancelled: nothing is connected, and the command stopped at its dialog (answer 2, no refusal).
    Run(kReplace);
    EXPECT_EQ(ExpectRefused("addConnection pin {LVDS (Differential Pair)} CLK", {}), "2");
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    Run("kx::answer dialog CKXGetVectorBits ok lsb 1 msb 1");
    Run("addConnection pin {LVDS (Differential Pair)} CLK");
    EXPECT_TRUE(Has("dpconn LVDS 1 1 U1 CLK -1 -1"));
    // The journal names the bits chosen: its replay asks nothing.
    EXPECT_NE(JournalText().find("AddConnection(\"LVDS<1> (Differential Pair)\")"), std::string::npos);
    const std::string edited = Saved();
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

// A typed range wider than the pair pins asks which of its bits they take: cancelled, nothing changes
// (neither the pins nor the leg nets); the bits chosen are taken, and the journal names them.
TEST_F(PairConnect, ATypedRangeWiderThanThePinsAsksWhichBits) {
    OpenBoard();
    const std::string original = Saved();
    Run(kReplace);
    Run("kx::answer dialog CKXGetVectorBits cancel");
    EXPECT_EQ(ExpectRefused("addConnection pin {LVDS<7..0> (Differential Pair)} TX", {}), "2");
    Run(kReplace);
    Run("kx::answer dialog CKXGetVectorBits ok lsb 4 msb 7");
    Run("addConnection pin {LVDS<7..0> (Differential Pair)} TX");
    EXPECT_TRUE(Has("dpconn LVDS 7 4 U1 TX 3 0")) << Saved();
    EXPECT_TRUE(Has("conn U1 TX_P<3> LVDS_P<7>")) << Saved();
    EXPECT_NE(JournalText().find("AddConnection(\"LVDS<7..4> (Differential Pair)\")"), std::string::npos)
        << JournalText();
    const std::string edited = Saved();
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

// A lane moved onto another lane of the pair net has a pair connection of its own; the whole pair
// connected back takes it along: no lane keeps a connection of its own, and the rows show the pair.
TEST_F(PairConnect, APairConnectedBackLeavesNoLaneOnAPairConnectionOfItsOwn) {
    OpenBoard();
    const std::string original = Saved();
    Run("kx::answer question KXTABLE-140 yes");
    ASSERT_GT(PinRow("TX<3..0>"), 0);
    Run("kx::click ccp " + std::to_string(PinRow("TX<3..0>")) + " 4 button");
    Run("kx::answer question * yes");
    TypeSignal("TX<1>", "LVDS<2> (Differential Pair)");
    ASSERT_TRUE(Has("dpconn LVDS 2 2 U1 TX<1> -1 -1")) << Saved();
    const std::string moved = Saved();
    Run("kx::answer question * yes");
    Run("addConnection pin {LVDS<3..0> (Differential Pair)} TX");
    EXPECT_FALSE(Has("U1 TX<1> -1 -1")) << Saved();
    EXPECT_TRUE(Has("dpconn LVDS 3 0 U1 TX 3 0")) << Saved();
    EXPECT_TRUE(Has("conn U1 TX_N<1> LVDS_N<1>")) << Saved();
    EXPECT_EQ(SignalCell("TX<3..0>"), "LVDS<3..0>");
    EXPECT_EQ(SignalCell("TX<1>"), "LVDS<1>");
    const std::string edited = Saved();
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Saved() == moved);
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_TRUE(Saved() == edited);
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

TEST_F(PairConnect, ANameWithoutRangeOnAPairNetAsWideAsThePinsAsksWhichBitsToo) {
    OpenBoard();
    Run(kReplace);
    ASSERT_EQ(Run("addConnection pin {LVDS2<3..0> (Differential Pair)} TX<3..0>"), "1");
    ASSERT_TRUE(Has("dpconn LVDS2 3 0 U1 TX 3 0")) << Saved();
    const std::string moved = Saved();
    // The pins are as wide as LVDS: still asked. Cancelled, nothing changes (answer 2).
    Run(kReplace);
    EXPECT_EQ(ExpectRefused("addConnection pin {LVDS (Differential Pair)} TX<3..0>", {}), "2");
    EXPECT_TRUE(Saved() == moved);
    // By automation, which echoes what it did.
    Run("selectObject pin TX<3..0>");
    Echoes();
    Run(kReplace);
    Run("kx::answer dialog CKXGetVectorBits ok lsb 0 msb 3");
    ASSERT_EQ(Run("kx::pane AddConnection {LVDS (Differential Pair)}"), "1");
    EXPECT_TRUE(Has("dpconn LVDS 3 0 U1 TX 3 0")) << Saved();
    // The echo and the journal name the bits chosen, so that both run again without the dialog.
    const std::vector<std::string> echoes = Echoes();
    EXPECT_TRUE(std::any_of(echoes.begin(), echoes.end(), [](const std::string& e) {
        return e.find("addConnection") != std::string::npos && e.find("LVDS<3..0>") != std::string::npos;
    })) << ::testing::PrintToString(echoes);
    EXPECT_NE(JournalText().find("AddConnection(\"LVDS<3..0> (Differential Pair)\")"), std::string::npos)
        << JournalText();
    const std::string edited = Saved();
    Run("undo");
    EXPECT_TRUE(Saved() == moved);
    Run("redo");
    EXPECT_TRUE(Saved() == edited);
}

TEST_F(PairConnect, RangesThatThePinsOrAPairWithoutBitsCannotTakeAreRefused) {
    OpenBoard();
    // Four pin bits on a range of two.
    ExpectRefused("addConnection pin {LVDS<1..0> (Differential Pair)} TX<3..0>", {"KXTABLE-150"});
    // A range on a pair net without bits.
    Run(kReplace);
    ExpectRefused("addConnection pin {SYSCLK<3..0> (Differential Pair)} TX<3..0>", {"KXTABLE-153"});
    // Four lanes on a pair without bits, one pin on four lanes it cannot take up.
    Run(kReplace);
    ExpectRefused("addConnection pin {SYSCLK (Differential Pair)} TX<3..0>", {"KXTABLE-153"});
    Run(kReplace);
    EXPECT_EQ(ExpectRefused("addConnection pin {LVDS<3..0> (Differential Pair)} CLK", {"KXTABLE-154"}), "0");
}

// A pair net named for a leg or an ordinary pin is refused with a reason, typed or by the word, and
// nothing changes.
TEST_F(PairConnect, APairNetOnAPinThatIsNoPairPinIsRefusedWithItsReason) {
    OpenBoard();
    ExpectRefused("addConnection pin {SYSCLK (Differential Pair)} MCLK", {"KXTABLE-266"});
    ASSERT_EQ(Run("expandPins pin on"), "1");
    ASSERT_GT(PinRow("CLK_P"), 0) << Run("kx::window ccp");
    const std::string before = Saved();
    Messages();
    EXPECT_EQ(TypeSignal("CLK_P", "SYSCLK (Differential Pair)"), "0");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-266"}));
    EXPECT_EQ(SignalCell("CLK_P"), "SYSCLK_P");
    EXPECT_TRUE(Saved() == before);
}

TEST_F(PairConnect, DecliningToReplaceAPinsPairNetLeavesThePin) {
    OpenBoard();
    // The question cancelled stops the connect there: 2, as a cancelled dialog, and no refusal said.
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg cancel");
    EXPECT_EQ(ExpectRefused("addConnection pin {FCLK (Differential Pair)} CLK", {}), "2");
    EXPECT_FALSE(Has("FCLK"));
}

TEST_F(PairConnect, TheSamePairNetAgainIsNoChange) {
    OpenBoard();
    ExpectRefused("addConnection pin {LVDS<3..0> (Differential Pair)} TX<3..0>", {"KXTABLE-348"});
    // CLK carries a termination: a connect that would move it asks whether to keep it, this one asks nothing.
    EXPECT_EQ(ExpectRefused("addConnection pin {SYSCLK (Differential Pair)} CLK", {"KXTABLE-348"}), "0");
    for (const std::string& answered : AnswerLog())
        EXPECT_EQ(answered.find("CKXRetainAssocCompDlg"), std::string::npos) << answered;
}

} // namespace

namespace {

TEST_F(PairConnect, APairWithoutPairConnectionIsPartedLegByLeg) {
    OpenBoard();
    const std::string original = Saved();
    ASSERT_EQ(TypeSignal("TX<3..0>", ""), "1");
    // The pair connection is gone; the legs stay on their nets.
    EXPECT_EQ(Saved().find("dpconn LVDS"), std::string::npos);
    ASSERT_NE(Saved().find("conn U1 TX_P<3> LVDS_P<3>"), std::string::npos);
    Run("kx::show clp U1");
    Messages();
    Run("selectObject pin TX<3..0>");
    EXPECT_EQ(Run("deleteConnection pin TX<3..0>"), "1");
    const std::string parted = Saved();
    EXPECT_EQ(parted.find("conn U1 TX_P<"), std::string::npos);
    EXPECT_EQ(parted.find("conn U1 TX_N<"), std::string::npos);
    Run("undo");
    Run("undo");
    EXPECT_TRUE(Saved() == original);
    Run("redo");
    Run("redo");
    EXPECT_TRUE(Replayed(original) == parted) << JournalText();
}

} // namespace

namespace {

// The board's U1 with its pairs shown as their leg pins, both legs of CLK without a signal.
class PairLegs : public ConnEditFixture {
protected:
    void SetUp() override {
        ConnEditFixture::SetUp();
        m_saved = CKXShareGlobalData::m_pVpxProject;
        CKXShareGlobalData::m_pVpxProject = &m_project;
    }
    void TearDown() override {
        CKXShareGlobalData::m_pVpxProject = m_saved;
        ConnEditFixture::TearDown();
    }
    void OpenLegs() {
        OpenBoard();
        m_original = Saved();
        Run("kx::answer menu * 2025");
        Run("kx::header ccp right");
        ASSERT_NE(PinRow("CLK_P"), 0);
        ASSERT_EQ(TypeSignal("CLK_P", ""), "1");
        ASSERT_EQ(TypeSignal("CLK_N", ""), "1");
        ASSERT_EQ(Conn("U1 CLK_N"), "");
    }
    CKXVpxProject m_project;
    CKXVpxProject* m_saved = nullptr;
    std::string m_original;  // the board before the legs were cleared
};

TEST_F(PairLegs, TheSecondLegFollowsTheFirstWhenTheProjectSaysSo) {
    m_project.AddValue("GRIDWORKSHOP", "auto_connect_dpleg", "on");
    OpenLegs();
    const std::string open = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(TypeSignal("CLK_P", "SYSCLK_P"), "1");
    EXPECT_EQ(Conn("U1 CLK_P"), "SYSCLK_P");
    EXPECT_EQ(Conn("U1 CLK_N"), "SYSCLK_N");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    const std::string edited = Saved();
    Run("undo");
    EXPECT_TRUE(Saved() == open);
    EXPECT_EQ(Conn("U1 CLK_N"), "");
    Run("redo");
    // The journal names the typed leg only; its replay, with the project saying so, brings the other.
    EXPECT_EQ(JournalText().find("CLK_N\"), SYSCLK_N"), std::string::npos) << JournalText();
    EXPECT_TRUE(Replayed(m_original) == edited) << JournalText();
    EXPECT_EQ(Conn("U1 CLK_N"), "SYSCLK_N");
}

TEST_F(PairLegs, OtherwiseOnlyTheTypedLegIsConnected) {
    OpenLegs();
    EXPECT_EQ(TypeSignal("CLK_P", "SYSCLK_P"), "1");
    EXPECT_EQ(Conn("U1 CLK_P"), "SYSCLK_P");
    EXPECT_EQ(Conn("U1 CLK_N"), "");
}

} // namespace

namespace {

// A pair pin moved to another pair net takes its leg pins along: the pair and its legs never
// disagree about where the pair is, in the design, after undo and redo, and in a replay.
class PairMove : public PairConnect {
protected:
    // The board's nets of each pin, one line.
    std::string LegNets(const std::vector<std::string>& pins) {
        std::string out;
        for (const std::string& pin : pins) {
            for (const std::string& c : Conns(pin))
                out += c + " ";
            out += "| ";
        }
        return out;
    }
    // The whole cycle of one move: the edit, one undo step back to the board before it, redo, replay.
    void ExpectOneReplayableStep(const std::string& original) {
        const std::string edited = Saved();
        ASSERT_NE(edited, original);
        EXPECT_EQ(Run("undo"), "1");
        EXPECT_TRUE(Saved() == original) << "one undo takes the pair and its legs back";
        EXPECT_EQ(Run("redo"), "1");
        EXPECT_TRUE(Saved() == edited);
        EXPECT_TRUE(Replayed(original) == edited) << JournalText();
    }
};

TEST_F(PairMove, AScalarPairTypedOntoANewPairNetTakesItsLegsToTheNewLegNets) {
    OpenBoard();
    const std::string original = Saved();
    Run(kReplace);
    Run(kKeepTerminations);
    // Typed as the pair list offers it: the marker is no bus bracket.
    ASSERT_EQ(TypeSignal("CLK", "NEWCLK (Differential Pair)"), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(Has("dpconn NEWCLK -1 -1 U1 CLK -1 -1"));
    EXPECT_EQ(LegNets({"U1 CLK_P", "U1 CLK_N"}), "NEWCLK_P | NEWCLK_N | ");
    // The connector's pins stay on the old pair's legs: only the moved pair left them.
    EXPECT_EQ(LegNets({"J1 P<1>", "J1 P<2>"}), "SYSCLK_P | SYSCLK_N | ");
    ExpectOneReplayableStep(original);
}

TEST_F(PairMove, AVectorPairTakesItsLegBitsToTheBitsThePairNetGaveIt) {
    OpenBoard();
    const std::string original = Saved();
    Run(kReplace);
    Run(kKeepTerminations);
    ASSERT_EQ(Run("addConnection pin {LV2<7..4> (Differential Pair)} TX<3..0>"), "1"); // asked to replace, and replaced
    EXPECT_TRUE(Has("dpconn LV2 7 4 U1 TX 3 0"));
    EXPECT_EQ(LegNets({"U1 TX_P<3>", "U1 TX_P<0>", "U1 TX_N<3>", "U1 TX_N<0>"}),
              "LV2_P<7> | LV2_P<4> | LV2_N<7> | LV2_N<4> | ");
    EXPECT_EQ(Saved().find("U1 TX_P<0> LVDS_P"), std::string::npos);
    ExpectOneReplayableStep(original);
}

TEST_F(PairMove, AOneBitOfAVectorPairNetTakesTheLegsToThatBitOfTheLegNets) {
    OpenBoard();
    const std::string original = Saved();
    Run(kReplace);
    Run(kKeepTerminations);
    ASSERT_EQ(Run("addConnection pin {LVDS<2> (Differential Pair)} CLK"), "1");
    EXPECT_EQ(LegNets({"U1 CLK_P", "U1 CLK_N"}), "LVDS_P<2> | LVDS_N<2> | ");
    ExpectOneReplayableStep(original);
}

TEST_F(PairMove, ATypedPairNameKeepsItsMarkerWhenItsBracketsFollowTheDesignsStyle) {
    EXPECT_EQ(CKXInstanceDetailsGridWnd::NormaliseBusBrackets("LV(3..0) (Differential Pair)"),
              "LV<3..0> (Differential Pair)");
    EXPECT_EQ(CKXInstanceDetailsGridWnd::NormaliseBusBrackets("LV[2] (Differential Pair)"),
              "LV<2> (Differential Pair)");
    EXPECT_EQ(CKXInstanceDetailsGridWnd::NormaliseBusBrackets("CK (Differential Pair)"), "CK (Differential Pair)");
}

TEST_F(PairMove, AMoveTheUserDeclinesLeavesThePairAndItsLegs) {
    OpenBoard();
    const std::string before = LegNets({"U1 CLK_P", "U1 CLK_N"});
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg cancel");
    Run("addConnection pin {NEWCLK (Differential Pair)} CLK");
    EXPECT_EQ(LegNets({"U1 CLK_P", "U1 CLK_N"}), before);
    EXPECT_TRUE(Has("dpconn SYSCLK -1 -1 U1 CLK -1 -1"));
}

} // namespace

namespace {

// The pull-up on a leg net the moved pair's leg leaves goes to the new leg net when the user keeps
// the pull-ups, and stays behind alone otherwise; either way one undo step that replays as answered.
class PairMovePupd : public PairMove {
protected:
    // SYSCLK_P, the positive leg of the pair pin CLK, is given a pull-up.
    std::string BoardWithLegPullUp() {
        OpenBoard();
        // Given through the connector pin that shares the leg net.
        Run("kx::show clp J1");
        Run("expandPins pin on");
        Run("selectObject pin P<1>");
        EXPECT_EQ(Run("addPupd pin -type pullup -dcnet VCC3V3 -value 4.7k"), "1") << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Has(" @:SYSCLK_P")) << Saved();
        Run("kx::show clp U1");
        Run(kReplace);
        m_seen = AnswerLog().size();
        return Saved();
    }
    // Whether the retain question was put since the board was made.
    bool Asked() {
        const std::vector<std::string> log = AnswerLog();
        return std::any_of(log.begin() + static_cast<long>(m_seen), log.end(), [](const std::string& l) {
            return l.find("CKXRetainAssocCompDlg") != std::string::npos;
        });
    }
    std::size_t m_seen = 0;
};

TEST_F(PairMovePupd, KeptPullUpGoesToTheNewLegNet) {
    const std::string original = BoardWithLegPullUp();
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preservePupd 1");
    ASSERT_EQ(Run("addConnection pin {NEWCLK (Differential Pair)} CLK"), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(Asked()) << "the leg net's pull-up would be lost: the user is asked";
    EXPECT_EQ(LegNets({"U1 CLK_P", "U1 CLK_N"}), "NEWCLK_P | NEWCLK_N | ");
    EXPECT_TRUE(Has(" @:NEWCLK_P")) << Saved();
    EXPECT_TRUE(Has(" @:SYSCLK_P")) << "the old leg net keeps its own";
    EXPECT_FALSE(Has(" @:NEWCLK_N")) << "nothing was on the negative leg";
    EXPECT_EQ(JournalText().find("RetainPUPD"), std::string::npos) << JournalText();
    ExpectOneReplayableStep(original);
}

TEST_F(PairMovePupd, DroppedPullUpStaysOnTheOldLegNetOnly) {
    const std::string original = BoardWithLegPullUp();
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preservePupd 0");
    ASSERT_EQ(Run("addConnection pin {NEWCLK (Differential Pair)} CLK"), "1") << ::testing::PrintToString(Messages());
    EXPECT_TRUE(Asked());
    EXPECT_EQ(LegNets({"U1 CLK_P", "U1 CLK_N"}), "NEWCLK_P | NEWCLK_N | ");
    EXPECT_FALSE(Has(" @:NEWCLK_P")) << Saved();
    EXPECT_TRUE(Has(" @:SYSCLK_P"));
    const std::string journal = JournalText();
    const std::size_t answer = journal.find(".ConnectivityPane().RetainPUPD(\"0\")");
    ASSERT_NE(answer, std::string::npos) << journal;
    EXPECT_LT(answer, journal.find("NEWCLK (Differential Pair)")) << journal;
    ExpectOneReplayableStep(original);
}

// A plain name given to pair rows and other pins together: the pair rows take it as a pair's name before
// any pin is connected, and the edit is all or nothing. A name the design has as an ordinary net refuses
// the whole edit (the pairs' legs are not shorted onto it, the other pins take nothing either); the replace
// question cancelled stops it; answered, the pair goes onto the pair net with its legs on the leg nets and
// the other pin onto the net, as one step that replays.
TEST_F(PairConnect, APlainNameOnPairRowsAndOtherPinsConnectsAllOrNothing) {
    OpenBoard();
    const std::string original = Saved();
    for (const char* pins : {"TX PGOOD", "CLK PGOOD"})
        for (const char* word :
             {"addConnection pin MCLK", "addConnection pin SYSCLK_P", "kx::pane AddConnection MCLK"}) {
            Run(std::string("selectObject pin ") + pins);
            EXPECT_EQ(ExpectRefused(word, {"KXTABLE-461"}), "0") << pins << ": " << word;
        }
    EXPECT_EQ(Conn("U1 TX_P<0>"), "LVDS_P<0>");
    EXPECT_EQ(Conn("U1 CLK_N"), "SYSCLK_N");
    // The question before the pin's pair net is replaced, cancelled: the word 2, the method 0, nothing done.
    Run("selectObject pin CLK PGOOD");
    EXPECT_EQ(ExpectRefused("addConnection pin NEWP", {}), "2");
    Run("selectObject pin CLK PGOOD");
    EXPECT_EQ(ExpectRefused("kx::pane AddConnection NEWP", {}), "0");
    Run("selectObject pin CLK PGOOD");
    Run(kReplace);
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("addConnection pin NEWP"), "1");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Conn("U1 CLK_P"), "NEWP_P");
    EXPECT_EQ(Conn("U1 CLK_N"), "NEWP_N");
    EXPECT_EQ(Conn("U1 PGOOD"), "NEWP");
    EXPECT_TRUE(Has("dpconn NEWP -1 -1 U1 CLK -1 -1"));
    const std::string edited = Saved();
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

TEST_F(PairConnect, AWidthMismatchWhoseBitDialogIsCancelledAnswersTwoAndChangesNothing) {
    OpenBoard();
    Run("selectObject pin A<12..0>");
    // DQ is 16 bits wide, A 13: the bit dialog opens and is left unanswered.
    EXPECT_EQ(ExpectRefused("addConnection pin DQ A<12..0>", {}), "2");
}

} // namespace

namespace {

// A vector pair's row shows its lanes (TX<3..0>); the pair's own name keys it as well.
TEST_F(PairConnect, AVectorPairIsKeyedByItsOwnNameToo) {
    OpenBoard();
    Messages();
    EXPECT_EQ(Run("removeDiffPairPin pin TX"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-155"}); // still on LVDS: the pair row was found
    ASSERT_EQ(Run("deleteConnection pin TX"), "1");
    EXPECT_FALSE(Has("dpconn LVDS 3 0 U1 TX"));
    EXPECT_EQ(Run("removeDiffPairPin pin TX"), "1");
    EXPECT_FALSE(Has("dppin U1 TX "));
    // A pin's name keys no other pin: the legs stay.
    EXPECT_EQ(Run("selectObject pin TX"), "0");
    EXPECT_TRUE(Has("pin U1 TX_P 3 0"));
}

} // namespace
