#include "model/steps/StepReplace.h"
#include "model/testing/Trees.h"
#include "platform/core/Log.h"
#include "playground/testing/PlaygroundStage.h"
#include "playground/views/ExprViewSoloist.h"
#include "playground/views/ExprViewSquishProduct.h"
#include "playground/views/NumberLabel.h"
#include "playground/views/OpView.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

constexpr float kSize = 50;

std::shared_ptr<ExprProduct> powersOfX(const std::vector<int>& exponents) {
    std::vector<ExprPtr> factors;
    for (const int exponent : exponents)
        factors.push_back(var("x", exponent));
    return prod(factors);
}

class ExprViewSquishProductTest : public ::testing::Test {
protected:
    // A row of powers of x at size 50, centred in the view between walls far apart, on screen.
    std::shared_ptr<ExprViewSquishProduct> row(const std::vector<int>& exponents) {
        auto view = ExprViewSquishProduct::create(powersOfX(exponents), *stage.playgroundView, nullptr);
        view->setFontSize(kSize, false);
        view->setLeftWallXPos(50, 974);
        view->moveTo(stage.center(), AnchorCenter);
        for (const std::shared_ptr<ui::View>& platformView : view->getViewList())
            stage.playgroundView->addSubview(platformView);
        return view;
    }

    // Walls `slack` points outside the row as it lies at rest.
    void tighten(ExprViewSquishProduct& view, float slack) {
        const core::Rect box = view.getHitbox();
        view.setLeftWallXPos(box.minX() - slack, box.minX() + view.getWidth() + slack);
    }

    void lean(ExprViewSquishProduct& view, float offset) {
        view.setOffset(offset);
        view.moveTo(view.centerPivot(), AnchorCenter);
    }

    static float scaleOf(const ExprView& factor) {
        return static_cast<const ExprViewSoloist&>(factor).varLabel()->transform().xScale();
    }

    PlaygroundStage stage{ui::Idiom::Tablet};
};

TEST_F(ExprViewSquishProductTest, AtRestTheRowLiesExactlyLikeAProduct) {
    auto squished = row({1, 1, 1});
    auto plain = ExprViewProduct::create(powersOfX({1, 1, 1}), *stage.playgroundView, nullptr);
    plain->setFontSize(kSize, false);
    plain->moveTo(stage.center(), AnchorCenter);
    const GenericViewList pieces = squished->orderedViewList();
    ASSERT_EQ(pieces.size(), 5u);
    for (size_t i = 0; i < pieces.size(); ++i) {
        const IGenericView& expected = i % 2 == 0
                                           ? static_cast<const IGenericView&>(*plain->exprViews()[i / 2])
                                           : *plain->opViews()[i / 2];
        EXPECT_EQ(pieces[i]->getHitbox(), expected.getHitbox()) << "piece " << i;
    }
    EXPECT_EQ(squished->centerPivot(), stage.center());
    EXPECT_EQ(squished->squishPerc(), 0);
    EXPECT_NEAR(squished->opViews()[0]->getPointAtPosition(AnchorCenter).y,
                squished->exprViews()[0]->getPointAtPosition(AnchorCenter).y + 2 * squished->space(), 1);
}

TEST_F(ExprViewSquishProductTest, EachPushMovesTheRowFifteenPointsAtMost) {
    const struct {
        float push;
        float moved;
    } cases[] = {{40, 15}, {-40, -15}, {6, 6}, {-15, -15}};
    for (const auto& c : cases) {
        auto view = row({1, 1});
        const float before = view->exprViews()[0]->getHitbox().minX();
        view->addToOffset(c.push);
        EXPECT_EQ(view->offset(), c.moved) << c.push;
        EXPECT_FLOAT_EQ(view->exprViews()[0]->getHitbox().minX(), before + c.moved) << c.push;
        view->clear();
    }
}

TEST_F(ExprViewSquishProductTest, LeaningLeftPilesThePiecesOnTheWallAndSwellsTheFirstFactor) {
    auto view = row({1, 1, 1});
    tighten(*view, 10);
    const float width = view->exprViews()[0]->getWidth();
    lean(*view, -40);
    const float wall = view->leftWallXPos();
    EXPECT_NEAR(view->squishPerc(), 30 / (2 * width), 1e-4) << "pushed 30 past the wall";
    EXPECT_FLOAT_EQ(scaleOf(*view->exprViews()[0]), 1 + view->squishPerc() / 3);
    EXPECT_FLOAT_EQ(scaleOf(*view->exprViews()[2]), 1);
    for (const ExprViewPtr& factor : view->exprViews())
        EXPECT_GE(factor->getHitbox().minX(), wall - 0.01f);

    const float squeezed = view->squishPerc();
    lean(*view, -120);
    EXPECT_GT(view->squishPerc(), squeezed);
    EXPECT_FLOAT_EQ(view->exprViews()[1]->getHitbox().minX(), wall) << "the second factor piled on too";

    // Leaning the other way, the first factor is no longer squeezed and no longer swollen.
    lean(*view, 5);
    EXPECT_FLOAT_EQ(scaleOf(*view->exprViews()[0]), 1);
}

TEST_F(ExprViewSquishProductTest, LeaningRightTheLastFactorSwellsBeforeItReachesTheWall) {
    auto view = row({1, 1});
    tighten(*view, 10);
    lean(*view, 5);
    const ExprViewPtr& last = view->exprViews().back();
    EXPECT_LT(last->getHitbox().maxX(), view->rightWallXPos());
    EXPECT_GT(view->squishPerc(), 0) << "measured from the row's right end";
    EXPECT_GT(scaleOf(*last), 1);
}

TEST_F(ExprViewSquishProductTest, AFactorPushedIntoTheEndFactorMergesOnlyIntoThatFactor) {
    const struct {
        std::vector<int> exponents;
        float lean;
        const char* merged; // null: no merge
    } cases[] = {
        {{2, 1}, -200, "x^3"},                            // the x goes into the x² at the left wall
        {{1, 2}, -200, nullptr},                          // a power is never taken in
        {{1, 1}, 200, "x^2"},                             // at the right wall
        {{2, 1}, 200, nullptr},  {{1, 1, 1}, 0, nullptr}, // nothing squeezed
    };
    for (const auto& c : cases) {
        auto view = row(c.exponents);
        tighten(*view, 5);
        lean(*view, c.lean);
        const std::shared_ptr<StepReplace> merge = view->overlapCheck();
        if (!c.merged) {
            EXPECT_FALSE(merge) << view->description() << " leaning " << c.lean;
            view->clear();
            continue;
        }
        ASSERT_TRUE(merge) << view->description() << " leaning " << c.lean;
        EXPECT_EQ(merge->condemned(),
                  (std::vector<ExprPtr>{view->listExpr()->exprs()[0], view->listExpr()->exprs()[1]}));
        ASSERT_EQ(merge->replacements().size(), 1u);
        EXPECT_EQ(merge->replacements()[0]->description(), c.merged);
        EXPECT_EQ(merge->applyToExpr(view->listExpr(), nullptr)->description(), c.merged);
        view->clear();
    }
}

TEST_F(ExprViewSquishProductTest, OnlyTwoPowersCanFallDown) {
    const struct {
        std::vector<int> exponents;
        bool falls;
    } cases[] = {{{3, 2}, true}, {{2, 2}, true}, {{3, 1}, false}, {{1, 1}, false}, {{2, 2, 1}, false}};
    for (const auto& c : cases) {
        auto view = row(c.exponents);
        EXPECT_EQ(view->canFallDown(), c.falls) << view->description();
        view->clear();
    }
}

TEST_F(ExprViewSquishProductTest, FactorsGrowWithTheirShareOfTheExponents) {
    const struct {
        std::vector<int> exponents;
        std::vector<float> sizes;
    } cases[] = {
        {{3, 1, 1}, {60, 40, 40}},
        {{2, 1}, {60, 40}}, // half of 1 / 2, not the whole-number 0
        {{1, 1}, {40, 40}},
        {{4, 1}, {70, 40}},
    };
    for (const auto& c : cases) {
        auto view = row(c.exponents);
        view->setFontSize(40, false);
        for (size_t i = 0; i < c.sizes.size(); ++i)
            EXPECT_FLOAT_EQ(view->exprViews()[i]->baseFontSize(), c.sizes[i])
                << view->description() << " #" << i;
        for (const std::shared_ptr<IGenericView>& op : view->opViews())
            EXPECT_FLOAT_EQ(std::static_pointer_cast<OpView>(op)->font().pointSize(), 40);
        view->clear();
    }

    auto view = row({3, 1, 1});
    EXPECT_EQ(view->exponentTotal(), 5);
    view->setFontSizeForced(30);
    stage.host.advance(0.5);
    for (const ExprViewPtr& factor : view->exprViews())
        EXPECT_FLOAT_EQ(static_cast<ExprViewSoloist&>(*factor).varLabel()->font().pointSize(), 30);
}

TEST_F(ExprViewSquishProductTest, TheLastExponentIsPulledBackToTheRightWall) {
    auto view = row({1, 2});
    const auto& last = static_cast<const ExprViewSoloist&>(*view->exprViews().back());
    const float wall = last.getHitbox().minX() + last.getWidth();
    ASSERT_GT(last.exponentLabel()->getHitbox().maxX(), wall) << "the exponent overhangs its width";
    view->setLeftWallXPos(view->leftWallXPos(), wall);
    view->moveTo(view->centerPivot(), AnchorCenter);
    EXPECT_FLOAT_EQ(last.exponentLabel()->getHitbox().maxX(), wall);
}

TEST_F(ExprViewSquishProductTest, ASqueezedRowSpringsBackButNeverPastTheMiddle) {
    auto view = row({1, 1, 1});
    view->addToOffset(-10);
    view->pushOffWall(stage.center());
    stage.host.advance(0.6);
    EXPECT_EQ(view->offset(), -10) << "nothing squeezed, nothing springs";

    tighten(*view, 10);
    lean(*view, -25);
    const float squeezed = view->squishPerc();
    ASSERT_GT(squeezed, 0);
    ASSERT_LT(squeezed, 1);
    view->pushOffWall(stage.center());
    stage.host.advance(0.6);
    EXPECT_FLOAT_EQ(view->offset(), -25 * (1 - squeezed));
    EXPECT_LT(scaleOf(*view->exprViews()[0]), 1 + squeezed / 3);

    lean(*view, -200);
    ASSERT_GT(view->squishPerc(), 1);
    view->pushOffWall(stage.center());
    stage.host.advance(0.6);
    EXPECT_EQ(view->offset(), 0) << "back in the middle, not thrown against the other wall";
    EXPECT_EQ(view->squishPerc(), 0);
}

TEST_F(ExprViewSquishProductTest, APushGoesNoFurtherThanTheRowsWidthIntoAWall) {
    auto view = row({1, 2});
    tighten(*view, 10);
    for (int i = 0; i < 100; ++i)
        view->addToOffset(-15);
    const float flush = (view->rightWallXPos() - view->leftWallXPos() - view->getWidth()) / 2;
    const float limit = view->offset();
    EXPECT_NEAR(limit, -(flush + view->getWidth()), 0.01);
    view->addToOffset(15);
    EXPECT_FLOAT_EQ(view->offset(), limit + 15) << "moving back answers at once";
}

TEST_F(ExprViewSquishProductTest, AlignedToAWallTheRowIsFlushAgainstIt) {
    auto view = row({1, 1, 1});
    tighten(*view, 30);
    lean(*view, -1);
    view->alignToWall();
    EXPECT_FLOAT_EQ(view->offset(), -30);
    lean(*view, 1);
    view->alignToWall();
    EXPECT_FLOAT_EQ(view->offset(), 30);
}

TEST_F(ExprViewSquishProductTest, LayingOutWithoutWallsSaysSo) {
    core::LogCapture log;
    auto view = ExprViewSquishProduct::create(powersOfX({1, 1}), *stage.playgroundView, nullptr);
    view->moveTo(stage.center(), AnchorCenter);
    EXPECT_TRUE(log.contains("Walls have not been set, please set them"));
}

} // namespace
} // namespace zm
