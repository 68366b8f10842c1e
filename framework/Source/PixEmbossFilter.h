#pragma once

#include "framework/Source/Pix3x3ConvolutionFilter.h"

namespace zm {

// Relief: the convolution (-2i, -i, 0), (-i, 1, i), (0, i, 2i) for intensity i, lit from the top left.
class PixEmbossFilter : public Pix3x3ConvolutionFilter {
public:
    static std::shared_ptr<PixEmbossFilter> create();

    // 1 at first; 0 leaves the picture as it is.
    float intensity() const { return m_intensity; }
    void setIntensity(float newValue);

protected:
    PixEmbossFilter();

private:
    float m_intensity = 1.0f;
};

} // namespace zm
