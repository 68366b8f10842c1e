#pragma once

#include "platform/ui/ViewController.h"
#include "shell/topics/Topic.h"

#include <memory>
#include <optional>

namespace ui {
class ImageView;
}

namespace zm {

class ContainerViewController;

// The base of every full-screen screen. The container shows one at a time and replaces it by a new
// one on every transition; a screen asks the container for transitions and background services through
// its weak back-reference, never owning it.
//
// Main thread only.
class TopicViewController : public ui::ViewController {
public:
    // The screen that opens `topic`: the problem-set list for the user's own topic, the topic's
    // playground for every other. Null when that screen cannot be made.
    static std::shared_ptr<TopicViewController> spawnFromStoryboardWithTopic(const Topic& topic);

    // The container showing the screen; null before it is handed over, and once the container is gone.
    std::shared_ptr<ContainerViewController> containerVC() const { return m_containerVC.lock(); }
    void setContainerVC(const std::shared_ptr<ContainerViewController>& container) {
        m_containerVC = container;
    }

    // Only topic playground screens have a topic.
    const std::optional<Topic>& topic() const { return m_topic; }
    void setTopic(std::optional<Topic> topic) { m_topic = std::move(topic); }

    // The height in points of the bar at the bottom of the screen.
    virtual float bottomViewHeight() const;

    // Whether a zoom into this screen grows it out of the container's lower right corner, where the
    // home screen's info button sits, rather than out of the middle.
    virtual bool growsFromLowerRightCorner() const { return false; }

    // The blurred strip of the background that sits behind the bottom bar, as the background was when
    // first asked for; made once, by the container. Null while there is no container to ask.
    std::shared_ptr<ui::ImageView> blurBackgroundBottomPiece();

protected:
    TopicViewController();

private:
    std::weak_ptr<ContainerViewController> m_containerVC;
    std::optional<Topic> m_topic;
    std::shared_ptr<ui::ImageView> m_blurBackgroundBottomPiece;
};

} // namespace zm
