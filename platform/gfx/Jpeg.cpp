#include "platform/gfx/Jpeg.h"

#include <algorithm>
#include <string>

#include <turbojpeg.h>

namespace gfx {
namespace {

core::Error imageError(long code, std::string description) {
    return core::Error{std::string(kImageErrorDomain), code, std::move(description), {}};
}

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

} // namespace

core::Result<std::shared_ptr<const Image>> decodeJpeg(std::span<const std::uint8_t> bytes, float scale) {
    const Handle handle(tjInitDecompress());
    int width = 0, height = 0, subsampling = 0, colourSpace = 0;
    if (!handle ||
        tjDecompressHeader3(handle.get(), bytes.data(), static_cast<unsigned long>(bytes.size()), &width, &height,
                            &subsampling, &colourSpace) != 0 ||
        width <= 0 || height <= 0) {
        return imageError(kImageErrorUnreadable,
                          std::string("not a JPEG image: ") + tjGetErrorStr2(handle.get()));
    }
    std::unique_ptr<Bitmap> bitmap = Bitmap::create(width, height);
    if (!bitmap) {
        return imageError(kImageErrorTooLarge, "JPEG image of " + std::to_string(width) + " by " +
                                                   std::to_string(height) + " pixels is too large");
    }
    // Opaque pixels need no premultiplying: blue, green, red and a full alpha straight into the rows.
    if (tjDecompress2(handle.get(), bytes.data(), static_cast<unsigned long>(bytes.size()), bitmap->mutableBytes(),
                      width, bitmap->bytesPerRow(), height, TJPF_BGRA, 0) != 0 &&
        tjGetErrorCode(handle.get()) == TJERR_FATAL) {
        return imageError(kImageErrorUnreadable, std::string("damaged JPEG image: ") + tjGetErrorStr2(handle.get()));
    }
    bitmap->markChanged();
    return std::make_shared<const Image>(std::move(bitmap), scale);
}

std::vector<std::uint8_t> encodeJpeg(const Image& image, int quality) {
    const Bitmap& bitmap = image.bitmap();
    const Handle handle(tjInitCompress());
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    std::vector<std::uint8_t> bytes;
    if (handle && tjCompress2(handle.get(), bitmap.bytes(), bitmap.width(), bitmap.bytesPerRow(), bitmap.height(),
                              TJPF_BGRX, &jpeg, &size, TJSAMP_444, std::clamp(quality, 1, 100), 0) == 0) {
        bytes.assign(jpeg, jpeg + size);
    }
    tjFree(jpeg);
    return bytes;
}

} // namespace gfx
