#include "framework/Source/PixFastBlurFilter.h"

#include "framework/Source/PixContext.h"

namespace zm {

const char* const PixFastBlurVertexShader = R"(
attribute vec4 position;
attribute vec4 inputTextureCoordinate;

uniform float texelWidthOffset;
uniform float texelHeightOffset;

varying highp vec2 centerTextureCoordinate;
varying highp vec2 oneStepLeftTextureCoordinate;
varying highp vec2 twoStepsLeftTextureCoordinate;
varying highp vec2 oneStepRightTextureCoordinate;
varying highp vec2 twoStepsRightTextureCoordinate;

void main()
{
    gl_Position = position;

    vec2 firstOffset = vec2(1.3846153846 * texelWidthOffset, 1.3846153846 * texelHeightOffset);
    vec2 secondOffset = vec2(3.2307692308 * texelWidthOffset, 3.2307692308 * texelHeightOffset);

    centerTextureCoordinate = inputTextureCoordinate.xy;
    oneStepLeftTextureCoordinate = inputTextureCoordinate.xy - firstOffset;
    twoStepsLeftTextureCoordinate = inputTextureCoordinate.xy - secondOffset;
    oneStepRightTextureCoordinate = inputTextureCoordinate.xy + firstOffset;
    twoStepsRightTextureCoordinate = inputTextureCoordinate.xy + secondOffset;
}
)";

const char* const PixFastBlurFragmentShader = R"(
precision highp float;

uniform sampler2D inputImageTexture;

varying highp vec2 centerTextureCoordinate;
varying highp vec2 oneStepLeftTextureCoordinate;
varying highp vec2 twoStepsLeftTextureCoordinate;
varying highp vec2 oneStepRightTextureCoordinate;
varying highp vec2 twoStepsRightTextureCoordinate;

void main()
{
    lowp vec4 fragmentColor = texture2D(inputImageTexture, centerTextureCoordinate) * 0.2270270270;
    fragmentColor += texture2D(inputImageTexture, oneStepLeftTextureCoordinate) * 0.3162162162;
    fragmentColor += texture2D(inputImageTexture, oneStepRightTextureCoordinate) * 0.3162162162;
    fragmentColor += texture2D(inputImageTexture, twoStepsLeftTextureCoordinate) * 0.0702702703;
    fragmentColor += texture2D(inputImageTexture, twoStepsRightTextureCoordinate) * 0.0702702703;
    gl_FragColor = fragmentColor;
}
)";

std::shared_ptr<PixFastBlurFilter> PixFastBlurFilter::create() {
    return std::shared_ptr<PixFastBlurFilter>(new PixFastBlurFilter);
}

PixFastBlurFilter::PixFastBlurFilter(const std::string& fragmentShaderString)
    : PixSeparableBlurFilter(PixFastBlurVertexShader, fragmentShaderString) {}

unsigned PixFastBlurFilter::blurPasses() const {
    unsigned passes = 0;
    runSynchronouslyOnContextQueue([&] { passes = m_blurPasses; });
    return passes;
}

void PixFastBlurFilter::setBlurPasses(unsigned newValue) {
    runSynchronouslyOnContextQueue([&] { m_blurPasses = newValue; });
}

void PixFastBlurFilter::renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                                    GLuint sourceTexture) {
    PixSeparableBlurFilter::renderToTextureWithVertices(vertices, textureCoordinates, sourceTexture);
    // Each repeat reads the last result, which is upright.
    for (unsigned pass = 1; pass < m_blurPasses; ++pass)
        PixSeparableBlurFilter::renderToTextureWithVertices(
            vertices, textureCoordinatesForRotation(PixInputRotationNone).data(), textureForOutput());
}

} // namespace zm
