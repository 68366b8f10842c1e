#include "platform/media/Composition.h"

#include <algorithm>

namespace media {

std::shared_ptr<Composition> Composition::create(std::vector<CompositionSegment> segments) {
    if (segments.empty())
        return nullptr;
    for (CompositionSegment& segment : segments) {
        if (!segment.asset || !segment.start.isNumeric() || segment.start < MediaTime::zero() ||
            !segment.asset->duration().isNumeric() || !(segment.start < segment.asset->duration()) ||
            !(segment.duration > MediaTime::zero()))
            return nullptr;
        const MediaTime end = segment.start + segment.duration;
        if (!end.isNumeric() || segment.asset->duration() < end)
            segment.duration = segment.asset->duration() - segment.start;
    }
    return std::shared_ptr<Composition>(new Composition(std::move(segments)));
}

Composition::Composition(std::vector<CompositionSegment> segments)
    : m_segments(std::move(segments)) {
    for (const CompositionSegment& segment : m_segments) {
        m_starts.push_back(m_duration);
        m_duration = m_duration + segment.duration;
    }
}

bool Composition::hasTracksWithMediaType(MediaType mediaType) const {
    return std::any_of(m_segments.begin(), m_segments.end(), [&](const CompositionSegment& segment) {
        return !segment.asset->tracksWithMediaType(mediaType).empty();
    });
}

} // namespace media
