#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Gradient noise over the frame, shaded from `colorStart` (where the noise is lowest) to
// `colorFinish` (highest); the input only gives the frame its size.
class PixPerlinNoiseFilter : public PixFilter {
public:
    static std::shared_ptr<PixPerlinNoiseFilter> create();

    // Noise cells across the frame; 8 at first.
    float scale() const;
    void setScale(float newValue);
    // Opaque black and opaque white at first.
    GPUVector4 colorStart() const;
    void setColorStart(GPUVector4 newValue);
    GPUVector4 colorFinish() const;
    void setColorFinish(GPUVector4 newValue);

protected:
    PixPerlinNoiseFilter();

private:
    GLint m_scaleUniform = -1;
    GLint m_colorStartUniform = -1;
    GLint m_colorFinishUniform = -1;
    // On the processing queue.
    float m_scale = 8.0f;
    GPUVector4 m_colorStart{0, 0, 0, 1};
    GPUVector4 m_colorFinish{1, 1, 1, 1};
};

} // namespace zm
