#include "framework/Source/PixExposureFilter.h"

namespace zm {

const char* const PixExposureFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform highp float exposure;

void main()
{
    lowp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    gl_FragColor = vec4(textureColor.rgb * pow(2.0, exposure), textureColor.a);
}
)";

std::shared_ptr<PixExposureFilter> PixExposureFilter::create() {
    return std::shared_ptr<PixExposureFilter>(new PixExposureFilter);
}

PixExposureFilter::PixExposureFilter()
    : PixFilter(PixDefaultVertexShader, PixExposureFragmentShader) {
    m_exposureUniform = uniformLocation("exposure");
    setExposure(0.0f);
}

void PixExposureFilter::setExposure(float newValue) {
    m_exposure = newValue;
    setFloat(newValue, m_exposureUniform, m_filterProgram);
}

} // namespace zm
