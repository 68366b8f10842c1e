#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Alpha lowered where the colour's chroma (Cr, Cb) lies near that of "colorToReplace".
extern const char* const PixChromaKeyFragmentShader;

// Makes a key colour (green at first) transparent: pixels whose chroma lies within the threshold of
// the key's vanish, those beyond the threshold and the smoothing stay, and the ones between fade.
class PixChromaKeyFilter : public PixFilter {
public:
    static std::shared_ptr<PixChromaKeyFilter> create();

    // 0.4 at first.
    float thresholdSensitivity() const { return m_thresholdSensitivity; }
    void setThresholdSensitivity(float newValue);
    // 0.1 at first.
    float smoothing() const { return m_smoothing; }
    void setSmoothing(float newValue);
    void setColorToReplaceRed(GLfloat redComponent, GLfloat greenComponent, GLfloat blueComponent);

protected:
    PixChromaKeyFilter();

private:
    GLint m_thresholdSensitivityUniform = -1;
    GLint m_smoothingUniform = -1;
    GLint m_colorToReplaceUniform = -1;
    float m_thresholdSensitivity = 0.4f;
    float m_smoothing = 0.1f;
};

} // namespace zm
