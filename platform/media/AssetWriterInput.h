#pragma once

#include "platform/core/Clock.h"
#include "platform/core/Geometry.h"
#include "platform/core/Result.h"
#include "platform/core/Value.h"
#include "platform/media/SampleBuffer.h"

#include <functional>
#include <memory>
#include <optional>

namespace core {
class DispatchQueue;
}

namespace media {

struct WriterCore;

// One track of a movie being written: the samples appended to it are encoded with its settings and
// written by its AssetWriter. An input takes only so many samples ahead of its encoder; while that many
// wait, it is not ready for more, and a producer either drops what it has (live media) or waits.
//
// Thread safety: every operation may be called from any thread.
class AssetWriterInput : public std::enable_shared_from_this<AssetWriterInput> {
public:
    // How many samples may wait for the encoder before the input stops being ready.
    static constexpr std::size_t kPendingSampleLimit = 3;

    // Video needs settings (codec, width and height; see OutputSettings.h). Audio without settings
    // is kept uncompressed, as PCM at 48000 Hz, mono. An error for settings that are missing, unknown or
    // out of range.
    static core::Result<std::shared_ptr<AssetWriterInput>> create(MediaType mediaType,
                                                                  std::optional<core::Dictionary> outputSettings);
    ~AssetWriterInput();
    AssetWriterInput(const AssetWriterInput&) = delete;
    AssetWriterInput& operator=(const AssetWriterInput&) = delete;

    MediaType mediaType() const { return m_mediaType; }
    const std::optional<core::Dictionary>& outputSettings() const { return m_outputSettings; }

    // Whether the samples come from a live source; the encoder then favours speed. Set it before
    // writing starts.
    bool expectsMediaDataInRealTime() const;
    void setExpectsMediaDataInRealTime(bool realTime);
    // How the picture is to be shown (turned, mirrored); written into the movie. Set it before writing
    // starts.
    core::AffineTransform transform() const;
    void setTransform(const core::AffineTransform& transform);

    // True while its writer is writing, the input is not finished and fewer than the limit of samples
    // wait for the encoder.
    bool isReadyForMoreMediaData() const;
    // Waits until the input is ready, or has stopped taking media for good, or `timeout` has passed on
    // the current clock. Answers whether it is ready.
    bool waitUntilReadyForMoreMediaData(core::Duration timeout) const;

    // Queues the sample for the encoder. False, taking nothing, when the input is not ready, the
    // writer's session has not started, or the sample is invalid or of the other media type.
    bool appendSampleBuffer(const std::shared_ptr<SampleBuffer>& sample);

    // No more samples will come; those queued are still written.
    void markAsFinished();

    // Calls `block` on `queue` whenever the input is ready, until it is finished: the block appends
    // while the input stays ready and returns. The request lasts until markAsFinished().
    void requestMediaDataWhenReady(std::shared_ptr<core::DispatchQueue> queue, std::function<void()> block);

private:
    friend class AssetWriter;
    friend struct WriterCore;

    AssetWriterInput(MediaType mediaType, std::optional<core::Dictionary> outputSettings);

    const MediaType m_mediaType;
    const std::optional<core::Dictionary> m_outputSettings;
    // Set once by the writer that takes the input; the rest of the input's state lives there.
    std::shared_ptr<WriterCore> m_core;
    bool m_realTime = false;                 // guarded by the core's lock once added
    core::AffineTransform m_transform;       // the same
};

} // namespace media
