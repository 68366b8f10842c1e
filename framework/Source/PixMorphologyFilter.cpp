#include "framework/Source/PixMorphologyFilter.h"

#include <algorithm>

namespace zm {

unsigned PixMorphologyFilter::usableRadius(unsigned radius) {
    return std::clamp(radius, 1u, 4u);
}

std::string PixMorphologyFilter::vertexShader(unsigned radius) {
    const std::string samples = std::to_string(2 * usableRadius(radius) + 1);
    return R"(
attribute vec4 position;
attribute vec4 inputTextureCoordinate;

uniform float texelWidthOffset;
uniform float texelHeightOffset;

varying vec2 sampleCoordinates[)" +
           samples + R"(];

void main()
{
    gl_Position = position;
    vec2 offset = vec2(texelWidthOffset, texelHeightOffset);
    for (int i = 0; i < )" +
           samples + R"(; i++)
        sampleCoordinates[i] = inputTextureCoordinate.xy + float(i - )" +
           std::to_string(usableRadius(radius)) + R"() * offset;
}
)";
}

std::string PixMorphologyFilter::fragmentShader(unsigned radius, Extreme extreme, Channels channels) {
    const std::string samples = std::to_string(2 * usableRadius(radius) + 1);
    const std::string pick = extreme == Extreme::Largest ? "max" : "min";
    // A luminance picture needs little precision, colours more.
    const bool luminance = channels == Channels::Luminance;
    const std::string type = luminance ? "lowp float" : "highp vec4";
    const std::string read = luminance ? ".r" : "";
    const std::string result = luminance ? "vec4(vec3(extreme), 1.0)" : "extreme";
    return R"(
precision highp float;

uniform sampler2D inputImageTexture;

varying vec2 sampleCoordinates[)" +
           samples + R"(];

void main()
{
    )" + type + " extreme = texture2D(inputImageTexture, sampleCoordinates[0])" +
           read + R"(;
    for (int i = 1; i < )" +
           samples + R"(; i++)
        extreme = )" +
           pick + "(extreme, texture2D(inputImageTexture, sampleCoordinates[i])" + read + R"();
    gl_FragColor = )" +
           result + R"(;
}
)";
}

PixMorphologyFilter::PixMorphologyFilter(unsigned radius, Extreme extreme, Channels channels)
    : PixTwoPassTextureSamplingFilter(vertexShader(radius), fragmentShader(radius, extreme, channels),
                                      vertexShader(radius), fragmentShader(radius, extreme, channels))
    , m_radius(usableRadius(radius)) {}

std::shared_ptr<PixDilationFilter> PixDilationFilter::create(unsigned radius) {
    return std::shared_ptr<PixDilationFilter>(new PixDilationFilter(radius));
}

PixDilationFilter::PixDilationFilter(unsigned radius)
    : PixMorphologyFilter(radius, Extreme::Largest, Channels::Luminance) {}

std::shared_ptr<PixErosionFilter> PixErosionFilter::create(unsigned radius) {
    return std::shared_ptr<PixErosionFilter>(new PixErosionFilter(radius));
}

PixErosionFilter::PixErosionFilter(unsigned radius)
    : PixMorphologyFilter(radius, Extreme::Smallest, Channels::Luminance) {}

std::shared_ptr<PixRGBDilationFilter> PixRGBDilationFilter::create(unsigned radius) {
    return std::shared_ptr<PixRGBDilationFilter>(new PixRGBDilationFilter(radius));
}

PixRGBDilationFilter::PixRGBDilationFilter(unsigned radius)
    : PixMorphologyFilter(radius, Extreme::Largest, Channels::All) {}

std::shared_ptr<PixRGBErosionFilter> PixRGBErosionFilter::create(unsigned radius) {
    return std::shared_ptr<PixRGBErosionFilter>(new PixRGBErosionFilter(radius));
}

PixRGBErosionFilter::PixRGBErosionFilter(unsigned radius)
    : PixMorphologyFilter(radius, Extreme::Smallest, Channels::All) {}

} // namespace zm
