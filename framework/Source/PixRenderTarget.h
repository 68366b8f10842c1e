#pragma once

#include "platform/gl/GLES.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace zm {

// A framebuffer whose colour is a texture of its own, of one size: what a sink at the end of a graph
// renders into before it reads the picture back.
//
// On the processing queue only, destruction included (it deletes the framebuffer and the texture).
class PixRenderTarget {
public:
    // nullptr, logged, when GL cannot complete a framebuffer of that size.
    static std::unique_ptr<PixRenderTarget> create(int width, int height);
    ~PixRenderTarget();
    PixRenderTarget(const PixRenderTarget&) = delete;
    PixRenderTarget& operator=(const PixRenderTarget&) = delete;

    int width() const { return m_width; }
    int height() const { return m_height; }
    GLuint texture() const { return m_texture; }

    // Binds the framebuffer and sets the viewport to the whole of it.
    void bind() const;
    // Reads the framebuffer as red, green, blue, alpha bytes into rows `bytesPerRow` apart (at least
    // four bytes a pixel), bottom row of the framebuffer first. `destination` holds height rows.
    void readPixels(std::uint8_t* destination, std::size_t bytesPerRow) const;

private:
    PixRenderTarget(int width, int height);

    int m_width;
    int m_height;
    GLuint m_framebuffer = 0;
    GLuint m_texture = 0;
};

} // namespace zm
