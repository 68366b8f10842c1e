#include "platform/core/Thread.h"
#include "platform/media/CaptureSource.h"
#include "platform/media/FFmpeg.h"
#include "platform/media/MediaError.h"
#include "platform/media/PixelBufferPool.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/videodev2.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace media {

namespace {

int retryingIoctl(int device, unsigned long request, void* argument) {
    int result;
    do {
        result = ioctl(device, request, argument);
    } while (result == -1 && errno == EINTR);
    return result;
}

core::Error deviceError(const std::filesystem::path& device, const std::string& what) {
    return mediaError(MediaErrorDeviceFailed, device.string() + ": " + what + ": " + std::strerror(errno));
}

// A Linux camera through V4L2: memory-mapped buffers streamed in YUYV or NV12, turned into full-range
// bi-planar 4:2:0 pictures.
class LinuxCameraSource final : public CaptureSource {
public:
    explicit LinuxCameraSource(std::filesystem::path device)
        : m_device(std::move(device)) {}

    ~LinuxCameraSource() override { stop(); }

    core::Status start(Sink sink, int preferredWidth, int preferredHeight) override {
        m_file = open(m_device.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (m_file < 0)
            return deviceError(m_device, "cannot open");
        if (auto configured = configure(preferredWidth, preferredHeight); !configured) {
            release();
            return configured;
        }
        m_stopping = false;
        m_thread = core::Thread("org.zembrix.media.camera", [this, sink = std::move(sink)] { capture(sink); });
        return {};
    }

    void stop() override {
        m_stopping = true;
        if (m_thread.joinable())
            m_thread.join();
        release();
    }

private:
    struct Mapping {
        void* start = MAP_FAILED;
        std::size_t length = 0;
    };

    core::Status configure(int preferredWidth, int preferredHeight) {
        v4l2_capability capability{};
        if (retryingIoctl(m_file, VIDIOC_QUERYCAP, &capability) < 0 ||
            !(capability.device_caps & V4L2_CAP_VIDEO_CAPTURE) || !(capability.device_caps & V4L2_CAP_STREAMING))
            return mediaError(MediaErrorNoSuchDevice, m_device.string() + " does not stream pictures");
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        bool set = false;
        for (const std::uint32_t pixels : {V4L2_PIX_FMT_NV12, V4L2_PIX_FMT_YUYV}) {
            format.fmt.pix.width = preferredWidth > 0 ? static_cast<std::uint32_t>(preferredWidth) : 640;
            format.fmt.pix.height = preferredHeight > 0 ? static_cast<std::uint32_t>(preferredHeight) : 480;
            format.fmt.pix.pixelformat = pixels;
            format.fmt.pix.field = V4L2_FIELD_NONE;
            if (retryingIoctl(m_file, VIDIOC_S_FMT, &format) == 0 && format.fmt.pix.pixelformat == pixels) {
                set = true;
                break;
            }
        }
        if (!set)
            return mediaError(MediaErrorDeviceFailed, m_device.string() + " offers neither NV12 nor YUYV");
        m_width = static_cast<int>(format.fmt.pix.width);
        m_height = static_cast<int>(format.fmt.pix.height);
        m_bytesPerLine = static_cast<int>(format.fmt.pix.bytesperline);
        m_pixelFormat = format.fmt.pix.pixelformat;
        m_fullRange = format.fmt.pix.quantization == V4L2_QUANTIZATION_FULL_RANGE;

        v4l2_requestbuffers request{};
        request.count = 4;
        request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        request.memory = V4L2_MEMORY_MMAP;
        if (retryingIoctl(m_file, VIDIOC_REQBUFS, &request) < 0 || request.count < 2)
            return deviceError(m_device, "cannot have buffers");
        for (std::uint32_t index = 0; index < request.count; ++index) {
            v4l2_buffer buffer{};
            buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
            buffer.memory = V4L2_MEMORY_MMAP;
            buffer.index = index;
            if (retryingIoctl(m_file, VIDIOC_QUERYBUF, &buffer) < 0)
                return deviceError(m_device, "cannot find a buffer");
            Mapping mapping;
            mapping.length = buffer.length;
            mapping.start = mmap(nullptr, buffer.length, PROT_READ | PROT_WRITE, MAP_SHARED, m_file, buffer.m.offset);
            if (mapping.start == MAP_FAILED)
                return deviceError(m_device, "cannot map a buffer");
            m_mappings.push_back(mapping);
            if (retryingIoctl(m_file, VIDIOC_QBUF, &buffer) < 0)
                return deviceError(m_device, "cannot queue a buffer");
        }
        v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (retryingIoctl(m_file, VIDIOC_STREAMON, &type) < 0)
            return deviceError(m_device, "cannot start streaming");
        m_streaming = true;
        m_pool = PixelBufferPool::create(PixelFormat::BiPlanar420FullRange, m_width & ~1, m_height & ~1, 6);
        return {};
    }

    void capture(const Sink& sink) {
        ffmpeg::Scaler scaler;
        std::int64_t firstMicroseconds = -1;
        while (!m_stopping) {
            pollfd ready{m_file, POLLIN, 0};
            // Wakes now and then to see whether it should stop.
            if (poll(&ready, 1, 100) <= 0)
                continue;
            v4l2_buffer buffer{};
            buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
            buffer.memory = V4L2_MEMORY_MMAP;
            if (retryingIoctl(m_file, VIDIOC_DQBUF, &buffer) < 0)
                continue;
            const auto* bytes = static_cast<const std::uint8_t*>(m_mappings[buffer.index].start);
            std::shared_ptr<PixelBuffer> picture = m_pool ? m_pool->createPixelBuffer() : nullptr;
            if (picture) {
                const bool nv12 = m_pixelFormat == V4L2_PIX_FMT_NV12;
                const std::uint8_t* planes[4] = {bytes, nv12 ? bytes + m_bytesPerLine * m_height : nullptr};
                const int strides[4] = {m_bytesPerLine, nv12 ? m_bytesPerLine : 0};
                std::uint8_t* destination[4] = {picture->baseAddressOfPlane(0), picture->baseAddressOfPlane(1)};
                const int destinationStrides[4] = {static_cast<int>(picture->bytesPerRowOfPlane(0)),
                                                   static_cast<int>(picture->bytesPerRowOfPlane(1))};
                const ffmpeg::Scaler::Picture source{planes, strides, m_width, m_height,
                                                     nv12 ? AV_PIX_FMT_NV12 : AV_PIX_FMT_YUYV422, m_fullRange,
                                                     YCbCrMatrix::ITU_R_601};
                if (scaler.scale(source, destination, destinationStrides, picture->width(), picture->height(),
                                 AV_PIX_FMT_NV12, true, YCbCrMatrix::ITU_R_601)) {
                    picture->setYCbCrMatrix(YCbCrMatrix::ITU_R_601);
                    const std::int64_t microseconds = buffer.timestamp.tv_sec * 1'000'000LL + buffer.timestamp.tv_usec;
                    if (firstMicroseconds < 0)
                        firstMicroseconds = microseconds;
                    sink(SampleBuffer::makeImage(picture, MediaTime::make(microseconds - firstMicroseconds, 1'000'000)));
                }
            }
            retryingIoctl(m_file, VIDIOC_QBUF, &buffer);
        }
    }

    void release() {
        if (m_streaming) {
            v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
            retryingIoctl(m_file, VIDIOC_STREAMOFF, &type);
            m_streaming = false;
        }
        for (const Mapping& mapping : m_mappings)
            munmap(mapping.start, mapping.length);
        m_mappings.clear();
        if (m_file >= 0) {
            close(m_file);
            m_file = -1;
        }
    }

    const std::filesystem::path m_device;
    int m_file = -1;
    int m_width = 0;
    int m_height = 0;
    int m_bytesPerLine = 0;
    std::uint32_t m_pixelFormat = 0;
    bool m_fullRange = false;
    bool m_streaming = false;
    std::vector<Mapping> m_mappings;
    std::shared_ptr<PixelBufferPool> m_pool;
    std::atomic<bool> m_stopping{false};
    core::Thread m_thread;
};

} // namespace

std::unique_ptr<CaptureSource> CaptureSource::makeLinuxCamera(const std::filesystem::path& device) {
    return std::make_unique<LinuxCameraSource>(device);
}

} // namespace media
