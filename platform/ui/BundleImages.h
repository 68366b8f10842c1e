#pragma once

#include <future>
#include <memory>
#include <string_view>

namespace gfx {
class Image;
class ImageLibrary;
} // namespace gfx

namespace ui {

// The images of the application's resources folder, for the current device's screen scale.
gfx::ImageLibrary& bundleImages();
// The image `name` of the resources; null when there is none (logged once).
std::shared_ptr<const gfx::Image> imageNamed(std::string_view name);
// The same, read on a worker thread unless it was read already (gfx::ImageLibrary::namedLater).
std::shared_future<std::shared_ptr<const gfx::Image>> imageNamedLater(std::string_view name);

} // namespace ui
