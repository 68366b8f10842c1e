#pragma once

#include "framework/Source/PixFilter.h"
#include "framework/Source/PixTextureReadback.h"

#include <cstdint>
#include <vector>

namespace zm {

// The voting stage of the line detector: every second edge pixel (red not 0, in reading order) at
// (x', y'), both -1 to 1, is drawn into the accumulator as two segments, from (-1, -y') to (0, x') and
// from there to (1, y'). Points on one straight line meet in one accumulator pixel. Where the device reads
// its framebuffer in shaders, each segment counts one tenth in red, carrying into green and blue; else
// each adds 1/250 to every channel.
//
// At most a quarter of the input's pixel count of segment pairs are drawn (none under 4 pixels); past
// that, each further point replaces the last one.
class PixParallelCoordinateLineTransformFilter : public PixFilter {
public:
    static std::shared_ptr<PixParallelCoordinateLineTransformFilter> create();

    // PixInput
    void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) override;
    void destroyFilterFBO() override;

protected:
    PixParallelCoordinateLineTransformFilter();

private:
    void generateLineCoordinates(GLsizei width, GLsizei height);
    void renderLines();

    // On the processing queue, sized for each frame.
    PixTextureReadback m_inputReadback;
    std::vector<std::uint8_t> m_rawImagePixels;
    std::vector<GLfloat> m_lineCoordinates;
    unsigned m_maxLinePairsToRender = 0;
    unsigned m_linePairsToRender = 0;
};

} // namespace zm
