#pragma once

// Internal to the asset writer: the state a writer shares with its inputs and its encoding thread.

#include "platform/core/ClockWait.h"
#include "platform/core/Error.h"
#include "platform/core/Value.h"
#include "platform/media/AssetWriter.h"
#include "platform/media/SampleBuffer.h"
#include "platform/media/TrackEncoder.h"

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace core {
class DispatchQueue;
}

namespace media {

struct WriterCore {
    struct Track {
        // Owned by the writer; an input holds the core, so the core holds its inputs by address alone
        // (it never reaches an input once its writer is gone: the writer stops the encoding first).
        AssetWriterInput* input;
        std::deque<std::shared_ptr<SampleBuffer>> pending;
        bool finished = false;
        std::shared_ptr<core::DispatchQueue> requestQueue;
        std::function<void()> requestBlock;
        bool requestScheduled = false;
        std::unique_ptr<TrackEncoder> encoder; // the encoding thread's, once writing
    };

    // Its lock guards everything below; its condition tells of every change.
    core::ClockWait wait;
    AssetWriter::Status status = AssetWriter::Status::Unknown;
    std::optional<core::Error> error;
    std::vector<Track> tracks; // in the order the inputs were added
    core::Dictionary metadata;
    MediaTime sessionStart;
    bool held = false;
    bool finishing = false;
    std::function<void()> completionHandler;

    // All with the lock held.
    Track* trackOf(const AssetWriterInput& input);
    bool isReady(const Track& track) const;
    // Calls the track's request block, on its queue, when the track is ready and no call is on its way.
    void pokeRequest(Track& track);
    void pokeRequests();
    void fail(core::Error failure);
};

} // namespace media
