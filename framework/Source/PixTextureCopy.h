#pragma once

#include "framework/Source/PixFilter.h"

#include <array>
#include <string>

namespace zm {

// Samples the input with its components taken in the order blue, green, red, alpha.
extern const char* const PixColorSwizzlingFragmentShader;

// Draws a texture over a quad of the bound framebuffer through the default vertex shader and a fragment
// shader of the caller's choice: how the sinks at the end of a graph (raw data output, display view,
// movie writer) take in each frame. The program comes from the context's cache and lives as long as
// the process, so a copy may be dropped anywhere.
//
// Construction and draw() run on the processing queue only.
class PixTextureCopy {
public:
    using Quad = std::array<GLfloat, 8>;
    // The whole clip space, (-1, -1), (1, -1), (-1, 1), (1, 1), and the texture over it unturned.
    static const Quad kFullScreenVertices;
    static const Quad kUnrotatedTextureCoordinates;

    explicit PixTextureCopy(const std::string& fragmentShaderString = PixPassthroughFragmentShader);

    // Clears the bound framebuffer's viewport to the colour, then draws the texture with the texture
    // coordinates over the vertices, as a four-vertex triangle strip.
    void draw(GLuint texture, const Quad& vertices, const Quad& textureCoordinates,
              const std::array<GLfloat, 4>& clearColour) const;

private:
    PixFilter::FilterProgram m_program;
};

} // namespace zm
