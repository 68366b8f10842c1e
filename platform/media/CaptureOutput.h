#pragma once

#include "platform/core/Error.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/SampleBuffer.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace core {
class DispatchQueue;
}

namespace media {

class CaptureSession;

// Where a capture session's samples go. Outputs belong to one session at a time.
//
// Thread safety: every operation may be called from any thread.
class CaptureOutput : public std::enable_shared_from_this<CaptureOutput> {
public:
    // Called on the output's queue with each sample and the output it came from.
    using SampleBufferDelegate = std::function<void(const std::shared_ptr<SampleBuffer>& sample, CaptureOutput& output)>;

    virtual ~CaptureOutput() = default;
    CaptureOutput(const CaptureOutput&) = delete;
    CaptureOutput& operator=(const CaptureOutput&) = delete;

    MediaType mediaType() const { return m_mediaType; }

protected:
    friend class CaptureSession;

    explicit CaptureOutput(MediaType mediaType)
        : m_mediaType(mediaType) {}

    // A sample from the session's device of the output's media type, on the device's thread.
    virtual void deliver(const std::shared_ptr<SampleBuffer>& sample) = 0;

    const MediaType m_mediaType;
    mutable std::mutex m_mutex;
    std::weak_ptr<CaptureSession> m_session; // guarded by m_mutex
};

// Hands each sample to a delegate on a queue: pictures in the chosen pixel format, or sound.
class CaptureDataOutput : public CaptureOutput {
public:
    static std::shared_ptr<CaptureDataOutput> createVideoOutput();
    static std::shared_ptr<CaptureDataOutput> createAudioOutput();

    // Pictures: full-range bi-planar 4:2:0 unless set otherwise.
    PixelFormat videoPixelFormat() const;
    void setVideoPixelFormat(PixelFormat format);
    static std::vector<PixelFormat> availableVideoPixelFormats();
    // Kept for the session's owner to read; this output hands on every sample it gets.
    bool alwaysDiscardsLateVideoFrames() const { return m_alwaysDiscardsLateVideoFrames.load(); }
    void setAlwaysDiscardsLateVideoFrames(bool discards) { m_alwaysDiscardsLateVideoFrames.store(discards); }

    // Null stops the deliveries.
    void setSampleBufferDelegate(SampleBufferDelegate delegate, std::shared_ptr<core::DispatchQueue> queue);

private:
    explicit CaptureDataOutput(MediaType mediaType);
    void deliver(const std::shared_ptr<SampleBuffer>& sample) override;

    PixelFormat m_videoPixelFormat = PixelFormat::BiPlanar420FullRange; // guarded by m_mutex
    SampleBufferDelegate m_delegate;                                    // the same
    std::shared_ptr<core::DispatchQueue> m_queue;                       // the same
    std::atomic<bool> m_alwaysDiscardsLateVideoFrames{true};
};

// Takes photos: the session camera's latest picture at its full size, in the chosen pixel format.
class CaptureStillImageOutput : public CaptureOutput {
public:
    using CompletionHandler = std::function<void(const std::shared_ptr<SampleBuffer>& photo, const std::optional<core::Error>& error)>;

    static std::shared_ptr<CaptureStillImageOutput> create();

    PixelFormat pixelFormat() const;
    void setPixelFormat(PixelFormat format);
    static std::vector<PixelFormat> availableImageDataPixelFormats();

    // From a request until its handler has returned.
    bool isCapturingStillImage() const { return m_capturing.load(); }
    // The handler runs on the output's own queue with the photo (its attachments name the camera and
    // the photo's size) or the error.
    void captureStillImageAsynchronously(CompletionHandler handler);

private:
    CaptureStillImageOutput();
    void deliver(const std::shared_ptr<SampleBuffer>&) override {}

    PixelFormat m_pixelFormat = PixelFormat::BiPlanar420FullRange; // guarded by m_mutex
    std::shared_ptr<core::DispatchQueue> m_queue;
    std::atomic<int> m_capturing{0};
};

} // namespace media
