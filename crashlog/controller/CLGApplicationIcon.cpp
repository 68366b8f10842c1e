#include "crashlog/controller/CLGApplicationIcon.h"

#include "crashlog/log/CLGLog.h"
#include "platform/core/Digest.h"
#include "platform/core/Files.h"

namespace zm {

namespace {

// The pixel size in a PNG file's header (signature, then the IHDR chunk's width and height).
std::optional<core::Size> pngPixelSize(std::string_view bytes) {
    static constexpr std::string_view kSignature = "\x89PNG\r\n\x1a\n";
    if (bytes.size() < 24 || !bytes.starts_with(kSignature) || bytes.substr(12, 4) != "IHDR")
        return std::nullopt;
    const auto bigEndian = [&](size_t offset) {
        uint32_t value = 0;
        for (size_t i = 0; i < 4; ++i)
            value = (value << 8) | static_cast<uint8_t>(bytes[offset + i]);
        return value;
    };
    const uint32_t width = bigEndian(16);
    const uint32_t height = bigEndian(20);
    if (width == 0 || height == 0)
        return std::nullopt;
    return core::Size{static_cast<float>(width), static_cast<float>(height)};
}

void logMalformed(const char* field) {
    CLGLog("[Crashlog] Info.plist field %s appears malformed", field);
}

// The texts of an array value; nothing (logged as `field`) when it is no array.
std::optional<std::vector<std::string>> namesIn(const core::Value* value, const char* field) {
    if (!value || !value->asArray()) {
        logMalformed(field);
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (const core::Value& name : *value->asArray())
        names.push_back(name.stringValue());
    return names;
}

} // namespace

std::optional<CLGIconImage> CLGLargestImageInArray(const std::vector<std::string>& names, const std::filesystem::path& bundlePath) {
    std::optional<CLGIconImage> largest;
    for (const std::string& name : names) {
        std::filesystem::path file = bundlePath / name;
        if (file.extension().empty()) {
            const std::filesystem::path doubled = bundlePath / (name + "@2x.png");
            file = std::filesystem::exists(doubled) ? doubled : bundlePath / (name + ".png");
        }
        const core::Result<std::string> bytes = core::readFile(file);
        const auto size = bytes ? pngPixelSize(*bytes) : std::nullopt;
        if (!size)
            continue;
        if (!largest || size->width * size->height > largest->pixelSize.width * largest->pixelSize.height)
            largest = CLGIconImage{core::asBytes(*bytes), *size};
    }
    return largest;
}

std::optional<CLGIcon> CLGApplicationIconFrom(const core::Dictionary& infoPlist, const std::filesystem::path& bundlePath) {
    std::optional<std::vector<std::string>> names;
    bool prerendered = false;
    if (const core::Value* icons = infoPlist.find("CFBundleIcons")) {
        const core::Value* primary = icons->asDictionary() ? icons->find("CFBundlePrimaryIcon") : nullptr;
        if (!icons->asDictionary()) {
            logMalformed("CFBundleIcons");
            return std::nullopt;
        }
        if (!primary || !primary->asDictionary()) {
            logMalformed("CFBundlePrimaryIcon");
            return std::nullopt;
        }
        names = namesIn(primary->find("CFBundleIconFiles"), "CFBundleIconFiles");
        const core::Value* drawnFinished = primary->find("UIPrerenderedIcon");
        prerendered = drawnFinished && drawnFinished->boolValue();
    } else if (const core::Value* files = infoPlist.find("CFBundleIconFiles")) {
        names = namesIn(files, "CFBundleIconFiles");
    } else if (const core::Value* file = infoPlist.find("CFBundleIconFile")) {
        if (!file->asString()) {
            logMalformed("CFBundleIconFile");
            return std::nullopt;
        }
        names = std::vector<std::string>{*file->asString()};
    } else {
        names = std::vector<std::string>{"Icon.png",       "Icon@2x.png",       "Icon-72.png",       "Icon-72@2x.png",
                                         "Icon-Small.png", "Icon-Small@2x.png", "Icon-Small-50.png", "Icon-Small-50@2x.png"};
    }
    if (!names)
        return std::nullopt;
    const std::optional<CLGIconImage> image = CLGLargestImageInArray(*names, bundlePath);
    if (!image) {
        CLGLog("[Crashlog] Unable to locate application icon");
        return std::nullopt;
    }
    CLGIcon icon{image->png, core::sha1Hex(core::asText(image->png)), image->pixelSize, prerendered};
    if (!icon.isWithinMaxSurfaceArea()) {
        CLGLog("[Crashlog] Final icon size is too large");
        return std::nullopt;
    }
    return icon;
}

} // namespace zm
