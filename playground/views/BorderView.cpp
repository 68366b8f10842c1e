#include "playground/views/BorderView.h"

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Path.h"

namespace zm {

namespace {

constexpr float kWallWidth = 3;

} // namespace

std::shared_ptr<BorderView> BorderView::create(const core::Rect& frame) {
    return std::shared_ptr<BorderView>(new BorderView(frame));
}

BorderView::BorderView(const core::Rect& frame)
    : ui::View(frame) {
    setContentMode(ui::ContentMode::Redraw);
}

void BorderView::draw(gfx::Canvas& canvas) {
    const core::Rect area = bounds();
    gfx::Path walls;
    for (const float x : {area.minX(), area.maxX() - kWallWidth}) {
        walls.moveTo({x, area.minY()});
        walls.lineTo({x, area.maxY()});
    }
    canvas.setStrokeColor(core::Color::white());
    canvas.setLineWidth(kWallWidth);
    canvas.strokePath(walls);
}

} // namespace zm
