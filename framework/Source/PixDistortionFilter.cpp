#include "framework/Source/PixDistortionFilter.h"

#include "framework/Source/PixContext.h"

namespace zm {

PixDistortionFilter::PixDistortionFilter(const std::string& fragmentShaderString, const Uniforms& uniforms)
    : PixFilter(PixDefaultVertexShader, fragmentShaderString) {
    if (uniforms.center) {
        m_centerUniform = uniformLocation(*uniforms.center);
        setCenter({0.5f, 0.5f});
    }
    if (uniforms.aspectRatio)
        m_aspectRatioUniform = uniformLocation(*uniforms.aspectRatio);
}

core::Point PixDistortionFilter::center() const {
    core::Point value;
    runSynchronouslyOnContextQueue([&] { value = m_center; });
    return value;
}

void PixDistortionFilter::setCenter(core::Point newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_center = newValue;
        if (m_centerUniform >= 0)
            setPoint(rotatedPoint(newValue, m_inputRotation), m_centerUniform, m_filterProgram);
    });
}

float PixDistortionFilter::aspectRatio() const {
    return storedFloat(m_aspectRatio);
}

void PixDistortionFilter::setAspectRatio(float newValue) {
    storeFloat(m_aspectRatio, newValue, m_aspectRatioUniform);
}

float PixDistortionFilter::storedFloat(const float& member) const {
    float value = 0;
    runSynchronouslyOnContextQueue([&] { value = member; });
    return value;
}

void PixDistortionFilter::storeFloat(float& member, float newValue, GLint uniform) {
    runSynchronouslyOnContextQueue([&] {
        member = newValue;
        if (uniform >= 0)
            setFloat(newValue, uniform, m_filterProgram);
    });
}

void PixDistortionFilter::adjustAspectRatio() {
    const core::Size size = m_inputTextureSize;
    if (size.width <= 0 || size.height <= 0)
        return;
    // The input size is the turned one: under a quarter turn the texture's height is its width.
    setAspectRatio(PixRotationSwapsWidthAndHeight(m_inputRotation) ? size.width / size.height
                                                                   : size.height / size.width);
}

void PixDistortionFilter::setInputSize(core::Size newSize, int textureIndex) {
    const core::Size before = m_inputTextureSize;
    PixFilter::setInputSize(newSize, textureIndex);
    if (m_inputTextureSize != before)
        adjustAspectRatio();
}

void PixDistortionFilter::setInputRotation(PixInputRotation newInputRotation, int textureIndex) {
    PixFilter::setInputRotation(newInputRotation, textureIndex);
    setCenter(m_center);
    adjustAspectRatio();
}

void PixDistortionFilter::forceProcessingAtSize(core::Size frameSize) {
    PixFilter::forceProcessingAtSize(frameSize);
    runSynchronouslyOnContextQueue([&] { adjustAspectRatio(); });
}

} // namespace zm
