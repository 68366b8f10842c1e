#include "model/testing/Trees.h"
#include "platform/gfx/Text.h"
#include "playground/testing/PlaygroundStage.h"
#include "playground/views/ExprView.h"
#include "playground/views/Fonts.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

// An expression view of no kind of its own, counting the font size changes it is sent.
class BareView : public ExprView {
public:
    static std::shared_ptr<BareView> create(ExprPtr expr = nullptr) {
        std::shared_ptr<BareView> view(new BareView);
        view->m_expr = std::move(expr);
        return view;
    }
    ExprPtr getExpr() const override { return m_expr; }
    void setFontSize(float size, bool animated) override {
        ++fontSizeChanges;
        ExprView::setFontSize(size, animated);
    }
    int fontSizeChanges = 0;

private:
    ExprPtr m_expr;
};

TEST(ExprView, TheBaseMeasuresNothingAndFindsNothing) {
    auto view = BareView::create();
    auto other = BareView::create();
    EXPECT_EQ(view->getWidth(), 0);
    EXPECT_EQ(view->getHeight(), 0);
    EXPECT_TRUE(view->getHitbox().isNull());
    EXPECT_FALSE(view->containsPoint({0, 0}));
    EXPECT_EQ(view->viewWithExpr(nullptr), nullptr);
    EXPECT_EQ(view->viewWithObj(nullptr), nullptr);
    EXPECT_EQ(view->getOverlappingExactMatchExprView(*other), nullptr);
    EXPECT_EQ(view->getExprViewFromPoint({0, 0}), nullptr);
    EXPECT_EQ(view->getOpViewFromPoint({0, 0}), nullptr);
    EXPECT_EQ(view->stepFromTap({0, 0}), nullptr);
    EXPECT_FALSE(view->draggingOnExpr({0, 0}));
    EXPECT_FALSE(view->isHighlighted());
    EXPECT_FALSE(view->eligibleForEliminate());
    view->moveTo({10, 10}, AnchorCenter);
    view->clear();
}

TEST(ExprView, TheSpacingUnitIsHalfASpaceInGeorgiaAndAnEqualSizeChangesNothing) {
    auto view = BareView::create();
    view->setBaseFontSize(40);
    EXPECT_FLOAT_EQ(view->space(), gfx::measureText(" ", fontNamed(kGeorgia, 40)).width / 2);
    EXPECT_GT(view->space(), 0);
    view->setSpace(99);
    view->setBaseFontSize(40);
    EXPECT_EQ(view->space(), 99);
}

// The fitted size makes the expression's approximate text take the device's share of the height (or
// at most 0.7 of the width), up to the device's largest size.
struct FitCase {
    ui::Idiom idiom;
    bool withFraction;
    float heightMultiplier;
    float maximum;
};

constexpr FitCase kFitCases[] = {
    {ui::Idiom::Phone, false, 1.75f, 100},
    {ui::Idiom::Phone, true, 3.5f, 100},
    {ui::Idiom::Tablet, false, 3.0f, 150},
    {ui::Idiom::Tablet, true, 3.0f, 150},
};

TEST(ExprView, FittingFollowsTheDevicesMultipliersAndCaps) {
    for (const FitCase& c : kFitCases) {
        SCOPED_TRACE(::testing::Message() << (c.idiom == ui::Idiom::Tablet ? "tablet" : "phone")
                                          << (c.withFraction ? " fraction" : " sum"));
        PlaygroundStage stage(c.idiom);
        ExprPtr expr = c.withFraction ? ExprPtr(quot(num(3), var("x"))) : ExprPtr(sum({num(3), var("x")}));
        auto view = BareView::create(expr);
        view->setBaseFontSize(50);
        EXPECT_EQ(view->eligibleForEliminate(), c.withFraction);

        // A wide, low rectangle: the height decides.
        const core::Rect low{0, 0, 5000, 120};
        view->fitIntoRect(low, false);
        const float height =
            gfx::measureText(expr->getSizeApproxString(), fontNamed(kGeorgia, view->baseFontSize())).height;
        EXPECT_NEAR(height * c.heightMultiplier, low.height(), 3.0f);

        // A huge rectangle: the cap decides.
        view->fitIntoRect({0, 0, 100000, 100000}, false);
        EXPECT_EQ(view->baseFontSize(), c.maximum);
    }
}

TEST(ExprView, FittingToTheSameSizeSendsNothing) {
    PlaygroundStage stage(ui::Idiom::Tablet);
    auto view = BareView::create(sum({num(3), var("x")}));
    view->setBaseFontSize(50);
    view->fitIntoRect({0, 0, 100000, 100000}, false);
    EXPECT_EQ(view->fontSizeChanges, 1);
    view->fitIntoRect({0, 0, 100000, 100000}, false);
    EXPECT_EQ(view->fontSizeChanges, 1);
}

TEST(ExprView, AnExpressionWithoutTextKeepsItsSize) {
    auto view = BareView::create();
    view->setBaseFontSize(50);
    EXPECT_EQ(view->calcFontSizeWithMultiplier(1, {0, 0, 300, 300}), 50);
}

} // namespace
} // namespace zm
