#pragma once

// Internal to the asset writer: one encoder a track, writing its packets into the writer's muxer.

#include "platform/core/Geometry.h"
#include "platform/core/Result.h"
#include "platform/media/FFmpeg.h"
#include "platform/media/MediaTime.h"
#include "platform/media/OutputSettings.h"
#include "platform/media/SampleBuffer.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace media {


// Used on one thread at a time: the writer makes it, then hands it to its encoding thread.
class TrackEncoder {
public:
    virtual ~TrackEncoder() = default;

    // Encodes one sample of a session that started at `sessionStart`; samples from before the start
    // are left out.
    virtual core::Status encode(const SampleBuffer& sample, MediaTime sessionStart) = 0;
    // Encodes what is held back and drains the encoder.
    virtual core::Status finish() = 0;

protected:
    TrackEncoder(AVFormatContext& format, ffmpeg::CodecContext codec, AVStream& stream);

    // Sends a frame (nullptr: the end) and writes every packet the encoder then gives.
    core::Status sendAndWrite(const AVFrame* frame);
    // The duration of the packet of the frame at `pts`, when the track knows it; else 0.
    virtual std::int64_t packetDuration(std::int64_t) { return 0; }

    AVFormatContext& m_format;
    ffmpeg::CodecContext m_codec;
    AVStream& m_stream;
    ffmpeg::Packet m_packet;
};

// Pictures of any pixel-buffer format, scaled and converted to the encoder's 4:2:0.
class VideoTrackEncoder final : public TrackEncoder {
public:
    // `realTime`: live pictures, for which the encoder trades size for speed.
    static core::Result<std::unique_ptr<TrackEncoder>> create(AVFormatContext& format, const VideoSettings& settings,
                                                              bool realTime, const core::AffineTransform& transform);

    core::Status encode(const SampleBuffer& sample, MediaTime sessionStart) override;
    core::Status finish() override;

private:
    VideoTrackEncoder(AVFormatContext& format, ffmpeg::CodecContext codec, AVStream& stream, YCbCrMatrix matrix);

    std::int64_t packetDuration(std::int64_t pts) override;
    core::Status encodeHeldFrame(std::int64_t duration);

    const YCbCrMatrix m_matrix;
    ffmpeg::Scaler m_scaler;
    ffmpeg::Frame m_heldFrame;  // the last picture, sent once the next one tells its duration
    ffmpeg::Frame m_spareFrame; // the picture sent before it, drawn over next
    std::int64_t m_lastDuration = 0;
    std::vector<std::pair<std::int64_t, std::int64_t>> m_durations; // pts and duration of frames sent
};

// PCM of any rate and channel count, resampled to the track's and cut into the encoder's frames.
class AudioTrackEncoder final : public TrackEncoder {
public:
    // No settings: uncompressed PCM at 48000 Hz, mono.
    static core::Result<std::unique_ptr<TrackEncoder>> create(AVFormatContext& format,
                                                              const std::optional<AudioSettings>& settings);

    core::Status encode(const SampleBuffer& sample, MediaTime sessionStart) override;
    core::Status finish() override;

private:
    AudioTrackEncoder(AVFormatContext& format, ffmpeg::CodecContext codec, AVStream& stream);

    core::Status encodeFrames(bool all);

    ffmpeg::ResampleContext m_resample;
    AudioFormat m_sourceFormat;
    ffmpeg::AudioFifo m_fifo;
    std::int64_t m_nextPts = 0;          // in samples of the track
    std::int64_t m_samplesToSkip = 0;    // from before the session start
    bool m_started = false;
};

} // namespace media
