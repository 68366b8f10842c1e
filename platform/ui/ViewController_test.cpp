#include "platform/ui/UiTesting.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

using Log = std::vector<std::string>;

// A screen that writes its lifecycle into a shared log, prefixed with its name.
class Screen : public ViewController {
public:
    static std::shared_ptr<Screen> make(std::string name, Log& log) {
        return std::shared_ptr<Screen>(new Screen(std::move(name), log));
    }

    void viewDidLoad() override { write("didLoad"); }
    void viewWillAppear(bool) override { write("willAppear"); }
    void viewDidAppear(bool) override { write("didAppear"); }
    void viewWillDisappear(bool) override { write("willDisappear"); }
    void viewDidDisappear(bool) override { write("didDisappear"); }
    void viewDidLayoutSubviews() override { write("didLayout"); }
    void willMoveToParentViewController(ViewController* parent) override {
        write(parent ? "willMove" : "willLeave");
    }
    void didMoveToParentViewController(ViewController* parent) override {
        write(parent ? "didMove" : "didLeave");
    }

private:
    Screen(std::string name, Log& log)
        : m_name(std::move(name))
        , m_log(log) {}
    void write(const std::string& what) { m_log.push_back(m_name + " " + what); }

    std::string m_name;
    Log& m_log;
};

class ViewControllers : public testing::AnimationFixture {
protected:
    // A container on screen with `a` as its child, its view placed.
    void SetUp() override {
        window->setRootViewController(container);
        container->addChildViewController(a);
        container->view()->addSubview(a->view());
        a->didMoveToParentViewController(container.get());
        log.clear();
    }

    Log log;
    std::shared_ptr<Window> window = Window::create({0, 0, 480, 320});
    std::shared_ptr<Screen> container = Screen::make("container", log);
    std::shared_ptr<Screen> a = Screen::make("a", log);
    std::shared_ptr<Screen> b = Screen::make("b", log);
};

TEST_F(ViewControllers, TheRootAndChildrenPlacedByHandAppear) {
    Log seen;
    auto root = Screen::make("root", seen);
    auto child = Screen::make("child", seen);
    root->view()->addSubview(child->view());
    auto other = Window::create({0, 0, 480, 320});
    other->setRootViewController(root);
    EXPECT_EQ(seen, (Log{"root didLoad", "child didLoad", "root willAppear", "root didAppear",
                         "child willAppear", "child didAppear"}));
    seen.clear();
    child->view()->removeFromSuperview();
    EXPECT_EQ(seen, (Log{"child willDisappear", "child didDisappear"}));
}

TEST_F(ViewControllers, ATransitionCompletesExactlyOnceAfterItsAnimation) {
    container->addChildViewController(b);
    log.clear();
    int completions = 0;
    bool finishedFlag = false;
    a->willMoveToParentViewController(nullptr);
    container->transition(
        a, b, 0.5, AnimationOptions::None, [&] { b->view()->setAlpha(1); },
        [&](bool finished) {
            ++completions;
            finishedFlag = finished;
            a->removeFromParentViewController();
            b->didMoveToParentViewController(container.get());
        });
    EXPECT_EQ(b->view()->superview(), container->view().get());
    EXPECT_EQ(container->view()->subviews().back(), b->view());
    EXPECT_EQ(completions, 0);
    advance(0.25);
    EXPECT_EQ(completions, 0);
    advance(0.5);
    settle();
    advance(1);
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(finishedFlag);
    EXPECT_EQ(a->view()->superview(), nullptr);
    EXPECT_EQ(container->childViewControllers(), (std::vector<std::shared_ptr<ViewController>>{b}));
    EXPECT_EQ(log, (Log{"a willLeave", "b didLoad", "b willAppear", "a willDisappear", "a didDisappear",
                        "b didAppear", "a didLeave", "b didMove"}));
}

TEST_F(ViewControllers, ATransitionBetweenStrangersIsRefusedOnce) {
    int completions = 0;
    bool finishedFlag = true;
    container->transition(a, b, 0.5, AnimationOptions::None, {}, [&](bool finished) {
        ++completions;
        finishedFlag = finished;
    });
    advance(1);
    EXPECT_EQ(completions, 1);
    EXPECT_FALSE(finishedFlag);
    EXPECT_EQ(a->view()->superview(), container->view().get());
}

TEST_F(ViewControllers, LayoutPassesReachTheController) {
    container->view()->setFrame({0, 0, 300, 200});
    container->view()->layoutIfNeeded();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "container didLayout");
}

TEST_F(ViewControllers, APresentedScreenCoversTheWindowUntilDismissed) {
    int presented = 0;
    int dismissed = 0;
    a->presentViewController(b, true, [&] { ++presented; });
    EXPECT_EQ(a->presentedViewController(), b.get());
    EXPECT_EQ(b->presentingViewController(), a.get());
    EXPECT_EQ(b->view()->superview(), window.get());
    advance(1);
    EXPECT_EQ(presented, 1);
    EXPECT_EQ(b->view()->frame(), window->bounds());
    b->dismissViewController(true, [&] { ++dismissed; }); // through its presenter
    advance(1);
    EXPECT_EQ(dismissed, 1);
    EXPECT_EQ(b->view()->superview(), nullptr);
    EXPECT_EQ(a->presentedViewController(), nullptr);
    EXPECT_EQ(b->presentingViewController(), nullptr);
    EXPECT_EQ(log, (Log{"b didLoad", "b willAppear", "b didAppear", "b willDisappear", "b didDisappear"}));
}

TEST_F(ViewControllers, PresentingTwiceOrOffScreenIsIgnored) {
    auto c = Screen::make("c", log);
    a->presentViewController(b, false);
    a->presentViewController(c, false);
    EXPECT_EQ(a->presentedViewController(), b.get());
    auto offScreen = Screen::make("off", log);
    offScreen->presentViewController(c, false);
    EXPECT_EQ(offScreen->presentedViewController(), nullptr);
}

} // namespace
} // namespace ui
