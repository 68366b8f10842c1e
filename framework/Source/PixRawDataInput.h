#pragma once

#include "framework/Source/PixOutput.h"
#include "platform/core/Semaphore.h"

#include <cstdint>
#include <memory>

namespace zm {

// A source of bytes the caller holds in memory: each upload copies them into the output texture, and
// each processData() pushes that texture to the targets as one frame. Frames carry the invalid time,
// for the bytes have none.
//
// Threads: every operation may be called from any thread; uploads wait for the processing queue, pushes
// are queued. At most one push is in flight: one asked for while another is queued is dropped.
class PixRawDataInput : public PixOutput {
public:
    // Bytes of `imageSize` pixels in the GL pixel format and type (tightly packed rows), uploaded at once.
    // An RGB format gets an RGB texture, every other format an RGBA one.
    static std::shared_ptr<PixRawDataInput> create(const std::uint8_t* bytesToUpload, core::Size imageSize,
                                                   GLenum pixelFormat = GL_BGRA_EXT,
                                                   GLenum pixelType = GL_UNSIGNED_BYTE);

    // Replaces the texture with new bytes of a new size.
    void updateDataFromBytes(const std::uint8_t* bytesToUpload, core::Size imageSize);
    // Queues one frame to every target and answers true; false, queuing nothing, while the previous
    // frame is still on its way.
    bool processData();

    core::Size outputImageSize() const;
    // How the next bytes are laid out; the bytes already uploaded keep theirs.
    GLenum pixelFormat() const;
    void setPixelFormat(GLenum newValue);
    GLenum pixelType() const;
    void setPixelType(GLenum newValue);

private:
    PixRawDataInput(GLenum pixelFormat, GLenum pixelType);

    void uploadBytes(const std::uint8_t* bytesToUpload, core::Size imageSize);

    // On the processing queue.
    core::Size m_uploadedImageSize;
    GLenum m_pixelFormat;
    GLenum m_pixelType;
    core::Semaphore m_dataUpdateSemaphore{1}; // held while a frame is queued or pushed
};

} // namespace zm
