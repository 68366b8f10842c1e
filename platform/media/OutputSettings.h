#pragma once

#include "platform/core/Result.h"
#include "platform/core/Value.h"
#include "platform/media/PixelBuffer.h"

#include <optional>
#include <string>

namespace media {

// Keys and values of the dictionaries that tell a movie writer's input how to encode its track.

// Video: the codec, and the picture size in pixels (all three required), then optionally the colour
// matrix of the encoded YCbCr and an average bit rate in bits a second.
extern const char* const VideoCodecKey;
extern const char* const VideoCodecH264;  // H.264; MPEG-4 Part 2 stands in where no H.264 encoder is installed
extern const char* const VideoCodecMPEG4; // MPEG-4 Part 2
extern const char* const VideoWidthKey;
extern const char* const VideoHeightKey;
extern const char* const VideoYCbCrMatrixKey;
extern const char* const VideoYCbCrMatrix_ITU_R_601;
extern const char* const VideoYCbCrMatrix_ITU_R_709;
extern const char* const VideoAverageBitRateKey;

// Audio: the format (AAC is the one offered), channel count, sample rate, channel layout and bit rate.
extern const char* const FormatIDKey;
extern const char* const AudioFormatMPEG4AAC;
extern const char* const NumberOfChannelsKey;
extern const char* const SampleRateKey;
extern const char* const ChannelLayoutKey;
extern const char* const ChannelLayoutMono;
extern const char* const ChannelLayoutStereo;
extern const char* const EncoderBitRateKey;

// Video settings read and checked.
struct VideoSettings {
    enum class Codec { H264, MPEG4 };
    Codec codec = Codec::H264;
    int width = 0;
    int height = 0;
    // Unset: BT.709 for pictures 720 lines high or more, else BT.601, as video is usually made.
    std::optional<YCbCrMatrix> matrix;
    int averageBitRate = 0; // 0: the encoder's own choice

    YCbCrMatrix effectiveMatrix() const;

    // An error naming what is missing or wrong.
    static core::Result<VideoSettings> read(const core::Dictionary& settings);
};

// Audio settings read and checked.
struct AudioSettings {
    int channelCount = 1;
    int sampleRate = 48000;
    int bitRate = 64000;

    static core::Result<AudioSettings> read(const core::Dictionary& settings);
};

} // namespace media
