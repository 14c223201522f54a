// What a show leaves in the pin grid, cell by cell: every stored and composed style (value, attributes
// and user attributes), every row's kind and pin, and the rows a pin name's key selects. Each walk is
// folded into one number; the numbers are those of the grid as it filled its rows before the store was
// made faster (since then a vector row whose bits are on different nets joins their nets, at a fill and at
// a refresh alike), so any change to a cell, to the row order or to the row index's answers shows here.
#include "PinGridBoardFixture.h"

#include "afx/afxcoll.h"
#include "rmx/DesignBuilder.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

using G = CKXInstanceDetailsGridWnd;

// FNV-1a over the texts of the walk: the same on every compiler and build type.
class Fold {
public:
    Fold& operator<<(const std::string& text) {
        for (unsigned char c : text) m_value = (m_value ^ c) * kPrime;
        m_value = (m_value ^ 0xffu) * kPrime; // ends each text
        return *this;
    }
    Fold& operator<<(long long n) { return *this << std::to_string(n); }
    std::uint64_t Value() const { return m_value; }

private:
    static constexpr std::uint64_t kPrime = 1099511628211ull;
    std::uint64_t m_value = 14695981039346656037ull;
};

void FoldStyle(Fold& fold, const CGXStyle& s) {
    fold << (s.GetIncludeValue() ? 1 : 0) << s.GetValue().GetString();
    fold << (s.GetIncludeControl() ? s.GetControl() : -1) << (s.GetIncludeBaseStyle() ? s.GetBaseStyle() : -1);
    fold << (s.GetIncludeReadOnly() ? 1 : 0) << s.GetReadOnly() << (s.GetIncludeEnabled() ? 1 : 0) << s.GetEnabled();
    fold << (s.GetIncludeWrapText() ? 1 : 0) << s.GetWrapText() << (s.GetIncludeAutoSize() ? 1 : 0) << s.GetAutoSize();
    fold << (s.GetIncludeHorizontalAlignment() ? static_cast<long long>(s.GetHorizontalAlignment()) : -1);
    fold << (s.GetIncludeVerticalAlignment() ? static_cast<long long>(s.GetVerticalAlignment()) : -1);
    fold << (s.GetIncludeTextColor() ? static_cast<long long>(s.GetTextColor()) : -1);
    fold << (s.GetIncludeMergeCell() ? static_cast<long long>(s.GetMergeCell()) : -1);
    fold << (s.GetIncludeDraw3dFrame() ? static_cast<long long>(s.GetDraw3dFrame()) : -1);
    fold << (s.GetIncludeMaxLength() ? static_cast<long long>(s.GetMaxLength()) : -1);
    if (s.GetIncludeInterior())
        fold << static_cast<long long>(s.GetInterior().GetColor()) << s.GetInterior().GetStyle();
    if (s.GetIncludeFont()) {
        const CGXFont& f = s.GetFont();
        fold << f.GetFaceName().GetString() << f.GetBold() << f.GetItalic() << f.GetUnderline()
             << static_cast<long long>(f.GetSize() * 100);
    }
    for (GXBorderType side : {gxBorderTop, gxBorderLeft, gxBorderBottom, gxBorderRight})
        if (s.GetIncludeBorders(side))
            fold << s.GetBorders(side).GetStyle() << s.GetBorders(side).GetWidth()
                 << static_cast<long long>(s.GetBorders(side).GetColor());
    if (s.GetIncludeChoiceList()) fold << s.GetChoiceList().GetString();
    fold << s.GetUserAttributeCount();
    s.ForEachUserAttribute([&](WORD id, const CGXAbstractUserAttribute& value) {
        fold << id << value.GetValue().GetString();
    });
}

// Every cell of the grid, stored and composed, row by row; each row's state and what the rows are.
std::uint64_t GridDigest(G& grid) {
    Fold fold;
    fold << grid.GetRowCount() << grid.GetColCount();
    CGXStyle stored, composed;
    for (ROWCOL r = 0; r <= grid.GetRowCount(); ++r) {
        fold << (grid.IsRowHidden(r) ? 1 : 0) << grid.GetRowHeight(r);
        for (ROWCOL c = 0; c <= grid.GetColCount(); ++c) {
            fold << (grid.GetStyleRowCol(r, c, stored, gxCopy, 0) ? 1 : 0);
            FoldStyle(fold, stored);
            grid.ComposeStyleRowCol(r, c, &composed);
            FoldStyle(fold, composed);
        }
        if (r < PIN_FIRST_ROW) continue;
        CString base;
        int msb = 0, lsb = 0;
        fold << static_cast<int>(grid.GetRowKind(r, base, msb, lsb)) << base.GetString() << msb << lsb;
        fold << grid.GetRowInstTermId(r);
    }
    return fold.Value();
}

// The rows each shown pin name selects as a key (every step-th row's name).
std::uint64_t KeyDigest(G& grid, ROWCOL step) {
    Fold fold;
    for (ROWCOL r = PIN_FIRST_ROW; r <= grid.GetRowCount(); r += step) {
        CStringArray keys;
        keys.Add(grid.GetValueRowCol(r, static_cast<ROWCOL>(G::m_nColPinName)));
        if (keys[0].IsEmpty()) continue;
        grid.SelectRowsByKey(&keys, "");
        CRowColArray selected;
        grid.GetSelectedRows(selected, FALSE, FALSE);
        fold << keys[0].GetString() << static_cast<long long>(selected.GetSize());
        for (INT_PTR i = 0; i < selected.GetSize(); ++i) fold << selected[i];
    }
    return fold.Value();
}

std::string Hex(std::uint64_t v) {
    char text[24];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
    return text;
}

class ShowDigest : public PinGridBoard {
protected:
    // The grid and key digests of the grid shown now.
    std::string Digests(ROWCOL keyStep) {
        G* grid = Grid();
        if (!grid) return "no grid";
        // The grid as shown first: the key walk selects rows, and a key of a folded bit opens its fold.
        const std::string shown = Hex(GridDigest(*grid));
        return shown + " " + Hex(KeyDigest(*grid, keyStep));
    }
    void OpenGenerated(int pins) {
        ASSERT_TRUE(rmx::generateSyntheticDesign(m_app->Server(), pins));
        ASSERT_TRUE(Open("bench.top:sch", 1));
        Run("kx::show clp U1");
        Messages();
        Echoes();
        ASSERT_TRUE(Grid());
    }
};

TEST_F(ShowDigest, TheBoardShowsEveryCellAsBeforeAfterARefillAndAfterEdits) {
    OpenBoard();
    EXPECT_EQ(Digests(1), "71aeb3db9f11d044 9dd7df80b10b189a");
    EXPECT_EQ(Run("setViewOption pin bus_off dp_off"), "1");
    EXPECT_EQ(Digests(1), "6dabbfed6f6d813c 544d14e20d39fb20");
    EXPECT_EQ(Run("setViewOption pin bus_on dp_on"), "1");
    const std::string answer = Run("addConnection pin KEYED_NET RST_N");
    EXPECT_TRUE(answer == "1" || answer == "2") << answer;
    EXPECT_EQ(Digests(1), "d325d2cbdee8f734 9dd7df80b10b189a");
}

TEST_F(ShowDigest, AGeneratedPartShowsEveryCellAsBeforeAfterARefillAndAfterEdits) {
    OpenGenerated(1000);
    EXPECT_EQ(Digests(7), "c1e728424ab354d7 3af86fe5969e9407");
    EXPECT_EQ(Run("setViewOption pin bus_off dp_off"), "1");
    EXPECT_EQ(Digests(7), "aaf78986b0c09bd7 89928da1a25ddb1d");
    EXPECT_EQ(Run("setViewOption pin bus_on dp_on"), "1");
    const std::string answer = Run("addConnection pin EDGE_NET P1");
    EXPECT_TRUE(answer == "1" || answer == "2") << answer;
    EXPECT_EQ(Digests(7), "4eea1f0a859d292d 3af86fe5969e9407");
}

} // namespace

namespace {

// A part whose vector pins meet their nets every way a vector row sums up: one connection over the whole
// pin, bit by bit to one bus, some bits left open, every bit on one scalar net, more bits than the
// connection tip lists, none at all; terminations on one bit and on every bit of a pin.
void BuildVectorShapes(rmx::DesignBuilder& b) {
    b.symbol("vshapes").bus("A", 7, 0).bus("B", 3, 0).bus("C", 3, 0).bus("E", 1, 0).bus("W", 29, 0);
    b.bus("F", 3, 0).bus("G", 1, 0).port("S");
    b.schematic("top").instance("U1", "vshapes", "U1").net("DATA", 3, 0).net("X", 3, 0).net("GG", 1, 0);
    for (int bit = 7; bit >= 0; --bit) b.pinNumber("U1", "A<" + std::to_string(bit) + ">", std::to_string(10 + bit));
    b.connect("U1", "A<7..0>", "AB<7..0>").connect("U1", "S", "SN");
    for (int bit = 0; bit <= 3; ++bit)
        b.connect("U1", "B<" + std::to_string(bit) + ">", "DATA<" + std::to_string(3 - bit) + ">");
    b.connect("U1", "C<3>", "X<3>").connect("U1", "C<2>", "X<2>");
    b.connect("U1", "E<1>", "SAME").connect("U1", "E<0>", "SAME");
    for (int bit = 0; bit <= 29; ++bit) b.connect("U1", "W<" + std::to_string(bit) + ">", "W" + std::to_string(bit));
    b.connect("U1", "G<1>", "GG<1>").connect("U1", "G<0>", "GG<0>");
    b.termination("RT1", "Series", "U1", "C<3>");
    b.termination("RT2", "Series", "U1", "G<1>").termination("RT3", "Series", "U1", "G<0>");
}

TEST_F(ShowDigest, VectorRowsOfEveryConnectionShapeShowEveryCellAsBeforeAfterARefillAndAfterEdits) {
    rmx::DesignBuilder builder(m_app->Server(), "edge", (m_dir / "edge").string());
    BuildVectorShapes(builder);
    ASSERT_TRUE(builder.ok()) << builder.error();
    ASSERT_TRUE(Open("edge.top:sch", 1));
    Run("kx::show clp U1");
    Messages();
    Echoes();
    ASSERT_TRUE(Grid());
    EXPECT_EQ(Digests(1), "10ba1c6ccea187d1 9f25f863e7ebe9f6");
    EXPECT_EQ(Run("setViewOption pin bus_off dp_off"), "1");
    EXPECT_EQ(Digests(1), "a2c72c18cf8f74b9 1eb3ca6aebef5e72");
    EXPECT_EQ(Run("setViewOption pin bus_on dp_on"), "1");
    EXPECT_EQ(Digests(1), "10ba1c6ccea187d1 9f25f863e7ebe9f6");
    const std::string answer = Run("addConnection pin NEW_NET S");
    EXPECT_TRUE(answer == "1" || answer == "2") << answer;
    // The key walk before the edit opened the folds of the bits it named: they stay open.
    EXPECT_EQ(Digests(1), "6d64720d8491d16d 9f25f863e7ebe9f6");
}

} // namespace
