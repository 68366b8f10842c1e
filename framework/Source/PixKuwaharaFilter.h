#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// The Kuwahara body over the four quadrants of "radius" steps, for a declaration of `radius` (a
// uniform int, or a constant) put before it: each pixel becomes the mean colour of the quadrant whose
// colours vary least, alpha 1. The steps are a fixed (1/768, 1/1024) of the picture, whatever its size.
extern const char* const PixKuwaharaFragmentShaderBody;

// An oil-painting look that keeps edges: every pixel takes the mean colour of the quietest of the four
// quadrants around it.
class PixKuwaharaFilter : public PixFilter {
public:
    static std::shared_ptr<PixKuwaharaFilter> create();

    // The quadrants' side in steps; 3 at first. Its cost grows with the square: above 16 it acts as 16.
    unsigned radius() const { return m_radius; }
    void setRadius(unsigned newValue);

    static constexpr unsigned kLargestRadius = 16;

protected:
    PixKuwaharaFilter();

private:
    GLint m_radiusUniform = -1;
    unsigned m_radius = 3;
};

} // namespace zm
