#include "framework/Source/PixSwirlFilter.h"

namespace zm {

namespace {

const char* const kSwirlFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform highp vec2 center;
uniform highp float radius;
uniform highp float angle;

void main()
{
    highp vec2 sampled = textureCoordinate;
    highp float dist = distance(center, textureCoordinate);
    if (dist < radius) {
        highp float percent = (radius - dist) / radius;
        highp float theta = percent * percent * angle * 8.0;
        highp float s = sin(theta);
        highp float c = cos(theta);
        highp vec2 offset = textureCoordinate - center;
        sampled = center + vec2(dot(offset, vec2(c, -s)), dot(offset, vec2(s, c)));
    }
    gl_FragColor = texture2D(inputImageTexture, sampled);
}
)";

} // namespace

std::shared_ptr<PixSwirlFilter> PixSwirlFilter::create() {
    return std::shared_ptr<PixSwirlFilter>(new PixSwirlFilter);
}

PixSwirlFilter::PixSwirlFilter()
    : PixDistortionFilter(kSwirlFragmentShader, {"center", std::nullopt}) {
    m_radiusUniform = uniformLocation("radius");
    m_angleUniform = uniformLocation("angle");
    setRadius(0.5f);
    setAngle(1.0f);
}

} // namespace zm
