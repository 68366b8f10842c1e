#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// The colour mixed with its grey of the same luminance by "saturation".
extern const char* const PixSaturationFragmentShader;

// Moves every colour away from (above 1) or towards (below 1) its grey of the same luminance; 0 is grey.
class PixSaturationFilter : public PixFilter {
public:
    static std::shared_ptr<PixSaturationFilter> create();

    // 1 leaves the colours as they are.
    float saturation() const { return m_saturation; }
    void setSaturation(float newValue);

protected:
    PixSaturationFilter();

private:
    GLint m_saturationUniform = -1;
    float m_saturation = 1.0f;
};

} // namespace zm
