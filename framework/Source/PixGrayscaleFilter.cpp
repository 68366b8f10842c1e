#include "framework/Source/PixGrayscaleFilter.h"

namespace zm {

const char* const PixGrayscaleFragmentShader = R"(
precision highp float;

varying vec2 textureCoordinate;

uniform sampler2D inputImageTexture;

const highp vec3 W = vec3(0.2125, 0.7154, 0.0721);

void main()
{
    lowp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    float luminance = dot(textureColor.rgb, W);
    gl_FragColor = vec4(vec3(luminance), textureColor.a);
}
)";

std::shared_ptr<PixGrayscaleFilter> PixGrayscaleFilter::create() {
    return std::shared_ptr<PixGrayscaleFilter>(new PixGrayscaleFilter);
}

PixGrayscaleFilter::PixGrayscaleFilter()
    : PixFilter(PixDefaultVertexShader, PixGrayscaleFragmentShader) {}

GLuint PixGrayscaleFilter::textureForOutput() const {
    return m_currentlyReceivingMonochromeInput ? m_filterSourceTexture : m_outputTexture;
}

void PixGrayscaleFilter::setInputTexture(GLuint newInputTexture, int textureIndex) {
    PixFilter::setInputTexture(newInputTexture, textureIndex);
    if (m_currentlyReceivingMonochromeInput)
        notifyTargetsAboutNewOutputTexture();
}

void PixGrayscaleFilter::renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                                     GLuint sourceTexture) {
    // A luminance input is already grey.
    if (!m_currentlyReceivingMonochromeInput)
        PixFilter::renderToTextureWithVertices(vertices, textureCoordinates, sourceTexture);
}

void PixGrayscaleFilter::informTargetsAboutNewFrameAtTime(PixFrameTime frameTime) {
    if (!m_currentlyReceivingMonochromeInput) {
        PixFilter::informTargetsAboutNewFrameAtTime(frameTime);
        return;
    }
    // The input goes on unturned, so the targets turn it as the source asked this filter to.
    if (m_frameProcessingCompletionBlock)
        m_frameProcessingCompletionBlock(*this, frameTime);
    releaseInputTexturesIfNeeded();
    const core::Size size = outputFrameSize();
    const core::Size turned =
        PixRotationSwapsWidthAndHeight(m_inputRotation) ? core::Size{size.height, size.width} : size;
    const auto targets = m_targets;
    const auto textureIndices = m_targetTextureIndices;
    for (std::size_t position = 0; position < targets.size(); ++position) {
        if (targets[position].get() == targetToIgnoreForUpdates())
            continue;
        targets[position]->setInputRotation(m_inputRotation, textureIndices[position]);
        targets[position]->setInputSize(turned, textureIndices[position]);
        targets[position]->newFrameReadyAtTime(frameTime, textureIndices[position]);
    }
}

} // namespace zm
