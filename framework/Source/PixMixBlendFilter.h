#pragma once

#include "framework/Source/PixTwoInputFilter.h"

#include <string_view>

namespace zm {

// A blend of the base (the first input) and the overlay (the second) by a proportion `mix`.
class PixMixBlendFilter : public PixTwoInputFilter {
public:
    // 0.5 at first.
    float mix() const { return m_mix; }
    void setMix(float newValue);

protected:
    // `blended` is the colour written, from `base`, `overlay` and `mixturePercent`.
    explicit PixMixBlendFilter(std::string_view blended);

private:
    GLint m_mixUniform = -1;
    float m_mix = 0.5f;
};

} // namespace zm
