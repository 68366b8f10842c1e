#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Cross-hatching on white: lines of "lineWidth" every "crossHatchSpacing" along the diagonals, one set
// below luminance 1, a crossing set below 0.75, and two more sets, halfway between, below 0.5 and 0.3.
class PixCrosshatchFilter : public PixFilter {
public:
    static std::shared_ptr<PixCrosshatchFilter> create();

    // The distance between lines, as a fraction of the picture; 0.03 at first. Raised to at least one
    // pixel of the input's width (of 2048 pixels while no input has come).
    float crossHatchSpacing() const { return m_crossHatchSpacing; }
    void setCrossHatchSpacing(float newValue);
    // The lines' width, as a fraction of the picture; 0.003 at first.
    float lineWidth() const { return m_lineWidth; }
    void setLineWidth(float newValue);

protected:
    PixCrosshatchFilter();

private:
    GLint m_crossHatchSpacingUniform = -1;
    GLint m_lineWidthUniform = -1;
    float m_crossHatchSpacing = 0.03f;
    float m_lineWidth = 0.003f;
};

} // namespace zm
