#pragma once

#include "platform/core/Geometry.h"
#include "platform/media/Asset.h"
#include "platform/media/MediaTime.h"

#include <memory>
#include <vector>

namespace media {

// A part of a movie file: `duration` from `start` (an infinite duration: to its end).
struct CompositionSegment {
    std::shared_ptr<Asset> asset;
    MediaTime start = MediaTime::zero();
    MediaTime duration = MediaTime::positiveInfinity();
};

// An edit: movie parts played one after the other. Each part's samples keep their order and spacing
// and are moved to where the part begins on the composition's timeline.
//
// Thread safety: immutable once made.
class Composition {
public:
    // nullptr without segments, or with a segment that has no asset or begins outside its asset.
    static std::shared_ptr<Composition> create(std::vector<CompositionSegment> segments);

    // The segments, each with a finite duration that ends within its asset.
    const std::vector<CompositionSegment>& segments() const { return m_segments; }
    // Where the segment begins on the composition's timeline.
    MediaTime startOfSegment(std::size_t index) const { return m_starts[index]; }
    MediaTime duration() const { return m_duration; }
    bool hasTracksWithMediaType(MediaType mediaType) const;

private:
    explicit Composition(std::vector<CompositionSegment> segments);

    std::vector<CompositionSegment> m_segments;
    std::vector<MediaTime> m_starts;
    MediaTime m_duration = MediaTime::zero();
};

// How a composition's pictures are made: every picture scaled to renderSize × renderScale pixels, one
// every frameDuration (each showing the latest source picture at that time).
struct VideoComposition {
    core::Size renderSize;
    MediaTime frameDuration = MediaTime::make(1, 30);
    float renderScale = 1;
};

// How loud each segment's sound is mixed: 1 where no volume is given.
struct AudioMix {
    std::vector<float> volumes;

    float volumeOfSegment(std::size_t index) const { return index < volumes.size() ? volumes[index] : 1.0f; }
};

} // namespace media
