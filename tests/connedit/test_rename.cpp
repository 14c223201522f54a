// Renaming the signals of pin rows: the renameConnection word, the Modify Values
// command with its multiple-value editor, and the journal that replays a rename;
// a net a rename makes takes the old net's properties.
#include "ConnEditFixture.h"

#include "shell/KXTableDoc.h"

namespace {

class Rename : public ConnEditFixture {
protected:
    std::string NetProp(const std::string& net, const std::string& name) {
        return Run("kx::prop demo.board:sch@:" + net + " " + name);
    }
};

TEST_F(Rename, TheWordRenamesEachListedPinInOneStep) {
    OpenBoard();
    const std::string before = Saved();
    const int steps = Steps();
    // Each key's pin takes its own name, whatever the order of the rows.
    EXPECT_EQ(Run("renameConnection pin [list U1 RST_N C9 S_TWO] [list U1 PGOOD C10 S_ONE]"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "S_ONE");
    EXPECT_EQ(Conn("U1 RST_N"), "S_TWO");
    EXPECT_EQ(SignalCell("PGOOD"), "S_ONE");
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    const std::string journal = JournalText();
    EXPECT_NE(journal.find("SelectSignalCol(\"RST_N\",\"C9\")\n\n ' --- Rename Connection ---\n"
                           "call board.ConnectivityPane().RenameConnection(\"S_TWO\")"),
              std::string::npos)
        << journal;
    const std::string edited = Saved();
    Run("undo");
    EXPECT_EQ(Saved(), before);
    Run("redo");
    EXPECT_EQ(Saved(), edited);
}

TEST_F(Rename, ANewNetTakesTheOldNetsPropertiesAndKeepsItsOwn) {
    OpenBoard();
    ASSERT_EQ(NetProp("MCLK", "PHYS_NET_NAME"), "DDR_CLK");
    EXPECT_EQ(Run("renameConnection pin [list U1 MCLK B14 NEWCLK]"), "1");
    EXPECT_EQ(Conn("U1 MCLK"), "NEWCLK");
    EXPECT_EQ(NetProp("NEWCLK", "PHYS_NET_NAME"), "DDR_CLK");
    // Onto a net that exists already nothing is merged: its own properties stay.
    EXPECT_EQ(Run("renameConnection pin [list U1 PGOOD C10 VCC3V3]"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "VCC3V3");
    EXPECT_EQ(NetProp("VCC3V3", "PHYS_NET_NAME"), "VCC3V3");
    // A plain connect of a pin to a new net copies nothing.
    EXPECT_EQ(Run("addConnection pin PLAIN RST_N:C9"), "2");
    EXPECT_NE(NetProp("PLAIN", "PHYS_NET_NAME"), "RESET_N");
}

// A rename that takes every pin off a net leaves no net behind: the net goes with its pull-up (kept,
// the pull-up went to the new net with the pins) and its physical name (the new net took it).
TEST_F(Rename, ANetARenameLeavesWithoutPinsGoesWithItsPullUpAndProperties) {
    OpenBoard("U1 J1");
    const std::string original = Saved();
    Run("expandPins pin on");
    Run("addConnection pin GPIO_RDY [list J1 P<9>] [list U1 PGOOD]");
    ASSERT_EQ(Conn("U1 PGOOD"), "GPIO_RDY");
    Run("kx::show clp U1");
    ASSERT_EQ(Run("selectObject pin [list U1 PGOOD]"), "1");
    ASSERT_EQ(Run("addPupd pin -type pullup -dcnet VCC3V3 -value 4.7k"), "1");
    Run("kx::show clp U1 J1");
    const std::string before = Saved();
    const int steps = Steps();
    Run("kx::answer dialog CKXRetainAssocCompDlg ok preserveTermination 1 preservePupd 1");
    EXPECT_EQ(Run("renameConnection pin [list U1 PGOOD C10 BOARD_RDY] [list J1 P<9> 9 BOARD_RDY]"), "1");
    std::string saved = Saved();
    EXPECT_EQ(saved.find("net GPIO_RDY "), std::string::npos) << saved;
    EXPECT_EQ(Count(saved, " 2 Pullup @:"), 1u) << saved;
    EXPECT_NE(saved.find(" 2 Pullup @:BOARD_RDY\n"), std::string::npos) << saved;
    EXPECT_EQ(Steps(), steps + 1);
    const std::string renamed = saved;
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Saved() == before);
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_TRUE(Saved() == renamed);
    // Every pin of MCLK renamed: one net of the physical name is left, the new one.
    Run("kx::show clp U1 U2");
    ASSERT_EQ(NetProp("MCLK", "PHYS_NET_NAME"), "DDR_CLK");
    EXPECT_EQ(Run("renameConnection pin [list U1 MCLK B14 DDR_CK] [list U2 CLK 30 DDR_CK]"), "1");
    saved = Saved();
    EXPECT_EQ(saved.find("net MCLK "), std::string::npos) << saved;
    EXPECT_EQ(Count(saved, "PHYS_NET_NAME \"DDR_CLK\""), 1u) << saved;
    EXPECT_EQ(NetProp("DDR_CK", "PHYS_NET_NAME"), "DDR_CLK");
    EXPECT_TRUE(Replayed(original) == saved) << JournalText();
}

TEST_F(Rename, ARefusedNameChangesNoPin) {
    OpenBoard();
    const std::string before = Saved();
    const std::string journal = JournalText();
    const int steps = Steps();
    Messages();
    EXPECT_EQ(Run("renameConnection pin [list U1 PGOOD C10 GOOD] [list U1 RST_N C9 {bad name!}]"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-112"});
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(JournalText(), journal);
    // Without names: one row is told there is nothing to rename with.
    Select({"PGOOD:C10"});
    EXPECT_EQ(Run("renameConnection pin"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-182"});
    EXPECT_EQ(Saved(), before);
}

TEST_F(Rename, ModifyValuesAsksTheEditorAndRunsTheWord) {
    OpenBoard();
    CKXInstanceDetailsGridWnd* grid = Grid();
    // Not on a pin's name: the command is disabled there.
    grid->SetCurrentCell(static_cast<ROWCOL>(PinRow("PGOOD")), static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColPinName));
    EXPECT_FALSE(grid->CanRenameConnections());
    Select({"PGOOD:C10", "RST_N:C9"});
    grid->SetCurrentCell(static_cast<ROWCOL>(PinRow("PGOOD")), static_cast<ROWCOL>(CKXInstanceDetailsGridWnd::m_nColSignal));
    EXPECT_TRUE(grid->CanRenameConnections());
    Select({"PGOOD:C10", "RST_N:C9"});
    Run("kx::answer dialog CKXDlgEditValues ok value0 {P G} value1 RN");
    const int steps = Steps();
    Ccp()->OnCmdMsg(35096, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(Conn("U1 PGOOD"), "PG"); // the blank is taken out: the pin stays where it was
    EXPECT_EQ(Conn("U1 RST_N"), "RN");
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_NE(
        Transcript().find(
            "request: selectWindow ccp; renameConnection pin [list U1 PGOOD C10 PG] [list U1 RST_N C9 RN]"),
        std::string::npos)
        << Transcript();
    // Cancelled: nothing is sent.
    const std::string before = Saved();
    Run("kx::answer dialog CKXDlgEditValues cancel");
    Select({"PGOOD:C10", "RST_N:C9"});
    Ccp()->OnCmdMsg(35096, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(Saved(), before);
}

TEST_F(Rename, ARenameReplaysFromTheJournalWithTheMergedProperties) {
    OpenBoard();
    const std::string original = Saved();
    ASSERT_EQ(Run("renameConnection pin [list U1 MCLK B14 NEWCLK] [list U1 PGOOD C10 S_ONE]"), "1");
    const std::string edited = Saved();
    EXPECT_EQ(Replayed(original), edited);
}

// A pin renamed twice, word after word: the second new net takes the properties of the net the first
// rename put it on, as the replay of the two journalled renames does.
TEST_F(Rename, APinRenamedTwiceMergesTheNetItLeavesLast) {
    OpenBoard();
    const std::string original = Saved();
    ASSERT_EQ(NetProp("MCLK", "PHYS_NET_NAME"), "DDR_CLK");
    ASSERT_EQ(Run("renameConnection pin [list U1 PGOOD C10 MCLK]"), "1");
    ASSERT_EQ(Run("renameConnection pin [list U1 PGOOD C10 RN1]"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "RN1");
    EXPECT_EQ(NetProp("RN1", "PHYS_NET_NAME"), "DDR_CLK");
    const std::string edited = Saved();
    EXPECT_EQ(Replayed(original), edited);
}

// The pins a word names are renamed all together or not at all: a key that names no pin the pane shows
// refuses the whole word, saying which; with every pin shown, in grids side by side, each pin takes its
// own name in one step, and nothing is said.
TEST_F(Rename, EveryNamedPinIsShownOrNoneIsRenamed) {
    OpenBoard();
    const std::string before = Saved();
    const std::string journal = JournalText();
    const int steps = Steps();
    const std::string both = "renameConnection pin [list U1 PGOOD C10 PWR_GOOD] [list R2 B 2 PWR_GOOD]";
    EXPECT_EQ(Run(both), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-247"});
    EXPECT_EQ(Conn("U1 PGOOD"), "PG");
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_FALSE(Doc()->IsModified());

    Run("kx::show clp U1 R2");
    Messages();
    EXPECT_EQ(Run(both), "1");
    EXPECT_EQ(Messages(), std::vector<std::string>{});
    EXPECT_EQ(Conn("U1 PGOOD"), "PWR_GOOD");
    EXPECT_EQ(Conn("R2 B"), "PWR_GOOD");
    EXPECT_EQ(Conn("PWR1 PGOOD"), "PG");
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_TRUE(Doc()->IsModified());
    const std::string edited = Saved();
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Saved() == before);
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_TRUE(Saved() == edited);

    // A name one grid refuses takes the other grid's rename back with it.
    Messages();
    EXPECT_EQ(Run("renameConnection pin [list R2 B 2 GOOD2] [list U1 PGOOD C10 {bad name!}]"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-112"});
    EXPECT_EQ(Conn("R2 B"), "PWR_GOOD");
    EXPECT_TRUE(Saved() == edited);
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_TRUE(Replayed(before) == edited) << JournalText();
}

// A rename that names one pin twice (each time to another name, or once to nothing and once to a
// name) is refused whole before anything changes: no net is made or left behind, no step, no journal.
TEST_F(Rename, AWordThatNamesOnePinTwiceRenamesNothing) {
    OpenBoard("U1 J1");
    const std::string before = Saved();
    const int steps = Steps();
    const std::string journal = JournalText();
    for (const char* word : {"renameConnection pin [list U1 MCLK B14 RN9] [list U1 MCLK B14 RN10]",
                             "renameConnection pin [list U1 PGOOD C10] [list U1 PGOOD C10 MCLK]",
                             "renameConnection pin [list J1 P<9> 9 RN9] [list U1 PGOOD C10 RN8] [list J1 P<9> 9 RN10]",
                             "renameConnection pin [list U1 {DQ<15..0>} A1,A2,A3,A4,A5,A6,A7,A8,A9,A10,A11,A12,A13,"
                             "A14,A15,A16 V<15..0>] [list U1 DQ<3> A13 RN10]"}) {
        Messages();
        EXPECT_EQ(Run(word), "0") << word;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-741"}) << word;
        EXPECT_TRUE(Saved() == before) << word;
        EXPECT_EQ(Steps(), steps) << word;
        EXPECT_EQ(JournalText(), journal) << word;
    }
    // Two pins, each named once, still rename together.
    EXPECT_EQ(Run("renameConnection pin [list U1 MCLK B14 RN10] [list U1 PGOOD C10 RN9]"), "1");
    EXPECT_EQ(Conn("U1 MCLK"), "RN10");
    EXPECT_TRUE(Replayed(before) == Saved()) << JournalText();
}

// A name of a bus range as wide as the row renames it; one of another width is refused with the
// widths named, before the bits dialog or anything else.
TEST_F(Rename, ANameOfAnotherWidthIsRefusedWithTheWidths) {
    OpenBoard();
    const std::string before = Saved();
    for (const char* word : {"renameConnection pin [list U1 PGOOD C10 W<3..0>]",
                             "renameConnection pin [list U1 PGOOD C10 W<65535..0>]",
                             "renameConnection pin [list U1 {DQ<15..0>} A1,A2,A3,A4,A5,A6,A7,A8,A9,A10,A11,A12,A13,"
                             "A14,A15,A16 V<3..0>]"}) {
        Messages();
        EXPECT_EQ(Run(word), "0") << word;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-742"}) << word;
        EXPECT_TRUE(Saved() == before) << word;
    }
    EXPECT_NE(Transcript().find("W<3..0> names 4 bits and the row of U1:PGOOD has 1"), std::string::npos)
        << Transcript();
    // A comma list gives the row's bits a name each: fewer or more names than bits rename nothing, and
    // no two bits are shorted onto the list's last name.
    for (const char* word : {"renameConnection pin [list U1 {DQ<15..0>} {} A,B]",
                             "renameConnection pin [list U1 {DQ<5>} {} A,B]",
                             "renameConnection pin [list U1 {A<12..0>} {} {XB<12..0>,YB}]"}) {
        Messages();
        EXPECT_EQ(Run(word), "0") << word;
        EXPECT_EQ(Messages(), std::vector<std::string>{"KXPANE-742"}) << word;
        EXPECT_TRUE(Saved() == before) << word;
    }
    EXPECT_NE(Transcript().find("A,B names 2 bits and the row of U1:DQ<15..0> has 16"), std::string::npos)
        << Transcript();
    EXPECT_EQ(Run("renameConnection pin [list U1 PGOOD C10 W<5>]"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "W<5>");
    std::string names;
    for (int bit = 15; bit >= 0; --bit)
        names += (bit == 15 ? "N" : ",N") + std::to_string(bit);
    EXPECT_EQ(Run("renameConnection pin [list U1 {DQ<15..0>} {} " + names + "]"), "1");
    EXPECT_EQ(Conn("U1 DQ<15>"), "N15");
    EXPECT_EQ(Conn("U1 DQ<0>"), "N0");
    const std::string renamed = Saved();
    EXPECT_TRUE(Replayed(before) == renamed) << JournalText();
}

// A bit of a folded bus and a pin the row filter hides each take their own name: the bus opens (the
// filter goes) so that the name is typed into that row, never into the row that was current before.
TEST_F(Rename, AFoldedBitOrAFilteredPinTakesItsOwnName) {
    OpenBoard();
    const std::string before = Saved();
    EXPECT_EQ(Run("renameConnection pin [list U1 PGOOD C10 XX1] [list U1 {DQ<3>} A13 YY2]"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "XX1");
    EXPECT_EQ(Conn("U1 DQ<3>"), "YY2");
    EXPECT_EQ(Conn("U1 DQ<4>"), "DQ<4>");
    EXPECT_EQ(SignalCell("DQ<3>"), "YY2") << "the renamed bit's row shows";

    Run("kx::pane FilterRows \"Pin Number\" \"*N\"");
    EXPECT_EQ(Run("renameConnection pin [list U1 RST_N C9 ZZ3] [list U1 {DQ<5>} A11 ZZ4]"), "1");
    EXPECT_EQ(Conn("U1 RST_N"), "ZZ3");
    EXPECT_EQ(Conn("U1 DQ<5>"), "ZZ4");
    EXPECT_EQ(Conn("U1 PGOOD"), "XX1");
    EXPECT_TRUE(Replayed(before) == Saved()) << JournalText();
}

} // namespace
