#include "framework/Source/PixTextureReadback.h"

#include "framework/Source/PixContext.h"

namespace zm {

void PixTextureReadback::read(GLuint texture, GLsizei width, GLsizei height,
                              std::vector<std::uint8_t>& pixels) {
    pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    if (!m_framebuffer)
        glGenFramebuffers(1, &m_framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
}

void PixTextureReadback::release() {
    if (!m_framebuffer)
        return;
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        glDeleteFramebuffers(1, &m_framebuffer);
        m_framebuffer = 0;
    });
}

} // namespace zm
