#include "framework/Source/PixRadialDistortionFilter.h"

namespace zm {

namespace {

std::string radialDistortionShader(std::string_view sampling) {
    std::string shader = R"(
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
)";
    shader += sampling;
    shader += R"(    }
    gl_FragColor = texture2D(inputImageTexture, sampled);
}
)";
    return shader;
}

} // namespace

PixRadialDistortionFilter::PixRadialDistortionFilter(std::string_view sampling, float radius, float scale)
    : PixDistortionFilter(radialDistortionShader(sampling), {"center", "aspectRatio"}) {
    m_radiusUniform = uniformLocation("radius");
    m_scaleUniform = uniformLocation("scale");
    setRadius(radius);
    setScale(scale);
}

} // namespace zm
