#pragma once

#include "framework/Source/PixFilter.h"
#include "framework/Source/PixTextureReadback.h"

#include <cstdint>
#include <vector>

namespace zm {

// What a histogram counts: one channel, all three side by side in their own colours, or the luminance.
enum PixHistogramType {
    kPixHistogramRed = 0,
    kPixHistogramGreen = 1,
    kPixHistogramBlue = 2,
    kPixHistogramRGB = 3,
    kPixHistogramLuminance = 4,
};

// The histogram of each frame, drawn on the GPU: the frame is read back and every sampled pixel is drawn
// as one point at its value's column of a 256 x 3 picture, adding 1/256 to that column, so that the
// middle row holds the counts (a bin is full at 256 samples). The output is that 256 x 3 picture, for
// PixHistogramGenerator to draw as bars. The input's turn is ignored.
class PixHistogramFilter : public PixFilter {
public:
    static std::shared_ptr<PixHistogramFilter> create(PixHistogramType histogramType = kPixHistogramRGB);

    PixHistogramType histogramType() const { return m_histogramType; }
    // Every how many pixels one is sampled; 16 at first (0 acts as 1).
    unsigned downsamplingFactor() const { return m_downsamplingFactor; }
    void setDownsamplingFactor(unsigned newValue) { m_downsamplingFactor = newValue; }

    core::Size sizeOfFBO() const override { return {256, 3}; }
    core::Size outputFrameSize() const override { return {256, 3}; }

    // PixInput
    void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) override;
    void setInputRotation(PixInputRotation, int) override {}
    void destroyFilterFBO() override;

protected:
    explicit PixHistogramFilter(PixHistogramType histogramType);

private:
    void drawSamples(GLuint positionAttribute, GLsizei sampleCount, GLsizei stride);

    const PixHistogramType m_histogramType;
    unsigned m_downsamplingFactor = 16;
    // The green and blue programs of the all-channels histogram.
    FilterProgram m_secondFilterProgram;
    FilterProgram m_thirdFilterProgram;
    // On the processing queue: where the input is read back from, and its bytes (sized for each frame).
    PixTextureReadback m_inputReadback;
    std::vector<std::uint8_t> m_vertexSamplingCoordinates;
};

} // namespace zm
