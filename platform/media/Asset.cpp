#include "platform/media/Asset.h"

#include "platform/media/FFmpeg.h"

namespace media {

namespace {

MediaTime timeIn(std::int64_t ticks, AVRational base) {
    if (ticks == AV_NOPTS_VALUE || base.num <= 0 || base.den <= 0)
        return MediaTime::invalidTime();
    return MediaTime::make(ticks, base.den) * base.num;
}

} // namespace

core::Result<std::shared_ptr<Asset>> Asset::open(const std::filesystem::path& url) {
    ffmpeg::quietLibraryLogs();
    AVFormatContext* format = nullptr;
    if (const int result = avformat_open_input(&format, url.c_str(), nullptr, nullptr); result < 0)
        return ffmpeg::error(MediaErrorCannotOpenFile, "Cannot open " + url.string(), result);
    const std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> closer(
        format, [](AVFormatContext* context) { avformat_close_input(&context); });
    if (const int result = avformat_find_stream_info(format, nullptr); result < 0)
        return ffmpeg::error(MediaErrorCannotOpenFile, "Cannot read " + url.string(), result);

    std::vector<AssetTrack> tracks;
    for (unsigned index = 0; index < format->nb_streams; ++index) {
        const AVStream& stream = *format->streams[index];
        const AVCodecParameters& codec = *stream.codecpar;
        AssetTrack track;
        track.streamIndex = static_cast<int>(index);
        track.duration = timeIn(stream.duration, stream.time_base);
        track.codecName = avcodec_get_name(codec.codec_id);
        if (codec.codec_type == AVMEDIA_TYPE_VIDEO && codec.width > 0 && codec.height > 0 &&
            !(stream.disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            track.mediaType = MediaType::Video;
            track.naturalSize = {static_cast<float>(codec.width), static_cast<float>(codec.height)};
            if (stream.avg_frame_rate.num > 0 && stream.avg_frame_rate.den > 0)
                track.nominalFrameRate = static_cast<float>(av_q2d(stream.avg_frame_rate));
        } else if (codec.codec_type == AVMEDIA_TYPE_AUDIO && codec.sample_rate > 0 && codec.ch_layout.nb_channels > 0) {
            track.mediaType = MediaType::Audio;
            track.audioFormat = {codec.sample_rate, codec.ch_layout.nb_channels};
        } else {
            continue;
        }
        if (avcodec_find_decoder(codec.codec_id))
            tracks.push_back(track);
    }
    if (tracks.empty())
        return mediaError(MediaErrorCannotOpenFile, url.string() + " holds no track that can be played");
    const MediaTime duration = timeIn(format->duration, AVRational{1, AV_TIME_BASE});
    return std::shared_ptr<Asset>(new Asset(url, duration, std::move(tracks)));
}

Asset::Asset(std::filesystem::path url, MediaTime duration, std::vector<AssetTrack> tracks)
    : m_url(std::move(url))
    , m_duration(duration)
    , m_tracks(std::move(tracks)) {}

std::vector<AssetTrack> Asset::tracksWithMediaType(MediaType mediaType) const {
    std::vector<AssetTrack> found;
    for (const AssetTrack& track : m_tracks) {
        if (track.mediaType == mediaType)
            found.push_back(track);
    }
    return found;
}

} // namespace media
