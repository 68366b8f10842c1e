#pragma once

#include "crashlog/service/CLGIcon.h"
#include "platform/core/Value.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zm {

// An icon file that reads as a PNG image: its bytes and its size in pixels (from the PNG header).
struct CLGIconImage {
    core::Bytes png;
    core::Size pixelSize;
};

// Of the files named (under `bundlePath`; a name without an extension is looked up as NAME@2x.png when
// that file exists, else as NAME.png), the image with the largest pixel area; equal areas keep the one
// named first. Nothing when none reads as a PNG image.
std::optional<CLGIconImage> CLGLargestImageInArray(const std::vector<std::string>& names, const std::filesystem::path& bundlePath);

// The application's icon as the Info.plist names it ("CFBundleIcons", else "CFBundleIconFiles", else
// "CFBundleIconFile", else the customary file names), the largest one found; nothing (logged) when an
// entry is malformed, no icon is found or it is larger than 152 x 152 pixels.
std::optional<CLGIcon> CLGApplicationIconFrom(const core::Dictionary& infoPlist, const std::filesystem::path& bundlePath);

} // namespace zm
