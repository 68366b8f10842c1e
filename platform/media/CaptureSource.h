#pragma once

// Internal to capture: what delivers one device's samples while a session runs it.

#include "platform/core/Result.h"
#include "platform/media/SampleBuffer.h"

#include <filesystem>
#include <functional>
#include <memory>

namespace media {

class CaptureDevice;

class CaptureSource {
public:
    using Sink = std::function<void(const std::shared_ptr<SampleBuffer>& sample)>;

    virtual ~CaptureSource() = default;

    // Starts delivering samples to the sink from a thread of the source's own. `preferredWidth` and
    // `preferredHeight` are the session preset's (0: the device's own).
    virtual core::Status start(Sink sink, int preferredWidth, int preferredHeight) = 0;
    // Stops; no sample comes once it returns.
    virtual void stop() = 0;
    // The latest picture at the device's full size, for a still photo; nullptr before the first.
    virtual std::shared_ptr<SampleBuffer> latestPicture() const { return nullptr; }

    static std::unique_ptr<CaptureSource> makeMovieCamera(const std::filesystem::path& movie, MediaType mediaType);
    static std::unique_ptr<CaptureSource> makeLinuxCamera(const std::filesystem::path& device);
    static std::unique_ptr<CaptureSource> makeMicrophone();
};

} // namespace media
