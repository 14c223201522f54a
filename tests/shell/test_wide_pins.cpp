// A component with pins of tens of thousands of bits: its grid holds the rows the user sees, a wide
// pin's row opens to its bit rows and folds them away again, and an edit on a bit of an open wide pin
// is refreshed, undone and replayed as on any bus.
#include "KXDesignSnapshot.h"
#include "KXGridCellProcs.h"
#include "KXShellFixture.h"

#include "grid/KXGridWnd.h"
#include "kxcommon/KXShareGlobalData.h"
#include "pane/KXBottomPaneContainerView.h"
#include "rmx/DesignBuilder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kFullWidth = 65536; // bits of each of the three widest pins
constexpr int kOpenedWidth = 2048; // bits of the pin the tests open

class WidePins : public KXShellFixture {
protected:
    void BuildDesign(rmx::DesignBuilder& b) override {
        b.symbol("wide").port("A");
        for (const char* name : {"W1", "W2", "W3"}) b.bus(name, kFullWidth - 1, 0);
        b.bus("S", kOpenedWidth - 1, 0);
        KXShellFixture::BuildDesign(b);
        b.instance("WX1", "wide", "WX1");
    }
    void SetUp() override {
        KXShellFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(Open());
        Run(kCellProc);
        ASSERT_EQ(Run("kx::show clp WX1"), "1");
        ASSERT_NE(Grid(), nullptr);
    }
    CKXGridWnd* Grid() const { return Ccp()->GetActiveGrid(); }
    ROWCOL Rows() const { return Grid()->GetRowCount(); }
    std::string Snapshot() {
        return KXDesignSnapshot(*CKXShareGlobalData::m_pServer,
                                CDesignContext(CKXShareGlobalData::m_pServer, "work.board:sch").design(), "wide");
    }
    // Selects the row of the pin S and opens or folds it as the user's click on its button does.
    std::string ToggleS(bool open) {
        const std::string cell = Run("kxcell {S<2047..0>} {Pin Name}");
        EXPECT_NE(cell, "0 0");
        Run("kx::select ccp " + cell);
        return Run(std::string("expandPins pin -selection ") + (open ? "on" : "off"));
    }
    // The text of the active grid's cell "ROW COL".
    std::string Value(const std::string& cell) const {
        unsigned row = 0, col = 0;
        if (std::sscanf(cell.c_str(), "%u %u", &row, &col) != 2) return "(no cell)";
        return std::string(Grid()->GetValueRowCol(row, col).GetString());
    }
    // Whether a row of the active grid shows the pin name.
    bool Shows(const std::string& pinName) { return Run("kxcell {" + pinName + "} {Pin Name}").rfind("0 ", 0) != 0; }
    static bool Contains(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
};

// Folded, each wide pin is its one row: what the grid keeps follows the rows shown, not the bits.
TEST_F(WidePins, AComponentOfWidePinsShowsInTheRowsOfItsPins) {
    EXPECT_NE(Run("kxcell {W1<65535..0>} {Pin Name}"), "0 0");
    EXPECT_NE(Run("kxcell {W3<65535..0>} {Pin Name}"), "0 0");
    EXPECT_LT(Rows(), 20u);
    const CGXData* data = Grid()->GetData();
    ASSERT_NE(data, nullptr);
    EXPECT_LT(data->GetStoredCellCount(), 400u);
    EXPECT_LT(data->GetCellSlotCount(), 400u);
}

// Opened, the pin shows every bit on a row; a typed net connects one bit, the folded row still sums its
// bits up, and undo, redo and a replay of the journal in a fresh host give the same design.
TEST_F(WidePins, AnOpenedWidePinShowsItsBitsAndTakesAnEdit) {
    const ROWCOL folded = Rows();
    ASSERT_EQ(ToggleS(true), "1");
    EXPECT_EQ(Rows(), folded + kOpenedWidth);
    const std::string bit = Run("kxcell {S<5>} Signal");
    ASSERT_NE(bit, "0 0");
    const std::string before = Run("kx::netlist");
    ASSERT_EQ(Run("kx::edit ccp " + bit + " NETX"), "1");
    EXPECT_TRUE(Contains(Run("kx::netlist"), "WX1 S<5> NETX")) << Run("kx::netlist");
    EXPECT_EQ(Value(bit), "NETX");
    const std::string connected = Snapshot();
    ASSERT_EQ(ToggleS(false), "1");
    EXPECT_EQ(Rows(), folded);
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Run("kx::netlist"), before);
    ASSERT_EQ(Run("redo"), "1");
    EXPECT_EQ(Snapshot(), connected);
    // Opened again, the bit shows the net it was given back.
    ASSERT_EQ(ToggleS(true), "1");
    EXPECT_EQ(Value(Run("kxcell {S<5>} Signal")), "NETX");
    EXPECT_EQ(ReplayedSnapshot("wide"), connected);
}

// A bit named by a journal's cell selection or by a key is found in its folded wide pin, which opens.
TEST_F(WidePins, ABitOfAFoldedWidePinIsFoundByItsName) {
    const ROWCOL folded = Rows();
    EXPECT_EQ(Run("kx::pane SelectSignalCol {S<7>} {}"), "1");
    EXPECT_EQ(Run("kx::grid ccp cell"), Run("kxcell {S<7>} Signal"));
    ASSERT_EQ(ToggleS(false), "1");
    EXPECT_EQ(Rows(), folded);
    EXPECT_EQ(Run("selectObject pin {S<9>}"), "1");
    CRowColArray rows;
    ASSERT_EQ(Grid()->GetSelectedRows(rows, FALSE, FALSE), 1u);
    const std::string pinCell = Run("kxcell {S<2047..0>} {Pin Name}");
    EXPECT_EQ(Value(std::to_string(rows[0]) + pinCell.substr(pinCell.find(' '))), "S<9>");
}

// A filter and a find by a bit's name or net reach the bits of a folded wide pin as they reach a bus's.
TEST_F(WidePins, AFilterAndAFindReachTheBitsOfAFoldedWidePin) {
    EXPECT_EQ(Run("filterRows pin -col {Pin Name} -filter {S<12>}"), "1");
    EXPECT_TRUE(Shows("S<12>"));
    EXPECT_FALSE(Shows("S<13>"));
    EXPECT_FALSE(Shows("S<2047..0>"));
    EXPECT_EQ(Run("filterRows pin -col {Pin Name} -filter *"), "1");
    EXPECT_FALSE(Shows("S<12>")); // folded again
    EXPECT_TRUE(Shows("S<2047..0>"));
    Run("kx::answer dialog CKXFindReplaceDlg ok find {W2<40000>} wholeCell 1");
    EXPECT_EQ(Run("kx::menu 57636"), "1");
    const std::string found = Run("kxcell {W2<40000>} {Pin Name}");
    EXPECT_NE(found, "0 0");
    EXPECT_EQ(Run("kx::grid ccp cell"), found);
}

// A bus typed into a folded wide pin's row connects the whole pin: the row shows the bus, its bits show
// their bus bits once opened, and the undo leaves the row and its bits on nothing again.
TEST_F(WidePins, ABusTypedIntoAFoldedWidePinIsShownByTheRowAndItsBits) {
    const std::string row = Run("kxcell {S<2047..0>} Signal");
    ASSERT_EQ(Run("kx::edit ccp " + row + " {BUSX<2047..0>}"), "1");
    EXPECT_EQ(Value(row), "BUSX<2047..0>");
    ASSERT_EQ(ToggleS(true), "1");
    EXPECT_EQ(Value(Run("kxcell {S<5>} Signal")), "BUSX<5>");
    ASSERT_EQ(ToggleS(false), "1");
    ASSERT_EQ(Run("undo"), "1");
    EXPECT_EQ(Value(row), "");
    ASSERT_EQ(ToggleS(true), "1");
    EXPECT_EQ(Value(Run("kxcell {S<5>} Signal")), "");
}

// A command that names a bit of a folded wide pin writes that bit's row alone (a key's row stays folded,
// a journal's cell selection opens the pin's row on it); a find writes the rows of the bits that match.
// What the grid keeps follows what is named: a few rows, not the pin's 65,536. Opened by the user, the
// pin gets all its bits, the named ones in their places.
TEST_F(WidePins, ANamedBitWritesItsOwnRowAlone) {
    const ROWCOL folded = Rows();
    const std::string pinCell = Run("kxcell {S<2047..0>} {Pin Name}");
    const auto pinCol = static_cast<ROWCOL>(std::stoul(pinCell.substr(pinCell.find(' ') + 1)));
    // The row showing the pin name, shown or not; 0 when none does.
    const auto rowOf = [&](const std::string& name) -> ROWCOL {
        for (ROWCOL r = 1; r <= Rows(); ++r)
            if (Grid()->GetValueRowCol(r, pinCol) == name.c_str()) return r;
        return 0;
    };
    const auto selectedName = [&]() {
        CRowColArray rows;
        if (Grid()->GetSelectedRows(rows, FALSE, FALSE) != 1u) return std::string("(not one row)");
        return std::string(Grid()->GetValueRowCol(rows[0], pinCol).GetString());
    };
    EXPECT_EQ(Run("selectObject pin {W1<5>}"), "1");
    EXPECT_EQ(selectedName(), "W1<5>");
    EXPECT_EQ(Rows(), folded + 1);
    EXPECT_EQ(Run("selectObject pin {WX1 W1<40000>}"), "1");
    EXPECT_EQ(selectedName(), "W1<40000>");
    EXPECT_EQ(Rows(), folded + 2);
    // In the order of the bits, under the pin's row.
    const ROWCOL pinRow = rowOf("W1<65535..0>");
    ASSERT_NE(pinRow, 0u);
    EXPECT_EQ(rowOf("W1<40000>"), pinRow + 1);
    EXPECT_EQ(rowOf("W1<5>"), pinRow + 2);
    // Named again, the bit is found in the row it has.
    EXPECT_EQ(Run("selectObject pin {W1<5>}"), "1");
    EXPECT_EQ(Rows(), folded + 2);
    // A find for "<7>" names bit 7 of every wide pin: one row each, and the pin's row opens on it.
    Run("kx::answer dialog CKXFindReplaceDlg ok find {<7>}");
    EXPECT_EQ(Run("kx::menu 57636"), "1");
    EXPECT_LE(Rows(), folded + 2 + 4);
    EXPECT_NE(rowOf("W1<7>"), 0u);
    EXPECT_NE(Run("kxcell {W1<7>} {Pin Name}"), "0 0");
    // A journal's cell selection shows its bit; typed into, the bit connects, and the pin's row sums up
    // its bits from the design still.
    EXPECT_EQ(Run("kx::pane SelectSignalCol {W2<5>} {}"), "1");
    const std::string cell = Run("kxcell {W2<5>} Signal");
    ASSERT_NE(cell, "0 0");
    ASSERT_EQ(Run("kx::edit ccp " + cell + " NETW"), "1");
    EXPECT_TRUE(Contains(Run("kx::netlist"), "WX1 W2<5> NETW")) << Run("kx::netlist");
    EXPECT_EQ(Value(cell), "NETW");
    EXPECT_LE(Rows(), folded + 2 + 5);
    // The user opens S after two of its bits were named: every bit gets its row, each once.
    EXPECT_EQ(Run("selectObject pin {S<9>}"), "1");
    EXPECT_EQ(Run("selectObject pin {S<100>}"), "1");
    ROWCOL sBits = 0; // its named bits' rows (the find's S<7> too)
    for (ROWCOL r = rowOf("S<2047..0>") + 1; r <= Rows() && Grid()->GetValueRowCol(r, pinCol).Find("S<") == 0; ++r)
        ++sBits;
    EXPECT_EQ(sBits, 3u);
    const ROWCOL named = Rows();
    ASSERT_EQ(ToggleS(true), "1");
    EXPECT_EQ(Rows(), named - sBits + kOpenedWidth);
    const ROWCOL sRow = rowOf("S<2047..0>");
    EXPECT_EQ(rowOf("S<2047>"), sRow + 1);
    EXPECT_EQ(rowOf("S<9>"), sRow + 1 + (kOpenedWidth - 1 - 9));
    EXPECT_EQ(rowOf("S<0>"), sRow + kOpenedWidth);
    EXPECT_EQ(Grid()->GetValueRowCol(sRow + kOpenedWidth + 1, pinCol).Find("S<"), -1);
    ASSERT_EQ(ToggleS(false), "1");
    EXPECT_EQ(Rows(), named - sBits);
}

} // namespace
