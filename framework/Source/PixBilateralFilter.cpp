#include "framework/Source/PixBilateralFilter.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/PixContext.h"

namespace zm {

namespace {

const char* const kBilateralFragmentShader = R"(
uniform sampler2D inputImageTexture;
uniform mediump float distanceNormalizationFactor;

varying highp vec2 blurCoordinates[9];

// Adds a sample at its Gaussian weight, lowered by how far its colour lies from the centre's.
void accumulate(lowp vec4 sampleColor, mediump float gaussianWeight, lowp vec4 centralColor,
                inout lowp vec4 sum, inout mediump float weightTotal)
{
    mediump float distanceFromCentralColor = min(distance(centralColor, sampleColor) * distanceNormalizationFactor, 1.0);
    mediump float weight = gaussianWeight * (1.0 - distanceFromCentralColor);
    weightTotal += weight;
    sum += sampleColor * weight;
}

void main()
{
    lowp vec4 centralColor = texture2D(inputImageTexture, blurCoordinates[4]);
    mediump float weightTotal = 0.18;
    lowp vec4 sum = centralColor * 0.18;

    accumulate(texture2D(inputImageTexture, blurCoordinates[0]), 0.05, centralColor, sum, weightTotal);
    accumulate(texture2D(inputImageTexture, blurCoordinates[1]), 0.09, centralColor, sum, weightTotal);
    accumulate(texture2D(inputImageTexture, blurCoordinates[2]), 0.12, centralColor, sum, weightTotal);
    accumulate(texture2D(inputImageTexture, blurCoordinates[3]), 0.15, centralColor, sum, weightTotal);
    accumulate(texture2D(inputImageTexture, blurCoordinates[5]), 0.15, centralColor, sum, weightTotal);
    accumulate(texture2D(inputImageTexture, blurCoordinates[6]), 0.12, centralColor, sum, weightTotal);
    accumulate(texture2D(inputImageTexture, blurCoordinates[7]), 0.09, centralColor, sum, weightTotal);
    accumulate(texture2D(inputImageTexture, blurCoordinates[8]), 0.05, centralColor, sum, weightTotal);

    gl_FragColor = sum / weightTotal;
}
)";

} // namespace

std::shared_ptr<PixBilateralFilter> PixBilateralFilter::create() {
    return std::shared_ptr<PixBilateralFilter>(new PixBilateralFilter);
}

PixBilateralFilter::PixBilateralFilter()
    : PixGaussianBlurFilter(kBilateralFragmentShader) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        m_firstDistanceNormalizationFactorUniform = m_filterProgram->uniformIndex("distanceNormalizationFactor");
        m_secondDistanceNormalizationFactorUniform = m_secondFilterProgram->uniformIndex("distanceNormalizationFactor");
    });
    setBlurSize(4.0f);
    setDistanceNormalizationFactor(8.0f);
}

void PixBilateralFilter::setDistanceNormalizationFactor(float newValue) {
    m_distanceNormalizationFactor = newValue;
    setFloat(newValue, m_firstDistanceNormalizationFactorUniform, m_filterProgram);
    setFloat(newValue, m_secondDistanceNormalizationFactorUniform, m_secondFilterProgram);
}

} // namespace zm
