#include "platform/gfx/ImageDecoding.h"

#include "platform/core/Files.h"
#include "platform/gfx/Jpeg.h"
#include "platform/gfx/Png.h"

#include <algorithm>
#include <array>
#include <string>

namespace gfx {

core::Result<std::shared_ptr<const Image>> decodeImage(std::span<const std::uint8_t> bytes, float scale) {
    constexpr std::array<std::uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    constexpr std::array<std::uint8_t, 3> kJpegSignature{0xff, 0xd8, 0xff};
    const auto beginsWith = [bytes](const auto& signature) {
        return bytes.size() >= signature.size() && std::equal(signature.begin(), signature.end(), bytes.begin());
    };
    if (beginsWith(kPngSignature))
        return decodePng(bytes, scale);
    if (beginsWith(kJpegSignature))
        return decodeJpeg(bytes, scale);
    return core::Error{std::string(kImageErrorDomain), kImageErrorUnreadable, "not a PNG or JPEG image", {}};
}

core::Result<std::shared_ptr<const Image>> readImageFile(const std::filesystem::path& file, float scale) {
    const auto contents = core::readFile(file);
    if (!contents)
        return contents.error();
    const std::string& text = contents.value();
    return decodeImage({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, scale);
}

} // namespace gfx
