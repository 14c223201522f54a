// The flat map against std::map: growth, erase (of entries in and out of probe runs), many keys.
#include "grid/KXFlatMap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <vector>

namespace {

using Map = KXFlatMap<std::vector<int>>;

// Every key of the reference is found with its value, and the sizes agree.
void ExpectSame(const Map& map, const std::map<std::uint64_t, std::vector<int>>& truth) {
    ASSERT_EQ(map.Size(), truth.size());
    for (const auto& [key, value] : truth) {
        const auto* found = map.Find(key);
        ASSERT_NE(found, nullptr) << key;
        EXPECT_EQ(*found, value) << key;
    }
}

TEST(FlatMap, GrowsKeepingEveryKeyAndErasesDownToNone) {
    Map map;
    std::map<std::uint64_t, std::vector<int>> truth;
    EXPECT_EQ(map.Find(7), nullptr);
    EXPECT_FALSE(map.Erase(7));
    // Keys that differ only in their high bits, and key 0, through several growths.
    for (int i = 0; i < 5000; ++i) {
        const std::uint64_t key = (static_cast<std::uint64_t>(i % 7) << 56) | static_cast<std::uint64_t>(i / 7);
        map[key].push_back(i);
        truth[key].push_back(i);
    }
    map[0].push_back(-1);
    truth[0].push_back(-1);
    ExpectSame(map, truth);
    EXPECT_EQ(map.Find(std::uint64_t{1} << 60), nullptr);
    for (auto it = truth.begin(); it != truth.end();) {
        EXPECT_TRUE(map.Erase(it->first));
        EXPECT_FALSE(map.Erase(it->first));
        EXPECT_EQ(map.Find(it->first), nullptr);
        it = truth.erase(it);
        if (truth.size() % 500 == 0) ExpectSame(map, truth);
    }
    EXPECT_EQ(map.Size(), 0u);
    map[3].push_back(3);
    EXPECT_EQ(*map.Find(3), std::vector<int>{3});
    map.Clear();
    EXPECT_EQ(map.Find(3), nullptr);
    EXPECT_EQ(map.Size(), 0u);
}

// Random inserts and erases over a small key range, so that probe runs form, wrap and are cut.
TEST(FlatMap, RandomInsertsAndErasesAgreeWithAnOrderedMap) {
    std::mt19937_64 random(57);
    for (const std::uint64_t range : {40u, 300u, 5000u}) {
        Map map;
        std::map<std::uint64_t, std::vector<int>> truth;
        for (int step = 0; step < 20000; ++step) {
            const std::uint64_t key = random() % range;
            if (random() % 3 == 0) {
                EXPECT_EQ(map.Erase(key), truth.erase(key) == 1);
            } else {
                map[key].push_back(step);
                truth[key].push_back(step);
            }
            if (step % 997 == 0) ExpectSame(map, truth);
        }
        ExpectSame(map, truth);
    }
}

// Room made before and between inserts (more than there is, less, none at all) keeps every key found,
// with the keys in it before and the values their vectors hold.
TEST(FlatMap, RoomMadeAheadKeepsEveryKeyAndErasesStillWork) {
    Map map;
    std::map<std::uint64_t, std::vector<int>> truth;
    map.Reserve(0);
    EXPECT_EQ(map.Find(3), nullptr);
    int step = 0;
    for (const std::size_t room : {std::size_t{10}, std::size_t{3000}, std::size_t{1}, std::size_t{0}, std::size_t{700}}) {
        map.Reserve(room);
        ExpectSame(map, truth);
        for (std::size_t i = 0; i < 600; ++i, ++step) {
            const std::uint64_t key = (static_cast<std::uint64_t>(step % 5) << 56) | static_cast<std::uint64_t>(step / 3);
            map[key].push_back(step);
            truth[key].push_back(step);
        }
        ExpectSame(map, truth);
        for (std::uint64_t key = static_cast<std::uint64_t>(step / 3) - 40; key < static_cast<std::uint64_t>(step / 3); ++key)
            EXPECT_EQ(map.Erase(key), truth.erase(key) == 1);
        ExpectSame(map, truth);
    }
}

} // namespace
