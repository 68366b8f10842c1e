#include "platform/core/Random.h"

#include <cstdlib>
#include <set>

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(CRandom, MatchesTheCLibrarySequence) {
    // The C library itself is the oracle: an unseeded program draws as if seeded with 1.
    for (uint32_t seed : {1u, 42u, 0x80000001u, 0xFFFFFFFFu}) {
        ::srandom(seed);
        CRandom generator(seed);
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(generator.next(), ::random()) << "seed " << seed << " draw " << i;
    }
    EXPECT_EQ(CRandom().next(), 1804289383);
    CRandom zero(0);
    EXPECT_EQ(zero.next(), 1804289383);
}

TEST(CRandom, SeedingRestartsTheSequence) {
    CRandom generator;
    const int32_t first = generator.next();
    generator.next();
    generator.seed(1);
    EXPECT_EQ(generator.next(), first);
}

TEST(Random, ScriptedDrawsComeInOrderAndRepeat) {
    const ScopedRandomSource scripted(makeScriptedRandom({5, 1, 3}));
    EXPECT_EQ(randomU32(), 5u);
    EXPECT_EQ(randomU32(), 1u);
    EXPECT_EQ(randomU32(), 3u);
    EXPECT_EQ(randomU32(), 5u);
}

TEST(Random, SeededSourcesRepeatTheirSequence) {
    auto a = makeSeededRandom(7);
    auto b = makeSeededRandom(7);
    auto c = makeSeededRandom(8);
    bool differs = false;
    for (int i = 0; i < 10; ++i) {
        const uint32_t x = a->next();
        EXPECT_EQ(x, b->next());
        differs |= x != c->next();
    }
    EXPECT_TRUE(differs);
}

TEST(Random, UniformStaysBelowTheBoundAndSkipsBiasedDraws) {
    {
        // 2^32 mod 3 is 1: the draw 0 is refused, 7 gives 1.
        const ScopedRandomSource scripted(makeScriptedRandom({0, 7}));
        EXPECT_EQ(randomUniform(3), 1u);
    }
    EXPECT_EQ(randomUniform(0), 0u);
    EXPECT_EQ(randomUniform(1), 0u);
    const ScopedRandomSource seeded(makeSeededRandom(1));
    std::set<uint32_t> seen;
    for (int i = 0; i < 200; ++i) {
        const uint32_t value = randomUniform(6);
        ASSERT_LT(value, 6u);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 6u);
}

} // namespace
} // namespace core
