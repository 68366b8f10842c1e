#include "platform/gfx/Png.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

#include <png.h>
#include <zlib.h>

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


void putBigEndian(std::uint8_t* to, std::uint32_t value) {
    to[0] = std::uint8_t(value >> 24);
    to[1] = std::uint8_t(value >> 16);
    to[2] = std::uint8_t(value >> 8);
    to[3] = std::uint8_t(value);
}

void appendChunk(std::vector<std::uint8_t>& file, const char (&type)[5], std::span<const std::uint8_t> data) {
    std::array<std::uint8_t, 8> head{};
    putBigEndian(head.data(), std::uint32_t(data.size()));
    std::memcpy(head.data() + 4, type, 4);
    file.insert(file.end(), head.begin(), head.end());
    file.insert(file.end(), data.begin(), data.end());
    uLong crc = crc32(0, head.data() + 4, 4);
    crc = crc32_z(crc, data.data(), data.size());
    std::array<std::uint8_t, 4> check{};
    putBigEndian(check.data(), std::uint32_t(crc));
    file.insert(file.end(), check.begin(), check.end());
}

// Rows are compressed in strips of this many, each on its own, so that a large picture is compressed
// on several cores; a strip starts without the history of the one before, which costs little.
constexpr int kRowsPerStrip = 128;

struct Strip {
    int firstRow = 0;
    int endRow = 0;
    std::vector<std::uint8_t> deflated; // raw deflate data ending on a byte boundary
    uLong checksum = 0;                  // adler-32 of its filtered rows
    z_off_t filteredLength = 0;
    bool ok = false;
};

// Unpremultiplies the strip's rows to RGBA, filters each by the difference from the pixel on its left
// (which suits gradients and flat areas, and is cheap), and deflates them lightly: a file a little larger
// than the smallest, in a fraction of the time. The last strip ends the deflate stream.
void compressStrip(const Bitmap& bitmap, Strip& strip, bool last) {
    const int width = bitmap.width();
    const std::size_t rowLength = 1 + std::size_t(width) * 4;
    z_stream stream{};
    if (deflateInit2(&stream, 2, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return;
    const UnpremultiplyTable& straight = unpremultiplyTable();
    std::vector<std::uint8_t> row(rowLength);
    row[0] = 1; // the "sub" filter
    // Room for a screen's usual ratio; more is made when a row does not fit.
    strip.deflated.resize(rowLength * std::size_t(strip.endRow - strip.firstRow) / 8 + 64);
    strip.checksum = adler32(0, nullptr, 0);
    std::size_t written = 0;
    bool ok = true;
    for (int y = strip.firstRow; y < strip.endRow && ok; ++y) {
        const std::uint8_t* from = bitmap.bytes() + static_cast<std::ptrdiff_t>(y) * bitmap.bytesPerRow();
        std::uint8_t* to = row.data() + 1;
        std::uint8_t left[4] = {0, 0, 0, 0};
        for (int x = 0; x < width; ++x, from += 4, to += 4) {
            const std::uint8_t* byColour = straight[from[3]].data();
            const std::uint8_t pixel[4] = {byColour[from[2]], byColour[from[1]], byColour[from[0]], from[3]};
            for (int channel = 0; channel < 4; ++channel) {
                to[channel] = std::uint8_t(pixel[channel] - left[channel]);
                left[channel] = pixel[channel];
            }
        }
        strip.checksum = adler32_z(strip.checksum, row.data(), rowLength);
        stream.next_in = row.data();
        stream.avail_in = uInt(rowLength);
        const int flush = y + 1 < strip.endRow ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
        for (;;) {
            if (strip.deflated.size() - written < rowLength / 2 + 64)
                strip.deflated.resize(strip.deflated.size() * 2 + rowLength);
            stream.next_out = strip.deflated.data() + written;
            stream.avail_out = uInt(strip.deflated.size() - written);
            const int result = deflate(&stream, flush);
            written = strip.deflated.size() - stream.avail_out;
            if (result == Z_STREAM_ERROR) {
                ok = false;
                break;
            }
            // The row is taken (and the strip ended, with its last) once deflate leaves room over.
            if (flush == Z_FINISH ? result == Z_STREAM_END : stream.avail_out != 0)
                break;
        }
    }
    strip.deflated.resize(written);
    strip.filteredLength = z_off_t(rowLength) * (strip.endRow - strip.firstRow);
    deflateEnd(&stream);
    strip.ok = ok;
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
    if (width <= 0 || height <= 0)
        return {};
    std::vector<Strip> strips((height + kRowsPerStrip - 1) / kRowsPerStrip);
    for (std::size_t index = 0; index < strips.size(); ++index) {
        strips[index].firstRow = int(index) * kRowsPerStrip;
        strips[index].endRow = std::min(height, strips[index].firstRow + kRowsPerStrip);
    }
    // The strips are compressed side by side; which thread takes which does not change the bytes.
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t index = next++; index < strips.size(); index = next++)
            compressStrip(bitmap, strips[index], index + 1 == strips.size());
    };
    const std::size_t helpers =
        std::min<std::size_t>(strips.size(), std::max(1u, std::thread::hardware_concurrency())) - 1;
    std::vector<std::thread> threads;
    for (std::size_t helper = 0; helper < helpers; ++helper)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();

    std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::array<std::uint8_t, 13> header{};
    putBigEndian(header.data(), std::uint32_t(width));
    putBigEndian(header.data() + 4, std::uint32_t(height));
    header[8] = 8; // bits per channel
    header[9] = 6; // RGBA
    appendChunk(file, "IHDR", header);
    // One zlib stream over all strips: its header, the strips' deflated data in order, and the checksum
    // of all the filtered rows, made of the strips' own.
    constexpr std::array<std::uint8_t, 2> kZlibHeader = {0x78, 0x01};
    appendChunk(file, "IDAT", kZlibHeader);
    uLong checksum = adler32(0, nullptr, 0);
    for (const Strip& strip : strips) {
        if (!strip.ok)
            return {};
        appendChunk(file, "IDAT", strip.deflated);
        checksum = adler32_combine(checksum, strip.checksum, strip.filteredLength);
    }
    std::array<std::uint8_t, 4> trailer{};
    putBigEndian(trailer.data(), std::uint32_t(checksum));
    appendChunk(file, "IDAT", trailer);
    appendChunk(file, "IEND", {});
    return file;
}

} // namespace gfx
