#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// "firstColor" mixed towards "secondColor" by the luminance.
extern const char* const PixFalseColorFragmentShader;

// Paints the picture between two colours: the dark parts in the first, the light parts in the second.
class PixFalseColorFilter : public PixFilter {
public:
    static std::shared_ptr<PixFalseColorFilter> create();

    // Dark blue (0, 0, 0.5, 1) at first; the alpha is not used.
    const GPUVector4& firstColor() const { return m_firstColor; }
    void setFirstColor(const GPUVector4& newValue);
    void setFirstColorRed(GLfloat redComponent, GLfloat greenComponent, GLfloat blueComponent);
    // Red (1, 0, 0, 1) at first.
    const GPUVector4& secondColor() const { return m_secondColor; }
    void setSecondColor(const GPUVector4& newValue);
    void setSecondColorRed(GLfloat redComponent, GLfloat greenComponent, GLfloat blueComponent);

protected:
    PixFalseColorFilter();

private:
    GLint m_firstColorUniform = -1;
    GLint m_secondColorUniform = -1;
    GPUVector4 m_firstColor{0.0f, 0.0f, 0.5f, 1.0f};
    GPUVector4 m_secondColor{1.0f, 0.0f, 0.0f, 1.0f};
};

} // namespace zm
