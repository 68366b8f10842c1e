#include "model/Operator.h"
#include "model/testing/Trees.h"
#include "playground/PlaygroundExponents.h"
#include "playground/testing/PlayStage.h"
#include "playground/views/BorderView.h"
#include "playground/views/ExprViewSoloist.h"
#include "playground/views/ExprViewSquishProduct.h"

#include <algorithm>
#include <functional>
#include <random>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

TEST(PlaygroundExponentsQualify, TwoTermsWithTheSameBaseAndExponentsOfOneOrMore) {
    const struct {
        ExprPtr a, b;
        bool opens;
    } cases[] = {
        {var("x"), var("x"), true},
        {var("x", 2), var("x", 3), true},
        {term(3, "x"), var("x"), false}, // a coefficient is no base
        {term(-1, "x"), var("x"), false},
        {term(2, "num", 3), num(2), true},
        {num(2), term(2, "num", 3), true},
        {num(2), num(3), false},
        {num(2), num(2), false}, // plain numbers simply multiply
        {var("x", 2), num(3), false},
        {sum({var("x"), num(1)}), var("x"), false},
        {prod({var("x"), var("x")}), var("x"), false},
        {var("x", 0), var("x"), false}, // would write out no factor
        {var("x"), var("x", -1), false},
        {term(2, "num", 0), num(2), false},
        {var("x"), var("y"), false}, // unlike bases
        {term(2, "num", 3), num(3), false},
        {var("x"), term(2, "num", 3), false},
        {var("x", 10), var("x", 10), true},
        {var("x", 15), var("x", 6), false}, // too long a row
        {var("x", 2'000'000'000), var("x", 2'000'000'000), false},
    };
    for (const auto& c : cases) {
        const OpTimes times(c.a, c.b);
        EXPECT_EQ(PlaygroundExponents::doesOpTimesQualify(times), c.opens)
            << c.a->description() << " * " << c.b->description();
    }
}

TEST(PlaygroundExponentsQualify, ASinglePowerFromTwoToTheLongestRow) {
    const struct {
        std::shared_ptr<ExprSoloist> solo;
        bool opens;
    } cases[] = {
        {var("x", 4), true},       {var("x", 2), true},   {var("x"), false},
        {var("x", 0), false},      {var("x", -2), false}, {term(3, "x", 2), false},
        {term(5, "num", 3), true}, {var("x", 20), true},  {var("x", 21), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaygroundExponents::doesSoloQualify(*c.solo), c.opens) << c.solo->description();
}

class PlaygroundExponentsTest : public ::testing::Test {
protected:
    explicit PlaygroundExponentsTest(ui::Idiom idiom = ui::Idiom::Tablet)
        : stage(idiom) {}

    std::shared_ptr<PlaygroundExponents> modal() const {
        return std::dynamic_pointer_cast<PlaygroundExponents>(stage.playgroundView->modalPlayground());
    }
    // The row as it reads now.
    std::string row() const {
        const std::shared_ptr<PlaygroundExponents> m = modal();
        if (!m)
            return "";
        return m->product() ? m->product()->description() : m->finalSolo()->description();
    }

    // Starts the problem, taps `target` and waits until the row is spread.
    void open(const ExprPtr& expr, const std::function<core::Point()>& target) {
        stage.start(expr);
        stage.tap(target());
        stage.settle(0.5);
        ASSERT_TRUE(modal()) << "no exponents playground over " << stage.text();
        ASSERT_EQ(modal()->displayState(), PlaygroundExponents::DisplayState::Row);
    }
    void openOnTimes(const std::shared_ptr<ExprProduct>& product, size_t sign = 0) {
        open(product, [&] { return stage.centerOf(product->ops()[sign].get()); });
    }

    // A finger down at `finger` pushes sideways by `dx` a frame at a time until `done`; false if it
    // never is within 100 moves.
    bool pushUntil(float dx, const std::function<bool()>& done) {
        for (int i = 0; i < 100 && !done(); ++i) {
            finger.x += dx;
            stage.host.advance(1.0 / 60);
            stage.host.touchMove(finger);
        }
        return done();
    }
    void fingerDown() {
        finger = modal()->ogPivot();
        finger.y += 40;
        stage.host.touchDown(finger);
    }

    PlayStage stage;
    core::Point finger;
};

TEST_F(PlaygroundExponentsTest, TheTermsGatherThenSpreadIntoARowOfSingleFactors) {
    auto square = var("x", 2), cube = var("x", 3);
    auto product = prod({square, cube});
    stage.start(product);
    const core::Point sign = stage.centerOf(product->ops()[0].get());
    const float space = stage.main().mainExprView()->space();
    stage.tap(sign);
    ASSERT_TRUE(modal());
    EXPECT_EQ(row(), "x * x * x * x * x");
    EXPECT_EQ(modal()->originalExprs(), (std::vector<std::shared_ptr<ExprSoloist>>{square, cube}));
    EXPECT_NEAR(modal()->ogPivot().x, sign.x, 0.5f) << "above the sign";
    EXPECT_NEAR(modal()->ogPivot().y, sign.y - 2 * space, 0.5f);
    EXPECT_EQ(modal()->displayState(), PlaygroundExponents::DisplayState::Row);
    EXPECT_EQ(modal()->leftExponentNumber(), 1);
    EXPECT_EQ(modal()->rightExponentNumber(), 1);
    stage.settle(0.5);

    // Between the walls, on the screen, with the arms reaching out from the walls.
    const auto& squish = modal()->squishView();
    const core::Rect platform = modal()->platform()->frame();
    EXPECT_EQ(squish->leftWallXPos(), platform.minX());
    EXPECT_EQ(squish->rightWallXPos(), platform.maxX());
    EXPECT_TRUE(platform.contains(squish->getHitbox()));
    for (const std::shared_ptr<ui::View>& view : squish->getViewList())
        EXPECT_EQ(view->superview(), stage.playgroundView.get());
    EXPECT_FLOAT_EQ(modal()->leftArm()->frame().maxX(), platform.minX());
    EXPECT_FLOAT_EQ(modal()->rightArm()->frame().minX(), platform.maxX());
    EXPECT_EQ(modal()->leftArm()->backgroundColor(), stage.playgroundView->highlightColor());
    EXPECT_EQ(modal()->platform()->superview(), nullptr) << "the platform is a tap area only";
    stage.render("exponents-row");
}

TEST_F(PlaygroundExponentsTest, OpeningGathersTheTermsFirstAndTakesNoTouchesMeanwhile) {
    auto product = prod({var("x", 2), var("x", 3)});
    stage.start(product);
    const core::Point sign = stage.centerOf(product->ops()[0].get());
    stage.host.touchDown(sign);
    stage.host.advance(0.05);
    stage.host.touchUp(sign);
    stage.host.advance(0.2);
    ASSERT_TRUE(modal());
    EXPECT_EQ(modal()->displayState(), PlaygroundExponents::DisplayState::Gathering);
    // The main expression's x² stands above the veil, on its way to the row.
    const auto left = stage.main().mainExprView()->viewWithExpr(product->exprs()[0].get());
    ASSERT_TRUE(left);
    const auto& subviews = stage.playgroundView->subviews();
    const auto veil = std::ranges::find(subviews, stage.playgroundView->veil());
    ASSERT_NE(veil, subviews.end());
    for (const std::shared_ptr<ui::View>& view : left->getViewList())
        EXPECT_GT(std::ranges::find(subviews, view), veil) << "the gathering terms show above the veil";

    // A tap on the platform and a push before the row is there do nothing.
    const core::Point pivot = modal()->ogPivot();
    modal()->touchBegan(pivot);
    EXPECT_TRUE(modal()->touchMoved({pivot.x - 200, pivot.y}));
    modal()->touchEnded(pivot);
    EXPECT_EQ(modal()->squishView()->offset(), 0);
    stage.settle(1.5);
    EXPECT_EQ(modal()->displayState(), PlaygroundExponents::DisplayState::Row);
    EXPECT_FALSE(modal()->falling());
    for (const std::shared_ptr<ui::View>& view : left->getViewList())
        EXPECT_EQ(view->superview(), nullptr) << "the gathered terms leave once the row shows";
}

TEST_F(PlaygroundExponentsTest, PushedLeftTheRowMergesIntoOnePowerThatReplacesTheProduct) {
    openOnTimes(prod({var("x", 2), var("x", 3)}));
    fingerDown();
    std::vector<std::string> rows{row()};
    ASSERT_TRUE(pushUntil(-8, [&] {
        if (rows.back() != row())
            rows.push_back(row());
        return !modal() || modal()->falling();
    }));
    EXPECT_EQ(rows, (std::vector<std::string>{"x * x * x * x * x", "x^2 * x * x * x", "x^3 * x * x",
                                              "x^4 * x", "x^5"}));
    EXPECT_EQ(modal()->leftExponentNumber(), 5);
    EXPECT_EQ(stage.delegate->count("didExponentCombineStep"), 4);
    stage.host.touchUp(finger);
    stage.settle(1.5);
    EXPECT_FALSE(modal());
    EXPECT_EQ(stage.text(), "x^5");
    EXPECT_FALSE(stage.playgroundView->veil());
    // Only the main expression is left on the screen.
    EXPECT_EQ(stage.playgroundView->subviews().size(), stage.main().getConcreteViews().size() + 1);
    stage.render("exponents-merged");
}

class PlaygroundExponentsOnAPhoneTest : public PlaygroundExponentsTest {
protected:
    PlaygroundExponentsOnAPhoneTest()
        : PlaygroundExponentsTest(ui::Idiom::Phone) {}
};

TEST_F(PlaygroundExponentsOnAPhoneTest, TheRowFitsItsLowerPlatformAndMergesAllTheSame) {
    openOnTimes(prod({var("x", 3), var("x", 4)}));
    const core::Rect platform = modal()->platform()->frame();
    EXPECT_EQ(platform.height(), 100);
    EXPECT_TRUE(stage.playgroundView->bounds().contains(platform));
    EXPECT_TRUE(platform.contains(modal()->squishView()->getHitbox()));
    fingerDown();
    ASSERT_TRUE(pushUntil(-8, [&] { return !modal() || modal()->falling(); }));
    EXPECT_EQ(row(), "x^7");
    stage.host.touchUp(finger);
    stage.settle(1.5);
    EXPECT_EQ(stage.text(), "x^7");
}

TEST_F(PlaygroundExponentsTest, TwoPowersThatCanMergeNoFurtherFallAtOnce) {
    openOnTimes(prod({var("x", 2), var("x", 3)}));
    fingerDown();
    ASSERT_TRUE(pushUntil(-8, [&] { return row() == "x^3 * x * x"; }));
    EXPECT_EQ(modal()->leftExponentNumber(), 3);
    EXPECT_EQ(modal()->rightExponentNumber(), 1);
    ASSERT_TRUE(pushUntil(8, [&] { return row() != "x^3 * x * x"; }));
    EXPECT_EQ(row(), "x^3 * x^2");
    EXPECT_TRUE(modal()->falling()) << "nothing more to merge";
    EXPECT_FALSE(modal()->touchMoved({finger.x - 50, finger.y})) << "drags are ignored while it falls";
    stage.host.touchUp(finger);
    stage.settle(1.5);
    EXPECT_FALSE(modal());
    EXPECT_EQ(stage.text(), "x^3 * x^2");
}

TEST_F(PlaygroundExponentsTest, ATapOnThePlatformCommitsAndAMovedTapDoesNot) {
    auto power = var("x", 4);
    core::Point term;
    open(power, [&] { return term = stage.centerOf(power.get()); });
    EXPECT_EQ(row(), "x * x * x * x");
    // Centred on the term as it stood under the finger, shown a little larger.
    EXPECT_NEAR(modal()->ogPivot().x, term.x, 15);
    EXPECT_NEAR(modal()->ogPivot().y, term.y, 0.5f);

    const core::Point at = modal()->ogPivot();
    stage.host.touchDown(at);
    stage.host.advance(1.0 / 60);
    stage.host.touchMove({at.x + 1, at.y});
    stage.host.touchUp({at.x + 1, at.y});
    stage.settle();
    ASSERT_TRUE(modal()) << "a moved tap does not commit";
    EXPECT_FALSE(modal()->tapping());

    stage.host.touchDown({at.x + 10, at.y + 30});
    EXPECT_TRUE(modal()->tapping());
    stage.host.touchUp({at.x + 10, at.y + 30});
    stage.settle(1.5);
    EXPECT_FALSE(modal());
    EXPECT_EQ(stage.text(), "x * x * x * x");
}

TEST_F(PlaygroundExponentsTest, ATapBesideThePlatformOnlyLetsTheRowGo) {
    openOnTimes(prod({var("x", 2), var("x", 3)}));
    const core::Rect platform = modal()->platform()->frame();
    stage.tap({platform.minX() - 20, platform.midY()});
    ASSERT_TRUE(modal());
    EXPECT_FALSE(modal()->falling());
}

TEST_F(PlaygroundExponentsTest, ReleasedSqueezedRowSpringsBackFromTheWall) {
    openOnTimes(prod({var("x", 3), var("x", 3)}));
    fingerDown();
    // Just short of the first merge, the first factor squeezed into the wall.
    ASSERT_TRUE(pushUntil(-2, [&] { return modal()->squishView()->squishPerc() > 0.1f; }));
    ASSERT_EQ(row(), "x * x * x * x * x * x");
    const float squeezed = modal()->squishView()->offset();
    stage.host.touchUp(finger);
    stage.settle();
    EXPECT_GT(modal()->squishView()->offset(), squeezed);
    EXPECT_LT(modal()->squishView()->squishPerc(), 0.1f);
}

TEST_F(PlaygroundExponentsTest, ASecondTapWhileTheRowFallsCommitsNothingMore) {
    openOnTimes(prod({term(2, "num", 2), num(2)}));
    EXPECT_EQ(row(), "2 * 2 * 2");
    const core::Point at = modal()->ogPivot();
    stage.host.touchDown(at);
    stage.host.touchUp(at);
    stage.host.advance(0.2);
    ASSERT_TRUE(modal() && modal()->falling());
    stage.host.touchDown(at);
    stage.host.touchUp(at);
    stage.settle(1.5);
    EXPECT_EQ(stage.text(), "2 * 2 * 2");
    EXPECT_EQ(stage.delegate->count("willExecuteStep"), 1);
}

TEST_F(PlaygroundExponentsTest, TheRowGoesBackIntoTheProductItCameFrom) {
    auto product = prod({num(7), var("x", 2), var("x", 2), var("y")});
    openOnTimes(product, 1);
    EXPECT_EQ(row(), "x * x * x * x");
    const core::Point at = modal()->ogPivot();
    stage.tap(at);
    stage.settle();
    EXPECT_EQ(stage.text(), "7 * x * x * x * x * y");
}

TEST_F(PlaygroundExponentsTest, TermsThatDoNotQualifyShakeInstead) {
    const struct {
        ExprPtr left, right;
    } cases[] = {
        {var("x"), var("y")}, {var("x", 0), var("x")}, {term(3, "x"), var("x")}, {var("x", 15), var("x", 9)}};
    for (const auto& c : cases) {
        auto product = prod({c.left, c.right});
        const std::string before = product->description();
        stage.start(product);
        stage.tap(stage.centerOf(product->ops()[0].get()));
        EXPECT_FALSE(modal()) << before;
        EXPECT_EQ(stage.text(), before);
    }
    EXPECT_EQ(stage.delegate->count("didErrorStep"), 4);
}

// Fingers anywhere, in any order: the modal never loses a factor, and the product it leaves behind
// is always worth what the terms were.
TEST_F(PlaygroundExponentsTest, RandomTouchesLoseNothing) {
    const std::vector<int> exponents[] = {{2, 3}, {3, 3}, {1, 1}, {4}};
    for (unsigned seed = 1; seed <= 6; ++seed) {
        const std::vector<int>& problem = exponents[seed % std::size(exponents)];
        std::mt19937 random(seed);
        std::vector<ExprPtr> terms;
        int total = 0;
        for (const int exponent : problem) {
            terms.push_back(var("x", exponent));
            total += exponent;
        }
        if (terms.size() == 1)
            open(terms[0], [&] { return stage.centerOf(terms[0].get()); });
        else
            openOnTimes(prod(terms));
        const core::Rect bounds = stage.playgroundView->bounds();
        std::uniform_real_distribution<float> x(bounds.minX(), bounds.maxX()),
            y(bounds.minY(), bounds.maxY());
        std::uniform_int_distribution<int> kind(0, 9);
        bool down = false;
        for (int event = 0; event < 300; ++event) {
            const core::Point point{x(random), y(random)};
            const int k = kind(random);
            if (!down) {
                stage.host.touchDown(point);
                down = true;
            } else if (k < 7) {
                stage.host.touchMove({point.x, stage.playgroundView->bounds().midY()});
            } else {
                stage.host.touchUp(point);
                down = false;
            }
            stage.host.advance(k == 9 ? 0.3 : 1.0 / 60);
        }
        if (down)
            stage.host.touchUp({0, 0});
        stage.settle(2);
        if (modal())
            stage.tap(modal()->ogPivot());
        stage.settle(2);
        ASSERT_FALSE(modal()) << "seed " << seed;
        int exponentSum = 0;
        for (const std::shared_ptr<ExprSoloist>& solo : stage.expr()->getSolos()) {
            EXPECT_EQ(solo->var(), "x");
            EXPECT_EQ(solo->coef(), 1);
            exponentSum += solo->exponent();
        }
        EXPECT_EQ(exponentSum, total) << "seed " << seed << ": " << stage.text();
    }
}

} // namespace
} // namespace zm
