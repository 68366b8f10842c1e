#include "framework/Source/PixPixellatePositionFilter.h"

namespace zm {

namespace {

const char* const kPixellatePositionFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform highp float fractionalWidthOfPixel;
uniform highp float aspectRatio;
uniform lowp vec2 pixelateCenter;
uniform highp float pixelateRadius;

void main()
{
    highp vec2 corrected = vec2(textureCoordinate.x, textureCoordinate.y * aspectRatio + 0.5 - 0.5 * aspectRatio);
    highp float dist = distance(pixelateCenter, corrected);
    highp vec2 samplePos = textureCoordinate;
    if (dist < pixelateRadius) {
        highp vec2 sampleDivisor = vec2(fractionalWidthOfPixel, fractionalWidthOfPixel / aspectRatio);
        samplePos = textureCoordinate - mod(textureCoordinate, sampleDivisor) + 0.5 * sampleDivisor;
    }
    gl_FragColor = texture2D(inputImageTexture, samplePos);
}
)";

} // namespace

std::shared_ptr<PixPixellatePositionFilter> PixPixellatePositionFilter::create() {
    return std::shared_ptr<PixPixellatePositionFilter>(new PixPixellatePositionFilter);
}

PixPixellatePositionFilter::PixPixellatePositionFilter()
    : PixPixellateFilter(kPixellatePositionFragmentShader, {"pixelateCenter", "aspectRatio"}, 0.05f) {
    m_radiusUniform = uniformLocation("pixelateRadius");
    setRadius(0.25f);
}

} // namespace zm
