#include "platform/ui/ImageView.h"

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Image.h"

namespace ui {

std::shared_ptr<ImageView> ImageView::create(const core::Rect& frame) {
    return std::shared_ptr<ImageView>(new ImageView(frame));
}

std::shared_ptr<ImageView> ImageView::create(std::shared_ptr<const gfx::Image> image) {
    auto view = create(core::Rect({}, image ? image->size() : core::Size{}));
    view->setImage(std::move(image));
    return view;
}

ImageView::ImageView(const core::Rect& frame)
    : View(frame) {
    setUserInteractionEnabled(false);
    // Cap insets keep their size only when the image is drawn again at the new size.
    setContentMode(ContentMode::Redraw);
}

void ImageView::setImage(std::shared_ptr<const gfx::Image> image) {
    m_image = std::move(image);
    setNeedsDisplay();
}

void ImageView::setHighlightedImage(std::shared_ptr<const gfx::Image> image) {
    m_highlightedImage = std::move(image);
    setNeedsDisplay();
}

void ImageView::setHighlighted(bool highlighted) {
    if (m_highlighted == highlighted)
        return;
    m_highlighted = highlighted;
    setNeedsDisplay();
}

core::Size ImageView::sizeThatFits(core::Size) const {
    return m_image ? m_image->size() : core::Size{};
}

void ImageView::draw(gfx::Canvas& canvas) {
    const std::shared_ptr<const gfx::Image>& shown =
        m_highlighted && m_highlightedImage ? m_highlightedImage : m_image;
    if (!shown)
        return View::draw(canvas);
    canvas.drawImage(*shown, bounds());
}

} // namespace ui
