#pragma once

#include <cstddef>
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
//
// The road an image of a size takes (its textures and framebuffers) is kept for the next image of that
// size, up to two sizes and kKeptRoadBytes of GL memory in all; a larger road is released after use.
std::shared_ptr<const gfx::Image> blurImage(const gfx::Image& image, float blurSize, float brightness);

// Twice the road of a 1024 x 768 screen at scale 1 (12 bytes a pixel: the picture, the intermediate
// image and the result).
inline constexpr std::size_t kKeptRoadBytes = std::size_t{2} * 12 * 1024 * 768;
// The GL memory the kept roads hold now, in bytes.
std::size_t keptBlurRoadBytes();

} // namespace zm
