#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// The colour scaled by its lifted or lowered luminance (weights 0.3 each).
extern const char* const PixHighlightShadowFragmentShader;

// Lifts the shadows (0 to 1) and darkens the highlights (1 to 0) of a picture. Black stays black.
class PixHighlightShadowFilter : public PixFilter {
public:
    static std::shared_ptr<PixHighlightShadowFilter> create();

    // How much the shadows are lifted; 0 leaves them.
    float shadows() const { return m_shadows; }
    void setShadows(float newValue);

    // How much of the highlights is kept; 1 leaves them.
    float highlights() const { return m_highlights; }
    void setHighlights(float newValue);

protected:
    PixHighlightShadowFilter();

private:
    GLint m_shadowsUniform = -1;
    GLint m_highlightsUniform = -1;
    float m_shadows = 0.0f;
    float m_highlights = 1.0f;
};

} // namespace zm
