#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// White where the luminance reaches "threshold", black elsewhere; alpha kept.
extern const char* const PixLuminanceThresholdFragmentShader;

// Turns every pixel white when its luminance reaches the threshold, black below it.
class PixLuminanceThresholdFilter : public PixFilter {
public:
    static std::shared_ptr<PixLuminanceThresholdFilter> create();

    // The luminance, 0 to 1, from which pixels are white.
    float threshold() const { return m_threshold; }
    void setThreshold(float newValue);

protected:
    PixLuminanceThresholdFilter();

private:
    GLint m_thresholdUniform = -1;
    float m_threshold = 0.5f;
};

} // namespace zm
