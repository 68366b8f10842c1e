#include "framework/Source/PixParallelCoordinateLineTransformFilter.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixOnlyVertexArrayEnabled.h"

#include <string>

namespace zm {

namespace {

const char* const kLineTransformVertexShader = R"(
attribute vec4 position;

void main()
{
    gl_Position = position;
}
)";

// A counter of overlapping segments in three decimal digits: red the units, green the tens, blue the
// hundreds.
const char* const kAccumulatingFragmentShader = R"(
const lowp float scalingFactor = 0.1;

void main()
{
    mediump vec4 fragmentData = gl_LastFragData[0];

    fragmentData.r = fragmentData.r + scalingFactor;
    fragmentData.g = scalingFactor * floor(fragmentData.r) + fragmentData.g;
    fragmentData.b = scalingFactor * floor(fragmentData.g) + fragmentData.b;
    fragmentData = fract(fragmentData);

    gl_FragColor = vec4(fragmentData.rgb, 1.0);
}
)";

// Summed by additive blending.
const char* const kBlendingFragmentShader = R"(
const lowp float scalingFactor = 0.004;

void main()
{
    gl_FragColor = vec4(scalingFactor, scalingFactor, scalingFactor, 1.0);
}
)";

std::string lineTransformFragmentShader() {
    if (PixContext::deviceSupportsFramebufferReads())
        return std::string("#extension GL_EXT_shader_framebuffer_fetch : require\n\n") + kAccumulatingFragmentShader;
    return kBlendingFragmentShader;
}

} // namespace

std::shared_ptr<PixParallelCoordinateLineTransformFilter> PixParallelCoordinateLineTransformFilter::create() {
    return std::shared_ptr<PixParallelCoordinateLineTransformFilter>(new PixParallelCoordinateLineTransformFilter);
}

PixParallelCoordinateLineTransformFilter::PixParallelCoordinateLineTransformFilter()
    : PixFilter(kLineTransformVertexShader, lineTransformFragmentShader()) {}

void PixParallelCoordinateLineTransformFilter::destroyFilterFBO() {
    PixFilter::destroyFilterFBO();
    m_inputReadback.release();
}

void PixParallelCoordinateLineTransformFilter::generateLineCoordinates(GLsizei width, GLsizei height) {
    m_maxLinePairsToRender = static_cast<unsigned>(static_cast<double>(width) * height * 0.25);
    m_lineCoordinates.assign(static_cast<std::size_t>(m_maxLinePairsToRender) * 8, 0.0f);
    m_linePairsToRender = 0;
    // Under 4 pixels there is no room for a segment at all.
    if (m_maxLinePairsToRender == 0)
        return;
    const std::size_t lastSlot = (static_cast<std::size_t>(m_maxLinePairsToRender) - 1) * 8;
    std::size_t slot = 0;
    const std::size_t pixelCount = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t pixel = 0; pixel < pixelCount; pixel += 2) {
        if (m_rawImagePixels[pixel * 4] == 0)
            continue;
        const float column = static_cast<float>(pixel % static_cast<std::size_t>(width));
        const float row = static_cast<float>(pixel / static_cast<std::size_t>(width));
        const float x = 2.0f * column / static_cast<float>(width) - 1.0f;
        const float y = 2.0f * row / static_cast<float>(height) - 1.0f;
        const GLfloat segments[8] = {-1.0f, -y, 0.0f, x, 0.0f, x, 1.0f, y};
        std::copy(std::begin(segments), std::end(segments), m_lineCoordinates.begin() + static_cast<std::ptrdiff_t>(slot));
        if (m_linePairsToRender < m_maxLinePairsToRender)
            ++m_linePairsToRender;
        if (slot < lastSlot)
            slot += 8;
    }
}

void PixParallelCoordinateLineTransformFilter::renderLines() {
    setFilterFBO();
    PixContext::setActiveShaderProgram(m_filterProgram);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const bool blending = !PixContext::deviceSupportsFramebufferReads();
    if (blending) {
        glEnable(GL_BLEND);
        glBlendEquation(GL_FUNC_ADD);
        glBlendFunc(GL_ONE, GL_ONE);
    } else {
        glLineWidth(1.0f);
    }
    if (m_linePairsToRender > 0) {
        const PixOnlyVertexArrayEnabled onlyPosition(m_filterPositionAttribute);
        glVertexAttribPointer(m_filterPositionAttribute, 2, GL_FLOAT, GL_FALSE, 0, m_lineCoordinates.data());
        glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(m_linePairsToRender * 4));
    }
    if (blending)
        glDisable(GL_BLEND);
}

void PixParallelCoordinateLineTransformFilter::newFrameReadyAtTime(PixFrameTime frameTime, int) {
    const GLsizei width = PixPixelsWide(m_inputTextureSize), height = PixPixelsHigh(m_inputTextureSize);
    if (m_preventRendering || width < 1 || height < 1 || !m_filterSourceTexture)
        return;
    m_outputTextureRetainCount = static_cast<unsigned>(m_targets.size());
    m_inputReadback.read(m_filterSourceTexture, width, height, m_rawImagePixels);
    generateLineCoordinates(width, height);
    renderLines();
    informTargetsAboutNewFrameAtTime(frameTime);
}

} // namespace zm
