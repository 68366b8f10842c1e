#include "framework/Source/PixTwoPassTextureSamplingFilter.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/PixContext.h"

namespace zm {

PixTwoPassTextureSamplingFilter::PixTwoPassTextureSamplingFilter(
    const std::string& firstStageVertexShaderString, const std::string& firstStageFragmentShaderString,
    const std::string& secondStageVertexShaderString, const std::string& secondStageFragmentShaderString)
    : PixTwoPassFilter(firstStageVertexShaderString, firstStageFragmentShaderString,
                       secondStageVertexShaderString, secondStageFragmentShaderString) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        m_verticalPassTexelWidthOffsetUniform = m_filterProgram->uniformIndex("texelWidthOffset");
        m_verticalPassTexelHeightOffsetUniform = m_filterProgram->uniformIndex("texelHeightOffset");
        m_horizontalPassTexelWidthOffsetUniform = m_secondFilterProgram->uniformIndex("texelWidthOffset");
        m_horizontalPassTexelHeightOffsetUniform = m_secondFilterProgram->uniformIndex("texelHeightOffset");
    });
}

void PixTwoPassTextureSamplingFilter::setVerticalTexelSpacing(float newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_verticalTexelSpacing = newValue;
        setupFilterForSize(sizeOfFBO());
    });
}

void PixTwoPassTextureSamplingFilter::setHorizontalTexelSpacing(float newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_horizontalTexelSpacing = newValue;
        setupFilterForSize(sizeOfFBO());
    });
}

void PixTwoPassTextureSamplingFilter::setupFilterForSize(core::Size filterFrameSize) {
    runSynchronouslyOnContextQueue([&] {
        // Before the first frame there is no size; the steps are computed again when the framebuffers
        // are made, before anything is drawn.
        if (filterFrameSize.width <= 0 || filterFrameSize.height <= 0)
            return;
        // A quarter-turned input has the image's vertical axis along the texture's s axis.
        if (PixRotationSwapsWidthAndHeight(m_inputRotation)) {
            m_verticalPassTexelWidthOffset = m_verticalTexelSpacing / filterFrameSize.height;
            m_verticalPassTexelHeightOffset = 0;
        } else {
            m_verticalPassTexelWidthOffset = 0;
            m_verticalPassTexelHeightOffset = m_verticalTexelSpacing / filterFrameSize.height;
        }
        m_horizontalPassTexelWidthOffset = m_horizontalTexelSpacing / filterFrameSize.width;
        m_horizontalPassTexelHeightOffset = 0;
    });
}

void PixTwoPassTextureSamplingFilter::setUniformsForProgramAtIndex(unsigned programIndex) {
    PixTwoPassFilter::setUniformsForProgramAtIndex(programIndex);
    // Written at every draw rather than kept as stored writes, so that two passes sharing one program
    // still step along their own axis.
    if (programIndex == 0) {
        glUniform1f(m_verticalPassTexelWidthOffsetUniform, m_verticalPassTexelWidthOffset);
        glUniform1f(m_verticalPassTexelHeightOffsetUniform, m_verticalPassTexelHeightOffset);
    } else {
        glUniform1f(m_horizontalPassTexelWidthOffsetUniform, m_horizontalPassTexelWidthOffset);
        glUniform1f(m_horizontalPassTexelHeightOffsetUniform, m_horizontalPassTexelHeightOffset);
    }
}

} // namespace zm
