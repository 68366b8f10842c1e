#include "platform/media/AssetReader.h"

#include "platform/core/Log.h"
#include "platform/media/FFmpeg.h"
#include "platform/media/PixelBufferPool.h"

#include <algorithm>
#include <deque>
#include <mutex>

namespace media {

namespace {

// Pictures decoded ahead of their consumer, at most; past that a reader allocates.
constexpr std::size_t kPooledPictures = 8;

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
    struct Stream {
        AssetReaderTrackOutput* output; // owned by the reader's output list
        ffmpeg::CodecContext decoder;
        AVRational timeBase{0, 1};
        std::deque<std::shared_ptr<SampleBuffer>> ready;
        bool drained = false;   // nothing more will be decoded
        bool exhausted = false; // the output has answered nullptr
        ffmpeg::ScaleContext scale;
        ffmpeg::ResampleContext resample;
        std::shared_ptr<PixelBufferPool> pool;
    };

    std::mutex mutex; // guards everything below
    AssetReader::Status status = AssetReader::Status::Unknown;
    std::optional<core::Error> error;
    std::vector<std::shared_ptr<AssetReaderTrackOutput>> outputs;
    std::vector<Stream> streams; // parallel to outputs
    MediaTime rangeStart = MediaTime::zero();
    MediaTime rangeEnd = MediaTime::positiveInfinity();
    AVFormatContext* format = nullptr;
    ffmpeg::Packet packet;
    ffmpeg::Frame frame;

    ~ReaderCore() { close(); }

    void close() {
        streams.clear();
        if (format)
            avformat_close_input(&format);
    }

    void fail(core::Error failure) {
        status = AssetReader::Status::Failed;
        error = std::move(failure);
        close();
    }

    Stream* streamOf(const AssetReaderTrackOutput& output) {
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

    std::shared_ptr<SampleBuffer> copyNext(const AssetReaderTrackOutput& output);
    bool decodeMore();
    void receiveFrames(Stream& stream);
    std::shared_ptr<SampleBuffer> convertPicture(Stream& stream, MediaTime time, MediaTime duration);
    std::shared_ptr<SampleBuffer> convertAudio(Stream& stream, MediaTime time);
};

// Output

std::shared_ptr<AssetReaderTrackOutput> AssetReaderTrackOutput::create(const AssetTrack& track,
                                                                       PixelFormat pixelFormat) {
    return std::shared_ptr<AssetReaderTrackOutput>(new AssetReaderTrackOutput(track, pixelFormat));
}

AssetReaderTrackOutput::AssetReaderTrackOutput(const AssetTrack& track, PixelFormat pixelFormat)
    : m_track(track)
    , m_pixelFormat(pixelFormat) {}

std::shared_ptr<SampleBuffer> AssetReaderTrackOutput::copyNextSampleBuffer() {
    return m_core ? m_core->copyNext(*this) : nullptr;
}

std::shared_ptr<SampleBuffer> ReaderCore::copyNext(const AssetReaderTrackOutput& output) {
    const std::lock_guard lock(mutex);
    if (status != AssetReader::Status::Reading)
        return nullptr;
    // Decoding may end the reading (a failure closes every stream), so the stream is looked up anew.
    while (status == AssetReader::Status::Reading) {
        Stream* stream = streamOf(output);
        if (!stream)
            return nullptr;
        if (!stream->ready.empty())
            return takeFirst(*stream);
        if (stream->drained || !decodeMore())
            break;
    }
    Stream* stream = status == AssetReader::Status::Reading ? streamOf(output) : nullptr;
    if (!stream)
        return nullptr;
    if (!stream->ready.empty())
        return takeFirst(*stream);
    stream->exhausted = true;
    if (status == AssetReader::Status::Reading &&
        std::all_of(streams.begin(), streams.end(), [](const Stream& each) { return each.exhausted; })) {
        status = AssetReader::Status::Completed;
        close();
    }
    return nullptr;
}

// Reads one packet and decodes it; at the end of the file drains every decoder. False once nothing more
// can come.
bool ReaderCore::decodeMore() {
    const int result = av_read_frame(format, packet.get());
    if (result == AVERROR_EOF) {
        for (Stream& stream : streams) {
            if (!stream.drained) {
                avcodec_send_packet(stream.decoder.get(), nullptr);
                receiveFrames(stream);
                stream.drained = true;
            }
        }
        return false;
    }
    if (result < 0) {
        fail(ffmpeg::error(MediaErrorDecodingFailed, "Cannot read the movie", result));
        return false;
    }
    for (Stream& stream : streams) {
        if (stream.output->track().streamIndex != packet->stream_index || stream.drained)
            continue;
        const int sent = avcodec_send_packet(stream.decoder.get(), packet.get());
        // A damaged packet costs its own picture or sound, not the rest of the movie.
        if (sent < 0 && sent != AVERROR_INVALIDDATA)
            fail(ffmpeg::error(MediaErrorDecodingFailed, "Cannot decode the movie", sent));
        else
            receiveFrames(stream);
        break;
    }
    av_packet_unref(packet.get());
    return status == AssetReader::Status::Reading;
}

void ReaderCore::receiveFrames(Stream& stream) {
    while (avcodec_receive_frame(stream.decoder.get(), frame.get()) >= 0) {
        const MediaTime time = timeIn(frame->best_effort_timestamp, stream.timeBase);
        const MediaTime duration = timeIn(frame->pkt_duration, stream.timeBase);
        const bool video = stream.output->mediaType() == MediaType::Video;
        // Inside the range: a picture that starts in it, a run of sound that ends in it.
        const MediaTime end = video || !duration.isNumeric() ? time : time + duration;
        if (time.isNumeric() && time >= rangeEnd) {
            stream.drained = true;
        } else if (!time.isNumeric() || end >= rangeStart) {
            auto sample = video ? convertPicture(stream, time, duration) : convertAudio(stream, time);
            if (sample)
                stream.ready.push_back(std::move(sample));
        }
        av_frame_unref(frame.get());
    }
}

std::shared_ptr<SampleBuffer> ReaderCore::convertPicture(Stream& stream, MediaTime time, MediaTime duration) {
    const PixelFormat format = stream.output->pixelFormat();
    // Bi-planar 4:2:0 needs even sides: an odd last row or column is left out.
    const int width = format == PixelFormat::BGRA ? frame->width : frame->width & ~1;
    const int height = format == PixelFormat::BGRA ? frame->height : frame->height & ~1;
    if (!stream.pool || stream.pool->width() != width || stream.pool->height() != height)
        stream.pool = PixelBufferPool::create(format, width, height, kPooledPictures);
    std::shared_ptr<PixelBuffer> buffer = stream.pool ? stream.pool->createPixelBuffer() : nullptr;
    if (!buffer)
        buffer = PixelBuffer::create(format, width, height);
    if (!buffer)
        return nullptr;

    const AVPixelFormat destination = format == PixelFormat::BGRA ? AV_PIX_FMT_BGRA : AV_PIX_FMT_NV12;
    stream.scale.reset(sws_getCachedContext(stream.scale.release(), frame->width, frame->height,
                                            static_cast<AVPixelFormat>(frame->format), width, height, destination,
                                            SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!stream.scale)
        return nullptr;
    const YCbCrMatrix matrix = matrixOf(*frame);
    const int* coefficients =
        sws_getCoefficients(matrix == YCbCrMatrix::ITU_R_709 ? SWS_CS_ITU709 : SWS_CS_ITU601);
    sws_setColorspaceDetails(stream.scale.get(), coefficients, isFullRange(*frame) ? 1 : 0, coefficients,
                             format == PixelFormat::BiPlanar420VideoRange ? 0 : 1, 0, 1 << 16, 1 << 16);
    std::uint8_t* planes[4] = {buffer->baseAddressOfPlane(0),
                               buffer->planeCount() > 1 ? buffer->baseAddressOfPlane(1) : nullptr};
    const int strides[4] = {static_cast<int>(buffer->bytesPerRowOfPlane(0)),
                            buffer->planeCount() > 1 ? static_cast<int>(buffer->bytesPerRowOfPlane(1)) : 0};
    sws_scale(stream.scale.get(), frame->data, frame->linesize, 0, frame->height, planes, strides);
    if (buffer->isPlanar())
        buffer->setYCbCrMatrix(matrix);
    return SampleBuffer::makeImage(std::move(buffer), time, duration);
}

std::shared_ptr<SampleBuffer> ReaderCore::convertAudio(Stream& stream, MediaTime time) {
    const int channels = frame->ch_layout.nb_channels;
    if (channels <= 0 || frame->sample_rate <= 0 || frame->nb_samples <= 0)
        return nullptr;
    if (!stream.resample) {
        SwrContext* resample = nullptr;
        AVChannelLayout layout;
        av_channel_layout_copy(&layout, &frame->ch_layout);
        if (swr_alloc_set_opts2(&resample, &layout, AV_SAMPLE_FMT_FLT, frame->sample_rate, &frame->ch_layout,
                                static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr) < 0 ||
            swr_init(resample) < 0) {
            swr_free(&resample);
            av_channel_layout_uninit(&layout);
            return nullptr;
        }
        av_channel_layout_uninit(&layout);
        stream.resample.reset(resample);
    }
    std::vector<float> samples(static_cast<std::size_t>(frame->nb_samples) * static_cast<std::size_t>(channels));
    std::uint8_t* output[] = {reinterpret_cast<std::uint8_t*>(samples.data())};
    const int converted = swr_convert(stream.resample.get(), output, frame->nb_samples,
                                      const_cast<const std::uint8_t**>(frame->extended_data), frame->nb_samples);
    if (converted <= 0)
        return nullptr;
    samples.resize(static_cast<std::size_t>(converted) * static_cast<std::size_t>(channels));
    return SampleBuffer::makeAudio({frame->sample_rate, channels}, std::move(samples), time);
}

// Reader

std::shared_ptr<AssetReader> AssetReader::create(std::shared_ptr<Asset> asset) {
    if (!asset)
        return nullptr;
    return std::shared_ptr<AssetReader>(new AssetReader(std::move(asset)));
}

AssetReader::AssetReader(std::shared_ptr<Asset> asset)
    : m_asset(std::move(asset))
    , m_core(std::make_shared<ReaderCore>()) {}

AssetReader::~AssetReader() {
    const std::lock_guard lock(m_core->mutex);
    m_core->close();
    if (m_core->status == Status::Reading)
        m_core->status = Status::Cancelled;
}

bool AssetReader::canAddOutput(const AssetReaderTrackOutput& output) const {
    const std::lock_guard lock(m_core->mutex);
    if (m_core->status != Status::Unknown || output.m_core)
        return false;
    const auto& tracks = m_asset->tracks();
    return std::any_of(tracks.begin(), tracks.end(), [&](const AssetTrack& track) {
        return track.streamIndex == output.track().streamIndex && track.mediaType == output.mediaType();
    });
}

void AssetReader::addOutput(const std::shared_ptr<AssetReaderTrackOutput>& output) {
    if (!output || !canAddOutput(*output))
        return;
    const std::lock_guard lock(m_core->mutex);
    output->m_core = m_core;
    m_core->outputs.push_back(output);
}

std::vector<std::shared_ptr<AssetReaderTrackOutput>> AssetReader::outputs() const {
    const std::lock_guard lock(m_core->mutex);
    return m_core->outputs;
}

void AssetReader::setTimeRange(MediaTime start, MediaTime duration) {
    const std::lock_guard lock(m_core->mutex);
    if (m_core->status != Status::Unknown || !start.isNumeric() || !(duration > MediaTime::zero()))
        return;
    m_core->rangeStart = start;
    m_core->rangeEnd = start + duration;
}

bool AssetReader::startReading() {
    const std::lock_guard lock(m_core->mutex);
    ReaderCore& core = *m_core;
    if (core.status != Status::Unknown)
        return false;
    const auto failStart = [&](core::Error failure) {
        core.fail(std::move(failure));
        return false;
    };
    if (core.outputs.empty())
        return failStart(mediaError(MediaErrorCannotOpenFile, "A reader needs at least one output"));
    const std::string path = m_asset->url().string();
    if (const int result = avformat_open_input(&core.format, path.c_str(), nullptr, nullptr); result < 0)
        return failStart(ffmpeg::error(MediaErrorCannotOpenFile, "Cannot open " + path, result));
    if (const int result = avformat_find_stream_info(core.format, nullptr); result < 0)
        return failStart(ffmpeg::error(MediaErrorCannotOpenFile, "Cannot read " + path, result));

    for (const auto& output : core.outputs) {
        const int index = output->track().streamIndex;
        if (index < 0 || static_cast<unsigned>(index) >= core.format->nb_streams)
            return failStart(mediaError(MediaErrorCannotOpenFile, path + " has changed since it was opened"));
        const AVStream& stream = *core.format->streams[index];
        const AVCodec* decoder = avcodec_find_decoder(stream.codecpar->codec_id);
        ffmpeg::CodecContext context(decoder ? avcodec_alloc_context3(decoder) : nullptr);
        if (!context)
            return failStart(mediaError(MediaErrorDecodingFailed, "No decoder for a track of " + path));
        avcodec_parameters_to_context(context.get(), stream.codecpar);
        context->pkt_timebase = stream.time_base;
        // FFmpeg's default is one thread; as many as the decoder finds useful.
        context->thread_count = 0;
        if (const int result = avcodec_open2(context.get(), decoder, nullptr); result < 0)
            return failStart(ffmpeg::error(MediaErrorDecodingFailed, "Cannot decode " + path, result));
        ReaderCore::Stream entry;
        entry.output = output.get();
        entry.decoder = std::move(context);
        entry.timeBase = stream.time_base;
        core.streams.push_back(std::move(entry));
    }
    // Only the streams read are demuxed.
    for (unsigned index = 0; index < core.format->nb_streams; ++index) {
        const bool wanted = std::any_of(core.streams.begin(), core.streams.end(), [&](const ReaderCore::Stream& stream) {
            return stream.output->track().streamIndex == static_cast<int>(index);
        });
        core.format->streams[index]->discard = wanted ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    if (core.rangeStart > MediaTime::zero()) {
        const std::int64_t target = core.rangeStart.convertScale(AV_TIME_BASE).value();
        av_seek_frame(core.format, -1, target, AVSEEK_FLAG_BACKWARD);
    }
    core.packet.reset(av_packet_alloc());
    core.frame.reset(av_frame_alloc());
    core.status = Status::Reading;
    return true;
}

void AssetReader::cancelReading() {
    const std::lock_guard lock(m_core->mutex);
    if (m_core->status == Status::Reading || m_core->status == Status::Unknown) {
        m_core->status = Status::Cancelled;
        m_core->close();
    }
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
