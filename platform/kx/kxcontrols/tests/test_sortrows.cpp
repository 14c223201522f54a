#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kxcontrols/KXSortRows.h"

namespace {

std::vector<KXSortItem> Rows(std::initializer_list<std::pair<const char*, int>> keysAndLevels) {
    std::vector<KXSortItem> rows;
    for (auto& [key, level] : keysAndLevels) rows.push_back(KXSortItem{key, level, false});
    return rows;
}

std::vector<std::string> Keys(const std::vector<KXSortItem>& rows, const std::vector<size_t>& order) {
    std::vector<std::string> out;
    for (size_t i : order) out.push_back(rows[i].key);
    return out;
}

using V = std::vector<std::string>;

} // namespace

TEST(SortRows, AlphabeticAndAlphanumericOrders) {
    auto rows = Rows({{"A10", 1}, {"a2", 1}, {"A1", 1}, {"B", 1}});
    KXSortOptions opt;
    opt.alpha = true;
    EXPECT_EQ(Keys(rows, KXComputeSortOrder(rows, opt)), (V{"A1", "A10", "a2", "B"}));
    opt.alpha = false;
    EXPECT_EQ(Keys(rows, KXComputeSortOrder(rows, opt)), (V{"A1", "a2", "A10", "B"}));
    opt.ascending = false;
    EXPECT_EQ(Keys(rows, KXComputeSortOrder(rows, opt)), (V{"B", "A10", "a2", "A1"}));
}

TEST(SortRows, AlphanumericHandlesBusBitsLeadingZerosAndHugeNumbers) {
    KXSortOptions opt;
    opt.alpha = false;
    EXPECT_LT(KXCompareSortKeys("D[9]", "D[10]", opt), 0);
    EXPECT_LT(KXCompareSortKeys("D[2:0]", "D[10:0]", opt), 0);
    EXPECT_EQ(KXCompareSortKeys("abc", "ABC", opt), 0);
    EXPECT_LT(KXCompareSortKeys("x7", "x007", opt), 0); // equal value: fewer zeros first
    EXPECT_LT(KXCompareSortKeys("n99999999999999999999999", "n100000000000000000000000", opt), 0);
    opt.caseSensitive = true;
    EXPECT_LT(KXCompareSortKeys("B", "a", opt), 0);
}

TEST(SortRows, StableForEqualKeysInBothDirections) {
    std::vector<KXSortItem> rows = {{"x", 1, false}, {"y", 1, false}, {"X", 1, false}, {"y", 1, false}};
    KXSortOptions opt;
    EXPECT_EQ(KXComputeSortOrder(rows, opt), (std::vector<size_t>{0, 2, 1, 3}));
    opt.ascending = false;
    EXPECT_EQ(KXComputeSortOrder(rows, opt), (std::vector<size_t>{1, 3, 0, 2}));
}

TEST(SortRows, ChildRowsStayUnderTheirParentInTheirOrder) {
    // A vector pin "D" with bits 2, 0, 1 (in that order), a scalar "C", a diff pair "P" with a bit row and legs.
    auto rows = Rows({{"D", 1}, {"D2", 2}, {"D0", 2}, {"D1", 2}, {"C", 1}, {"P", 1}, {"P0", 2}, {"P0+", 3},
                      {"P0-", 3}, {"B", 1}});
    KXSortOptions opt;
    opt.skipLevels = {2, 3};
    EXPECT_EQ(Keys(rows, KXComputeSortOrder(rows, opt)),
              (V{"B", "C", "D", "D2", "D0", "D1", "P", "P0", "P0+", "P0-"}));
    opt.ascending = false;
    EXPECT_EQ(Keys(rows, KXComputeSortOrder(rows, opt)),
              (V{"P", "P0", "P0+", "P0-", "D", "D2", "D0", "D1", "C", "B"}));
    // Without skip levels every row sorts on its own.
    opt.skipLevels.clear();
    opt.ascending = true;
    EXPECT_EQ(Keys(rows, KXComputeSortOrder(rows, opt)).front(), "B");
}

TEST(SortRows, OnlyTheListedLevelsAreChildren) {
    auto rows = Rows({{"Z", 1}, {"z1", 2}, {"A", 1}, {"a3", 3}});
    KXSortOptions opt;
    opt.skipLevels = {2};
    // Level 3 is not a skip level here, so "a3" sorts on its own.
    EXPECT_EQ(Keys(rows, KXComputeSortOrder(rows, opt)), (V{"A", "a3", "Z", "z1"}));
}

TEST(SortRows, LeadingChildWithoutParentCountsAsParent) {
    auto rows = Rows({{"m", 2}, {"b", 1}, {"b1", 2}, {"a", 1}});
    KXSortOptions opt;
    opt.skipLevels = {2};
    EXPECT_EQ(Keys(rows, KXComputeSortOrder(rows, opt)), (V{"a", "b", "b1", "m"}));
}

TEST(SortRows, EmptyKeysGoLastInBothDirectionsUnlessAskedOtherwise) {
    auto rows = Rows({{"", 1}, {"b", 1}, {"", 1}, {"a", 1}});
    KXSortOptions opt;
    EXPECT_EQ(KXComputeSortOrder(rows, opt), (std::vector<size_t>{3, 1, 0, 2}));
    opt.ascending = false;
    EXPECT_EQ(KXComputeSortOrder(rows, opt), (std::vector<size_t>{1, 3, 0, 2}));
    opt.blanksLast = false;
    EXPECT_EQ(KXComputeSortOrder(rows, opt), (std::vector<size_t>{1, 3, 0, 2}));
    opt.ascending = true;
    EXPECT_EQ(KXComputeSortOrder(rows, opt), (std::vector<size_t>{0, 2, 3, 1}));
}

TEST(SortRows, FrozenBlankRowsKeepTheirPlaces) {
    std::vector<KXSortItem> rows = {{"c", 1, false}, {"", 1, true}, {"a", 1, false}, {"b", 1, false},
                                    {"", 1, true}};
    KXSortOptions opt;
    opt.freezeBlankRows = true;
    EXPECT_EQ(KXComputeSortOrder(rows, opt), (std::vector<size_t>{2, 1, 3, 0, 4}));
    opt.freezeBlankRows = false;
    EXPECT_EQ(KXComputeSortOrder(rows, opt), (std::vector<size_t>{2, 3, 0, 1, 4}));
}

TEST(SortRows, ChildRowsAfterAFrozenRowStayWithTheirParent) {
    std::vector<KXSortItem> rows = {{"b", 1, false}, {"", 1, true}, {"c", 2, false}, {"a", 1, false}};
    KXSortOptions opt;
    opt.freezeBlankRows = true;
    opt.skipLevels = {2};
    EXPECT_EQ(KXComputeSortOrder(rows, opt), (std::vector<size_t>{3, 1, 0, 2}));
}

TEST(SortRows, NumericKindPutsNumbersFirstByValue) {
    auto rows = Rows({{"10", 1}, {"x", 1}, {"9.5", 1}, {"-1", 1}, {"1e2", 1}});
    KXSortOptions opt;
    opt.kind = 0;
    EXPECT_EQ(Keys(rows, KXComputeSortOrder(rows, opt)), (V{"-1", "9.5", "10", "1e2", "x"}));
}

TEST(SortRows, ResultIsAPermutation) {
    std::vector<KXSortItem> rows;
    for (int i = 0; i < 500; ++i)
        rows.push_back(KXSortItem{std::to_string((i * 7919) % 101), (i % 5 == 0) ? 1 : 2, (i % 37) == 0});
    KXSortOptions opt;
    opt.alpha = false;
    opt.skipLevels = {2};
    opt.freezeBlankRows = true;
    auto order = KXComputeSortOrder(rows, opt);
    std::vector<bool> seen(rows.size(), false);
    ASSERT_EQ(order.size(), rows.size());
    for (size_t i : order) {
        ASSERT_LT(i, rows.size());
        EXPECT_FALSE(seen[i]);
        seen[i] = true;
    }
}

#include <random>

TEST(SortRows, RandomHierarchiesKeepGroupsWholeOrderedAndStable) {
    std::mt19937 rng(777);
    const char* keys[] = {"", "a", "A", "b", "a2", "a10", "B1"};
    for (int round = 0; round < 300; ++round) {
        std::vector<KXSortItem> rows;
        int n = 1 + static_cast<int>(rng() % 30);
        for (int i = 0; i < n; ++i)
            rows.push_back(KXSortItem{keys[rng() % 7], 1 + static_cast<int>(rng() % 3), false});
        KXSortOptions opt;
        opt.ascending = rng() % 2;
        opt.alpha = rng() % 2;
        opt.skipLevels = {2, 3};
        auto order = KXComputeSortOrder(rows, opt);
        ASSERT_EQ(order.size(), rows.size());
        // Groups: a parent (first row, or a row of level 1) with the child rows that follow it.
        std::vector<size_t> groupOf(rows.size());
        std::vector<size_t> heads;
        for (size_t i = 0; i < rows.size(); ++i) {
            if (i == 0 || rows[i].level == 1) heads.push_back(i);
            groupOf[i] = heads.size() - 1;
        }
        std::vector<size_t> sortedHeads;
        for (size_t k = 0; k < order.size(); ++k) {
            size_t i = order[k];
            if (k > 0 && groupOf[i] == groupOf[order[k - 1]]) {
                EXPECT_EQ(i, order[k - 1] + 1) << "child rows stay in place under their parent";
            } else {
                EXPECT_EQ(i, heads[groupOf[i]]) << "a group starts with its parent";
                sortedHeads.push_back(i);
            }
        }
        ASSERT_EQ(sortedHeads.size(), heads.size());
        for (size_t k = 1; k < sortedHeads.size(); ++k) {
            const std::string& prev = rows[sortedHeads[k - 1]].key;
            const std::string& cur = rows[sortedHeads[k]].key;
            if (prev.empty()) {
                EXPECT_TRUE(cur.empty()) << "empty keys go last";
                EXPECT_LT(sortedHeads[k - 1], sortedHeads[k]);
                continue;
            }
            if (cur.empty()) continue;
            int c = KXCompareSortKeys(prev, cur, opt);
            EXPECT_TRUE(opt.ascending ? c <= 0 : c >= 0);
            if (c == 0) { EXPECT_LT(sortedHeads[k - 1], sortedHeads[k]) << "equal keys keep their order"; }
        }
    }
}

// The keys order texts as the comparison does, both ways of case: texts of letters, case, punctuation
// and digit runs with leading zeros, runs of different lengths, and characters on either side of the digits.
TEST(SortRows, AlphaNumericKeysOrderAsTheComparison) {
    const std::string alphabet = "aAbZz0019_<>[]: ~";
    std::mt19937 random(11);
    std::vector<std::string> texts = {"", "0", "00", "A2", "a10", "D[9]", "D[10]", "U010", "U10", "U1O",
                                      "N" + std::string(254, '7'), "N" + std::string(255, '7'), "N" + std::string(256, '1'),
                                      "N" + std::string(300, '0') + "5", "N" + std::string(255, '0') + "7"};
    for (int i = 0; i < 400; ++i) {
        std::string t;
        for (size_t n = random() % 7; n > 0; --n) t.push_back(alphabet[random() % alphabet.size()]);
        texts.push_back(t);
    }
    auto sign = [](int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
    for (bool cs : {false, true}) {
        KXSortOptions opt;
        opt.alpha = false;
        opt.caseSensitive = cs;
        for (const std::string& a : texts)
            for (const std::string& b : texts)
                ASSERT_EQ(sign(KXAlphaNumericKey(a, cs).compare(KXAlphaNumericKey(b, cs))), KXCompareSortKeys(a, b, opt))
                    << "'" << a << "' and '" << b << "', case " << (cs ? "kept" : "ignored");
    }
}

namespace {

// The order a plain stable sort of the parent rows by KXCompareSortKeys gives, their child rows after
// them: what KXComputeSortOrder must give however it gets there.
std::vector<size_t> OrderByComparison(const std::vector<KXSortItem>& rows, const KXSortOptions& opt) {
    std::vector<std::vector<size_t>> groups;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (groups.empty() || !opt.skipLevels.count(rows[i].level)) groups.emplace_back();
        groups.back().push_back(i);
    }
    std::stable_sort(groups.begin(), groups.end(), [&](const auto& x, const auto& y) {
        const std::string& a = rows[x.front()].key;
        const std::string& b = rows[y.front()].key;
        if (opt.blanksLast && a.empty() != b.empty()) return b.empty();
        if (opt.blanksLast && a.empty()) return false;
        const int c = KXCompareSortKeys(a, b, opt);
        return opt.ascending ? c < 0 : c > 0;
    });
    std::vector<size_t> order;
    for (const auto& g : groups)
        order.insert(order.end(), g.begin(), g.end());
    return order;
}

} // namespace

// Keys that agree in their first eight characters or more (or but for case, a digit run, a trailing
// zero byte) and rows already in order: every option gives the order of the plain comparison sort.
TEST(SortRows, KeysSharingLongBeginningsSortAsTheComparisonSorts) {
    std::mt19937 rng(2024);
    const std::vector<std::string> stems = {"",   "IO_L12P_T1_", "io_l12p_t1_", "IO_L1",
                                            "DQ", "DQ0",         "ADDR_BUS_",   "x"};
    const std::vector<std::string> tails = {
        "", "0", "1", "10", "9", "010", "A", "a", "_B", std::string(1, '\0'), "~"};
    for (int round = 0; round < 400; ++round) {
        std::vector<KXSortItem> rows;
        const int n = 1 + static_cast<int>(rng() % 40);
        for (int i = 0; i < n; ++i)
            rows.push_back(KXSortItem{stems[rng() % stems.size()] + tails[rng() % tails.size()] +
                                          tails[rng() % tails.size()],
                                      1 + static_cast<int>(rng() % 3), false});
        KXSortOptions opt;
        opt.ascending = rng() % 2;
        opt.alpha = rng() % 2;
        opt.caseSensitive = rng() % 2;
        opt.blanksLast = rng() % 4 != 0;
        if (rng() % 2) opt.skipLevels = {2, 3};
        if (round % 10 == 0) { // already in order
            const std::vector<size_t> order = OrderByComparison(rows, opt);
            std::vector<KXSortItem> sorted;
            for (size_t i : order)
                sorted.push_back(rows[i]);
            rows = sorted;
        }
        ASSERT_EQ(KXComputeSortOrder(rows, opt), OrderByComparison(rows, opt)) << "round " << round;
    }
}
