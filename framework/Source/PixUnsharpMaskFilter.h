#pragma once

#include "framework/Source/PixMaskedBlurGroup.h"

namespace zm {

// Sharpens by taking a blurred copy away from the picture: sharp x intensity + blurred x (1 -
// intensity), alpha of the sharp picture.
class PixUnsharpMaskFilter : public PixMaskedBlurGroup {
public:
    static std::shared_ptr<PixUnsharpMaskFilter> create();

    // 1 at first (no change); above 1 sharpens.
    float intensity() const { return m_intensity; }
    void setIntensity(float newValue);

protected:
    PixUnsharpMaskFilter();

private:
    float m_intensity = 1.0f;
};

} // namespace zm
