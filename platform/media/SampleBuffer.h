#pragma once

#include "platform/core/Value.h"
#include "platform/media/MediaTime.h"

#include <atomic>
#include <memory>
#include <vector>

namespace media {

class PixelBuffer;

enum class MediaType { Video, Audio };

// How PCM audio is laid out in a sample buffer: 32-bit float samples, the channels of each frame side
// by side (interleaved).
struct AudioFormat {
    int sampleRate = 0;   // frames a second
    int channelCount = 0; // samples a frame

    bool isValid() const { return sampleRate > 0 && channelCount > 0; }
    friend bool operator==(const AudioFormat&, const AudioFormat&) = default;
};

// One unit of media with its time: a picture (a pixel buffer) or a run of PCM audio. Cameras and movie
// readers make them, the image framework and movie writers take them.
//
// A sample buffer does not change once made, except that its owner may invalidate it: an invalid buffer
// is refused by whoever it is handed to next, the way a reader's memory is given back early.
//
// Thread safety: every operation may be called from any thread.
class SampleBuffer {
public:
    // A picture shown at `presentationTime` for `duration` (invalid when not known); nullptr without a
    // picture.
    static std::shared_ptr<SampleBuffer> makeImage(std::shared_ptr<PixelBuffer> imageBuffer,
                                                   MediaTime presentationTime,
                                                   MediaTime duration = MediaTime::invalidTime());
    // Whole frames of interleaved samples starting at `presentationTime`; nullptr for an invalid format
    // or a sample count that is not a whole number of frames.
    static std::shared_ptr<SampleBuffer> makeAudio(AudioFormat format, std::vector<float> samples,
                                                   MediaTime presentationTime);

    SampleBuffer(const SampleBuffer&) = delete;
    SampleBuffer& operator=(const SampleBuffer&) = delete;

    MediaType mediaType() const { return m_mediaType; }
    MediaTime presentationTime() const { return m_presentationTime; }
    // For audio, the length of its frames at its sample rate.
    MediaTime duration() const { return m_duration; }

    // The picture of a video buffer; nullptr for audio.
    const std::shared_ptr<PixelBuffer>& imageBuffer() const { return m_imageBuffer; }

    // The PCM of an audio buffer; empty for video.
    const AudioFormat& audioFormat() const { return m_audioFormat; }
    const std::vector<float>& samples() const { return m_samples; }
    std::size_t frameCount() const;

    // Named facts about the sample (a still photo's exposure, ...), set by its maker before handing it
    // on.
    const core::Dictionary& attachments() const { return m_attachments; }
    void setAttachments(core::Dictionary attachments) { m_attachments = std::move(attachments); }

    bool isValid() const { return m_valid.load(); }
    void invalidate() { m_valid.store(false); }

private:
    SampleBuffer(MediaType mediaType, MediaTime presentationTime, MediaTime duration);

    const MediaType m_mediaType;
    const MediaTime m_presentationTime;
    const MediaTime m_duration;
    std::shared_ptr<PixelBuffer> m_imageBuffer;
    AudioFormat m_audioFormat;
    std::vector<float> m_samples;
    core::Dictionary m_attachments;
    std::atomic<bool> m_valid{true};
};

} // namespace media
