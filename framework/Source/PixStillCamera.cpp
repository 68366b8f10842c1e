#include "framework/Source/PixStillCamera.h"

#include "framework/Source/PixContext.h"
#include "platform/core/Log.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Jpeg.h"
#include "platform/gfx/Png.h"
#include "platform/media/CaptureOutput.h"
#include "platform/media/CaptureSession.h"
#include "platform/media/MediaError.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/PixelBufferConversion.h"
#include "platform/media/SampleBuffer.h"

#include <algorithm>
#include <cmath>

namespace zm {

std::shared_ptr<media::SampleBuffer> createDownsampledCameraSampleBuffer(const media::PixelBuffer& source,
                                                                         core::Size finalSize) {
    auto scaled = media::convertPixelBuffer(source, media::PixelFormat::BGRA, static_cast<int>(finalSize.width),
                                            static_cast<int>(finalSize.height));
    return media::SampleBuffer::makeImage(std::move(scaled), PixFrameTime::make(1, 30), PixFrameTime::make(1, 30));
}

std::shared_ptr<PixStillCamera> PixStillCamera::create() {
    return create(media::CaptureSessionPresetPhoto, media::CaptureDevicePosition::Back);
}

std::shared_ptr<PixStillCamera> PixStillCamera::create(const std::string& sessionPreset,
                                                       media::CaptureDevicePosition cameraPosition) {
    auto camera = cameraAt(cameraPosition);
    if (!camera)
        return nullptr;
    std::shared_ptr<PixStillCamera> made(new PixStillCamera(sessionPreset, std::move(camera)));
    return made->addVideoOutput() ? made : nullptr;
}

PixStillCamera::PixStillCamera(const std::string& sessionPreset, std::shared_ptr<media::CaptureDevice> camera)
    : PixVideoCamera(sessionPreset, std::move(camera))
    , m_photoOutput(media::CaptureStillImageOutput::create()) {
    if (m_captureAsYUV.load() && PixContext::deviceSupportsRedTextures()) {
        const auto formats = media::CaptureStillImageOutput::availableImageDataPixelFormats();
        const bool fullRange = std::find(formats.begin(), formats.end(), media::PixelFormat::BiPlanar420FullRange) != formats.end();
        m_photoOutput->setPixelFormat(fullRange ? media::PixelFormat::BiPlanar420FullRange
                                                : media::PixelFormat::BiPlanar420VideoRange);
    } else {
        // Without red textures the planes cannot be textures: pictures come as BGRA.
        m_captureAsYUV.store(false);
        m_photoOutput->setPixelFormat(media::PixelFormat::BGRA);
        m_videoOutput->setVideoPixelFormat(media::PixelFormat::BGRA);
    }
    m_captureSession->addOutput(m_photoOutput);
}

void PixStillCamera::removeInputsAndOutputs() {
    m_captureSession->removeOutput(m_photoOutput);
    PixVideoCamera::removeInputsAndOutputs();
}

std::optional<core::Dictionary> PixStillCamera::currentCaptureMetadata() const {
    const std::lock_guard lock(m_metadataMutex);
    return m_currentCaptureMetadata;
}

void PixStillCamera::capturePhoto(const std::shared_ptr<PixOutput>& filter, GPUHandler whileHeld,
                                  std::function<void()> afterRelease) {
    // From here live frames are dropped until the handler has read the photo.
    m_frameRenderingSemaphore.wait();
    const auto release = [this] {
        m_holdingLiveFrames.store(false);
        m_frameRenderingSemaphore.signal();
    };
    if (m_photoOutput->isCapturingStillImage()) {
        whileHeld(media::mediaError(media::MediaErrorMaximumStillImageCaptureRequestsExceeded,
                                    "The camera is still taking a photo"));
        release();
        afterRelease();
        return;
    }
    m_holdingLiveFrames.store(true);
    auto self = std::static_pointer_cast<PixStillCamera>(shared_from_this());
    m_photoOutput->captureStillImageAsynchronously(
        [self, filter, whileHeld = std::move(whileHeld), afterRelease = std::move(afterRelease),
         release](const std::shared_ptr<media::SampleBuffer>& photo, const std::optional<core::Error>& error) {
            if (!photo) {
                whileHeld(error);
                release();
                afterRelease();
                return;
            }
            self->conserveMemoryForNextFrame();
            const media::PixelBuffer& picture = *photo->imageBuffer();
            const core::Size size{static_cast<float>(picture.width()), static_cast<float>(picture.height())};
            const core::Size fitted = PixContext::sizeThatFitsWithinATextureForSize(size);
            std::shared_ptr<media::SampleBuffer> pushed = photo;
            if (fitted != size) {
                if (picture.isPlanar()) {
                    // No scaling of bi-planar photos here: the caller hears why, and the stream goes on.
                    whileHeld(media::mediaError(media::MediaErrorDeviceFailed,
                                                "Error: no downsampling for YUV input in the framework yet"));
                    release();
                    afterRelease();
                    return;
                }
                pushed = createDownsampledCameraSampleBuffer(
                    picture, {std::floor(fitted.width), std::floor(fitted.height)});
            }
            // Through the admission the live frames take, then wait until it has been drawn.
            self->m_frameRenderingSemaphore.signal();
            self->captureOutput(pushed, *self->m_photoOutput);
            self->m_frameRenderingSemaphore.wait();

            {
                const std::lock_guard lock(self->m_metadataMutex);
                self->m_currentCaptureMetadata = photo->attachments();
            }
            whileHeld(std::nullopt);
            release();
            afterRelease();
            const std::lock_guard lock(self->m_metadataMutex);
            self->m_currentCaptureMetadata.reset();
        });
}

void PixStillCamera::capturePhotoProcessedUpToFilter(const std::shared_ptr<PixOutput>& finalFilterInChain,
                                                     GPUHandler block) {
    capturePhoto(finalFilterInChain, std::move(block), [] {});
}

void PixStillCamera::capturePhotoAsImageProcessedUpToFilter(const std::shared_ptr<PixOutput>& finalFilterInChain,
                                                            ImageHandler block) {
    auto image = std::make_shared<std::shared_ptr<const gfx::Image>>();
    auto failure = std::make_shared<std::optional<core::Error>>();
    capturePhoto(
        finalFilterInChain,
        [finalFilterInChain, image, failure](const std::optional<core::Error>& error) {
            *failure = error;
            if (!error)
                *image = finalFilterInChain->imageFromCurrentlyProcessedOutput();
        },
        [block = std::move(block), image, failure] { block(*image, *failure); });
}

void PixStillCamera::capturePhotoAsJPEGProcessedUpToFilter(const std::shared_ptr<PixOutput>& finalFilterInChain,
                                                           DataHandler block) {
    const int quality = std::clamp(static_cast<int>(std::lround(jpegCompressionQuality() * 100)), 0, 100);
    // Encoded after the stream has been let go.
    capturePhotoAsImageProcessedUpToFilter(
        finalFilterInChain, [block = std::move(block), quality](const std::shared_ptr<const gfx::Image>& image,
                                                                 const std::optional<core::Error>& error) {
            block(image ? gfx::encodeJpeg(*image, quality) : std::vector<std::uint8_t>{}, error);
        });
}

void PixStillCamera::capturePhotoAsPNGProcessedUpToFilter(const std::shared_ptr<PixOutput>& finalFilterInChain,
                                                          DataHandler block) {
    capturePhotoAsImageProcessedUpToFilter(
        finalFilterInChain,
        [block = std::move(block)](const std::shared_ptr<const gfx::Image>& image, const std::optional<core::Error>& error) {
            block(image ? gfx::encodePng(*image) : std::vector<std::uint8_t>{}, error);
        });
}

} // namespace zm
