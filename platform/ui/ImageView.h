#pragma once

#include "platform/ui/View.h"

namespace ui {

// Shows an image stretched over its bounds (an image with cap insets keeps its borders), or a second
// image while highlighted. Takes no touches.
class ImageView : public View {
public:
    static std::shared_ptr<ImageView> create(const core::Rect& frame = {});
    // A view the size of the image, at the origin.
    static std::shared_ptr<ImageView> create(std::shared_ptr<const gfx::Image> image);

    const std::shared_ptr<const gfx::Image>& image() const { return m_image; }
    void setImage(std::shared_ptr<const gfx::Image> image);
    const std::shared_ptr<const gfx::Image>& highlightedImage() const { return m_highlightedImage; }
    void setHighlightedImage(std::shared_ptr<const gfx::Image> image);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);

    // The image's size in points (zero without an image).
    core::Size sizeThatFits(core::Size size) const;

protected:
    explicit ImageView(const core::Rect& frame);

    void draw(gfx::Canvas& canvas) override;

private:
    std::shared_ptr<const gfx::Image> m_image;
    std::shared_ptr<const gfx::Image> m_highlightedImage;
    bool m_highlighted = false;
};

} // namespace ui
