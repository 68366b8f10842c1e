#pragma once

#include <string>
#include <string_view>

namespace zm {

// The shaders of a separable blur pass that reads five samples along the pass's direction: the centre,
// a near pair `nearSteps` texels out and a far pair `farSteps` out. Sampled between texels, each sample
// gathers two texels with the sampler's own interpolation. The numbers go into the shaders as written,
// so they keep every digit given.
std::string pixFiveSampleBlurVertexShader(std::string_view nearSteps, std::string_view farSteps);

// What a pass blurs: all four channels, or the red alone for a luminance picture, written out as an
// opaque grey (v, v, v, 1).
enum class PixBlurredChannels { All, RedAsLuminance };

std::string pixFiveSampleBlurFragmentShader(std::string_view centreWeight, std::string_view nearWeight,
                                            std::string_view farWeight,
                                            PixBlurredChannels channels = PixBlurredChannels::All);

} // namespace zm
