#pragma once

namespace ui {
class ClassRegistry;
}

namespace zm {

// Registers the classes that the topic playground screen's interface files name: the screen and the
// progression widget with its rows of dots (the playground view is registered with the shell's own).
void registerPlaygroundScreenClasses(ui::ClassRegistry& registry);

} // namespace zm
