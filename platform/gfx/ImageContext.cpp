#include "platform/gfx/ImageContext.h"

#include <cmath>
#include <utility>

namespace gfx {

int pixelLength(float points, float scale) {
    const double length = static_cast<double>(points) * scale;
    if (!(length > 0)) {
        return 0;
    }
    if (length > Bitmap::kMaxSide) {
        return Bitmap::kMaxSide + 1; // refused by Bitmap::create
    }
    return static_cast<int>(std::ceil(length - 1e-3));
}

namespace {

std::unique_ptr<Bitmap> makeBitmap(core::Size size, float scale) {
    const float usableScale = std::isfinite(scale) && scale > 0 ? scale : 1;
    std::unique_ptr<Bitmap> bitmap =
        Bitmap::create(pixelLength(size.width, usableScale), pixelLength(size.height, usableScale));
    return bitmap ? std::move(bitmap) : Bitmap::create(0, 0);
}

} // namespace

ImageContext::ImageContext(core::Size size, float scale, bool opaque)
    : m_bitmap(makeBitmap(size, scale))
    , m_canvas(*m_bitmap, scale) {
    if (opaque) {
        m_canvas.save();
        m_canvas.setFillColor(core::Color::black());
        m_canvas.fillRect(m_canvas.clipBounds());
        m_canvas.restore();
    }
}

std::shared_ptr<const Image> ImageContext::image() const {
    if (m_bitmap->width() == 0 || m_bitmap->height() == 0) {
        return nullptr;
    }
    return std::make_shared<Image>(m_bitmap->copy(0, 0, m_bitmap->width(), m_bitmap->height()), scale());
}

std::shared_ptr<const Image> ImageContext::takeImage() && {
    if (m_bitmap->width() == 0 || m_bitmap->height() == 0) {
        return nullptr;
    }
    return std::make_shared<Image>(std::move(m_bitmap), scale());
}

} // namespace gfx
