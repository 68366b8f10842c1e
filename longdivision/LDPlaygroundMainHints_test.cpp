#include "longdivision/LDPlaygroundMain.h"

#include "longdivision/testing/LDStage.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

#include <cmath>

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

// Where the ghost's number is on screen now.
core::Rect shownGhost(const LDPlaygroundMain& main) {
    return main.ghostView()->getViewList().front()->presentationFrame();
}

// How far the ghost's number on screen is from where its move ends.
float fromTheEnd(const LDPlaygroundMain& main) {
    const ui::View& number = *main.ghostView()->getViewList().front();
    const core::Rect shown = number.presentationFrame(), end = number.frame();
    return std::hypot(shown.midX() - end.midX(), shown.midY() - end.midY());
}

std::shared_ptr<ExprLongDivision> division(const char* text, bool remainders = false) {
    auto made = ExprLongDivision::fromString(text);
    made->setAcceptsRemainders(remainders);
    return made;
}

TEST(LDHints, TheDivisorSlidesOverTheDigitsItGoesInto) {
    testing::LDStage stage;
    stage.start(division("12)156"), true);
    LDPlaygroundMain& main = stage.main();
    ASSERT_TRUE(main.ghostView());
    EXPECT_EQ(main.ghostView()->solo()->coef(), 12);
    EXPECT_FLOAT_EQ(main.ghostView()->getViewList().front()->alpha(), 0.5f);
    EXPECT_TRUE(main.ghostTimer());
    const core::Rect start = shownGhost(main);
    EXPECT_NEAR(start.midX(), centerOf(stage.divisor()).x, 1);
    // The host settled for a second when the division was shown: the slide starts now, for 2 s.
    stage.host.advance(1.95);
    const core::Point five = stage.dividend().digitViews()[1]->getPointAtPosition(AnchorMiddleRight);
    EXPECT_EQ(main.ghostView()->getPointAtPosition(AnchorTopRight), five)
        << "its top-right corner goes to the 5's middle-right";
    EXPECT_LT(fromTheEnd(main), 3);
    EXPECT_TRUE(stage.dividend().digitViews()[0]->isHighlighted()) << "the digits it covers are lit";
    EXPECT_TRUE(stage.dividend().digitViews()[1]->isHighlighted());
    stage.host.advance(0.1);
    EXPECT_NEAR(shownGhost(main).midX(), start.midX(), 3) << "and starts again from the divisor";
    stage.host.advance(1);
    const auto picture = stage.render("ld-ghost-divisor");
    EXPECT_GT(testing::inkIn(*picture, shownGhost(main)), 0);
}

TEST(LDHints, Then156By12DigitByDigit) {
    testing::LDStage stage;
    stage.start(division("12)156"), true);
    LDPlaygroundMain& main = stage.main();
    // Under the chooser no ghost, and the digit on offer stays gold.
    stage.dragDivisorOver(stage.dividend(), 1);
    ASSERT_TRUE(stage.chooser());
    EXPECT_FALSE(main.ghostView());
    EXPECT_FALSE(main.ghostTimer());
    const auto offered = std::dynamic_pointer_cast<ui::Label>(
        stage.chooser()->segmentView()->multipleView()->getViewList().front());
    EXPECT_EQ(offered->textColor(), stage.chooser()->goldColor());
    stage.choose(1);

    // The 6 drops straight down to the 3.
    ASSERT_TRUE(main.ghostView());
    EXPECT_EQ(main.ghostView()->solo()->coef(), 6);
    EXPECT_FALSE(main.ghostTimer());
    const core::Point six = centerOf(*stage.dividend().digitViews()[2]);
    EXPECT_NEAR(shownGhost(main).midX(), six.x, 1);
    // The chooser's close was a second ago; the drop ends three seconds after it.
    stage.host.advance(1.95);
    const float three = centerOf(*main.segmentViews()[0]->differenceView()).y;
    EXPECT_EQ(main.ghostView()->getPointAtPosition(AnchorCenter), core::Point(six.x, three));
    EXPECT_LT(fromTheEnd(main), 3);

    // Once the 6 is down, the divisor again, to the 36.
    stage.bringNext();
    ASSERT_TRUE(main.ghostView());
    EXPECT_EQ(main.ghostView()->solo()->coef(), 12);
    EXPECT_TRUE(main.ghostTimer());
    stage.host.advance(1.95);
    const core::Point thirtySix = main.segmentViews()[0]->appendedRemainderView()->getPointAtPosition(AnchorCenter);
    EXPECT_EQ(main.ghostView()->getPointAtPosition(AnchorTopCenter), thirtySix);
    EXPECT_LT(fromTheEnd(main), 3);
}

TEST(LDHints, WhatIsLeftMovesBesideTheR) {
    testing::LDStage stage;
    stage.start(division("2)7", true), true);
    LDPlaygroundMain& main = stage.main();
    stage.workRow(0, 3);
    ASSERT_TRUE(main.remainderMode());
    ASSERT_TRUE(main.ghostView());
    EXPECT_EQ(main.ghostView()->solo()->coef(), 1);
    stage.host.advance(1.95);
    const core::Rect label = stage.head().remainderLabel()->getHitbox();
    EXPECT_EQ(main.ghostView()->getPointAtPosition(AnchorCenter), core::Point(label.midX() + label.width(), label.midY()));
    EXPECT_LT(fromTheEnd(main), 3);
}

// After the first row of 1234 ÷ 5 (with remainders) the next move is a digit brought down, not a
// remainder beside an "r" that is not there; at the end what is left moves there.
TEST(LDHints, TheRemainderHintWaitsForTheEnd) {
    testing::LDStage stage;
    stage.start(division("5)1234", true), true);
    LDPlaygroundMain& main = stage.main();
    stage.workRow(1, 2);
    ASSERT_TRUE(main.ghostView());
    EXPECT_EQ(main.ghostView()->solo()->coef(), 3) << "the 3 drops down";
    stage.bringNext();
    stage.workRow(1, 4);
    stage.bringNext();
    stage.workRow(1, 6);
    ASSERT_TRUE(main.remainderMode());
    ASSERT_TRUE(main.ghostView());
    EXPECT_EQ(main.ghostView()->solo()->coef(), 4);
}

enum class Hint { None, DragOver, DropDown, Remainder, Pulse };

Hint hintOf(const LDPlaygroundMain& main) {
    if (main.ghostTimer())
        return Hint::DragOver;
    if (!main.ghostView()) {
        const auto* quotient = main.longDivisionExprView()->answerView().get();
        const bool pulsing = quotient && !quotient->digitViews().empty() &&
                             !quotient->digitViews().back()->getViewList().front()->layer().animationKeys().empty();
        return pulsing ? Hint::Pulse : Hint::None;
    }
    return main.remainderMode() ? Hint::Remainder : Hint::DropDown;
}

struct HintCase {
    const char* name;
    const char* text;
    bool remainders;
    bool demo;
    void (*work)(testing::LDStage&);
    Hint hint;
};

class HintChoice : public ::testing::TestWithParam<HintCase> {};

TEST_P(HintChoice, FollowsWhereTheDivisionStands) {
    const HintCase& c = GetParam();
    testing::LDStage stage;
    stage.start(division(c.text, c.remainders), c.demo);
    c.work(stage);
    EXPECT_EQ(hintOf(stage.main()), c.hint);
}

INSTANTIATE_TEST_SUITE_P(
    LDHints, HintChoice,
    ::testing::Values(
        HintCase{"NotInDemonstration", "5)1234", false, false, [](testing::LDStage&) {}, Hint::None},
        HintCase{"NoRowYet", "5)1234", false, true, [](testing::LDStage&) {}, Hint::DragOver},
        HintCase{"ChooserOpen", "5)1234", false, true,
                 [](testing::LDStage& s) { s.dragDivisorOver(s.dividend(), 1); }, Hint::None},
        HintCase{"NextPartialDividendNotComplete", "5)1234", false, true,
                 [](testing::LDStage& s) { s.workRow(1, 2); }, Hint::DropDown},
        HintCase{"NextPartialDividendComplete", "5)1234", false, true,
                 [](testing::LDStage& s) {
                     s.workRow(1, 2);
                     s.bringNext();
                 },
                 Hint::DragOver},
        HintCase{"RemaindersAcceptedOneRow", "5)1234", true, true, [](testing::LDStage& s) { s.workRow(1, 2); },
                 Hint::DropDown},
        HintCase{"RemainderMode", "2)7", true, true, [](testing::LDStage& s) { s.workRow(0, 3); }, Hint::Remainder},
        HintCase{"PatternWithTwoRows", "3)10 3", false, true,
                 [](testing::LDStage& s) {
                     s.workRow(1, 3);
                     s.bringNext();
                     s.workRow(1, 3);
                 },
                 Hint::Pulse}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LDHints, AWrongPatternShakesWithTheAlert) {
    testing::LDStage stage;
    stage.start(division("7)1 142857"));
    LDPlaygroundMain& main = stage.main();
    stage.workRow(1, 1);
    const auto& digit = stage.head().answerView()->digitViews().back();
    stage.tapQuotientDigit(stage.head().answerView()->digitViews().size() - 1);
    ASSERT_EQ(main.upDigits().size(), 1u);
    const float raised = digit->getViewList().front()->frame().minX();
    stage.tap(*main.repeatingGoButton());
    EXPECT_EQ(stage.recorder->count("didErrorStep"), 1u);
    EXPECT_TRUE(main.upDigits().empty()) << "lowered once the shake has run";
    // Watch the shake itself.
    stage.tapQuotientDigit(stage.head().answerView()->digitViews().size() - 1);
    main.checkRepeating();
    stage.host.advance(0.1);
    EXPECT_NEAR(digit->getViewList().front()->presentationFrame().minX(), raised - 20, 2);
    stage.host.advance(1);
    EXPECT_EQ(stage.recorder->count("didErrorStep"), 2u);
    EXPECT_TRUE(main.upDigits().empty());
}

TEST(LDHints, RowsAlreadyWorkedComeBackWithoutAChooser) {
    testing::LDStage stage;
    const auto worked = division("5)1234");
    worked->setFinishedSegments(2);
    stage.start(worked);
    LDPlaygroundMain& main = stage.main();
    EXPECT_EQ(main.segmentViews().size(), 2u);
    EXPECT_FALSE(stage.chooser());
    EXPECT_THAT(digitsOf(*stage.head().answerView()), ElementsAre(0, 2, 4));
    EXPECT_EQ(main.nextIndex(), 3u);
    // The division goes on from there.
    stage.bringNext();
    stage.workRow(1, 6);
    EXPECT_EQ(stage.quotient(), 246);
}

TEST(LDHints, ReplayedToTheEndTheDivisionIsTested) {
    testing::LDStage stage;
    const auto worked = division("5)1234", true);
    worked->setFinishedSegments(3);
    stage.start(worked);
    EXPECT_TRUE(stage.main().remainderMode()) << "246 x 5 and the 4 left make 1234";
    EXPECT_FALSE(stage.chooser());
}

TEST(LDHints, DigitsAreBroughtDownForARow) {
    testing::LDStage stage;
    stage.start(division("5)1005"));
    LDPlaygroundMain& main = stage.main();
    stage.workRow(1, 2);
    main.dropDigitForNumSegment(1);
    EXPECT_EQ(stage.working().solo()->coef(), 0);
    EXPECT_TRUE(stage.head().answerView()->digitViews().back()->nonSegmentZero());
    main.dropDigitForNumSegment(1);
    EXPECT_EQ(stage.working().solo()->coef(), 5);
    EXPECT_THAT(digitsOf(stage.working()), ElementsAre(0, 0, 5));
    main.dropDigitForNumSegment(1);
    EXPECT_EQ(stage.working().digitViews().size(), 3u) << "the next partial dividend is complete";
    EXPECT_EQ(main.nextIndex(), 4u);
}

// 7105 ÷ 70: after 71 the 0 brought down leaves 10, still below 70; the next digit to bring down is the
// 5, whichever digits the difference itself has.
TEST(LDHints, TheNextDigitCountsOnlyTheDigitsBroughtDown) {
    testing::LDStage stage;
    stage.start(division("70)7105"), true);
    LDPlaygroundMain& main = stage.main();
    stage.workRow(1, 1);
    stage.bringNext();
    ASSERT_EQ(stage.working().solo()->coef(), 10);
    ASSERT_TRUE(main.ghostView());
    EXPECT_EQ(main.ghostView()->solo()->coef(), 5);
    EXPECT_NEAR(shownGhost(main).midX(), centerOf(*stage.dividend().digitViews()[3]).x, 1);
}

TEST(LDHints, ANewProblemMidHintLeavesNothingRunning) {
    testing::LDStage stage;
    stage.start(division("12)156"), true);
    std::weak_ptr<LDPlaygroundMain> old = stage.view->playgroundMain();
    stage.host.advance(1.5);
    ASSERT_TRUE(old.lock()->ghostTimer());
    const std::weak_ptr<core::Timer> timer = old.lock()->ghostTimer();
    stage.start(division("7)100"), true);
    EXPECT_TRUE(old.expired());
    EXPECT_TRUE(timer.expired() || !timer.lock()->isValid());
    stage.host.advance(2);
    EXPECT_EQ(stage.main().ghostView()->solo()->coef(), 7);
}

} // namespace
} // namespace zm
