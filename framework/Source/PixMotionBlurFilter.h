#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Nine samples along "directionalTexelStep", at -4 to +4 steps, with the Gaussian's weights.
extern const char* const PixMotionBlurVertexShader;

// A blur along one direction, as of a picture taken in motion.
class PixMotionBlurFilter : public PixFilter {
public:
    static std::shared_ptr<PixMotionBlurFilter> create();

    // The step between samples, in pixels; 2.5 at first.
    float blurSize() const;
    void setBlurSize(float newValue);
    // The direction, in degrees; 0 (across) at first.
    float blurAngle() const;
    void setBlurAngle(float newValue);

    void setInputSize(core::Size newSize, int textureIndex) override;
    void setInputRotation(PixInputRotation newInputRotation, int textureIndex) override;

protected:
    PixMotionBlurFilter();

private:
    // Sends the step for the size and turn of the input; on the processing queue.
    void recalculateStep();

    GLint m_directionalTexelStepUniform = -1;
    // On the processing queue.
    float m_blurSize = 2.5f;
    float m_blurAngle = 0.0f;
};

} // namespace zm
