#pragma once

#include "framework/Source/PixMaskedBlurGroup.h"

namespace zm {

// A sharp horizontal band between two heights, blurred above and below, as a tilted lens makes a scene
// look like a model.
class PixTiltShiftFilter : public PixMaskedBlurGroup {
public:
    static std::shared_ptr<PixTiltShiftFilter> create();

    // Where the sharp band starts, 0 (top) to 1; 0.4 at first.
    float topFocusLevel() const { return m_topFocusLevel; }
    void setTopFocusLevel(float newValue);
    // Where it ends; 0.6 at first.
    float bottomFocusLevel() const { return m_bottomFocusLevel; }
    void setBottomFocusLevel(float newValue);
    // How far from the band the blur reaches its full strength; 0.2 at first.
    float focusFallOffRate() const { return m_focusFallOffRate; }
    void setFocusFallOffRate(float newValue);

protected:
    PixTiltShiftFilter();

private:
    float m_topFocusLevel = 0.4f;
    float m_bottomFocusLevel = 0.6f;
    float m_focusFallOffRate = 0.2f;
};

} // namespace zm
