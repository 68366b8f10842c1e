#pragma once

#include "framework/Source/PixPixellateFilter.h"

namespace zm {

// A dot per block in the colour of the block's centre, on black.
class PixPolkaDotFilter : public PixPixellateFilter {
public:
    static std::shared_ptr<PixPolkaDotFilter> create();

    // The dot's diameter as a fraction of the block's width; 0.9 at first.
    float dotScaling() const { return storedFloat(m_dotScaling); }
    void setDotScaling(float newValue) { storeFloat(m_dotScaling, newValue, m_dotScalingUniform); }

protected:
    PixPolkaDotFilter();

private:
    GLint m_dotScalingUniform = -1;
    float m_dotScaling = 0.9f; // on the processing queue
};

} // namespace zm
