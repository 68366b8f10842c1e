#include "framework/Source/PixSeparableBlurFilter.h"

#include "framework/Source/PixContext.h"

namespace zm {

PixSeparableBlurFilter::PixSeparableBlurFilter(const std::string& vertexShaderString,
                                               const std::string& fragmentShaderString)
    : PixSeparableBlurFilter(vertexShaderString, fragmentShaderString, fragmentShaderString) {}

PixSeparableBlurFilter::PixSeparableBlurFilter(const std::string& vertexShaderString,
                                               const std::string& fragmentShaderString,
                                               const std::string& secondStageFragmentShaderString)
    : PixTwoPassTextureSamplingFilter(vertexShaderString, fragmentShaderString, vertexShaderString,
                                      secondStageFragmentShaderString) {
    setBlurSize(1.0f);
}

void PixSeparableBlurFilter::setBlurSize(float newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_blurSize = newValue;
        m_verticalTexelSpacing = newValue;
        m_horizontalTexelSpacing = newValue;
        setupFilterForSize(sizeOfFBO());
    });
}

} // namespace zm
