#include "platform/core/NotificationCenter.h"
#include "platform/ui/KeyboardNotifications.h"
#include "platform/ui/TextField.h"
#include "platform/ui/UiTesting.h"
#include "platform/ui/Window.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

// A field whose keyboard is an input view of 120 points, in a phone's window; every keyboard
// notification is logged with its time, frames and sender.
class KeyboardNotifications : public testing::AnimationFixture {
protected:
    void SetUp() override {
        field->setInputView(View::create({0, 0, 480, 120}));
        window->addSubview(field);
        window->layoutIfNeeded();
        for (std::string_view name : {keyboardWillShowNotification, keyboardDidShowNotification,
                                      keyboardWillHideNotification, keyboardDidHideNotification})
            observations.push_back(core::NotificationCenter::defaultCenter().addObserver(
                std::string(name), nullptr, [this](const core::Notification& notification) {
                    const std::optional<KeyboardInfo> info = KeyboardInfo::from(notification);
                    ASSERT_TRUE(info);
                    EXPECT_EQ(notification.sender, static_cast<const View*>(window.get()));
                    EXPECT_EQ(info->animationDuration, 0.25);
                    log.push_back(notification.name + " " + std::to_string(int(info->frameBegin.minY())) +
                                  "->" + std::to_string(int(info->frameEnd.minY())) + " h" +
                                  std::to_string(int(info->frameEnd.height())) + " @" +
                                  std::to_string(std::lround((now() - start) * 100)));
                }));
    }

    std::shared_ptr<Window> window = Window::create({0, 0, 480, 320});
    std::shared_ptr<TextField> field = TextField::create({20, 20, 200, 30});
    std::vector<core::NotificationCenter::Observation> observations;
    std::vector<std::string> log;
    const double start = now();
};

TEST_F(KeyboardNotifications, TheDockAnnouncesEachSlideAndAnswersItsHeight) {
    EXPECT_EQ(window->dockedInputHeight(), 0);
    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_EQ(window->dockedInputHeight(), 120);
    advance(0.5);
    field->resignFirstResponder();
    EXPECT_EQ(window->dockedInputHeight(), 0) << "a keyboard sliding away takes no room";
    advance(0.5);
    EXPECT_EQ(log, (std::vector<std::string>{
                       "KeyboardWillShowNotification 320->200 h120 @0",
                       "KeyboardDidShowNotification 320->200 h120 @25",
                       "KeyboardWillHideNotification 200->320 h120 @50",
                       "KeyboardDidHideNotification 200->320 h120 @75",
                   }));
}

TEST_F(KeyboardNotifications, AKeyboardThatLeavesWhileArrivingNeverSaysItArrived) {
    ASSERT_TRUE(field->becomeFirstResponder());
    advance(0.1);
    field->resignFirstResponder();
    advance(0.5);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].substr(0, 28), "KeyboardWillShowNotification");
    EXPECT_EQ(log[1].substr(0, 28), "KeyboardWillHideNotification");
    EXPECT_EQ(log[2].substr(0, 27), "KeyboardDidHideNotification");
}

} // namespace
} // namespace ui
