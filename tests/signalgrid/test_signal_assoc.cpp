// The automation road to a termination on the signal grid of the example board:
// InitTermination prepares, AddTermination sends the add, one undo step takes it back.
#include "../connedit/ConnEditFixture.h"

#include "signalgrid/KXSignalDetailsGridWnd.h"

#include <string>

namespace {

using G = CKXSignalDetailsGridWnd;

class SignalAssoc : public ConnEditFixture {
protected:
    G* Signal() { return dynamic_cast<G*>(Ccp()->GetActiveGrid()); }
    // The data row of the signal grid whose INSTANCE cell reads so; 0 when none.
    ROWCOL RowOf(const char* instance) {
        for (ROWCOL r = kxsignal::kFirstDataRow; r <= Signal()->GetRowCount(); ++r)
            if (Signal()->GetValueRowCol(r, static_cast<ROWCOL>(G::m_nColInstance)) == instance) return r;
        return 0;
    }
    std::string At(ROWCOL row, int col) { return std::to_string(row) + " " + std::to_string(col); }
    std::string TerminationCell(ROWCOL row) {
        return std::string(Signal()->GetValueRowCol(row, static_cast<ROWCOL>(G::m_nColTermination)));
    }
};

TEST_F(SignalAssoc, InitTerminationThenAddTerminationTerminatesTheSelectedPin) {
    OpenBoard();
    Run("kx::show slp PG");
    ASSERT_NE(Signal(), nullptr);
    const ROWCOL row = RowOf("U1");
    ASSERT_NE(row, 0u);
    const std::string before = Saved();
    Run("kx::select ccp " + At(row, G::m_nColTermination));
    Messages();
    Run("kx::pane InitTermination Shunt");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Run("kx::pane AddTermination"), "1");
    EXPECT_NE(TerminationCell(row).find("Shunt"), std::string::npos) << TerminationCell(row);
    EXPECT_NE(Saved(), before);
    EXPECT_EQ(Run("undo"), "1");
    EXPECT_TRUE(Saved() == before);
}

// A row the grid cannot terminate (a block's pin, an unknown type) is refused at once.
TEST_F(SignalAssoc, InitTerminationRefusesWhatCannotBeTerminated) {
    OpenBoard();
    Run("kx::show slp PG");
    const ROWCOL block = RowOf("PWR1");
    ASSERT_NE(block, 0u);
    Run("kx::select ccp " + At(block, G::m_nColTermination));
    EXPECT_FALSE(Signal()->InitTermination("Shunt"));
    const ROWCOL row = RowOf("U1");
    Run("kx::select ccp " + At(row, G::m_nColTermination));
    Messages();
    EXPECT_FALSE(Signal()->InitTermination("NoSuchType"));
    EXPECT_EQ(Messages(), std::vector<std::string>{"KXTABLE-216"});
}

} // namespace
