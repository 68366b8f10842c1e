#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TouchScript.h"
#include "platform/ui/UiTesting.h"
#include "platform/ui/Window.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

// A screen that logs its appearance messages, with its name, into a shared log.
class LoggingScreen : public ViewController {
public:
    static std::shared_ptr<LoggingScreen> make(std::string name, std::vector<std::string>& log) {
        auto screen = std::shared_ptr<LoggingScreen>(new LoggingScreen(std::move(name), log));
        screen->setTitle(screen->m_name);
        return screen;
    }
    void viewWillAppear(bool animated) override {
        ViewController::viewWillAppear(animated);
        m_log.push_back(m_name + " will appear");
    }
    void viewDidAppear(bool animated) override {
        ViewController::viewDidAppear(animated);
        m_log.push_back(m_name + " did appear");
    }
    void viewWillDisappear(bool animated) override {
        ViewController::viewWillDisappear(animated);
        m_log.push_back(m_name + " will disappear");
    }
    void viewDidDisappear(bool animated) override {
        ViewController::viewDidDisappear(animated);
        m_log.push_back(m_name + " did disappear");
    }

private:
    LoggingScreen(std::string name, std::vector<std::string>& log)
        : m_name(std::move(name))
        , m_log(log) {}

    std::string m_name;
    std::vector<std::string>& m_log;
};

class NavigationTest : public testing::AnimationFixture {
protected:
    void SetUp() override {
        window->setRootViewController(navigation);
        window->layoutIfNeeded();
        settle();
        log.clear();
    }

    std::vector<std::string> log;
    std::shared_ptr<LoggingScreen> root = LoggingScreen::make("root", log);
    std::shared_ptr<NavigationController> navigation = NavigationController::create(root);
    std::shared_ptr<Window> window = Window::create({0, 0, 480, 320});
    testing::TouchScript fingers{*window};
};

TEST_F(NavigationTest, APushSlidesInAndTheBarFollows) {
    auto second = LoggingScreen::make("second", log);
    second->setRightBarButtonItem(BarButtonItem::create("Edit"));
    navigation->pushViewController(second, true);
    EXPECT_EQ(log, (std::vector<std::string>{"second will appear", "root will disappear"}));
    EXPECT_EQ(navigation->navigationBar().titleLabel().text(), "second");
    EXPECT_FALSE(navigation->navigationBar().backButton().isHidden());
    EXPECT_EQ(navigation->navigationBar().backButton().currentTitle(), "\u2039 root");
    EXPECT_EQ(navigation->navigationBar().rightButton().currentTitle(), "Edit");
    advance(NavigationController::kSlideDuration / 2);
    const float midway = second->view()->presentationFrame().minX();
    EXPECT_GT(midway, 0);
    EXPECT_LT(midway, 480);
    advance(NavigationController::kSlideDuration);
    EXPECT_EQ(log, (std::vector<std::string>{"second will appear", "root will disappear", "root did disappear",
                                             "second did appear"}));
    EXPECT_EQ(second->view()->frame(), (core::Rect{0, 0, 480, 320 - NavigationBar::kHeight}));
    EXPECT_EQ(root->view()->superview(), nullptr);
    EXPECT_EQ(second->navigationController(), navigation.get());
    EXPECT_EQ(navigation->topViewController(), second.get());
}

TEST_F(NavigationTest, TheBackButtonPopsToTheScreenBelow) {
    auto second = LoggingScreen::make("second", log);
    navigation->pushViewController(second, false);
    settle();
    window->layoutIfNeeded();
    log.clear();
    fingers.tap({20, 22});
    EXPECT_EQ(log, (std::vector<std::string>{"root will appear", "second will disappear"}));
    EXPECT_EQ(navigation->navigationBar().titleLabel().text(), "root");
    advance(1);
    EXPECT_EQ(log, (std::vector<std::string>{"root will appear", "second will disappear", "second did disappear",
                                             "root did appear"}));
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
    EXPECT_EQ(second->parentViewController(), nullptr);
    EXPECT_TRUE(navigation->navigationBar().backButton().isHidden());
    EXPECT_EQ(navigation->popViewController(true), nullptr) << "the root stays";
}

TEST_F(NavigationTest, APushWhileSlidingIsIgnoredAndATitleChangeShowsAtOnce) {
    navigation->pushViewController(LoggingScreen::make("second", log), true);
    auto third = LoggingScreen::make("third", log);
    navigation->pushViewController(third, true);
    EXPECT_EQ(third->parentViewController(), nullptr);
    advance(1);
    navigation->topViewController()->setTitle("renamed");
    EXPECT_EQ(navigation->navigationBar().titleLabel().text(), "renamed");
}

TEST_F(NavigationTest, ASwitchFlipsOnATapAndReports) {
    auto toggle = Switch::create({10, 60, 51, 31});
    root->view()->addSubview(toggle);
    window->layoutIfNeeded();
    int changes = 0;
    toggle->addTarget(ControlEvent::ValueChanged, [&](Control&) { ++changes; });
    fingers.tap({30, 120});
    EXPECT_TRUE(toggle->isOn());
    fingers.down({30, 120});
    fingers.move({400, 300});
    fingers.up({400, 300});
    EXPECT_TRUE(toggle->isOn()) << "a finger lifted outside changes nothing";
    toggle->setOn(false);
    EXPECT_EQ(changes, 1) << "setting it in code reports nothing";
}

} // namespace
} // namespace ui
