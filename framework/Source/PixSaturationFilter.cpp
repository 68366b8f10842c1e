#include "framework/Source/PixSaturationFilter.h"

namespace zm {

const char* const PixSaturationFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform lowp float saturation;

const mediump vec3 luminanceWeighting = vec3(0.2125, 0.7154, 0.0721);

void main()
{
    lowp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    lowp float luminance = dot(textureColor.rgb, luminanceWeighting);
    gl_FragColor = vec4(mix(vec3(luminance), textureColor.rgb, saturation), textureColor.a);
}
)";

std::shared_ptr<PixSaturationFilter> PixSaturationFilter::create() {
    return std::shared_ptr<PixSaturationFilter>(new PixSaturationFilter);
}

PixSaturationFilter::PixSaturationFilter()
    : PixFilter(PixDefaultVertexShader, PixSaturationFragmentShader) {
    m_saturationUniform = uniformLocation("saturation");
    setSaturation(1.0f);
}

void PixSaturationFilter::setSaturation(float newValue) {
    m_saturation = newValue;
    setFloat(newValue, m_saturationUniform, m_filterProgram);
}

} // namespace zm
