#include "platform/core/Format.h"

#include <clocale>
#include <string>

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(Format, PrintfFormatsOfTheGame) {
    EXPECT_EQ(format("%d", -25), "-25");
    EXPECT_EQ(format("%d%s%s", 3, "x", "^2"), "3x^2");
    EXPECT_EQ(format("%i", 7), "7");
    EXPECT_EQ(format("%.2f", 1.005), "1.00");
    EXPECT_EQ(format("%.2f", 2.0 / 3), "0.67");
    EXPECT_EQ(format("%f", 1.5), "1.500000");
    EXPECT_EQ(format("%02x", 0xAu), "0a");
    EXPECT_EQ(format("%02X:%02X", 0xABu, 0x1u), "AB:01");
    EXPECT_EQ(format("%08X%04X", 0xDEADBEEFu, 0x12u), "DEADBEEF0012");
    EXPECT_EQ(format("%lu", 4294967296UL), "4294967296");
    EXPECT_EQ(format("%lld", -9000000000LL), "-9000000000");
    EXPECT_EQ(format("%s is not a valid operator", utf8(U'#').c_str()), "# is not a valid operator");
}

TEST(Format, LongTextsAreNotCut) {
    const std::string long_(1000, 'a');
    EXPECT_EQ(format("<%s>", long_.c_str()), "<" + long_ + ">");
}

TEST(Format, DecimalPointIgnoresTheProcessLocale) {
    // A locale with a decimal comma, when the machine has one; otherwise the C locale stands.
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(format("%.2f", 0.5), "0.50");
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(Format, Utf8OfCodePoints) {
    EXPECT_EQ(utf8(U'a'), "a");
    EXPECT_EQ(utf8(U'π'), "\xCF\x80");
    EXPECT_EQ(utf8(U'−'), "\xE2\x88\x92");
    EXPECT_EQ(utf8(U'\U0001F600'), "\xF0\x9F\x98\x80");
    EXPECT_EQ(utf8(0xD800), "\xEF\xBF\xBD");
    EXPECT_EQ(utf8(0x110000), "\xEF\xBF\xBD");
}

} // namespace
} // namespace core
