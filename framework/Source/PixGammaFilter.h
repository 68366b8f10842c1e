#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Each colour channel raised to the power "gamma".
extern const char* const PixGammaFragmentShader;

// Raises every colour channel to a power: above 1 darkens the middle tones, below 1 lightens them.
class PixGammaFilter : public PixFilter {
public:
    static std::shared_ptr<PixGammaFilter> create();

    // 1 leaves the colours as they are.
    float gamma() const { return m_gamma; }
    void setGamma(float newValue);

protected:
    PixGammaFilter();

private:
    GLint m_gammaUniform = -1;
    float m_gamma = 1.0f;
};

} // namespace zm
