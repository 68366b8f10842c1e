#pragma once

#include "framework/Source/PixInput.h"

#include <atomic>
#include <memory>

namespace zm {

class PixTextureOutput;

// Told of each frame that reaches a texture output, on the processing queue.
class PixTextureOutputDelegate {
public:
    virtual void newFrameReadyFromTextureOutput(PixTextureOutput& callbackTextureOutput) = 0;

protected:
    ~PixTextureOutputDelegate() = default;
};

// A sink that reads no pixels: it hands each frame's texture name to its delegate, which draws with it
// on the processing queue (the texture belongs to the framework's context).
class PixTextureOutput : public PixInput {
public:
    static std::shared_ptr<PixTextureOutput> create();

    // Not owned: the delegate outlives the output, or clears itself first.
    void setDelegate(PixTextureOutputDelegate* newDelegate);
    GLuint texture() const { return m_texture.load(); }
    void setEnabled(bool newValue) { m_enabled = newValue; }

    // PixInput
    void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) override;
    void setInputTexture(GLuint newInputTexture, int textureIndex) override;
    void setTextureDelegate(PixTextureDelegate*, int) override {}
    int nextAvailableTextureIndex() const override { return 0; }
    void setInputSize(core::Size, int) override {}
    void setInputRotation(PixInputRotation, int) override {}
    core::Size maximumOutputSize() const override { return {}; }
    void endProcessing() override {}
    bool shouldIgnoreUpdatesToThisTarget() const override { return false; }
    bool enabled() const override { return m_enabled; }
    void conserveMemoryForNextFrame() override {}
    bool wantsMonochromeInput() const override { return false; }
    void setCurrentlyReceivingMonochromeInput(bool) override {}

private:
    PixTextureOutput() = default;

    PixTextureOutputDelegate* m_delegate = nullptr; // on the processing queue
    std::atomic<GLuint> m_texture = 0;
    bool m_enabled = true;
};

} // namespace zm
