#include "playground/views/ExprViewQuotient.h"

#include "playground/views/AnchorGeometry.h"
#include "playground/views/OpViewDivide.h"

#include <algorithm>

namespace zm {

std::shared_ptr<ExprViewQuotient> ExprViewQuotient::create(std::shared_ptr<ExprQuotient> quotient,
                                                           PlaygroundView& playgroundView, Baggage* bag) {
    std::shared_ptr<ExprViewQuotient> view(new ExprViewQuotient);
    view->initWithBinary(std::move(quotient), playgroundView, bag);
    if (std::shared_ptr<OpViewDivide> bar = view->bar())
        bar->setWidth(view->getWidth());
    return view;
}

std::shared_ptr<OpViewDivide> ExprViewQuotient::bar() const {
    return std::dynamic_pointer_cast<OpViewDivide>(opView());
}

void ExprViewQuotient::moveTo(core::Point point, Anchor anchor) {
    const float width = getWidth();
    const std::optional<core::Point> middleLeft = middleLeftForAnchor(point, anchor, {width, getHeight()});
    if (!middleLeft)
        return;
    const auto [x, y] = *middleLeft;
    opView()->moveTo({x, y}, AnchorMiddleLeft);
    const ExprViewPtr& numerator = firstExprView();
    const ExprViewPtr& denominator = secondExprView();
    numerator->moveTo({x + (width - numerator->getWidth()) / 2, y - 2 * space()}, AnchorBottomLeft);
    denominator->moveTo({x + (width - denominator->getWidth()) / 2, y}, AnchorTopLeft);
}

float ExprViewQuotient::getWidth() const {
    return std::max(firstExprView()->getWidth(), secondExprView()->getWidth());
}

float ExprViewQuotient::getPureWidth() const {
    return std::max(firstExprView()->getPureWidth(), secondExprView()->getPureWidth());
}

float ExprViewQuotient::getHeight() const {
    return firstExprView()->getHeight() + secondExprView()->getHeight() + 2 * space();
}

core::Point ExprViewQuotient::getTopLeft() const {
    core::Point topLeft = firstExprView()->getTopLeft();
    const float width = getWidth();
    const float numeratorWidth = firstExprView()->getWidth();
    if (width > numeratorWidth)
        topLeft.x -= (width - numeratorWidth) / 2;
    return topLeft;
}

std::shared_ptr<ExprView> ExprViewQuotient::getExprViewFromPoint(core::Point point) const {
    if (ExprViewPtr view = firstExprView()->getExprViewFromPoint(point))
        return view;
    if (ExprViewPtr view = secondExprView()->getExprViewFromPoint(point))
        return view;
    return opView()->getHitbox().insetBy(0, -space()).contains(point) ? sharedAs() : nullptr;
}

void ExprViewQuotient::setFontSize(float size, bool animated) {
    ExprViewBinary::setFontSize(size, animated);
    fitBar();
}

void ExprViewQuotient::fitBar() {
    const std::shared_ptr<OpViewDivide> bar = this->bar();
    if (!bar)
        return;
    bar->setWidth(getWidth());
    bar->setHeight(space() / 2);
    bar->setSpace(space());
    bar->setNeedsDisplay();
}

} // namespace zm
