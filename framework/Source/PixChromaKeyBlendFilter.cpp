#include "framework/Source/PixChromaKeyBlendFilter.h"

namespace zm {

namespace {

const char* const kFragmentShader = R"(
precision highp float;

varying highp vec2 textureCoordinate;
varying highp vec2 textureCoordinate2;

uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;
uniform float thresholdSensitivity;
uniform float smoothing;
uniform vec3 colorToReplace;

void main()
{
    vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    vec4 textureColor2 = texture2D(inputImageTexture2, textureCoordinate2);

    float maskY = 0.2989 * colorToReplace.r + 0.5866 * colorToReplace.g + 0.1145 * colorToReplace.b;
    float maskCr = 0.7132 * (colorToReplace.r - maskY);
    float maskCb = 0.5647 * (colorToReplace.b - maskY);

    float Y = 0.2989 * textureColor.r + 0.5866 * textureColor.g + 0.1145 * textureColor.b;
    float Cr = 0.7132 * (textureColor.r - Y);
    float Cb = 0.5647 * (textureColor.b - Y);

    float blendValue = 1.0 - smoothstep(thresholdSensitivity, thresholdSensitivity + smoothing,
                                        distance(vec2(Cr, Cb), vec2(maskCr, maskCb)));
    gl_FragColor = mix(textureColor, textureColor2, blendValue);
}
)";

} // namespace

std::shared_ptr<PixChromaKeyBlendFilter> PixChromaKeyBlendFilter::create() {
    return std::shared_ptr<PixChromaKeyBlendFilter>(new PixChromaKeyBlendFilter);
}

PixChromaKeyBlendFilter::PixChromaKeyBlendFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, kFragmentShader) {
    m_thresholdSensitivityUniform = uniformLocation("thresholdSensitivity");
    m_smoothingUniform = uniformLocation("smoothing");
    m_colorToReplaceUniform = uniformLocation("colorToReplace");
    setThresholdSensitivity(0.4f);
    setSmoothing(0.1f);
    setColorToReplaceRed(0.0f, 1.0f, 0.0f);
}

void PixChromaKeyBlendFilter::setThresholdSensitivity(float newValue) {
    m_thresholdSensitivity = newValue;
    setFloat(newValue, m_thresholdSensitivityUniform, m_filterProgram);
}

void PixChromaKeyBlendFilter::setSmoothing(float newValue) {
    m_smoothing = newValue;
    setFloat(newValue, m_smoothingUniform, m_filterProgram);
}

void PixChromaKeyBlendFilter::setColorToReplaceRed(GLfloat redComponent, GLfloat greenComponent,
                                                   GLfloat blueComponent) {
    setVec3({redComponent, greenComponent, blueComponent}, m_colorToReplaceUniform, m_filterProgram);
}

} // namespace zm
