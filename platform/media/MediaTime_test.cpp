#include "platform/media/MediaTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace media {
namespace {

const MediaTime kInvalid = MediaTime::invalidTime();
const MediaTime kIndefinite = MediaTime::indefiniteTime();
const MediaTime kPlus = MediaTime::positiveInfinity();
const MediaTime kMinus = MediaTime::negativeInfinity();

MediaTime t(std::int64_t value, std::int32_t timescale) {
    return MediaTime::make(value, timescale);
}

TEST(MediaTime, ArithmeticTable) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    struct Case {
        const char* what;
        MediaTime result, expected;
    };
    const Case cases[] = {
        {"1/30 + 1/30", t(1, 30) + t(1, 30), t(2, 30)},
        {"1/30 + 1/25 in a common timescale", t(1, 30) + t(1, 25), t(11, 150)},
        {"2/3 - 1/2", t(2, 3) - t(1, 2), t(1, 6)},
        {"a result below zero", t(1, 2) - t(3, 4), t(-1, 4)},
        {"too fine a common timescale rounds to the finer", t(1, 1'000'000'000) + t(1, 999'999'999),
         t(2, 1'000'000'000)},
        {"overflow saturates", t(kMax, 1) + t(1, 1), kPlus},
        {"underflow saturates", t(-kMax, 1) - t(2, 1), kMinus},
        {"invalid + number", kInvalid + t(1, 1), kInvalid},
        {"number + invalid", t(1, 1) + kInvalid, kInvalid},
        {"indefinite + number", kIndefinite + t(1, 1), kIndefinite},
        {"+inf + number", kPlus + t(5, 1), kPlus},
        {"number - +inf", t(5, 1) - kPlus, kMinus},
        {"+inf + indefinite", kPlus + kIndefinite, kPlus},
        {"+inf - +inf", kPlus - kPlus, kInvalid},
        {"+inf - -inf", kPlus - kMinus, kPlus},
        {"-inf + +inf", kMinus + kPlus, kInvalid},
        {"3/30 x 4", t(3, 30) * 4, t(12, 30)},
        {"3/30 x -1", t(3, 30) * -1, t(-3, 30)},
        {"+inf x 0", kPlus * 0, kInvalid},
        {"-inf x -2", kMinus * -2, kPlus},
        {"a timescale below 1", t(1, 0), kInvalid},
        {"1/3 s in ticks of 1/10", t(1, 3).convertScale(10), t(3, 10)},
        {"seconds", MediaTime::seconds(0.5, 600), t(300, 600)},
        {"NaN seconds", MediaTime::seconds(std::nan(""), 600), kInvalid},
        {"too many seconds", MediaTime::seconds(1e300), kPlus},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MediaTime::compare(c.result, c.expected), 0)
            << c.what << ": " << c.result.description() << " instead of " << c.expected.description();
        EXPECT_EQ(c.result.isValid(), c.expected.isValid()) << c.what;
    }
    // The common timescale keeps the sum exact rather than merely equal.
    EXPECT_EQ((t(1, 30) + t(1, 25)).timescale(), 150);
}

TEST(MediaTime, OrderIsTotalAndByInstant) {
    const MediaTime ascending[] = {kMinus, t(-1, 1), t(0, 7), t(1, 30), t(1, 25), t(1, 1), kPlus, kIndefinite,
                                   kInvalid};
    for (std::size_t i = 0; i < std::size(ascending); ++i) {
        for (std::size_t j = 0; j < std::size(ascending); ++j) {
            EXPECT_EQ(MediaTime::compare(ascending[i], ascending[j]), i < j ? -1 : (i > j ? 1 : 0))
                << ascending[i].description() << " against " << ascending[j].description();
        }
    }
    EXPECT_EQ(t(1, 30), t(2, 60));
    EXPECT_EQ(MediaTime::zero(), t(0, 90000));
    EXPECT_NE(kInvalid, kIndefinite);
    EXPECT_LT(t(1, 30), t(1, 25));
}

TEST(MediaTime, SecondsAndDescriptions) {
    EXPECT_DOUBLE_EQ(t(3, 30).inSeconds(), 0.1);
    EXPECT_EQ(kInvalid.inSeconds(), 0);
    EXPECT_EQ(kIndefinite.inSeconds(), 0);
    EXPECT_EQ(kPlus.inSeconds(), std::numeric_limits<double>::infinity());
    EXPECT_EQ(t(3, 30).description(), "{3/30 = 0.100}");
    EXPECT_EQ(kInvalid.description(), "{INVALID}");
    EXPECT_EQ(kIndefinite.description(), "{INDEFINITE}");
    EXPECT_EQ(kMinus.description(), "{-INFINITY}");
    EXPECT_FALSE(MediaTime().isValid());
}

} // namespace
} // namespace media
