#include "framework/Source/PixPicture.h"

#include "framework/Source/PixContext.h"
#include "platform/core/Log.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/ImageDecoding.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>

namespace zm {

namespace {

// Images whose larger side is above this many pixels free each intermediate image of the chain as soon
// as it has been consumed.
constexpr float kConserveMemoryAbovePixels = 1000;

float nextPowerOfTwo(float length) {
    return static_cast<float>(std::bit_ceil(static_cast<unsigned>(std::ceil(length))));
}

core::Result<std::shared_ptr<PixPicture>> pictureOf(const core::Result<std::shared_ptr<const gfx::Image>>& image,
                                                    bool smoothlyScaleOutput) {
    if (!image)
        return image.error();
    auto picture = PixPicture::create(*image.value(), smoothlyScaleOutput);
    if (!picture)
        return core::Error{std::string(gfx::kImageErrorDomain), gfx::kImageErrorUnreadable,
                           "the image has no pixels", {}};
    return picture;
}

} // namespace

std::shared_ptr<PixPicture> PixPicture::create(const gfx::Image& image, bool smoothlyScaleOutput,
                                               const GPUTextureOptions& textureOptions) {
    if (image.pixelWidth() < 1 || image.pixelHeight() < 1) {
        core::log(core::LogLevel::Error,
                  "Passed image must not be empty - it should be at least 1px tall and wide");
        return nullptr;
    }
    return std::shared_ptr<PixPicture>(new PixPicture(image, smoothlyScaleOutput, textureOptions));
}

core::Result<std::shared_ptr<PixPicture>> PixPicture::createWithURL(const std::filesystem::path& file,
                                                                    bool smoothlyScaleOutput) {
    return pictureOf(gfx::readImageFile(file), smoothlyScaleOutput);
}

core::Result<std::shared_ptr<PixPicture>> PixPicture::createWithData(std::span<const std::uint8_t> data,
                                                                     bool smoothlyScaleOutput) {
    return pictureOf(gfx::decodeImage(data), smoothlyScaleOutput);
}

PixPicture::PixPicture(const gfx::Image& image, bool smoothlyScaleOutput,
                       const GPUTextureOptions& textureOptions) {
    setShouldSmoothlyScaleOutput(smoothlyScaleOutput);
    setOutputTextureOptions(textureOptions);

    const core::Size imageSize{static_cast<float>(image.pixelWidth()),
                               static_cast<float>(image.pixelHeight())};
    m_pixelSizeOfImage = PixContext::sizeThatFitsWithinATextureForSize(imageSize);
    core::Size textureSize = m_pixelSizeOfImage;
    if (smoothlyScaleOutput)
        textureSize = {nextPowerOfTwo(m_pixelSizeOfImage.width), nextPowerOfTwo(m_pixelSizeOfImage.height)};
    const int textureWidth = static_cast<int>(textureSize.width);
    const int textureHeight = static_cast<int>(textureSize.height);

    // The image's own pixels are already in the texture's layout; only a texture of another size needs
    // them redrawn, scaled to fill it.
    std::unique_ptr<gfx::Bitmap> redrawn;
    const gfx::Bitmap* pixels = &image.bitmap();
    if (textureWidth != image.pixelWidth() || textureHeight != image.pixelHeight()) {
        redrawn = gfx::Bitmap::create(textureWidth, textureHeight);
        gfx::Canvas canvas(*redrawn, 1);
        canvas.drawImage(*image.resizable({}), core::Rect(0, 0, textureSize.width, textureSize.height));
        pixels = redrawn.get();
    }
    assert(pixels->bytesPerRow() == textureWidth * 4);

    initializeOutputTextureIfNeeded();
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        glBindTexture(GL_TEXTURE_2D, m_outputTexture);
        if (smoothlyScaleOutput)
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textureWidth, textureHeight, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE,
                     pixels->bytes());
        if (smoothlyScaleOutput)
            glGenerateMipmap(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
    });
}

bool PixPicture::replaceImage(const gfx::Image& image) {
    const int width = image.pixelWidth();
    const int height = image.pixelHeight();
    // The fitted size equals the image's only when nothing was scaled.
    if (shouldSmoothlyScaleOutput() || m_pixelSizeOfImage.width != static_cast<float>(width) ||
        m_pixelSizeOfImage.height != static_cast<float>(height) || image.bitmap().bytesPerRow() != width * 4)
        return false;
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        glBindTexture(GL_TEXTURE_2D, m_outputTexture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_BGRA_EXT, GL_UNSIGNED_BYTE,
                        image.bitmap().bytes());
        glBindTexture(GL_TEXTURE_2D, 0);
    });
    return true;
}

bool PixPicture::processImageWithCompletionHandler(std::function<void()> completion) {
    m_hasProcessedImage = true;
    if (!m_imageUpdateSemaphore.tryWait())
        return false;

    auto self = std::static_pointer_cast<PixPicture>(shared_from_this());
    runAsynchronouslyOnContextQueue([self, completion = std::move(completion)] {
        const core::Size size = self->m_pixelSizeOfImage;
        if (self->m_conservesMemory && std::max(size.width, size.height) > kConserveMemoryAbovePixels)
            self->conserveMemoryForNextFrame();
        for (std::size_t position = 0; position < self->m_targets.size(); ++position) {
            // Served one by one: each filter renders and passes the frame on before the next target.
            const std::shared_ptr<PixInput> target = self->m_targets[position];
            const int textureIndex = self->textureIndexOfTarget(position);
            target->setCurrentlyReceivingMonochromeInput(false);
            target->setInputSize(size, textureIndex);
            target->newFrameReadyAtTime(PixFrameTime::indefiniteTime(), textureIndex);
        }
        self->m_imageUpdateSemaphore.signal();
        if (completion)
            completion();
    });
    return true;
}

void PixPicture::addTarget(const std::shared_ptr<PixInput>& newTarget, int textureLocation) {
    PixOutput::addTarget(newTarget, textureLocation);
    if (!newTarget || !m_hasProcessedImage)
        return;
    runSynchronouslyOnContextQueue([&] {
        newTarget->setInputSize(m_pixelSizeOfImage, textureLocation);
        newTarget->newFrameReadyAtTime(PixFrameTime::indefiniteTime(), textureLocation);
    });
}

void PixPicture::removeAllTargets() {
    PixOutput::removeAllTargets();
    m_hasProcessedImage = false;
}

} // namespace zm
