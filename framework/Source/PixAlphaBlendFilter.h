#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The overlay laid over the base by its own alpha times `mix`; alpha of the base. The base is the first
// input, the overlay the second.
class PixAlphaBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixAlphaBlendFilter> create();

    // 0.5 at first.
    float mix() const { return m_mix; }
    void setMix(float newValue);

protected:
    PixAlphaBlendFilter();

private:
    GLint m_mixUniform = -1;
    float m_mix = 0.5f;
};

} // namespace zm
