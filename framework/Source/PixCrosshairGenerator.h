#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Draws a small cross at each of the given points on a transparent frame and hands it on at once: the
// caller gives the points and the time instead of a source giving frames. The frame's size is the
// forced one (forceProcessingAtSize), or an input's.
class PixCrosshairGenerator : public PixFilter {
public:
    static std::shared_ptr<PixCrosshairGenerator> create();

    // `count` points (x, y), each 0 to 1 across the frame from its top-left corner.
    void renderCrosshairsFromArray(const GLfloat* crosshairCoordinates, unsigned count, PixFrameTime frameTime);

    // The cross's span in pixels (its square is one pixel more); 5 at first.
    float crosshairWidth() const;
    void setCrosshairWidth(float newValue);
    // (0, 1, 0) at first.
    void setCrosshairColorRed(GLfloat red, GLfloat green, GLfloat blue);

protected:
    PixCrosshairGenerator();

    // Frames from a source are not drawn: crosshairs are.
    void renderToTextureWithVertices(const GLfloat*, const GLfloat*, GLuint) override {}

private:
    GLint m_crosshairWidthUniform = -1;
    GLint m_crosshairColorUniform = -1;
    float m_crosshairWidth = 5.0f; // on the processing queue
};

} // namespace zm
