#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Sharpens: the pixel times (1 + 4 sharpness) less its four direct neighbours times the sharpness.
class PixSharpenFilter : public PixFilter {
public:
    static std::shared_ptr<PixSharpenFilter> create();

    // 0 at first (no change); -4 to 4 is useful.
    float sharpness() const { return m_sharpness; }
    void setSharpness(float newValue);

protected:
    PixSharpenFilter();

    // The neighbours one pixel of the framebuffer away, across the input's turn.
    void setupFilterForSize(core::Size filterFrameSize) override;

private:
    GLint m_sharpnessUniform = -1;
    GLint m_imageWidthFactorUniform = -1;
    GLint m_imageHeightFactorUniform = -1;
    float m_sharpness = 0.0f;
};

} // namespace zm
