#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The base and the overlay mixed by `mix`, all four channels: 0 is the base, 1 the overlay. The base is the
// first input, the overlay the second.
class PixDissolveBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixDissolveBlendFilter> create();

    // 0.5 at first.
    float mix() const { return m_mix; }
    void setMix(float newValue);

protected:
    PixDissolveBlendFilter();

private:
    GLint m_mixUniform = -1;
    float m_mix = 0.5f;
};

} // namespace zm
