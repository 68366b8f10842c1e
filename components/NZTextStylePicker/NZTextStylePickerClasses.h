#pragma once

#include <memory>
#include <string>

namespace zm {

// Registers the picker's drawn views ("NZUpDownControl", "NZColourBlockView") for interface files, once.
void registerTextStylePickerClasses();

// A new screen of type Screen whose view will come from the interface file `name`.
template <class Screen> std::shared_ptr<Screen> fromInterfaceFile(std::string name) {
    registerTextStylePickerClasses();
    std::shared_ptr<Screen> screen = Screen::create();
    screen->setNibName(std::move(name));
    return screen;
}

} // namespace zm
