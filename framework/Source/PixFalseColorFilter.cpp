#include "framework/Source/PixFalseColorFilter.h"

namespace zm {

const char* const PixFalseColorFragmentShader = R"(
precision lowp float;

varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform vec3 firstColor;
uniform vec3 secondColor;

const mediump vec3 luminanceWeighting = vec3(0.2125, 0.7154, 0.0721);

void main()
{
    lowp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    float luminance = dot(textureColor.rgb, luminanceWeighting);
    gl_FragColor = vec4(mix(firstColor.rgb, secondColor.rgb, luminance), textureColor.a);
}
)";

std::shared_ptr<PixFalseColorFilter> PixFalseColorFilter::create() {
    return std::shared_ptr<PixFalseColorFilter>(new PixFalseColorFilter);
}

PixFalseColorFilter::PixFalseColorFilter()
    : PixFilter(PixDefaultVertexShader, PixFalseColorFragmentShader) {
    m_firstColorUniform = uniformLocation("firstColor");
    m_secondColorUniform = uniformLocation("secondColor");
    setFirstColor({0.0f, 0.0f, 0.5f, 1.0f});
    setSecondColor({1.0f, 0.0f, 0.0f, 1.0f});
}

void PixFalseColorFilter::setFirstColor(const GPUVector4& newValue) {
    m_firstColor.four = newValue.four;
    setFirstColorRed(newValue.one, newValue.two, newValue.three);
}

void PixFalseColorFilter::setFirstColorRed(GLfloat redComponent, GLfloat greenComponent, GLfloat blueComponent) {
    m_firstColor = {redComponent, greenComponent, blueComponent, m_firstColor.four};
    setVec3({redComponent, greenComponent, blueComponent}, m_firstColorUniform, m_filterProgram);
}

void PixFalseColorFilter::setSecondColor(const GPUVector4& newValue) {
    m_secondColor.four = newValue.four;
    setSecondColorRed(newValue.one, newValue.two, newValue.three);
}

void PixFalseColorFilter::setSecondColorRed(GLfloat redComponent, GLfloat greenComponent, GLfloat blueComponent) {
    m_secondColor = {redComponent, greenComponent, blueComponent, m_secondColor.four};
    setVec3({redComponent, greenComponent, blueComponent}, m_secondColorUniform, m_filterProgram);
}

} // namespace zm
