#include "framework/Source/PixRenderTarget.h"

#include "framework/Source/PixContext.h"
#include "platform/core/Log.h"

#include <cassert>
#include <cstring>

namespace zm {

std::unique_ptr<PixRenderTarget> PixRenderTarget::create(int width, int height) {
    assert(PixContext::isOnContextQueue());
    if (width < 1 || height < 1 || !PixContext::useImageProcessingContext())
        return nullptr;
    std::unique_ptr<PixRenderTarget> target(new PixRenderTarget(width, height));
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        core::log(core::LogLevel::Error, "Incomplete filter FBO: " + std::to_string(status));
        return nullptr;
    }
    return target;
}

PixRenderTarget::PixRenderTarget(int width, int height)
    : m_width(width)
    , m_height(height) {
    glActiveTexture(GL_TEXTURE1);
    glGenFramebuffers(1, &m_framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    glGenTextures(1, &m_texture);
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_texture, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

PixRenderTarget::~PixRenderTarget() {
    assert(PixContext::isOnContextQueue());
    PixContext::useImageProcessingContext();
    glDeleteFramebuffers(1, &m_framebuffer);
    glDeleteTextures(1, &m_texture);
}

void PixRenderTarget::bind() const {
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    glViewport(0, 0, m_width, m_height);
}

void PixRenderTarget::readPixels(std::uint8_t* destination, std::size_t bytesPerRow) const {
    const std::size_t packedRow = static_cast<std::size_t>(m_width) * 4;
    assert(bytesPerRow >= packedRow);
    bind();
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // OpenGL ES reads rows packed; spread them out to their padded places from the last one back, so
    // that no row is overwritten before it has moved.
    glReadPixels(0, 0, m_width, m_height, GL_RGBA, GL_UNSIGNED_BYTE, destination);
    if (bytesPerRow == packedRow)
        return;
    for (int row = m_height - 1; row > 0; --row)
        std::memmove(destination + row * bytesPerRow, destination + row * packedRow, packedRow);
}

} // namespace zm
