#pragma once

#include "framework/Source/PixVideoCamera.h"
#include "platform/core/Error.h"
#include "platform/core/Value.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace gfx {
class Image;
}

namespace media {
class CaptureStillImageOutput;
}

namespace zm {

// A video camera that also takes photos: a photo at the camera's full size is pushed through the same
// graph as one more frame and handed over as read from a filter of the caller's choice (as an image, as
// JPEG or PNG data, or left on the GPU). Live frames are dropped while a photo is in the pipeline and
// come again once its handler has returned. Photos larger than a texture can hold are scaled down
// first (BGRA photos; a bi-planar one that does not fit is refused with an error).
class PixStillCamera : public PixVideoCamera {
public:
    // When called, the photo has been drawn through the graph; read what is needed from the filter.
    using GPUHandler = std::function<void(const std::optional<core::Error>& error)>;
    using ImageHandler =
        std::function<void(const std::shared_ptr<const gfx::Image>& processedImage, const std::optional<core::Error>& error)>;
    using DataHandler =
        std::function<void(const std::vector<std::uint8_t>& processedData, const std::optional<core::Error>& error)>;

    // Photo quality from the back camera.
    static std::shared_ptr<PixStillCamera> create();
    static std::shared_ptr<PixStillCamera> create(const std::string& sessionPreset,
                                                  media::CaptureDevicePosition cameraPosition);

    void removeInputsAndOutputs() override;

    void capturePhotoProcessedUpToFilter(const std::shared_ptr<PixOutput>& finalFilterInChain, GPUHandler block);
    void capturePhotoAsImageProcessedUpToFilter(const std::shared_ptr<PixOutput>& finalFilterInChain, ImageHandler block);
    void capturePhotoAsJPEGProcessedUpToFilter(const std::shared_ptr<PixOutput>& finalFilterInChain, DataHandler block);
    void capturePhotoAsPNGProcessedUpToFilter(const std::shared_ptr<PixOutput>& finalFilterInChain, DataHandler block);

    // The photo's facts, while a capture's handler runs; nothing otherwise.
    std::optional<core::Dictionary> currentCaptureMetadata() const;
    float jpegCompressionQuality() const { return m_jpegCompressionQuality.load(); }
    void setJpegCompressionQuality(float quality) { m_jpegCompressionQuality.store(quality); }

    const std::shared_ptr<media::CaptureStillImageOutput>& photoOutput() const { return m_photoOutput; }

private:
    PixStillCamera(const std::string& sessionPreset, std::shared_ptr<media::CaptureDevice> camera);

    // Takes the photo and pushes it through the graph. `whileHeld` runs with the photo drawn and the
    // live stream held back; the stream is let go right after it, then `afterRelease` runs, both while
    // the metadata is current.
    void capturePhoto(const std::shared_ptr<PixOutput>& filter, GPUHandler whileHeld, std::function<void()> afterRelease);

    std::shared_ptr<media::CaptureStillImageOutput> m_photoOutput;
    mutable std::mutex m_metadataMutex;
    std::optional<core::Dictionary> m_currentCaptureMetadata; // guarded by m_metadataMutex
    std::atomic<float> m_jpegCompressionQuality{0.8f};
};

// A BGRA picture scaled to `finalSize` as a sample of 1/30 s at 1/30 s: how a photo too large for a
// texture goes through the graph.
std::shared_ptr<media::SampleBuffer> createDownsampledCameraSampleBuffer(const media::PixelBuffer& source,
                                                                         core::Size finalSize);

} // namespace zm
