#include "platform/core/NumberText.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(NumberText, IntValueReadsTheLeadingIntegerAndSaturates) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"", 0},
        {"-", 0},
        {"+", 0},
        {"x1", 0},
        {"12", 12},
        {"  \t\n-12abc", -12},
        {"+7", 7},
        {"--5", 0},
        {"2.5", 2},
        {"0.5", 0},
        {"1e3", 1},
        {"007", 7},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"99999999999999999999", 2147483647},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"-2147483649", std::numeric_limits<int32_t>::min()},
        {"- 5", 0},
        {"12 34", 12},
    };
    for (const auto& c : cases)
        EXPECT_EQ(intValue(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumberText, DigitEntryReadsBackThroughIntValue) {
    // A term's digits grow by appending text and shrink by dropping the last character.
    EXPECT_EQ(intValue(std::string("12") + "3"), 123);
    EXPECT_EQ(intValue(std::string("-1") + "2"), -12);
    EXPECT_EQ(intValue(std::string("-5").substr(0, 1)), 0);
}

TEST(NumberText, IntegerValueIs64Bit) {
    EXPECT_EQ(integerValue("2147483648"), 2147483648LL);
    EXPECT_EQ(integerValue("-9223372036854775808"), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(integerValue("9223372036854775808"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(integerValue(" 42 apples"), 42);
}

TEST(NumberText, DoubleValueReadsTheLeadingDecimalNumber) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},     {"abc", 0},     {".", 0},           {"-", 0},   {"1.5", 1.5}, {"  -0.25px", -0.25},
        {".5", 0.5}, {"5.", 5},      {"1.5e-3", 1.5e-3}, {"2e", 2},  {"2e+", 2},   {"1E2x", 100},
        {"+3", 3},   {"1.2.3", 1.2}, {"0x10", 0},        {"inf", 0}, {"nan", 0},   {"1e-400", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(doubleValue(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(doubleValue("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(doubleValue("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(floatValue("1e39"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(floatValue(" 0.1"), 0.1f);
    EXPECT_TRUE(std::signbit(doubleValue("-0")));
}

TEST(NumberText, BoolValueLooksAtTheFirstSignificantCharacter) {
    for (const char* yes : {"YES", "yes", "true", "T", "1", "007", " +9", "-1", "y"})
        EXPECT_TRUE(boolValue(yes)) << yes;
    for (const char* no : {"", "NO", "no", "false", "0", "000", "-0", " ", "x", "+"})
        EXPECT_FALSE(boolValue(no)) << no;
}

TEST(NumberText, NumberTextIsTheShortestRoundTrip) {
    EXPECT_EQ(numberText(0.1), "0.1");
    EXPECT_EQ(numberText(100.0), "100");
    EXPECT_EQ(numberText(1.0 / 3), "0.3333333333333333");
    EXPECT_EQ(numberText(-0.0), "-0");
    EXPECT_EQ(numberText(1e21), "1e+21");
    EXPECT_EQ(numberText(std::nan("")), "nan");
    EXPECT_EQ(numberText(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(numberText(0.1f), "0.1");
    for (double v : {0.1, 2.5e-300, 123456.789, 1.0 / 7})
        EXPECT_EQ(doubleValue(numberText(v)), v);
}

} // namespace
} // namespace core
