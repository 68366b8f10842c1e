#include "framework/Source/PixPolkaDotFilter.h"

namespace zm {

namespace {

const char* const kPolkaDotFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform highp float fractionalWidthOfPixel;
uniform highp float aspectRatio;
uniform highp float dotScaling;

void main()
{
    highp vec2 sampleDivisor = vec2(fractionalWidthOfPixel, fractionalWidthOfPixel / aspectRatio);
    highp vec2 samplePos = textureCoordinate - mod(textureCoordinate, sampleDivisor) + 0.5 * sampleDivisor;
    highp vec2 corrected = vec2(textureCoordinate.x, textureCoordinate.y * aspectRatio + 0.5 - 0.5 * aspectRatio);
    highp vec2 correctedSamplePos = vec2(samplePos.x, samplePos.y * aspectRatio + 0.5 - 0.5 * aspectRatio);
    highp float distanceFromSamplePoint = distance(correctedSamplePos, corrected);
    lowp float checkForPresenceWithinDot = step(distanceFromSamplePoint, fractionalWidthOfPixel * 0.5 * dotScaling);
    lowp vec4 inputColor = texture2D(inputImageTexture, samplePos);
    gl_FragColor = vec4(inputColor.rgb * checkForPresenceWithinDot, inputColor.a);
}
)";

} // namespace

std::shared_ptr<PixPolkaDotFilter> PixPolkaDotFilter::create() {
    return std::shared_ptr<PixPolkaDotFilter>(new PixPolkaDotFilter);
}

PixPolkaDotFilter::PixPolkaDotFilter()
    : PixPixellateFilter(kPolkaDotFragmentShader, {std::nullopt, "aspectRatio"}, 0.05f) {
    m_dotScalingUniform = uniformLocation("dotScaling");
    setDotScaling(0.9f);
}

} // namespace zm
