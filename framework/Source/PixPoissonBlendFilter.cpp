#include "framework/Source/PixPoissonBlendFilter.h"

#include "framework/Source/PixContext.h"

#include <algorithm>

namespace zm {

namespace {

const char* const kPoissonFragmentShader = R"(
precision mediump float;

varying vec2 textureCoordinate;
varying vec2 leftTextureCoordinate;
varying vec2 rightTextureCoordinate;
varying vec2 topTextureCoordinate;
varying vec2 bottomTextureCoordinate;

varying vec2 textureCoordinate2;
varying vec2 leftTextureCoordinate2;
varying vec2 rightTextureCoordinate2;
varying vec2 topTextureCoordinate2;
varying vec2 bottomTextureCoordinate2;

uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;
uniform lowp float mixturePercent;

void main()
{
    vec4 centerColor = texture2D(inputImageTexture, textureCoordinate);
    vec3 bottomColor = texture2D(inputImageTexture, bottomTextureCoordinate).rgb;
    vec3 leftColor = texture2D(inputImageTexture, leftTextureCoordinate).rgb;
    vec3 rightColor = texture2D(inputImageTexture, rightTextureCoordinate).rgb;
    vec3 topColor = texture2D(inputImageTexture, topTextureCoordinate).rgb;

    vec4 centerColor2 = texture2D(inputImageTexture2, textureCoordinate2);
    vec3 bottomColor2 = texture2D(inputImageTexture2, bottomTextureCoordinate2).rgb;
    vec3 leftColor2 = texture2D(inputImageTexture2, leftTextureCoordinate2).rgb;
    vec3 rightColor2 = texture2D(inputImageTexture2, rightTextureCoordinate2).rgb;
    vec3 topColor2 = texture2D(inputImageTexture2, topTextureCoordinate2).rgb;

    vec3 meanColor = (bottomColor + leftColor + rightColor + topColor) / 4.0;
    vec3 diffColor = centerColor.rgb - meanColor;

    vec3 meanColor2 = (bottomColor2 + leftColor2 + rightColor2 + topColor2) / 4.0;
    vec3 diffColor2 = centerColor2.rgb - meanColor2;

    vec3 gradColor = (meanColor + diffColor2);

    gl_FragColor = vec4(mix(centerColor.rgb, gradColor, centerColor2.a * mixturePercent), centerColor.a);
}
)";

} // namespace

std::shared_ptr<PixPoissonBlendFilter> PixPoissonBlendFilter::create() {
    return std::shared_ptr<PixPoissonBlendFilter>(new PixPoissonBlendFilter);
}

PixPoissonBlendFilter::PixPoissonBlendFilter()
    : PixTwoInputCrossTextureSamplingFilter(kPoissonFragmentShader) {
    m_mixUniform = uniformLocation("mixturePercent");
    setMix(0.5f);
}

PixPoissonBlendFilter::~PixPoissonBlendFilter() {
    PixPoissonBlendFilter::destroyFilterFBO();
    PixPoissonBlendFilter::deleteOutputTexture();
}

void PixPoissonBlendFilter::setMix(float newValue) {
    m_mix = newValue;
    setFloat(newValue, m_mixUniform, m_filterProgram);
}

unsigned PixPoissonBlendFilter::numIterations() const {
    unsigned value = 0;
    runSynchronouslyOnContextQueue([&] { value = m_numIterations; });
    return value;
}

void PixPoissonBlendFilter::setNumIterations(unsigned newValue) {
    runSynchronouslyOnContextQueue([&] { m_numIterations = newValue; });
}

GLuint PixPoissonBlendFilter::textureForOutput() const {
    return m_lastPassInSecond ? m_secondFilterOutputTexture : m_outputTexture;
}

void PixPoissonBlendFilter::setFilterFBO() {
    if (!m_drawingIntoSecond) {
        PixTwoInputCrossTextureSamplingFilter::setFilterFBO();
        return;
    }
    const core::Size size = sizeOfFBO();
    if (!m_secondFilterFramebuffer) {
        glGenFramebuffers(1, &m_secondFilterFramebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, m_secondFilterFramebuffer);
        glGenTextures(1, &m_secondFilterOutputTexture);
        glBindTexture(GL_TEXTURE_2D, m_secondFilterOutputTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        allocateAndAttachOutputTexture(m_secondFilterOutputTexture, size);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_secondFilterFramebuffer);
    glViewport(0, 0, PixPixelsWide(size), PixPixelsHigh(size));
}

void PixPoissonBlendFilter::setOutputFBO() {
    m_drawingIntoSecond = m_lastPassInSecond;
    setFilterFBO();
    m_drawingIntoSecond = false;
}

void PixPoissonBlendFilter::renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                                        GLuint sourceTexture) {
    if (m_preventRendering)
        return;
    const GLfloat* upright = textureCoordinatesForRotation(PixInputRotationNone).data();
    // Pass 0 reads the base into the first framebuffer; each later pass reads the last one's result
    // into the other.
    const unsigned passes = std::max(m_numIterations, 1u);
    for (unsigned pass = 0; pass < passes; ++pass) {
        m_drawingIntoSecond = pass % 2 == 1;
        const GLuint source = pass == 0 ? sourceTexture : m_drawingIntoSecond ? m_outputTexture : m_secondFilterOutputTexture;
        PixTwoInputCrossTextureSamplingFilter::renderToTextureWithVertices(vertices, pass == 0 ? textureCoordinates : upright,
                                                                           source);
    }
    m_drawingIntoSecond = false;
    const bool lastPassInSecond = passes % 2 == 0;
    if (lastPassInSecond != m_lastPassInSecond) {
        m_lastPassInSecond = lastPassInSecond;
        notifyTargetsAboutNewOutputTexture();
    }
}

void PixPoissonBlendFilter::destroyFilterFBO() {
    PixTwoInputCrossTextureSamplingFilter::destroyFilterFBO();
    if (!m_secondFilterFramebuffer)
        return;
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        glDeleteFramebuffers(1, &m_secondFilterFramebuffer);
        m_secondFilterFramebuffer = 0;
    });
}

void PixPoissonBlendFilter::deleteOutputTexture() {
    PixTwoInputCrossTextureSamplingFilter::deleteOutputTexture();
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        if (m_secondFilterOutputTexture) {
            glDeleteTextures(1, &m_secondFilterOutputTexture);
            m_secondFilterOutputTexture = 0;
        }
    });
}

void PixPoissonBlendFilter::recreateFilterFBO() {
    // Both framebuffers are made again at the next draw.
    destroyFilterFBO();
    deleteOutputTexture();
}

} // namespace zm
