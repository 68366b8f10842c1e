#include "model/ExprProduct.h"
#include "model/steps/StepFactorize.h"
#include "model/steps/StepReplace.h"
#include "model/testing/Evaluate.h"
#include "model/testing/Trees.h"
#include "playground/testing/PlaygroundStage.h"
#include "playground/views/Baggage.h"
#include "playground/views/ExprViewSoloist.h"
#include "playground/views/Fonts.h"
#include "playground/views/NumberLabel.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

class ExprViewSoloistTest : public ::testing::Test {
protected:
    std::shared_ptr<ExprViewSoloist> termView(const std::shared_ptr<ExprSoloist>& solo) {
        auto view = ExprViewSoloist::create(solo, *stage.playgroundView);
        view->moveTo({100, 100}, AnchorTopLeft);
        return view;
    }

    // The texts of the labels a term puts on screen, in order.
    static std::vector<std::string> shownTexts(const ExprViewSoloist& view) {
        std::vector<std::string> texts;
        for (const auto& platformView : view.getViewList())
            texts.push_back(std::static_pointer_cast<GenericLabel>(platformView)->text());
        return texts;
    }

    PlaygroundStage stage{ui::Idiom::Tablet};
};

struct VisibilityCase {
    int32_t coef;
    const char* var;
    int32_t exponent;
    std::vector<std::string> shown;
};

TEST_F(ExprViewSoloistTest, ATermShowsOnlyWhatItNeeds) {
    const VisibilityCase cases[] = {
        {1, "x", 1, {"x"}},           {-1, "x", 1, {"-", "x"}},  {0, "x", 1, {"0", "x"}},
        {1, "num", 1, {"1"}},         {-7, "num", 1, {"-7"}},    {1, "x", 0, {"x", "0"}},
        {3, "x", 2, {"3", "x", "2"}}, {2, "num", 3, {"2", "3"}}, {5, "null", 1, {"5"}},
    };
    for (const VisibilityCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.coef << " " << c.var << "^" << c.exponent);
        EXPECT_EQ(shownTexts(*termView(term(c.coef, c.var, c.exponent))), c.shown);
    }
}

TEST_F(ExprViewSoloistTest, ATermNamedNullBecomesANumber) {
    auto solo = term(5, "null");
    auto view = termView(solo);
    EXPECT_TRUE(solo->varIsNum());
    EXPECT_FALSE(view->isVarVisible());
}

TEST_F(ExprViewSoloistTest, TheExponentStandsRaisedAtHalfSize) {
    auto view = termView(term(3, "x", 2));
    const float size = view->baseFontSize();
    const auto& exponent = view->exponentLabel()->labels().front();
    EXPECT_FLOAT_EQ(exponent->font().pointSize(), size / 2);
    EXPECT_EQ(exponent->getPointAtPosition(AnchorBottomLeft),
              view->varLabel()->getPointAtPosition(AnchorMiddleRight));
    const float base = view->coefLabel()->getWidth() + view->varLabel()->getWidth();
    EXPECT_FLOAT_EQ(view->getWidth(), base + exponent->getWidth() / 2);
    EXPECT_FLOAT_EQ(view->getPureWidth(), base + exponent->getWidth());
    EXPECT_FLOAT_EQ(view->getHeight(),
                    std::max(view->coefLabel()->getHeight(), view->varLabel()->getHeight()));
    // The exponent alone does not pick the term up, but a tap there still factorizes it.
    const core::Point onExponent = exponent->getPointAtPosition(AnchorBottomCenter);
    const core::Point beside{onExponent.x, onExponent.y + 2};
    EXPECT_EQ(view->getExprViewFromPoint(beside), nullptr);
    EXPECT_TRUE(view->containsPoint(beside));
    EXPECT_TRUE(view->stepFromTap(beside));
}

TEST_F(ExprViewSoloistTest, SixesAndEightsAreSetLowerInGeorgiaOnly) {
    const gfx::Font georgia = fontNamed(kGeorgia, 40);
    auto lowered = NumberLabel::create("68", georgia);
    lowered->setSpace(4);
    ASSERT_EQ(lowered->labels().size(), 1u);
    lowered->moveTo({10, 10}, AnchorTopLeft);
    EXPECT_EQ(lowered->labels()[0]->frame().minY(), 14);
    EXPECT_EQ(lowered->getHitbox().minY(), 10);

    auto mixed = NumberLabel::create("1686", georgia);
    ASSERT_EQ(mixed->labels().size(), 2u);
    EXPECT_EQ(mixed->labels()[0]->text(), "1");
    EXPECT_EQ(mixed->labels()[1]->text(), "686");

    auto other = NumberLabel::create("1686", fontNamed("Verdana", 40));
    EXPECT_EQ(other->labels().size(), 1u);

    // The exponent never gets the spacing unit: all its runs stand on one line.
    auto view = termView(term(2, "x", 16));
    const auto& runs = view->exponentLabel()->labels();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0]->frame().maxY(), runs[1]->frame().maxY());
}

TEST_F(ExprViewSoloistTest, ASurvivingTermTakesOverItsOldLabelsWhereTheyStand) {
    auto solo = term(3, "x");
    auto old = termView(solo);
    old->moveTo({300, 200}, AnchorCenter);
    Baggage bag(old);
    auto successor = ExprViewSoloist::create(solo, *stage.playgroundView, &bag);
    EXPECT_EQ(successor->coefLabel(), old->coefLabel());
    EXPECT_EQ(successor->varLabel(), old->varLabel());
    EXPECT_EQ(successor->getPointAtPosition(AnchorCenter), old->getPointAtPosition(AnchorCenter));

    // A new term starts where the record says.
    auto born = var("y");
    bag.addPositionForObj(born, solo, AnchorCenter);
    auto newcomer = ExprViewSoloist::create(born, *stage.playgroundView, &bag);
    EXPECT_NEAR(newcomer->getPointAtPosition(AnchorCenter).x, 300, 1e-3);
}

// What a tap on a term asks for: the replacement's text, a choice of pairs, or nothing.
struct TapCase {
    std::shared_ptr<ExprSoloist> solo;
    const char* expected; // "choices", "nil", "fail" or the replacement's text
};

TEST_F(ExprViewSoloistTest, ATapFactorizesTheTerm) {
    const TapCase cases[] = {
        {num(12), "choices"},
        {num(7), "1 * 7"},
        {term(2, "num", 3), "2 * 2 * 2"},
        {term(3, "x"), "3 * x"},
        {var("x"), "1 * x"},
        {var("x", 2), "1 * x^2"},
        {num(-6), "-1 * 6"},
        {num(0), "1 * -1"},
        {num(-1), "1 * -1"},
        {term(2, "num", 13), "fail"},
        // -3^2 is -(3^2): the sign is a factor of its own, whatever the exponent.
        {term(-3, "num", 2), "-1 * 3 * 3"},
        {term(-2, "num", 3), "-1 * 2 * 2 * 2"},
        {term(-1, "num", 2), "-1 * 1 * 1"},
        {term(INT32_MIN, "num", 2), "fail"},
    };
    for (const TapCase& c : cases) {
        SCOPED_TRACE(c.solo->description());
        auto view = termView(c.solo);
        std::shared_ptr<Step> step = view->stepFromTap(view->getPointAtPosition(AnchorCenter));
        const std::string expected = c.expected;
        if (expected == "choices") {
            EXPECT_TRUE(std::dynamic_pointer_cast<StepFactorizeChoices>(step));
        } else if (expected == "fail") {
            EXPECT_TRUE(std::dynamic_pointer_cast<StepFail>(step));
        } else {
            auto factorize = std::dynamic_pointer_cast<StepFactorize>(step);
            ASSERT_TRUE(factorize);
            EXPECT_EQ(factorize->original(), c.solo);
            EXPECT_EQ(factorize->replacement()->description(), expected);
            // A move that is carried out keeps the value (0 -> 1 * -1 is refused: the term shakes).
            if (!StepFactorize::exprReplacementWillFail(*factorize->replacement())) {
                const Point at{{"x", 3}};
                EXPECT_TRUE(nearlyEqual(evaluate(*factorize->replacement(), at), evaluate(*c.solo, at)));
            }
        }
        EXPECT_EQ(view->stepFromTap({2, 2}), nullptr);
    }
}

TEST_F(ExprViewSoloistTest, ACopyStandsWhereTheOriginalStands) {
    auto view = termView(term(4, "y"));
    auto copy = view->copyWithPlaygroundView(*stage.playgroundView);
    EXPECT_EQ(copy->solo(), view->solo());
    EXPECT_NE(copy->varLabel(), view->varLabel());
    EXPECT_NEAR(copy->getPointAtPosition(AnchorCenter).x, view->getPointAtPosition(AnchorCenter).x, 1e-3);
}

} // namespace
} // namespace zm
