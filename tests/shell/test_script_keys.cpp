// Keys as users write them, and the grid word every line of the connectivity pane names, on the example
// board through the host: a key is its text's list elements however Tcl holds it, and a pane word without
// its grid word does nothing whichever pane holds the keyboard.
#include "KXDemoBoard.h"
#include "grid/KXGridWnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ScriptKeys : public DemoBoard {
protected:
    // U1's pin row of `pin` as `kx::netlist` lists it ("" when unconnected).
    std::string NetOf(const std::string& pin) {
        const std::string netlist = Run("kx::netlist");
        const size_t at = netlist.find("U1 " + pin + " ");
        if (at == std::string::npos) return {};
        const size_t from = at + 4 + pin.size();
        return netlist.substr(from, netlist.find('\n', from) - from);
    }
};

// The key of one pin written each way a script writes a list names the same pin, for every keyed word.
TEST_F(ScriptKeys, AKeyWrittenAsTextNamesThePinsItsElementsName) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    const char* const keys[] = {"{U1 MCLK B14}", "\"U1 MCLK B14\"", "$printed", "[list U1 MCLK B14]",
                                "U1:MCLK:B14"};
    Run("set printed [list U1 MCLK B14]; set shown \"key: $printed\"");
    EXPECT_EQ(Run("trackInSignalList pin {U1 MCLK B14}"), "1") << ::testing::PrintToString(Messages());
    for (const char* key : keys) {
        SCOPED_TRACE(key);
        const std::string k = key;
        Messages();
        EXPECT_EQ(Run("assignModel pin M1 " + k), "1") << ::testing::PrintToString(Messages());
        EXPECT_EQ(Run("removeModel pin " + k), "1") << ::testing::PrintToString(Messages());
        EXPECT_EQ(Run("selectObject pin " + k), "1");
        EXPECT_EQ(Run("copy pin " + k + " Signal"), "1") << ::testing::PrintToString(Messages());
        EXPECT_EQ(Run("addComment pin {a note} " + k), "1") << ::testing::PrintToString(Messages());
        EXPECT_EQ(Run("deleteComment pin " + k), "1") << ::testing::PrintToString(Messages());
        ASSERT_NE(Run("addConnection pin KEYNET " + k), "0") << ::testing::PrintToString(Messages());
        EXPECT_EQ(NetOf("MCLK"), "KEYNET");
        EXPECT_EQ(Run("deleteConnection pin " + k), "1") << ::testing::PrintToString(Messages());
        EXPECT_EQ(NetOf("MCLK"), "");
        Run("undo; undo");
        EXPECT_EQ(NetOf("MCLK"), "MCLK");
    }
}

// The number of a key's elements keeps its meaning however the key is written: four name a pin and its new
// signal, three a pin to disconnect; a pull-up is a name, or a name and a value.
TEST_F(ScriptKeys, TheElementsOfAKeyWrittenAsTextCountAsAListsValues) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    EXPECT_EQ(Run("renameConnection pin {U1 PGOOD C10 BOARD_RDY} \"U1 RST_N C9\""), "1")
        << ::testing::PrintToString(Messages());
    EXPECT_EQ(NetOf("PGOOD"), "BOARD_RDY");
    EXPECT_EQ(NetOf("RST_N"), "");
    Run("undo");
    Run("selectObject pin RST_N");
    Messages();
    EXPECT_EQ(Run("deletePupd pin {RP1 1} {RP2 1 x}"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-242"});
}

// A key the signal grid takes (INSTANCE PIN_NUMBER ...) written as text connects as its list does.
TEST_F(ScriptKeys, ASignalGridTakesAPinKeyWrittenAsText) {
    ASSERT_TRUE(OpenBoard(3, "kx::show slp EN; kx::answer question KXTABLE-140 yes"));
    const std::string before = Run("kx::netlist");
    EXPECT_EQ(Run("addConnection pin {J1 8}"), "1") << ::testing::PrintToString(Messages());
    EXPECT_NE(Run("kx::netlist"), before);
}

// A text that reads as no list is no key: the word shows its usage and changes nothing.
TEST_F(ScriptKeys, ATextThatIsNoListIsNoKey) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    const DesignMark before = MarkDesign();
    const struct {
        const char* line;
        const char* usage;
    } cases[] = {
        {"assignModel pin M1 \"U1 {MCLK B14\"", "KXTABLE-182"},
        {"deleteConnection pin \"U1 {MCLK\"", "KXTABLE-161"},
        {"selectObject pin \"{U1}x MCLK\"", "KXTABLE-159"},
        {"addConnection pin NEW \"U1 {PGOOD C10\"", "KXTABLE-160"},
    };
    for (const auto& c : cases) {
        Messages();
        EXPECT_EQ(Run(c.line), "0") << c.line;
        EXPECT_EQ(Messages(), std::vector<std::string>{c.usage}) << c.line;
    }
    ExpectUnchangedSince(before);
}

// A keyed word one of whose keys names no shown pin (another component's, or no pin at all) is refused
// whole, naming that key: no half of its work is done on the keys that name pins, and nothing stays selected.
TEST_F(ScriptKeys, AKeyOfNoShownPinRefusesTheWordWhole) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp J1"));
    DesignMark before = MarkDesign();
    Messages();
    EXPECT_EQ(Run("addConnection pin GPIO_RDY {J1 P<9>} {U1 PGOOD}"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-247"});
    ExpectUnchangedSince(before, "J1 shown, U1 not");
    ASSERT_EQ(Run(kShowU1), "1");
    before = MarkDesign();
    for (const char* line :
         {"addConnection pin HALF1 {U1 PGOOD C10} {J1 P<9>}", "deleteConnection pin {U1 MCLK B14} {U1 NOPE}",
          "assignModel pin MODEL_X {U1 RST_N} {U9 X}", "removeModel pin {U1 RST_N} {U9 X}",
          "deleteTermination pin {U1 CLK} {U9 X}", "copy pin {U1 MCLK} {U9 X} Signal",
          "selectObject pin {U1 PGOOD} {U9 X}", "addComment pin note {U1 PGOOD} {U9 X}"}) {
        SCOPED_TRACE(line);
        Messages();
        EXPECT_EQ(Run(line), "0");
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-247"});
        EXPECT_FALSE(Ccp()->GetActiveGrid()->HasSelectedDataRow()) << "nothing stays selected";
    }
    ExpectUnchangedSince(before, "U1 shown");
    // Every key naming a shown pin: the word does its work.
    EXPECT_EQ(Run("deleteConnection pin {U1 MCLK B14} {U1 PGOOD C10}"), "1");
    EXPECT_EQ(NetOf("MCLK"), "");
    EXPECT_EQ(NetOf("PGOOD"), "");
}

// The signal grid and the physical grids hold their keyed words to the same rule: a key naming no row
// refuses the word whole, naming that key, and the rows of the other keys are not acted on alone.
TEST_F(ScriptKeys, AKeyOfNoRowRefusesTheWordWholeInSignalAndPhysicalGrids) {
    ASSERT_TRUE(OpenBoard(3, "kx::show slp MCLK"));
    ASSERT_EQ(Run("copy pin B14:U1:-1:-1:MCLK Termination"), "1");
    const DWORD clipboard = GetClipboardSequenceNumber();
    Messages();
    EXPECT_EQ(Run("copy pin 30:U2:-1:-1:MCLK ZZ:U9:-1:-1:MCLK Termination"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-247"});
    EXPECT_EQ(GetClipboardSequenceNumber(), clipboard) << "nothing copied";
    Run("closeDesign -nosave");
    ASSERT_TRUE(OpenBoard(4, "kx::show slp RST_IN"));
    const DesignMark before = MarkDesign();
    for (const char* line : {"copy pin RST_IN:A:1 RST_IN:ZZ:99 Signal",
                             "assignModel pin RES_MODEL RST_IN:A:1 RST_IN:ZZ:99",
                             "removeModel pin RST_IN:A:1 RST_IN:ZZ:99"}) {
        SCOPED_TRACE(line);
        Messages();
        EXPECT_EQ(Run(line), "0");
        const std::vector<std::string> said = Messages();
        ASSERT_EQ(said.size(), 1u);
        EXPECT_TRUE(said[0] == "KXPANE-247" || said[0] == "KXTABLE-184") << said[0];
        EXPECT_FALSE(Ccp()->GetActiveGrid()->HasSelectedDataRow()) << "nothing stays selected";
    }
    ExpectUnchangedSince(before, "the physical net grid");
    EXPECT_EQ(Run("copy pin RST_IN:A:1 RST_IN:B:7 Signal"), "1") << ::testing::PrintToString(Messages());
}

// A line does one thing whichever pane holds the keyboard: a word of the connectivity pane without its grid
// word is refused with its usage and leaves the design as it was, the pane itself holding the keyboard too.
TEST_F(ScriptKeys, APaneWordWithoutItsGridWordIsRefusedWhicheverPaneHasTheKeyboard) {
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    const struct {
        const char* line;
        const char* usage;
    } cases[] = {
        {"selectObject MCLK", "KXTABLE-159"},     {"deleteConnection MCLK", "KXTABLE-161"},
        {"addComment hello PGOOD", "KXPANE-193"}, {"addConnection FOO [list U1 PGOOD C10]", "KXTABLE-160"},
        {"trackInSignalList", "KXTABLE-188"},     {"paste", "KXPANE-215"},
    };
    for (const char* focus : {"kx::focus clp", "kx::focus slp", "kx::focus ccp 1"}) {
        Run(focus);
        const DesignMark before = MarkDesign();
        const std::string comments = Run("kx::window ccp");
        for (const auto& c : cases) {
            Messages();
            EXPECT_EQ(Run(c.line), "0") << focus << ": " << c.line;
            EXPECT_EQ(Messages(), std::vector<std::string>{c.usage}) << focus << ": " << c.line;
        }
        ExpectUnchangedSince(before, focus);
        EXPECT_EQ(Run("kx::window ccp"), comments) << focus;
        EXPECT_EQ(Run("selectObject -help"), "1") << focus;
    }
}

} // namespace

// An empty field of a key is a field: R2:A: names R2's pin A without its number in the physical part grid
// (where R2:A would read A as the number), {NET LOC PIN {}} a net grid's pin by its name, and
// U1:MCLK: a pin grid's pin; a key of empty fields only names no pin.
TEST_F(ScriptKeys, AnEmptyFieldOfAKeyIsKeptInItsPlace) {
    ASSERT_TRUE(OpenBoard(4, "kx::show clp R1 R2"));
    EXPECT_EQ(Run("selectObject pin R2:A:"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Run("kx::grid ccp cell"), "7 3");
    EXPECT_EQ(Run("selectObject pin {R2 A {}}"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Run("kx::grid ccp cell"), "7 3");
    Run("closeDesign -nosave");
    ASSERT_TRUE(OpenBoard(3, kShowU1));
    EXPECT_EQ(Run("selectObject pin U1:MCLK:"), "1") << ::testing::PrintToString(Messages());
    EXPECT_EQ(Run("copy pin {U1 MCLK {}} Signal"), "1") << ::testing::PrintToString(Messages());
    Messages();
    EXPECT_EQ(Run("selectObject pin {{} {}}"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-247"});
    EXPECT_EQ(Run("deleteConnection pin"), "0"); // nothing selected: not every row
}

// A keyed word names a bit of a bus folded into its row: the fold opens, as the journal's selection of the
// pin opens it, and the word acts on the bit; the other bits keep their connections.
TEST_F(ScriptKeys, AKeyedBitOfAFoldedBusIsTheBitTheWordActsOn) {
    ASSERT_TRUE(OpenBoard(3, "kx::show clp J1"));
    Run("addConnection pin MCLK {J1 P<5>}");
    ASSERT_NE(Run("kx::netlist").find("J1 P<5> MCLK"), std::string::npos);
    Messages();
    EXPECT_EQ(Run("deleteConnection pin {J1 P<5>}"), "1") << ::testing::PrintToString(Messages());
    const std::string netlist = Run("kx::netlist");
    EXPECT_EQ(netlist.find("J1 P<5> "), std::string::npos) << netlist;
    EXPECT_NE(netlist.find("J1 P<4> LVDS_P<1>"), std::string::npos) << netlist;
    EXPECT_NE(RowShowing("P<5> | 5 |"), "") << Run("kx::window ccp");
}
