#include "shell/container/HueRotation.h"

#include "platform/gfx/Image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace zm {

HueRotation::HueRotation(double angle)
    : m_angle(angle) {
    // Rodrigues' rotation about the unit vector (1, 1, 1) / sqrt 3.
    const double c = std::cos(angle);
    const double k = (1 - c) / 3;
    const double t = std::sin(angle) / std::numbers::sqrt3;
    m_matrix = {c + k, k - t, k + t, //
                k + t, c + k, k - t, //
                k - t, k + t, c + k};
}

std::array<double, 3> HueRotation::apply(double red, double green, double blue) const {
    const auto& m = m_matrix;
    return {m[0] * red + m[1] * green + m[2] * blue, //
            m[3] * red + m[4] * green + m[5] * blue, //
            m[6] * red + m[7] * green + m[8] * blue};
}

std::shared_ptr<const gfx::Image> HueRotation::apply(const gfx::Image& image) const {
    const gfx::Bitmap& source = image.bitmap();
    std::unique_ptr<gfx::Bitmap> turned = source.copy(0, 0, source.width(), source.height());
    if (!turned)
        return nullptr;
    // Fixed point with 16 fractional bits: a full-screen picture turns in a few milliseconds. The map
    // is linear, so it applies to premultiplied colours as it stands; a result is kept within
    // [0, alpha] so that it stays a valid premultiplied colour.
    std::array<std::int32_t, 9> m;
    std::transform(m_matrix.begin(), m_matrix.end(), m.begin(),
                   [](double value) { return static_cast<std::int32_t>(std::lround(value * 65536)); });
    auto channel = [](std::int32_t sum, std::int32_t alpha) {
        return static_cast<std::uint8_t>(std::clamp((sum + 32768) >> 16, 0, alpha));
    };
    std::uint8_t* bytes = turned->mutableBytes();
    for (int y = 0; y < turned->height(); ++y) {
        auto* pixel = reinterpret_cast<gfx::Pixel*>(bytes + std::ptrdiff_t(y) * turned->bytesPerRow());
        for (int x = 0; x < turned->width(); ++x, ++pixel) {
            const std::int32_t r = pixel->red, g = pixel->green, b = pixel->blue, a = pixel->alpha;
            pixel->red = channel(m[0] * r + m[1] * g + m[2] * b, a);
            pixel->green = channel(m[3] * r + m[4] * g + m[5] * b, a);
            pixel->blue = channel(m[6] * r + m[7] * g + m[8] * b, a);
        }
    }
    turned->markChanged();
    return std::make_shared<const gfx::Image>(std::shared_ptr<const gfx::Bitmap>(std::move(turned)),
                                              image.scale(), image.capInsets());
}

core::Color tintForPerc(double perc) {
    const std::array<double, 3> turned = HueRotation(perc * std::numbers::pi * 2).apply(23, 42, 62);
    auto channel = [](double value) {
        // A position that is no number (an empty carousel's) gives no colour rather than an invalid one.
        if (std::isnan(value))
            return 0.0f;
        return static_cast<float>(std::clamp(std::trunc(value), 0.0, 255.0) / 255);
    };
    return core::Color::rgba(channel(turned[0]), channel(turned[1]), channel(turned[2]), 0.65f);
}

} // namespace zm
