#pragma once

#include "framework/Source/PixFilterGroup.h"
#include "framework/Source/PixParallelCoordinateLineTransformFilter.h"
#include "framework/Source/PixThresholdEdgeDetectionFilter.h"
#include "framework/Source/PixThresholdedNonMaximumSuppressionFilter.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace zm {

// Finds straight lines: edges (the threshold edge filter at 0.4) vote in a parallel-coordinate
// accumulator, whose isolated peaks above `lineDetectionThreshold` are read back. After every frame the
// block gets each line as (slope, intercept) in coordinates from -1 to 1, at most kMaximumLines of them
// in reading order; a vertical line has slope 100000 and its x as the intercept.
//
// The read-back is the group's frame-processing completion block: setting another one replaces it.
class PixHoughTransformLineDetector : public PixFilterGroup {
public:
    // The lines (2 floats each), their number and the frame's time; called on the processing queue. The
    // array is reused by the next frame.
    using LinesDetectedBlock = std::function<void(const float* lineArray, unsigned linesDetected, PixFrameTime frameTime)>;
    static constexpr unsigned kMaximumLines = 1023;

    static std::shared_ptr<PixHoughTransformLineDetector> create();

    // Kept for callers; the edge filter's threshold stays 0.4.
    float edgeThreshold() const { return m_edgeThreshold; }
    void setEdgeThreshold(float newValue) { m_edgeThreshold = newValue; }
    // The accumulator's count from which a peak is a line; 0.8 at first.
    float lineDetectionThreshold() const { return m_nonMaximumSuppressionFilter->threshold(); }
    void setLineDetectionThreshold(float newValue) { m_nonMaximumSuppressionFilter->setThreshold(newValue); }
    void setLinesDetectedBlock(LinesDetectedBlock block);

    bool wantsMonochromeInput() const override { return true; }

    // The lit pixels (red not 0) of an accumulator of straight RGBA rows, top first, as (slope,
    // intercept) pairs in reading order, at most `maximum` of them: the read-back's scan.
    static std::vector<float> linesInPixels(const std::uint8_t* pixels, int width, int height, unsigned maximum);

protected:
    PixHoughTransformLineDetector();

private:
    // What the read-back needs, shared with the suppression filter's completion block, which does not
    // keep the detector. On the processing queue.
    struct ReadBack {
        std::vector<std::uint8_t> rawImagePixels;
        std::vector<float> lines;
        LinesDetectedBlock linesDetectedBlock;
    };
    static void extractLineParameters(ReadBack& readBack, PixOutput& suppression, PixFrameTime frameTime);

    const std::shared_ptr<PixThresholdEdgeDetectionFilter> m_thresholdEdgeDetectionFilter;
    const std::shared_ptr<PixParallelCoordinateLineTransformFilter> m_parallelCoordinateLineTransformFilter;
    const std::shared_ptr<PixThresholdedNonMaximumSuppressionFilter> m_nonMaximumSuppressionFilter;
    const std::shared_ptr<ReadBack> m_readBack;
    float m_edgeThreshold = 0.4f;
};

} // namespace zm
