#pragma once

#include "platform/gfx/Image.h"

#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

namespace gfx {

// The application's images by name, from one folder, for one screen scale; each image is read
// once and shared afterwards.
//
// A name may carry an extension (".png" or ".svg") and a subfolder ("kit/success.png"). For the
// name "goButton" the library takes, in this order: goButton.svg rendered at the screen scale;
// goButton@2x.png at a screen scale of 2 (and likewise for other whole scales); goButton.png.
// A PNG is used as it is, at the scale its name states ("bokeh@2x.png": 2), else 1.
//
// Safe to use from any thread: an image is read only once, by the first to ask for it; others asking
// for it meanwhile wait for that read, and images of other names are read side by side.
class ImageLibrary {
public:
    using Pending = std::shared_future<std::shared_ptr<const Image>>;

    ImageLibrary(std::filesystem::path directory, float screenScale);

    // The image of that name, or nullptr when the folder has none or it cannot be read (the
    // reason is logged once).
    std::shared_ptr<const Image> named(std::string_view name);
    // The same, read on a worker thread when it has not been read yet: for a large picture wanted a
    // little later, so that the work in between goes on meanwhile.
    Pending namedLater(std::string_view name);

    float screenScale() const { return m_screenScale; }

private:
    // The entry of that name, and whether the caller is the one to read it.
    std::pair<Pending, std::shared_ptr<std::promise<std::shared_ptr<const Image>>>> entry(std::string_view name);

    std::filesystem::path m_directory;
    float m_screenScale;
    std::mutex m_mutex;
    std::map<std::string, Pending, std::less<>> m_images; // guarded by m_mutex
};

} // namespace gfx
