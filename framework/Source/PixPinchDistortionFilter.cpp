#include "framework/Source/PixPinchDistortionFilter.h"

namespace zm {

namespace {

const char* const kPinchDistortionFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform highp float aspectRatio;
uniform highp vec2 center;
uniform highp float radius;
uniform highp float scale;

void main()
{
    highp vec2 corrected = vec2(textureCoordinate.x, textureCoordinate.y * aspectRatio + 0.5 - 0.5 * aspectRatio);
    highp float dist = distance(center, corrected);
    highp vec2 sampled = textureCoordinate;
    if (dist < radius) {
        highp float percent = 1.0 + ((0.5 - dist) / 0.5) * scale;
        sampled = center + (textureCoordinate - center) * percent;
    }
    gl_FragColor = texture2D(inputImageTexture, sampled);
}
)";

} // namespace

std::shared_ptr<PixPinchDistortionFilter> PixPinchDistortionFilter::create() {
    return std::shared_ptr<PixPinchDistortionFilter>(new PixPinchDistortionFilter);
}

PixPinchDistortionFilter::PixPinchDistortionFilter()
    : PixDistortionFilter(kPinchDistortionFragmentShader, {"center", "aspectRatio"}) {
    m_radiusUniform = uniformLocation("radius");
    m_scaleUniform = uniformLocation("scale");
    setRadius(1.0f);
    setScale(0.5f);
}

} // namespace zm
