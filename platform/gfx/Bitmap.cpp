#include "platform/gfx/Bitmap.h"

#include <cassert>
#include <cstring>

#include <cairo.h>

namespace gfx {

std::unique_ptr<Bitmap> Bitmap::create(int width, int height) {
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide ||
        std::int64_t{width} * height > kMaxPixels) {
        return nullptr;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr; // out of memory
    }
    return std::unique_ptr<Bitmap>(new Bitmap(surface, width, height));
}

Bitmap::Bitmap(cairo_surface_t* surface, int width, int height)
    : m_surface(surface)
    , m_width(width)
    , m_height(height) {}

Bitmap::~Bitmap() {
    cairo_surface_destroy(m_surface);
}

int Bitmap::bytesPerRow() const {
    return cairo_image_surface_get_stride(m_surface);
}

const std::uint8_t* Bitmap::bytes() const {
    cairo_surface_flush(m_surface);
    return cairo_image_surface_get_data(m_surface);
}

std::uint8_t* Bitmap::mutableBytes() {
    cairo_surface_flush(m_surface);
    return cairo_image_surface_get_data(m_surface);
}

void Bitmap::markChanged() {
    cairo_surface_mark_dirty(m_surface);
}

Pixel Bitmap::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return {};
    }
    Pixel pixel;
    std::memcpy(&pixel, bytes() + static_cast<std::ptrdiff_t>(y) * bytesPerRow() + x * 4, sizeof pixel);
    return pixel;
}

core::Rect Bitmap::paintedBounds() const {
    // A transparent pixel is four zero bytes (colours are multiplied by alpha). The surface is asked
    // for its pixels once: asking cairo for each pixel cost more than the scan itself.
    const std::uint8_t* const data = bytes();
    const std::ptrdiff_t stride = bytesPerRow();
    const auto pixelWord = [&](int x, int y) {
        std::uint32_t word;
        std::memcpy(&word, data + y * stride + std::ptrdiff_t{x} * 4, sizeof word);
        return word;
    };
    const auto painted = [&](int x, int y) { return pixelWord(x, y) != 0; };
    // The whole row at once, without stopping early, so that the compiler can run it wide.
    const auto rowPainted = [&](int y) {
        std::uint32_t any = 0;
        for (int x = 0; x < m_width; ++x)
            any |= pixelWord(x, y);
        return any != 0;
    };
    int top = 0;
    while (top < m_height && !rowPainted(top))
        ++top;
    if (top == m_height)
        return {};
    int bottom = m_height - 1;
    while (!rowPainted(bottom))
        --bottom;
    // Row by row, only the pixels beyond the sides found so far are looked at.
    int left = m_width;
    int right = -1;
    for (int y = top; y <= bottom; ++y) {
        for (int x = 0; x < left; ++x)
            if (painted(x, y)) {
                left = x;
                break;
            }
        for (int x = m_width - 1; x > right; --x)
            if (painted(x, y)) {
                right = x;
                break;
            }
    }
    return {float(left), float(top), float(right - left + 1), float(bottom - top + 1)};
}

bool Bitmap::isOpaque() const {
    if (m_width == 0 || m_height == 0)
        return false;
    const std::uint8_t* const data = bytes();
    const std::ptrdiff_t stride = bytesPerRow();
    for (int y = 0; y < m_height; ++y) {
        // The whole row at once, so that the compiler can run it wide; most pictures that are not opaque
        // show it in their first row.
        std::uint8_t alpha = 0xff;
        const std::uint8_t* row = data + y * stride;
        for (int x = 0; x < m_width; ++x)
            alpha &= row[std::ptrdiff_t{x} * 4 + 3];
        if (alpha != 0xff)
            return false;
    }
    return true;
}

void Bitmap::clear(int x, int y, int width, int height) {
    assert(x >= 0 && y >= 0 && width >= 0 && height >= 0 && x + width <= m_width && y + height <= m_height);
    std::uint8_t* pixels = mutableBytes();
    const int stride = bytesPerRow();
    for (int row = y; row < y + height; ++row)
        std::memset(pixels + static_cast<std::ptrdiff_t>(row) * stride + x * 4, 0, static_cast<size_t>(width) * 4);
    markChanged();
}

void Bitmap::copyPixels(const Bitmap& source, int sourceX, int sourceY, int width, int height, int x, int y) {
    assert(sourceX >= 0 && sourceY >= 0 && width >= 0 && height >= 0 && sourceX + width <= source.m_width &&
           sourceY + height <= source.m_height);
    assert(x >= 0 && y >= 0 && x + width <= m_width && y + height <= m_height);
    const std::uint8_t* from = source.bytes();
    std::uint8_t* to = mutableBytes();
    const int fromStride = source.bytesPerRow();
    const int toStride = bytesPerRow();
    for (int row = 0; row < height; ++row)
        std::memcpy(to + static_cast<std::ptrdiff_t>(y + row) * toStride + x * 4,
                    from + static_cast<std::ptrdiff_t>(sourceY + row) * fromStride + sourceX * 4,
                    static_cast<size_t>(width) * 4);
    markChanged();
}

std::unique_ptr<Bitmap> Bitmap::copy(int x, int y, int width, int height) const {
    assert(x >= 0 && y >= 0 && width >= 0 && height >= 0 && x + width <= m_width && y + height <= m_height);
    std::unique_ptr<Bitmap> part = create(width, height);
    if (width == 0 || height == 0) {
        return part;
    }
    const std::uint8_t* source = bytes();
    std::uint8_t* target = part->mutableBytes();
    for (int row = 0; row < height; ++row) {
        std::memcpy(target + static_cast<std::ptrdiff_t>(row) * part->bytesPerRow(),
                    source + static_cast<std::ptrdiff_t>(y + row) * bytesPerRow() + x * 4,
                    static_cast<size_t>(width) * 4);
    }
    part->markChanged();
    return part;
}

} // namespace gfx
