#pragma once

#include <memory>

namespace gfx {
class Image;
}

namespace zm {

// The still road's picture (blurImage: a Gaussian blur of `blurSize` texels between samples, then
// `brightness` added to the colours, read back at scale 1), made where it costs least. With a whole
// blur size every sample lands on a pixel, and the processor does the road's shaders' arithmetic in
// single precision, rounding where they store bytes, with no GL driver: on a machine whose GL is a
// software rasteriser, that driver, its compiler and the road's textures are some 40 MB resident,
// for no faster a blur. Other sizes sample between pixels and take the GL road.
//
// May be called from any thread, from several at once. nullptr for an image without pixels.
std::shared_ptr<const gfx::Image> blurStillImage(const gfx::Image& image, float blurSize, float brightness);

} // namespace zm
