#pragma once

#include "platform/core/Geometry.h"
#include "platform/gfx/Bitmap.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace gfx {

// The error domain of reading images (Png.h, Svg.h).
inline constexpr std::string_view kImageErrorDomain = "gfx.image";
enum ImageErrorCode : long {
    kImageErrorUnreadable = 1, // not an image of the format, or damaged
    kImageErrorTooLarge = 2,   // larger than a bitmap may be
};

// The borders of an image, in points, that keep their size when the image is stretched: the
// corners are drawn unscaled, the edges stretch along their length, the middle both ways.
struct CapInsets {
    float top = 0;
    float left = 0;
    float bottom = 0;
    float right = 0;

    bool isZero() const { return top == 0 && left == 0 && bottom == 0 && right == 0; }
    friend bool operator==(const CapInsets&, const CapInsets&) = default;
};

// How the bytes handed to `Image::fromPixels` are laid out.
enum class PixelLayout {
    PremultipliedBGRA, // as stored (see Pixel)
    StraightRGBA,      // red, green, blue, alpha, colours not multiplied by alpha
};

// A picture that does not change: pixels, the number of pixels per point, and optional cap
// insets. Shared as std::shared_ptr<const Image>; nullptr stands for "no image".
class Image {
public:
    // A scale that is not a positive number counts as 1.
    Image(std::shared_ptr<const Bitmap> bitmap, float scale, CapInsets capInsets = {});

    // An image of a copy of the pixels; nullptr when the size is empty, passes the bitmap limits
    // or bytesPerRow is too small for the width.
    static std::shared_ptr<const Image> fromPixels(std::span<const std::uint8_t> bytes, int width, int height,
                                                   int bytesPerRow, PixelLayout layout, float scale = 1);

    const Bitmap& bitmap() const { return *m_bitmap; }
    int pixelWidth() const { return m_bitmap->width(); }
    int pixelHeight() const { return m_bitmap->height(); }
    float scale() const { return m_scale; }
    // The size in points: pixels divided by the scale.
    core::Size size() const;
    const CapInsets& capInsets() const { return m_capInsets; }

    // The same pixels, stretched with these cap insets when drawn into a rectangle.
    std::shared_ptr<const Image> resizable(const CapInsets& capInsets) const;
    // The pixels inside `pixelRect` (in pixels, from the top-left; made whole outward and cut to
    // the image), at the same scale; nullptr when nothing of the image is inside.
    std::shared_ptr<const Image> cropped(const core::Rect& pixelRect) const;

private:
    std::shared_ptr<const Bitmap> m_bitmap;
    float m_scale;
    CapInsets m_capInsets;
};

} // namespace gfx
