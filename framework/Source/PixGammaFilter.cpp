#include "framework/Source/PixGammaFilter.h"

namespace zm {

const char* const PixGammaFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform lowp float gamma;

void main()
{
    lowp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    gl_FragColor = vec4(pow(textureColor.rgb, vec3(gamma)), textureColor.a);
}
)";

std::shared_ptr<PixGammaFilter> PixGammaFilter::create() {
    return std::shared_ptr<PixGammaFilter>(new PixGammaFilter);
}

PixGammaFilter::PixGammaFilter()
    : PixFilter(PixDefaultVertexShader, PixGammaFragmentShader) {
    m_gammaUniform = uniformLocation("gamma");
    setGamma(1.0f);
}

void PixGammaFilter::setGamma(float newValue) {
    m_gamma = newValue;
    setFloat(newValue, m_gammaUniform, m_filterProgram);
}

} // namespace zm
