#include "platform/media/PixelBufferConversion.h"

#include "platform/media/FFmpeg.h"

#include <algorithm>
#include <cstring>

namespace media {

namespace {

AVPixelFormat ffmpegFormat(PixelFormat format) {
    return format == PixelFormat::BGRA ? AV_PIX_FMT_BGRA : AV_PIX_FMT_NV12;
}

} // namespace

std::shared_ptr<PixelBuffer> convertPixelBuffer(const PixelBuffer& source, PixelFormat format, int width, int height) {
    auto converted = PixelBuffer::create(format, width, height);
    if (!converted)
        return nullptr;
    const YCbCrMatrix matrix = source.ycbcrMatrix().value_or(YCbCrMatrix::ITU_R_601);
    if (format == source.format() && width == source.width() && height == source.height()) {
        // A copy, row by row (swscale's own copy of interleaved chroma loses it).
        for (int plane = 0; plane < source.planeCount(); ++plane) {
            const std::size_t rowBytes = std::min(source.bytesPerRowOfPlane(plane), converted->bytesPerRowOfPlane(plane));
            for (int row = 0; row < source.heightOfPlane(plane); ++row)
                std::memcpy(converted->baseAddressOfPlane(plane) + row * converted->bytesPerRowOfPlane(plane),
                            source.baseAddressOfPlane(plane) + row * source.bytesPerRowOfPlane(plane), rowBytes);
        }
        converted->setYCbCrMatrix(source.ycbcrMatrix());
        return converted;
    }
    const std::uint8_t* planes[4] = {source.baseAddressOfPlane(0),
                                     source.planeCount() > 1 ? source.baseAddressOfPlane(1) : nullptr};
    const int strides[4] = {static_cast<int>(source.bytesPerRowOfPlane(0)),
                            source.planeCount() > 1 ? static_cast<int>(source.bytesPerRowOfPlane(1)) : 0};
    std::uint8_t* destination[4] = {converted->baseAddressOfPlane(0),
                                    converted->planeCount() > 1 ? converted->baseAddressOfPlane(1) : nullptr};
    const int destinationStrides[4] = {static_cast<int>(converted->bytesPerRowOfPlane(0)),
                                       converted->planeCount() > 1 ? static_cast<int>(converted->bytesPerRowOfPlane(1)) : 0};
    ffmpeg::Scaler scaler;
    const ffmpeg::Scaler::Picture from{planes,         strides, source.width(), source.height(), ffmpegFormat(source.format()),
                                       source.format() != PixelFormat::BiPlanar420VideoRange, matrix};
    if (!scaler.scale(from, destination, destinationStrides, width, height, ffmpegFormat(format),
                      format != PixelFormat::BiPlanar420VideoRange, matrix))
        return nullptr;
    if (converted->isPlanar())
        converted->setYCbCrMatrix(matrix);
    return converted;
}

} // namespace media
