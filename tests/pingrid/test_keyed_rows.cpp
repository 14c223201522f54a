// Keyed words find their rows through the texts the grid indexes as it writes them: whatever the
// rows show (buses whole or by bit, pairs whole or by leg, after the show's sort and after a refill),
// a key selects exactly the rows a look at every row finds.
#include "PinGridBoardFixture.h"

#include "afx/afxcoll.h"

#include <set>

namespace {

using G = CKXInstanceDetailsGridWnd;

class KeyedRows : public PinGridBoard {
protected:
    // The rows whose cell of the column shows the text, found by looking at each row.
    std::vector<ROWCOL> RowsShowing(int col, const CString& text) {
        std::vector<ROWCOL> rows;
        for (ROWCOL r = PIN_FIRST_ROW; r <= Grid()->GetRowCount(); ++r)
            if (Grid()->GetValueRowCol(r, static_cast<ROWCOL>(col)) == text) rows.push_back(r);
        return rows;
    }
    std::vector<ROWCOL> SelectedBy(const CString& key) {
        CStringArray keys;
        keys.Add(key);
        Grid()->SelectRowsByKey(&keys, "");
        CRowColArray selected;
        Grid()->GetSelectedRows(selected, FALSE, FALSE);
        std::vector<ROWCOL> rows;
        for (INT_PTR i = 0; i < selected.GetSize(); ++i) rows.push_back(selected[i]);
        return rows;
    }
    // Every pin name and every pin number the rows show, each as a key.
    void ExpectEveryKeyFindsItsRows() {
        ASSERT_TRUE(Grid());
        std::set<CString> names, numbers;
        for (ROWCOL r = PIN_FIRST_ROW; r <= Grid()->GetRowCount(); ++r) {
            names.insert(Grid()->GetValueRowCol(r, static_cast<ROWCOL>(G::m_nColPinName)));
            numbers.insert(Grid()->GetValueRowCol(r, static_cast<ROWCOL>(G::m_nColPinNumber)));
        }
        names.erase(CString());
        numbers.erase(CString());
        ASSERT_GT(names.size(), 10u);
        for (const CString& name : names)
            EXPECT_EQ(SelectedBy(name), RowsShowing(G::m_nColPinName, name)) << name.GetString();
        for (const CString& number : numbers) {
            if (number.Find(':') >= 0) continue;
            EXPECT_EQ(SelectedBy(":" + number), RowsShowing(G::m_nColPinNumber, number)) << number.GetString();
        }
    }
};

TEST_F(KeyedRows, AKeySelectsEveryRowShowingItsTextAfterAShowAndARefill) {
    OpenBoard();
    ExpectEveryKeyFindsItsRows();
    // A row per bit and per leg: the grid is filled again.
    EXPECT_EQ(Run("setViewOption pin bus_off dp_off"), "1");
    ExpectEveryKeyFindsItsRows();
    EXPECT_EQ(Run("setViewOption pin bus_on dp_on"), "1");
    ExpectEveryKeyFindsItsRows();
}

// The first keyed edit after a show connects the pin it names, as any later one does.
TEST_F(KeyedRows, TheFirstKeyedEditAfterAShowConnectsThePinItNames) {
    OpenBoard();
    const ROWCOL row = PinRow("RST_N");
    ASSERT_NE(row, 0u);
    const std::string answer = Run("addConnection pin KEYED_NET RST_N");
    EXPECT_TRUE(answer == "1" || answer == "2") << answer;
    EXPECT_EQ(CellText(PinRow("RST_N"), G::m_nColSignal), "KEYED_NET");
}

} // namespace
