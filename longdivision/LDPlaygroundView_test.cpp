#include "longdivision/LDPlaygroundView.h"

#include "longdivision/PlaygroundBeginningDecimal.h"
#include "longdivision/testing/LDStage.h"
#include "longdivision/testing/LongDivisionStage.h"
#include "platform/core/FileLocations.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/InterfaceFile.h"
#include "platform/ui/ViewController.h"
#include "playground/PlaygroundMain.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using testing::centerOf;

TEST(LDPlaygroundView, ComesFromItsInterfaceFileWithItsDefaults) {
    host::HeadlessHost host(ui::Device{ui::Idiom::Phone, 1});
    registerLongDivisionClasses(ui::ClassRegistry::shared());
    ui::InterfaceLoader::SharedOverride loader({core::FileLocations::shared().resources / "interface", ui::Idiom::Phone});
    auto controller = ui::ViewController::create();
    controller->setNibName("LDPlaygroundView");
    auto view = std::dynamic_pointer_cast<LDPlaygroundView>(controller->view());
    ASSERT_TRUE(view);
    EXPECT_EQ(view->frame(), core::Rect(0, 0, 480, 320));
    EXPECT_EQ(view->expressionColor(), core::Color::white());
    EXPECT_EQ(view->veilColor(), core::Color::rgba(0, 0, 0, 0.75f));
    EXPECT_EQ(view->baseFontSize(), 57);
    EXPECT_FALSE(view->drawingView());
    EXPECT_TRUE(view->subviews().empty());
    EXPECT_FALSE(view->playgroundMain());
}

TEST(LDPlaygroundView, OnlyALongDivisionIsShown) {
    testing::LDStage stage;
    stage.start("5)1234");
    const std::weak_ptr<LDPlaygroundMain> first = stage.view->playgroundMain();
    stage.view->setNewProblem(ExprSoloist::soloWithCoef(3), false);
    EXPECT_TRUE(stage.view->subviews().empty());
    EXPECT_EQ(stage.view->playgroundMain(), first.lock()) << "the old playground stays set, with nothing shown";
    stage.start("7)100");
    stage.host.advance(1);
    EXPECT_TRUE(first.expired()) << "a new problem frees the old playground";
    EXPECT_EQ(stage.main().longDivisionExpr()->description(), "7)100");
}

TEST(LDPlaygroundView, TouchesBeforeAProblemAndTwoFingerMovesReachNothing) {
    testing::LDStage stage;
    stage.host.touchDown({100, 100});
    stage.host.advance(0.1);
    stage.host.touchMove({150, 150});
    stage.host.touchUp({150, 150});
    stage.host.advance(0.5);
    stage.start("5)1234");
    const core::Point divisor = centerOf(*stage.head().denominatorView());
    stage.host.touchDown(divisor, 0);
    stage.host.touchDown({divisor.x + 200, divisor.y}, 1);
    stage.host.advance(0.05);
    const std::vector<ui::Window::TouchInput> together{{0, ui::TouchPhase::Moved, {divisor.x + 100, divisor.y + 100}},
                                                       {1, ui::TouchPhase::Moved, {divisor.x + 300, divisor.y + 100}}};
    stage.host.window().dispatchTouches(together, stage.host.now());
    stage.host.advance(0.05);
    EXPECT_FALSE(stage.main().agentExprView());
    stage.host.touchUp(divisor, 0);
    stage.host.touchUp({divisor.x + 200, divisor.y}, 1);
}

struct PictureCase {
    ui::Idiom idiom;
    const char* text;
    const char* name;
};

class LDPictures : public ::testing::TestWithParam<PictureCase> {};

TEST_P(LDPictures, TheDivisionIsLaidOutAndFitted) {
    const PictureCase& c = GetParam();
    testing::LDStage stage(c.idiom);
    stage.start(c.text);
    const auto picture = stage.render(c.name);
    ExprViewLongDivision& head = stage.head();
    std::vector<std::shared_ptr<ExprViewSoloist>> digits = head.numeratorView()->digitViews();
    digits.insert(digits.end(), head.denominatorView()->digitViews().begin(), head.denominatorView()->digitViews().end());
    for (const auto& digit : digits) {
        const core::Rect box = digit->getHitbox();
        EXPECT_TRUE(stage.view->bounds().contains(box)) << digit->solo()->coef();
        EXPECT_GT(testing::inkIn(*picture, box), int(box.width() * box.height() / 20)) << digit->solo()->coef();
    }
    EXPECT_GT(testing::inkIn(*picture, head.opViewDivide()->frame()), 0);
    EXPECT_GT(head.getWidth(), stage.view->bounds().width() * 0.3f) << "fitted, not left small";
}

INSTANTIATE_TEST_SUITE_P(LDPlaygroundView, LDPictures,
                         ::testing::Values(PictureCase{ui::Idiom::Phone, "5)1234", "ld-5-1234-phone"},
                                           PictureCase{ui::Idiom::Tablet, "5)1234", "ld-5-1234-tablet"},
                                           PictureCase{ui::Idiom::Phone, "7)100", "ld-7-100-phone"},
                                           PictureCase{ui::Idiom::Tablet, "7)100", "ld-7-100-tablet"}),
                         [](const auto& info) { return std::string(info.param.idiom == ui::Idiom::Phone ? "Phone" : "Tablet") + std::to_string(info.index); });

// 1234 ÷ 5 saved with its three rows worked and remainders taken.
std::shared_ptr<ExprLongDivision> savedWithRemainder(int32_t remainder) {
    auto division = ExprLongDivision::fromString("5)1234");
    division->setAcceptsRemainders(true);
    division->setFinishedSegments(3);
    division->setRemainder(ExprSoloist::soloWithCoef(remainder));
    return division;
}

TEST(LDPlaygroundView, ASavedRemainderComesBackAfterTheRAndASavedZeroDoesNot) {
    for (const int32_t saved : {4, 0}) {
        testing::LDStage stage;
        stage.start(savedWithRemainder(saved));
        EXPECT_EQ(stage.main().segmentViews().size(), 3u) << saved;
        EXPECT_FALSE(stage.view->modalVisible()) << saved;
        EXPECT_TRUE(stage.head().remainderLabel()->superview()) << saved;
        const auto& shown = stage.head().remainderView();
        EXPECT_EQ(shown ? shown->solo()->coef() : 0, saved);
        EXPECT_EQ(bool(shown), saved != 0);
    }
}

TEST(LDPlaygroundView, APointedDivisorOpensTheShifterOverTheRestoredRows) {
    testing::LDStage stage;
    auto division = ExprLongDivision::longDivision(75, 25);
    division->setNumeratorDotPosition(1);
    division->setDenominatorDotPosition(1);
    division->setFinishedSegments(1);
    stage.start(division);
    EXPECT_EQ(stage.main().segmentViews().size(), 1u);
    EXPECT_TRUE(std::dynamic_pointer_cast<PlaygroundBeginningDecimal>(stage.view->modalPlayground()));
}

class RestoredPictures : public ::testing::TestWithParam<ui::Idiom> {};

// Every number of the rows worked again, the quotient and the remainder after the "r" are drawn, on
// the screen.
TEST_P(RestoredPictures, RowsQuotientAndRemainderAreDrawn) {
    const ui::Idiom idiom = GetParam();
    testing::LDStage stage(idiom);
    stage.start(savedWithRemainder(4));
    const auto picture = stage.render(idiom == ui::Idiom::Phone ? "ld-restored-phone" : "ld-restored-tablet");
    ASSERT_TRUE(stage.head().remainderView());
    std::vector<const ExprViewSoloistDigits*> numbers{stage.head().answerView().get()};
    for (const auto& row : stage.main().segmentViews())
        numbers.insert(numbers.end(), {row->productView().get(), &row->workingView()});
    std::vector<core::Rect> boxes{stage.head().remainderLabel()->getHitbox(), stage.head().remainderView()->getHitbox()};
    // What each number shows: its digits but the leading zeros it keeps off the screen.
    for (const ExprViewSoloistDigits* number : numbers) {
        for (const auto& shown : number->getViewList())
            boxes.push_back(shown->frame());
    }
    for (const core::Rect& box : boxes) {
        EXPECT_TRUE(stage.view->bounds().contains(box)) << box.minX() << ", " << box.minY();
        EXPECT_GT(testing::inkIn(*picture, box), int(box.width() * box.height() / 20)) << box.minX() << ", " << box.minY();
    }
}

INSTANTIATE_TEST_SUITE_P(LDPlaygroundView, RestoredPictures, ::testing::Values(ui::Idiom::Phone, ui::Idiom::Tablet),
                         [](const auto& info) { return std::string(info.param == ui::Idiom::Phone ? "Phone" : "Tablet"); });

} // namespace
} // namespace zm
