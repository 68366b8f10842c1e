#include "framework/Source/PixToonFilter.h"

#include <algorithm>

namespace zm {

const std::string PixToonFragmentShader = pix3x3NeighbourhoodShader(R"(
uniform float threshold;
uniform float quantizationLevels;
)", R"(
    vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    float h = -topLeftIntensity - 2.0 * topIntensity - topRightIntensity + bottomLeftIntensity + 2.0 * bottomIntensity + bottomRightIntensity;
    float v = -bottomLeftIntensity - 2.0 * leftIntensity - topLeftIntensity + bottomRightIntensity + 2.0 * rightIntensity + topRightIntensity;

    float mag = length(vec2(h, v));

    vec3 posterizedImageColor = floor((textureColor.rgb * quantizationLevels) + 0.5) / quantizationLevels;

    float thresholdTest = 1.0 - step(threshold, mag);

    gl_FragColor = vec4(posterizedImageColor * thresholdTest, textureColor.a);
)");

std::shared_ptr<PixToonFilter> PixToonFilter::create() {
    return std::shared_ptr<PixToonFilter>(new PixToonFilter);
}

PixToonFilter::PixToonFilter()
    : Pix3x3TextureSamplingFilter(Pix3x3SamplingVertexShader, PixToonFragmentShader) {
    m_thresholdUniform = uniformLocation("threshold");
    m_quantizationLevelsUniform = uniformLocation("quantizationLevels");
    setThreshold(0.2f);
    setQuantizationLevels(10.0f);
}

void PixToonFilter::setThreshold(float newValue) {
    m_threshold = newValue;
    setFloat(newValue, m_thresholdUniform, m_filterProgram);
}

void PixToonFilter::setQuantizationLevels(float newValue) {
    m_quantizationLevels = newValue;
    // No levels would divide by 0: fewer than one acts as one.
    setFloat(std::max(newValue, 1.0f), m_quantizationLevelsUniform, m_filterProgram);
}

} // namespace zm
