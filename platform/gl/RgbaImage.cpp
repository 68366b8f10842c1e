#include "platform/gl/RgbaImage.h"

#include "platform/gl/GLES.h"

#include <cassert>

namespace gl {

std::array<std::uint8_t, 4> RgbaImage::pixel(int x, int row) const {
    assert(x >= 0 && x < width && row >= 0 && row < height);
    const std::size_t at = (static_cast<std::size_t>(row) * width + x) * 4;
    return {bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]};
}

RgbaImage RgbaImage::readFramebuffer(int width, int height) {
    assert(width >= 0 && height >= 0);
    RgbaImage image{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 4)};
    if (!image.empty()) {
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, image.bytes.data());
    }
    return image;
}

} // namespace gl
