#include "longdivision/model/ExprLongDivision.h"

#include "platform/core/Log.h"

#include <limits>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using ::testing::ElementsAreArray;

constexpr uint32_t kNone = ExprLongDivision::kNone;
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

// (partial dividend, digits brought down, digit, product, difference) of every row.
std::vector<std::string> rowsOf(const ExprLongDivision& division) {
    std::vector<std::string> rows;
    for (const ExprSegmentPtr& segment : division.calculatedSegments())
        rows.push_back(segment->description());
    return rows;
}

struct RowsCase {
    int64_t dividend;
    int64_t divisor;
    std::vector<std::string> rows;
};

class Rows : public ::testing::TestWithParam<RowsCase> {};

TEST_P(Rows, FollowTheSchoolbookMethod) {
    const RowsCase& c = GetParam();
    const auto division = ExprLongDivision::longDivision(c.dividend, c.divisor);
    ASSERT_TRUE(division);
    EXPECT_THAT(rowsOf(*division), ElementsAreArray(c.rows));
    for (const ExprSegmentPtr& segment : division->calculatedSegments())
        EXPECT_EQ(segment->denominator(), division->denominator()) << "the divisor is shared";
}

INSTANTIATE_TEST_SUITE_P(
    ExprLongDivision, Rows,
    ::testing::Values(
        RowsCase{1234, 5, {"(12, 2, 2, 10, 2)", "(23, 1, 4, 20, 3)", "(34, 1, 6, 30, 4)"}},
        RowsCase{100, 7, {"(10, 2, 1, 7, 3)", "(30, 1, 4, 28, 2)"}},
        RowsCase{1005, 5, {"(10, 2, 2, 10, 0)", "(5, 2, 1, 5, 0)"}},
        RowsCase{10000, 8, {"(10, 2, 1, 8, 2)", "(20, 1, 2, 16, 4)", "(40, 1, 5, 40, 0)", "(0, 1, 0, 0, 0)"}},
        RowsCase{3, 5, {"(3, 1, 0, 0, 3)"}}, RowsCase{0, 7, {"(0, 1, 0, 0, 0)"}},
        RowsCase{1000, 1000, {"(1000, 4, 1, 1000, 0)"}},
        // The largest numbers: every partial dividend still fits.
        RowsCase{kInt32Max, kInt32Max, {"(2147483647, 10, 1, 2147483647, 0)"}},
        RowsCase{kInt32Max, 1, {"(2, 1, 2, 2, 0)", "(1, 1, 1, 1, 0)", "(4, 1, 4, 4, 0)", "(7, 1, 7, 7, 0)",
                                 "(4, 1, 4, 4, 0)", "(8, 1, 8, 8, 0)", "(3, 1, 3, 3, 0)", "(6, 1, 6, 6, 0)",
                                 "(4, 1, 4, 4, 0)", "(7, 1, 7, 7, 0)"}}));

TEST(ExprLongDivision, RefusesWhatWouldNeverFinishOrDoesNotFit) {
    // A divisor of 0 or below used to build rows for ever.
    EXPECT_FALSE(ExprLongDivision::longDivision(10, 0));
    EXPECT_FALSE(ExprLongDivision::longDivision(10, -5));
    EXPECT_FALSE(ExprLongDivision::longDivision(-1, 5));
    EXPECT_FALSE(ExprLongDivision::longDivision(kInt32Max + 1, 5));
    EXPECT_FALSE(ExprLongDivision::longDivision(5, kInt32Max + 1));
    EXPECT_FALSE(ExprLongDivision::longDivision(5, 4294967295));
    EXPECT_FALSE(ExprLongDivision::create(ExprSoloist::soloWithCoef(5), ExprSoloist::soloWithCoef(0)));
    EXPECT_FALSE(ExprLongDivision::create(nullptr, ExprSoloist::soloWithCoef(5)));
}

TEST(ExprLongDivision, StartsWithoutProgress) {
    const auto division = ExprLongDivision::longDivision(100, 7);
    EXPECT_EQ(division->numeratorDotPosition(), kNone);
    EXPECT_EQ(division->denominatorDotPosition(), kNone);
    EXPECT_FALSE(division->acceptsRemainders());
    EXPECT_EQ(division->remainder()->coef(), 0);
    EXPECT_FALSE(division->pattern());
    EXPECT_EQ(division->finishedSegments(), 0u);
    EXPECT_FALSE(division->decimalMode());
    EXPECT_EQ(division->answerRepeatingStartIndex(), kNone);
    EXPECT_EQ(division->answerRepeatingEndIndex(), kNone);
    EXPECT_EQ(division->getSegmentAtIndex(1), division->calculatedSegments()[1]);
    EXPECT_FALSE(division->getSegmentAtIndex(2));
    EXPECT_FALSE(division->getNextSegmentAfterNumSegments(2));
    EXPECT_EQ(division->description(), "7)100");
    EXPECT_EQ(division->getSizeApproxString(), "7.|.100");
}

TEST(ExprLongDivision, SolvedTest) {
    const auto division = ExprLongDivision::longDivision(100, 7);
    EXPECT_FALSE(division->isSolvedWithAnswer(14, false));
    division->setAcceptsRemainders(true);
    division->setRemainder(ExprSoloist::soloWithCoef(2));
    EXPECT_TRUE(division->isSolvedWithAnswer(14, false));
    EXPECT_TRUE(ExprLongDivision::longDivision(1234, 2)->isSolvedWithAnswer(617, false));
    // Products beyond 32 bits are not wrapped into a match: 2 x 2147483647 + 4 wraps to 2.
    const auto large = ExprLongDivision::longDivision(2, kInt32Max);
    large->setAcceptsRemainders(true);
    large->setRemainder(ExprSoloist::soloWithCoef(4));
    EXPECT_FALSE(large->isSolvedWithAnswer(2, false));
}

TEST(ExprLongDivision, RepeatingPatternFromTheDigits) {
    // 10 ÷ 3 with four decimal places: 100000 with the point after two digits.
    const auto division = ExprLongDivision::longDivision(100000, 3);
    EXPECT_FALSE(division->calculateRepeatingPattern(333333)) << "no point";
    division->setNumeratorDotPosition(2);
    EXPECT_EQ(division->calculateRepeatingPattern(333333), "3");
    EXPECT_TRUE(division->isSolvedWithAnswer(333333, true));
    EXPECT_FALSE(division->isSolvedWithAnswer(333333, false));
    EXPECT_FALSE(division->calculateRepeatingPattern(331234)) << "no digit repeats";
    // 1 ÷ 11: 1.0000 gives 909 over the last three places, "90".
    const auto eleven = ExprLongDivision::longDivision(10000, 11);
    eleven->setNumeratorDotPosition(1);
    EXPECT_EQ(eleven->calculateRepeatingPattern(909), "90");
    // Fewer than two places to look at.
    const auto short_ = ExprLongDivision::longDivision(100, 3);
    short_->setNumeratorDotPosition(1);
    EXPECT_FALSE(short_->calculateRepeatingPattern(33));
    short_->setNumeratorDotPosition(2);
    EXPECT_FALSE(short_->calculateRepeatingPattern(33)) << "the point at the end of the text";
}

struct TextCase {
    const char* text;
    const char* read; // the text form read, nullptr for none
    std::optional<std::string> pattern;
};

class TextForm : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextForm, Reads) {
    const TextCase& c = GetParam();
    const auto division = ExprLongDivision::fromString(c.text);
    if (!c.read) {
        EXPECT_FALSE(division);
        return;
    }
    ASSERT_TRUE(division);
    EXPECT_EQ(division->description(), c.read);
    EXPECT_EQ(division->pattern(), c.pattern);
    EXPECT_EQ(division->isRepeatingDecimal(), c.pattern.has_value());
    EXPECT_EQ(division->numeratorDotPosition(), kNone);
    EXPECT_FALSE(division->acceptsRemainders());
}

INSTANTIATE_TEST_SUITE_P(
    ExprLongDivision, TextForm,
    ::testing::Values(TextCase{"7)100", "7)100", {}}, TextCase{"7)10)0", nullptr, {}},
                      TextCase{"7100", nullptr, {}}, TextCase{"3)1 3", "3)1", "3"},
                      TextCase{"3)10000 3", "3)10000", "3"}, TextCase{"7)10)0 3", "7)0", "3"},
                      TextCase{"7100 3", "7100)7100", "3"},
                      // A trailing blank gave an empty pattern, on which the check looped for ever.
                      TextCase{"3)1 ", "3)1", {}},
                      // Divisors below 1 and numbers beyond 32 bits.
                      TextCase{"-5)10", nullptr, {}}, TextCase{"0)10", nullptr, {}},
                      TextCase{"5)-10", nullptr, {}}, TextCase{"4294967301)10", nullptr, {}},
                      TextCase{"5)2147483648", nullptr, {}}, TextCase{"5)2147483647", "5)2147483647", {}},
                      TextCase{"x)y", nullptr, {}}, TextCase{"", nullptr, {}}));

TEST(ExprLongDivision, DictionaryRoundTrip) {
    const auto division = ExprLongDivision::longDivision(100, 7);
    const core::Value dict = division->dict();
    EXPECT_EQ(dict, core::Value(core::Dictionary{{"numer", "100"},
                                                  {"denom", "7"},
                                                  {"numerDotPosition", 2147483647},
                                                  {"denomDotPosition", 2147483647},
                                                  {"acceptsRemainders", false}}));
    const auto back = ExprLongDivision::fromDict(dict);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->description(), "7)100");
    EXPECT_EQ(back->numeratorDotPosition(), kNone);
    EXPECT_FALSE(back->pattern());

    const auto pointed = ExprLongDivision::longDivision(75, 125, "3");
    pointed->setNumeratorDotPosition(1);
    pointed->setDenominatorDotPosition(1);
    pointed->setAcceptsRemainders(true);
    const auto again = ExprLongDivision::fromDict(pointed->dict());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->dict(), pointed->dict());
    EXPECT_EQ(again->pattern(), "3");
    EXPECT_TRUE(again->acceptsRemainders());
}

TEST(ExprLongDivision, MalformedDictionaries) {
    core::LogCapture log;
    const core::Dictionary good{{"numer", "100"}, {"denom", "7"}};
    auto with = [&](std::string key, core::Value value) {
        core::Dictionary dict = good;
        dict.set(std::move(key), std::move(value));
        return core::Value(dict);
    };
    // A missing dot position reads as 0: a point before the first digit.
    const auto plain = ExprLongDivision::fromDict(good);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->numeratorDotPosition(), 0u);
    // Numbers may come as numbers too.
    EXPECT_TRUE(ExprLongDivision::fromDict(with("numer", 100)));
    EXPECT_TRUE(ExprLongDivision::fromDict(with("numerDotPosition", 3)));

    for (const core::Value& bad : {
             core::Value("7)100"), core::Value(core::Dictionary{{"numer", "100"}}), with("denom", "0"),
             with("denom", -7), with("numer", "99999999999"), with("pattern", 3),
             with("pattern", core::Array{"3"}), with("numerDotPosition", 4), with("numerDotPosition", -1),
             with("denomDotPosition", 2), with("denomDotPosition", 2147483648)}) {
        EXPECT_FALSE(ExprLongDivision::fromDict(bad)) << core::Value(bad).stringValue();
    }
    EXPECT_FALSE(log.entries().empty());
}

TEST(ExprLongDivision, CopiesShareNothing) {
    const auto division = ExprLongDivision::longDivision(1234, 5, "3");
    division->setNumeratorDotPosition(2);
    division->setAcceptsRemainders(true);
    division->setRemainder(ExprSoloist::soloWithCoef(4));
    division->setFinishedSegments(2);
    division->setDecimalMode(true);
    division->setAnswerRepeatingStartIndex(1);
    division->setAnswerRepeatingEndIndex(3);
    const auto copy = std::static_pointer_cast<ExprLongDivision>(division->copyWithBag(nullptr));
    ASSERT_TRUE(copy);
    EXPECT_NE(copy->exprId(), division->exprId());
    EXPECT_NE(copy->numerator(), division->numerator());
    EXPECT_NE(copy->remainder(), division->remainder());
    EXPECT_NE(copy->calculatedSegments()[0], division->calculatedSegments()[0]);
    EXPECT_EQ(copy->calculatedSegments()[0]->denominator(), copy->denominator());
    EXPECT_EQ(copy->dict(), division->dict());
    EXPECT_EQ(rowsOf(*copy), rowsOf(*division));
    EXPECT_EQ(copy->remainder()->coef(), 4);
    EXPECT_EQ(copy->finishedSegments(), 2u);
    EXPECT_TRUE(copy->decimalMode());
    EXPECT_EQ(copy->answerRepeatingStartIndex(), 1u);
    EXPECT_EQ(copy->answerRepeatingEndIndex(), 3u);
    copy->remainder()->setCoef(1);
    copy->numerator()->setCoef(10);
    EXPECT_EQ(division->remainder()->coef(), 4);
    EXPECT_EQ(division->numerator()->coef(), 1234);
}

TEST(ExprLongDivision, OneMoreDecimalPlaceFits) {
    EXPECT_TRUE(ExprLongDivision::longDivision(214748364, 3)->oneMoreDecimalPlaceFits());
    EXPECT_FALSE(ExprLongDivision::longDivision(214748365, 3)->oneMoreDecimalPlaceFits());
}

TEST(ExprSegment, ProposedDigits) {
    const auto segment = ExprSegment::create(ExprSoloist::soloWithCoef(47), ExprSoloist::soloWithCoef(6));
    EXPECT_EQ(segment->description(), "(47, 0, 0, 0, 47)");
    segment->setMultipleValue(8);
    EXPECT_EQ(segment->difference()->coef(), -1);
    segment->calculateValues();
    EXPECT_EQ(segment->description(), "(47, 0, 7, 42, 5)");
    // A digit far too large for a divisor near the 32-bit limit: the product does not fit, and the
    // difference stays negative instead of wrapping round to look like a fit.
    const auto large =
        ExprSegment::create(ExprSoloist::soloWithCoef(2147483647), ExprSoloist::soloWithCoef(300000000));
    large->setMultipleValue(8);
    EXPECT_EQ(large->product()->coef(), 2147483647);
    EXPECT_EQ(large->difference()->coef(), 2147483647 - 2400000000);
    large->setMultipleValue(9);
    EXPECT_LT(large->difference()->coef(), 0);
}

} // namespace
} // namespace zm
