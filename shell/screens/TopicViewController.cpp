#include "shell/screens/TopicViewController.h"

#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "shell/container/ContainerViewController.h"
#include "shell/screens/ScreenFactory.h"
#include "shell/topics/TopicIdentifiers.h"

namespace zm {

TopicViewController::TopicViewController() = default;

std::shared_ptr<TopicViewController> TopicViewController::spawnFromStoryboardWithTopic(const Topic& topic) {
    if (topic.topicID() == AlgebraTopicCustom)
        return spawnFromXib("MasterListViewController", "MasterListViewController");
    std::shared_ptr<TopicViewController> screen =
        spawnFromXib("PlaygroundViewController", "PlaygroundViewController");
    if (screen)
        screen->setTopic(topic);
    return screen;
}

float TopicViewController::bottomViewHeight() const {
    return ui::Device::current().isTablet() ? 140 : 80;
}

std::shared_ptr<ui::ImageView> TopicViewController::blurBackgroundBottomPiece() {
    if (!m_blurBackgroundBottomPiece) {
        if (const std::shared_ptr<ContainerViewController> container = containerVC())
            m_blurBackgroundBottomPiece = container->blurBackgroundBottomPiece(bottomViewHeight());
    }
    return m_blurBackgroundBottomPiece;
}

} // namespace zm
