#include "framework/Source/PixCrosshairGenerator.h"

#include "framework/Source/PixContext.h"

namespace zm {

namespace {

// Each point is a sprite of crosshairWidth + 1 pixels; the cross runs along its middle, a pixel in from
// its top and left edges.
const char* const kCrosshairVertexShader = R"(
attribute vec4 position;

uniform float crosshairWidth;

varying highp vec2 centerLocation;
varying highp float pointSpacing;

void main()
{
    gl_Position = vec4(((position.xy * 2.0) - 1.0), 0.0, 1.0);
    gl_PointSize = crosshairWidth + 1.0;
    pointSpacing = 1.0 / crosshairWidth;
    centerLocation = vec2(pointSpacing * ceil(crosshairWidth / 2.0), pointSpacing * ceil(crosshairWidth / 2.0));
}
)";

const char* const kCrosshairFragmentShader = R"(
uniform lowp vec3 crosshairColor;

varying highp vec2 centerLocation;
varying highp float pointSpacing;

void main()
{
    highp vec2 distanceFromCenter = abs(centerLocation - gl_PointCoord.xy);
    lowp float axisTest = step(pointSpacing, gl_PointCoord.y) * step(distanceFromCenter.x, 0.09) +
                          step(pointSpacing, gl_PointCoord.x) * step(distanceFromCenter.y, 0.09);
    gl_FragColor = vec4(crosshairColor * axisTest, axisTest);
}
)";

} // namespace

std::shared_ptr<PixCrosshairGenerator> PixCrosshairGenerator::create() {
    return std::shared_ptr<PixCrosshairGenerator>(new PixCrosshairGenerator);
}

PixCrosshairGenerator::PixCrosshairGenerator()
    : PixFilter(kCrosshairVertexShader, kCrosshairFragmentShader) {
    m_crosshairWidthUniform = uniformLocation("crosshairWidth");
    m_crosshairColorUniform = uniformLocation("crosshairColor");
    setCrosshairWidth(5.0f);
    setCrosshairColorRed(0, 1, 0);
}

float PixCrosshairGenerator::crosshairWidth() const {
    float value = 0;
    runSynchronouslyOnContextQueue([&] { value = m_crosshairWidth; });
    return value;
}

void PixCrosshairGenerator::setCrosshairWidth(float newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_crosshairWidth = newValue;
        setFloat(newValue, m_crosshairWidthUniform, m_filterProgram);
    });
}

void PixCrosshairGenerator::setCrosshairColorRed(GLfloat red, GLfloat green, GLfloat blue) {
    setVec3({red, green, blue}, m_crosshairColorUniform, m_filterProgram);
}

void PixCrosshairGenerator::renderCrosshairsFromArray(const GLfloat* crosshairCoordinates, unsigned count,
                                                      PixFrameTime frameTime) {
    if (m_preventRendering)
        return;
    runSynchronouslyOnContextQueue([&] {
        if (PixPixelsWide(sizeOfFBO()) < 1 || PixPixelsHigh(sizeOfFBO()) < 1)
            return;
        PixContext::setActiveShaderProgram(m_filterProgram);
        setFilterFBO();
        setUniformsForProgramAtIndex(0);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        // The program has no texture coordinates: their array stays off while the points draw.
        glDisableVertexAttribArray(m_filterTextureCoordinateAttribute);
        glVertexAttribPointer(m_filterPositionAttribute, 2, GL_FLOAT, GL_FALSE, 0, crosshairCoordinates);
        glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(count));
        glEnableVertexAttribArray(m_filterTextureCoordinateAttribute);
        m_outputTextureRetainCount = static_cast<unsigned>(m_targets.size());
        informTargetsAboutNewFrameAtTime(frameTime);
    });
}

} // namespace zm
