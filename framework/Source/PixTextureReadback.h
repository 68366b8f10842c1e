#pragma once

#include "platform/gl/GLES.h"

#include <cstdint>
#include <vector>

namespace zm {

// Reads a texture's pixels back through a framebuffer of its own, so that what is read is the texture
// itself whatever the filter before left bound. The framebuffer is made at the first read (on the
// processing queue, in its context) and kept until released.
class PixTextureReadback {
public:
    PixTextureReadback() = default;
    PixTextureReadback(const PixTextureReadback&) = delete;
    PixTextureReadback& operator=(const PixTextureReadback&) = delete;
    ~PixTextureReadback() { release(); }

    // The texture's RGBA bytes, its first row first, into `pixels` (resized to fit).
    void read(GLuint texture, GLsizei width, GLsizei height, std::vector<std::uint8_t>& pixels);
    // Deletes the framebuffer on the processing queue, from any thread; a later read makes it again.
    void release();

private:
    GLuint m_framebuffer = 0;
};

} // namespace zm
