#pragma once

#include "platform/core/Geometry.h"

#include <bit>
#include <cstdint>
#include <memory>

struct _cairo_surface;

namespace gfx {

static_assert(std::endian::native == std::endian::little,
              "pixels are stored as Cairo's ARGB32 on little-endian");

// One pixel as stored: blue, green, red, alpha, each colour already multiplied by alpha.
struct Pixel {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t alpha = 0;

    friend bool operator==(const Pixel&, const Pixel&) = default;
};

// A rectangle of pixels in memory, four bytes a pixel (see Pixel), rows from the top. This is
// Cairo's ARGB32 image, which canvases draw into, and also the layout the image filters upload.
class Bitmap {
public:
    static constexpr int kMaxSide = 16384;
    static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

    // A transparent bitmap, or nullptr when a side is negative or the size passes the limits.
    // A side of 0 is allowed: such a bitmap has no pixels.
    static std::unique_ptr<Bitmap> create(int width, int height);

    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    int width() const { return m_width; }
    int height() const { return m_height; }
    int bytesPerRow() const;
    const std::uint8_t* bytes() const;
    // The pixel at (x, y), counted from the top-left; a transparent pixel outside the bitmap.
    Pixel pixel(int x, int y) const;

    // The smallest rectangle of pixels (x, y, width, height, in pixels) that holds every pixel that is
    // not fully transparent; an empty rectangle when every pixel is.
    core::Rect paintedBounds() const;
    // Whether every pixel is fully opaque (a bitmap without pixels is not).
    bool isOpaque() const;

    // A copy of the part from (x, y), width by height pixels; the part must lie inside.
    std::unique_ptr<Bitmap> copy(int x, int y, int width, int height) const;

    // Makes the part from (x, y), width by height pixels, transparent; the part must lie inside.
    void clear(int x, int y, int width, int height);
    // Puts the part of `source` from (sourceX, sourceY), width by height pixels, in place of the pixels
    // from (x, y); both parts must lie inside.
    void copyPixels(const Bitmap& source, int sourceX, int sourceY, int width, int height, int x, int y);

    // Writing to the pixels directly: after the writes, `markChanged`.
    std::uint8_t* mutableBytes();
    void markChanged();

    // For the drawing code of this folder.
    _cairo_surface* cairoSurface() const { return m_surface; }

private:
    Bitmap(_cairo_surface* surface, int width, int height);

    _cairo_surface* m_surface;
    int m_width;
    int m_height;
};

} // namespace gfx
