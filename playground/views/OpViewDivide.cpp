#include "playground/views/OpViewDivide.h"

#include "platform/gfx/Canvas.h"
#include "playground/PlaygroundView.h"

namespace zm {

std::shared_ptr<OpViewDivide> OpViewDivide::create(std::shared_ptr<OpDivide> op,
                                                   const PlaygroundView& playgroundView) {
    std::shared_ptr<OpViewDivide> bar(new OpViewDivide);
    bar->m_op = std::move(op);
    bar->m_lineColor = playgroundView.expressionColor();
    bar->m_space = playgroundView.space();
    return bar;
}

OpViewDivide::OpViewDivide()
    : ui::View({0, 0, 50, 5}) {
    setUserInteractionEnabled(false);
}

void OpViewDivide::setWidth(float width) {
    const core::Rect frame = this->frame();
    setFrame({frame.origin, {width, frame.height()}});
}

void OpViewDivide::setHeight(float height) {
    const core::Rect frame = this->frame();
    setFrame({frame.origin, {frame.width(), height}});
}

void OpViewDivide::setObj(ModelObjectPtr obj) {
    m_op = std::dynamic_pointer_cast<OpDivide>(obj);
}

void OpViewDivide::draw(gfx::Canvas& canvas) {
    canvas.setFillColor(m_lineColor);
    canvas.fillRect(bounds());
}

} // namespace zm
