#pragma once

#include "framework/Source/PixGaussianBlurFilter.h"

namespace zm {

// An edge-keeping blur: each of the Gaussian's samples counts less the more its colour differs from the
// pixel's, and not at all from a difference of 1 / distanceNormalizationFactor on.
class PixBilateralFilter : public PixGaussianBlurFilter {
public:
    static std::shared_ptr<PixBilateralFilter> create();

    // 8 at first; higher keeps more edges.
    float distanceNormalizationFactor() const { return m_distanceNormalizationFactor; }
    void setDistanceNormalizationFactor(float newValue);

protected:
    PixBilateralFilter();

private:
    GLint m_firstDistanceNormalizationFactorUniform = -1;
    GLint m_secondDistanceNormalizationFactorUniform = -1;
    float m_distanceNormalizationFactor = 8.0f;
};

} // namespace zm
