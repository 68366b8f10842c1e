#include "platform/media/PixelBuffer.h"

#include <cassert>
#include <limits>
#include <new>

namespace media {

namespace {

std::size_t alignedRow(std::size_t bytes) {
    const std::size_t alignment = PixelBuffer::kRowAlignment;
    return (bytes + alignment - 1) / alignment * alignment;
}

// Sides beyond this are no picture anyone means; it keeps every size computation far from overflow.
constexpr int kMaximumSide = 1 << 15;

} // namespace

bool isPlanar(PixelFormat format) {
    return format != PixelFormat::BGRA;
}

std::shared_ptr<PixelBuffer> PixelBuffer::create(PixelFormat format, int width, int height) {
    return allocate(format, width, height);
}

std::unique_ptr<PixelBuffer> PixelBuffer::allocate(PixelFormat format, int width, int height) {
    if (width < 1 || height < 1 || width > kMaximumSide || height > kMaximumSide)
        return nullptr;
    if (media::isPlanar(format) && (width % 2 != 0 || height % 2 != 0))
        return nullptr;
    try {
        return std::unique_ptr<PixelBuffer>(new PixelBuffer(format, width, height));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

PixelBuffer::PixelBuffer(PixelFormat format, int width, int height)
    : m_format(format)
    , m_width(width)
    , m_height(height) {
    std::size_t total = 0;
    for (int plane = 0; plane < planeCount(); ++plane) {
        // A chroma row holds a Cb-Cr pair for every two pixels: as many bytes as a luma row.
        const std::size_t bytesPerPixel = m_format == PixelFormat::BGRA ? 4 : (plane == 0 ? 1 : 2);
        m_bytesPerRow[plane] = alignedRow(static_cast<std::size_t>(widthOfPlane(plane)) * bytesPerPixel);
        m_planeOffset[plane] = total;
        total += m_bytesPerRow[plane] * static_cast<std::size_t>(heightOfPlane(plane));
    }
    m_bytes.assign(total, 0);
}

int PixelBuffer::widthOfPlane(int plane) const {
    assert(plane >= 0 && plane < planeCount());
    return plane == 0 ? m_width : m_width / 2;
}

int PixelBuffer::heightOfPlane(int plane) const {
    assert(plane >= 0 && plane < planeCount());
    return plane == 0 ? m_height : m_height / 2;
}

std::size_t PixelBuffer::bytesPerRowOfPlane(int plane) const {
    assert(plane >= 0 && plane < planeCount());
    return m_bytesPerRow[plane];
}

std::uint8_t* PixelBuffer::baseAddressOfPlane(int plane) {
    assert(plane >= 0 && plane < planeCount());
    return m_bytes.data() + m_planeOffset[plane];
}

const std::uint8_t* PixelBuffer::baseAddressOfPlane(int plane) const {
    assert(plane >= 0 && plane < planeCount());
    return m_bytes.data() + m_planeOffset[plane];
}

} // namespace media
