#include "framework/Source/PixContrastFilter.h"

namespace zm {

const char* const PixContrastFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform lowp float contrast;

void main()
{
    lowp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    gl_FragColor = vec4((textureColor.rgb - vec3(0.5)) * contrast + vec3(0.5), textureColor.a);
}
)";

std::shared_ptr<PixContrastFilter> PixContrastFilter::create() {
    return std::shared_ptr<PixContrastFilter>(new PixContrastFilter);
}

PixContrastFilter::PixContrastFilter()
    : PixFilter(PixDefaultVertexShader, PixContrastFragmentShader) {
    m_contrastUniform = uniformLocation("contrast");
    setContrast(1.0f);
}

void PixContrastFilter::setContrast(float newValue) {
    m_contrast = newValue;
    setFloat(newValue, m_contrastUniform, m_filterProgram);
}

} // namespace zm
