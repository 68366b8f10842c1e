#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Each colour channel scaled about 0.5 by "contrast".
extern const char* const PixContrastFragmentShader;

// Spreads every colour channel away from (above 1) or towards (below 1) the middle, 0.5.
class PixContrastFilter : public PixFilter {
public:
    static std::shared_ptr<PixContrastFilter> create();

    // 1 leaves the colours as they are; 0 is flat grey.
    float contrast() const { return m_contrast; }
    void setContrast(float newValue);

protected:
    PixContrastFilter();

private:
    GLint m_contrastUniform = -1;
    float m_contrast = 1.0f;
};

} // namespace zm
