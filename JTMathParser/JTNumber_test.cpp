#include "JTMathParser/JTNumber.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace zm {
namespace {

using Kind = JTNumber::Kind;

TEST(JTNumber, DecimalTextReadsExactlyAndDescribesPlainly) {
    struct Case {
        const char* text;
        const char* description;
        double value;
        bool whole;
    };
    const Case cases[] = {
        {"12", "12", 12, true},
        {"1.", "1", 1, true},
        {".5", "0.5", 0.5, false},
        {"1.5e-3", "0.0015", 0.0015, false},
        {"1e5", "100000", 1e5, true},
        {"1E+2", "100", 100, true},
        {"2.0", "2", 2, true},
        {"00012.500", "12.5", 12.5, false},
        {"0.000", "0", 0, true},
        {"123456789012345678901234567890123456789",
         "12345678901234567890123456789012345678"
         "0",
         1.2345678901234568e38, true},
        // Too small to keep: it reads as zero, but it is no whole number.
        {"1e-200", "0", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::optional<JTNumber> number = JTNumber::decimalFromString(c.text);
        ASSERT_TRUE(number);
        EXPECT_EQ(number->kind(), Kind::Decimal);
        EXPECT_EQ(number->description(), c.description);
        EXPECT_DOUBLE_EQ(number->doubleValue(), c.value);
        EXPECT_EQ(number->isWhole(), c.whole);
    }
    EXPECT_TRUE(JTNumber::fromDouble(-3).isWhole());
    EXPECT_FALSE(JTNumber::fromDouble(-3.5).isWhole());
    EXPECT_FALSE(JTNumber::fromDouble(std::numeric_limits<double>::infinity()).isWhole());
    EXPECT_FALSE(JTNumber::decimalNotANumber().isWhole());
    for (const char* bad : {"", ".", "e5", "1e", "1e+", "1x", "-1", " 1"}) {
        EXPECT_FALSE(JTNumber::decimalFromString(bad)) << bad;
    }
}

TEST(JTNumber, DecimalBeyondItsRangeIsNotANumber) {
    std::optional<JTNumber> huge = JTNumber::decimalFromString("1e999999999999999999999");
    ASSERT_TRUE(huge);
    EXPECT_TRUE(huge->isNaN());
    EXPECT_EQ(huge->description(), "NaN");
    EXPECT_EQ(huge->intValue(), 0);
    // Within range once zeros move into the mantissa.
    EXPECT_FALSE(JTNumber::decimalFromString("1e160")->isNaN());
}

TEST(JTNumber, IntegerConversionsDropTheFractionAndSaturate) {
    struct Case {
        JTNumber number;
        std::int32_t intValue;
        std::int64_t longLongValue;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {JTNumber::fromDouble(2.9), 2, 2},
        {JTNumber::fromDouble(-2.9), -2, -2},
        {JTNumber::fromDouble(1e10), INT32_MAX, 10000000000},
        {JTNumber::fromDouble(-1e10), INT32_MIN, -10000000000},
        {JTNumber::fromDouble(inf), INT32_MAX, INT64_MAX},
        {JTNumber::fromDouble(-inf), INT32_MIN, INT64_MIN},
        {JTNumber::fromDouble(std::nan("")), 0, 0},
        {JTNumber::fromDouble(1e30), INT32_MAX, INT64_MAX},
        {*JTNumber::decimalFromString("99999999999"), INT32_MAX, 99999999999},
        {JTNumber::fromInt64(INT64_MIN), INT32_MIN, INT64_MIN},
        {JTNumber::fromBool(true), 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number.description());
        EXPECT_EQ(c.number.intValue(), c.intValue);
        EXPECT_EQ(c.number.longLongValue(), c.longLongValue);
    }
}

TEST(JTNumber, KindsDescribeThemselves) {
    EXPECT_EQ(JTNumber::fromDouble(3).description(), "3");
    EXPECT_EQ(JTNumber::fromDouble(0.1).description(), "0.1");
    EXPECT_EQ(JTNumber::fromDouble(3.141592653589793).description(), "3.141592653589793");
    EXPECT_EQ(JTNumber::fromDouble(1e20).description(), "1e+20");
    EXPECT_EQ(JTNumber::fromDouble(-std::numeric_limits<double>::infinity()).description(), "-inf");
    EXPECT_EQ(JTNumber::fromInt32(-7).description(), "-7");
    EXPECT_EQ(JTNumber::fromBool(false).description(), "0");
    EXPECT_EQ(JTNumber::decimal(-25, -1).description(), "-2.5");
    EXPECT_EQ(JTNumber::decimal(INT64_MIN, 0).description(), "-9223372036854775808");
}

TEST(JTNumber, ComparisonAcrossKindsIsATotalOrder) {
    EXPECT_EQ(*JTNumber::decimalFromString("1.50"), JTNumber::fromDouble(1.5));
    EXPECT_EQ(JTNumber::fromBool(true), JTNumber::fromInt32(1));
    EXPECT_EQ(*JTNumber::decimalFromString("0.1"), *JTNumber::decimalFromString(".10"));
    // Decimals compare exactly even where their doubles are equal.
    EXPECT_EQ(JTNumber::decimalFromString("10000000000000000000000000000001")
                  ->compare(*JTNumber::decimalFromString("10000000000000000000000000000000")),
              JTComparisonResult::Descending);
    EXPECT_EQ(JTNumber::decimal(-3, 0).compare(JTNumber::decimal(-2, 0)), JTComparisonResult::Ascending);
    // 64-bit integers compare exactly against doubles.
    EXPECT_EQ(JTNumber::fromInt64(9007199254740993).compare(JTNumber::fromDouble(9007199254740992.0)),
              JTComparisonResult::Descending);

    JTNumber nan = JTNumber::fromDouble(std::nan(""));
    EXPECT_EQ(nan, JTNumber::decimalNotANumber());
    EXPECT_EQ(nan.compare(JTNumber::fromDouble(-1e308)), JTComparisonResult::Ascending);

    std::vector<JTNumber> values = {JTNumber::fromDouble(2), nan, JTNumber::fromInt32(-1), nan,
                                    JTNumber::decimal(15, -1)};
    std::sort(values.begin(), values.end(), [](const JTNumber& a, const JTNumber& b) {
        return a.compare(b) == JTComparisonResult::Ascending;
    });
    EXPECT_TRUE(values[0].isNaN() && values[1].isNaN());
    EXPECT_EQ(values[2].description(), "-1");
    EXPECT_EQ(values[3].description(), "1.5");
}

TEST(JTNumber, TruthIsNonZero) {
    EXPECT_FALSE(JTNumber::decimal(0, 0).boolValue());
    EXPECT_TRUE(JTNumber::decimal(5, -1).boolValue());
    EXPECT_TRUE(JTNumber::fromDouble(0.1).boolValue());
    EXPECT_FALSE(JTNumber::fromDouble(0.0).boolValue());
    EXPECT_FALSE(JTNumber::fromDouble(std::nan("")).boolValue());
    EXPECT_TRUE(JTNumber::fromInt64(-1).boolValue());
}

} // namespace
} // namespace zm
