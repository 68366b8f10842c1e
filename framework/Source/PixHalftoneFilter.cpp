#include "framework/Source/PixHalftoneFilter.h"

namespace zm {

namespace {

// A dot of radius 0 (a white block) covers nothing, even a pixel right on the block's centre.
const char* const kHalftoneFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform highp float fractionalWidthOfPixel;
uniform highp float aspectRatio;

const highp vec3 W = vec3(0.2125, 0.7154, 0.0721);

void main()
{
    highp vec2 sampleDivisor = vec2(fractionalWidthOfPixel, fractionalWidthOfPixel / aspectRatio);
    highp vec2 samplePos = textureCoordinate - mod(textureCoordinate, sampleDivisor) + 0.5 * sampleDivisor;
    highp vec2 corrected = vec2(textureCoordinate.x, textureCoordinate.y * aspectRatio + 0.5 - 0.5 * aspectRatio);
    highp vec2 correctedSamplePos = vec2(samplePos.x, samplePos.y * aspectRatio + 0.5 - 0.5 * aspectRatio);
    highp float distanceFromSamplePoint = distance(correctedSamplePos, corrected);
    lowp float luminance = dot(texture2D(inputImageTexture, samplePos).rgb, W);
    highp float dotRadius = fractionalWidthOfPixel * 0.5 * (1.0 - luminance);
    lowp float outside = step(dotRadius, distanceFromSamplePoint);
    gl_FragColor = vec4(vec3(outside), 1.0);
}
)";

} // namespace

std::shared_ptr<PixHalftoneFilter> PixHalftoneFilter::create() {
    return std::shared_ptr<PixHalftoneFilter>(new PixHalftoneFilter);
}

PixHalftoneFilter::PixHalftoneFilter()
    : PixPixellateFilter(kHalftoneFragmentShader, {std::nullopt, "aspectRatio"}, 0.01f) {}

} // namespace zm
