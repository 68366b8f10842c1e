#pragma once

#include <memory>

namespace gfx {
class Image;
}

namespace zm {

// The image graph's still road: the image through a Gaussian blur of `blurSize` texels between
// samples, then `brightness` added to every colour channel (clamped), read back as an image of scale 1
// (straight colours, so a brightness of 1 gives white with the blurred alpha). The game blurs its
// background strip with (20, -0.1) and its completion snapshot with (3, 1).
//
// May be called from any thread, from several at once; the GL work runs on the processing queue and
// the call waits for it. nullptr for an image without pixels.
std::shared_ptr<const gfx::Image> blurImage(const gfx::Image& image, float blurSize, float brightness);

} // namespace zm
