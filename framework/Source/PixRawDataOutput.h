#pragma once

#include "framework/Source/PixInput.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace media {
class PixelBuffer;
}

namespace zm {

class PixRenderTarget;
class PixTextureCopy;

// One pixel: red, green, blue, alpha.
struct GPUByteColorVector {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0;

    friend bool operator==(const GPUByteColorVector&, const GPUByteColorVector&) = default;
};

// A sink that hands the picture at the end of a graph to the caller as bytes in memory, at a size of
// the caller's choosing. It draws only when asked for the bytes, and at most once a frame; a block
// tells the caller that a new frame has come.
//
// The bytes are four a pixel (red, green, blue, alpha, or blue, green, red, alpha), the picture's top
// row first, in rows of bytesPerRowInOutput() bytes, which is usually more than four times the width.
// They stay valid until the next read after a new frame, or the next size change.
//
// Threads: every operation may be called from any thread; the GL work runs on the processing queue and
// the caller waits for it. The new-frame block runs on the processing queue, where it may read the bytes.
class PixRawDataOutput : public PixInput {
public:
    using NewFrameAvailableBlock = std::function<void()>;

    static std::shared_ptr<PixRawDataOutput> create(core::Size newImageSize, bool resultsInBGRAFormat);
    ~PixRawDataOutput() override;
    PixRawDataOutput(const PixRawDataOutput&) = delete;
    PixRawDataOutput& operator=(const PixRawDataOutput&) = delete;

    // The current frame's bytes, drawn and read back first when that has not happened since the frame
    // came; nullptr when the size has no pixels.
    const std::uint8_t* rawBytesForImage();
    // The length of a row of those bytes; 0 before the first read and after a size change.
    std::size_t bytesPerRowInOutput() const;
    // One pixel of the current frame, red first whatever the byte order. Points count in pixels from
    // the bottom-left corner; those outside the picture read its nearest edge.
    GPUByteColorVector colorAtLocation(core::Point locationInImage);

    core::Size imageSize() const;
    // Drops the framebuffer and the bytes; the next read makes them again at the new size.
    void setImageSize(core::Size newImageSize);
    void setNewFrameAvailableBlock(NewFrameAvailableBlock block);
    void setEnabled(bool newValue) { m_enabled = newValue; }

    // PixInput
    void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) override;
    void setInputTexture(GLuint newInputTexture, int textureIndex) override;
    // The output draws its input as it comes, at its own size: it needs no delegate, no size and no
    // rotation from the source.
    void setTextureDelegate(PixTextureDelegate*, int) override {}
    int nextAvailableTextureIndex() const override { return 0; }
    void setInputSize(core::Size, int) override {}
    void setInputRotation(PixInputRotation, int) override {}
    core::Size maximumOutputSize() const override { return imageSize(); }
    void endProcessing() override {}
    bool shouldIgnoreUpdatesToThisTarget() const override { return false; }
    bool enabled() const override { return m_enabled; }
    void conserveMemoryForNextFrame() override {}
    bool wantsMonochromeInput() const override { return false; }
    void setCurrentlyReceivingMonochromeInput(bool) override {}

private:
    PixRawDataOutput(core::Size newImageSize, bool resultsInBGRAFormat);

    // On the queue.
    void destroyDataFBO();
    void renderAtInternalSize();

    // Everything below is touched on the processing queue only.
    core::Size m_imageSize;
    const bool m_outputBGRA;
    std::unique_ptr<PixTextureCopy> m_dataProgram;
    std::unique_ptr<PixRenderTarget> m_renderTarget;
    std::shared_ptr<media::PixelBuffer> m_pixelBuffer; // holds the bytes handed out
    GLuint m_inputTextureForDisplay = 0;
    bool m_hasReadFromTheCurrentFrame = false;
    NewFrameAvailableBlock m_newFrameAvailableBlock;
    bool m_enabled = true;
};

} // namespace zm
