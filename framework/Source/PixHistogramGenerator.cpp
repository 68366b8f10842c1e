#include "framework/Source/PixHistogramGenerator.h"

namespace zm {

namespace {

// Every pixel of a column reads the histogram's middle row at that column; its height counts from the
// bottom.
const char* const kHistogramGeneratorVertexShader = R"(
attribute vec4 position;
attribute vec4 inputTextureCoordinate;

varying vec2 textureCoordinate;
varying float height;

void main()
{
    gl_Position = position;
    textureCoordinate = vec2(inputTextureCoordinate.x, 0.5);
    height = 1.0 - inputTextureCoordinate.y;
}
)";

const char* const kHistogramGeneratorFragmentShader = R"(
varying highp vec2 textureCoordinate;
varying highp float height;

uniform sampler2D inputImageTexture;
uniform lowp vec4 backgroundColor;

void main()
{
    lowp vec3 colorChannels = texture2D(inputImageTexture, textureCoordinate).rgb;
    lowp vec4 heightTest = vec4(step(height, colorChannels), 1.0);
    gl_FragColor = mix(backgroundColor, heightTest, heightTest.r + heightTest.g + heightTest.b);
}
)";

} // namespace

std::shared_ptr<PixHistogramGenerator> PixHistogramGenerator::create() {
    return std::shared_ptr<PixHistogramGenerator>(new PixHistogramGenerator);
}

PixHistogramGenerator::PixHistogramGenerator()
    : PixFilter(kHistogramGeneratorVertexShader, kHistogramGeneratorFragmentShader) {
    m_backgroundColorUniform = uniformLocation("backgroundColor");
    setBackgroundColorRed(0, 0, 0, 0);
}

void PixHistogramGenerator::setBackgroundColorRed(GLfloat redComponent, GLfloat greenComponent,
                                                  GLfloat blueComponent, GLfloat alphaComponent) {
    setVec4({redComponent, greenComponent, blueComponent, alphaComponent}, m_backgroundColorUniform, m_filterProgram);
}

} // namespace zm
