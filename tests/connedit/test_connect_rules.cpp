// Naming rules: the signal each rule gives a pin, nets made and widened to the
// pins' bits, the names that cannot be had, and one step per run.
#include "ConnEditFixture.h"

#include "pingrid/KXInstanceDetailsGridWnd.h"

#include "kxcommon/KXPartReader.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using Rules = ConnEditFixture;
using G = CKXInstanceDetailsGridWnd;

TEST(RuleNames, SuffixKeepsTheActiveLowMarkAtTheEnd) {
    EXPECT_EQ(std::string(G::NameByRule("RESET*", "", "_X", KX_RULE_SUFFIX_PINNAME)), "RESET_X*");
    EXPECT_EQ(std::string(G::NameByRule("CLK_n", "", "_X", KX_RULE_SUFFIX_PINNAME)), "CLK_X_n");
    EXPECT_EQ(std::string(G::NameByRule("D", "", "_X", KX_RULE_SUFFIX_PINNAME)), "D_X");
    EXPECT_EQ(std::string(G::NameByRule("_N", "", "_X", KX_RULE_SUFFIX_PINNAME)), "_X_N");
    EXPECT_EQ(std::string(G::NameByRule("A", "B7", "P_", KX_RULE_PREFIX_PINNUMBER)), "P_B7");
    EXPECT_EQ(std::string(G::NameByRule("A", "B7", "_S", KX_RULE_SUFFIX_PINNUMBER)), "B7_S");
}

TEST_F(Rules, PrefixPinNameMakesABusForABusPin) {
    OpenBoard();
    const std::string before = Saved();
    EXPECT_EQ(Run("addConnection pin =PREFIXPINNAME(U1_) {A<12..0>} RST_N"), "1");
    EXPECT_EQ(Conn("U1 A<12>"), "U1_A<12>");
    EXPECT_EQ(Conn("U1 A<0>"), "U1_A<0>");
    EXPECT_EQ(Conn("U1 RST_N"), "U1_RST_N");
    // Rules that answer the same again replay as the rule.
    EXPECT_NE(JournalText().find("AttachSignal(\"PREFIXPINNAME(U1_)\")"), std::string::npos);
    Run("undo");
    EXPECT_EQ(Saved(), before);
}

TEST_F(Rules, IncrementCountsFromTheStartNumber) {
    OpenBoard();
    Run("addConnection pin =INCREMENTSIGNAME(S,4) MCLK:B14 PGOOD:C10 RST_N:C9");
    EXPECT_EQ(Conn("U1 MCLK"), "S4");
    EXPECT_EQ(Conn("U1 PGOOD"), "S5");
    EXPECT_EQ(Conn("U1 RST_N"), "S6");
    // Each row journals the name it took, so a replay gives the same names.
    EXPECT_NE(JournalText().find("AddConnection(\"S5\")"), std::string::npos);
    Run("addConnection pin =INCREMENTSIGNAME(T) MCLK:B14");
    EXPECT_EQ(Conn("U1 MCLK"), "T0");
}

TEST_F(Rules, ConnectBitsTakesOneNamePerPinAndRepeatsTheLast) {
    OpenBoard();
    EXPECT_EQ(Run("addConnection pin {A<0>,A<1>} MCLK:B14 PGOOD:C10 RST_N:C9"), "2");
    EXPECT_EQ(Conn("U1 MCLK"), "A<0>");
    EXPECT_EQ(Conn("U1 PGOOD"), "A<1>");
    EXPECT_EQ(Conn("U1 RST_N"), "A<1>");
}

// A list entry of several bits given to a one-bit row connects one bit of it (a bit of a vector pin the
// bit of its own number, a scalar pin the entry's first named bit): the journal names that bit, so the
// replay gives the same board and the same steps, typed or by the word.
TEST_F(Rules, ABusEntryOfAListOnOneBitReplaysAsTheBitItTook) {
    OpenBoard();
    const std::string original = Saved();
    EXPECT_EQ(TypeSignal("A<12..0>", "XB<12..0>,YB"), "1");
    EXPECT_EQ(Conn("U1 A<12>"), "XB<12>");
    EXPECT_EQ(Conn("U1 A<11>"), "YB");
    EXPECT_NE(Run("addConnection pin {XD<3..0>,MCLK} MCLK:B14"), "0");
    EXPECT_EQ(Conn("U1 MCLK"), "XD<0>");
    const std::string journal = JournalText();
    EXPECT_NE(journal.find("Connection(\"XB<12>\")"), std::string::npos) << journal;
    EXPECT_NE(journal.find("Connection(\"XD<0>\")"), std::string::npos) << journal;
    const std::string history = Run("kx::history");
    const std::string saved = Saved();
    EXPECT_EQ(Replayed(original), saved);
    EXPECT_EQ(Run("kx::history"), history);
}

// Bit rows of a bus row given a list take its entries in turn; an entry of several bits that leaves a
// row's bit out refuses that row and makes or widens no net for it, so the nets hold the bits the rows
// took, as the journal's replay makes them.
TEST_F(Rules, ABusRowsListEntriesMakeTheNetsItsReplayMakes) {
    OpenBoard();
    const std::string original = Saved();
    EXPECT_EQ(TypeSignal("A<12..0>", "XD<20..16>,XB1<14..10>"), "1");
    EXPECT_EQ(Conn("U1 A<12>"), "ADDR<12>"); // refused: it keeps its signal
    EXPECT_EQ(Conn("U1 A<11>"), "XB1<11>");
    EXPECT_EQ(Conn("U1 A<10>"), "XB1<10>");
    EXPECT_EQ(Conn("U1 A<9>"), "ADDR<9>");
    const std::string saved = Saved();
    EXPECT_EQ(saved.find("net XD "), std::string::npos) << saved;
    EXPECT_EQ(saved.find("net XB1 14"), std::string::npos) << saved;
    const std::string history = Run("kx::history");
    EXPECT_EQ(Replayed(original), saved);
    EXPECT_EQ(Run("kx::history"), history);
}

TEST_F(Rules, AutoNameGivesEachPinItsOwnSignalAndShortPinsOne) {
    OpenBoard();
    Run("addConnection pin =AUTONAME MCLK:B14 PGOOD:C10");
    EXPECT_FALSE(Conn("U1 MCLK").empty());
    EXPECT_NE(Conn("U1 MCLK"), Conn("U1 PGOOD"));
    EXPECT_EQ(Conn("U1 MCLK").rfind("signal_", 0), 0u);
    Run("addConnection pin =SHORTPINS MCLK:B14 PGOOD:C10");
    EXPECT_EQ(Conn("U1 MCLK"), Conn("U1 PGOOD"));
    Run("addConnection pin =SHORTPINS(SHORTED) MCLK:B14 PGOOD:C10");
    EXPECT_EQ(Conn("U1 MCLK"), "SHORTED");
    EXPECT_EQ(Conn("U1 PGOOD"), "SHORTED");
    // The automation method takes the rule with its name as the word does.
    Run("selectObject pin MCLK:B14 PGOOD:C10");
    EXPECT_EQ(Run("kx::pane AttachSignal =SHORTPINS(JOINED)"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Conn("U1 MCLK"), "JOINED");
    EXPECT_EQ(Conn("U1 PGOOD"), "JOINED");
}

// Auto Name on a vector pair row names each leg; the new pair net it names for the pair row cannot
// take a pair of four lanes (KXTABLE-153) and goes again with its leg nets: nothing uses them, and no
// journal line names them, so a replay gives the same design.
TEST_F(Rules, AutoNameOnAVectorPairRowKeepsNoPairNetThePairCannotTake) {
    OpenBoard();
    const std::string original = Saved();
    EXPECT_EQ(Run("addConnection pin =AUTONAME TX"), "1");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-153"});
    EXPECT_EQ(Conn("U1 TX_P<3>").rfind("signal_", 0), 0u);
    EXPECT_NE(Conn("U1 TX_P<3>"), Conn("U1 TX_N<3>"));
    const std::string saved = Saved();
    EXPECT_EQ(saved.find("dpnet signal_"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("signal_9"), std::string::npos) << saved;
    EXPECT_EQ(Replayed(original), saved);
}

// A plain pair row takes a naming rule's pair net, whose leg nets its legs take: no leg is first put
// on a net of its own that nothing uses afterwards, by Auto Name (one new name per pin) or Short Pins
// (one new name for all); and a replay of the journal gives the same board.
class PairRules : public Rules {
protected:
    void ExpectOnlyThePairsNets(const std::string& rule) {
        OpenBoard();
        const std::string original = Saved();
        EXPECT_EQ(Run("addConnection pin " + rule + " CLK"), "1");
        const std::string leg = Conn("U1 CLK_P");
        ASSERT_EQ(leg.rfind("signal_", 0), 0u) << leg;
        ASSERT_EQ(leg.substr(leg.size() - 2), "_P");
        const std::string name = leg.substr(0, leg.size() - 2);
        EXPECT_EQ(Conn("U1 CLK_N"), name + "_N");
        const std::string saved = Saved();
        EXPECT_NE(saved.find("dpnet " + name + " " + name + "_P " + name + "_N"), std::string::npos) << saved;
        // The only new nets are the pair's legs.
        std::istringstream lines(saved);
        for (std::string line; std::getline(lines, line);)
            if (line.rfind("net signal_", 0) == 0) {
                EXPECT_TRUE(line.rfind("net " + name + "_P ", 0) == 0 || line.rfind("net " + name + "_N ", 0) == 0)
                    << line;
            }
        EXPECT_EQ(JournalText().find("SelectSignalCol(\"CLK_P\""), std::string::npos) << JournalText();
        EXPECT_EQ(Replayed(original), saved);
    }
};

TEST_F(PairRules, AutoNameOnAPlainPairRowMakesOnlyThePairsNets) {
    ExpectOnlyThePairsNets("=AUTONAME");
}

TEST_F(PairRules, ShortPinsOnAPlainPairRowMakesOnlyThePairsNets) {
    ExpectOnlyThePairsNets("=SHORTPINS");
}

// An edit over several rows is one undo step, journalled a row at a time: the replay of its journal
// makes the same one step (not one per row), so the history and an undo after it stay the same.
class OneStepReplays : public Rules {
protected:
    void ExpectOneStepReplayed(const std::string& edit) {
        OpenBoard();
        const std::string original = Saved();
        const int steps = Steps();
        EXPECT_NE(Run(edit), "0") << edit;
        EXPECT_EQ(Steps(), steps + 1) << edit;
        const std::string history = Run("kx::history");
        const std::string saved = Saved();
        EXPECT_EQ(Replayed(original), saved);
        EXPECT_EQ(Run("kx::history"), history);
        // An undo in the replayed window takes back the whole edit.
        EXPECT_EQ(Run("undo"), "1");
        EXPECT_EQ(Saved(), original);
    }
};

TEST_F(OneStepReplays, AutoNameOverTwoPins) {
    ExpectOneStepReplayed("addConnection pin =AUTONAME MCLK:B14 PGOOD:C10");
}

TEST_F(OneStepReplays, ShortPinsOverTwoPins) {
    ExpectOneStepReplayed("addConnection pin =SHORTPINS MCLK:B14 PGOOD:C10");
}

TEST_F(OneStepReplays, RenameOfTwoPins) {
    ExpectOneStepReplayed("renameConnection pin [list U1 RST_N C9 NEWA] [list U1 PGOOD C10 NEWB]");
}

// A window of mode 0 takes rules typed into a Signal cell, not by command: the journal names what each
// pin took, which that window's replay takes.
TEST_F(Rules, ARuleTypedInModeZeroReplaysAsTheNamesThePinsTook) {
    OpenBoard("U1", 0);
    const std::string original = Saved();
    EXPECT_NE(TypeSignal("PGOOD", "=PREFIXPINNAME(X_)"), "0");
    EXPECT_EQ(Conn("U1 PGOOD"), "X_PGOOD");
    EXPECT_EQ(JournalText().find("AttachSignal"), std::string::npos) << JournalText();
    EXPECT_NE(JournalText().find("TypeSignal(\"X_PGOOD\")"), std::string::npos) << JournalText();
    const std::string saved = Saved();
    EXPECT_EQ(Replayed(original), saved);
}

TEST_F(Rules, ScalarPinOnABusAndBadNamesAreReportedOnceAndSkipped) {
    OpenBoard();
    Run("addConnection pin =PREFIXPINNAME() MCLK:B14 RST_N:C9"); // RST_N takes a name nobody has
    Messages();
    // Names go to the rows in grid order. "DQ" is a bus: the scalar PGOOD cannot take it; RST_N
    // still gets its own name.
    Run("addConnection pin {DQ,PNEW} RST_N:C9 PGOOD:C10");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-144"});
    EXPECT_EQ(Conn("U1 PGOOD"), "PG");
    EXPECT_EQ(Conn("U1 RST_N"), "PNEW");
    Run("addConnection pin {b@d,OK2} RST_N:C9 PGOOD:C10");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-138"});
    EXPECT_EQ(Conn("U1 RST_N"), "OK2");
}

TEST_F(Rules, ARuleThatConnectsNothingLeavesNoStep) {
    OpenBoard();
    Run("addConnection pin =PINNAME PGOOD:C10");
    const int steps = Ccp()->GetUndoStepCount();
    const std::string before = Saved();
    Run("addConnection pin =PINNAME PGOOD:C10"); // already on its own name
    Run("addConnection pin =PREFIXPINNAME p_ PGOOD:C10"); // no parentheses: nothing is done
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

} // namespace

namespace {

// The board's FPGA as a standard FPGA: its pin file names the pins.
class StandardFpgaRules : public ConnEditFixture {
protected:
    void SetUp() override {
        ConnEditFixture::SetUp();
        m_parts = m_dir / "parts";
        std::filesystem::create_directories(m_parts / "demo");
        std::ofstream(m_parts / "demo" / "FPGA.csv") << "Pin Number,Pin Name\nB14,IO_CLK\nC10,BANK<5>\nC9,9 bad\n";
        CKXPartReader::SetPartDirectory(m_parts.string().c_str());
    }
    void TearDown() override {
        CKXPartReader::SetPartDirectory("");
        ConnEditFixture::TearDown();
    }
    std::filesystem::path m_parts;
};

TEST_F(StandardFpgaRules, ThePinNameOfThePinFileGivesTheSignalItsBits) {
    OpenBoard();
    ASSERT_TRUE(Grid()->m_bStandardFPGA);
    const std::string original = Saved();
    Messages();
    // (C9's pin is named by its number: a key of a text with a blank is a list, {9 bad:C9} no pin of the grid.)
    Run("addConnection pin =PINNAME IO_CLK:B14 BANK<5>:C10 :C9");
    EXPECT_EQ(Conn("U1 MCLK"), "IO_CLK");
    // The bit of the pin file's name: a net BANK with that bit, not a net named "BANK<5>".
    EXPECT_EQ(Conn("U1 PGOOD"), "BANK<5>");
    EXPECT_NE(Saved().find("net BANK 5 5"), std::string::npos);
    // A pin file name that is no pin name: that pin is left as it was.
    EXPECT_EQ(Conn("U1 RST_N"), "RESET_N");
    EXPECT_TRUE(Messages().empty());
    Run("undo");
    EXPECT_TRUE(Saved() == original);
}

} // namespace
