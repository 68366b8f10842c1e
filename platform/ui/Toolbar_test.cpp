#include "platform/core/Json.h"
#include "platform/ui/Button.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/InterfaceFile.h"
#include "platform/ui/Outlets.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/TouchScript.h"
#include "platform/ui/Window.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

// A keyboard screen's bar: cancel at the left, finish at the right, both wired by name.
class KeyboardBar : public ViewController {
public:
    static std::shared_ptr<KeyboardBar> make() { return std::shared_ptr<KeyboardBar>(new KeyboardBar); }
    void connectOutlets(Outlets& outlets) override {
        outlets.strong("toolbar", toolbar);
        outlets.weak("finishItem", finishItem);
        ViewController::connectOutlets(outlets);
    }
    std::function<void()> actionNamed(std::string_view name) override {
        if (name == "hitCancel:" || name == "hitFinished:")
            return [this, name = std::string(name)] { calls.push_back(name); };
        return ViewController::actionNamed(name);
    }

    std::shared_ptr<Toolbar> toolbar;
    std::weak_ptr<BarButtonItem> finishItem;
    std::vector<std::string> calls;
};

class Toolbars : public ::testing::Test {
protected:
    void SetUp() override {
        InterfaceLoader loader({{}, Idiom::Phone, nullptr}, registry);
        const core::Status loaded = loader.loadDocumentInto(core::parseJson(R"({
            "view": {"frame": [0, 0, 480, 320], "subviews": [
                {"class": "Toolbar", "id": "bar", "frame": [0, 0, 480, 44], "properties": {"items": [
                    {"class": "BarButtonItem", "properties": {"systemItem": "cancel"},
                     "actions": [{"action": "hitCancel:"}]},
                    {"class": "BarButtonItem", "properties": {"systemItem": "flexibleSpace"}},
                    {"class": "BarButtonItem", "id": "finish", "properties": {"title": "Finish", "style": "done"},
                     "actions": [{"action": "hitFinished:"}]}]}}]},
            "outlets": {"toolbar": "bar", "finishItem": "finish"}})")
                                                                .value(),
                                                            *screen);
        ASSERT_TRUE(loaded.ok()) << loaded.error().text();
        window->setRootViewController(screen);
        window->layoutIfNeeded();
    }

    core::Point centreOf(const BarButtonItem& item) {
        const Button* button = screen->toolbar->buttonFor(item);
        const core::Rect frame = button->convertRectToView(button->bounds(), nullptr);
        return {frame.midX(), frame.midY()};
    }

    ClassRegistry registry;
    std::shared_ptr<KeyboardBar> screen = KeyboardBar::make();
    std::shared_ptr<Window> window = Window::create({0, 0, 480, 320});
    testing::TouchScript fingers{*window};
};

TEST_F(Toolbars, ItemsFromAFileRunTheirActionsByName) {
    const auto& items = screen->toolbar->items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0]->title(), "Cancel");
    EXPECT_EQ(screen->toolbar->buttonFor(*items[1]), nullptr);
    // The flexible space pushes the last button to the right edge.
    const Button* finish = screen->toolbar->buttonFor(*items[2]);
    ASSERT_NE(finish, nullptr);
    EXPECT_NEAR(finish->frame().maxX(), 480 - 8, 0.01);
    EXPECT_LT(screen->toolbar->buttonFor(*items[0])->frame().maxX(), 100);

    fingers.tap(centreOf(*items[0]));
    fingers.tap(centreOf(*items[2]));
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"hitCancel:", "hitFinished:"}));
}

TEST_F(Toolbars, TheBarFollowsItsItems) {
    const std::shared_ptr<BarButtonItem> finish = screen->finishItem.lock();
    ASSERT_TRUE(finish);
    finish->setTitle("  Back");
    window->layoutIfNeeded();
    EXPECT_EQ(screen->toolbar->buttonFor(*finish)->currentTitle(), "  Back");
    finish->setEnabled(false);
    window->layoutIfNeeded();
    fingers.tap(centreOf(*finish));
    EXPECT_TRUE(screen->calls.empty());

    // An item moved to another bar leaves the first.
    auto other = Toolbar::create({0, 0, 320, 44});
    other->setItems({finish});
    EXPECT_EQ(screen->toolbar->items().size(), 2u);
    EXPECT_EQ(screen->toolbar->buttonFor(*finish), nullptr);
    EXPECT_NE(other->buttonFor(*finish), nullptr);
    other.reset(); // the item outlives its bar
    finish->setTitle("Done");
}

} // namespace
} // namespace ui
