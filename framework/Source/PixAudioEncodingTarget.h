#pragma once

#include <memory>

namespace media {
class SampleBuffer;
}

namespace zm {

// What a source with sound (a movie, a camera) records its sound into. An interface rather than the
// movie writer itself, so that every source, filter and output does not depend on the movie encoder:
// a program that only filters pictures never links the media libraries.
class PixAudioEncodingTarget {
public:
    virtual ~PixAudioEncodingTarget() = default;

    virtual bool hasAudioTrack() const = 0;
    virtual void setHasAudioTrack(bool newValue) = 0;
    // A source whose samples are not used after the call lets the target invalidate them when done.
    virtual void setShouldInvalidateAudioSampleWhenDone(bool newValue) = 0;
    // Appends a run of sound (from the source's thread).
    virtual void processAudioBuffer(const std::shared_ptr<media::SampleBuffer>& audioBuffer) = 0;
};

} // namespace zm
