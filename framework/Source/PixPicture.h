#pragma once

#include "framework/Source/PixOutput.h"
#include "platform/core/Result.h"
#include "platform/core/Semaphore.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>

namespace gfx {
class Image;
}

namespace zm {

// The source that feeds one still image into a graph. The image's pixels are uploaded once, at
// construction (premultiplied BGRA, top row first); each push hands that texture to every target as
// one frame. Images larger than a texture can hold are scaled down to fit, keeping their aspect ratio.
class PixPicture : public PixOutput {
public:
    // A picture of the image's pixels (its scale is not used). With smooth scaling the texture is
    // rounded up to powers of two and mipmapped. The texture is made with the options (sampling and
    // wrapping; it always holds 8-bit BGRA). nullptr, logged, for an image without pixels.
    static std::shared_ptr<PixPicture> create(const gfx::Image& image, bool smoothlyScaleOutput = false,
                                              const GPUTextureOptions& textureOptions = {});
    // A picture of a PNG or JPEG file, or of the bytes of one. A file that cannot be read, bytes that
    // are no such image, or an image without pixels give an error saying which.
    static core::Result<std::shared_ptr<PixPicture>> createWithURL(const std::filesystem::path& file,
                                                                   bool smoothlyScaleOutput = false);
    static core::Result<std::shared_ptr<PixPicture>> createWithData(std::span<const std::uint8_t> data,
                                                                    bool smoothlyScaleOutput = false);

    // Writes the pixels of an image of the picture's own size over its texture, which is kept; false,
    // changing nothing, for an image of another size, a scaled or smoothed texture. The next push
    // hands on the new pixels.
    bool replaceImage(const gfx::Image& image);
    // On by default: a push of a picture whose larger side is above 1000 pixels has the chain free
    // each intermediate image once it is consumed. A chain kept for the next picture turns it off.
    void setConservesMemory(bool conserves) { m_conservesMemory = conserves; }

    void processImage() { processImageWithCompletionHandler({}); }
    // Queues one push of the image to every target and answers true; answers false, queuing nothing,
    // while an earlier push is queued or running. The completion runs on the processing queue.
    bool processImageWithCompletionHandler(std::function<void()> completion);

    // The size targets are told, in pixels: the image's, fitted to the maximum texture size.
    core::Size outputImageSize() const { return m_pixelSizeOfImage; }

    using PixOutput::addTarget;
    // A target added after a push receives the image at once.
    void addTarget(const std::shared_ptr<PixInput>& newTarget, int textureLocation) override;
    // Also forgets the push: targets added later wait for the next one.
    void removeAllTargets() override;

private:
    PixPicture(const gfx::Image& image, bool smoothlyScaleOutput, const GPUTextureOptions& textureOptions);

    core::Size m_pixelSizeOfImage;
    std::atomic<bool> m_conservesMemory = true;
    std::atomic<bool> m_hasProcessedImage = false;
    core::Semaphore m_imageUpdateSemaphore{1}; // held while a push is queued or running
};

} // namespace zm
