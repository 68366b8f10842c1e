#include "framework/Source/PixTwoPassFilter.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/PixContext.h"

namespace zm {

std::shared_ptr<PixTwoPassFilter>
PixTwoPassFilter::create(const std::string& firstStageFragmentShaderString,
                         const std::string& secondStageFragmentShaderString) {
    return std::shared_ptr<PixTwoPassFilter>(
        new PixTwoPassFilter(PixDefaultVertexShader, firstStageFragmentShaderString, PixDefaultVertexShader,
                             secondStageFragmentShaderString));
}

PixTwoPassFilter::PixTwoPassFilter(const std::string& firstStageVertexShaderString,
                                   const std::string& firstStageFragmentShaderString,
                                   const std::string& secondStageVertexShaderString,
                                   const std::string& secondStageFragmentShaderString)
    : PixFilter(firstStageVertexShaderString, firstStageFragmentShaderString)
    , m_secondProgramUniformStateRestorationBlocks(std::make_shared<UniformStateRestorationBlocks>()) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        FilterProgram prepared =
            prepareProgram(secondStageVertexShaderString, secondStageFragmentShaderString);
        m_secondFilterProgram = std::move(prepared.program);
        m_secondFilterPositionAttribute = prepared.positionAttribute;
        m_secondFilterTextureCoordinateAttribute = prepared.textureCoordinateAttribute;
        m_secondFilterInputTextureUniform = prepared.inputTextureUniform;
    });
}

PixTwoPassFilter::~PixTwoPassFilter() {
    PixTwoPassFilter::destroyFilterFBO();
    PixTwoPassFilter::deleteOutputTexture();
}

void PixTwoPassFilter::initializeSecondOutputTextureIfNeeded() {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        if (m_secondFilterOutputTexture)
            return;
        glGenTextures(1, &m_secondFilterOutputTexture);
        glBindTexture(GL_TEXTURE_2D, m_secondFilterOutputTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glBindTexture(GL_TEXTURE_2D, 0);
    });
}

void PixTwoPassFilter::deleteOutputTexture() {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        if (m_outputTexture) {
            glDeleteTextures(1, &m_outputTexture);
            m_outputTexture = 0;
        }
        if (m_secondFilterOutputTexture) {
            glDeleteTextures(1, &m_secondFilterOutputTexture);
            m_secondFilterOutputTexture = 0;
        }
    });
}

void PixTwoPassFilter::createFilterFBOofSize(core::Size currentFBOSize) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        if (!m_filterFramebuffer)
            PixFilter::createFilterFBOofSize(currentFBOSize);
        if (!m_secondFilterFramebuffer)
            createSecondFilterFBOofSize(sizeOfFBO());
    });
}

void PixTwoPassFilter::createSecondFilterFBOofSize(core::Size currentFBOSize) {
    glGenFramebuffers(1, &m_secondFilterFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, m_secondFilterFramebuffer);
    initializeSecondOutputTextureIfNeeded();
    allocateAndAttachOutputTexture(m_secondFilterOutputTexture, currentFBOSize);
}

void PixTwoPassFilter::recreateFilterFBO() {
    // Both framebuffers are rebuilt at the next render.
    destroyFilterFBO();
    deleteOutputTexture();
}

void PixTwoPassFilter::destroyFilterFBO() {
    if (!m_filterFramebuffer && !m_secondFilterFramebuffer)
        return;
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        if (m_filterFramebuffer) {
            glDeleteFramebuffers(1, &m_filterFramebuffer);
            m_filterFramebuffer = 0;
        }
        if (m_secondFilterFramebuffer) {
            glDeleteFramebuffers(1, &m_secondFilterFramebuffer);
            m_secondFilterFramebuffer = 0;
        }
    });
}

void PixTwoPassFilter::setFilterFBO() {
    const core::Size size = sizeOfFBO();
    if (!m_filterFramebuffer) {
        PixFilter::createFilterFBOofSize(size);
        setupFilterForSize(size);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_filterFramebuffer);
    glViewport(0, 0, PixPixelsWide(size), PixPixelsHigh(size));
}

void PixTwoPassFilter::setSecondFilterFBO() {
    const core::Size size = sizeOfFBO();
    if (!m_secondFilterFramebuffer) {
        createFilterFBOofSize(size);
        setupFilterForSize(size);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_secondFilterFramebuffer);
    glViewport(0, 0, PixPixelsWide(size), PixPixelsHigh(size));
}

void PixTwoPassFilter::renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                                   GLuint sourceTexture) {
    if (m_preventRendering)
        return;

    // A luminance-only input is already what the first pass would make of it.
    if (!m_currentlyReceivingMonochromeInput)
        PixFilter::renderToTextureWithVertices(vertices, textureCoordinates, sourceTexture);

    PixContext::setActiveShaderProgram(m_secondFilterProgram);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, 0);

    setSecondFilterFBO();
    setUniformsForProgramAtIndex(1);

    glActiveTexture(GL_TEXTURE3);
    const GLfloat* secondPassCoordinates = textureCoordinates;
    if (m_currentlyReceivingMonochromeInput) {
        glBindTexture(GL_TEXTURE_2D, sourceTexture);
    } else {
        glBindTexture(GL_TEXTURE_2D, m_outputTexture);
        secondPassCoordinates = textureCoordinatesForRotation(PixInputRotationNone).data();
    }
    glVertexAttribPointer(m_secondFilterTextureCoordinateAttribute, 2, GL_FLOAT, GL_FALSE, 0,
                          secondPassCoordinates);
    glUniform1i(m_secondFilterInputTextureUniform, 3);
    glVertexAttribPointer(m_secondFilterPositionAttribute, 2, GL_FLOAT, GL_FALSE, 0, vertices);

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);

    if (m_shouldConserveMemoryForNextFrame) {
        if (m_firstTextureDelegate)
            m_firstTextureDelegate->textureNoLongerNeededForTarget(this);
        glDeleteFramebuffers(1, &m_filterFramebuffer);
        m_filterFramebuffer = 0;
        if (m_outputTexture) {
            glDeleteTextures(1, &m_outputTexture);
            m_outputTexture = 0;
        }
        m_shouldConserveMemoryForNextFrame = false;
    }
}

std::shared_ptr<PixFilter::UniformStateRestorationBlocks>
PixTwoPassFilter::uniformStateRestorationBlocksForProgram(const GLProgram& shaderProgram) const {
    // One program serving both passes keeps its writes with the first pass.
    if (&shaderProgram == m_filterProgram.get())
        return m_uniformStateRestorationBlocks;
    return m_secondProgramUniformStateRestorationBlocks;
}

void PixTwoPassFilter::setUniformsForProgramAtIndex(unsigned programIndex) {
    const auto& blocks =
        programIndex == 0 ? *m_uniformStateRestorationBlocks : *m_secondProgramUniformStateRestorationBlocks;
    for (const auto& [uniform, block] : blocks)
        block();
}

} // namespace zm
