#include "afx/afxdlg.h"
#include "afx/afxtiered.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {
// Blocks of four: a few dozen items already span many blocks.
using Small = CTieredVector<int, 2>;

template <class V>
std::vector<int> Items(const V& v) {
    std::vector<int> out;
    for (size_t i = 0; i < v.size(); ++i) out.push_back(v[i]);
    return out;
}

template <class V>
V Counting(int n) {
    V v;
    for (int i = 0; i < n; ++i) v.push_back(i);
    return v;
}

std::vector<int> Iota(int n) {
    std::vector<int> out(static_cast<size_t>(n));
    std::iota(out.begin(), out.end(), 0);
    return out;
}
} // namespace

// ---------------------------------------------------------------- insert and erase by position

TEST(TieredVector, InsertAtFrontMiddleAndBackKeepsTheOrder) {
    for (int n : {0, 1, 3, 4, 5, 16, 17, 33}) {
        for (int at : {0, n / 2, n}) {
            Small v = Counting<Small>(n);
            std::vector<int> want = Iota(n);
            v.insert(v.begin() + at, -1);
            want.insert(want.begin() + at, -1);
            EXPECT_EQ(Items(v), want) << "size " << n << " at " << at;
            EXPECT_EQ(v.size(), want.size());
        }
    }
}

TEST(TieredVector, EraseAtFrontMiddleAndBackKeepsTheOrder) {
    for (int n : {1, 4, 5, 16, 17, 33}) {
        for (int at : {0, n / 2, n - 1}) {
            Small v = Counting<Small>(n);
            std::vector<int> want = Iota(n);
            auto next = v.erase(v.begin() + at);
            want.erase(want.begin() + at);
            EXPECT_EQ(Items(v), want) << "size " << n << " at " << at;
            EXPECT_EQ(next - v.begin(), at); // the item after the erased one takes its index
        }
    }
}

TEST(TieredVector, InsertAndEraseAtEveryBlockEdge) {
    // Positions on either side of each block boundary, where items pass from one ring to the next.
    const int n = 40;
    for (int at = 0; at <= n; ++at) {
        Small v = Counting<Small>(n);
        v.insert(v.begin() + at, 1000);
        ASSERT_EQ(v[static_cast<size_t>(at)], 1000) << at;
        v.erase(v.begin() + at);
        ASSERT_EQ(Items(v), Iota(n)) << at;
    }
}

TEST(TieredVector, RandomEditsMatchAStdVector) {
    std::mt19937 rng(7);
    Small v;
    std::vector<int> want;
    for (int step = 0; step < 6000; ++step) {
        const unsigned op = rng() % 10;
        if (op < 5 || want.empty()) {
            const size_t at = rng() % (want.size() + 1);
            v.insert(v.begin() + static_cast<std::ptrdiff_t>(at), step);
            want.insert(want.begin() + static_cast<std::ptrdiff_t>(at), step);
        } else if (op < 8) {
            const size_t at = rng() % want.size();
            v.erase(v.begin() + static_cast<std::ptrdiff_t>(at));
            want.erase(want.begin() + static_cast<std::ptrdiff_t>(at));
        } else if (op == 8) {
            v.push_back(step);
            want.push_back(step);
        } else {
            v.pop_back();
            want.pop_back();
        }
        ASSERT_EQ(v.size(), want.size()) << "step " << step;
        if (step % 97 == 0) {
            ASSERT_EQ(Items(v), want) << "step " << step;
        }
    }
    EXPECT_EQ(Items(v), want);
}

TEST(TieredVector, RangeInsertAndEraseEitherWay) {
    // A short range goes item by item, a long one shifts the tail: both must give the same result.
    for (int n : {0, 7, 50}) {
        for (int count : {1, 3, 30}) {
            for (int at : {0, n / 3, n}) {
                Small v = Counting<Small>(n);
                std::vector<int> want = Iota(n);
                std::vector<int> add(static_cast<size_t>(count));
                std::iota(add.begin(), add.end(), 500);
                v.insert(v.begin() + at, add.begin(), add.end());
                want.insert(want.begin() + at, add.begin(), add.end());
                ASSERT_EQ(Items(v), want) << n << " " << count << " " << at;
                v.erase(v.begin() + at, v.begin() + at + count);
                ASSERT_EQ(Items(v), Iota(n)) << n << " " << count << " " << at;
            }
        }
    }
}

TEST(TieredVector, MovedInRangeTakesOwnership) {
    CTieredVector<std::unique_ptr<int>, 2> v;
    for (int i = 0; i < 10; ++i) v.push_back(std::make_unique<int>(i));
    std::vector<std::unique_ptr<int>> fresh;
    for (int i = 0; i < 3; ++i) fresh.push_back(std::make_unique<int>(100 + i));
    v.insert(v.begin() + 5, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    ASSERT_EQ(v.size(), 13u);
    EXPECT_EQ(*v[5], 100);
    EXPECT_EQ(*v[7], 102);
    EXPECT_EQ(*v[8], 5);
    EXPECT_EQ(*v[12], 9);
}

// ---------------------------------------------------------------- index access and iteration

TEST(TieredVector, IndexAccessAcrossBlocksAfterFrontInserts) {
    // Inserting at the front turns every ring: the index must still find each item.
    Small v;
    for (int i = 0; i < 45; ++i) v.insert(v.begin(), i);
    for (size_t i = 0; i < v.size(); ++i) ASSERT_EQ(v[i], 44 - static_cast<int>(i)) << i;
    EXPECT_EQ(v.front(), 44);
    EXPECT_EQ(v.back(), 0);
    v[13] = -13; // writes go to the same place reads come from
    EXPECT_EQ(v[13], -13);
    EXPECT_EQ(*(v.begin() + 13), -13);
}

TEST(TieredVector, IteratorsWalkAndCompareLikeAVectors) {
    Small v = Counting<Small>(21);
    int expect = 0;
    for (int x : v) EXPECT_EQ(x, expect++);
    EXPECT_EQ(expect, 21);
    const Small& c = v;
    Small::const_iterator first = v.begin(); // a mutable iterator becomes a const one
    EXPECT_EQ(first, c.begin());
    EXPECT_EQ(c.end() - first, 21);
    EXPECT_LT(first, c.end());
    auto it = c.end();
    --it;
    EXPECT_EQ(*it, 20);
    EXPECT_EQ(it[-20], 0);
    EXPECT_EQ(std::distance(c.begin(), c.end()), 21);
    std::vector<int> back(c.begin(), c.end());
    EXPECT_EQ(back, Iota(21));
}

// ---------------------------------------------------------------- std algorithms through the iterators

TEST(TieredVector, SortsAndSearchesThroughTheStdAlgorithms) {
    std::mt19937 rng(3);
    Small v;
    std::vector<int> want;
    for (int i = 0; i < 300; ++i) {
        const int x = static_cast<int>(rng() % 100);
        v.push_back(x);
        want.push_back(x);
    }
    std::sort(v.begin(), v.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(Items(v), want);
    EXPECT_TRUE(std::is_sorted(v.begin(), v.end()));
    for (int key : {-1, 0, 42, 99, 100}) {
        EXPECT_EQ(std::lower_bound(v.begin(), v.end(), key) - v.begin(),
                  std::lower_bound(want.begin(), want.end(), key) - want.begin());
        EXPECT_EQ(std::upper_bound(v.begin(), v.end(), key) - v.begin(),
                  std::upper_bound(want.begin(), want.end(), key) - want.begin());
    }
    std::reverse(v.begin(), v.end());
    std::rotate(v.begin(), v.begin() + 7, v.end());
    std::reverse(want.begin(), want.end());
    std::rotate(want.begin(), want.begin() + 7, want.end());
    EXPECT_EQ(Items(v), want);
}

TEST(TieredVector, StableSortAndMergeKeepEqualItemsInTheirOrder) {
    struct Tagged {
        int key = 0, tag = 0;
    };
    CTieredVector<Tagged, 2> v;
    std::mt19937 rng(5);
    for (int i = 0; i < 200; ++i) v.push_back(Tagged{static_cast<int>(rng() % 10), i});
    auto byKey = [](const Tagged& a, const Tagged& b) { return a.key < b.key; };
    std::stable_sort(v.begin(), v.begin() + 120, byKey);
    std::stable_sort(v.begin() + 120, v.end(), byKey);
    std::inplace_merge(v.begin(), v.begin() + 120, v.end(), byKey);
    for (size_t i = 1; i < v.size(); ++i) {
        ASSERT_LE(v[i - 1].key, v[i].key) << i;
        if (v[i - 1].key == v[i].key) {
            ASSERT_LT(v[i - 1].tag, v[i].tag) << i; // stable
        }
    }
}

// ---------------------------------------------------------------- storage

TEST(TieredVector, ErasedItemsReleaseWhatTheyHold) {
    auto held = std::make_shared<int>(1);
    {
        CTieredVector<std::shared_ptr<int>, 2> v;
        for (int i = 0; i < 20; ++i) v.push_back(held);
        EXPECT_EQ(held.use_count(), 21);
        v.erase(v.begin() + 2);   // front half of a ring
        v.erase(v.begin() + 9);   // back half
        v.erase(v.begin(), v.begin() + 3);
        v.pop_back();
        EXPECT_EQ(held.use_count(), 15);
        v.resize(4);
        EXPECT_EQ(held.use_count(), 5);
        v.clear();
        EXPECT_EQ(held.use_count(), 1);
        v.push_back(held);
    }
    EXPECT_EQ(held.use_count(), 1);
}

TEST(TieredVector, ResizeGrowsWithDefaultsAndShrinks) {
    CTieredVector<std::string, 2> v(3);
    EXPECT_EQ(v.size(), 3u);
    EXPECT_EQ(v[2], "");
    v[1] = "x";
    v.resize(30);
    EXPECT_EQ(v[1], "x");
    EXPECT_EQ(v[29], "");
    v.resize(2);
    EXPECT_EQ(v.size(), 2u);
    v.resize(9);
    EXPECT_EQ(v[2], ""); // what a shrink dropped does not come back
}

TEST(TieredVector, GoingToAndFroAcrossABlockEdgeKeepsOneSpareBlock) {
    Small v = Counting<Small>(8); // two full blocks
    EXPECT_EQ(v.BlockCount(), 2u);
    for (int i = 0; i < 5; ++i) {
        v.insert(v.begin() + 3, 99);
        EXPECT_EQ(v.BlockCount(), 3u);
        v.erase(v.begin() + 3);
        EXPECT_EQ(v.BlockCount(), 3u); // the emptied block stays for the next insert
        ASSERT_EQ(Items(v), Iota(8));
    }
    v.erase(v.begin()); // the spare goes before anything is taken away
    EXPECT_EQ(v.BlockCount(), 2u);
    EXPECT_EQ(Items(v), std::vector<int>({1, 2, 3, 4, 5, 6, 7}));
}

TEST(TieredVector, CopiesAreIndependent) {
    Small a = Counting<Small>(10);
    Small b = a;
    b.insert(b.begin(), -1);
    b[5] = 50;
    EXPECT_EQ(Items(a), Iota(10));
    EXPECT_EQ(b.size(), 11u);
    a.swap(b);
    EXPECT_EQ(a.size(), 11u);
    EXPECT_EQ(Items(b), Iota(10));
}

// ---------------------------------------------------------------- large sizes

TEST(TieredVector, LargeListWithTheDefaultBlocks) {
    // Well past many blocks of the default size: sorted inserts of a shuffled sequence end sorted.
    const int n = 40000;
    std::vector<int> order = Iota(n);
    std::shuffle(order.begin(), order.end(), std::mt19937(9));
    CTieredVector<int> v;
    for (int x : order) v.insert(std::upper_bound(v.begin(), v.end(), x), x);
    ASSERT_EQ(v.size(), static_cast<size_t>(n));
    EXPECT_EQ(Items(v), Iota(n));
    EXPECT_EQ(v.BlockCount(), (static_cast<size_t>(n) + CTieredVector<int>::kBlock - 1) / CTieredVector<int>::kBlock);
    // Remove every odd item from the middle outwards; the even ones stay in order.
    for (int i = n - 1; i >= 0; --i)
        if (i % 2) v.erase(v.begin() + i);
    ASSERT_EQ(v.size(), static_cast<size_t>(n / 2));
    for (size_t i = 0; i < v.size(); ++i) ASSERT_EQ(v[i], static_cast<int>(2 * i)) << i;
}

TEST(TieredVector, LargeSortedItemListFollowsAMirror) {
    // The list box's items across many blocks: sorted adds, batch adds and deletes agree with a
    // plain sorted vector of the same texts.
    CAfxItemList list;
    std::vector<std::string> mirror;
    auto lessNoCase = [](const std::string& a, const std::string& b) { return CString(a.c_str()).CompareNoCase(b.c_str()) < 0; };
    std::mt19937 rng(13);
    auto word = [&] { return "N" + std::to_string(rng() % 5000); };
    for (int i = 0; i < 3000; ++i) {
        const std::string w = word();
        const int at = list.Add(w.c_str(), TRUE);
        auto pos = std::upper_bound(mirror.begin(), mirror.end(), w, lessNoCase);
        ASSERT_EQ(at, pos - mirror.begin()) << w;
        mirror.insert(pos, w);
    }
    std::vector<CAfxItemList::NewItem> batch;
    for (int i = 0; i < 700; ++i) {
        const std::string w = word();
        batch.push_back({w.c_str(), 0});
        mirror.insert(std::upper_bound(mirror.begin(), mirror.end(), w, lessNoCase), w);
    }
    list.AddMany(std::move(batch), TRUE);
    for (int i = 0; i < 500; ++i) {
        const int at = static_cast<int>(rng() % mirror.size());
        list.Delete(at);
        mirror.erase(mirror.begin() + at);
    }
    ASSERT_EQ(list.Count(), static_cast<int>(mirror.size()));
    for (size_t i = 0; i < mirror.size(); ++i) ASSERT_EQ(list.m_items[i].text.str(), mirror[i]) << i;
    const std::string probe = mirror[mirror.size() / 2];
    const int found = list.Find(-1, probe.c_str(), TRUE);
    ASSERT_GE(found, 0);
    EXPECT_EQ(list.m_items[static_cast<size_t>(found)].text.str(), probe);
    EXPECT_EQ(found, std::lower_bound(mirror.begin(), mirror.end(), probe, lessNoCase) - mirror.begin());
}
