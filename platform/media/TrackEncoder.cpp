#include "platform/media/TrackEncoder.h"

#include "platform/media/PixelBuffer.h"

extern "C" {
#include <libavutil/display.h>
#include <libavutil/opt.h>
}

#include <algorithm>

namespace media {

namespace {

// Ticks a second of video timestamps: exact for 24, 25, 30, 50 and 60 frames a second, and within what
// MPEG-4 Part 2 accepts (at most 65535).
constexpr int kVideoTimescale = 60000;
// The rate the encoder plans for when frames come at times of their own choosing.
constexpr AVRational kNominalFrameRate{30, 1};
// Audio encoders that take any frame length are fed in runs of this many samples.
constexpr int kDefaultAudioFrameSize = 1024;

core::Error encodingError(const std::string& what, int code) {
    return ffmpeg::error(MediaErrorEncodingFailed, what, code);
}

void setColourProperties(AVCodecContext& codec, YCbCrMatrix matrix) {
    codec.color_range = AVCOL_RANGE_MPEG;
    if (matrix == YCbCrMatrix::ITU_R_709) {
        codec.colorspace = AVCOL_SPC_BT709;
        codec.color_primaries = AVCOL_PRI_BT709;
        codec.color_trc = AVCOL_TRC_BT709;
    } else {
        codec.colorspace = AVCOL_SPC_SMPTE170M;
        codec.color_primaries = AVCOL_PRI_SMPTE170M;
        codec.color_trc = AVCOL_TRC_SMPTE170M;
    }
}

// The movie's display matrix: a, b, u; c, d, v; x, y, w, in 16.16 fixed point but for u, v, w (2.30).
void attachTransform(AVStream& stream, const core::AffineTransform& transform) {
    if (transform.isIdentity())
        return;
    auto* matrix = reinterpret_cast<std::int32_t*>(
        av_stream_new_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, 9 * sizeof(std::int32_t)));
    if (!matrix)
        return;
    const auto fixed = [](float value) { return static_cast<std::int32_t>(value * 65536.0f); };
    const std::int32_t values[9] = {fixed(transform.a), fixed(transform.b), 0,
                                    fixed(transform.c), fixed(transform.d), 0,
                                    fixed(transform.tx), fixed(transform.ty), 1 << 30};
    std::copy(std::begin(values), std::end(values), matrix);
}

core::Result<AVStream*> addStream(AVFormatContext& format, AVCodecContext& codec) {
    AVStream* stream = avformat_new_stream(&format, nullptr);
    if (!stream)
        return encodingError("adding a track", AVERROR(ENOMEM));
    if (const int result = avcodec_parameters_from_context(stream->codecpar, &codec); result < 0)
        return encodingError("describing a track", result);
    stream->time_base = codec.time_base;
    return stream;
}

} // namespace

TrackEncoder::TrackEncoder(AVFormatContext& format, ffmpeg::CodecContext codec, AVStream& stream)
    : m_format(format)
    , m_codec(std::move(codec))
    , m_stream(stream)
    , m_packet(av_packet_alloc()) {}

core::Status TrackEncoder::sendAndWrite(const AVFrame* frame) {
    if (const int result = avcodec_send_frame(m_codec.get(), frame); result < 0)
        return encodingError("encoding", result);
    for (;;) {
        const int result = avcodec_receive_packet(m_codec.get(), m_packet.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return {};
        if (result < 0)
            return encodingError("encoding", result);
        if (m_packet->duration == 0)
            m_packet->duration = packetDuration(m_packet->pts);
        av_packet_rescale_ts(m_packet.get(), m_codec->time_base, m_stream.time_base);
        m_packet->stream_index = m_stream.index;
        if (const int written = av_interleaved_write_frame(&m_format, m_packet.get()); written < 0)
            return encodingError("writing the movie", written);
    }
}

// Video

core::Result<std::unique_ptr<TrackEncoder>> VideoTrackEncoder::create(AVFormatContext& format,
                                                                     const VideoSettings& settings, bool realTime,
                                                                     const core::AffineTransform& transform) {
    const AVCodec* encoder =
        settings.codec == VideoSettings::Codec::H264 ? avcodec_find_encoder(AV_CODEC_ID_H264) : nullptr;
    if (!encoder)
        encoder = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (!encoder)
        return mediaError(MediaErrorNoEncoder, "no H.264 or MPEG-4 video encoder is installed");

    ffmpeg::CodecContext codec(avcodec_alloc_context3(encoder));
    if (!codec)
        return encodingError("preparing the video encoder", AVERROR(ENOMEM));
    codec->width = settings.width;
    codec->height = settings.height;
    codec->pix_fmt = AV_PIX_FMT_YUV420P;
    codec->time_base = {1, kVideoTimescale};
    codec->framerate = kNominalFrameRate;
    // FFmpeg's default is one thread; as many as the encoder finds useful keep up with live video.
    codec->thread_count = 0;
    const YCbCrMatrix matrix = settings.effectiveMatrix();
    setColourProperties(*codec, matrix);
    if (format.oformat->flags & AVFMT_GLOBALHEADER)
        codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

    AVDictionary* options = nullptr;
    if (settings.averageBitRate > 0) {
        codec->bit_rate = settings.averageBitRate;
    } else if (encoder->id == AV_CODEC_ID_MPEG4) {
        // Without a rate of its own, MPEG-4 Part 2 keeps a constant quality.
        codec->flags |= AV_CODEC_FLAG_QSCALE;
        codec->global_quality = FF_QP2LAMBDA * 3;
    }
    if (encoder->id == AV_CODEC_ID_H264)
        av_dict_set(&options, "preset", realTime ? "veryfast" : "medium", 0);
    const int opened = avcodec_open2(codec.get(), encoder, &options);
    av_dict_free(&options);
    if (opened < 0)
        return encodingError("opening the video encoder", opened);

    auto stream = addStream(format, *codec);
    if (!stream)
        return stream.error();
    attachTransform(**stream, transform);
    return std::unique_ptr<TrackEncoder>(new VideoTrackEncoder(format, std::move(codec), **stream, matrix));
}

VideoTrackEncoder::VideoTrackEncoder(AVFormatContext& format, ffmpeg::CodecContext codec, AVStream& stream,
                                     YCbCrMatrix matrix)
    : TrackEncoder(format, std::move(codec), stream)
    , m_matrix(matrix) {}

core::Status VideoTrackEncoder::encode(const SampleBuffer& sample, MediaTime sessionStart) {
    const PixelBuffer* buffer = sample.imageBuffer().get();
    const MediaTime time = sample.presentationTime() - sessionStart;
    if (!buffer || !time.isNumeric() || time < MediaTime::zero())
        return {};
    const std::int64_t pts = time.convertScale(kVideoTimescale).value();
    // A track's pictures follow each other: one not after the last is left out.
    if (m_heldFrame && pts <= m_heldFrame->pts)
        return {};

    // The picture sent last is drawn over: the encoder has taken its own copy of it.
    ffmpeg::Frame frame = m_spareFrame ? std::move(m_spareFrame) : ffmpeg::Frame(av_frame_alloc());
    if (!frame)
        return encodingError("preparing a picture", AVERROR(ENOMEM));
    if (!frame->buf[0]) {
        frame->format = m_codec->pix_fmt;
        frame->width = m_codec->width;
        frame->height = m_codec->height;
        if (const int result = av_frame_get_buffer(frame.get(), 0); result < 0)
            return encodingError("preparing a picture", result);
    } else if (const int result = av_frame_make_writable(frame.get()); result < 0) {
        return encodingError("preparing a picture", result);
    }

    const bool bgra = buffer->format() == PixelFormat::BGRA;
    const std::uint8_t* planes[4] = {buffer->baseAddressOfPlane(0),
                                     buffer->planeCount() > 1 ? buffer->baseAddressOfPlane(1) : nullptr};
    const int strides[4] = {static_cast<int>(buffer->bytesPerRowOfPlane(0)),
                            buffer->planeCount() > 1 ? static_cast<int>(buffer->bytesPerRowOfPlane(1)) : 0};
    const ffmpeg::Scaler::Picture source{planes,
                                         strides,
                                         buffer->width(),
                                         buffer->height(),
                                         bgra ? AV_PIX_FMT_BGRA : AV_PIX_FMT_NV12,
                                         buffer->format() != PixelFormat::BiPlanar420VideoRange,
                                         buffer->ycbcrMatrix().value_or(YCbCrMatrix::ITU_R_601)};
    if (!m_scaler.scale(source, frame->data, frame->linesize, frame->width, frame->height, AV_PIX_FMT_YUV420P, false,
                        m_matrix))
        return encodingError("converting a picture", AVERROR(EINVAL));
    frame->pts = pts;

    if (m_heldFrame) {
        if (auto sent = encodeHeldFrame(pts - m_heldFrame->pts); !sent)
            return sent;
    }
    m_heldFrame = std::move(frame);
    return {};
}

core::Status VideoTrackEncoder::encodeHeldFrame(std::int64_t duration) {
    m_durations.emplace_back(m_heldFrame->pts, duration);
    m_lastDuration = duration;
    ffmpeg::Frame frame = std::move(m_heldFrame);
    core::Status sent = sendAndWrite(frame.get());
    m_spareFrame = std::move(frame);
    return sent;
}

std::int64_t VideoTrackEncoder::packetDuration(std::int64_t pts) {
    const auto found = std::find_if(m_durations.begin(), m_durations.end(),
                                    [pts](const auto& entry) { return entry.first == pts; });
    if (found == m_durations.end())
        return 0;
    const std::int64_t duration = found->second;
    m_durations.erase(found);
    return duration;
}

core::Status VideoTrackEncoder::finish() {
    if (m_heldFrame) {
        // The last picture lasts as long as the one before it, or a frame at the nominal rate.
        const std::int64_t nominal = kVideoTimescale * kNominalFrameRate.den / kNominalFrameRate.num;
        if (auto sent = encodeHeldFrame(m_lastDuration > 0 ? m_lastDuration : nominal); !sent)
            return sent;
    }
    return sendAndWrite(nullptr);
}

// Audio

core::Result<std::unique_ptr<TrackEncoder>> AudioTrackEncoder::create(AVFormatContext& format,
                                                                     const std::optional<AudioSettings>& settings) {
    const AVCodec* encoder = avcodec_find_encoder(settings ? AV_CODEC_ID_AAC : AV_CODEC_ID_PCM_F32LE);
    if (!encoder)
        return mediaError(MediaErrorNoEncoder, settings ? "no AAC encoder is installed" : "no PCM encoder is installed");
    const AudioSettings chosen = settings.value_or(AudioSettings{});

    ffmpeg::CodecContext codec(avcodec_alloc_context3(encoder));
    if (!codec)
        return encodingError("preparing the audio encoder", AVERROR(ENOMEM));
    codec->sample_fmt = encoder->sample_fmts ? encoder->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
    codec->sample_rate = chosen.sampleRate;
    av_channel_layout_default(&codec->ch_layout, chosen.channelCount);
    if (settings)
        codec->bit_rate = chosen.bitRate;
    codec->time_base = {1, chosen.sampleRate};
    if (format.oformat->flags & AVFMT_GLOBALHEADER)
        codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (const int opened = avcodec_open2(codec.get(), encoder, nullptr); opened < 0)
        return encodingError("opening the audio encoder", opened);

    auto stream = addStream(format, *codec);
    if (!stream)
        return stream.error();
    return std::unique_ptr<TrackEncoder>(new AudioTrackEncoder(format, std::move(codec), **stream));
}

AudioTrackEncoder::AudioTrackEncoder(AVFormatContext& format, ffmpeg::CodecContext codec, AVStream& stream)
    : TrackEncoder(format, std::move(codec), stream)
    , m_fifo(av_audio_fifo_alloc(m_codec->sample_fmt, m_codec->ch_layout.nb_channels, kDefaultAudioFrameSize)) {}

core::Status AudioTrackEncoder::encode(const SampleBuffer& sample, MediaTime sessionStart) {
    const AudioFormat& format = sample.audioFormat();
    if (!format.isValid() || sample.frameCount() == 0 || !m_fifo)
        return {};
    if (!m_resample || format != m_sourceFormat) {
        AVChannelLayout sourceLayout;
        av_channel_layout_default(&sourceLayout, format.channelCount);
        SwrContext* resample = nullptr;
        int result = swr_alloc_set_opts2(&resample, &m_codec->ch_layout, m_codec->sample_fmt, m_codec->sample_rate,
                                         &sourceLayout, AV_SAMPLE_FMT_FLT, format.sampleRate, 0, nullptr);
        m_resample.reset(resample);
        if (result >= 0)
            result = swr_init(resample);
        if (result < 0)
            return encodingError("resampling audio", result);
        m_sourceFormat = format;
    }
    if (!m_started) {
        // The track starts where its first sample lies in the session; what lies before is cut.
        const MediaTime offset = sample.presentationTime() - sessionStart;
        const std::int64_t samples =
            offset.isNumeric() ? offset.convertScale(m_codec->sample_rate).value() : std::int64_t{0};
        m_nextPts = std::max<std::int64_t>(samples, 0);
        m_samplesToSkip = std::max<std::int64_t>(-samples, 0);
        m_started = true;
    }

    const int inputFrames = static_cast<int>(sample.frameCount());
    const int capacity = swr_get_out_samples(m_resample.get(), inputFrames);
    std::uint8_t** converted = nullptr;
    if (av_samples_alloc_array_and_samples(&converted, nullptr, m_codec->ch_layout.nb_channels, capacity,
                                           m_codec->sample_fmt, 0) < 0)
        return encodingError("resampling audio", AVERROR(ENOMEM));
    const std::uint8_t* input[] = {reinterpret_cast<const std::uint8_t*>(sample.samples().data())};
    const int frames = swr_convert(m_resample.get(), converted, capacity, input, inputFrames);
    if (frames > 0)
        av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void**>(converted), frames);
    av_freep(&converted[0]);
    av_freep(&converted);
    if (frames < 0)
        return encodingError("resampling audio", frames);

    const int skipped = static_cast<int>(std::min<std::int64_t>(m_samplesToSkip, av_audio_fifo_size(m_fifo.get())));
    av_audio_fifo_drain(m_fifo.get(), skipped);
    m_samplesToSkip -= skipped;
    return encodeFrames(false);
}

core::Status AudioTrackEncoder::encodeFrames(bool all) {
    const int frameSize = m_codec->frame_size > 0 ? m_codec->frame_size : kDefaultAudioFrameSize;
    // Encoders of fixed frames that cannot take a short last one get it padded with silence.
    const bool padLast = m_codec->frame_size > 0 && !(m_codec->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME);
    for (;;) {
        const int available = av_audio_fifo_size(m_fifo.get());
        if (available == 0 || (available < frameSize && !all))
            return {};
        const int taken = std::min(available, frameSize);
        ffmpeg::Frame frame(av_frame_alloc());
        if (!frame)
            return encodingError("preparing audio", AVERROR(ENOMEM));
        frame->nb_samples = padLast ? frameSize : taken;
        frame->format = m_codec->sample_fmt;
        frame->sample_rate = m_codec->sample_rate;
        av_channel_layout_copy(&frame->ch_layout, &m_codec->ch_layout);
        if (const int result = av_frame_get_buffer(frame.get(), 0); result < 0)
            return encodingError("preparing audio", result);
        av_audio_fifo_read(m_fifo.get(), reinterpret_cast<void**>(frame->data), taken);
        if (frame->nb_samples > taken)
            av_samples_set_silence(frame->data, taken, frame->nb_samples - taken, m_codec->ch_layout.nb_channels,
                                   m_codec->sample_fmt);
        frame->pts = m_nextPts;
        m_nextPts += taken;
        if (auto sent = sendAndWrite(frame.get()); !sent)
            return sent;
    }
}

core::Status AudioTrackEncoder::finish() {
    if (m_resample && m_fifo) {
        // The resampler keeps a few samples of look-ahead: flush them into the track.
        const int capacity = swr_get_out_samples(m_resample.get(), 0);
        if (capacity > 0) {
            std::uint8_t** converted = nullptr;
            if (av_samples_alloc_array_and_samples(&converted, nullptr, m_codec->ch_layout.nb_channels, capacity,
                                                   m_codec->sample_fmt, 0) >= 0) {
                const int frames = swr_convert(m_resample.get(), converted, capacity, nullptr, 0);
                if (frames > 0)
                    av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void**>(converted), frames);
                av_freep(&converted[0]);
                av_freep(&converted);
            }
        }
    }
    if (m_fifo) {
        if (auto sent = encodeFrames(true); !sent)
            return sent;
    }
    return sendAndWrite(nullptr);
}

} // namespace media
