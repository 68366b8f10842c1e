#pragma once

#include "platform/core/Result.h"
#include "platform/gfx/Image.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace gfx {

// The image of a JPEG file's bytes (opaque), with `scale` pixels per point.
core::Result<std::shared_ptr<const Image>> decodeJpeg(std::span<const std::uint8_t> bytes, float scale = 1);
// The bytes of a JPEG file of the image's pixels at a quality from 1 to 100. JPEG keeps no alpha:
// translucent pixels are written over black, as their stored colours are.
std::vector<std::uint8_t> encodeJpeg(const Image& image, int quality = 90);

} // namespace gfx
