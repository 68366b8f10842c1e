#include "framework/Source/PixLevelsFilter.h"

namespace zm {

const char* const PixLevelsFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform mediump vec3 levelMinimum;
uniform mediump vec3 levelMiddle;
uniform mediump vec3 levelMaximum;
uniform mediump vec3 minOutput;
uniform mediump vec3 maxOutput;

void main()
{
    mediump vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    mediump vec3 stretched = min(max(textureColor.rgb - levelMinimum, vec3(0.0)) / (levelMaximum - levelMinimum),
                                 vec3(1.0));
    gl_FragColor = vec4(mix(minOutput, maxOutput, pow(stretched, 1.0 / levelMiddle)), textureColor.a);
}
)";

namespace {

GLfloat& component(GPUVector3& vector, int channel) {
    return channel == 0 ? vector.one : channel == 1 ? vector.two : vector.three;
}

} // namespace

std::shared_ptr<PixLevelsFilter> PixLevelsFilter::create() {
    return std::shared_ptr<PixLevelsFilter>(new PixLevelsFilter);
}

PixLevelsFilter::PixLevelsFilter()
    : PixFilter(PixDefaultVertexShader, PixLevelsFragmentShader) {
    m_minUniform = uniformLocation("levelMinimum");
    m_midUniform = uniformLocation("levelMiddle");
    m_maxUniform = uniformLocation("levelMaximum");
    m_minOutputUniform = uniformLocation("minOutput");
    m_maxOutputUniform = uniformLocation("maxOutput");
    setMin(0.0f, 1.0f, 1.0f, 0.0f, 1.0f);
}

void PixLevelsFilter::setMin(GLfloat min, GLfloat gamma, GLfloat max, GLfloat minOut, GLfloat maxOut) {
    setRedMin(min, gamma, max, minOut, maxOut);
    setGreenMin(min, gamma, max, minOut, maxOut);
    setBlueMin(min, gamma, max, minOut, maxOut);
}

void PixLevelsFilter::setMin(GLfloat min, GLfloat gamma, GLfloat max) {
    setMin(min, gamma, max, 0.0f, 1.0f);
}

void PixLevelsFilter::setRedMin(GLfloat min, GLfloat gamma, GLfloat max, GLfloat minOut, GLfloat maxOut) {
    setChannel(0, min, gamma, max, minOut, maxOut);
}

void PixLevelsFilter::setRedMin(GLfloat min, GLfloat gamma, GLfloat max) {
    setRedMin(min, gamma, max, 0.0f, 1.0f);
}

void PixLevelsFilter::setGreenMin(GLfloat min, GLfloat gamma, GLfloat max, GLfloat minOut, GLfloat maxOut) {
    setChannel(1, min, gamma, max, minOut, maxOut);
}

void PixLevelsFilter::setGreenMin(GLfloat min, GLfloat gamma, GLfloat max) {
    setGreenMin(min, gamma, max, 0.0f, 1.0f);
}

void PixLevelsFilter::setBlueMin(GLfloat min, GLfloat gamma, GLfloat max, GLfloat minOut, GLfloat maxOut) {
    setChannel(2, min, gamma, max, minOut, maxOut);
}

void PixLevelsFilter::setBlueMin(GLfloat min, GLfloat gamma, GLfloat max) {
    setBlueMin(min, gamma, max, 0.0f, 1.0f);
}

void PixLevelsFilter::setChannel(int channel, GLfloat min, GLfloat gamma, GLfloat max, GLfloat minOut,
                                 GLfloat maxOut) {
    component(m_minVector, channel) = min;
    component(m_midVector, channel) = gamma;
    component(m_maxVector, channel) = max;
    component(m_minOutputVector, channel) = minOut;
    component(m_maxOutputVector, channel) = maxOut;
    updateUniforms();
}

void PixLevelsFilter::updateUniforms() {
    setVec3(m_minVector, m_minUniform, m_filterProgram);
    setVec3(m_midVector, m_midUniform, m_filterProgram);
    setVec3(m_maxVector, m_maxUniform, m_filterProgram);
    setVec3(m_minOutputVector, m_minOutputUniform, m_filterProgram);
    setVec3(m_maxOutputVector, m_maxOutputUniform, m_filterProgram);
}

} // namespace zm
