#include "framework/Source/PixHueFilter.h"

#include <cmath>
#include <numbers>

namespace zm {

const char* const PixHueFragmentShader = R"(
precision highp float;
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform mediump float hueAdjust;

const highp vec4 kRGBToYPrime = vec4(0.299, 0.587, 0.114, 0.0);
const highp vec4 kRGBToI = vec4(0.595716, -0.274453, -0.321263, 0.0);
const highp vec4 kRGBToQ = vec4(0.211456, -0.522591, 0.31135, 0.0);

const highp vec4 kYIQToR = vec4(1.0, 0.9563, 0.6210, 0.0);
const highp vec4 kYIQToG = vec4(1.0, -0.2721, -0.6474, 0.0);
const highp vec4 kYIQToB = vec4(1.0, -1.1070, 1.7046, 0.0);

void main()
{
    highp vec4 color = texture2D(inputImageTexture, textureCoordinate);

    highp float YPrime = dot(color, kRGBToYPrime);
    highp float I = dot(color, kRGBToI);
    highp float Q = dot(color, kRGBToQ);

    highp float hue = atan(Q, I) - hueAdjust;
    highp float chroma = sqrt(I * I + Q * Q);

    highp vec4 yIQ = vec4(YPrime, chroma * cos(hue), chroma * sin(hue), 0.0);
    gl_FragColor = vec4(dot(yIQ, kYIQToR), dot(yIQ, kYIQToG), dot(yIQ, kYIQToB), color.a);
}
)";

std::shared_ptr<PixHueFilter> PixHueFilter::create() {
    return std::shared_ptr<PixHueFilter>(new PixHueFilter);
}

PixHueFilter::PixHueFilter()
    : PixFilter(PixDefaultVertexShader, PixHueFragmentShader) {
    m_hueAdjustUniform = uniformLocation("hueAdjust");
    setHue(90);
}

void PixHueFilter::setHue(float degrees) {
    m_hue = static_cast<float>(static_cast<double>(std::fmod(degrees, 360.0f)) * std::numbers::pi / 180.0);
    setFloat(m_hue, m_hueAdjustUniform, m_filterProgram);
}

} // namespace zm
