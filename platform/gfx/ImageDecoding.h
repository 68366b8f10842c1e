#pragma once

#include "platform/core/Result.h"
#include "platform/gfx/Image.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace gfx {

// The image of a PNG or JPEG file's bytes, whichever they begin as, with `scale` pixels per point.
core::Result<std::shared_ptr<const Image>> decodeImage(std::span<const std::uint8_t> bytes, float scale = 1);
// The same for a file's contents.
core::Result<std::shared_ptr<const Image>> readImageFile(const std::filesystem::path& file, float scale = 1);

} // namespace gfx
