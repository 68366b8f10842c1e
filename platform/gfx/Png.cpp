#include "platform/gfx/Png.h"

#include <cstring>

#include <png.h>

namespace gfx {
namespace {

core::Error imageError(long code, std::string description) {
    return core::Error{std::string(kImageErrorDomain), code, std::move(description), {}};
}

std::uint8_t premultiply(std::uint8_t colour, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((colour * alpha + 127) / 255);
}

std::uint8_t unpremultiply(std::uint8_t colour, std::uint8_t alpha) {
    return alpha == 0 ? 0 : static_cast<std::uint8_t>(std::min(255, (colour * 255 + alpha / 2) / alpha));
}

} // namespace

core::Result<std::shared_ptr<const Image>> decodePng(std::span<const std::uint8_t> bytes, float scale) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        return imageError(kImageErrorUnreadable, std::string("not a PNG image: ") + png.message);
    }
    std::unique_ptr<Bitmap> bitmap =
        Bitmap::create(static_cast<int>(std::min<png_uint_32>(png.width, INT32_MAX)),
                       static_cast<int>(std::min<png_uint_32>(png.height, INT32_MAX)));
    if (!bitmap || png.width == 0 || png.height == 0) {
        png_image_free(&png);
        return imageError(kImageErrorTooLarge, "PNG image of " + std::to_string(png.width) + " by " +
                                                   std::to_string(png.height) + " pixels is too large");
    }
    // Read straight BGRA into the bitmap's own rows, then premultiply in place.
    png.format = PNG_FORMAT_BGRA;
    std::uint8_t* pixels = bitmap->mutableBytes();
    if (!png_image_finish_read(&png, nullptr, pixels, bitmap->bytesPerRow(), nullptr)) {
        return imageError(kImageErrorUnreadable, std::string("damaged PNG image: ") + png.message);
    }
    for (int y = 0; y < bitmap->height(); ++y) {
        std::uint8_t* pixel = pixels + static_cast<std::ptrdiff_t>(y) * bitmap->bytesPerRow();
        for (int x = 0; x < bitmap->width(); ++x, pixel += 4) {
            for (int channel = 0; channel < 3; ++channel) {
                pixel[channel] = premultiply(pixel[channel], pixel[3]);
            }
        }
    }
    bitmap->markChanged();
    return std::make_shared<const Image>(std::move(bitmap), scale);
}

std::vector<std::uint8_t> encodePng(const Image& image) {
    const Bitmap& bitmap = image.bitmap();
    const int width = bitmap.width();
    const int height = bitmap.height();
    std::vector<std::uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = bitmap.bytes() + static_cast<std::ptrdiff_t>(y) * bitmap.bytesPerRow();
        std::uint8_t* to = rgba.data() + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x, from += 4, to += 4) {
            const std::uint8_t alpha = from[3];
            to[0] = unpremultiply(from[2], alpha);
            to[1] = unpremultiply(from[1], alpha);
            to[2] = unpremultiply(from[0], alpha);
            to[3] = alpha;
        }
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(width);
    png.height = static_cast<png_uint_32>(height);
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    // The first call measures, the second writes.
    png_image_write_to_memory(&png, nullptr, &size, 0, rgba.data(), 0, nullptr);
    std::vector<std::uint8_t> file(size);
    png_image_write_to_memory(&png, file.data(), &size, 0, rgba.data(), 0, nullptr);
    file.resize(size);
    return file;
}

} // namespace gfx
