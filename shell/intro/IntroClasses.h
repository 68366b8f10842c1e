#pragma once

namespace ui {
class ClassRegistry;
}

namespace zm {

// Registers the tutorial's classes for its interface files.
void registerIntroClasses(ui::ClassRegistry& registry);

} // namespace zm
