#include "framework/Source/PixJFAVoronoiFilter.h"

#include "framework/Source/Pix3x3TextureSamplingFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixVoronoiSize.h"

#include <cmath>

namespace zm {

namespace {

const char* const kJFAVertexShader = R"(
attribute vec4 position;
attribute vec2 inputTextureCoordinate;

uniform float sampleStep;

varying vec2 textureCoordinate;
varying vec2 leftTextureCoordinate;
varying vec2 rightTextureCoordinate;
varying vec2 topTextureCoordinate;
varying vec2 topLeftTextureCoordinate;
varying vec2 topRightTextureCoordinate;
varying vec2 bottomTextureCoordinate;
varying vec2 bottomLeftTextureCoordinate;
varying vec2 bottomRightTextureCoordinate;

void main()
{
    gl_Position = position;
    vec2 widthStep = vec2(sampleStep, 0.0);
    vec2 heightStep = vec2(0.0, sampleStep);
    vec2 widthHeightStep = vec2(sampleStep);
    vec2 widthNegativeHeightStep = vec2(sampleStep, -sampleStep);

    textureCoordinate = inputTextureCoordinate;
    leftTextureCoordinate = inputTextureCoordinate - widthStep;
    rightTextureCoordinate = inputTextureCoordinate + widthStep;
    topTextureCoordinate = inputTextureCoordinate - heightStep;
    topLeftTextureCoordinate = inputTextureCoordinate - widthHeightStep;
    topRightTextureCoordinate = inputTextureCoordinate + widthNegativeHeightStep;
    bottomTextureCoordinate = inputTextureCoordinate + heightStep;
    bottomLeftTextureCoordinate = inputTextureCoordinate - widthNegativeHeightStep;
    bottomRightTextureCoordinate = inputTextureCoordinate + widthHeightStep;
}
)";

// An empty texel starts farther than any seed in the frame can be (squared distances reach 2).
const std::string kJFAFragmentShader = R"(
precision highp float;
)" + std::string(Pix3x3SamplingFragmentInputs) + R"(
uniform vec2 size;

vec2 getCoordFromColor(vec4 color)
{
    float z = color.z * 256.0;
    float yoff = floor(z / 8.0);
    float xoff = mod(z, 8.0);
    float x = color.x * 256.0 + xoff * 256.0;
    float y = color.y * 256.0 + yoff * 256.0;
    return vec2(x, y) / size;
}

void consider(vec2 coordinate, inout vec4 best, inout float bestDistance)
{
    vec4 candidate = texture2D(inputImageTexture, coordinate);
    if (candidate.a == 1.0) {
        vec2 toSeed = textureCoordinate - getCoordFromColor(candidate);
        float distance = dot(toSeed, toSeed);
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
}

void main()
{
    vec4 best = texture2D(inputImageTexture, textureCoordinate);
    vec2 toSeed = textureCoordinate - getCoordFromColor(best);
    float bestDistance = best.a == 0.0 ? 3.0 : dot(toSeed, toSeed);

    consider(topRightTextureCoordinate, best, bestDistance);
    consider(topTextureCoordinate, best, bestDistance);
    consider(topLeftTextureCoordinate, best, bestDistance);
    consider(bottomRightTextureCoordinate, best, bestDistance);
    consider(bottomTextureCoordinate, best, bestDistance);
    consider(bottomLeftTextureCoordinate, best, bestDistance);
    consider(leftTextureCoordinate, best, bestDistance);
    consider(rightTextureCoordinate, best, bestDistance);

    gl_FragColor = best;
}
)";

} // namespace

std::shared_ptr<PixJFAVoronoiFilter> PixJFAVoronoiFilter::create() {
    return std::shared_ptr<PixJFAVoronoiFilter>(new PixJFAVoronoiFilter);
}

PixJFAVoronoiFilter::PixJFAVoronoiFilter()
    : PixFilter(kJFAVertexShader, kJFAFragmentShader) {
    m_sampleStepUniform = uniformLocation("sampleStep");
    m_sizeUniform = uniformLocation("size");
    // Texels hold positions: a blend of two neighbours is no position at all.
    GPUTextureOptions options = outputTextureOptions();
    options.minFilter = GL_NEAREST;
    options.magFilter = GL_NEAREST;
    setOutputTextureOptions(options);
}

PixJFAVoronoiFilter::~PixJFAVoronoiFilter() {
    PixJFAVoronoiFilter::destroyFilterFBO();
    PixJFAVoronoiFilter::deleteOutputTexture();
}

core::Size PixJFAVoronoiFilter::sizeInPixels() const {
    core::Size value;
    runSynchronouslyOnContextQueue([&] { value = m_sizeInPixels; });
    return value;
}

void PixJFAVoronoiFilter::setSizeInPixels(core::Size newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_sizeInPixels = newValue;
        if (voronoiSizeIsValid(newValue, "Voronoi point texture must be a power of 2.  Texture size: "))
            setSize(newValue, m_sizeUniform, m_filterProgram);
    });
}

unsigned PixJFAVoronoiFilter::nextPowerOfTwo(core::Size size) {
    unsigned v = static_cast<unsigned>(std::max(size.width, size.height)) - 1;
    v |= v >> 1;
    v |= v >> 2;
    v |= v >> 4;
    v |= v >> 8;
    v |= v >> 16;
    return v + 1;
}

GLuint PixJFAVoronoiFilter::textureForOutput() const {
    return m_lastPassInSecond ? m_secondFilterOutputTexture : m_outputTexture;
}

void PixJFAVoronoiFilter::createFilterFBOofSize(core::Size currentFBOSize) {
    m_numPasses = static_cast<unsigned>(std::log2(static_cast<double>(nextPowerOfTwo(currentFBOSize))));
    PixFilter::createFilterFBOofSize(currentFBOSize);
}

void PixJFAVoronoiFilter::setFilterFBO() {
    if (!m_drawingIntoSecond) {
        PixFilter::setFilterFBO();
        return;
    }
    const core::Size size = sizeOfFBO();
    if (!m_secondFilterFramebuffer) {
        const GPUTextureOptions& options = outputTextureOptions();
        glGenFramebuffers(1, &m_secondFilterFramebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, m_secondFilterFramebuffer);
        glActiveTexture(GL_TEXTURE1);
        glGenTextures(1, &m_secondFilterOutputTexture);
        glBindTexture(GL_TEXTURE_2D, m_secondFilterOutputTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(options.minFilter));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(options.magFilter));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(options.wrapS));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(options.wrapT));
        allocateAndAttachOutputTexture(m_secondFilterOutputTexture, size);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_secondFilterFramebuffer);
    glViewport(0, 0, PixPixelsWide(size), PixPixelsHigh(size));
}

void PixJFAVoronoiFilter::setOutputFBO() {
    m_drawingIntoSecond = m_lastPassInSecond;
    setFilterFBO();
    m_drawingIntoSecond = false;
}

void PixJFAVoronoiFilter::setUniformsForProgramAtIndex(unsigned programIndex) {
    PixFilter::setUniformsForProgramAtIndex(programIndex);
    glUniform1f(m_sampleStepUniform, m_sampleStep);
    glUniform2f(m_sizeUniform, m_sizeInPixels.width, m_sizeInPixels.height);
}

void PixJFAVoronoiFilter::renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                                      GLuint sourceTexture) {
    if (m_preventRendering)
        return;
    if (!m_filterFramebuffer)
        PixFilter::setFilterFBO(); // makes the framebuffer, and with it the number of passes
    const GLfloat* upright = textureCoordinatesForRotation(PixInputRotationNone).data();
    // Pass 0 looks half the frame away in the input; pass i looks 2^-i away in the last pass's result,
    // down to half a pixel.
    const unsigned lastPass = m_numPasses + 1;
    for (unsigned pass = 0; pass <= lastPass; ++pass) {
        m_drawingIntoSecond = pass % 2 == 1;
        m_sampleStep = pass == 0 ? 0.5f : std::ldexp(1.0f, -static_cast<int>(pass));
        const GLuint source = pass == 0 ? sourceTexture : m_drawingIntoSecond ? m_outputTexture : m_secondFilterOutputTexture;
        PixFilter::renderToTextureWithVertices(vertices, pass == 0 ? textureCoordinates : upright, source);
    }
    m_drawingIntoSecond = false;
    const bool lastPassInSecond = lastPass % 2 == 1;
    if (lastPassInSecond != m_lastPassInSecond) {
        m_lastPassInSecond = lastPassInSecond;
        notifyTargetsAboutNewOutputTexture();
    }
}

void PixJFAVoronoiFilter::destroyFilterFBO() {
    PixFilter::destroyFilterFBO();
    runSynchronouslyOnContextQueue([&] {
        if (!m_secondFilterFramebuffer)
            return;
        PixContext::useImageProcessingContext();
        glDeleteFramebuffers(1, &m_secondFilterFramebuffer);
        m_secondFilterFramebuffer = 0;
    });
}

void PixJFAVoronoiFilter::deleteOutputTexture() {
    PixFilter::deleteOutputTexture();
    runSynchronouslyOnContextQueue([&] {
        if (!m_secondFilterOutputTexture)
            return;
        PixContext::useImageProcessingContext();
        glDeleteTextures(1, &m_secondFilterOutputTexture);
        m_secondFilterOutputTexture = 0;
    });
}

} // namespace zm
