#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The two-input vertex shader with a third coordinate, "inputTextureCoordinate3", handed on as
// "textureCoordinate3".
extern const char* const PixThreeInputVertexShader;

// A filter of three pictures, on slots 0, 1 and 2 in the order their sources are added (the third
// sampled as "inputImageTexture3"). A frame is drawn once all three slots have delivered one, or when a
// moving input meets a still one, and goes on with the time of the frame that completed the set.
class PixThreeInputFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixThreeInputFilter> create(const std::string& fragmentShaderString);

    void disableThirdFrameCheck();

    // PixInput
    void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) override;
    void setInputTexture(GLuint newInputTexture, int textureIndex) override;
    void setTextureDelegate(PixTextureDelegate* newTextureDelegate, int textureIndex) override;
    // The lowest slot without a source; slot 2 once both others have one.
    int nextAvailableTextureIndex() const override;
    void setInputSize(core::Size newSize, int textureIndex) override;
    void setInputRotation(PixInputRotation newInputRotation, int textureIndex) override;

protected:
    PixThreeInputFilter(const std::string& vertexShaderString, const std::string& fragmentShaderString);

    void setAdditionalInputsForDraw() override;
    void releaseInputTexturesIfNeeded() override;

private:
    // On the processing queue.
    GLuint m_filterThirdTextureCoordinateAttribute = 0;
    GLint m_filterInputTextureUniform3 = -1;
    GLuint m_filterSourceTexture3 = 0;
    PixInputRotation m_inputRotation3 = PixInputRotationNone;
    PixTextureDelegate* m_thirdTextureDelegate = nullptr; // the slot-2 source, which detaches first
    PixFrameTime m_thirdFrameTime;
    bool m_hasSetSecondTexture = false;
    bool m_hasReceivedThirdFrame = false;
    bool m_thirdFrameCheckDisabled = false;
};

} // namespace zm
