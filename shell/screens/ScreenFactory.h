#pragma once

#include "platform/core/Log.h"
#include "platform/ui/InterfaceFile.h"

#include <memory>
#include <string>
#include <string_view>

namespace zm {

class TopicViewController;

// Screens come from interface files named after them; on a tablet the loader takes the file's "~ipad"
// twin where there is one. A screen that cannot be made (its file or class is missing or broken) is
// logged and answered as null, which callers treat as "nothing to show".

// The initial screen of the storyboard `name`, when it is a `Screen`.
template <class Screen> std::shared_ptr<Screen> spawnFromStoryboard(std::string_view name) {
    core::Result<std::shared_ptr<ui::ViewController>> made =
        ui::InterfaceLoader::shared().instantiateInitialViewController(name);
    if (!made) {
        core::log(core::LogLevel::Error, "storyboard \"" + std::string(name) + "\": " + made.error().text());
        return nullptr;
    }
    std::shared_ptr<Screen> screen = std::dynamic_pointer_cast<Screen>(*made);
    if (!screen)
        core::log(core::LogLevel::Error,
                  "storyboard \"" + std::string(name) + "\" makes no screen of its kind");
    return screen;
}

// A new screen of the registered class `className` whose view will come from the interface file
// `nibName`.
std::shared_ptr<TopicViewController> spawnFromXib(std::string_view className, std::string_view nibName);

} // namespace zm
