#include "longdivision/LDPlaygroundMain.h"

#include "longdivision/testing/LDStage.h"
#include "platform/core/Log.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using ::testing::ElementsAre;
using testing::centerOf;

std::vector<int32_t> digitsOf(const ExprViewSoloistDigits& number) {
    std::vector<int32_t> digits;
    for (const auto& digit : number.digitViews())
        digits.push_back(digit->solo()->coef());
    return digits;
}

std::shared_ptr<ExprLongDivision> division(int64_t dividend, int64_t divisor, bool remainders = false,
                                           std::optional<std::string> pattern = std::nullopt) {
    auto made = ExprLongDivision::longDivision(dividend, divisor, std::move(pattern));
    made->setAcceptsRemainders(remainders);
    return made;
}

// Where the division stands after the end-of-step test: the playground's state and flags, the
// dividend's decimal places, and whether the host heard that it is solved.
struct Standing {
    LDProblemState state;
    bool remainderMode;
    bool decimalMode;
    int32_t dividend; // the model's, with its appended zeros
    bool solved;
};

void expectStanding(testing::LDStage& stage, const Standing& expected) {
    const LDPlaygroundMain& main = stage.main();
    EXPECT_EQ(main.problemState(), expected.state);
    EXPECT_EQ(main.remainderMode(), expected.remainderMode);
    EXPECT_EQ(main.decimalMode(), expected.decimalMode);
    EXPECT_EQ(main.longDivisionExpr()->numerator()->coef(), expected.dividend);
    EXPECT_EQ(stage.recorder->count("showComplete") > 0, expected.solved);
}

struct OpeningCase {
    int64_t dividend, divisor;
    bool remainders;
    Standing standing;
};

class Openings : public ::testing::TestWithParam<OpeningCase> {};

// The test the host makes as a division is shown.
TEST_P(Openings, TheFirstTest) {
    const OpeningCase& c = GetParam();
    testing::LDStage stage;
    stage.start(division(c.dividend, c.divisor, c.remainders));
    expectStanding(stage, c.standing);
}

INSTANTIATE_TEST_SUITE_P(
    LDCompletion, Openings,
    ::testing::Values(
        // 0 ÷ 7 is solved at once.
        OpeningCase{0, 7, false, {LDProblemStateWorking, false, false, 0, true}},
        // 1 ÷ 4 needs decimal places from the start: a point and one zero.
        OpeningCase{1, 4, false, {LDProblemStateWorking, false, true, 10, false}},
        // 3 ÷ 5 with remainders accepted: no row can be made, and nothing starts.
        OpeningCase{3, 5, true, {LDProblemStateWorking, false, false, 3, false}},
        // A division with digits to work stays working.
        OpeningCase{1234, 5, false, {LDProblemStateWorking, false, false, 1234, false}}));

TEST(LDCompletion, OneByFourInDecimalPlaces) {
    testing::LDStage stage;
    stage.start(division(1, 4));
    EXPECT_THAT(digitsOf(stage.dividend()), ElementsAre(1, 0));
    EXPECT_EQ(stage.dividend().dotPosition(), 1u);
    EXPECT_FALSE(stage.dividend().hideDotView());
    EXPECT_TRUE(stage.main().dotPoleView()->superview());
    EXPECT_EQ(stage.main().longDivisionExpr()->numeratorDotPosition(), 1u);
    stage.workRow(1, 2);
    expectStanding(stage, {LDProblemStateWorking, false, true, 100, false});
    stage.bringNext();
    stage.workRow(1, 5);
    EXPECT_EQ(stage.quotient(), 25);
    EXPECT_EQ(stage.recorder->count("showComplete"), 1u);
    EXPECT_EQ(stage.head().answerView()->dotPosition(), 1u) << "0.25";
}

TEST(LDCompletion, SevenByTwoWithItsRemainder) {
    testing::LDStage stage;
    const auto sevenByTwo = stage.start(division(7, 2, true));
    stage.workRow(0, 3);
    expectStanding(stage, {LDProblemStateWorking, true, false, 7, false});
    EXPECT_TRUE(stage.head().remainderLabel()->superview());
    stage.main().checkComplete();
    EXPECT_TRUE(stage.main().remainderMode()) << "a second test changes nothing";
    const ExprViewSoloistDigits& left = stage.working();
    const core::Rect label = stage.head().remainderLabel()->getHitbox();
    stage.drag(centerOf(left), testing::LDStage::fingerFor({label.maxX() + label.width() / 2, label.midY()},
                                                           1.2f * left.getHeight()));
    EXPECT_EQ(sevenByTwo->remainder()->coef(), 1);
    EXPECT_EQ(stage.recorder->count("showComplete"), 1u);
    EXPECT_EQ(stage.recorder->count("droppedRemainder"), 1u);
}

TEST(LDCompletion, DecimalPlacesStopAtFour) {
    testing::LDStage stage;
    stage.start(division(1, 7, false, "142857"));
    LDPlaygroundMain& main = stage.main();
    for (int place = 2; place <= 4; ++place)
        main.appendZeroToNumerator();
    EXPECT_EQ(main.longDivisionExpr()->numerator()->coef(), 10000);
    EXPECT_EQ(main.problemState(), LDProblemStateWorking);
    main.appendZeroToNumerator();
    EXPECT_EQ(main.longDivisionExpr()->numerator()->coef(), 10000) << "no fifth place";
    EXPECT_EQ(main.problemState(), LDProblemStateFindingPattern);
    EXPECT_TRUE(main.patternLabel()->superview());
}

TEST(LDCompletion, DecimalPlacesStopWhereTheNextWouldNotFitIn32Bits) {
    testing::LDStage large;
    large.start(division(300000000, 700000001, false, "4"));
    EXPECT_EQ(large.main().longDivisionExpr()->numerator()->coef(), 300000000);
    EXPECT_EQ(large.main().problemState(), LDProblemStateFindingPattern);
}

// Works 10 ÷ 3 to four decimal places: 3.3333 with the banner asking for the repeating digits.
void workTenByThree(testing::LDStage& stage) {
    stage.start(division(10, 3, false, "3"));
    stage.workRow(1, 3);
    for (int place = 0; place < 4; ++place) {
        stage.bringNext();
        stage.workRow(1, 3);
    }
    ASSERT_EQ(stage.quotient(), 33333);
    ASSERT_EQ(stage.main().problemState(), LDProblemStateFindingPattern);
}

TEST(LDCompletion, TheRepeatingDigitsOfTenByThree) {
    testing::LDStage stage;
    workTenByThree(stage);
    LDPlaygroundMain& main = stage.main();
    EXPECT_TRUE(main.patternLabel()->superview());
    const ExprViewSoloistDigits& quotient = *stage.head().answerView();
    ASSERT_EQ(quotient.dotPosition(), 2u);
    const size_t last = quotient.digitViews().size() - 1;

    // The 3 before the point (a tap never offers it, so it is raised directly), and an earlier 3
    // without the last: both shake, and come down again.
    for (const size_t raised : {size_t(1), size_t(3)}) {
        if (raised == 1)
            main.moveSolo(quotient.digitViews()[1]);
        else
            stage.tapQuotientDigit(raised);
        ASSERT_EQ(main.upDigits().size(), 1u);
        stage.tap(*main.repeatingGoButton());
        stage.host.advance(1);
        EXPECT_TRUE(main.upDigits().empty());
    }
    EXPECT_EQ(stage.recorder->count("didErrorStep"), 2u);
    EXPECT_EQ(stage.recorder->count("showComplete"), 0u);

    // The last two 3s spell the pattern twice.
    stage.tapQuotientDigit(last - 1);
    stage.tapQuotientDigit(last);
    EXPECT_EQ(main.lineSegments().size(), 2u);
    stage.tap(*main.repeatingGoButton());
    EXPECT_EQ(stage.recorder->count("showComplete"), 1u);
    EXPECT_EQ(stage.recorder->count("foundPattern"), 1u);
    EXPECT_EQ(main.problemState(), LDProblemStateWorking);
    EXPECT_FALSE(main.patternLabel()->superview());
    ASSERT_TRUE(main.repeatingDecimalLineView());
    EXPECT_EQ(main.longDivisionExpr()->answerRepeatingStartIndex(), last - 1);
    EXPECT_EQ(main.longDivisionExpr()->answerRepeatingEndIndex(), last);
    stage.host.advance(1);
    const core::Rect bar = main.repeatingDecimalLineView()->frame();
    EXPECT_NEAR(bar.minX(), quotient.digitViews()[last - 1]->getPointAtPosition(AnchorTopLeft).x, 0.5);
    EXPECT_NEAR(bar.maxX(), quotient.digitViews()[last]->getPointAtPosition(AnchorTopRight).x, 0.5);
}

TEST(LDCompletion, TheLastThreeAloneIsThePatternOnce) {
    testing::LDStage stage;
    workTenByThree(stage);
    stage.tapQuotientDigit(stage.head().answerView()->digitViews().size() - 1);
    stage.tap(*stage.main().repeatingGoButton());
    EXPECT_EQ(stage.recorder->count("foundPattern"), 1u);
    EXPECT_EQ(stage.recorder->count("didErrorStep"), 0u);
}

struct PatternCase {
    std::vector<size_t> raised; // from the end: 0 is the last digit
    bool found;
};

class TwelvesOfFourBy33 : public ::testing::TestWithParam<PatternCase> {};

// 4 ÷ 33 = 0.1212..., with the pattern 12: the raised digits must spell it whole times, ending with
// the last digit.
TEST_P(TwelvesOfFourBy33, SpellThePatternWholeTimes) {
    const PatternCase& c = GetParam();
    testing::LDStage stage;
    stage.start(division(4, 33, false, "12"));
    stage.workRow(1, 1);
    for (uint32_t digit : {2u, 1u, 2u}) {
        stage.bringNext();
        stage.workRow(1, digit);
    }
    const ExprViewSoloistDigits& quotient = *stage.head().answerView();
    ASSERT_EQ(quotient.solo()->coef(), 1212);
    LDPlaygroundMain& main = stage.main();
    main.checkComplete();
    ASSERT_EQ(main.problemState(), LDProblemStateFindingPattern);
    for (size_t fromEnd : c.raised)
        stage.tapQuotientDigit(quotient.digitViews().size() - 1 - fromEnd);
    stage.tap(*main.repeatingGoButton());
    EXPECT_EQ(stage.recorder->count("foundPattern"), c.found ? 1u : 0u);
    EXPECT_EQ(stage.recorder->count("didErrorStep"), c.found ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(LDCompletion, TwelvesOfFourBy33,
                         ::testing::Values(PatternCase{{1, 0}, true}, PatternCase{{3, 2, 1, 0}, true},
                                           PatternCase{{2, 1, 0}, false}));

TEST(LDCompletion, WithoutAPatternGoOnlyLogs) {
    testing::LDStage stage;
    stage.start(division(1, 3));
    LDPlaygroundMain& main = stage.main();
    stage.workRow(1, 3);
    for (int place = 0; place < 3; ++place) {
        stage.bringNext();
        stage.workRow(1, 3);
    }
    main.checkComplete();
    ASSERT_EQ(main.problemState(), LDProblemStateFindingPattern);
    stage.tapQuotientDigit(stage.head().answerView()->digitViews().size() - 1);
    EXPECT_TRUE(main.upDigits().empty()) << "no pattern: no digit is offered for raising";
    main.moveSolo(stage.head().answerView()->digitViews().back());
    core::LogCapture log;
    main.checkRepeating();
    ASSERT_EQ(log.entries().size(), 1u);
    EXPECT_EQ(log.entries()[0].message, "failed to find pattern. Answer num 3333");
    EXPECT_EQ(stage.recorder->count("didErrorStep"), 0u);
}

TEST(LDCompletion, RaisingAndLoweringADigit) {
    testing::LDStage stage;
    stage.start(division(1, 7, false, "142857"));
    LDPlaygroundMain& main = stage.main();
    stage.workRow(1, 1);
    const auto& digit = stage.head().answerView()->digitViews().back();
    const float row = digit->getPointAtPosition(AnchorTopLeft).y;
    stage.tapQuotientDigit(1);
    EXPECT_THAT(main.upDigits(), ElementsAre(digit));
    EXPECT_TRUE(digit->isHighlighted());
    EXPECT_TRUE(main.repeatingGoButton()->superview());
    ASSERT_EQ(main.lineSegments().size(), 1u);
    EXPECT_TRUE(main.lineSegments()[0]->superview());
    const float raised = digit->getPointAtPosition(AnchorTopLeft).y;
    EXPECT_NEAR(raised, stage.head().answerView()->dotView()->getPointAtPosition(AnchorTopCenter).y -
                            2 * stage.head().space(), 0.5);
    EXPECT_LT(raised, row);
    const auto picture = stage.render("ld-raised-digit");
    const core::Rect shown = digit->getViewList().front()->frame();
    EXPECT_GT(testing::inkIn(*picture, shown), 0);
    // Tapped again it comes down, its bar and the Go button go.
    stage.tapQuotientDigit(1);
    EXPECT_TRUE(main.upDigits().empty());
    EXPECT_TRUE(main.lineSegments().empty());
    EXPECT_FALSE(main.repeatingGoButton()->superview());
    EXPECT_FALSE(digit->isHighlighted());
    // It rises over 0.4 s.
    main.moveSolo(digit);
    stage.host.advance(0.2);
    const float rising = digit->getViewList().front()->presentationFrame().minY();
    const float top = digit->getViewList().front()->frame().minY();
    EXPECT_GT(rising, top + 1);
    EXPECT_LT(rising, top + 2 * stage.head().space() - 1);
}

TEST(LDCompletion, ThePointIsLiftedByTheDivisorCrossingItsBand) {
    testing::LDStage stage;
    stage.start(division(1, 4));
    LDPlaygroundMain& main = stage.main();
    ASSERT_TRUE(main.dotPoleView()->superview());
    // Before the first row a point of its own rises to the quotient's line.
    stage.dragDivisorOver(stage.dividend(), 1, false);
    ASSERT_TRUE(main.answerDotView());
    stage.host.advance(0.6);
    EXPECT_NEAR(main.answerDotView()->frame().maxY(), stage.dividend().getPointAtPosition(AnchorTopLeft).y + 10, 0.5);
    // The first row takes it over as the quotient's own point.
    stage.host.touchUp(centerOf(stage.divisor()));
    stage.host.advance(1);
    stage.choose(2);
    EXPECT_FALSE(main.answerDotView());
    EXPECT_FALSE(stage.head().answerView()->hideDotView());
}

TEST(LDCompletion, ThePointIsLiftedIntoAQuotient) {
    // 9 ÷ 4: the first row is made before decimal places start, so the quotient's point is not lifted.
    testing::LDStage stage;
    stage.start(division(9, 4));
    stage.workRow(0, 2);
    const ExprViewSoloistDigits& quotient = *stage.head().answerView();
    EXPECT_TRUE(quotient.hideDotView());
    stage.bringNext();
    stage.dragDivisorOver(stage.working(), 1, false);
    EXPECT_FALSE(quotient.hideDotView());
    stage.host.touchUp(centerOf(stage.divisor()));
    stage.host.advance(1);
}

struct PictureCase {
    ui::Idiom idiom;
    const char* name;
};

class CompletionPictures : public ::testing::TestWithParam<PictureCase> {};

TEST_P(CompletionPictures, TheBanner) {
    const PictureCase& c = GetParam();
    testing::LDStage stage(c.idiom);
    stage.start(division(1, 7, false, "42"));
    LDPlaygroundMain& main = stage.main();
    for (int place = 2; place <= 5; ++place)
        main.appendZeroToNumerator();
    stage.host.advance(0.25);
    const auto sliding = stage.render(std::string("ld-banner-sliding-") + c.name);
    const core::Rect banner = main.patternLabel()->presentationFrame();
    EXPECT_LT(banner.minX(), -1) << "on its way in from the left";
    stage.host.advance(1);
    const auto shown = stage.render(std::string("ld-banner-") + c.name);
    const core::Rect text = main.patternLabel()->frame();
    EXPECT_GT(testing::inkIn(*shown, text), 100) << "the banner's words";
    EXPECT_GE(text.minY(), stage.head().dividerImage()->frame().maxY() - 0.5f);
}

// A bar over the repeating digits, as a division found and shown again has it.
TEST_P(CompletionPictures, TheRepeatingBar) {
    const PictureCase& c = GetParam();
    auto restored = division(100000, 7, false, "142857");
    restored->setNumeratorDotPosition(1);
    testing::LDStage again(c.idiom);
    again.start(restored);
    again.workRow(1, 1);
    again.main().setRepeatingDecimalLine(OpViewDivide::create(nullptr, *again.view), 1, 1);
    again.view->addSubview(again.main().repeatingDecimalLineView());
    again.main().moveToPivot();
    again.host.advance(0.1);
    const auto barred = again.render(std::string("ld-repeating-bar-") + c.name);
    const core::Rect bar = again.main().repeatingDecimalLineView()->frame();
    EXPECT_GT(bar.width(), 1);
    EXPECT_GT(testing::inkIn(*barred, bar.insetBy(0, -1)), 0);
}

INSTANTIATE_TEST_SUITE_P(LDCompletion, CompletionPictures,
                         ::testing::Values(PictureCase{ui::Idiom::Phone, "phone"},
                                           PictureCase{ui::Idiom::Tablet, "tablet"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zm
