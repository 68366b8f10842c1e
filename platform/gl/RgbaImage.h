#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace gl {

// Pixels read back from a framebuffer: 8-bit red, green, blue, alpha (straight, not premultiplied),
// rows in the order GL reads them, bottom row of the framebuffer first.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes; // width * height * 4

    bool empty() const { return width == 0 || height == 0; }
    std::array<std::uint8_t, 4> pixel(int x, int row) const;

    // Reads the rectangle (0, 0, width, height) of the bound framebuffer. Needs a current context.
    static RgbaImage readFramebuffer(int width, int height);
};

} // namespace gl
