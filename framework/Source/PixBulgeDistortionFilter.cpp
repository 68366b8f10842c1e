#include "framework/Source/PixBulgeDistortionFilter.h"

namespace zm {

namespace {

const char* const kBulgeDistortionFragmentShader = R"(
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
        highp float percent = 1.0 - ((radius - dist) / radius) * scale;
        sampled = center + (textureCoordinate - center) * percent * percent;
    }
    gl_FragColor = texture2D(inputImageTexture, sampled);
}
)";

} // namespace

std::shared_ptr<PixBulgeDistortionFilter> PixBulgeDistortionFilter::create() {
    return std::shared_ptr<PixBulgeDistortionFilter>(new PixBulgeDistortionFilter);
}

PixBulgeDistortionFilter::PixBulgeDistortionFilter()
    : PixDistortionFilter(kBulgeDistortionFragmentShader, {"center", "aspectRatio"}) {
    m_radiusUniform = uniformLocation("radius");
    m_scaleUniform = uniformLocation("scale");
    setRadius(0.25f);
    setScale(0.5f);
}

} // namespace zm
