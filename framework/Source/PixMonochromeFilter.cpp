#include "framework/Source/PixMonochromeFilter.h"

namespace zm {

const char* const PixMonochromeFragmentShader = R"(
precision lowp float;

varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform float intensity;
uniform vec3 filterColor;

const mediump vec3 luminanceWeighting = vec3(0.2125, 0.7154, 0.0721);

void main()
{
    lowp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    float luminance = dot(textureColor.rgb, luminanceWeighting);
    lowp vec4 desat = vec4(vec3(luminance), 1.0);

    // Overlay of the filter colour on the grey, channel by channel.
    lowp vec4 outputColor = vec4(
        (desat.r < 0.5 ? (2.0 * desat.r * filterColor.r) : (1.0 - 2.0 * (1.0 - desat.r) * (1.0 - filterColor.r))),
        (desat.g < 0.5 ? (2.0 * desat.g * filterColor.g) : (1.0 - 2.0 * (1.0 - desat.g) * (1.0 - filterColor.g))),
        (desat.b < 0.5 ? (2.0 * desat.b * filterColor.b) : (1.0 - 2.0 * (1.0 - desat.b) * (1.0 - filterColor.b))),
        1.0);

    gl_FragColor = vec4(mix(textureColor.rgb, outputColor.rgb, intensity), textureColor.a);
}
)";

std::shared_ptr<PixMonochromeFilter> PixMonochromeFilter::create() {
    return std::shared_ptr<PixMonochromeFilter>(new PixMonochromeFilter);
}

PixMonochromeFilter::PixMonochromeFilter()
    : PixFilter(PixDefaultVertexShader, PixMonochromeFragmentShader) {
    m_intensityUniform = uniformLocation("intensity");
    m_filterColorUniform = uniformLocation("filterColor");
    setIntensity(1.0f);
    setColor({0.6f, 0.45f, 0.3f, 1.0f});
}

void PixMonochromeFilter::setIntensity(float newValue) {
    m_intensity = newValue;
    setFloat(newValue, m_intensityUniform, m_filterProgram);
}

void PixMonochromeFilter::setColor(const GPUVector4& newValue) {
    m_color.four = newValue.four;
    setColorRed(newValue.one, newValue.two, newValue.three);
}

void PixMonochromeFilter::setColorRed(GLfloat redComponent, GLfloat greenComponent, GLfloat blueComponent) {
    m_color = {redComponent, greenComponent, blueComponent, m_color.four};
    setVec3({redComponent, greenComponent, blueComponent}, m_filterColorUniform, m_filterProgram);
}

} // namespace zm
