#include "framework/Source/PixThresholdEdgeDetectionFilter.h"

namespace zm {

const char* const PixThresholdEdgeDetectionFragmentShader = R"(
precision highp float;

varying vec2 textureCoordinate;
varying vec2 leftTextureCoordinate;
varying vec2 rightTextureCoordinate;

varying vec2 topTextureCoordinate;
varying vec2 bottomTextureCoordinate;

uniform sampler2D inputImageTexture;
uniform float threshold;
uniform float edgeStrength;

void main()
{
    float leftIntensity = texture2D(inputImageTexture, leftTextureCoordinate).r;
    float rightIntensity = texture2D(inputImageTexture, rightTextureCoordinate).r;
    float bottomIntensity = texture2D(inputImageTexture, bottomTextureCoordinate).r;
    float topIntensity = texture2D(inputImageTexture, topTextureCoordinate).r;
    float h = bottomIntensity - topIntensity;
    float v = rightIntensity - leftIntensity;

    float mag = length(vec2(h, v)) * edgeStrength;
    mag = step(threshold, mag);

    gl_FragColor = vec4(vec3(mag), 1.0);
}
)";

std::shared_ptr<PixThresholdEdgeDetectionFilter> PixThresholdEdgeDetectionFilter::create() {
    return std::shared_ptr<PixThresholdEdgeDetectionFilter>(new PixThresholdEdgeDetectionFilter);
}

PixThresholdEdgeDetectionFilter::PixThresholdEdgeDetectionFilter(const std::string& gradientFragmentShaderString)
    : PixSobelEdgeDetectionFilter(gradientFragmentShaderString) {
    m_thresholdUniform = secondProgramUniformLocation("threshold");
    setThreshold(0.25f);
}

void PixThresholdEdgeDetectionFilter::setThreshold(float newValue) {
    m_threshold = newValue;
    setFloat(newValue, m_thresholdUniform, m_secondFilterProgram);
}

} // namespace zm
