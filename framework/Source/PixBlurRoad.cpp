#include "framework/Source/PixBlurRoad.h"

#include "framework/Source/PixBrightnessFilter.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "framework/Source/PixPicture.h"

namespace zm {

std::shared_ptr<const gfx::Image> blurImage(const gfx::Image& image, float blurSize, float brightness) {
    auto picture = PixPicture::create(image);
    if (!picture)
        return nullptr;
    auto blurFilter = PixGaussianBlurFilter::create();
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
