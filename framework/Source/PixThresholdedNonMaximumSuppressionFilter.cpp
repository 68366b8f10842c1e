#include "framework/Source/PixThresholdedNonMaximumSuppressionFilter.h"

#include <string>

namespace zm {

namespace {

const char* const kRedResponse = R"(
precision highp float;

float responseOf(vec4 color)
{
    return color.r;
}
)";

const char* const kPackedResponse = R"(
precision highp float;

float responseOf(vec4 color)
{
    return dot(color.rgb, vec3(1.0 / 256.0, 1.0, 256.0));
}
)";

const std::string kThresholdedNonMaximumSuppressionMain = std::string(Pix3x3SamplingFragmentInputs) + R"(
uniform float threshold;

void main()
{
    float bottomColor = responseOf(texture2D(inputImageTexture, bottomTextureCoordinate));
    float bottomLeftColor = responseOf(texture2D(inputImageTexture, bottomLeftTextureCoordinate));
    float bottomRightColor = responseOf(texture2D(inputImageTexture, bottomRightTextureCoordinate));
    float centerColor = responseOf(texture2D(inputImageTexture, textureCoordinate));
    float leftColor = responseOf(texture2D(inputImageTexture, leftTextureCoordinate));
    float rightColor = responseOf(texture2D(inputImageTexture, rightTextureCoordinate));
    float topColor = responseOf(texture2D(inputImageTexture, topTextureCoordinate));
    float topRightColor = responseOf(texture2D(inputImageTexture, topRightTextureCoordinate));
    float topLeftColor = responseOf(texture2D(inputImageTexture, topLeftTextureCoordinate));

    // Strictly above one half of the neighbourhood, at least as high as the other half.
    float multiplier = 1.0 - step(centerColor, topColor);
    multiplier = multiplier * (1.0 - step(centerColor, topLeftColor));
    multiplier = multiplier * (1.0 - step(centerColor, leftColor));
    multiplier = multiplier * (1.0 - step(centerColor, bottomLeftColor));

    float maxValue = max(centerColor, bottomColor);
    maxValue = max(maxValue, bottomRightColor);
    maxValue = max(maxValue, rightColor);
    maxValue = max(maxValue, topRightColor);

    float finalValue = step(maxValue, centerColor) * multiplier * step(threshold, centerColor);

    gl_FragColor = vec4(vec3(finalValue), 1.0);
}
)";

std::string thresholdedNonMaximumSuppressionShader(bool packedColorspace) {
    return std::string(packedColorspace ? kPackedResponse : kRedResponse) + kThresholdedNonMaximumSuppressionMain;
}

} // namespace

std::shared_ptr<PixThresholdedNonMaximumSuppressionFilter>
PixThresholdedNonMaximumSuppressionFilter::create(bool packedColorspace) {
    return std::shared_ptr<PixThresholdedNonMaximumSuppressionFilter>(
        new PixThresholdedNonMaximumSuppressionFilter(packedColorspace));
}

PixThresholdedNonMaximumSuppressionFilter::PixThresholdedNonMaximumSuppressionFilter(bool packedColorspace)
    : Pix3x3TextureSamplingFilter(Pix3x3SamplingVertexShader, thresholdedNonMaximumSuppressionShader(packedColorspace)) {
    m_thresholdUniform = uniformLocation("threshold");
    setThreshold(0.9f);
}

void PixThresholdedNonMaximumSuppressionFilter::setThreshold(float newValue) {
    m_threshold = newValue;
    setFloat(newValue, m_thresholdUniform, m_filterProgram);
}

std::pair<int, int> PixThresholdedNonMaximumSuppressionFilter::readDrawnPeaks(std::vector<std::uint8_t>& pixels) const {
    const core::Size size = outputFrameSize();
    const GLsizei width = PixPixelsWide(size), height = PixPixelsHigh(size);
    pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    if (!pixels.empty())
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return {width, height};
}

} // namespace zm
