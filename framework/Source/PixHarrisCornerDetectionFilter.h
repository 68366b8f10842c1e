#pragma once

#include "framework/Source/PixFastBlurFilter.h"
#include "framework/Source/PixFilterGroup.h"
#include "framework/Source/PixThresholdedNonMaximumSuppressionFilter.h"
#include "framework/Source/PixXYDerivativeFilter.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zm {

// Finds corners: the products of the picture's derivatives are blurred, turned into a cornerness by the
// member's measure (Harris here: A B - C² - 0.04 (A + B)², with A and B the squared derivatives and C
// their product), thinned to isolated peaks above a threshold and read back. After every frame the block
// gets the corners' positions (x, y pairs, 0 to 1 from the top left), at most kMaximumCorners of them in
// reading order.
//
// The read-back is the group's frame-processing completion block: setting another one replaces it.
class PixHarrisCornerDetectionFilter : public PixFilterGroup {
public:
    // The corners (2 floats each), their number and the frame's time; called on the processing queue.
    // The array is reused by the next frame.
    using CornersDetectedBlock = std::function<void(const float* cornerArray, unsigned cornersDetected, PixFrameTime frameTime)>;
    static constexpr unsigned kMaximumCorners = 511;

    static std::shared_ptr<PixHarrisCornerDetectionFilter> create();

    // The blur of the derivatives, in texels; 1 at first.
    float blurSize() const { return m_blurFilter->blurSize(); }
    void setBlurSize(float newValue) { m_blurFilter->setBlurSize(newValue); }
    // What the cornerness is multiplied by; 5 at first (Shi-Tomasi 1.5).
    float sensitivity() const { return m_sensitivity; }
    void setSensitivity(float newValue);
    // The cornerness from which a peak is a corner; 0.2 at first.
    float threshold() const { return m_nonMaximumSuppressionFilter->threshold(); }
    void setThreshold(float newValue) { m_nonMaximumSuppressionFilter->setThreshold(newValue); }
    void setCornersDetectedBlock(CornersDetectedBlock block);

    bool wantsMonochromeInput() const override { return true; }

    // The lit pixels (red not 0) of a picture of straight RGBA rows, top first, as corner positions, in
    // reading order, at most `maximum` of them: the read-back's scan.
    static std::vector<float> cornersInPixels(const std::uint8_t* pixels, int width, int height, unsigned maximum);

protected:
    explicit PixHarrisCornerDetectionFilter(const std::string& cornerDetectionFragmentShaderString);

private:
    // What the read-back needs, shared with the suppression filter's completion block, which does not
    // keep the detector. On the processing queue.
    struct ReadBack {
        std::vector<std::uint8_t> rawImagePixels;
        std::vector<float> corners;
        CornersDetectedBlock cornersDetectedBlock;
    };
    static void extractCornerLocations(ReadBack& readBack, PixOutput& suppression, PixFrameTime frameTime);

    const std::shared_ptr<PixXYDerivativeFilter> m_derivativeFilter;
    const std::shared_ptr<PixFastBlurFilter> m_blurFilter;
    const std::shared_ptr<PixFilter> m_harrisCornerDetectionFilter;
    const std::shared_ptr<PixThresholdedNonMaximumSuppressionFilter> m_nonMaximumSuppressionFilter;
    const std::shared_ptr<ReadBack> m_readBack;
    float m_sensitivity = 5.0f;
};

} // namespace zm
