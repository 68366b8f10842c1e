#pragma once

// Owning handles and error texts for the FFmpeg objects the media layer uses. Internal to
// platform/media: no header outside this folder includes FFmpeg.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "platform/media/MediaError.h"
#include "platform/media/PixelBuffer.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace media::ffmpeg {

struct CodecContextDeleter {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScaleContextDeleter {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};
struct ResampleContextDeleter {
    void operator()(SwrContext* context) const { swr_free(&context); }
};
struct AudioFifoDeleter {
    void operator()(AVAudioFifo* fifo) const { av_audio_fifo_free(fifo); }
};

using CodecContext = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using Frame = std::unique_ptr<AVFrame, FrameDeleter>;
using Packet = std::unique_ptr<AVPacket, PacketDeleter>;
using ScaleContext = std::unique_ptr<SwsContext, ScaleContextDeleter>;
using ResampleContext = std::unique_ptr<SwrContext, ResampleContextDeleter>;
using AudioFifo = std::unique_ptr<AVAudioFifo, AudioFifoDeleter>;

// Converts pictures between pixel formats, sizes, luma ranges and YCbCr matrices with swscale, keeping
// its context while they stay the same. The ranges are set up front: swscale's shortcuts between
// formats of one family would otherwise ignore a range given later.
class Scaler {
public:
    struct Picture {
        const std::uint8_t* const* planes;
        const int* bytesPerRow;
        int width;
        int height;
        AVPixelFormat format;
        bool fullRange;
        YCbCrMatrix matrix;
    };

    // False when swscale cannot convert between the two.
    bool scale(const Picture& source, std::uint8_t* const destinationPlanes[], const int destinationBytesPerRow[],
               int width, int height, AVPixelFormat format, bool fullRange, YCbCrMatrix matrix);

private:
    ScaleContext m_context;
    std::array<int, 10> m_settings{};
};

// Silences FFmpeg's own messages (and its encoders') but for fatal ones: the media layer reports what
// fails itself. Call before using FFmpeg; once is enough.
void quietLibraryLogs();

// FFmpeg's sentence for an error code.
std::string errorText(int code);

// "what: FFmpeg's sentence", in the domain of the media layer.
core::Error error(MediaErrorCode code, const std::string& what, int ffmpegCode);

} // namespace media::ffmpeg
