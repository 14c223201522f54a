// The automation road of a pull-up or pull-down onto a whole bus row: a bus pin's row stands for
// several net bits, and a pull-up/pull-down goes onto one. InitPUPD and AddPUPD on such a row refuse
// with a message and change nothing, even when an earlier InitPUPD left a pull-up prepared.
#include "../connedit/ConnEditFixture.h"

#include "grid/KXGridEdit.h"
#include "kxinstsigpane/KXTransaction.h"

#include <algorithm>

namespace {

using G = CKXInstanceDetailsGridWnd;

class PupdOnBusRow : public ConnEditFixture {
protected:
    void SelectPupdCell(const std::string& pin) {
        const int row = PinRow(pin);
        ASSERT_GT(row, 0) << pin;
        ASSERT_EQ(Run("kx::select ccp " + std::to_string(row) + " " + std::to_string(G::m_nColPupd)), "1");
        Messages();
    }
    static bool Shows(const std::vector<std::string>& messages, const std::string& id) {
        return std::find(messages.begin(), messages.end(), id) != messages.end();
    }
};

TEST_F(PupdOnBusRow, AddPupdOnABusRowRefusesWithAMessageAndChangesNothing) {
    OpenBoard();
    ASSERT_EQ(Run("expandPins pin on"), "1");
    const std::string before = Saved();
    const std::string journal = JournalText();
    const int steps = Ccp()->GetUndoStepCount();
    SelectPupdCell("DQ<15..0>");
    EXPECT_EQ(Run("kx::pane AddPUPD"), "0");
    EXPECT_TRUE(Shows(Messages(), "KXTABLE-219"));
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    EXPECT_EQ(JournalText(), journal);
    EXPECT_FALSE(CKXTransaction::IsTransactionStarted());
    EXPECT_FALSE(CKXGridEdit::IsHeld(*Grid()));
}

TEST_F(PupdOnBusRow, APullUpPreparedOnAnotherRowDoesNotGoOntoTheBus) {
    OpenBoard();
    ASSERT_EQ(Run("expandPins pin on"), "1");
    SelectPupdCell("PGOOD");
    Run("kx::pane InitPUPD {pullup VCC3V3}");
    Messages();
    const std::string before = Saved();
    const int steps = Ccp()->GetUndoStepCount();
    SelectPupdCell("DQ<15..0>");
    EXPECT_EQ(Run("kx::pane AddPUPD"), "0");
    EXPECT_TRUE(Shows(Messages(), "KXTABLE-219"));
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Ccp()->GetUndoStepCount(), steps);
    // A bit row of the same bus takes the pull-up.
    SelectPupdCell("DQ<3>");
    Run("kx::pane InitPUPD {pullup VCC3V3}");
    EXPECT_EQ(Run("kx::pane AddPUPD"), "1") << ::testing::PrintToString(Messages());
    EXPECT_NE(Saved(), before);
}

TEST_F(PupdOnBusRow, InitPupdOnABusRowSaysWhy) {
    OpenBoard();
    const std::string before = Saved();
    SelectPupdCell("DQ<15..0>");
    Run("kx::pane InitPUPD {pullup VCC3V3}");
    EXPECT_TRUE(Shows(Messages(), "KXTABLE-219"));
    EXPECT_EQ(Saved(), before);
    EXPECT_FALSE(CKXGridEdit::IsHeld(*Grid()));
}

} // namespace
