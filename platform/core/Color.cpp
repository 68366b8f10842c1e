#include "platform/core/Color.h"

#include "platform/core/Format.h"

#include <algorithm>
#include <cmath>

namespace core {

namespace {

float unit(float value) {
    return std::isnan(value) ? 0 : std::clamp(value, 0.0f, 1.0f);
}

} // namespace

Color Color::fromHSB(const HSBA& hsba) {
    const float saturation = unit(hsba.saturation);
    const float brightness = unit(hsba.brightness);
    // The hue goes round the circle: 1 is red again, as is 0.
    float hue = std::isfinite(hsba.hue) ? hsba.hue - std::floor(hsba.hue) : 0;
    hue *= 6;
    const int sector = static_cast<int>(hue) % 6;
    const float f = hue - std::floor(hue);
    const float p = brightness * (1 - saturation);
    const float q = brightness * (1 - saturation * f);
    const float t = brightness * (1 - saturation * (1 - f));
    const float alpha = unit(hsba.alpha);
    switch (sector) {
    case 0:
        return rgba(brightness, t, p, alpha);
    case 1:
        return rgba(q, brightness, p, alpha);
    case 2:
        return rgba(p, brightness, t, alpha);
    case 3:
        return rgba(p, q, brightness, alpha);
    case 4:
        return rgba(t, p, brightness, alpha);
    default:
        return rgba(brightness, p, q, alpha);
    }
}

HSBA Color::hsba() const {
    const float maximum = std::max({m_red, m_green, m_blue});
    const float minimum = std::min({m_red, m_green, m_blue});
    const float delta = maximum - minimum;
    HSBA result;
    result.brightness = maximum;
    result.saturation = maximum > 0 ? delta / maximum : 0;
    result.alpha = m_alpha;
    if (delta <= 0)
        return result;
    float hue;
    if (maximum == m_red)
        hue = (m_green - m_blue) / delta;
    else if (maximum == m_green)
        hue = 2 + (m_blue - m_red) / delta;
    else
        hue = 4 + (m_red - m_green) / delta;
    hue /= 6;
    if (hue < 0)
        hue += 1;
    result.hue = hue;
    return result;
}

std::string Color::description() const {
    return format("%g %g %g %g", static_cast<double>(m_red), static_cast<double>(m_green),
                  static_cast<double>(m_blue), static_cast<double>(m_alpha));
}

} // namespace core
