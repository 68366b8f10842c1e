#pragma once

#include "platform/core/Result.h"
#include "platform/gfx/Image.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace gfx {

// The image of a PNG file's bytes, with `scale` pixels per point.
core::Result<std::shared_ptr<const Image>> decodePng(std::span<const std::uint8_t> bytes, float scale = 1);
// The bytes of a PNG file of the image's pixels (8-bit RGBA, colours not premultiplied).
std::vector<std::uint8_t> encodePng(const Image& image);
std::vector<std::uint8_t> encodePng(const Bitmap& bitmap);

} // namespace gfx
