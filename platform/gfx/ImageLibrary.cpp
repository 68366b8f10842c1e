#include "platform/gfx/ImageLibrary.h"

#include "platform/core/DispatchQueue.h"
#include "platform/core/Files.h"
#include "platform/core/Log.h"
#include "platform/gfx/Png.h"
#include "platform/gfx/Svg.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

namespace gfx {
namespace {

std::span<const std::uint8_t> bytesOf(const std::string& content) {
    return {reinterpret_cast<const std::uint8_t*>(content.data()), content.size()};
}

// "name@2x" states a scale of 2; a name without such an ending, 1.
float scaleInName(std::string_view stem) {
    if (stem.size() >= 3 && stem[stem.size() - 1] == 'x' && stem[stem.size() - 3] == '@') {
        const char digit = stem[stem.size() - 2];
        if (digit >= '1' && digit <= '9') {
            return static_cast<float>(digit - '0');
        }
    }
    return 1;
}

// Names stay inside the folder: no absolute paths, no climbing out.
bool isSafeName(const std::filesystem::path& name) {
    return !name.empty() && name.is_relative() && !name.has_root_name() &&
           std::ranges::none_of(name, [](const std::filesystem::path& part) { return part == ".."; });
}

// Reads the image `name` of `directory` for a screen of `screenScale`; nullptr when there is none or it
// cannot be read (the reason is logged).
std::shared_ptr<const Image> load(const std::filesystem::path& directory, float screenScale, std::string_view name) {
    std::filesystem::path stem(name);
    if (!isSafeName(stem)) {
        core::logf(core::LogLevel::Warning, "image name \"%.*s\" is not allowed",
                   static_cast<int>(name.size()), name.data());
        return nullptr;
    }
    if (stem.extension() == ".png" || stem.extension() == ".svg") {
        stem.replace_extension();
    }
    const std::filesystem::path folder = (directory / stem).parent_path();
    const std::string baseName = stem.filename().string();

    std::vector<std::filesystem::path> candidates{folder / (baseName + ".svg")};
    const float wholeScale = std::round(screenScale);
    if (wholeScale >= 2 && scaleInName(baseName) == 1) {
        candidates.push_back(folder /
                             (baseName + "@" + std::to_string(static_cast<int>(wholeScale)) + "x.png"));
    }
    candidates.push_back(folder / (baseName + ".png"));

    for (const std::filesystem::path& file : candidates) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(file, error)) {
            continue;
        }
        core::Result<std::string> content = core::readFile(file);
        if (!content) {
            core::logf(core::LogLevel::Warning, "image %s: %s", file.c_str(),
                       content.error().description.c_str());
            return nullptr;
        }
        core::Result<std::shared_ptr<const Image>> image =
            file.extension() == ".svg" ? renderSvg(bytesOf(*content), screenScale)
                                       : decodePng(bytesOf(*content), scaleInName(file.stem().string()));
        if (!image) {
            core::logf(core::LogLevel::Warning, "image %s: %s", file.c_str(),
                       image.error().description.c_str());
            return nullptr;
        }
        return *image;
    }
    core::logf(core::LogLevel::Warning, "no image named \"%.*s\" in %s", static_cast<int>(name.size()),
               name.data(), directory.c_str());
    return nullptr;
}

} // namespace

ImageLibrary::ImageLibrary(std::filesystem::path directory, float screenScale)
    : m_directory(std::move(directory))
    , m_screenScale(std::isfinite(screenScale) && screenScale > 0 ? screenScale : 1) {}

std::shared_ptr<const Image> ImageLibrary::named(std::string_view name) {
    auto [image, reading] = entry(name);
    if (reading)
        reading->set_value(load(m_directory, m_screenScale, name));
    return image.get();
}

ImageLibrary::Pending ImageLibrary::namedLater(std::string_view name) {
    auto [image, reading] = entry(name);
    if (reading) {
        // The worker keeps what it reads from, not the library.
        core::DispatchQueue::global()->async(
            [promise = reading, directory = m_directory, scale = m_screenScale, name = std::string(name)] {
                promise->set_value(load(directory, scale, name));
            });
    }
    return image;
}

std::pair<ImageLibrary::Pending, std::shared_ptr<std::promise<std::shared_ptr<const Image>>>>
ImageLibrary::entry(std::string_view name) {
    std::lock_guard lock(m_mutex);
    if (auto found = m_images.find(name); found != m_images.end())
        return {found->second, nullptr};
    auto reading = std::make_shared<std::promise<std::shared_ptr<const Image>>>();
    Pending image = reading->get_future().share();
    m_images.emplace(std::string(name), image);
    return {image, reading};
}

} // namespace gfx
