#include "platform/gfx/ShadowBlur.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace gfx::detail {
namespace {

// Widths of three box blurs whose sequence approximates a Gaussian of the standard deviation.
std::array<int, 3> boxWidths(float sigma) {
    const double ideal = std::sqrt(12.0 * sigma * sigma / 3 + 1);
    int lower = static_cast<int>(std::floor(ideal));
    if (lower % 2 == 0) {
        --lower;
    }
    const int upper = lower + 2;
    const double m = (12.0 * sigma * sigma - 3.0 * lower * lower - 12.0 * lower - 9) / (-4.0 * lower - 4);
    const auto lowerCount = static_cast<int>(std::lround(m));
    std::array<int, 3> widths{};
    for (int i = 0; i < 3; ++i) {
        widths[static_cast<size_t>(i)] = i < lowerCount ? lower : upper;
    }
    return widths;
}

// One box blur of radius r along `count` values `stride` apart, from `source` into `target`;
// values beyond the ends count as 0.
void boxBlur(const float* source, float* target, int count, int stride, int radius) {
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    float sum = 0;
    for (int i = 0; i < std::min(radius, count); ++i) {
        sum += source[i * stride];
    }
    for (int i = 0; i < count; ++i) {
        if (i + radius < count) {
            sum += source[(i + radius) * stride];
        }
        target[i * stride] = sum * scale;
        if (i - radius >= 0) {
            sum -= source[(i - radius) * stride];
        }
    }
}

} // namespace

Surface blurredAlpha(const Bitmap& bitmap, float sigma) {
    const int width = bitmap.width();
    const int height = bitmap.height();
    std::vector<float> alpha(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = bitmap.bytes() + static_cast<std::ptrdiff_t>(y) * bitmap.bytesPerRow();
        for (int x = 0; x < width; ++x) {
            alpha[static_cast<size_t>(y) * width + x] = row[x * 4 + 3];
        }
    }
    if (sigma >= 0.5f) {
        std::vector<float> scratch(alpha.size());
        for (int boxWidth : boxWidths(sigma)) {
            const int radius = (boxWidth - 1) / 2;
            for (int y = 0; y < height; ++y) {
                const size_t start = static_cast<size_t>(y) * width;
                boxBlur(alpha.data() + start, scratch.data() + start, width, 1, radius);
            }
            for (int x = 0; x < width; ++x) {
                boxBlur(scratch.data() + x, alpha.data() + x, height, width, radius);
            }
        }
    }
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_A8, width, height));
    cairo_surface_flush(surface.get());
    std::uint8_t* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            data[static_cast<std::ptrdiff_t>(y) * stride + x] = static_cast<std::uint8_t>(
                std::clamp(std::lround(alpha[static_cast<size_t>(y) * width + x]), 0L, 255L));
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

} // namespace gfx::detail
