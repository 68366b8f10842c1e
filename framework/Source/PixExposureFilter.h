#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Each colour channel times 2 to the power "exposure".
extern const char* const PixExposureFragmentShader;

// Multiplies every colour channel by 2 to the power of the exposure, in photographic stops.
class PixExposureFilter : public PixFilter {
public:
    static std::shared_ptr<PixExposureFilter> create();

    // 0 leaves the colours as they are; each step doubles or halves them.
    float exposure() const { return m_exposure; }
    void setExposure(float newValue);

protected:
    PixExposureFilter();

private:
    GLint m_exposureUniform = -1;
    float m_exposure = 0.0f;
};

} // namespace zm
