#include "framework/Source/PixStillBlur.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/ImageContext.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Snapshot.h"
#include "shell/container/BackgroundView.h"
#include "shell/container/BubbleView.h"
#include "shell/container/ContainerViewController.h"
#include "shell/testing/ContainerTesting.h"
#include "shell/topics/TopicIdentifiers.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <string>

namespace zm {
namespace {

using testing::kPhone;
using testing::kTablet;
using testing::TestScreen;

class ContainerStartUp : public testing::ContainerTest {};

TEST_F(ContainerStartUp, TheHomeScreenStartsOnTheLastTopicOverTheBackgroundAndTheBubbles) {
    const struct {
        const char* stored; // nullptr: nothing stored
        double perc;
    } cases[] = {
        {nullptr, 0},
        {"AlgebraTopicFactorization", 0.3},
        {"AlgebraTopicCustom", 0.8},
        {"NoSuchTopic", 0},
    };
    for (const auto& test : cases) {
        if (test.stored)
            testing::testDefaults().setObject(test.stored, AlgebraTopicState);
        else
            testing::testDefaults().removeObject(AlgebraTopicState);
        const auto container = launch();
        const auto home = this->home(*container);
        ASSERT_TRUE(home);
        EXPECT_DOUBLE_EQ(container->perc(), test.perc) << (test.stored ? test.stored : "nothing");
        ASSERT_TRUE(home->startingTopic);
        EXPECT_EQ(home->startingTopic->topicID(), test.stored ? test.stored : "");
        EXPECT_EQ(home->parentViewController(), container.get());
        EXPECT_EQ(home->view()->frame(), core::Rect(0, 0, 1024, 768));
        // From the back: the background, the bubbles, the screen.
        const auto& layers = container->view()->subviews();
        ASSERT_EQ(layers.size(), 3u);
        EXPECT_EQ(layers[0], container->glkView());
        EXPECT_EQ(layers[1].get(), container->bubbleView());
        EXPECT_EQ(layers[2], home->view());
        EXPECT_DOUBLE_EQ(container->glkView()->hueAngle(), double(float(test.perc)) * 2 * std::numbers::pi);
        ASSERT_TRUE(container->glkView()->image());
    }
}

TEST_F(ContainerStartUp, TheBubbleLayerIsWiderThanTheScreenAndSlidesWithTheCarousel) {
    const auto container = launch(kPhone);
    BubbleView& bubbles = *container->bubbleView();
    EXPECT_EQ(bubbles.frame(), core::Rect(0, 0, 768, 320));
    container->setColorPerc(0.5f);
    EXPECT_EQ(bubbles.frame(), core::Rect(-144, 0, 768, 320));
    container->setColorPerc(1);
    EXPECT_EQ(bubbles.frame().maxX(), 480);

    testing::testDefaults().setFloat(25, "parallaxPerc");
    container->setColorPerc(1);
    EXPECT_EQ(bubbles.frame(), core::Rect(-120, 0, 768, 320));
    container->resetBubbles();
    EXPECT_EQ(bubbles.frame(), core::Rect(0, 0, 600, 320));
    testing::testDefaults().setFloat(0, "parallaxPerc");
    container->resetBubbles();
    EXPECT_EQ(bubbles.frame(), core::Rect(0, 0, 480, 320));
    // A hand-edited share past its bound widens the layer no further than the bound.
    testing::testDefaults().setDouble(1e300, "parallaxPerc");
    container->resetBubbles();
    EXPECT_EQ(bubbles.frame(), core::Rect(0, 0, 480 * 11, 320));
}

TEST_F(ContainerStartUp, TheHueFollowsTheCarouselOnlyByWholePercents) {
    const auto container = launch();
    BackgroundView& background = *container->glkView();
    const struct {
        double perc;
        float next;
        double percAfter;
    } cases[] = {
        {0.30, 0.305f, 0.30},
        {0.30, 0.31f, 0.31f},
        {0.30, 0.299f, 0.299f},
        {0.5, -0.02f, -0.02f},
    };
    for (const auto& test : cases) {
        container->setPerc(test.perc);
        container->drawColorPerc(float(test.perc));
        container->setColorPerc(test.next);
        EXPECT_DOUBLE_EQ(container->perc(), test.percAfter) << test.next;
        EXPECT_DOUBLE_EQ(background.hueAngle(), double(float(test.percAfter)) * 2 * std::numbers::pi)
            << test.next;
        // The bubbles follow the exact position either way.
        EXPECT_NEAR(container->bubbleView()->frame().minX(), -1024 * 0.6 * test.next, 1e-3) << test.next;
    }
}

TEST_F(ContainerStartUp, ALayoutPassDrawsTheBackgroundAgainForTheSamePosition) {
    const auto container = launch();
    container->setColorPerc(0.42f);
    host->screenshot();
    ASSERT_FALSE(container->glkView()->layer().needsDisplay());
    container->view()->setNeedsLayout();
    container->view()->layoutIfNeeded();
    EXPECT_TRUE(container->glkView()->layer().needsDisplay());
    EXPECT_DOUBLE_EQ(container->perc(), 0.42f);
}

TEST_F(ContainerStartUp, TheTintTurnsWithThePosition) {
    const auto container = launch();
    container->setPerc(0);
    EXPECT_EQ(container->getPixelColor(), core::Color::rgb255(23, 42, 62, 0.65f));
    container->setPerc(0.5);
    EXPECT_EQ(container->getPixelColor(), core::Color::rgb255(61, 42, 22, 0.65f));
}

// The mean of a colour channel, and how much neighbouring pixels differ on average.
std::pair<double, double> levelAndRoughness(const gfx::Image& image) {
    const gfx::Bitmap& bitmap = image.bitmap();
    double sum = 0, steps = 0;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            const int green = bitmap.pixel(x, y).green;
            sum += green;
            if (x > 0)
                steps += std::abs(green - bitmap.pixel(x - 1, y).green);
        }
    }
    const double pixels = double(bitmap.width()) * bitmap.height();
    return {sum / pixels, steps / pixels};
}

TEST_F(ContainerStartUp, TheStripBehindABottomBarIsTheBottomOfTheBlurredDarkenedBackground) {
    const auto container = launch({ui::Idiom::Phone, 2});
    const std::shared_ptr<const gfx::Image> whole = container->bigBlurBackgroundImage();
    ASSERT_TRUE(whole);
    // A pixel a point, at scale 2 too: the blur leaves nothing finer.
    EXPECT_EQ(whole->size(), core::Size(480, 320));
    EXPECT_EQ(whole->pixelWidth(), 480);
    // Darkened by a tenth of the range, and smoother than the background at as many pixels.
    const std::shared_ptr<const gfx::Image> sharp = ui::snapshotImage(*container->glkView(), whole->scale());
    const auto [sharpLevel, sharpRoughness] = levelAndRoughness(*sharp);
    const auto [level, roughness] = levelAndRoughness(*whole);
    EXPECT_NEAR(level, sharpLevel - 25.5, 4);
    EXPECT_LT(roughness, sharpRoughness);

    const std::shared_ptr<ui::ImageView> strip = container->blurBackgroundBottomPiece(80);
    EXPECT_EQ(strip->frame(), core::Rect(0, 0, 480, 80));
    ASSERT_TRUE(strip->image());
    EXPECT_EQ(strip->image()->pixelWidth(), 480);
    EXPECT_EQ(strip->image()->pixelHeight(), 80);
    // The strip is the bottom of the picture.
    const std::shared_ptr<const gfx::Image> again = container->bigBlurBackgroundImage();
    EXPECT_EQ(strip->image()->bitmap().pixel(100, 79), again->bitmap().pixel(100, 319));
    EXPECT_EQ(strip->image()->bitmap().pixel(450, 0), again->bitmap().pixel(450, 240));
}

TEST_F(ContainerStartUp, TheBlurredBackgroundShowsAtScale2AsTheScreensPixelsBlurredWould) {
    const ui::Device device{ui::Idiom::Phone, 2};
    const auto container = launch(device);
    container->setColorPerc(0.37f);
    const std::shared_ptr<const gfx::Image> blurredAtScreenPixels =
        blurStillImage(*ui::snapshotImage(*container->glkView()), 20, -0.1f);
    ASSERT_TRUE(blurredAtScreenPixels);
    gfx::ImageContext shown(device.screenSize(), device.scale, true);
    shown.canvas().drawImage(*container->bigBlurBackgroundImage(), core::Rect({}, device.screenSize()));
    const std::shared_ptr<const gfx::Image> panel = std::move(shown).takeImage();
    ASSERT_EQ(panel->pixelWidth(), blurredAtScreenPixels->pixelWidth());
    int largest = 0;
    for (int y = 0; y < panel->pixelHeight(); ++y) {
        for (int x = 0; x < panel->pixelWidth(); ++x) {
            const gfx::Pixel a = panel->bitmap().pixel(x, y);
            const gfx::Pixel b = blurredAtScreenPixels->bitmap().pixel(x, y);
            largest = std::max(
                {largest, std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
        }
    }
    EXPECT_LE(largest, 2);
}

// Whether the process has mapped a GL driver or its shader compiler (Mesa's *_dri.so, libLLVM).
bool glDriverLoaded() {
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        if (line.find("_dri.so") != std::string::npos || line.find("libLLVM") != std::string::npos)
            return true;
    }
    return false;
}

TEST_F(ContainerStartUp, TheBlurredBackgroundLoadsNoGLDriver) {
    // On a machine whose GL is a software rasteriser the driver and its compiler are some 20 MB
    // resident once loaded, and a road's textures as much again at a tablet's scale 2.
    ASSERT_FALSE(glDriverLoaded()) << "another test of this process loaded it";
    const auto container = launch({ui::Idiom::Tablet, 2});
    ASSERT_TRUE(container->bigBlurBackgroundImage());
    EXPECT_FALSE(glDriverLoaded());
}

TEST_F(ContainerStartUp, AScreenAsksForItsStripOnceAndOnlyWhenItHasAContainer) {
    const auto container = launch(kPhone);
    const auto screen = TestScreen::make();
    EXPECT_EQ(screen->bottomViewHeight(), 80);
    EXPECT_EQ(screen->blurBackgroundBottomPiece(), nullptr);
    screen->setContainerVC(container);
    const std::shared_ptr<ui::ImageView> strip = screen->blurBackgroundBottomPiece();
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->frame(), core::Rect(0, 0, 480, 80));
    container->setColorPerc(0.5f);
    EXPECT_EQ(screen->blurBackgroundBottomPiece(), strip);

    launch(kTablet);
    EXPECT_EQ(TestScreen::make()->bottomViewHeight(), 140);
}

class ContainerIntro : public testing::ContainerTest {};

TEST_F(ContainerIntro, TheTutorialComesOnceOverAHiddenHomeScreenWhenEnglishComesFirst) {
    const auto container = launch(kTablet, kIntro);
    const std::shared_ptr<TopicViewController> intro = container->mainVC();
    ASSERT_TRUE(std::dynamic_pointer_cast<TestScreen>(intro));
    EXPECT_EQ(intro->containerVC(), container);
    EXPECT_EQ(intro->view()->superview(), container->view().get());
    EXPECT_EQ(intro->view()->frame(), core::Rect(0, 0, 1024, 768));
    const core::Dictionary saved = testing::savedDefaults();
    ASSERT_TRUE(saved.find("seenIntro"));
    EXPECT_TRUE(saved.find("seenIntro")->boolValue());
    // The first home screen stays a child, transparent underneath.
    ASSERT_EQ(container->childViewControllers().size(), 2u);
    const auto first =
        std::dynamic_pointer_cast<testing::TestHomeScreen>(container->childViewControllers()[0]);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->view()->alpha(), 0);

    // Shown once: the next run goes straight home.
    const auto again = launch(kTablet, kIntro);
    ASSERT_TRUE(home(*again));
    EXPECT_EQ(home(*again)->view()->alpha(), 1);
}

TEST_F(ContainerIntro, NoTutorialUnlessTheFirstLanguageIsExactlyEnglish) {
    for (const std::vector<std::string>& languages :
         {std::vector<std::string>{"en-GB", "en"}, std::vector<std::string>{"de", "en"}}) {
        setLanguages(languages);
        const auto container = launch(kTablet, kIntro);
        ASSERT_TRUE(home(*container)) << languages.front();
        EXPECT_EQ(home(*container)->view()->alpha(), 1);
        EXPECT_EQ(container->childViewControllers().size(), 1u);
        EXPECT_FALSE(testing::testDefaults().contains("seenIntro"));
    }
}

TEST_F(ContainerIntro, ATutorialThatCannotBeMadeLeavesHomeVisibleAndIsStillOwed) {
    const auto container = launch(kTablet);
    ASSERT_TRUE(home(*container));
    EXPECT_EQ(home(*container)->view()->alpha(), 1);
    EXPECT_FALSE(testing::testDefaults().contains("seenIntro"));
}

} // namespace
} // namespace zm
