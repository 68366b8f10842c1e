#include "shell/screens/BackArrowView.h"

#include "platform/gfx/Canvas.h"

namespace zm {

std::shared_ptr<BackArrowView> BackArrowView::create(const core::Rect& frame) {
    return std::shared_ptr<BackArrowView>(new BackArrowView(frame));
}

void BackArrowView::draw(gfx::Canvas& canvas) {
    const float width = bounds().width();
    const float height = bounds().height();
    gfx::Path glyph;
    glyph.moveTo({width - 3, 3});
    glyph.lineTo({3, height / 2});
    glyph.lineTo({width - 3, height - 3});
    canvas.setStrokeColor(core::Color::white());
    canvas.setLineWidth(3);
    canvas.setLineCap(gfx::LineCap::Square);
    canvas.strokePath(glyph);
}

} // namespace zm
