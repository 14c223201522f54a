// Connecting and disconnecting pins by the pane's words: the design after the
// edit, its journal, undo back to the saved bytes and redo, and the refusals
// that must leave the design exactly as it was.
#include "ConnEditFixture.h"

#include "kxinstsigpane/KXTransaction.h"

namespace {

using Connect = ConnEditFixture;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(Connect, ByNameIsOneUndoableJournalledStep) {
    OpenBoard();
    const std::string before = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("addConnection pin NEWSIG PGOOD:C10"), "2"); // a plain name
    EXPECT_EQ(Conn("U1 PGOOD"), "NEWSIG");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps + 1);
    EXPECT_TRUE(Has(JournalText(), "\ncall board.Clp().Select(\"U1\")\ncall board.ConnectivityPane().SelectSignalCol("
                                   "\"PGOOD\",\"C10\")\n\n ' --- Add Connection ---\ncall "
                                   "board.ConnectivityPane().AddConnection(\"NEWSIG\")\n"))
        << JournalText();
    EXPECT_TRUE(Messages().empty());
    const std::string after = Saved();
    EXPECT_NE(after, before);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "PG");
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Run("redo"), "1");
    EXPECT_EQ(Saved(), after);
    // The grid shows the new signal once the commit is announced.
    EXPECT_TRUE(Has(Run("kx::window ccp"), "PGOOD | C10 | Input | NEWSIG"));
}

TEST_F(Connect, BusRangeSpreadsOverTheSelectedPinsMsbFirst) {
    OpenBoard();
    EXPECT_EQ(Run("addConnection pin {XB[12..0]} {A<12..0>}"), "2");
    EXPECT_EQ(Conn("U1 A<12>"), "XB<12>");
    EXPECT_EQ(Conn("U1 A<0>"), "XB<0>");
    // Two pins share one range: the first row takes the msb end.
    EXPECT_EQ(Run("addConnection pin {RB[1..0]} PGOOD:C10 RST_N:C9"), "2");
    EXPECT_EQ(Conn("U1 PGOOD"), "RB<1>");
    EXPECT_EQ(Conn("U1 RST_N"), "RB<0>");
    // Each row's journal block carries the bits that row took.
    EXPECT_TRUE(Has(JournalText(), "SelectSignalCol(\"PGOOD\",\"C10\")\n\n ' --- Add Connection ---\ncall "
                                   "board.ConnectivityPane().AddConnection(\"RB<1>\")"))
        << JournalText();
    EXPECT_TRUE(Has(JournalText(), "AddConnection(\"RB<0>\")"));
    // A bus that exists is widened to the bits asked for.
    EXPECT_EQ(Run("addConnection pin {RB[3]} MCLK:B14"), "2");
    EXPECT_EQ(Conn("U1 MCLK"), "RB<3>");
}

TEST_F(Connect, RefusalsLeaveTheDesignAsItWas) {
    OpenBoard();
    const std::string before = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    Run("addConnection pin {B@D<} PGOOD:C10");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-112"});
    // A step on a bus pin's row of one bit, and a width mismatch: the bits dialog is not answered, so
    // nothing is connected; the command stopped at its dialog (answer 2, no refusal to show).
    EXPECT_EQ(Run("addConnection pin {S[3..0:2]} PGOOD:C10"), "2");
    EXPECT_EQ(Run("addConnection pin {ADDR[3..0]} {A<12..0>}"), "2");
    // A scalar net asked for bits.
    Run("addConnection pin {MCLK[2]} PGOOD:C10");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KXTABLE-141"}));
    // A bus pin cannot take a whole scalar net.
    Run("addConnection pin PG {DQ<15..0>}");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-102"});
    // Keys that match no pin connect nothing (not the rows selected before).
    Run("addConnection pin NEWSIG NOSUCHPIN:X");
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

TEST_F(Connect, AFailingRowKeepsItsConnectionWhileOthersConnect) {
    OpenBoard();
    // DQ<15..0> refuses the one-bit range; PGOOD takes it. The run commits only PGOOD.
    Run("addConnection pin {NEWBUS[4]} PGOOD {DQ<15..0>}");
    EXPECT_EQ(Conn("U1 PGOOD"), "NEWBUS<4>");
    EXPECT_EQ(Conn("U1 DQ<15>"), "DQ<15>");
}

TEST_F(Connect, ReadOnlyWindowEditsNothing) {
    OpenBoard("U1", 2);
    const std::string before = Saved();
    Run("addConnection pin NEWSIG PGOOD:C10");
    Run("deleteConnection pin PGOOD:C10");
    EXPECT_EQ(Saved(), before);
    EXPECT_FALSE(Ccp()->AutoAddConnection("NEWSIG"));
    EXPECT_EQ(Saved(), before);
}

TEST_F(Connect, NoConnectTakesEveryBitAndDropsTerminations) {
    OpenBoard();
    EXPECT_EQ(Run("addConnection pin NC {DQ<15..0>}"), "2");
    EXPECT_EQ(Conn("U1 DQ<15>"), "NC");
    EXPECT_EQ(Conns("U1 DQ").size(), 16u);
    // MCLK carries a series termination; the no-connect signal drops it.
    ASSERT_TRUE(Has(Saved(), "dt "));
    const std::string before = Saved();
    Run("addConnection pin NC MCLK:B14");
    EXPECT_EQ(Conn("U1 MCLK"), "NC");
    EXPECT_LT(Saved().size(), before.size());
    Run("undo");
    EXPECT_EQ(Saved(), before);
}

TEST_F(Connect, DeleteConnectionIsOneStepAndRestoresOnUndo) {
    OpenBoard();
    const std::string before = Saved();
    EXPECT_EQ(Run("deleteConnection pin PGOOD:C10 RST_N:C9"), "1");
    EXPECT_EQ(Conn("U1 PGOOD"), "");
    EXPECT_EQ(Conn("U1 RST_N"), "");
    // Both pins selected together and one Delete: the replay makes the one step made here.
    EXPECT_TRUE(Has(JournalText(), "CtrSelect(Array(\"U1:PGOOD:C10\",\"U1:RST_N:C9\"),\"\")\n\n ' --- Delete ---\ncall "
                                   "board.ConnectivityPane().Delete()\n"))
        << JournalText();
    const std::string after = Saved();
    Run("undo");
    EXPECT_EQ(Saved(), before);
    Run("redo");
    EXPECT_EQ(Saved(), after);
    // Nothing left to delete: no step, no journal block.
    const int steps = Ccp()->GetUndoStepCount();
    const std::string journal = JournalText();
    EXPECT_EQ(Run("deleteConnection pin PGOOD:C10"), "0");
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(JournalText(), journal);
    // The open pin selected rather than named: the same answer and reason, and the progress line, gone
    // through to its end, claims no deletion.
    Messages();
    ASSERT_EQ(Run("selectObject pin PGOOD:C10"), "1");
    const std::size_t printed = Transcript().size();
    EXPECT_EQ(Run("deleteConnection pin"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-346"});
    const std::string progress = Transcript().substr(printed);
    EXPECT_NE(progress.find("progress: Deleting Connections: no connection to delete 1 of 1"), std::string::npos)
        << progress;
    EXPECT_EQ(progress.find("of 1 deleted"), std::string::npos) << progress;
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
}

TEST_F(Connect, DeletingOneBitRowPartsOnlyThatBit) {
    OpenBoard();
    Run("expandPins pin on");
    Run("deleteConnection pin {DQ<3>}");
    EXPECT_EQ(Conn("U1 DQ<3>"), "");
    EXPECT_EQ(Conn("U1 DQ<4>"), "DQ<4>");
}

TEST_F(Connect, ScriptWordsAnswerHelpAndRefuseBadKeys) {
    OpenBoard();
    Run("addConnection pin -help");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-160"});
    Run("addConnection pin [list A B] PGOOD:C10"); // a signal of two values
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-160"});
    Run("deleteConnection pin -h");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-161"});
}

} // namespace
