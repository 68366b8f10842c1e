#include "framework/Source/PixBlurRoad.h"

#include "framework/Source/PixBrightnessFilter.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "framework/Source/PixPicture.h"

#include <cmath>

namespace zm {

namespace {

// With a whole blur size every sample of both blur passes lands on a texel centre of a texture of the
// frame's own size (the picture's and the blur's intermediate image), where interpolating between
// texels gives the texel itself. Sampling without interpolation then gives the same image for about
// half the work of a software rasteriser. Other sizes sample between texels and keep interpolating.
GPUTextureOptions textureOptionsForBlurSize(float blurSize) {
    GPUTextureOptions options;
    if (std::isfinite(blurSize) && blurSize == std::floor(blurSize)) {
        options.minFilter = GL_NEAREST;
        options.magFilter = GL_NEAREST;
    }
    return options;
}

} // namespace

std::shared_ptr<const gfx::Image> blurImage(const gfx::Image& image, float blurSize, float brightness) {
    const GPUTextureOptions options = textureOptionsForBlurSize(blurSize);
    auto picture = PixPicture::create(image, false, options);
    if (!picture)
        return nullptr;
    auto blurFilter = PixGaussianBlurFilter::create();
    blurFilter->setOutputTextureOptions(options);
    blurFilter->setBlurSize(blurSize);
    auto brightnessFilter = PixBrightnessFilter::create();
    brightnessFilter->setBrightness(brightness);

    picture->addTarget(blurFilter);
    blurFilter->addTarget(brightnessFilter);
    // The read-back waits on the processing queue behind the queued push, so it sees this frame.
    picture->processImage();
    return brightnessFilter->imageFromCurrentlyProcessedOutput();
}

} // namespace zm
