#include "framework/Source/PixPosterizeFilter.h"

#include <algorithm>

namespace zm {

const char* const PixPosterizeFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform highp float colorLevels;

void main()
{
    highp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);

    gl_FragColor = floor((textureColor * colorLevels) + vec4(0.5)) / colorLevels;
}
)";

std::shared_ptr<PixPosterizeFilter> PixPosterizeFilter::create() {
    return std::shared_ptr<PixPosterizeFilter>(new PixPosterizeFilter);
}

PixPosterizeFilter::PixPosterizeFilter()
    : PixFilter(PixDefaultVertexShader, PixPosterizeFragmentShader) {
    m_colorLevelsUniform = uniformLocation("colorLevels");
    setColorLevels(10);
}

void PixPosterizeFilter::setColorLevels(unsigned newValue) {
    m_colorLevels = newValue;
    // No levels would divide by 0.
    setFloat(static_cast<GLfloat>(std::max(newValue, 1u)), m_colorLevelsUniform, m_filterProgram);
}

} // namespace zm
