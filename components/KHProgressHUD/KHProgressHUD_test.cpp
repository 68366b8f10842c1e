#include "components/KHProgressHUD/KHProgressHUD.h"

#include "components/KHProgressHUD/KHRoundProgressView.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/PixelTesting.h"
#include "platform/gfx/Text.h"
#include "platform/host/HeadlessHost.h"
#include "platform/host/ScreenTesting.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"
#include "platform/ui/UiTesting.h"
#include "platform/ui/Window.h"

#include <atomic>
#include <cmath>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace zm {
namespace {

// Counts what it is told.
class HiddenLog : public KHProgressHUDDelegate {
public:
    void hudWasHidden(KHProgressHUD&) override { ++hidden; }
    int hidden = 0;
};

class KHProgressHUDTest : public ui::testing::AnimationFixture {
protected:
    std::shared_ptr<KHProgressHUD> addHUD() {
        auto hud = KHProgressHUD::create(view.get());
        view->addSubview(hud);
        hud->setDelegate(log);
        return hud;
    }

    // Runs the main queue until `done`, for work that another thread hands to it.
    template <class Done> void runUntil(Done done) {
        for (int turn = 0; turn < 100000 && !done(); ++turn) {
            settle();
            std::this_thread::yield();
        }
        ASSERT_TRUE(done());
    }

    std::shared_ptr<ui::View> view = ui::View::create({0, 0, 480, 320});
    std::shared_ptr<HiddenLog> log = std::make_shared<HiddenLog>();
};

// Layout of the panel.

struct PanelCase {
    const char* name;
    KHProgressHUDMode mode;
    std::string label;
    std::string details;
    core::Size minSize;
    bool square;
    core::Size viewSize;
    // The panel from the measured sizes of the indicator (37 x 37 for spinner and pie), label and
    // details label, each width clipped to the view's width less four margins.
    core::Size expected;
};

class PanelLayout : public KHProgressHUDTest, public ::testing::WithParamInterface<PanelCase> {};

core::Size textSize(const std::string& text, float size, float maxWidth) {
    return gfx::measureText(gfx::AttributedText(text, gfx::Font::boldSystem(size)), maxWidth);
}

const std::string kLoading = "Loading Problems";
const std::string kLong = "A label far too long to fit on the panel of a narrow view";

TEST_P(PanelLayout, SizesThePanelAroundItsContents) {
    const PanelCase& c = GetParam();
    view->setBounds({0, 0, c.viewSize.width, c.viewSize.height});
    auto hud = addHUD();
    hud->setMode(c.mode);
    hud->setLabelText(c.label);
    hud->setDetailsLabelText(c.details);
    hud->setMinSize(c.minSize);
    hud->setSquare(c.square);
    hud->layoutIfNeeded();
    EXPECT_NEAR(hud->size().width, c.expected.width, 0.01);
    EXPECT_NEAR(hud->size().height, c.expected.height, 0.01);
}

const float kLoadingWidth = gfx::measureText(kLoading, gfx::Font::boldSystem(16)).width;
const float kLabelHeight = gfx::measureText(kLoading, gfx::Font::boldSystem(16)).height;
const float kDetailsHeight = textSize("two lines of details on a narrow panel", 12, 120).height;

INSTANTIATE_TEST_SUITE_P(
    KH, PanelLayout,
    ::testing::Values(
        PanelCase{"TextOnlyWithoutText", KHProgressHUDMode::TextOnly, "", "", {}, false, {480, 320}, {40, 40}},
        PanelCase{"MinSizeRaisesIt", KHProgressHUDMode::TextOnly, "", "", {60, 30}, false, {480, 320}, {60, 40}},
        PanelCase{"Spinner", KHProgressHUDMode::Spinner, "", "", {}, false, {480, 320}, {77, 77}},
        PanelCase{"SpinnerAndLabel", KHProgressHUDMode::Spinner, kLoading, "", {}, false, {480, 320},
                  {kLoadingWidth + 40, 37 + 4 + kLabelHeight + 40}},
        PanelCase{"SquareWhereItFits", KHProgressHUDMode::Pie, kLoading, "", {}, true, {480, 320},
                  {kLoadingWidth + 40, kLoadingWidth + 40}},
        // Too wide to be squared across a view only 100 high.
        PanelCase{"SquareOnlyAcrossWhereItFits", KHProgressHUDMode::Pie, kLoading, "", {}, true, {480, 100},
                  {kLoadingWidth + 40, 37 + 4 + kLabelHeight + 40}},
        PanelCase{"ClippedLabel", KHProgressHUDMode::TextOnly, kLong, "", {}, false, {200, 320},
                  {120 + 40, kLabelHeight + 40}},
        PanelCase{"DetailsUnderTheLabel", KHProgressHUDMode::TextOnly, "", "two lines of details on a narrow panel",
                  {}, false, {200, 320}, {textSize("two lines of details on a narrow panel", 12, 120).width + 40,
                                          kDetailsHeight + 40}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KHProgressHUDTest, TheLabelsStackUnderTheIndicatorAroundTheCentre) {
    auto hud = addHUD();
    hud->setLabelText(kLoading);
    hud->setDetailsLabelText("Please wait");
    hud->setYOffset(10);
    hud->layoutIfNeeded();
    const core::Rect spinner = hud->indicator()->frame();
    const core::Rect label = hud->label().frame();
    const core::Rect details = hud->detailsLabel().frame();
    EXPECT_EQ(spinner.size, (core::Size{37, 37}));
    EXPECT_EQ(spinner.minX(), std::round((480 - 37) / 2.0f));
    EXPECT_EQ(label.minY(), spinner.maxY() + 4);
    EXPECT_EQ(details.minY(), label.maxY() + 4);
    EXPECT_NEAR(label.midX(), 240, 0.5);
    const float panelHeight = hud->size().height;
    EXPECT_EQ(spinner.minY(), std::round((320 - panelHeight) / 2) + 20 + 10);
    EXPECT_NEAR(details.maxY() + 20 + 10, std::round((320 - panelHeight) / 2) + panelHeight + 20, 0.5);
}

TEST_F(KHProgressHUDTest, EachModeShowsItsIndicator) {
    auto hud = addHUD();
    EXPECT_NE(dynamic_cast<ui::ActivityIndicatorView*>(hud->indicator()), nullptr);
    hud->setMode(KHProgressHUDMode::Ring);
    auto* shown = dynamic_cast<KHRoundProgressView*>(hud->indicator());
    ASSERT_NE(shown, nullptr);
    // The overlay lets go of an indicator it replaces; the test keeps it to see it taken down.
    const auto ring = std::static_pointer_cast<KHRoundProgressView>(shown->shared_from_this());
    EXPECT_TRUE(ring->isAnnular());
    hud->setMode(KHProgressHUDMode::Pie);
    EXPECT_EQ(hud->indicator(), ring.get()) << "the same view turns back into a pie";
    EXPECT_FALSE(ring->isAnnular());
    auto custom = ui::View::create({0, 0, 20, 10});
    hud->setCustomView(custom);
    hud->setMode(KHProgressHUDMode::CustomView);
    EXPECT_EQ(hud->indicator(), custom.get());
    EXPECT_EQ(ring->superview(), nullptr);
    hud->setMode(KHProgressHUDMode::TextOnly);
    EXPECT_EQ(hud->indicator(), nullptr);
    EXPECT_EQ(custom->superview(), nullptr);
}

// Class operations.

TEST_F(KHProgressHUDTest, ClassOperationsFindAndHideTheOverlaysOfAView) {
    EXPECT_FALSE(KHProgressHUD::hideHUDForView(*view, false));
    EXPECT_TRUE(view->subviews().empty());

    auto first = KHProgressHUD::showHUDAddedTo(*view, false);
    auto second = KHProgressHUD::showHUDAddedTo(*view, false);
    view->addSubview(ui::View::create());
    EXPECT_EQ(first->alpha(), 1);
    EXPECT_EQ(KHProgressHUD::HUDForView(*view), second) << "the later subview";
    EXPECT_EQ(KHProgressHUD::allHUDsForView(*view),
              (std::vector<std::shared_ptr<KHProgressHUD>>{first, second}));

    second->setDelegate(log);
    EXPECT_TRUE(KHProgressHUD::hideHUDForView(*view, false));
    EXPECT_EQ(second->alpha(), 0);
    EXPECT_EQ(second->superview(), nullptr) << "hidden and removed within the call";
    EXPECT_EQ(log->hidden, 1);

    KHProgressHUD::showHUDAddedTo(*view, true);
    EXPECT_EQ(KHProgressHUD::hideAllHUDsForView(*view, true), 2);
    advance(0.5);
    EXPECT_TRUE(KHProgressHUD::allHUDsForView(*view).empty());
}

TEST_F(KHProgressHUDTest, AnAnimatedHideOfAnOverlayNeverShownEndsAtOnce) {
    auto hud = addHUD();
    hud->hide(true);
    EXPECT_EQ(log->hidden, 1);
    EXPECT_EQ(hud->alpha(), 0);
}

TEST_F(KHProgressHUDTest, ZoomGrowsInAndShrinksOut) {
    auto hud = addHUD();
    hud->setAnimationType(KHProgressHUDAnimation::Zoom);
    hud->show(true);
    advance(0.15);
    EXPECT_GT(hud->presentation().transform.a, 1.01f);
    EXPECT_GT(hud->presentation().opacity, 0.05f);
    advance(0.2);
    EXPECT_EQ(hud->presentation().transform, core::AffineTransform::identity());
    hud->hide(true);
    advance(0.15);
    EXPECT_LT(hud->presentation().transform.a, 0.99f);
    EXPECT_EQ(log->hidden, 0);
    advance(0.2);
    EXPECT_EQ(log->hidden, 1);
    EXPECT_EQ(hud->alpha(), 0);
}

// Timers, on the manual clock.

TEST_F(KHProgressHUDTest, MinimumShowTimeDelaysTheHide) {
    auto hud = addHUD();
    hud->setMinShowTime(1.0f);
    hud->show(false);
    advance(0.3);
    hud->hide(false);
    EXPECT_EQ(hud->alpha(), 1);
    advance(0.69);
    EXPECT_EQ(hud->alpha(), 1);
    EXPECT_EQ(log->hidden, 0);
    advance(0.02);
    EXPECT_EQ(hud->alpha(), 0);
    EXPECT_EQ(log->hidden, 1);
}

TEST_F(KHProgressHUDTest, AShowAfterAHideWithinTheMinimumStaysShown) {
    auto hud = addHUD();
    hud->setMinShowTime(1.0f);
    hud->show(false);
    advance(0.3);
    hud->hide(false);
    advance(0.2);
    hud->show(false);
    advance(2);
    EXPECT_EQ(hud->alpha(), 1) << "the earlier hide's timer was cancelled";
    EXPECT_EQ(log->hidden, 0);
}

TEST_F(KHProgressHUDTest, AShowDuringAFadeOutStaysShown) {
    auto hud = addHUD();
    hud->show(false);
    hud->hide(true);
    advance(0.1);
    hud->show(true);
    advance(1);
    EXPECT_EQ(hud->alpha(), 1);
    EXPECT_EQ(log->hidden, 0);
}

TEST_F(KHProgressHUDTest, AGraceTimeShowsOnlyATaskStillRunning) {
    auto hud = addHUD();
    hud->setGraceTime(0.5f);
    hud->setTaskInProgress(true);
    hud->show(false);
    advance(0.4);
    EXPECT_EQ(hud->alpha(), 0);
    advance(0.2);
    EXPECT_EQ(hud->alpha(), 1) << "still running when the grace time ended";

    auto hidden = addHUD();
    hidden->setGraceTime(0.5f);
    hidden->setTaskInProgress(true);
    hidden->show(false);
    advance(0.1);
    hidden->hide(false);
    advance(1);
    EXPECT_EQ(hidden->alpha(), 0) << "the grace timer of a hidden overlay shows nothing";
}

TEST_F(KHProgressHUDTest, ATaskEndingWithinTheGraceTimeIsNeverShown) {
    auto hud = addHUD();
    hud->setGraceTime(0.5f);
    std::atomic<bool> ran{false};
    hud->showWhileExecuting([&] { ran = true; }, true);
    EXPECT_TRUE(hud->taskInProgress());
    runUntil([&] { return !hud->taskInProgress(); });
    EXPECT_TRUE(ran);
    EXPECT_EQ(hud->indicator(), nullptr);
    advance(1);
    EXPECT_EQ(hud->alpha(), 0);
    EXPECT_EQ(log->hidden, 1);
}

TEST_F(KHProgressHUDTest, ALongTaskShowsTheOverlayUntilItEnds) {
    auto hud = addHUD();
    std::promise<void> finish;
    hud->showWhileExecuting([ended = finish.get_future().share()] { ended.wait(); }, false);
    advance(1);
    EXPECT_EQ(hud->alpha(), 1);
    finish.set_value();
    runUntil([&] { return log->hidden == 1; });
    EXPECT_EQ(hud->alpha(), 0);
}

TEST_F(KHProgressHUDTest, ProgressFromAWorkerReachesThePieOnTheMainQueue) {
    auto hud = addHUD();
    hud->setMode(KHProgressHUDMode::Pie);
    std::thread worker([&] {
        hud->setProgress(0.25f);
        hud->setLabelText("A quarter");
    });
    worker.join();
    auto& pie = dynamic_cast<KHRoundProgressView&>(*hud->indicator());
    EXPECT_EQ(pie.progress(), 0) << "views change on the main queue only";
    settle();
    EXPECT_EQ(pie.progress(), 0.25f);
    EXPECT_EQ(hud->label().text(), "A quarter");
}

TEST_F(KHProgressHUDTest, ADelayedHideComesAfterItsDelay) {
    auto hud = addHUD();
    hud->show(false);
    hud->hide(false, 0.5);
    advance(0.4);
    EXPECT_EQ(hud->alpha(), 1);
    advance(0.2);
    EXPECT_EQ(hud->alpha(), 0);
}

// Pictures.

using gfx::testing_pixels::pixelNear;

struct Look {
    const char* name;
    KHProgressHUDMode mode;
    std::string label;
    bool dim;
};

class KHPictures : public ::testing::TestWithParam<std::tuple<ui::Idiom, Look>> {};

TEST_P(KHPictures, ThePanelShowsItsIndicatorAndLabel) {
    const auto& [idiom, look] = GetParam();
    const ui::Device device{idiom, idiom == ui::Idiom::Phone ? 2.0f : 1.0f};
    host::HeadlessHost host(device);
    auto screen = ui::View::create({{}, device.screenSize()});
    screen->setBackgroundColor(core::Color::rgb255(200, 220, 240));
    host.window().addSubview(screen);
    auto hud = KHProgressHUD::showHUDAddedTo(*screen, false);
    hud->setMode(look.mode);
    hud->setLabelText(look.label);
    hud->setProgress(0.3f);
    hud->setDimBackground(look.dim);
    host.advance(0.05);
    const std::string name = std::string("kh-") + (device.isTablet() ? "tablet-" : "phone-") + look.name;
    const std::shared_ptr<const gfx::Image> frame = host::testing::keepScreenshot(host, name);
    const gfx::Bitmap& pixels = frame->bitmap();
    const core::Size screenSize = device.screenSize();
    const core::Size panel = hud->size();
    // The dark panel: just inside its top-left corner, past the rounding.
    const int panelX = int(((screenSize.width - panel.width) / 2 + 12) * device.scale);
    const int panelY = int(((screenSize.height - panel.height) / 2 + 12) * device.scale);
    EXPECT_NEAR(pixels.pixel(panelX, panelY).red, 0.2f * 200, 15) << name;
    // The screen around it: dimmed towards the corners, or as it was.
    const gfx::Pixel corner = pixels.pixel(2, 2);
    if (look.dim)
        EXPECT_LT(corner.red, 120) << name;
    else
        EXPECT_TRUE(pixelNear(pixels, 2, 2, {240, 220, 200, 255})) << name;
    if (hud->indicator())
        host::testing::expectLegible(*frame, *hud->indicator(), device.scale);
    if (!look.label.empty())
        host::testing::expectLegible(*frame, hud->label(), device.scale);
}

INSTANTIATE_TEST_SUITE_P(
    KH, KHPictures,
    ::testing::Combine(::testing::Values(ui::Idiom::Phone, ui::Idiom::Tablet),
                       ::testing::Values(Look{"loading", KHProgressHUDMode::Spinner, "Loading Problems", false},
                                         Look{"pie", KHProgressHUDMode::Pie, "Pie", false},
                                         Look{"ring", KHProgressHUDMode::Ring, "", false},
                                         Look{"text", KHProgressHUDMode::TextOnly, "Text only", false},
                                         Look{"dimmed", KHProgressHUDMode::Spinner, "Dimmed", true})),
    [](const auto& info) {
        return std::string(std::get<0>(info.param) == ui::Idiom::Tablet ? "Tablet" : "Phone") +
               std::get<1>(info.param).name;
    });

TEST(KHRoundProgressView, ThePieFillsClockwiseFromTheTop) {
    host::HeadlessHost host(ui::Device{ui::Idiom::Phone, 1});
    auto screen = ui::View::create({0, 0, 100, 100});
    screen->setBackgroundColor(core::Color::black());
    host.window().addSubview(screen);
    auto pie = KHRoundProgressView::create({0, 0, 41, 41});
    pie->setProgress(0.25f);
    screen->addSubview(pie);
    std::shared_ptr<const gfx::Image> frame = host.screenshot();
    // The first quarter (top right) is white, the others only faintly lit.
    EXPECT_GT(frame->bitmap().pixel(28, 12).red, 240);
    EXPECT_LT(frame->bitmap().pixel(12, 28).red, 60);
    EXPECT_LT(frame->bitmap().pixel(28, 28).red, 60);
    pie->setAnnular(true);
    frame = host.screenshot();
    EXPECT_LT(frame->bitmap().pixel(28, 12).red, 60) << "a ring is hollow";
    EXPECT_GT(frame->bitmap().pixel(34, 8).red, 200) << "and drawn along its edge";
}

} // namespace
} // namespace zm
