#pragma once

#include "framework/Source/PixPixellateFilter.h"

namespace zm {

// Coarsens the picture into blocks inside a circle about the centre (`radius` in widths of the
// picture) and leaves the rest as it is.
class PixPixellatePositionFilter : public PixPixellateFilter {
public:
    static std::shared_ptr<PixPixellatePositionFilter> create();

    // 0.25 at first.
    float radius() const { return storedFloat(m_radius); }
    void setRadius(float newValue) { storeFloat(m_radius, newValue, m_radiusUniform); }

protected:
    PixPixellatePositionFilter();

private:
    GLint m_radiusUniform = -1;
    float m_radius = 0.25f; // on the processing queue
};

} // namespace zm
