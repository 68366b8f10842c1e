#pragma once

#include "framework/Source/Pix3x3TextureSamplingFilter.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace zm {

// Non-maximum suppression with a threshold: white where a pixel survives as a peak (see
// PixNonMaximumSuppressionFilter) and its response reaches the threshold, black elsewhere; alpha 1.
// The response is the red channel, or in the packed colour space b x 256 + g + r / 256, which holds
// counts larger than one channel can (the line detector's accumulator).
class PixThresholdedNonMaximumSuppressionFilter : public Pix3x3TextureSamplingFilter {
public:
    static std::shared_ptr<PixThresholdedNonMaximumSuppressionFilter> create(bool packedColorspace = false);

    // The response from which a peak counts; 0.9 at first.
    float threshold() const { return m_threshold; }
    void setThreshold(float newValue);

    // Reads the peaks just drawn, the framebuffer still bound, into `pixels` (RGBA, resized to the
    // frame: a larger frame than the last must not overrun them); answers the frame's width and height.
    std::pair<int, int> readDrawnPeaks(std::vector<std::uint8_t>& pixels) const;

protected:
    explicit PixThresholdedNonMaximumSuppressionFilter(bool packedColorspace);

private:
    GLint m_thresholdUniform = -1;
    float m_threshold = 0.9f;
};

} // namespace zm
