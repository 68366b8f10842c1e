#include "platform/gfx/Png.h"

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstring>
#include <memory>

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

// The straight colour of every premultiplied colour, by alpha then colour: a look-up per channel
// instead of a division.
using UnpremultiplyTable = std::array<std::array<std::uint8_t, 256>, 256>;

const UnpremultiplyTable& unpremultiplyTable() {
    static const auto table = [] {
        auto made = std::make_unique<UnpremultiplyTable>();
        for (int alpha = 0; alpha < 256; ++alpha) {
            for (int colour = 0; colour < 256; ++colour)
                (*made)[alpha][colour] = unpremultiply(std::uint8_t(colour), std::uint8_t(alpha));
        }
        return made;
    }();
    return *table;
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
    return encodePng(image.bitmap());
}

std::vector<std::uint8_t> encodePng(const Bitmap& bitmap) {
    const int width = bitmap.width();
    const int height = bitmap.height();
    std::vector<std::uint8_t> file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return file;
    }
    std::vector<std::uint8_t> row(static_cast<size_t>(width) * 4);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &file,
        [](png_structp writer, png_bytep data, png_size_t length) {
            auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(writer));
            out->insert(out->end(), data, data + length);
        },
        nullptr);
    // Written once, quickly: a light compression with one cheap filter makes a file a little larger
    // than the smallest one, in a fraction of the time.
    png_set_compression_level(png, 2);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    const UnpremultiplyTable& straight = unpremultiplyTable();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = bitmap.bytes() + static_cast<std::ptrdiff_t>(y) * bitmap.bytesPerRow();
        std::uint8_t* to = row.data();
        for (int x = 0; x < width; ++x, from += 4, to += 4) {
            const std::uint8_t* byColour = straight[from[3]].data();
            to[0] = byColour[from[2]];
            to[1] = byColour[from[1]];
            to[2] = byColour[from[0]];
            to[3] = from[3];
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return file;
}

} // namespace gfx
