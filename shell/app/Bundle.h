#pragma once

#include <memory>
#include <string_view>

namespace gfx {
class Image;
class ImageLibrary;
} // namespace gfx

namespace ui {
class ClassRegistry;
}

namespace zm {

// The application's bundle: the interface files, images, sounds and texts of the resources folder.

// The bundle's images for the current device's screen scale.
gfx::ImageLibrary& bundleImages();
// The image `name` of the bundle; null when there is none (logged once).
std::shared_ptr<const gfx::Image> imageNamed(std::string_view name);

// Registers the classes that the application's interface files name.
void registerShellClasses(ui::ClassRegistry& registry);

// Makes the screens load from the bundle: registers the shell's classes with the shared registry and
// points the shared interface loader at the bundle's interface files and images for the current device.
// Run once the device is known, before the first screen is made.
void installBundle();

} // namespace zm
