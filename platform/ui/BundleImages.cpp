#include "platform/ui/BundleImages.h"

#include "platform/core/FileLocations.h"
#include "platform/gfx/ImageLibrary.h"
#include "platform/ui/Device.h"

#include <map>

namespace ui {

gfx::ImageLibrary& bundleImages() {
    // One library per scale: tests run phones and tablets in one process.
    static std::map<float, std::unique_ptr<gfx::ImageLibrary>> libraries;
    const float scale = Device::current().scale;
    std::unique_ptr<gfx::ImageLibrary>& library = libraries[scale];
    if (!library)
        library = std::make_unique<gfx::ImageLibrary>(core::FileLocations::shared().resources / "images", scale);
    return *library;
}

std::shared_ptr<const gfx::Image> imageNamed(std::string_view name) {
    return bundleImages().named(name);
}

std::shared_future<std::shared_ptr<const gfx::Image>> imageNamedLater(std::string_view name) {
    return bundleImages().namedLater(name);
}

} // namespace ui
