#include "platform/core/ApplicationEvents.h"
#include "platform/core/ManualClock.h"
#include "platform/core/NotificationCenter.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/PixelTesting.h"
#include "platform/host/WindowHost.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

namespace host {
namespace {

using namespace gfx::testing_pixels;

// A real SDL window on SDL's offscreen video driver: no display is needed.
class WindowHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        auto opened = WindowHost::open({ui::Idiom::Phone, 2}, clock);
        ASSERT_TRUE(opened) << opened.error().text();
        host = std::move(opened).value();
    }

    void frame() { host->loop().advanceBy(core::MainLoop::defaultFrameInterval); }

    void pushMouse(Uint32 type, int x, int y) {
        SDL_Event event{};
        event.type = type;
        if (type == SDL_MOUSEMOTION) {
            event.motion.x = x;
            event.motion.y = y;
            event.motion.state = SDL_BUTTON_LMASK;
        } else {
            event.button.button = SDL_BUTTON_LEFT;
            event.button.x = x;
            event.button.y = y;
        }
        SDL_PushEvent(&event);
    }

    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
    std::unique_ptr<WindowHost> host;
};

TEST_F(WindowHostTest, TheWindowShowsTheFrames) {
    auto box = ui::View::create({0, 0, 240, 160});
    box->setBackgroundColor(core::Color::rgba(0, 1, 0));
    host->application().window().addSubview(box);
    frame();
    const auto screen = host->readScreen();
    ASSERT_TRUE(screen) << screen.error().text();
    EXPECT_EQ((*screen)->pixelWidth(), 960);
    EXPECT_TRUE(pixelNear((*screen)->bitmap(), 100, 100, kGreen));
    EXPECT_TRUE(pixelNear((*screen)->bitmap(), 900, 600, kBlack));
}

// Each frame copies only what it drew again: the window must still hold the whole frame after changes
// at fractional positions, of one view alone, and of views apart from each other.
TEST_F(WindowHostTest, TheWindowHoldsTheWholeFrameAfterFramesDrawnInPart) {
    auto back = ui::View::create({0, 0, 480, 320});
    back->setBackgroundColor(core::Color::rgba(0, 0, 1));
    auto left = ui::View::create({10.25f, 20.5f, 33.3f, 17.7f});
    auto right = ui::View::create({400, 250, 50, 40});
    for (const auto& view : {left, right}) {
        view->setBackgroundColor(core::Color::rgba(1, 0, 0));
        back->addSubview(view);
    }
    host->application().window().addSubview(back);
    frame();
    const std::vector<std::function<void()>> changes = {
        [&] { left->setBackgroundColor(core::Color::rgba(0, 1, 0)); },
        [&] { left->setFrame({11.6f, 30.1f, 20, 9.9f}); },
        [&] {
            left->setBackgroundColor(core::Color::rgba(1, 1, 1));
            right->setFrame({300, 200, 60, 30});
        },
        [&] { right->removeFromSuperview(); },
    };
    for (std::size_t change = 0; change < changes.size(); ++change) {
        changes[change]();
        frame();
        const auto screen = host->readScreen();
        ASSERT_TRUE(screen) << screen.error().text();
        const gfx::Bitmap& frame = host->application().frame();
        const gfx::Bitmap& shown = (*screen)->bitmap();
        ASSERT_EQ(shown.width(), frame.width());
        for (int y = 0; y < frame.height(); ++y)
            ASSERT_EQ(std::memcmp(shown.bytes() + y * shown.bytesPerRow(), frame.bytes() + y * frame.bytesPerRow(),
                                  std::size_t(frame.width()) * 4),
                      0)
                << "change " << change << ", row " << y;
    }
}

TEST_F(WindowHostTest, TheMouseIsOneFingerInPoints) {
    struct Finger : ui::View {
        static std::shared_ptr<Finger> make() { return std::shared_ptr<Finger>(new Finger); }
        Finger()
            : View({0, 0, 480, 320}) {}
        void touchesBegan(const ui::TouchSet& touches, const ui::Event&) override {
            record("began", touches);
        }
        void touchesMoved(const ui::TouchSet& touches, const ui::Event&) override {
            record("moved", touches);
        }
        void touchesEnded(const ui::TouchSet& touches, const ui::Event&) override {
            record("ended", touches);
        }
        void record(const char* phase, const ui::TouchSet& touches) {
            const core::Point point = touches.front()->locationInView(this);
            log.push_back(std::string(phase) + " " + std::to_string(int(point.x)) + "," +
                          std::to_string(int(point.y)));
        }
        std::vector<std::string> log;
    };
    auto finger = Finger::make();
    host->application().window().addSubview(finger);
    pushMouse(SDL_MOUSEMOTION, 10, 10); // moving without a press touches nothing
    pushMouse(SDL_MOUSEBUTTONDOWN, 200, 100);
    pushMouse(SDL_MOUSEMOTION, 300, 120);
    pushMouse(SDL_MOUSEBUTTONUP, 400, 140);
    frame();
    // The window is twice the points in pixels.
    EXPECT_EQ(finger->log, (std::vector<std::string>{"began 100,50", "moved 150,60", "ended 200,70"}));
}

TEST_F(WindowHostTest, TheKeyboardTypesIntoTheFirstResponder) {
    auto field = ui::TextField::create({10, 10, 200, 30});
    host->application().window().addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::strcpy(text.text.text, "x\u00b2");
    SDL_PushEvent(&text);
    for (const SDL_Keycode key : {SDLK_BACKSPACE, SDLK_a, SDLK_RETURN}) {
        SDL_Event press{};
        press.type = SDL_KEYDOWN;
        press.key.keysym.sym = key;
        SDL_PushEvent(&press);
    }
    int returns = 0;
    field->addTarget(ui::ControlEvent::EditingDidEndOnExit, [&](ui::Control&) { ++returns; });
    frame();
    EXPECT_EQ(field->text(), "x"); // typed, then one character deleted; letters come as text, not keys
    EXPECT_EQ(returns, 1);
    EXPECT_FALSE(field->isFirstResponder());
}

TEST_F(WindowHostTest, CopiesGoToTheDesktopsClipboard) {
    ui::Pasteboard::general().setString("Zembrix: shared");
    char* text = SDL_GetClipboardText();
    EXPECT_STREQ(text, "Zembrix: shared");
    SDL_free(text);
    EXPECT_EQ(ui::Pasteboard::general().string(), "Zembrix: shared");
}

TEST_F(WindowHostTest, ClosingTheWindowQuitsTheLoop) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    frame();
    EXPECT_TRUE(host->run()); // returns at once: the quit was asked for already
}

TEST_F(WindowHostTest, FocusMinimisingAndTheEndOfTheRunReachTheApplicationOnce) {
    frame(); // the events of the window's opening
    std::vector<std::string> heard;
    std::vector<core::NotificationCenter::Observation> observing;
    for (std::string_view name :
         {core::kApplicationDidBecomeActiveNotification, core::kApplicationDidEnterBackgroundNotification,
          core::kApplicationWillEnterForegroundNotification, core::kApplicationWillTerminateNotification})
        observing.push_back(core::NotificationCenter::defaultCenter().addObserver(
            std::string(name), &host->application(),
            [&](const core::Notification& notification) { heard.push_back(notification.name); }));
    for (const Uint8 what : {SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_HIDDEN,
                             SDL_WINDOWEVENT_RESTORED, SDL_WINDOWEVENT_SHOWN}) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = what;
        SDL_PushEvent(&event);
    }
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    frame();
    EXPECT_TRUE(host->run());
    host->application().terminate();
    EXPECT_EQ(heard, (std::vector<std::string>{"ApplicationDidBecomeActive", "ApplicationDidEnterBackground",
                                               "ApplicationWillEnterForeground", "ApplicationWillTerminate"}));
}

// The window opens while the application starts: a frame drawn meanwhile waits for the window and shows
// whole in it; a window that cannot open ends the run at that frame with the reason, as open() gives it.
class WindowOpeningTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
};

TEST_F(WindowOpeningTest, AFrameDrawnWhileTheWindowOpensShowsWhenItIsOpen) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    const std::unique_ptr<WindowHost> host = WindowHost::start({ui::Idiom::Phone, 1}, clock);
    auto box = ui::View::create({0, 0, 240, 160});
    box->setBackgroundColor(core::Color::rgba(0, 1, 0));
    host->application().window().addSubview(box);
    host->loop().advanceBy(core::MainLoop::defaultFrameInterval);
    const auto screen = host->readScreen();
    ASSERT_TRUE(screen) << screen.error().text();
    EXPECT_TRUE(pixelNear((*screen)->bitmap(), 100, 100, kGreen));
    EXPECT_TRUE(pixelNear((*screen)->bitmap(), 300, 300, kBlack));
}

TEST_F(WindowOpeningTest, AWindowShowsBlackUntilTheFirstFrame) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    const auto opened = WindowHost::open({ui::Idiom::Phone, 1}, clock);
    ASSERT_TRUE(opened) << opened.error().text();
    const auto screen = (*opened)->readScreen();
    ASSERT_TRUE(screen) << screen.error().text();
    const gfx::Bitmap& pixels = (*screen)->bitmap();
    for (const auto& [x, y] : {std::pair{0, 0}, {240, 160}, {pixels.width() - 1, pixels.height() - 1}})
        EXPECT_TRUE(pixelNear(pixels, x, y, kBlack)) << x << "," << y;
}

TEST_F(WindowOpeningTest, AWindowThatCannotOpenEndsTheRunWithTheReason) {
    setenv("SDL_VIDEODRIVER", "no-such-display", 1);
    const auto opened = WindowHost::open({ui::Idiom::Phone, 1}, clock);
    ASSERT_FALSE(opened);
    EXPECT_NE(opened.error().description.find("cannot start the video system: "), std::string::npos)
        << opened.error().description;

    const std::unique_ptr<WindowHost> host = WindowHost::start({ui::Idiom::Phone, 1}, clock);
    host->loop().advanceBy(core::MainLoop::defaultFrameInterval); // the first frame finds no window
    const core::Status ran = host->run();
    ASSERT_FALSE(ran);
    EXPECT_EQ(ran.error(), opened.error());
    EXPECT_FALSE(host->readScreen());
}

// Without a session bus the window opens without D-Bus starting one (that would fork the game), and the
// programs the game starts later find the environment as it was.
TEST_F(WindowOpeningTest, TheSessionBusSettingIsLeftAsItWas) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string runtimeBefore = runtime ? runtime : "";
    setenv("XDG_RUNTIME_DIR", "/nonexistent", 1);
    for (const char* address : {static_cast<const char*>(nullptr), "unix:path=/nonexistent/bus"}) {
        if (address)
            setenv("DBUS_SESSION_BUS_ADDRESS", address, 1);
        else
            unsetenv("DBUS_SESSION_BUS_ADDRESS");
        const auto opened = WindowHost::open({ui::Idiom::Phone, 1}, clock);
        ASSERT_TRUE(opened) << opened.error().text();
        const char* after = std::getenv("DBUS_SESSION_BUS_ADDRESS");
        EXPECT_EQ(after ? std::string(after) : "unset", address ? std::string(address) : "unset");
    }
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    if (runtime)
        setenv("XDG_RUNTIME_DIR", runtimeBefore.c_str(), 1);
    else
        unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
} // namespace host
