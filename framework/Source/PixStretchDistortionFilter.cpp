#include "framework/Source/PixStretchDistortionFilter.h"

namespace zm {

namespace {

const char* const kStretchDistortionFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform highp vec2 center;

void main()
{
    highp vec2 normCoord = 2.0 * textureCoordinate - 1.0;
    highp vec2 normCenter = 2.0 * center - 1.0;
    normCoord -= normCenter;
    highp vec2 s = sign(normCoord);
    normCoord = abs(normCoord);
    normCoord = 0.5 * normCoord + 0.5 * smoothstep(0.25, 0.5, normCoord) * normCoord;
    normCoord = s * normCoord;
    normCoord += normCenter;
    gl_FragColor = texture2D(inputImageTexture, normCoord / 2.0 + 0.5);
}
)";

} // namespace

std::shared_ptr<PixStretchDistortionFilter> PixStretchDistortionFilter::create() {
    return std::shared_ptr<PixStretchDistortionFilter>(new PixStretchDistortionFilter);
}

PixStretchDistortionFilter::PixStretchDistortionFilter()
    : PixDistortionFilter(kStretchDistortionFragmentShader, {"center", std::nullopt}) {
}

} // namespace zm
