#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/UiTesting.h"

#include <cmath>

#include <gtest/gtest.h>

namespace ui {
namespace {

class ActivityIndicators : public testing::AnimationFixture {};

TEST_F(ActivityIndicators, SpinWhileAnimatingAndHideWhenStopped) {
    auto spinner = ActivityIndicatorView::create(ActivityIndicatorView::Style::WhiteLarge);
    EXPECT_EQ(spinner->bounds().size, (core::Size{37, 37}));
    EXPECT_TRUE(spinner->isHidden());
    spinner->startAnimating();
    EXPECT_FALSE(spinner->isHidden());
    advance(0.25);
    const core::AffineTransform turned = spinner->presentation().transform;
    EXPECT_NEAR(std::atan2(turned.b, turned.a), 3.14159f / 2, 0.05);
    spinner->stopAnimating();
    EXPECT_TRUE(spinner->isHidden());
    EXPECT_EQ(spinner->presentation().transform, core::AffineTransform());

    spinner->setHidesWhenStopped(false);
    EXPECT_FALSE(spinner->isHidden());
    EXPECT_FALSE(spinner->isAnimating());
}

} // namespace
} // namespace ui
