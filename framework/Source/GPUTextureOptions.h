#pragma once

#include "platform/gl/GLES.h"

namespace zm {

// How a source's output textures are sampled and stored.
struct GPUTextureOptions {
    GLenum minFilter = GL_LINEAR;
    GLenum magFilter = GL_LINEAR;
    GLenum wrapS = GL_CLAMP_TO_EDGE;
    GLenum wrapT = GL_CLAMP_TO_EDGE;
    GLenum internalFormat = GL_RGBA;
    GLenum format = GL_BGRA_EXT;
    GLenum type = GL_UNSIGNED_BYTE;
};

} // namespace zm
