#pragma once

#include "framework/Source/PixFilter.h"

#include <vector>

namespace zm {

// Draws straight lines across a transparent frame, adding where they cross, and hands the frame on at
// once: the caller gives the lines and the time instead of a source giving frames. The frame's size is
// the forced one (forceProcessingAtSize), or an input's.
class PixLineGenerator : public PixFilter {
public:
    static constexpr unsigned kMaximumLines = 1024;

    static std::shared_ptr<PixLineGenerator> create();

    // `count` pairs (slope, intercept) in the frame's -1 to 1 each way: y = slope * x + intercept, or a
    // vertical line at x = intercept for a slope above 9000. The first 1024 lines are drawn; more are
    // logged and left out.
    void renderLinesFromArray(const GLfloat* lineSlopeAndIntercepts, unsigned count, PixFrameTime frameTime);

    // In pixels; 1 at first.
    float lineWidth() const;
    void setLineWidth(float newValue);
    // (0, 1, 0) at first.
    void setLineColorRed(GLfloat red, GLfloat green, GLfloat blue);

protected:
    PixLineGenerator();

    // Frames from a source are not drawn: lines are.
    void renderToTextureWithVertices(const GLfloat*, const GLfloat*, GLuint) override {}

private:
    GLint m_lineColorUniform = -1;
    // On the processing queue.
    float m_lineWidth = 1.0f;
    std::vector<GLfloat> m_lineCoordinates; // two vertices a line, made on first use
};

} // namespace zm
