// The pane's words that name pin rows by key (PIN, PIN:NUMBER) find the rows through the pin
// grid's row index: the rows written after the first lookup are found too, a text a row no
// longer shows finds nothing, and a key matching no row selects nothing.
#include "ConnEditFixture.h"

#include "kxinstsigpane/KXTransaction.h"

namespace {

using KeyedRows = ConnEditFixture;

TEST_F(KeyedRows, RowsRewrittenAfterTheFirstLookupAreFoundByTheirNewTexts) {
    OpenBoard();
    EXPECT_EQ(Run("addConnection pin KEYA PGOOD:C10"), "2"); // the first lookup
    EXPECT_EQ(Conn("U1 PGOOD"), "KEYA");
    // Another component and back: every row is written again.
    Run("kx::show clp U2");
    Run("kx::show clp U1");
    EXPECT_EQ(Run("addConnection pin KEYB PGOOD:C10"), "2");
    EXPECT_EQ(Conn("U1 PGOOD"), "KEYB");
    // The pin name alone, and a bus bit's row.
    EXPECT_EQ(Run("addConnection pin KEYC RST_N"), "2");
    EXPECT_EQ(Conn("U1 RST_N"), "KEYC");
    EXPECT_EQ(Run("addConnection pin {KEYBUS[12..0]} {A<12..0>}"), "2");
    EXPECT_EQ(Conn("U1 A<0>"), "KEYBUS<0>");
}

TEST_F(KeyedRows, AKeyOfAnotherComponentsPinMatchesNothingAndChangesNothing) {
    OpenBoard();
    EXPECT_EQ(Run("addConnection pin KEYA PGOOD:C10"), "2");
    Run("kx::show clp U2"); // PGOOD is U1's: the rows that showed it show U2's pins now
    Messages();
    const std::string before = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    EXPECT_EQ(Run("addConnection pin KEYD PGOOD:C10"), "0");
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
}

TEST_F(KeyedRows, APinNumberWithTheWrongPinNameMatchesNothing) {
    OpenBoard();
    const std::string before = Saved();
    EXPECT_EQ(Run("addConnection pin KEYE RST_N:C10"), "0"); // C10 is PGOOD's number
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Conn("U1 PGOOD"), "PG");
}

// A selection by a key that names no row leaves no pin selected: the delete that follows parts no
// pin (it took the pin selected before) and leaves no step.
TEST_F(KeyedRows, ASelectionByAKeyOfNoRowLeavesNoPinForTheNextWord) {
    OpenBoard();
    ASSERT_EQ(Run("selectObject pin MCLK"), "1");
    Run("selectObject pin NOSUCHPIN");
    const std::string before = Saved();
    const int steps = Steps();
    EXPECT_EQ(Run("deleteConnection pin"), "0");
    EXPECT_EQ(Conn("U1 MCLK"), "MCLK");
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Steps(), steps);
    // A key that names a row still selects it alone.
    ASSERT_EQ(Run("selectObject pin MCLK"), "1");
    EXPECT_EQ(Run("deleteConnection pin"), "1");
    EXPECT_EQ(Conn("U1 MCLK"), "");
    EXPECT_EQ(Conn("U1 PGOOD"), "PG");
}

} // namespace
