#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace media {

// How the pixels of a buffer are laid out.
enum class PixelFormat {
    BGRA,                   // one plane, four bytes a pixel: blue, green, red, alpha
    BiPlanar420FullRange,   // luma plane (0-255), then a half-size plane of interleaved Cb, Cr
    BiPlanar420VideoRange,  // the same, luma 16-235 and chroma 16-240
};

// Which colour matrix turns a buffer's YCbCr into RGB, attached by whoever made the buffer.
enum class YCbCrMatrix { ITU_R_601, ITU_R_709 };

bool isPlanar(PixelFormat format);

// A picture in memory in one of the formats above, the currency between cameras, movie files and the
// image framework. Every row starts on a 64-byte boundary, so a row is usually longer than its pixels:
// walk rows with bytesPerRow, never with the width.
//
// Buffers are shared (std::shared_ptr) and handed between threads; the owner that writes them hands
// them on only when done, after which they are read-only by convention.
class PixelBuffer {
public:
    static constexpr std::size_t kRowAlignment = 64;

    // A buffer of zeros; nullptr for a size without pixels, a planar buffer of odd size, or a size too
    // large to allocate.
    static std::shared_ptr<PixelBuffer> create(PixelFormat format, int width, int height);
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;

    PixelFormat format() const { return m_format; }
    bool isPlanar() const { return media::isPlanar(m_format); }
    int width() const { return m_width; }
    int height() const { return m_height; }

    // One plane for BGRA, two for the bi-planar formats.
    int planeCount() const { return isPlanar() ? 2 : 1; }
    // Pixels (BGRA, luma) or Cb-Cr pairs (chroma) across and down a plane.
    int widthOfPlane(int plane) const;
    int heightOfPlane(int plane) const;
    std::size_t bytesPerRowOfPlane(int plane) const;
    std::uint8_t* baseAddressOfPlane(int plane);
    const std::uint8_t* baseAddressOfPlane(int plane) const;

    // For single-plane buffers.
    std::size_t bytesPerRow() const { return bytesPerRowOfPlane(0); }
    std::uint8_t* baseAddress() { return baseAddressOfPlane(0); }
    const std::uint8_t* baseAddress() const { return baseAddressOfPlane(0); }

    // Attachments.
    std::optional<YCbCrMatrix> ycbcrMatrix() const { return m_ycbcrMatrix; }
    void setYCbCrMatrix(std::optional<YCbCrMatrix> matrix) { m_ycbcrMatrix = matrix; }

private:
    friend class PixelBufferPool;

    // The same as create(), owned alone.
    static std::unique_ptr<PixelBuffer> allocate(PixelFormat format, int width, int height);
    PixelBuffer(PixelFormat format, int width, int height);

    PixelFormat m_format;
    int m_width;
    int m_height;
    std::size_t m_bytesPerRow[2] = {0, 0};
    std::size_t m_planeOffset[2] = {0, 0};
    std::vector<std::uint8_t> m_bytes;
    std::optional<YCbCrMatrix> m_ycbcrMatrix;
};

} // namespace media
