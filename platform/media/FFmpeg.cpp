#include "platform/media/FFmpeg.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace media::ffmpeg {

bool Scaler::scale(const Picture& source, std::uint8_t* const destinationPlanes[], const int destinationBytesPerRow[],
                   int width, int height, AVPixelFormat format, bool fullRange, YCbCrMatrix matrix) {
    const std::array<int, 10> settings = {source.width, source.height, source.format, source.fullRange,
                                          static_cast<int>(source.matrix), width, height, format, fullRange,
                                          static_cast<int>(matrix)};
    if (!m_context || settings != m_settings) {
        m_context.reset(sws_alloc_context());
        SwsContext* context = m_context.get();
        if (!context)
            return false;
        av_opt_set_int(context, "srcw", source.width, 0);
        av_opt_set_int(context, "srch", source.height, 0);
        av_opt_set_int(context, "src_format", source.format, 0);
        av_opt_set_int(context, "src_range", source.fullRange, 0);
        av_opt_set_int(context, "dstw", width, 0);
        av_opt_set_int(context, "dsth", height, 0);
        av_opt_set_int(context, "dst_format", format, 0);
        av_opt_set_int(context, "dst_range", fullRange, 0);
        av_opt_set_int(context, "sws_flags", SWS_BILINEAR, 0);
        if (sws_init_context(context, nullptr, nullptr) < 0) {
            m_context.reset();
            return false;
        }
        const auto coefficients = [](YCbCrMatrix which) {
            return sws_getCoefficients(which == YCbCrMatrix::ITU_R_709 ? SWS_CS_ITU709 : SWS_CS_ITU601);
        };
        sws_setColorspaceDetails(context, coefficients(source.matrix), source.fullRange, coefficients(matrix), fullRange,
                                 0, 1 << 16, 1 << 16);
        m_settings = settings;
    }
    sws_scale(m_context.get(), source.planes, source.bytesPerRow, 0, source.height, destinationPlanes,
              destinationBytesPerRow);
    return true;
}

void quietLibraryLogs() {
    static const bool quiet = [] {
        av_log_set_level(AV_LOG_FATAL);
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
