#pragma once

#include "platform/core/Geometry.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Image.h"

#include <memory>

namespace gfx {

// The whole pixels a length of `points` takes at `scale` pixels per point: rounded up, except that a
// length a rounding error above a whole number of pixels does not get a pixel more. A length beyond the
// bitmap limits gives more pixels than a bitmap may have.
int pixelLength(float points, float scale);

// A canvas over a new bitmap, for drawing a picture and taking it as an image.
class ImageContext {
public:
    // `size` points at `scale` pixels per point (rounded up to whole pixels). An opaque context
    // starts black, any other transparent. A size that is empty, not a number or beyond the
    // bitmap limits gives a context without pixels, on which drawing does nothing.
    ImageContext(core::Size size, float scale, bool opaque = false);

    Canvas& canvas() { return m_canvas; }
    const Bitmap& bitmap() const { return *m_bitmap; }
    float scale() const { return m_canvas.scale(); }

    // A copy of what has been drawn so far; nullptr when the context has no pixels.
    std::shared_ptr<const Image> image() const;
    // What has been drawn, handed over without a copy; the context is spent (nothing more may be
    // drawn on it). nullptr when the context has no pixels.
    std::shared_ptr<const Image> takeImage() &&;

private:
    std::unique_ptr<Bitmap> m_bitmap;
    Canvas m_canvas;
};

} // namespace gfx
