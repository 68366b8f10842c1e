#include "framework/Source/PixLuminanceThresholdFilter.h"

namespace zm {

const char* const PixLuminanceThresholdFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform highp float threshold;

const highp vec3 W = vec3(0.2125, 0.7154, 0.0721);

void main()
{
    highp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    highp float luminance = dot(textureColor.rgb, W);
    highp float thresholdResult = step(threshold, luminance);
    gl_FragColor = vec4(vec3(thresholdResult), textureColor.a);
}
)";

std::shared_ptr<PixLuminanceThresholdFilter> PixLuminanceThresholdFilter::create() {
    return std::shared_ptr<PixLuminanceThresholdFilter>(new PixLuminanceThresholdFilter);
}

PixLuminanceThresholdFilter::PixLuminanceThresholdFilter()
    : PixFilter(PixDefaultVertexShader, PixLuminanceThresholdFragmentShader) {
    m_thresholdUniform = uniformLocation("threshold");
    setThreshold(0.5f);
}

void PixLuminanceThresholdFilter::setThreshold(float newValue) {
    m_threshold = newValue;
    setFloat(newValue, m_thresholdUniform, m_filterProgram);
}

} // namespace zm
