#include "framework/Source/PixMotionBlurFilter.h"

#include "framework/Source/PixContext.h"
#include "framework/Source/PixGaussianBlurFilter.h"

#include <cmath>
#include <numbers>

namespace zm {

const char* const PixMotionBlurVertexShader = R"(
attribute vec4 position;
attribute vec4 inputTextureCoordinate;

uniform highp vec2 directionalTexelStep;

varying vec2 blurCoordinates[9];

void main()
{
    gl_Position = position;
    for (int i = 0; i < 9; i++)
        blurCoordinates[i] = inputTextureCoordinate.xy + float(i - 4) * directionalTexelStep;
}
)";

std::shared_ptr<PixMotionBlurFilter> PixMotionBlurFilter::create() {
    return std::shared_ptr<PixMotionBlurFilter>(new PixMotionBlurFilter);
}

PixMotionBlurFilter::PixMotionBlurFilter()
    : PixFilter(PixMotionBlurVertexShader, PixGaussianBlurFragmentShader) {
    m_directionalTexelStepUniform = uniformLocation("directionalTexelStep");
    runSynchronouslyOnContextQueue([&] { recalculateStep(); });
}

float PixMotionBlurFilter::blurSize() const {
    float value = 0;
    runSynchronouslyOnContextQueue([&] { value = m_blurSize; });
    return value;
}

void PixMotionBlurFilter::setBlurSize(float newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_blurSize = newValue;
        recalculateStep();
    });
}

float PixMotionBlurFilter::blurAngle() const {
    float value = 0;
    runSynchronouslyOnContextQueue([&] { value = m_blurAngle; });
    return value;
}

void PixMotionBlurFilter::setBlurAngle(float newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_blurAngle = newValue;
        recalculateStep();
    });
}

void PixMotionBlurFilter::recalculateStep() {
    const double angle = m_blurAngle * std::numbers::pi / 180.0;
    const float width = m_inputTextureSize.width > 0 ? m_inputTextureSize.width : 1.0f;
    const float height = m_inputTextureSize.height > 0 ? m_inputTextureSize.height : 1.0f;
    const float cosine = static_cast<float>(std::cos(angle));
    const float sine = static_cast<float>(std::sin(angle));
    const core::Point step = PixRotationSwapsWidthAndHeight(m_inputRotation)
                                 ? core::Point{m_blurSize * sine * (width / height) / height, m_blurSize * cosine / height}
                                 : core::Point{m_blurSize * cosine * (height / width) / width, m_blurSize * sine / width};
    setPoint(step, m_directionalTexelStepUniform, m_filterProgram);
}

void PixMotionBlurFilter::setInputSize(core::Size newSize, int textureIndex) {
    const core::Size oldSize = m_inputTextureSize;
    PixFilter::setInputSize(newSize, textureIndex);
    if (m_inputTextureSize != oldSize && m_inputTextureSize.width > 0)
        recalculateStep();
}

void PixMotionBlurFilter::setInputRotation(PixInputRotation newInputRotation, int textureIndex) {
    PixFilter::setInputRotation(newInputRotation, textureIndex);
    recalculateStep();
}

} // namespace zm
