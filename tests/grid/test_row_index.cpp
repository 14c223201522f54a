// The row index follows its rows through everything that renumbers them: inserts, removals,
// moves, sorts, the undo of a removal, hidden rows; a refilled grid starts a new index.
#include "grid/KXRowIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

struct PlainGrid : CGXGridCore {
    explicit PlainGrid(ROWCOL rows) {
        Initialize();
        SetRowCount(rows);
        SetColCount(1);
        for (ROWCOL r = 1; r <= rows; ++r) SetValueRange(CGXRange(r, 1), std::to_string(r).c_str());
    }
    // Rows by their text, the truth the index is checked against.
    std::vector<ROWCOL> RowsShowing(const char* text) {
        std::vector<ROWCOL> rows;
        for (ROWCOL r = 1; r <= GetRowCount(); ++r)
            if (GetValueRowCol(r, 1) == text) rows.push_back(r);
        return rows;
    }
};

using Rows = std::vector<ROWCOL>;

TEST(RowIndex, KeysNameTypeIdAndBitApart) {
    EXPECT_NE(KXRowKey::PinBit(5, -1), KXRowKey::PinBit(5, 0));
    EXPECT_NE(KXRowKey::PinBit(5, 3), KXRowKey::NetBit(5, 3));
    EXPECT_NE(KXRowKey::Net(5), KXRowKey::NetBit(5, -1));
    EXPECT_NE(KXRowKey::PinBit(5, 3), KXRowKey::PinBit(6, 3));
    EXPECT_EQ(KXRowKey::Of('T', 0xFFFFFFFFu, 1023), KXRowKey::PinBit(0xFFFFFFFFu, 1023));
}

// A key goes from one row to several and back to none, its rows removed in any order.
TEST(RowIndex, KeyOnOneRowThenManyThenNone) {
    PlainGrid grid(6);
    KXRowIndex index(grid);
    const auto key = KXRowKey::NetBit(3, 1);
    index.Add(key, 4);
    EXPECT_TRUE(index.Has(key, 4));
    EXPECT_FALSE(index.Has(key, 2));
    index.Add(key, 2);
    index.Add(key, 6);
    index.Add(key, 4); // again: once
    EXPECT_EQ(index.Rows(key), (Rows{2, 4, 6}));
    index.Remove(key, 4);
    EXPECT_EQ(index.Rows(key), (Rows{2, 6}));
    index.Remove(key, 6);
    index.Remove(key, 2);
    EXPECT_EQ(index.Rows(key), Rows{});
    EXPECT_EQ(index.KeyCount(), 0u);
    index.Add(key, 5); // on a row again after none
    index.Remove(key, 1); // a row the key is not on: nothing changes
    EXPECT_EQ(index.Rows(key), (Rows{5}));
    EXPECT_EQ(index.FirstRow(key), 5u);
}

TEST(RowIndex, RowsFollowInsertsRemovalsMovesAndSorts) {
    PlainGrid grid(6);
    KXRowIndex index(grid);
    const auto net = KXRowKey::Net(7);
    index.Add(net, 2);
    index.Add(net, 5);
    index.Add(net, 5); // twice: once
    index.Add(KXRowKey::PinBit(1, 0), 3);
    EXPECT_EQ(index.Rows(net), (Rows{2, 5}));

    grid.InsertRows(1, 2, 0, gxDo); // 2 -> 4, 5 -> 7
    EXPECT_EQ(index.Rows(net), (Rows{4, 7}));
    EXPECT_EQ(index.FirstRow(KXRowKey::PinBit(1, 0)), 5u);

    grid.RemoveRows(4, 4, 0, gxDo); // the first row of the net goes
    EXPECT_EQ(index.Rows(net), (Rows{6}));
    grid.Undo(); // and comes back with its identity
    EXPECT_EQ(index.Rows(net), (Rows{4, 7}));

    grid.MoveRows(7, 7, 1, 0, gxDo);
    EXPECT_EQ(index.Rows(net), (Rows{1, 5}));
    EXPECT_EQ(index.FirstRow(KXRowKey::PinBit(1, 0)), 6u);

    // A sort by the text column, descending.
    ASSERT_TRUE(grid.SortRows(1, grid.GetRowCount(), 1, FALSE, 0));
    EXPECT_EQ(grid.GetValueRowCol(index.Rows(net)[0], 1), "5");
    EXPECT_EQ(index.Rows(net).size(), 2u);

    // Hidden rows stay where they are.
    const Rows before = index.Rows(net);
    grid.HideRows(before[0], before[0], TRUE);
    EXPECT_EQ(index.Rows(net), before);

    index.Remove(net, before[0]);
    EXPECT_EQ(index.Rows(net), (Rows{before[1]}));
    EXPECT_TRUE(index.Has(net, before[1]));
    EXPECT_FALSE(index.Has(net, before[0]));
    index.RemoveKey(net);
    EXPECT_TRUE(index.Rows(net).empty());
    EXPECT_EQ(index.FirstRow(net), 0u);
}

TEST(RowIndex, RowsPastARefillAreForgottenAndNewRowsGetNewIdentities) {
    PlainGrid grid(3);
    KXRowIndex index(grid);
    index.Add(KXRowKey::Net(1), 3);
    grid.SetRowCount(1); // row 3 is gone
    EXPECT_TRUE(index.Rows(KXRowKey::Net(1)).empty());
    grid.SetRowCount(3); // a new row 3 is not the old one
    EXPECT_TRUE(index.Rows(KXRowKey::Net(1)).empty());
    index.Clear();
    index.Add(KXRowKey::Net(1), 3);
    EXPECT_EQ(index.Rows(KXRowKey::Net(1)), (Rows{3}));
    EXPECT_EQ(index.KeyCount(), 1u);
}

// Random row operations against the truth: every row is keyed by the text it shows.
TEST(RowIndex, RandomRowOperationsAgreeWithTheRowsTexts) {
    std::mt19937 rng(11);
    PlainGrid grid(40);
    KXRowIndex index(grid);
    for (ROWCOL r = 1; r <= 40; ++r) index.Add(KXRowKey::Of('X', static_cast<unsigned>(r) % 7), r);
    std::map<std::string, unsigned> keyOfText;
    for (ROWCOL r = 1; r <= 40; ++r) keyOfText[grid.GetValueRowCol(r, 1).str()] = static_cast<unsigned>(r) % 7;
    for (int step = 0; step < 200; ++step) {
        const ROWCOL n = grid.GetRowCount();
        const int op = static_cast<int>(rng() % 5);
        const ROWCOL a = 1 + static_cast<ROWCOL>(rng() % n);
        if (op == 0 && n > 5) {
            grid.RemoveRows(a, std::min(n, a + static_cast<ROWCOL>(rng() % 3)), 0, gxDo);
        } else if (op == 1) {
            grid.InsertRows(a, 1 + static_cast<ROWCOL>(rng() % 2), 0, gxDo);
        } else if (op == 2) {
            grid.MoveRows(a, a, 1 + static_cast<ROWCOL>(rng() % n), 0, gxDo);
        } else if (op == 3) {
            grid.SortRows(1, n, 1, rng() % 2 ? TRUE : FALSE, 0);
        } else if (grid.CanUndo()) {
            grid.Undo();
        }
        for (unsigned key = 0; key < 7; ++key) {
            Rows expected;
            for (ROWCOL r = 1; r <= grid.GetRowCount(); ++r) {
                auto it = keyOfText.find(grid.GetValueRowCol(r, 1).str());
                if (it != keyOfText.end() && it->second == key) expected.push_back(r);
            }
            ASSERT_EQ(index.Rows(KXRowKey::Of('X', key)), expected) << "step " << step << " op " << op;
        }
    }
}

// Rows followed through runs of inserts and removals between look-ups (short runs, and runs longer
// than the grid remembers), with a move, a sort or the undo of a removal now and then: an index kept since the
// start answers as an index built afresh from the rows' texts.
TEST(RowIndex, RowsFollowedThroughRunsOfEditsAgreeWithAFreshIndex) {
    std::mt19937 rng(5);
    PlainGrid grid(300);
    KXRowIndex kept(grid);
    auto keyOf = [](const CString& text) { return KXRowKey::Of('X', static_cast<unsigned>(std::atoi(text)) % 11); };
    for (ROWCOL r = 1; r <= grid.GetRowCount(); ++r) kept.Add(keyOf(grid.GetValueRowCol(r, 1)), r);
    int made = 1000;
    for (int round = 0; round < 40; ++round) {
        const int run = round % 8 == 7 ? 400 : static_cast<int>(rng() % 12);
        for (int step = 0; step < run; ++step) {
            const ROWCOL n = grid.GetRowCount();
            const ROWCOL a = 1 + static_cast<ROWCOL>(rng() % n);
            if (rng() % 2 && n > 50) {
                grid.RemoveRows(a, std::min(n, a + static_cast<ROWCOL>(rng() % 3)), 0, gxDo);
            } else {
                grid.InsertRows(a, 1, 0, gxDo);
                grid.SetValueRange(CGXRange(a, 1), std::to_string(++made).c_str());
                kept.Add(keyOf(grid.GetValueRowCol(a, 1)), a);
            }
        }
        if (round % 5 == 4) grid.MoveRows(3, 4, 20, 0, gxDo);
        if (round % 9 == 8) grid.SortRows(1, grid.GetRowCount(), 1, TRUE, 0);
        if (round % 6 == 5) { // rows removed and given back by an undo
            grid.RemoveRows(10, 12, 0, gxDo);
            grid.Undo();
        }
        KXRowIndex fresh(grid);
        for (ROWCOL r = 1; r <= grid.GetRowCount(); ++r) fresh.Add(keyOf(grid.GetValueRowCol(r, 1)), r);
        for (unsigned key = 0; key < 11; ++key)
            ASSERT_EQ(kept.Rows(KXRowKey::Of('X', key)), fresh.Rows(KXRowKey::Of('X', key))) << "round " << round;
    }
}

// A key that rows come and go on many times (longer than the grid's log of row shifts) returns the rows
// it is on now, and a row it lost comes back with the undo of its removal however long ago the key's
// earlier rows went.
TEST(RowIndex, AKeyRowsCameAndWentOnReturnsItsRowsAndARowGivenBackByAnUndo) {
    PlainGrid grid(5);
    KXRowIndex index(grid);
    const auto key = KXRowKey::PinBit(9, -1);
    index.Add(key, 5);
    for (int i = 0; i < 600; ++i) {
        grid.InsertRows(1, 1, 0, gxDo);
        index.Add(key, 1);
        ASSERT_EQ(index.Rows(key), (Rows{1, 6})) << i;
        grid.RemoveRows(1, 1, 0, gxDo);
        if (i % 3 == 0) {
            ASSERT_EQ(index.Rows(key), (Rows{5})) << i;
        }
    }
    grid.RemoveRows(2, 2, 0, gxDo); // row 5 moves up
    EXPECT_EQ(index.Rows(key), (Rows{4}));
    grid.RemoveRows(4, 4, 0, gxDo);
    EXPECT_EQ(index.Rows(key), Rows{});
    EXPECT_FALSE(index.Has(key, 3));
    grid.Undo(); // the key's row is back
    EXPECT_EQ(index.Rows(key), (Rows{4}));
    EXPECT_TRUE(index.Has(key, 4));
    grid.InsertRows(1, 1, 0, gxDo);
    EXPECT_EQ(index.FirstRow(key), 5u);
}

// A removed row stays removed across any number of later shifts, until a cut (a move, a sort, the undo
// of a removal) may have given it back.
TEST(RowShifts, ARemovedRowIsFollowedUntilACut) {
    CGXRowShifts log;
    for (std::uint64_t v = 1; v <= 1000; ++v) log.Note(v, 1, 0, 1);
    ROWCOL now = 7;
    EXPECT_TRUE(log.Follow(0, 3, now)); // older than the log keeps, but a removed row stays removed
    EXPECT_EQ(now, 0u);
    EXPECT_FALSE(log.Follow(4, 3, now));
    ASSERT_TRUE(log.Follow(4, 990, now));
    EXPECT_EQ(now, 14u);
    log.Cut(1001);
    EXPECT_FALSE(log.Follow(0, 1000, now));
    EXPECT_TRUE(log.Follow(0, 1001, now));
    EXPECT_EQ(log.LastCut(), 1001u);
}

} // namespace

namespace {

TEST(RowIndexTexts, RowsAreFoundByTheTextTheyShowAndFollowTheirRows) {
    PlainGrid grid(5);
    KXRowIndex index(grid);
    index.AddText('p', "A<3>", 2);
    index.AddText('p', "A<3>", 4);
    index.AddText('p', "A<3>", 4); // written again with the same text: once
    index.AddText('n', "A<3>", 5); // another type of text: apart
    EXPECT_EQ(index.TextRows('p', "A<3>"), (Rows{2, 4}));
    EXPECT_EQ(index.TextRows('n', "A<3>"), (Rows{5}));
    EXPECT_TRUE(index.TextRows('p', "A<2>").empty());
    EXPECT_TRUE(index.TextRows('p', "a<3>").empty()); // texts are matched exactly

    grid.InsertRows(1, 1, 0, gxDo); // 2 -> 3, 4 -> 5
    EXPECT_EQ(index.TextRows('p', "A<3>"), (Rows{3, 5}));
    grid.RemoveRows(3, 3, 0, gxDo); // a removed row is no longer found
    EXPECT_EQ(index.TextRows('p', "A<3>"), (Rows{4}));
    grid.Undo();
    EXPECT_EQ(index.TextRows('p', "A<3>"), (Rows{3, 5}));
}

TEST(RowIndexTexts, ARowWrittenBackAndForthIsReturnedOnceAndAClearForgetsTexts) {
    PlainGrid grid(3);
    KXRowIndex index(grid);
    index.AddText('p', "X", 2);
    index.AddText('p', "Y", 2);
    index.AddText('p', "X", 2);
    EXPECT_EQ(index.TextRows('p', "X"), (Rows{2}));
    EXPECT_EQ(index.TextRows('p', "Y"), (Rows{2})); // an old text keeps its row: callers check the row
    index.Clear();
    EXPECT_TRUE(index.TextRows('p', "X").empty());
}

// Thousands of texts, and texts on many rows, as a fill gives them: each text finds exactly its rows,
// through the table's growth and after a clear.
TEST(RowIndexTexts, ManyTextsEachFindTheirOwnRows) {
    constexpr ROWCOL kRows = 1500;
    constexpr ROWCOL kShared = 7; // every seventh row shows one shared text as its second text
    PlainGrid grid(kRows);
    KXRowIndex index(grid);
    for (int round = 0; round < 2; ++round) {
        for (ROWCOL r = 1; r <= kRows; ++r) {
            index.AddText('p', grid.GetValueRowCol(r, 1), r);
            if (r % kShared == 0) index.AddText('n', "GND", r);
        }
        Rows shared;
        for (ROWCOL r = kShared; r <= kRows; r += kShared) shared.push_back(r);
        EXPECT_EQ(index.TextRows('n', "GND"), shared);
        for (ROWCOL r = 1; r <= kRows; ++r) {
            const Rows got = index.TextRows('p', grid.GetValueRowCol(r, 1));
            ASSERT_EQ(got, grid.RowsShowing(std::to_string(r).c_str())) << r;
        }
        EXPECT_TRUE(index.TextRows('n', std::to_string(kShared).c_str()).empty());
        EXPECT_TRUE(index.TextRows('p', "").empty());
        index.Clear();
        EXPECT_TRUE(index.TextRows('p', "1").empty());
    }
}

// Texts of every length up to twenty, told apart by one character anywhere (its case too) and by
// their type letter, each find their own rows only.
TEST(RowIndexTexts, TextsApartByOneCharacterOrTheirTypeFindTheirOwnRows) {
    std::vector<std::string> texts{""};
    for (std::size_t length = 1; length <= 20; ++length) {
        const std::string base(length, 'a');
        for (std::size_t at = 0; at < length; ++at) {
            std::string text = base;
            text[at] = 'A';
            texts.push_back(text);
        }
        texts.push_back(base);
        texts.push_back(base); // on two rows
    }
    PlainGrid grid(static_cast<ROWCOL>(texts.size()));
    KXRowIndex index(grid);
    std::map<std::string, Rows> rowsOf;
    for (ROWCOL r = 1; r <= texts.size(); ++r) {
        index.AddText('p', texts[r - 1].c_str(), r);
        rowsOf[texts[r - 1]].push_back(r);
    }
    index.AddText('q', "aaaa", 1);
    for (const auto& [text, rows] : rowsOf)
        EXPECT_EQ(index.TextRows('p', text.c_str()), rows) << text;
    EXPECT_EQ(index.TextRows('q', "aaaa"), (Rows{1}));
    EXPECT_TRUE(index.TextRows('q', "aaa").empty());
}

// Rows appended one by one and indexed under several keys each (one key twice, keys many rows share),
// with look-ups, removals and their undo between them, as a fill and the edits after it go: the index
// answers as one built afresh from the rows' texts.
TEST(RowIndex, RowsIndexedAsTheyAreAppendedAgreeWithAFreshIndex) {
    std::mt19937 rng(23);
    PlainGrid grid(1);
    auto keysOf = [](const CString& text) {
        const auto n = static_cast<unsigned>(std::atoi(text));
        return std::vector<KXRowIndex::Key>{KXRowKey::Of('X', n % 5), KXRowKey::Of('Y', n % 37),
                                            KXRowKey::Of('Z', n), KXRowKey::Of('X', n % 5)};
    };
    auto indexRow = [&](KXRowIndex& index, ROWCOL r) {
        for (KXRowIndex::Key key : keysOf(grid.GetValueRowCol(r, 1)))
            index.Add(key, r);
    };
    KXRowIndex kept(grid);
    indexRow(kept, 1);
    int made = 1;
    for (int step = 1; step <= 900; ++step) {
        const ROWCOL n = grid.GetRowCount();
        const unsigned op = rng() % 8;
        if (op <= 1 && n > 3) { // a removal, given back by its undo now and then
            const ROWCOL a = 1 + static_cast<ROWCOL>(rng() % n);
            grid.RemoveRows(a, std::min(n, a + static_cast<ROWCOL>(rng() % 2)), 0, gxDo);
            if (op == 1) {
                kept.Rows(KXRowKey::Of('X', static_cast<unsigned>(rng() % 5)));
                grid.Undo();
            }
        } else if (op == 2) {
            kept.Rows(KXRowKey::Of('X', static_cast<unsigned>(rng() % 5)));
        } else {
            grid.InsertRows(n + 1, 1, 0, gxDo);
            grid.SetValueRange(CGXRange(n + 1, 1), std::to_string(++made).c_str());
            indexRow(kept, n + 1);
        }
        if (step % 100 != 0) continue;
        KXRowIndex fresh(grid);
        for (ROWCOL r = 1; r <= grid.GetRowCount(); ++r)
            indexRow(fresh, r);
        for (unsigned k = 0; k < 37; ++k) {
            ASSERT_EQ(kept.Rows(KXRowKey::Of('X', k)), fresh.Rows(KXRowKey::Of('X', k))) << step;
            ASSERT_EQ(kept.Rows(KXRowKey::Of('Y', k)), fresh.Rows(KXRowKey::Of('Y', k))) << step;
        }
        for (ROWCOL r = 1; r <= grid.GetRowCount(); ++r) {
            const KXRowIndex::Key own = keysOf(grid.GetValueRowCol(r, 1))[2];
            ASSERT_EQ(kept.Rows(own), (Rows{r})) << step;
        }
    }
}

// Identities the index meets out of their order (far past the others, or before the first one met)
// still find their rows, as the rows between are indexed later and rows come and go around them.
TEST(RowIndex, IdentitiesMetOutOfOrderFollowTheirRows) {
    constexpr ROWCOL kRows = 5000;
    PlainGrid grid(kRows);
    KXRowIndex first(grid); // gives every row its identity, in order
    for (ROWCOL r = 1; r <= kRows; ++r) first.Add(KXRowKey::Net(r), r);
    KXRowIndex index(grid);
    const ROWCOL order[] = {2500, kRows, 1, 2501, 3};
    for (ROWCOL r : order) index.Add(KXRowKey::Net(r), r);
    for (ROWCOL r = 4; r < kRows; r += 5) index.Add(KXRowKey::Net(r), r); // fills in between
    grid.InsertRows(2, 2, 0, gxDo);
    grid.RemoveRows(10, 10, 0, gxDo);
    for (ROWCOL r : order) {
        const ROWCOL now = r < 2 ? r : r + 2 - (r + 2 > 10 ? 1 : 0);
        EXPECT_EQ(index.Rows(KXRowKey::Net(r)), (Rows{now})) << r;
        EXPECT_EQ(grid.GetValueRowCol(now, 1), std::to_string(r).c_str());
    }
    for (ROWCOL r = 4; r < kRows; r += 5) {
        const Rows got = index.Rows(KXRowKey::Net(r));
        ASSERT_EQ(got.size(), r == 8 ? 0u : 1u) << r; // row 8 moved to 10 and was removed
        if (got.empty()) continue;
        ASSERT_EQ(grid.GetValueRowCol(got.front(), 1), std::to_string(r).c_str());
    }
}

} // namespace
