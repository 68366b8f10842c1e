#include "platform/media/OutputSettings.h"

#include "platform/media/MediaError.h"

#include <cmath>

namespace media {

const char* const VideoCodecKey = "VideoCodec";
const char* const VideoCodecH264 = "H264";
const char* const VideoCodecMPEG4 = "MPEG4";
const char* const VideoWidthKey = "VideoWidth";
const char* const VideoHeightKey = "VideoHeight";
const char* const VideoYCbCrMatrixKey = "VideoYCbCrMatrix";
const char* const VideoYCbCrMatrix_ITU_R_601 = "ITU_R_601";
const char* const VideoYCbCrMatrix_ITU_R_709 = "ITU_R_709";
const char* const VideoAverageBitRateKey = "VideoAverageBitRate";

const char* const FormatIDKey = "FormatID";
const char* const AudioFormatMPEG4AAC = "aac ";
const char* const NumberOfChannelsKey = "NumberOfChannels";
const char* const SampleRateKey = "SampleRate";
const char* const ChannelLayoutKey = "ChannelLayout";
const char* const ChannelLayoutMono = "Mono";
const char* const ChannelLayoutStereo = "Stereo";
const char* const EncoderBitRateKey = "EncoderBitRate";

namespace {

core::Error settingsError(const std::string& description) {
    return mediaError(MediaErrorInvalidSettings, description);
}

// A whole number within [minimum, maximum], or an error naming the key.
core::Result<int> readInteger(const core::Value& value, const char* key, int minimum, int maximum) {
    if (!value.isNumber() || value.doubleValue() != static_cast<double>(value.integerValue()) ||
        value.integerValue() < minimum || value.integerValue() > maximum)
        return settingsError(std::string(key) + " must be a whole number from " + std::to_string(minimum) +
                             " to " + std::to_string(maximum));
    return static_cast<int>(value.integerValue());
}

} // namespace

YCbCrMatrix VideoSettings::effectiveMatrix() const {
    if (matrix)
        return *matrix;
    return height >= 720 ? YCbCrMatrix::ITU_R_709 : YCbCrMatrix::ITU_R_601;
}

core::Result<VideoSettings> VideoSettings::read(const core::Dictionary& settings) {
    const core::Value* codec = settings.find(VideoCodecKey);
    const core::Value* width = settings.find(VideoWidthKey);
    const core::Value* height = settings.find(VideoHeightKey);
    if (!codec || !width || !height)
        return settingsError("OutputSettings is missing required parameters.");

    VideoSettings video;
    const std::string codecName = codec->stringValue();
    if (codecName == VideoCodecH264)
        video.codec = Codec::H264;
    else if (codecName == VideoCodecMPEG4)
        video.codec = Codec::MPEG4;
    else
        return settingsError("unknown video codec \"" + codecName + "\"");

    // Encoders take 4:2:0 pictures, whose sides are even.
    const auto readSide = [](const core::Value& value, const char* key) -> core::Result<int> {
        auto side = readInteger(value, key, 2, 8192);
        if (side && *side % 2 != 0)
            return settingsError(std::string(key) + " must be even");
        return side;
    };
    const auto readWidth = readSide(*width, VideoWidthKey);
    if (!readWidth)
        return readWidth.error();
    const auto readHeight = readSide(*height, VideoHeightKey);
    if (!readHeight)
        return readHeight.error();
    video.width = *readWidth;
    video.height = *readHeight;

    if (const core::Value* matrix = settings.find(VideoYCbCrMatrixKey)) {
        const std::string name = matrix->stringValue();
        if (name == VideoYCbCrMatrix_ITU_R_601)
            video.matrix = YCbCrMatrix::ITU_R_601;
        else if (name == VideoYCbCrMatrix_ITU_R_709)
            video.matrix = YCbCrMatrix::ITU_R_709;
        else
            return settingsError("unknown YCbCr matrix \"" + name + "\"");
    }
    if (const core::Value* bitRate = settings.find(VideoAverageBitRateKey)) {
        const auto read = readInteger(*bitRate, VideoAverageBitRateKey, 1000, 1'000'000'000);
        if (!read)
            return read.error();
        video.averageBitRate = *read;
    }
    return video;
}

core::Result<AudioSettings> AudioSettings::read(const core::Dictionary& settings) {
    AudioSettings audio;
    if (const core::Value* format = settings.find(FormatIDKey); format && format->stringValue() != AudioFormatMPEG4AAC)
        return settingsError("unknown audio format \"" + format->stringValue() + "\"");
    if (const core::Value* channels = settings.find(NumberOfChannelsKey)) {
        const auto read = readInteger(*channels, NumberOfChannelsKey, 1, 2);
        if (!read)
            return read.error();
        audio.channelCount = *read;
    }
    if (const core::Value* rate = settings.find(SampleRateKey)) {
        // Rates come as reals too (a device's rate); AAC takes the usual whole ones.
        const double hertz = rate->doubleValue();
        if (!rate->isNumber() || !(hertz >= 8000 && hertz <= 96000) || hertz != std::floor(hertz))
            return settingsError("SampleRate must be a whole number from 8000 to 96000");
        audio.sampleRate = static_cast<int>(hertz);
    }
    if (const core::Value* layout = settings.find(ChannelLayoutKey)) {
        const int channels = layout->stringValue() == ChannelLayoutMono     ? 1
                             : layout->stringValue() == ChannelLayoutStereo ? 2
                                                                            : 0;
        if (channels != audio.channelCount)
            return settingsError("ChannelLayout \"" + layout->stringValue() + "\" does not fit " +
                                 std::to_string(audio.channelCount) + " channels");
    }
    if (const core::Value* bitRate = settings.find(EncoderBitRateKey)) {
        const auto read = readInteger(*bitRate, EncoderBitRateKey, 8000, 512000);
        if (!read)
            return read.error();
        audio.bitRate = *read;
    }
    return audio;
}

} // namespace media
