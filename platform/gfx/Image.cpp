#include "platform/gfx/Image.h"

#include <cassert>
#include <cmath>
#include <cstring>

namespace gfx {
namespace {

std::uint8_t premultiply(std::uint8_t colour, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((colour * alpha + 127) / 255);
}

} // namespace

Image::Image(std::shared_ptr<const Bitmap> bitmap, float scale, CapInsets capInsets)
    : m_bitmap(std::move(bitmap))
    , m_scale(std::isfinite(scale) && scale > 0 ? scale : 1)
    , m_capInsets(capInsets) {
    assert(m_bitmap);
}

std::shared_ptr<const Image> Image::fromPixels(std::span<const std::uint8_t> bytes, int width, int height,
                                               int bytesPerRow, PixelLayout layout, float scale) {
    if (width <= 0 || height <= 0 || bytesPerRow < width * 4 ||
        static_cast<std::int64_t>(bytesPerRow) * (height - 1) + width * 4 >
            static_cast<std::int64_t>(bytes.size())) {
        return nullptr;
    }
    std::unique_ptr<Bitmap> bitmap = Bitmap::create(width, height);
    if (!bitmap) {
        return nullptr;
    }
    std::uint8_t* target = bitmap->mutableBytes();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = bytes.data() + static_cast<std::ptrdiff_t>(y) * bytesPerRow;
        std::uint8_t* to = target + static_cast<std::ptrdiff_t>(y) * bitmap->bytesPerRow();
        if (layout == PixelLayout::PremultipliedBGRA) {
            std::memcpy(to, from, static_cast<size_t>(width) * 4);
            continue;
        }
        for (int x = 0; x < width; ++x, from += 4, to += 4) {
            const std::uint8_t alpha = from[3];
            to[0] = premultiply(from[2], alpha);
            to[1] = premultiply(from[1], alpha);
            to[2] = premultiply(from[0], alpha);
            to[3] = alpha;
        }
    }
    bitmap->markChanged();
    return std::make_shared<Image>(std::move(bitmap), scale);
}

core::Size Image::size() const {
    return {static_cast<float>(pixelWidth()) / m_scale, static_cast<float>(pixelHeight()) / m_scale};
}

std::shared_ptr<const Image> Image::resizable(const CapInsets& capInsets) const {
    return std::make_shared<Image>(m_bitmap, m_scale, capInsets);
}

std::shared_ptr<const Image> Image::cropped(const core::Rect& pixelRect) const {
    if (!std::isfinite(pixelRect.origin.x) || !std::isfinite(pixelRect.origin.y) ||
        !std::isfinite(pixelRect.size.width) || !std::isfinite(pixelRect.size.height)) {
        return nullptr;
    }
    const core::Rect bounds(0, 0, static_cast<float>(pixelWidth()), static_cast<float>(pixelHeight()));
    const core::Rect part = pixelRect.integral().intersected(bounds);
    if (part.isEmpty()) {
        return nullptr;
    }
    const auto x = static_cast<int>(part.minX());
    const auto y = static_cast<int>(part.minY());
    return std::make_shared<Image>(
        m_bitmap->copy(x, y, static_cast<int>(part.maxX()) - x, static_cast<int>(part.maxY()) - y), m_scale);
}

} // namespace gfx
