#include "shell/screens/ScreenFactory.h"

#include "platform/ui/ClassRegistry.h"
#include "shell/screens/TopicViewController.h"

namespace zm {

std::shared_ptr<TopicViewController> spawnFromXib(std::string_view className, std::string_view nibName) {
    core::Result<ui::ClassRegistry::Made> made = ui::ClassRegistry::shared().make(className);
    if (!made) {
        core::log(core::LogLevel::Error, "screen \"" + std::string(className) + "\": " + made.error().text());
        return nullptr;
    }
    auto screen = std::dynamic_pointer_cast<TopicViewController>(made->controller);
    if (!screen) {
        core::log(core::LogLevel::Error, "\"" + std::string(className) + "\" is no screen");
        return nullptr;
    }
    screen->setNibName(std::string(nibName));
    return screen;
}

} // namespace zm
