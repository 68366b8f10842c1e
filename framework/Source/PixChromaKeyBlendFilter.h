#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// Shows the overlay where the base is near a key colour (green at first): pixels whose chroma lies
// within the threshold of the key's take the overlay, those beyond the threshold and the smoothing keep
// the base, the ones between mix. The base is the first input, the overlay the second.
class PixChromaKeyBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixChromaKeyBlendFilter> create();

    // 0.4 at first.
    float thresholdSensitivity() const { return m_thresholdSensitivity; }
    void setThresholdSensitivity(float newValue);
    // 0.1 at first.
    float smoothing() const { return m_smoothing; }
    void setSmoothing(float newValue);
    void setColorToReplaceRed(GLfloat redComponent, GLfloat greenComponent, GLfloat blueComponent);

protected:
    PixChromaKeyBlendFilter();

private:
    GLint m_thresholdSensitivityUniform = -1;
    GLint m_smoothingUniform = -1;
    GLint m_colorToReplaceUniform = -1;
    float m_thresholdSensitivity = 0.4f;
    float m_smoothing = 0.1f;
};

} // namespace zm
