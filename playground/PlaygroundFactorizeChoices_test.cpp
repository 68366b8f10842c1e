#include "model/ExprProduct.h"
#include "model/testing/Trees.h"
#include "platform/core/Log.h"
#include "playground/PlaygroundFactorizeChoices.h"
#include "playground/testing/PlayStage.h"
#include "playground/views/ExprViewList.h"

#include <cmath>
#include <random>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

core::Point middleOf(const core::Rect& rect) {
    return {rect.midX(), rect.midY()};
}

std::vector<std::string> texts(const std::vector<std::shared_ptr<ExprProduct>>& pairs) {
    std::vector<std::string> result;
    for (const std::shared_ptr<ExprProduct>& pair : pairs)
        result.push_back(pair->description());
    return result;
}

class PlaygroundFactorizeChoicesTest : public ::testing::Test {
protected:
    // Starts the problem, taps the number and answers the factor-pair playground, its pairs spread out.
    std::shared_ptr<PlaygroundFactorizeChoices> open(const ExprPtr& root,
                                                     const std::shared_ptr<ExprSoloist>& number) {
        stage.start(root);
        stage.tap(stage.centerOf(number.get()));
        auto modal =
            std::dynamic_pointer_cast<PlaygroundFactorizeChoices>(stage.playgroundView->modalPlayground());
        EXPECT_TRUE(modal) << "no factor pairs for " << number->description();
        stage.delegate->messages.clear();
        return modal;
    }

    // Where a choice shows on screen.
    static core::Point screenPoint(const PlaygroundFactorizeChoices& modal, const ExprView& choice) {
        const core::Point center = choice.getPointAtPosition(AnchorCenter);
        return {center.x - modal.scroller()->contentOffset().x, center.y};
    }

    int stepsApplied() const { return stage.delegate->count("willExecuteStep"); }

    PlayStage stage;
};

TEST_F(PlaygroundFactorizeChoicesTest, EveryPairButOneTimesTheNumberIsOffered) {
    auto twelve = num(12);
    auto modal = open(sum({twelve, num(1)}), twelve);
    ASSERT_TRUE(modal);
    EXPECT_EQ(texts(modal->factorPairs()), (std::vector<std::string>{"2 * 6", "3 * 4"}));
    ASSERT_EQ(modal->choices().size(), 2u);
    EXPECT_EQ(modal->choices()[1]->getExpr(), modal->factorPairs()[1]);
    EXPECT_TRUE(modal->choices()[0]->isHighlighted()) << "pairs at rest show in the highlight colour";

    auto thirtySix = num(36);
    auto other = open(sum({thirtySix, num(1)}), thirtySix);
    ASSERT_TRUE(other);
    EXPECT_EQ(texts(other->factorPairs()), (std::vector<std::string>{"2 * 18", "3 * 12", "4 * 9", "6 * 6"}));
}

TEST_F(PlaygroundFactorizeChoicesTest, ThePairsSpreadOutOfTheNumberIntoARowAboveIt) {
    auto twelve = num(12);
    stage.start(sum({twelve, num(1)}));
    const core::Point at = stage.centerOf(twelve.get());
    stage.host.touchDown(at);
    stage.host.touchUp(at);
    auto modal =
        std::dynamic_pointer_cast<PlaygroundFactorizeChoices>(stage.playgroundView->modalPlayground());
    ASSERT_TRUE(modal);
    const core::Rect number = modal->soloView()->getHitbox();
    // Before the spread, every piece shows on the number.
    for (const std::shared_ptr<ui::View>& view : modal->choices()[0]->getViewList())
        EXPECT_EQ(middleOf(view->presentationFrame()), middleOf(number));
    stage.settle();
    const float bottom = number.minY() + 0.2f * number.height();
    float left = 0;
    for (const std::shared_ptr<ExprView>& choice : modal->choices()) {
        EXPECT_FLOAT_EQ(choice->getPointAtPosition(AnchorBottomLeft).y, bottom);
        EXPECT_GT(choice->getHitbox().minX(), left);
        left = choice->getHitbox().maxX();
    }
    const float rowMiddle = (modal->choices().front()->getHitbox().minX() + modal->getWidth() / 2);
    EXPECT_NEAR(rowMiddle, number.midX(), 0.5) << "centred on the number";
    EXPECT_FLOAT_EQ(modal->scroller()->frame().height(), number.maxY());
    stage.render("factor-pairs-modal");
}

TEST_F(PlaygroundFactorizeChoicesTest, TheRowKeepsInsideTheSpacingRectangle) {
    const auto withNumberAt = [&](size_t index, const std::shared_ptr<ExprSoloist>& number) {
        std::vector<ExprPtr> terms;
        for (size_t i = 0; i < 11; ++i)
            terms.push_back(i == index ? ExprPtr(number) : ExprPtr(num(1)));
        return sum(terms);
    };
    auto first = num(36);
    auto modal = open(withNumberAt(0, first), first);
    ASSERT_TRUE(modal);
    EXPECT_FLOAT_EQ(modal->choices().front()->getHitbox().minX(), 5) << "near the left edge";

    auto last = num(36);
    modal = open(withNumberAt(10, last), last);
    ASSERT_TRUE(modal);
    const float room = stage.playgroundView->spacingRect().width();
    EXPECT_FLOAT_EQ(modal->choices().front()->getHitbox().minX(), room - modal->getWidth())
        << "near the right edge";

    auto many = num(5040);
    modal = open(sum({many, num(1)}), many);
    ASSERT_TRUE(modal);
    EXPECT_EQ(modal->choices().size(), 29u);
    EXPECT_FLOAT_EQ(modal->choices().front()->getHitbox().minX(), 0) << "too wide: from the left edge";
    EXPECT_GT(modal->scroller()->contentSize().width, modal->scroller()->bounds().width());
}

// By hand, through the host's touches: the finger marks the pair it is on and releasing there writes
// the number as that pair, whose pieces then grow out of where the pair showed.
TEST_F(PlaygroundFactorizeChoicesTest, ReleasingOnAPairFactorizesTheNumber) {
    auto twelve = num(12);
    auto modal = open(sum({twelve, num(1)}), twelve);
    ASSERT_TRUE(modal);
    const std::shared_ptr<ExprView> chosen = modal->choices()[1];
    const auto pair = std::static_pointer_cast<ExprProduct>(chosen->getExpr());
    const core::Point at = screenPoint(*modal, *chosen);
    const core::Point threeAt =
        chosen->viewWithExpr(pair->exprs()[0].get())->getPointAtPosition(AnchorCenter);
    stage.host.touchDown(at);
    EXPECT_EQ(modal->highlightedExprView(), chosen);
    EXPECT_FALSE(chosen->isHighlighted()) << "the touched pair shows in the expression colour";
    stage.host.touchUp(at);
    EXPECT_FALSE(stage.playgroundView->modalVisible());
    EXPECT_EQ(stage.text(), "3 * 4 + 1");
    const std::shared_ptr<ExprView> three = stage.main().mainExprView()->viewWithExpr(pair->exprs()[0].get());
    ASSERT_TRUE(three);
    EXPECT_LT(std::hypot(three->getViewList().front()->presentationFrame().midX() - threeAt.x,
                         three->getViewList().front()->presentationFrame().midY() - threeAt.y),
              1);
    stage.settle();
    EXPECT_EQ(stepsApplied(), 1);
}

TEST_F(PlaygroundFactorizeChoicesTest, ReleasingOffEveryPairClosesWithoutAStep) {
    auto twelve = num(12);
    auto modal = open(sum({twelve, num(1)}), twelve);
    ASSERT_TRUE(modal);
    const std::shared_ptr<ExprView> chosen = modal->choices()[0];
    stage.host.touchDown(screenPoint(*modal, *chosen));
    const core::Point empty{3, modal->scroller()->frame().height() - 2};
    stage.host.advance(0.05);
    stage.host.touchMove(empty);
    EXPECT_EQ(modal->highlightedExprView(), nullptr);
    EXPECT_TRUE(chosen->isHighlighted()) << "back in the highlight colour";
    stage.host.touchUp(empty);
    stage.settle();
    EXPECT_FALSE(stage.playgroundView->modalVisible());
    EXPECT_EQ(stage.text(), "12 + 1");
    EXPECT_EQ(stepsApplied(), 0);
}

// The touch that closes the playground goes no further: lifted on the x below, it is no tap on it.
TEST_F(PlaygroundFactorizeChoicesTest, ATouchOutsideTheStripClosesAtOnce) {
    auto twelve = num(12);
    auto x = var("x");
    auto modal = open(quot(twelve, x), twelve);
    ASSERT_TRUE(modal);
    const core::Point below = stage.centerOf(x.get());
    ASSERT_GT(below.y, modal->scroller()->frame().maxY());
    stage.host.touchDown(below);
    EXPECT_FALSE(stage.playgroundView->modalVisible());
    stage.host.touchUp(below);
    stage.settle();
    EXPECT_EQ(stage.text(), "12 / x");
    EXPECT_EQ(stepsApplied(), 0);
    EXPECT_EQ(stage.delegate->count("didErrorStep"), 0);
}

// The automatic player taps a pair in the strip's visible coordinates, after scrolling to it;
// scrolling takes the mark off a touched pair.
TEST_F(PlaygroundFactorizeChoicesTest, TheAutomaticPlayerTapsAScrolledPair) {
    auto many = num(5040);
    auto modal = open(sum({many, num(1)}), many);
    ASSERT_TRUE(modal);
    const std::shared_ptr<ExprView> first = modal->choices().front();
    modal->executorTouchBegan(screenPoint(*modal, *first));
    EXPECT_EQ(modal->highlightedExprView(), first);

    GenericScrollView& strip = *modal->scroller();
    const std::shared_ptr<ExprView> last = modal->choices().back();
    strip.scrollRectToVisible({last->getHitbox().maxX(), last->getPointAtPosition(AnchorCenter).y, 1, 1},
                              false);
    ASSERT_GT(strip.contentOffset().x, 0);
    EXPECT_EQ(modal->highlightedExprView(), nullptr);
    EXPECT_TRUE(first->isHighlighted());

    const core::Point at = screenPoint(*modal, *last);
    modal->executorTouchBegan(at);
    EXPECT_EQ(modal->highlightedExprView(), last);
    modal->executorTouchEnded(at);
    stage.settle();
    EXPECT_EQ(stage.text(), "70 * 72 + 1");
    // A late tap of the same player finds the playground closed and does nothing.
    modal->executorTouchEnded(at);
    EXPECT_EQ(stepsApplied(), 1);
}

TEST_F(PlaygroundFactorizeChoicesTest, ANumberWithoutPairsBuildsNothingAndSaysSo) {
    auto zero = num(0);
    stage.start(sum({zero, num(1)}));
    core::LogCapture log;
    auto modal = PlaygroundFactorizeChoices::create(zero, stage.main());
    ASSERT_TRUE(modal);
    EXPECT_TRUE(log.contains("factor pairs = 0... NOT GOOD"));
    stage.playgroundView->showModalPlayground(modal);
    EXPECT_TRUE(modal->choices().empty());
    EXPECT_EQ(modal->scroller(), nullptr);
    stage.tap(stage.center());
    EXPECT_FALSE(stage.playgroundView->modalVisible());
    EXPECT_EQ(stage.text(), "0 + 1");
}

TEST_F(PlaygroundFactorizeChoicesTest, RandomTouchesNeverBreakIt) {
    std::mt19937 random(24);
    const core::Rect bounds = stage.playgroundView->bounds();
    std::uniform_real_distribution<float> across(bounds.minX(), bounds.maxX());
    for (int round = 0; round < 12; ++round) {
        auto number = num(36);
        auto modal = open(sum({number, num(5)}), number);
        ASSERT_TRUE(modal);
        std::uniform_real_distribution<float> down(bounds.minY(), modal->scroller()->frame().maxY() + 40);
        for (int event = 0; event < 30 && stage.playgroundView->modalVisible(); ++event) {
            const core::Point point{across(random), down(random)};
            switch (random() % 5) {
            case 0:
                stage.host.touchDown(point);
                break;
            case 1:
                stage.host.touchMove(point);
                break;
            case 2:
                stage.host.touchUp(point);
                break;
            case 3:
                modal->executorTouchBegan(point);
                break;
            default:
                modal->executorTouchEnded(point);
                break;
            }
            stage.host.advance(0.05);
        }
        stage.host.touchUp(middleOf(bounds));
        stage.settle();
        const std::string text = stage.text();
        EXPECT_TRUE(text == "36 + 5" || text == "2 * 18 + 5" || text == "3 * 12 + 5" || text == "4 * 9 + 5" ||
                    text == "6 * 6 + 5")
            << text;
        EXPECT_LE(stepsApplied(), 1);
        if (stage.playgroundView->modalVisible())
            stage.playgroundView->popModalPlayground();
    }
}

} // namespace
} // namespace zm
