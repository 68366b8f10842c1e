#include "platform/media/AssetReader.h"

#include "platform/media/FFmpeg.h"
#include "platform/media/PixelBufferPool.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <tuple>

namespace media {

namespace {

// Pictures decoded ahead of their consumer, at most; past that a reader allocates.
constexpr std::size_t kPooledPictures = 8;
// Silence stands in for a segment without sound in runs of this many frames.
constexpr std::int64_t kSilenceRun = 4800;

MediaTime timeIn(std::int64_t ticks, AVRational base) {
    if (ticks == AV_NOPTS_VALUE || base.num <= 0 || base.den <= 0)
        return MediaTime::invalidTime();
    return MediaTime::make(ticks, base.den) * base.num;
}

YCbCrMatrix matrixOf(const AVFrame& frame) {
    switch (frame.colorspace) {
    case AVCOL_SPC_BT709:
        return YCbCrMatrix::ITU_R_709;
    case AVCOL_SPC_BT470BG:
    case AVCOL_SPC_SMPTE170M:
    case AVCOL_SPC_FCC:
        return YCbCrMatrix::ITU_R_601;
    default:
        // Untagged video follows the custom: high definition is BT.709, smaller pictures BT.601.
        return frame.height >= 720 ? YCbCrMatrix::ITU_R_709 : YCbCrMatrix::ITU_R_601;
    }
}

bool isFullRange(const AVFrame& frame) {
    switch (frame.format) {
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ444P:
        return true;
    default:
        return frame.color_range == AVCOL_RANGE_JPEG;
    }
}

} // namespace

struct ReaderCore {
    // A part of a file read, and where its samples go on the reader's timeline.
    struct Segment {
        std::shared_ptr<Asset> asset;
        MediaTime start;
        MediaTime end;
        MediaTime offset; // the timeline's time of `start`
        MediaTime toTimeline(MediaTime time) const { return offset + (time - start); }
    };

    struct Stream {
        // Owned by the reader; an output holds the core, so the core holds its outputs by address alone
        // (it decodes only while reading, and a reader that goes ends its reading).
        AssetReaderOutput* output;
        // For the segment being read.
        int streamIndex = -1;
        ffmpeg::CodecContext decoder;
        AVRational timeBase{0, 1};
        bool drained = true;
        // Across segments.
        std::deque<std::shared_ptr<SampleBuffer>> ready;
        bool exhausted = false;
        ffmpeg::Scaler scaler;
        std::shared_ptr<PixelBufferPool> pool;
        ffmpeg::ResampleContext resample;
        std::tuple<int, int, int> resampleFrom{0, 0, -1}; // rate, channels, sample format
        AudioFormat audioFormat;                          // of an audio mix output
        std::shared_ptr<SampleBuffer> heldPicture;        // a video composition's latest picture
        MediaTime nextPictureTime = MediaTime::zero();     // and when it shows next, on one grid for all parts
    };

    std::mutex mutex; // guards everything below
    AssetReader::Status status = AssetReader::Status::Unknown;
    std::optional<core::Error> error;
    std::vector<Stream> streams; // one an output, in the order they were added
    std::vector<Segment> segments;
    std::size_t currentSegment = 0;
    bool segmentOpen = false;
    MediaTime rangeStart = MediaTime::zero();
    MediaTime rangeDuration = MediaTime::positiveInfinity();
    AVFormatContext* format = nullptr;
    ffmpeg::Packet packet{av_packet_alloc()};
    ffmpeg::Frame frame{av_frame_alloc()};

    ~ReaderCore() { closeSegment(); }

    void closeSegment() {
        for (Stream& stream : streams) {
            stream.decoder.reset();
            stream.streamIndex = -1;
            stream.drained = true;
        }
        if (format)
            avformat_close_input(&format);
        segmentOpen = false;
    }

    void end(AssetReader::Status newStatus) {
        status = newStatus;
        closeSegment();
    }

    void fail(core::Error failure) {
        error = std::move(failure);
        end(AssetReader::Status::Failed);
    }

    Stream* streamOf(const AssetReaderOutput& output) {
        for (Stream& stream : streams) {
            if (stream.output == &output)
                return &stream;
        }
        return nullptr;
    }

    static std::shared_ptr<SampleBuffer> takeFirst(Stream& stream) {
        std::shared_ptr<SampleBuffer> sample = std::move(stream.ready.front());
        stream.ready.pop_front();
        return sample;
    }

    bool openSegment(std::size_t index);
    void finishSegment();
    std::shared_ptr<SampleBuffer> copyNext(const AssetReaderOutput& output);
    bool decodeMore();
    void receiveFrames(Stream& stream);
    void showPicturesBefore(Stream& stream, MediaTime limit);
    void addSilence(Stream& stream, const Segment& segment);
    std::shared_ptr<SampleBuffer> convertPicture(Stream& stream, MediaTime time, MediaTime duration);
    std::shared_ptr<SampleBuffer> convertAudio(Stream& stream, MediaTime time, float volume);
};

// Output

AssetReaderOutput::AssetReaderOutput(Kind kind, MediaType mediaType)
    : m_kind(kind)
    , m_mediaType(mediaType) {}

std::shared_ptr<AssetReaderOutput> AssetReaderOutput::trackOutput(const AssetTrack& track, PixelFormat pixelFormat) {
    std::shared_ptr<AssetReaderOutput> output(new AssetReaderOutput(Kind::Track, track.mediaType));
    output->m_track = track;
    output->m_pixelFormat = pixelFormat;
    return output;
}

std::shared_ptr<AssetReaderOutput> AssetReaderOutput::videoCompositionOutput(const VideoComposition& videoComposition,
                                                                             PixelFormat pixelFormat) {
    std::shared_ptr<AssetReaderOutput> output(new AssetReaderOutput(Kind::VideoComposition, MediaType::Video));
    output->m_videoComposition = videoComposition;
    output->m_pixelFormat = pixelFormat;
    return output;
}

std::shared_ptr<AssetReaderOutput> AssetReaderOutput::audioMixOutput(const AudioMix& audioMix) {
    std::shared_ptr<AssetReaderOutput> output(new AssetReaderOutput(Kind::AudioMix, MediaType::Audio));
    output->m_audioMix = audioMix;
    return output;
}

std::shared_ptr<SampleBuffer> AssetReaderOutput::copyNextSampleBuffer() {
    return m_core ? m_core->copyNext(*this) : nullptr;
}

// Reading

std::shared_ptr<SampleBuffer> ReaderCore::copyNext(const AssetReaderOutput& output) {
    const std::lock_guard lock(mutex);
    // Decoding may end the reading (a failure closes everything), so the stream is looked up anew.
    while (status == AssetReader::Status::Reading) {
        Stream* stream = streamOf(output);
        if (!stream)
            return nullptr;
        if (!stream->ready.empty())
            return takeFirst(*stream);
        if (!decodeMore())
            break;
    }
    Stream* stream = status == AssetReader::Status::Reading ? streamOf(output) : nullptr;
    if (!stream)
        return nullptr;
    if (!stream->ready.empty())
        return takeFirst(*stream);
    stream->exhausted = true;
    if (std::all_of(streams.begin(), streams.end(), [](const Stream& each) { return each.exhausted; }))
        end(AssetReader::Status::Completed);
    return nullptr;
}

bool ReaderCore::openSegment(std::size_t index) {
    currentSegment = index;
    const Segment& segment = segments[index];
    const std::string path = segment.asset->url().string();
    if (const int result = avformat_open_input(&format, path.c_str(), nullptr, nullptr); result < 0) {
        fail(ffmpeg::error(MediaErrorCannotOpenFile, "Cannot open " + path, result));
        return false;
    }
    if (const int result = avformat_find_stream_info(format, nullptr); result < 0) {
        fail(ffmpeg::error(MediaErrorCannotOpenFile, "Cannot read " + path, result));
        return false;
    }
    segmentOpen = true;
    for (Stream& stream : streams) {
        const AssetReaderOutput& output = *stream.output;
        int index = -1;
        if (output.kind() == AssetReaderOutput::Kind::Track) {
            index = output.track().streamIndex;
        } else {
            const AVMediaType type = output.mediaType() == MediaType::Video ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO;
            const auto tracks = segment.asset->tracksWithMediaType(output.mediaType());
            index = tracks.empty() ? -1 : av_find_best_stream(format, type, tracks.front().streamIndex, -1, nullptr, 0);
        }
        if (index < 0 || static_cast<unsigned>(index) >= format->nb_streams) {
            // A part without sound is silent in the mix; a part without pictures adds none.
            if (output.kind() == AssetReaderOutput::Kind::AudioMix)
                addSilence(stream, segment);
            continue;
        }
        const AVStream& avStream = *format->streams[index];
        const AVCodec* decoder = avcodec_find_decoder(avStream.codecpar->codec_id);
        ffmpeg::CodecContext context(decoder ? avcodec_alloc_context3(decoder) : nullptr);
        if (!context) {
            fail(mediaError(MediaErrorDecodingFailed, "No decoder for a track of " + path));
            return false;
        }
        avcodec_parameters_to_context(context.get(), avStream.codecpar);
        context->pkt_timebase = avStream.time_base;
        // FFmpeg's default is one thread; as many as the decoder finds useful.
        context->thread_count = 0;
        if (const int result = avcodec_open2(context.get(), decoder, nullptr); result < 0) {
            fail(ffmpeg::error(MediaErrorDecodingFailed, "Cannot decode " + path, result));
            return false;
        }
        stream.streamIndex = index;
        stream.decoder = std::move(context);
        stream.timeBase = avStream.time_base;
        stream.drained = false;
    }
    // Only the streams read are demuxed.
    for (unsigned index = 0; index < format->nb_streams; ++index) {
        const bool wanted = std::any_of(streams.begin(), streams.end(),
                                        [&](const Stream& stream) { return stream.streamIndex == static_cast<int>(index); });
        format->streams[index]->discard = wanted ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    if (segment.start > MediaTime::zero())
        av_seek_frame(format, -1, segment.start.convertScale(AV_TIME_BASE).value(), AVSEEK_FLAG_BACKWARD);
    return true;
}

void ReaderCore::finishSegment() {
    const Segment& segment = segments[currentSegment];
    const MediaTime segmentEnd = segment.end.isNumeric() ? segment.toTimeline(segment.end) : MediaTime::positiveInfinity();
    for (Stream& stream : streams) {
        showPicturesBefore(stream, segmentEnd);
        stream.heldPicture.reset();
    }
    closeSegment();
}

// Reads one packet and decodes it; at the end of a segment goes on to the next. False once nothing more
// can come.
bool ReaderCore::decodeMore() {
    if (!segmentOpen)
        return false;
    if (std::all_of(streams.begin(), streams.end(), [](const Stream& stream) { return stream.drained; })) {
        finishSegment();
        return currentSegment + 1 < segments.size() && openSegment(currentSegment + 1);
    }
    const int result = av_read_frame(format, packet.get());
    if (result == AVERROR_EOF) {
        for (Stream& stream : streams) {
            if (!stream.drained) {
                avcodec_send_packet(stream.decoder.get(), nullptr);
                receiveFrames(stream);
                stream.drained = true;
            }
        }
        return true;
    }
    if (result < 0) {
        fail(ffmpeg::error(MediaErrorDecodingFailed, "Cannot read the movie", result));
        return false;
    }
    for (Stream& stream : streams) {
        if (stream.streamIndex != packet->stream_index || stream.drained)
            continue;
        const int sent = avcodec_send_packet(stream.decoder.get(), packet.get());
        // A damaged packet costs its own picture or sound, not the rest of the movie.
        if (sent < 0 && sent != AVERROR_INVALIDDATA) {
            fail(ffmpeg::error(MediaErrorDecodingFailed, "Cannot decode the movie", sent));
            break;
        }
        receiveFrames(stream);
    }
    av_packet_unref(packet.get());
    return status == AssetReader::Status::Reading;
}

void ReaderCore::receiveFrames(Stream& stream) {
    const Segment& segment = segments[currentSegment];
    const AssetReaderOutput& output = *stream.output;
    while (avcodec_receive_frame(stream.decoder.get(), frame.get()) >= 0) {
        const MediaTime time = timeIn(frame->best_effort_timestamp, stream.timeBase);
        const MediaTime duration = timeIn(frame->pkt_duration, stream.timeBase);
        const bool video = output.mediaType() == MediaType::Video;
        // Inside the segment: a picture that starts in it, a run of sound that ends in it.
        const MediaTime end = video || !duration.isNumeric() ? time : time + duration;
        if (time.isNumeric() && !(time < segment.end)) {
            stream.drained = true;
        } else if (!time.isNumeric() || !(end < segment.start)) {
            const MediaTime onTimeline = time.isNumeric() ? segment.toTimeline(time) : time;
            if (video) {
                auto picture = convertPicture(stream, onTimeline, duration);
                if (picture && output.kind() == AssetReaderOutput::Kind::VideoComposition) {
                    showPicturesBefore(stream, onTimeline);
                    stream.heldPicture = std::move(picture);
                } else if (picture) {
                    stream.ready.push_back(std::move(picture));
                }
            } else if (auto sound = convertAudio(stream, onTimeline, output.audioMix().volumeOfSegment(currentSegment))) {
                stream.ready.push_back(std::move(sound));
            }
        }
        av_frame_unref(frame.get());
        if (stream.drained)
            break;
    }
}

// A video composition shows its latest picture at every frame time before `limit`.
void ReaderCore::showPicturesBefore(Stream& stream, MediaTime limit) {
    if (!stream.heldPicture)
        return;
    const MediaTime frameDuration = stream.output->videoComposition().frameDuration;
    if (!frameDuration.isNumeric() || !(frameDuration > MediaTime::zero())) {
        stream.ready.push_back(std::move(stream.heldPicture));
        return;
    }
    while (stream.nextPictureTime < limit) {
        stream.ready.push_back(
            SampleBuffer::makeImage(stream.heldPicture->imageBuffer(), stream.nextPictureTime, frameDuration));
        stream.nextPictureTime = stream.nextPictureTime + frameDuration;
    }
}

void ReaderCore::addSilence(Stream& stream, const Segment& segment) {
    if (!stream.audioFormat.isValid() || !segment.end.isNumeric())
        return;
    const std::int64_t total = (segment.end - segment.start).convertScale(stream.audioFormat.sampleRate).value();
    for (std::int64_t done = 0; done < total; done += kSilenceRun) {
        const std::int64_t frames = std::min(kSilenceRun, total - done);
        std::vector<float> silence(static_cast<std::size_t>(frames * stream.audioFormat.channelCount), 0.0f);
        stream.ready.push_back(SampleBuffer::makeAudio(
            stream.audioFormat, std::move(silence), segment.offset + MediaTime::make(done, stream.audioFormat.sampleRate)));
    }
}

std::shared_ptr<SampleBuffer> ReaderCore::convertPicture(Stream& stream, MediaTime time, MediaTime duration) {
    const AssetReaderOutput& output = *stream.output;
    const PixelFormat format = output.pixelFormat();
    int width = frame->width;
    int height = frame->height;
    if (output.kind() == AssetReaderOutput::Kind::VideoComposition) {
        const VideoComposition& composition = output.videoComposition();
        width = static_cast<int>(composition.renderSize.width * composition.renderScale);
        height = static_cast<int>(composition.renderSize.height * composition.renderScale);
    }
    // Bi-planar 4:2:0 needs even sides: an odd last row or column is left out.
    if (format != PixelFormat::BGRA) {
        width &= ~1;
        height &= ~1;
    }
    if (width < 1 || height < 1)
        return nullptr;
    if (!stream.pool || stream.pool->width() != width || stream.pool->height() != height)
        stream.pool = PixelBufferPool::create(format, width, height, kPooledPictures);
    std::shared_ptr<PixelBuffer> buffer = stream.pool ? stream.pool->createPixelBuffer() : nullptr;
    if (!buffer)
        buffer = PixelBuffer::create(format, width, height);
    if (!buffer)
        return nullptr;

    const YCbCrMatrix matrix = matrixOf(*frame);
    std::uint8_t* planes[4] = {buffer->baseAddressOfPlane(0),
                               buffer->planeCount() > 1 ? buffer->baseAddressOfPlane(1) : nullptr};
    const int strides[4] = {static_cast<int>(buffer->bytesPerRowOfPlane(0)),
                            buffer->planeCount() > 1 ? static_cast<int>(buffer->bytesPerRowOfPlane(1)) : 0};
    const ffmpeg::Scaler::Picture source{frame->data, frame->linesize, frame->width, frame->height,
                                         static_cast<AVPixelFormat>(frame->format), isFullRange(*frame), matrix};
    if (!stream.scaler.scale(source, planes, strides, width, height,
                             format == PixelFormat::BGRA ? AV_PIX_FMT_BGRA : AV_PIX_FMT_NV12,
                             format != PixelFormat::BiPlanar420VideoRange, matrix))
        return nullptr;
    if (buffer->isPlanar())
        buffer->setYCbCrMatrix(matrix);
    return SampleBuffer::makeImage(std::move(buffer), time, duration);
}

std::shared_ptr<SampleBuffer> ReaderCore::convertAudio(Stream& stream, MediaTime time, float volume) {
    const int channels = frame->ch_layout.nb_channels;
    if (channels <= 0 || frame->sample_rate <= 0 || frame->nb_samples <= 0)
        return nullptr;
    // A track comes at its own rate and channels; a mix at those it chose for all its parts.
    const AudioFormat target =
        stream.output->kind() == AssetReaderOutput::Kind::AudioMix ? stream.audioFormat : AudioFormat{frame->sample_rate, channels};
    const std::tuple<int, int, int> from{frame->sample_rate, channels, frame->format};
    if (!stream.resample || stream.resampleFrom != from) {
        AVChannelLayout targetLayout;
        av_channel_layout_default(&targetLayout, target.channelCount);
        SwrContext* resample = nullptr;
        const bool made = swr_alloc_set_opts2(&resample, &targetLayout, AV_SAMPLE_FMT_FLT, target.sampleRate,
                                              &frame->ch_layout, static_cast<AVSampleFormat>(frame->format),
                                              frame->sample_rate, 0, nullptr) >= 0 &&
                          swr_init(resample) >= 0;
        av_channel_layout_uninit(&targetLayout);
        stream.resample.reset(resample);
        if (!made) {
            stream.resample.reset();
            return nullptr;
        }
        stream.resampleFrom = from;
    }
    const int capacity = swr_get_out_samples(stream.resample.get(), frame->nb_samples);
    std::vector<float> samples(static_cast<std::size_t>(capacity) * static_cast<std::size_t>(target.channelCount));
    std::uint8_t* converted[] = {reinterpret_cast<std::uint8_t*>(samples.data())};
    const int frames = swr_convert(stream.resample.get(), converted, capacity,
                                   const_cast<const std::uint8_t**>(frame->extended_data), frame->nb_samples);
    if (frames <= 0)
        return nullptr;
    samples.resize(static_cast<std::size_t>(frames) * static_cast<std::size_t>(target.channelCount));
    if (volume != 1.0f) {
        for (float& sample : samples)
            sample *= volume;
    }
    return SampleBuffer::makeAudio(target, std::move(samples), time);
}

// Reader

std::shared_ptr<AssetReader> AssetReader::create(std::shared_ptr<Asset> asset) {
    if (!asset)
        return nullptr;
    return std::shared_ptr<AssetReader>(new AssetReader(std::move(asset), nullptr));
}

std::shared_ptr<AssetReader> AssetReader::create(std::shared_ptr<Composition> composition) {
    if (!composition)
        return nullptr;
    return std::shared_ptr<AssetReader>(new AssetReader(nullptr, std::move(composition)));
}

AssetReader::AssetReader(std::shared_ptr<Asset> asset, std::shared_ptr<Composition> composition)
    : m_asset(std::move(asset))
    , m_composition(std::move(composition))
    , m_core(std::make_shared<ReaderCore>()) {}

AssetReader::~AssetReader() {
    const std::lock_guard lock(m_core->mutex);
    if (m_core->status == Status::Reading)
        m_core->end(Status::Cancelled);
}

bool AssetReader::canAddOutput(const AssetReaderOutput& output) const {
    const std::lock_guard lock(m_core->mutex);
    if (m_core->status != Status::Unknown || output.m_core)
        return false;
    if (!m_asset)
        return output.kind() != AssetReaderOutput::Kind::Track;
    const auto& tracks = m_asset->tracks();
    return output.kind() == AssetReaderOutput::Kind::Track &&
           std::any_of(tracks.begin(), tracks.end(), [&](const AssetTrack& track) {
               return track.streamIndex == output.track().streamIndex && track.mediaType == output.mediaType();
           });
}

void AssetReader::addOutput(const std::shared_ptr<AssetReaderOutput>& output) {
    if (!output || !canAddOutput(*output))
        return;
    const std::lock_guard lock(m_core->mutex);
    output->m_core = m_core;
    m_outputs.push_back(output);
}

std::vector<std::shared_ptr<AssetReaderOutput>> AssetReader::outputs() const {
    const std::lock_guard lock(m_core->mutex);
    return m_outputs;
}

void AssetReader::setTimeRange(MediaTime start, MediaTime duration) {
    const std::lock_guard lock(m_core->mutex);
    if (m_core->status != Status::Unknown || !m_asset || !start.isNumeric() || !(duration > MediaTime::zero()))
        return;
    m_core->rangeStart = start;
    m_core->rangeDuration = duration;
}

bool AssetReader::startReading() {
    const std::lock_guard lock(m_core->mutex);
    ReaderCore& core = *m_core;
    if (core.status != Status::Unknown)
        return false;
    core.status = Status::Reading;
    if (m_outputs.empty()) {
        core.fail(mediaError(MediaErrorCannotOpenFile, "A reader needs at least one output"));
        return false;
    }
    if (m_asset) {
        // An asset's samples keep their own times.
        core.segments.push_back({m_asset, core.rangeStart, core.rangeStart + core.rangeDuration, core.rangeStart});
    } else {
        for (std::size_t index = 0; index < m_composition->segments().size(); ++index) {
            const CompositionSegment& segment = m_composition->segments()[index];
            core.segments.push_back({segment.asset, segment.start, segment.start + segment.duration,
                                     m_composition->startOfSegment(index)});
        }
    }
    // A mix plays every part at the rate and channels of the first part with sound.
    AudioFormat mixFormat;
    for (const ReaderCore::Segment& segment : core.segments) {
        if (const auto tracks = segment.asset->tracksWithMediaType(MediaType::Audio); !tracks.empty() && !mixFormat.isValid())
            mixFormat = tracks.front().audioFormat;
    }
    for (const auto& output : m_outputs) {
        ReaderCore::Stream stream;
        stream.output = output.get();
        stream.audioFormat = mixFormat;
        // A mix of parts that have no sound at all has nothing to give.
        stream.exhausted = output->kind() == AssetReaderOutput::Kind::AudioMix && !mixFormat.isValid();
        core.streams.push_back(std::move(stream));
    }
    return core.openSegment(0);
}

void AssetReader::cancelReading() {
    const std::lock_guard lock(m_core->mutex);
    if (m_core->status == Status::Reading || m_core->status == Status::Unknown)
        m_core->end(Status::Cancelled);
}

AssetReader::Status AssetReader::status() const {
    const std::lock_guard lock(m_core->mutex);
    return m_core->status;
}

std::optional<core::Error> AssetReader::error() const {
    const std::lock_guard lock(m_core->mutex);
    return m_core->error;
}

} // namespace media
