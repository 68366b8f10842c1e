#include "framework/Source/PixTwoInputFilter.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/PixContext.h"

namespace zm {

const char* const PixTwoInputVertexShader = R"(
attribute vec4 position;
attribute vec4 inputTextureCoordinate;
attribute vec4 inputTextureCoordinate2;

varying vec2 textureCoordinate;
varying vec2 textureCoordinate2;

void main()
{
    gl_Position = position;
    textureCoordinate = inputTextureCoordinate.xy;
    textureCoordinate2 = inputTextureCoordinate2.xy;
}
)";

std::shared_ptr<PixTwoInputFilter> PixTwoInputFilter::create(const std::string& fragmentShaderString) {
    return std::shared_ptr<PixTwoInputFilter>(new PixTwoInputFilter(PixTwoInputVertexShader, fragmentShaderString));
}

PixTwoInputFilter::PixTwoInputFilter(const std::string& vertexShaderString, const std::string& fragmentShaderString,
                                     const std::vector<std::string>& extraAttributes)
    : PixFilter(vertexShaderString, fragmentShaderString, extraAttributes) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        m_filterSecondTextureCoordinateAttribute = m_filterProgram->attributeIndex("inputTextureCoordinate2");
        m_filterInputTextureUniform2 = m_filterProgram->uniformIndex("inputImageTexture2");
    });
}

void PixTwoInputFilter::disableFirstFrameCheck() {
    runSynchronouslyOnContextQueue([&] { m_firstFrameCheckDisabled = true; });
}

void PixTwoInputFilter::disableSecondFrameCheck() {
    runSynchronouslyOnContextQueue([&] { m_secondFrameCheckDisabled = true; });
}

void PixTwoInputFilter::setAdditionalInputsForDraw() {
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, m_filterSourceTexture2);
    glUniform1i(m_filterInputTextureUniform2, 3);
    glVertexAttribPointer(m_filterSecondTextureCoordinateAttribute, 2, GL_FLOAT, GL_FALSE, 0,
                          textureCoordinatesForRotation(m_inputRotation2).data());
}

void PixTwoInputFilter::releaseInputTexturesIfNeeded() {
    if (!m_shouldConserveMemoryForNextFrame)
        return;
    for (PixTextureDelegate* delegate : {m_firstTextureDelegate, m_secondTextureDelegate}) {
        if (delegate)
            delegate->textureNoLongerNeededForTarget(this);
    }
    m_shouldConserveMemoryForNextFrame = false;
}

int PixTwoInputFilter::nextAvailableTextureIndex() const {
    // Asked from the thread that adds a source; the slots are filled on the processing queue.
    int index = 0;
    runSynchronouslyOnContextQueue([&] { index = m_hasSetFirstTexture ? 1 : 0; });
    return index;
}

void PixTwoInputFilter::setInputTexture(GLuint newInputTexture, int textureIndex) {
    if (textureIndex == 0) {
        m_filterSourceTexture = newInputTexture;
        m_hasSetFirstTexture = true;
    } else {
        m_filterSourceTexture2 = newInputTexture;
    }
}

void PixTwoInputFilter::setTextureDelegate(PixTextureDelegate* newTextureDelegate, int textureIndex) {
    if (textureIndex == 0)
        m_firstTextureDelegate = newTextureDelegate;
    else
        m_secondTextureDelegate = newTextureDelegate;
}

void PixTwoInputFilter::setInputSize(core::Size newSize, int textureIndex) {
    if (textureIndex != 0)
        return;
    PixFilter::setInputSize(newSize, textureIndex);
    // A source detaching from slot 0 hands the slot to the next source added.
    if (newSize.width == 0 && newSize.height == 0)
        m_hasSetFirstTexture = false;
}

void PixTwoInputFilter::setInputRotation(PixInputRotation newInputRotation, int textureIndex) {
    if (textureIndex == 0)
        m_inputRotation = newInputRotation;
    else
        m_inputRotation2 = newInputRotation;
}

void PixTwoInputFilter::newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) {
    m_outputTextureRetainCount = static_cast<unsigned>(m_targets.size());
    if (m_hasReceivedFirstFrame && m_hasReceivedSecondFrame)
        return;

    PixFrameTime otherSlotsTime;
    if (textureIndex == 1) {
        m_hasReceivedSecondFrame = true;
        m_secondFrameTime = frameTime;
        if (m_firstFrameCheckDisabled)
            m_hasReceivedFirstFrame = true;
        otherSlotsTime = m_firstFrameTime;
    } else {
        m_hasReceivedFirstFrame = true;
        m_firstFrameTime = frameTime;
        if (m_secondFrameCheckDisabled)
            m_hasReceivedSecondFrame = true;
        otherSlotsTime = m_secondFrameTime;
    }

    // A moving picture over a still one goes on at its own pace: the still one never comes again.
    const bool movingFrameOverStillOne = !frameTime.isIndefinite() && otherSlotsTime.isIndefinite();
    if (!(m_hasReceivedFirstFrame && m_hasReceivedSecondFrame) && !movingFrameOverStillOne)
        return;

    // A still first input goes with the second input's time, unless the second never came (its check
    // disabled): then the frame is still.
    const bool secondTimeLeads = m_firstFrameTime.isIndefinite() && m_secondFrameTime.isValid();
    PixFilter::newFrameReadyAtTime(secondTimeLeads ? m_secondFrameTime : m_firstFrameTime, 0);
    m_hasReceivedFirstFrame = false;
    m_hasReceivedSecondFrame = false;
}

} // namespace zm
