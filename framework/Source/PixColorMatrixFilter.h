#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Each output channel k is the dot product of the input colour (alpha included) with row k of
// "colorMatrix", mixed with the input by "intensity".
extern const char* const PixColorMatrixFragmentShader;

// Transforms every colour by a 4 x 4 matrix: row one makes red, two green, three blue, four alpha. The
// result is mixed with the input by the intensity.
class PixColorMatrixFilter : public PixFilter {
public:
    static std::shared_ptr<PixColorMatrixFilter> create();

    // The identity at first.
    const GPUMatrix4x4& colorMatrix() const { return m_colorMatrix; }
    void setColorMatrix(const GPUMatrix4x4& newValue);
    // 1 at first: the matrix's colour alone; 0 gives the input.
    float intensity() const { return m_intensity; }
    void setIntensity(float newValue);

    static constexpr GPUMatrix4x4 kIdentity{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

protected:
    PixColorMatrixFilter();

private:
    GLint m_colorMatrixUniform = -1;
    GLint m_intensityUniform = -1;
    GPUMatrix4x4 m_colorMatrix = kIdentity;
    float m_intensity = 1.0f;
};

} // namespace zm
