#pragma once

namespace ui {
class ClassRegistry;
}

namespace zm {

// Registers the information screens' classes for their interface files.
void registerInfoClasses(ui::ClassRegistry& registry);

} // namespace zm
