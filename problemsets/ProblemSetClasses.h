#pragma once

namespace ui {
class ClassRegistry;
}

namespace zm {

// Registers the classes that the problem-set screens' interface files name: the screens and their
// cells.
void registerProblemSetClasses(ui::ClassRegistry& registry);

// Registers them with the shared registry, so that the home carousel's "Create Your Own" opens the
// list of sets. Run after the shell's bundle is installed.
void installProblemSets();

} // namespace zm
