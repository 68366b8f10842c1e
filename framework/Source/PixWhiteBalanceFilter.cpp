#include "framework/Source/PixWhiteBalanceFilter.h"

namespace zm {

const char* const PixWhiteBalanceFragmentShader = R"(
precision highp float;

uniform sampler2D inputImageTexture;
varying highp vec2 textureCoordinate;

uniform lowp float temperature;
uniform lowp float tint;

const lowp vec3 warmFilter = vec3(0.93, 0.54, 0.0);

const mediump mat3 RGBtoYIQ = mat3(0.299, 0.587, 0.114, 0.596, -0.274, -0.322, 0.212, -0.523, 0.311);
const mediump mat3 YIQtoRGB = mat3(1.0, 0.956, 0.621, 1.0, -0.272, -0.647, 1.0, -1.105, 1.702);

void main()
{
    lowp vec4 source = texture2D(inputImageTexture, textureCoordinate);

    // Each group of three is the weights of one output (a column to GLSL): the colour multiplies from
    // the left.
    mediump vec3 yiq = source.rgb * RGBtoYIQ;
    yiq.b = clamp(yiq.b + tint * 0.5226 * 0.1, -0.5226, 0.5226);
    lowp vec3 rgb = yiq * YIQtoRGB;

    lowp vec3 processed = vec3(
        (rgb.r < 0.5 ? (2.0 * rgb.r * warmFilter.r) : (1.0 - 2.0 * (1.0 - rgb.r) * (1.0 - warmFilter.r))),
        (rgb.g < 0.5 ? (2.0 * rgb.g * warmFilter.g) : (1.0 - 2.0 * (1.0 - rgb.g) * (1.0 - warmFilter.g))),
        (rgb.b < 0.5 ? (2.0 * rgb.b * warmFilter.b) : (1.0 - 2.0 * (1.0 - rgb.b) * (1.0 - warmFilter.b))));

    gl_FragColor = vec4(mix(rgb, processed, temperature), source.a);
}
)";

std::shared_ptr<PixWhiteBalanceFilter> PixWhiteBalanceFilter::create() {
    return std::shared_ptr<PixWhiteBalanceFilter>(new PixWhiteBalanceFilter);
}

PixWhiteBalanceFilter::PixWhiteBalanceFilter()
    : PixFilter(PixDefaultVertexShader, PixWhiteBalanceFragmentShader) {
    m_temperatureUniform = uniformLocation("temperature");
    m_tintUniform = uniformLocation("tint");
    setTemperature(5000);
    setTint(0);
}

void PixWhiteBalanceFilter::setTemperature(int newValue) {
    m_temperature = newValue;
    // Warming below 5000 K is steeper than cooling above it.
    const float kelvinFromNeutral = static_cast<float>(newValue - 5000);
    const double factor = newValue < 5000 ? 0.0004 : 0.00006;
    setFloat(static_cast<float>(kelvinFromNeutral * factor), m_temperatureUniform, m_filterProgram);
}

void PixWhiteBalanceFilter::setTint(int newValue) {
    m_tint = newValue;
    setFloat(static_cast<float>(newValue / 100.0), m_tintUniform, m_filterProgram);
}

} // namespace zm
