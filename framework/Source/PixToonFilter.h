#pragma once

#include "framework/Source/Pix3x3TextureSamplingFilter.h"

namespace zm {

// Cartoon shading: each colour channel posterised to "quantizationLevels" steps (floor(c x levels +
// 0.5) / levels), and black lines where the Sobel magnitude of the red channel over the 3 x 3
// neighbourhood reaches "threshold"; alpha kept.
extern const std::string PixToonFragmentShader;

// Draws the picture as a cartoon: flat bands of colour outlined in black. The edges are found in the
// red channel, so a luminance-like picture outlines best.
class PixToonFilter : public Pix3x3TextureSamplingFilter {
public:
    static std::shared_ptr<PixToonFilter> create();

    // The gradient from which a pixel is drawn as an outline; 0.2 at first.
    float threshold() const { return m_threshold; }
    void setThreshold(float newValue);
    // How many steps each channel is cut into; 10 at first. Fewer than 1 act as 1.
    float quantizationLevels() const { return m_quantizationLevels; }
    void setQuantizationLevels(float newValue);

protected:
    PixToonFilter();

private:
    GLint m_thresholdUniform = -1;
    GLint m_quantizationLevelsUniform = -1;
    float m_threshold = 0.2f;
    float m_quantizationLevels = 10.0f;
};

} // namespace zm
