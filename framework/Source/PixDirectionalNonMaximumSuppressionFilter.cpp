#include "framework/Source/PixDirectionalNonMaximumSuppressionFilter.h"

#include "framework/Source/PixContext.h"

namespace zm {

namespace {

const char* const kDirectionalNonMaximumSuppressionFragmentShader = R"(
precision highp float;

varying vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform float texelWidth;
uniform float texelHeight;
uniform float upperThreshold;
uniform float lowerThreshold;

void main()
{
    vec3 currentGradientAndDirection = texture2D(inputImageTexture, textureCoordinate).rgb;
    vec2 gradientDirection = ((currentGradientAndDirection.gb * 2.0) - 1.0) * vec2(texelWidth, texelHeight);

    float firstSampledGradientMagnitude = texture2D(inputImageTexture, textureCoordinate + gradientDirection).r;
    float secondSampledGradientMagnitude = texture2D(inputImageTexture, textureCoordinate - gradientDirection).r;

    float multiplier = step(firstSampledGradientMagnitude, currentGradientAndDirection.r);
    multiplier = multiplier * step(secondSampledGradientMagnitude, currentGradientAndDirection.r);

    float thresholdCompliance = smoothstep(lowerThreshold, upperThreshold, currentGradientAndDirection.r);
    multiplier = multiplier * thresholdCompliance;

    gl_FragColor = vec4(multiplier, multiplier, multiplier, 1.0);
}
)";

} // namespace

std::shared_ptr<PixDirectionalNonMaximumSuppressionFilter> PixDirectionalNonMaximumSuppressionFilter::create() {
    return std::shared_ptr<PixDirectionalNonMaximumSuppressionFilter>(new PixDirectionalNonMaximumSuppressionFilter);
}

PixDirectionalNonMaximumSuppressionFilter::PixDirectionalNonMaximumSuppressionFilter()
    : PixFilter(PixDefaultVertexShader, kDirectionalNonMaximumSuppressionFragmentShader) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        m_texelSampling.locateUniforms(*m_filterProgram);
    });
    m_upperThresholdUniform = uniformLocation("upperThreshold");
    m_lowerThresholdUniform = uniformLocation("lowerThreshold");
    setUpperThreshold(0.5f);
    setLowerThreshold(0.1f);
}

void PixDirectionalNonMaximumSuppressionFilter::setUpperThreshold(float newValue) {
    m_upperThreshold = newValue;
    setFloat(newValue, m_upperThresholdUniform, m_filterProgram);
}

void PixDirectionalNonMaximumSuppressionFilter::setLowerThreshold(float newValue) {
    m_lowerThreshold = newValue;
    setFloat(newValue, m_lowerThresholdUniform, m_filterProgram);
}

void PixDirectionalNonMaximumSuppressionFilter::setupFilterForSize(core::Size filterFrameSize) {
    m_texelSampling.setupForSize(filterFrameSize, m_inputRotation);
}

void PixDirectionalNonMaximumSuppressionFilter::setUniformsForProgramAtIndex(unsigned programIndex) {
    PixFilter::setUniformsForProgramAtIndex(programIndex);
    m_texelSampling.writeUniforms();
}

} // namespace zm
