#pragma once

#include "framework/Source/PixFilter.h"

#include <vector>

namespace zm {

// A delay line of frames: with a buffer size of n, targets see each frame when the n-th frame after it
// arrives (one frame late at size 1). Each frame is drawn into the last of n textures; targets read the
// first, which then moves to the end. Textures not yet drawn into hold transparent black.
class PixBuffer : public PixFilter {
public:
    static std::shared_ptr<PixBuffer> create();
    ~PixBuffer() override;

    // How many frames late targets see a frame; 1 at first. 0 changes nothing.
    unsigned bufferSize() const;
    void setBufferSize(unsigned newValue);

    // The oldest frame, which targets read.
    GLuint textureForOutput() const override;
    void prepareForImageCapture() override {}

    // PixInput
    void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) override;
    // A buffer closes feedback loops (a low-pass filter's): the end of the stream goes round once.
    void endProcessing() override;

protected:
    PixBuffer();

    void setOutputFBO() override;
    // A new input size gives every buffered texture the new size, at the next frame.
    void recreateFilterFBO() override { destroyFilterFBO(); }

private:
    // A texture of the size, cleared to transparent black. On the queue.
    GLuint newClearedTexture(core::Size size);
    void bindFramebufferTo(GLuint texture, core::Size size);
    void resizeTexturesIfNeeded(core::Size size);
    void deleteBufferedTextures(std::size_t keep);

    // On the processing queue. The first is read by targets, the last is drawn into next.
    std::vector<GLuint> m_bufferedTextures;
    core::Size m_bufferedTexturesSize;
    unsigned m_bufferSize = 1;
    bool m_endingProcessing = false;
};

} // namespace zm
