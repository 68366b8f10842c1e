#pragma once

#include "platform/gfx/Image.h"

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace gfx {

// The application's images by name, from one folder, for one screen scale; each image is read
// once and shared afterwards.
//
// A name may carry an extension (".png" or ".svg") and a subfolder ("kit/success.png"). For the
// name "goButton" the library takes, in this order: goButton.svg rendered at the screen scale;
// goButton@2x.png at a screen scale of 2 (and likewise for other whole scales); goButton.png.
// A PNG is used as it is, at the scale its name states ("bokeh@2x.png": 2), else 1.
//
// Safe to use from any thread: one lock covers the lookup and the first read, so that an image is
// read only once.
class ImageLibrary {
public:
    ImageLibrary(std::filesystem::path directory, float screenScale);

    // The image of that name, or nullptr when the folder has none or it cannot be read (the
    // reason is logged once).
    std::shared_ptr<const Image> named(std::string_view name);

    float screenScale() const { return m_screenScale; }

private:
    std::shared_ptr<const Image> load(std::string_view name) const;

    std::filesystem::path m_directory;
    float m_screenScale;
    std::mutex m_mutex;
    std::map<std::string, std::shared_ptr<const Image>, std::less<>> m_images; // guarded by m_mutex
};

} // namespace gfx
