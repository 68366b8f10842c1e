#include "framework/Source/PixRGBFilter.h"

namespace zm {

const char* const PixRGBFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform highp float redAdjustment;
uniform highp float greenAdjustment;
uniform highp float blueAdjustment;

void main()
{
    lowp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    gl_FragColor = vec4(textureColor.r * redAdjustment, textureColor.g * greenAdjustment,
                        textureColor.b * blueAdjustment, textureColor.a);
}
)";

std::shared_ptr<PixRGBFilter> PixRGBFilter::create() {
    return std::shared_ptr<PixRGBFilter>(new PixRGBFilter);
}

PixRGBFilter::PixRGBFilter()
    : PixFilter(PixDefaultVertexShader, PixRGBFragmentShader) {
    m_redUniform = uniformLocation("redAdjustment");
    m_greenUniform = uniformLocation("greenAdjustment");
    m_blueUniform = uniformLocation("blueAdjustment");
    setRed(1.0f);
    setGreen(1.0f);
    setBlue(1.0f);
}

void PixRGBFilter::setRed(float newValue) {
    m_red = newValue;
    setFloat(newValue, m_redUniform, m_filterProgram);
}

void PixRGBFilter::setGreen(float newValue) {
    m_green = newValue;
    setFloat(newValue, m_greenUniform, m_filterProgram);
}

void PixRGBFilter::setBlue(float newValue) {
    m_blue = newValue;
    setFloat(newValue, m_blueUniform, m_filterProgram);
}

} // namespace zm
