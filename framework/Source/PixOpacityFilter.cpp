#include "framework/Source/PixOpacityFilter.h"

namespace zm {

const char* const PixOpacityFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform lowp float opacity;

void main()
{
    lowp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    gl_FragColor = vec4(textureColor.rgb, textureColor.a * opacity);
}
)";

std::shared_ptr<PixOpacityFilter> PixOpacityFilter::create() {
    return std::shared_ptr<PixOpacityFilter>(new PixOpacityFilter);
}

PixOpacityFilter::PixOpacityFilter()
    : PixFilter(PixDefaultVertexShader, PixOpacityFragmentShader) {
    m_opacityUniform = uniformLocation("opacity");
    setOpacity(1.0f);
}

void PixOpacityFilter::setOpacity(float newValue) {
    m_opacity = newValue;
    setFloat(newValue, m_opacityUniform, m_filterProgram);
}

} // namespace zm
