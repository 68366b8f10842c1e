#include "framework/Source/PixLineGenerator.h"

#include "framework/Source/PixContext.h"
#include "platform/core/Log.h"

#include <algorithm>
#include <string>

namespace zm {

namespace {

const char* const kLineVertexShader = R"(
attribute vec4 position;

void main()
{
    gl_Position = position;
}
)";

const char* const kLineFragmentShader = R"(
uniform lowp vec3 lineColor;

void main()
{
    gl_FragColor = vec4(lineColor, 1.0);
}
)";

} // namespace

std::shared_ptr<PixLineGenerator> PixLineGenerator::create() {
    return std::shared_ptr<PixLineGenerator>(new PixLineGenerator);
}

PixLineGenerator::PixLineGenerator()
    : PixFilter(kLineVertexShader, kLineFragmentShader) {
    m_lineColorUniform = uniformLocation("lineColor");
    setLineColorRed(0, 1, 0);
}

float PixLineGenerator::lineWidth() const {
    float value = 0;
    runSynchronouslyOnContextQueue([&] { value = m_lineWidth; });
    return value;
}

void PixLineGenerator::setLineWidth(float newValue) {
    // The GL line width belongs to the whole context, and other filters draw lines too: it is set at
    // each draw of these lines.
    runSynchronouslyOnContextQueue([&] { m_lineWidth = newValue; });
}

void PixLineGenerator::setLineColorRed(GLfloat red, GLfloat green, GLfloat blue) {
    setVec3({red, green, blue}, m_lineColorUniform, m_filterProgram);
}

void PixLineGenerator::renderLinesFromArray(const GLfloat* lineSlopeAndIntercepts, unsigned count,
                                            PixFrameTime frameTime) {
    if (m_preventRendering)
        return;
    if (count > kMaximumLines) {
        core::log(core::LogLevel::Error, "PixLineGenerator draws at most " + std::to_string(kMaximumLines) + " lines; " +
                                             std::to_string(count - kMaximumLines) + " left out");
        count = kMaximumLines;
    }
    runSynchronouslyOnContextQueue([&] {
        if (PixPixelsWide(sizeOfFBO()) < 1 || PixPixelsHigh(sizeOfFBO()) < 1)
            return;
        if (m_lineCoordinates.empty())
            m_lineCoordinates.assign(kMaximumLines * 4, 0.0f);
        for (unsigned line = 0; line < count; ++line) {
            const GLfloat slope = lineSlopeAndIntercepts[line * 2], intercept = lineSlopeAndIntercepts[line * 2 + 1];
            GLfloat* vertices = &m_lineCoordinates[line * 4];
            if (slope > 9000.0f) {
                const GLfloat vertical[4] = {intercept, -1.0f, intercept, 1.0f};
                std::copy(vertical, vertical + 4, vertices);
            } else {
                const GLfloat across[4] = {-1.0f, intercept - slope, 1.0f, slope + intercept};
                std::copy(across, across + 4, vertices);
            }
        }

        PixContext::setActiveShaderProgram(m_filterProgram);
        setFilterFBO();
        setUniformsForProgramAtIndex(0);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glLineWidth(m_lineWidth);
        glBlendEquation(GL_FUNC_ADD);
        glBlendFunc(GL_ONE, GL_ONE);
        glEnable(GL_BLEND);
        // The program has no texture coordinates: their array stays off while the lines draw.
        glDisableVertexAttribArray(m_filterTextureCoordinateAttribute);
        glVertexAttribPointer(m_filterPositionAttribute, 2, GL_FLOAT, GL_FALSE, 0, m_lineCoordinates.data());
        glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(count * 2));
        glEnableVertexAttribArray(m_filterTextureCoordinateAttribute);
        glDisable(GL_BLEND);
        m_outputTextureRetainCount = static_cast<unsigned>(m_targets.size());
        informTargetsAboutNewFrameAtTime(frameTime);
    });
}

} // namespace zm
