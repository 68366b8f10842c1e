#pragma once

#include "framework/Source/PixAverageColor.h"
#include "framework/Source/PixFilterGroup.h"
#include "framework/Source/PixLowPassFilter.h"
#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// Reports where and how much a stream moves: a pixel moves when its colour is at least 0.2 away from its
// running average (PixLowPassFilter). After every frame the block gets the centroid of the moving pixels
// (texture coordinates, 0 to 1) and the share of the picture that moves; with nothing moving the share
// is 0 and the centroid not a number. The output is the comparison: (x, y, 1, 1) where a pixel at (x, y)
// moves, transparent black elsewhere.
class PixMotionDetector : public PixFilterGroup {
public:
    // Called on the processing queue.
    using MotionDetectionBlock = std::function<void(core::Point motionCentroid, float motionIntensity, PixFrameTime frameTime)>;

    static std::shared_ptr<PixMotionDetector> create();

    // The running average's strength, 0 to 1; 0.5 at first.
    float lowPassFilterStrength() const { return m_lowPassFilter->filterStrength(); }
    void setLowPassFilterStrength(float newValue) { m_lowPassFilter->setFilterStrength(newValue); }
    void setMotionDetectionBlock(MotionDetectionBlock block);

protected:
    PixMotionDetector();

private:
    const std::shared_ptr<PixLowPassFilter> m_lowPassFilter;
    const std::shared_ptr<PixTwoInputFilter> m_frameComparisonFilter;
    const std::shared_ptr<PixAverageColor> m_averageColor;
    // Shared with the average colour's block, which does not keep the detector. On the processing queue.
    const std::shared_ptr<MotionDetectionBlock> m_motionDetectionBlock;
};

} // namespace zm
