#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Darkens (or tints) the picture towards its edges: with d the distance of the texture coordinate
// from "vignetteCenter", the colour is mixed with "vignetteColor" by smoothstep(vignetteStart,
// vignetteEnd, d); alpha kept.
class PixVignetteFilter : public PixFilter {
public:
    static std::shared_ptr<PixVignetteFilter> create();

    // In texture coordinates, as the input comes (not turned); (0.5, 0.5) at first.
    core::Point vignetteCenter() const { return m_vignetteCenter; }
    void setVignetteCenter(core::Point newValue);
    // Black at first.
    GPUVector3 vignetteColor() const { return m_vignetteColor; }
    void setVignetteColor(GPUVector3 newValue);
    // The distances where the tint begins and where it is whole; 0.3 and 0.75 at first.
    float vignetteStart() const { return m_vignetteStart; }
    void setVignetteStart(float newValue);
    float vignetteEnd() const { return m_vignetteEnd; }
    void setVignetteEnd(float newValue);

protected:
    PixVignetteFilter();

private:
    GLint m_vignetteCenterUniform = -1;
    GLint m_vignetteColorUniform = -1;
    GLint m_vignetteStartUniform = -1;
    GLint m_vignetteEndUniform = -1;
    core::Point m_vignetteCenter{0.5f, 0.5f};
    GPUVector3 m_vignetteColor{0.0f, 0.0f, 0.0f};
    float m_vignetteStart = 0.3f;
    float m_vignetteEnd = 0.75f;
};

} // namespace zm
