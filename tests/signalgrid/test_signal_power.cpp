// Implicit power pins in the signal grid: while the host shows power pins, a net's
// grid lists the package pins tied to it, read-only, which no edit or delete reaches.
#include "SignalGridTestSupport.h"

#include "kxinstsigpane/KXTransaction.h"
#include "rmx/transaction.h"

namespace {

class SignalPower : public SignalGridTest {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        SignalGridTest::BuildDesign(b);
        b.symbol("reg").port("A").partDefinition("reg").packagePin("1", "A").powerPin("7", "VCC", "N1").powerPin(
            "8", "GND", "FREE", true);
        b.schematic("board").instance("U9", "reg", "U9");
    }
    void TearDown() override {
        CKXShareGlobalData::m_bShowPowerPins = FALSE;
        SignalGridTest::TearDown();
    }
    std::string Num(long n) { return std::to_string(n); }
    std::string At(ROWCOL row, int col) { return Num(static_cast<long>(row)) + " " + Num(col); }
};

TEST_F(SignalPower, PowerPinRowsFollowTheHostsOption) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    const int withoutPins = FilledRows();
    EXPECT_EQ(Row("U9", "VCC"), 0u);
    EXPECT_EQ(Run("kx::powerpins on"), "1");
    Run("kx::show slp FREE");
    Run("kx::show slp N1");
    EXPECT_EQ(FilledRows(), withoutPins + 1);
    const ROWCOL row = Row("U9", "VCC");
    ASSERT_NE(row, 0u);
    EXPECT_TRUE(Grid()->IsImplicitPowerPinRow(row));
    EXPECT_EQ(Cell(row, G::m_nColPinNumber), "7");
    EXPECT_EQ(Cell(row, G::m_nColLocation), "U9");
    EXPECT_EQ(Grid()->GetRowPinId(row), -1); // no connection
    EXPECT_FALSE(Grid()->IsImplicitPowerPinRow(Row("J2", "S")));
    // The ground pin is on its own net only.
    Run("kx::show slp FREE");
    EXPECT_NE(Row("U9", "GND"), 0u);
    EXPECT_EQ(Row("U9", "VCC"), 0u);
}

// The option turned on and off while the grid is shown: the power pin rows come and go at once,
// and the rows the user sorted keep their order.
TEST_F(SignalPower, TheShownGridFollowsTheOptionAtOnceKeepingItsOrder) {
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    const int withoutPins = FilledRows();
    EXPECT_EQ(Run("sort pin Instance"), "1");
    const ROWCOL first = Row("J2", "S");
    ASSERT_EQ(first, 5u); // by Cell it would come after blk and buf
    EXPECT_EQ(Run("kx::powerpins on"), "1");
    EXPECT_NE(Row("U9", "VCC"), 0u);
    EXPECT_EQ(FilledRows(), withoutPins + 1);
    EXPECT_EQ(Row("J2", "S"), first);
    EXPECT_EQ(Run("kx::powerpins off"), "1");
    EXPECT_EQ(Row("U9", "VCC"), 0u);
    EXPECT_EQ(FilledRows(), withoutPins);
    EXPECT_EQ(Row("J2", "S"), first);
}

// A power pin row is read-only: typing, a termination and the Delete command leave it and the
// design as they were.
TEST_F(SignalPower, NoEditReachesAPowerPinRow) {
    Run("kx::powerpins on");
    ASSERT_TRUE(Open());
    Run("kx::show slp N1");
    const ROWCOL row = Row("U9", "VCC");
    ASSERT_NE(row, 0u);
    const std::string before = Netlist();
    EXPECT_EQ(Run("kx::edit ccp " + At(row, G::m_nColPinNumber) + " 1"), "0");
    EXPECT_EQ(Cell(row, G::m_nColPinNumber), "7");
    // Its current cell is static text, whichever column.
    for (int col : {G::m_nColPinName, G::m_nColInstance, G::m_nColSignalName}) {
        Grid()->SetCurrentCell(row, static_cast<ROWCOL>(col));
        CGXStyle style;
        Grid()->ComposeStyleRowCol(row, static_cast<ROWCOL>(col), &style);
        EXPECT_EQ(style.GetControl(), static_cast<WORD>(kxsignal::IDS_CTRL_STATIC_TEXT)) << col;
    }
    Run("kx::select ccp " + At(row, G::m_nColTermination));
    EXPECT_FALSE(Grid()->CanAddTermination());
    Run("kx::select ccp " + At(row, G::m_nColInstance));
    Messages();
    // Delete has no connection of the row's own to take off: refused, saying so.
    EXPECT_EQ(Run("kx::key ccp Delete"), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-346"});
    EXPECT_EQ(Row("U9", "VCC"), row);
    EXPECT_EQ(Netlist(), before);
}

// A power pin tied to another net elsewhere joins the open grid of that net, and leaves it again
// when it is released.
TEST_F(SignalPower, APowerPinTiedElsewhereFollowsInTheOpenGrid) {
    Run("kx::powerpins on");
    ASSERT_TRUE(Open());
    Run("kx::show slp FREE");
    ASSERT_EQ(Row("U9", "VCC"), 0u);
    const int rows = FilledRows();
    IInstance* u9 = Design().instance("U9").instance();
    auto commit = [&](auto change) {
        CKXGridWnd* other = Ccp()->PaneGrid();
        if (!CKXTransaction::BeginTrans(other, Design(), "Other")) return false;
        CTransaction* tx = CKXTransaction::GetCurrentTransactionObj();
        if (!tx || !change(*tx)) return false;
        return CKXTransaction::CommitTrans(other, 1, 1) != 0;
    };
    ASSERT_TRUE(commit([&](CTransaction& t) { return t.setPowerPinNet(u9, "VCC", "FREE"); }));
    const ROWCOL row = Row("U9", "VCC");
    ASSERT_NE(row, 0u);
    EXPECT_TRUE(Grid()->IsImplicitPowerPinRow(row));
    EXPECT_EQ(FilledRows(), rows + 1);
    EXPECT_NE(Row("U9", "GND"), 0u);
    ASSERT_TRUE(commit([&](CTransaction& t) { return t.removePowerPinNet(u9, "VCC"); }));
    EXPECT_EQ(Row("U9", "VCC"), 0u);
    EXPECT_EQ(FilledRows(), rows);
}

} // namespace
