#pragma once

#include "platform/gl/GLES.h"

#include <string>
#include <string_view>

namespace zm {

// What the chroma keys share: a key colour (green at first) and how near a colour's chroma (Cr, Cb)
// must lie to the key's to count as it. Within `thresholdSensitivity` it is the key; beyond the
// threshold and `smoothing` it is not; between, `awayFromKey` goes from 0 to 1.
//
// `Filter` is the filter family keyed (one input or two): its constructor takes the two shaders.
template <class Filter> class PixChromaKeying : public Filter {
public:
    // 0.4 at first.
    float thresholdSensitivity() const { return m_thresholdSensitivity; }
    void setThresholdSensitivity(float newValue) {
        m_thresholdSensitivity = newValue;
        this->setFloat(newValue, m_thresholdSensitivityUniform, this->m_filterProgram);
    }
    // 0.1 at first.
    float smoothing() const { return m_smoothing; }
    void setSmoothing(float newValue) {
        m_smoothing = newValue;
        this->setFloat(newValue, m_smoothingUniform, this->m_filterProgram);
    }
    void setColorToReplaceRed(GLfloat redComponent, GLfloat greenComponent, GLfloat blueComponent) {
        this->setVec3({redComponent, greenComponent, blueComponent}, m_colorToReplaceUniform,
                      this->m_filterProgram);
    }

protected:
    // `declarations` and `body` complete the fragment shader: the body has `textureColor`, the first
    // input's colour, and `awayFromKey`, and sets gl_FragColor.
    PixChromaKeying(const std::string& vertexShader, std::string_view declarations, std::string_view body)
        : Filter(vertexShader, fragmentShader(declarations, body)) {
        m_thresholdSensitivityUniform = this->uniformLocation("thresholdSensitivity");
        m_smoothingUniform = this->uniformLocation("smoothing");
        m_colorToReplaceUniform = this->uniformLocation("colorToReplace");
        setThresholdSensitivity(0.4f);
        setSmoothing(0.1f);
        setColorToReplaceRed(0.0f, 1.0f, 0.0f);
    }

private:
    static std::string fragmentShader(std::string_view declarations, std::string_view body) {
        std::string shader = R"(
precision highp float;

varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform float thresholdSensitivity;
uniform float smoothing;
uniform vec3 colorToReplace;
)";
        shader += declarations;
        shader += R"(
void main()
{
    vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);

    float maskY = 0.2989 * colorToReplace.r + 0.5866 * colorToReplace.g + 0.1145 * colorToReplace.b;
    float maskCr = 0.7132 * (colorToReplace.r - maskY);
    float maskCb = 0.5647 * (colorToReplace.b - maskY);

    float Y = 0.2989 * textureColor.r + 0.5866 * textureColor.g + 0.1145 * textureColor.b;
    float Cr = 0.7132 * (textureColor.r - Y);
    float Cb = 0.5647 * (textureColor.b - Y);

    float awayFromKey = smoothstep(thresholdSensitivity, thresholdSensitivity + smoothing,
                                   distance(vec2(Cr, Cb), vec2(maskCr, maskCb)));
)";
        shader += body;
        shader += "}\n";
        return shader;
    }

    GLint m_thresholdSensitivityUniform = -1;
    GLint m_smoothingUniform = -1;
    GLint m_colorToReplaceUniform = -1;
    float m_thresholdSensitivity = 0.4f;
    float m_smoothing = 0.1f;
};

} // namespace zm
