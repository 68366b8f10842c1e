#include "framework/Source/PixThresholdEdgeDetectionFilter.h"

#include "framework/Source/Pix3x3TextureSamplingFilter.h"

namespace zm {

const std::string PixThresholdEdgeDetectionFragmentShader = pix3x3NeighbourhoodShader(R"(
uniform float threshold;
uniform float edgeStrength;
)", R"(
    float h = bottomIntensity - topIntensity;
    float v = rightIntensity - leftIntensity;

    float mag = length(vec2(h, v)) * edgeStrength;
    mag = step(threshold, mag);

    gl_FragColor = vec4(vec3(mag), 1.0);
)");

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
