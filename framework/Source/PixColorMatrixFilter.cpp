#include "framework/Source/PixColorMatrixFilter.h"

namespace zm {

// The matrix goes to GL as its rows in memory order, which GLSL takes as columns; multiplying the colour
// from the left then dots it with each row.
const char* const PixColorMatrixFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform lowp mat4 colorMatrix;
uniform lowp float intensity;

void main()
{
    lowp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    lowp vec4 outputColor = textureColor * colorMatrix;
    gl_FragColor = (intensity * outputColor) + ((1.0 - intensity) * textureColor);
}
)";

std::shared_ptr<PixColorMatrixFilter> PixColorMatrixFilter::create() {
    return std::shared_ptr<PixColorMatrixFilter>(new PixColorMatrixFilter);
}

PixColorMatrixFilter::PixColorMatrixFilter()
    : PixFilter(PixDefaultVertexShader, PixColorMatrixFragmentShader) {
    m_colorMatrixUniform = uniformLocation("colorMatrix");
    m_intensityUniform = uniformLocation("intensity");
    setIntensity(1.0f);
    setColorMatrix(kIdentity);
}

void PixColorMatrixFilter::setColorMatrix(const GPUMatrix4x4& newValue) {
    m_colorMatrix = newValue;
    setMatrix4f(newValue, m_colorMatrixUniform, m_filterProgram);
}

void PixColorMatrixFilter::setIntensity(float newValue) {
    m_intensity = newValue;
    setFloat(newValue, m_intensityUniform, m_filterProgram);
}

} // namespace zm
