#include "model/ExprEquation.h"
#include "model/testing/Trees.h"
#include "playground/PlaygroundEuclideanFountain.h"
#include "playground/ScreenGeometry.h"
#include "playground/keyboard/ExprInputViewController.h"
#include "playground/testing/KeyboardStage.h"
#include "playground/testing/PlayStage.h"
#include "playground/views/ExprView.h"
#include "playground/views/GenericLabel.h"
#include "playground/views/OpView.h"

#include <random>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

// A playground playing an equation on a screen that hosts the keyboard.
class BothSidesStage : public PlayStage {
public:
    explicit BothSidesStage(ui::Idiom idiom = ui::Idiom::Tablet)
        : PlayStage(idiom)
        , interface(idiom)
        , fingers(host) {
        playgroundView->setContainerInputDelegate(container);
    }

    // x + -3 = 4, the usual start.
    void startEquation() { start(eq(sum({var("x"), num(-3)}), num(4))); }

    // A tap on the equation's "=" opens the both-sides playground.
    PlaygroundEuclideanFountain& open() {
        tap(centerOf(std::static_pointer_cast<ExprEquation>(expr())->op().get()));
        EXPECT_TRUE(modal()) << "no both-sides playground";
        return *modal();
    }
    PlaygroundEuclideanFountain* modal() const {
        return dynamic_cast<PlaygroundEuclideanFountain*>(playgroundView->modalPlayground().get());
    }
    // Taps a sign of the open playground; the keyboard comes up.
    void choose(const std::shared_ptr<GenericLabel>& sign) { tap(sign->getPointAtPosition(AnchorCenter)); }
    ExprInputViewController& keyboard() const { return *container->shown; }
    void type(const std::vector<std::string>& keys) { fingers.type(keyboard(), keys); }
    // Where the main expression shows the equation's "=".
    core::Point mainEquals() const {
        const auto equation = std::static_pointer_cast<ExprEquation>(expr());
        return main().mainExprView()->viewWithOp(equation->op().get())->getPointAtPosition(AnchorCenter);
    }
    float space() const { return main().mainExprView()->space(); }

    KeyboardInterface interface;
    std::shared_ptr<RecordingInputContainer> container =
        std::make_shared<RecordingInputContainer>(host.window(), playgroundView);
    KeyboardFingers fingers;
};

void expectPoint(core::Point actual, core::Point expected, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, 0.01f) << what;
    EXPECT_NEAR(actual.y, expected.y, 0.01f) << what;
}

TEST(BothSides, TheSignsFlyOutOfACopyOfTheEquals) {
    BothSidesStage stage;
    stage.startEquation();
    PlaygroundEuclideanFountain& modal = stage.open();
    EXPECT_EQ(modal.state(), PlaygroundEuclideanFountain::kChoosingOperation);
    ASSERT_EQ(modal.operatorViews().size(), 3u);
    EXPECT_EQ(modal.operatorViews()[ArithmeticTypeAdd]->text(), "+");
    EXPECT_EQ(modal.operatorViews()[ArithmeticTypeMultiply]->text(), "*");
    EXPECT_EQ(modal.operatorViews()[ArithmeticTypeDivide]->text(), "÷");
    const OpViewEquals& equals = *modal.equalsView();
    expectPoint(equals.getPointAtPosition(AnchorCenter), stage.mainEquals(), "the copy stands on the \"=\"");
    const float s = stage.space();
    const core::Point top = equals.getPointAtPosition(AnchorTopLeft);
    const core::Point bottom = equals.getPointAtPosition(AnchorBottomCenter);
    const core::Point right = equals.getPointAtPosition(AnchorTopRight);
    expectPoint(modal.plusView()->getPointAtPosition(AnchorMiddleRight), top, "+ at the upper left");
    expectPoint(modal.divideView()->getPointAtPosition(AnchorCenter), {bottom.x, bottom.y + 2 * s},
                "÷ below");
    expectPoint(modal.timesView()->getPointAtPosition(AnchorMiddleLeft), {right.x, right.y + 2 * s},
                "* right");
    for (const auto& view : modal.getConcreteViews())
        EXPECT_EQ(view->superview(), stage.playgroundView.get());
    EXPECT_TRUE(stage.container->messages.empty()) << "no keyboard yet";
}

struct ChoiceCase {
    ArithmeticType type;
    const char* name;
};

class BothSidesChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(BothSidesChoice, TheChosenSignStandsByTheEqualsAndTheKeyboardOpens) {
    const ArithmeticType type = GetParam().type;
    BothSidesStage stage;
    stage.startEquation();
    PlaygroundEuclideanFountain& modal = stage.open();
    stage.choose(modal.operatorViews()[type]);
    ASSERT_EQ(stage.modal(), &modal);
    EXPECT_EQ(modal.state(), PlaygroundEuclideanFountain::kTypingOperand);
    EXPECT_EQ(modal.chosenArithType(), int(type));
    EXPECT_EQ(modal.chosenOpView(), modal.operatorViews()[type]);
    EXPECT_EQ(stage.container->messages, std::vector<std::string>{"add"});
    ASSERT_TRUE(modal.keyboard());
    EXPECT_TRUE(modal.keyboard()->textView()->isFirstResponder());
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(modal.operatorViews()[i]->superview() != nullptr, i == size_t(type)) << "sign " << i;

    // The expression steps down (up for a division) from the pivot of the smaller playground.
    const float s = stage.space();
    const float pivotY = stage.playgroundView->pivotPoint().y;
    EXPECT_NEAR(stage.mainEquals().y, type == ArithmeticTypeDivide ? pivotY - 2 * s : pivotY + 2 * s, 0.01f);
    expectPoint(modal.equalsView()->getPointAtPosition(AnchorCenter), stage.mainEquals(), "the \"=\"");

    // With nothing typed the row is the sign alone, centred on the "=": above it, or below for "÷".
    const GenericLabel& sign = *modal.chosenOpView();
    const OpViewEquals& equals = *modal.equalsView();
    const float x = equals.getPointAtPosition(AnchorTopCenter).x - (s + sign.getWidth()) / 2;
    if (type == ArithmeticTypeDivide) {
        const float y = std::max(20.0f, equals.getPointAtPosition(AnchorBottomCenter).y - 13);
        expectPoint(sign.getPointAtPosition(AnchorTopLeft), {x, y}, "÷ under the \"=\"");
    } else {
        const float lowered = type == ArithmeticTypeMultiply ? 2 * s : 0;
        const float y = std::max(20.0f, equals.getPointAtPosition(AnchorTopCenter).y + 5);
        expectPoint(sign.getPointAtPosition(AnchorBottomLeft), {x, y + lowered}, "the sign over the \"=\"");
    }
    EXPECT_TRUE(stage.render(std::string("both-sides-chosen-") + GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Signs, BothSidesChoice,
                         ::testing::Values(ChoiceCase{ArithmeticTypeAdd, "plus"},
                                           ChoiceCase{ArithmeticTypeMultiply, "times"},
                                           ChoiceCase{ArithmeticTypeDivide, "divide"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BothSides, TheOperandFollowsEveryKey) {
    BothSidesStage stage;
    stage.startEquation();
    PlaygroundEuclideanFountain& modal = stage.open();
    stage.choose(modal.timesView());
    stage.type({"1", "2"});
    ASSERT_TRUE(modal.currentExpr());
    EXPECT_EQ(modal.currentExpr()->description(), "12");
    ASSERT_TRUE(modal.inputExprView());
    // The row of "*" and "12" is centred on the "="; the operand starts a space after the sign and
    // stands 2 spaces higher than the lowered times sign.
    const float s = stage.space();
    const GenericLabel& sign = *modal.chosenOpView();
    const ExprView& operand = *modal.inputExprView();
    const core::Point signCorner = sign.getPointAtPosition(AnchorBottomLeft);
    expectPoint(operand.getPointAtPosition(AnchorBottomLeft),
                {signCorner.x + s + sign.getWidth(), signCorner.y - 2 * s}, "the operand");
    EXPECT_NEAR(signCorner.x + (s + sign.getWidth() + operand.getWidth()) / 2,
                modal.equalsView()->getPointAtPosition(AnchorTopCenter).x, 0.01f);
    for (const auto& view : operand.getViewList())
        EXPECT_EQ(view->superview(), stage.playgroundView.get());

    // Deleting everything takes the operand away; typing again brings one back.
    const auto oldViews = operand.getViewList();
    stage.type({"", ""});
    EXPECT_FALSE(modal.currentExpr());
    EXPECT_FALSE(modal.inputExprView());
    for (const auto& view : oldViews)
        EXPECT_FALSE(view->superview());
    stage.type({"xyz", "y"});
    ASSERT_TRUE(modal.inputExprView());
    EXPECT_EQ(modal.currentExpr()->description(), "y");
}

TEST(BothSides, TheRowStaysOnTheScreen) {
    struct Case {
        ArithmeticType type;
        float equalsY; // where the "=" is put
        bool top;      // clamped at the top (else at the bottom)
    };
    for (const Case& c : {Case{ArithmeticTypeAdd, 10, true}, Case{ArithmeticTypeMultiply, 10, true},
                          Case{ArithmeticTypeDivide, 2000, false}}) {
        BothSidesStage stage;
        stage.startEquation();
        PlaygroundEuclideanFountain& modal = stage.open();
        stage.choose(modal.operatorViews()[c.type]);
        stage.type({"5"});
        const core::Point equals = modal.equalsView()->getPointAtPosition(AnchorCenter);
        modal.equalsView()->moveTo(
            {equals.x, std::min(c.equalsY, stage.playgroundView->bounds().height() - 5)}, AnchorCenter);
        modal.updateInputExprView();
        const GenericLabel& sign = *modal.chosenOpView();
        const float s = stage.space();
        if (c.top) {
            const float lowered = c.type == ArithmeticTypeMultiply ? 2 * s : 0;
            EXPECT_NEAR(sign.getTopLeft().y, -10 + lowered, 0.01f) << c.type;
            EXPECT_NEAR(modal.inputExprView()->getPointAtPosition(AnchorBottomLeft).y,
                        sign.getPointAtPosition(AnchorBottomLeft).y - lowered, 0.01f)
                << c.type;
        } else {
            const float bottom = stage.playgroundView->bounds().height();
            EXPECT_NEAR(sign.getPointAtPosition(AnchorBottomLeft).y, bottom, 0.01f) << c.type;
            EXPECT_NEAR(modal.inputExprView()->getTopLeft().y, sign.getTopLeft().y, 0.01f) << c.type;
        }
    }
}

TEST(BothSides, ASignReleasedOffTheSignsChoosesNothing) {
    BothSidesStage stage;
    stage.startEquation();
    PlaygroundEuclideanFountain& modal = stage.open();
    const float base = stage.playgroundView->baseFontSize();
    const core::Point plus = modal.plusView()->getPointAtPosition(AnchorCenter);
    stage.host.touchDown(plus);
    EXPECT_FLOAT_EQ(modal.plusView()->font().pointSize(), 1.2f * base) << "a pressed sign grows";
    stage.host.touchMove({plus.x - 200, plus.y - 150});
    stage.host.touchUp({plus.x - 200, plus.y - 150});
    stage.settle();
    ASSERT_EQ(stage.modal(), &modal);
    EXPECT_EQ(modal.state(), PlaygroundEuclideanFountain::kChoosingOperation);
    for (const auto& sign : modal.operatorViews())
        EXPECT_FLOAT_EQ(sign->font().pointSize(), base) << sign->text();
    EXPECT_TRUE(stage.container->messages.empty());
}

TEST(BothSides, ATouchOffTheSignsClosesThePlaygroundAndItsKeyboard) {
    for (bool typing : {false, true}) {
        BothSidesStage stage;
        stage.startEquation();
        PlaygroundEuclideanFountain& modal = stage.open();
        if (typing) {
            stage.choose(modal.plusView());
            stage.type({"3"});
        }
        std::shared_ptr<ExprInputViewController> keyboard = modal.keyboard();
        stage.tap({5, 5});
        EXPECT_FALSE(stage.playgroundView->modalVisible()) << typing;
        EXPECT_EQ(stage.text(), "x + -3 = 4") << "no step";
        EXPECT_FALSE(stage.playgroundView->veil());
        if (typing) {
            EXPECT_EQ(stage.container->messages, (std::vector<std::string>{"add", "remove"}));
            EXPECT_TRUE(keyboard->ended());
            EXPECT_FALSE(keyboard->textView()->isFirstResponder());
            EXPECT_EQ(stage.playgroundView->frame(), stage.host.window().bounds());
        }
    }
}

TEST(BothSides, InTypingOnlyTheChosenSignCountsAsASign) {
    BothSidesStage stage;
    stage.startEquation();
    PlaygroundEuclideanFountain& modal = stage.open();
    const core::Point divide = modal.divideView()->getPointAtPosition(AnchorCenter);
    stage.choose(modal.plusView());
    // The chosen sign takes a touch without closing or growing.
    stage.tap(modal.chosenOpView()->getPointAtPosition(AnchorCenter));
    ASSERT_EQ(stage.modal(), &modal);
    EXPECT_FLOAT_EQ(modal.chosenOpView()->font().pointSize(), stage.playgroundView->baseFontSize());
    // Where "÷" stood before it left the screen is no sign any more.
    stage.host.touchDown(divide);
    EXPECT_FALSE(stage.playgroundView->modalVisible());
    stage.host.touchUp(divide);
}

TEST(BothSides, FinishingWithNothingTypedOrCancellingAppliesNothing) {
    for (size_t button : {size_t{0}, size_t{2}}) {
        BothSidesStage stage;
        stage.startEquation();
        PlaygroundEuclideanFountain& modal = stage.open();
        stage.choose(modal.plusView());
        if (button == 0)
            stage.type({"3"});
        stage.delegate->messages.clear();
        stage.fingers.tapBar(stage.keyboard(), button);
        stage.settle();
        EXPECT_FALSE(stage.playgroundView->modalVisible()) << button;
        EXPECT_EQ(stage.text(), "x + -3 = 4") << button;
        EXPECT_EQ(stage.delegate->count("willExecuteStep"), 0) << button;
        EXPECT_EQ(stage.container->messages, (std::vector<std::string>{"add", "remove"})) << button;
        EXPECT_FALSE(stage.playgroundView->veil());
    }
}

// What is no operand for both sides changes nothing: the equation shakes and the playground closes.
TEST(BothSides, TypedTextThatIsNoOperandShakesTheEquation) {
    struct Case {
        int sign; // 0 "+", 2 "÷"
        std::vector<std::string> keys;
    };
    const Case cases[] = {
        {0, {"3", "+"}}, {0, {"(", ")"}}, {0, {"^"}}, {0, {"1", "=", "2"}}, {2, {"0"}}, {2, {"2", "*", "0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys.front() + (c.keys.size() > 1 ? c.keys[1] : ""));
        BothSidesStage stage;
        stage.startEquation();
        PlaygroundEuclideanFountain& modal = stage.open();
        stage.choose(c.sign == 0 ? modal.plusView() : modal.divideView());
        stage.type(c.keys);
        stage.fingers.tapBar(stage.keyboard(), 2);
        stage.settle();
        EXPECT_FALSE(stage.playgroundView->modalVisible());
        EXPECT_EQ(stage.text(), "x + -3 = 4");
        EXPECT_EQ(stage.delegate->count("didErrorStep"), 1);
    }
}

class BothSidesByTouch : public ::testing::TestWithParam<ui::Idiom> {};

TEST_P(BothSidesByTouch, AddThreeToBothSides) {
    const char* device = GetParam() == ui::Idiom::Phone ? "phone" : "tablet";
    BothSidesStage stage(GetParam());
    stage.startEquation();
    PlaygroundEuclideanFountain& modal = stage.open();
    stage.render(std::string("add-three-signs-") + device);
    stage.choose(modal.plusView());
    stage.type({"3"});
    stage.render(std::string("add-three-typed-") + device);
    const core::Point operand = modal.inputExprView()->getPointAtPosition(AnchorCenter);

    stage.fingers.tapBar(stage.keyboard(), 2);
    EXPECT_EQ(stage.text(), "3 + x + -3 = 4 + 3");
    EXPECT_FALSE(stage.playgroundView->modalVisible());
    EXPECT_EQ(stage.container->messages, (std::vector<std::string>{"add", "remove"}));
    EXPECT_EQ(stage.delegate->count("willExecuteStep"), 1);
    // The two new threes grow out of the typed one.
    const auto equation = std::static_pointer_cast<ExprEquation>(stage.expr());
    const auto left = std::static_pointer_cast<ExprList>(equation->firstExpr())->exprs().front();
    const auto newThree = stage.main().mainExprView()->viewWithExpr(left.get())->getViewList().front();
    const core::Rect shownFrame = newThree->presentationFrame();
    const core::Point shown{shownFrame.midX(), shownFrame.midY()};
    const core::Point final{newThree->frame().midX(), newThree->frame().midY()};
    EXPECT_LT(distanceBetweenPoints(shown, operand), distanceBetweenPoints(final, operand) / 2);

    stage.settle();
    EXPECT_FALSE(stage.playgroundView->veil());
    EXPECT_EQ(stage.playgroundView->frame(), stage.host.window().bounds());
    EXPECT_TRUE(
        isLegible(*stage.render(std::string("add-three-done-") + device), *stage.main().mainExprView()));
}

INSTANTIATE_TEST_SUITE_P(Devices, BothSidesByTouch, ::testing::Values(ui::Idiom::Phone, ui::Idiom::Tablet),
                         [](const auto& info) {
                             return info.param == ui::Idiom::Phone ? "Phone" : "Tablet";
                         });

TEST(BothSides, ANewProblemTakesTheKeyboardDownWithThePlayground) {
    BothSidesStage stage;
    stage.startEquation();
    PlaygroundEuclideanFountain& modal = stage.open();
    stage.choose(modal.divideView());
    std::shared_ptr<ExprInputViewController> keyboard = modal.keyboard();
    stage.start(eq(var("y"), num(2)));
    EXPECT_TRUE(keyboard->ended());
    EXPECT_EQ(stage.container->messages, (std::vector<std::string>{"add", "remove"}));
}

TEST(BothSides, WithoutTheEqualsOnScreenNothingShowsAndATouchCloses) {
    BothSidesStage stage;
    stage.startEquation();
    auto elsewhere = eq(var("y"), num(2));
    auto modal = PlaygroundEuclideanFountain::create(elsewhere, stage.main());
    ASSERT_TRUE(modal);
    stage.playgroundView->showModalPlayground(modal);
    stage.settle();
    EXPECT_TRUE(modal->operatorViews().empty());
    EXPECT_TRUE(modal->getConcreteViews().empty());
    stage.tap({5, 5});
    EXPECT_FALSE(stage.playgroundView->modalVisible());
}

TEST(BothSides, RandomFingersNeverBreakIt) {
    BothSidesStage stage(ui::Idiom::Phone);
    std::mt19937 random(113);
    auto uniform = [&](float from, float to) {
        return std::uniform_real_distribution<float>(from, to)(random);
    };
    const core::Rect window = stage.host.window().bounds();
    stage.startEquation();
    for (int round = 0; round < 40; ++round) {
        if (!stage.playgroundView->modalVisible()) {
            if (!std::dynamic_pointer_cast<ExprEquation>(stage.expr()))
                stage.startEquation();
            stage.open();
        }
        for (int i = 0; i < 6; ++i) {
            const core::Point from{uniform(0, window.width()), uniform(0, window.height())};
            stage.host.touchDown(from);
            stage.host.advance(0.02);
            stage.host.touchMove({uniform(0, window.width()), uniform(0, window.height())});
            stage.host.touchUp({uniform(0, window.width()), uniform(0, window.height())});
            stage.host.advance(uniform(0, 0.5f));
        }
        stage.settle();
        // A keyboard is up exactly while the playground types an operand.
        const PlaygroundEuclideanFountain* modal = stage.modal();
        const bool typing = modal && modal->state() == PlaygroundEuclideanFountain::kTypingOperand;
        EXPECT_EQ(stage.container->shown != nullptr, typing) << "round " << round;
    }
}

} // namespace
} // namespace zm
