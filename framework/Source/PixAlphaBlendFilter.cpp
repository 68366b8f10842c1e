#include "framework/Source/PixAlphaBlendFilter.h"

namespace zm {

namespace {

const char* const kFragmentShader = R"(
varying highp vec2 textureCoordinate;
varying highp vec2 textureCoordinate2;

uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;
uniform lowp float mixturePercent;

void main()
{
    lowp vec4 base = texture2D(inputImageTexture, textureCoordinate);
    lowp vec4 overlay = texture2D(inputImageTexture2, textureCoordinate2);
    gl_FragColor = vec4(mix(base.rgb, overlay.rgb, overlay.a * mixturePercent), base.a);
}
)";

} // namespace

std::shared_ptr<PixAlphaBlendFilter> PixAlphaBlendFilter::create() {
    return std::shared_ptr<PixAlphaBlendFilter>(new PixAlphaBlendFilter);
}

PixAlphaBlendFilter::PixAlphaBlendFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, kFragmentShader) {
    m_mixUniform = uniformLocation("mixturePercent");
    setMix(0.5f);
}

void PixAlphaBlendFilter::setMix(float newValue) {
    m_mix = newValue;
    setFloat(newValue, m_mixUniform, m_filterProgram);
}

} // namespace zm
