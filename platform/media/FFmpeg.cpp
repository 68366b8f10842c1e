#include "platform/media/FFmpeg.h"

namespace media::ffmpeg {

void quietLibraryLogs() {
    static const bool quiet = [] {
        av_log_set_level(AV_LOG_ERROR);
        return true;
    }();
    (void)quiet;
}

std::string errorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

core::Error error(MediaErrorCode code, const std::string& what, int ffmpegCode) {
    return mediaError(code, what + ": " + errorText(ffmpegCode));
}

} // namespace media::ffmpeg
