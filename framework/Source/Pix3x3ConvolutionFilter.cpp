#include "framework/Source/Pix3x3ConvolutionFilter.h"

#include <charconv>

namespace zm {

// The kernel reaches GL row by row, which GLSL takes as columns: the first index picks the kernel's
// row.
std::string pix3x3ConvolutionShader(float lift) {
    // GLSL wants a point whatever the locale, and a float literal has one.
    char liftText[32];
    const auto written = std::to_chars(liftText, liftText + sizeof liftText, lift, std::chars_format::fixed, 6);
    return R"(
precision highp float;
)" + std::string(Pix3x3SamplingFragmentInputs) +
           R"(
uniform mediump mat3 convolutionMatrix;

void main()
{
    mediump vec3 bottomColor = texture2D(inputImageTexture, bottomTextureCoordinate).rgb;
    mediump vec3 bottomLeftColor = texture2D(inputImageTexture, bottomLeftTextureCoordinate).rgb;
    mediump vec3 bottomRightColor = texture2D(inputImageTexture, bottomRightTextureCoordinate).rgb;
    mediump vec4 centerColor = texture2D(inputImageTexture, textureCoordinate);
    mediump vec3 leftColor = texture2D(inputImageTexture, leftTextureCoordinate).rgb;
    mediump vec3 rightColor = texture2D(inputImageTexture, rightTextureCoordinate).rgb;
    mediump vec3 topColor = texture2D(inputImageTexture, topTextureCoordinate).rgb;
    mediump vec3 topRightColor = texture2D(inputImageTexture, topRightTextureCoordinate).rgb;
    mediump vec3 topLeftColor = texture2D(inputImageTexture, topLeftTextureCoordinate).rgb;

    mediump vec3 resultColor = topLeftColor * convolutionMatrix[0][0] + topColor * convolutionMatrix[0][1] +
                               topRightColor * convolutionMatrix[0][2];
    resultColor += leftColor * convolutionMatrix[1][0] + centerColor.rgb * convolutionMatrix[1][1] +
                   rightColor * convolutionMatrix[1][2];
    resultColor += bottomLeftColor * convolutionMatrix[2][0] + bottomColor * convolutionMatrix[2][1] +
                   bottomRightColor * convolutionMatrix[2][2];

    gl_FragColor = vec4(resultColor + )" +
           std::string(liftText, written.ptr) + R"(, centerColor.a);
}
)";
}

const std::string Pix3x3ConvolutionFragmentShader = pix3x3ConvolutionShader(0);

std::shared_ptr<Pix3x3ConvolutionFilter> Pix3x3ConvolutionFilter::create() {
    return std::shared_ptr<Pix3x3ConvolutionFilter>(new Pix3x3ConvolutionFilter);
}

Pix3x3ConvolutionFilter::Pix3x3ConvolutionFilter(const std::string& fragmentShaderString)
    : Pix3x3TextureSamplingFilter(Pix3x3SamplingVertexShader, fragmentShaderString) {
    m_convolutionMatrixUniform = uniformLocation("convolutionMatrix");
    setConvolutionKernel({{0, 0, 0}, {0, 1, 0}, {0, 0, 0}});
}

void Pix3x3ConvolutionFilter::setConvolutionKernel(const GPUMatrix3x3& newValue) {
    m_convolutionKernel = newValue;
    setMatrix3f(newValue, m_convolutionMatrixUniform, m_filterProgram);
}

} // namespace zm
