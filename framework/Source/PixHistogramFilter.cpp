#include "framework/Source/PixHistogramFilter.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixOnlyVertexArrayEnabled.h"

#include <algorithm>
#include <string>

namespace zm {

namespace {

// The point's column from one of the pixel's bytes (0 to 255): x = value / 128 - 1.
std::string samplingVertexShader(const char* value, const char* colorFactor) {
    return std::string(R"(
attribute vec4 position;

varying vec3 colorFactor;

const vec3 W = vec3(0.2125, 0.7154, 0.0721);

void main()
{
    colorFactor = )") + colorFactor + R"(;
    gl_Position = vec4(-1.0 + ()" + value + R"( * 0.0078125), 0.0, 0.0, 1.0);
    gl_PointSize = 1.0;
}
)";
}

const char* const kHistogramAccumulationFragmentShader = R"(
const lowp float scalingFactor = 1.0 / 256.0;

varying lowp vec3 colorFactor;

void main()
{
    gl_FragColor = vec4(colorFactor * scalingFactor, 1.0);
}
)";

std::string vertexShaderForType(PixHistogramType type) {
    switch (type) {
    case kPixHistogramGreen:
        return samplingVertexShader("position.y", "vec3(0.0, 1.0, 0.0)");
    case kPixHistogramBlue:
        return samplingVertexShader("position.z", "vec3(0.0, 0.0, 1.0)");
    case kPixHistogramLuminance:
        return samplingVertexShader("dot(position.xyz, W)", "vec3(1.0, 1.0, 1.0)");
    case kPixHistogramRed:
    case kPixHistogramRGB:
        break;
    }
    return samplingVertexShader("position.x", "vec3(1.0, 0.0, 0.0)");
}

} // namespace

std::shared_ptr<PixHistogramFilter> PixHistogramFilter::create(PixHistogramType histogramType) {
    return std::shared_ptr<PixHistogramFilter>(new PixHistogramFilter(histogramType));
}

PixHistogramFilter::PixHistogramFilter(PixHistogramType histogramType)
    : PixFilter(vertexShaderForType(histogramType), kHistogramAccumulationFragmentShader)
    , m_histogramType(histogramType) {
    if (histogramType != kPixHistogramRGB)
        return;
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        m_secondFilterProgram = prepareProgram(vertexShaderForType(kPixHistogramGreen), kHistogramAccumulationFragmentShader);
        m_thirdFilterProgram = prepareProgram(vertexShaderForType(kPixHistogramBlue), kHistogramAccumulationFragmentShader);
    });
}

void PixHistogramFilter::destroyFilterFBO() {
    PixFilter::destroyFilterFBO();
    m_inputReadback.release();
}

void PixHistogramFilter::drawSamples(GLuint positionAttribute, GLsizei sampleCount, GLsizei stride) {
    const PixOnlyVertexArrayEnabled onlyPosition(positionAttribute);
    glVertexAttribPointer(positionAttribute, 4, GL_UNSIGNED_BYTE, GL_FALSE, stride, m_vertexSamplingCoordinates.data());
    glDrawArrays(GL_POINTS, 0, sampleCount);
}

void PixHistogramFilter::newFrameReadyAtTime(PixFrameTime frameTime, int) {
    if (m_preventRendering)
        return;
    const GLsizei width = PixPixelsWide(m_inputTextureSize), height = PixPixelsHigh(m_inputTextureSize);
    if (width < 1 || height < 1 || !m_filterSourceTexture)
        return;
    m_outputTextureRetainCount = static_cast<unsigned>(m_targets.size());
    m_inputReadback.read(m_filterSourceTexture, width, height, m_vertexSamplingCoordinates);

    PixContext::setActiveShaderProgram(m_filterProgram);
    setFilterFBO();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_ONE, GL_ONE);
    const unsigned factor = std::max(m_downsamplingFactor, 1u);
    const auto sampleCount = static_cast<GLsizei>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) / factor);
    const auto stride = static_cast<GLsizei>(4 * factor);
    drawSamples(m_filterPositionAttribute, sampleCount, stride);
    if (m_histogramType == kPixHistogramRGB) {
        for (const FilterProgram* program : {&m_secondFilterProgram, &m_thirdFilterProgram}) {
            PixContext::setActiveShaderProgram(program->program);
            drawSamples(program->positionAttribute, sampleCount, stride);
        }
    }
    glDisable(GL_BLEND);
    informTargetsAboutNewFrameAtTime(frameTime);
}

} // namespace zm
