// The generator's shuffle over the C random() sequence.

#include "platform/core/Random.h"
#include "shell/generator/Shuffle.h"

#include <algorithm>
#include <map>

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(Shuffle, ShortArraysDrawNothing) {
    core::cRandom().seed(7);
    const core::CRandom untouched = core::cRandom();
    std::vector<int> empty;
    std::vector<int> one{5};
    shuffleArray(empty);
    shuffleArray(one);
    EXPECT_EQ(one, std::vector<int>{5});
    core::CRandom expected = untouched;
    EXPECT_EQ(core::cRandom().next(), expected.next());
}

TEST(Shuffle, OneDrawDecidesForTwo) {
    for (uint32_t seed = 1; seed <= 50; ++seed) {
        core::cRandom().seed(seed);
        core::CRandom probe = core::cRandom();
        const bool even = probe.next() % 2 == 0;
        std::vector<int> pair{1, 2};
        shuffleArray(pair);
        // An even draw exchanges the last element with the first.
        EXPECT_EQ(pair, even ? std::vector<int>({2, 1}) : std::vector<int>({1, 2}));
        EXPECT_EQ(core::cRandom().next(), probe.next()) << "one draw, no more";
    }
}

TEST(Shuffle, DrawsAboveTheCountAreDrawnAgain) {
    // For three elements the draw is masked to 0-3; a 3 is thrown away.
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        core::cRandom().seed(seed);
        core::CRandom probe = core::cRandom();
        int32_t draw = probe.next() % 4;
        if (draw != 3)
            continue;
        while (draw == 3)
            draw = probe.next() % 4;
        std::vector<int> three{0, 1, 2};
        shuffleArray(three);
        EXPECT_EQ(three[2], draw) << "the drawn element moves last";
        return;
    }
    FAIL() << "no seed starts with a throw-away draw";
}

TEST(Shuffle, EveryOrderIsEquallyLikely) {
    core::cRandom().seed(1);
    std::map<std::vector<int>, int> orders;
    for (int i = 0; i < 6000; ++i) {
        std::vector<int> three{0, 1, 2};
        shuffleArray(three);
        ++orders[three];
    }
    ASSERT_EQ(orders.size(), 6u);
    for (const auto& [order, count] : orders) {
        EXPECT_GT(count, 850);
        EXPECT_LT(count, 1150);
    }
}

} // namespace
} // namespace zm
