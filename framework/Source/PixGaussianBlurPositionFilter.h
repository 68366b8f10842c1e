#pragma once

#include "framework/Source/PixSeparableBlurFilter.h"

namespace zm {

// The Gaussian blur inside a circle only; outside it the picture stays sharp.
class PixGaussianBlurPositionFilter : public PixSeparableBlurFilter {
public:
    static std::shared_ptr<PixGaussianBlurPositionFilter> create();

    // The circle's centre, in the picture from 0 to 1 each way; (0.5, 0.5) at first.
    core::Point blurCenter() const;
    void setBlurCenter(core::Point newValue);
    // Its radius as a fraction of the picture's width; 1 at first.
    float blurRadius() const;
    void setBlurRadius(float newValue);
    // The picture's height over its width (as drawn), which keeps the circle round; follows the size.
    float aspectRatio() const;
    void setAspectRatio(float newValue);

    void setInputSize(core::Size newSize, int textureIndex) override;
    void setInputRotation(PixInputRotation newInputRotation, int textureIndex) override;
    void forceProcessingAtSize(core::Size frameSize) override;

protected:
    PixGaussianBlurPositionFilter();

private:
    // On the processing queue.
    void adjustAspectRatio();

    GLint m_blurCenterUniform = -1;
    GLint m_blurRadiusUniform = -1;
    GLint m_aspectRatioUniform = -1;
    // On the processing queue.
    core::Point m_blurCenter{0.5f, 0.5f};
    float m_blurRadius = 1.0f;
    float m_aspectRatio = 1.0f;
};

} // namespace zm
