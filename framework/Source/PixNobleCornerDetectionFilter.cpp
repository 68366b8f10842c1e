#include "framework/Source/PixNobleCornerDetectionFilter.h"

namespace zm {

namespace {

// Where the picture is flat A + B is 0 and so is the numerator: the measure is 0 there, not 0 / 0.
const char* const kNobleCornerDetectionFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform lowp float sensitivity;

void main()
{
    mediump vec3 derivativeElements = texture2D(inputImageTexture, textureCoordinate).rgb;

    mediump float derivativeSum = derivativeElements.x + derivativeElements.y;
    mediump float zElement = (derivativeElements.z * 2.0) - 1.0;

    // R = (Ix^2 * Iy^2 - Ixy * Ixy) / (Ix^2 + Iy^2)
    mediump float cornerness = (derivativeElements.x * derivativeElements.y - (zElement * zElement)) / max(derivativeSum, 0.0001);

    gl_FragColor = vec4(vec3(cornerness * sensitivity), 1.0);
}
)";

} // namespace

std::shared_ptr<PixNobleCornerDetectionFilter> PixNobleCornerDetectionFilter::create() {
    return std::shared_ptr<PixNobleCornerDetectionFilter>(new PixNobleCornerDetectionFilter);
}

PixNobleCornerDetectionFilter::PixNobleCornerDetectionFilter()
    : PixHarrisCornerDetectionFilter(kNobleCornerDetectionFragmentShader) {}

} // namespace zm
