#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Attributes "position", "inputTextureCoordinate" and "inputTextureCoordinate2"; hands the fragment
// shader "textureCoordinate" and "textureCoordinate2".
extern const char* const PixTwoInputVertexShader;

// A filter of two pictures: the first source added feeds slot 0 ("inputImageTexture"), the next one
// slot 1 ("inputImageTexture2"), each sampled with its own rotation. Only slot 0 sizes the output.
//
// A frame is drawn once both slots have delivered one. A moving input over a still one (a still
// picture arrives once, with the indefinite time) is drawn at each of its frames, with its time. A
// slot whose check is disabled counts as always delivered.
class PixTwoInputFilter : public PixFilter {
public:
    // A filter of the fragment shader over the two-input vertex shader.
    static std::shared_ptr<PixTwoInputFilter> create(const std::string& fragmentShaderString);

    void disableFirstFrameCheck();
    void disableSecondFrameCheck();

    // PixInput
    void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) override;
    void setInputTexture(GLuint newInputTexture, int textureIndex) override;
    void setTextureDelegate(PixTextureDelegate* newTextureDelegate, int textureIndex) override;
    // Slot 1 once slot 0 has a source.
    int nextAvailableTextureIndex() const override;
    void setInputSize(core::Size newSize, int textureIndex) override;
    void setInputRotation(PixInputRotation newInputRotation, int textureIndex) override;

protected:
    PixTwoInputFilter(const std::string& vertexShaderString, const std::string& fragmentShaderString,
                      const std::vector<std::string>& extraAttributes = {"inputTextureCoordinate2"});

    void setAdditionalInputsForDraw() override;
    void releaseInputTexturesIfNeeded() override;

    // On the processing queue.
    GLuint m_filterSourceTexture2 = 0;
    PixInputRotation m_inputRotation2 = PixInputRotationNone;
    PixTextureDelegate* m_secondTextureDelegate = nullptr; // the slot-1 source, which detaches first
    PixFrameTime m_firstFrameTime;
    PixFrameTime m_secondFrameTime;
    bool m_hasSetFirstTexture = false;
    bool m_hasReceivedFirstFrame = false;
    bool m_hasReceivedSecondFrame = false;
    bool m_firstFrameCheckDisabled = false;
    bool m_secondFrameCheckDisabled = false;

private:
    GLuint m_filterSecondTextureCoordinateAttribute = 0;
    GLint m_filterInputTextureUniform2 = -1;
};

} // namespace zm
