#pragma once

#include "platform/core/Color.h"

#include <array>
#include <memory>

namespace gfx {
class Image;
}

namespace zm {

// A turn of every colour about the grey axis of the colour cube by an angle: greys stay, hues move round
// the colour circle, and a full turn gives every colour back. The background picture and the interface
// tint turn by the same rotation.
class HueRotation {
public:
    explicit HueRotation(double angle);

    double angle() const { return m_angle; }

    // The turned colour of (red, green, blue) on any scale, not clamped.
    std::array<double, 3> apply(double red, double green, double blue) const;

    // The picture with every pixel turned (clamped to the colour range; alpha kept).
    std::shared_ptr<const gfx::Image> apply(const gfx::Image& image) const;

private:
    double m_angle;
    std::array<double, 9> m_matrix; // rows of the linear map on (red, green, blue)
};

// The interface tint for the carousel position `perc`: the base colour (23, 42, 62) turned by
// perc x 2 pi, each channel cut to a whole number of 0 to 255, with alpha 0.65.
core::Color tintForPerc(double perc);

} // namespace zm
