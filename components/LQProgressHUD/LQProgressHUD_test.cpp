#include "components/LQProgressHUD/LQProgressHUD.h"

#include "platform/gfx/Image.h"
#include "platform/gfx/Text.h"
#include "platform/host/HeadlessHost.h"
#include "platform/host/ScreenTesting.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ShapeLayer.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zm {
namespace {

// A touch log under the overlay, on a phone; the shared overlay is gone again after each test.
class LQProgressHUDTest : public ::testing::Test {
protected:
    explicit LQProgressHUDTest(ui::Device device = {ui::Idiom::Phone, 1})
        : host(device) {
        background->setBackgroundColor(core::Color::rgb255(200, 220, 240));
        background->addTarget(ui::ControlEvent::TouchDown, [this](ui::Control&) { ++backgroundTouches; });
        host.window().addSubview(background);
        for (std::string_view name : {LQProgressHUDDidReceiveTouchEventNotification,
                                      LQProgressHUDWillDisappearNotification, LQProgressHUDDidDisappearNotification})
            observations.push_back(core::NotificationCenter::defaultCenter().addObserver(
                std::string(name), nullptr, [this](const core::Notification& notification) {
                    const core::Value* status = notification.userInfo.find(LQProgressHUDStatusUserInfoKey);
                    posted.push_back(notification.name + (status ? " " + status->stringValue() : ""));
                }));
    }

    ~LQProgressHUDTest() override {
        LQProgressHUD::dismiss();
        host.advance(1);
        ui::StatusBar::setCurrent({});
        hud().setHudFont(gfx::Font::boldSystem(16));
    }

    LQProgressHUD& hud() { return *LQProgressHUD::sharedView(); }

    host::HeadlessHost host;
    std::shared_ptr<ui::Button> background = ui::Button::create({{}, host.window().bounds().size});
    int backgroundTouches = 0;
    std::vector<core::NotificationCenter::Observation> observations;
    std::vector<std::string> posted;
};

TEST(LQProgressHUDDuration, GrowsWithTheStatus) {
    EXPECT_DOUBLE_EQ(LQProgressHUD::displayDurationForString("0123456789"), 0.9);
    EXPECT_DOUBLE_EQ(LQProgressHUD::displayDurationForString(""), 0.3);
}

// The box's layout: without a status, and with statuses of a known size over each top element.
TEST_F(LQProgressHUDTest, WithoutAStatusTheBoxIsSquareAroundTheSpinner) {
    LQProgressHUD::show();
    EXPECT_EQ(hud().hudView().bounds(), (core::Rect{0, 0, 100, 100}));
    EXPECT_EQ(hud().spinnerView().center(), (core::Point{50.5f, 50.5f}));
    EXPECT_TRUE(hud().spinnerView().isAnimating());
    EXPECT_EQ(hud().stringLabel().frame(), core::Rect{});
}

struct BoxCase {
    const char* name;
    enum { Spinner, Ring, Image, TextOnly } top;
    std::string status;
};

class BoxLayout : public LQProgressHUDTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(BoxLayout, TheStatusSitsUnderTheTopElement) {
    const BoxCase& c = GetParam();
    const gfx::Font font = gfx::Font::boldSystem(17);
    hud().setHudFont(font);
    const core::Size text = gfx::measureText(gfx::AttributedText(c.status, font), 200);
    switch (c.top) {
    case BoxCase::Spinner:
        LQProgressHUD::showWithStatus(c.status);
        break;
    case BoxCase::Ring:
        LQProgressHUD::showProgress(0.5f, c.status);
        LQProgressHUD::setStatus(c.status); // laid out again with the ring showing
        break;
    case BoxCase::Image:
        LQProgressHUD::showSuccessWithStatus(c.status);
        break;
    case BoxCase::TextOnly:
        LQProgressHUD::showImage(nullptr, c.status);
        break;
    }
    const bool topShown = c.top != BoxCase::TextOnly;
    const float height = text.height + (topShown ? 80 : 20);
    const float content = text.width > 100 ? 2 * std::ceil(text.width / 2) : 100;
    EXPECT_EQ(hud().hudView().bounds(), (core::Rect{0, 0, content + 24, height}));
    const core::Rect expectedLabel = height > 100 ? core::Rect{12, topShown ? 66.0f : 9.0f, content, text.height}
                                                  : core::Rect{0, topShown ? 66.0f : 9.0f, content + 24, text.height};
    EXPECT_EQ(hud().stringLabel().frame(), expectedLabel);
    if (c.top == BoxCase::Image) {
        EXPECT_EQ(hud().imageView().center(), (core::Point{(content + 24) / 2, 36}));
    }
    if (c.top == BoxCase::Ring) {
        EXPECT_EQ(hud().ringLayer().position(), (core::Point{(content + 24) / 2, 36}));
    }
}

INSTANTIATE_TEST_SUITE_P(LQ, BoxLayout,
                         ::testing::Values(BoxCase{"TwoLinesOverTheSpinner", BoxCase::Spinner, "Two lines\nof status"},
                                           BoxCase{"WideStatus", BoxCase::Spinner, "A status wider than the box"},
                                           BoxCase{"OverTheRing", BoxCase::Ring, "Half way"},
                                           BoxCase{"UnderAnImage", BoxCase::Image, "Saved"},
                                           BoxCase{"WithoutImage", BoxCase::TextOnly, "Just text"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LQProgressHUDTest, AStatusFortyPointsHighMakesABox124By120) {
    // Two lines of the bold system font at this size are 40 points high.
    const gfx::Font font = gfx::Font::boldSystem(256.0f / 15);
    hud().setHudFont(font);
    ASSERT_NEAR(gfx::measureText(gfx::AttributedText("Two lines\nof status", font), 200).height, 40, 0.01);
    LQProgressHUD::showWithStatus("Two lines\nof status");
    EXPECT_EQ(hud().hudView().bounds().width(), 124);
    EXPECT_NEAR(hud().hudView().bounds().height(), 120, 0.01);
    EXPECT_EQ(hud().stringLabel().frame().origin, (core::Point{12, 66}));
    EXPECT_EQ(hud().spinnerView().center(), (core::Point{62.5f, 40.5f}));
}

TEST_F(LQProgressHUDTest, ThreeShowsNeedThreePopsAndAFourthIsHarmless) {
    for (int show = 0; show < 3; ++show)
        LQProgressHUD::show();
    host.advance(0.5);
    EXPECT_TRUE(LQProgressHUD::isVisible());
    LQProgressHUD::popActivity();
    LQProgressHUD::popActivity();
    host.advance(0.5);
    EXPECT_TRUE(LQProgressHUD::isVisible());
    LQProgressHUD::popActivity();
    host.advance(0.5);
    EXPECT_FALSE(LQProgressHUD::isVisible());
    LQProgressHUD::popActivity();
    EXPECT_EQ(hud().activityCount(), 0u);
    // Counting still works afterwards.
    LQProgressHUD::show();
    host.advance(0.5);
    LQProgressHUD::popActivity();
    host.advance(0.5);
    EXPECT_FALSE(LQProgressHUD::isVisible());
}

TEST_F(LQProgressHUDTest, ASuccessShowsItsImageUntilItHasBeenRead) {
    LQProgressHUD::showSuccessWithStatus("Saved");
    host.advance(0.2);
    EXPECT_TRUE(LQProgressHUD::isVisible());
    EXPECT_NE(hud().imageView().image(), nullptr);
    EXPECT_FALSE(hud().spinnerView().isAnimating());
    host.advance(LQProgressHUD::displayDurationForString("Saved"));
    EXPECT_FALSE(LQProgressHUD::isVisible());
    EXPECT_EQ(posted, (std::vector<std::string>{"LQProgressHUDWillDisappearNotification Saved",
                                                "LQProgressHUDDidDisappearNotification Saved"}));
    EXPECT_EQ(hud().superview(), nullptr) << "the overlay has left the window";
}

TEST_F(LQProgressHUDTest, ANewShowCancelsTheFadeOut) {
    LQProgressHUD::showErrorWithStatus("Failed");
    host.advance(0.2);
    LQProgressHUD::showWithStatus("Retrying");
    EXPECT_EQ(hud().fadeOutTimer(), nullptr);
    host.advance(3);
    EXPECT_TRUE(LQProgressHUD::isVisible());
    EXPECT_TRUE(hud().imageView().isHidden());
}

TEST_F(LQProgressHUDTest, MaskOnePassesTouchesAndTheOthersPostThem) {
    const core::Point corner{10, 10};
    LQProgressHUD::show();
    host.advance(0.5);
    host::testing::tap(host, corner);
    EXPECT_EQ(backgroundTouches, 1);
    EXPECT_TRUE(posted.empty());
    for (auto mask : {LQProgressHUDMaskType::Clear, LQProgressHUDMaskType::Dimmed, LQProgressHUDMaskType::Gradient}) {
        LQProgressHUD::showWithMaskType(mask);
        host::testing::tap(host, corner);
    }
    EXPECT_EQ(backgroundTouches, 1);
    EXPECT_EQ(posted, std::vector<std::string>(3, "LQProgressHUDDidReceiveTouchEventNotification"));
}

TEST_F(LQProgressHUDTest, TheBoxRisesAboveAKeyboardAndComesBack) {
    auto field = ui::TextField::create({10, 10, 200, 30});
    field->setInputView(ui::View::create({0, 0, 480, 120}));
    host.window().addSubview(field);
    LQProgressHUD::showWithStatus("Working");
    host.advance(0.5);
    EXPECT_EQ(hud().hudView().center(), (core::Point{240, std::floor(320 * 0.45f)}));
    ASSERT_TRUE(field->becomeFirstResponder());
    host.advance(0.5);
    EXPECT_EQ(hud().hudView().center(), (core::Point{240, std::floor((320 - 120) * 0.45f)}));
    EXPECT_EQ(hud().hudView().presentation().position, hud().hudView().center());
    field->resignFirstResponder();
    host.advance(0.5);
    EXPECT_EQ(hud().hudView().center(), (core::Point{240, std::floor(320 * 0.45f)}));

    // Shown while a keyboard is up, it starts above it.
    LQProgressHUD::dismiss();
    host.advance(0.5);
    ASSERT_TRUE(field->becomeFirstResponder());
    host.advance(0.5);
    LQProgressHUD::show();
    EXPECT_EQ(hud().visibleKeyboardHeight(), 120);
    EXPECT_EQ(hud().hudView().center().y, std::floor((320 - 120) * 0.45f));
}

TEST_F(LQProgressHUDTest, ATurnedInterfaceTurnsTheBox) {
    ui::StatusBar::setCurrent({ui::InterfaceOrientation::LandscapeLeft, {0, 0, 20, 480}});
    LQProgressHUD::show();
    // The screen taken upright is 320 wide and 480 high: the box sits at (y, x).
    EXPECT_EQ(hud().hudView().center(), (core::Point{std::floor(480 * 0.45f), 160}));
    EXPECT_EQ(hud().hudView().transform(), core::AffineTransform::makeRotation(-std::numbers::pi_v<float> / 2));
    ui::StatusBar::setCurrent({ui::InterfaceOrientation::PortraitUpsideDown, {0, 0, 480, 20}});
    host.advance(0.5);
    EXPECT_EQ(hud().hudView().center(), (core::Point{240, 320 - std::floor(320 * 0.45f)}));
}

// An overlay of its own, apart from the shared one.
class FreshHUD : public LQProgressHUD {
public:
    FreshHUD()
        : LQProgressHUD({}) {}
};

TEST(LQProgressHUDAppearance, FillsWhatAnOverlayLeavesUnsetOnceAndForAll) {
    LQProgressHUD::appearance() = {};
    EXPECT_EQ(FreshHUD().hudBackgroundColor(), core::Color::rgba(0, 0, 0, 0.8f));
    LQProgressHUD::appearance().hudForegroundColor = core::Color::rgb255(255, 0, 0);
    FreshHUD hud;
    EXPECT_EQ(hud.hudForegroundColor(), core::Color::rgb255(255, 0, 0));
    LQProgressHUD::appearance().hudForegroundColor = core::Color::rgb255(0, 255, 0);
    EXPECT_EQ(hud.hudForegroundColor(), core::Color::rgb255(255, 0, 0)) << "kept from the first read";
    hud.setHudForegroundColor(core::Color::white());
    EXPECT_EQ(hud.hudForegroundColor(), core::Color::white());
    LQProgressHUD::appearance() = {};
}

// Pictures of the overlay under each mask, on both devices.

struct Shown {
    const char* name;
    LQProgressHUDMaskType mask;
    enum { Spinner, Ring, Success } top;
};

class LQPictures : public ::testing::TestWithParam<std::tuple<ui::Idiom, Shown>> {};

TEST_P(LQPictures, TheBoxShowsOverTheScreenUnderItsMask) {
    const auto& [idiom, shown] = GetParam();
    const ui::Device device{idiom, idiom == ui::Idiom::Phone ? 2.0f : 1.0f};
    host::HeadlessHost host(device);
    auto screen = ui::View::create({{}, device.screenSize()});
    screen->setBackgroundColor(core::Color::rgb255(200, 220, 240));
    host.window().addSubview(screen);
    switch (shown.top) {
    case Shown::Spinner:
        LQProgressHUD::showWithStatus("Working", shown.mask);
        break;
    case Shown::Ring:
        LQProgressHUD::showProgress(0.4f, "Uploading", shown.mask);
        break;
    case Shown::Success:
        LQProgressHUD::showSuccessWithStatus("Done");
        break;
    }
    host.advance(0.25);
    const std::string name = std::string("lq-") + (device.isTablet() ? "tablet-" : "phone-") + shown.name;
    const std::shared_ptr<const gfx::Image> frame = host::testing::keepScreenshot(host, name);
    LQProgressHUD& hud = *LQProgressHUD::sharedView();
    host::testing::expectLegible(*frame, hud.stringLabel(), device.scale);
    if (shown.top == Shown::Success)
        host::testing::expectLegible(*frame, hud.imageView(), device.scale);
    if (shown.top == Shown::Spinner)
        host::testing::expectLegible(*frame, hud.spinnerView(), device.scale);
    const gfx::Pixel corner = frame->bitmap().pixel(2, 2);
    switch (shown.mask) {
    case LQProgressHUDMaskType::PassThrough:
    case LQProgressHUDMaskType::Clear:
        EXPECT_EQ(corner.red, 200) << name;
        break;
    case LQProgressHUDMaskType::Dimmed:
        EXPECT_NEAR(corner.red, 100, 2) << name;
        break;
    case LQProgressHUDMaskType::Gradient:
        EXPECT_LT(corner.red, 80) << name;
        break;
    }
    LQProgressHUD::dismiss();
    host.advance(1);
}

INSTANTIATE_TEST_SUITE_P(
    LQ, LQPictures,
    ::testing::Combine(::testing::Values(ui::Idiom::Phone, ui::Idiom::Tablet),
                       ::testing::Values(Shown{"passthrough", LQProgressHUDMaskType::PassThrough, Shown::Spinner},
                                         Shown{"clear", LQProgressHUDMaskType::Clear, Shown::Spinner},
                                         Shown{"dimmed", LQProgressHUDMaskType::Dimmed, Shown::Spinner},
                                         Shown{"gradient", LQProgressHUDMaskType::Gradient, Shown::Spinner},
                                         Shown{"ring", LQProgressHUDMaskType::Dimmed, Shown::Ring},
                                         Shown{"success", LQProgressHUDMaskType::PassThrough, Shown::Success})),
    [](const auto& info) {
        return std::string(std::get<0>(info.param) == ui::Idiom::Tablet ? "Tablet" : "Phone") +
               std::get<1>(info.param).name;
    });

} // namespace
} // namespace zm
