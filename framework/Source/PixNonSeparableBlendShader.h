#pragma once

#include <string>
#include <string_view>

namespace zm {

// The fragment shader of a blend that mixes the two colours as wholes rather than channel by channel
// (hue, saturation, colour, luminosity). `blendedColour` is a GLSL expression of `base` and `overlay`
// that may call lum, setlum, sat and setsat; the result is laid over the base by the overlay's alpha.
std::string nonSeparableBlendFragmentShader(std::string_view blendedColour);

} // namespace zm
