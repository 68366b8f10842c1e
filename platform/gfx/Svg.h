#pragma once

#include "platform/core/Result.h"
#include "platform/gfx/Image.h"

#include <cstdint>
#include <memory>
#include <span>

namespace gfx {

// The picture of an SVG document's bytes at `scale` pixels per point, one SVG pixel being one
// point. The document must give its size (width and height, or a view box). Errors are in the
// image error domain (Image.h).
core::Result<std::shared_ptr<const Image>> renderSvg(std::span<const std::uint8_t> bytes, float scale);

} // namespace gfx
