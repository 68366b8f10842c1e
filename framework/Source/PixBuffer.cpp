#include "framework/Source/PixBuffer.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/PixContext.h"

#include <algorithm>

namespace zm {

std::shared_ptr<PixBuffer> PixBuffer::create() {
    return std::shared_ptr<PixBuffer>(new PixBuffer);
}

PixBuffer::PixBuffer()
    : PixFilter(PixDefaultVertexShader, PixPassthroughFragmentShader) {}

PixBuffer::~PixBuffer() {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        deleteBufferedTextures(0);
    });
}

unsigned PixBuffer::bufferSize() const {
    unsigned size = 0;
    runSynchronouslyOnContextQueue([&] { size = m_bufferSize; });
    return size;
}

void PixBuffer::setBufferSize(unsigned newValue) {
    runSynchronouslyOnContextQueue([&] {
        if (newValue == 0 || newValue == m_bufferSize)
            return;
        PixContext::useImageProcessingContext();
        m_bufferSize = newValue;
        if (m_bufferedTextures.empty())
            return; // made at the first frame
        while (m_bufferedTextures.size() < m_bufferSize)
            m_bufferedTextures.push_back(newClearedTexture(m_bufferedTexturesSize));
        deleteBufferedTextures(m_bufferSize);
    });
}

GLuint PixBuffer::textureForOutput() const {
    return m_bufferedTextures.empty() ? 0 : m_bufferedTextures.front();
}

GLuint PixBuffer::newClearedTexture(core::Size size) {
    const GPUTextureOptions& options = outputTextureOptions();
    GLuint texture = 0;
    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(options.minFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(options.magFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(options.wrapS));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(options.wrapT));
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(options.internalFormat), PixPixelsWide(size),
                 PixPixelsHigh(size), 0, options.format, options.type, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    // Undrawn storage holds whatever the driver had; the first frames read it.
    bindFramebufferTo(texture, size);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    return texture;
}

void PixBuffer::bindFramebufferTo(GLuint texture, core::Size size) {
    if (!m_filterFramebuffer)
        glGenFramebuffers(1, &m_filterFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, m_filterFramebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glViewport(0, 0, PixPixelsWide(size), PixPixelsHigh(size));
}

void PixBuffer::deleteBufferedTextures(std::size_t keep) {
    while (m_bufferedTextures.size() > keep) {
        glDeleteTextures(1, &m_bufferedTextures.back());
        m_bufferedTextures.pop_back();
    }
}

void PixBuffer::resizeTexturesIfNeeded(core::Size size) {
    if (size == m_bufferedTexturesSize && m_bufferedTextures.size() == m_bufferSize)
        return;
    deleteBufferedTextures(0);
    m_bufferedTexturesSize = size;
    while (m_bufferedTextures.size() < m_bufferSize)
        m_bufferedTextures.push_back(newClearedTexture(size));
    notifyTargetsAboutNewOutputTexture();
}

void PixBuffer::setOutputFBO() {
    if (!m_bufferedTextures.empty())
        bindFramebufferTo(m_bufferedTextures.front(), m_bufferedTexturesSize);
}

void PixBuffer::endProcessing() {
    if (m_endingProcessing)
        return;
    m_endingProcessing = true;
    PixFilter::endProcessing();
    m_endingProcessing = false;
}

void PixBuffer::newFrameReadyAtTime(PixFrameTime frameTime, int) {
    const core::Size size = sizeOfFBO();
    if (m_preventRendering || PixPixelsWide(size) < 1 || PixPixelsHigh(size) < 1)
        return;
    resizeTexturesIfNeeded(size);

    // Targets draw from the oldest frame first.
    m_outputTextureRetainCount = static_cast<unsigned>(m_targets.size());
    notifyTargetsAboutNewOutputTexture();
    informTargetsAboutNewFrameAtTime(frameTime);

    if (m_bufferedTextures.size() < 2)
        glFinish();
    else
        std::rotate(m_bufferedTextures.begin(), m_bufferedTextures.begin() + 1, m_bufferedTextures.end());

    PixContext::setActiveShaderProgram(m_filterProgram);
    bindFramebufferTo(m_bufferedTextures.back(), size);
    setUniformsForProgramAtIndex(0);
    glClearColor(m_backgroundColor[0], m_backgroundColor[1], m_backgroundColor[2], m_backgroundColor[3]);
    glClear(GL_COLOR_BUFFER_BIT);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, m_filterSourceTexture);
    glUniform1i(m_filterInputTextureUniform, 2);
    glVertexAttribPointer(m_filterPositionAttribute, 2, GL_FLOAT, GL_FALSE, 0, fullScreenQuadVertices());
    glVertexAttribPointer(m_filterTextureCoordinateAttribute, 2, GL_FLOAT, GL_FALSE, 0,
                          textureCoordinatesForRotation(m_inputRotation).data());
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

} // namespace zm
