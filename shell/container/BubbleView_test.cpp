#include "platform/core/Random.h"
#include "platform/ui/DynamicAnimator.h"
#include "platform/ui/ImageView.h"
#include "shell/container/BubbleTuning.h"
#include "shell/container/BubbleView.h"
#include "shell/testing/ShellTesting.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <numbers>

namespace zm {
namespace {

class BubbleViewTest : public testing::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        start();
    }

    static int countShowing(const BubbleView& layer, const char* image) {
        int count = 0;
        for (const auto& bubble : layer.bubbles())
            count += bubble->image() == imageNamed(image);
        return count;
    }
};

TEST_F(BubbleViewTest, TheDefaultsScatterTwentyBubblesEvenlyOverTheQuarters) {
    const auto layer = BubbleView::create({0, 0, 1000, 600});
    ASSERT_EQ(layer->bubbles().size(), 20u);
    ASSERT_TRUE(imageNamed("bokehBlur17"));
    ASSERT_TRUE(imageNamed("bokehBlur3"));
    const core::Rect quarters[] = {
        {0, 0, 500, 300}, {500, 0, 500, 300}, {0, 300, 500, 300}, {500, 300, 500, 300}};
    for (size_t i = 0; i < 20; ++i) {
        const ui::ImageView& bubble = *layer->bubbles()[i];
        EXPECT_EQ(bubble.superview(), layer.get());
        EXPECT_TRUE(quarters[i % 4].contains(bubble.center())) << i;
        const float side = bubble.bounds().width();
        EXPECT_EQ(side, bubble.bounds().height());
        EXPECT_EQ(side, std::floor(side));
        EXPECT_GE(side, 10);
        EXPECT_LE(side, 109);
        EXPECT_GE(bubble.alpha(), 0.08f - 1e-6f);
        EXPECT_LE(bubble.alpha(), 0.19f + 1e-6f);
        EXPECT_EQ(bubble.image(), imageNamed(i < 14 ? "bokehBlur17" : "bokehBlur3")) << i;
    }
    EXPECT_EQ(layer->motionEffects().size(), 2u);
    EXPECT_EQ(layer->horiMotionEffect()->keyPath, "center.x");
    EXPECT_EQ(layer->horiMotionEffect()->minimumRelativeValue, -50);
    EXPECT_EQ(layer->vertMotionEffect()->keyPath, "center.y");
    EXPECT_EQ(layer->vertMotionEffect()->maximumRelativeValue, 50);
}

TEST_F(BubbleViewTest, TuningKeysChooseTheCountAndTheBlurLevels) {
    const struct {
        core::Dictionary settings;
        size_t count;
        int softest; // bubbles showing "bokehBlur17"
    } cases[] = {
        {{{"numberOfBubbles", 8}, {"blurPercentage", 50}}, 8, 3},
        {{{"blurPercentage", 0}}, 20, 0},
        {{{"blurPercentage", 100.5}}, 20, 20},
        {{{"blurLevel", 5}, {"blurLevel2", 5.0}}, 20, 20},
        {{{"numberOfBubbles", 0}}, 20, 14},
        {{{"numberOfBubbles", -3}}, 0, 0},
    };
    for (const auto& test : cases) {
        core::UserDefaults& defaults = testing::testDefaults();
        for (const core::Dictionary::Entry& entry : test.settings.entries())
            defaults.setObject(entry.value, entry.key);
        const auto layer = BubbleView::create({0, 0, 1000, 600});
        EXPECT_EQ(layer->bubbles().size(), test.count) << test.settings.keys().front();
        EXPECT_EQ(countShowing(*layer, "bokehBlur17"), test.softest) << test.settings.keys().front();
        for (const core::Dictionary::Entry& entry : test.settings.entries())
            defaults.removeObject(entry.key);
    }
}

TEST_F(BubbleViewTest, EachBubbleDrawsItsSideAndAlphaThenThePlacesAreDrawn) {
    core::UserDefaults& defaults = testing::testDefaults();
    defaults.setInteger(2, "numberOfBubbles");
    defaults.setInteger(0, "minAlpha");
    // Per bubble: side, alpha; then per bubble: x, y.
    core::ScopedRandomSource draws(core::makeScriptedRandom({105, 7, 0, 19, 300, 200, 501, 299}));
    const auto layer = BubbleView::create({0, 0, 1000, 600});
    ASSERT_EQ(layer->bubbles().size(), 2u);
    const ui::ImageView& first = *layer->bubbles()[0];
    const ui::ImageView& second = *layer->bubbles()[1];
    EXPECT_EQ(first.bounds().size, core::Size(15, 15));
    EXPECT_FLOAT_EQ(first.alpha(), 0.07f);
    EXPECT_EQ(second.bounds().size, core::Size(10, 10));
    EXPECT_FLOAT_EQ(second.alpha(), 0.19f);
    EXPECT_EQ(first.center(), core::Point(300, 200));
    EXPECT_EQ(second.center(), core::Point(500 + 1, 299));
}

TEST_F(BubbleViewTest, PushesGoRandomWaysExceptThatStraysAreSentBackToTheMiddle) {
    core::UserDefaults& defaults = testing::testDefaults();
    defaults.setInteger(3, "numberOfBubbles");
    const auto layer = BubbleView::create({0, 0, 1000, 600});
    const auto& bubbles = layer->bubbles();
    bubbles[0]->setCenter({250, 100});  // inside: keeps its draw
    bubbles[1]->setCenter({500, -40});  // straight above the middle: pushed straight down
    bubbles[2]->setCenter({1200, 300}); // right of the middle: pushed left
    // Per bubble: the direction, then the strength.
    core::ScopedRandomSource draws(core::makeScriptedRandom({25, 4, 0, 0, 10, 2}));
    layer->pushBubbles();
    // Every push changes a bubble's speed by 10 x (0.5 + draw mod 5 / 10) points a second, whatever
    // its size.
    const core::Point down = layer->animator().velocity(*bubbles[0]);
    EXPECT_NEAR(down.x, 0, 1e-3);
    EXPECT_NEAR(down.y, 9, 1e-3); // draw 25 of 100: a quarter turn
    const core::Point back = layer->animator().velocity(*bubbles[1]);
    EXPECT_NEAR(back.x, 0, 1e-3);
    EXPECT_NEAR(back.y, 5, 1e-3);
    const core::Point left = layer->animator().velocity(*bubbles[2]);
    EXPECT_NEAR(left.x, -7, 1e-3);
    EXPECT_NEAR(left.y, 0, 1e-3);
    // They drift on at that speed.
    const core::Point before = bubbles[1]->center();
    host->advance(2);
    EXPECT_NEAR(bubbles[1]->center().y, before.y + 10, 0.5);
}

TEST_F(BubbleViewTest, ARebuildStartsOverAndOnlyANewSizeRebuildsOnLayout) {
    const auto layer = BubbleView::create({0, 0, 1000, 600});
    layer->pushBubbles();
    const std::shared_ptr<ui::ImageView> first = layer->bubbles().front();
    layer->reset();
    EXPECT_EQ(layer->bubbles().size(), 20u);
    EXPECT_EQ(layer->subviews().size(), 20u);
    EXPECT_EQ(layer->motionEffects().size(), 2u);
    EXPECT_EQ(first->superview(), nullptr);
    EXPECT_EQ(layer->animator().velocity(*layer->bubbles().front()), core::Point());

    const std::shared_ptr<ui::ImageView> kept = layer->bubbles().front();
    layer->setNeedsLayout();
    layer->layoutIfNeeded();
    EXPECT_EQ(layer->bubbles().front(), kept);
    layer->setFrame({0, 0, 800, 600});
    layer->layoutIfNeeded();
    EXPECT_NE(layer->bubbles().front(), kept);
    EXPECT_EQ(layer->subviews().size(), 20u);
}

TEST_F(BubbleViewTest, TuningOutsideItsLimitsMakesNoFault) {
    core::UserDefaults& defaults = testing::testDefaults();
    defaults.setInteger(50, "minRadius");
    defaults.setInteger(50, "maxRadius");
    defaults.setInteger(30, "minAlpha");
    defaults.setInteger(10, "maxAlpha");
    defaults.setInteger(1'000'000'000, "numberOfBubbles");
    const auto layer = BubbleView::create({0, 0, 1, 1});
    EXPECT_EQ(layer->bubbles().size(), size_t(BubbleTuning::kMaxBubbles));
    EXPECT_EQ(layer->bubbles().front()->bounds().size, core::Size(50, 50));
    EXPECT_FLOAT_EQ(layer->bubbles().front()->alpha(), 0.3f);
    layer->pushBubbles();
}

// Every tuning key at either extreme or of a type that holds no number: the layer is made within
// its bounds, and a wrong type leaves the default.
TEST_F(BubbleViewTest, EveryTuningKeyAtItsExtremesOrOfTheWrongTypeIsBounded) {
    const char* keys[] = {"numberOfBubbles", "minAlpha",           "maxAlpha",         "minRadius",
                          "maxRadius",       "blurPercentage",     "horizontalParallax", "verticalParallax",
                          "parallaxPerc",    "blurLevel",          "blurLevel2"};
    const core::Value extremes[] = {std::numeric_limits<std::int64_t>::min(),
                                    std::numeric_limits<std::int64_t>::max(),
                                    -std::numeric_limits<double>::max(),
                                    std::numeric_limits<double>::infinity(),
                                    std::numeric_limits<double>::quiet_NaN(),
                                    "-9223372036854775809",
                                    "1e400",
                                    core::Array{core::Value(5)},
                                    core::Dictionary{{"maxRadius", 5}},
                                    core::Bytes{1, 2}};
    const BubbleTuning defaults;
    for (const char* key : keys) {
        for (const core::Value& extreme : extremes) {
            SCOPED_TRACE(std::string(key) + " = " + extreme.stringValue());
            testing::testDefaults().setObject(extreme, key);
            const BubbleTuning tuning = BubbleTuning::read(testing::testDefaults());
            EXPECT_GE(tuning.numberOfBubbles, 0);
            EXPECT_LE(tuning.numberOfBubbles, BubbleTuning::kMaxBubbles);
            EXPECT_LE(tuning.maxRadius, BubbleTuning::kMaxRadius);
            EXPECT_GE(tuning.minRadius, 0);
            EXPECT_LE(tuning.maxAlpha, 100);
            EXPECT_GE(tuning.minAlpha, 0);
            EXPECT_LE(std::abs(tuning.horizontalParallax), BubbleTuning::kMaxParallax);
            EXPECT_LE(std::abs(tuning.verticalParallax), BubbleTuning::kMaxParallax);
            EXPECT_TRUE(std::isfinite(tuning.blurPercentage));
            EXPECT_TRUE(std::isfinite(tuning.parallaxPerc));
            EXPECT_LE(tuning.parallaxPerc, BubbleTuning::kMaxParallaxPerc);
            if (!extreme.isNumber() && !extreme.asString() && std::string_view(key) != "blurLevel" &&
                std::string_view(key) != "blurLevel2") {
                EXPECT_EQ(tuning.numberOfBubbles, defaults.numberOfBubbles);
                EXPECT_EQ(tuning.maxRadius, defaults.maxRadius);
                EXPECT_EQ(tuning.parallaxPerc, defaults.parallaxPerc);
            }
            const auto layer = BubbleView::create({0, 0, 400, 300});
            for (const auto& bubble : layer->bubbles()) {
                EXPECT_LE(bubble->bounds().width(), float(BubbleTuning::kMaxRadius));
                EXPECT_GE(bubble->alpha(), 0);
                EXPECT_LE(bubble->alpha(), 1);
            }
            layer->pushBubbles();
            testing::testDefaults().removeObject(key);
        }
    }
}

} // namespace
} // namespace zm
