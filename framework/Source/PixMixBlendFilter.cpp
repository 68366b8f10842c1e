#include "framework/Source/PixMixBlendFilter.h"

#include <string>

namespace zm {

namespace {

std::string mixBlendShader(std::string_view blended) {
    std::string shader = R"(
varying highp vec2 textureCoordinate;
varying highp vec2 textureCoordinate2;

uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;
uniform lowp float mixturePercent;

void main()
{
    lowp vec4 base = texture2D(inputImageTexture, textureCoordinate);
    lowp vec4 overlay = texture2D(inputImageTexture2, textureCoordinate2);
    gl_FragColor = )";
    shader += blended;
    shader += ";\n}\n";
    return shader;
}

} // namespace

PixMixBlendFilter::PixMixBlendFilter(std::string_view blended)
    : PixTwoInputFilter(PixTwoInputVertexShader, mixBlendShader(blended)) {
    m_mixUniform = uniformLocation("mixturePercent");
    setMix(0.5f);
}

void PixMixBlendFilter::setMix(float newValue) {
    m_mix = newValue;
    setFloat(newValue, m_mixUniform, m_filterProgram);
}

} // namespace zm
