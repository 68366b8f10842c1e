#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Alpha times "opacity".
extern const char* const PixOpacityFragmentShader;

// Makes the picture more transparent by scaling its alpha; the colours stay.
class PixOpacityFilter : public PixFilter {
public:
    static std::shared_ptr<PixOpacityFilter> create();

    // 1 keeps the alpha; 0 makes the picture transparent.
    float opacity() const { return m_opacity; }
    void setOpacity(float newValue);

protected:
    PixOpacityFilter();

private:
    GLint m_opacityUniform = -1;
    float m_opacity = 1.0f;
};

} // namespace zm
