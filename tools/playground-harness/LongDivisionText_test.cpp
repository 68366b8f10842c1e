#include "tools/playground-harness/LongDivisionText.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

struct ArgumentCase {
    const char* text;
    const char* form; // nullptr: refused
    uint32_t numeratorDot = ExprLongDivision::kNone;
    uint32_t denominatorDot = ExprLongDivision::kNone;
    std::optional<std::string> pattern;
};

constexpr uint32_t kNone = ExprLongDivision::kNone;

ArgumentCase read(const char* text, const char* form, uint32_t numeratorDot = kNone, uint32_t denominatorDot = kNone,
                  std::optional<std::string> pattern = std::nullopt) {
    return {text, form, numeratorDot, denominatorDot, std::move(pattern)};
}

class LongDivisionArguments : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(LongDivisionArguments, PointsBecomeDotPositions) {
    const ArgumentCase& c = GetParam();
    const auto division = readLongDivisionArgument(c.text);
    ASSERT_EQ(bool(division), c.form != nullptr) << (division ? "" : division.error().description);
    if (!division)
        return;
    EXPECT_EQ((*division)->description(), c.form);
    EXPECT_EQ((*division)->numeratorDotPosition(), c.numeratorDot);
    EXPECT_EQ((*division)->denominatorDotPosition(), c.denominatorDot);
    EXPECT_EQ((*division)->pattern(), c.pattern);
}

INSTANTIATE_TEST_SUITE_P(
    LongDivisionText, LongDivisionArguments,
    ::testing::Values(read("5)1234", "5)1234"), read("12.5)7.5", "125)75", 1, 2),
                      read("1.25)3.5", "125)35", 1, 1), read("0.5)3.77", "5)377", 1, 0),
                      read("7)100 285714", "7)100", kNone, kNone, "285714"),
                      read("5)0", "5)0"), read("0)5", nullptr), read("-5)10", nullptr),
                      read("5)1.2.3", nullptr), read("5)0.05", nullptr),
                      read("5)99999999999", nullptr), read("5x)10", nullptr),
                      read("5", nullptr), read("5)1)2", nullptr)));

} // namespace
} // namespace zm
