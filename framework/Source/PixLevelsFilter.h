#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Per channel: stretched from ["levelMinimum", "levelMaximum"] to 0..1, raised to 1 / "levelMiddle",
// and placed between "minOutput" and "maxOutput".
extern const char* const PixLevelsFragmentShader;

// Photographic levels, per colour channel: input black and white points, a gamma for the middle
// tones, and output black and white points. At first every channel maps 0..1 to 0..1 unchanged.
class PixLevelsFilter : public PixFilter {
public:
    static std::shared_ptr<PixLevelsFilter> create();

    // All three channels alike.
    void setMin(GLfloat min, GLfloat gamma, GLfloat max, GLfloat minOut, GLfloat maxOut);
    void setMin(GLfloat min, GLfloat gamma, GLfloat max);
    // One channel; without output points the output spans 0 to 1.
    void setRedMin(GLfloat min, GLfloat gamma, GLfloat max, GLfloat minOut, GLfloat maxOut);
    void setRedMin(GLfloat min, GLfloat gamma, GLfloat max);
    void setGreenMin(GLfloat min, GLfloat gamma, GLfloat max, GLfloat minOut, GLfloat maxOut);
    void setGreenMin(GLfloat min, GLfloat gamma, GLfloat max);
    void setBlueMin(GLfloat min, GLfloat gamma, GLfloat max, GLfloat minOut, GLfloat maxOut);
    void setBlueMin(GLfloat min, GLfloat gamma, GLfloat max);

protected:
    PixLevelsFilter();

private:
    // The five values of one channel (0 red, 1 green, 2 blue), then all five vectors to the shader.
    void setChannel(int channel, GLfloat min, GLfloat gamma, GLfloat max, GLfloat minOut, GLfloat maxOut);
    void updateUniforms();

    GLint m_minUniform = -1;
    GLint m_midUniform = -1;
    GLint m_maxUniform = -1;
    GLint m_minOutputUniform = -1;
    GLint m_maxOutputUniform = -1;
    GPUVector3 m_minVector{0, 0, 0};
    GPUVector3 m_midVector{1, 1, 1};
    GPUVector3 m_maxVector{1, 1, 1};
    GPUVector3 m_minOutputVector{0, 0, 0};
    GPUVector3 m_maxOutputVector{1, 1, 1};
};

} // namespace zm
