#pragma once

#include "framework/Source/PixMaskedBlurGroup.h"

namespace zm {

// Blurs everything outside a circle: the picture stays sharp inside, with a soft ring between.
class PixGaussianSelectiveBlurFilter : public PixMaskedBlurGroup {
public:
    static std::shared_ptr<PixGaussianSelectiveBlurFilter> create();

    // The sharp circle's radius (a fraction of the picture's width); 0.1875 at first.
    float excludeCircleRadius() const { return m_excludeCircleRadius; }
    void setExcludeCircleRadius(float newValue);
    // Its centre, 0 to 1 each way; (0.5, 0.5) at first.
    core::Point excludeCirclePoint() const { return m_excludeCirclePoint; }
    void setExcludeCirclePoint(core::Point newValue);
    // The width of the ring from sharp to blurred; 0.09375 at first.
    float excludeBlurSize() const { return m_excludeBlurSize; }
    void setExcludeBlurSize(float newValue);
    // The picture's width over its height, which keeps the circle round: it follows the input's size
    // until set by hand.
    float aspectRatio() const;
    void setAspectRatio(float newValue);

    void setInputSize(core::Size newSize, int textureIndex) override;

protected:
    PixGaussianSelectiveBlurFilter();

private:
    float m_excludeCircleRadius = 0.1875f;
    core::Point m_excludeCirclePoint{0.5f, 0.5f};
    float m_excludeBlurSize = 0.09375f;
    // On the processing queue.
    float m_aspectRatio = 1.0f;
    bool m_hasOverriddenAspectRatio = false;
    core::Size m_inputSize;
};

} // namespace zm
