// A physical part grid kept in a window while the connections of its parts' pins change elsewhere (in a
// pin grid of another window, by a net renamed or aliased, through the port of a block): its Signal cells,
// its dump and its track in the signal list name the nets the pins are on now, as a grid shown anew does.
#include "PhysGridTestSupport.h"

#include "pingrid/KXInstanceDetailsGridWnd.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using P = CKXInstanceDetailsGridWnd;

class PartSignals : public PhysGridTest {
protected:
    // The board, with net X2 given the physical name XP, and a block BLK whose port IN reaches the clock
    // pin (5) of its inner FPGA U5.
    void BuildDesign(rmx::DesignBuilder& b) override {
        PhysGridTest::BuildDesign(b);
        b.prop("@:X2", "PHYS_NET_NAME", "XP");
        b.schematic("blk").schematicPort("IN").instance("U5", "fpga", "U5");
        b.connect("U5", "CLK", "IN").pinNumber("U5", "CLK", "5");
        b.schematic("board").instance("BLK", "blk", "", "sch");
        b.connect("BLK", "IN", "CK");
    }

    std::string Num(ROWCOL n) { return std::to_string(n); }
    // Opens a second window on the board in the logical view showing the component's pin grid.
    P* PinGridInLogicalWindow(const char* component) {
        if (Run("kx::open work.board:sch 3") != "1") return nullptr;
        if (Run(std::string("kx::show clp ") + component) != "1") return nullptr;
        return dynamic_cast<P*>(Ccp()->GetActiveGrid());
    }
    static ROWCOL PinRow(P* grid, const char* pin) {
        for (ROWCOL r = 1; grid && r <= grid->GetRowCount(); ++r)
            if (grid->GetValueRowCol(r, static_cast<ROWCOL>(P::m_nColPinName)) == pin) return r;
        return 0;
    }
    // Types a signal into the pin's Signal cell of the pin grid.
    std::string TypeSignal(P* grid, const char* pin, const char* signal) {
        return Run("kx::edit ccp " + Num(PinRow(grid, pin)) + " " + Num(P::m_nColSignal) + " {" + signal + "}");
    }
    std::string Signal(G* g, const char* part, const char* number) {
        const ROWCOL r = Row(g, part, number);
        return r ? Cell(g, r, G::s_nSignalCol) : "<no row>";
    }
    // The grid's rows as a grid shown anew in a fresh window shows them.
    std::vector<std::string> FreshRows(const char* part) {
        std::vector<std::string> rows;
        if (Run("kx::open work.board:sch 4") != "1" || Run(std::string("kx::show clp ") + part) != "1") return rows;
        auto* g = dynamic_cast<G*>(Ccp()->GetActiveGrid());
        for (ROWCOL r = kxphys::kPartFirstRow; g && r <= g->GetRowCount(); ++r)
            rows.push_back(Cell(g, r, G::s_nPNCol) + "|" + Cell(g, r, G::s_nSignalCol));
        return rows;
    }
    std::vector<std::string> Rows(G* g) {
        std::vector<std::string> rows;
        for (ROWCOL r = kxphys::kPartFirstRow; r <= g->GetRowCount(); ++r)
            rows.push_back(Cell(g, r, G::s_nPNCol) + "|" + Cell(g, r, G::s_nSignalCol));
        return rows;
    }
};

TEST_F(PartSignals, APinMovedOrPartedInAnotherWindowShowsItsNetNow) {
    G* g = ShowParts({"RN1A"});
    ASSERT_TRUE(g);
    ASSERT_EQ(Signal(g, "RN1", "1"), "N1");
    P* pins = PinGridInLogicalWindow("RN1A");
    ASSERT_TRUE(pins && PinRow(pins, "A"));
    // Typed onto another net in the pin grid.
    ASSERT_EQ(TypeSignal(pins, "A", "X1"), "1");
    EXPECT_EQ(Signal(g, "RN1", "1"), "X1");
    // Parted from its net.
    ASSERT_EQ(TypeSignal(pins, "A", ""), "1");
    EXPECT_EQ(RowText(g, "RN1", "1"), "1|A|Inout||");
    // The undo in that window brings the net back in this one.
    ASSERT_TRUE(Ccp()->PerformUndo());
    EXPECT_EQ(Signal(g, "RN1", "1"), "X1");
    EXPECT_FALSE(g->CanUndo());
    // The kept grid's dump and its track in the signal list take the net the pin is on now.
    ASSERT_EQ(Run("kx::tab 1"), "1");
    const std::string dump = (m_lib / "dump.txt").string();
    ASSERT_EQ(Run("kx::word dumpGrid pin " + dump), "1");
    std::ifstream in(dump);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().find("N1 "), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("X1 "), std::string::npos) << text.str();
    ASSERT_EQ(Run("kx::select ccp " + Num(Row(g, "RN1", "1")) + " " + Num(G::s_nPinNameCol)), "1");
    ASSERT_EQ(Run("kx::word trackInSignalList pin"), "1");
    EXPECT_EQ(Run("kx::window slp selected"), "X1");
    EXPECT_EQ(Rows(g), FreshRows("RN1"));
}

// A block's port joined to another net changes the physical net of the pins inside on its port net, and
// a net made an alias of a net with a physical name takes that name: the kept rows follow, as a grid
// shown anew shows them.
TEST_F(PartSignals, BlockPortsAndAliasesReachTheKeptRows) {
    G* g = ShowParts({"RN1A", "U5"});
    ASSERT_TRUE(g);
    ASSERT_EQ(Signal(g, "U5", "5"), "CK");
    ASSERT_EQ(Signal(g, "RN1", "2"), "XP");
    P* blk = PinGridInLogicalWindow("BLK");
    ASSERT_TRUE(blk && PinRow(blk, "IN"));
    ASSERT_EQ(TypeSignal(blk, "IN", "X2"), "1");
    EXPECT_EQ(Signal(g, "U5", "5"), "XP");
    ASSERT_EQ(Signal(g, "RN1", "8"), "X1");
    ASSERT_EQ(Run("kx::call AliasNets X1 X2"), "1");
    EXPECT_EQ(Signal(g, "RN1", "8"), "XP");
    EXPECT_EQ(Rows(g), FreshRows("RN1A U5"));
}

} // namespace
