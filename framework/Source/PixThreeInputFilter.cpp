#include "framework/Source/PixThreeInputFilter.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/PixContext.h"

namespace zm {

const char* const PixThreeInputVertexShader = R"(
attribute vec4 position;
attribute vec4 inputTextureCoordinate;
attribute vec4 inputTextureCoordinate2;
attribute vec4 inputTextureCoordinate3;

varying vec2 textureCoordinate;
varying vec2 textureCoordinate2;
varying vec2 textureCoordinate3;

void main()
{
    gl_Position = position;
    textureCoordinate = inputTextureCoordinate.xy;
    textureCoordinate2 = inputTextureCoordinate2.xy;
    textureCoordinate3 = inputTextureCoordinate3.xy;
}
)";

std::shared_ptr<PixThreeInputFilter> PixThreeInputFilter::create(const std::string& fragmentShaderString) {
    return std::shared_ptr<PixThreeInputFilter>(
        new PixThreeInputFilter(PixThreeInputVertexShader, fragmentShaderString));
}

PixThreeInputFilter::PixThreeInputFilter(const std::string& vertexShaderString,
                                         const std::string& fragmentShaderString)
    : PixTwoInputFilter(vertexShaderString, fragmentShaderString,
                        {"inputTextureCoordinate2", "inputTextureCoordinate3"}) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        m_filterThirdTextureCoordinateAttribute = m_filterProgram->attributeIndex("inputTextureCoordinate3");
        m_filterInputTextureUniform3 = m_filterProgram->uniformIndex("inputImageTexture3");
    });
}

void PixThreeInputFilter::disableThirdFrameCheck() {
    runSynchronouslyOnContextQueue([&] { m_thirdFrameCheckDisabled = true; });
}

void PixThreeInputFilter::setAdditionalInputsForDraw() {
    PixTwoInputFilter::setAdditionalInputsForDraw();
    glActiveTexture(GL_TEXTURE4);
    glBindTexture(GL_TEXTURE_2D, m_filterSourceTexture3);
    glUniform1i(m_filterInputTextureUniform3, 4);
    glVertexAttribPointer(m_filterThirdTextureCoordinateAttribute, 2, GL_FLOAT, GL_FALSE, 0,
                          textureCoordinatesForRotation(m_inputRotation3).data());
}

void PixThreeInputFilter::releaseInputTexturesIfNeeded() {
    if (m_shouldConserveMemoryForNextFrame && m_thirdTextureDelegate)
        m_thirdTextureDelegate->textureNoLongerNeededForTarget(this);
    PixTwoInputFilter::releaseInputTexturesIfNeeded();
}

int PixThreeInputFilter::nextAvailableTextureIndex() const {
    int index = 0;
    // The lowest free slot: a source leaving slot 0 hands it to the next one added, even while slot 1
    // is taken.
    runSynchronouslyOnContextQueue([&] { index = !m_hasSetFirstTexture ? 0 : !m_hasSetSecondTexture ? 1 : 2; });
    return index;
}

void PixThreeInputFilter::setInputTexture(GLuint newInputTexture, int textureIndex) {
    if (textureIndex == 0 || textureIndex == 1)
        PixTwoInputFilter::setInputTexture(newInputTexture, textureIndex);
    if (textureIndex == 1)
        m_hasSetSecondTexture = true;
    else if (textureIndex != 0)
        m_filterSourceTexture3 = newInputTexture;
}

void PixThreeInputFilter::setTextureDelegate(PixTextureDelegate* newTextureDelegate, int textureIndex) {
    if (textureIndex == 0 || textureIndex == 1)
        PixTwoInputFilter::setTextureDelegate(newTextureDelegate, textureIndex);
    else
        m_thirdTextureDelegate = newTextureDelegate;
}

void PixThreeInputFilter::setInputSize(core::Size newSize, int textureIndex) {
    const bool detached = newSize.width == 0 && newSize.height == 0;
    if (textureIndex == 0)
        PixTwoInputFilter::setInputSize(newSize, textureIndex);
    else if (textureIndex == 1 && detached)
        m_hasSetSecondTexture = false;
}

void PixThreeInputFilter::setInputRotation(PixInputRotation newInputRotation, int textureIndex) {
    if (textureIndex == 0 || textureIndex == 1)
        PixTwoInputFilter::setInputRotation(newInputRotation, textureIndex);
    else
        m_inputRotation3 = newInputRotation;
}

void PixThreeInputFilter::newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) {
    m_outputTextureRetainCount = static_cast<unsigned>(m_targets.size());
    if (m_hasReceivedFirstFrame && m_hasReceivedSecondFrame && m_hasReceivedThirdFrame)
        return;

    // The frame marks its own slot, and every slot whose check is disabled.
    PixFrameTime otherSlotsTime = m_firstFrameTime;
    if (textureIndex == 0) {
        m_hasReceivedFirstFrame = true;
        m_firstFrameTime = frameTime;
        otherSlotsTime = m_secondFrameTime;
    } else if (textureIndex == 1) {
        m_hasReceivedSecondFrame = true;
        m_secondFrameTime = frameTime;
    } else {
        m_hasReceivedThirdFrame = true;
        m_thirdFrameTime = frameTime;
    }
    m_hasReceivedFirstFrame = m_hasReceivedFirstFrame || m_firstFrameCheckDisabled;
    m_hasReceivedSecondFrame = m_hasReceivedSecondFrame || m_secondFrameCheckDisabled;
    m_hasReceivedThirdFrame = m_hasReceivedThirdFrame || m_thirdFrameCheckDisabled;

    const bool movingFrameOverStillOne = !frameTime.isIndefinite() && otherSlotsTime.isIndefinite();
    if (!(m_hasReceivedFirstFrame && m_hasReceivedSecondFrame && m_hasReceivedThirdFrame) &&
        !movingFrameOverStillOne)
        return;

    PixFilter::newFrameReadyAtTime(frameTime, 0);
    m_hasReceivedFirstFrame = false;
    m_hasReceivedSecondFrame = false;
    m_hasReceivedThirdFrame = false;
}

} // namespace zm
