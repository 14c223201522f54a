// A pair row's SIGNAL cell while its legs are not on one pair net: one entry per leg, in row
// order, so that the text says which leg is open, and the same text typed into a pair row puts the
// legs where the text says (an empty entry leaves its leg open), as one undo step that replays.
#include "ConnEditFixture.h"

#include <algorithm>


namespace {

class PairLegTexts : public ConnEditFixture {
protected:
    void OpenExpanded() {
        OpenBoard();
        ASSERT_EQ(Run("expandPins pin on"), "1");
    }
    // The legs of the clock pair and of the four-lane pair, as the netlist gives them.
    std::vector<std::string> Legs() {
        std::vector<std::string> out;
        for (const char* pin : {"U1 CLK_P", "U1 CLK_N"})
            out.push_back(std::string(pin) + "=" + Conn(pin));
        for (const std::string& c : Conns("U1 TX_P"))
            out.push_back("TX_P=" + c);
        for (const std::string& c : Conns("U1 TX_N"))
            out.push_back("TX_N=" + c);
        return out;
    }
    // The legs typed into one by one (empty: cleared), each its own step.
    int TypeLegs(const std::vector<std::pair<std::string, std::string>>& legs) {
        for (const auto& [leg, text] : legs)
            if (TypeSignal(leg, text) != "1") return 0;
        return static_cast<int>(legs.size());
    }
};

TEST_F(PairLegTexts, EachLegKeepsItsPlaceInThePairRowsText) {
    OpenExpanded();
    ASSERT_EQ(TypeSignal("CLK_N", ""), "1");
    EXPECT_EQ(SignalCell("CLK"), "SYSCLK_P,") << "the open negative leg keeps its place";
    ASSERT_EQ(TypeSignal("CLK_P", ""), "1");
    EXPECT_EQ(SignalCell("CLK"), "") << "no leg on a net: nothing, not a lone comma";
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_EQ(Run("undo"), "1");
    ASSERT_EQ(TypeSignal("CLK_P", ""), "1");
    EXPECT_EQ(SignalCell("CLK"), ",SYSCLK_N");
    // Bus-bit legs: the lane's row and the vector pair's row, whose last lane's negative leg is open.
    ASSERT_EQ(TypeSignal("TX_N<0>", ""), "1");
    EXPECT_EQ(SignalCell("TX<0>"), "LVDS_P<0>,");
    EXPECT_EQ(SignalCell("TX<3..0>"),
              "LVDS_P<3>,LVDS_N<3>,LVDS_P<2>,LVDS_N<2>,LVDS_P<1>,LVDS_N<1>,LVDS_P<0>,");
    EXPECT_EQ(SignalCell("TX<1>"), "LVDS<1>") << "a lane on its pair net keeps the pair's name";
}

// For each state of the legs: the pair row's text, typed into the pair row of the pair as loaded,
// gives the legs of that state.
TEST_F(PairLegTexts, TheShownTextTypedIntoThePairRowGivesTheSameLegs) {
    OpenExpanded();
    const std::vector<std::string> loaded = Legs();
    struct Case {
        const char* pairRow;
        std::vector<std::pair<std::string, std::string>> legs;
        const char* shown;
    };
    const Case cases[] = {
        {"CLK", {{"CLK_N", ""}}, "SYSCLK_P,"},
        {"CLK", {{"CLK_P", ""}}, ",SYSCLK_N"},
        {"CLK", {{"CLK_P", "MCLK"}}, "MCLK,SYSCLK_N"},
        {"TX<3>", {{"TX_P<3>", "LVDS_P<2>"}}, "LVDS_P<2>,LVDS_N<3>"},
        {"TX<3>", {{"TX_N<3>", ""}}, "LVDS_P<3>,"},
        {"TX<3..0>",
         {{"TX_P<3>", "LVDS_P<2>"}, {"TX_N<0>", ""}},
         "LVDS_P<2>,LVDS_N<3>,LVDS_P<2>,LVDS_N<2>,LVDS_P<1>,LVDS_N<1>,LVDS_P<0>,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        const int steps = TypeLegs(c.legs);
        ASSERT_EQ(steps, static_cast<int>(c.legs.size()));
        const std::vector<std::string> wanted = Legs();
        const std::string shown = SignalCell(c.pairRow);
        EXPECT_EQ(shown, c.shown);
        for (int i = 0; i < steps; ++i)
            ASSERT_EQ(Run("undo"), "1");
        ASSERT_EQ(Legs(), loaded);
        const int before = Steps();
        EXPECT_EQ(TypeSignal(c.pairRow, shown), "1") << ::testing::PrintToString(Messages());
        EXPECT_EQ(Legs(), wanted);
        EXPECT_EQ(SignalCell(c.pairRow), shown);
        EXPECT_EQ(Steps(), before + 1) << "one undo step";
        // Typed again as it stands: nothing changes, and the typing answers so.
        EXPECT_EQ(TypeSignal(c.pairRow, shown), "0");
        EXPECT_EQ(Legs(), wanted);
        EXPECT_EQ(Steps(), before + 1);
        ASSERT_EQ(Run("undo"), "1");
        EXPECT_EQ(Legs(), loaded);
    }
}

TEST_F(PairLegTexts, ALegListTypedIntoAPairRowReplaysFromTheJournal) {
    OpenExpanded();
    const std::string original = Saved();
    Echoes();
    ASSERT_EQ(TypeSignal("CLK", "MCLK,"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Conn("U1 CLK_P"), "MCLK");
    EXPECT_EQ(Conn("U1 CLK_N"), "") << "the empty entry leaves its leg open";
    const std::vector<std::string> echoes = Echoes();
    EXPECT_NE(std::find(echoes.begin(), echoes.end(), "addConnection pin =CONNECTBITS(MCLK,)"), echoes.end())
        << ::testing::PrintToString(echoes);
    EXPECT_EQ(SignalCell("CLK"), "MCLK,");
    const std::string edited = Saved();
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

} // namespace

namespace {

// The pair's own name typed into a pair row whose legs were moved elsewhere brings them back onto the
// pair's leg nets; typed once they are there, it changes nothing and says so.
TEST_F(PairLegTexts, ThePairNameBringsMovedLegsBackAndThenChangesNothing) {
    OpenBoard();
    for (const char* typed : {"SYSCLK", "SYSCLK (Differential Pair)"}) {
        Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1");
        ASSERT_EQ(TypeSignal("CLK", "MCLK,SYSCLK_N"), "1");
        ASSERT_EQ(Conn("U1 CLK_P"), "MCLK");
        Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1");
        const int steps = Steps();
        EXPECT_EQ(TypeSignal("CLK", typed), "1") << typed;
        EXPECT_EQ(Conn("U1 CLK_P"), "SYSCLK_P") << typed;
        EXPECT_EQ(Conn("U1 CLK_N"), "SYSCLK_N") << typed;
        EXPECT_EQ(Steps(), steps + 1) << typed;
    }
    Messages();
    EXPECT_EQ(TypeSignal("CLK", "SYSCLK (Differential Pair)"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-348"});
}

} // namespace

namespace {

// A scalar pair pin on one lane of the four-lane pair shows that lane of the pair, not its legs.
TEST_F(PairLegTexts, AScalarPairOnOneLaneShowsThatLane) {
    OpenBoard();
    Run("kx::answer dialog CKXDontAskAgainYesNoDlg ok");
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1");
    ASSERT_NE(Run("addConnection pin {LVDS<2> (Differential Pair)} CLK"), "0");
    ASSERT_EQ(Conn("U1 CLK_P"), "LVDS_P<2>");
    EXPECT_EQ(SignalCell("CLK"), "LVDS<2>");
}

} // namespace

namespace {

// A lane taken off the pair net and joined to its lane again: the folded vector pair's row shows the
// range its lanes make of the pair net (as before the delete), after the fill again too, and a copy of
// that cell carries that name, so a paste of it onto a one-lane pair leaves that pair as it was.
TEST_F(PairLegTexts, ALaneJoinedAgainFoldsToThePairNetsRange) {
    OpenBoard();
    const std::string original = Saved();
    const std::string col = " " + std::to_string(CKXInstanceDetailsGridWnd::m_nColSignal);
    ASSERT_EQ(SignalCell("TX<3..0>"), "LVDS<3..0>");
    ASSERT_EQ(Run("expandPins pin on"), "1");
    Run("kx::select ccp " + std::to_string(PinRow("TX<0>")) + col);
    ASSERT_EQ(Run("kx::key ccp Delete"), "1");
    ASSERT_EQ(Conn("U1 TX_P<0>"), "");
    ASSERT_EQ(TypeSignal("TX<0>", "LVDS<0> (Differential Pair)"), "1");
    EXPECT_EQ(Conn("U1 TX_P<0>"), "LVDS_P<0>");
    EXPECT_EQ(SignalCell("TX<3..0>"), "LVDS<3..0>");
    Run("kx::show clp J1");
    Run("kx::show clp U1");
    EXPECT_EQ(SignalCell("TX<3..0>"), "LVDS<3..0>") << "filled again from the design";
    Run("kx::select ccp " + std::to_string(PinRow("TX<3..0>")) + col);
    Run("kx::key ccp Ctrl+C");
    Run("kx::select ccp " + std::to_string(PinRow("CLK")) + col);
    Run("kx::key ccp Ctrl+V");
    EXPECT_EQ(Conn("U1 CLK_P"), "SYSCLK_P");
    EXPECT_TRUE(RowShows("CLK", "Shunt")) << Row("CLK");
    const std::string edited = Saved();
    EXPECT_TRUE(Replayed(original) == edited) << JournalText();
}

} // namespace
