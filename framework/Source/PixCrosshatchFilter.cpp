#include "framework/Source/PixCrosshatchFilter.h"

#include "framework/Source/PixContext.h"

#include <algorithm>

namespace zm {

namespace {

const char* const kCrosshatchFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;

uniform highp float crossHatchSpacing;
uniform highp float lineWidth;

const highp vec3 W = vec3(0.2125, 0.7154, 0.0721);

void main()
{
    highp float luminance = dot(texture2D(inputImageTexture, textureCoordinate).rgb, W);

    lowp vec4 colorToDisplay = vec4(1.0, 1.0, 1.0, 1.0);
    if (luminance < 1.00) {
        if (mod(textureCoordinate.x + textureCoordinate.y, crossHatchSpacing) <= lineWidth) {
            colorToDisplay = vec4(0.0, 0.0, 0.0, 1.0);
        }
    }
    if (luminance < 0.75) {
        if (mod(textureCoordinate.x - textureCoordinate.y, crossHatchSpacing) <= lineWidth) {
            colorToDisplay = vec4(0.0, 0.0, 0.0, 1.0);
        }
    }
    if (luminance < 0.50) {
        if (mod(textureCoordinate.x + textureCoordinate.y - (crossHatchSpacing / 2.0), crossHatchSpacing) <= lineWidth) {
            colorToDisplay = vec4(0.0, 0.0, 0.0, 1.0);
        }
    }
    if (luminance < 0.3) {
        if (mod(textureCoordinate.x - textureCoordinate.y - (crossHatchSpacing / 2.0), crossHatchSpacing) <= lineWidth) {
            colorToDisplay = vec4(0.0, 0.0, 0.0, 1.0);
        }
    }

    gl_FragColor = colorToDisplay;
}
)";

} // namespace

std::shared_ptr<PixCrosshatchFilter> PixCrosshatchFilter::create() {
    return std::shared_ptr<PixCrosshatchFilter>(new PixCrosshatchFilter);
}

PixCrosshatchFilter::PixCrosshatchFilter()
    : PixFilter(PixDefaultVertexShader, kCrosshatchFragmentShader) {
    m_crossHatchSpacingUniform = uniformLocation("crossHatchSpacing");
    m_lineWidthUniform = uniformLocation("lineWidth");
    setCrossHatchSpacing(0.03f);
    setLineWidth(0.003f);
}

void PixCrosshatchFilter::setCrossHatchSpacing(float newValue) {
    float inputWidth = 0;
    runSynchronouslyOnContextQueue([&] { inputWidth = m_inputTextureSize.width; });
    const float onePixel = inputWidth > 0 ? 1.0f / inputWidth : 1.0f / 2048.0f;
    m_crossHatchSpacing = std::max(newValue, onePixel);
    setFloat(m_crossHatchSpacing, m_crossHatchSpacingUniform, m_filterProgram);
}

void PixCrosshatchFilter::setLineWidth(float newValue) {
    m_lineWidth = newValue;
    setFloat(newValue, m_lineWidthUniform, m_filterProgram);
}

} // namespace zm
