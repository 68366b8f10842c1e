#include "framework/Source/PixTexelSampling.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/PixContext.h"

namespace zm {

void PixTexelSampling::locateUniforms(const GLProgram& program) {
    m_texelWidthUniform = program.uniformIndex("texelWidth");
    m_texelHeightUniform = program.uniformIndex("texelHeight");
}

void PixTexelSampling::setupForSize(core::Size framebufferSize, PixInputRotation inputRotation) {
    if (m_hasOverriddenImageSizeFactor || framebufferSize.width <= 0 || framebufferSize.height <= 0)
        return;
    m_texelWidth = 1.0f / framebufferSize.width;
    m_texelHeight = 1.0f / framebufferSize.height;
    const bool quarterTurned = PixRotationSwapsWidthAndHeight(inputRotation);
    m_texelWidthUniformValue = quarterTurned ? m_texelHeight : m_texelWidth;
    m_texelHeightUniformValue = quarterTurned ? m_texelWidth : m_texelHeight;
}

void PixTexelSampling::writeUniforms() const {
    glUniform1f(m_texelWidthUniform, m_texelWidthUniformValue);
    glUniform1f(m_texelHeightUniform, m_texelHeightUniformValue);
}

float PixTexelSampling::texelWidth() const {
    float value = 0;
    runSynchronouslyOnContextQueue([&] { value = m_texelWidth; });
    return value;
}

float PixTexelSampling::texelHeight() const {
    float value = 0;
    runSynchronouslyOnContextQueue([&] { value = m_texelHeight; });
    return value;
}

void PixTexelSampling::setTexelWidth(float newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_hasOverriddenImageSizeFactor = true;
        m_texelWidth = newValue;
        m_texelWidthUniformValue = newValue;
    });
}

void PixTexelSampling::setTexelHeight(float newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_hasOverriddenImageSizeFactor = true;
        m_texelHeight = newValue;
        m_texelHeightUniformValue = newValue;
    });
}

} // namespace zm
